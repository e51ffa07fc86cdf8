// The plug-in builder in-process, started from a fresh profile with the
// program's real language files; questions and file dialogs are answered by
// a script.
#pragma once
#include <gtest/gtest.h>
#include "appdriver.h"
#include "pirt.h"
#include "Asker.h"
#include "Corvalet.h"
#include "CorvaletDoc.h"
#include "CorvaletView.h"
#include "CorvaletList.h"
#include "MainFrm.h"
#include "resource.h"
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Answers questions and file dialogs from queues and records what was asked.
class CScriptedAsker : public CAsker
{
public:
    std::deque<int> answers;   // for Ask; when empty: IDOK, or IDNO for a question
    std::deque<CString> files; // for the file dialogs; "" (or none left) cancels
    std::vector<CString> asked;
    std::vector<CString> captions; // of each question, as asked
    int fileDialogs = 0;
    // Runs while the next question is open, as a modal box lets the world go on.
    std::function<void()> whileAsking;

    int Ask(HWND, const CString& text, const CString& caption, UINT type) override
    {
        asked.push_back(text);
        captions.push_back(caption);
        if (whileAsking) {
            std::function<void()> run;
            run.swap(whileAsking);
            run();
        }
        if (!answers.empty()) {
            int a = answers.front();
            answers.pop_front();
            return a;
        }
        return (type & 0x0F) == MB_OK ? IDOK : IDNO;
    }
    BOOL NextFile(CString& path)
    {
        ++fileDialogs;
        if (files.empty())
            return FALSE;
        path = files.front();
        files.pop_front();
        return !path.IsEmpty();
    }
    BOOL ChooseOpenFile(HWND, const CString&, CString& path) override { return NextFile(path); }
    BOOL ChooseAnyFile(HWND, const CString&, CString& path) override { return NextFile(path); }
    BOOL ChooseSaveFile(HWND, const CString&, const CString&, CString& path) override { return NextFile(path); }
    // Was a message starting with the text of (section, key) shown?
    bool Showed(const char* section, const char* key) const
    {
        CString text = GetLngString(section, key);
        for (const CString& a : asked)
            if (!text.IsEmpty() && a.Left(text.GetLength()) == text)
                return true;
        return false;
    }
};

extern CCorvaletApp g_app;

// Dispatches what arrives for ms milliseconds (a quit message ends nothing here).
void PumpFor(DWORD ms);

class CorvaletTest : public ::testing::Test, public pirt_test::CAppDriver<CMainFrame>
{
protected:
    CorvaletTest() : CAppDriver(g_app, true) {}
    void SetUp() override;
    void TearDown() override;

    CMainFrame* Frame() const { return m_frame; }
    CCorvaletDoc* Doc() const { return m_frame ? m_frame->GetDoc() : nullptr; }
    CCorvaletList* List() const { return m_frame ? m_frame->GetList() : nullptr; }
    CCorvaletView* Form() const { return m_frame ? m_frame->GetForm() : nullptr; }
    CString Title() const;
    void AddRow(const char* path, const char* kind, const char* action, const char* detail);
    // A key press as the message loop delivers it, with Ctrl held or not.
    void PressKey(HWND target, UINT vk, bool ctrl);
    std::string FileText(const char* path) const;

    CScriptedAsker m_asker;
    std::unique_ptr<pirt_test::CScratchFolder> m_folder;
};
