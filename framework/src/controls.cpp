// Simple controls: the few members that are not one-line wrappers.
#include "fw/controls.h"

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM && (GetStyle() & 0x0F) == BS_OWNERDRAW) {
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int n = GetLBTextLen(nIndex);
    if (n == CB_ERR) {
        rString.Empty();
        return;
    }
    char* p = rString.GetBuffer(n + 1);
    int got = GetLBText(nIndex, p);
    rString.ReleaseBuffer(got == CB_ERR ? 0 : got);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    int n = GetTextLen(nIndex);
    if (n == LB_ERR) {
        rString.Empty();
        return;
    }
    char* p = rString.GetBuffer(n + 1);
    int got = GetText(nIndex, p);
    rString.ReleaseBuffer(got == LB_ERR ? 0 : got);
}
