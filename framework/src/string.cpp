// CString implementation. Every allocation and free happens here, inside
// framework.dll, so a string built in one module may be freed in another.
#include "fw/string.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <climits>

namespace {
char s_empty[1] = {0};
const char* const kWhitespace = " \t\r\n\v\f";

int SafeLen(const char* psz) { return psz ? (int)strlen(psz) : 0; }
} // namespace

CString::CString() : m_pszData(s_empty), m_nLength(0), m_nAlloc(0) {}

CString::CString(const CString& src) : CString() { Assign(src.m_pszData, src.m_nLength); }

CString::CString(CString&& src) noexcept : m_pszData(src.m_pszData), m_nLength(src.m_nLength), m_nAlloc(src.m_nAlloc)
{
    src.m_pszData = s_empty;
    src.m_nLength = 0;
    src.m_nAlloc = 0;
}

CString::CString(const char* psz) : CString()
{
    // MFC lets a MAKEINTRESOURCE id stand for a string resource.
    if (psz && IS_INTRESOURCE(psz))
        LoadString((UINT)(UINT_PTR)psz);
    else
        Assign(psz, SafeLen(psz));
}

CString::CString(const char* pch, int nLength) : CString() { Assign(pch, pch && nLength > 0 ? nLength : 0); }

CString::CString(char ch, int nRepeat) : CString()
{
    if (nRepeat > 0) {
        Reserve(nRepeat);
        memset(m_pszData, ch, nRepeat);
        m_nLength = nRepeat;
        m_pszData[m_nLength] = 0;
    }
}

CString::~CString()
{
    if (m_nAlloc)
        free(m_pszData);
}

CString& CString::operator=(const CString& src)
{
    if (this != &src)
        Assign(src.m_pszData, src.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& src) noexcept
{
    if (this != &src) {
        if (m_nAlloc)
            free(m_pszData);
        m_pszData = src.m_pszData;
        m_nLength = src.m_nLength;
        m_nAlloc = src.m_nAlloc;
        src.m_pszData = s_empty;
        src.m_nLength = 0;
        src.m_nAlloc = 0;
    }
    return *this;
}

CString& CString::operator=(const char* psz)
{
    Assign(psz, SafeLen(psz));
    return *this;
}
CString& CString::operator=(char ch)
{
    Assign(&ch, 1);
    return *this;
}
CString& CString::operator+=(const CString& src)
{
    Append(src.m_pszData, src.m_nLength);
    return *this;
}
CString& CString::operator+=(const char* psz)
{
    Append(psz, SafeLen(psz));
    return *this;
}
CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

void CString::Reserve(int nLength)
{
    if (nLength <= m_nAlloc)
        return;
    int nNew = m_nAlloc + m_nAlloc / 2;
    if (nNew < nLength)
        nNew = nLength;
    if (nNew < 15)
        nNew = 15;
    char* p = (char*)malloc((size_t)nNew + 1);
    if (!p)
        abort();
    memcpy(p, m_pszData, (size_t)m_nLength + 1);
    if (m_nAlloc)
        free(m_pszData);
    m_pszData = p;
    m_nAlloc = nNew;
}

void CString::Assign(const char* pch, int nLength)
{
    if (nLength <= 0 || !pch) {
        Empty();
        return;
    }
    // The source may lie inside our own buffer (s = s.Mid(...) style calls).
    if (pch >= m_pszData && pch <= m_pszData + m_nLength) {
        memmove(m_pszData, pch, (size_t)nLength);
    } else {
        if (nLength > m_nAlloc) {
            if (m_nAlloc)
                free(m_pszData);
            m_pszData = s_empty;
            m_nAlloc = 0;
            m_nLength = 0;
            Reserve(nLength);
        }
        memcpy(m_pszData, pch, (size_t)nLength);
    }
    m_nLength = nLength;
    m_pszData[m_nLength] = 0;
}

void CString::Append(const char* pch, int nLength)
{
    if (nLength <= 0 || !pch)
        return;
    if (pch >= m_pszData && pch <= m_pszData + m_nLength && m_nLength + nLength > m_nAlloc) {
        CString tmp(pch, nLength); // appending part of ourselves across a reallocation
        Append(tmp.m_pszData, tmp.m_nLength);
        return;
    }
    Reserve(m_nLength + nLength);
    memmove(m_pszData + m_nLength, pch, (size_t)nLength);
    m_nLength += nLength;
    m_pszData[m_nLength] = 0;
}

void CString::Empty()
{
    if (m_nAlloc)
        free(m_pszData);
    m_pszData = s_empty;
    m_nLength = 0;
    m_nAlloc = 0;
}

void CString::SetAt(int nIndex, char ch)
{
    ASSERT(nIndex >= 0 && nIndex < m_nLength);
    if (nIndex >= 0 && nIndex < m_nLength)
        m_pszData[nIndex] = ch;
}

void CString::FormatV(const char* pszFormat, va_list args)
{
    if (!pszFormat) {
        Empty();
        return;
    }
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n <= 0) {
        Empty();
        return;
    }
    CString result;
    result.Reserve(n);
    vsnprintf(result.m_pszData, (size_t)n + 1, pszFormat, args);
    result.m_nLength = n;
    result.m_pszData[n] = 0;
    *this = static_cast<CString&&>(result);
}

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormat(const char* pszFormat, ...)
{
    CString s;
    va_list args;
    va_start(args, pszFormat);
    s.FormatV(pszFormat, args);
    va_end(args);
    *this += s;
}

char* CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < m_nLength)
        nMinBufLength = m_nLength;
    if (m_nAlloc == 0 || nMinBufLength > m_nAlloc)
        Reserve(nMinBufLength > 0 ? nMinBufLength : 1);
    return m_pszData;
}

char* CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = 0;
    GetBuffer(nNewLength);
    m_nLength = nNewLength;
    m_pszData[m_nLength] = 0;
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (m_nAlloc == 0) {
        m_nLength = 0;
        return;
    }
    if (nNewLength < 0) {
        // Never read past the buffer even when the caller forgot the terminator.
        const void* end = memchr(m_pszData, 0, (size_t)m_nAlloc + 1);
        nNewLength = end ? (int)((const char*)end - m_pszData) : m_nAlloc;
    }
    if (nNewLength > m_nAlloc)
        nNewLength = m_nAlloc;
    m_nLength = nNewLength;
    m_pszData[m_nLength] = 0;
}

int CString::Compare(const char* psz) const { return strcmp(m_pszData, psz ? psz : ""); }
int CString::CompareNoCase(const char* psz) const { return lstrcmpiA(m_pszData, psz ? psz : ""); }
int CString::Collate(const char* psz) const { return lstrcmpA(m_pszData, psz ? psz : ""); }

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0)
        nStart = 0;
    if (nStart >= m_nLength)
        return -1;
    const char* p = (const char*)memchr(m_pszData + nStart, ch, (size_t)(m_nLength - nStart));
    return p ? (int)(p - m_pszData) : -1;
}

int CString::Find(const char* pszSub, int nStart) const
{
    if (!pszSub)
        return -1;
    if (nStart < 0)
        nStart = 0;
    if (nStart > m_nLength)
        return -1;
    const char* p = strstr(m_pszData + nStart, pszSub);
    return p ? (int)(p - m_pszData) : -1;
}

int CString::ReverseFind(char ch) const
{
    for (int i = m_nLength - 1; i >= 0; --i)
        if (m_pszData[i] == ch)
            return i;
    return -1;
}

int CString::FindOneOf(const char* pszCharSet) const
{
    if (!pszCharSet || !*pszCharSet)
        return -1;
    size_t n = strcspn(m_pszData, pszCharSet);
    return (int)n < m_nLength ? (int)n : -1;
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, INT_MAX); }

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst > m_nLength)
        nFirst = m_nLength;
    if (nCount > m_nLength - nFirst)
        nCount = m_nLength - nFirst;
    return CString(m_pszData + nFirst, nCount);
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > m_nLength)
        nCount = m_nLength;
    return CString(m_pszData + m_nLength - nCount, nCount);
}

CString CString::SpanIncluding(const char* pszCharSet) const
{
    return Left(pszCharSet ? (int)strspn(m_pszData, pszCharSet) : 0);
}

CString CString::SpanExcluding(const char* pszCharSet) const
{
    return Left(pszCharSet ? (int)strcspn(m_pszData, pszCharSet) : m_nLength);
}

int CString::Replace(char chOld, char chNew)
{
    int n = 0;
    if (chOld == chNew)
        return 0;
    for (int i = 0; i < m_nLength; ++i)
        if (m_pszData[i] == chOld) {
            m_pszData[i] = chNew;
            ++n;
        }
    return n;
}

