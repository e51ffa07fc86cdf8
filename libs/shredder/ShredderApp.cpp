// The library's application object: nothing happens at load beyond the
// framework's own initialisation.
#include "fw/framework.h"
#include "fw/app.h"

class CshredderApp : public CWinApp
{
public:
    virtual BOOL InitInstance();
};

BOOL CshredderApp::InitInstance()
{
    CWinApp::InitInstance();
    return TRUE;
}

CshredderApp theApp;
FW_DLL_APP(theApp)
