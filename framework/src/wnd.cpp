// CCmdTarget and CWnd: handle maps, creation hook, window procedure and the
// message-map dispatch.
#include "fw/wnd.h"
#include "fw/menu.h"
#include "fw/cmdui.h"
#include "fw/app.h"
#include "fw/controls.h"
#include "handlemap.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;
HINSTANCE FwFrameworkInstance() { return (HINSTANCE)&__ImageBase; }

FwLock::FwLock() { ::EnterCriticalSection(&Section()); }
FwLock::~FwLock() { ::LeaveCriticalSection(&Section()); }
CRITICAL_SECTION& FwLock::Section()
{
    struct Holder
    {
        CRITICAL_SECTION cs;
        Holder() { ::InitializeCriticalSection(&cs); }
    };
    static Holder h;
    return h.cs;
}

namespace {
FwHandleMap<HWND, CWnd, &CWnd::m_hWnd>& WndMap()
{
    static FwHandleMap<HWND, CWnd, &CWnd::m_hWnd> m;
    return m;
}

// Offers a message to the object of the control hWndControl, for the control
// to handle itself (a reflected message); TRUE when it did. A window is never
// its own control.
BOOL ReflectToControl(CWnd* self, HWND hWndControl, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* pChild = CWnd::FromHandlePermanent(hWndControl);
    return pChild && pChild != self && pChild->OnChildNotify(message, wParam, lParam, pResult);
}

// The same for the message being handled.
BOOL ReflectCurrentMessage(CWnd* self, CWnd* pControl, LRESULT* pResult)
{
    const MSG* pMsg = CWnd::GetCurrentMessage();
    return ReflectToControl(self, SafeHwnd(pControl), pMsg->message, pMsg->wParam, pMsg->lParam, pResult);
}

// Per-thread state: the window object waiting for its HWND, the creation
// hook, and the message being handled (for Default()).
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHookCbt = nullptr;
thread_local MSG t_lastMsg = {};

LRESULT CALLBACK CbtHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && t_pWndInit) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->SubclassWindow((HWND)wParam);
    }
    return ::CallNextHookEx(t_hHookCbt, nCode, wParam, lParam);
}

BOOL MatchEntry(const AFX_MSGMAP_ENTRY* e, UINT nMsg, UINT nCode, UINT nID)
{
    UINT msg = e->nMessage;
    if (msg == FW_MSG_REGISTERED) {
        if (!e->pRegMsg || *e->pRegMsg != nMsg)
            return FALSE;
        return TRUE;
    }
    if (msg != nMsg)
        return FALSE;
    if (msg == WM_COMMAND || msg == WM_NOTIFY)
        return e->nCode == nCode && nID >= e->nID && nID <= e->nLastID;
    if (msg == WM_COMMAND + WM_REFLECT_BASE || msg == WM_NOTIFY + WM_REFLECT_BASE)
        return e->nCode == nCode;
    return TRUE;
}
} // namespace

BOOL FwDispatch(CCmdTarget* pTarget, const AFX_MSGMAP_ENTRY* pEntry, FW_MSGCALL& call)
{
    return pEntry->pfn(pTarget, call);
}

// ---------------------------------------------------------------- CCmdTarget

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMsg, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn; ++e)
            if (MatchEntry(e, nMsg, nCode, nID))
                return e;
        if (pMap->pfnGetBaseMap == nullptr)
            break;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    UINT nMsg = WM_COMMAND;
    UINT code = (UINT)nCode;
    if (code != CN_UPDATE_COMMAND_UI && HIWORD(code) == WM_NOTIFY) {
        // Notification codes are matched in full; they come from the NMHDR.
        nMsg = WM_NOTIFY;
        AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
        code = pNotify && pNotify->pNMHDR ? pNotify->pNMHDR->code : (UINT)(short)LOWORD(code);
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(nMsg, code, nID);
    if (!e)
        return FALSE;
    if (pHandlerInfo)
        return TRUE; // only asking whether a handler exists
    LRESULT dummy = 0;
    FW_MSGCALL call = {nMsg, 0, 0, nID, pExtra, &dummy};
    if (nMsg == WM_NOTIFY && pExtra) {
        AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
        call.lParam = (LPARAM)pNotify->pNMHDR;
        if (pNotify->pResult)
            call.pResult = pNotify->pResult;
    }
    return FwDispatch(this, e, call);
}

