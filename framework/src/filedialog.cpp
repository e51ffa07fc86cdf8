#include "fw/filedialog.h"
#include "fw/wnd.h"
#include "fw/app.h"

#include <cstring>

namespace {

// The common dialog library loads the print spooler, which looks for printers
// as it loads: a program pays for that at its first file dialog, not at every
// start, so the library is loaded when first needed.
FARPROC ComDlgProc(const char* name) { return FwLateProc("comdlg32.dll", name); }

typedef BOOL(WINAPI* FileDialogFn)(LPOPENFILENAMEA);
typedef DWORD(WINAPI* ExtendedErrorFn)();

} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName, DWORD dwFlags,
                         const char* lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd), m_hWndDialog(nullptr)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_szFileName[0] = '\0';
    m_szFileTitle[0] = '\0';
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = MAX_PATH;
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpfnHook = HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    if (lpszDefExt != nullptr) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName != nullptr)
        lstrcpynA(m_szFileName, lpszFileName, MAX_PATH);
    if (lpszFilter != nullptr) {
        // The buffer keeps the terminator of the last part: the list ends in
        // two NULs whether or not the caller closed it with "||".
        m_strFilter = lpszFilter;
        m_strFilter += '|';
        int length = m_strFilter.GetLength();
        char* buffer = m_strFilter.GetBuffer(length + 1);
        for (int i = 0; i < length; ++i)
            if (buffer[i] == '|')
                buffer[i] = '\0';
        buffer[length] = '\0';
        m_strFilter.ReleaseBuffer(length);
        m_ofn.lpstrFilter = m_strFilter;
    }
}

CFileDialog::~CFileDialog() {}

INT_PTR CFileDialog::DoModal()
{
    ASSERT(m_ofn.lpstrFile != nullptr && m_ofn.nMaxFile > 0);
    if (m_pParentWnd != nullptr)
        m_ofn.hwndOwner = SafeHwnd(m_pParentWnd);
    else if (m_ofn.hwndOwner == nullptr)
        m_ofn.hwndOwner = GetActiveWindow();
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    FileDialogFn show =
        reinterpret_cast<FileDialogFn>(ComDlgProc(m_bOpenFileDialog ? "GetOpenFileNameA" : "GetSaveFileNameA"));
    BOOL ok = show != nullptr && show(&m_ofn);
    m_hWndDialog = nullptr;
    return ok ? IDOK : IDCANCEL;
}

DWORD CFileDialog::GetExtendedError()
{
    ExtendedErrorFn error = reinterpret_cast<ExtendedErrorFn>(ComDlgProc("CommDlgExtendedError"));
    return error != nullptr ? error() : 0;
}

CString CFileDialog::GetPathName() const
{
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) != 0) {
        POSITION pos = GetStartPosition();
        return pos != nullptr ? GetNextPathName(pos) : CString();
    }
    return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const
{
    if (m_ofn.lpstrFileTitle != nullptr && m_ofn.lpstrFileTitle[0] != '\0')
        return CString(m_ofn.lpstrFileTitle);
    CString path = GetPathName();
    return path.Mid(path.ReverseFind('\\') + 1);
}

POSITION CFileDialog::GetStartPosition() const
{
    if (m_ofn.lpstrFile == nullptr || m_ofn.lpstrFile[0] == '\0')
        return nullptr;
    return reinterpret_cast<POSITION>(m_ofn.lpstrFile);
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    ASSERT(pos != nullptr);
    const char* start = m_ofn.lpstrFile;
    const char* end = start + m_ofn.nMaxFile; // never read past the caller's buffer
    const char* p = reinterpret_cast<const char*>(pos);
    const char delimiter = (m_ofn.Flags & OFN_EXPLORER) ? '\0' : ' ';

    if (p == start) {
        if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) == 0) {
            pos = nullptr;
            return CString(start);
        }
        // The first part is the folder; a lone full path has nothing after it.
        while (p < end && *p != delimiter && *p != '\0')
            ++p;
        ++p;
        if (p >= end || *p == '\0') {
            pos = nullptr;
            return CString(start, (int)(p - 1 - start));
        }
    }

    const char* folderEnd = start;
    while (folderEnd < end && *folderEnd != delimiter && *folderEnd != '\0')
        ++folderEnd;
    CString path(start, (int)(folderEnd - start));

    const char* nameEnd = p;
    while (nameEnd < end && *nameEnd != delimiter && *nameEnd != '\0')
        ++nameEnd;
    CString name(p, (int)(nameEnd - p));

    // Explorer lists end in two NULs; an old-style list ends at its NUL.
    const char* next = nameEnd + 1;
    if (nameEnd >= end || (*nameEnd == '\0' && delimiter != '\0') || next >= end || *next == '\0')
        pos = nullptr;
    else
        pos = reinterpret_cast<POSITION>(const_cast<char*>(next));

    if (path.IsEmpty() || path[path.GetLength() - 1] != '\\')
        path += '\\';
    return path + name;
}

CString CFileDialog::SendTextMessage(UINT message) const
{
    if (m_hWndDialog == nullptr)
        return CString();
    LRESULT length = SendMessageA(m_hWndDialog, message, 0, 0);
    if (length <= 0)
        return CString();
    CString text;
    char* buffer = text.GetBuffer((int)length + 1);
    buffer[0] = '\0';
    SendMessageA(m_hWndDialog, message, (WPARAM)(length + 1), reinterpret_cast<LPARAM>(buffer));
    buffer[length] = '\0';
    text.ReleaseBuffer();
    return text;
}

CString CFileDialog::GetFolderPath() const { return SendTextMessage(CDM_GETFOLDERPATH); }

CString CFileDialog::GetSpec() const { return SendTextMessage(CDM_GETSPEC); }

void CFileDialog::OnFileNameChange() {}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hHookDlg, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const OPENFILENAMEA* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        CFileDialog* self = reinterpret_cast<CFileDialog*>(ofn->lCustData);
        SetWindowLongPtrA(hHookDlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hWndDialog = GetParent(hHookDlg);
        return 0;
    }
    CFileDialog* self = reinterpret_cast<CFileDialog*>(GetWindowLongPtrA(hHookDlg, GWLP_USERDATA));
    if (self == nullptr)
        return 0;
    if (message == WM_NOTIFY) {
        const OFNOTIFYA* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
        if (notify->hdr.code == CDN_SELCHANGE)
            self->OnFileNameChange();
        else if (notify->hdr.code == CDN_INITDONE)
            self->m_hWndDialog = GetParent(hHookDlg);
    } else if (message == WM_DESTROY) {
        self->m_hWndDialog = nullptr;
    }
    return 0;
}
