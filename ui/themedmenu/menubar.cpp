// The themed menu bar. It subclasses its frame to see the menu messages of
// the popups it opens (measuring, selection, access keys), and holds a
// message filter while a popup is open so that the mouse and the arrow keys
// can move from one bar item to the next.
#include "menubar.h"
#include "menutheme.h"
#include "barpaint.h"
#include <algorithm>
#include <map>

namespace {

const int GRIPPER_WIDTH = 7;

// The frames whose procedure a bar replaced, with the procedure it replaced.
// An entry outlives its bar when another procedure subclassed the frame
// after the bar: the frame's messages must still reach the old procedure.
struct FrameHook
{
    CThemedMenuBar* pBar;
    WNDPROC pfnOld;
};
std::map<HWND, FrameHook>& FrameHooks()
{
    static std::map<HWND, FrameHook> hooks;
    return hooks;
}

// The bar whose popup is open and its message filter.
CThemedMenuBar* g_pTrackingBar = nullptr;
HHOOK g_hMenuFilter = nullptr;

bool IsSystemCommand(UINT nID) { return nID >= 0xF000 && nID <= 0xF150; }

} // namespace

// ---------------------------------------------------------------- items

void CThemedBarItem::GetRect(CRect& rect, BOOL bVertical) const
{
    rect = m_rect;
    if (bVertical)
        rect = CRect(m_rect.left, m_rect.top, m_rect.left + m_rect.Height(), m_rect.top + m_rect.Width());
}

BOOL CThemedBarItem::HitTest(int x, int y, BOOL bVertical) const
{
    CRect rect;
    GetRect(rect, bVertical);
    return rect.PtInRect(CPoint(x, y));
}

CThemedMenuBarItem::CThemedMenuBarItem(CWnd* pFrame, HMENU hMenu, int nPos)
    : m_hMenu(hMenu), m_nPos(nPos), m_bOwnerDraw(FALSE)
{
    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA;
    ::GetMenuItemInfoA(hMenu, nPos, TRUE, &info);
    m_bOwnerDraw = (info.fType & MFT_OWNERDRAW) != 0;
    if (m_bOwnerDraw) {
        MEASUREITEMSTRUCT measure;
        ZeroMemory(&measure, sizeof(measure));
        measure.CtlType = ODT_MENU;
        measure.itemID = info.hSubMenu ? (UINT)(UINT_PTR)info.hSubMenu : info.wID;
        measure.itemData = info.dwItemData;
        // A themed menu measures its own item (its record is the item data);
        // any other owner-drawn menu is measured by the frame.
        if (CThemedMenu* themed = CThemedMenu::FromHandleThemed(hMenu))
            themed->MeasureItem(&measure);
        else if (pFrame)
            pFrame->SendMessage(WM_MEASUREITEM, 0, (LPARAM)&measure);
        m_rect =
            CRect(0, 0, (int)measure.itemWidth + ::GetSystemMetrics(SM_CXMENUCHECK), ::GetSystemMetrics(SM_CYMENU));
    } else {
        m_rect = CRect(0, 0, ::GetSystemMetrics(SM_CXMENUSIZE) + 2, ::GetSystemMetrics(SM_CYMENUSIZE) + 2);
    }
}

void CThemedMenuBarItem::Draw(CWnd* pFrame, CDC* pDC)
{
    if (!m_bOwnerDraw || !pFrame)
        return;
    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    if (!::GetMenuItemInfoA(m_hMenu, m_nPos, TRUE, &info))
        return;
    DRAWITEMSTRUCT draw;
    ZeroMemory(&draw, sizeof(draw));
    draw.CtlType = ODT_MENU;
    draw.itemID = info.hSubMenu ? (UINT)(UINT_PTR)info.hSubMenu : info.wID;
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = (UINT)(m_nFlags & ~(BARITEM_RIGHT_GROUP | BARITEM_NEW_ROW));
    draw.hwndItem = (HWND)m_hMenu;
    draw.hDC = pDC->m_hDC;
    draw.rcItem = m_rect;
    draw.itemData = info.dwItemData;
    pFrame->SendMessage(WM_DRAWITEM, 0, (LPARAM)&draw);
}

HMENU CThemedMenuBarItem::GetSubMenu(CWnd*) const { return ::GetSubMenu(m_hMenu, m_nPos); }

UINT CThemedMenuBarItem::GetCommand() const { return ::GetMenuItemID(m_hMenu, m_nPos); }

CThemedIconBarItem::CThemedIconBarItem(int nKind, UINT nID, HBITMAP hBitmap)
    : m_nKind(nKind), m_nID(nID), m_hBitmap(hBitmap)
{
    BITMAP bm;
    if (nKind == KIND_BITMAP && hBitmap && ::GetObjectA(hBitmap, sizeof(bm), &bm))
        m_rect = CRect(0, 0, bm.bmWidth + 4, bm.bmHeight + 4);
    else
        m_rect = CRect(0, 0, ::GetSystemMetrics(SM_CXMENUSIZE), ::GetSystemMetrics(SM_CYMENUSIZE));
}

