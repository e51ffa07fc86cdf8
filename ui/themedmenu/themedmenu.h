// Themed menus: a CMenu whose items are all owner-drawn and painted by the
// current menu theme. One record per item keeps its text, flags, id and image.
#pragma once
#include "drawkit.h"

class CThemedMenu;
class CMenuTheme;

// How the menu hook is put in place (SetWindowsHookExA; tests make it fail).
typedef HHOOK(WINAPI* PFN_SETMENUHOOK)(int, HOOKPROC, HINSTANCE, DWORD);
extern PFN_SETMENUHOOK g_pfnSetMenuHook;

// One item of a themed menu.
class CThemedMenuItemData
{
public:
    CThemedMenuItemData();
    virtual ~CThemedMenuItemData(); // drops the icon-set reference

    // The display text: the text with the shortcut text of the accelerator
    // table (-1 the main frame's, 0 none) after a tab.
    virtual CString GetString(HACCEL hAccel) const;
    virtual void SetString(const char* pszText) { m_strText = pszText; }
    // Refers the item to an image of an icon set (counted), or to none.
    void SetImage(CThemedMenuIcons* pIcons, int nImageIndex);

    BOOL IsSeparator() const { return (m_nFlags & MF_SEPARATOR) != 0; }
    BOOL IsPopup() const { return (m_nFlags & MF_POPUP) != 0; }

    CString m_strText;
    int m_nTitleFlags; // TITLE_* for a separator shown as a title
    UINT m_nFlags;     // MF_ flags, with MF_BYPOSITION | MF_OWNERDRAW once converted
    UINT_PTR m_nID;    // command id, or the sub-menu's handle
    BOOL m_bInUse;
    CThemedMenuIcons* m_pIcons;
    int m_nImageIndex; // -1: no image

private:
    CThemedMenuItemData(const CThemedMenuItemData&) = delete;
    CThemedMenuItemData& operator=(const CThemedMenuItemData&) = delete;
};

// Title flags of a separator record.
enum {
    TITLE_ITEM = 0x1,
    TITLE_VERTICAL = 0x2,
    TITLE_GRADIENT = 0x4,
    TITLE_3D = 0x8,
    TITLE_LINE = 0x10,
    TITLE_ROUNDED = 0x20,
    TITLE_CENTERED = 0x40
};

// A title item with its own colours (0xFF000000: the theme's).
class CThemedMenuItemDataTitle : public CThemedMenuItemData
{
public:
    CThemedMenuItemDataTitle() : m_crText(0xFF000000), m_crGradient(0xFF000000), m_crBackground(0xFF000000) {}
    COLORREF m_crText;
    COLORREF m_crGradient;
    COLORREF m_crBackground;
};

// Process-wide switches of the themed menus.
struct CThemedMenuOptions
{
    LOGFONTA titleFont;       // 16 px bold Arial
    BOOL bDimmedIcons;        // 1
    BOOL bDecorateEveryPopup; // 1
    int nIconDimming;         // 50
    BOOL bShortcutText;       // 1
    int nPopupTransparency;   // 255: opaque
    // Off unless a program switches them on at start:
    BOOL bMeasureBarMenu; // measuring also searches the menu bar's menu
    BOOL bMenuEdgeLine;   // frames and dialogs close their menu area with a line
};

class CThemedMenu : public CMenu
{
public:
    explicit CThemedMenu(HMENU hParent = nullptr);
    ~CThemedMenu() override;

    // ---- process-wide operations
    static int SelectTheme(int nThemeId);
    static BOOL SetDimmedIcons(BOOL bOn);
    static BOOL GetDimmedIcons();
    static int GetThemeId();
    static CMenuTheme* GetCurrentTheme();
    static CThemedMenuOptions& Options();
    static void OnInitMenuPopup(HWND hOwner, HMENU hPopup, UINT nIndex, BOOL bSysMenu);
    // The bookkeeping of a popup that closed (WM_UNINITMENUPOPUP).
    static void OnUnInitMenuPopup(HMENU hPopup);
    static BOOL OnMeasureItem(const MSG* pMsg);
    static LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    static void OnSysColorChange();
    static void ApplyMenuBarBrush(HMENU hMenu);
    // While a program makes its main window no popup menu can open, and the
    // menu hook would only slow down every message sent meanwhile: Suspend
    // takes it off until Resume (each does nothing when there is nothing to
    // take off or to put back).
    // A resume that cannot put the hook back (after a few tries) returns
    // FALSE, is tried again at the next popup that a themed window opens,
    // and calls the failure handler the first time.
    static void SuspendMenuHook();
    static BOOL ResumeMenuHook();
    static void SetMenuHookFailureHandler(void (*pfnFailed)());
    static BOOL TrackPopupMenuOnMonitor(CMenu* pMenu, UINT nFlags, LPCRECT pAnchor, CWnd* pOwner, BOOL bVertical);
    // Where a popup of the expected height opens next to the anchor inside
    // the monitor rectangle; returns the TPM_ flags to use.
    static UINT GetPopupPlacement(UINT nFlags, LPCRECT pAnchor, LPCRECT pMonitor, int nExpectedHeight, BOOL bRtl,
                                  BOOL bVertical, POINT& pt);
    static CMenu* FindMenuOfCommand(HMENU hMenu, UINT nID);
    static CMenu* FindMenuOfCommand(CMenu* pMenu, UINT nID) { return FindMenuOfCommand(SafeHmenu(pMenu), nID); }
    static CMenu* FindMenuOfItem(HMENU hMenu, UINT nID, CThemedMenuItemData* pData);
    static CMenu* FindMenuOfItem(CMenu* pMenu, UINT nID, CThemedMenuItemData* pData)
    {
        return FindMenuOfItem(SafeHmenu(pMenu), nID, pData);
    }
    // The themed menu object of a handle, null when it has none.
    static CThemedMenu* FromHandleThemed(HMENU hMenu);
    // The popup last seen by OnInitMenuPopup (consumed by the popup windows).
    static HMENU GetLastPopup();
    static void SetLastPopup(HMENU hMenu);
    // The menu-bar item a frame is painting (cleared when drawn not hot).
    static CThemedMenuItemData* GetPaintingBarItem();
    static void SetPaintingBarItem(CThemedMenuItemData* pData);

