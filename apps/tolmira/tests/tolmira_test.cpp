// Tolmira.exe in-process: start-up, the plug-in list and its state, the
// commands and whole runs on scratch folders and a scratch key.
#include <gtest/gtest.h>
#include "tolmira_test.h"
#include "startupswitch.h"
#include "MainFrm.h"
#include "TolmiraView.h"
#include "PluginList.h"
#include "Settings.h"
#include "resource.h"
#include "pluginvalidator.h"
#include "progressdlg.h"
#include "checkmessagebox.h"
#include "startprogram.h"
#include "startupcleaner.h"
#include "useradmin.h"
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace pirt_test;

namespace {

const char* const kTestLanguage =
    "[General]\r\n"
    "10000=File-T\r\n12000=Edit-T\r\n14000=View-T\r\n15000=Execute-T\r\n16000=Tools-T\r\n18000=Help-T\r\n"
    "10010=New-T\r\n10050=Logging-T\r\n50040=Run-T\r\n50000=NewButton-T\r\n12030=All-T\r\n12040=None-T\r\n"
    "12050=Delete-T\r\n12060=Properties-T\r\n12100=Installed-T\r\n14040=Arrange-T\r\n20070=Title-T\r\n"
    "40732=Name-T\r\n40510=Desc-T\r\n40741=Version-T\r\n30740=Path-T\r\n40630=Ask-T\r\n30020=Yes-T\r\n30030=No-T\r\n"
    "24020=Working1\r\n24040=Working0\r\n24060=Done1\r\n24070=Done0\r\n24030=Failed1\r\n24050=Failed0\r\n"
    "[Farnoch]\r\n"
    "24030=Provider-T\r\n24150=plug-ins-T\r\n25040=Confirm-T\r\n24100=DeleteAsk-T\r\n24600=Overwrite-T\r\n"
    "24140=NoBuilder-T\r\n";

std::string Str(const CString& s) { return std::string((const char*)s); }

std::vector<int> StoredArray(const char* name)
{
    BYTE* data = nullptr;
    UINT bytes = 0;
    std::vector<int> values;
    if (AfxGetApp()->GetProfileBinary("Rows", name, &data, &bytes)) {
        values.assign((int*)data, (int*)data + bytes / sizeof(int));
        delete[] data;
    }
    return values;
}

int g_fakeStarts = 0;
std::string g_fakeCommand;
int g_fakeResult = 1;
int FakeRunProgram(const CString& commandLine)
{
    ++g_fakeStarts;
    g_fakeCommand = Str(commandLine);
    return g_fakeResult;
}

// What the run observer saw after each plug-in.
struct RunStep
{
    int reportRows;
    int overallPos;
    int overallHigh;
    bool visible;
    bool painted; // newest row in view, bars shown, nothing left to draw
};
std::vector<RunStep> g_steps;
CString g_failedRows; // texts of rows with the failed image, one per line
bool g_closeDuringRun = false;

void ObserveRun(CProgressDlg* dlg, int)
{
    CListCtrl* list = dlg->GetReportList();
    RunStep s;
    s.reportRows = list->GetItemCount();
    s.overallPos = dlg->GetOverallBar()->GetPos();
    int low = 0;
    dlg->GetOverallBar()->GetRange(low, s.overallHigh);
    s.visible = IsWindowVisible(dlg->m_hWnd) != FALSE;
    s.painted = list->GetTopIndex() + list->GetCountPerPage() >= list->GetItemCount() &&
                IsWindowVisible(dlg->GetOperationBar()->GetSafeHwnd()) &&
                !GetUpdateRect(list->GetSafeHwnd(), nullptr, FALSE);
    g_steps.push_back(s);
    if (g_closeDuringRun) {
        // Every way of closing: none may end the window or the program mid-run.
        dlg->SendMessage(WM_COMMAND, IDCANCEL);
        dlg->SendMessage(WM_CLOSE);
        AfxGetMainWnd()->SendMessage(WM_CLOSE);
    }
}

class TolmiraTest : public ::testing::Test, public CAppDriver<CMainFrame>
{
protected:
    TolmiraTest() : CAppDriver(g_app, false) {}
    void SetUp() override
    {
        ResetDataRoots();
        UseTolmiraProfile();
        DeleteProfileSection("Rows");
        m_folder.reset(new CScratchFolder("tolmira"));
        m_lng = (*m_folder)("Test.lng");
        WriteFileText(m_lng, kTestLanguage);
        m_ini = GetIniPath(INI_FARNOCH); // seeds the data root from skel
        WritePrivateProfileStringA("Pirt", "LngPath", m_lng, GetIniPath(INI_PIRT));
        // The deletion library reads its texts through its own data root.
        CString libraryPirt = AppDataFolder() + "\\Talvery\\Pirt\\config\\Pirt.ini";
        CreateFullPath(AppDataFolder() + "\\Talvery\\Pirt\\config");
        WritePrivateProfileStringA("Pirt", "LngPath", m_lng, libraryPirt);
        Set("Preferences", "SecurityDelConfirm", "no");
        Set("Preferences", "CloseAfterKill", "no");
        DeleteTree(UserPluginFolder());
        DeleteTree(ProgramPluginFolder());
        DeleteRunValue(STARTUP_VALUE_NAME);
        SetUserAdminProbe(nullptr);
        SetRunProgramProc(FakeRunProgram);
        g_fakeStarts = 0;
        g_fakeResult = 1;
        g_steps.clear();
        g_failedRows.Empty();
        g_closeDuringRun = false;
        g_pfnTolmiraRunObserver = ObserveRun;
    }
    void TearDown() override
    {
        CloseApp();
        g_pfnTolmiraRunObserver = nullptr;
        SetRunProgramProc(nullptr);
        SetUserAdminProbe(nullptr);
        DeleteRunValue(STARTUP_VALUE_NAME);
        DeleteTree(ProgramPluginFolder());
        DeleteProfileSection("Rows");
        m_folder.reset();
        ResetDataRoots();
    }
    void Set(const char* section, const char* key, const char* value)
    {
        WritePrivateProfileStringA(section, key, value, m_ini);
    }
    std::string Get(const char* section, const char* key) { return IniFileValue(m_ini, section, key); }
    std::string State(const char* section, const char* name) { return Str(ReadPluginState(section, name, "<absent>")); }
    // A plug-in in the user's folder whose installed test is the given value.
    CString Plugin(const char* file, const char* name, const char* installed,
                   std::initializer_list<const char*> more = {})
    {
        CString path = UserPluginFolder() + "\\" + file;
        CString nameLine = CString("Name=") + name;
        CString installedLine = CString("Installed=") + installed;
        CString text = CString("[General]\r\n") + nameLine + "\r\nVersion=1\r\nProvider=P\r\n" + installedLine + "\r\n";
        for (const char* line : more)
            text += CString(line) + "\r\n";
        CreateFullPath(UserPluginFolder());
        WriteFileText(path, text);
        return path;
    }

