// Themed frame and dialog bases: a framework window class T with two themed
// menus (its own menu and its system menu), the menu messages routed to the
// themed menu, the menu background brush applied, and hot-tracking of a
// window menu drawn in the non-client area where the system does not do it.
//
// A derived window chains its message map to its base, calls the base's
// OnCreate (frames) or OnInitDialog (dialogs), and needs nothing else.
#pragma once
#include "themedmenu.h"
#include "fw/cmdui.h"
#include <utility>

// Paints one item of a window menu drawn by the system (WM_DRAWITEM to the
// window); 0 when the item is not owner-drawn or has no rectangle.
BOOL PaintFrameMenuItem(HWND hWnd, HMENU hMenu, int nPos, UINT nState);
// The one-pixel line in the window menu's background brush just above the
// client area; nothing without a menu or a brush.
void DrawMenuEdgeLine(HWND hWnd);
// Hot-tracking of the window menu for one WM_NCHITTEST result.
LRESULT ThemedFrameHitTest(HWND hWnd, LRESULT nHit, POINT pt, BOOL bInMenuLoop, UINT& nTimer, int& nHotItem);

template <class T>
class CThemedFrame : public T
{
public:
    template <class... A>
    explicit CThemedFrame(A&&... args)
        : T(std::forward<A>(args)...), m_bInMenuLoop(FALSE), m_nHotTimer(0), m_nHotItem(-1)
    {
    }
    ~CThemedFrame() override
    {
        // Menus still held by a live window go with that window.
        if (this->m_hWnd && ::IsWindow(this->m_hWnd)) {
            if (::GetSystemMenu(this->m_hWnd, FALSE) == m_systemMenu.m_hMenu)
                m_systemMenu.ForgetHandles();
            if (::GetMenu(this->m_hWnd) == m_defaultMenu.m_hMenu)
                m_defaultMenu.ForgetHandles();
        }
        m_systemMenu.DestroyMenu();
        m_defaultMenu.DestroyMenu();
    }

    CThemedMenu m_defaultMenu;
    CThemedMenu m_systemMenu;
    BOOL m_bInMenuLoop;
    UINT m_nHotTimer;
    int m_nHotItem;

    int OnCreate(LPCREATESTRUCT lpcs) override
    {
        if (T::OnCreate(lpcs) == -1)
            return -1;
        AttachSystemMenu();
        return 0;
    }
    void OnDestroy() override
    {
        StopHotTracking();
        T::OnDestroy();
    }
    void OnNcDestroy() override
    {
        // The window destroys its own menu and system menu after this message:
        // the members let go of those handles now, so that they never destroy
        // a handle the system may already have handed out again.
        if (m_systemMenu.m_hMenu)
            m_systemMenu.ForgetHandles();
        if (m_defaultMenu.m_hMenu && ::GetMenu(this->m_hWnd) == m_defaultMenu.m_hMenu)
            m_defaultMenu.ForgetHandles();
        T::OnNcDestroy();
    }
    void OnSysColorChange() override
    {
        CWnd::OnSysColorChange();
        CThemedMenu::OnSysColorChange();
        CThemedMenu::ApplyMenuBarBrush(m_defaultMenu.m_hMenu);
    }
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override
    {
        T::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
        CThemedMenu::OnInitMenuPopup(this->m_hWnd, SafeHmenu(pPopupMenu), nIndex, bSysMenu);
    }
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpmis) override
    {
        if (!CThemedMenu::OnMeasureItem(CWnd::GetCurrentMessage()))
            T::OnMeasureItem(nIDCtl, lpmis);
    }
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) override
    {
        if (dynamic_cast<CThemedMenu*>(pMenu))
            return CThemedMenu::OnMenuChar(nChar, nFlags, pMenu);
        return T::OnMenuChar(nChar, nFlags, pMenu);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = T::WindowProc(message, wParam, lParam);
        // Painting and activation redraw the menu area: the line goes back over it.
        if ((message == WM_NCPAINT || message == WM_PAINT || message == WM_ACTIVATE || message == WM_ACTIVATEAPP) &&
            CThemedMenu::Options().bMenuEdgeLine && this->m_hWnd)
            DrawMenuEdgeLine(this->m_hWnd);
        return result;
    }
    afx_msg LRESULT OnEnterMenuLoop(WPARAM, LPARAM)
    {
        m_bInMenuLoop = TRUE;
        StopHotTracking();
        return this->Default();
    }
    afx_msg LRESULT OnExitMenuLoop(WPARAM, LPARAM)
    {
        m_bInMenuLoop = FALSE;
        return this->Default();
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        T::OnTimer(nIDEvent);
        if (m_nHotTimer && nIDEvent == m_nHotTimer) {
            POINT pt;
            ::GetCursorPos(&pt);
            this->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
        }
    }
    afx_msg LRESULT OnNcHitTest(WPARAM, LPARAM lParam)
    {
        LRESULT nHit = this->Default();
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        return ThemedFrameHitTest(this->m_hWnd, nHit, pt, m_bInMenuLoop, m_nHotTimer, m_nHotItem);
    }

