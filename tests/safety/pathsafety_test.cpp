// No spelling of a path, no setting and no link reaches outside the named
// target: every spelling class runs against every family of entries that
// deletes, and the canary files outside the target must keep every byte.
//
// Placeholders: {T} the target folder (a long name, so it has a short one),
// {TS} its short spelling, {L} the host link fixture (make-links.sh), {W} the
// Windows folder, {A} the roaming application-data folder, {PS} the short
// spelling of the program-files folder, {TU} and {WU} the target and the
// Windows folder as network shares of this computer.
#include <gtest/gtest.h>
#include "BrowserFunctions.h"
#include "CustomFunctions.h"
#include "ShredderFunctions.h"
#include "SystemFunctions.h"
#include "pathlayer.h"
#include "pluginvalidator.h"
#include "pirt.h"
#include "testsupport.h"
#include <shlobj.h>
#include <functional>
#include <memory>
#include <string>

using namespace pirt_test;

namespace {

CString ShortName(const CString& path)
{
    char buffer[MAX_PATH] = "";
    DWORD length = GetShortPathNameA(path, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? CString(buffer) : CString();
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

CString EnvironmentText(const char* name)
{
    char value[MAX_PATH * 2] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? CString(value) : CString();
}

const char kShellKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char kCrashKey[] = "SYSTEM\\CurrentControlSet\\Control\\CrashControl";

// What a family must do with a spelling: D empties (or wipes, or cleans) the
// target, R refuses and touches nothing, F follows a link above or at a
// browser profile (any result), A any result as long as no link is entered.
struct Family
{
    const char* name;
    // Runs the entry on the raw text; returns 1 when it reported success.
    std::function<int(const CString& raw, CReportHost& host)> run;
    // 1 when the outcome shows a refusal.
    std::function<bool(int result, CReportHost& host)> refused;
    // The target file the entry takes when it acts on the target.
    const char* takes;
};

class PathSafety : public ::testing::Test
{
protected:
    PathSafety() : scratch("pathsafety") {}

    void SetUp() override
    {
        links = ProgramFolder() + "\\safetylinks";
        target = scratch.MakeFolder("Target Folder Of Test");
        cwd = scratch.MakeFolder("cwd");
        const CString root = GetShellFolderPath(CSIDL_WINDOWS).Left(3);
        // Canaries: beside the links' target, in the current folder, at the
        // drive root, in the Windows folder and in the application-data folder.
        for (const CString& folder :
             {cwd, root, GetShellFolderPath(CSIDL_WINDOWS), GetShellFolderPath(CSIDL_APPDATA)}) {
            for (const char* name : {"\\pirt-canary.dmp", "\\cookies.sqlite"}) {
                ASSERT_TRUE(WriteFileText(folder + name, "canary")) << folder;
                canaries.push_back(folder + name);
            }
        }
        for (const char* name : {"\\outside\\keep.txt", "\\outside\\keep.dmp", "\\outside\\sub\\keep2.txt"})
            fixture.push_back(links + name);
        GetCurrentDirectoryA(MAX_PATH, previous);
        SetCurrentDirectoryA(cwd);
    }

    void TearDown() override
    {
        SetCurrentDirectoryA(previous);
        for (const CString& canary : canaries)
            DeleteFileA(canary);
    }

    // The target's own files, laid out again before every run.
    void FillTarget()
    {
        CreateFullPath(target + "\\sub");
        WriteFileText(target + "\\t.dmp", "trace");
        WriteFileText(target + "\\cookies.sqlite", "trace");
        WriteFileText(target + "\\sub\\u.dmp", "trace");
    }

    void ExpectCanariesIntact(const CString& context)
    {
        for (const CString& canary : canaries) {
            std::vector<char> bytes = ReadFileBytes(canary);
            EXPECT_EQ("canary", std::string(bytes.begin(), bytes.end())) << canary << " after " << context;
        }
        if (!haveLinks)
            return;
        for (const CString& kept : fixture) {
            std::vector<char> bytes = ReadFileBytes(kept);
            EXPECT_EQ("keep\n", std::string(bytes.begin(), bytes.end())) << kept << " after " << context;
        }
    }

    CString Expand(const char* pattern)
    {
        CString text(pattern);
        CString forward = target;
        forward.Replace('\\', '/');
        text.Replace("{TF}", forward.Left(3) + "/" + forward.Mid(3));
        text.Replace("{TS}", ShortName(target));
        text.Replace("{PS}", ShortName(GetShellFolderPath(CSIDL_PROGRAM_FILES)));
        // A local folder through the network: "\\localhost\C$\..." for "C:\...".
        auto share = [](const char* server, const CString& path) {
            return "\\\\" + CString(server) + "\\" + path.Left(1) + "$" + path.Mid(2);
        };
        text.Replace("{TU}", share("127.0.0.1", target));
        text.Replace("{WU}", share("localhost", GetShellFolderPath(CSIDL_WINDOWS)));
        text.Replace("{CW}", EnvironmentText("CommonProgramW6432"));
        text.Replace("{CX}", EnvironmentText("CommonProgramFiles(x86)"));
        text.Replace("{PW}", EnvironmentText("ProgramW6432"));
        text.Replace("{T}", target);
        text.Replace("{L}", links);
        text.Replace("{W}", GetShellFolderPath(CSIDL_WINDOWS));
        text.Replace("{A}", GetShellFolderPath(CSIDL_APPDATA));
        return text;
    }

    CScratchFolder scratch;
    CString links;
    CString target;
    CString cwd;
    char previous[MAX_PATH] = "";
    bool haveLinks = false;
    std::vector<CString> canaries;
    std::vector<CString> fixture;
};

bool LastRowFailed(int result, CReportHost& host)
{
    return result == 0 && host.RowCount() > 0 && host.LastRowImage() == REPORT_IMAGE_FAILED;
}

} // namespace

TEST_F(PathSafety, NoSpellingSettingOrLinkReachesOutsideTheTarget)
{
    haveLinks = Exists(links + "\\toplink");
    const CString firefoxIni = GetShellFolderPath(CSIDL_APPDATA) + "\\Mozilla\\Firefox\\profiles.ini";

    const Family families[] = {
        {"DeleteFolderContents",
         [](const CString& raw, CReportHost& host) {
             CCustomFunctions custom;
             return custom.DeleteFolderContents(raw, host.List(), host.Progress());
         },
         LastRowFailed, "\\t.dmp"},
        {"RemoveFolder",
         [](const CString& raw, CReportHost& host) {
             CCustomFunctions custom;
             return custom.RemoveFolder(raw, host.List(), host.Progress());
         },
         LastRowFailed, ""},
        {"DeleteMatchInFolder",
         [](const CString& raw, CReportHost& host) {
             CCustomFunctions custom;
             return custom.DeleteMatchInFolder(raw, ".dmp", host.List(), host.Progress());
         },
         [](int result, CReportHost& host) { return result == 0 && host.RowCount() == 0; }, "\\t.dmp"},
        {"DeleteWinTempFiles (TMP)",
         [](const CString& raw, CReportHost& host) {
             CEnvironment tmp("TMP", raw);
             CSystemFunctions system;
             system.DeleteWinTempFiles(host.List(), host.Progress());
             return host.RowImage(0) == REPORT_IMAGE_DONE ? 1 : 0;
         },
         [](int result, CReportHost& host) { return host.RowImage(0) == REPORT_IMAGE_FAILED; }, "\\t.dmp"},
        {"DeleteMRULists (Recent)",
         [](const CString& raw, CReportHost& host) {
             CRegValueOverride user(HKEY_CURRENT_USER, CString(kShellKey) + "User Shell Folders", "Recent", raw);
             CRegValueOverride shell(HKEY_CURRENT_USER, CString(kShellKey) + "Shell Folders", "Recent", raw);
             CSystemFunctions system;
             system.DeleteMRULists(host.List(), host.Progress());
             return host.LastRowImage() == REPORT_IMAGE_DONE ? 1 : 0;
         },
         [](int result, CReportHost& host) { return host.LastRowImage() == REPORT_IMAGE_FAILED; }, "\\t.dmp"},
        {"DeleteMemoryDump (MinidumpDir)",
         [](const CString& raw, CReportHost& host) {
             CRegValueOverride mode(HKEY_LOCAL_MACHINE, kCrashKey, "CrashDumpEnabled", (DWORD)3);
             CRegValueOverride dir(HKEY_LOCAL_MACHINE, kCrashKey, "MinidumpDir", raw, REG_EXPAND_SZ);
             CSystemFunctions system;
             return system.DeleteMemoryDump(host.List(), host.Progress());
         },
         LastRowFailed, "\\t.dmp"},
        {"FirefoxCookies (IsRelative=0)",
         [&firefoxIni](const CString& raw, CReportHost& host) {
             CreateFullPath(firefoxIni.Left(firefoxIni.ReverseFind('\\')));
             WriteFileText(firefoxIni, "[Profile0]\r\nName=default\r\nIsRelative=0\r\nPath=" + raw + "\r\n");
             CBrowserFunctions browsers;
             int result = browsers.FirefoxCookies(host.List(), host.Progress(), 0, "");
             DeleteFileA(firefoxIni);
             return result;
         },
         [](int result, CReportHost& host) {
             return host.RowCount() == 1 && host.RowText(0).Find(GetLngString("Brisvane", "10145")) >= 0;
         },
         "\\cookies.sqlite"},
        {"WipeFile",
         [](const CString& raw, CReportHost& host) {
             CShredderFunctions shredder;
             return shredder.WipeFile(raw + "\\t.dmp", 1, host.List(), host.Progress());
         },
         [](int result, CReportHost& host) { return result == 0; }, "\\t.dmp"},
    };

    // One letter per family, in the order above.
    struct Case
    {
        const char* raw;
        const char* expect;
    };
    const Case cases[] = {
        {"{T}", "DDDDDDDD"},
        {"{T}\\", "DDDDDDDD"},
        {"{T}\\\\", "DDDDDDDD"},
        {"{TF}//", "DDDDDDDD"},
        {"{T}. ", "DDDDDDDD"},
        {"{TS}", "DDDDDDDD"},
        {"rel", "RRRRRRRR"},
        {".", "RRRRRRRR"},
        {"C:", "RRRRRRRR"},
        {"C:\\", "RRRRRRRR"},
        {"C:\\\\", "RRRRRRRR"},
        {"C://", "RRRRRRRR"},
        {"C:\\.", "RRRRRRRR"},
        {"{W}", "RRRRRRRR"},
        {"{W}\\system32\\..\\", "RRRRRRRR"},
        {"{A}\\..", "RRRRRRRR"},
        {"{PS}", "RRRRRRRR"},
        // Both views' program-files folders, whichever view the process has.
        {"{CW}", "RRRRRRRR"},
        {"{CX}", "RRRRRRRR"},
        {"{PW}", "RRRRRRRR"},
        {"{TU}", "DDDDADDD"}, // Wine's shell gives no Recent folder it cannot reach
        {"{WU}", "RRRRRRRR"},
        {"{WU}\\..\\", "RRRRRRRR"},
        {"{L}\\toplink", "RRRRRRFR"},
        {"{L}\\toplink\\", "RRRRRRFR"},
        {"{L}\\toplink\\\\", "RRRRRRFR"},
        {"{L}/toplink/", "RRRRRRFR"},
        {"{L}\\tree", "AAAAAAAR"},
        {"{L}\\tree\\inner\\link\\", "RRRRRRFR"},
        {"{L}\\cdrive\\windows", "RRRRRRRR"},
        {"{L}\\cdrive\\users\\", "RRRRRRRR"},
    };

    for (const Case& c : cases) {
        const CString raw = Expand(c.raw);
        if (CString(c.raw).Find("{L}") >= 0 && !haveLinks)
            continue;
        if (CString(c.raw).Find("{L}\\cdrive") >= 0 && !Exists(links + "\\cdrive\\windows"))
            continue;
        if (raw.IsEmpty() || (CString(c.raw).Find("{TS}") >= 0 && raw.CompareNoCase(target) == 0))
            continue; // no short name to spell it with
        for (size_t f = 0; f < sizeof(families) / sizeof(families[0]); ++f) {
            const Family& family = families[f];
            const char expect = c.expect[f];
            const CString context = CString(family.name) + " on \"" + raw + "\"";
            FillTarget();
            CReportHost host;
            const int result = family.run(raw, host);
            ExpectCanariesIntact(context);
            const bool refused = family.refused(result, host);
            if (expect == 'R') {
                EXPECT_TRUE(refused) << context;
                EXPECT_TRUE(Exists(target + "\\t.dmp")) << context;
            } else if (expect == 'D') {
                EXPECT_FALSE(refused) << context;
                EXPECT_FALSE(Exists(target + family.takes)) << context;
            } else if (expect == 'F') {
                EXPECT_FALSE(refused) << context;
            }
        }
    }
    if (!haveLinks)
        GTEST_SKIP() << "link fixture missing: run through ctest";
}

// A name the file system's own patterns could match is never taken for
// another: each character no name may hold, in a file name, a middle name
// and a last folder name, through the validator and every file and folder
// operation, alone and in a pass that has just handled an entry of the same
// folder. Every file of the target keeps its bytes.
TEST_F(PathSafety, NoNameBecomesAnotherName)
{
    const char* const files[] = {"\\report.txt", "\\notes1.txt", "\\settings.ini", "\\Microsoft\\keep.dmp",
                                 "\\Microsoft\\sub\\inner.dmp"};
    auto fill = [&]() {
        CreateFullPath(target + "\\Microsoft\\sub");
        for (const char* name : files)
            WriteFileText(target + name, "[S]\r\nk=v\r\n");
    };
    auto expectKept = [&](const CString& context) {
        for (const char* name : files) {
            std::vector<char> bytes = ReadFileBytes(target + name);
            EXPECT_EQ("[S]\r\nk=v\r\n", std::string(bytes.begin(), bytes.end())) << name << " after " << context;
        }
    };
    typedef std::function<int(CCustomFunctions&, const CString&, CReportHost&)> Run;
    // "#" stands for the character; each spelling would name an existing
    // entry if the character matched one letter or none.
    const struct
    {
        PluginSection section;
        const char* entry; // folder;action;argument, "{T}" the target
        Run run;           // the library's own call on the joined path
    } actions[] = {
        {PLUGIN_FILES, "{T};Delete;repor#.txt",
         [](CCustomFunctions& c, const CString& p, CReportHost& h) { return c.DeleteOneFile(p, h.List(), h.Progress()); }},
        {PLUGIN_FILES, "{T};DeleteContent;note##.txt",
         [](CCustomFunctions& c, const CString& p, CReportHost& h) {
             return c.DeleteFileContent(p, h.List(), h.Progress());
         }},
        {PLUGIN_FILES, "{T}\\Microsof#;Delete;keep.dmp",
         [](CCustomFunctions& c, const CString& p, CReportHost& h) { return c.DeleteOneFile(p, h.List(), h.Progress()); }},
        {PLUGIN_FILES, "{T}\\setting#.ini;EraseMatch;S,k",
         [](CCustomFunctions& c, const CString& p, CReportHost& h) {
             return c.DeleteFileIniLine(p, "S", "k", h.List(), h.Progress());
         }},
        {PLUGIN_FOLDERS, "{T}\\Mi########;DeleteAll;*.*",
         [](CCustomFunctions& c, const CString& p, CReportHost& h) {
             return c.DeleteFolderContents(p, h.List(), h.Progress());
         }},
        {PLUGIN_FOLDERS, "{T}\\Microsof#;DeleteAllBelow;*.*",
         [](CCustomFunctions& c, const CString& p, CReportHost& h) { return c.RemoveFolder(p, h.List(), h.Progress()); }},
        {PLUGIN_FOLDERS, "{T}\\Microsof#\\sub;DeleteMatch;.dmp",
         [](CCustomFunctions& c, const CString& p, CReportHost& h) {
             return c.DeleteMatchInFolder(p, ".dmp", h.List(), h.Progress());
         }},
    };
    const char forbidden[] = "<>\"|*?:\x01\x1f";
    const CPlaceholderFolders placeholders = GetPlaceholderFolders();
    for (const auto& action : actions) {
        for (const char* c = forbidden; *c != '\0'; ++c) {
            CString text = Expand(action.entry);
            text.Replace('#', *c);
            // The library gets the path the run hands on: a file action's folder
            // and file joined, an INI file or a folder as it stands.
            const CString path = text.Left(text.Find(';'));
            const CString argument = text.Mid(text.ReverseFind(';') + 1);
            const bool joins = text.Find(";Delete;") >= 0 || text.Find(";DeleteContent;") >= 0;
            const CString joined = joins ? path + "\\" + argument : path;
            for (int afterNeighbour = 0; afterNeighbour < 2; ++afterNeighbour) {
                CString context;
                context.Format("%s (char %d, after a neighbour: %d)", (const char*)text, (int)(unsigned char)*c,
                               afterNeighbour);
                fill();
                {
                    CRunPass pass;
                    CPluginEntry entry;
                    if (afterNeighbour) {
                        ASSERT_EQ(1, ParsePluginEntry(PLUGIN_FILES, target + ";Delete;gone.txt", entry));
                        EXPECT_EQ(PLUGIN_ENTRY_OK, ValidatePluginEntry(entry, placeholders, nullptr));
                    }
                    if (ParsePluginEntry(action.section, text, entry) == 1)
                        EXPECT_NE(PLUGIN_ENTRY_OK, ValidatePluginEntry(entry, placeholders, nullptr)) << context;
                }
                CCustomFunctions custom;
                CReportHost host;
                if (afterNeighbour)
                    custom.DeleteOneFile(target + "\\gone.txt", host.List(), host.Progress());
                // Refused, and so reported: never a "done" for what was not done.
                EXPECT_EQ(0, action.run(custom, joined, host)) << context;
                expectKept(context);
            }
        }
    }
}

// The last check before a deletion asks the file system: a folder that
// becomes a link between two entries of one run is refused the second time,
// and nothing behind the link changes. (A link cannot be made or moved from
// inside the prefix: the folder holding it is swapped for the fixture's
// "tree", whose "dirlink" leads outside.)
TEST_F(PathSafety, LinkMadeBetweenEntriesOfOneRunIsRefused)
{
    haveLinks = Exists(links + "\\tree\\dirlink");
    if (!haveLinks)
        GTEST_SKIP() << "link fixture missing: run through ctest";
    const CString slot = links + "\\slot", aside = links + "\\slot-aside", tree = links + "\\tree";
    const CString folder = slot + "\\dirlink";
    typedef std::function<int(CCustomFunctions&, CReportHost&)> Run;
    const struct
    {
        const char* name;
        Run run;
    } operations[] = {
        {"DeleteFolderContents",
         [&](CCustomFunctions& c, CReportHost& h) { return c.DeleteFolderContents(folder, h.List(), h.Progress()); }},
        {"RemoveFolder", [&](CCustomFunctions& c, CReportHost& h) { return c.RemoveFolder(folder, h.List(), h.Progress()); }},
        {"DeleteMatchInFolder",
         [&](CCustomFunctions& c, CReportHost& h) {
             return c.DeleteMatchInFolder(folder, "keep", h.List(), h.Progress());
         }},
    };
    for (const auto& operation : operations) {
        CCustomFunctions custom; // one run for both entries
        CReportHost host;
        CreateFullPath(folder);
        WriteFileText(folder + "\\keep.txt", "trace");
        EXPECT_EQ(1, operation.run(custom, host)) << operation.name;
        ASSERT_TRUE(MoveFileA(slot, aside) && MoveFileA(tree, slot)) << operation.name;
        EXPECT_EQ(0, operation.run(custom, host)) << operation.name;
        ASSERT_TRUE(MoveFileA(slot, tree) && MoveFileA(aside, slot)) << operation.name;
        ExpectCanariesIntact(operation.name);
    }
}

// A share is judged by what it opens: shares of the Windows folder, of the
// drive and of the profiles folder are those folders, however the server is
// named, and a share that cannot be opened is refused where it may be any
// folder of a computer. The shares are links under the prefix's
// dosdevices\unc (make-shares.sh).
TEST_F(PathSafety, ShareIsJudgedByWhatItOpens)
{
    const CString windows = CanonicalPath(GetShellFolderPath(CSIDL_WINDOWS));
    const CString drive = windows.Left(3);
    if (!Exists("\\\\pirtshares\\admin$\\"))
        GTEST_SKIP() << "share fixture missing: run through ctest";
    const CString system = CanonicalPath(GetShellFolderPath(CSIDL_SYSTEM));
    const CString users = CanonicalPath(GetShellFolderPath(CSIDL_PROFILE));
    const CString profiles = users.Left(users.ReverseFind('\\'));
    struct
    {
        const char* raw;
        CString canonical; // "" refused
        PathVerdict verdict;
    } cases[] = {
        {"\\\\pirtshares\\admin$", windows, PATH_PROTECTED},
        {"\\\\PirtShares\\ADMIN$\\system32\\", system, PATH_PROTECTED},
        {"\\\\localhost\\admin$\\system32", system, PATH_PROTECTED},
        {"\\\\pirtshares\\admin$\\Temp\\App", windows + "\\Temp\\App", PATH_OK},
        {"\\\\pirtshares\\whole\\", drive, PATH_ROOT},
        {"\\\\pirtshares\\whole\\windows\\..", drive, PATH_ROOT},
        {"\\\\pirtshares\\whole\\Temp\\App", drive + "Temp\\App", PATH_OK},
        {"\\\\pirtshares\\people", profiles, PATH_PROTECTED},
        {"\\\\pirtshares\\nosuch$\\App", "", PATH_NOT_ABSOLUTE},
        {"\\\\localhost\\nosuch\\App", "", PATH_NOT_ABSOLUTE},
        {"\\\\0x7f000001\\nosuch\\App", "", PATH_NOT_ABSOLUTE},
        {"\\\\pirtshares\\nosuch\\App", "\\\\pirtshares\\nosuch\\App", PATH_OK},
    };
    for (int inPass = 0; inPass < 2; ++inPass) {
        std::unique_ptr<CRunPass> pass(inPass ? new CRunPass : nullptr);
        for (const auto& c : cases) {
            EXPECT_STRCASEEQ(c.canonical, CanonicalPath(c.raw)) << c.raw << " in a pass: " << inPass;
            EXPECT_EQ(c.verdict, CheckFolderTarget(c.raw, nullptr)) << c.raw << " in a pass: " << inPass;
        }
    }
    // The validator's rule for files inside the system folder holds there too.
    CPluginEntry entry;
    ASSERT_EQ(1, ParsePluginEntry(PLUGIN_FILES, "\\\\pirtshares\\admin$\\System32\\drivers\\etc;DeleteContent;hosts",
                                  entry));
    EXPECT_EQ(PLUGIN_REFUSED_PROTECTED, ValidatePluginEntry(entry, GetPlaceholderFolders(), nullptr));
}