HMENU CThemedIconBarItem::GetSubMenu(CWnd* pFrame) const
{
    // The document child's system menu (multi-document frames only).
    if (m_nKind != KIND_CHILD_ICON || !pFrame)
        return nullptr;
    HWND client = ::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_FIRST);
    HWND child = client ? (HWND)::SendMessageA(client, WM_MDIGETACTIVE, 0, 0) : nullptr;
    return child ? ::GetSystemMenu(child, FALSE) : nullptr;
}

void CThemedIconBarItem::Draw(CWnd*, CDC* pDC)
{
    CRect r = m_rect;
    BOOL hot = (m_nFlags & ODS_HOTLIGHT) != 0;
    BOOL pressed = (m_nFlags & ODS_SELECTED) != 0;
    int id = CThemedMenu::GetThemeId();
    BOOL visualTheme = IsVisualThemeActive();
    if (id == 6 || id == 7) {
        COLORREF h = ::GetSysColor(COLOR_HIGHLIGHT);
        if (hot || pressed) {
            if (pressed)
                DrawGradient(pDC, &r, h, DarkenColor(h, 60), FALSE, FALSE);
            else
                DrawGradient(pDC, &r, LightenColor(h, 60), h, FALSE, FALSE);
            pDC->Draw3dRect(&r, DarkenColor(h, 60), DarkenColor(h, 60));
        }
    } else if (id == 10 || id == 11 || ((id == 8 || id == 9) && visualTheme)) {
        if (hot || pressed) {
            if (pressed)
                DrawGradient(pDC, &r, RGB(242, 151, 107), RGB(249, 202, 163), FALSE, FALSE);
            else
                DrawGradient(pDC, &r, RGB(250, 239, 219), RGB(255, 212, 151), FALSE, FALSE);
            pDC->Draw3dRect(&r, RGB(4, 2, 132), RGB(4, 2, 132));
        }
    } else if (id == 2 || id == 3 || id == 8 || id == 9) {
        if (m_nFlags & (ODS_HOTLIGHT | ODS_CHECKED)) {
            pDC->FillSolidRect(&r, GetSelectColor());
            pDC->Draw3dRect(&r, ::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHT));
        }
    } else if (hot || pressed) {
        COLORREF light = ::GetSysColor(COLOR_HIGHLIGHTTEXT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
        pDC->Draw3dRect(&r, pressed ? shadow : light, pressed ? light : shadow);
    }
    if (m_nKind == KIND_BITMAP) {
        if (m_hBitmap)
            pDC->DrawState(CPoint(r.left + 2, r.top + 2), CSize(r.Width() - 4, r.Height() - 4), m_hBitmap, DSS_NORMAL);
        return;
    }
    char glyph = m_nKind == KIND_RESTORE ? '2' : m_nKind == KIND_CLOSE ? 'r' : '0';
    if (m_nKind == KIND_CHILD_ICON)
        return; // the child's icon: only multi-document frames have one
    CFont font;
    font.CreateFont(r.Height() - 4, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    HGDIOBJ old = pDC->SelectObject(&font);
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    char text[2] = {glyph, 0};
    pDC->DrawText(text, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(old);
}

// ---------------------------------------------------------------- the bar

BEGIN_MESSAGE_MAP(CThemedMenuBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CThemedMenuBar::CThemedMenuBar()
    : m_nMode(MODE_IDLE), m_bPopupIsBarMenu(FALSE), m_bSelectionHasNoPopup(FALSE), m_bOtherKeyWithAlt(FALSE),
      m_nHotTimer(0), m_hMenu(nullptr), m_bChildMaximised(FALSE), m_nHotItem(-1), m_nCurrentItem(-1),
      m_ptLastMouse(-1, -1), m_nPressedItem(-1), m_hOpenPopup(nullptr), m_hPopupOwner(nullptr), m_bReopen(FALSE),
      m_pfnOldFrameProc(nullptr), m_hFrame(nullptr), m_rcBorders(3, 0, 0, 1), m_nLayoutLength(-1)
{
}

CThemedMenuBar::~CThemedMenuBar()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    DeleteItems();
}

UINT CThemedMenuBar::RemoveMenuMessage()
{
    static const UINT msg = ::RegisterWindowMessageA("CThemedMenuBar::WM_REMOVEMENU");
    return msg;
}

UINT CThemedMenuBar::GetMenuMessage()
{
    static const UINT msg = ::RegisterWindowMessageA("CThemedMenuBar::WM_GETMENU");
    return msg;
}

BOOL CThemedMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, m_rcBorders, nID);
}

BOOL CThemedMenuBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    ASSERT(pParentWnd && ::IsWindow(pParentWnd->m_hWnd));
    m_rcBorders = rcBorders;
    m_dwStyle = dwStyle & CBRS_ALL;
    if (nID == 59418)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    const char* cls = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                          (HBRUSH)(COLOR_BTNFACE + 1), nullptr);
    DWORD ws = (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_CLIPSIBLINGS;
    if (!CWnd::CreateEx(0, cls, "Menu Bar", ws, 0, 0, 0, 0, pParentWnd->m_hWnd, (HMENU)(UINT_PTR)nID))
        return FALSE;
    // The menu row lies above every other bar of the frame, whatever the
    // order in which the frame created them.
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

int CThemedMenuBar::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1)
        return -1;
    if (GetWindowsClass() >= WINCLASS_WIN2000)
        SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    m_hFrame = ::GetParent(m_hWnd);
    FrameHook hook = {this, (WNDPROC)::GetWindowLongPtrA(m_hFrame, GWLP_WNDPROC)};
    FrameHooks()[m_hFrame] = hook;
    m_pfnOldFrameProc = hook.pfnOld;
    ::SetWindowLongPtrA(m_hFrame, GWLP_WNDPROC, (LONG_PTR)&CThemedMenuBar::FrameProcThunk);
    return 0;
}

