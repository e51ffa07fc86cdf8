// CString: a narrow, growable string. Its buffer is always allocated and freed
// inside framework.dll, so strings may be handed between modules freely.
#pragma once
#include "fw/fwdefs.h"
#include <cstdarg>
#include <cstdio>

#define FW_PRINTF_FORMAT(fmt, first) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, first)))

class FW_API CString
{
public:
    CString();
    CString(const CString& src);
    CString(CString&& src) noexcept;
    CString(const char* psz);
    CString(const char* pch, int nLength);
    CString(char ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& src);
    CString& operator=(CString&& src) noexcept;
    CString& operator=(const char* psz);
    CString& operator=(char ch);

    CString& operator+=(const CString& src);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);

    operator const char*() const { return m_pszData; }
    const char* GetString() const { return m_pszData; }

    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    void Empty();

    char GetAt(int nIndex) const
    {
        ASSERT(nIndex >= 0 && nIndex <= m_nLength);
        return m_pszData[nIndex];
    }
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch);

    // printf-style formatting of any length. Pass strings as (const char*):
    // the compiler checks the arguments against the format.
    void Format(const char* pszFormat, ...) FW_PRINTF_FORMAT(2, 3);
    void FormatV(const char* pszFormat, va_list args);
    void AppendFormat(const char* pszFormat, ...) FW_PRINTF_FORMAT(2, 3);

    // Direct access to the buffer: GetBuffer(n) guarantees room for n chars
    // plus the terminator; ReleaseBuffer(-1) takes the length from strlen.
    char* GetBuffer(int nMinBufLength = 0);
    char* GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

    int Compare(const char* psz) const;
    int CompareNoCase(const char* psz) const;
    int Collate(const char* psz) const;

    int Find(char ch, int nStart = 0) const;
    int Find(const char* pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* pszCharSet) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(const char* pszCharSet) const;
    CString SpanExcluding(const char* pszCharSet) const;

    int Replace(char chOld, char chNew);
    int Replace(const char* pszOld, const char* pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, const char* psz);
    int Delete(int nIndex, int nCount = 1);

    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();

    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(const char* pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(const char* pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(const char* pszTargets);

    // Loads a string resource from the resource module (AfxGetResourceHandle),
    // falling back to the calling program. Returns FALSE when absent.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

private:
    void Assign(const char* pch, int nLength);
    void Append(const char* pch, int nLength);
    void Reserve(int nLength); // ensures capacity, keeps contents

    char* m_pszData; // never null; points at s_empty when nothing allocated
    int m_nLength;
    int m_nAlloc; // capacity without the terminator; 0 for s_empty
};

FW_API CString operator+(const CString& a, const CString& b);
FW_API CString operator+(const CString& a, const char* b);
FW_API CString operator+(const char* a, const CString& b);
FW_API CString operator+(const CString& a, char b);
FW_API CString operator+(char a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
inline bool operator!=(const char* a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
inline bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
inline bool operator>(const char* a, const CString& b) { return b.Compare(a) < 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator<=(const CString& a, const char* b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
inline bool operator>=(const CString& a, const char* b) { return a.Compare(b) >= 0; }
