// CSplitterWnd: layout, drawing and moving the bars.
#include "fw/framework.h"
#include "fw/splitter.h"

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
END_MESSAGE_MAP()

namespace {
const int kKeyboardStep = 8;
}

CSplitterWnd::CSplitterWnd()
    : m_cxSplitter(7), m_cySplitter(7), m_cxSplitterGap(7), m_cySplitterGap(7), m_cxBorder(2), m_cyBorder(2),
      m_cxBorderShare(1), m_cyBorderShare(1), m_nTrackCol(-1), m_nTrackStartSize(0), m_nTrackOffset(0),
      m_bKeyboardTrack(FALSE)
{
}

CSplitterWnd::~CSplitterWnd() {}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    ASSERT(pParentWnd && nRows >= 1 && nCols >= 1 && nRows <= 16 && nCols <= 16);
    CRowColInfo none = {0, 0, 0};
    m_rows.assign((size_t)nRows, none);
    m_cols.assign((size_t)nCols, none);
    const char* cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    return CWnd::CreateEx(0, cls, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, const CRuntimeClass* pViewClass, SIZE sizeInit,
                              CCreateContext* pContext)
{
    ASSERT(row >= 0 && row < GetRowCount() && col >= 0 && col < GetColumnCount());
    ASSERT(GetPane(row, col) == nullptr);
    CWnd* pane = dynamic_cast<CWnd*>(pViewClass->CreateObject());
    if (!pane)
        return FALSE;
    m_cols[(size_t)col].nIdealSize = m_cols[(size_t)col].nCurSize = sizeInit.cx;
    m_rows[(size_t)row].nIdealSize = m_rows[(size_t)row].nCurSize = sizeInit.cy;
    CRect rect(0, 0, sizeInit.cx, sizeInit.cy);
    if (!pane->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rect, this, (UINT)IdFromRowCol(row, col), pContext)) {
        // A window that never existed sends no WM_NCDESTROY: the object goes here.
        if (!pane->m_hWnd)
            delete pane;
        return FALSE;
    }
    CView* view = dynamic_cast<CView*>(pane);
    if (view && pContext && pContext->m_pCurrentDoc && !view->GetDocument())
        pContext->m_pCurrentDoc->AddView(view);
    return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const
{
    cxCur = m_cols[(size_t)col].nCurSize;
    cxMin = m_cols[(size_t)col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    m_cols[(size_t)col].nIdealSize = m_cols[(size_t)col].nCurSize = cxIdeal;
    m_cols[(size_t)col].nMinSize = cxMin;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const
{
    cyCur = m_rows[(size_t)row].nCurSize;
    cyMin = m_rows[(size_t)row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    m_rows[(size_t)row].nIdealSize = m_rows[(size_t)row].nCurSize = cyIdeal;
    m_rows[(size_t)row].nMinSize = cyMin;
}

CRect CSplitterWnd::GetInsideRect() const
{
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    rect.DeflateRect(m_cxBorder, m_cyBorder);
    return rect;
}

CRect CSplitterWnd::GetPaneRect(int row, int col) const
{
    // Every pane but the last of a row or column takes its current size; the
    // last takes what is left.
    CRect inside = GetInsideRect();
    CRect rect(inside.left, inside.top, inside.left, inside.top);
    for (int c = 0; c <= col; ++c) {
        if (c > 0)
            rect.left = rect.right + m_cxSplitterGap;
        rect.right = c == GetColumnCount() - 1 ? inside.right : rect.left + m_cols[(size_t)c].nCurSize;
    }
    for (int r = 0; r <= row; ++r) {
        if (r > 0)
            rect.top = rect.bottom + m_cySplitterGap;
        rect.bottom = r == GetRowCount() - 1 ? inside.bottom : rect.top + m_rows[(size_t)r].nCurSize;
    }
    if (rect.right < rect.left)
        rect.right = rect.left;
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    return rect;
}

void CSplitterWnd::RecalcLayout()
{
    if (!m_hWnd)
        return;
    for (int r = 0; r < GetRowCount(); ++r) {
        for (int c = 0; c < GetColumnCount(); ++c) {
            CWnd* pane = GetPane(r, c);
            if (!pane)
                continue;
            CRect rect = GetPaneRect(r, c);
            // A pane with its own edge (or a nested splitter) covers the border line.
            if ((pane->GetExStyle() & WS_EX_CLIENTEDGE) || dynamic_cast<CSplitterWnd*>(pane))
                rect.InflateRect(1, 1);
            ::MoveWindow(pane->m_hWnd, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
        }
    }
    Invalidate(TRUE);
}

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect)
{
    if (!pDC)
        return;
    CRect r = rect;
    switch (nType) {
    case splitBorder:
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        r.InflateRect(-1, -1);
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_WINDOWFRAME), ::GetSysColor(COLOR_3DLIGHT));
        break;
    default: pDC->FillSolidRect(&r, ::GetSysColor(COLOR_BTNFACE)); break;
    }
}

void CSplitterWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CDC* dc = CDC::FromHandle(hdc);
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    for (int r = 0; r < GetRowCount(); ++r) {
        for (int c = 0; c < GetColumnCount(); ++c) {
            CRect pane = GetPaneRect(r, c);
            CRect border = pane;
            border.InflateRect(m_cxBorder, m_cyBorder);
            OnDrawSplitter(dc, splitBorder, border);
            if (c < GetColumnCount() - 1)
                OnDrawSplitter(dc, splitBar,
                               CRect(pane.right, client.top, pane.right + m_cxSplitterGap, client.bottom));
        }
    }
    ::EndPaint(m_hWnd, &ps);
}

