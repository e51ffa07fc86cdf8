#include "Asker.h"
#include "pirt.h"

namespace {
CAsker g_defaultAsker;
CAsker* g_asker = &g_defaultAsker;
} // namespace

CAsker& GetAsker() { return *g_asker; }

void SetAsker(CAsker* asker) { g_asker = asker ? asker : &g_defaultAsker; }

int CAsker::Ask(HWND owner, const CString& text, const CString& caption, UINT type)
{
    return ::MessageBoxA(owner, text, caption.IsEmpty() ? nullptr : (const char*)caption, type);
}

BOOL CAsker::ChooseOpenFile(HWND owner, const CString& filter, CString& path)
{
    CFileDialog dlg(TRUE, "*.dorv", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, filter, CWnd::FromHandle(owner));
    if (dlg.DoModal() != IDOK)
        return FALSE;
    path = dlg.GetPathName();
    return TRUE;
}

BOOL CAsker::ChooseAnyFile(HWND owner, const CString& filter, CString& path)
{
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, CWnd::FromHandle(owner));
    if (dlg.DoModal() != IDOK)
        return FALSE;
    path = dlg.GetPathName();
    return TRUE;
}

BOOL CAsker::ChooseSaveFile(HWND owner, const CString& filter, const CString& folder, CString& path)
{
    CFileDialog dlg(FALSE, "dorv", nullptr, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, filter, CWnd::FromHandle(owner));
    dlg.m_ofn.lpstrInitialDir = folder;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    path = dlg.GetPathName();
    return TRUE;
}

int AskLng(HWND owner, const char* section, const char* key, UINT type, const CString& caption)
{
    // Without a caption a message box says "Error", even over a question.
    return GetAsker().Ask(owner, GetLngString(section, key, "not found"),
                          caption.IsEmpty() ? CString(AfxGetAppName()) : caption, type);
}