// ---------------------------------------------------------------------- CWnd

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr) {}

CWnd::~CWnd()
{
    if (WndMap().LookupPermanent(m_hWnd) == this) {
        // The object goes before its window: the window must not outlive it.
        if (::IsWindow(m_hWnd) && m_pfnSuper)
            DestroyWindow();
        if (m_hWnd)
            Detach();
    }
}

CWnd* CWnd::FromHandle(HWND hWnd) { return WndMap().FromHandle(hWnd); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return WndMap().LookupPermanent(hWnd); }

void CWnd::DeleteTempMap() { WndMap().DeleteTemporaries(); }

BOOL CWnd::Attach(HWND hWnd) { return WndMap().Attach(this, hWnd); }

HWND CWnd::Detach() { return WndMap().Detach(this); }

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    if (old != &CWnd::FwWndProc) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&CWnd::FwWndProc);
        m_pfnSuper = old;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    ASSERT(pParent && pParent->m_hWnd);
    HWND h = ::GetDlgItem(SafeHwnd(pParent), (int)nID);
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    // Another procedure may have subclassed the window after us (a menu bar
    // takes over its frame's): then ours stays in the chain and keeps
    // forwarding to the procedure it replaced.
    if (m_hWnd && m_pfnSuper && (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) != &CWnd::FwWndProc)
        return nullptr;
    if (m_hWnd && m_pfnSuper) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
        m_pfnSuper = nullptr;
    }
    return Detach();
}

const char* CWnd::GetDefaultClassName()
{
    static const char* const kName = "FwWnd";
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = FwFrameworkInstance();
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = kName;
        WNDCLASSA existing;
        if (::GetClassInfoA(FwFrameworkInstance(), kName, &existing) || ::RegisterClassA(&wc))
            registered = true;
    }
    return kName;
}

void CWnd::HookCreation()
{
    t_pWndInit = this;
    if (!t_hHookCbt)
        t_hHookCbt = ::SetWindowsHookExA(WH_CBT, CbtHookProc, nullptr, ::GetCurrentThreadId());
}

BOOL CWnd::AdoptCreatedWindow(HWND h)
{
    if (m_hWnd == h)
        return TRUE;
    if (m_hWnd)
        return FALSE;
    SubclassWindow(h);
    return TRUE;
}

void CWnd::UnhookCreation()
{
    t_pWndInit = nullptr;
    if (t_hHookCbt) {
        ::UnhookWindowsHookEx(t_hHookCbt);
        t_hHookCbt = nullptr;
    }
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = GetDefaultClassName();
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* pszClassName, const char* pszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    ASSERT(m_hWnd == nullptr);
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = pszClassName;
    cs.lpszName = pszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = ::GetModuleHandleA(nullptr);
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    HookCreation();
    HWND h = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                               cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    UnhookCreation();
    return h != nullptr && AdoptCreatedWindow(h);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* pszClassName, const char* pszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, pszClassName, pszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, SafeHwnd(pParentWnd), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(const char* pszClassName, const char* pszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(0, pszClassName, pszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, lpParam);
}

BOOL CWnd::DestroyWindow()
{
    HWND h = m_hWnd;
    if (!h)
        return FALSE;
    BOOL ok = ::DestroyWindow(h);
    // A window we subclassed was detached in WM_NCDESTROY (and the object may
    // be gone); one we only attached is detached here.
    if (WndMap().LookupPermanent(h) == this)
        Detach();
    return ok;
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CALLBACK CWnd::FwWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcA(hWnd, msg, wParam, lParam);

    MSG saved = t_lastMsg;
    t_lastMsg.hwnd = hWnd;
    t_lastMsg.message = msg;
    t_lastMsg.wParam = wParam;
    t_lastMsg.lParam = lParam;
    LRESULT r = pWnd->WindowProc(msg, wParam, lParam);
    t_lastMsg = saved;

    if (msg == WM_NCDESTROY && FromHandlePermanent(hWnd) == pWnd) {
        // The last message: give the window back its own procedure, forget
        // the handle, and let the object clean up (frames delete themselves).
        WNDPROC super = pWnd->m_pfnSuper;
        if (super && (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == &CWnd::FwWndProc)
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)super);
        pWnd->m_pfnSuper = nullptr;
        pWnd->Detach();
        // The program ends with its main window.
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd == pWnd) {
            pApp->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        pWnd->PostNcDestroy();
    }
    return r;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(t_lastMsg.message, t_lastMsg.wParam, t_lastMsg.lParam); }