    CTolmiraView* View() { return m_frame ? m_frame->View() : nullptr; }
    CListCtrl& List() { return View()->GetListCtrl(); }
    int RowOf(const char* name)
    {
        for (int i = 0; i < List().GetItemCount(); ++i)
            if (List().GetItemText(i, COLUMN_NAME) == name)
                return i;
        return -1;
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int i = 0; i < List().GetItemCount(); ++i)
            names.push_back(Str(List().GetItemText(i, COLUMN_NAME)));
        return names;
    }
    void Tick(int row, bool ticked)
    {
        List().SetItemState(row, INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1), LVIS_STATEIMAGEMASK);
    }

    std::unique_ptr<CScratchFolder> m_folder;
    CString m_lng;
    CString m_ini;
};

bool DirectoryExists(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Answers the confirmation with "don't ask again" ticked and Yes.
DWORD WINAPI TickDontAskAndSayYes(LPVOID stopEvent)
{
    while (WaitForSingleObject((HANDLE)stopEvent, 20) == WAIT_TIMEOUT) {
        HWND box = FindWindowA("#32770", "Tolmira");
        if (box && IsWindowVisible(box) && GetDlgItem(box, IDC_CHECKBOX_MSG)) {
            SendMessageA(GetDlgItem(box, IDC_CHECKBOX_MSG), BM_SETCHECK, BST_CHECKED, 0);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            return 0;
        }
    }
    return 0;
}

int AdminNo() { return 0; }
int AdminYes() { return 1; }

} // namespace

TEST_F(TolmiraTest, FreshProfileShowsTheSamplesAndKeepsTheFirstLayout)
{
    ResetDataRoots();
    m_ini = GetIniPath(INI_FARNOCH);
    ASSERT_TRUE(StartApp());
    HWND h = m_frame->m_hWnd;
    EXPECT_TRUE(IsWindowVisible(h));

    // Programs that come with Windows (and Wine): their plug-ins are listed.
    std::vector<std::string> names = Names();
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "WordPad"));
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "Registry Editor"));
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), "Paint")); // not in Wine
    CString status;
    status.Format("%d plug-ins", (int)names.size());
    EXPECT_EQ(Str(status), Str(m_frame->StatusBar().GetPaneText(0)).substr(0, status.GetLength()));

    // Every sample passes the validator, entry by entry.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(UserPluginFolder() + "\\*.dorv", &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    int samples = 0;
    do {
        std::vector<CPluginEntry> entries = ReadPluginEntries(UserPluginFolder() + "\\" + found.cFileName);
        EXPECT_FALSE(entries.empty()) << found.cFileName;
        for (const CPluginEntry& e : entries)
            EXPECT_EQ(PLUGIN_ENTRY_OK, ValidatePluginEntry(e, GetPlaceholderFolders(), nullptr)) << Str(e.raw);
        ++samples;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    EXPECT_GE(samples, 4);

    // View-all lists the rest.
    Command(ID_ALL_PLUGINS);
    EXPECT_EQ("yes", Get("Farnoch", "ViewAll"));
    EXPECT_EQ(samples, List().GetItemCount());

    m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(SaveWindowPicture(h, ScreenshotPath("tolmira-main.bmp")));
    EXPECT_EQ(2, View()->Header().GetVisibleCount());
    CloseApp();

    // The first start's layout: name and description only.
    EXPECT_EQ(std::vector<int>({0, 1, 3, 2, 4}), StoredArray("Column Order"));
    EXPECT_EQ(std::vector<int>({200, 350, 0, 0, 0}), StoredArray("Column Width"));
    EXPECT_EQ(std::vector<int>({1, 1, 0, 0, 0}), StoredArray("Column Visible"));

    // A column shown after the restart: the rows' texts follow the headers.
    ASSERT_TRUE(StartApp());
    View()->Header().ShowColumn(COLUMN_PROVIDER, TRUE);
    ExpectTextsUnderTheirHeaders(*View());
    m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(SaveWindowPicture(m_frame->m_hWnd, ScreenshotPath("tolmira-shown-column.bmp")));
}

