// The menu hook: probes the system once, builds the twelve themes, and
// decorates every popup-menu window of the user-interface thread.
#include "menutheme.h"
#include <new>

namespace {
const char kOldProcProp[] = "OldMenuProc";
const UINT WM_MENU_SHOWN = 0x01E2; // sent by the system to a popup-menu window shown again
CMenuTheme* g_pCurrentTheme = nullptr;
DWORD g_dwLastKeyPos = 0;

BOOL SystemDropShadow()
{
    BOOL b = FALSE;
    return ::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &b, 0) && b;
}

CRect WindowRectOf(HWND hWnd)
{
    CRect r;
    ::GetWindowRect(hWnd, &r);
    return r;
}

// The client rectangle in window coordinates.
CRect ClientInWindow(HWND hWnd)
{
    CRect rc;
    ::GetClientRect(hWnd, &rc);
    ::MapWindowPoints(hWnd, nullptr, (LPPOINT)&rc, 2);
    CRect rw = WindowRectOf(hWnd);
    rc.OffsetRect(-rw.left, -rw.top);
    return rc;
}

void FrameIn(CDC* pDC, const CRect& r, COLORREF c) { pDC->Draw3dRect(&r, c, c); }
} // namespace

// The one hook object of the program, built before the application object.
static CThemedMenuHook g_menuHook;

HHOOK CThemedMenuHook::s_hHook = nullptr;
BOOL CThemedMenuHook::s_bSuspended = FALSE;
BOOL CThemedMenuHook::s_bOwed = FALSE;
void (*CThemedMenuHook::s_pfnFailed)() = nullptr;
PFN_SETMENUHOOK g_pfnSetMenuHook = ::SetWindowsHookExA;

// ---------------------------------------------------------------- themes

CMenuTheme* CThemedMenu::GetCurrentTheme() { return g_pCurrentTheme; }

int CThemedMenu::SelectTheme(int nThemeId)
{
    if (GetThemedSystemInfo().bWine && nThemeId >= 0 && nThemeId <= 10 && nThemeId % 2 == 0)
        ++nThemeId;
    for (CMenuTheme* p : CThemedMenuHook::Themes()) {
        if (p->m_nId != nThemeId)
            continue;
        int old = g_pCurrentTheme ? g_pCurrentTheme->m_nId : -1;
        g_pCurrentTheme = p;
        return old;
    }
    return -1;
}

std::vector<CMenuTheme*>& CThemedMenuHook::Themes()
{
    static std::vector<CMenuTheme*>* pThemes = new std::vector<CMenuTheme*>;
    return *pThemes;
}

BOOL CThemedMenuHook::RegisterTheme(CMenuTheme* pTheme)
{
    std::vector<CMenuTheme*>& themes = Themes();
    for (CMenuTheme* p : themes)
        if (p == pTheme)
            return FALSE;
    themes.push_back(pTheme);
    return TRUE;
}

CMenuTheme::CMenuTheme(int nId, ThemedMeasurePainter pfnMeasure, ThemedDrawPainter pfnDraw, ThemedTitlePainter pfnTitle)
    : m_nId(nId), m_bBorder(nId % 2 == 0), m_pfnMeasureItem(pfnMeasure), m_pfnDrawItem(pfnDraw),
      m_pfnDrawTitle(pfnTitle)
{
    UpdateSysColors();
    UpdateSysMetrics();
}

void CMenuTheme::UpdateSysColors()
{
    m_crBtnFace = ::GetSysColor(COLOR_BTNFACE);
    m_crBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_crBtnHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_crBtnText = ::GetSysColor(COLOR_BTNTEXT);
    m_crWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
}

void CMenuTheme::UpdateSysMetrics()
{
    m_nBorderWidth = m_nBorderHeight = 2;
    BOOL bShadow = SystemDropShadow();
    m_nShadowWidth = bShadow ? 2 : 5;
    m_nShadowHeight = bShadow ? 2 : 6;
}

// ---------------------------------------------------------------- the hook

