// Themed frames and dialogs: the dialog's own menu preparation, and the
// hot-tracking of a window menu that the system draws in the non-client area.
#include "themedframe.h"

BOOL CThemedDialog::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    HMENU hSys = ::GetSystemMenu(m_hWnd, FALSE);
    if (m_systemMenu.m_hMenu != hSys) {
        HMENU hOld = m_systemMenu.m_hMenu;
        m_systemMenu.ForgetHandles();
        if (hOld && ::IsMenu(hOld))
            ::DestroyMenu(hOld);
        if (hSys)
            m_systemMenu.Attach(hSys);
    }
    HMENU hMenu = ::GetMenu(m_hWnd);
    if (hMenu && !m_defaultMenu.m_hMenu && m_defaultMenu.LoadMenu(hMenu))
        CThemedMenu::ApplyMenuBarBrush(m_defaultMenu.m_hMenu);
    return bResult;
}

void CThemedDialog::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    // Cancel the modes of the control that has the mouse (an open drop-down).
    if (HWND hCapture = ::GetCapture())
        if (hCapture != m_hWnd)
            ::SendMessageA(hCapture, WM_CANCELMODE, 0, 0);
    if (pPopupMenu && !bSysMenu) {
        CCmdUI state;
        state.m_pMenu = pPopupMenu;
        state.m_pParentMenu = pPopupMenu;
        state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
        for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
            state.m_nID = pPopupMenu->GetMenuItemID((int)state.m_nIndex);
            if (state.m_nID == 0)
                continue;
            state.m_pSubMenu = nullptr;
            if (state.m_nID == (UINT)-1) {
                // A sub-menu item: routed by its first item's id, never disabled.
                HMENU hSub = ::GetSubMenu(pPopupMenu->m_hMenu, (int)state.m_nIndex);
                if (!hSub)
                    continue;
                UINT first = ::GetMenuItemID(hSub, 0);
                if (first == 0 || first == (UINT)-1)
                    continue;
                state.m_pSubMenu = CMenu::FromHandle(hSub);
                state.m_nID = first;
                state.DoUpdate(this, FALSE);
            } else {
                state.DoUpdate(this, state.m_nID < 0xF000);
            }
            // The handler may have removed items.
            UINT nCount = pPopupMenu->GetMenuItemCount();
            if (nCount < state.m_nIndexMax) {
                state.m_nIndex -= (state.m_nIndexMax - nCount);
                while (state.m_nIndex < nCount && pPopupMenu->GetMenuItemID((int)state.m_nIndex) == state.m_nID)
                    ++state.m_nIndex;
            }
            state.m_nIndexMax = nCount;
        }
    }
    Default();
    CThemedMenu::OnInitMenuPopup(m_hWnd, SafeHmenu(pPopupMenu), nIndex, bSysMenu);
}

BOOL PaintFrameMenuItem(HWND hWnd, HMENU hMenu, int nPos, UINT nState)
{
    if (nPos == -1 || !hMenu)
        return FALSE;
    RECT rItem;
    if (!::GetMenuItemRect(hWnd, hMenu, (UINT)nPos, &rItem))
        return FALSE;
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    if (!::GetMenuItemInfoA(hMenu, (UINT)nPos, TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW))
        return FALSE;
    CRect rw;
    ::GetWindowRect(hWnd, &rw);
    CRect r(rItem);
    r.OffsetRect(-rw.left, -rw.top);
    if (GetThemedSystemInfo().bWine) {
        BOOL bSizing = (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_THICKFRAME) != 0;
        int cxFrame = ::GetSystemMetrics(bSizing ? SM_CXSIZEFRAME : SM_CXDLGFRAME);
        int cyFrame = ::GetSystemMetrics(bSizing ? SM_CYSIZEFRAME : SM_CYDLGFRAME);
        r.OffsetRect(-cxFrame, -(::GetSystemMetrics(SM_CYMENU) + 1 + ::GetSystemMetrics(SM_CYCAPTION) + cyFrame));
    }
    CWindowDC dc(hWnd);
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    CFont font;
    font.CreateFontIndirect(&ncm.lfMenuFont);
    HGDIOBJ hOld = dc.SelectObject(&font);
    CThemedMenu::SetPaintingBarItem((CThemedMenuItemData*)mii.dwItemData);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = mii.wID;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = nState;
    dis.hwndItem = (HWND)hMenu;
    dis.hDC = dc.m_hDC;
    dis.rcItem = r;
    dis.itemData = mii.dwItemData;
    dc.SetWindowOrg(0, 0);
    ::SendMessageA(hWnd, WM_DRAWITEM, 0, (LPARAM)&dis);
    dc.SelectObject(hOld);
    return TRUE;
}

void DrawMenuEdgeLine(HWND hWnd)
{
    // A child window's menu handle is its control id.
    if (!::IsWindow(hWnd) || (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
        return;
    HMENU hMenu = ::GetMenu(hWnd);
    if (!hMenu || !::IsMenu(hMenu))
        return;
    MENUINFO mi = {};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIM_BACKGROUND;
    if (!::GetMenuInfo(hMenu, &mi) || !mi.hbrBack)
        return;
    CRect client, window;
    ::GetClientRect(hWnd, &client);
    ::MapWindowPoints(hWnd, nullptr, (POINT*)&client, 2);
    ::GetWindowRect(hWnd, &window);
    client.OffsetRect(-window.left, -window.top);
    CRect line(client.left, client.top - 1, client.right, client.top);
    HDC hDC = ::GetWindowDC(hWnd);
    if (!hDC)
        return;
    ::SetBrushOrgEx(hDC, 0, 0, nullptr);
    ::FillRect(hDC, &line, mi.hbrBack);
    ::ReleaseDC(hWnd, hDC);
}

LRESULT ThemedFrameHitTest(HWND hWnd, LRESULT nHit, POINT pt, BOOL bInMenuLoop, UINT& nTimer, int& nHotItem)
{
    // Windows 2000 and later hot-track the window menu themselves.
    if (GetWindowsClass() >= WINCLASS_WIN2000 && !GetThemedSystemInfo().bRemoteSession)
        return nHit;
    HMENU hMenu = ::GetMenu(hWnd);
    UINT normal = 0, hot = ODS_HOTLIGHT;
    HWND hFocus = ::GetFocus();
    if (!(hFocus && ::IsChild(hWnd, hFocus))) {
        int n = GetWindowsClass();
        if (n == WINCLASS_WIN95 || n == WINCLASS_NT4)
            hot = 0;
        else {
            normal = ODS_INACTIVE;
            hot = ODS_INACTIVE | ODS_HOTLIGHT;
        }
    }
    if (!bInMenuLoop && nHit == HTMENU && CThemedMenu::FromHandleThemed(hMenu)) {
        int item = ::MenuItemFromPoint(hWnd, hMenu, pt);
        if (item != -1) {
            if (item != nHotItem) {
                PaintFrameMenuItem(hWnd, hMenu, nHotItem, normal);
                if (!PaintFrameMenuItem(hWnd, hMenu, item, hot)) {
                    nHotItem = -1;
                    return HTMENU;
                }
            } else if (!CThemedMenu::GetPaintingBarItem() && !PaintFrameMenuItem(hWnd, hMenu, item, hot)) {
                return HTMENU;
            }
            if (!nTimer) {
                ::SetTimer(hWnd, THEMED_TIMER_FRAME_HOTTRACK, 100, nullptr);
                nTimer = THEMED_TIMER_FRAME_HOTTRACK;
            }
            nHotItem = item;
            return HTMENU;
        }
    }
    if (nHotItem != -1) {
        PaintFrameMenuItem(hWnd, hMenu, nHotItem, normal);
        nHotItem = -1;
    }
    if (nTimer) {
        ::KillTimer(hWnd, nTimer);
        nTimer = 0;
    }
    return nHit;
}
