// CFolderDialog: the shell's folder browser (SHBrowseForFolder).
#pragma once
#include "fw/fwdefs.h"
#include "fw/string.h"

class FW_API CFolderDialog
{
public:
    // nFlags are BIF_* flags; the new dialog style needs OLE on the thread.
    CFolderDialog(const char* pszTitle, UINT nFlags, CWnd* pParentWnd = nullptr);

    // IDOK when a file-system folder was chosen, else IDCANCEL.
    INT_PTR DoModal();
    // The chosen folder (at most MAX_PATH characters) after IDOK.
    CString GetPathName() const { return m_strPath; }

private:
    CString m_strTitle;
    UINT m_nFlags;
    CWnd* m_pParentWnd;
    CString m_strPath;
};
