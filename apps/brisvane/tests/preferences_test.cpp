// The preferences sheet and the cookie keep-list manager, driven as a user
// would: the sheet through the frame's command from a second thread, the
// manager as a hidden modeless dialog whose messages the test answers.
#include <gtest/gtest.h>
#include "pirt.h"
#include "fw/handle.h"
#include "appdriver.h"
#include "Brisvane.h"
#include "MainFrm.h"
#include "ManageCookies.h"
#include "CookieKeepList.h"
#include "PrefPages.h"
#include "startprogram.h"
#include "startupcleaner.h"
#include "resource.h"
#include <shlobj.h>
#include <functional>
#include <string>
#include <vector>

using namespace pirt_test;

extern CBrisvaneApp g_app;

namespace {

std::string Str(const CString& s) { return std::string((const char*)s); }

// ---- helpers acting on the sheet from the driver thread ----

void Click(HWND page, int id) { SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }
bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void SetItemState(HWND list, int row, UINT state, UINT mask)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

void SelectRowNamed(HWND list, const char* name)
{
    for (int row = 0; row < (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); row++)
        if (ListItemText(list, row, 0) == name)
            SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

class BrisvanePreferencesTest : public ::testing::Test, public CAppDriver<CMainFrame>
{
protected:
    BrisvanePreferencesTest() : CAppDriver(g_app, false) {}
    void SetUp() override
    {
        ResetDataRoots();
        m_ini = GetIniPath(INI_BRISVANE); // seeds the data root from skel
        WritePrivateProfileStringA("Preferences", "AllBrowsersFoundOnStartUp", "no", m_ini);
        DeleteRunValue("Pirt Brisvane");
    }
    void TearDown() override
    {
        CloseApp();
        DeleteRunValue("Pirt Brisvane");
        ResetDataRoots();
    }
    // Runs the preferences command of the frame while `user` acts on the
    // sheet; the texts of the other boxes shown, each answered `answer`.
    std::vector<std::string> Preferences(CMainFrame* frame, int answer, const std::function<void(HWND)>& user)
    {
        return DriveModalAnswering(
            GetLngString("General", "30200"), answer, [&] { frame->SendMessage(WM_COMMAND, ID_PREFERENCES, 0); }, user);
    }
    std::string Pref(const char* key) { return IniFileValue(m_ini, "Preferences", key); }
    static CString SuiteIni(const char* root) { return AppDataFolder() + root + "\\config\\Pirt.ini"; }

    CString m_ini;
};

} // namespace

TEST_F(BrisvanePreferencesTest, EveryPageWritesItsKeysAndTheRunValueIsQuoted)
{
    WritePrivateProfileStringA("Preferences", "SecurityDelConfirm", "no", m_ini);
    CMainFrame* frame = StartApp();
    ASSERT_TRUE(frame);
    WritePrivateProfileStringA("Preferences", "AllBrowsersFoundOnStartUp", "yes", m_ini);

    std::string question = Str(GetLngString("General", "51020"));
    bool foundBefore = false, foundAfter = true;
    std::vector<std::string> boxes = Preferences(frame, IDNO, [&](HWND sheet) {
        HWND page = ShowSheetPage(sheet, 0);
        Click(page, IDC_WINLAUNCH);
        Click(page, IDC_CLOSEAFTERKILL);
        Click(page, IDC_LOGGING);
        page = ShowSheetPage(sheet, 1);
        foundBefore = Checked(page, IDC_USE_FOUND_BROWSERS);
        // Untick Opera: choosing by hand turns the detection off.
        SetItemState(GetDlgItem(page, IDC_BROWSER_LIST), 1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
        foundAfter = Checked(page, IDC_USE_FOUND_BROWSERS);
        Click(ShowSheetPage(sheet, 2), IDC_CONFIRM_DELETE);
        SelectRowNamed(GetDlgItem(ShowSheetPage(sheet, 3), IDC_LANGUAGE_LIST), "German");
        SaveWindowPicture(sheet, ScreenshotPath("brisvane-preferences.bmp"));
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_TRUE(foundBefore);
    EXPECT_FALSE(foundAfter);
    EXPECT_EQ("yes", Pref("StartWithWindows"));
    EXPECT_EQ("yes", Pref("CloseAfterKill"));
    EXPECT_EQ("yes", Pref("SystemLogging"));
    EXPECT_EQ("yes", Pref("BrowserLogging"));
    EXPECT_EQ("yes", Pref("SecurityDelConfirm"));
    EXPECT_EQ("no", Pref("AllBrowsersFoundOnStartUp"));
    const char* const browsers[] = {"DeleteIETraces", "DeleteOperaTraces", "DeleteFirefoxTraces", "DeleteChromeTraces",
                                    "DeleteSafariTraces"};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(i == 1 ? "no" : "yes", Pref(browsers[i])) << browsers[i];
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(std::string("\"") + module + "\"", RunValue("Pirt Brisvane"));
    // The language goes to both roots; the question was answered No.
    std::string german = Str(ProgramFolder() + "\\languages\\German.lng");
    for (const char* root : {"\\Zex\\Ulmoro", "\\Talvery\\Pirt"}) {
        EXPECT_EQ("German", IniFileValue(SuiteIni(root), "Pirt", "Language")) << root;
        EXPECT_EQ(german, IniFileValue(SuiteIni(root), "Pirt", "LngPath")) << root;
    }
    EXPECT_EQ(std::vector<std::string>({question}), boxes);
    Pump();
    ASSERT_TRUE(g_app.m_pMainWnd != nullptr);

    // Unticked, the value goes; the language stays, so nothing is asked.
    boxes = Preferences(frame, IDNO, [&](HWND sheet) {
        Click(ShowSheetPage(sheet, 0), IDC_WINLAUNCH);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ("no", Pref("StartWithWindows"));
    EXPECT_EQ("<absent>", RunValue("Pirt Brisvane"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(BrisvanePreferencesTest, LanguageRowsFromBothFoldersAndOneQuestionAfterTheSheetClosed)
{
    CString userFolder = AppDataFolder() + "\\Talvery\\Pirt\\languages";
    ASSERT_TRUE(CreateFullPath(userFolder + "\\Folder.lng"));
    WriteFileText(userFolder + "\\Mine.lng", "[Information]\r\nLngEnglish=English\r\nLanguage=English-Mine\r\n");
    WriteFileText(userFolder + "\\Klingon.lng", "[Information]\r\nLngEnglish=Klingon\r\nLanguage=tlhIngan\r\n");
    CMainFrame* frame = StartApp();
    ASSERT_TRUE(frame);

    // Nothing changed: no question.
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> boxes = Preferences(frame, IDYES, [&](HWND sheet) {
        HWND list = GetDlgItem(ShowSheetPage(sheet, 3), IDC_LANGUAGE_LIST);
        for (int row = 0; row < (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); row++)
            rows.push_back({ListItemText(list, row, 0), ListItemText(list, row, 1), ListItemText(list, row, 2)});
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_TRUE(boxes.empty());
    std::vector<std::vector<std::string>> expected = {
        {"English", "English-Mine", Str(userFolder + "\\Mine.lng")},
        {"German", "German", Str(ProgramFolder() + "\\languages\\German.lng")},
        {"Klingon", "tlhIngan", Str(userFolder + "\\Klingon.lng")},
    };
    EXPECT_EQ(expected, rows);

    // Applied and then confirmed: one question, in the language still shown,
    // and Yes ends the program once the sheet has closed.
    std::string question = Str(GetLngString("General", "51020"));
    boxes = Preferences(frame, IDYES, [&](HWND sheet) {
        SelectRowNamed(GetDlgItem(ShowSheetPage(sheet, 3), IDC_LANGUAGE_LIST), "Klingon");
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        Sleep(200);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(question, boxes[0]);
    EXPECT_EQ("Klingon", IniFileValue(SuiteIni("\\Talvery\\Pirt"), "Pirt", "Language"));
    EXPECT_EQ(Str(userFolder + "\\Klingon.lng"), IniFileValue(SuiteIni("\\Zex\\Ulmoro"), "Pirt", "LngPath"));
    EXPECT_TRUE(g_app.m_pMainWnd != nullptr);
    Pump();
    EXPECT_FALSE(g_app.m_pMainWnd);
}

// ---- cookie manager ----

namespace {

std::vector<std::string> Names(const CListBox& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); i++) {
        CString name;
        list.GetText(i, name);
        names.push_back(Str(name));
    }
    return names;
}

// The cookie folder, made when missing (the shell names none until it exists).
CString CookieFolder()
{
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_COOKIES | CSIDL_FLAG_CREATE, nullptr, 0, folder);
    return CString(folder);
}

std::vector<CString> g_started;
CString g_viewerRemoves;
int g_viewerStarts = 1;
int FakeRunProgram(const CString& commandLine)
{
    g_started.push_back(commandLine);
    if (g_viewerStarts && !g_viewerRemoves.IsEmpty())
        DeleteFileA(CookieFolder() + "\\" + g_viewerRemoves);
    return g_viewerStarts;
}

class CookieManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetDataRoots();
        ASSERT_FALSE(CookieFolder().IsEmpty());
        DeleteTree(CookieFolder());
        for (const char* name : {"a.txt", "A.txt.txt", "c.txt"})
            WriteFileText(CookieFolder() + "\\" + name, "cookie");
        ASSERT_TRUE(CreateFullPath(AppDataFolder() + "\\Zex\\Ulmoro\\organize"));
        WriteFileText(GetCookieKeepListPath(), "a.txt\r\ngone.txt\r\n\r\n");
        g_started.clear();
        g_viewerRemoves = "";
        g_viewerStarts = 1;
        m_oldRun = SetRunProgramProc(FakeRunProgram);
        ASSERT_TRUE(m_dlg.Create(CManageCookies::IDD, nullptr));
    }
    void TearDown() override
    {
        m_dlg.DestroyWindow();
        SetRunProgramProc(m_oldRun);
        DeleteTree(CookieFolder());
        ResetDataRoots();
    }
    std::string KeepFile()
    {
        std::vector<char> bytes = ReadFileBytes(GetCookieKeepListPath());
        return std::string(bytes.begin(), bytes.end());
    }
    bool Enabled(int id) { return IsWindowEnabled(::GetDlgItem(m_dlg.m_hWnd, id)) != FALSE; }

    CMessageRecorder<CManageCookies> m_dlg;
    PFN_RUN_PROGRAM m_oldRun = nullptr;
};

typedef std::vector<std::string> Strings;

} // namespace

TEST_F(CookieManagerTest, KeepLinesMatchWholeNamesAndEveryMoveRewritesTheFile)
{
    // "a.txt" keeps a.txt only, not A.txt.txt; the vanished name and the
    // empty line show nowhere.
    EXPECT_EQ(Strings({"A.txt.txt", "c.txt"}), Names(m_dlg.m_listDelete));
    EXPECT_EQ(Strings({"a.txt"}), Names(m_dlg.m_listKeep));
    EXPECT_EQ(0, m_dlg.m_listDelete.GetCurSel());
    EXPECT_TRUE(Enabled(IDC_MOVE_TO_KEEP));
    EXPECT_FALSE(Enabled(IDC_MOVE_TO_DELETE));

    m_dlg.m_listDelete.SetCurSel(1);
    m_dlg.OnMoveToKeep();
    EXPECT_EQ("a.txt\r\nc.txt\r\n", KeepFile());
    EXPECT_EQ(0, m_dlg.m_listDelete.GetCurSel()); // the last entry was taken: the one before
    m_dlg.OnMoveToKeep();
    // Sorted without regard to case, as the list shows them.
    EXPECT_EQ("a.txt\r\nA.txt.txt\r\nc.txt\r\n", KeepFile());
    // The delete list is empty: every button is off.
    EXPECT_FALSE(Enabled(IDC_MOVE_TO_KEEP) || Enabled(IDC_MOVE_TO_DELETE) || Enabled(IDC_VIEW_COOKIE));

    m_dlg.m_listKeep.SetCurSel(0);
    m_dlg.OnSelectKeepList();
    EXPECT_TRUE(Enabled(IDC_MOVE_TO_DELETE) && Enabled(IDC_VIEW_COOKIE));
    m_dlg.OnMoveToDelete();
    EXPECT_EQ("A.txt.txt\r\nc.txt\r\n", KeepFile());
    EXPECT_EQ(Strings({"a.txt"}), Names(m_dlg.m_listDelete));
    EXPECT_TRUE(m_dlg.m_messages.empty());
}

TEST_F(CookieManagerTest, FailedSaveKeepsTheOldListSaysSoAndShowsItAgain)
{
    // Where the new list would be written stands a folder.
    ASSERT_TRUE(CreateFullPath(GetCookieKeepListPath() + ".new"));
    const std::string before = KeepFile();
    m_dlg.OnMoveToKeep();
    EXPECT_EQ(before, KeepFile());
    ASSERT_EQ(1u, m_dlg.m_messages.size());
    EXPECT_EQ(GetLngString("Brisvane", "35045") + "\n" + GetCookieKeepListPath(), m_dlg.m_messages[0]);
    EXPECT_EQ(Strings({"A.txt.txt", "c.txt"}), Names(m_dlg.m_listDelete));
    EXPECT_EQ(Strings({"a.txt"}), Names(m_dlg.m_listKeep));
    RemoveDirectoryA(GetCookieKeepListPath() + ".new");
}

// A keep list that could not be read is never saved over: every way to a
// save stays closed until a read succeeds.
TEST_F(CookieManagerTest, UnreadableKeepListIsNeverSavedOver)
{
    const std::string before = KeepFile();
    m_dlg.DestroyWindow();
    {
        CHandle lock(CreateFileA(GetCookieKeepListPath(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(INVALID_HANDLE_VALUE, (HANDLE)lock);
        ASSERT_TRUE(m_dlg.Create(CManageCookies::IDD, nullptr));
    }
    ASSERT_EQ(1u, m_dlg.m_messages.size());
    EXPECT_EQ(GetLngString("Brisvane", "35040") + "\n" + GetCookieKeepListPath(), m_dlg.m_messages[0]);
    const struct
    {
        const char* step;
        std::function<void()> run;
    } steps[] = {
        {"shown", [] {}},
        {"delete list chosen", [this] { m_dlg.m_listDelete.SetCurSel(0), m_dlg.OnSelectDeleteList(); }},
        {"moved to keep", [this] { m_dlg.OnMoveToKeep(); }},
        {"moved to delete", [this] { m_dlg.m_listDelete.SetCurSel(-1), m_dlg.OnMoveToDelete(); }},
    };
    for (const auto& step : steps) {
        step.run();
        EXPECT_FALSE(Enabled(IDC_MOVE_TO_KEEP) || Enabled(IDC_MOVE_TO_DELETE)) << step.step;
        EXPECT_EQ(before, KeepFile()) << step.step;
    }
    m_dlg.LoadLists();
    m_dlg.m_listDelete.SetCurSel(0);
    m_dlg.OnSelectDeleteList();
    EXPECT_TRUE(Enabled(IDC_MOVE_TO_KEEP));
}

TEST_F(CookieManagerTest, ViewerGetsTheQuotedNameAndTheListsReloadAfterwards)
{
    WriteFileText(CookieFolder() + "\\me @site.txt", "cookie");
    m_dlg.LoadLists();
    m_dlg.m_listDelete.SetCurSel(m_dlg.m_listDelete.FindStringExact(-1, "me @site.txt"));
    g_viewerRemoves = "c.txt";
    m_dlg.OnViewCookie();
    ASSERT_EQ(1u, g_started.size());
    EXPECT_EQ(QuoteArgument(GetAppPath() + "\\Pellory.exe") + " \"me @site.txt\"", g_started[0]);
    EXPECT_EQ(Strings({"A.txt.txt", "me @site.txt"}), Names(m_dlg.m_listDelete));
    EXPECT_TRUE(IsWindowVisible(m_dlg.m_hWnd));
    EXPECT_TRUE(m_dlg.m_messages.empty());
    m_dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveWindowPicture(m_dlg.m_hWnd, ScreenshotPath("brisvane-cookie-manager.bmp"));

    // A viewer that cannot be started is reported, with the command.
    g_viewerStarts = 0;
    m_dlg.m_listKeep.SetCurSel(0);
    m_dlg.m_listDelete.SetCurSel(-1);
    m_dlg.OnViewCookie();
    ASSERT_EQ(1u, m_dlg.m_messages.size());
    EXPECT_EQ(GetLngString("Brisvane", "35050") + "\n" + g_started.back(), m_dlg.m_messages[0]);
    EXPECT_NE(-1, g_started.back().Find("\"a.txt\""));
}
