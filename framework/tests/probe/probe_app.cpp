// A program built like the suite's programs: only an application object.
// Its main frame is closed at the first idle time; the exit code
// tells the test which steps ran.
#include "fw/framework.h"

namespace {
int g_steps = 0;

class CProbeFrame : public CFrameWnd
{
public:
    ~CProbeFrame() override { g_steps |= 4; }
};

class CProbeApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        CWinApp::InitInstance();
        g_steps |= 1;
        if (m_lpCmdLine && strstr(m_lpCmdLine, "refuse"))
            return FALSE;
        CProbeFrame* pFrame = new CProbeFrame;
        if (!pFrame->Create(nullptr, "probe"))
            return FALSE;
        m_pMainWnd = pFrame;
        return TRUE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        // The loop is idle: close the main window, which must end the program.
        g_steps |= 2;
        if (m_pMainWnd)
            m_pMainWnd->PostMessage(WM_CLOSE);
        return CWinApp::OnIdle(lCount);
    }
    int ExitInstance() override { return 100 + g_steps; }
};

CProbeApp theApp;
} // namespace
