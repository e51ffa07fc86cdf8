// The main frame of the trace cleaner.
#include "MainFrm.h"
#include "fw/handle.h"
#include "Settings.h"
#include "resource.h"
#include "aboutdlg.h"
#include "placement.h"
#include "startupcleaner.h"
#include "HelpFunctions.h"
#include "smallicons.h"
#include "pathlayer.h"
#include "PreferencesDlg.h"
#include "ManageCookies.h"

PFN_WINEXEC g_pfnWinExec = ::WinExec;
PFN_SHELLEXECUTE g_pfnShellExecute = ::ShellExecuteA;

namespace {

const UINT kIndicators[] = {IDS_INDICATOR_PIRT, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const UINT kMenuIconIds[] = {146, 149, 150, 151, 148, 147, 144, 145, 173};

// A browser's folder counts only when it is a real, existing folder. The
// folder getters hand back only what the path layer accepted as a base
// folder (else ""): a second check would cost another pass over every
// protected folder, the largest part of the start-up under Wine.
BOOL FolderFound(const CString& folder)
{
    if (folder.IsEmpty())
        return FALSE;
    DWORD attr = ::GetFileAttributesA(folder);
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL KeyOpens(const char* path)
{
    CRegKeyHandle key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ | KEY_WRITE, key.Receive()) != ERROR_SUCCESS)
        return FALSE;
    return TRUE;
}

} // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CThemedFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CThemedFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_COMMAND(ID_PREFERENCES, OnPreferences)
    ON_COMMAND(ID_LOGGING, OnLogging)
    ON_UPDATE_COMMAND_UI(ID_LOGGING, OnUpdateLogging)
    ON_COMMAND(ID_EXECUTE_ON_START, OnDeleteOnStartup)
    ON_UPDATE_COMMAND_UI(ID_EXECUTE_ON_START, OnUpdateDeleteOnStartup)
    ON_COMMAND(ID_ABOUT, OnAbout)
    ON_COMMAND(ID_COOKIE_MANAGER, OnCookieManager)
    ON_COMMAND(ID_HELPME, OnHelp)
    ON_COMMAND(ID_PIRT_WEBSITE, OnWebSite)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_loggingEnabled(0) {}

CMainFrame::~CMainFrame() {}

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
    ReadMenuStates();
    SetMenuTexts();
    RestorePlacement();
    DetectBrowsers();
    return 0;
}

void CMainFrame::SetToolBarTexts()
{
    m_wndToolBar.SetButtonText(0, GetLngString("General", "50040"));
    m_wndToolBar.SetButtonText(2, GetLngString("General", "18000"));
    m_wndToolBar.SetButtonStyle(0, m_wndToolBar.GetButtonStyle(0) | TBSTYLE_AUTOSIZE);
    m_wndToolBar.SetButtonStyle(2, m_wndToolBar.GetButtonStyle(2) | TBSTYLE_AUTOSIZE);
}

void CMainFrame::ReadMenuStates() { m_loggingEnabled = ReadYes("Preferences", "SystemLogging"); }

void CMainFrame::SetMenuTexts()
{
    SetWindowLngText(m_hWnd, "General", "20050");
    m_wndStatusBar.SetPaneText(0, GetLngString("General", "30900"));

    if (!m_defaultMenu.m_hMenu)
        return;
    static const char* const topKeys[] = {"10000", "12000", "14000", "15000", "16000", "18000"};
    for (UINT i = 0; i < 6; ++i)
        SetMenuLngText(&m_defaultMenu, i, MF_BYPOSITION, "General", topKeys[i], 1);
    // Image: the index in kMenuIconIds, -1 when the item has none.
    static const struct
    {
        UINT id;
        const char* section;
        const char* key;
        int image;
    } items[] = {
        {ID_LOGGING, "General", "10050", -1},
        {ID_APP_EXIT, "General", "10100", 0},
        {ID_CHECK_ALL, "General", "12030", -1},
        {ID_UNCHECK_ALL, "General", "12040", -1},
        {ID_VIEW_TOOLBAR, "General", "14050", -1},
        {ID_VIEW_STATUS_BAR, "General", "14060", -1},
        {ID_SHOW_BROWSER_TRACES, "Brisvane", "30020", -1},
        {ID_SHOW_SYSTEM_TRACES, "Brisvane", "30025", -1},
        {ID_EXECUTE_ON_START, "General", "15050", -1},
        {ID_EXECUTE_NOW, "General", "50040", 1},
        {ID_COOKIE_MANAGER, "Brisvane", "30010", 8},
        {ID_PREFERENCES, "General", "16100", 4},
        {ID_HELPME, "General", "18010", 5},
        {ID_PIRT_WEBSITE, "General", "18020", 6},
        {ID_ABOUT, "General", "18100", 7},
    };
    for (size_t i = 0; i < sizeof(items) / sizeof(items[0]); ++i) {
        SetMenuLngText(&m_defaultMenu, items[i].id, MF_BYCOMMAND, items[i].section, items[i].key, 0);
        if (items[i].image >= 0) {
            CSmallIcon icon(kMenuIconIds[items[i].image]);
            m_defaultMenu.SetItemIcon(items[i].id, icon);
        }
    }
    // The bar measures its items anew for the new texts.
    m_wndMenuBar.SetMenu(nullptr);
}

