// CCmdTarget (message-map owner) and CWnd (a window handle with its window
// procedure routed through the message maps).
#pragma once
#include "fw/string.h"
#include "fw/types.h"
#include "fw/msgmap.h"
#include "fw/menu.h"

class FW_API CCmdTarget
{
public:
    CCmdTarget() {}
    virtual ~CCmdTarget() {}

    // Routes a command (nCode CN_COMMAND, a control notification code, or
    // CN_UPDATE_COMMAND_UI with pExtra a CCmdUI*) or a notification
    // (nCode MAKELONG(code, WM_NOTIFY), pExtra an AFX_NOTIFY*) to this
    // object's message map. Frames override it to route on to their view.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    // Finds the handler entry for a message in this class's map or its bases.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMsg, UINT nCode, UINT nID) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

private:
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
};

class CWnd;
// The window of a pointer that may be null (an optional parent or owner):
// null when there is no object. Members are never called through a null
// pointer, so the object's own GetSafeHwnd is no help there.
inline HWND SafeHwnd(const CWnd* pWnd);

class FW_API CWnd : public CCmdTarget
{
public:
    CWnd();
    explicit CWnd(HWND hWnd); // a non-owning wrapper (not attached to the map)
    virtual ~CWnd();

    HWND m_hWnd;