TEST_F(TolmiraTest, FrameCarriesTextsBarsAndCommandStates)
{
    Plugin("a.dorv", "Alpha", "");
    ASSERT_TRUE(StartApp());
    char title[256] = "";
    GetWindowTextA(m_frame->m_hWnd, title, sizeof(title));
    EXPECT_STREQ("Title-T", title);
    // The menu sits in the bar row: the frame has no system menu bar, and
    // the bar shows the themed menu with the texts and images set.
    EXPECT_EQ(nullptr, GetMenu(m_frame->m_hWnd));
    CThemedMenu& frameMenu = m_frame->Menu();
    EXPECT_EQ(frameMenu.m_hMenu, m_frame->MenuBar().GetMenu());
    EXPECT_EQ(6, m_frame->MenuBar().GetItemCount());
    EXPECT_TRUE(m_frame->MenuBar().IsWindowVisible());
    CString menuText;
    EXPECT_TRUE(frameMenu.GetMenuText(0, menuText, MF_BYPOSITION));
    EXPECT_EQ(" File-T ", Str(menuText));
    EXPECT_TRUE(frameMenu.GetMenuText(ID_ARRANGE_MANUFACTURER, menuText, MF_BYCOMMAND));
    EXPECT_EQ("Provider-T", Str(menuText));
    CThemedMenu* viewMenu = CThemedMenu::FromHandleThemed(GetSubMenu(frameMenu.m_hMenu, 2));
    ASSERT_TRUE(viewMenu != nullptr);
    EXPECT_TRUE(viewMenu->GetMenuText(3, menuText, MF_BYPOSITION));
    EXPECT_EQ("Arrange-T", Str(menuText));
    // Items with an image and without one.
    CThemedMenuItemData* record = frameMenu.FindRecord(ID_EXECUTE_NOW);
    ASSERT_TRUE(record != nullptr);
    EXPECT_GE(record->m_nImageIndex, 0);
    EXPECT_TRUE(record->m_pIcons != nullptr);
    ASSERT_TRUE(frameMenu.FindRecord(ID_LOGGING) != nullptr);
    EXPECT_EQ(-1, frameMenu.FindRecord(ID_LOGGING)->m_nImageIndex);
    // The menu bar row lies above the tool bar row.
    CRect menuRow, toolRow;
    m_frame->MenuBar().GetWindowRect(&menuRow);
    m_frame->ToolBar().GetWindowRect(&toolRow);
    EXPECT_LE(menuRow.bottom, toolRow.top);
    CThemedToolBar& tb = m_frame->ToolBar();
    ASSERT_EQ(6, tb.GetCount());
    EXPECT_EQ((UINT)ID_EXECUTE_NOW, tb.GetItemID(5));
    EXPECT_EQ("NewButton-T", Str(tb.GetButtonText(0)));
    EXPECT_EQ("Run-T", Str(m_frame->ToolTipText(ID_EXECUTE_NOW)));
    EXPECT_EQ("", Str(m_frame->ToolTipText(ID_LOGGING)));

    // Nothing listed (the empty installed test) and nothing ticked.
    EXPECT_EQ(0, List().GetItemCount());
    EXPECT_EQ(0, Update(ID_EXECUTE_NOW).enabled);
    EXPECT_EQ(0, Update(ID_CHECK_ALL).enabled);
    EXPECT_EQ(0, Update(ID_DELETE).enabled);

    // The context menu without a selection holds the new-plug-in item only.
    CThemedMenu menu;
    HMENU popup = View()->PrepareContextMenu(menu);
    ASSERT_TRUE(popup != nullptr);
    ASSERT_EQ(1, GetMenuItemCount(popup));
    EXPECT_EQ((UINT)ID_NEW, GetMenuItemID(popup, 0));
    CThemedMenu* themedPopup = CThemedMenu::FromHandleThemed(popup);
    ASSERT_TRUE(themedPopup != nullptr);
    EXPECT_EQ(1, themedPopup->GetRecordCount());
    EXPECT_TRUE(themedPopup->GetMenuText(0, menuText, MF_BYPOSITION));
    EXPECT_EQ("New-T", Str(menuText));

    // Keys: A without Ctrl is taken by the frame and does nothing.
    Command(ID_ALL_PLUGINS);
    ASSERT_EQ(1, List().GetItemCount());
    MSG msg = {List().m_hWnd, WM_KEYDOWN, 'A', 0};
    EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
    EXPECT_EQ(0u, List().GetSelectedCount());
    msg.wParam = 'N';
    EXPECT_FALSE(m_frame->PreTranslateMessage(&msg));
    // Keys meant for another top-level window are not the frame's.
    msg.hwnd = GetDesktopWindow();
    msg.wParam = VK_DELETE;
    EXPECT_FALSE(m_frame->PreTranslateMessage(&msg));

    View()->SelectRow(0);
    menu.DestroyMenu();
    popup = View()->PrepareContextMenu(menu);
    EXPECT_EQ(10, GetMenuItemCount(popup));
    EXPECT_EQ((UINT)ID_EXECUTE_NOW, GetMenuItemID(popup, 0));
    themedPopup = CThemedMenu::FromHandleThemed(popup);
    ASSERT_TRUE(themedPopup != nullptr);
    EXPECT_EQ(10, themedPopup->GetRecordCount());
    EXPECT_TRUE(themedPopup->GetMenuText(ID_INSTALLED, menuText, MF_BYCOMMAND));
    EXPECT_EQ("Installed-T", Str(menuText));
}

TEST_F(TolmiraTest, ThemedBarsTakeAltAndTheMenuAdditionsWork)
{
    Plugin("a.dorv", "Alpha", "");
    ASSERT_TRUE(StartApp());
    HWND h = m_frame->m_hWnd;
    CThemedMenuBar& bar = m_frame->MenuBar();

    // Alt pressed and released on its own highlights the first bar item;
    // Alt with another key does not.
    MSG msg = {h, WM_SYSKEYDOWN, VK_MENU, 0};
    EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
    msg.message = WM_SYSKEYUP;
    EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
    EXPECT_EQ(0, bar.GetHotItem());
    EXPECT_EQ((int)CThemedMenuBar::MODE_HOT, bar.GetMode());
    m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(SaveWindowPicture(h, ScreenshotPath("tolmira-themed-bars.bmp")));
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
    EXPECT_EQ(-1, bar.GetHotItem());
    MSG alt = {h, WM_SYSKEYDOWN, VK_MENU, 0};
    MSG shift = {h, WM_SYSKEYDOWN, VK_SHIFT, 0x20000001}; // context code: Alt is down
    MSG altUp = {h, WM_SYSKEYUP, VK_MENU, 0};
    m_frame->PreTranslateMessage(&alt);
    m_frame->PreTranslateMessage(&shift);
    m_frame->PreTranslateMessage(&altUp);
    EXPECT_EQ(-1, bar.GetHotItem());

    // The build switch turns both additions on at start.
#ifdef TOLMIRA_MENU_ADDITIONS
    const BOOL additions = TRUE;
#else
    const BOOL additions = FALSE;
#endif
    EXPECT_EQ(additions, CThemedMenu::Options().bMeasureBarMenu);
    EXPECT_EQ(additions, CThemedMenu::Options().bMenuEdgeLine);

    // Measuring an item of the menu the bar holds: the frame's own handling
    // finds it only through the bar's menu (the frame has none itself).
    CThemedMenu::Options().bMeasureBarMenu = TRUE;
    CThemedMenu& frameMenu = m_frame->Menu();
    CThemedMenuItemData* record = frameMenu.FindRecord(ID_REFRESH);
    ASSERT_TRUE(record != nullptr);
    CThemedMenu::SetLastPopup(nullptr);
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, ID_REFRESH, 0, 0, (ULONG_PTR)record};
    MSG measureMsg = {h, WM_MEASUREITEM, 0, (LPARAM)&measure};
    EXPECT_TRUE(CThemedMenu::OnMeasureItem(&measureMsg));
    EXPECT_GT(measure.itemWidth, 0u);
    EXPECT_GT(measure.itemHeight, 0u);
    CThemedMenu::Options().bMeasureBarMenu = FALSE;
    EXPECT_FALSE(CThemedMenu::OnMeasureItem(&measureMsg));
    CThemedMenu::Options().bMeasureBarMenu = additions;

    // The line above the client area takes the window menu's brush, and
    // only with the addition on. The bar would take a window menu at the
    // next idle update: the frame holds one only for these checks.
    CMenu windowMenu;
    ASSERT_TRUE(windowMenu.CreateMenu());
    windowMenu.AppendMenu(MF_STRING, ID_REFRESH, "X");
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = red;
    ASSERT_TRUE(SetMenuInfo(windowMenu.m_hMenu, &info));
    ASSERT_TRUE(::SetMenu(h, windowMenu.m_hMenu));
    CRect client, window;
    GetClientRect(h, &client);
    MapWindowPoints(h, nullptr, (POINT*)&client, 2);
    GetWindowRect(h, &window);
    CPoint onLine(client.left - window.left + 10, client.top - window.top - 1);
    auto lineColour = [&](BOOL on) {
        CThemedMenu::Options().bMenuEdgeLine = on;
        m_frame->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        HDC dc = GetWindowDC(h);
        COLORREF colour = GetPixel(dc, onLine.x, onLine.y);
        ReleaseDC(h, dc);
        return colour;
    };
    EXPECT_NE(RGB(255, 0, 0), lineColour(FALSE));
    EXPECT_EQ(RGB(255, 0, 0), lineColour(TRUE));
    // A menu without a brush: nothing is drawn over the frame's own edge.
    info.hbrBack = nullptr;
    SetMenuInfo(windowMenu.m_hMenu, &info);
    EXPECT_NE(RGB(255, 0, 0), lineColour(TRUE));
    CThemedMenu::Options().bMenuEdgeLine = additions;
    ::SetMenu(h, nullptr);
    windowMenu.DestroyMenu();
    DeleteObject(red);
}

