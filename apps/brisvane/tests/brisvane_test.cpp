// Brisvane.exe in-process: start-up, frame, menu toggles, the trace list and
// whole cleaning runs, with screenshots of the main window and the progress
// dialog kept in the build folder.
#include <gtest/gtest.h>
#include "fw/handle.h"
#include "pirt.h"
#include "startupswitch.h"
#include "Brisvane.h"
#include "BrisvaneView.h"
#include "MainFrm.h"
#include "Settings.h"
#include "progressdlg.h"
#include "checkmessagebox.h"
#include "reportrows.h"
#include "HelpFunctions.h"
#include "resource.h"
#include "menutheme.h"
#include <memory>
#include <string>
#include <vector>

using namespace pirt_test;

CBrisvaneApp g_app;

namespace {

const char* const kTestLanguage =
    "[General]\r\n"
    "10000=File-T\r\n12000=Edit-T\r\n14000=View-T\r\n15000=Execute-T\r\n16000=Tools-T\r\n18000=Help-T\r\n"
    "10050=Logging-T\r\n10100=Exit-T\r\n12030=All-T\r\n12040=None-T\r\n50040=Clean-T\r\n"
    "20050=Title-T\r\n30900=Ready-T\r\n40500=Trace-T\r\n40510=Desc-T\r\n40600=Progress-T\r\n"
    "40810=Restart-T\r\n30020=Yes-T\r\n30030=No-T\r\n40630=Ask-T\r\n"
    "24300=IndexKept-T\r\n24020=Working1\r\n24040=Working0\r\n24060=Done1\r\n24070=Done0\r\n24030=Failed1\r\n24050=Failed0\r\n"
    "[Brisvane]\r\n30020=Browser-T\r\n30025=System-T\r\n50000=Confirm-T\r\n50010=NoRestart-T\r\n"
    "20500=DropList-N\r\n10100=RecycleBin-N\r\n10110=RecycleBin-D\r\n10580=RunMRU-N\r\n";

std::vector<UINT> g_exitFlags;
BOOL g_exitResult = TRUE;
BOOL WINAPI FakeExitWindows(UINT flags, DWORD)
{
    g_exitFlags.push_back(flags);
    return g_exitResult;
}

std::string g_winExec;
UINT WINAPI FakeWinExec(LPCSTR cmd, UINT)
{
    g_winExec = cmd;
    return 33;
}
std::string g_shellFile;
HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    g_shellFile = file;
    return (HINSTANCE)33;
}

std::string Str(const CString& s) { return std::string((const char*)s); }

// What the run observer saw after each cleaned row.
struct RunStep
{
    int row;
    int reportRows;
    int overallPos;
    int workingRows;
    bool visible;
    std::vector<std::string> procedures;             // logged while the row ran
    std::vector<std::pair<std::string, int>> report; // every report row so far: text, image
};
std::vector<RunStep> g_steps;
bool g_progressShot = false;
size_t g_logRecordsSeen = 0;

CString LogPath() { return AppDataFolder() + "\\Talvery\\Pirt\\pirt.log"; }

// The procedures of the log records written since the last call, in order;
// the header and the records of custom.dll (called by the operations) left out.
std::vector<std::string> NewLoggedProcedures()
{
    std::vector<std::string> names;
    std::vector<char> bytes = ReadFileBytes(LogPath());
    const size_t records = bytes.size() / LOG_RECORD_SIZE;
    EXPECT_GE(records, g_logRecordsSeen) << "the log was rotated during the run";
    for (size_t i = g_logRecordsSeen; i < records; ++i) {
        const char* record = &bytes[i * LOG_RECORD_SIZE];
        std::string module(record + 18, strnlen(record + 18, 20));
        std::string procedure(record + 38, strnlen(record + 38, 20));
        if (procedure != "PROCEDURE" && module != "custom.dll")
            names.push_back(procedure);
    }
    g_logRecordsSeen = records;
    return names;
}

void ObserveRun(CProgressDlg* dlg, int row)
{
    RunStep s;
    s.row = row;
    CListCtrl* list = dlg->GetReportList();
    s.reportRows = list->GetItemCount();
    s.overallPos = dlg->GetOverallBar()->GetPos();
    s.workingRows = 0;
    for (int i = 0; i < s.reportRows; ++i) {
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        list->SendMessage(LVM_GETITEMA, 0, (LPARAM)&item);
        if (item.iImage == 2)
            ++s.workingRows;
        s.report.push_back(std::make_pair(Str(list->GetItemText(i, 0)), item.iImage));
    }
    s.procedures = NewLoggedProcedures();
    s.visible = IsWindowVisible(dlg->m_hWnd) != FALSE;
    g_steps.push_back(s);
    if (!g_progressShot && s.reportRows > 0) {
        dlg->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        g_progressShot = SaveWindowPicture(dlg->m_hWnd, ScreenshotPath("brisvane-progress.bmp"));
    }
}

