// The operations on files, folders, the clipboard and the recycle bin, run on
// traces seeded in the test prefix.
#include "systemtest.h"
#include "fw/handle.h"
#include "SystemRegistryKey.h"
#include "SystemTestSeam.h"

#include <shellapi.h>
#include <shlobj.h>

using namespace systemtest;
using pirt_test::CReportHost;
using pirt_test::CScratchFolder;
using pirt_test::WriteFileText;

namespace {

CString TempPath()
{
    char buffer[MAX_PATH + 1] = "";
    GetTempPathA(sizeof(buffer), buffer);
    return CString(buffer);
}

// The deleted paths are gone, each with its done row in this order and one
// progress step; the kept ones are still there.
void ExpectOnlyDeleted(const CReportHost& host, const std::vector<CString>& deleted, const std::vector<CString>& kept)
{
    for (const CString& path : deleted)
        EXPECT_FALSE(Exists(path)) << (const char*)path;
    for (const CString& path : kept)
        EXPECT_TRUE(Exists(path)) << (const char*)path;
    const int count = (int)deleted.size();
    ASSERT_EQ(count, host.RowCount());
    for (int i = 0; i < count; i++)
        EXPECT_STREQ(Row("24060", deleted[i]), host.RowText(i));
    EXPECT_EQ(count, host.ProgressPos());
}

} // namespace

TEST(SystemTexts, EveryRowTextExistsInBothLanguages)
{
    // The rows name their items by these texts; an empty one leaves a bare blank.
    const char* keys[] = {"10120", "10180", "10200", "10220", "10240", "10500"};
    for (const char* language : {"English", "German"}) {
        CString file = pirt_test::ProgramFolder() + "\\languages\\" + language + ".lng";
        char buffer[256];
        for (const char* key : keys) {
            GetPrivateProfileStringA("Dravik", key, "", buffer, sizeof(buffer), file);
            EXPECT_STRNE("", buffer) << language << " Dravik " << key;
        }
        GetPrivateProfileStringA("General", "24160", "", buffer, sizeof(buffer), file);
        EXPECT_STRNE("", buffer) << language << " General 24160";
    }
    // The rows below compare whole texts: they must not be blank.
    EXPECT_STRNE("", GetLngString("General", "24060"));
    EXPECT_STRNE("", Dravik("10120"));
}

namespace {
BOOL WINAPI FailToEmpty()
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// Whether another thread can open the clipboard (it cannot while this one
// holds it open).
bool OpenableElsewhere()
{
    struct Probe
    {
        static DWORD WINAPI Run(LPVOID)
        {
            // With a window of its own: an open by another owner is refused.
            HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            const bool opened = OpenClipboard(owner) != FALSE;
            if (opened)
                CloseClipboard();
            DestroyWindow(owner);
            return opened ? 1 : 0;
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, Probe::Run, nullptr, 0, nullptr);
    WaitForSingleObject(thread, 5000);
    DWORD opened = 0;
    GetExitCodeThread(thread, &opened);
    CloseHandle(thread);
    return opened == 1;
}
} // namespace

TEST(SystemClipboard, EmptiesAndReportsOneRow)
{
    CReportHost host;
    ASSERT_TRUE(OpenClipboard(host.Host()));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    memcpy(GlobalLock(text), "trace", 6);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));

    CSystemFunctions system;
    EXPECT_EQ(1, system.EmptyClipboardContent(host.List(), host.Progress()));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", Dravik("10120")), host.RowText(0));
    EXPECT_EQ(0, host.RowImage(0));
    EXPECT_EQ(1, host.ProgressPos());
    EXPECT_EQ(1, host.ProgressHigh());
    // The clipboard was closed again: another owner can open it.
    EXPECT_TRUE(OpenableElsewhere());
}

TEST(SystemClipboard, FailedEmptyingIsReportedAndTheClipboardClosed)
{
    CReportHost host;
    SystemEmptyClipboardProc previous = SetSystemEmptyClipboardProc(FailToEmpty);
    CSystemFunctions system;
    int result = system.EmptyClipboardContent(host.List(), host.Progress());
    SetSystemEmptyClipboardProc(previous);

    EXPECT_EQ(0, result);
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24030", Dravik("10120")), host.RowText(0));
    EXPECT_EQ(1, host.RowImage(0));
    EXPECT_TRUE(OpenableElsewhere());
}

