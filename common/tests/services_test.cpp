// Paths, folder utilities, message pump, INI reads and first-run seeding.
#include <gtest/gtest.h>
#include "fw/handle.h"
#include "pirt.h"
#include "testsupport.h"
#include "sortsettings.h"
#include <memory>

using namespace pirt_test;

namespace {

bool IsFolder(const char* path)
{
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadText(const char* path)
{
    std::vector<char> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

CString IniValue(const char* file, const char* section, const char* key)
{
    char buffer[512] = "";
    GetPrivateProfileStringA(section, key, "", buffer, sizeof(buffer), file);
    return CString(buffer);
}

// A program folder of our own making: skel and languages as a test needs.
class FakeProgramFolder
{
public:
    explicit FakeProgramFolder(const char* name) : folder(name)
    {
        folder.MakeFolder("skel\\config");
        folder.MakeFolder("languages");
        WriteFileText(folder("skel\\config\\Pirt.ini"), "[Pirt]\r\nOverwritePasses=10\r\n");
    }
    void AddLanguage(const char* name)
    {
        WriteFileText(folder(CString("languages\\") + name + ".lng"), "[Information]\r\nLanguage=x\r\n");
    }
    CString Language(const char* name) const { return folder(CString("languages\\") + name + ".lng"); }
    CScratchFolder folder;
};

CString SuiteIni() { return GetDataRoot() + "\\config\\Pirt.ini"; }

} // namespace

TEST(Paths, ProgramAndDataFolders)
{
    EXPECT_STREQ(ProgramFolder(), GetAppPath());
    EXPECT_STREQ(AppDataFolder(), GetAppDataPath());
    EXPECT_STREQ(AppDataFolder() + "\\Zex\\Ulmoro", GetDataRoot());
    EXPECT_STREQ("No language files found. Please reinstall Zex Ulmora", GetNoLanguageMessage());
}

TEST(Paths, FileExistsOnlyForFiles)
{
    CScratchFolder folder("exists");
    WriteFileText(folder("a.txt"), "x");
    EXPECT_EQ(1, FileExists(folder("a.txt")));
    EXPECT_EQ(0, FileExists(folder.Path()));
    EXPECT_EQ(0, FileExists(folder("missing.txt")));
    EXPECT_EQ(0, FileExists(""));
    EXPECT_EQ(0, FileExists(nullptr));
}

TEST(Paths, RemoveTrailingBackslashDropsOneAfterTrimming)
{
    CString a("C:\\a\\ \t");
    RemoveTrailingBackslash(a);
    EXPECT_STREQ("C:\\a", a);
    CString b("C:\\a\\\\");
    RemoveTrailingBackslash(b);
    EXPECT_STREQ("C:\\a\\", b);
    CString c("");
    RemoveTrailingBackslash(c);
    EXPECT_STREQ("", c);
}

TEST(Folders, CreateFullPathCreatesEveryMissingLevel)
{
    CScratchFolder folder("fullpath");
    const CString target = folder("one\\two\\");
    EXPECT_EQ(1, CreateFullPath(target));
    EXPECT_TRUE(IsFolder(folder("one\\two")));
    EXPECT_EQ(1, CreateFullPath(target));

    // A file in the way stops at that level.
    WriteFileText(folder("file"), "x");
    EXPECT_EQ(0, CreateFullPath(folder("file\\below\\deeper")));
    EXPECT_FALSE(IsFolder(folder("file\\below")));
}

TEST(Folders, CreateFullPathTakesServerAndShareAsRoot)
{
    // "\\.\T:\" has the form of a server and share; below it the path is an
    // ordinary one, so only a root taken whole makes the creation work.
    CScratchFolder folder("uncroot");
    const CString unc = CString("\\\\.\\") + folder("a\\b");
    EXPECT_EQ(1, CreateFullPath(unc));
    EXPECT_TRUE(IsFolder(folder("a\\b")));
    EXPECT_EQ(1, CreateFullPath("\\\\server\\share"));
}

TEST(Folders, CopyFolderCopiesTreeAndSkipsDotNames)
{
    CScratchFolder folder("copy");
    folder.MakeFolder("src\\sub\\deeper");
    folder.MakeFolder("src\\.hiddendir");
    WriteFileText(folder("src\\a.txt"), "a");
    WriteFileText(folder("src\\b.dat"), "b");
    WriteFileText(folder("src\\.hidden"), "h");
    WriteFileText(folder("src\\sub\\deeper\\c.txt"), "c");
    WriteFileText(folder("src\\.hiddendir\\d.txt"), "d");
    folder.MakeFolder("dst");
    WriteFileText(folder("dst\\a.txt"), "old");

    EXPECT_EQ(1, CopyFolder(folder("src"), folder("dst"), 1, nullptr, nullptr, 1));
    EXPECT_EQ("a", ReadText(folder("dst\\a.txt"))); // overwritten
    EXPECT_EQ("b", ReadText(folder("dst\\b.dat")));
    EXPECT_EQ("c", ReadText(folder("dst\\sub\\deeper\\c.txt")));
    EXPECT_EQ(0, FileExists(folder("dst\\.hidden")));
    EXPECT_FALSE(IsFolder(folder("dst\\.hiddendir")));

    // A filter limits the files of the top folder; sub-folders come whole.
    EXPECT_EQ(1, CopyFolder(folder("src"), folder("filtered"), 1, "*.txt", nullptr, 0));
    EXPECT_EQ(1, FileExists(folder("filtered\\a.txt")));
    EXPECT_EQ(0, FileExists(folder("filtered\\b.dat")));
    EXPECT_EQ(1, FileExists(folder("filtered\\sub\\deeper\\c.txt")));

    // Without recursion, only the files.
    EXPECT_EQ(1, CopyFolder(folder("src"), folder("flat"), 0, nullptr, nullptr, 0));
    EXPECT_EQ(1, FileExists(folder("flat\\b.dat")));
    EXPECT_FALSE(IsFolder(folder("flat\\sub")));
}

TEST(Folders, CopyFolderFailsOnStopOrMissingSource)
{
    CScratchFolder folder("copystop");
    folder.MakeFolder("src");
    WriteFileText(folder("src\\a.txt"), "a");

    CHandle stop(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    EXPECT_EQ(0, CopyFolder(folder("src"), folder("dst"), 1, nullptr, stop, 0));
    EXPECT_EQ(0, FileExists(folder("dst\\a.txt")));
    stop.Close();

    EXPECT_EQ(0, CopyFolder(folder("missing"), folder("dst2"), 1, nullptr, nullptr, 0));
}

namespace {
int g_dispatched = 0;
LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_APP + 1)
        ++g_dispatched;
    return DefWindowProcA(wnd, msg, wp, lp);
}
} // namespace

TEST(MessagePump, DispatchesWaitingMessagesAndKeepsQuit)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PirtCountingWindow";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowExA(0, "PirtCountingWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(wnd != nullptr);