void CMainFrame::RestorePlacement()
{
    if (!RestoreWindowPlacement(m_hWnd, INI_BRISVANE, "Placement"))
        return;
    // The menu colours follow the placed window's screen.
    CThemedMenu::OnSysColorChange();
    CThemedMenu::ApplyMenuBarBrush(m_defaultMenu.m_hMenu);
    ::InvalidateRect(nullptr, nullptr, TRUE);
}

void CMainFrame::DetectBrowsers()
{
    if (!ReadYes("Preferences", "AllBrowsersFoundOnStartUp"))
        return;
    int ie = KeyOpens("Software\\Microsoft\\Internet Explorer");
    int opera = KeyOpens("Software\\Opera Software");
    int firefox, chrome, safari;
    {
        CProtectedFolderPass pass;
        CHelpFunctions help;
        firefox = FolderFound(help.GetFirefoxDir(0, CString(""), 0));
        chrome = FolderFound(help.GetChromeDir());
        safari = FolderFound(help.GetSafariDir(0));
    }
    WriteYesNo("Preferences", "DeleteIETraces", ie);
    WriteYesNo("Preferences", "DeleteOperaTraces", opera);
    WriteYesNo("Preferences", "DeleteFirefoxTraces", firefox);
    WriteYesNo("Preferences", "DeleteChromeTraces", chrome);
    WriteYesNo("Preferences", "DeleteSafariTraces", safari);
}

BOOL CMainFrame::ReadMenuSwitch(const char* key) { return ReadYes("Preferences", key); }

void CMainFrame::OnClose()
{
    SaveWindowPlacement(m_hWnd, INI_BRISVANE, "Placement");
    FwSaveBarState(this, "Brisvane");
    CThemedFrameWnd::OnClose();
}

void CMainFrame::OnLogging()
{
    // The new state is the opposite of what the check mark shows, so one
    // click always flips what the user sees, whatever changed the file.
    m_loggingEnabled = !ReadMenuSwitch("SystemLogging");
    WriteYesNo("Preferences", "SystemLogging", m_loggingEnabled);
    WriteYesNo("Preferences", "BrowserLogging", m_loggingEnabled);
}

void CMainFrame::OnUpdateLogging(CCmdUI* pCmdUI) { pCmdUI->SetCheck(ReadMenuSwitch("SystemLogging")); }

void CMainFrame::OnDeleteOnStartup()
{
    // The recent-work cleaner may still want the start-up cleaner.
    ToggleStartupCleaning(INI_BRISVANE, INI_FARNOCH);
}

void CMainFrame::OnUpdateDeleteOnStartup(CCmdUI* pCmdUI) { pCmdUI->SetCheck(IsStartupCleaningOn(INI_BRISVANE)); }

void CMainFrame::OnPreferences()
{
    CPreferencesDlg sheet(GetLngString("General", "30200"), nullptr, 0);
    RunPreferencesSheet(sheet, this);
}

void CMainFrame::OnCookieManager()
{
    CManageCookies manager(nullptr);
    manager.DoModal();
}

void CMainFrame::OnAbout()
{
    CAboutDlg about(this);
    about.DoModal();
}

void CMainFrame::OnHelp() { g_pfnWinExec(SuiteHelpCommand(), SW_SHOWNORMAL); }

void CMainFrame::OnWebSite() { g_pfnShellExecute(m_hWnd, "open", SuiteWebPage(), nullptr, nullptr, SW_SHOWNORMAL); }

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
    switch (nID) {
    case ID_CHECK_ALL: return GetLngString("General", "12030");
    case ID_UNCHECK_ALL: return GetLngString("General", "12040");
    case ID_EXECUTE_NOW: return GetLngString("General", "50040");
    case ID_ABOUT: return GetLngString("General", "18100");
    case ID_HELPME: return GetLngString("General", "18000");
    default: return CString();
    }
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_wndMenuBar.TranslateFrameMessage(pMsg))
        return TRUE;
    return CThemedFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    return CThemedFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
