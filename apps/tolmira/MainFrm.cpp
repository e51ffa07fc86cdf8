// The main frame of the recent-work cleaner.
#include "MainFrm.h"
#include "PreferencesDlg.h"
#include "TolmiraView.h"
#include "Settings.h"
#include "resource.h"
#include "aboutdlg.h"
#include "placement.h"
#include "smallicons.h"
#include "startprogram.h"
#include "startupcleaner.h"
#include "suitehelp.h"

PFN_WINEXEC g_pfnTolmiraWinExec = ::WinExec;
PFN_SHELLEXECUTE g_pfnTolmiraShellExecute = ::ShellExecuteA;

namespace {

const UINT kIndicators[] = {IDS_INDICATOR_PIRT, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const UINT kMenuIconIds[] = {153, 161, 163, 152, 151, 147, 162, 154, 156, 150, 148, 149, 155, 160, 157, 158};

// Tool tips by command id, all of section General.
const struct
{
    UINT id;
    const char* key;
} kToolTips[] = {
    {ID_NEW, "10010"},       {ID_DELETE, "12050"},          {ID_PROPERTIES, "12060"},
    {ID_CHECK_ALL, "12030"}, {ID_UNCHECK_ALL, "12040"},     {ID_EXECUTE_NOW, "50040"},
    {ID_ABOUT, "18100"},     {ID_EXECUTE_PREVIEW, "15060"}, {ID_HELPME, "18000"},
};

} // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CThemedFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CThemedFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_COMMAND(ID_NEW, OnNew)
    ON_COMMAND(ID_LOGGING, OnLogging)
    ON_UPDATE_COMMAND_UI(ID_LOGGING, OnUpdateLogging)
    ON_COMMAND(ID_REFRESH, OnRefresh)
    ON_COMMAND(ID_EXECUTE_ON_START, OnDeleteOnStartup)
    ON_UPDATE_COMMAND_UI(ID_EXECUTE_ON_START, OnUpdateDeleteOnStartup)
    ON_COMMAND(ID_PREFERENCES, OnPreferences)
    ON_COMMAND(ID_HELPME, OnHelp)
    ON_COMMAND(ID_PIRT_WEBSITE, OnWebSite)
    ON_COMMAND(ID_ABOUT, OnAbout)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_MESSAGE(WM_STATUS_COUNT, OnUpdateStatusCount)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() {}

CMainFrame::~CMainFrame() {}

CTolmiraView* CMainFrame::View() const { return dynamic_cast<CTolmiraView*>(GetActiveView()); }

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CThemedFrameWnd::PreCreateWindow(cs))
        return FALSE;
    SetMainFrameCreation(cs);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CThemedFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_LIST | 0x10,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_BORDER_BOTTOM | CBRS_FLYBY | CBRS_TOOLTIPS |
                                   CBRS_SIZE_DYNAMIC,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    // Aligned at the top without the bottom border that CBRS_TOP would add.
    if (!m_wndMenuBar.Create(this,
                             WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                             AFX_IDW_MENUBAR))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_BORDER_TOP, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, sizeof(kIndicators) / sizeof(kIndicators[0])))
        return -1;
    m_wndMenuBar.SetMenu(m_defaultMenu.m_hMenu);
    m_wndStatusBar.SetPaneInfo(0, IDS_INDICATOR_PIRT, SBPS_STRETCH | SBPS_NOBORDERS, 100);

    SetToolBarTexts();
    LocalizeMenu();
    RestorePlacement();
    return 0;
}

void CMainFrame::SetToolBarTexts()
{
    CreateSmallIconList(m_menuImages, kMenuIconIds);
    static const struct
    {
        int button;
        const char* key;
    } texts[] = {
        {0, "50000"},
        {2, "50010"},
        {3, "50020"},
        {5, "50040"},
    };
    for (const auto& t : texts) {
        m_wndToolBar.SetButtonText(t.button, GetLngString("General", t.key));
        m_wndToolBar.SetButtonStyle(t.button, m_wndToolBar.GetButtonStyle(t.button) | TBSTYLE_AUTOSIZE);
    }
}