    // Null while the object has no window; for a pointer that may be null,
    // use SafeHwnd.
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }
    bool operator==(const CWnd& w) const { return m_hWnd == w.m_hWnd; }
    bool operator!=(const CWnd& w) const { return m_hWnd != w.m_hWnd; }

    // Handle map: FromHandle returns the permanent object attached to the
    // handle or a temporary one (deleted at idle time by DeleteTempMap).
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();
    BOOL Attach(HWND hWnd);
    HWND Detach();

    // Window procedure replacement on an existing window.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creation. A null class name uses the framework's default class.
    virtual BOOL Create(const char* pszClassName, const char* pszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, const char* pszClassName, const char* pszWindowName, DWORD dwStyle, int x,
                          int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, const char* pszClassName, const char* pszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy(); // after the last message; frames delete themselves here
    virtual void PreSubclassWindow();

    // Message routing.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    LRESULT Default(); // the default processing of the message being handled
    static const MSG* GetCurrentMessage();
    // Sends WM_IDLEUPDATECMDUI-style update requests to child windows.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE);

    // Window text and attributes.
    void SetWindowText(const char* psz)
    {
        ASSERT(::IsWindow(m_hWnd));
        ::SetWindowTextA(m_hWnd, psz);
    }
    int GetWindowText(char* psz, int nMax) const { return ::GetWindowTextA(m_hWnd, psz, nMax); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }

    // Children and relatives.
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
    void SetDlgItemText(int nID, const char* psz) { ::SetDlgItemTextA(m_hWnd, nID, psz); }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    UINT GetDlgItemInt(int nID, BOOL* pTrans = nullptr, BOOL bSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, nID, pTrans, bSigned);
    }
    void CheckDlgButton(int nID, UINT nCheck) { ::CheckDlgButton(m_hWnd, nID, nCheck); }
    UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
    void CheckRadioButton(int nFirst, int nLast, int nCheck) { ::CheckRadioButton(m_hWnd, nFirst, nLast, nCheck); }
    LRESULT SendDlgItemMessage(int nID, UINT msg, WPARAM w = 0, LPARAM l = 0)
    {
        return ::SendDlgItemMessageA(m_hWnd, nID, msg, w, l);
    }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* pNew) { return FromHandle(::SetParent(m_hWnd, SafeHwnd(pNew))); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
    CWnd* GetTopLevelParent() const;
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, SafeHwnd(pWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* FindWindow(const char* pszClass, const char* pszTitle)
    {
        return FromHandle(::FindWindowA(pszClass, pszTitle));
    }
    static CWnd* WindowFromPoint(POINT pt) { return FromHandle(::WindowFromPoint(pt)); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    CWnd* GetNextDlgTabItem(CWnd* pCtl, BOOL bPrevious = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, SafeHwnd(pCtl), bPrevious));
    }

    // State and geometry.
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT pRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, pRect, bErase); }
    void ValidateRect(LPCRECT pRect) { ::ValidateRect(m_hWnd, pRect); }
    BOOL RedrawWindow(LPCRECT pRect = nullptr, HRGN hRgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, pRect, hRgn, flags);
    }
    void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
    void GetClientRect(LPRECT pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void GetWindowRect(LPRECT pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(LPRECT r) const
    {
        ::ClientToScreen(m_hWnd, (LPPOINT)r);
        ::ClientToScreen(m_hWnd, ((LPPOINT)r) + 1);
    }
    void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(LPRECT r) const
    {
        ::ScreenToClient(m_hWnd, (LPPOINT)r);
        ::ScreenToClient(m_hWnd, ((LPPOINT)r) + 1);
    }
    void MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, cx, cy, bRepaint);
    }
    void MoveWindow(LPCRECT r, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(m_hWnd, pAfter ? pAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
    }
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }
    void DragAcceptFiles(BOOL bAccept = TRUE) { ::DragAcceptFiles(m_hWnd, bAccept); }

    // Messages.
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, msg, w, l); }
    BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, msg, w, l); }

    // Fonts, icons, timers, menus.
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)hFont, bRedraw); }
    HFONT GetFont() const { return (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0); }
    HICON SetIcon(HICON hIcon, BOOL bBig)
    {
        return (HICON)::SendMessageA(m_hWnd, WM_SETICON, bBig ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
    }
    HICON GetIcon(BOOL bBig) const
    {
        return (HICON)::SendMessageA(m_hWnd, WM_GETICON, bBig ? ICON_BIG : ICON_SMALL, 0);
    }
    UINT_PTR SetTimer(UINT_PTR nID, UINT nElapse, TIMERPROC pfn = nullptr)
    {
        return ::SetTimer(m_hWnd, nID, nElapse, pfn);
    }
    BOOL KillTimer(UINT_PTR nID) { return ::KillTimer(m_hWnd, nID); }
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    CMenu* GetSystemMenu(BOOL bRevert) const;
    int MessageBox(const char* pszText, const char* pszCaption = nullptr, UINT nType = MB_OK);

    // Default handlers of the messages the framework routes to virtuals, so
    // that a derived class (the themed layer among them) can take them over.
    virtual int OnCreate(LPCREATESTRUCT lpcs);
    virtual void OnDestroy();
    virtual void OnNcDestroy();
    virtual void OnClose();
    virtual void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpmis);
    virtual void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpdis);
    virtual LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    virtual void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    virtual void OnInitMenu(CMenu* pMenu);
    virtual void OnSysColorChange();

    // Handlers used through the message-map macros; each does the default processing.
    afx_msg void OnPaint() { Default(); }
    afx_msg BOOL OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
    // The control itself may answer (reflected), otherwise the default colours.
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnSize(UINT, int, int) { Default(); }
    afx_msg void OnMove(int, int) { Default(); }
    afx_msg void OnTimer(UINT_PTR) { Default(); }
    afx_msg void OnDropFiles(HDROP) { Default(); }
    afx_msg void OnSysCommand(UINT, LPARAM) { Default(); }
    afx_msg void OnKeyDown(UINT, UINT, UINT) { Default(); }
    afx_msg void OnKeyUp(UINT, UINT, UINT) { Default(); }
    afx_msg void OnChar(UINT, UINT, UINT) { Default(); }
    afx_msg void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
    afx_msg void OnContextMenu(CWnd*, CPoint) { Default(); }
    afx_msg void OnLButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnLButtonUp(UINT, CPoint) { Default(); }
    afx_msg void OnLButtonDblClk(UINT, CPoint) { Default(); }
    afx_msg void OnRButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnRButtonUp(UINT, CPoint) { Default(); }
    afx_msg void OnMouseMove(UINT, CPoint) { Default(); }
    afx_msg BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    afx_msg void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    afx_msg void OnShowWindow(BOOL, UINT) { Default(); }
    afx_msg void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    afx_msg void OnSetFocus(CWnd*) { Default(); }
    afx_msg void OnKillFocus(CWnd*) { Default(); }
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnNcPaint() { Default(); }
    afx_msg BOOL OnNcActivate(BOOL) { return (BOOL)Default(); }
    afx_msg void OnSettingChange(UINT, LPCSTR) { Default(); }
    afx_msg BOOL OnQueryEndSession() { return (BOOL)Default(); }
    afx_msg void OnEndSession(BOOL) { Default(); }

    // The framework's window procedure (subclasses every window it creates).
    static LRESULT CALLBACK FwWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Registers (once) and returns the default window class name.
    static const char* GetDefaultClassName();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

    WNDPROC m_pfnSuper; // the procedure we replaced, for default processing

    friend class CDialog;
    void HookCreation(); // the next window created on this thread attaches to this object
    static void UnhookCreation();
    // After a creation under the hook: TRUE when the window h is this
    // object's, subclassed here when the hook could not see its creation;
    // FALSE when the object holds another window.
    BOOL AdoptCreatedWindow(HWND h);
};

inline HWND SafeHwnd(const CWnd* pWnd) { return pWnd != nullptr ? pWnd->m_hWnd : nullptr; }

// Dispatches one call to a message-map entry's thunk; used by the framework.
FW_API BOOL FwDispatch(CCmdTarget* pTarget, const AFX_MSGMAP_ENTRY* pEntry, FW_MSGCALL& call);
