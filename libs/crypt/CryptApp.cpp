// The library's application object: nothing happens at load beyond the
// framework's own initialisation.
#include "fw/framework.h"
#include "fw/app.h"

class CcryptApp : public CWinApp
{
public:
    virtual BOOL InitInstance();
};

BOOL CcryptApp::InitInstance()
{
    CWinApp::InitInstance();
    return TRUE;
}

CcryptApp theApp;
FW_DLL_APP(theApp)
