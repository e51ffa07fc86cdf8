// The main frame of the trace cleaner.
#include "MainFrm.h"
#include "fw/handle.h"
#include "Settings.h"
#include "resource.h"
#include "startupcleaner.h"
#include "HelpFunctions.h"
#include "smallicons.h"
#include "pathlayer.h"
#include "PreferencesDlg.h"
#include "ManageCookies.h"

namespace {

const UINT kIndicators[] = {IDS_INDICATOR_PIRT, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const UINT kMenuIconIds[] = {146, 149, 150, 151, 148, 147, 144, 145, 173};

const SuiteButtonText kButtonTexts[] = {{0, "50040"}, {2, "18000"}};

const char* const kTopMenuKeys[] = {"10000", "12000", "14000", "15000", "16000", "18000"};

// Image -1: the item has none.
const SuiteMenuText kMenuTexts[] = {
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

const SuiteToolTip kToolTips[] = {
    {ID_CHECK_ALL, "General", "12030"}, {ID_UNCHECK_ALL, "General", "12040"}, {ID_EXECUTE_NOW, "General", "50040"},
    {ID_ABOUT, "General", "18100"},     {ID_HELPME, "General", "18000"},
};

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

IMPLEMENT_DYNCREATE(CMainFrame, CSuiteFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CSuiteFrame)
    ON_WM_CREATE()
    ON_COMMAND(ID_PREFERENCES, OnPreferences)
    ON_COMMAND(ID_LOGGING, OnLogging)
    ON_UPDATE_COMMAND_UI(ID_LOGGING, OnUpdateLogging)
    ON_COMMAND(ID_EXECUTE_ON_START, OnDeleteOnStartup)
    ON_UPDATE_COMMAND_UI(ID_EXECUTE_ON_START, OnUpdateDeleteOnStartup)
    ON_COMMAND(ID_ABOUT, OnAbout)
    ON_COMMAND(ID_COOKIE_MANAGER, OnCookieManager)
    ON_COMMAND(ID_HELPME, OnHelp)
    ON_COMMAND(ID_PIRT_WEBSITE, OnWebSite)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : CSuiteFrame(INI_BRISVANE, "Flags", "Brisvane"), m_loggingEnabled(0) {}

CMainFrame::~CMainFrame() {}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSuiteFrame::OnCreate(lpCreateStruct) == -1 ||
        !CreateBars(IDR_MAINFRAME, kIndicators, (int)std::size(kIndicators), TRUE))
        return -1;
    ReadMenuStates();
    SetTexts();
    RestorePlacement();
    DetectBrowsers();
    return 0;
}

void CMainFrame::ReadMenuStates() { m_loggingEnabled = ReadYes("Preferences", "SystemLogging"); }

void CMainFrame::SetTexts()
{
    SetButtonTexts(kButtonTexts, std::size(kButtonTexts));
    SetWindowLngText(m_hWnd, "General", "20050");
    m_wndStatusBar.SetPaneText(0, GetLngString("General", "30900"));
    SetMenuTexts(kTopMenuKeys, std::size(kTopMenuKeys), kMenuTexts, std::size(kMenuTexts), kMenuIconIds);
}

void CMainFrame::DetectBrowsers()
{
    if (!ReadYes("Preferences", "AllBrowsersFoundOnStartUp"))
        return;
    int ie = KeyOpens("Software\\Microsoft\\Internet Explorer");
    int opera = KeyOpens("Software\\Opera Software");
    int firefox, chrome, safari;
    {
        CRunPass run;
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
    ToggleStartupCleaning(INI_BRISVANE, INI_FARNOCH, m_hWnd);
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

CString CMainFrame::ToolTipText(UINT nID) const { return ToolTipFrom(kToolTips, std::size(kToolTips), nID); }
