#include "Brisvane.h"
#include "BrisvaneDoc.h"
#include "BrisvaneView.h"
#include "MainFrm.h"
#include "resource.h"

CBrisvaneApp::CBrisvaneApp() : CWinApp("Brisvane") {}

BOOL CBrisvaneApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&icc);
    CWinApp::InitInstance();

    SetRegistryKey("Talvery\\Pirt");
    CThemedMenu::SelectTheme(8);
    CThemedMenu::SetDimmedIcons(0);

    FwAddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CBrisvaneDoc), RUNTIME_CLASS(CMainFrame),
                                            RUNTIME_CLASS(CBrisvaneView)));

    CCommandLineInfo cmdInfo;
    FwParseCommandLine(cmdInfo);
    // There are no document files: an argument never opens anything.
    cmdInfo.m_nShellCommand = CCommandLineInfo::FileNew;
    if (!FwProcessShellCommand(cmdInfo) || !m_pMainWnd)
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int CBrisvaneApp::ExitInstance()
{
    FwFreeDocTemplates();
    return CWinApp::ExitInstance();
}