TEST_F(TolmiraTest, ListingFollowsAdminOverrideInstalledTestAndViewAll)
{
    CScratchFolder present("tolmira-present");
    WriteFileText(present("app.ini"), "x");
    CScratchRegKey key("tolmira-installed");
    CString keyValue = CString("HKEY_CURRENT_USER\\") + key.Path();
    CString fileValue = present("app.ini");
    CString missingFile = present("none.ini");
    CString folderValue = present.Path();
    CString missingKey = keyValue + "\\none";

    struct Case
    {
        const char* what;
        bool adminOnly;
        bool userAdmin;
        const char* override; // nullptr: none
        CString installed;
        bool viewAll;
        bool listed;
    } cases[] = {
        {"file present", false, false, nullptr, fileValue, false, true},
        {"file missing", false, false, nullptr, missingFile, false, false},
        {"file missing, view-all", false, false, nullptr, missingFile, true, true},
        {"a folder is not a file", false, false, nullptr, folderValue, false, false},
        {"key present", false, false, nullptr, keyValue, false, true},
        {"key missing", false, false, nullptr, missingKey, false, false},
        {"key missing, view-all", false, false, nullptr, missingKey, true, true},
        {"empty test", false, false, nullptr, "", false, false},
        {"empty test, view-all", false, false, nullptr, "", true, true},
        {"empty test, set installed", false, false, "yes", "", false, true},
        {"present, overridden no", false, false, "no", fileValue, false, false},
        {"present, overridden no, view-all", false, false, "no", fileValue, true, true},
        {"missing, overridden yes", false, false, "yes", missingKey, false, true},
        {"admin only, user", true, false, "yes", fileValue, true, false},
        {"admin only, administrator", true, true, nullptr, fileValue, false, true},
        {"placeholder path", false, false, nullptr, "PIRT_WINDOWS\\regedit.exe", false, true},
    };
    ASSERT_TRUE(StartApp());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteTree(UserPluginFolder());
        CString path = Plugin("case.dorv", "Case", c.installed, {c.adminOnly ? "Admin=yes" : "Admin=Yes"});
        if (c.override)
            WritePluginState("Installed", "Case", c.override);
        SetUserAdminProbe(c.userAdmin ? AdminYes : AdminNo);
        Set("Farnoch", "ViewAll", c.viewAll ? "yes" : "no");
        View()->RefreshPluginList();
        EXPECT_EQ(c.listed ? 1 : 0, List().GetItemCount());
    }
}

TEST_F(TolmiraTest, TicksAndOverridesAreKeptInTheStateFile)
{
    CScratchFolder present("tolmira-present");
    WriteFileText(present("app.ini"), "x");
    // Program plug-ins: the user folder goes away under the running program.
    auto programPlugin = [&](const char* file, const char* name, const char* installed) {
        WritePlugin(ProgramPluginFolder() + "\\" + file, {"[General]", (CString("Name=") + name).GetString(),
                                                          (CString("Installed=") + installed).GetString()});
    };
    programPlugin("b.dorv", "Bravo", present("app.ini"));
    programPlugin("a.dorv", "Alpha", present("app.ini"));
    programPlugin("a2.dorv", "Alpha", present("app.ini"));
    programPlugin("c.dorv", "Charlie", present("none.ini"));
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(3, List().GetItemCount());

    // A tick after the user folder was deleted is still recorded.
    DeleteTree(UserPluginFolder());
    Tick(RowOf("Bravo"), true);
    EXPECT_EQ("yes", State("Selection", "Bravo"));
    // Two plug-ins with one name share their tick.
    Tick(RowOf("Alpha"), true);
    EXPECT_EQ(1, Update(ID_EXECUTE_NOW).enabled);
    CloseApp();
    ASSERT_TRUE(StartApp());
    int ticked = 0;
    for (int i = 0; i < List().GetItemCount(); ++i)
        ticked += View()->IsRowTicked(i);
    EXPECT_EQ(3, ticked);

    // A sort moves ticks with their rows and writes nothing, also where the
    // two rows of one name show different ticks (any write would show).
    ASSERT_EQ(std::vector<std::string>({"Alpha", "Alpha", "Bravo"}), Names());
    Tick(RowOf("Bravo"), false);
    Tick(1, false); // the second Alpha
    std::vector<char> before = ReadFileBytes(StateFilePath());
    Command(ID_ARRANGE_NAME);
    Command(ID_ARRANGE_NAME); // descending
    const std::vector<std::string> descending = {"Bravo", "Alpha", "Alpha"};
    EXPECT_EQ(descending, Names());
    EXPECT_FALSE(View()->IsRowTicked(0));
    EXPECT_EQ(1, View()->IsRowTicked(1) + View()->IsRowTicked(2));
    EXPECT_EQ(before, ReadFileBytes(StateFilePath()));
    EXPECT_EQ(1, Update(ID_ARRANGE_NAME).checked);
    EXPECT_EQ(0, Update(ID_ARRANGE_PATH).checked);
    // A refill keeps the order that the header's arrow shows.
    Command(ID_REFRESH);
    EXPECT_EQ(descending, Names());

    // One click on "installed" flips what its check mark shows.
    int row = RowOf("Bravo");
    View()->SelectRow(row);
    EXPECT_EQ(1, Update(ID_INSTALLED).checked);
    Command(ID_INSTALLED);
    EXPECT_EQ("no", State("Installed", "Bravo"));
    EXPECT_EQ(-1, RowOf("Bravo")); // hidden without view-all
    EXPECT_EQ(1u, List().GetSelectedCount());
    Command(ID_ALL_PLUGINS);
    ASSERT_EQ(4, List().GetItemCount());
    List().SetItemState(-1, 0, LVIS_SELECTED);
    View()->SelectRow(RowOf("Charlie"));
    EXPECT_EQ(0, Update(ID_INSTALLED).checked); // its file is missing
    Command(ID_INSTALLED);
    EXPECT_EQ("yes", State("Installed", "Charlie"));
    EXPECT_EQ(1, Update(ID_INSTALLED).checked);
    EXPECT_EQ(4, List().GetItemCount()); // view-all: the list stays

    // Tick all and untick all record every row.
    Command(ID_CHECK_ALL);
    EXPECT_EQ("yes", State("Selection", "Charlie"));
    EXPECT_EQ(0, Update(ID_CHECK_ALL).enabled);
    Command(ID_UNCHECK_ALL);
    EXPECT_EQ("no", State("Selection", "Alpha"));
    EXPECT_EQ(0, Update(ID_EXECUTE_NOW).enabled);
}

