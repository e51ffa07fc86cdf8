#include "Tolmira.h"
#include "TolmiraDoc.h"
#include "TolmiraView.h"
#include "MainFrm.h"
#include "resource.h"
#include "themedmenu.h"
#include "language.h"

CTolmiraApp::CTolmiraApp() : CSuiteApp("Tolmira") {}

CTolmiraApp::~CTolmiraApp() = default;

BOOL CTolmiraApp::InitInstance()
{
    StartUp(ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS);
#ifdef TOLMIRA_MENU_ADDITIONS
    CThemedMenu::Options().bMeasureBarMenu = TRUE;
    CThemedMenu::Options().bMenuEdgeLine = TRUE;
#endif
    FwAddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTolmiraDoc), RUNTIME_CLASS(CMainFrame),
                                            RUNTIME_CLASS(CTolmiraView)));
    // The plug-ins are read while the window is made; the view's first fill
    // takes them.
    m_firstPlugins.reset(new CListedPluginsReader(CurrentPluginListQuery(!IsGermanChosen())));
    // The program has no document files: arguments are ignored.
    const BOOL shown = ShowMainWindow(FALSE);
    m_firstPlugins.reset();
    return shown;
}

int CTolmiraApp::ExitInstance()
{
    m_firstPlugins.reset();
    return CSuiteApp::ExitInstance();
}

BOOL CTolmiraApp::TakeFirstPlugins(const CPluginListQuery& query, std::vector<CListedPlugin>& rows)
{
    return m_firstPlugins && m_firstPlugins->Take(query, rows);
}
