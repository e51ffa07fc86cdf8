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