class BrisvaneTest : public ::testing::Test, public CAppDriver<CMainFrame>
{
protected:
    BrisvaneTest() : CAppDriver(g_app, false) {}
    void SetUp() override
    {
        ResetDataRoots();
        m_folder.reset(new CScratchFolder("brisvane"));
        m_lng = (*m_folder)("Test.lng");
        WriteFileText(m_lng, kTestLanguage);
        m_ini = GetIniPath(INI_BRISVANE); // seeds the data root from skel
        WritePrivateProfileStringA("Pirt", "LngPath", m_lng, GetIniPath(INI_PIRT));
        Set("Preferences", "AllBrowsersFoundOnStartUp", "no");
        Set("Preferences", "SecurityDelConfirm", "no");
        Set("Preferences", "CloseAfterKill", "no");
        DeleteRunValues();
        g_exitFlags.clear();
        g_exitResult = TRUE;
        g_pfnExitWindowsEx = FakeExitWindows;
        g_pfnWinExec = FakeWinExec;
        g_pfnShellExecute = FakeShellExecute;
        g_steps.clear();
        g_logRecordsSeen = 0;
        g_pfnRunObserver = ObserveRun;
    }
    void TearDown() override
    {
        CloseApp();
        g_pfnRunObserver = nullptr;
        DeleteRunValues();
        m_folder.reset();
        ResetDataRoots();
    }
    void Set(const char* section, const char* key, const char* value)
    {
        WritePrivateProfileStringA(section, key, value, m_ini);
    }
    std::string Get(const char* section, const char* key) { return IniFileValue(m_ini, section, key); }
    static void DeleteRunValues()
    {
        CRegKeyHandle key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, RUN_KEY, 0, KEY_ALL_ACCESS, key.Receive()) == ERROR_SUCCESS) {
            RegDeleteValueA(key, STARTUP_VALUE_NAME);
            key.Close();
        }
        if (RegOpenKeyExA(HKEY_CURRENT_USER, RUNONCE_KEY, 0, KEY_ALL_ACCESS, key.Receive()) == ERROR_SUCCESS) {
            RegDeleteValueA(key, STARTUP_VALUE_NAME);
            key.Close();
        }
    }
    static std::string RunValue(const char* keyPath)
    {
        char buf[512] = "";
        DWORD size = sizeof(buf);
        CRegKeyHandle key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
            return "<absent>";
        LONG rc = RegQueryValueExA(key, STARTUP_VALUE_NAME, nullptr, nullptr, (BYTE*)buf, &size);
        return rc == ERROR_SUCCESS ? buf : "<absent>";
    }

    CBrisvaneView* View() { return m_frame ? dynamic_cast<CBrisvaneView*>(m_frame->GetActiveView()) : nullptr; }
    // The menu lives in the menu bar: its items are owner-drawn.
    CString MenuText(UINT item, UINT flags)
    {
        CString text;
        m_frame->Menu().GetMenuText(item, text, flags);
        return text;
    }

    std::unique_ptr<CScratchFolder> m_folder;
    CString m_lng;
    CString m_ini;
};