const MSG* CWnd::GetCurrentMessage() { return &t_lastMsg; }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (!pNMHDR || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        *pResult = lResult;
        return TRUE;
    }

    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(message, 0, 0);
    if (e) {
        FW_MSGCALL call = {message, wParam, lParam, 0, nullptr, &lResult};
        if (FwDispatch(this, e, call)) {
            *pResult = lResult;
            return TRUE;
        }
        return FALSE;
    }

    // No entry: the messages below still reach virtual handlers, so a derived
    // class (the themed layer among them) can take them over without a map.
    switch (message) {
    case WM_CREATE: *pResult = OnCreate((LPCREATESTRUCT)lParam); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    case WM_NCDESTROY: OnNcDestroy(); return TRUE;
    case WM_CLOSE: OnClose(); return TRUE;
    case WM_MEASUREITEM:
        OnMeasureItem((int)wParam, (LPMEASUREITEMSTRUCT)lParam);
        *pResult = TRUE;
        return TRUE;
    case WM_DRAWITEM:
        OnDrawItem((int)wParam, (LPDRAWITEMSTRUCT)lParam);
        *pResult = TRUE;
        return TRUE;
    case WM_MENUCHAR:
        *pResult = OnMenuChar(LOWORD(wParam), HIWORD(wParam), CMenu::FromHandle((HMENU)lParam));
        return TRUE;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), (BOOL)HIWORD(lParam));
        return TRUE;
    case WM_INITMENU: OnInitMenu(CMenu::FromHandle((HMENU)wParam)); return TRUE;
    case WM_SYSCOLORCHANGE: OnSysColorChange(); return TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (!ReflectToControl(this, (HWND)lParam, message, wParam, lParam, &lResult))
            return FALSE;
        *pResult = lResult;
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    if (hWndCtrl) {
        LRESULT lResult = 0;
        if (ReflectToControl(this, hWndCtrl, WM_COMMAND, wParam, lParam, &lResult))
            return TRUE;
    } else {
        // Menu and accelerator commands: a command whose update handler
        // disables it is not carried out.
        nCode = CN_COMMAND;
        if (!FwIsCommandEnabled(this, nID))
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (ReflectToControl(this, pNMHDR->hwndFrom, WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg((UINT)pNMHDR->idFrom, (int)MAKELONG(LOWORD(pNMHDR->code), WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    UINT nCode = 0;
    if (message == WM_NOTIFY)
        nCode = ((NMHDR*)lParam)->code;
    else if (message == WM_COMMAND)
        nCode = HIWORD(wParam);
    UINT reflected = message + WM_REFLECT_BASE;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(reflected, nCode, 0);
    if (!e)
        return FALSE;
    LRESULT lResult = 0;
    FW_MSGCALL call = {reflected, wParam, lParam, 0, nullptr, pResult ? pResult : &lResult};
    return FwDispatch(this, e, call);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep)
{
    for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        ::SendMessageA(h, message, wParam, lParam);
        if (bDeep && ::GetTopWindow(h)) {
            CWnd tmp;
            tmp.m_hWnd = h;
            tmp.SendMessageToDescendants(message, wParam, lParam, bDeep);
            tmp.m_hWnd = nullptr;
        }
    }
}

void CWnd::GetWindowText(CString& rString) const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    char* p = rString.GetBuffer(n + 1);
    int got = ::GetWindowTextA(m_hWnd, p, n + 1);
    rString.ReleaseBuffer(got > 0 ? got : 0);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND h = ::GetDlgItem(m_hWnd, nID);
    if (!h)
        return 0;
    int n = ::GetWindowTextLengthA(h);
    char* p = rString.GetBuffer(n + 1);
    int got = ::GetWindowTextA(h, p, n + 1);
    rString.ReleaseBuffer(got > 0 ? got : 0);
    return rString.GetLength();
}

namespace {
// The style or extended style (index GWL_STYLE or GWL_EXSTYLE) with bits taken
// off and put on; nFlags, when set, go to SetWindowPos so the frame follows.
BOOL ModifyStyleBits(HWND hWnd, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD old = (DWORD)::GetWindowLongPtrA(hWnd, index);
    DWORD style = (old & ~dwRemove) | dwAdd;
    if (style == old)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, index, (LONG_PTR)style);
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleBits(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleBits(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd, parent;
    while ((::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && (parent = ::GetParent(h)) != nullptr)
        h = parent;
    return FromHandle(h);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    RECT rc, rcOwner;
    ::GetWindowRect(m_hWnd, &rc);
    HWND hOwner = pAlternateOwner           ? pAlternateOwner->m_hWnd
                  : (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd)
                                            : ::GetWindow(m_hWnd, GW_OWNER);
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) {
        ::GetWindowRect(hOwner, &rcOwner);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcOwner, 0);
        hOwner = nullptr;
    }
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    POINT pt = {(rcOwner.left + rcOwner.right - w) / 2, (rcOwner.top + rcOwner.bottom - h) / 2};
    if (GetStyle() & WS_CHILD)
        ::ScreenToClient(::GetParent(m_hWnd), &pt);
    ::SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, SafeHmenu(pMenu)); }
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

int CWnd::MessageBox(const char* pszText, const char* pszCaption, UINT nType)
{
    CString title;
    if (!pszCaption) {
        GetTopLevelParent()->GetWindowText(title);
        pszCaption = title;
    }
    return ::MessageBoxA(m_hWnd, pszText, pszCaption, nType);
}

// ---- default handlers

int CWnd::OnCreate(LPCREATESTRUCT) { return (int)Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnSysColorChange() { Default(); }

namespace {
// The menu object owning a command id, searched in a menu tree.
CMenu* FindMenuWithItem(HMENU hMenu, UINT nID, int depth = 0)
{
    if (!hMenu || depth > 8)
        return nullptr;
    int n = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < n; ++i) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub) {
            if (CMenu* p = FindMenuWithItem(hSub, nID, depth + 1))
                return p;
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            return CMenu::FromHandlePermanent(hMenu);
        }
    }
    return nullptr;
}
} // namespace

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpmis)
{
    if (lpmis && lpmis->CtlType == ODT_MENU) {
        // The window's menu bar first, then any menu object (popups opened
        // with TrackPopupMenu belong to no window).
        CMenu* pMenu = FindMenuWithItem(::GetMenu(m_hWnd), lpmis->itemID);
        if (!pMenu)
            pMenu = FwFindPermanentMenuWithItem(lpmis->itemID);
        if (pMenu) {
            pMenu->MeasureItem(lpmis);
            return;
        }
    } else if (lpmis && nIDCtl) {
        LRESULT r = 0;
        if (ReflectToControl(this, ::GetDlgItem(m_hWnd, nIDCtl), WM_MEASUREITEM, (WPARAM)nIDCtl, (LPARAM)lpmis, &r))
            return;
    }
    Default();
}

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpdis)
{
    if (lpdis && lpdis->CtlType == ODT_MENU) {
        CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpdis->hwndItem);
        if (pMenu) {
            pMenu->DrawItem(lpdis);
            return;
        }
    } else if (lpdis) {
        LRESULT r = 0;
        if (ReflectToControl(this, lpdis->hwndItem, WM_DRAWITEM, (WPARAM)nIDCtl, (LPARAM)lpdis, &r))
            return;
    }
    Default();
}

LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult = 0;
    if (ReflectCurrentMessage(this, pWnd, &lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    LRESULT lResult = 0;
    if (!ReflectCurrentMessage(this, pScrollBar, &lResult))
        Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    LRESULT lResult = 0;
    if (!ReflectCurrentMessage(this, pScrollBar, &lResult))
        Default();
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
