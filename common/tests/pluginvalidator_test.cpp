// The entry validator: what each rule refuses, beside an accepted neighbour.
#include <gtest/gtest.h>
#include "fw/handle.h"
#include "pluginvalidator.h"
#include "services.h"
#include "testsupport.h"
#include <shlobj.h>

using namespace pirt_test;

namespace {

CString Repeat(char c, int count) { return CString(c, count); }

// The user's own hive under HKEY_USERS: the one in which a key made below
// HKEY_CURRENT_USER shows up.
CString UserHiveName()
{
    CScratchRegKey marker("pluginhive");
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(HKEY_USERS, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return CString();
        CRegKeyHandle key;
        if (RegOpenKeyExA(HKEY_USERS, CString(name) + "\\" + marker.Path(), 0, KEY_READ, key.Receive()) ==
            ERROR_SUCCESS) {
            return name;
        }
    }
}

} // namespace

// Every rule with a refused entry and an accepted neighbour.
TEST(PluginFormat, ValidatorRefusesWhatCouldReachBeyondTheEntry)
{
    CPlaceholderFolders folders = GetPlaceholderFolders();
    folders.programs = ""; // a placeholder without a folder
    const CString appData = GetShellFolderPath(CSIDL_APPDATA);
    const CString at254 = "C:\\Data;Delete;" + Repeat('x', kPluginEntryMax - 15);
    const CString user = "HKEY_USERS\\" + UserHiveName(); // judged as HKEY_CURRENT_USER
    ASSERT_GT(user.GetLength(), 11);
    const CString links = ProgramFolder() + "\\pathlinks"; // host-side fixture made by ctest
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(links + "\\cdrive"));
    const CString system = GetShellFolderPath(CSIDL_SYSTEM), systemX86 = GetShellFolderPath(CSIDL_SYSTEMX86);
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD computerLength = sizeof(computer);
    ASSERT_TRUE(GetComputerNameA(computer, &computerLength));
    // The system drive as a network share of this computer.
    const CString share = "\\\\" + CString(computer) + "\\" + system.Left(1) + "$";

    const PluginSection F = PLUGIN_FILES, D = PLUGIN_FOLDERS, R = PLUGIN_REGISTRY;
    const struct
    {
        PluginSection section;
        CString entry;
        PluginRefusal refusal;
        CString path, first;
    } cases[] = {
        {F, at254 + "xxxxxxxxxx", PLUGIN_REFUSED_TOO_LONG, "", ""},
        {F, at254, PLUGIN_ENTRY_OK, "C:\\Data\\" + Repeat('x', kPluginEntryMax - 15), ""},
        {F, "PIRT_PROGRAMS\\App;Delete;recent.txt", PLUGIN_REFUSED_PLACEHOLDER, "", ""},
        {F, "PIRT_APPDATA\\App;Delete;recent.txt", PLUGIN_ENTRY_OK, appData + "\\App\\recent.txt", ""},
        {F, "App;Delete;recent.txt", PLUGIN_REFUSED_NOT_ABSOLUTE, "", ""},
        {F, "\\\\?\\C:\\App;Delete;recent.txt", PLUGIN_REFUSED_NOT_ABSOLUTE, "", ""},
        {F, "\\\\server\\share\\App;Delete;recent.txt", PLUGIN_ENTRY_OK, "\\\\server\\share\\App\\recent.txt", ""},
        {F, "C:\\App;Delete;..\\boot.ini", PLUGIN_REFUSED_BAD_PATH, "", ""},
        {F, "C:\\App\\.. ;DeleteContent;a.txt", PLUGIN_REFUSED_BAD_PATH, "", ""},
        {F, "C:\\App;Delete;*.txt", PLUGIN_REFUSED_BAD_PATH, "", ""},
        {F, "C:\\App//x;Delete;a..txt", PLUGIN_ENTRY_OK, "C:\\App\\x\\a..txt", ""},
        {F, "C:\\App;Delete;", PLUGIN_REFUSED_EMPTY_TEXT, "", ""},
        {F, "C:\\a.ini;EraseMatch;Recent,", PLUGIN_REFUSED_EMPTY_TEXT, "", ""},
        {F, "C:\\a.ini;EraseMatch;Recent,,File1", PLUGIN_ENTRY_OK, "C:\\a.ini", "Recent"},
        {F, "PIRT_WINDOWS\\system32\\drivers\\etc;DeleteContent;hosts", PLUGIN_REFUSED_PROTECTED, "", ""},
        {F, systemX86 + ";Delete;kernel32.dll", PLUGIN_REFUSED_PROTECTED, "", ""},
        {F, system + "\\x.ini;EraseMatch;Recent,File1", PLUGIN_REFUSED_PROTECTED, "", ""},
        {F, share + system.Mid(2) + "\\drivers\\etc;DeleteContent;hosts", PLUGIN_REFUSED_PROTECTED, "", ""},
        {F, "PIRT_WINDOWS\\Temp;Delete;x.txt", PLUGIN_ENTRY_OK, GetShellFolderPath(CSIDL_WINDOWS) + "\\Temp\\x.txt",
         ""},
        {D, "C:\\;DeleteAll;*.*", PLUGIN_REFUSED_ROOT, "", ""},
        {D, "\\\\server\\share\\;DeleteAllBelow;*.*", PLUGIN_REFUSED_ROOT, "", ""},
        {D, "\\\\server\\share\\App;DeleteAllBelow;*.*", PLUGIN_ENTRY_OK, "\\\\server\\share\\App", ""},
        {D, "PIRT_APPDATA;DeleteAllBelow;*.*", PLUGIN_REFUSED_PROTECTED, "", ""},
        {D, "PIRT_APPDATA\\App\\Recent\\;DeleteAllBelow;*.*", PLUGIN_ENTRY_OK, appData + "\\App\\Recent", ""},
        {D, GetShellFolderPath(CSIDL_PROFILE) + ";DeleteMatch;.tmp", PLUGIN_REFUSED_PROTECTED, "", ""},
        {D, GetShellFolderPath(CSIDL_SYSTEM) + "\\spool\\x;DeleteAll;*.*", PLUGIN_REFUSED_PROTECTED, "", ""},
        {D, links + "\\cdrive\\windows\\system32\\spool;DeleteAll;*.*", PLUGIN_REFUSED_PROTECTED, "", ""},
        {D, "\\\\localhost\\" + system.Left(1) + "$\\Users;DeleteAll;*.*", PLUGIN_REFUSED_PROTECTED, "", ""},
        {D, "\\\\127.0.0.1\\" + system.Left(1) + "$\\;DeleteAllBelow;*.*", PLUGIN_REFUSED_ROOT, "", ""},
        {D, share + "\\Temp\\App;DeleteAll;*.*", PLUGIN_ENTRY_OK, system.Left(3) + "Temp\\App", ""},
        {D, "PIRT_WINDOWS\\Temp\\App;DeleteAll;*.*", PLUGIN_ENTRY_OK, GetShellFolderPath(CSIDL_WINDOWS) + "\\Temp\\App",
         ""},
        {D, links + "\\toplink\\;DeleteAllBelow;*.*", PLUGIN_REFUSED_LINK, "", ""},
        {D, links + "\\tree;DeleteAllBelow;*.*", PLUGIN_ENTRY_OK, links + "\\tree", ""},
        {D, "C:\\Temp\\App;DeleteMatch;", PLUGIN_REFUSED_EMPTY_TEXT, "", ""},
        {D, "C:\\Temp\\App;DeleteMatch;tEMP\\a", PLUGIN_REFUSED_MATCHES_ALL, "", ""},
        {D, "C:\\Temp\\App;DeleteMatch;\\", PLUGIN_REFUSED_MATCHES_ALL, "", ""},
        {D, "C:\\Temp\\App;DeleteMatch;.tmp", PLUGIN_ENTRY_OK, "C:\\Temp\\App", ".tmp"},
        {R, "HKEY_CURRENT_USER;DeleteValueMatch;x", PLUGIN_REFUSED_REG_ROOT, "", ""},
        {R, "HKCU\\Software\\App;DeleteValue;x", PLUGIN_REFUSED_REG_ROOT, "", ""},
        {R, "HKEY_CURRENT_USER\\\\Software\\\\App\\;DeleteValue;", PLUGIN_ENTRY_OK, "HKEY_CURRENT_USER\\Software\\App",
         ""},
        {R, "HKEY_CURRENT_USER\\Software\\App\\;DeleteValueMatch; ", PLUGIN_REFUSED_EMPTY_TEXT, "", ""},
        {R, "HKEY_CURRENT_USER\\Software\\App\\;DeleteKeyMatch; Last ", PLUGIN_ENTRY_OK,
         "HKEY_CURRENT_USER\\Software\\App", "Last"},
        {R, "HKEY_CURRENT_USER\\Software;DeleteKey;\\", PLUGIN_REFUSED_EMPTY_TEXT, "", ""},
        {R, "HKEY_CURRENT_USER\\Software;DeleteKey; App\\\\Sub ", PLUGIN_ENTRY_OK, "HKEY_CURRENT_USER\\Software",
         "App\\Sub"},
        {R, user + ";DeleteKey;Software", PLUGIN_REFUSED_REG_SHALLOW, "", ""},
        {R, user + "\\Software;DeleteKey;App", PLUGIN_ENTRY_OK, user + "\\Software", "App"},
        {R, "HKEY_CURRENT_USER\\Software\\Microsoft;DeleteKey;Windows", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_CURRENT_USER\\software;DeleteKey;talvery", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, user + "\\Software;DeleteKey;Classes", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_LOCAL_MACHINE\\SYSTEM;DeleteKey;CurrentControlSet", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft;DeleteKey;Windows NT", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion;DeleteKey;App", PLUGIN_ENTRY_OK,
         "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "App"},
        {R, "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft;DeleteKey;Windows NT", PLUGIN_REFUSED_REG_PROTECTED,
         "", ""},
        {R, "HKEY_LOCAL_MACHINE\\SOFTWARE;DeleteKey;policies", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_LOCAL_MACHINE\\SYSTEM;DeleteKey;Select", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_LOCAL_MACHINE\\SYSTEM;DeleteKey;ControlSet003", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_LOCAL_MACHINE\\SYSTEM;DeleteKey;controlset999", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_LOCAL_MACHINE\\SYSTEM;DeleteKey;ControlSet0042", PLUGIN_ENTRY_OK, "HKEY_LOCAL_MACHINE\\SYSTEM",
         "ControlSet0042"},
        {R, "HKEY_LOCAL_MACHINE\\SYSTEM;DeleteKey;ControlSet01x", PLUGIN_ENTRY_OK, "HKEY_LOCAL_MACHINE\\SYSTEM",
         "ControlSet01x"},
        {R, "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet004\\Services;DeleteKey;App", PLUGIN_ENTRY_OK,
         "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet004\\Services", "App"},
        {R, "HKEY_USERS\\S-1-5-21-7-8-9-1002\\Software\\Microsoft;DeleteKey;Windows NT", PLUGIN_REFUSED_REG_PROTECTED,
         "", ""},
        {R, "HKEY_USERS\\.DEFAULT\\Software;DeleteKey;Policies", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_USERS\\.DEFAULT;DeleteKey;Software", PLUGIN_REFUSED_REG_SHALLOW, "", ""},
        {R, "HKEY_USERS\\S-1-5-21-7-8-9-1002\\Software;DeleteKey;Microsoft", PLUGIN_REFUSED_REG_PROTECTED, "", ""},
        {R, "HKEY_USERS\\S-1-5-21-7-8-9-1002_Classes;DeleteKey;CLSID", PLUGIN_ENTRY_OK,
         "HKEY_USERS\\S-1-5-21-7-8-9-1002_Classes", "CLSID"},
        {R, "HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Windows;DeleteKey;CurrentVersion", PLUGIN_REFUSED_REG_PROTECTED,
         "", ""},
        {R, "HKEY_USERS\\.DEFAULT\\Software\\App;DeleteKey;Recent", PLUGIN_ENTRY_OK,
         "HKEY_USERS\\.DEFAULT\\Software\\App", "Recent"},
        {R, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer;DeleteKey;RunMRU",
         PLUGIN_ENTRY_OK, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "RunMRU"},
    };
    for (const auto& c : cases) {
        CPluginEntry entry;
        ASSERT_EQ(1, ParsePluginEntry(c.section, c.entry, entry)) << c.entry;
        CPluginTarget target;
        target.path = "unchanged";
        EXPECT_EQ(c.refusal, ValidatePluginEntry(entry, folders, &target)) << c.entry;
        EXPECT_STRCASEEQ(c.refusal == PLUGIN_ENTRY_OK ? c.path : CString("unchanged"), target.path) << c.entry;
        EXPECT_STREQ(c.first, target.first) << c.entry;
    }
}
