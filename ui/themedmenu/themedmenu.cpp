// The themed menu: records, conversion to owner-drawn items, item
// operations, shortcut texts, measuring, access characters, the background
// brush and popup placement.
#include "themedmenu.h"
#include "menutheme.h"
#include "menubar.h"
#include <algorithm>

namespace {
HMENU g_hLastPopup = nullptr;
CThemedMenuItemData* g_pPaintingBarItem = nullptr;
DWORD g_dwLastRefresh = 0;
BOOL g_bRefreshedOnce = FALSE;
UINT_PTR g_nPendingRefresh = 0;

BOOL IsSystemCommand(UINT_PTR nID)
{
    UINT id = (UINT)nID & 0xFFF0;
    return (id >= 0xF000 && id <= 0xF140) || id == 0xF150;
}

// The menu font of the non-client metrics, bold when asked.
BOOL GetMenuFont(LOGFONTA& lf, BOOL bBold)
{
    const NONCLIENTMETRICSA* ncm = GetMenuSettings().pMetrics;
    if (!ncm)
        return FALSE;
    lf = ncm->lfMenuFont;
    if (bBold)
        lf.lfWeight = FW_BOLD;
    return TRUE;
}

CString Lower(CString s)
{
    char* p = s.GetBuffer(s.GetLength() + 1);
    ::CharLowerBuffA(p, (DWORD)lstrlenA(p));
    s.ReleaseBuffer();
    return s;
}
} // namespace

// ---------------------------------------------------------------- records

CThemedMenuItemData::CThemedMenuItemData()
    : m_nTitleFlags(0), m_nFlags(0), m_nID(0), m_bInUse(FALSE), m_pIcons(nullptr), m_nImageIndex(-1)
{
}

CThemedMenuItemData::~CThemedMenuItemData()
{
    if (g_pPaintingBarItem == this)
        g_pPaintingBarItem = nullptr;
    SetImage(nullptr, -1);
}

void CThemedMenuItemData::SetImage(CThemedMenuIcons* pIcons, int nImageIndex)
{
    if (pIcons)
        pIcons->AddRef();
    CThemedMenuIcons::Release(m_pIcons);
    m_pIcons = pIcons;
    m_nImageIndex = pIcons ? nImageIndex : -1;
}

CString GetShortcutKeyName(WORD vk)
{
    LONG lParam = (LONG)(::MapVirtualKeyA(vk, 0) << 16);
    switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        lParam |= 1 << 24; // the extended keys, not their number-pad twins
        break;
    }
    char name[65] = "";
    ::GetKeyNameTextA(lParam, name, 64);
    return CString(name);
}

CString CThemedMenuItemData::GetString(HACCEL hAccel) const
{
    if (IsPopup())
        hAccel = nullptr;
    int tab = m_strText.Find('\t');
    if (!hAccel)
        return tab >= 0 ? m_strText.Left(tab) : m_strText;
    if (tab >= 0)
        return m_strText;
    if (hAccel == (HACCEL)-1) {
        CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
        if (!pFrame)
            return m_strText;
        hAccel = pFrame->m_hAccelTable;
        if (!hAccel)
            return m_strText;
    }
    int n = ::CopyAcceleratorTableA(hAccel, nullptr, 0);
    if (n <= 0)
        return m_strText;
    std::vector<ACCEL> table((size_t)n);
    ::CopyAcceleratorTableA(hAccel, table.data(), n);
    CString keys;
    for (const ACCEL& a : table) {
        if (a.cmd != (WORD)m_nID)
            continue;
        if (!keys.IsEmpty())
            keys += ", ";
        if (a.fVirt & FALT)
            keys += "Alt+";
        if (a.fVirt & FCONTROL)
            keys += "Ctrl+";
        if (a.fVirt & FSHIFT)
            keys += "Shift+";
        if (a.fVirt & FVIRTKEY)
            keys += GetShortcutKeyName(a.key);
        else
            keys += (char)a.key;
    }
    if (keys.IsEmpty())
        return m_strText;
    return m_strText + "\t" + keys;
}

// ---------------------------------------------------------------- process-wide

CThemedMenuOptions& CThemedMenu::Options()
{
    static CThemedMenuOptions options = [] {
        CThemedMenuOptions o = {};
        o.titleFont.lfHeight = 16;
        o.titleFont.lfWeight = 700;
        o.titleFont.lfCharSet = DEFAULT_CHARSET;
        lstrcpyA(o.titleFont.lfFaceName, "Arial");
        o.bDimmedIcons = TRUE;
        o.bDecorateEveryPopup = TRUE;
        o.nIconDimming = 50;
        o.bShortcutText = TRUE;
        o.nPopupTransparency = 255;
        return o;
    }();
    return options;
}

BOOL CThemedMenu::SetDimmedIcons(BOOL bOn)
{
    BOOL bOld = Options().bDimmedIcons;
    Options().bDimmedIcons = bOn;
    return bOld;
}

BOOL CThemedMenu::GetDimmedIcons() { return Options().bDimmedIcons; }

int CThemedMenu::GetThemeId()
{
    CMenuTheme* p = GetCurrentTheme();
    return p ? p->m_nId : -1;
}