// The progress dialog is a dialog box too: look for the message among all
// the boxes caught.
bool CaughtText(CDialogCatcher& catcher, const char* text)
{
    std::vector<CDialogCatcher::Caught> boxes = catcher.Boxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        if (Str(boxes[i].text).find(text) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST_F(BrisvaneTest, StartsWithBarsTextsAndTheDefaultSize)
{
    Set("General", "RecycleBin", "yes");
    Set("General", "DropList", "yes");
    ASSERT_TRUE(StartApp());
    HWND h = m_frame->m_hWnd;
    EXPECT_TRUE(IsWindowVisible(h));

    char title[256] = "";
    GetWindowTextA(h, title, sizeof(title));
    EXPECT_STREQ("Title-T", title);
    // Top-level items are padded with one blank on each side.
    EXPECT_EQ(" File-T ", Str(MenuText(0, MF_BYPOSITION)));
    EXPECT_EQ(" Help-T ", Str(MenuText(5, MF_BYPOSITION)));
    EXPECT_EQ("Logging-T", Str(MenuText(ID_LOGGING, MF_BYCOMMAND)));
    EXPECT_EQ("Clean-T", Str(MenuText(ID_EXECUTE_NOW, MF_BYCOMMAND)));
    EXPECT_EQ("Browser-T", Str(MenuText(ID_SHOW_BROWSER_TRACES, MF_BYCOMMAND)));

    CThemedToolBar& tb = m_frame->ToolBar();
    ASSERT_EQ(3, tb.GetCount());
    EXPECT_EQ((UINT)ID_EXECUTE_NOW, tb.GetItemID(0));
    EXPECT_EQ((UINT)ID_SEPARATOR, tb.GetItemID(1));
    EXPECT_EQ((UINT)ID_HELPME, tb.GetItemID(2));
    EXPECT_EQ("Clean-T", Str(tb.GetButtonText(0)));
    EXPECT_EQ("Help-T", Str(tb.GetButtonText(2)));
    EXPECT_TRUE(tb.GetButtonStyle(0) & TBSTYLE_AUTOSIZE);
    EXPECT_EQ("Ready-T", Str(m_frame->StatusBar().GetPaneText(0)));
    EXPECT_EQ(4, m_frame->StatusBar().GetCount());
    EXPECT_EQ("Help-T", Str(m_frame->ToolTipText(ID_HELPME)));
    EXPECT_EQ("", Str(m_frame->ToolTipText(ID_LOGGING)));

    // No stored placement: 1/1.39 of the screen width, 2/3 of its height.
    RECT rc;
    GetWindowRect(h, &rc);
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ((int)(cx / 1.39), rc.right - rc.left);
    EXPECT_EQ((int)(cy / 1.5), rc.bottom - rc.top);

    // The frame shows no menu of its own: the menu bar's row lies above the
    // tool bar's; the status bar at the bottom, the list between them.
    EXPECT_EQ(nullptr, GetMenu(h));
    EXPECT_EQ(m_frame->Menu().m_hMenu, m_frame->MenuBar().GetMenu());
    EXPECT_EQ(6, m_frame->MenuBar().GetItemCount());
    CBrisvaneView* view = View();
    ASSERT_TRUE(view);
    RECT rm, rt, rs, rv;
    GetWindowRect(m_frame->MenuBar().m_hWnd, &rm);
    GetWindowRect(tb.m_hWnd, &rt);
    EXPECT_LE(rm.bottom, rt.top);
    EXPECT_GE(rm.bottom - rm.top, GetSystemMetrics(SM_CYMENU));
    GetWindowRect(m_frame->StatusBar().m_hWnd, &rs);
    GetWindowRect(view->m_hWnd, &rv);
    EXPECT_LE(rt.bottom, rv.top);
    EXPECT_LE(rv.bottom, rs.top);
    EXPECT_GT(rv.bottom - rv.top, 50);

    CListCtrl& list = view->GetListCtrl();
    ASSERT_EQ(22, list.GetItemCount());
    EXPECT_EQ("DropList-N", Str(list.GetItemText(0, 0)));
    EXPECT_EQ("RecycleBin-N", Str(list.GetItemText(9, 0)));
    EXPECT_EQ("RecycleBin-D", Str(list.GetItemText(9, 1)));
    EXPECT_TRUE(view->IsRowChecked(0));
    EXPECT_TRUE(view->IsRowChecked(9));
    EXPECT_FALSE(view->IsRowChecked(1));
    EXPECT_EQ(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
              (int)list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE) & (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT));
    // The tab strip is a member of the frame object only: it has no window.
    EXPECT_EQ(nullptr, FindWindowExA(h, nullptr, nullptr, "MarrowenTabWnd"));

    m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(SaveWindowPicture(h, ScreenshotPath("brisvane-main.bmp")));
}

namespace {
const LPARAM ALT_DOWN = 0x20380001, ALT_UP = (LPARAM)0xE0380001u;

// A key as the frame's message loop hands it on, aimed at the list.
bool Key(CMainFrame* frame, HWND focus, UINT message, UINT vk, LPARAM lParam)
{
    MSG msg = {focus, message, vk, lParam, 0, {0, 0}};
    return frame->PreTranslateMessage(&msg) != FALSE;
}

COLORREF PixelOf(HWND w, int x, int y)
{
    HDC dc = GetDC(w);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}
} // namespace

TEST_F(BrisvaneTest, MenuBarTakesAltArrowsAndEscape)
{
    ASSERT_TRUE(StartApp());
    CThemedMenuBar& bar = m_frame->MenuBar();
    HWND focus = View()->m_hWnd;

    // Alt pressed and released highlights the first item; Right moves on.
    EXPECT_TRUE(Key(m_frame, focus, WM_SYSKEYDOWN, VK_MENU, ALT_DOWN));
    EXPECT_EQ(-1, bar.GetHotItem());
    EXPECT_TRUE(Key(m_frame, focus, WM_SYSKEYUP, VK_MENU, ALT_UP));
    EXPECT_EQ(CThemedMenuBar::MODE_HOT, bar.GetMode());
    EXPECT_EQ(0, bar.GetHotItem());
    EXPECT_TRUE(Key(m_frame, focus, WM_KEYDOWN, VK_RIGHT, 0x014D0001));
    EXPECT_EQ(1, bar.GetHotItem());

    // Down opens the Edit popup; Escape closes it and nothing stays hot.
    HMENU shown = nullptr;
    int modeWhileOpen = -1;
    bool themed = false;
    EXPECT_TRUE(WhileMenuOpen([&] { Key(m_frame, focus, WM_KEYDOWN, VK_DOWN, 0x01500001); },
                              [&](HWND popup) {
                                  shown = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
                                  modeWhileOpen = bar.GetMode();
                                  themed = CThemedMenuHook::FindData(popup) != nullptr;
                                  SaveWindowPicture(m_frame->m_hWnd, ScreenshotPath("brisvane-popup.bmp"), popup);
                              }));
    EXPECT_EQ(GetSubMenu(m_frame->Menu().m_hMenu, 1), shown);
    EXPECT_EQ(CThemedMenuBar::MODE_TRACKING, modeWhileOpen);
    EXPECT_TRUE(themed) << "the start put the menu hook back";
    EXPECT_EQ(CThemedMenuBar::MODE_IDLE, bar.GetMode());
    EXPECT_EQ(-1, bar.GetHotItem());

    // Alt with another key, then released: no keyboard mode.
    Key(m_frame, focus, WM_SYSKEYDOWN, VK_MENU, ALT_DOWN);
    EXPECT_FALSE(Key(m_frame, focus, WM_SYSKEYDOWN, VK_SHIFT, 0x202A0001));
    Key(m_frame, focus, WM_SYSKEYUP, VK_MENU, ALT_UP);
    EXPECT_EQ(CThemedMenuBar::MODE_IDLE, bar.GetMode());
    EXPECT_EQ(-1, bar.GetHotItem());
    // F10 alone enters it too; Escape leaves it.
    EXPECT_TRUE(Key(m_frame, focus, WM_SYSKEYDOWN, VK_F10, 0x00440001));
    EXPECT_TRUE(Key(m_frame, focus, WM_SYSKEYUP, VK_F10, (LPARAM)0xC0440001u));
    EXPECT_EQ(0, bar.GetHotItem());
    EXPECT_TRUE(Key(m_frame, focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001));
    EXPECT_EQ(-1, bar.GetHotItem());

    // Right in a popup the mouse opened, nothing highlighted in it, moves on.
    EXPECT_TRUE(WhileMenuOpen([&] { bar.TrackPopup(1); },
                              [&](HWND popup) { PostMessageA(popup, WM_KEYDOWN, VK_RIGHT, 0x014D0001); }));
    EXPECT_EQ(2, bar.GetCurrentItem());

    // Alt+letter opens a menu and Alt's release goes to its loop: the first
    // F10 afterwards still highlights the first item.
    ASSERT_TRUE(m_frame->Menu().SetItemText(0, " &File-T ", MF_BYPOSITION));
    const UINT letter = 'F';
    EXPECT_TRUE(WhileMenuOpen(
        [&] {
            Key(m_frame, focus, WM_SYSKEYDOWN, VK_MENU, ALT_DOWN);
            Key(m_frame, focus, WM_SYSKEYDOWN, letter, 0x20210001);
        },
        [&](HWND popup) { PostMessageA(popup, WM_SYSKEYUP, VK_MENU, ALT_UP); }));
    EXPECT_TRUE(Key(m_frame, focus, WM_SYSKEYDOWN, VK_F10, 0x00440001));
    EXPECT_TRUE(Key(m_frame, focus, WM_SYSKEYUP, VK_F10, (LPARAM)0xC0440001u));
    EXPECT_EQ(0, bar.GetHotItem());
}

TEST_F(BrisvaneTest, MenuBarMouseMovesBetweenPopupsAndClosesOnItsOwnItem)
{
    ASSERT_TRUE(StartApp());
    CThemedMenuBar& bar = m_frame->MenuBar();
    HWND focus = View()->m_hWnd;
    auto itemCentre = [&](int item) {
        CRect r = bar.GetItem(item)->m_rect;
        POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(bar.m_hWnd, &pt);
        return pt;
    };
    auto openEdit = [&] {
        Key(m_frame, focus, WM_SYSKEYDOWN, VK_MENU, ALT_DOWN);
        Key(m_frame, focus, WM_SYSKEYUP, VK_MENU, ALT_UP);
        Key(m_frame, focus, WM_KEYDOWN, VK_RIGHT, 0x014D0001);
        Key(m_frame, focus, WM_KEYDOWN, VK_DOWN, 0x01500001);
    };

    // With Edit's popup open, the mouse moving onto View opens View's.
    POINT view = itemCentre(2), edit = itemCentre(1);
    HMENU opened = nullptr;
    EXPECT_TRUE(WhileMenuOpen(openEdit, [&](HWND popup) {
        opened = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
        SetCursorPos(view.x, view.y);
    }));
    EXPECT_EQ(GetSubMenu(m_frame->Menu().m_hMenu, 1), opened);
    EXPECT_EQ(2, bar.GetCurrentItem());

    // A click on the open item's own bar item closes it and leaves it hot.
    EXPECT_TRUE(WhileMenuOpen(openEdit, [&](HWND) {
        SetCursorPos(edit.x, edit.y);
        INPUT click[2];
        ZeroMemory(click, sizeof(click));
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, click, sizeof(INPUT));
    }));
    EXPECT_EQ(CThemedMenuBar::MODE_HOT, bar.GetMode());
    EXPECT_EQ(1, bar.GetHotItem());
    SetCursorPos(0, 0);
}