void CThemedMenuBar::OnDestroy()
{
    StopHotTimer();
    auto it = FrameHooks().find(m_hFrame);
    if (it != FrameHooks().end()) {
        if ((WNDPROC)::GetWindowLongPtrA(m_hFrame, GWLP_WNDPROC) == &CThemedMenuBar::FrameProcThunk) {
            ::SetWindowLongPtrA(m_hFrame, GWLP_WNDPROC, (LONG_PTR)it->second.pfnOld);
            FrameHooks().erase(it);
        } else {
            it->second.pBar = nullptr;
        }
    }
    m_hFrame = nullptr;
    Default();
}

CWnd* CThemedMenuBar::Frame() const { return CWnd::FromHandle(m_hFrame ? m_hFrame : ::GetParent(m_hWnd)); }

CThemedBarItem* CThemedMenuBar::GetItem(int nIndex) const
{
    return nIndex >= 0 && nIndex < (int)m_items.size() ? m_items[nIndex] : nullptr;
}

void CThemedMenuBar::DeleteItems()
{
    for (CThemedBarItem* item : m_items)
        delete item;
    m_items.clear();
    m_nHotItem = m_nCurrentItem = m_nPressedItem = -1;
}

BOOL CThemedMenuBar::IsVertical() const
{
    return (m_dwStyle & CBRS_ORIENT_HORZ) == 0 && (m_dwStyle & CBRS_ORIENT_VERT) != 0 && !(m_dwStyle & CBRS_FLOATING);
}

// ---- filling

void CThemedMenuBar::SetMenu(HMENU hMenu)
{
    if (hMenu)
        m_hMenu = hMenu;
    CWnd* frame = Frame();
    if (frame && m_hMenu && ::GetMenu(frame->m_hWnd) == m_hMenu)
        ::SetMenu(frame->m_hWnd, nullptr);
    m_bChildMaximised = FALSE;
    DeleteItems();
    int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_BITMAP;
        if (!::GetMenuItemInfoA(m_hMenu, i, TRUE, &info))
            continue;
        CThemedBarItem* item;
        if (info.fType & MFT_BITMAP)
            item = new CThemedIconBarItem(CThemedIconBarItem::KIND_BITMAP, info.wID, info.hbmpItem);
        else
            item = new CThemedMenuBarItem(frame, m_hMenu, i);
        if (info.fType & MFT_RIGHTJUSTIFY)
            item->m_nFlags |= BARITEM_RIGHT_GROUP;
        m_items.push_back(item);
    }
    if (m_hWnd) {
        Invalidate();
        if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(frame))
            pFrame->RecalcLayout();
    }
}

void CThemedMenuBar::OnUpdateCmdUI(CWnd* pTarget, BOOL)
{
    // The frame got a menu again (or still has it): the bar takes it.
    HWND frame = pTarget ? pTarget->m_hWnd : m_hFrame;
    HMENU hMenu = frame ? ::GetMenu(frame) : nullptr;
    if (hMenu) {
        ::SetMenu(frame, nullptr);
        SetMenu(hMenu);
    }
}

// ---- layout

CRect CThemedMenuBar::InsideBorders() const
{
    CRect borders = m_rcBorders;
    if (m_dwStyle & CBRS_GRIPPER) {
        if (IsVertical())
            borders.top += GRIPPER_WIDTH;
        else
            borders.left += GRIPPER_WIDTH;
    }
    return borders;
}

int CThemedMenuBar::WrapBar(int nLength)
{
    int rows = m_items.empty() ? 0 : 1;
    int x = 0, top = 0, bottom = 0;
    int rowFirst = 0;
    int group = -1;          // first item of the right-aligned group
    BOOL rowAligned = FALSE; // the row counts as right-aligned from its first item
    int n = (int)m_items.size();
    for (int i = 0; i < n; ++i) {
        CThemedBarItem* item = m_items[i];
        item->m_nFlags &= ~BARITEM_NEW_ROW;
        if (group < 0 && (item->m_nFlags & BARITEM_RIGHT_GROUP))
            group = i;
        int cx = item->m_rect.Width(), cy = item->m_rect.Height();
        if (x + cx > nLength && i > rowFirst) {
            // The row ends: its part of the right-aligned group moves right.
            if (group >= 0)
                AlignRow(rowAligned ? rowFirst : group, i - 1, nLength);
            rowAligned = group >= 0;
            item->m_nFlags |= BARITEM_NEW_ROW;
            ++rows;
            x = 0;
            top = bottom;
            rowFirst = i;
        }
        item->m_rect = CRect(x, top, x + cx, top + cy);
        x += cx;
        if (item->m_rect.bottom > bottom)
            bottom = item->m_rect.bottom;
    }
    if (group >= 0 && n > 0)
        AlignRow(rowAligned ? rowFirst : group, n - 1, nLength);
    return rows;
}

