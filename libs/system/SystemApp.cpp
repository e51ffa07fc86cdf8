// The application object of system.dll: nothing runs at load beyond the
// framework's own start-up.
#include "fw/framework.h"
#include "fw/app.h"

class CsystemApp : public CWinApp
{
public:
    CsystemApp() : CWinApp("system") {}
    BOOL InitInstance() override
    {
        CWinApp::InitInstance();
        return TRUE;
    }
};

static CsystemApp theApp;
FW_DLL_APP(theApp)