TEST_F(BrisvaneTest, SystemMenuShiftsItsGlyphIdsWhileOpen)
{
    if (GetWindowsClass() < WINCLASS_XP)
        GTEST_SKIP() << "the ids move on Windows XP and later only";
    ASSERT_TRUE(StartApp());
    HMENU sys = GetSystemMenu(m_frame->m_hWnd, FALSE);
    const UINT ids[] = {SC_RESTORE, SC_MINIMIZE, SC_CLOSE};
    std::vector<bool> shifted;
    EXPECT_TRUE(WhileMenuOpen([&] { m_frame->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, ' '); },
                              [&](HWND) {
                                  for (UINT id : ids)
                                      shifted.push_back(GetMenuState(sys, id + 1, MF_BYCOMMAND) != (UINT)-1 &&
                                                        GetMenuState(sys, id, MF_BYCOMMAND) == (UINT)-1);
                              }));
    EXPECT_EQ(std::vector<bool>(3, true), shifted);
    for (UINT id : ids) {
        EXPECT_NE((UINT)-1, GetMenuState(sys, id, MF_BYCOMMAND)) << id;
        EXPECT_EQ((UINT)-1, GetMenuState(sys, id + 1, MF_BYCOMMAND)) << id;
    }
}

TEST_F(BrisvaneTest, StatusBarAndToolBarPaintInTheThemeColours)
{
    ASSERT_TRUE(StartApp());
    CThemedStatusBar& status = m_frame->StatusBar();
    HWND sb = status.m_hWnd;
    status.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    // Frames of the indicator panes; the borderless text pane has none.
    COLORREF topLeft, bottomRight;
    CThemedStatusBar::GetFrameColors(topLeft, bottomRight);
    if (CThemedMenu::GetThemeId() >= 8 && CThemedMenu::GetThemeId() <= 11) {
        EXPECT_EQ(DarkenColor(GetSysColor(COLOR_ACTIVECAPTION), 10), topLeft);
        EXPECT_EQ(RGB(255, 255, 255), bottomRight);
    }
    RECT pane, text;
    status.GetItemRect(1, &pane);
    status.GetItemRect(0, &text);
    EXPECT_EQ(topLeft, PixelOf(sb, pane.left, pane.top));
    EXPECT_EQ(bottomRight, PixelOf(sb, pane.right - 1, pane.bottom - 1));
    EXPECT_NE(topLeft, PixelOf(sb, text.left, text.top));

    // The grip's lowest square: dark, with its white highlight below right.
    CRect grip = status.GetGripRect();
    ASSERT_FALSE(grip.IsRectEmpty());
    COLORREF dark = DarkenColor(GetSysColor(COLOR_ACTIVECAPTION), 10);
    int x = grip.right - 1 - 2 - 4, y = grip.bottom - 2 - 3;
    EXPECT_EQ(dark, PixelOf(sb, x, y));
    EXPECT_EQ(RGB(255, 255, 255), PixelOf(sb, x + 2, y + 2));

    // A hot tool-bar button is framed.
    CThemedToolBar& tb = m_frame->ToolBar();
    RECT button;
    tb.GetItemRect(0, &button);
    POINT centre = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(tb.m_hWnd, &centre);
    SetForegroundWindow(m_frame->m_hWnd);
    SetFocus(View()->m_hWnd);
    SetCursorPos(centre.x, centre.y);
    Pump();
    if (WindowFromPoint(centre) == tb.m_hWnd) {
        tb.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        int id = CThemedMenu::GetThemeId();
        COLORREF frame =
            (id >= 10 || ((id == 8 || id == 9) && IsVisualThemeActive())) ? 0x840204 : GetSysColor(COLOR_HIGHLIGHT);
        EXPECT_EQ(frame, PixelOf(tb.m_hWnd, button.left, button.top));
    } else {
        ADD_FAILURE() << "the cursor could not be placed over the tool bar";
    }
    SetCursorPos(0, 0);

    // Maximised, the status bar shows no grip.
    m_frame->ShowWindow(SW_MAXIMIZE);
    Pump();
    EXPECT_TRUE(status.GetGripRect().IsRectEmpty());
    RECT client;
    GetClientRect(sb, &client);
    status.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(dark, PixelOf(sb, client.right - 1 - 2 - 4, client.bottom - 2 - 3));
}

