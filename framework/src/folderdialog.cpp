// CFolderDialog.
#include "fw/folderdialog.h"
#include "fw/wnd.h"
#include <shlobj.h>

CFolderDialog::CFolderDialog(const char* pszTitle, UINT nFlags, CWnd* pParentWnd)
    : m_strTitle(pszTitle), m_nFlags(nFlags), m_pParentWnd(pParentWnd)
{
}

INT_PTR CFolderDialog::DoModal()
{
    char display[MAX_PATH] = "";
    BROWSEINFOA bi = {};
    bi.hwndOwner = SafeHwnd(m_pParentWnd);
    bi.pszDisplayName = display;
    bi.lpszTitle = m_strTitle;
    bi.ulFlags = m_nFlags;
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
    if (!pidl)
        return IDCANCEL;
    char path[MAX_PATH] = "";
    BOOL ok = ::SHGetPathFromIDListA(pidl, path);
    // The shell's own release of its item list (the task allocator's free,
    // without loading COM for it).
    ::ILFree(pidl);
    if (!ok)
        return IDCANCEL;
    m_strPath = path;
    return IDOK;
}
