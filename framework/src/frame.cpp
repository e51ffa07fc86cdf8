// CFrameWnd: creation from resources, layout, command routing and menu
// item updates.
#include "fw/frame.h"
#include "fw/app.h"
#include "fw/cmdui.h"
#include "fw/docview.h"
#include <vector>

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_DROPFILES()
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

const RECT CFrameWnd::rectDefault = {(LONG)CW_USEDEFAULT, (LONG)CW_USEDEFAULT, 0, 0};

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE), m_hAccelTable(nullptr), m_hMenuDefault(nullptr), m_pViewActive(nullptr), m_nIDResource(0),
      m_hWndFocus(nullptr)
{
}

CFrameWnd::~CFrameWnd()
{
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass =
            AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), nullptr);
    return TRUE;
}

BOOL CFrameWnd::Create(const char* pszClassName, const char* pszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, const char* pszMenuName, DWORD dwExStyle, CCreateContext*)
{
    HMENU hMenu = nullptr;
    if (pszMenuName) {
        hMenu = ::LoadMenuA(AfxGetResourceHandle(), pszMenuName);
        if (!hMenu)
            hMenu = ::LoadMenuA(::GetModuleHandleA(nullptr), pszMenuName);
        if (!hMenu)
            return FALSE;
    }
    m_strTitle = pszWindowName;
    int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (rect.left == (LONG)CW_USEDEFAULT) {
        cx = CW_USEDEFAULT;
        cy = CW_USEDEFAULT;
    }
    if (!CWnd::CreateEx(dwExStyle, pszClassName, pszWindowName, dwStyle, rect.left, rect.top, cx, cy,
                        SafeHwnd(pParentWnd), hMenu, nullptr)) {
        if (hMenu)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    m_hMenuDefault = hMenu;
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(const char* pszResourceName)
{
    if (m_hAccelTable)
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), pszResourceName);
    if (!m_hAccelTable)
        m_hAccelTable = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), pszResourceName);
    return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    CString title;
    if (title.LoadString(nIDResource)) {
        int nl = title.Find('\n');
        if (nl >= 0)
            title = title.Left(nl);
    }
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    if (!hIcon)
        hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDResource));
    const char* pszClass =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), hIcon);

    // The menu is optional: a frame without a menu resource still opens.
    const char* pszMenu = MAKEINTRESOURCEA(nIDResource);
    HMENU hProbe = ::LoadMenuA(AfxGetResourceHandle(), pszMenu);
    if (!hProbe)
        hProbe = ::LoadMenuA(::GetModuleHandleA(nullptr), pszMenu);
    if (hProbe)
        ::DestroyMenu(hProbe);
    if (!Create(pszClass, title, dwDefaultStyle, rectDefault, pParentWnd, hProbe ? pszMenu : nullptr, 0, pContext))
        return FALSE;
    LoadAccelTable(MAKEINTRESOURCEA(nIDResource));
    if (hIcon) {
        SetIcon(hIcon, TRUE);
        SetIcon(hIcon, FALSE);
    }
    return TRUE;
}

void CFrameWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                               LPCRECT lpRectClient, BOOL bStretch)
{
    ASSERT(nFlag == reposDefault || (nFlag == reposQuery && lpRectParam != nullptr));
    const bool query = nFlag == reposQuery;
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = bStretch;
    if (lpRectClient)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    // Without a deferred-position handle the bars only take their room out
    // of the rectangle and stay where they are.
    if (!query) {
        int nChildren = 0;
        for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT))
            ++nChildren;
        layout.hDWP = ::BeginDeferWindowPos(nChildren > 0 ? nChildren : 1);
    }
    HWND hLeftOver = nullptr;
    for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        UINT id = (UINT)::GetDlgCtrlID(h);
        if (id == nIDLeftOver)
            hLeftOver = h;
        else if (id >= nIDFirst && id <= nIDLast)
            ::SendMessageA(h, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }
    if (query) {
        *lpRectParam = layout.rect;
        return;
    }
    if (hLeftOver && layout.hDWP) {
        RECT& r = layout.rect;
        layout.hDWP = ::DeferWindowPos(layout.hDWP, hLeftOver, nullptr, r.left, r.top, r.right - r.left,
                                       r.bottom - r.top, SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_hWnd)
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = ::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW;
    ::ShowWindow(m_hWnd, nCmdShow);
    ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL)
{
    m_pViewActive = pViewNew;
    HWND focus = ::GetFocus();
    HWND view = pViewNew ? pViewNew->m_hWnd : nullptr;
    // A frame that does not have the keyboard does not take it.
    if (view && m_hWnd && focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus)) && focus != view &&
        !::IsChild(view, focus))
        ::SetFocus(view);
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    HWND view = m_pViewActive ? m_pViewActive->m_hWnd : nullptr;
    if (view && ::IsWindowVisible(view) && ::IsWindowEnabled(view))
        ::SetFocus(view);
    else
        Default();
}

void CFrameWnd::OnActivate(UINT nState, CWnd*, BOOL bMinimized)
{
    HWND focus = ::GetFocus();
    if (nState == WA_INACTIVE) {
        if (focus && ::IsChild(m_hWnd, focus))
            m_hWndFocus = focus;
        Default();
        return;
    }
    HWND back = m_hWndFocus;
    m_hWndFocus = nullptr;
    if (!bMinimized && back && ::IsChild(m_hWnd, back) && ::IsWindowVisible(back) && ::IsWindowEnabled(back))
        ::SetFocus(back);
    else
        Default(); // the frame takes the focus and hands it to the view
}

