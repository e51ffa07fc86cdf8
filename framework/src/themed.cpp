// Plain versions of the themed bases.
#include "fw/themed.h"

BOOL CThemedMenu::SetItemText(UINT nItem, CString strText, UINT nFlags)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = (LPSTR)(const char*)strText;
    return ::SetMenuItemInfoA(m_hMenu, nItem, (nFlags & MF_BYPOSITION) ? TRUE : FALSE, &mii);
}