    g_dispatched = 0;
    PostMessageA(wnd, WM_APP + 1, 0, 0);
    PostMessageA(wnd, WM_APP + 1, 0, 0);
    ProcessMsgLoop();
    EXPECT_EQ(2, g_dispatched);

    // A quit met by the pump must still reach the program's own loop.
    PostMessageA(wnd, WM_APP + 1, 0, 0);
    PostQuitMessage(7);
    ProcessMsgLoop();
    EXPECT_EQ(3, g_dispatched);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7, (int)msg.wParam);

    DestroyWindow(wnd);
}

namespace {

WNDPROC g_editProc = nullptr;
std::wstring g_subclassSawText;
int g_hookSaw = 0;

LRESULT CALLBACK SubclassW(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        g_subclassSawText = (const wchar_t*)lParam;
    if (message == WM_APP + 2)
        return 42;
    return CallWindowProcW(g_editProc, wnd, message, wParam, lParam);
}

LRESULT CALLBACK SubclassA(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        g_subclassSawText = WidenAnsi((const char*)lParam);
    if (message == WM_APP + 2)
        return 42;
    return CallWindowProcA(g_editProc, wnd, message, wParam, lParam);
}

LRESULT CALLBACK CountingHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && (sent->message == WM_SETTEXT || sent->message == WM_APP + 2))
        ++g_hookSaw;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

