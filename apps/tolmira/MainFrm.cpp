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
const struct { UINT id; const char* key; } kToolTips[] = {
    {ID_NEW, "10010"}, {ID_DELETE, "12050"}, {ID_PROPERTIES, "12060"}, {ID_CHECK_ALL, "12030"},
    {ID_UNCHECK_ALL, "12040"}, {ID_EXECUTE_NOW, "50040"}, {ID_ABOUT, "18100"},
    {ID_EXECUTE_PREVIEW, "15060"}, {ID_HELPME, "18000"},
};

} // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
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

CMainFrame::CMainFrame()
{
}

CMainFrame::~CMainFrame()
{
}

CTolmiraView* CMainFrame::View() const
{
    return dynamic_cast<CTolmiraView*>(GetActiveView());
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    SetMainFrameCreation(cs);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_LIST | 0x10,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_BORDER_BOTTOM | CBRS_FLYBY |
                                   CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_BORDER_TOP, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, sizeof(kIndicators) / sizeof(kIndicators[0])))
        return -1;
    m_wndStatusBar.SetPaneInfo(0, IDS_INDICATOR_PIRT, SBPS_STRETCH | SBPS_NOBORDERS, 100);

    SetToolBarTexts();
    LocalizeMenu();
    if (RestoreWindowPlacement(m_hWnd, GetIniPath(INI_FARNOCH), "Flags"))
        ::InvalidateRect(nullptr, nullptr, TRUE);
    return 0;
}

void CMainFrame::SetToolBarTexts()
{
    CreateSmallIconList(m_menuImages, kMenuIconIds);
    static const struct { int button; const char* key; } texts[] = {
        {0, "50000"}, {2, "50010"}, {3, "50020"}, {5, "50040"},
    };
    for (const auto& t : texts) {
        m_wndToolBar.SetButtonText(t.button, GetLngString("General", t.key));
        m_wndToolBar.SetButtonStyle(t.button, m_wndToolBar.GetButtonStyle(t.button) | TBSTYLE_AUTOSIZE);
    }
}

void CMainFrame::LocalizeMenu()
{
    SetWindowLngText(m_hWnd, "General", "20070");
    HMENU bar = ::GetMenu(m_hWnd);
    if (!bar)
        return;
    CMenuTextSetter menu(bar);
    static const char* const topKeys[] = {"10000", "12000", "14000", "15000", "16000", "18000"};
    for (UINT i = 0; i < 6; ++i)
        SetMenuLngText(&menu, i, MF_BYPOSITION, "General", topKeys[i], 1);
    // The arrange-by popup: position 3 of the View menu.
    HMENU view = ::GetSubMenu(bar, 2);
    if (view) {
        CMenuTextSetter viewMenu(view);
        SetMenuLngText(&viewMenu, 3, MF_BYPOSITION, "General", "14040", 0);
    }
    static const struct { UINT id; const char* section; const char* key; } items[] = {
        {ID_NEW, "General", "10010"},
        {ID_IMPORT, "General", "10110"},
        {ID_LOGGING, "General", "10050"},
        {ID_APP_EXIT, "General", "10100"},
        {ID_CHECK_ALL, "General", "12030"},
        {ID_UNCHECK_ALL, "General", "12040"},
        {ID_SEARCH, "General", "12090"},
        {ID_DELETE, "General", "12050"},
        {ID_PROPERTIES, "General", "12060"},
        {ID_VIEW_TOOLBAR, "General", "14050"},
        {ID_VIEW_STATUS_BAR, "General", "14060"},
        {ID_ARRANGE_NAME, "General", "40732"},
        {ID_ARRANGE_DESCRIPTION, "General", "40510"},
        {ID_ARRANGE_VERSION, "General", "40741"},
        {ID_ARRANGE_MANUFACTURER, "Farnoch", "24030"},
        {ID_ARRANGE_PATH, "General", "30740"},
        {ID_CHOOSE_COLS_ON_VIEW, "General", "14100"},
        {ID_ALL_PLUGINS, "General", "14090"},
        {ID_REFRESH, "General", "14070"},
        {ID_EXECUTE_ON_START, "General", "15050"},
        {ID_EXECUTE_PREVIEW, "General", "15060"},
        {ID_EXECUTE_NOW, "General", "50040"},
        {ID_PREFERENCES, "General", "16100"},
        {ID_HELPME, "General", "18010"},
        {ID_PIRT_WEBSITE, "General", "18020"},
        {ID_ABOUT, "General", "18100"},
    };
    for (const auto& item : items)
        SetMenuLngText(&menu, item.id, MF_BYCOMMAND, item.section, item.key, 0);
    ::DrawMenuBar(m_hWnd);
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
    CFrameWnd::OnClose();
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

void CMainFrame::OnUpdateLogging(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(FarnochYes("Preferences", "CustomLogging"));
}

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

void CMainFrame::OnUpdateDeleteOnStartup(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(IsStartupCleaningOn(INI_FARNOCH));
}

void CMainFrame::OnPreferences()
{
    CPreferencesDlg sheet(GetLngString("General", "30200"), nullptr, 0);
    RunPreferencesSheet(sheet, this);
}

void CMainFrame::OnHelp()
{
    g_pfnTolmiraWinExec(SuiteHelpCommand(), SW_SHOWNORMAL);
}

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

BOOL CMainFrame::OnToolTipText(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTTDISPINFOA* info = (NMTTDISPINFOA*)pNMHDR;
    UINT id = (UINT)pNMHDR->idFrom;
    if (info->uFlags & TTF_IDISHWND)
        id = (UINT)::GetDlgCtrlID((HWND)pNMHDR->idFrom);
    // The text must outlive this notification: it is kept in the frame.
    m_strToolTip = ToolTipText(id);
    info->lpszText = (char*)(const char*)m_strToolTip;
    info->hinst = nullptr;
    *pResult = 0;
    return TRUE;
}

BOOL CMainFrame::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* nm = (NMHDR*)lParam;
    if (nm && nm->code == TTN_NEEDTEXTA)
        return OnToolTipText(nm, pResult);
    return CFrameWnd::OnNotify(wParam, lParam, pResult);
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
    return CFrameWnd::PreTranslateMessage(pMsg);
}