    // ---- loading and items
    BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource)); }
    virtual BOOL LoadMenu(const char* pszResource);
    virtual BOOL LoadMenu(HMENU hMenu);
    virtual BOOL DestroyMenu();
    // Lets go of the menu handle and its sub-menus without destroying them
    // (the window that holds them destroys them), freeing the records.
    void ForgetHandles();
    BOOL SetItemText(UINT nItem, CString strText, UINT nFlags);
    BOOL SetItemImage(UINT nID, CImageList* pImageList, int nImage);
    // The same from an icon, copied into the icon set (the caller keeps the
    // icon): no image list in between when the icons come from resources.
    BOOL SetItemIcon(UINT nID, HICON hIcon);
    // The same from the 16x16 icon resource of the module, which is read when
    // the menu first needs its image: FALSE when the module has no such icon.
    BOOL SetItemIcon(UINT nID, HINSTANCE hModule, UINT nIconId);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    BOOL GetMenuText(UINT nItem, CString& strText, UINT nFlags);
    BOOL ChangeItemCommand(UINT nOldID, UINT nNewID);
    void ConvertToOwnerDraw();
    using CMenu::AppendMenu;
    // Appends an owner-drawn item (id 0: a separator) without image.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* pszText, int nIconIndex);

    // ---- owner drawing
    void DrawItem(LPDRAWITEMSTRUCT lpdis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpmis) override;
    virtual void DrawMenuTitle(LPDRAWITEMSTRUCT lpdis);
    virtual BOOL EraseBkgnd(HWND hWnd, HDC hDC);
    virtual void PrepareOwnerDraw();
    virtual BOOL OnUnInitPopupMenu();

    // Measure painters (bar-item flag) and draw painters (menu-bar flag).
    void MeasureItemClassic(LPMEASUREITEMSTRUCT lpmis, BOOL bBarItem);
    void MeasureItemXP(LPMEASUREITEMSTRUCT lpmis, BOOL bBarItem);
    void DrawItem2003(LPDRAWITEMSTRUCT lpdis, BOOL bBar);
    void DrawItemXP(LPDRAWITEMSTRUCT lpdis, BOOL bBar);
    void DrawItemClassic(LPDRAWITEMSTRUCT lpdis, BOOL bBar);
    void DrawItemGradient(LPDRAWITEMSTRUCT lpdis, BOOL bBar);
    void DrawItemFlatBar(LPDRAWITEMSTRUCT lpdis, BOOL bBar);
    void DrawCheckOrBitmap(CDC* pDC, LPCRECT pRect, UINT nState, HBITMAP hChecked, HBITMAP hUnchecked);
    void PaintMenuTitle(LPDRAWITEMSTRUCT lpdis);

    // ---- lookups
    // The record of a command id, searched depth first through the sub-menus;
    // *ppOwner gets the menu holding it and *pPos its position.
    CThemedMenuItemData* FindRecord(UINT_PTR nID, CThemedMenu** ppOwner = nullptr, int* pPos = nullptr);
    int GetRecordCount() const { return (int)m_items.size(); }
    CThemedMenuItemData* GetRecord(int nPos) const;
    // The accelerator table that display texts use (none with the option off).
    HACCEL GetShortcutTable() const;

    std::vector<CThemedMenuItemData*> m_items;
    std::vector<HMENU> m_subMenus;
    int m_nIconWidth;
    int m_nIconHeight;
    HWND m_hOwner;
    COLORREF m_crBitmapBackground;
    CThemedMenuIcons* m_pOwnIcons;
    BOOL m_bIconsShared;
    HMENU m_hParentMenu;
    BOOL m_bPopup;
    CRect m_rectBarItem;
    int m_nOpenPopups;
    HACCEL m_hAccel;

protected:
    CThemedMenuItemData* NewRecord(int nPos, UINT nFlags, UINT_PTR nID, const CString& strText);
    CThemedMenuItemData* TakeRecord(UINT_PTR nID);
    BOOL SetItemIcon(UINT nID, HICON hIcon, CSize size);
    // The icon set of the size that holds nID, else any of the size, else a
    // new one; add puts the image in and returns its index (-1: failed).
    template <class TAdd>
    BOOL SetItemIconBy(UINT nID, CSize size, TAdd add);
    void MeasureByRule(LPMEASUREITEMSTRUCT lpmis, BOOL bBarItem, BOOL bXP);
    void DrawByPainter(LPDRAWITEMSTRUCT lpdis, BOOL bBar);
    void RedrawBarItem();
};

// Key names of the shortcut texts: the name of a virtual key as the system
// gives it, with the extended bit for the navigation keys.
CString GetShortcutKeyName(WORD vk);