// A control subclassed by an ANSI or a wide procedure: the send reaches that
// procedure (with the text converted for a wide one) and the control's own
// behind it, while the thread's call-window hook sees nothing.
TEST(SendPastHooks, ReachesTheSubclassedProcedureAndNotTheHook)
{
    const struct
    {
        const char* name;
        bool wide;
    } cases[] = {{"ANSI subclass", false}, {"wide subclass", true}};
    for (const auto& c : cases) {
        HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, GetModuleHandleA(nullptr),
                                    nullptr);
        ASSERT_TRUE(edit != nullptr) << c.name;
        g_editProc = c.wide ? (WNDPROC)SetWindowLongPtrW(edit, GWLP_WNDPROC, (LONG_PTR)SubclassW)
                            : (WNDPROC)SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)SubclassA);
        g_subclassSawText.clear();
        g_hookSaw = 0;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountingHook, nullptr, GetCurrentThreadId());
        ASSERT_TRUE(hook != nullptr);
        EXPECT_EQ(42, (int)SendPastHooks(edit, WM_APP + 2, 0, 0)) << c.name;
        EXPECT_TRUE(SendPastHooks(edit, WM_SETTEXT, 0, (LPARAM)"r\xe9sum\xe9")) << c.name;
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(0, g_hookSaw) << c.name;
        EXPECT_EQ(WidenAnsi("r\xe9sum\xe9"), g_subclassSawText) << c.name;
        char text[32] = "";
        GetWindowTextA(edit, text, sizeof(text));
        EXPECT_STREQ("r\xe9sum\xe9", text) << c.name;
        DestroyWindow(edit);
    }
}

TEST(Settings, IniReads)
{
    ResetDataRoots();
    const CString ini = GetIniPath(INI_BRISVANE);
    ASSERT_EQ(1, FileExists(ini));
    const std::string longValue(300, 'v');
    WritePrivateProfileStringA("T", "Yes", "yes", ini);
    WritePrivateProfileStringA("T", "Capital", "Yes", ini);
    WritePrivateProfileStringA("T", "Blank", "\"yes \"", ini);
    WritePrivateProfileStringA("T", "Percent", "100%% done", ini);
    WritePrivateProfileStringA("T", "Format", "%s %d %n %%%", ini);
    WritePrivateProfileStringA("T", "Long", longValue.c_str(), ini);

    EXPECT_EQ(1, GetIniBool("T", "Yes", INI_BRISVANE));
    EXPECT_EQ(0, GetIniBool("T", "Capital", INI_BRISVANE));
    EXPECT_EQ(0, GetIniBool("T", "Blank", INI_BRISVANE));
    EXPECT_EQ(0, GetIniBool("T", "Absent", INI_BRISVANE));

    EXPECT_STREQ("100% done", GetIniString("T", "Percent", INI_BRISVANE));
    // Stored text is never a printf format: everything but "%%" stays as is.
    EXPECT_STREQ("%s %d %n %%", GetIniString("T", "Format", INI_BRISVANE));
    EXPECT_STREQ(CString(longValue.substr(0, 254).c_str()), GetIniString("T", "Long", INI_BRISVANE));
    EXPECT_STREQ("", GetIniString("T", "Absent", INI_BRISVANE));

    EXPECT_STREQ("a%b", UnescapePercent("a%%b"));
    EXPECT_STREQ("a%%b", EscapePercent("a%b"));
}

TEST(Seeding, FreshProfileIsSeededOnFirstRequest)
{
    ResetDataRoots();
    const CString path = GetIniPath(INI_FARNOCH);
    EXPECT_STREQ(GetDataRoot() + "\\config\\Farnoch.ini", path);

    // Every file of the shipped skeleton arrived.
    const char* files[] = {"Pirt.ini", "Farnoch.ini", "Holberin.ini", "Plimvet.ini", "Brisvane.ini"};
    for (const char* f : files)
        EXPECT_EQ(1, FileExists(GetDataRoot() + "\\config\\" + f)) << f;

    const bool german = IsGermanLangId(GetUserDefaultLangID()) != 0;
    EXPECT_STREQ(german ? "German" : "English", IniValue(SuiteIni(), "Pirt", "Language"));
    EXPECT_STREQ(GetAppPath() + (german ? "\\languages\\German.lng" : "\\languages\\English.lng"), GetLngPath());
}

