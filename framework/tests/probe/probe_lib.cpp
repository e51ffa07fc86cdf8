// A library built like the suite's libraries: its application object starts
// with the load, and refuses the load when the refusal file exists.
#include "fw/framework.h"

namespace {
int g_inits = 0;

class CProbeLibApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        CWinApp::InitInstance();
        ++g_inits;
        return GetFileAttributesA("fw-probe-refuse.flag") == INVALID_FILE_ATTRIBUTES;
    }
};

CProbeLibApp theApp;
} // namespace

FW_DLL_APP(theApp)

extern "C" __declspec(dllexport) int ProbeInitCount() { return g_inits; }
extern "C" __declspec(dllexport) int ProbeIsLibrary() { return theApp.m_bIsLibrary && AfxGetApp() != &theApp; }