TEST_F(BrisvaneTest, PlacementIsSavedOnCloseAndRestoredVisibly)
{
    ASSERT_TRUE(StartApp());
    m_frame->SetWindowPos(nullptr, 20, 30, 500, 400, SWP_NOZORDER);
    m_frame->PostMessage(WM_CLOSE);
    Pump();
    EXPECT_FALSE(g_app.m_pMainWnd);
    EXPECT_EQ("20", Get("Placement", "Left"));
    EXPECT_EQ("30", Get("Placement", "Top"));
    EXPECT_EQ("520", Get("Placement", "Right"));
    EXPECT_EQ("430", Get("Placement", "Bottom"));
    EXPECT_EQ("1", Get("Placement", "ShowCmd"));
    CloseApp();

    // Restored as stored.
    ASSERT_TRUE(StartApp());
    RECT rc;
    GetWindowRect(m_frame->m_hWnd, &rc);
    EXPECT_EQ(20, rc.left);
    EXPECT_EQ(30, rc.top);
    EXPECT_EQ(500, rc.right - rc.left);
    CloseApp();

    // Stored minimised and far off every monitor: opens normal, on screen.
    Set("Placement", "ShowCmd", "2");
    Set("Placement", "Left", "30000");
    Set("Placement", "Top", "30000");
    Set("Placement", "Right", "30400");
    Set("Placement", "Bottom", "30300");
    ASSERT_TRUE(StartApp());
    EXPECT_FALSE(IsIconic(m_frame->m_hWnd));
    GetWindowRect(m_frame->m_hWnd, &rc);
    EXPECT_TRUE(MonitorFromRect(&rc, MONITOR_DEFAULTTONULL) != nullptr);
    EXPECT_EQ(400, rc.right - rc.left);
    CloseApp();

    // One edge at -1: the default size.
    Set("Placement", "ShowCmd", "1");
    Set("Placement", "Left", "-1");
    ASSERT_TRUE(StartApp());
    GetWindowRect(m_frame->m_hWnd, &rc);
    EXPECT_EQ((int)(GetSystemMetrics(SM_CXSCREEN) / 1.39), rc.right - rc.left);
}

TEST_F(BrisvaneTest, BrowserDetectionCountsOnlyExistingFolders)
{
    // Switched off: the five switches stay as they are.
    Set("Preferences", "DeleteChromeTraces", "maybe");
    ASSERT_TRUE(StartApp());
    EXPECT_EQ("maybe", Get("Preferences", "DeleteChromeTraces"));
    CloseApp();

    Set("Preferences", "AllBrowsersFoundOnStartUp", "yes");
    CString chrome;
    {
        CHelpFunctions help;
        chrome = help.GetChromeDir();
    }
    ASSERT_FALSE(chrome.IsEmpty());
    CRegKeyHandle ie;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, ie.Receive(), nullptr));
    ie.Close();
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Opera Software");
    ASSERT_TRUE(StartApp());
    EXPECT_EQ("yes", Get("Preferences", "DeleteIETraces"));
    EXPECT_EQ("no", Get("Preferences", "DeleteOperaTraces"));
    EXPECT_EQ("no", Get("Preferences", "DeleteChromeTraces")); // folder path only, nothing there
    EXPECT_EQ("no", Get("Preferences", "DeleteFirefoxTraces"));
    EXPECT_EQ("no", Get("Preferences", "DeleteSafariTraces"));
    CloseApp();

    ASSERT_TRUE(CreateFullPath(chrome));
    ASSERT_TRUE(StartApp());
    EXPECT_EQ("yes", Get("Preferences", "DeleteChromeTraces"));
    CloseApp();
    DeleteTree(chrome);
}

TEST_F(BrisvaneTest, MenuTogglesFlipWhatTheCheckMarkShows)
{
    ASSERT_TRUE(StartApp());
    // Logging: both switches follow one click.
    EXPECT_EQ(0, Update(ID_LOGGING).checked);
    Command(ID_LOGGING);
    EXPECT_EQ("yes", Get("Preferences", "SystemLogging"));
    EXPECT_EQ("yes", Get("Preferences", "BrowserLogging"));
    EXPECT_EQ(1, Update(ID_LOGGING).checked);
    // Switched off elsewhere (the preferences): the next click turns it on
    // again, as the mark shows it off.
    Set("Preferences", "SystemLogging", "no");
    EXPECT_EQ(0, Update(ID_LOGGING).checked);
    Command(ID_LOGGING);
    EXPECT_EQ("yes", Get("Preferences", "SystemLogging"));
    Command(ID_LOGGING);
    EXPECT_EQ("no", Get("Preferences", "SystemLogging"));
    EXPECT_EQ("no", Get("Preferences", "BrowserLogging"));

    // Clean at start-up: the Run value quotes the program path.
    Set("Preferences", "DeleteOnStartup", "maybe");
    EXPECT_EQ(0, Update(ID_EXECUTE_ON_START).checked);
    CheckStartupSwitch(*this, ID_EXECUTE_ON_START, INI_BRISVANE, INI_FARNOCH);
}

TEST_F(BrisvaneTest, HelpAndWebPageFollowTheLanguageExactly)
{
    ASSERT_TRUE(StartApp());
    WritePrivateProfileStringA("Pirt", "Language", "German", GetIniPath(INI_PIRT));
    Command(ID_HELPME);
    EXPECT_EQ("hh.exe \"" + Str(GetAppPath()) + "\\help\\ZexUlmoroHelpDEU.chm\"", g_winExec);
    Command(ID_PIRT_WEBSITE);
    EXPECT_EQ(PIRT_WEBSITE_GERMAN, g_shellFile);
    WritePrivateProfileStringA("Pirt", "Language", "german", GetIniPath(INI_PIRT));
    Command(ID_HELPME);
    EXPECT_EQ("hh.exe \"" + Str(GetAppPath()) + "\\help\\ZexUlmoroHelpENG.chm\"", g_winExec);
    Command(ID_PIRT_WEBSITE);
    EXPECT_EQ(PIRT_WEBSITE_ENGLISH, g_shellFile);
}

