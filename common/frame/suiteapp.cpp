#include "suiteapp.h"
#include "themedmenu.h"

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
