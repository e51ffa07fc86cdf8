// CFile, CStdioFile and CFileFind over the Win32 file API.
#include "fw/file.h"
#include <cstring>
#include <cstdlib>

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {
CString FileNameOf(const CString& path)
{
    int i = -1;
    for (int k = path.GetLength() - 1; k >= 0; --k)
        if (path[k] == '\\' || path[k] == '/' || path[k] == ':') {
            i = k;
            break;
        }
    return path.Mid(i + 1);
}

CString TitleOf(const CString& name)
{
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}
} // namespace

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_nOpenFlags(0) {}
CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_nOpenFlags(0) {}

CFile::~CFile()
{
    if (IsOpen())
        ::CloseHandle(m_hFile);
}

BOOL CFile::Open(const char* pszFileName, UINT nOpenFlags, DWORD* pError)
{
    if (pError)
        *pError = ERROR_SUCCESS;
    if (IsOpen())
        Close();
    m_nOpenFlags = nOpenFlags;
    if (!pszFileName || !*pszFileName) {
        if (pError)
            *pError = ERROR_INVALID_NAME;
        return FALSE;
    }
    m_strFileName = pszFileName;

    DWORD access;
    switch (nOpenFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default:
        if (pError)
            *pError = ERROR_INVALID_PARAMETER;
        return FALSE;
    }

    DWORD share;
    switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default:
        if (pError)
            *pError = ERROR_INVALID_PARAMETER;
        return FALSE;
    }

    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};

    DWORD disposition;
    if (nOpenFlags & modeCreate)
        disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    else
        disposition = OPEN_EXISTING;

    HANDLE h = ::CreateFileA(pszFileName, access, share, &sa, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (pError)
            *pError = ::GetLastError();
        return FALSE;
    }
    m_hFile = h;
    return TRUE;
}

void CFile::Close()
{
    if (IsOpen())
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_strFileName.Empty();
}

void CFile::Abort() { Close(); }

UINT CFile::Read(void* pBuf, UINT nCount)
{
    ASSERT(IsOpen());
    DWORD nRead = 0;
    if (!IsOpen() || nCount == 0)
        return 0;
    if (!::ReadFile(m_hFile, pBuf, nCount, &nRead, nullptr))
        return 0;
    return nRead;
}

BOOL CFile::Write(const void* pBuf, UINT nCount)
{
    ASSERT(IsOpen());
    if (!IsOpen())
        return FALSE;
    if (nCount == 0)
        return TRUE;
    DWORD nWritten = 0;
    if (!::WriteFile(m_hFile, pBuf, nCount, &nWritten, nullptr))
        return FALSE;
    if (nWritten != nCount) {
        ::SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return TRUE;
}

BOOL CFile::Flush() { return IsOpen() && ::FlushFileBuffers(m_hFile); }

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    ASSERT(IsOpen());
    if (!IsOpen())
        return (ULONGLONG)-1;
    DWORD method = nFrom == end ? FILE_END : nFrom == current ? FILE_CURRENT : FILE_BEGIN;
    LARGE_INTEGER li, out;
    li.QuadPart = lOff;
    if (!::SetFilePointerEx(m_hFile, li, &out, method))
        return (ULONGLONG)-1;
    return (ULONGLONG)out.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    if (!IsOpen())
        return 0;
    LARGE_INTEGER zero, out;
    zero.QuadPart = 0;
    if (!::SetFilePointerEx(m_hFile, zero, &out, FILE_CURRENT))
        return 0;
    return (ULONGLONG)out.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    if (!IsOpen())
        return 0;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        return 0;
    return (ULONGLONG)size.QuadPart;
}

BOOL CFile::SetLength(ULONGLONG nNewLen)
{
    ASSERT(IsOpen());
    if (!IsOpen())
        return FALSE;
    ULONGLONG pos = GetPosition();
    if (Seek((LONGLONG)nNewLen, begin) == (ULONGLONG)-1)
        return FALSE;
    BOOL ok = ::SetEndOfFile(m_hFile);
    // Keep the position where it was unless it now lies past the end.
    Seek((LONGLONG)(pos < nNewLen ? pos : nNewLen), begin);
    return ok;
}

CString CFile::GetFileName() const { return FileNameOf(m_strFileName); }
CString CFile::GetFileTitle() const { return TitleOf(GetFileName()); }

// ---------------------------------------------------------------- CStdioFile

namespace {
const UINT kStdioBuf = 4096;
}

CStdioFile::CStdioFile() : m_pBuf(nullptr), m_nBufLen(0), m_nBufPos(0) {}

CStdioFile::~CStdioFile() { free(m_pBuf); }

BOOL CStdioFile::Open(const char* pszFileName, UINT nOpenFlags, DWORD* pError)
{
    m_nBufLen = m_nBufPos = 0;
    return CFile::Open(pszFileName, nOpenFlags, pError);
}

void CStdioFile::Close()
{
    m_nBufLen = m_nBufPos = 0;
    CFile::Close();
}
void CStdioFile::Abort()
{
    m_nBufLen = m_nBufPos = 0;
    CFile::Abort();
}

void CStdioFile::DropBuffer()
{
    if (m_nBufPos < m_nBufLen && IsOpen())
        CFile::Seek(-(LONGLONG)(m_nBufLen - m_nBufPos), current);
    m_nBufLen = m_nBufPos = 0;
}

BOOL CStdioFile::FillBuffer()
{
    if (!m_pBuf) {
        m_pBuf = (char*)malloc(kStdioBuf);
        if (!m_pBuf)
            return FALSE;
    }
    m_nBufPos = 0;
    m_nBufLen = CFile::Read(m_pBuf, kStdioBuf);
    return m_nBufLen > 0;
}