void CThemedMenuBar::AlignRow(int nFirst, int nLast, int nLength)
{
    if (nLength <= 0 || nFirst < 0 || nLast < nFirst || nLast >= (int)m_items.size())
        return;
    int shift = nLength - m_items[nLast]->m_rect.right;
    for (int i = nFirst; i <= nLast; ++i)
        m_items[i]->m_rect.OffsetRect(shift, 0);
}

CSize CThemedMenuBar::CalcSize() const
{
    int width = 0, height = 0, rowRight = 0, rowHeight = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const CThemedBarItem* item = m_items[i];
        if (item->m_nFlags & BARITEM_NEW_ROW) {
            width = std::max(width, rowRight);
            height += rowHeight;
            rowRight = rowHeight = 0;
        }
        rowRight = std::max(rowRight, (int)item->m_rect.right);
        rowHeight = std::max(rowHeight, item->m_rect.Height());
    }
    width = std::max(width, rowRight);
    height += rowHeight;
    return CSize(width, height);
}

void CThemedMenuBar::SizeBar(int nLength)
{
    if (!(m_dwStyle & CBRS_FLOATING)) {
        WrapBar(nLength);
        return;
    }
    // A floating bar looks by halving for the narrowest wrap that keeps its height.
    WrapBar(0);
    CSize minSize = CalcSize();
    WrapBar(0x7FFF);
    CSize maxSize = CalcSize();
    while (minSize.cx < maxSize.cx) {
        WrapBar((minSize.cx + maxSize.cx) / 2);
        CSize mid = CalcSize();
        if (mid.cx == maxSize.cx)
            break;
        if (nLength < maxSize.cx)
            maxSize = mid;
        else if (mid.cx == minSize.cx && mid.cy == minSize.cy) {
            WrapBar(maxSize.cx);
            break;
        } else
            minSize = mid;
    }
}

CSize CThemedMenuBar::CalcLayout(int nLength, BOOL bApply)
{
    CRect borders = InsideBorders();
    SizeBar(nLength);
    CSize size = CalcSize();
    size.cx = std::min<LONG>(size.cx + borders.left + borders.right, 0x7F00);
    size.cy = std::min<LONG>(size.cy + borders.top + borders.bottom, 0x7F00);
    if (bApply && m_hWnd)
        Invalidate();
    return size;
}

CSize CThemedMenuBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    CRect borders = InsideBorders();
    int length;
    if (m_nLayoutLength >= 0) {
        length = m_nLayoutLength;
    } else {
        RECT frame = {0, 0, 0, 0};
        if (m_hFrame)
            ::GetWindowRect(m_hFrame, &frame);
        length = frame.right - frame.left - 2 * ::GetSystemMetrics(SM_CXFRAME);
    }
    length -= borders.left + borders.right;
    CSize size = CalcLayout(length, TRUE);
    if (bStretch)
        size.cx = 32767;
    return size;
}

LRESULT CThemedMenuBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZEPARENT) {
        const AFX_SIZEPARENTPARAMS* p = (const AFX_SIZEPARENTPARAMS*)lParam;
        m_nLayoutLength = p->rect.right - p->rect.left;
        LRESULT r = CControlBar::WindowProc(message, wParam, lParam);
        m_nLayoutLength = -1;
        return r;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

LRESULT CThemedMenuBar::OnNcCalcSize(WPARAM, LPARAM lParam)
{
    NCCALCSIZE_PARAMS* p = (NCCALCSIZE_PARAMS*)lParam;
    CRect borders = InsideBorders();
    RECT& r = p->rgrc[0];
    r.left += borders.left;
    r.top += borders.top;
    if (!(m_dwStyle & CBRS_FLOATING)) {
        r.right -= borders.right;
        r.bottom -= borders.bottom;
    }
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return 0;
}

LRESULT CThemedMenuBar::OnNcHitTest(WPARAM, LPARAM) { return HTCLIENT; }

// ---- painting

void CThemedMenuBar::FillBackground(CDC* pDC, const CRect& rect)
{
    HBRUSH brush = GetMenuBackgroundBrush(m_hMenu);
    if (!brush) {
        pDC->FillSolidRect(&rect, GetMenuBarColorThemed(m_hMenu));
        return;
    }
    // The brush's pattern continues from the frame's window.
    RECT frame = {0, 0, 0, 0}, self = {0, 0, 0, 0};
    if (m_hFrame)
        ::GetWindowRect(m_hFrame, &frame);
    ::GetWindowRect(m_hWnd, &self);
    POINT origin = {frame.left - self.left, frame.top - self.top};
    ::SetBrushOrgEx(pDC->m_hDC, origin.x, origin.y, nullptr);
    pDC->FillRect(&rect, brush);
}

BOOL CThemedMenuBar::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    FillBackground(pDC, client);
    return TRUE;
}

void CThemedMenuBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    CMenuTheme* theme = CThemedMenu::GetCurrentTheme();
    if (!theme)
        return;
    CRect borders = m_rcBorders;
    theme->DrawGripper(pDC, &rect, m_dwStyle, borders.left, borders.right, borders.top, borders.bottom);
    theme->DrawCorner(pDC, &rect, m_dwStyle);
}

void CThemedMenuBar::OnNcPaint()
{
    CWindowDC dc(m_hWnd);
    CRect window, client;
    GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);
    GetClientRect(&client);
    CRect borders = InsideBorders();
    client.OffsetRect(borders.left, borders.top);
    dc.ExcludeClipRect(client.left, client.top, client.right, client.bottom);
    // The border strips take the background of the client area.
    HBRUSH brush = GetMenuBackgroundBrush(m_hMenu);
    if (brush) {
        RECT frame = {0, 0, 0, 0}, self = {0, 0, 0, 0};
        if (m_hFrame)
            ::GetWindowRect(m_hFrame, &frame);
        ::GetWindowRect(m_hWnd, &self);
        ::SetBrushOrgEx(dc.m_hDC, frame.left - self.left, frame.top - self.top, nullptr);
        dc.FillRect(&window, brush);
    } else {
        dc.FillSolidRect(&window, GetMenuBarColorThemed(m_hMenu));
    }
    if (m_dwStyle & CBRS_GRIPPER)
        DrawGripper(&dc, window);
}

void CThemedMenuBar::OnPaint()
{
    CPaintDC dc(m_hWnd);
    CRect client;
    GetClientRect(&client);
    FillBackground(&dc, client);
    CWnd* frame = Frame();
    // Access keys stay hidden while the frame hides them (keyboard cues off).
    BOOL noAccel = FALSE;
    BOOL cues = TRUE;
    if (GetWindowsClass() >= WINCLASS_WIN2000 && ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0) && !cues) {
        HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
        noAccel = top && (::SendMessageA(top, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
    }
    HFONT font = CreateNonClientFont(&NONCLIENTMETRICSA::lfMenuFont);
    HGDIOBJ oldFont = font ? dc.SelectObject(font) : nullptr;
    BOOL vertical = IsVertical();
    for (CThemedBarItem* item : m_items) {
        item->m_nFlags = noAccel ? (item->m_nFlags | ODS_NOACCEL) : (item->m_nFlags & ~ODS_NOACCEL);
        item->m_nFlags = vertical ? (item->m_nFlags | BARITEM_VERTICAL) : (item->m_nFlags & ~BARITEM_VERTICAL);
        item->Draw(frame, &dc);
    }
    if (font) {
        dc.SelectObject(oldFont);
        ::DeleteObject(font);
    }
}

void CThemedMenuBar::RedrawItem(int nItem)
{
    CThemedBarItem* item = GetItem(nItem);
    if (!item || !m_hWnd)
        return;
    CRect rect;
    item->GetRect(rect, IsVertical());
    InvalidateRect(&rect, TRUE);
}

// ---- hot tracking

void CThemedMenuBar::SetHot(int nItem, int nMode)
{
    if (nMode != m_nMode && GetWindowsClass() >= WINCLASS_WIN2000) {
        HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
        if (top) {
            LRESULT before = ::SendMessageA(top, WM_QUERYUISTATE, 0, 0);
            if (m_nMode == MODE_IDLE)
                ::SendMessageA(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
            else if (nMode == MODE_IDLE && before != (UISF_HIDEFOCUS | UISF_HIDEACCEL))
                ::SendMessageA(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
            if (::SendMessageA(top, WM_QUERYUISTATE, 0, 0) != before)
                Invalidate();
        }
    }
    int bits = nMode == MODE_TRACKING ? (BARITEM_PRESSED | ODS_SELECTED) : nMode == MODE_HOT ? ODS_HOTLIGHT : 0;
    if (bits && IsVertical())
        bits |= BARITEM_VERTICAL;
    if (CThemedBarItem* old = GetItem(m_nHotItem)) {
        if (old->m_nFlags & (BARITEM_PRESSED | ODS_SELECTED | ODS_HOTLIGHT)) {
            old->m_nFlags &= ~BARITEM_STATE_MASK;
            RedrawItem(m_nHotItem);
        }
    }
    if (CThemedBarItem* item = GetItem(nItem)) {
        int flags = (item->m_nFlags & ~BARITEM_STATE_MASK) | bits;
        if (flags != item->m_nFlags) {
            item->m_nFlags = flags;
            RedrawItem(nItem);
        }
    }
    m_nHotItem = bits ? nItem : -1;
    m_nCurrentItem = nItem;
    m_nMode = nMode;
}

void CThemedMenuBar::StartHotTimer()
{
    if (!m_nHotTimer && m_hWnd)
        m_nHotTimer = (UINT)::SetTimer(m_hWnd, THEMED_TIMER_BAR_HOT, 100, nullptr);
}

void CThemedMenuBar::StopHotTimer()
{
    if (m_nHotTimer && m_hWnd)
        ::KillTimer(m_hWnd, m_nHotTimer);
    m_nHotTimer = 0;
}

BOOL CThemedMenuBar::IsFocusInFrame() const
{
    HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    HWND focus = ::GetFocus();
    return top && focus && (focus == top || ::IsChild(top, focus));
}

int CThemedMenuBar::HitTest(CPoint pt) const
{
    BOOL vertical = IsVertical();
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i]->HitTest(pt.x, pt.y, vertical))
            return (int)i;
    return -1;
}

void CThemedMenuBar::OnMouseMove(UINT, CPoint point)
{
    if (point == m_ptLastMouse)
        return;
    m_ptLastMouse = point;
    if (!IsFocusInFrame()) {
        SetHot(-1, MODE_IDLE);
        StopHotTimer();
        return;
    }
    m_bOtherKeyWithAlt = FALSE;
    int item = HitTest(point);
    if (item < 0) {
        if (m_nMode == MODE_HOT) {
            SetHot(-1, MODE_IDLE);
            StopHotTimer();
        } else {
            Default();
        }
    } else if (m_nMode == MODE_TRACKING) {
        TrackPopup(item);
    } else {
        SetHot(item, MODE_HOT);
        StartHotTimer();
    }
}

void CThemedMenuBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != m_nHotTimer || !m_nHotTimer) {
        Default();
        return;
    }
    POINT cursor;
    ::GetCursorPos(&cursor);
    if (!IsFocusInFrame() || (m_nMode == MODE_HOT && ::WindowFromPoint(cursor) != m_hWnd)) {
        SetHot(-1, MODE_IDLE);
        StopHotTimer();
    } else if (m_nMode == MODE_IDLE) {
        StopHotTimer();
    }
}