int CString::Replace(const char* pszOld, const char* pszNew)
{
    int nOld = SafeLen(pszOld);
    if (nOld == 0)
        return 0;
    int nNew = SafeLen(pszNew);
    CString result;
    int count = 0, pos = 0;
    for (;;) {
        int hit = Find(pszOld, pos);
        if (hit < 0)
            break;
        result.Append(m_pszData + pos, hit - pos);
        result.Append(pszNew, nNew);
        pos = hit + nOld;
        ++count;
    }
    if (count) {
        result.Append(m_pszData + pos, m_nLength - pos);
        *this = static_cast<CString&&>(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    int j = 0;
    for (int i = 0; i < m_nLength; ++i)
        if (m_pszData[i] != ch)
            m_pszData[j++] = m_pszData[i];
    int removed = m_nLength - j;
    if (m_nAlloc) {
        m_nLength = j;
        m_pszData[j] = 0;
    }
    return removed;
}

int CString::Insert(int nIndex, char ch) { return Insert(nIndex, CString(ch, 1)); }

int CString::Insert(int nIndex, const char* psz)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > m_nLength)
        nIndex = m_nLength;
    CString ins(psz); // copy: psz may point into our own buffer
    int n = ins.m_nLength;
    if (n) {
        Reserve(m_nLength + n);
        memmove(m_pszData + nIndex + n, m_pszData + nIndex, (size_t)(m_nLength - nIndex) + 1);
        memcpy(m_pszData + nIndex, ins.m_pszData, (size_t)n);
        m_nLength += n;
    }
    return m_nLength;
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < m_nLength) {
        if (nCount > m_nLength - nIndex)
            nCount = m_nLength - nIndex;
        memmove(m_pszData + nIndex, m_pszData + nIndex + nCount, (size_t)(m_nLength - nIndex - nCount) + 1);
        m_nLength -= nCount;
    }
    return m_nLength;
}

CString& CString::MakeLower()
{
    if (m_nLength)
        CharLowerBuffA(m_pszData, (DWORD)m_nLength);
    return *this;
}

CString& CString::MakeUpper()
{
    if (m_nLength)
        CharUpperBuffA(m_pszData, (DWORD)m_nLength);
    return *this;
}

CString& CString::MakeReverse()
{
    for (int i = 0, j = m_nLength - 1; i < j; ++i, --j) {
        char c = m_pszData[i];
        m_pszData[i] = m_pszData[j];
        m_pszData[j] = c;
    }
    return *this;
}

CString& CString::TrimLeft(const char* pszTargets)
{
    if (!pszTargets || !*pszTargets)
        return *this;
    int n = 0;
    while (n < m_nLength && strchr(pszTargets, m_pszData[n]))
        ++n;
    if (n)
        Delete(0, n);
    return *this;
}

CString& CString::TrimRight(const char* pszTargets)
{
    if (!pszTargets || !*pszTargets)
        return *this;
    int n = m_nLength;
    while (n > 0 && strchr(pszTargets, m_pszData[n - 1]))
        --n;
    if (n < m_nLength) {
        m_nLength = n;
        m_pszData[n] = 0;
    }
    return *this;
}

CString& CString::Trim(const char* pszTargets)
{
    TrimRight(pszTargets);
    return TrimLeft(pszTargets);
}
CString& CString::Trim() { return Trim(kWhitespace); }
CString& CString::TrimLeft() { return TrimLeft(kWhitespace); }
CString& CString::TrimRight() { return TrimRight(kWhitespace); }
CString& CString::Trim(char ch)
{
    char s[2] = {ch, 0};
    return Trim(s);
}
CString& CString::TrimLeft(char ch)
{
    char s[2] = {ch, 0};
    return TrimLeft(s);
}
CString& CString::TrimRight(char ch)
{
    char s[2] = {ch, 0};
    return TrimRight(s);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    // String resources are stored in blocks of 16 counted UTF-16 strings; the
    // A function converts. Grow the buffer until the text fits.
    for (int size = 256; size <= 65536; size *= 2) {
        char* buf = GetBuffer(size);
        int n = ::LoadStringA(hInstance, nID, buf, size + 1);
        if (n <= 0) {
            ReleaseBuffer(0);
            return FALSE;
        }
        if (n < size) {
            ReleaseBuffer(n);
            return TRUE;
        }
    }
    ReleaseBuffer();
    return TRUE;
}

// Declared in app.h; resolved here to keep string.cpp free of the app layer.
extern HINSTANCE FwGetResourceHandleInternal();

BOOL CString::LoadString(UINT nID)
{
    HINSTANCE hRes = FwGetResourceHandleInternal();
    if (hRes && LoadString(hRes, nID))
        return TRUE;
    HINSTANCE hExe = GetModuleHandleA(nullptr);
    if (hExe != hRes && LoadString(hExe, nID))
        return TRUE;
    return FALSE;
}

CString operator+(const CString& a, const CString& b)
{
    CString s(a);
    s += b;
    return s;
}
CString operator+(const CString& a, const char* b)
{
    CString s(a);
    s += b;
    return s;
}
CString operator+(const char* a, const CString& b)
{
    CString s(a);
    s += b;
    return s;
}
CString operator+(const CString& a, char b)
{
    CString s(a);
    s += b;
    return s;
}
CString operator+(char a, const CString& b)
{
    CString s(a, 1);
    s += b;
    return s;
}
