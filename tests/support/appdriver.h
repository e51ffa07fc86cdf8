// A document program's application object run in-process by a test: started
// and ended as the program's start does, its main frame sent commands as menu
// clicks send them, and the command states asked as the bars ask them.
#pragma once
#include <gtest/gtest.h>
#include "testsupport.h"

namespace pirt_test {

// Records what a command's update handler set (-1: nothing).
class CRecordingCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        enabled = bOn ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { checked = nCheck; }
    int enabled = -1;
    int checked = -1;
};

// A test fixture's part that drives the application object app with the main
// frame class TFrame. throughApp: the pumped messages go through the
// application's PreTranslateMessage first, as in the program's message loop
// (the frame's keys among them).
template <class TFrame>
class CAppDriver
{
public:
    CAppDriver(CWinApp& app, bool throughApp) : m_app(app), m_throughApp(throughApp) {}
    CAppDriver(const CAppDriver&) = delete;
    CAppDriver& operator=(const CAppDriver&) = delete;

    TFrame* StartApp()
    {
        EXPECT_TRUE(m_app.InitInstance());
        Pump();
        m_frame = dynamic_cast<TFrame*>(m_app.m_pMainWnd);
        EXPECT_NE(m_frame, nullptr);
        return m_frame;
    }
    // Destroys the main window (if any) and ends the application object.
    void CloseApp()
    {
        if (m_app.m_pMainWnd && m_app.m_pMainWnd->m_hWnd)
            m_app.m_pMainWnd->DestroyWindow();
        Pump();
        m_app.ExitInstance();
        m_app.m_pMainWnd = nullptr;
        m_frame = nullptr;
    }
    void Command(UINT id) { m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    CRecordingCmdUI Update(UINT id)
    {
        CRecordingCmdUI ui;
        ui.m_nID = id;
        m_frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui;
    }
    void Pump(DWORD ms = 50) { PumpMessages(ms, m_throughApp ? &m_app : nullptr); }

    CWinApp& m_app;
    TFrame* m_frame = nullptr;

private:
    const bool m_throughApp;
};

} // namespace pirt_test