TEST_F(BrisvaneTest, TicksAreStoredAndGroupsCanBeHidden)
{
    ASSERT_TRUE(StartApp());
    CBrisvaneView* view = View();
    ASSERT_TRUE(view);
    CListCtrl& list = view->GetListCtrl();

    // A tick by the user is stored at once.
    list.SetItemState(21, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    EXPECT_EQ("yes", Get("General", "RunMRU"));
    list.SetItemState(21, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    EXPECT_EQ("no", Get("General", "RunMRU"));

    EXPECT_EQ(1, Update(ID_CHECK_ALL).enabled);
    EXPECT_EQ(0, Update(ID_UNCHECK_ALL).enabled);
    EXPECT_EQ(0, Update(ID_EXECUTE_NOW).enabled);
    // The tool bar's clean button follows the same state at idle time.
    CThemedToolBar& tb = m_frame->ToolBar();
    m_frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(tb.SendMessage(TB_ISBUTTONENABLED, ID_EXECUTE_NOW));
    Command(ID_CHECK_ALL);
    m_frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(tb.SendMessage(TB_ISBUTTONENABLED, ID_EXECUTE_NOW));
    EXPECT_EQ("yes", Get("General", "DropList"));
    EXPECT_EQ("yes", Get("General", "RunMRU"));
    EXPECT_EQ(0, Update(ID_CHECK_ALL).enabled);
    EXPECT_EQ(1, Update(ID_EXECUTE_NOW).enabled);
    Command(ID_UNCHECK_ALL);
    EXPECT_EQ("no", Get("General", "Cookies"));

    // Hiding the browser group moves the system rows to 0-12 under their own keys.
    Set("General", "RunMRU", "yes");
    EXPECT_EQ(1, Update(ID_SHOW_BROWSER_TRACES).checked);
    Command(ID_SHOW_BROWSER_TRACES);
    EXPECT_EQ("no", Get("Brisvane", "ShowBrowserTraces"));
    EXPECT_EQ(0, Update(ID_SHOW_BROWSER_TRACES).checked);
    ASSERT_EQ(13, list.GetItemCount());
    EXPECT_EQ("RunMRU-N", Str(list.GetItemText(12, 0)));
    EXPECT_TRUE(view->IsRowChecked(12));
    EXPECT_STREQ("RecycleBin", view->ItemKeyOf(0));
    EXPECT_EQ(nullptr, view->ItemKeyOf(13));
    list.SetItemState(0, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    EXPECT_EQ("yes", Get("General", "RecycleBin"));
    EXPECT_EQ("no", Get("General", "DropList"));

    // Both hidden: an empty list and nothing to run.
    Command(ID_SHOW_SYSTEM_TRACES);
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ(0, Update(ID_CHECK_ALL).enabled);
    EXPECT_EQ(0, Update(ID_UNCHECK_ALL).enabled);
    EXPECT_EQ(0, Update(ID_EXECUTE_NOW).enabled);
    Command(ID_SHOW_BROWSER_TRACES);
    EXPECT_EQ(9, list.GetItemCount());
}

namespace {

const char kRunMRUKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

void SeedClipboard(const char* text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    size_t n = strlen(text) + 1;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, n);
    memcpy(GlobalLock(mem), text, n);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
}

bool KeyExists(const char* path)
{
    CRegKeyHandle key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    return true;
}

} // namespace

TEST_F(BrisvaneTest, CleaningRunRemovesTheTickedTracesRowByRow)
{
    // Seeded traces: a temporary file, the clipboard, the Run history.
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    CString tempFile = CString(temp) + "brisvane-test-trace.tmp";
    ASSERT_TRUE(WriteFileText(tempFile, "trace"));
    SeedClipboard("secret");
    CRegKeyHandle mru;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kRunMRUKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             mru.Receive(), nullptr));
    RegSetValueExA(mru, "a", 0, REG_SZ, (const BYTE*)"notepad\\1", 10);
    mru.Close();

    Set("General", "Clipboard", "yes");
    Set("General", "TempFiles", "yes");
    Set("General", "RunMRU", "yes");
    // A browser row with every browser switched off adds no row but counts.
    Set("General", "CompleteForms", "yes");
    Set("Preferences", "DeleteIETraces", "no");
    Set("Preferences", "DeleteOperaTraces", "yes");
    Set("Preferences", "DeleteFirefoxTraces", "no");
    Set("Preferences", "DeleteChromeTraces", "no");
    Set("Preferences", "DeleteSafariTraces", "no");
    Set("Preferences", "SystemLogging", "yes");
    CString log = AppDataFolder() + "\\Talvery\\Pirt\\pirt.log";
    DeleteFileA(log);

    ASSERT_TRUE(StartApp());
    g_progressShot = false;
    Command(ID_EXECUTE_NOW);

    // One step per ticked row, in list order, each finished before the next.
    ASSERT_EQ(4u, g_steps.size());
    EXPECT_EQ(3, g_steps[0].row);        // saved form entries (browser row 3)
    EXPECT_EQ(10, g_steps[1].row);       // clipboard
    EXPECT_EQ(11, g_steps[2].row);       // temporary files
    EXPECT_EQ(21, g_steps[3].row);       // Run history
    EXPECT_EQ(0, g_steps[0].reportRows); // only Opera on, and Opera keeps no form entries
    for (size_t i = 0; i < g_steps.size(); ++i) {
        EXPECT_EQ((int)i + 1, g_steps[i].overallPos);
        EXPECT_EQ(0, g_steps[i].workingRows);
        EXPECT_TRUE(g_steps[i].visible);
        if (i > 0) {
            EXPECT_GT(g_steps[i].reportRows, g_steps[i - 1].reportRows);
        }
    }
    EXPECT_TRUE(g_progressShot);

    // The traces are gone; the main window is back, and no restart was offered.
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(tempFile));
    EXPECT_FALSE(KeyExists(kRunMRUKey));
    EXPECT_TRUE(IsWindowVisible(m_frame->m_hWnd));
    EXPECT_TRUE(g_exitFlags.empty());
    EXPECT_EQ("<absent>", RunValue(RUNONCE_KEY));
    // Every result row was logged (header + at least one record per system row).
    std::vector<char> bytes = ReadFileBytes(log);
    EXPECT_GE(bytes.size(), (size_t)(4 * LOG_RECORD_SIZE));

    // Each row's operation logged under its own name.
    EXPECT_EQ(std::vector<std::string>(), g_steps[0].procedures);
    EXPECT_EQ(std::vector<std::string>({"EmptyClipboard"}), g_steps[1].procedures);
    EXPECT_EQ(std::vector<std::string>({"DeleteWinTempFiles", "DeleteWinTempFiles"}), g_steps[2].procedures);
    EXPECT_EQ(std::vector<std::string>({"DeleteRunMRU"}), g_steps[3].procedures);

    // The report: every row's text and image, in the order they were made.
    char longTemp[MAX_PATH] = "", windows[MAX_PATH] = "";
    GetLongPathNameA(temp, longTemp, MAX_PATH);
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::vector<std::pair<std::string, int>> report = {
        {Str(GetLngString("General", "24060") + " " + GetLngString("Dravik", "10120")), REPORT_IMAGE_DONE},
        {Str(GetLngString("General", "24070") + " " + longTemp), REPORT_IMAGE_DONE},
        {Str(GetLngString("General", "24070") + " " + windows + "\\Temp"), REPORT_IMAGE_DONE},
        {Str(GetLngString("General", "24060") + " HKCU\\" + kRunMRUKey), REPORT_IMAGE_DONE},
    };
    EXPECT_EQ(report, g_steps.back().report);
}