HMENU CThemedMenu::GetLastPopup() { return g_hLastPopup; }
void CThemedMenu::SetLastPopup(HMENU hMenu) { g_hLastPopup = hMenu; }
CThemedMenuItemData* CThemedMenu::GetPaintingBarItem() { return g_pPaintingBarItem; }
void CThemedMenu::SetPaintingBarItem(CThemedMenuItemData* pData) { g_pPaintingBarItem = pData; }

CThemedMenu* CThemedMenu::FromHandleThemed(HMENU hMenu)
{
    return hMenu ? dynamic_cast<CThemedMenu*>(CMenu::FromHandlePermanent(hMenu)) : nullptr;
}

// ---------------------------------------------------------------- the menu

CThemedMenu::CThemedMenu(HMENU hParent)
    : m_nIconWidth(16), m_nIconHeight(15), m_hOwner(nullptr), m_crBitmapBackground(0xFF000000), m_pOwnIcons(nullptr),
      m_bIconsShared(FALSE), m_hParentMenu(hParent), m_bPopup(TRUE), m_nOpenPopups(0), m_hAccel((HACCEL)-1)
{
}

CThemedMenu::~CThemedMenu() { DestroyMenu(); }

CThemedMenuItemData* CThemedMenu::GetRecord(int nPos) const
{
    if (nPos < 0 || nPos >= (int)m_items.size())
        return nullptr;
    return m_items[(size_t)nPos];
}

HACCEL CThemedMenu::GetShortcutTable() const { return Options().bShortcutText ? m_hAccel : nullptr; }

namespace {
// Deletes the records and the sub-menu objects of a menu; with bForget the
// handles are left to whoever destroys the menu handle itself.
void FreeTree(CThemedMenu* pMenu, BOOL bForget)
{
    while (!pMenu->m_subMenus.empty()) {
        HMENU hSub = pMenu->m_subMenus.back();
        pMenu->m_subMenus.pop_back();
        CThemedMenu* pSub = CThemedMenu::FromHandleThemed(hSub);
        if (!pSub)
            continue;
        // A sub-menu still held by this menu goes with this menu's handle.
        BOOL bHeld = bForget;
        for (int i = 0, n = ::GetMenuItemCount(pMenu->m_hMenu); !bHeld && i < n; ++i)
            if (::GetSubMenu(pMenu->m_hMenu, i) == hSub)
                bHeld = TRUE;
        if (bHeld)
            pSub->ForgetHandles();
        delete pSub;
    }
    while (!pMenu->m_items.empty()) {
        delete pMenu->m_items.back();
        pMenu->m_items.pop_back();
    }
    if (pMenu->m_pOwnIcons && !pMenu->m_bIconsShared)
        delete pMenu->m_pOwnIcons;
    pMenu->m_pOwnIcons = nullptr;
}
} // namespace

BOOL CThemedMenu::DestroyMenu()
{
    FreeTree(this, FALSE);
    return CMenu::DestroyMenu();
}

void CThemedMenu::ForgetHandles()
{
    FreeTree(this, TRUE);
    Detach();
}

BOOL CThemedMenu::LoadMenu(const char* pszResource)
{
    HMENU h = ::LoadMenuA(AfxGetResourceHandle(), pszResource);
    if (!h)
        h = ::LoadMenuA(::GetModuleHandleA(nullptr), pszResource);
    if (!h)
        return FALSE;
    if (LoadMenu(h))
        return TRUE;
    ::DestroyMenu(h);
    return FALSE;
}

BOOL CThemedMenu::LoadMenu(HMENU hMenu)
{
    if (!::IsMenu(hMenu) || m_hMenu || CMenu::FromHandlePermanent(hMenu))
        return FALSE;
    if (!Attach(hMenu))
        return FALSE;
    m_bPopup = FALSE;
    for (int i = 0, n = ::GetMenuItemCount(hMenu); i < n; ++i) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (!hSub || CMenu::FromHandlePermanent(hSub))
            continue;
        CThemedMenu* pSub = new CThemedMenu(hMenu);
        m_subMenus.push_back(hSub);
        pSub->LoadMenu(hSub);
        pSub->m_bPopup = TRUE;
    }
    ConvertToOwnerDraw();
    return TRUE;
}

CThemedMenuItemData* CThemedMenu::TakeRecord(UINT_PTR nID)
{
    for (CThemedMenuItemData* p : m_items)
        if (!p->m_bInUse && p->m_nID == nID) {
            p->m_bInUse = TRUE;
            return p;
        }
    return nullptr;
}

CThemedMenuItemData* CThemedMenu::NewRecord(int nPos, UINT nFlags, UINT_PTR nID, const CString& strText)
{
    CThemedMenuItemData* p = new CThemedMenuItemData;
    p->m_nFlags = nFlags;
    p->m_nID = nID;
    p->m_bInUse = TRUE;
    if (!(nFlags & MF_BITMAP))
        p->m_strText = strText;
    if (nFlags & MF_POPUP) {
        if (CThemedMenu* pSub = FromHandleThemed((HMENU)nID))
            pSub->m_hParentMenu = m_hMenu;
    }
    UINT f = (nFlags & ~MF_BYPOSITION) | MF_BYPOSITION;
    if (nFlags & MF_OWNERDRAW)
        ::ModifyMenuA(m_hMenu, (UINT)nPos, f, nID, (LPCSTR)p);
    else if (nFlags & MF_BITMAP) {
    } else if (nFlags & MF_SEPARATOR)
        ::ModifyMenuA(m_hMenu, (UINT)nPos, f, nID, nullptr);
    else
        ::ModifyMenuA(m_hMenu, (UINT)nPos, f, nID, p->GetString(GetShortcutTable()));
    return p;
}