void CMainFrame::LocalizeMenu()
{
    SetWindowLngText(m_hWnd, "General", "20070");
    if (!m_defaultMenu.m_hMenu)
        return;
    static const char* const topKeys[] = {"10000", "12000", "14000", "15000", "16000", "18000"};
    for (UINT i = 0; i < 6; ++i)
        SetMenuLngText(&m_defaultMenu, i, MF_BYPOSITION, "General", topKeys[i], 1);
    // The arrange-by popup: position 3 of the View menu.
    if (CMenu* view = m_defaultMenu.GetSubMenu(2))
        if (CThemedMenu* viewMenu = CThemedMenu::FromHandleThemed(view->m_hMenu))
            SetMenuLngText(viewMenu, 3, MF_BYPOSITION, "General", "14040", 0);
    // Image -1: the item has none.
    static const struct
    {
        UINT id;
        const char* section;
        const char* key;
        int image;
    } items[] = {
        {ID_NEW, "General", "10010", 0},
        {ID_IMPORT, "General", "10110", 1},
        {ID_LOGGING, "General", "10050", -1},
        {ID_APP_EXIT, "General", "10100", 2},
        {ID_CHECK_ALL, "General", "12030", -1},
        {ID_UNCHECK_ALL, "General", "12040", -1},
        {ID_SEARCH, "General", "12090", 3},
        {ID_DELETE, "General", "12050", 4},
        {ID_PROPERTIES, "General", "12060", 5},
        {ID_VIEW_TOOLBAR, "General", "14050", -1},
        {ID_VIEW_STATUS_BAR, "General", "14060", -1},
        {ID_ARRANGE_NAME, "General", "40732", -1},
        {ID_ARRANGE_DESCRIPTION, "General", "40510", -1},
        {ID_ARRANGE_VERSION, "General", "40741", -1},
        {ID_ARRANGE_MANUFACTURER, "Farnoch", "24030", -1},
        {ID_ARRANGE_PATH, "General", "30740", -1},
        {ID_CHOOSE_COLS_ON_VIEW, "General", "14100", -1},
        {ID_ALL_PLUGINS, "General", "14090", -1},
        {ID_REFRESH, "General", "14070", 6},
        {ID_EXECUTE_ON_START, "General", "15050", -1},
        {ID_EXECUTE_PREVIEW, "General", "15060", 7},
        {ID_EXECUTE_NOW, "General", "50040", 8},
        {ID_PREFERENCES, "General", "16100", 12},
        {ID_HELPME, "General", "18010", 13},
        {ID_PIRT_WEBSITE, "General", "18020", 14},
        {ID_ABOUT, "General", "18100", 15},
    };
    for (const auto& item : items) {
        SetMenuLngText(&m_defaultMenu, item.id, MF_BYCOMMAND, item.section, item.key, 0);
        if (item.image >= 0)
            m_defaultMenu.SetItemImage(item.id, &m_menuImages, item.image);
    }
    // The bar measures its items anew for the new texts.
    m_wndMenuBar.SetMenu(nullptr);
}

void CMainFrame::RestorePlacement()
{
    if (!RestoreWindowPlacement(m_hWnd, GetIniPath(INI_FARNOCH), "Flags"))
        return;
    // The menu colours follow the placed window's screen.
    CThemedMenu::OnSysColorChange();
    CThemedMenu::ApplyMenuBarBrush(m_defaultMenu.m_hMenu);
    ::InvalidateRect(nullptr, nullptr, TRUE);
}

void CMainFrame::OnClose()
{
    // The run writes into its progress window until it ends; it shows or
    // closes the program itself afterwards.
    CTolmiraView* view = View();
    if (view && view->IsRunning())
        return;
    SaveWindowPlacement(m_hWnd, GetIniPath(INI_FARNOCH), "Flags");
    FwSaveBarState(this, "Farnoch");
    CThemedFrameWnd::OnClose();
}