void CThemedMenuBar::OnLButtonDown(UINT, CPoint point)
{
    m_nPressedItem = -1;
    int item = HitTest(point);
    if (item >= 0) {
        TrackPopup(item);
    } else {
        SetHot(-1, MODE_IDLE);
        Default();
    }
}

void CThemedMenuBar::OnLButtonUp(UINT, CPoint point)
{
    int item = HitTest(point);
    CThemedBarItem* pItem = GetItem(item);
    if (!pItem || pItem->GetSubMenu(Frame())) {
        Default();
        return;
    }
    UINT id = pItem->GetCommand();
    SetHot(m_nCurrentItem, MODE_IDLE);
    if (m_hFrame)
        ::SendMessageA(m_hFrame, WM_COMMAND, MAKEWPARAM(id, 0), (LPARAM)m_hWnd);
}

// ---- tracking

int CThemedMenuBar::NextItem(int nFrom, int nStep) const
{
    int n = (int)m_items.size();
    for (int k = 1; k <= n; ++k) {
        int i = ((nFrom + k * nStep) % n + n) % n;
        if (!IsSystemCommand(m_items[i]->GetCommand()))
            return i;
    }
    return -1;
}

int CThemedMenuBar::TrackPopup(int nItem)
{
    if (m_bReopen || !GetItem(nItem))
        return 0;
    CWnd* frame = Frame();
    for (;;) {
        m_nCurrentItem = nItem;
        CThemedBarItem* item = m_items[nItem];
        HMENU popup = item->GetSubMenu(frame);
        if (!popup) {
            SetHot(nItem, m_nMode == MODE_TRACKING ? MODE_TRACKING : MODE_HOT);
            StartHotTimer();
            return 0;
        }
        SetHot(nItem, MODE_TRACKING);
        UpdateWindow();
        m_hPopupOwner = frame ? frame->m_hWnd : nullptr;
        m_hOpenPopup = popup;
        CRect rect;
        item->GetRect(rect, IsVertical());
        ClientToScreen(&rect);

        // What waits to be painted is painted before the menu loop starts.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage((int)msg.wParam);
                return 0;
            }
            ::DispatchMessageA(&msg);
        }

        // The popup's window joins the bar item it hangs from.
        if (CThemedMenu* bar = CThemedMenu::FromHandleThemed(m_hMenu))
            bar->m_rectBarItem = rect;
        g_pTrackingBar = this;
        m_bReopen = FALSE;
        g_hMenuFilter =
            ::SetWindowsHookExA(WH_MSGFILTER, &CThemedMenuBar::MenuFilterProc, nullptr, ::GetCurrentThreadId());
        CThemedMenu::TrackPopupMenuOnMonitor(CMenu::FromHandle(popup), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL,
                                             &rect, frame, (m_dwStyle & 0x5000) != 0 && IsVertical());
        if (g_hMenuFilter)
            ::UnhookWindowsHookEx(g_hMenuFilter);
        g_hMenuFilter = nullptr;
        g_pTrackingBar = nullptr;
        m_hOpenPopup = nullptr;
        if (!m_hWnd)
            return 1; // the frame went while the menu was open
        UpdateWindow();
        if (m_bReopen && GetItem(m_nCurrentItem) && m_nMode == MODE_TRACKING) {
            m_bReopen = FALSE;
            nItem = m_nCurrentItem;
            continue;
        }
        m_bReopen = FALSE;
        SetHot(m_nCurrentItem, m_nMode == MODE_TRACKING ? MODE_IDLE : m_nMode);
        return 1;
    }
}