// Each row of the list runs its own operations, for every browser switched on,
// in list order: what the operations log names them.
TEST_F(BrisvaneTest, EveryTickedRowRunsItsOwnOperations)
{
    typedef std::vector<std::string> Names;
    const struct
    {
        const char* key;
        Names procedures;
    } rows[] = {
        {"DropList", {"IEDropList", "OperaDropList", "FirefoxHistory", "ChromeHistory", "SafariHistory"}},
        {"History", {"IEHistory", "OperaHistory", "FirefoxHistory", "ChromeHistory", "SafariHistory"}},
        {"VisitedLinks", {"IEHistory", "OperaVisitedLinks", "FirefoxHistory", "ChromeVisitedLinks", "SafariHistory"}},
        {"CompleteForms", {"IECompleteForms", "FirefoxCompleteForms", "ChromeCompleteForms", "SafariCompleteForms"}},
        {"CompletePW",
         {"IECompletePW", "OperaCompletePW", "FirefoxCompletePW", "ChromeCompletePW", "SafariCompleteForms"}},
        {"INetTempFiles", {"IETemp", "OperaTemp", "FirefoxTemp", "ChromeTemp", "SafariTemp"}},
        {"Cookies", {"IECookies", "OperaCookies", "FirefoxCookies", "ChromeCookies", "SafariCookies"}},
        {"IndexDat", {}}, // scheduled for the next log-on instead
        {"DownloadHistory", {"OperaDLList", "FirefoxDLList", "ChromeHistory", "SafariDLList"}},
        {"RecycleBin", {"EmptyRecycleBin"}},
        {"Clipboard", {"EmptyClipboard"}},
        {"TempFiles", {"DeleteWinTempFiles"}},
        {"LogFiles", {"DeleteWindowsLogFiles"}},
        {"MemoryDump", {"DeleteMemoryDump"}},
        {"SwapFile", {"DeleteSwapFile"}},
        {"FileFragments", {"DeleteFileFragments"}},
        {"Prefetcher", {"EmptyWindowsPrefetcher"}},
        {"MRULists", {"DeleteMRULists"}},
        {"MFUList", {"DeleteMFUList"}},
        {"LocalSearch", {"DeleteLocalSearch"}},
        {"Search4Computers", {"DeleteSearch4Computers"}},
        {"RunMRU", {"DeleteRunMRU"}},
    };
    for (const auto& row : rows)
        Set("General", row.key, "yes");
    for (const char* browser : {"IE", "Opera", "Firefox", "Chrome", "Safari"})
        Set("Preferences", (std::string("Delete") + browser + "Traces").c_str(), "yes");
    Set("Preferences", "SystemLogging", "yes");
    Set("Preferences", "BrowserLogging", "yes");
    // A Windows log file, so that its row has something to remove.
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const CString windowsLog = CString(windows) + "\\brisvane-test.log";
    ASSERT_TRUE(WriteFileText(windowsLog, "trace"));

    CStartupCleanerFile cleaner;
    ASSERT_TRUE(StartApp());
    {
        CDialogCatcher catcher(IDNO); // the restart that the index files ask for
        Command(ID_EXECUTE_NOW);
    }

    ASSERT_EQ(sizeof(rows) / sizeof(rows[0]), g_steps.size());
    for (size_t i = 0; i < g_steps.size(); ++i) {
        SCOPED_TRACE(rows[i].key);
        EXPECT_EQ((int)i, g_steps[i].row);
        // Each operation logs at least one record; repeats collapse to one
        // name, and the log's procedure field holds 20 characters.
        Names logged, expected;
        for (const std::string& name : g_steps[i].procedures)
            if (logged.empty() || logged.back() != name)
                logged.push_back(name);
        for (const std::string& name : rows[i].procedures)
            expected.push_back(name.substr(0, 20));
        EXPECT_EQ(expected, logged);
        EXPECT_EQ(0, g_steps[i].workingRows);
    }
    EXPECT_NE("<absent>", RunValue(RUNONCE_KEY));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(windowsLog));
    DeleteFileA(windowsLog);
}

