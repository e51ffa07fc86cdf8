// CFileDialog: the common open / save dialog, Explorer style, with a hook that
// reports selection changes to a virtual member.
#pragma once

#include "fw/fwdefs.h"
#include "fw/string.h"

#include <commdlg.h>

class FW_API CFileDialog
{
public:
    // The filter uses '|' between its parts ("Text|*.txt|All|*.*||").
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog();

    // IDOK or IDCANCEL.
    virtual INT_PTR DoModal();

    // CommDlgExtendedError: why the last dialog ended with IDCANCEL.
    static DWORD GetExtendedError();

    // Full path / name of the (first) selected file after DoModal.
    CString GetPathName() const;
    CString GetFileName() const;

    // Iterates a selection in m_ofn.lpstrFile: with OFN_ALLOWMULTISELECT and
    // OFN_EXPLORER the buffer holds the folder and the names, NUL-separated.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // While the dialog is shown: the current folder and the text of the
    // file-name box (CDM_GETFOLDERPATH, CDM_GETSPEC); empty otherwise.
    CString GetFolderPath() const;
    CString GetSpec() const;

    // The Explorer dialog window while it is shown, else NULL.
    HWND GetDialogHwnd() const { return m_hWndDialog; }

    OPENFILENAMEA m_ofn;

protected:
    // Called whenever the selection in the dialog changes (CDN_SELCHANGE).
    virtual void OnFileNameChange();

private:
    static UINT_PTR CALLBACK HookProc(HWND hHookDlg, UINT message, WPARAM wParam, LPARAM lParam);
    CString SendTextMessage(UINT message) const;

    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    HWND m_hWndDialog;
    CString m_strFilter; // '|' replaced by NUL, owned here for m_ofn
    CString m_strDefExt;
    char m_szFileName[MAX_PATH];
    char m_szFileTitle[MAX_PATH];

    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;
};
