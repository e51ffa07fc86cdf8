// The registry operations on seeded keys below HKEY_CURRENT_USER, the
// library's DWORD reader and its logging switch.
#include "systemtest.h"
#include "fw/handle.h"
#include "SystemRegistryKey.h"
#include "services.h"

#include <shlobj.h>

using namespace systemtest;
using pirt_test::CReportHost;

namespace {

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const CString kRunMRU = CString(kExplorer) + "\\RunMRU";
const CString kStreamMRU = CString(kExplorer) + "\\StreamMRU";
const CString kWordWheel = CString(kExplorer) + "\\WordWheelQuery";
const CString kUserAssist = CString(kExplorer) + "\\UserAssist";
const CString kAssistA = kUserAssist + "\\{75048700-EF1F-11D0-9888-006097DEACF9}";
const CString kAssistB = kUserAssist + "\\{5E6AB780-7743-11CF-A12B-00AA004AE837}";
const CString kACMru = "Software\\Microsoft\\Search Assistant\\ACMru";

void MakeKey(const CString& path, const char* value = "a")
{
    CRegKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
    RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>("trace"), 6);
}

bool KeyThere(const CString& path)
{
    CRegKeyHandle key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    return true;
}

// Removes a key with everything below it (test clean-up only).
void RemoveTree(const CString& path)
{
    CRegKeyHandle key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, key.Receive()) == ERROR_SUCCESS) {
        char name[256];
        while (RegEnumKeyA(key, 0, name, sizeof(name)) == ERROR_SUCCESS)
            RemoveTree(path + "\\" + name);
        key.Close();
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

} // namespace

TEST(SystemRunMRU, DeletedOrMissingIsDoneAKeyWithSubkeysFails)
{
    CReportHost host;
    CSystemFunctions system;
    MakeKey(kRunMRU);
    EXPECT_EQ(1, system.DeleteRunMRU(host.List(), host.Progress()));
    EXPECT_FALSE(KeyThere(kRunMRU));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", "HKCU\\" + kRunMRU), host.RowText(0));
    EXPECT_EQ(1, host.ProgressPos());

    EXPECT_EQ(1, system.DeleteRunMRU(host.List(), host.Progress()));
    EXPECT_EQ(0, host.RowImage(1));

    MakeKey(kRunMRU + "\\child");
    EXPECT_EQ(0, system.DeleteRunMRU(host.List(), host.Progress()));
    EXPECT_STREQ(Row("24030", "HKCU\\" + kRunMRU), host.RowText(2));
    EXPECT_EQ(1, host.RowImage(2));
    RemoveTree(kRunMRU);
}

TEST(SystemSearch, ComputerSearchAndLocalSearch)
{
    CReportHost host;
    CSystemFunctions system;
    MakeKey(kACMru + "\\5647");
    EXPECT_EQ(1, system.DeleteSearch4Computers(host.List(), host.Progress()));
    EXPECT_FALSE(KeyThere(kACMru + "\\5647"));
    EXPECT_STREQ(Row("24060", "HKCU\\" + kACMru + "\\5647"), host.RowText(0));

    // WordWheelQuery keeps a subkey: its row fails, the older list still goes.
    MakeKey(kWordWheel + "\\1");
    MakeKey(kACMru + "\\5603");
    CReportHost rows;
    EXPECT_EQ(0, system.DeleteLocalSearch(rows.List(), rows.Progress()));
    EXPECT_FALSE(KeyThere(kACMru + "\\5603"));
    EXPECT_TRUE(KeyThere(kWordWheel));
    ASSERT_EQ(1, rows.RowCount());
    EXPECT_STREQ(Row("24030", "HKCU\\" + kWordWheel), rows.RowText(0));

    RemoveTree(kWordWheel + "\\1");
    EXPECT_EQ(1, system.DeleteLocalSearch(rows.List(), rows.Progress()));
    EXPECT_FALSE(KeyThere(kWordWheel));
    EXPECT_STREQ(Row("24060", "HKCU\\" + kWordWheel), rows.RowText(1));
}

TEST(SystemMFU, RemovesBothUserAssistListsCountersFirst)
{
    MakeKey(kAssistA + "\\Count");
    MakeKey(kAssistB + "\\Count");
    CReportHost host;
    CSystemFunctions system;
    EXPECT_EQ(1, system.DeleteMFUList(host.List(), host.Progress()));
    EXPECT_FALSE(KeyThere(kAssistA));
    EXPECT_FALSE(KeyThere(kAssistB));
    ASSERT_EQ(4, host.RowCount());
    EXPECT_STREQ(Row("24060", "HKCU\\" + kAssistA + "\\Count"), host.RowText(0));
    EXPECT_STREQ(Row("24060", "HKCU\\" + kAssistA), host.RowText(1));
    EXPECT_STREQ(Row("24060", kAssistB + "\\Count"), host.RowText(2));
    EXPECT_STREQ(Row("24060", kAssistB), host.RowText(3));
    EXPECT_EQ(4, host.ProgressHigh());
    EXPECT_EQ(4, host.ProgressPos());
}

