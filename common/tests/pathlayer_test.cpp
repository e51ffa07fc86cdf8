// The path layer: spellings that must come out the same, and the verdicts for
// folders that must never be cleaned, against a scratch folder and a host link
// fixture (tests/support/make-links.sh, made by ctest in <tests>\pathlinks).
#include <gtest/gtest.h>
#include <memory>
#include "fw/handle.h"
#include "pathlayer.h"
#include "services.h"
#include "testsupport.h"
#include <shlobj.h>

using namespace pirt_test;

namespace {

// "{S}" is the scratch folder, "{L}" the link fixture, "{W}" the Windows
// folder, "{A}" the application-data folder, "{P}" the program folder;
// "{SN}", "{WL}", "{AL}" and "{RL}" the scratch folder, the Windows folder,
// the application-data folder and the scratch folder's drive root as local
// network shares (the computer's name, 127.0.0.1, localhost).
CString Expand(const char* pattern, const CString& scratch, const CString& links)
{
    CString text(pattern);
    text.Replace("{S}", scratch);
    text.Replace("{L}", links);
    text.Replace("{W}", GetShellFolderPath(CSIDL_WINDOWS));
    text.Replace("{A}", GetShellFolderPath(CSIDL_APPDATA));
    text.Replace("{P}", GetAppPath());
    // Local folders through the network: "\\server\C$\..." for "C:\...".
    auto share = [](const char* server, const CString& path) {
        return "\\\\" + CString(server) + "\\" + path.Left(1) + "$" + path.Mid(2);
    };
    const std::vector<CString> names = ComputerNames();
    text.Replace("{SN}", share(names.empty() ? "" : names[0].GetString(), scratch));
    text.Replace("{WL}", share("127.0.0.1", GetShellFolderPath(CSIDL_WINDOWS)));
    text.Replace("{AL}", share("localhost", GetShellFolderPath(CSIDL_APPDATA)));
    text.Replace("{RL}", share("localhost", scratch.Left(3)));
    return text;
}

bool Exists(const CString& path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

} // namespace

TEST(PathLayer, AbsoluteIsDecidedOnTheRawText)
{
    struct
    {
        const char* raw;
        int absolute;
    } cases[] = {
        {"C:\\x", 1},
        {"c:/x", 1},
        {"C:\\", 1},
        {"\\\\srv\\share", 1},
        {"//srv/share/x", 1},
        {"rel", 0},
        {".", 0},
        {"C:", 0},
        {"C:x", 0},
        {"\\x", 0},
        {"/x", 0},
        {"", 0},
        {"\\\\srv", 0},
        {"\\\\srv\\", 0},
        {"\\\\?\\C:\\x", 0},
        {"\\\\.\\C:", 0},
        {"\\\\\\x", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.absolute, IsAbsolutePathText(c.raw)) << c.raw;
    EXPECT_EQ(0, IsAbsolutePathText(nullptr));
}

TEST(PathLayer, SpellingsOfOnePathComeOutTheSame)
{
    CScratchFolder scratch("pathlayer");
    const CString folder = scratch.MakeFolder("Folder With Long Name");
    char shortName[MAX_PATH] = "";
    GetShortPathNameA(folder, shortName, MAX_PATH);

    struct
    {
        const char* raw;
        const char* canonical;
    } cases[] = {
        {"{S}\\Folder With Long Name", "{S}\\Folder With Long Name"},
        {"{S}\\Folder With Long Name\\", "{S}\\Folder With Long Name"},
        {"{S}\\\\Folder With Long Name\\\\", "{S}\\Folder With Long Name"},
        {"{S}/Folder With Long Name/", "{S}\\Folder With Long Name"},
        {"{S}\\Folder With Long Name\\.", "{S}\\Folder With Long Name"},
        {"{S}\\Folder With Long Name. ", "{S}\\Folder With Long Name"},
        {"{S}\\Folder With Long Name\\..\\Folder With Long Name", "{S}\\Folder With Long Name"},
        {"{S}\\missing\\deeper\\", "{S}\\missing\\deeper"},
        {"C:\\", "C:\\"},
        {"C:\\\\", "C:\\"},
        {"C://", "C:\\"},
        {"C:\\.", "C:\\"},
        {"C:\\..\\..", "C:\\"},
        {"C:\\x\\..", "C:\\"},
        {"C:\\x\\... ", "C:\\x"},
        {"\\\\srv\\share", "\\\\srv\\share\\"},
        {"\\\\srv\\\\share\\\\x\\", "\\\\srv\\share\\x"},
        {"{S}\\*", ""},
        {"{S}\\a?", ""},
        {"", ""},
    };
    const CString file = folder + "\\File With Long Name.txt";
    WriteFileText(file, "x");
    char shortFile[MAX_PATH] = "";
    GetShortPathNameA(file, shortFile, MAX_PATH);
    const CString shortFileName = CString(shortFile).Mid(CString(shortFile).ReverseFind('\\') + 1);
    // Alone, then in a run (which keeps the long forms of folders and the
    // forms it gave out), each path twice and then by its file's short name.
    for (int inPass = 0; inPass < 2; ++inPass) {
        std::unique_ptr<CRunPass> run(inPass ? new CRunPass : nullptr);
        for (int round = 0; round < 1 + inPass; ++round) {
            for (const auto& c : cases) {
                CString raw = Expand(c.raw, scratch.Path(), "");
                EXPECT_STREQ(Expand(c.canonical, scratch.Path(), ""), CanonicalPath(raw)) << raw << " run " << inPass;
            }
            // Short names are expanded where the path exists.
            if (folder.CompareNoCase(shortName) != 0 && shortName[0] != '\0') {
                EXPECT_STREQ(folder, CanonicalPath(shortName));
                EXPECT_STREQ(folder + "\\new", CanonicalPath(CString(shortName) + "\\new\\"));
                EXPECT_STREQ(file, CanonicalPath(shortFile)) << inPass;
                EXPECT_STREQ(file, CanonicalPath(folder + "\\" + shortFileName)) << inPass;
                EXPECT_STREQ(folder + "\\gone.txt", CanonicalPath(CString(shortName) + "\\gone.txt")) << inPass;
            }
        }
    }
}

TEST(PathLayer, LocalDriveAsNetworkShareIsThatDrive)
{
    const std::vector<CString> names = {"PIRTBOX", "pirtbox.example.org"};
    struct
    {
        const char* raw;
        const char* drive;
    } cases[] = {
        {"\\\\localhost\\C$\\Users", "C:\\Users"},
        {"\\\\LOCALHOST\\c$", "C:\\"},
        {"//127.0.0.1/d$/x/", "D:\\x/"},
        {"\\\\127.1\\C$\\", "C:\\"},
        {"\\\\pirtbox\\C$\\Windows", "C:\\Windows"},
        {"\\\\PirtBox.Example.Org\\C$\\a", "C:\\a"},
        {"\\\\?\\UNC\\localhost\\C$\\Users", "C:\\Users"},
        {"\\\\?\\unc\\pirtbox\\E$", "E:\\"},
        // Every spelling of this computer that Windows resolves.
        {"\\\\localhost.\\C$\\a", "C:\\a"},
        {"\\\\pirtbox.\\C$\\a", "C:\\a"},
        {"\\\\127.0.0.1.\\C$\\a", "C:\\a"},
        {"\\\\0177.0.0.1\\C$\\a", "C:\\a"},
        {"\\\\0x7f.1\\C$\\a", "C:\\a"},
        {"\\\\0x7f000001\\C$\\a", "C:\\a"},
        {"\\\\2130706433\\C$\\a", "C:\\a"},
        {"\\\\127.255.255.254\\C$\\a", "C:\\a"},
        {"\\\\0--1.ipv6-literal.net\\C$\\a", "C:\\a"},
        {"\\\\0-0-0-0-0-0-0-1.IPV6-LITERAL.NET\\C$\\a", "C:\\a"},
        {"\\\\--1s1.ipv6-literal.net\\C$\\a", "C:\\a"},
        {"\\\\--ffff-7f00-1.ipv6-literal.net\\C$\\a", "C:\\a"},
        {"\\\\2130706432.1\\C$", nullptr},
        {"\\\\0x80000001\\C$\\a", nullptr},
        {"\\\\0178.0.0.1\\C$\\a", nullptr},
        {"\\\\127.0.0.1.1.1\\C$\\a", nullptr},
        {"\\\\127.256.0.1\\C$\\a", nullptr},
        {"\\\\localhost..\\C$\\a", nullptr},
        {"\\\\0--2.ipv6-literal.net\\C$\\a", nullptr},
        {"\\\\1--1.ipv6-literal.net\\C$\\a", nullptr},
        {"\\\\0--1--1.ipv6-literal.net\\C$\\a", nullptr},
        {"\\\\ipv6-literal.net\\C$\\a", nullptr},
        {"\\\\otherbox\\C$\\Users", nullptr},
        {"\\\\localhost\\share\\Users", nullptr},
        {"\\\\localhost\\C$x\\Users", nullptr},
        {"\\\\localhost\\1$\\Users", nullptr},
        {"\\\\128.0.0.1\\C$\\Users", nullptr},
        {"\\\\127..1\\C$", nullptr},
        {"\\\\?\\C:\\x", nullptr},
        {"C:\\localhost\\C$", nullptr},
        {"\\\\\\C$\\x", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.drive != nullptr ? c.drive : c.raw, LocalShareAsDrive(c.raw, names)) << c.raw;
}

TEST(PathLayer, RootAndInside)
{
    struct
    {
        const char* inner;
        const char* outer;
        int inside;
    } cases[] = {
        {"C:\\a", "C:\\a", 1},
        {"C:\\A\\b", "c:\\a", 1},
        {"C:\\a", "C:\\", 1},
        {"C:\\ab", "C:\\a", 0},
        {"C:\\a", "C:\\a\\b", 0},
        {"D:\\a", "C:\\", 0},
        {"\\\\s\\h\\x", "\\\\s\\h\\", 1},
        {"", "C:\\", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, IsPathInside(c.inner, c.outer)) << c.inner << " in " << c.outer;

    struct
    {
        const char* path;
        int root;
    } roots[] = {
        {"C:\\", 1}, {"C:", 1}, {"\\\\s\\h\\", 1}, {"\\\\s\\h", 1}, {"C:\\a", 0}, {"\\\\s\\h\\x", 0}, {"", 0},
    };
    for (const auto& c : roots)
        EXPECT_EQ(c.root, IsRootPath(c.path)) << c.path;
}

// Every spelling class against the whole test: what may be cleaned, and what
// never may, however written.
TEST(PathLayer, FolderTargetVerdicts)
{
    CScratchFolder scratch("pathverdicts");
    scratch.MakeFolder("target\\sub");
    const CString links = ProgramFolder() + "\\pathlinks";
    const bool haveLinks = Exists(links + "\\toplink");

    // Root, relative, Windows-folder and top-link spellings run against every
    // deleting entry in the path-safety suite; here what only the layer shows.
    struct
    {
        const char* raw;
        PathVerdict verdict;
        bool needsLinks;
    } cases[] = {
        {"{S}\\target", PATH_OK, false},
        {"{S}/target/", PATH_OK, false},
        {"{S}\\target\\sub\\..", PATH_OK, false},
        {"{S}\\not there", PATH_OK, false},
        {"\\\\?\\C:\\windows", PATH_NOT_ABSOLUTE, false},
        {"{S}\\..\\..\\..\\..\\..\\..\\..\\..", PATH_ROOT, false},
        {"{A}\\Talvery\\Pirt\\", PATH_PROTECTED, false},
        {"{A}\\Zex", PATH_PROTECTED, false},
        {"{P}", PATH_PROTECTED, false},
        {"{A}\\Talvery\\Pirt\\logs", PATH_OK, false},
        {"{L}\\toplink. ", PATH_LINK, true},
        {"{L}\\tree\\dirlink\\sub", PATH_OK, true},
        {"{L}\\cdrive", PATH_LINK, true},
        {"{SN}\\target", PATH_OK, false},
        {"{RL}", PATH_ROOT, false},
        {"{WL}\\system32\\..", PATH_PROTECTED, false},
        {"{AL}\\..", PATH_PROTECTED, false},
    };
    for (const auto& c : cases) {
        if (c.needsLinks && !haveLinks)
            continue;
        CString raw = Expand(c.raw, scratch.Path(), links);
        CString canonical = "unchanged";
        EXPECT_EQ(c.verdict, CheckFolderTarget(raw, &canonical)) << raw;
        if (c.verdict == PATH_OK) {
            EXPECT_STREQ(CanonicalPath(raw), canonical) << raw;
            EXPECT_NE("\\\\", canonical.Left(2)) << raw; // every folder here is local
        } else
            EXPECT_STREQ("unchanged", canonical) << raw;
    }
    if (!haveLinks)
        GTEST_SKIP() << "link fixture missing: run through ctest";
}

// A link in a folder above leads the final path elsewhere: where it leads
// must pass the same tests.
TEST(PathLayer, ProtectedFolderReachedThroughALinkAbove)
{
    const CString cdrive = ProgramFolder() + "\\pathlinks\\cdrive";
    if (!Exists(cdrive + "\\windows"))
        GTEST_SKIP() << "link fixture missing: run through ctest";
    const CString windows = CanonicalPath(GetShellFolderPath(CSIDL_WINDOWS));
    EXPECT_STREQ(windows, FinalPath(CanonicalPath(cdrive + "\\windows\\")));
    EXPECT_EQ(PATH_PROTECTED, CheckFolderTarget(cdrive + "\\windows", nullptr));
    EXPECT_EQ(PATH_PROTECTED, CheckFolderTarget(cdrive + "\\users\\", nullptr));
}

// A folder named by the environment becomes protected at the next test, and
// so again once a pass that shared an older list has ended.
TEST(PathLayer, ProtectedFoldersFollowAChangeOutsideAPass)
{
    CScratchFolder scratch("pathpass");
    const CString folder = scratch.MakeFolder("shared");
    const char* name = "CommonProgramFiles(x86)";
    char saved[MAX_PATH * 2] = "";
    const bool wasSet = GetEnvironmentVariableA(name, saved, sizeof(saved)) > 0;
    auto set = [&](const char* value) { SetEnvironmentVariableA(name, value); };
    struct
    {
        const char* what;
        bool inPass; // a test of an outer pass before the change
        PathVerdict verdict;
    } cases[] = {
        {"no pass", false, PATH_PROTECTED},
        {"after a nested pass", true, PATH_PROTECTED},
    };
    for (const auto& c : cases) {
        set(wasSet ? saved : nullptr);
        if (c.inPass) {
            CRunPass outer;
            EXPECT_EQ(PATH_OK, CheckFolderTarget(folder, nullptr)) << c.what;
            {
                CRunPass inner;
            }
            EXPECT_EQ(PATH_OK, CheckFolderTarget(folder, nullptr)) << c.what;
        } else
            EXPECT_EQ(PATH_OK, CheckFolderTarget(folder, nullptr)) << c.what;
        set(folder);
        EXPECT_EQ(c.verdict, CheckFolderTarget(folder, nullptr)) << c.what;
        EXPECT_EQ(c.verdict, CheckBaseFolder(folder + "\\..\\shared", nullptr)) << c.what;
    }
    set(wasSet ? saved : nullptr);
}

// A 32-bit process on 64-bit Windows protects the other view's folders too:
// the native program-files folders and the real system folder, however it
// learns of them.
TEST(PathLayer, ProtectedFoldersHoldBothViews)
{
    std::vector<CString> folders;
    for (const char* name : {"ProgramW6432", "CommonProgramW6432", "ProgramFiles(x86)", "CommonProgramFiles(x86)"}) {
        char value[MAX_PATH] = "";
        if (GetEnvironmentVariableA(name, value, MAX_PATH) > 0)
            folders.push_back(value);
    }
    CRegKeyHandle key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.Receive()) == ERROR_SUCCESS) {
        for (const char* name : {"ProgramFilesDir", "CommonFilesDir"}) {
            char value[MAX_PATH] = "";
            DWORD size = sizeof(value) - 1;
            if (RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)value, &size) == ERROR_SUCCESS)
                folders.push_back(value);
        }
    }
    if (IsWow64Redirected())
        folders.push_back(GetShellFolderPath(CSIDL_WINDOWS) + "\\Sysnative");
    ASSERT_FALSE(folders.empty());
    for (int inPass = 0; inPass < 2; ++inPass) {
        std::unique_ptr<CRunPass> run(inPass ? new CRunPass : nullptr);
        for (const CString& folder : folders) {
            EXPECT_EQ(1, IsProtectedPath(CanonicalPath(folder))) << folder << " in a pass: " << inPass;
            EXPECT_EQ(PATH_PROTECTED, CheckFolderTarget(folder + "\\", nullptr)) << folder;
        }
    }
}