BOOL CThemedMenuBar::HasHighlightedItem(HMENU hMenu)
{
    for (int i = 0, n = hMenu ? ::GetMenuItemCount(hMenu) : 0; i < n; ++i)
        if (::GetMenuState(hMenu, (UINT)i, MF_BYPOSITION) & MF_HILITE)
            return TRUE;
    return FALSE;
}

void CThemedMenuBar::SwitchTo(int nItem)
{
    if (nItem < 0)
        return;
    if (m_hPopupOwner)
        ::PostMessageA(m_hPopupOwner, WM_CANCELMODE, 0, 0);
    m_nCurrentItem = nItem;
    m_bReopen = TRUE;
}

LRESULT CALLBACK CThemedMenuBar::MenuFilterProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == MSGF_MENU && g_pTrackingBar && g_pTrackingBar->OnMenuFilter((const MSG*)lParam))
        return 1;
    return ::CallNextHookEx(g_hMenuFilter, nCode, wParam, lParam);
}

BOOL CThemedMenuBar::OnMenuFilter(const MSG* pMsg)
{
    CPoint pt = pMsg->pt;
    ScreenToClient(&pt);
    switch (pMsg->message) {
    case WM_KEYDOWN:
        // Nothing highlighted yet (a popup the mouse opened) opens nothing either.
        if (pMsg->wParam == VK_RIGHT && (m_bSelectionHasNoPopup || !HasHighlightedItem(m_hOpenPopup))) {
            SwitchTo(NextItem(m_nCurrentItem, 1));
            return TRUE;
        }
        if (pMsg->wParam == VK_LEFT && m_bPopupIsBarMenu) {
            SwitchTo(NextItem(m_nCurrentItem, -1));
            return TRUE;
        }
        return FALSE;
    case WM_SYSKEYDOWN: m_bOtherKeyWithAlt = TRUE; return FALSE;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // Alt's release went to the popup, not to the frame: the Alt+letter
        // that opened it is over, and the next Alt or F10 starts afresh.
        if (pMsg->wParam == VK_MENU)
            m_bOtherKeyWithAlt = FALSE;
        return FALSE;
    case WM_MOUSEMOVE:
        if (pt != m_ptLastMouse) {
            m_ptLastMouse = pt;
            int item = HitTest(pt);
            if (item >= 0 && item != m_nCurrentItem)
                SwitchTo(item);
        }
        return FALSE;
    case WM_LBUTTONDOWN: {
        int item = HitTest(pt);
        if (item < 0)
            return FALSE;
        if (item != m_nCurrentItem)
            SwitchTo(item);
        m_nPressedItem = m_nCurrentItem;
        return TRUE;
    }
    case WM_LBUTTONUP: {
        int item = HitTest(pt);
        if (item < 0 || item != m_nPressedItem)
            return FALSE;
        if (m_hPopupOwner)
            ::PostMessageA(m_hPopupOwner, WM_CANCELMODE, 0, 0);
        m_bReopen = FALSE;
        m_nMode = MODE_HOT;
        return TRUE;
    }
    }
    return FALSE;
}

// ---- keyboard

BOOL CThemedMenuBar::TranslateFrameMessage(MSG* pMsg)
{
    UINT message = pMsg->message;
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN && message != WM_SYSKEYUP)
        return FALSE;
    if (!m_hWnd || !(GetStyle() & WS_VISIBLE))
        return FALSE;
    UINT vk = (UINT)pMsg->wParam;
    BOOL altHeld = (pMsg->lParam & (1 << 29)) != 0;
    BOOL shift = ::GetKeyState(VK_SHIFT) < 0, ctrl = ::GetKeyState(VK_CONTROL) < 0;

    // 1. Alt alone, or F10 alone: the bar's, never the system's menu activation.
    if (vk == VK_MENU || (vk == VK_F10 && !shift && !ctrl && !altHeld)) {
        if (message == WM_SYSKEYDOWN && vk == VK_MENU && !(pMsg->lParam & (1 << 30)))
            m_bOtherKeyWithAlt = FALSE;
        if (message == WM_SYSKEYUP) {
            if (m_nMode == MODE_HOT)
                SetHot(-1, MODE_IDLE);
            else if (m_bOtherKeyWithAlt)
                m_bOtherKeyWithAlt = FALSE;
            else if (!m_items.empty())
                SetHot(0, MODE_HOT);
        }
        return TRUE;
    }
    if (message == WM_SYSKEYUP)
        return FALSE;
    // Another key went down while Alt was held: the Alt release that follows
    // is part of that combination.
    if (message == WM_SYSKEYDOWN && altHeld)
        m_bOtherKeyWithAlt = TRUE;

    // 2. Moving and opening in keyboard mode.
    if (m_nMode != MODE_IDLE) {
        BOOL vertical = IsVertical();
        UINT open1 = vertical ? VK_LEFT : VK_UP, open2 = vertical ? VK_RIGHT : VK_DOWN;
        UINT prev = vertical ? VK_UP : VK_LEFT, next = vertical ? VK_DOWN : VK_RIGHT;
        CThemedBarItem* item = GetItem(m_nCurrentItem);
        BOOL hasPopup = item && item->GetSubMenu(Frame());
        if (vk == VK_RETURN || vk == VK_SPACE) {
            if (item && !hasPopup) {
                UINT id = item->GetCommand();
                SetHot(m_nCurrentItem, MODE_IDLE);
                if (m_hFrame)
                    ::SendMessageA(m_hFrame, WM_COMMAND, MAKEWPARAM(id, 0), (LPARAM)m_hWnd);
            } else {
                TrackPopup(m_nCurrentItem);
            }
            return TRUE;
        }
        if (vk == VK_ESCAPE) {
            SetHot(-1, MODE_IDLE);
            return TRUE;
        }
        if (vk == open1 || vk == open2) {
            TrackPopup(m_nCurrentItem);
            return TRUE;
        }
        if (vk == prev || vk == next) {
            int k = NextItem(m_nCurrentItem, vk == next ? 1 : -1);
            if (m_nMode == MODE_HOT)
                SetHot(k, MODE_HOT);
            else
                TrackPopup(k);
            return TRUE;
        }
    }

    // 3. Access keys.
    BOOL alnum = (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z');
    if (!alnum || !(altHeld || m_nMode == MODE_HOT))
        return FALSE;
    CThemedMenu* menu = CThemedMenu::FromHandleThemed(m_hMenu);
    LRESULT found = menu ? CThemedMenu::OnMenuChar((UINT)(vk | 0x20), MF_POPUP, menu) : 0;
    if (HIWORD(found) == MNC_EXECUTE) {
        int index = (int)LOWORD(found) + (m_bChildMaximised ? 1 : 0);
        if (GetItem(index)) {
            m_nCurrentItem = index;
            TrackPopup(index);
            return TRUE;
        }
    }
    return m_nMode == MODE_HOT && !altHeld;
}

