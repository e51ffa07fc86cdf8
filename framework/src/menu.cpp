// CMenu: menu handles and their map.
#include "fw/menu.h"
#include "fw/wnd.h"
#include "handlemap.h"

namespace {
FwHandleMap<HMENU, CMenu, &CMenu::m_hMenu>& MenuMap()
{
    static FwHandleMap<HMENU, CMenu, &CMenu::m_hMenu> m;
    return m;
}
} // namespace

CMenu* FwFindPermanentMenuWithItem(UINT nID)
{
    return MenuMap().FindPermanent([nID](HMENU h) {
        int n = ::GetMenuItemCount(h);
        for (int i = 0; i < n; ++i)
            if (!::GetSubMenu(h, i) && ::GetMenuItemID(h, i) == nID)
                return true;
        return false;
    });
}

CMenu::CMenu() : m_hMenu(nullptr) {}

CMenu::~CMenu()
{
    if (MenuMap().LookupPermanent(m_hMenu) == this)
        DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu) { return MenuMap().FromHandle(hMenu); }

CMenu* CMenu::FromHandlePermanent(HMENU hMenu) { return MenuMap().LookupPermanent(hMenu); }

void CMenu::DeleteTempMap() { MenuMap().DeleteTemporaries(); }

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!MenuMap().Attach(this, hMenu))
        return FALSE;
    FwCountMenuObject(1);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = MenuMap().Detach(this);
    if (h)
        FwCountMenuObject(-1);
    return h;
}

BOOL CMenu::LoadMenu(const char* pszResource)
{
    extern HINSTANCE FwGetResourceHandleInternal();
    HMENU h = ::LoadMenuA(FwGetResourceHandleInternal(), pszResource);
    if (!h)
        h = ::LoadMenuA(::GetModuleHandleA(nullptr), pszResource);
    return Attach(h);
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    HMENU h = Detach();
    return ::DestroyMenu(h);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int n = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (n <= 0) {
        rString.Empty();
        return 0;
    }
    char* p = rString.GetBuffer(n + 1);
    n = ::GetMenuStringA(m_hMenu, nIDItem, p, n + 1, nFlags);
    rString.ReleaseBuffer(n > 0 ? n : 0);
    return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, const CWnd* pWnd, LPCRECT)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, SafeHwnd(pWnd), nullptr);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