void CThemedMenu::ConvertToOwnerDraw()
{
    for (CThemedMenuItemData* p : m_items)
        p->m_bInUse = FALSE;
    std::vector<CThemedMenuItemData*> list;
    for (int pos = 0; pos < (int)::GetMenuItemCount(m_hMenu); ++pos) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(m_hMenu, (UINT)pos, TRUE, &mii))
            break;
        UINT state = ::GetMenuState(m_hMenu, (UINT)pos, MF_BYPOSITION);
        if (state == (UINT)-1)
            break;
        // A sub-menu item's state carries its item count in bits 8 to 15.
        if (mii.hSubMenu)
            state &= 0xFF;
        if (!(state & 0x2000)) {
            state |= mii.fType & 0x4000;
            if (!(mii.fType & MFT_BITMAP))
                state |= mii.fType & 0x2000;
        }
        CThemedMenuItemData* p = nullptr;
        if (mii.fType & MFT_BITMAP) {
            p = TakeRecord(mii.wID);
            if (!p) {
                p = new CThemedMenuItemData;
                p->m_nFlags = state;
                p->m_nID = mii.wID;
                p->m_bInUse = TRUE;
            }
        } else if (mii.hSubMenu) {
            UINT_PTR id = (UINT_PTR)mii.hSubMenu;
            CString text;
            GetMenuString((UINT)pos, text, MF_BYPOSITION);
            p = TakeRecord(id);
            if (p) {
                if (!text.IsEmpty())
                    p->m_strText = text;
                if (!(mii.fType & MFT_OWNERDRAW))
                    ::ModifyMenuA(m_hMenu, (UINT)pos, MF_BYPOSITION | (p->m_nFlags & ~MF_BYPOSITION), id, (LPCSTR)p);
            } else {
                p = NewRecord(pos, (state & ~0xA00u) | 0x510, id, text);
            }
            CThemedMenu* pSub = FromHandleThemed(mii.hSubMenu);
            if (pSub && pSub->m_hParentMenu != m_hMenu)
                pSub->m_hParentMenu = m_hMenu;
        } else if (mii.fType & MFT_SEPARATOR) {
            UINT flags = state | 0x500;
            p = TakeRecord(0);
            if (p) {
                p->m_nFlags = flags;
                ::ModifyMenuA(m_hMenu, (UINT)pos, flags, 0, (LPCSTR)p);
            } else {
                p = NewRecord(pos, flags, 0, CString());
            }
        } else {
            UINT flags = state | 0x500;
            CString text;
            GetMenuString((UINT)pos, text, MF_BYPOSITION);
            p = TakeRecord(mii.wID);
            if (p) {
                p->m_nFlags = flags;
                if (!text.IsEmpty())
                    p->m_strText = text;
                ::ModifyMenuA(m_hMenu, (UINT)pos, flags, mii.wID, (LPCSTR)p);
            } else {
                p = NewRecord(pos, flags, mii.wID, text);
            }
        }
        list.push_back(p);
    }
    for (CThemedMenuItemData* p : m_items)
        if (!p->m_bInUse)
            delete p;
    m_items = list;
}

CThemedMenuItemData* CThemedMenu::FindRecord(UINT_PTR nID, CThemedMenu** ppOwner, int* pPos)
{
    for (int pos = 0, n = ::GetMenuItemCount(m_hMenu); pos < n; ++pos) {
        HMENU hSub = ::GetSubMenu(m_hMenu, pos);
        if (hSub) {
            if ((UINT_PTR)hSub == nID && pos < (int)m_items.size()) {
                if (ppOwner)
                    *ppOwner = this;
                if (pPos)
                    *pPos = pos;
                return m_items[(size_t)pos];
            }
            if (CThemedMenu* pSub = FromHandleThemed(hSub))
                if (CThemedMenuItemData* p = pSub->FindRecord(nID, ppOwner, pPos))
                    return p;
        } else if (::GetMenuItemID(m_hMenu, pos) == (UINT)nID && pos < (int)m_items.size()) {
            if (ppOwner)
                *ppOwner = this;
            if (pPos)
                *pPos = pos;
            return m_items[(size_t)pos];
        }
    }
    return nullptr;
}

BOOL CThemedMenu::SetItemText(UINT nItem, CString strText, UINT nFlags)
{
    if (!(nFlags & MF_BYPOSITION)) {
        CThemedMenu* pOwner = nullptr;
        int pos = -1;
        if (!FindRecord(nItem, &pOwner, &pos))
            return FALSE;
        return pOwner->SetItemText((UINT)pos, strText, MF_BYPOSITION);
    }
    CThemedMenuItemData* p = GetRecord((int)nItem);
    if (!p)
        return FALSE;
    p->m_strText = strText;
    UINT state = ::GetMenuState(m_hMenu, nItem, MF_BYPOSITION);
    if (::GetSubMenu(m_hMenu, (int)nItem))
        state &= 0xFF;
    UINT keep = state & ~0x904u;
    if (!::ModifyMenuA(m_hMenu, nItem, keep | MF_BYPOSITION, p->m_nID, strText))
        return FALSE;
    return ::ModifyMenuA(m_hMenu, nItem, keep | MF_BYPOSITION | MF_OWNERDRAW, p->m_nID, (LPCSTR)p);
}