// ---- the frame's procedure

LRESULT CALLBACK CThemedMenuBar::FrameProcThunk(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto it = FrameHooks().find(hWnd);
    if (it == FrameHooks().end())
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    FrameHook hook = it->second;
    if (message == WM_NCDESTROY) {
        // The frame's last message: the chain goes back to where it was.
        if ((WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == &CThemedMenuBar::FrameProcThunk)
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)hook.pfnOld);
        FrameHooks().erase(hWnd);
        return ::CallWindowProcA(hook.pfnOld, hWnd, message, wParam, lParam);
    }
    if (!hook.pBar)
        return ::CallWindowProcA(hook.pfnOld, hWnd, message, wParam, lParam);
    return hook.pBar->FrameWindowProc(hWnd, message, wParam, lParam);
}

LRESULT CThemedMenuBar::FrameWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = m_pfnOldFrameProc;
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: {
        LRESULT r = ::CallWindowProcA(old, hWnd, message, wParam, lParam);
        CThemedMenu::ApplyMenuBarBrush(m_hMenu);
        Invalidate();
        if (CFrameWnd* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWnd)))
            frame->RecalcLayout();
        return r;
    }
    case WM_MEASUREITEM: {
        LPMEASUREITEMSTRUCT measure = (LPMEASUREITEMSTRUCT)lParam;
        if (!measure || measure->CtlType != ODT_MENU)
            break;
        MSG msg = {hWnd, message, wParam, lParam, 0, {0, 0}};
        if (CThemedMenu::OnMeasureItem(&msg))
            return TRUE;
        if (CMenu* menu = CThemedMenu::FindMenuOfCommand(m_hMenu, measure->itemID)) {
            menu->MeasureItem(measure);
            return TRUE;
        }
        break;
    }
    case WM_INITMENUPOPUP: {
        ::CallWindowProcA(old, hWnd, message, wParam, lParam);
        m_bPopupIsBarMenu = TRUE;
        // The open item now counts its popup: drawn open rather than hot.
        if ((HMENU)wParam == m_hOpenPopup) {
            RedrawItem(m_nCurrentItem);
            UpdateWindow();
        }
        return 0;
    }
    case WM_MENUSELECT:
        m_bSelectionHasNoPopup = !(HIWORD(wParam) & MF_POPUP);
        m_bPopupIsBarMenu = (HMENU)lParam == m_hOpenPopup;
        break;
    case WM_MENUCHAR: {
        CMenu* menu = CMenu::FromHandlePermanent((HMENU)lParam);
        if (dynamic_cast<CThemedMenu*>(menu)) {
            LRESULT r = CThemedMenu::OnMenuChar(LOWORD(wParam), HIWORD(wParam), menu);
            if (r)
                return r;
        }
        break;
    }
    case WM_DESTROY: {
        // The frame goes: its procedure is given back first.
        StopHotTimer();
        if ((WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == &CThemedMenuBar::FrameProcThunk) {
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)old);
            FrameHooks().erase(hWnd);
        } else {
            FrameHooks()[hWnd].pBar = nullptr;
        }
        m_hFrame = nullptr;
        return ::CallWindowProcA(old, hWnd, message, wParam, lParam);
    }
    default:
        if (message == GetMenuMessage())
            return (LRESULT)m_hMenu;
        if (message == RemoveMenuMessage()) {
            ::SetMenu(hWnd, nullptr);
            return 0;
        }
        break;
    }
    return ::CallWindowProcA(old, hWnd, message, wParam, lParam);
}
