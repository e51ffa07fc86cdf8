#include "Tolmira.h"
#include "TolmiraDoc.h"
#include "TolmiraView.h"
#include "MainFrm.h"
#include "resource.h"
#include "themedmenu.h"

CTolmiraApp::CTolmiraApp() : CWinApp("Tolmira") {}

BOOL CTolmiraApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&icc);
    CWinApp::InitInstance();

    SetRegistryKey("Talvery\\Pirt");
    CThemedMenu::SelectTheme(8);
    CThemedMenu::SetDimmedIcons(0);
#ifdef TOLMIRA_MENU_ADDITIONS
    CThemedMenu::Options().bMeasureBarMenu = TRUE;
    CThemedMenu::Options().bMenuEdgeLine = TRUE;
#endif

    FwAddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTolmiraDoc), RUNTIME_CLASS(CMainFrame),
                                            RUNTIME_CLASS(CTolmiraView)));

    CCommandLineInfo cmdInfo;
    FwParseCommandLine(cmdInfo);
    // The program has no document files: arguments are ignored.
    cmdInfo.m_nShellCommand = CCommandLineInfo::FileNew;
    if (!FwProcessShellCommand(cmdInfo) || !m_pMainWnd)
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int CTolmiraApp::ExitInstance()
{
    FwFreeDocTemplates();
    return CWinApp::ExitInstance();
}