TEST(Seeding, LanguageFollowsLocaleAndAvailableFiles)
{
    EXPECT_EQ(1, IsGermanLangId(1031));
    EXPECT_EQ(1, IsGermanLangId(2055));
    EXPECT_EQ(1, IsGermanLangId(3079));
    EXPECT_EQ(1, IsGermanLangId(4103));
    EXPECT_EQ(1, IsGermanLangId(5127));
    EXPECT_EQ(0, IsGermanLangId(1033));
    EXPECT_EQ(0, IsGermanLangId(6151));

    FakeProgramFolder program("seedlang");
    program.AddLanguage("English");
    program.AddLanguage("German");

    ResetDataRoots();
    SeedUserData(program.folder.Path(), 3079);
    EXPECT_STREQ("German", IniValue(SuiteIni(), "Pirt", "Language"));
    EXPECT_STREQ(program.Language("German"), IniValue(SuiteIni(), "Pirt", "LngPath"));

    ResetDataRoots();
    SeedUserData(program.folder.Path(), 1033);
    EXPECT_STREQ("English", IniValue(SuiteIni(), "Pirt", "Language"));
    EXPECT_STREQ(program.Language("English"), IniValue(SuiteIni(), "Pirt", "LngPath"));

    ResetDataRoots();
    DeleteFileA(program.Language("German"));
    SeedUserData(program.folder.Path(), 2055);
    EXPECT_STREQ("English", IniValue(SuiteIni(), "Pirt", "Language"));
    EXPECT_STREQ(program.Language("English"), IniValue(SuiteIni(), "Pirt", "LngPath"));
}

// The whole program under a German locale (a second run of this test with
// LC_ALL=de_AT.UTF-8) gets German; any other locale English.
TEST(SeedingLocale, UserLocaleChoosesTheLanguage)
{
    const char* lcAll = getenv("LC_ALL");
    if (lcAll != nullptr && strncmp(lcAll, "de_AT", 5) == 0) {
        EXPECT_EQ(3079, GetUserDefaultLangID());
    }

    ResetDataRoots();
    GetIniPath(INI_PIRT);
    const bool german = IsGermanLangId(GetUserDefaultLangID()) != 0;
    EXPECT_STREQ(german ? "German" : "English", IniValue(SuiteIni(), "Pirt", "Language"));
    EXPECT_STREQ(german ? "Gel\xf6scht:" : "Deleted:", GetLngString("General", "24060"));
}

TEST(Seeding, NoLanguageFileShowsOneUnownedMessage)
{
    FakeProgramFolder program("seednolang");
    ResetDataRoots();
    CDialogCatcher catcher(IDOK);
    SeedUserData(program.folder.Path(), 1033);
    ASSERT_TRUE(catcher.WaitFor(1));
    std::vector<CDialogCatcher::Caught> boxes = catcher.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_STREQ("Error", boxes[0].caption);
    EXPECT_STREQ("No language files found. Please reinstall Zex Ulmora", boxes[0].text);
    EXPECT_TRUE(boxes[0].owner == nullptr);
    // The skeleton was copied all the same, and no choice was written.
    EXPECT_EQ(1, FileExists(SuiteIni()));
    EXPECT_STREQ("", IniValue(SuiteIni(), "Pirt", "LngPath"));
}

TEST(Seeding, NoLanguageFileClosesTheThreadsMainWindow)
{
    FakeProgramFolder program("seednolangmain");
    ResetDataRoots();
    HWND main = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(main != nullptr);
    CDialogCatcher catcher(IDOK);
    SeedUserData(program.folder.Path(), 1033);
    ASSERT_TRUE(catcher.WaitFor(1));
    EXPECT_TRUE(catcher.Boxes()[0].owner == main);
    EXPECT_FALSE(IsWindow(main));
    if (IsWindow(main))
        DestroyWindow(main);
}