TEST(SystemRecycleBin, EmptiesTheTestRunsOwnBin)
{
    // Wine's bin is the host's XDG trash: only the test run's own may be used.
    char xdg[MAX_PATH] = "";
    GetEnvironmentVariableA("XDG_DATA_HOME", xdg, sizeof(xdg));
    if (strstr(xdg, "test-xdg") == nullptr)
        GTEST_SKIP() << "XDG_DATA_HOME does not point at the test run's own folder";

    CScratchFolder scratch("recycle");
    CString file = scratch("thrown away.txt");
    ASSERT_TRUE(WriteFileText(file, "trace"));
    char from[MAX_PATH + 2] = "";
    lstrcpynA(from, file, MAX_PATH);
    from[strlen(from) + 1] = '\0';
    SHFILEOPSTRUCTA op;
    memset(&op, 0, sizeof(op));
    op.wFunc = FO_DELETE;
    op.pFrom = from;
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_EQ(0, SHFileOperationA(&op));
    SHQUERYRBINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    ASSERT_EQ(S_OK, SHQueryRecycleBinA(nullptr, &info));
    ASSERT_GT(info.i64NumItems, 0);

    CReportHost host;
    {
        CSystemFunctions system;
        EXPECT_EQ(1, system.EmptyRecycleBin(host.List(), host.Progress()));
    }
    ASSERT_EQ(S_OK, SHQueryRecycleBinA(nullptr, &info));
    EXPECT_EQ(0, info.i64NumItems);
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", GetLngString("General", "24160")), host.RowText(0));
    EXPECT_EQ(0, host.RowImage(0));

    // An empty bin is done at once.
    CSystemFunctions system;
    EXPECT_EQ(1, system.EmptyRecycleBin(host.List(), host.Progress()));
    EXPECT_EQ(2, host.RowCount());
    EXPECT_EQ(0, host.RowImage(1));
}

class SystemTempFiles : public ::testing::Test
{
protected:
    SystemTempFiles() : scratch("temp"), marker(scratch("outside.txt")) {}
    void SetUp() override { ASSERT_TRUE(WriteFileText(marker, "must stay")); }
    CScratchFolder scratch;
    CString marker;
    CReportHost host;
};

TEST_F(SystemTempFiles, EmptiesTheTempFolderAndWindowsTemp)
{
    CString temp = scratch.MakeFolder("tmp");
    ASSERT_TRUE(WriteFileText(temp + "\\a.tmp", "x"));
    scratch.MakeFolder("tmp\\sub\\deeper");
    ASSERT_TRUE(WriteFileText(temp + "\\sub\\deeper\\b.tmp", "x"));
    CString windowsTemp = WindowsFolder() + "\\Temp";
    CreateDirectoryA(windowsTemp, nullptr);
    ASSERT_TRUE(WriteFileText(windowsTemp + "\\pirt-test.tmp", "x"));

    CEnvironment tmp("TMP", temp);
    CString reported = TempPath();
    CSystemFunctions system;
    EXPECT_EQ(1, system.DeleteWinTempFiles(host.List(), host.Progress()));

    EXPECT_FALSE(Exists(temp + "\\a.tmp"));
    EXPECT_FALSE(Exists(temp + "\\sub"));
    EXPECT_TRUE(Exists(temp));
    EXPECT_FALSE(Exists(windowsTemp + "\\pirt-test.tmp"));
    EXPECT_TRUE(Exists(marker));

    ASSERT_EQ(2, host.RowCount());
    EXPECT_STREQ(Row("24070", reported), host.RowText(0));
    EXPECT_STREQ(Row("24070", windowsTemp), host.RowText(1));
    EXPECT_EQ(0, host.RowImage(0));
    EXPECT_EQ(0, host.RowImage(1));
    EXPECT_EQ(2, host.ProgressHigh());
    EXPECT_EQ(2, host.ProgressPos());
}

