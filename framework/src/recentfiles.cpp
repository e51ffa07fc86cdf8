// CRecentFileList.
#include "fw/framework.h"
#include "fw/recentfiles.h"

namespace {
// The profile entry of the list's index-th file (0-based): "File1" and on.
CString EntryName(const CString& format, int index)
{
    CString entry;
    entry.Format(format, index + 1);
    return entry;
}
} // namespace

CRecentFileList::CRecentFileList(UINT nStart, const char* pszSection, const char* pszEntryFormat, int nSize)
    : m_nStart(nStart), m_nSize(nSize), m_strSectionName(pszSection), m_strEntryFormat(pszEntryFormat)
{
    ASSERT(nSize >= 1 && nSize <= 16);
}

CRecentFileList::~CRecentFileList() {}

void CRecentFileList::Add(const char* pszPathName)
{
    if (!pszPathName || !*pszPathName)
        return;
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        if (m_arrNames[i].CompareNoCase(pszPathName) == 0) {
            m_arrNames.erase(m_arrNames.begin() + (long)i);
            break;
        }
    }
    m_arrNames.insert(m_arrNames.begin(), CString(pszPathName));
    if ((int)m_arrNames.size() > m_nSize)
        m_arrNames.resize((size_t)m_nSize);
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetCount())
        m_arrNames.erase(m_arrNames.begin() + nIndex);
}

void CRecentFileList::ReadList()
{
    m_arrNames.clear();
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        CString path = app->GetProfileString(m_strSectionName, EntryName(m_strEntryFormat, i), "");
        if (!path.IsEmpty())
            m_arrNames.push_back(path);
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (int i = 0; i < m_nSize; ++i)
        app->WriteProfileString(m_strSectionName, EntryName(m_strEntryFormat, i),
                                i < GetCount() ? (const char*)m_arrNames[(size_t)i] : nullptr);
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    CMenu* menu = pCmdUI->m_pMenu;
    if (!menu) {
        pCmdUI->Enable(GetCount() > 0);
        return;
    }
    if (m_strOriginal.IsEmpty())
        menu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
    for (int i = 0; i < m_nSize; ++i)
        menu->DeleteMenu(m_nStart + (UINT)i, MF_BYCOMMAND);
    if (GetCount() == 0) {
        menu->InsertMenu(pCmdUI->m_nIndex, MF_BYPOSITION | MF_STRING | MF_GRAYED, m_nStart, m_strOriginal);
        pCmdUI->m_nIndexMax = menu->GetMenuItemCount();
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        // An ampersand in a path is shown, not taken as a mnemonic.
        CString path = m_arrNames[(size_t)i];
        path.Replace("&", "&&");
        CString text;
        text.Format("&%d %s", i + 1, (const char*)path);
        menu->InsertMenu(pCmdUI->m_nIndex + (UINT)i, MF_BYPOSITION | MF_STRING, m_nStart + (UINT)i, text);
    }
    // The caller's walk goes on after the entries just inserted.
    pCmdUI->m_nIndex += (UINT)GetCount() - 1;
    pCmdUI->m_nIndexMax = menu->GetMenuItemCount();
}
