#include "multifiledialog.h"
#include "services.h"

#include <cderr.h>
#include <cstring>

CMultiFileDialog::CMultiFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                                   DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd), m_pszNames(nullptr),
      m_pszFolder(nullptr), m_bParsed(FALSE)
{
}

CMultiFileDialog::~CMultiFileDialog() { FreeBuffers(); }

void CMultiFileDialog::FreeBuffers()
{
    delete[] m_pszNames;
    delete[] m_pszFolder;
    m_pszNames = nullptr;
    m_pszFolder = nullptr;
    m_bParsed = FALSE;
}

INT_PTR CMultiFileDialog::DoModal()
{
    FreeBuffers();
    INT_PTR result = CFileDialog::DoModal();
    if (result == IDCANCEL && GetExtendedError() == FNERR_BUFFERTOOSMALL && m_pszNames != nullptr)
        return IDOK;
    return result;
}

void CMultiFileDialog::OnFileNameChange()
{
    HWND hDlg = GetDialogHwnd();
    if (hDlg != nullptr) {
        // Both lengths include the terminating NUL.
        LRESULT specLength = SendMessageA(hDlg, CDM_GETSPEC, 0, 0);
        LRESULT folderLength = SendMessageA(hDlg, CDM_GETFOLDERPATH, 0, 0);
        if (specLength > 0 && folderLength > 0 && (LRESULT)m_ofn.nMaxFile < specLength + folderLength) {
            FreeBuffers();
            // One spare byte: the split list needs a second terminator when
            // the text is a single name without quotes.
            m_pszNames = new char[specLength + 2];
            memset(m_pszNames, 0, specLength + 2);
            SendMessageA(hDlg, CDM_GETSPEC, (WPARAM)(specLength + 1), reinterpret_cast<LPARAM>(m_pszNames));
            m_pszFolder = new char[folderLength + 1];
            memset(m_pszFolder, 0, folderLength + 1);
            SendMessageA(hDlg, CDM_GETFOLDERPATH, (WPARAM)(folderLength + 1), reinterpret_cast<LPARAM>(m_pszFolder));
        } else {
            FreeBuffers();
        }
    }
    CFileDialog::OnFileNameChange();
}

// Rewrites the selection text in place into a list of names, each ended by a
// NUL, the list ended by a second NUL. Quoted names lose their quotes; a text
// without any quote is one name.
void CMultiFileDialog::ParseNames()
{
    char* read = m_pszNames;
    char* write = m_pszNames;
    if (strchr(m_pszNames, '"') == nullptr) {
        size_t length = strlen(m_pszNames);
        while (length > 0 && m_pszNames[length - 1] == ' ')
            --length;
        m_pszNames[length] = '\0';
        m_pszNames[length + 1] = '\0';
        m_bParsed = TRUE;
        return;
    }
    while (*read != '\0') {
        if (*read != '"') {
            ++read; // blanks between names
            continue;
        }
        ++read;
        char* begin = write;
        while (*read != '\0' && *read != '"')
            *write++ = *read++;
        if (*read == '"')
            ++read;
        if (write != begin)
            *write++ = '\0';
    }
    *write = '\0'; // quotes took two bytes per name: room for the second NUL
    m_bParsed = TRUE;
}

POSITION CMultiFileDialog::GetStartPosition()
{
    if (m_pszNames == nullptr)
        return CFileDialog::GetStartPosition();
    if (!m_bParsed)
        ParseNames();
    return m_pszNames[0] != '\0' ? reinterpret_cast<POSITION>(m_pszNames) : nullptr;
}

CString CMultiFileDialog::GetNextPathName(POSITION& pos)
{
    if (m_pszNames == nullptr)
        return CFileDialog::GetNextPathName(pos);
    ASSERT(pos != nullptr && m_bParsed);
    const char* name = reinterpret_cast<const char*>(pos);
    CString path = WithTrailingBackslash(m_pszFolder);
    path += name;
    const char* next = name + strlen(name) + 1;
    pos = *next != '\0' ? reinterpret_cast<POSITION>(const_cast<char*>(next)) : nullptr;
    return path;
}
