#include "Brisvane.h"
#include "BrisvaneDoc.h"
#include "BrisvaneView.h"
#include "MainFrm.h"
#include "resource.h"

CBrisvaneApp::CBrisvaneApp() : CSuiteApp("Brisvane") {}

BOOL CBrisvaneApp::InitInstance()
{
    StartUp(ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS);
    FwAddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CBrisvaneDoc), RUNTIME_CLASS(CMainFrame),
                                            RUNTIME_CLASS(CBrisvaneView)));
    // There are no document files: an argument never opens anything.
    return ShowMainWindow(FALSE);
}
