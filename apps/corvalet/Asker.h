// Every question, message and file dialog of the plug-in builder goes
// through one asker, so the tests can answer them from a script.
#pragma once
#include "fw/framework.h"

class CAsker
{
public:
    virtual ~CAsker() {}
    // A message box on owner (may be NULL); returns IDYES, IDNO, IDCANCEL, IDOK.
    virtual int Ask(HWND owner, const CString& text, const CString& caption, UINT type);
    // The open dialog; FALSE when cancelled.
    virtual BOOL ChooseOpenFile(HWND owner, const CString& filter, CString& path);
    // An open dialog for any file (the item editor's browse); FALSE when cancelled.
    virtual BOOL ChooseAnyFile(HWND owner, const CString& filter, CString& path);
    // The save dialog starting in folder; FALSE when cancelled.
    virtual BOOL ChooseSaveFile(HWND owner, const CString& filter, const CString& folder, CString& path);
};

// The asker in use (the real dialogs unless a test set another).
CAsker& GetAsker();
// Sets the asker; NULL goes back to the real dialogs.
void SetAsker(CAsker* asker);

// A language text shown in a message box through the asker, captioned with
// the program's name unless another caption is given.
int AskLng(HWND owner, const char* section, const char* key, UINT type, const CString& caption = CString());