namespace {
CView* ViewOf(HWND h) { return dynamic_cast<CView*>(CWnd::FromHandlePermanent(h)); }

BOOL CanTakeFocus(HWND h) { return ::IsWindowVisible(h) && ::IsWindowEnabled(h); }

// The stops in the order of the windows: each form's tab-stop controls, each
// other view itself.
void CollectTabStops(HWND parent, std::vector<HWND>& stops, BOOL& form)
{
    for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!CanTakeFocus(h))
            continue;
        CView* view = ViewOf(h);
        if (view && view->IsForm()) {
            form = TRUE;
            for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
                if ((::GetWindowLongPtrA(c, GWL_STYLE) & WS_TABSTOP) && CanTakeFocus(c))
                    stops.push_back(c);
        } else if (view) {
            stops.push_back(h);
        } else {
            CollectTabStops(h, stops, form); // a splitter holding panes
        }
    }
}
} // namespace

BOOL CFrameWnd::MoveTabFocus(const MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_TAB || ::GetKeyState(VK_CONTROL) < 0 ||
        ::GetKeyState(VK_MENU) < 0)
        return FALSE;
    std::vector<HWND> stops;
    BOOL form = FALSE;
    CollectTabStops(m_hWnd, stops, form);
    HWND focus = ::GetFocus();
    if (!form || stops.empty() || !focus || (focus != m_hWnd && !::IsChild(m_hWnd, focus)))
        return FALSE;
    int at = -1;
    for (int i = 0; i < (int)stops.size() && at < 0; ++i)
        if (focus == stops[i] || ::IsChild(stops[i], focus))
            at = i;
    const int n = (int)stops.size();
    BOOL back = ::GetKeyState(VK_SHIFT) < 0;
    int next = at < 0 ? (back ? n - 1 : 0) : (at + (back ? n - 1 : 1)) % n;
    HWND target = stops[next];
    ::SetFocus(target);
    if (::SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        ::SendMessageA(target, EM_SETSEL, 0, -1);
    // Commands follow the pane the keyboard is in.
    for (HWND h = target; h && h != m_hWnd; h = ::GetParent(h))
        if (CView* view = ViewOf(h)) {
            m_pViewActive = view;
            break;
        }
    return TRUE;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL)
{
    if (m_hWnd)
        ::SetWindowTextA(m_hWnd, m_strTitle);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (MoveTabFocus(pMsg))
        return TRUE;
    if (m_hAccelTable && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    // The view first (the active one, else the pane), then the frame
    // itself, then the application.
    CWnd* pView =
        m_pViewActive ? (CWnd*)m_pViewActive : CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
    if (pView && pView != this && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnClose() { DestroyWindow(); }

void CFrameWnd::PostNcDestroy() { delete this; }

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || !pPopupMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue; // separator
        if (state.m_nID == (UINT)-1)
            continue; // a popup: its items update when it opens
        state.m_pSubMenu = nullptr;
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        // The handler may have removed items.
        UINT nCount = pPopupMenu->GetMenuItemCount();
        if (nCount < state.m_nIndexMax) {
            state.m_nIndex -= (state.m_nIndexMax - nCount);
            state.m_nIndexMax = nCount;
        }
    }
}

CString CFrameWnd::ToolTipText(UINT) const { return CString(); }

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* nm = (NMHDR*)lParam;
    if (nm && nm->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* info = (NMTTDISPINFOA*)nm;
        UINT id = (UINT)nm->idFrom;
        if (info->uFlags & TTF_IDISHWND)
            id = (UINT)::GetDlgCtrlID((HWND)nm->idFrom);
        // The text must outlive this notification: it is kept in the frame.
        m_strToolTip = ToolTipText(id);
        info->lpszText = (char*)(const char*)m_strToolTip;
        info->hinst = nullptr;
        *pResult = 0;
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, pResult);
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    HWND bar = ::GetDlgItem(m_hWnd, (int)nID);
    if (!bar)
        return FALSE;
    ::ShowWindow(bar, ::IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
    RecalcLayout();
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    HWND bar = ::GetDlgItem(m_hWnd, (int)pCmdUI->m_nID);
    pCmdUI->SetCheck(bar && ::IsWindowVisible(bar));
}

void CFrameWnd::OnDropFiles(HDROP hDropInfo)
{
    char path[MAX_PATH] = "";
    UINT count = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    BOOL got = count > 0 && ::DragQueryFileA(hDropInfo, 0, path, MAX_PATH) > 0;
    ::DragFinish(hDropInfo);
    CWinApp* app = AfxGetApp();
    if (got && app) {
        ::SetActiveWindow(m_hWnd);
        app->OpenDocumentFile(path);
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) { return 0; }

// ---------------------------------------------------------------- CWnd bits

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        CFrameWnd* p = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h));
        if (p)
            return p;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(m_hWnd));
    if (!pFrame)
        pFrame = GetParentFrame();
    while (pFrame) {
        CFrameWnd* pNext = pFrame->GetParentFrame();
        if (!pNext)
            break;
        pFrame = pNext;
    }
    return pFrame;
}
