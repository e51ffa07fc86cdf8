#include "Corvalet.h"
#include "CorvaletDoc.h"
#include "CorvaletView.h"
#include "MainFrm.h"
#include "resource.h"

CCorvaletApp::CCorvaletApp() : CWinApp("Corvalet") {}

BOOL CCorvaletApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&icc);
    CWinApp::InitInstance();

    SetRegistryKey("Talvery\\Pirt");
    LoadStdProfileSettings(4);
    CThemedMenu::SelectTheme(8);
    CThemedMenu::SetDimmedIcons(0);

    FwAddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CCorvaletDoc), RUNTIME_CLASS(CMainFrame),
                                            RUNTIME_CLASS(CCorvaletView)));
    RegisterShellFileTypes(TRUE);

    // A plug-in named on the command line (as the shell and the recent-work
    // cleaner pass it) is opened; one that cannot be read ends the program.
    CCommandLineInfo cmdInfo;
    FwParseCommandLine(cmdInfo);
    if (!FwProcessShellCommand(cmdInfo) || !m_pMainWnd)
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    m_pMainWnd->DragAcceptFiles(TRUE);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int CCorvaletApp::ExitInstance()
{
    FwFreeDocTemplates();
    return CWinApp::ExitInstance();
}
