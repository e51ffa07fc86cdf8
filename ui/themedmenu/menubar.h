// CThemedMenuBar: a control bar that takes its frame's menu and shows it as
// flat, themed, hot-tracking items. It opens the popups itself (the mouse
// and the arrow keys move between them) and gives keyboard access with Alt
// and F10 through the frame's PreTranslateMessage.
#pragma once
#include "themedmenu.h"
#include "fw/controlbars.h"
#include <vector>

// Item flags a bar keeps beside the owner-draw state bits (ODS_SELECTED,
// ODS_HOTLIGHT, ODS_NOACCEL).
enum {
    BARITEM_PRESSED = 0x0800,     // with ODS_SELECTED while its popup is open
    BARITEM_RIGHT_GROUP = 0x1000, // first item of the right-aligned group
    BARITEM_NEW_ROW = 0x2000,     // the item starts a new row
    BARITEM_VERTICAL = 0x8000,    // drawn on a bar docked at a side
    BARITEM_STATE_MASK = 0x8841
};

// One item of a menu bar.
class CThemedBarItem
{
public:
    CThemedBarItem() : m_rect(0, 0, 0, 0), m_nFlags(0) {}
    virtual ~CThemedBarItem() {}

    // On a side-docked bar the rectangle is turned about its top-left corner.
    virtual void GetRect(CRect& rect, BOOL bVertical) const;
    virtual BOOL HitTest(int x, int y, BOOL bVertical) const;
    virtual void Draw(CWnd* pFrame, CDC* pDC) = 0;
    virtual HMENU GetSubMenu(CWnd* pFrame) const = 0;
    virtual UINT GetCommand() const = 0;

    CRect m_rect; // bar client coordinates; its size set when the item is made
    int m_nFlags;

private:
    CThemedBarItem(const CThemedBarItem&) = delete;
    CThemedBarItem& operator=(const CThemedBarItem&) = delete;
};

// A top-level item of the bar's menu, painted by the frame's themed menu.
class CThemedMenuBarItem : public CThemedBarItem
{
public:
    CThemedMenuBarItem(CWnd* pFrame, HMENU hMenu, int nPos);
    void Draw(CWnd* pFrame, CDC* pDC) override;
    HMENU GetSubMenu(CWnd* pFrame) const override;
    UINT GetCommand() const override;

    HMENU m_hMenu;
    int m_nPos;
    BOOL m_bOwnerDraw;
};

// A bitmap item of the menu, or a button of a maximised document child.
class CThemedIconBarItem : public CThemedBarItem
{
public:
    enum { KIND_BITMAP = 0, KIND_CHILD_ICON = 1, KIND_RESTORE = 2, KIND_MINIMIZE = 3, KIND_CLOSE = 5 };
    CThemedIconBarItem(int nKind, UINT nID, HBITMAP hBitmap = nullptr);
    void Draw(CWnd* pFrame, CDC* pDC) override;
    HMENU GetSubMenu(CWnd* pFrame) const override;
    UINT GetCommand() const override { return m_nID; }

    int m_nKind;
    UINT m_nID;
    HBITMAP m_hBitmap; // the menu's, not owned
};

class CThemedMenuBar : public CControlBar
{
public:
    enum { MODE_IDLE = 0, MODE_TRACKING = 1, MODE_HOT = 2 };

    CThemedMenuBar();
    ~CThemedMenuBar() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = 59418);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID);

    // Rebuilds the items from a menu (null: the current one). The frame stops
    // showing that menu itself.
    void SetMenu(HMENU hMenu);
    HMENU GetMenu() const { return m_hMenu; }
    // Opens an item's popup and tracks it; 0 when nothing was opened.
    int TrackPopup(int nItem);
    // Moves the highlight (-1: none) and sets the mode.
    void SetHot(int nItem, int nMode);
    // Alt, F10 and the keys of keyboard mode; TRUE when the bar used the message.
    BOOL TranslateFrameMessage(MSG* pMsg);

    int GetMode() const { return m_nMode; }
    int GetHotItem() const { return m_nHotItem; }
    int GetCurrentItem() const { return m_nCurrentItem; }
    int GetItemCount() const { return (int)m_items.size(); }
    CThemedBarItem* GetItem(int nIndex) const;
    HMENU GetOpenPopup() const { return m_hOpenPopup; }
    // The item under a point of the bar's client area, -1 for none.
    int HitTest(CPoint pt) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CWnd* pTarget, BOOL bDisableIfNoHndler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The registered messages: the frame removes its menu / answers the bar's menu.
    static UINT RemoveMenuMessage();
    static UINT GetMenuMessage();

protected:
    virtual CSize CalcLayout(int nLength, BOOL bApply);
    virtual int WrapBar(int nLength);
    virtual void SizeBar(int nLength);
    virtual void AlignRow(int nFirst, int nLast, int nLength);
    virtual CSize CalcSize() const;
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    virtual LRESULT FrameWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(WPARAM, LPARAM);
    afx_msg LRESULT OnNcCalcSize(WPARAM, LPARAM);
    afx_msg void OnNcPaint();

    // The message filter while a popup of the bar is open.
    static LRESULT CALLBACK MenuFilterProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FrameProcThunk(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnMenuFilter(const MSG* pMsg);
    void SwitchTo(int nItem);
    static BOOL HasHighlightedItem(HMENU hMenu);
    int NextItem(int nFrom, int nStep) const;
    BOOL IsVertical() const;
    BOOL IsFocusInFrame() const;
    CWnd* Frame() const;
    void FillBackground(CDC* pDC, const CRect& rect);
    void RedrawItem(int nItem);
    void DeleteItems();
    void StartHotTimer();
    void StopHotTimer();
    // Borders around the items, the gripper included.
    CRect InsideBorders() const;

    int m_nMode;
    BOOL m_bPopupIsBarMenu;
    BOOL m_bSelectionHasNoPopup;
    BOOL m_bOtherKeyWithAlt;
    UINT m_nHotTimer;
    HMENU m_hMenu;
    BOOL m_bChildMaximised;
    int m_nHotItem;
    int m_nCurrentItem;
    CPoint m_ptLastMouse;
    int m_nPressedItem;
    HMENU m_hOpenPopup;
    HWND m_hPopupOwner;
    BOOL m_bReopen;
    std::vector<CThemedBarItem*> m_items;
    WNDPROC m_pfnOldFrameProc;
    HWND m_hFrame;
    CRect m_rcBorders;
    int m_nLayoutLength; // the WM_SIZEPARENT rectangle's width, -1 outside a layout

    DECLARE_MESSAGE_MAP()
};
