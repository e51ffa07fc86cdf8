// The application object that the suite's document programs build on: the
// start they share (common controls, the registry profile, the menu theme)
// and the main window opened through the program's one document template.
#pragma once
#include "fw/framework.h"

class CSuiteApp : public CWinApp
{
public:
    explicit CSuiteApp(const char* appName) : CWinApp(appName) {}

    // Frees the document templates.
    int ExitInstance() override;

protected:
    // Registers the common-control classes icc, starts the application, sets
    // the registry profile (Talvery\Pirt) and the suite's menu theme.
    void StartUp(DWORD icc);
    // After the template was added: opens the document the command line
    // names (when openArgument; else always a new one) and shows the main
    // window, with the menu hook suspended meanwhile. FALSE when there is
    // none.
    BOOL ShowMainWindow(BOOL openArgument);
};