TEST_F(BrisvaneTest, ConfirmationCanBeDeclinedOrSwitchedOff)
{
    Set("General", "RunMRU", "yes");
    Set("Preferences", "SecurityDelConfirm", "yes");
    ASSERT_TRUE(StartApp());
    {
        // No with the box ticked: nothing runs, the setting stays on.
        CDialogCatcher catcher(IDNO, IDC_CHECKBOX_MSG);
        Command(ID_EXECUTE_NOW);
        ASSERT_TRUE(catcher.WaitFor(1));
        EXPECT_EQ("Brisvane", Str(catcher.Boxes()[0].caption));
    }
    EXPECT_TRUE(g_steps.empty());
    EXPECT_EQ("yes", Get("Preferences", "SecurityDelConfirm"));
    EXPECT_TRUE(IsWindowVisible(m_frame->m_hWnd));
    {
        // Yes without the tick: the run, and the next run asks again.
        CDialogCatcher catcher(IDYES);
        Command(ID_EXECUTE_NOW);
        ASSERT_TRUE(catcher.WaitFor(1));
    }
    EXPECT_EQ(1u, g_steps.size());
    EXPECT_EQ("yes", Get("Preferences", "SecurityDelConfirm"));
    {
        // Yes with the tick: the run, and the question is switched off.
        CDialogCatcher catcher(IDYES, IDC_CHECKBOX_MSG);
        Command(ID_EXECUTE_NOW);
        ASSERT_TRUE(catcher.WaitFor(1));
    }
    EXPECT_EQ(2u, g_steps.size());
    EXPECT_EQ("no", Get("Preferences", "SecurityDelConfirm"));
}

TEST_F(BrisvaneTest, IndexFilesScheduleOneOrdinaryRestart)
{
    Set("General", "IndexDat", "yes");
    Set("Preferences", "DeleteIETraces", "yes");
    CStartupCleanerFile cleaner;
    ASSERT_TRUE(StartApp());
    {
        CDialogCatcher catcher(IDYES);
        Command(ID_EXECUTE_NOW);
        catcher.WaitFor(2);
        EXPECT_TRUE(CaughtText(catcher, "Restart-T"));
    }
    ASSERT_EQ(1u, g_steps.size());
    EXPECT_EQ(0, g_steps[0].reportRows); // no result row of its own
    std::string expected = "\"" + Str(GetAppPath()) + "\\Tarnel.exe\" startup";
    EXPECT_EQ(expected, RunValue(RUNONCE_KEY));
    // One restart request, never forced.
    ASSERT_EQ(1u, g_exitFlags.size());
    EXPECT_EQ((UINT)EWX_REBOOT, g_exitFlags[0]);
    // The program closes through its queue.
    Pump();
    EXPECT_FALSE(g_app.m_pMainWnd);
}

TEST_F(BrisvaneTest, WithoutTheStartUpCleanerTheIndexFilesRowSaysTheyStay)
{
    Set("General", "IndexDat", "yes");
    Set("Preferences", "DeleteIETraces", "yes");
    ASSERT_TRUE(StartApp());
    CDialogCatcher catcher(IDYES);
    Command(ID_EXECUTE_NOW);
    EXPECT_FALSE(CaughtText(catcher, "Restart-T"));
    EXPECT_TRUE(g_exitFlags.empty());
    EXPECT_EQ("<absent>", RunValue(RUNONCE_KEY));
    ASSERT_EQ(1u, g_steps.size());
    ASSERT_EQ(1, g_steps[0].reportRows);
    EXPECT_EQ(std::make_pair(std::string("IndexKept-T"), (int)REPORT_IMAGE_FAILED), g_steps[0].report[0]);
}

TEST_F(BrisvaneTest, FailedRestartIsReportedAndTheWindowComesBack)
{
    Set("General", "IndexDat", "yes");
    Set("Preferences", "DeleteIETraces", "yes");
    g_exitResult = FALSE;
    CStartupCleanerFile cleaner;
    ASSERT_TRUE(StartApp());
    {
        CDialogCatcher catcher(IDYES);
        Command(ID_EXECUTE_NOW);
        catcher.WaitFor(3);
        EXPECT_TRUE(CaughtText(catcher, "Restart-T"));
        EXPECT_TRUE(CaughtText(catcher, "NoRestart-T"));
    }
    EXPECT_EQ(1u, g_exitFlags.size());
    Pump();
    ASSERT_TRUE(g_app.m_pMainWnd);
    EXPECT_TRUE(IsWindowVisible(m_frame->m_hWnd));

    // With the Internet Explorer switch off the row does nothing.
    CloseApp();
    DeleteRunValues();
    g_exitFlags.clear();
    Set("Preferences", "DeleteIETraces", "no");
    ASSERT_TRUE(StartApp());
    Command(ID_EXECUTE_NOW);
    EXPECT_TRUE(g_exitFlags.empty());
    EXPECT_EQ("<absent>", RunValue(RUNONCE_KEY));
}

TEST_F(BrisvaneTest, CloseAfterCleaningEndsTheProgram)
{
    Set("General", "RunMRU", "yes");
    Set("Preferences", "CloseAfterKill", "yes");
    ASSERT_TRUE(StartApp());
    Command(ID_EXECUTE_NOW);
    // Still there while the handler ran; closed through the queue.
    EXPECT_TRUE(g_app.m_pMainWnd != nullptr);
    Pump();
    EXPECT_FALSE(g_app.m_pMainWnd);
    EXPECT_NE("<absent>", Get("Placement", "Left"));
}

TEST_F(BrisvaneTest, TheKeyboardIsInTheListAtStartAndAfterEachDialog)
{
    ASSERT_TRUE(StartApp());
    HWND list = View()->m_hWnd;
    EXPECT_EQ(list, GetFocus()) << "at start";
    for (UINT command : {(UINT)ID_ABOUT, (UINT)ID_PREFERENCES}) {
        {
            CDialogCatcher close(IDCANCEL);
            Command(command);
            Pump();
        }
        EXPECT_EQ(list, GetFocus()) << command;
    }
}
