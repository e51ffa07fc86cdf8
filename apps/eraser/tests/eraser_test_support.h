// Helpers of the eraser's tests: a main dialog whose message boxes are
// answered by the test, settings access and window pictures.
#pragma once

#include "EraserDlg.h"
#include "language.h"
#include "services.h"
#include "testsupport.h"

#include <functional>
#include <string>
#include <vector>

namespace eraser_test {
struct Message
{
    CString text;
    CString caption;
    UINT type;
};

// The main dialog, created modeless, with its message boxes recorded and
// answered instead of shown.
class CTestEraserDlg : public CEraserDlg
{
public:
    CTestEraserDlg() : m_confirmAnswer(IDNO) {}

    BOOL CreateModeless() { return Create(IDD, nullptr); }

    std::vector<Message> m_messages;
    std::vector<Message> m_confirmations;
    int m_confirmAnswer;
    // Called while a message box would be shown (the run's progress window
    // is still there for the error boxes).
    std::function<void(const Message&)> m_onMessage;
    // Called with the progress window at the end of a run.
    std::function<void(CEraserProgressDlg*)> m_onRunEnding;

    using CEraserDlg::GetAppName;

protected:
    int ShowMessage(const CString& text, const CString& caption, UINT type) override
    {
        Message m = {text, caption, type};
        m_messages.push_back(m);
        if (m_onMessage)
            m_onMessage(m);
        return IDOK;
    }
    int AskConfirmation(const CString& text, const CString& caption, UINT type) override
    {
        Message m = {text, caption, type};
        m_confirmations.push_back(m);
        return m_confirmAnswer;
    }
    void OnRunEnding(CEraserProgressDlg* pProgress) override
    {
        if (m_onRunEnding)
            m_onRunEnding(pProgress);
    }
};

inline void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

inline void WriteIni(int index, const char* section, const char* key, const char* value)
{
    ::WritePrivateProfileStringA(section, key, value, GetIniPath(index));
}

inline std::string ReadIni(int index, const char* section, const char* key)
{
    char value[256];
    ::GetPrivateProfileStringA(section, key, "<absent>", value, sizeof(value), GetIniPath(index));
    return value;
}

// The visible top-level windows of a thread.
std::vector<HWND> VisibleThreadWindows(DWORD threadId);

} // namespace eraser_test