UINT CStdioFile::Read(void* pBuf, UINT nCount)
{
    UINT nDone = 0;
    if (m_nBufPos < m_nBufLen) {
        UINT n = m_nBufLen - m_nBufPos;
        if (n > nCount)
            n = nCount;
        memcpy(pBuf, m_pBuf + m_nBufPos, n);
        m_nBufPos += n;
        nDone = n;
    }
    if (nDone < nCount)
        nDone += CFile::Read((char*)pBuf + nDone, nCount - nDone);
    return nDone;
}

BOOL CStdioFile::Write(const void* pBuf, UINT nCount)
{
    DropBuffer();
    return CFile::Write(pBuf, nCount);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    DropBuffer();
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const { return CFile::GetPosition() - (m_nBufLen - m_nBufPos); }

BOOL CStdioFile::SetLength(ULONGLONG nNewLen)
{
    DropBuffer();
    return CFile::SetLength(nNewLen);
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    if (!IsOpen())
        return FALSE;
    BOOL bAny = FALSE;
    for (;;) {
        if (m_nBufPos >= m_nBufLen && !FillBuffer())
            return bAny;
        bAny = TRUE;
        char* start = m_pBuf + m_nBufPos;
        UINT avail = m_nBufLen - m_nBufPos;
        char* nl = (char*)memchr(start, '\n', avail);
        UINT take = nl ? (UINT)(nl - start) : avail;
        rString += CString(start, (int)take);
        m_nBufPos += take;
        if (nl) {
            ++m_nBufPos; // the '\n' itself
            break;
        }
    }
    int n = rString.GetLength();
    if (n > 0 && rString[n - 1] == '\r')
        rString.Delete(n - 1);
    return TRUE;
}

BOOL CStdioFile::WriteString(const char* psz)
{
    if (!psz)
        return TRUE;
    if (!(m_nOpenFlags & typeText))
        return Write(psz, (UINT)strlen(psz));
    CString text;
    for (const char* p = psz; *p; ++p) {
        if (*p == '\n')
            text += '\r';
        text += *p;
    }
    return Write((const char*)text, (UINT)text.GetLength());
}

// ----------------------------------------------------------------- CFileFind

CFileFind::CFileFind() : m_hFind(INVALID_HANDLE_VALUE), m_bHaveNext(FALSE), m_bHaveCurrent(FALSE)
{
    memset(&m_found, 0, sizeof(m_found));
    memset(&m_next, 0, sizeof(m_next));
}

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_bHaveNext = m_bHaveCurrent = FALSE;
}

BOOL CFileFind::FindFile(const char* pszName, DWORD)
{
    Close();
    CString pattern = (pszName && *pszName) ? pszName : "*.*";
    m_hFind = ::FindFirstFileA(pattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    m_bHaveNext = TRUE;

    // The root is the folder part of the pattern; a relative pattern without
    // a folder is rooted at the current directory.
    int i = -1;
    for (int k = pattern.GetLength() - 1; k >= 0; --k)
        if (pattern[k] == '\\' || pattern[k] == '/' || pattern[k] == ':') {
            i = k;
            break;
        }
    if (i >= 0) {
        m_strRoot = pattern.Left(i + 1);
    } else {
        char cwd[MAX_PATH + 1];
        DWORD n = ::GetCurrentDirectoryA(sizeof(cwd), cwd);
        m_strRoot = (n > 0 && n < sizeof(cwd)) ? CString(cwd) : CString();
        if (!m_strRoot.IsEmpty() && m_strRoot[m_strRoot.GetLength() - 1] != '\\')
            m_strRoot += '\\';
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    ASSERT(m_hFind != INVALID_HANDLE_VALUE);
    if (m_hFind == INVALID_HANDLE_VALUE || !m_bHaveNext)
        return FALSE;
    m_found = m_next;
    m_bHaveCurrent = TRUE;
    m_bHaveNext = ::FindNextFileA(m_hFind, &m_next);
    return m_bHaveNext;
}

CString CFileFind::GetFileName() const { return m_bHaveCurrent ? CString(m_found.cFileName) : CString(); }

CString CFileFind::GetFilePath() const
{
    if (!m_bHaveCurrent)
        return CString();
    CString root = m_strRoot;
    if (root.GetLength() && root[root.GetLength() - 1] == '/')
        root.SetAt(root.GetLength() - 1, '\\');
    return root + m_found.cFileName;
}

CString CFileFind::GetFileTitle() const { return TitleOf(GetFileName()); }

CString CFileFind::GetRoot() const { return m_strRoot; }

ULONGLONG CFileFind::GetLength() const
{
    if (!m_bHaveCurrent)
        return 0;
    return ((ULONGLONG)m_found.nFileSizeHigh << 32) | m_found.nFileSizeLow;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTime) const
{
    if (!m_bHaveCurrent || !pTime)
        return FALSE;
    *pTime = m_found.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* pTime) const
{
    if (!m_bHaveCurrent || !pTime)
        return FALSE;
    *pTime = m_found.ftCreationTime;
    return TRUE;
}

BOOL CFileFind::GetLastAccessTime(FILETIME* pTime) const
{
    if (!m_bHaveCurrent || !pTime)
        return FALSE;
    *pTime = m_found.ftLastAccessTime;
    return TRUE;
}

DWORD CFileFind::GetAttributes() const { return m_bHaveCurrent ? m_found.dwFileAttributes : 0; }

BOOL CFileFind::IsDots() const
{
    if (!m_bHaveCurrent || !IsDirectory())
        return FALSE;
    const char* n = m_found.cFileName;
    return (n[0] == '.' && n[1] == 0) || (n[0] == '.' && n[1] == '.' && n[2] == 0);
}