// Every name keeps its own tick and override, whatever it holds; the keys
// of earlier files still read.
TEST_F(TolmiraTest, EveryPluginNameReadsBackItsOwnState)
{
    const char* const names[] = {"a", "a=b", "a=b=c", "x%3Dy", "x=y", "50%", " pad ", "pad", ";semi", "[sec]", "sec"};
    for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i)
        EXPECT_TRUE(WritePluginState("Selection", names[i], i % 2 ? "yes" : "no")) << names[i];
    for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i)
        EXPECT_EQ(i % 2 ? "yes" : "no", State("Selection", names[i])) << "[" << names[i] << "]";

    // The list reads the state file once for all its rows: each row shows
    // its own name's tick.
    for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i) {
        CString file, name;
        file.Format("%s\\n%02u.dorv", (const char*)UserPluginFolder(), (unsigned)i);
        name.Format("Name=\"%s\"", names[i]); // quoted: the blanks of " pad " stay
        WritePlugin(file, {"[General]", name, "Installed=PIRT_WINDOWS\\regedit.exe"});
    }
    ASSERT_TRUE(StartApp());
    ASSERT_EQ((int)(sizeof(names) / sizeof(names[0])), List().GetItemCount());
    for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i)
        EXPECT_EQ(i % 2 == 1, View()->IsRowTicked(RowOf(names[i])) != FALSE) << "[" << names[i] << "]";

    // As earlier versions wrote them: a "%" in a name stood as it is.
    WriteFileText(StateFilePath(), "[Installed]\r\n50%=no\r\nplain=yes\r\n");
    EXPECT_EQ("no", State("Installed", "50%"));
    EXPECT_EQ("yes", State("Installed", "plain"));
    View()->RefreshPluginList();
    EXPECT_EQ(-1, RowOf("50%"));
    WritePluginState("Installed", "50%", "yes");
    EXPECT_EQ("yes", State("Installed", "50%"));
    View()->RefreshPluginList();
    EXPECT_NE(-1, RowOf("50%"));
}

// A refill sorts its rows before they go in, into the order that a sort of
// the list gives the same rows (rows of one name included), ticks with them.
TEST_F(TolmiraTest, RefillOrdersRowsAsTheListSortsThem)
{
    const char* const names[] = {"B", "A", "B", "A", "C", "A", "B", "C", "A"};
    for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i) {
        CString file;
        file.Format("%s\\p%u.dorv", (const char*)UserPluginFolder(), (unsigned)i);
        WritePlugin(file, {"[General]", (CString("Name=") + names[i]).GetString(), "Installed=PIRT_WINDOWS\\regedit.exe"});
    }
    WritePluginState("Selection", "A", "yes");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(-1, View()->SortColumn()); // found order
    auto rows = [&] {
        std::vector<std::string> shown;
        for (int i = 0; i < List().GetItemCount(); ++i)
            shown.push_back(Str(List().GetItemText(i, COLUMN_NAME) + " " + List().GetItemText(i, COLUMN_PATH)) +
                            (View()->IsRowTicked(i) ? " ticked" : ""));
        return shown;
    };
    ASSERT_TRUE(View()->SortRange(COLUMN_NAME, FALSE, 0, -1));
    const std::vector<std::string> sorted = rows();
    Command(ID_ARRANGE_NAME);
    Command(ID_ARRANGE_NAME); // descending
    ASSERT_EQ(COLUMN_NAME, View()->SortColumn());
    ASSERT_FALSE(View()->SortAscending());
    Command(ID_REFRESH);
    EXPECT_EQ(sorted, rows());
}