LRESULT CMainFrame::OnUpdateStatusCount(WPARAM, LPARAM)
{
    CString text = GetLngString("Farnoch", "24150");
    if (text.IsEmpty())
        text = "not found";
    CTolmiraView* view = View();
    int rows = view ? view->GetListCtrl().GetItemCount() : 0;
    CString pane;
    pane.Format("%d %s", rows, (const char*)text);
    if (m_wndStatusBar.m_hWnd) {
        m_wndStatusBar.SetPaneText(0, pane);
        m_wndStatusBar.UpdateWindow();
    }
    return 0;
}

void CMainFrame::OnNew()
{
    ShowWindow(SW_HIDE);
    if (!RunProgramAndWait(SuiteProgramCommand("Holberin.exe", CString())))
        ::MessageBoxA(m_hWnd, GetLngString("Farnoch", "24140"), AppTitle(), MB_OK | MB_ICONEXCLAMATION);
    CTolmiraView* view = View();
    if (view)
        view->RefreshPluginList();
    ShowWindow(SW_SHOW);
}

void CMainFrame::OnLogging()
{
    // The opposite of what the check mark shows: one click always flips it.
    WriteCustomLogging(!FarnochYes("Preferences", "CustomLogging"));
}

void CMainFrame::OnUpdateLogging(CCmdUI* pCmdUI) { pCmdUI->SetCheck(FarnochYes("Preferences", "CustomLogging")); }

void CMainFrame::OnRefresh()
{
    CTolmiraView* view = View();
    if (view)
        view->RefreshPluginList();
}

void CMainFrame::OnDeleteOnStartup()
{
    // The main cleaner may still want the start-up cleaner.
    ToggleStartupCleaning(INI_FARNOCH, INI_BRISVANE);
}

void CMainFrame::OnUpdateDeleteOnStartup(CCmdUI* pCmdUI) { pCmdUI->SetCheck(IsStartupCleaningOn(INI_FARNOCH)); }

void CMainFrame::OnPreferences()
{
    CPreferencesDlg sheet(GetLngString("General", "30200"), nullptr, 0);
    RunPreferencesSheet(sheet, this);
}

void CMainFrame::OnHelp() { g_pfnTolmiraWinExec(SuiteHelpCommand(), SW_SHOWNORMAL); }

void CMainFrame::OnWebSite()
{
    g_pfnTolmiraShellExecute(m_hWnd, "open", SuiteWebPage(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CMainFrame::OnAbout()
{
    CAboutDlg about(this);
    about.DoModal();
}

BOOL CMainFrame::OnBarCheck(UINT nID)
{
    CWnd* bar = GetDlgItem(nID);
    if (!bar || !bar->m_hWnd)
        return FALSE;
    bar->ShowWindow(bar->IsWindowVisible() ? SW_HIDE : SW_SHOW);
    RecalcLayout();
    return TRUE;
}

void CMainFrame::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CWnd* bar = GetDlgItem(pCmdUI->m_nID);
    pCmdUI->SetCheck(bar && bar->m_hWnd && bar->IsWindowVisible());
}

CString CMainFrame::ToolTipText(UINT nID) const
{
    for (const auto& tip : kToolTips)
        if (tip.id == nID)
            return GetLngString("General", tip.key);
    return CString();
}

BOOL CMainFrame::HandleKey(UINT key)
{
    BOOL ctrl = ::GetKeyState(VK_CONTROL) < 0;
    CTolmiraView* view = View();
    switch (key) {
    case VK_DELETE:
        if (view)
            view->OnDelete();
        return TRUE;
    case 'A':
        if (ctrl && view)
            view->SelectAllRows();
        return TRUE;
    case 'F':
        if (ctrl && view)
            view->OnSearch();
        return TRUE;
    case 'N':
        if (!ctrl)
            return FALSE;
        OnNew();
        return TRUE;
    case VK_F5:
        if (view)
            view->RefreshPluginList();
        return TRUE;
    }
    return FALSE;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    // Only keys meant for this window: typing in a dialog the program shows
    // beside it must not delete plug-ins.
    if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)) &&
        HandleKey((UINT)pMsg->wParam))
        return TRUE;
    if (m_wndMenuBar.TranslateFrameMessage(pMsg))
        return TRUE;
    return CThemedFrameWnd::PreTranslateMessage(pMsg);
}