// Roots, relative settings, the Windows folder and links are in the
// path-safety suite; here the folders that hold the user's own and the
// fallback when TMP and TEMP are unset.
TEST_F(SystemTempFiles, RefusesFoldersThatHoldOthers)
{
    char profile[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, 0, profile);
    char localAppData[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, localAppData);
    CString programFolder = pirt_test::ProgramFolder();
    CString profileMarker = CString(profile) + "\\pirt-temp-marker.txt";
    ASSERT_TRUE(WriteFileText(profileMarker, "x"));

    // Both views' common-files folders (a 32-bit process on 64-bit Windows
    // is given only its own), directly and by their short names.
    std::vector<CString> refused = {CString(profile), CString(localAppData) + "\\", programFolder};
    std::vector<CString> markers;
    for (const char* name : {"CommonProgramW6432", "CommonProgramFiles(x86)"}) {
        char common[MAX_PATH] = "", shortCommon[MAX_PATH] = "";
        if (GetEnvironmentVariableA(name, common, MAX_PATH) == 0 || !Exists(common))
            continue;
        refused.push_back(common);
        if (GetShortPathNameA(common, shortCommon, MAX_PATH) > 0 && CString(common).CompareNoCase(shortCommon) != 0)
            refused.push_back(shortCommon);
        markers.push_back(CString(common) + "\\pirt-temp-marker.txt");
        ASSERT_TRUE(WriteFileText(markers.back(), "x"));
    }
    for (const CString& value : refused) {
        CReportHost rows;
        CEnvironment tmp("TMP", value);
        CString reported = TempPath();
        CSystemFunctions system;
        EXPECT_EQ(0, system.DeleteWinTempFiles(rows.List(), rows.Progress())) << value;
        ASSERT_GE(rows.RowCount(), 1) << value;
        // The row names the folder in its long form.
        if (CString(reported).Find('~') < 0)
            EXPECT_STREQ(Row("24050", reported), rows.RowText(0)) << value;
        EXPECT_EQ(1, rows.RowImage(0)) << value;
    }
    {
        // Without TMP and TEMP the system falls back to the profile or the
        // Windows folder.
        CEnvironment noTmp("TMP", nullptr);
        CEnvironment noTemp("TEMP", nullptr);
        CReportHost rows;
        CString reported = TempPath();
        CSystemFunctions system;
        EXPECT_EQ(0, system.DeleteWinTempFiles(rows.List(), rows.Progress())) << reported;
        EXPECT_STREQ(Row("24050", reported), rows.RowText(0));
    }
    EXPECT_TRUE(Exists(profileMarker));
    EXPECT_TRUE(Exists(marker));
    EXPECT_TRUE(Exists(programFolder + "\\languages\\English.lng"));
    for (const CString& kept : markers) {
        EXPECT_TRUE(Exists(kept)) << kept;
        DeleteFileA(kept);
    }
    DeleteFileA(profileMarker);
}

TEST_F(SystemTempFiles, AFailureInOneFolderFailsTheOperation)
{
    CString temp = scratch.MakeFolder("tmp");
    CString locked = temp + "\\locked.tmp";
    CLockedFile lock(locked);
    ASSERT_TRUE(lock.IsLocked());
    CEnvironment tmp("TMP", temp);
    CSystemFunctions system;
    EXPECT_EQ(0, system.DeleteWinTempFiles(host.List(), host.Progress()));
    EXPECT_EQ(1, host.RowImage(0));
}

class SystemLogFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        windows = WindowsFolder();
        // Start from a Windows folder without log files of its own.
        CReportHost clean;
        CSystemFunctions system;
        system.DeleteWindowsLogFiles(clean.List(), clean.Progress());
        DeleteFileA(windows + "\\WindowsUpdate.log");
    }
    void TearDown() override
    {
        for (const char* name : {"\\b.logx", "\\c.log.txt", "\\WindowsUpdate.log", "\\windowsupdate.LOG"})
            DeleteFileA(windows + name);
        RemoveDirectoryA(windows + "\\d.log");
    }
    CString windows;
    CReportHost host;
};