CThemedMenuHook::CThemedMenuHook() : m_hUxTheme(nullptr), m_hMsimg(nullptr)
{
    ThemedSystemInfo& info = GetThemedSystemInfo();
    info.nWindowsClass = GetWindowsClass();
    if (info.nWindowsClass >= WINCLASS_WIN2000 && ::GetSystemMetrics(SM_REMOTESESSION))
        info.bRemoteSession = TRUE;
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    info.bWine = hKernel && ::GetProcAddress(hKernel, "wine_get_unix_file_name") != nullptr;
    HIGHCONTRASTA hc = {};
    hc.cbSize = sizeof(hc);
    if (::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0))
        info.bHighContrast = (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
    m_hUxTheme = ::LoadLibraryA("uxtheme.dll");
    if (m_hUxTheme) {
        info.pfnIsThemeActive =
            reinterpret_cast<PFN_ISTHEMEACTIVE>(reinterpret_cast<void*>(::GetProcAddress(m_hUxTheme, "IsThemeActive")));
        info.pfnSetWindowTheme = reinterpret_cast<PFN_SETWINDOWTHEME>(
            reinterpret_cast<void*>(::GetProcAddress(m_hUxTheme, "SetWindowTheme")));
    }
    m_hMsimg = ::LoadLibraryA("Msimg32.dll");
    if (m_hMsimg && info.nWindowsClass != WINCLASS_WIN98)
        info.pfnGradientFill =
            reinterpret_cast<PFN_GRADIENTFILL>(reinterpret_cast<void*>(::GetProcAddress(m_hMsimg, "GradientFill")));

    struct Row
    {
        int id;
        int kind;
        ThemedMeasurePainter measure;
        ThemedDrawPainter draw;
    };
    const Row rows[] = {
        {6, 0, &CThemedMenu::MeasureItemClassic, &CThemedMenu::DrawItemGradient},
        {7, 0, &CThemedMenu::MeasureItemClassic, &CThemedMenu::DrawItemGradient},
        {0, 0, &CThemedMenu::MeasureItemClassic, &CThemedMenu::DrawItemClassic},
        {1, 0, &CThemedMenu::MeasureItemClassic, &CThemedMenu::DrawItemClassic},
        {2, 1, &CThemedMenu::MeasureItemXP, &CThemedMenu::DrawItemXP},
        {3, 1, &CThemedMenu::MeasureItemXP, &CThemedMenu::DrawItemXP},
        {8, 2, &CThemedMenu::MeasureItemXP, &CThemedMenu::DrawItem2003},
        {9, 2, &CThemedMenu::MeasureItemXP, &CThemedMenu::DrawItem2003},
        {10, 1, &CThemedMenu::MeasureItemXP, &CThemedMenu::DrawItem2003},
        {11, 1, &CThemedMenu::MeasureItemXP, &CThemedMenu::DrawItem2003},
        {4, 0, &CThemedMenu::MeasureItemClassic, &CThemedMenu::DrawItemFlatBar},
        {5, 0, &CThemedMenu::MeasureItemClassic, &CThemedMenu::DrawItemFlatBar},
    };
    for (const Row& r : rows) {
        CMenuTheme* p = r.kind == 0   ? new CMenuTheme(r.id, r.measure, r.draw, &CThemedMenu::PaintMenuTitle)
                        : r.kind == 1 ? new CMenuThemeXP(r.id, r.measure, r.draw, &CThemedMenu::PaintMenuTitle)
                                      : new CMenuTheme2003(r.id, r.measure, r.draw, &CThemedMenu::PaintMenuTitle);
        if (!RegisterTheme(p))
            delete p;
    }
    for (CMenuTheme* p : Themes())
        if (p->m_nId == 2) {
            g_pCurrentTheme = p;
            break;
        }
    if (!s_hHook) {
        s_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndProcHook, nullptr, ::GetCurrentThreadId());
        if (!s_hHook)
            throw std::bad_alloc();
    }
}

void CThemedMenu::SuspendMenuHook()
{
    if (!CThemedMenuHook::s_hHook)
        return;
    ::UnhookWindowsHookEx(CThemedMenuHook::s_hHook);
    CThemedMenuHook::s_hHook = nullptr;
    CThemedMenuHook::s_bSuspended = TRUE;
}

BOOL CThemedMenu::ResumeMenuHook()
{
    if (!CThemedMenuHook::s_bSuspended)
        return CThemedMenuHook::s_hHook != nullptr;
    const int kTries = 3;
    for (int i = 0; i < kTries && !CThemedMenuHook::s_hHook; ++i)
        CThemedMenuHook::s_hHook =
            g_pfnSetMenuHook(WH_CALLWNDPROC, CThemedMenuHook::CallWndProcHook, nullptr, ::GetCurrentThreadId());
    if (CThemedMenuHook::s_hHook) {
        CThemedMenuHook::s_bSuspended = FALSE;
        CThemedMenuHook::s_bOwed = FALSE;
        return TRUE;
    }
    // Still suspended: the next resume and the next popup try again. The
    // program hears of it once, when it first happens.
    if (!CThemedMenuHook::s_bOwed && CThemedMenuHook::s_pfnFailed)
        CThemedMenuHook::s_pfnFailed();
    CThemedMenuHook::s_bOwed = TRUE;
    return FALSE;
}

void CThemedMenu::SetMenuHookFailureHandler(void (*pfnFailed)()) { CThemedMenuHook::s_pfnFailed = pfnFailed; }

CThemedMenuHook::~CThemedMenuHook()
{
    if (s_hHook) {
        ::UnhookWindowsHookEx(s_hHook);
        s_hHook = nullptr;
    }
    std::vector<CMenuTheme*>& themes = Themes();
    while (!themes.empty()) {
        delete themes.back();
        themes.pop_back();
    }
    g_pCurrentTheme = nullptr;
    ThemedSystemInfo& info = GetThemedSystemInfo();
    info.pfnIsThemeActive = nullptr;
    info.pfnSetWindowTheme = nullptr;
    if (m_hUxTheme)
        ::FreeLibrary(m_hUxTheme);
    info.pfnGradientFill = nullptr;
    if (m_hMsimg)
        ::FreeLibrary(m_hMsimg);
    CThemedMenuIcons::DeleteList();
    DeleteMenuBarBrushes();
    DeleteThemedFonts();
    DeleteThemedSurface();
}

