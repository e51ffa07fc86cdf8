#include "suiteapp.h"
#include "themedmenu.h"
#include "suiteframe.h"

namespace {
// Said by the main window once its message loop runs (the failure may come
// while a popup paints).
void TellMenuHookFailed()
{
    CWnd* main = AfxGetMainWnd();
    if (main && main->m_hWnd)
        ::PostMessageA(main->m_hWnd, WM_SUITE_MENUHOOKFAILED, 0, 0);
}
} // namespace

int CSuiteApp::ExitInstance()
{
    FwFreeDocTemplates();
    return CWinApp::ExitInstance();
}

void CSuiteApp::StartUp(DWORD icc)
{
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof(controls);
    controls.dwICC = icc;
    InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    SetRegistryKey("Talvery\\Pirt");
    CThemedMenu::SelectTheme(8);
    CThemedMenu::SetDimmedIcons(0);
    CThemedMenu::SetMenuHookFailureHandler(TellMenuHookFailed);
}

BOOL CSuiteApp::ShowMainWindow(BOOL openArgument)
{
    CCommandLineInfo cmdInfo;
    FwParseCommandLine(cmdInfo);
    if (!openArgument)
        cmdInfo.m_nShellCommand = CCommandLineInfo::FileNew;
    CThemedMenu::SuspendMenuHook();
    BOOL shown = FwProcessShellCommand(cmdInfo) && m_pMainWnd;
    if (shown) {
        m_pMainWnd->ShowWindow(SW_SHOW);
        m_pMainWnd->UpdateWindow();
    }
    CThemedMenu::ResumeMenuHook();
    return shown;
}
