#include "Tolmira.h"
#include "TolmiraDoc.h"
#include "TolmiraView.h"
#include "MainFrm.h"
#include "resource.h"
#include "themedmenu.h"

CTolmiraApp::CTolmiraApp() : CSuiteApp("Tolmira") {}

BOOL CTolmiraApp::InitInstance()
{
    StartUp(ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS);
#ifdef TOLMIRA_MENU_ADDITIONS
    CThemedMenu::Options().bMeasureBarMenu = TRUE;
    CThemedMenu::Options().bMenuEdgeLine = TRUE;
#endif
    FwAddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTolmiraDoc), RUNTIME_CLASS(CMainFrame),
                                            RUNTIME_CLASS(CTolmiraView)));
    // The program has no document files: arguments are ignored.
    return ShowMainWindow(FALSE);
}
