#include "Corvalet.h"
#include "CorvaletDoc.h"
#include "CorvaletView.h"
#include "MainFrm.h"
#include "resource.h"

CCorvaletApp::CCorvaletApp() : CSuiteApp("Corvalet") {}

BOOL CCorvaletApp::InitInstance()
{
    StartUp(ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES);
    LoadStdProfileSettings(4);
    FwAddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CCorvaletDoc), RUNTIME_CLASS(CMainFrame),
                                            RUNTIME_CLASS(CCorvaletView)));
    RegisterShellFileTypes(TRUE);
    // A plug-in named on the command line (as the shell and the recent-work
    // cleaner pass it) is opened; one that cannot be read ends the program.
    if (!ShowMainWindow(TRUE))
        return FALSE;
    m_pMainWnd->DragAcceptFiles(TRUE);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}