protected:
    void AttachSystemMenu()
    {
        HMENU hSys = ::GetSystemMenu(this->m_hWnd, FALSE);
        if (m_systemMenu.m_hMenu == hSys)
            return;
        if (m_systemMenu.m_hMenu)
            m_systemMenu.DestroyMenu();
        if (hSys)
            m_systemMenu.Attach(hSys);
    }
    void StopHotTracking()
    {
        if (m_nHotTimer) {
            ::KillTimer(this->m_hWnd, m_nHotTimer);
            m_nHotTimer = 0;
        }
        if (m_nHotItem != -1) {
            PaintFrameMenuItem(this->m_hWnd, ::GetMenu(this->m_hWnd), m_nHotItem, 0);
            m_nHotItem = -1;
        }
    }

    static const AFX_MSGMAP* GetThisMessageMap()
    {
        typedef CThemedFrame<T> ThisClass;
        static const AFX_MSGMAP_ENTRY entries[] = {
            ON_MESSAGE(WM_ENTERMENULOOP, OnEnterMenuLoop) ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop) ON_WM_TIMER()
                ON_MESSAGE(WM_NCHITTEST, OnNcHitTest){0, 0, 0, 0, nullptr, nullptr}};
        static const AFX_MSGMAP map = {&T::GetThisMessageMap, &entries[0]};
        return &map;
    }
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }
};

// Creation of a frame with the default menu loading the menu resource. The
// window itself shows that menu unless bWindowMenu is FALSE (for a frame
// whose menu bar shows it: the window then never lays out a menu line that
// the bar would take away again).
template <class T>
BOOL ThemedFrameCreate(CThemedFrame<T>* pFrame, const char* pszClassName, const char* pszWindowName, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, const char* pszMenuName, DWORD dwExStyle,
                       BOOL bWindowMenu = TRUE)
{
    if (pszMenuName) {
        pFrame->m_defaultMenu.LoadMenu(pszMenuName);
        if (!pFrame->m_defaultMenu.m_hMenu) {
            pFrame->PostNcDestroy();
            return FALSE;
        }
    }
    pFrame->SetTitle(pszWindowName);
    int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (rect.left == (LONG)CW_USEDEFAULT) {
        cx = CW_USEDEFAULT;
        cy = CW_USEDEFAULT;
    }
    if (!pFrame->CWnd::CreateEx(dwExStyle, pszClassName, pszWindowName, dwStyle, rect.left, rect.top, cx, cy,
                                SafeHwnd(pParentWnd), bWindowMenu ? pFrame->m_defaultMenu.m_hMenu : nullptr, nullptr))
        return FALSE;
    pFrame->m_hMenuDefault = pFrame->m_defaultMenu.m_hMenu;
    CThemedMenu::ApplyMenuBarBrush(pFrame->m_defaultMenu.m_hMenu);
    return TRUE;
}

#define THEMED_FRAME_CREATE \
    BOOL Create(const char* pszClassName, const char* pszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW, \
                const RECT& rect = CFrameWnd::rectDefault, CWnd* pParentWnd = nullptr, \
                const char* pszMenuName = nullptr, DWORD dwExStyle = 0, CCreateContext* = nullptr) override \
    { \
        return ThemedFrameCreate(this, pszClassName, pszWindowName, dwStyle, rect, pParentWnd, pszMenuName, \
                                 dwExStyle); \
    }

class CThemedFrameWnd : public CThemedFrame<CFrameWnd>
{
public:
    THEMED_FRAME_CREATE
};
class CThemedMDIFrameWnd : public CThemedFrame<CMDIFrameWnd>
{
public:
    THEMED_FRAME_CREATE
};
class CThemedMDIChildWnd : public CThemedFrame<CMDIChildWnd>
{};
class CThemedMiniFrameWnd : public CThemedFrame<CMiniFrameWnd>
{};
class CThemedMiniDockFrameWnd : public CThemedFrame<CMiniDockFrameWnd>
{};

class CThemedDialog : public CThemedFrame<CDialog>
{
public:
    CThemedDialog() {}
    explicit CThemedDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : CThemedFrame<CDialog>(nIDTemplate, pParentWnd)
    {
    }
    explicit CThemedDialog(const char* pszTemplateName, CWnd* pParentWnd = nullptr)
        : CThemedFrame<CDialog>(pszTemplateName, pParentWnd)
    {
    }

    BOOL OnInitDialog() override;
    // Command states of the dialog menu's items, then the themed preparation.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;
};
