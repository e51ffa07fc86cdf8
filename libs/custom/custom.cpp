// The library's application object: nothing to do at load beyond the
// framework's own start-up.
#include "CustomFunctions.h"

class CcustomApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        CWinApp::InitInstance();
        return TRUE;
    }
};

static CcustomApp theApp;
FW_DLL_APP(theApp)