LRESULT CALLBACK CThemedMenuHook::CallWndProcHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION) {
        const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
        switch (p->message) {
        case WM_CREATE: SubclassMenuWindow(p->hwnd, FALSE); break;
        case WM_MENU_SHOWN: SubclassMenuWindow(p->hwnd, TRUE); break;
        case WM_UNINITMENUPOPUP:
            // The bookkeeping of a closed popup follows the menu the system
            // names, not the window that happened to show it.
            CThemedMenu::OnUnInitMenuPopup((HMENU)p->wParam);
            break;
        case WM_EXITMENULOOP: CThemedMenu::SetLastPopup(nullptr); break;
        // A popup is measured and drawn with the settings as they are now.
        case WM_INITMENUPOPUP:
        case WM_SETTINGCHANGE: ForgetMenuSettings(); break;
        case WM_DISPLAYCHANGE: ForgetThemedSurface(); break;
        }
    }
    return ::CallNextHookEx(s_hHook, nCode, wParam, lParam);
}

std::map<HWND, CMenuHookData*>& CThemedMenuHook::Map()
{
    static std::map<HWND, CMenuHookData*>* pMap = new std::map<HWND, CMenuHookData*>;
    return *pMap;
}

CMenuHookData* CThemedMenuHook::FindData(HWND hWnd)
{
    auto it = Map().find(hWnd);
    return it == Map().end() ? nullptr : it->second;
}

DWORD CThemedMenuHook::GetLastKeyPos() { return g_dwLastKeyPos; }

void CThemedMenuHook::ResolveMenu(HWND hWnd, CMenuHookData* pData)
{
    HMENU hMenu = (HMENU)::SendMessageA(hWnd, MN_GETHMENU, 0, 0);
    if (!hMenu)
        hMenu = CThemedMenu::GetLastPopup();
    BOOL bThemed = CThemedMenu::FromHandleThemed(hMenu) != nullptr;
    if (pData->hMenu && !bThemed)
        bThemed = pData->bThemed && CThemedMenu::Options().bDecorateEveryPopup;
    pData->hMenu = hMenu;
    pData->bThemed = bThemed;
}

BOOL CThemedMenuHook::SubclassMenuWindow(HWND hWnd, BOOL bVisible)
{
    char cls[16] = "";
    if (!::GetClassNameA(hWnd, cls, sizeof(cls)) || lstrcmpA(cls, "#32768") != 0)
        return FALSE;
    CMenuHookData* pData = FindData(hWnd);
    if (pData) {
        // A popup window the system shows again, maybe for another menu.
        ResolveMenu(hWnd, pData);
        if (g_pCurrentTheme)
            g_pCurrentTheme->OnInitWnd(hWnd);
        return FALSE;
    }
    WNDPROC proc = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    if (!proc)
        return FALSE;
    if (!::GetPropA(hWnd, kOldProcProp))
        ::SetPropA(hWnd, kOldProcProp, (HANDLE)proc);
    if ((WNDPROC)::GetPropA(hWnd, kOldProcProp) != proc)
        return FALSE;
    pData = new CMenuHookData;
    pData->dwStyle = (DWORD)::GetWindowLongPtrA(hWnd, GWL_STYLE);
    pData->dwExStyle = (DWORD)::GetWindowLongPtrA(hWnd, GWL_EXSTYLE);
    pData->bHasPosition = FALSE;
    pData->nFlags = bVisible ? CMenuHookData::WAS_VISIBLE : 0;
    pData->bNcPainted = FALSE;
    pData->hMenu = nullptr;
    pData->hUpdateRgn = (HRGN)1;
    pData->bThemed = FALSE;
    pData->bAtomAdded = ::GlobalAddAtomA(kOldProcProp) != 0;
    Map()[hWnd] = pData;
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&MenuWindowProc);
    // While the system creates the window it cannot name its menu yet: the
    // menu is asked once the original WM_CREATE has run.
    if (bVisible) {
        ResolveMenu(hWnd, pData);
        if (!pData->bThemed) {
            UnsubclassMenuWindow(hWnd);
            return FALSE;
        }
        if (g_pCurrentTheme)
            g_pCurrentTheme->OnInitWnd(hWnd);
    }
    return TRUE;
}

void CThemedMenuHook::UnsubclassMenuWindow(HWND hWnd)
{
    WNDPROC saved = (WNDPROC)::GetPropA(hWnd, kOldProcProp);
    if (saved) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)saved);
        ::RemovePropA(hWnd, kOldProcProp);
    }
    CMenuHookData* pData = FindData(hWnd);
    if (!pData)
        return;
    if (g_pCurrentTheme)
        g_pCurrentTheme->OnUnInitWnd(hWnd);
    Map().erase(hWnd);
    if (pData->bAtomAdded) {
        ATOM atom = ::GlobalFindAtomA(kOldProcProp);
        if (atom)
            ::GlobalDeleteAtom(atom);
    }
    if (pData->hUpdateRgn && pData->hUpdateRgn != (HRGN)1)
        ::DeleteObject(pData->hUpdateRgn);
    delete pData;
}