void CSplitterWnd::OnSize(UINT, int, int)
{
    Default();
    RecalcLayout();
}

int CSplitterWnd::HitTestBar(CPoint pt) const
{
    for (int c = 0; c < GetColumnCount() - 1; ++c) {
        CRect pane = GetPaneRect(0, c);
        if (pt.x >= pane.right && pt.x < pane.right + m_cxSplitterGap)
            return c;
    }
    return -1;
}

void CSplitterWnd::TrackTo(int x)
{
    CRect left = GetPaneRect(0, m_nTrackCol);
    CRect inside = GetInsideRect();
    int width = x - m_nTrackOffset - left.left;
    int maxWidth = inside.right - left.left - m_cxSplitterGap;
    if (width > maxWidth)
        width = maxWidth;
    if (width < m_cols[(size_t)m_nTrackCol].nMinSize)
        width = m_cols[(size_t)m_nTrackCol].nMinSize;
    if (width < 0)
        width = 0;
    if (width == m_cols[(size_t)m_nTrackCol].nCurSize)
        return;
    m_cols[(size_t)m_nTrackCol].nCurSize = m_cols[(size_t)m_nTrackCol].nIdealSize = width;
    RecalcLayout();
}

void CSplitterWnd::StopTracking(BOOL bAccept)
{
    if (m_nTrackCol < 0)
        return;
    int col = m_nTrackCol;
    m_nTrackCol = -1;
    m_bKeyboardTrack = FALSE;
    if (!bAccept) {
        m_cols[(size_t)col].nCurSize = m_cols[(size_t)col].nIdealSize = m_nTrackStartSize;
        RecalcLayout();
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

BOOL CSplitterWnd::DoKeyboardSplit()
{
    if (GetColumnCount() < 2 || IsTracking())
        return FALSE;
    m_nTrackCol = 0;
    m_nTrackStartSize = m_cols[0].nCurSize;
    m_nTrackOffset = 0;
    m_bKeyboardTrack = TRUE;
    SetFocus();
    SetCapture();
    return TRUE;
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point)
{
    if (IsTracking())
        return;
    int col = HitTestBar(point);
    if (col < 0)
        return;
    m_nTrackCol = col;
    m_nTrackStartSize = m_cols[(size_t)col].nCurSize;
    m_nTrackOffset = point.x - GetPaneRect(0, col).right;
    SetCapture();
}

void CSplitterWnd::OnMouseMove(UINT, CPoint point)
{
    if (IsTracking() && !m_bKeyboardTrack)
        TrackTo(point.x);
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) { StopTracking(TRUE); }

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && pWnd == this) {
        POINT pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (IsTracking() || HitTestBar(pt) >= 0) {
            ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
            return TRUE;
        }
    }
    (void)message;
    return (BOOL)Default();
}

void CSplitterWnd::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (!IsTracking()) {
        Default();
        return;
    }
    int right = GetPaneRect(0, m_nTrackCol).right;
    switch (nChar) {
    case VK_LEFT: TrackTo(right - kKeyboardStep); break;
    case VK_RIGHT: TrackTo(right + kKeyboardStep); break;
    case VK_RETURN: StopTracking(TRUE); break;
    case VK_ESCAPE: StopTracking(FALSE); break;
    default: break;
    }
}

LRESULT CSplitterWnd::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    // Another window took the mouse: a move in progress ends where it is.
    if (IsTracking() && (HWND)lParam != m_hWnd) {
        m_nTrackCol = -1;
        m_bKeyboardTrack = FALSE;
    }
    return 0;
}

LRESULT CSplitterWnd::OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }
