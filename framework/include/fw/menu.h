// CMenu: a menu handle. A menu created or loaded by the object is destroyed
// by it; an attached one is destroyed only when still attached at the end.
#pragma once
#include "fw/string.h"

class FW_API CMenu
{
public:
    CMenu();
    virtual ~CMenu();

    HMENU m_hMenu;
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return GetSafeHmenu(); }

    static CMenu* FromHandle(HMENU hMenu); // permanent or temporary object
    static CMenu* FromHandlePermanent(HMENU hMenu);
    static void DeleteTempMap();
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(const char* pszResource);
    BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadMenuIndirect(const void* pTemplate) { return Attach(::LoadMenuIndirectA(pTemplate)); }
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* pszNewItem = nullptr)
    {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, pszNewItem);
    }
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, const char* pszNewItem = nullptr)
    {
        return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, pszNewItem);
    }
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, const char* pszNewItem = nullptr)
    {
        return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, pszNewItem);
    }
    BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
    UINT GetMenuItemCount() const { return (UINT)::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    int GetMenuString(UINT nIDItem, char* psz, int nMaxCount, UINT nFlags) const
    {
        return ::GetMenuStringA(m_hMenu, nIDItem, psz, nMaxCount, nFlags);
    }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT nItem, LPMENUITEMINFOA pInfo, BOOL fByPos = FALSE) const
    {
        return ::GetMenuItemInfoA(m_hMenu, nItem, fByPos, pInfo);
    }
    BOOL SetMenuItemInfo(UINT nItem, LPMENUITEMINFOA pInfo, BOOL fByPos = FALSE)
    {
        return ::SetMenuItemInfoA(m_hMenu, nItem, fByPos, pInfo);
    }
    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return (UINT)::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
    {
        return (UINT)::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
    }
    BOOL CheckMenuRadioItem(UINT nFirst, UINT nLast, UINT nItem, UINT nFlags)
    {
        return ::CheckMenuRadioItem(m_hMenu, nFirst, nLast, nItem, nFlags);
    }
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, const CWnd* pWnd, LPCRECT = nullptr);
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hWnd)
    {
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWnd, nullptr);
    }

    // Owner-drawn items: called for menus attached to this object.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

private:
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
};

// The menu of a pointer that may be null: null when there is no object.
inline HMENU SafeHmenu(const CMenu* pMenu) { return pMenu != nullptr ? pMenu->m_hMenu : nullptr; }