// The plug-ins a start reads while it makes its window are taken by the
// first fill only when nothing the fill depends on has changed meanwhile.
TEST_F(TolmiraTest, AStartsReadingIsTakenOnceAndOnlyForItsOwnQuery)
{
    WritePlugin(UserPluginFolder() + "\\a.dorv", {"[General]", "Name=A", "Installed=PIRT_WINDOWS\\regedit.exe"});
    WritePlugin(UserPluginFolder() + "\\b.dorv", {"[General]", "Name=B", "Installed=PIRT_WINDOWS\\none.exe"});
    WritePluginState("Selection", "A", "yes");
    const CPluginListQuery query = CurrentPluginListQuery(TRUE);
    auto shown = [](const std::vector<CListedPlugin>& rows) {
        std::vector<std::string> texts;
        for (const CListedPlugin& row : rows)
            texts.push_back(Str(row.texts[COLUMN_NAME]) + (row.ticked ? " ticked" : ""));
        return texts;
    };
    ASSERT_EQ(std::vector<std::string>{"A ticked"}, shown(CTolmiraView::ReadListedPlugins(query)));
    struct Case
    {
        const char* what;
        void (*change)(CPluginListQuery&);
    } cases[] = {
        {"user folder", [](CPluginListQuery& q) { q.folders[0] += "x"; }},
        {"program folder", [](CPluginListQuery& q) { q.folders[1] += "x"; }},
        {"state file", [](CPluginListQuery& q) { q.statePath += "x"; }},
        {"program files", [](CPluginListQuery& q) { q.placeholders.programs += "x"; }},
        {"Windows folder", [](CPluginListQuery& q) { q.placeholders.windows += "x"; }},
        {"application data", [](CPluginListQuery& q) { q.placeholders.appData += "x"; }},
        {"administrator", [](CPluginListQuery& q) { q.userIsAdmin = !q.userIsAdmin; }},
        {"view-all", [](CPluginListQuery& q) { q.viewAll = !q.viewAll; }},
        {"description language", [](CPluginListQuery& q) { q.englishDescription = !q.englishDescription; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CListedPluginsReader reader(query);
        CPluginListQuery changed = query;
        c.change(changed);
        std::vector<CListedPlugin> rows;
        EXPECT_FALSE(reader.Take(changed, rows));
        EXPECT_TRUE(reader.Take(query, rows));
        EXPECT_EQ(std::vector<std::string>{"A ticked"}, shown(rows));
        EXPECT_FALSE(reader.Take(query, rows));
    }
}

// Without an application-data folder no path of the cleaner is built on ""
// (the root of the current drive): nothing is listed, read or written there,
// and the user is told once.
TEST_F(TolmiraTest, NoDataFolderBuildsNoPath)
{
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    const CString root = CString(current).Left(3);
    // A plug-in there that the list would show if it looked there.
    WriteFileText(root + "stray.dorv", "[General]\r\nName=Stray\r\nInstalled=PIRT_WINDOWS\\regedit.exe\r\n");
    ASSERT_TRUE(StartApp());
    SetAppDataProbe([] { return CString(); });
    {
        CDialogCatcher catcher(IDOK);
        // Told from a thread without a window, so that the cleaner's stays
        // open for a refill of its list.
        std::thread([] { UserPluginFolder(); }).join();
        View()->RefreshPluginList();
        for (const std::string& name : Names())
            EXPECT_NE("Stray", name);
        EXPECT_EQ("", Str(UserPluginFolder()));
        EXPECT_EQ("", Str(StateFilePath()));
        EXPECT_EQ("", Str(LibraryFarnochPath()));
        EXPECT_FALSE(WritePluginState("Selection", "A", "yes"));
        EXPECT_EQ("<absent>", State("Selection", "A"));
        WriteCustomLogging(1);
        EXPECT_FALSE(FarnochWriteYesNo("Farnoch", "ViewAll", 1));
        EXPECT_TRUE(catcher.WaitFor(1));
        Sleep(300);
        EXPECT_EQ(1u, catcher.Boxes().size());
    }
    SetAppDataProbe(nullptr);
    DeleteFileA(root + "stray.dorv");
    for (const char* made : {"Zex", "Talvery", "Tolmira.dat"})
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(root + made)) << made;
}

TEST_F(TolmiraTest, RunDeletesWhatEntriesNameAndRefusesTheRest)
{
    CScratchFolder work("tolmira-run");
    CScratchRegKey regKey("tolmira-run");
    CString outside = work.MakeFolder("outside");
    WriteFileText(work("outside\\keep.txt"), "keep");
    CString recent = work.MakeFolder("app\\recent");
    WriteFileText(work("app\\recent\\a.txt"), "a");
    WriteFileText(work("app\\recent\\b.txt"), "b");
    work.MakeFolder("app\\recent\\sub");
    WriteFileText(work("app\\recent\\sub\\c.txt"), "c");
    WriteFileText(work("app\\history.txt"), "h");
    WriteFileText(work("app\\keep.txt"), "k");
    WriteFileText(work("app\\settings.ini"), "[Recent]\r\nFile1=x\r\nFile2=y\r\n");
    CString matches = work.MakeFolder("app\\cache");
    WriteFileText(work("app\\cache\\tmp1.dat"), "1");
    WriteFileText(work("app\\cache\\keep.dat"), "2");
    CString linkFixture = ProgramFolder() + "\\tolmira-linkfix";
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, regKey.Path() + "\\MRU", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegSetValueExA(key, "File1", 0, REG_SZ, (const BYTE*)"a", 2);
    RegSetValueExA(key, "File2", 0, REG_SZ, (const BYTE*)"b", 2);
    RegSetValueExA(key, "Keep", 0, REG_SZ, (const BYTE*)"c", 2);
    RegCloseKey(key);
    RegCreateKeyExA(HKEY_CURRENT_USER, regKey.Path() + "\\Old\\Deep", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegCloseKey(key);
    CString reg = CString("HKEY_CURRENT_USER\\") + regKey.Path();

    CString app = work("app");
    CString files0 = CString("File0=") + app + ";Delete;history.txt";
    CString files1 = CString("File1=") + app + "\\settings.ini;EraseMatch;Recent,File1";
    CString folder0 = CString("Folder0=") + recent + ";DeleteAllBelow;*.*";
    CString folder1 = CString("Folder1=") + matches + ";DeleteMatch;tmp";
    CString reg0 = CString("Reg0=") + reg + "\\MRU\\;DeleteValueMatch;File";
    CString reg1 = CString("Reg1=") + reg + ";DeleteKey;Old";
    Plugin("good.dorv", "Good", "",
           {"[Files]", files0, files1, "[Folders]", folder0, folder1, "[Registry]", reg0, reg1});

    // Entries whose wrong run would stay inside the scratch areas.
    CString hostile[] = {
        CString("File0=") + app + "\\..\\outside;Delete;keep.txt",
        CString("File1=") + app + ";Delete;keep.txt", // good, after refused ones
        CString("Folder0=") + linkFixture + "\\tree\\dirlink;DeleteAllBelow;*.*",
        CString("Folder1=") + matches + ";DeleteMatch;",
        CString("Folder2=") + matches + ";DeleteMatch;cache",
        CString("Folder3=") + app + "\\..\\outside;DeleteAll;*.*",
        CString("Reg0=") + reg + "\\MRU;DeleteValueMatch;",
        CString("Reg1=") + reg + "\\MRU;DeleteKey;  ",
        CString("Reg2=") + reg + "\\MRU;DeleteValue;Keep", // good
    };
    Plugin("hostile.dorv", "Hostile", "",
           {"[Files]", hostile[0], hostile[1], "[Folders]", hostile[2], hostile[3], hostile[4], hostile[5],
            "[Registry]", hostile[6], hostile[7], hostile[8]});
    Set("Farnoch", "ViewAll", "yes");
    WriteCustomLogging(1);
    DeleteFileA(AppDataFolder() + "\\Talvery\\Pirt\\pirt.log");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(2, List().GetItemCount());
    Command(ID_CHECK_ALL);
    Command(ID_EXECUTE_NOW);

    // Must delete.
    EXPECT_FALSE(FileExists(work("app\\history.txt")));
    EXPECT_FALSE(FileExists(work("app\\recent\\a.txt")));
    EXPECT_FALSE(FileExists(work("app\\recent\\sub\\c.txt")));
    EXPECT_FALSE(FileExists(work("app\\cache\\tmp1.dat")));
    EXPECT_FALSE(FileExists(work("app\\keep.txt")));
    char value[64] = "";
    GetPrivateProfileStringA("Recent", "File1", "<gone>", value, sizeof(value), work("app\\settings.ini"));
    EXPECT_STREQ("<gone>", value);
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, regKey.Path() + "\\Old", 0, KEY_READ, &key));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, regKey.Path() + "\\MRU", 0, KEY_READ, &key));
    EXPECT_NE(ERROR_SUCCESS, RegQueryValueExA(key, "File1", nullptr, nullptr, nullptr, nullptr));
    EXPECT_NE(ERROR_SUCCESS, RegQueryValueExA(key, "Keep", nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(key);
    // Must keep.
    EXPECT_TRUE(DirectoryExists(recent));
    GetPrivateProfileStringA("Recent", "File2", "<gone>", value, sizeof(value), work("app\\settings.ini"));
    EXPECT_STREQ("y", value);
    EXPECT_TRUE(FileExists(work("app\\cache\\keep.dat")));
    EXPECT_TRUE(FileExists(work("outside\\keep.txt")));
    EXPECT_TRUE(FileExists(linkFixture + "\\outside\\keep.txt"));
    EXPECT_TRUE(FileExists(linkFixture + "\\outside\\sub\\keep2.txt"));

    // One failed row per refused entry, naming it as written; the window
    // was visible, the overall bar full, the main window back.
    ASSERT_EQ(2u, g_steps.size());
    EXPECT_TRUE(g_steps[1].visible);
    // Rows are painted at intervals, but every plug-in's last one at its end.
    EXPECT_GT(g_steps[1].reportRows, 12);
    EXPECT_TRUE(g_steps[0].painted);
    EXPECT_TRUE(g_steps[1].painted);
    EXPECT_EQ(2, g_steps[1].overallPos);
    EXPECT_EQ(2, g_steps[1].overallHigh);
    EXPECT_TRUE(IsWindowVisible(m_frame->m_hWnd));

    // The log holds the rows in run order, the refused ones among them.
    std::vector<char> log = ReadFileBytes(AppDataFolder() + "\\Talvery\\Pirt\\pirt.log");
    std::string text(log.begin(), log.end());
    for (char& ch : text)
        if (ch == '\0')
            ch = ' ';
    size_t history = text.find("history.txt");
    size_t mru = text.find("\"File2\"");
    size_t refused = text.find("Failed1 " + Str(hostile[0].Mid(6)).substr(0, 40));
    EXPECT_NE(std::string::npos, history);
    EXPECT_NE(std::string::npos, refused);
    EXPECT_LT(history, mru) << text;
    EXPECT_LT(mru, refused) << text;
    int failed = 0;
    for (size_t at = text.find("Failed1"); at != std::string::npos; at = text.find("Failed1", at + 1))
        ++failed;
    EXPECT_EQ(7, failed);
}

TEST_F(TolmiraTest, APluginThatEmptiesItsOwnFileFirstStillRunsItsLaterEntries)
{
    CScratchFolder work("tolmira-self");
    WriteFileText(work("a.txt"), "a");
    work.MakeFolder("cache");
    WriteFileText(work("cache\\b.txt"), "b");
    CString self = CString("File0=") + UserPluginFolder() + ";DeleteContent;self.dorv";
    CString later = CString("File1=") + work.Path() + ";Delete;a.txt";
    CString folder = CString("Folder0=") + work("cache") + ";DeleteAllBelow;*.*";
    CString file = Plugin("self.dorv", "Self", "", {"[Files]", self, later, "[Folders]", folder});
    WritePluginState("Installed", "Self", "yes");
    WritePluginState("Selection", "Self", "yes");
    ASSERT_TRUE(StartApp());
    Command(ID_EXECUTE_NOW);
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(0u, ReadFileBytes(file).size()); // the first entry ran
    EXPECT_FALSE(FileExists(work("a.txt")));
    EXPECT_FALSE(FileExists(work("cache\\b.txt")));
}

TEST_F(TolmiraTest, ConfirmationCloseAfterRunAndNoCloseDuringIt)
{
    CScratchFolder work("tolmira-confirm");
    WriteFileText(work("a.txt"), "a");
    WriteFileText(work("b.txt"), "b");
    CString entryA = CString("File0=") + work.Path() + ";Delete;a.txt";
    CString entryB = CString("File0=") + work.Path() + ";Delete;b.txt";
    Plugin("a.dorv", "A", "", {"[Files]", entryA});
    Plugin("b.dorv", "B", "", {"[Files]", entryB});
    WritePluginState("Installed", "A", "yes");
    WritePluginState("Installed", "B", "yes");
    WritePluginState("Selection", "A", "yes");
    Set("Preferences", "SecurityDelConfirm", "yes");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(2, List().GetItemCount());
    Tick(RowOf("B"), false);

    // Declined: nothing runs, nothing changes.
    {
        CDialogCatcher no(IDNO);
        Command(ID_EXECUTE_NOW);
        ASSERT_TRUE(no.WaitFor(1));
        EXPECT_EQ("Confirm-T", Str(no.Boxes()[0].text).substr(0, 9));
    }
    EXPECT_TRUE(FileExists(work("a.txt")));
    EXPECT_EQ(0u, g_steps.size());
    EXPECT_EQ("yes", Get("Preferences", "SecurityDelConfirm"));

    // Yes with "don't ask again" ticked: runs, and asks no more.
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE clicker = CreateThread(nullptr, 0, TickDontAskAndSayYes, stop, 0, nullptr);
    Command(ID_EXECUTE_NOW);
    SetEvent(stop);
    WaitForSingleObject(clicker, 5000);
    CloseHandle(clicker);
    CloseHandle(stop);
    EXPECT_FALSE(FileExists(work("a.txt")));
    EXPECT_TRUE(FileExists(work("b.txt")));
    EXPECT_EQ("no", Get("Preferences", "SecurityDelConfirm"));

    // Closing the progress window or the program mid-run does nothing; after
    // the run the program closes through its queue.
    Tick(RowOf("A"), true);
    Tick(RowOf("B"), true);
    WriteFileText(work("a.txt"), "a");
    Set("Preferences", "CloseAfterKill", "yes");
    g_steps.clear();
    g_closeDuringRun = true;
    Command(ID_EXECUTE_NOW);
    ASSERT_EQ(2u, g_steps.size());
    EXPECT_TRUE(g_steps[1].visible);
    EXPECT_FALSE(FileExists(work("a.txt")));
    EXPECT_FALSE(FileExists(work("b.txt")));
    ASSERT_TRUE(g_app.m_pMainWnd != nullptr); // not closed from inside the run
    PumpMessages();
    EXPECT_TRUE(g_app.m_pMainWnd == nullptr);
    m_frame = nullptr;
}

TEST_F(TolmiraTest, DeleteImportAndTheBuilder)
{
    CString a = Plugin("a.dorv", "A", "");
    CString b = Plugin("b.dorv", "B", "");
    CString c = Plugin("c.dorv", "C", "");
    Set("Farnoch", "ViewAll", "yes");
    ASSERT_TRUE(StartApp());
    ASSERT_EQ(std::vector<std::string>({"A", "B", "C"}), Names());

    // Delete stops at a file that cannot be deleted and selects the row that
    // took the first one's place.
    SetFileAttributesA(b, FILE_ATTRIBUTE_READONLY);
    View()->SelectAllRows();
    {
        CDialogCatcher yes(IDYES);
        Command(ID_DELETE);
        ASSERT_TRUE(yes.WaitFor(1));
    }
    EXPECT_FALSE(FileExists(a));
    EXPECT_TRUE(FileExists(b));
    EXPECT_TRUE(FileExists(c));
    EXPECT_EQ(std::vector<std::string>({"B", "C"}), Names());
    EXPECT_EQ(0, List().GetNextItem(-1, LVNI_SELECTED));
    SetFileAttributesA(b, FILE_ATTRIBUTE_NORMAL);
    // No selection: nothing asked, nothing deleted, the first row selected.
    List().SetItemState(-1, 0, LVIS_SELECTED);
    View()->OnDelete(); // as the Delete key does; the command itself is disabled
    EXPECT_EQ(2, List().GetItemCount());
    EXPECT_EQ(0, List().GetNextItem(-1, LVNI_SELECTED));

    // Import: a new file is copied, an existing one only after Yes.
    CScratchFolder source("tolmira-import");
    WritePlugin(source("n.dorv"), {"[General]", "Name=New", "Installed="});
    WritePlugin(source("o.dorv"), {"[General]", "Name=Other", "Installed="});
    CString existing = ProgramPluginFolder() + "\\o.dorv";
    WritePlugin(existing, {"[General]", "Name=Old", "Installed="});
    {
        CDialogCatcher no(IDNO);
        View()->ImportFiles({source("n.dorv"), source("o.dorv")});
        ASSERT_TRUE(no.WaitFor(1));
        EXPECT_EQ(Str(existing), Str(no.Boxes()[0].caption));
    }
    EXPECT_EQ("Old", Str(ReadPluginGeneral(existing, "Name")));
    EXPECT_NE(-1, RowOf("New"));
    {
        CDialogCatcher yes(IDYES);
        View()->ImportFiles({source("o.dorv")});
        ASSERT_TRUE(yes.WaitFor(1));
    }
    EXPECT_EQ("Other", Str(ReadPluginGeneral(existing, "Name")));
    EXPECT_NE(-1, RowOf("Other"));

    // The builder: quoted path, the list refilled after it ends.
    Plugin("d.dorv", "D", "");
    Command(ID_NEW);
    EXPECT_EQ(1, g_fakeStarts);
    EXPECT_EQ("\"" + Str(GetAppPath()) + "\\Holberin.exe\"", g_fakeCommand);
    EXPECT_NE(-1, RowOf("D"));
    EXPECT_TRUE(IsWindowVisible(m_frame->m_hWnd));
    // A builder that cannot be started is reported.
    g_fakeResult = 0;
    {
        CDialogCatcher ok(IDOK);
        Command(ID_NEW);
        ASSERT_TRUE(ok.WaitFor(1));
        EXPECT_EQ("NoBuilder-T", Str(ok.Boxes()[0].text));
    }
    EXPECT_TRUE(IsWindowVisible(m_frame->m_hWnd));
}

TEST_F(TolmiraTest, LoggingAndCleanAtStartUpFlipWhatTheMarkShows)
{
    ASSERT_TRUE(StartApp());
    CString library = LibraryFarnochPath();
    auto libraryValue = [&]() {
        char buf[32] = "";
        GetPrivateProfileStringA("Preferences", "CustomLogging", "<absent>", buf, sizeof(buf), library);
        return std::string(buf);
    };
    EXPECT_EQ(0, Update(ID_LOGGING).checked);
    Command(ID_LOGGING);
    EXPECT_EQ("yes", Get("Preferences", "CustomLogging"));
    EXPECT_EQ("yes", libraryValue());
    EXPECT_EQ(1, Update(ID_LOGGING).checked);
    Command(ID_LOGGING);
    EXPECT_EQ("no", Get("Preferences", "CustomLogging"));
    EXPECT_EQ("no", libraryValue());

    CheckStartupSwitch(*this, ID_EXECUTE_ON_START, INI_FARNOCH, INI_BRISVANE);
}

namespace {

// The program started for real and this thread's window that closes it.
struct StartProbe
{
    HWND program = nullptr;
    bool servedWhileRunning = false;
    HANDLE served = nullptr;
};
StartProbe g_start;

LRESULT CALLBACK StartProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_APP)
        return DefWindowProcA(window, message, wParam, lParam);
    g_start.servedWhileRunning = IsWindow(g_start.program) != FALSE;
    PostMessageA(g_start.program, WM_CLOSE, 0, 0);
    SetEvent(g_start.served);
    return 0;
}

