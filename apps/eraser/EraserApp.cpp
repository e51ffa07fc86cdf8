#include "EraserApp.h"
#include "EraserDlg.h"

CEraserApp theApp;

CEraserApp::CEraserApp() {}

BOOL CEraserApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&icc);
    CWinApp::InitInstance();
    CThemedMenu::SelectTheme(8);
    CThemedMenu::SetDimmedIcons(0);

    // The program is its main dialog: it ends when the dialog closes. The
    // menu hook is suspended until the dialog is about to show.
    CThemedMenu::SuspendMenuHook();
    CEraserDlg* pDlg = new CEraserDlg(nullptr);
    m_pMainWnd = pDlg;
    pDlg->DoModal();
    m_pMainWnd = nullptr;
    delete pDlg;
    return FALSE;
}