BOOL CThemedMenu::GetMenuText(UINT nItem, CString& strText, UINT nFlags)
{
    if (!(nFlags & MF_BYPOSITION)) {
        CThemedMenu* pOwner = nullptr;
        int pos = -1;
        if (!FindRecord(nItem, &pOwner, &pos))
            return FALSE;
        return pOwner->GetMenuText((UINT)pos, strText, MF_BYPOSITION);
    }
    CThemedMenuItemData* p = GetRecord((int)nItem);
    if (!p)
        return FALSE;
    strText = p->GetString(GetShortcutTable());
    return TRUE;
}

BOOL CThemedMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    if (!(nFlags & MF_BYPOSITION)) {
        CThemedMenu* pOwner = nullptr;
        int pos = -1;
        if (!FindRecord(nPosition, &pOwner, &pos))
            return CMenu::DeleteMenu(nPosition, nFlags);
        return pOwner->DeleteMenu((UINT)pos, MF_BYPOSITION);
    }
    int pos = (int)nPosition;
    HMENU hSub = ::GetSubMenu(m_hMenu, pos);
    if (hSub) {
        auto it = std::find(m_subMenus.begin(), m_subMenus.end(), hSub);
        BOOL bOwned = it != m_subMenus.end();
        m_subMenus.erase(std::remove(m_subMenus.begin(), m_subMenus.end(), hSub), m_subMenus.end());
        if (bOwned) {
            // The system destroys the sub-menu's handle with the item.
            if (CThemedMenu* pSub = FromHandleThemed(hSub)) {
                pSub->ForgetHandles();
                delete pSub;
            }
        }
    }
    // Only the record of the item that goes: another item may share its id.
    if (pos >= 0 && pos < (int)m_items.size()) {
        delete m_items[(size_t)pos];
        m_items.erase(m_items.begin() + pos);
    }
    return CMenu::DeleteMenu(nPosition, MF_BYPOSITION);
}

BOOL CThemedMenu::ChangeItemCommand(UINT nOldID, UINT nNewID)
{
    CThemedMenu* pOwner = nullptr;
    int pos = -1;
    CThemedMenuItemData* p = FindRecord(nOldID, &pOwner, &pos);
    if (!p || p->IsPopup())
        return FALSE;
    p->m_nID = nNewID;
    UINT state = ::GetMenuState(pOwner->m_hMenu, (UINT)pos, MF_BYPOSITION) & ~0x904u;
    return ::ModifyMenuA(pOwner->m_hMenu, (UINT)pos, state | MF_BYPOSITION | MF_OWNERDRAW, nNewID, (LPCSTR)p);
}

