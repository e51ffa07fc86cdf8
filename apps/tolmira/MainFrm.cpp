// The main frame of the recent-work cleaner.
#include "MainFrm.h"
#include "PreferencesDlg.h"
#include "TolmiraView.h"
#include "Settings.h"
#include "resource.h"
#include "smallicons.h"
#include "startprogram.h"
#include "startupcleaner.h"

namespace {

const UINT kIndicators[] = {IDS_INDICATOR_PIRT, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const UINT kMenuIconIds[] = {153, 161, 163, 152, 151, 147, 162, 154, 156, 150, 148, 149, 155, 160, 157, 158};

const SuiteButtonText kButtonTexts[] = {{0, "50000"}, {2, "50010"}, {3, "50020"}, {5, "50040"}};

const char* const kTopMenuKeys[] = {"10000", "12000", "14000", "15000", "16000", "18000"};

// Image -1: the item has none.
const SuiteMenuText kMenuTexts[] = {
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

const SuiteToolTip kToolTips[] = {
    {ID_NEW, "General", "10010"},       {ID_DELETE, "General", "12050"},          {ID_PROPERTIES, "General", "12060"},
    {ID_CHECK_ALL, "General", "12030"}, {ID_UNCHECK_ALL, "General", "12040"},     {ID_EXECUTE_NOW, "General", "50040"},
    {ID_ABOUT, "General", "18100"},     {ID_EXECUTE_PREVIEW, "General", "15060"}, {ID_HELPME, "General", "18000"},
};

} // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CSuiteFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CSuiteFrame)
    ON_WM_CREATE()
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
    ON_MESSAGE(WM_STATUS_COUNT, OnUpdateStatusCount)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : CSuiteFrame(INI_FARNOCH, "Flags", "Farnoch") {}

CMainFrame::~CMainFrame() {}

CTolmiraView* CMainFrame::View() const { return dynamic_cast<CTolmiraView*>(GetActiveView()); }

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSuiteFrame::OnCreate(lpCreateStruct) == -1 ||
        !CreateBars(IDR_MAINFRAME, kIndicators, (int)std::size(kIndicators), TRUE))
        return -1;
    SetTexts();
    RestorePlacement();
    return 0;
}

void CMainFrame::SetTexts()
{
    SetButtonTexts(kButtonTexts, std::size(kButtonTexts));
    SetWindowLngText(m_hWnd, "General", "20070");
    // The arrange-by popup: position 3 of the View menu.
    if (CMenu* view = m_defaultMenu.GetSubMenu(2))
        if (CThemedMenu* viewMenu = CThemedMenu::FromHandleThemed(view->m_hMenu))
            SetMenuLngText(viewMenu, 3, MF_BYPOSITION, "General", "14040", 0);
    SetMenuTexts(kTopMenuKeys, std::size(kTopMenuKeys), kMenuTexts, std::size(kMenuTexts), kMenuIconIds);
}

void CMainFrame::OnClose()
{
    // The run writes into its progress window until it ends; it shows or
    // closes the program itself afterwards.
    CTolmiraView* view = View();
    if (view && view->IsRunning())
        return;
    CSuiteFrame::OnClose();
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
    ToggleStartupCleaning(INI_FARNOCH, INI_BRISVANE, m_hWnd);
}

void CMainFrame::OnUpdateDeleteOnStartup(CCmdUI* pCmdUI) { pCmdUI->SetCheck(IsStartupCleaningOn(INI_FARNOCH)); }

void CMainFrame::OnPreferences()
{
    CPreferencesDlg sheet(GetLngString("General", "30200"), nullptr, 0);
    RunPreferencesSheet(sheet, this);
}

CString CMainFrame::ToolTipText(UINT nID) const { return ToolTipFrom(kToolTips, std::size(kToolTips), nID); }

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
    return CSuiteFrame::PreTranslateMessage(pMsg);
}