TEST_F(SystemLogFiles, DeletesOnlyLogFilesAndReportsEach)
{
    ASSERT_TRUE(WriteFileText(windows + "\\a.log", "x"));
    ASSERT_TRUE(WriteFileText(windows + "\\B.LOG", "x"));
    ASSERT_TRUE(WriteFileText(windows + "\\b.logx", "x"));
    ASSERT_TRUE(WriteFileText(windows + "\\c.log.txt", "x"));
    CreateDirectoryA(windows + "\\d.log", nullptr);

    CSystemFunctions system;
    EXPECT_EQ(1, system.DeleteWindowsLogFiles(host.List(), host.Progress()));
    ExpectOnlyDeleted(host, {windows + "\\a.log", windows + "\\B.LOG"},
                      {windows + "\\b.logx", windows + "\\c.log.txt", windows + "\\d.log"});
    EXPECT_EQ(2, host.ProgressHigh());
}

TEST_F(SystemLogFiles, WindowsUpdateLogIsLeftWithoutARow)
{
    ASSERT_TRUE(WriteFileText(windows + "\\windowsupdate.LOG", "x"));
    CSystemFunctions system;
    EXPECT_EQ(1, system.DeleteWindowsLogFiles(host.List(), host.Progress()));
    EXPECT_EQ(0, host.RowCount());
    EXPECT_EQ(1, host.ProgressHigh());
    EXPECT_EQ(1, host.ProgressPos());
    EXPECT_TRUE(Exists(windows + "\\windowsupdate.LOG"));

    ASSERT_TRUE(WriteFileText(windows + "\\other.log", "x"));
    CReportHost rows;
    EXPECT_EQ(1, system.DeleteWindowsLogFiles(rows.List(), rows.Progress()));
    ASSERT_EQ(1, rows.RowCount());
    EXPECT_STREQ(Row("24060", windows + "\\other.log"), rows.RowText(0));
    EXPECT_EQ(2, rows.ProgressHigh());
    EXPECT_EQ(1, rows.ProgressPos());
    EXPECT_TRUE(Exists(windows + "\\windowsupdate.LOG"));
}

TEST_F(SystemLogFiles, EachRowCarriesItsOwnResult)
{
    ASSERT_TRUE(WriteFileText(windows + "\\a.log", "x"));
    ASSERT_TRUE(WriteFileText(windows + "\\b.log", "x"));
    {
        CLockedFile lock(windows + "\\a.log");
        ASSERT_TRUE(lock.IsLocked());
        CSystemFunctions system;
        EXPECT_EQ(0, system.DeleteWindowsLogFiles(host.List(), host.Progress()));
    }
    ASSERT_EQ(2, host.RowCount());
    EXPECT_STREQ(Row("24030", windows + "\\a.log"), host.RowText(0));
    EXPECT_EQ(1, host.RowImage(0));
    EXPECT_STREQ(Row("24060", windows + "\\b.log"), host.RowText(1));
    EXPECT_EQ(0, host.RowImage(1));
    EXPECT_FALSE(Exists(windows + "\\b.log"));
    DeleteFileA(windows + "\\a.log");
}

class SystemMemoryDump : public ::testing::Test
{
protected:
    SystemMemoryDump() : scratch("dump") {}
    void SetUp() override
    {
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCrash, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 key.Receive(), nullptr));
    }
    void TearDown() override
    {
        RegDeleteValueA(key, "CrashDumpEnabled");
        RegDeleteValueA(key, "DumpFile");
        RegDeleteValueA(key, "MinidumpDir");
        key.Close();
    }
    void Configure(DWORD mode, const char* name, const char* value)
    {
        RegSetValueExA(key, "CrashDumpEnabled", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof(mode));
        if (name != nullptr)
            RegSetValueExA(key, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value), (DWORD)strlen(value) + 1);
    }
    static constexpr const char* kCrash = "SYSTEM\\CurrentControlSet\\Control\\CrashControl";
    CRegKeyHandle key;
    CScratchFolder scratch;
    CReportHost host;
};

TEST_F(SystemMemoryDump, NonAdministratorGetsNothing)
{
    CString dump = scratch("MEMORY.DMP");
    ASSERT_TRUE(WriteFileText(dump, "x"));
    Configure(2, "DumpFile", dump);
    CNotAdmin notAdmin;
    CSystemFunctions system;
    EXPECT_EQ(0, system.DeleteMemoryDump(host.List(), host.Progress()));
    EXPECT_EQ(0, host.RowCount());
    EXPECT_EQ(0, host.ProgressPos());
    EXPECT_TRUE(Exists(dump));
}