// Once the program shows its window, asks the waiting thread's window to end
// it; ends it here when that thread's messages are not served.
DWORD WINAPI AskToEndTheProgram(LPVOID probeWindow)
{
    for (int i = 0; i < 1000 && !g_start.program; ++i) {
        g_start.program = FindWindowA("MinimalWindow", nullptr);
        Sleep(10);
    }
    PostMessageA((HWND)probeWindow, WM_APP, 0, 0);
    if (WaitForSingleObject(g_start.served, 3000) != WAIT_OBJECT_0)
        PostMessageA(g_start.program, WM_CLOSE, 0, 0);
    return 0;
}

} // namespace

TEST(StartProgramTest, TheRealStartWaitsForTheProgramWhileServingTheCallersMessages)
{
    SetRunProgramProc(nullptr); // the real start
    WNDCLASSA wc = {};
    wc.lpfnWndProc = StartProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TolmiraStartProbe";
    RegisterClassA(&wc);
    HWND probe = CreateWindowA("TolmiraStartProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(probe != nullptr);
    g_start.served = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CHandle asker(CreateThread(nullptr, 0, AskToEndTheProgram, probe, 0, nullptr));

    EXPECT_EQ(1, RunProgramAndWait(SuiteProgramCommand("minwindow.exe", CString())));
    // The asker ends before the checks: none of them may leave it running.
    WaitForSingleObject(asker, 15000);
    EXPECT_TRUE(g_start.program != nullptr);
    EXPECT_TRUE(g_start.servedWhileRunning);
    EXPECT_FALSE(IsWindow(g_start.program)); // the wait ended with the program
    // A program that is not there: nothing to wait for.
    EXPECT_EQ(0, RunProgramAndWait(SuiteProgramCommand("no-such-program.exe", CString())));

    DestroyWindow(probe);
    CloseHandle(g_start.served);
}