TEST(Seeding, ReseedingKeepsUserFilesAndLanguageChoice)
{
    FakeProgramFolder program("seedkeep");
    program.AddLanguage("English");
    program.AddLanguage("German");
    WriteFileText(program.folder("skel\\config\\Brisvane.ini"), "[Preferences]\r\nA=skeleton\r\n");
    program.folder.MakeFolder("skel\\plug-ins\\deep\\deeper");
    WriteFileText(program.folder("skel\\plug-ins\\deep\\deeper\\x.dorv"), "[General]\r\n");

    ResetDataRoots();
    SeedUserData(program.folder.Path(), 1031);
    EXPECT_EQ(1, FileExists(GetDataRoot() + "\\plug-ins\\deep\\deeper\\x.dorv"));
    const CString brisvane = GetDataRoot() + "\\config\\Brisvane.ini";
    WritePrivateProfileStringA("Preferences", "A", "user", brisvane);

    // Seeding again (as for a missing config file) with another locale.
    SeedUserData(program.folder.Path(), 1033);
    EXPECT_STREQ("user", IniValue(brisvane, "Preferences", "A"));
    EXPECT_STREQ("German", IniValue(SuiteIni(), "Pirt", "Language"));

    // A choice naming a file that is gone is made again.
    DeleteFileA(program.Language("German"));
    SeedUserData(program.folder.Path(), 1031);
    EXPECT_STREQ("English", IniValue(SuiteIni(), "Pirt", "Language"));
    EXPECT_STREQ(program.Language("English"), IniValue(SuiteIni(), "Pirt", "LngPath"));
}

TEST(Seeding, SkeletonWithoutSuiteIniDoesNotRecurse)
{
    FakeProgramFolder program("seednosuite");
    program.AddLanguage("English");
    DeleteFileA(program.folder("skel\\config\\Pirt.ini"));
    DeleteTree(program.folder("skel\\config"));
    WriteFileText(program.folder("skel\\other.txt"), "x");

    ResetDataRoots();
    SeedUserData(program.folder.Path(), 1033);
    EXPECT_EQ(1, FileExists(GetDataRoot() + "\\other.txt"));
    EXPECT_STREQ("English", IniValue(SuiteIni(), "Pirt", "Language"));
}

TEST(Seeding, IndexOutsideTheTableNamesTheConfigFolderWithoutSeeding)
{
    ResetDataRoots();
    EXPECT_STREQ(GetDataRoot() + "\\config", GetIniPath(11));
    EXPECT_STREQ(GetDataRoot() + "\\config", GetIniPath(-1));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(GetDataRoot()));
    EXPECT_STREQ(GetDataRoot() + "\\config\\Tarnel.ini", GetIniPath(INI_TARNEL));
}

// With no usable application-data folder nothing is built on "": no config
// file, INI write, sort setting or log record lands at the root of the
// current drive or in the current folder, and the user is told once. The
// shell's answer is replaced by each spelling of "no folder".
TEST(Seeding, NoApplicationDataFolderWritesNothing)
{
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    const CString root = CString(current).Left(3);
    struct Probe
    {
        const char* name;
        AppDataProbe probe;
    };
    const Probe probes[] = {
        {"empty", [] { return CString(); }},
        {"relative", [] { return CString("pirtnoappdata"); }},
        {"drive-relative", [] { return CString("C:pirtnoappdata"); }},
    };
    for (const Probe& p : probes) {
        SetAppDataProbe(p.probe);
        {
            CDialogCatcher catcher(IDOK);
            EXPECT_STREQ("", GetAppDataPath()) << p.name;
            EXPECT_STREQ("", GetDataRoot()) << p.name;
            EXPECT_STREQ("", GetUserDataFolder("\\Zex\\Ulmoro\\plug-ins")) << p.name;
            EXPECT_STREQ("", GetIniPath(INI_BRISVANE)) << p.name;
            EXPECT_STREQ("", GetIniPath(INI_PIRT)) << p.name;
            EXPECT_EQ(0, WriteIniString("Window", "SortedCol", "3", INI_BRISVANE)) << p.name;
            WriteSortSettings(INI_BRISVANE, TRUE, 2);
            CLogFile log;
            log.SetStandardLocation();
            log.WriteEntry("nowhere");
            EXPECT_TRUE(catcher.WaitFor(1)) << p.name;
            Sleep(300);
            EXPECT_EQ(1u, catcher.Boxes().size()) << p.name;
        }
        SetAppDataProbe(nullptr);
        for (const CString& made : {root + "Zex", root + "Talvery", CString(current) + "\\Zex",
                                    CString(current) + "\\pirtnoappdata", root + "pirtnoappdata"})
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(made)) << made << " after " << p.name;
    }
    EXPECT_STREQ(AppDataFolder(), GetAppDataPath());
}