BOOL CThemedMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* pszText, int nIconIndex)
{
    (void)nIconIndex; // no image list: the item gets no image
    if (nIDNewItem == 0)
        nFlags = (nFlags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW;
    else
        nFlags |= MF_OWNERDRAW;
    if (nFlags & MF_POPUP) {
        if (CThemedMenu* pSub = FromHandleThemed((HMENU)nIDNewItem))
            pSub->m_hParentMenu = m_hMenu;
    }
    CThemedMenuItemData* p = new CThemedMenuItemData;
    p->m_strText = pszText ? pszText : "";
    p->m_nFlags = nFlags | MF_BYPOSITION;
    p->m_nID = nIDNewItem;
    p->m_bInUse = TRUE;
    m_items.push_back(p);
    UINT plain = nFlags & ~(UINT)(MF_OWNERDRAW | MF_BYPOSITION);
    if (!::AppendMenuA(m_hMenu, plain, nIDNewItem, (plain & MF_SEPARATOR) ? nullptr : p->m_strText.GetString()))
        return FALSE;
    UINT last = (UINT)::GetMenuItemCount(m_hMenu) - 1;
    return ::ModifyMenuA(m_hMenu, last, (nFlags & ~(UINT)MF_BYPOSITION) | MF_BYPOSITION, nIDNewItem, (LPCSTR)p);
}

BOOL CThemedMenu::SetItemImage(UINT nID, CImageList* pImageList, int nImage)
{
    if (!pImageList || !pImageList->m_hImageList || nImage < 0)
        return FALSE;
    HICON hIcon = pImageList->ExtractIcon(nImage);
    if (!hIcon)
        return FALSE;
    FwCountGdiObject(1);
    int cx = 0, cy = 0;
    pImageList->GetIconSize(&cx, &cy);
    BOOL bSet = SetItemIcon(nID, hIcon, CSize(cx, cy));
    ::DestroyIcon(hIcon);
    FwCountGdiObject(-1);
    return bSet;
}

BOOL CThemedMenu::SetItemIcon(UINT nID, HICON hIcon)
{
    ICONINFO ii = {};
    if (!hIcon || !::GetIconInfo(hIcon, &ii))
        return FALSE;
    BITMAP bm = {};
    BOOL bKnown = ii.hbmColor && ::GetObjectA(ii.hbmColor, sizeof(bm), &bm);
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    // A monochrome icon has no colour bitmap: the image lists here hold
    // colour images only.
    return bKnown && SetItemIcon(nID, hIcon, CSize(bm.bmWidth, bm.bmHeight));
}

template <class TAdd>
BOOL CThemedMenu::SetItemIconBy(UINT nID, CSize size, TAdd add)
{
    std::vector<CThemedMenuIcons*>& sets = CThemedMenuIcons::List();
    CThemedMenuBitmaps* pSet = nullptr;
    for (CThemedMenuIcons* p : sets) {
        CThemedMenuBitmaps* pb = dynamic_cast<CThemedMenuBitmaps*>(p);
        if (pb && pb->FindIndex(nID) >= 0) {
            pSet = pb;
            break;
        }
    }
    if (!pSet) {
        for (CThemedMenuIcons* p : sets) {
            CThemedMenuBitmaps* pb = dynamic_cast<CThemedMenuBitmaps*>(p);
            if (pb && pb->GetIconSize() == size) {
                pSet = pb;
                break;
            }
        }
    }
    int index = -1;
    if (pSet) {
        index = add(pSet);
    } else {
        pSet = new CThemedMenuBitmaps;
        pSet->m_crTransparent = m_crBitmapBackground;
        index = add(pSet);
        if (index < 0)
            delete pSet;
        else
            sets.push_back(pSet);
    }
    if (index < 0)
        return FALSE;
    pSet->AddRef();
    CThemedMenuItemData* pRecord = FindRecord(nID);
    if (pRecord)
        pRecord->SetImage(pSet, index);
    CThemedMenuIcons::Release(pSet);
    return pRecord != nullptr;
}

BOOL CThemedMenu::SetItemIcon(UINT nID, HICON hIcon, CSize size)
{
    return SetItemIconBy(nID, size, [&](CThemedMenuBitmaps* pSet) { return pSet->AddIcon(hIcon, nID); });
}

BOOL CThemedMenu::SetItemIcon(UINT nID, HINSTANCE hModule, UINT nIconId)
{
    if (!::FindResourceA(hModule, MAKEINTRESOURCEA(nIconId), RT_GROUP_ICON))
        return FALSE;
    return SetItemIconBy(nID, CSize(16, 16), [&](CThemedMenuBitmaps* pSet) {
        return pSet->AddIconResource(hModule, nIconId, CSize(16, 16), nID);
    });
}

// ---------------------------------------------------------------- popups

void CThemedMenu::RedrawBarItem()
{
    if (m_rectBarItem.IsRectEmpty() || !::IsWindow(m_hOwner))
        return;
    CRect r(m_rectBarItem);
    r.right += 10;
    r.bottom += 10;
    ::MapWindowPoints(nullptr, m_hOwner, (LPPOINT)&r, 2);
    ::RedrawWindow(m_hOwner, &r, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void CThemedMenu::OnInitMenuPopup(HWND hOwner, HMENU hPopup, UINT, BOOL)
{
    // This popup's window is made already; the next one is themed again.
    if (CThemedMenuHook::s_bOwed)
        ResumeMenuHook();
    SetLastPopup(hPopup);
    if (!::IsMenu(hPopup))
        return;
    CThemedMenu* p = FromHandleThemed(hPopup);
    if (!p)
        return;
    p->m_hOwner = hOwner;
    p->PrepareOwnerDraw();
    CThemedMenu* pParent = FromHandleThemed(p->m_hParentMenu);
    if (!pParent)
        return;
    if (pParent->m_nOpenPopups++ == 0 && !pParent->m_bPopup) {
        if (!pParent->m_hOwner)
            pParent->m_hOwner = hOwner;
        pParent->RedrawBarItem();
    }
}

void CThemedMenu::OnUnInitMenuPopup(HMENU hPopup)
{
    if (CThemedMenu* p = FromHandleThemed(hPopup))
        p->OnUnInitPopupMenu();
}

void CThemedMenu::PrepareOwnerDraw()
{
    m_bPopup = TRUE;
    ConvertToOwnerDraw();
    if (GetWindowsClass() >= WINCLASS_XP) {
        // The system paints no glyph of its own for ids it does not know.
        ChangeItemCommand(SC_RESTORE, SC_RESTORE + 1);
        ChangeItemCommand(SC_CLOSE, SC_CLOSE + 1);
        ChangeItemCommand(SC_MINIMIZE, SC_MINIMIZE + 1);
    }
}

BOOL CThemedMenu::OnUnInitPopupMenu()
{
    if (GetWindowsClass() >= WINCLASS_XP) {
        ChangeItemCommand(SC_MINIMIZE + 1, SC_MINIMIZE);
        ChangeItemCommand(SC_RESTORE + 1, SC_RESTORE);
        if (ChangeItemCommand(SC_CLOSE + 1, SC_CLOSE) && ::IsWindow(m_hOwner))
            ::SetWindowPos(m_hOwner, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    CThemedMenu* pParent = FromHandleThemed(m_hParentMenu);
    if (!pParent)
        return FALSE;
    if (pParent->m_nOpenPopups > 0)
        --pParent->m_nOpenPopups;
    if (pParent->m_bPopup)
        return FALSE;
    pParent->m_nOpenPopups = 0;
    pParent->RedrawBarItem();
    return TRUE;
}

// ---------------------------------------------------------------- drawing

void CThemedMenu::DrawItem(LPDRAWITEMSTRUCT lpdis)
{
    if (!lpdis || lpdis->CtlType != ODT_MENU)
        return;
    if (m_hParentMenu) {
        DrawByPainter(lpdis, FALSE);
        return;
    }
    if (!m_bPopup && g_pPaintingBarItem && (CThemedMenuItemData*)lpdis->itemData == g_pPaintingBarItem &&
        !(lpdis->itemState & ODS_HOTLIGHT))
        g_pPaintingBarItem = nullptr;
    DrawByPainter(lpdis, !m_bPopup);
}

void CThemedMenu::DrawByPainter(LPDRAWITEMSTRUCT lpdis, BOOL bBar)
{
    CMenuTheme* pTheme = GetCurrentTheme();
    if (pTheme && pTheme->m_pfnDrawItem)
        (this->*pTheme->m_pfnDrawItem)(lpdis, bBar);
}

void CThemedMenu::DrawMenuTitle(LPDRAWITEMSTRUCT lpdis)
{
    CMenuTheme* pTheme = GetCurrentTheme();
    if (pTheme && pTheme->m_pfnDrawTitle)
        (this->*pTheme->m_pfnDrawTitle)(lpdis);
}

BOOL CThemedMenu::EraseBkgnd(HWND hWnd, HDC hDC)
{
    CRect r;
    ::GetClientRect(hWnd, &r);
    CDC* pDC = CDC::FromHandle(hDC);
    pDC->FillSolidRect(&r, ::GetSysColor(IsFlatMenu() ? COLOR_MENUBAR : COLOR_MENU));
    return TRUE;
}

// ---------------------------------------------------------------- measuring

void CThemedMenu::MeasureItem(LPMEASUREITEMSTRUCT lpmis)
{
    if (!lpmis || lpmis->CtlType != ODT_MENU)
        return;
    CMenuTheme* pTheme = GetCurrentTheme();
    if (!pTheme || !pTheme->m_pfnMeasureItem)
        return;
    BOOL bHasRecord = FindRecord(lpmis->itemID) != nullptr;
    if (!bHasRecord)
        for (CThemedMenuItemData* p : m_items)
            if ((ULONG_PTR)p == lpmis->itemData)
                bHasRecord = TRUE;
    BOOL bBar;
    if (bHasRecord) {
        bBar = !m_hParentMenu && !m_bPopup;
    } else {
        CThemedMenu* pParent = FromHandleThemed(m_hParentMenu);
        bBar = (!m_hParentMenu && !m_bPopup) || (pParent && !pParent->m_bPopup);
        if (!bBar && pParent) {
            pParent->MeasureItem(lpmis);
            return;
        }
    }
    (this->*pTheme->m_pfnMeasureItem)(lpmis, bBar);
}

void CThemedMenu::MeasureItemClassic(LPMEASUREITEMSTRUCT lpmis, BOOL bBarItem)
{
    MeasureByRule(lpmis, bBarItem, FALSE);
}
void CThemedMenu::MeasureItemXP(LPMEASUREITEMSTRUCT lpmis, BOOL bBarItem) { MeasureByRule(lpmis, bBarItem, TRUE); }

namespace {
SIZE TextSize(const LOGFONTA& lf, const CString& text)
{
    SIZE size = {0, 0};
    HDC hDC = GetMeasureDC();
    HFONT hFont = GetThemedFont(lf);
    if (!hDC)
        return size;
    // The measuring DC is this layer's own: the font stays selected for the
    // next item, which mostly has the same (every selection of a font costs
    // the display driver a look at its settings).
    if (hFont && ::GetCurrentObject(hDC, OBJ_FONT) != hFont)
        ::SelectObject(hDC, hFont);
    ::GetTextExtentPoint32A(hDC, text, text.GetLength(), &size);
    if (text.IsEmpty()) {
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(hDC, &tm);
        size.cy = tm.tmHeight;
    }
    return size;
}
} // namespace

void CThemedMenu::MeasureByRule(LPMEASUREITEMSTRUCT lpmis, BOOL bBarItem, BOOL bXP)
{
    // The record is the item's data: one of this menu's, or, for the item
    // that opens this menu, one of the parent's.
    CThemedMenuItemData* pRecord = nullptr;
    const std::vector<CThemedMenuItemData*>* pList = &m_items;
    size_t index = 0;
    CThemedMenu* pParent = FromHandleThemed(m_hParentMenu);
    for (const std::vector<CThemedMenuItemData*>* list : {&m_items, pParent ? &pParent->m_items : nullptr}) {
        for (size_t i = 0; list && !pRecord && i < list->size(); ++i)
            if ((ULONG_PTR)(*list)[i] == lpmis->itemData) {
                pRecord = (*list)[i];
                pList = list;
                index = i;
            }
    }
    if (!pRecord) {
        int pos = -1;
        CThemedMenu* pOwner = nullptr;
        pRecord = FindRecord(lpmis->itemID, &pOwner, &pos);
        if (pRecord && pOwner != this) {
            pOwner->MeasureByRule(lpmis, bBarItem, bXP);
            return;
        }
        if (!pRecord)
            return;
        index = (size_t)pos;
    }
    auto measure = [&](CThemedMenuItemData* r, UINT& width, UINT& height) {
        int cyMenu = GetMenuSettings().cyMenu;
        if (r->IsSeparator() && (r->m_nTitleFlags & TITLE_ITEM)) {
            SIZE text = TextSize(Options().titleFont, r->GetString(GetShortcutTable()));
            CSize image(0, 0);
            if (r->m_nImageIndex >= 0 && r->m_pIcons) {
                image = r->m_pIcons->GetIconSize();
                image.cx += 4;
                image.cy += 4;
            }
            if (r->m_nTitleFlags & TITLE_VERTICAL) {
                int w = image.cx > text.cy ? image.cx : text.cy;
                if (!GetThemedSystemInfo().bWine)
                    w -= GetMenuSettings().cxMenuCheck;
                if (r->m_nTitleFlags & TITLE_LINE)
                    w += 8;
                else if (r->m_nTitleFlags & TITLE_ROUNDED)
                    w += 4;
                width = (UINT)w;
                height = 0;
            } else {
                width = (UINT)(image.cx + text.cx);
                int h = image.cy > text.cy ? image.cy : text.cy;
                if (r->m_nTitleFlags & TITLE_LINE)
                    h += 8;
                height = (UINT)h;
            }
            return;
        }
        if (r->IsSeparator()) {
            width = height = 3;
            return;
        }
        LOGFONTA lf;
        if (!GetMenuFont(lf, (UINT)::GetMenuDefaultItem(m_hMenu, FALSE, 0) == (UINT)r->m_nID))
            return;
        CString text = r->GetString(GetShortcutTable());
        CString measured = text;
        if (bXP)
            measured.Replace("\t", "nnn");
        SIZE ts = TextSize(lf, measured);
        BOOL bAmp = text.Find('&') >= 0;
        int w, h;
        if (!bXP) {
            if (bBarItem)
                w = ts.cx - (bAmp ? GetMenuSettings().cxMenuCheck / 2 : 0);
            else
                w = ts.cx + 2 * m_nIconWidth + 2;
            h = m_nIconHeight + 4 > cyMenu ? m_nIconHeight + 4 : cyMenu;
        } else if (bBarItem) {
            w = ts.cx - (bAmp ? 6 : 0);
            h = m_nIconHeight + 2 > cyMenu ? m_nIconHeight + 2 : cyMenu;
        } else {
            w = (r->IsPopup() ? cyMenu : cyMenu / 2) + m_nIconWidth + ts.cx + 6;
            h = m_nIconHeight + 8 < cyMenu ? cyMenu : m_nIconHeight + 7;
        }
        if (h < ts.cy)
            h = ts.cy;
        width = (UINT)w;
        height = (UINT)h;
    };
    UINT w = 0, h = 0;
    measure(pRecord, w, h);
    if (IsSystemCommand(pRecord->m_nID) && !pRecord->IsPopup() && !pRecord->IsSeparator()) {
        for (size_t i = index + 1; i < pList->size(); ++i) {
            if ((*pList)[i]->m_nID == 0)
                continue;
            UINT w2 = 0, h2 = 0;
            measure((*pList)[i], w2, h2);
            if (w2 > w)
                w = w2;
            break;
        }
        h = (UINT)GetMenuSettings().cyMenu;
    }
    lpmis->itemWidth = w;
    lpmis->itemHeight = h;
}

CMenu* CThemedMenu::FindMenuOfItem(HMENU hMenu, UINT nID, CThemedMenuItemData* pData)
{
    if (!::IsMenu(hMenu))
        return nullptr;
    for (int i = 0, n = ::GetMenuItemCount(hMenu); i < n; ++i) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub) {
            if (CMenu* p = FindMenuOfItem(hSub, nID, pData))
                return p;
            continue;
        }
        if (::GetMenuItemID(hMenu, i) != nID)
            continue;
        if (pData) {
            MENUITEMINFOA mii = {};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_DATA;
            if (!::GetMenuItemInfoA(hMenu, (UINT)i, TRUE, &mii) || mii.dwItemData != (ULONG_PTR)pData)
                continue;
        }
        return CMenu::FromHandle(hMenu);
    }
    return nullptr;
}

CMenu* CThemedMenu::FindMenuOfCommand(HMENU hMenu, UINT nID) { return FindMenuOfItem(hMenu, nID, nullptr); }

BOOL CThemedMenu::OnMeasureItem(const MSG* pMsg)
{
    if (!pMsg || pMsg->message != WM_MEASUREITEM)
        return FALSE;
    LPMEASUREITEMSTRUCT lpmis = (LPMEASUREITEMSTRUCT)pMsg->lParam;
    if (!lpmis || lpmis->CtlType != ODT_MENU)
        return FALSE;
    HMENU hItemMenu = (HMENU)(UINT_PTR)lpmis->itemID;
    if (lpmis->itemID && ::IsMenu(hItemMenu)) {
        if (CThemedMenu* p = FromHandleThemed(hItemMenu)) {
            p->MeasureItem(lpmis);
            return TRUE;
        }
    }
    CThemedMenuItemData* pData = (CThemedMenuItemData*)lpmis->itemData;
    HMENU places[] = {g_hLastPopup, ::GetMenu(pMsg->hwnd), ::GetSystemMenu(pMsg->hwnd, FALSE)};
    for (HMENU h : places) {
        if (!h)
            continue;
        CMenu* pFound = FindMenuOfItem(h, lpmis->itemID, pData);
        if (CThemedMenu* p = pFound ? FromHandleThemed(pFound->m_hMenu) : nullptr) {
            p->MeasureItem(lpmis);
            return TRUE;
        }
    }
    if (Options().bMeasureBarMenu && pMsg->hwnd) {
        // The bar took the window's menu: it answers with it.
        HMENU hBarMenu = (HMENU)::SendMessageA(pMsg->hwnd, CThemedMenuBar::GetMenuMessage(), 0, 0);
        CMenu* pFound = hBarMenu && ::IsMenu(hBarMenu) ? FindMenuOfItem(hBarMenu, lpmis->itemID, pData) : nullptr;
        if (CThemedMenu* p = pFound ? FromHandleThemed(pFound->m_hMenu) : nullptr) {
            p->MeasureItem(lpmis);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CThemedMenu::OnMenuChar(UINT nChar, UINT, CMenu* pMenu)
{
    CThemedMenu* p = dynamic_cast<CThemedMenu*>(pMenu);
    if (!p)
        return 0;
    char key[3] = {'&', (char)nChar, 0};
    CString search = Lower(CString(key));
    if ((int)p->GetMenuItemCount() != (int)p->m_items.size())
        p->ConvertToOwnerDraw();
    for (size_t pos = 0; pos < p->m_items.size(); ++pos) {
        if (Lower(p->m_items[pos]->GetString(p->GetShortcutTable())).Find(search) >= 0)
            return MAKELRESULT(pos, MNC_EXECUTE);
    }
    return 0;
}

namespace {
void RefreshIconSets()
{
    g_dwLastRefresh = ::GetTickCount();
    g_bRefreshedOnce = TRUE;
    for (CThemedMenuIcons* p : CThemedMenuIcons::List())
        p->OnSysColorChange();
}

void CALLBACK PendingRefresh(HWND, UINT, UINT_PTR nID, DWORD)
{
    ::KillTimer(nullptr, nID);
    g_nPendingRefresh = 0;
    RefreshIconSets();
}
} // namespace

void CThemedMenu::OnSysColorChange()
{
    DWORD elapsed = ::GetTickCount() - g_dwLastRefresh;
    if (!g_bRefreshedOnce || elapsed > 2000) {
        RefreshIconSets();
        return;
    }
    // Too soon after the last refresh: done once the 2000 ms are over, so
    // that the icons take the newest colours.
    if (!g_nPendingRefresh)
        g_nPendingRefresh = ::SetTimer(nullptr, 0, 2000 - elapsed + 1, PendingRefresh);
}

void CThemedMenu::ApplyMenuBarBrush(HMENU hMenu)
{
    if (!FromHandleThemed(hMenu))
        return;
    CThemedBrush* pBrush = GetMenuBarBrush();
    if (!pBrush)
        return;
    MENUINFO mi = {};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIM_BACKGROUND;
    mi.hbrBack = (HBRUSH)pBrush->m_hObject;
    ThemedSetMenuInfo(hMenu, &mi);
    // The framework has no multi-document templates whose shared menus
    // would take the brush as well.
}

UINT CThemedMenu::GetPopupPlacement(UINT nFlags, LPCRECT pAnchor, LPCRECT pMonitor, int nExpectedHeight, BOOL bRtl,
                                    BOOL bVertical, POINT& pt)
{
    CRect anchor(*pAnchor), monitor(*pMonitor);
    if (bVertical) {
        if (anchor.right > (monitor.left + monitor.right) / 2) {
            if (anchor.left <= monitor.left)
                anchor.left = monitor.left + 1;
            pt.x = anchor.left - 1;
            if (!bRtl)
                nFlags |= TPM_RIGHTALIGN;
        } else {
            if (anchor.right <= monitor.left)
                anchor.right = monitor.left + 1;
            pt.x = anchor.right - 1;
        }
        pt.y = anchor.top + 1 < monitor.top ? monitor.top : anchor.top + 1;
        return nFlags;
    }
    pt.x = anchor.left < monitor.left ? monitor.left : anchor.left;
    if (anchor.top > (monitor.top + monitor.bottom) / 2 &&
        (nExpectedHeight == 0 || nExpectedHeight + anchor.bottom >= monitor.bottom)) {
        pt.y = anchor.top > monitor.bottom ? monitor.bottom : anchor.top;
        nFlags |= TPM_BOTTOMALIGN;
    } else {
        pt.y = anchor.bottom < monitor.top ? monitor.top : anchor.bottom;
    }
    if (bRtl)
        nFlags |= TPM_RIGHTALIGN;
    return nFlags;
}

BOOL CThemedMenu::TrackPopupMenuOnMonitor(CMenu* pMenu, UINT nFlags, LPCRECT pAnchor, CWnd* pOwner, BOOL bVertical)
{
    if (!pMenu || !pAnchor)
        return FALSE;
    CRect monitor = GetMonitorRect(pAnchor);
    BOOL bRtl = pOwner && (pOwner->GetExStyle() & WS_EX_LAYOUTRTL);
    // The height a themed popup will have, roughly: one icon row per item.
    CThemedMenu* pThemed = dynamic_cast<CThemedMenu*>(pMenu);
    int expected = pThemed ? (int)pThemed->GetMenuItemCount() * (pThemed->m_nIconHeight + 7) : 0;
    POINT pt;
    nFlags = GetPopupPlacement(nFlags, pAnchor, &monitor, expected, bRtl, bVertical, pt);
    return ::TrackPopupMenu(pMenu->m_hMenu, nFlags, pt.x, pt.y, 0, SafeHwnd(pOwner), pAnchor);
}
