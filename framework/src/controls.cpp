// Simple controls: the few members that are not one-line wrappers.
#include "fw/controls.h"

namespace {
// An item's text of a list box or combo box, by the control's length and text
// messages; empty for an index without an item (both answer -1 then).
void ReadItemText(HWND hWnd, UINT lengthMessage, UINT textMessage, int nIndex, CString& rString)
{
    int n = (int)::SendMessageA(hWnd, lengthMessage, (WPARAM)nIndex, 0);
    if (n < 0) {
        rString.Empty();
        return;
    }
    char* p = rString.GetBuffer(n + 1);
    int got = (int)::SendMessageA(hWnd, textMessage, (WPARAM)nIndex, (LPARAM)p);
    rString.ReleaseBuffer(got < 0 ? 0 : got);
}
} // namespace

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
    ReadItemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    ReadItemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString);
}
