// CMultiFileDialog: a file-open dialog whose multiple selection is not limited
// by the caller's name buffer. When the selection does not fit, the dialog keeps
// the selection text and its folder in buffers of its own and still reports OK.
#pragma once

#include "fw/framework.h"
#include "fw/filedialog.h"

class CMultiFileDialog : public CFileDialog
{
public:
    CMultiFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
                     DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* lpszFilter = nullptr,
                     CWnd* pParentWnd = nullptr);
    virtual ~CMultiFileDialog();

    virtual INT_PTR DoModal() override;

    // Iterate the selection: from the own buffers when the selection did not
    // fit the caller's buffer, else from the caller's buffer.
    POSITION GetStartPosition();
    CString GetNextPathName(POSITION& pos);

protected:
    virtual void OnFileNameChange() override;

private:
    void FreeBuffers();
    void ParseNames();

    char* m_pszNames;  // selection text ("a" "b" ...), or null
    char* m_pszFolder; // folder of that selection, or null
    BOOL m_bParsed;    // m_pszNames has been split into NUL-separated names
};
