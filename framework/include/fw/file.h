// Files: CFile (a Win32 file handle), CStdioFile (line-oriented text) and
// CFileFind (directory enumeration). Failures are results, never exceptions.
#pragma once
#include "fw/string.h"

class FW_API CFile
{
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile); // adopts the handle; closed by this object
    virtual ~CFile();

    // Opens the file; returns FALSE (and the Win32 error in *pError) on failure.
    virtual BOOL Open(const char* pszFileName, UINT nOpenFlags, DWORD* pError = nullptr);
    virtual void Close();
    virtual void Abort(); // closes, ignoring errors

    virtual UINT Read(void* pBuf, UINT nCount);
    // Writes all nCount bytes; FALSE when the write failed or was short.
    virtual BOOL Write(const void* pBuf, UINT nCount);
    virtual BOOL Flush();

    // Returns the new position, or (ULONGLONG)-1 on failure.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual BOOL SetLength(ULONGLONG nNewLen);
    virtual ULONGLONG GetPosition() const;

    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE && m_hFile != nullptr; }
    const CString& GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    CString GetFileTitle() const;
    operator HANDLE() const { return m_hFile; }

    HANDLE m_hFile;

protected:
    CString m_strFileName;
    UINT m_nOpenFlags;

private:
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
};

class FW_API CStdioFile : public CFile
{
public:
    CStdioFile();
    virtual ~CStdioFile();

    BOOL Open(const char* pszFileName, UINT nOpenFlags, DWORD* pError = nullptr) override;
    void Close() override;
    void Abort() override;
    UINT Read(void* pBuf, UINT nCount) override;
    BOOL Write(const void* pBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    BOOL SetLength(ULONGLONG nNewLen) override;

    // Reads one line without its CR/LF. FALSE at end of file (nothing read).
    BOOL ReadString(CString& rString);
    // Writes the text; in text mode each "\n" is written as CR LF.
    BOOL WriteString(const char* psz);

private:
    BOOL FillBuffer();
    void DropBuffer(); // discards read-ahead, moving the handle back to the logical position

    char* m_pBuf;
    UINT m_nBufLen;
    UINT m_nBufPos;
};

class FW_API CFileFind
{
public:
    CFileFind();
    virtual ~CFileFind();

    // Starts a search; a null pattern means "*.*". FALSE when nothing matched.
    BOOL FindFile(const char* pszName = nullptr, DWORD dwUnused = 0);
    // Makes the next entry current. Returns FALSE when the entry just made
    // current is the last one: that entry is still valid.
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const;
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(FILETIME* pTime) const;
    BOOL GetCreationTime(FILETIME* pTime) const;
    BOOL GetLastAccessTime(FILETIME* pTime) const;
    DWORD GetAttributes() const; // raw FILE_ATTRIBUTE_* bits of the current entry

    BOOL MatchesMask(DWORD dwMask) const { return (GetAttributes() & dwMask) != 0; }
    BOOL IsDots() const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }
    BOOL IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
    BOOL IsTemporary() const { return MatchesMask(FILE_ATTRIBUTE_TEMPORARY); }
    BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
    BOOL IsReparsePoint() const { return MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT); }

private:
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    HANDLE m_hFind;
    WIN32_FIND_DATAA m_found; // the entry made current by FindNextFile
    WIN32_FIND_DATAA m_next;  // the look-ahead entry
    BOOL m_bHaveNext;
    BOOL m_bHaveCurrent;
    CString m_strRoot; // folder of the pattern, with trailing backslash
};
