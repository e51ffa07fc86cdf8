// CRecentFileList: the most-recently-used file list of a program, kept in its
// profile (section and entries "File1", "File2", ...) and shown in a menu in
// place of the item ID_FILE_MRU_FILE1.
#pragma once
#include "fw/cmdui.h"
#include <vector>

#ifndef ID_FILE_MRU_FILE1
#define ID_FILE_MRU_FILE1 0xE110
#define ID_FILE_MRU_LAST  0xE11F
#endif

class FW_API CRecentFileList
{
public:
    // nStart: command id of the first entry; pszEntryFormat e.g. "File%d".
    CRecentFileList(UINT nStart, const char* pszSection, const char* pszEntryFormat, int nSize);
    virtual ~CRecentFileList();

    int GetSize() const { return m_nSize; }
    int GetCount() const { return (int)m_arrNames.size(); }
    const CString& operator[](int nIndex) const { return m_arrNames[(size_t)nIndex]; }

    // Puts the path first (a path already listed, in any case, moves up);
    // the oldest entry falls off the end.
    virtual void Add(const char* pszPathName);
    virtual void Remove(int nIndex);
    // Replaces the menu's entries with the current list (the placeholder
    // item stays, disabled, while the list is empty).
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    virtual void ReadList();
    virtual void WriteList();

protected:
    UINT m_nStart;
    int m_nSize;
    CString m_strSectionName;
    CString m_strEntryFormat;
    CString m_strOriginal; // the placeholder's text in the menu resource
    std::vector<CString> m_arrNames;
};