void CThemedMenuHook::GetScreenBackground(HWND hWnd)
{
    CMenuHookData* pData = FindData(hWnd);
    if (!pData || pData->background.m_hObject)
        return;
    CRect r = WindowRectOf(hWnd);
    CPoint pos = pData->bHasPosition ? pData->ptLast : r.TopLeft();
    int cx = r.Width() + 10, cy = r.Height() + 10;
    CClientDC screen((HWND) nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    pData->background.CreateCompatibleBitmap(screen.m_hDC, cx, cy);
    HGDIOBJ hOld = dc.SelectObject(&pData->background);
    dc.BitBlt(0, 0, cx, cy, &screen, pos.x, pos.y, SRCCOPY);
    dc.SelectObject(hOld);
}

LRESULT CALLBACK CThemedMenuHook::MenuWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC saved = (WNDPROC)::GetPropA(hWnd, kOldProcProp);
    CMenuHookData* pData = FindData(hWnd);
    if (!saved)
        return ::DefWindowProcA(hWnd, msg, wParam, lParam);
    if (!pData)
        return ::CallWindowProcA(saved, hWnd, msg, wParam, lParam);
    CMenuTheme* pTheme = g_pCurrentTheme;
    switch (msg) {
    case WM_CREATE: {
        LRESULT r = ::CallWindowProcA(saved, hWnd, msg, wParam, lParam);
        ResolveMenu(hWnd, pData);
        if (!pData->bThemed)
            UnsubclassMenuWindow(hWnd);
        else if (pTheme)
            pTheme->OnInitWnd(hWnd);
        return r;
    }
    case WM_ERASEBKGND:
        if (pData->bThemed && pTheme) {
            if (pTheme->DoDrawBorder() && !(pData->nFlags & CMenuHookData::PRINTING) && !pData->bNcPainted) {
                pData->bNcPainted = TRUE;
                ::SendMessageA(hWnd, WM_NCPAINT, 1, 0);
            }
            if (pTheme->EraseBkgnd(hWnd, (HDC)wParam))
                return 1;
        }
        break;
    case WM_SHOWWINDOW:
        if (wParam)
            break;
        UnsubclassMenuWindow(hWnd);
        return ::CallWindowProcA(saved, hWnd, msg, wParam, lParam);
    case WM_NCDESTROY: UnsubclassMenuWindow(hWnd); return ::CallWindowProcA(saved, hWnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        if (pData->bThemed && pTheme)
            pTheme->WindowPosChanging(hWnd, (LPWINDOWPOS)lParam);
        // fall through: a position change is tracked as it happens
    case WM_WINDOWPOSCHANGED: {
        const WINDOWPOS* pPos = (const WINDOWPOS*)lParam;
        if (!(pPos->flags & SWP_NOMOVE)) {
            CPoint pt(pPos->x, pPos->y);
            if (!pData->bHasPosition) {
                pData->ptLast = pt;
                pData->bHasPosition = TRUE;
            } else if (pt != pData->ptLast) {
                if (pPos->flags & SWP_NOSIZE) {
                    pData->ptLast = pt;
                    pData->background.DeleteObject();
                } else {
                    UnsubclassMenuWindow(hWnd);
                }
            }
        }
        return ::CallWindowProcA(saved, hWnd, msg, wParam, lParam);
    }
    case WM_NCCALCSIZE:
        if (pData->bThemed && pTheme) {
            LRESULT r = pTheme->NcCalcSize(hWnd, (NCCALCSIZE_PARAMS*)lParam);
            if (r)
                return r;
        }
        break;
    case WM_NCPAINT:
        if (pData->bThemed && pTheme) {
            if (!pData->bNcPainted && (HRGN)wParam != pData->hUpdateRgn) {
                if (pData->hUpdateRgn != (HRGN)1)
                    ::DeleteObject(pData->hUpdateRgn);
                pData->hUpdateRgn = (HRGN)1;
                if (wParam != 1) {
                    pData->hUpdateRgn = ::CreateRectRgn(0, 0, 0, 0);
                    ::CombineRgn(pData->hUpdateRgn, (HRGN)wParam, nullptr, RGN_COPY);
                }
            }
            BOOL bPrinting = (pData->nFlags & CMenuHookData::PRINTING) != 0;
            if (pData->bNcPainted && pTheme->DoDrawBorder()) {
                HDC hdc = ::GetWindowDC(hWnd);
                LRESULT r = 0;
                CRect inner;
                if (pTheme->PaintBorder(hWnd, hdc, FALSE) && pTheme->GetBorderRect(hWnd, &inner)) {
                    inner.DeflateRect(1, 1);
                    HRGN hRgn = ::CreateRectRgnIndirect(&inner);
                    if (!bPrinting)
                        r = ::CallWindowProcA(saved, hWnd, msg, (WPARAM)hRgn, lParam);
                    ::DeleteObject(hRgn);
                    pTheme->PaintBorder(hWnd, hdc, TRUE);
                }
                ::ReleaseDC(hWnd, hdc);
                return r;
            }
            if (pTheme->DoDrawBorder())
                GetScreenBackground(hWnd);
            if (bPrinting)
                return 0;
        }
        break;
    case WM_PAINT:
        // Painting sends every item to the owner (WM_DRAWITEM) and makes no
        // window: the hook need not see those messages.
        if (CThemedMenuHook::s_hHook) {
            CThemedMenu::SuspendMenuHook();
            LRESULT r = ::CallWindowProcA(saved, hWnd, msg, wParam, lParam);
            CThemedMenu::ResumeMenuHook();
            return r;
        }
        break;
    case WM_KEYDOWN: g_dwLastKeyPos = ::GetMessagePos(); break;
    case WM_TIMER:
        if (wParam == THEMED_TIMER_POPUP_LAYERED && GetWindowsClass() >= WINCLASS_WIN2000 &&
            !(::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_LAYERED)) {
            ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE, ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
            ThemedSetLayeredWindowAttributes(hWnd, 0, (BYTE)CThemedMenu::Options().nPopupTransparency, LWA_ALPHA);
            pData->nFlags &= ~CMenuHookData::TIMER_RUNNING;
            ::KillTimer(hWnd, THEMED_TIMER_POPUP_LAYERED);
        }
        break;
    case WM_PRINT:
        if (pData->bThemed && pTheme && pTheme->DoDrawBorder()) {
            pData->nFlags |= CMenuHookData::PRINTING;
            CRect rw = WindowRectOf(hWnd);
            CDC* pTarget = CDC::FromHandle((HDC)wParam);
            CDC mem;
            mem.CreateCompatibleDC(pTarget);
            CBitmap bmp;
            bmp.CreateCompatibleBitmap(pTarget->m_hDC, rw.Width(), rw.Height());
            HGDIOBJ hOld = mem.SelectObject(&bmp);
            pTheme->PaintBorder(hWnd, mem.m_hDC, FALSE);
            CRect inner;
            LRESULT r = 0;
            if (pTheme->GetBorderRect(hWnd, &inner)) {
                inner.OffsetRect(-rw.left, -rw.top);
                inner.DeflateRect(1, 1);
                int saveId = mem.SaveDC();
                mem.IntersectClipRect(inner.left, inner.top, inner.right, inner.bottom);
                r = ::CallWindowProcA(saved, hWnd, msg, (WPARAM)mem.m_hDC, lParam & ~PRF_CLIENT);
                mem.RestoreDC(saveId);
            }
            pTarget->BitBlt(0, 0, rw.Width(), rw.Height(), &mem, 0, 0, SRCCOPY);
            CRect rc = ClientInWindow(hWnd);
            int saveId = mem.SaveDC();
            mem.IntersectClipRect(rc.left, rc.top, rc.right, rc.bottom);
            mem.SetViewportOrg(rc.left, rc.top);
            ::SendMessageA(hWnd, WM_ERASEBKGND, (WPARAM)mem.m_hDC, 0);
            ::SendMessageA(hWnd, WM_PRINTCLIENT, (WPARAM)mem.m_hDC, PRF_CLIENT);
            mem.RestoreDC(saveId);
            pTarget->BitBlt(rc.left, rc.top, rc.Width() - 1, rc.Height(), &mem, rc.left, rc.top, SRCCOPY);
            mem.SelectObject(hOld);
            pData->nFlags &= ~CMenuHookData::PRINTING;
            return r;
        }
        break;
    }
    return ::CallWindowProcA(saved, hWnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------- popup windows

BOOL CMenuTheme::OnInitWnd(HWND hWnd)
{
    CMenuHookData* pData = CThemedMenuHook::FindData(hWnd);
    if (!pData || !pData->bThemed)
        return FALSE;
    int alpha = CThemedMenu::Options().nPopupTransparency;
    BOOL bLayer = GetWindowsClass() >= WINCLASS_WIN2000 && alpha < 255;
    auto layer = [&]() {
        ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE, ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
        ThemedSetLayeredWindowAttributes(hWnd, 0, (BYTE)alpha, LWA_ALPHA);
        ::SetTimer(hWnd, THEMED_TIMER_POPUP_LAYERED, 50, nullptr);
        pData->nFlags |= CMenuHookData::TIMER_RUNNING;
    };
    if (!DoDrawBorder()) {
        if (bLayer) {
            pData->nFlags |= CMenuHookData::STYLE_CHANGED;
            layer();
        }
        return FALSE;
    }
    pData->nFlags |= CMenuHookData::STYLE_CHANGED;
    ::SetWindowLongPtrA(hWnd, GWL_STYLE, ::GetWindowLongPtrA(hWnd, GWL_STYLE) & ~WS_BORDER);
    ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE,
                        ::GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
    if (bLayer)
        layer();
    return TRUE;
}

BOOL CMenuTheme::OnUnInitWnd(HWND hWnd)
{
    CMenuHookData* pData = CThemedMenuHook::FindData(hWnd);
    if (!pData)
        return FALSE;
    if (pData->nFlags & CMenuHookData::TIMER_RUNNING) {
        ::KillTimer(hWnd, THEMED_TIMER_POPUP_LAYERED);
        pData->nFlags &= ~CMenuHookData::TIMER_RUNNING;
    }
    if (pData->nFlags & CMenuHookData::STYLE_CHANGED) {
        DWORD style = pData->dwStyle;
        if (pData->nFlags & CMenuHookData::WAS_VISIBLE)
            style |= WS_VISIBLE;
        else
            style = (style & ~WS_VISIBLE) | ((DWORD)::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_VISIBLE);
        ::SetWindowLongPtrA(hWnd, GWL_STYLE, (LONG_PTR)style);
        ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE, (LONG_PTR)pData->dwExStyle);
    }
    return TRUE;
}

BOOL CMenuTheme::EraseBkgnd(HWND hWnd, HDC hDC)
{
    CRect r;
    ::GetClientRect(hWnd, &r);
    r.left -= 2;
    if (DoDrawBorder())
        r.right -= 1;
    CDC::FromHandle(hDC)->FillSolidRect(&r, ::GetSysColor(IsFlatMenu() ? COLOR_MENUBAR : COLOR_MENU));
    return TRUE;
}

BOOL CMenuThemeXP::EraseBkgnd(HWND hWnd, HDC hDC)
{
    CMenuHookData* pData = CThemedMenuHook::FindData(hWnd);
    if (!pData || !pData->hMenu)
        return CMenuTheme::EraseBkgnd(hWnd, hDC);
    CRect r;
    ::GetClientRect(hWnd, &r);
    r.left -= 2;
    if (DoDrawBorder())
        r.right -= 1;
    CDC::FromHandle(hDC)->FillSolidRect(&r, GetMenuBarColorThemed(pData->hMenu));
    return TRUE;
}

LRESULT CMenuTheme::NcCalcSize(HWND, NCCALCSIZE_PARAMS* pParams)
{
    if (!DoDrawBorder() || !pParams)
        return 0;
    int s = SystemDropShadow() ? 1 : 5;
    RECT& r = pParams->rgrc[0];
    r.left += 2;
    r.top += 2;
    r.right -= s;
    r.bottom -= s + 1;
    return 0;
}

BOOL CMenuTheme::WindowPosChanging(HWND, LPWINDOWPOS pPos)
{
    if (!DoDrawBorder() || !pPos)
        return FALSE;
    int d = SystemDropShadow() ? -2 : 2;
    if (!(pPos->flags & SWP_NOSIZE)) {
        pPos->cx += d;
        pPos->cy += d;
    }
    if (!(pPos->flags & SWP_NOMOVE))
        pPos->y -= 1;
    return TRUE;
}

BOOL CMenuTheme::GetBorderRect(HWND hWnd, LPRECT pRect)
{
    if (!::GetWindowRect(hWnd, pRect))
        return FALSE;
    if (DoDrawBorder()) {
        int d = SystemDropShadow() ? 3 : 7;
        pRect->left += 2;
        pRect->top += 2;
        pRect->right -= d;
        pRect->bottom -= d;
    }
    return TRUE;
}

void CMenuTheme::FillRing(HWND hWnd, HDC hDC, const CRect& outer, COLORREF color)
{
    CDC* pDC = CDC::FromHandle(hDC);
    CRect client = ClientInWindow(hWnd);
    int saveId = pDC->SaveDC();
    pDC->ExcludeClipRect(client.left, client.top, client.right, client.bottom);
    pDC->FillSolidRect(&outer, color);
    pDC->RestoreDC(saveId);
}

CMenuHookData* CMenuTheme::BeginBorder(HWND hWnd, int& W, int& H)
{
    CMenuHookData* pData = CThemedMenuHook::FindData(hWnd);
    if (!DoDrawBorder() || !pData)
        return nullptr;
    CThemedMenuHook::GetScreenBackground(hWnd);
    CRect rw = WindowRectOf(hWnd);
    W = rw.Width();
    H = rw.Height();
    return pData;
}

BOOL CMenuTheme::PaintBorder(HWND hWnd, HDC hDC, BOOL bBorderOnly)
{
    int W = 0, H = 0;
    CMenuHookData* pData = BeginBorder(hWnd, W, H);
    if (!pData)
        return FALSE;
    CDC* pDC = CDC::FromHandle(hDC);
    BOOL hc = GetThemedSystemInfo().bHighContrast;
    COLORREF frame = ::GetSysColor(hc ? COLOR_BTNTEXT : COLOR_HIGHLIGHT);
    if (SystemDropShadow()) {
        if (!bBorderOnly)
            FillRing(hWnd, hDC, CRect(1, 1, W - 1, H - 1), GetMenuBarColor(pData->hMenu));
        FrameIn(pDC, CRect(0, 0, W, H), frame);
    } else {
        if (!bBorderOnly)
            FillRing(hWnd, hDC, CRect(1, 1, W - 5, H - 5), GetMenuBarColor(pData->hMenu));
        FrameIn(pDC, CRect(0, 0, W - 4, H - 4), frame);
        if (!hc)
            DrawShadow(hWnd, hDC);
    }
    return TRUE;
}

BOOL CMenuThemeXP::PaintBorder(HWND hWnd, HDC hDC, BOOL bBorderOnly)
{
    int W = 0, H = 0;
    CMenuHookData* pData = BeginBorder(hWnd, W, H);
    if (!pData)
        return FALSE;
    CDC* pDC = CDC::FromHandle(hDC);
    COLORREF m = GetMenuBarColor(pData->hMenu), wn = ::GetSysColor(COLOR_WINDOW);
    COLORREF light = MixColor86(wn, m), dark = DarkenColor(m, 128);
    COLORREF band = GetDisplayColorCount() <= 256 ? ::GetSysColor(COLOR_BTNFACE) : MixColor86(m, wn);
    if (NearestScreenColor(light) == NearestScreenColor(band)) {
        light = wn;
        band = m;
    }
    BOOL shadow = SystemDropShadow();
    int inset = shadow ? 1 : 5;
    if (GetThemedSystemInfo().bHighContrast) {
        FrameIn(pDC, shadow ? CRect(0, 0, W, H) : CRect(0, 0, W - 4, H - 4), ::GetSysColor(COLOR_BTNTEXT));
    } else {
        if (!bBorderOnly)
            FillRing(hWnd, hDC, CRect(1, 1, W - inset, H - inset), light);
        FrameIn(pDC, CRect(1, 1, W - inset, H - inset), light);
        COLORREF column = (shadow && (m_nId == 8 || m_nId == 9)) ? wn : band;
        pDC->FillSolidRect(1, 2, 1, shadow ? H - 4 : H - 8, column);
        FrameIn(pDC, shadow ? CRect(0, 0, W, H) : CRect(0, 0, W - 4, H - 4), dark);
        if (!shadow)
            DrawShadow(hWnd, hDC);
    }
    PaintBarJoint(hWnd, hDC);
    return TRUE;
}

void CMenuTheme::PaintBarJoint(HWND hWnd, HDC hDC)
{
    CMenuHookData* pData = CThemedMenuHook::FindData(hWnd);
    CThemedMenu* pMenu = pData ? CThemedMenu::FromHandleThemed(pData->hMenu) : nullptr;
    CThemedMenu* pParent = pMenu ? CThemedMenu::FromHandleThemed(pMenu->m_hParentMenu) : nullptr;
    if (!pParent || pParent->m_bPopup)
        return;
    CRect rw = WindowRectOf(hWnd);
    if (pData->bHasPosition)
        rw.MoveToXY(pData->ptLast.x, pData->ptLast.y);
    CRect joint;
    if (!joint.IntersectRect(&rw, &pParent->m_rectBarItem))
        return;
    if (joint.Width() > joint.Height())
        joint.DeflateRect(1, 0);
    else
        joint.DeflateRect(0, 1);
    joint.OffsetRect(-rw.left, -rw.top);
    COLORREF c = GetDisplayColorCount() <= 256 ? ::GetSysColor(COLOR_BTNFACE)
                                               : MixColor86(GetMenuBarColorThemed(), ::GetSysColor(COLOR_WINDOW));
    CDC::FromHandle(hDC)->FillSolidRect(&joint, c);
}

void CMenuTheme::DrawShadow(HWND hWnd, HDC hDC)
{
    if (SystemDropShadow())
        return;
    CMenuHookData* pData = CThemedMenuHook::FindData(hWnd);
    if (!pData || !pData->background.m_hObject)
        return;
    CRect rw = WindowRectOf(hWnd);
    int W = rw.Width(), H = rw.Height();
    if (W < 8 || H < 8)
        return;
    CDC* pDC = CDC::FromHandle(hDC);
    CDC mem;
    mem.CreateCompatibleDC(pDC);
    HGDIOBJ hOld = mem.SelectObject(&pData->background);
    // Start from the captured background in the two shadow strips.
    pDC->BitBlt(W - 4, 0, 4, H, &mem, W - 4, 0, SRCCOPY);
    pDC->BitBlt(0, H - 4, W - 4, 4, &mem, 0, H - 4, SRCCOPY);
    if (GetDisplayColorCount() > 256) {
        auto darken = [&](int x, int y, int f) {
            if (f >= 255)
                return;
            COLORREF c = mem.GetPixel(x, y);
            pDC->SetPixel(x, y, RGB(GetRValue(c) * f / 255, GetGValue(c) * f / 255, GetBValue(c) * f / 255));
        };
        for (int k = 1; k <= 4; ++k) {
            int x = W - k;
            for (int y = 4; y < H; ++y) {
                int f = y <= 7       ? 255 - 6 * k - 6 * k * (y - 4)
                        : y <= H - 5 ? 255 - 30 * k
                                     : 255 - 24 * k + 6 * k * (y - (H - 4));
                darken(x, y, f);
            }
            int yb = H - k;
            for (int xb = 4; xb <= W - 5; ++xb) {
                int f = xb <= 7 ? 255 - 6 * k - 6 * k * (xb - 4) : 255 - 30 * k;
                darken(xb, yb, f);
            }
        }
    } else {
        COLORREF s = ::GetSysColor(COLOR_BTNSHADOW);
        pDC->FillSolidRect(W - 4, 4, 2, H - 3 - 4 + 1, s);
        pDC->FillSolidRect(4, H - 4, W - 5 - 4 + 1, 2, s);
    }
    mem.SelectObject(hOld);
}

// ---------------------------------------------------------------- docked bars

void CMenuTheme::GetBarColors(COLORREF& light, COLORREF& middle, COLORREF& dark, COLORREF& darkest)
{
    COLORREF a, b;
    if (!IsVisualThemeActive()) {
        Get2003Colors(a, b, FALSE);
        light = b;
        middle = BlendColor(a, b, 100);
        dark = a;
        darkest = DarkenColor(a, 50);
        return;
    }
    Get2003Colors(a, b, TRUE);
    switch (a) {
    case 0xAADADA:
        light = 0xDEF7F4;
        middle = 0xACDED1;
        dark = 0x91C6B7;
        darkest = 0x588060;
        return;
    case 0xE5D7D7:
        light = 0xFAF4F3;
        middle = 0xECE2E1;
        dark = 0xB59799;
        darkest = 0x947C7C;
        return;
    case 0xF5C2A3:
        light = 0xFEECDD;
        middle = 0xF9DBC4;
        dark = 0xE2A981;
        darkest = 0x9C613B;
        return;
    }
    light = LightenColor(a, 140);
    middle = LightenColor(a, 115);
    dark = DarkenColor(a, 40);
    darkest = DarkenColor(a, 110);
}

void CMenuTheme::DrawGripper(CDC* pDC, LPCRECT pRect, DWORD dwStyle, int L, int R, int T, int B)
{
    if (!(dwStyle & 0x400000) || (dwStyle & 0x1))
        return;
    int W = pRect->right - pRect->left, H = pRect->bottom - pRect->top;
    BOOL bSide = !(dwStyle & 0xA000);
    int id = m_nId;
    if (id == 2 || id == 3) {
        CPen pen(PS_SOLID, 1, ShadowColor(GetMenuColor()));
        HGDIOBJ hOld = pDC->SelectObject(&pen);
        if (bSide) {
            for (int x = L + 4; x < W - L - R - 4; x += 2) {
                pDC->MoveTo(x, 4);
                pDC->LineTo(x, 7);
            }
        } else {
            for (int y = T + 4; y < H - T - B - 8; y += 2) {
                pDC->MoveTo(4, y);
                pDC->LineTo(7, y);
            }
        }
        pDC->SelectObject(hOld);
        return;
    }
    if ((id >= 6 && id <= 11)) {
        COLORREF dark;
        BOOL b2003 = id >= 8;
        if (b2003) {
            COLORREF l, m, d;
            GetBarColors(l, m, d, dark);
        } else {
            dark = DarkenColor(GetMenuBarColor(), 100);
        }
        auto square = [&](int x, int y) {
            if (b2003)
                pDC->FillSolidRect(x + 1, y + 1, 2, 2, ::GetSysColor(COLOR_WINDOW));
            pDC->FillSolidRect(x, y, 2, 2, dark);
        };
        if (bSide) {
            for (int x = L + 4; x < W - R - 4; x += 4)
                square(x, L + 4);
        } else {
            for (int y = T + 4; y < H - T - B - 8; y += 4)
                square(L + 4, y + 1);
        }
        return;
    }
    m_crBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_crBtnHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    if (bSide)
        pDC->Draw3dRect(T, 2, W - T - B, 3, m_crBtnHighlight, m_crBtnShadow);
    else
        pDC->Draw3dRect(L + 2, T, 3, H - T - B, m_crBtnHighlight, m_crBtnShadow);
}

void CMenuTheme::DrawCorner(CDC* pDC, LPCRECT pRect, DWORD dwStyle)
{
    if (!(dwStyle & 0x400000) || (dwStyle & 0x1))
        return;
    COLORREF c;
    if (m_nId == 6 || m_nId == 7) {
        c = ::GetSysColor(COLOR_3DLIGHT);
    } else if (m_nId >= 8 && m_nId <= 11) {
        COLORREF b;
        Get2003Colors(c, b, TRUE);
    } else {
        return;
    }
    const RECT& r = *pRect;
    POINT corners[4][3] = {
        {{r.left, r.top}, {r.left + 1, r.top}, {r.left, r.top + 1}},
        {{r.right - 1, r.top}, {r.right - 2, r.top}, {r.right - 1, r.top + 1}},
        {{r.left, r.bottom - 1}, {r.left + 1, r.bottom - 1}, {r.left, r.bottom - 2}},
        {{r.right - 1, r.bottom - 1}, {r.right - 2, r.bottom - 1}, {r.right - 1, r.bottom - 2}},
    };
    for (auto& corner : corners)
        for (POINT& p : corner)
            pDC->SetPixel(p.x, p.y, c);
}