TEST_F(SystemMemoryDump, DumpFileIsExpandedAndDeleted)
{
    CString dump = scratch("MEMORY.DMP");
    ASSERT_TRUE(WriteFileText(dump, "x"));
    CEnvironment where("PIRT_DUMP_FOLDER", scratch.Path());
    Configure(1, "DumpFile", "%PIRT_DUMP_FOLDER%\\MEMORY.DMP");
    CSystemFunctions system;
    EXPECT_EQ(1, system.DeleteMemoryDump(host.List(), host.Progress()));
    EXPECT_FALSE(Exists(dump));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", dump), host.RowText(0));

    // Missing: done as well.
    CReportHost rows;
    EXPECT_EQ(1, system.DeleteMemoryDump(rows.List(), rows.Progress()));
    EXPECT_STREQ(Row("24060", dump), rows.RowText(0));
}

TEST_F(SystemMemoryDump, ALockedDumpIsNotTakenForAMissingOne)
{
    CString dump = scratch("MEMORY.DMP");
    Configure(2, "DumpFile", dump);
    CLockedFile lock(dump);
    ASSERT_TRUE(lock.IsLocked());
    CSystemFunctions system;
    EXPECT_EQ(0, system.DeleteMemoryDump(host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24030", Dravik("10180")), host.RowText(0));
    EXPECT_EQ(1, host.RowImage(0));
}

TEST_F(SystemMemoryDump, DisabledOrUnusableSettingsFail)
{
    CString relative = "MEMORY.DMP";
    struct
    {
        DWORD mode;
        const char* name;
        CString value;
    } cases[] = {
        {0, nullptr, ""}, {4, nullptr, ""}, {1, "DumpFile", ""}, {2, "DumpFile", relative}, {3, "MinidumpDir", "C:\\"}};
    for (auto& c : cases) {
        RegDeleteValueA(key, "DumpFile");
        RegDeleteValueA(key, "MinidumpDir");
        Configure(c.mode, c.name, c.value);
        CReportHost rows;
        CSystemFunctions system;
        EXPECT_EQ(0, system.DeleteMemoryDump(rows.List(), rows.Progress())) << c.mode;
        ASSERT_EQ(1, rows.RowCount()) << c.mode;
        EXPECT_STREQ(Row("24030", Dravik("10180")), rows.RowText(0)) << c.mode;
    }
}

TEST_F(SystemMemoryDump, MinidumpFolderLosesOnlyItsDumpFiles)
{
    CString folder = scratch.MakeFolder("Minidump");
    for (const char* name : {"\\a.dmp", "\\B.DMP", "\\c.dmpx", "\\notes.txt"})
        ASSERT_TRUE(WriteFileText(folder + name, "x"));
    scratch.MakeFolder("Minidump\\sub");
    ASSERT_TRUE(WriteFileText(folder + "\\sub\\d.dmp", "x"));
    Configure(3, "MinidumpDir", folder);

    CSystemFunctions system;
    EXPECT_EQ(1, system.DeleteMemoryDump(host.List(), host.Progress()));
    ExpectOnlyDeleted(host, {folder + "\\a.dmp", folder + "\\B.DMP"},
                      {folder + "\\c.dmpx", folder + "\\notes.txt", folder + "\\sub\\d.dmp"});

    // Nothing left: one done row with the folder.
    CReportHost rows;
    EXPECT_EQ(1, system.DeleteMemoryDump(rows.List(), rows.Progress()));
    ASSERT_EQ(1, rows.RowCount());
    EXPECT_STREQ(Row("24060", folder), rows.RowText(0));
}

class SystemSwapFile : public ::testing::Test
{
protected:
    void SetUp() override { path = WindowsFolder().Left(3) + "pagefile.sys"; }
    void TearDown() override { DeleteFileA(path); }
    CString path;
    CReportHost host;
};

TEST_F(SystemSwapFile, DeletedMissingLockedAndNotAdmin)
{
    ASSERT_TRUE(WriteFileText(path, "x"));
    {
        CNotAdmin notAdmin;
        CSystemFunctions system;
        EXPECT_EQ(0, system.DeleteSwapFile(host.List(), host.Progress()));
        EXPECT_EQ(0, host.RowCount());
        EXPECT_TRUE(Exists(path));
    }
    {
        CLockedFile lock(path);
        ASSERT_TRUE(lock.IsLocked());
        CSystemFunctions system;
        EXPECT_EQ(0, system.DeleteSwapFile(host.List(), host.Progress()));
        ASSERT_EQ(1, host.RowCount());
        EXPECT_STREQ(Row("24030", Dravik("10200")), host.RowText(0));
    }
    CSystemFunctions system;
    EXPECT_EQ(1, system.DeleteSwapFile(host.List(), host.Progress()));
    EXPECT_FALSE(Exists(path));
    EXPECT_STREQ(Row("24060", path), host.RowText(1));
    EXPECT_EQ(1, system.DeleteSwapFile(host.List(), host.Progress()));
    EXPECT_STREQ(Row("24060", path), host.RowText(2));
}

class SystemFileFragments : public ::testing::Test
{
protected:
    void SetUp() override { root = WindowsFolder().Left(3); }
    void TearDown() override
    {
        for (const char* name : {"FOUND.000", "found.003", "FOUND.010", "FOUND.002", "FOUND.005"})
            pirt_test::DeleteTree(root + name);
        DeleteFileA(root + "FOUND.001");
    }
    CString root;
    CReportHost host;
};

TEST_F(SystemFileFragments, RemovesTheTenRecoveryFoldersOnly)
{
    CSystemFunctions system;
    EXPECT_EQ(1, system.DeleteFileFragments(host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", Dravik("10220")), host.RowText(0));

    CreateDirectoryA(root + "FOUND.000", nullptr);
    ASSERT_TRUE(WriteFileText(root + "FOUND.000\\FILE0000.CHK", "x"));
    CreateDirectoryA(root + "found.003", nullptr);
    CreateDirectoryA(root + "FOUND.010", nullptr);
    ASSERT_TRUE(WriteFileText(root + "FOUND.001", "not a folder"));

    CReportHost rows;
    EXPECT_EQ(1, system.DeleteFileFragments(rows.List(), rows.Progress()));
    ExpectOnlyDeleted(rows, {root + "FOUND.000", root + "found.003"}, {root + "FOUND.010", root + "FOUND.001"});
    EXPECT_EQ(2, rows.ProgressHigh());
}

TEST_F(SystemFileFragments, AnEarlierFailureIsNotHiddenByALaterSuccess)
{
    CreateDirectoryA(root + "FOUND.002", nullptr);
    CreateDirectoryA(root + "FOUND.005", nullptr);
    CString locked = root + "FOUND.002\\FILE0000.CHK";
    CLockedFile lock(locked);
    ASSERT_TRUE(lock.IsLocked());
    CSystemFunctions system;
    EXPECT_EQ(0, system.DeleteFileFragments(host.List(), host.Progress()));
    ASSERT_EQ(2, host.RowCount());
    EXPECT_STREQ(Row("24030", root + "FOUND.002"), host.RowText(0));
    EXPECT_STREQ(Row("24060", root + "FOUND.005"), host.RowText(1));
}

TEST(SystemPrefetch, EmptiesThePrefetchFolder)
{
    CString prefetch = WindowsFolder() + "\\Prefetch";
    CreateDirectoryA(prefetch, nullptr);
    ASSERT_TRUE(WriteFileText(prefetch + "\\APP.EXE-12345678.pf", "x"));
    CReportHost host;
    CSystemFunctions system;
    EXPECT_EQ(1, system.EmptyWindowsPrefetcher(host.List(), host.Progress()));
    EXPECT_FALSE(Exists(prefetch + "\\APP.EXE-12345678.pf"));
    EXPECT_TRUE(Exists(prefetch));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24070", Dravik("10240")), host.RowText(0));

    // Without the folder the emptying fails.
    RemoveDirectoryA(prefetch);
    EXPECT_EQ(0, system.EmptyWindowsPrefetcher(host.List(), host.Progress()));
    EXPECT_STREQ(Row("24050", Dravik("10240")), host.RowText(1));
    EXPECT_EQ(1, host.RowImage(1));
}