TEST(SystemMFU, AFailureOnTheFirstListIsNotHidden)
{
    MakeKey(kAssistA + "\\Count\\stuck");
    MakeKey(kAssistB + "\\Count");
    CReportHost host;
    CSystemFunctions system;
    EXPECT_EQ(0, system.DeleteMFUList(host.List(), host.Progress()));
    ASSERT_EQ(3, host.RowCount());
    EXPECT_STREQ(Row("24030", "HKCU\\" + kAssistA + "\\Count"), host.RowText(0));
    EXPECT_EQ(1, host.RowImage(0));
    EXPECT_STREQ(Row("24060", kAssistB + "\\Count"), host.RowText(1));
    EXPECT_STREQ(Row("24060", kAssistB), host.RowText(2));
    EXPECT_EQ(3, host.ProgressPos());
    EXPECT_FALSE(KeyThere(kAssistB));
    RemoveTree(kAssistA);
}

TEST(SystemMRU, StreamMRUAndTheRecentFolder)
{
    char recent[MAX_PATH] = "";
    ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_RECENT | CSIDL_FLAG_CREATE, nullptr, 0, recent));
    CString shortcut = CString(recent) + "\\document.lnk";
    ASSERT_TRUE(pirt_test::WriteFileText(shortcut, "x"));
    MakeKey(kStreamMRU);

    CReportHost host;
    CSystemFunctions system;
    EXPECT_EQ(1, system.DeleteMRULists(host.List(), host.Progress()));
    EXPECT_FALSE(KeyThere(kStreamMRU));
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_TRUE(Exists(recent));
    ASSERT_EQ(2, host.RowCount());
    EXPECT_STREQ(Row("24060", "HKCU\\" + kStreamMRU), host.RowText(0));
    EXPECT_STREQ(Row("24070", Dravik("10500")), host.RowText(1));
    EXPECT_EQ(2, host.ProgressPos());

    // A key that stays fails the operation although the folder was emptied.
    MakeKey(kStreamMRU + "\\child");
    CReportHost rows;
    EXPECT_EQ(0, system.DeleteMRULists(rows.List(), rows.Progress()));
    EXPECT_EQ(1, rows.RowImage(0));
    EXPECT_EQ(0, rows.RowImage(1));
    RemoveTree(kStreamMRU);
}

TEST(SystemRegistryKey, QueryDwordValue)
{
    pirt_test::CScratchRegKey scratch("dword");
    CRegKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, scratch.Path(), 0, KEY_ALL_ACCESS, key.Receive()));
    DWORD number = 3;
    RegSetValueExA(key, "number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegSetValueExA(key, "short", 0, REG_SZ, reinterpret_cast<const BYTE*>("ab"), 3);
    RegSetValueExA(key, "long", 0, REG_SZ, reinterpret_cast<const BYTE*>("abcdefgh"), 9);
    key.Close();

    CSystemRegistryKey reader;
    ASSERT_EQ(1, reader.SetKey(scratch.Path(), FALSE));
    EXPECT_EQ(3u, reader.QueryDwordValue("number", 7));
    EXPECT_EQ(7u, reader.QueryDwordValue("missing", 7));
    EXPECT_EQ(0x6261u, reader.QueryDwordValue("short", 7));
    EXPECT_EQ(7u, reader.QueryDwordValue("long", 7)); // does not fit four bytes

    CSystemRegistryKey nowhere;
    nowhere.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(9u, nowhere.QueryDwordValue("no such value", 9));
}

TEST(SystemLogging, ResultRowsAreLoggedWhenSwitchedOn)
{
    pirt_test::ResetDataRoots();
    WritePrivateProfileStringA("Preferences", "SystemLogging", "yes", GetIniPath(INI_BRISVANE));
    CReportHost host;
    {
        CSystemFunctions system;
        system.DeleteSearch4Computers(host.List(), host.Progress());
        system.DeleteRunMRU(host.List(), host.Progress());
    }
    std::vector<char> log = pirt_test::ReadFileBytes(pirt_test::AppDataFolder() + "\\Talvery\\Pirt\\pirt.log");
    ASSERT_EQ(3u * 190u, log.size()); // header and two records
    const char* second = log.data() + 190;
    EXPECT_EQ(0, memcmp(second + 18, "system.dll\0", 11));
    EXPECT_EQ(0, memcmp(second + 38, "DeleteSearch4Compute", 20));
    EXPECT_EQ(CString(host.RowText(0)).Left(130), CString(second + 58, (int)strnlen(second + 58, 130)));
    const char* third = log.data() + 380;
    EXPECT_EQ(0, memcmp(third + 38, "DeleteRunMRU\0", 13));

    // Switched off: nothing more is written.
    WritePrivateProfileStringA("Preferences", "SystemLogging", "no", GetIniPath(INI_BRISVANE));
    {
        CSystemFunctions system;
        system.DeleteRunMRU(host.List(), host.Progress());
    }
    EXPECT_EQ(3u * 190u, pirt_test::ReadFileBytes(pirt_test::AppDataFolder() + "\\Talvery\\Pirt\\pirt.log").size());
    pirt_test::ResetDataRoots();
}
