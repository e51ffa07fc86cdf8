// CxStatic.
#include "xStatic.h"
#include "MemDC.h"

std::vector<CString> SplitStaticLines(const CString& text, int width, const std::function<int(const CString&)>& measure)
{
    std::vector<CString> lines;
    if (width <= 0)
        return lines;
    CString rest = text;
    while (!rest.IsEmpty()) {
        int n = rest.GetLength();
        bool broken = false;
        for (int i = 1; i <= n && !broken; ++i) {
            if (i >= 2 &&
                ((rest[i - 2] == '\r' && rest[i - 1] == '\n') || (rest[i - 2] == '\n' && rest[i - 1] == '\r'))) {
                lines.push_back(rest.Left(i - 2));
                rest = rest.Mid(i);
                broken = true;
            } else if (measure(rest.Left(i)) > width) {
                CString shorter = rest.Left(i - 1);
                int blank = shorter.ReverseFind(' ');
                if (shorter.IsEmpty()) {
                    // A single character wider than the rectangle still takes a line.
                    lines.push_back(rest.Left(1));
                    rest = rest.Mid(1);
                } else if (blank < 0 || blank == shorter.GetLength() - 1) {
                    lines.push_back(shorter);
                    rest = rest.Mid(i - 1);
                } else {
                    lines.push_back(shorter.Left(blank));
                    rest = rest.Mid(blank + 1);
                }
                broken = true;
            }
        }
        if (!broken) {
            lines.push_back(rest);
            break;
        }
    }
    return lines;
}

BEGIN_MESSAGE_MAP(CxStatic, CStatic)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_SETFONT, OnSetFontMessage)
    ON_MESSAGE(WM_GETFONT, OnGetFontMessage)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

CxStatic::CxStatic()
    : m_bTransparent(FALSE), m_bHover(FALSE), m_crText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_crBackground(::GetSysColor(COLOR_BTNFACE)), m_dwStaticStyle(0), m_hMsimg(nullptr), m_pfnGradientFill(nullptr)
{
    m_crGradientStart = m_crGradientEnd = m_crBackground;
    m_brBackground.CreateSolidBrush(m_crBackground);
    m_hMsimg = ::LoadLibraryA("msimg32.dll");
    if (m_hMsimg)
        m_pfnGradientFill = (PFN_GRADIENTFILL)(void*)::GetProcAddress(m_hMsimg, "GradientFill");
}

CxStatic::~CxStatic()
{
    if (m_hMsimg)
        ::FreeLibrary(m_hMsimg);
}

void CxStatic::Redraw()
{
    if (!m_hWnd)
        return;
    if (m_bTransparent) {
        // The parent's pixels under the control are its background.
        CWnd* parent = GetParent();
        CRect rect;
        GetWindowRect(&rect);
        parent->ScreenToClient(&rect);
        parent->InvalidateRect(&rect, TRUE);
    }
    Invalidate(FALSE);
}

void CxStatic::RebuildFont(HFONT hFrom)
{
    if (!hFrom)
        hFrom = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (!hFrom)
        hFrom = (HFONT)::GetStockObject(ANSI_VAR_FONT);
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof(lf));
    ::GetObjectA(hFrom, sizeof(lf), &lf);
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
}

void CxStatic::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    m_dwStaticStyle = GetStyle();
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (LONG_PTR)((m_dwStaticStyle & ~(DWORD)SS_TYPEMASK) | SS_OWNERDRAW));
    RebuildFont(GetFont());
    GetWindowText(m_strText);
    DragAcceptFiles(TRUE);
    Invalidate(FALSE);
}

void CxStatic::SetTransparent(BOOL bTransparent)
{
    m_bTransparent = bTransparent;
    Redraw();
}

void CxStatic::SetBkColor(COLORREF cr)
{
    m_crBackground = cr;
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(cr);
    Redraw();
}

void CxStatic::SetText(const char* pszText)
{
    // The window text follows, which stores the text again (OnSetText).
    m_strText = pszText ? pszText : "";
    if (m_hWnd)
        ::SetWindowTextA(m_hWnd, m_strText);
}

void CxStatic::SetFont(const char* pszFaceName, int nHeight, int nWeight, BOOL bRedraw)
{
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof(lf));
    if (m_font.GetSafeHandle())
        m_font.GetLogFont(&lf);
    lstrcpynA(lf.lfFaceName, pszFaceName, LF_FACESIZE);
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    if (bRedraw)
        Redraw();
}

BOOL CxStatic::SetBitmapFromFile(const char* pszPath)
{
    HBITMAP loaded = (HBITMAP)::LoadImageA(nullptr, pszPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!loaded)
        return FALSE;
    m_bitmap.DeleteObject();
    m_bitmap.Attach(loaded);
    Redraw();
    return TRUE;
}

void CxStatic::DrawText(CDC* pDC, const CRect& rect)
{
    UINT flags = 0;
    DWORD type = m_dwStaticStyle & SS_TYPEMASK;
    if (type == SS_RIGHT)
        flags |= DT_RIGHT;
    else if (type == SS_CENTER)
        flags |= DT_CENTER;
    if (m_dwStaticStyle & SS_NOPREFIX)
        flags |= DT_NOPREFIX;
    if (m_dwStaticStyle & SS_ELLIPSISMASK)
        flags |= DT_WORD_ELLIPSIS;
    if ((m_dwStaticStyle & SS_ELLIPSISMASK) == SS_ENDELLIPSIS)
        flags |= DT_END_ELLIPSIS;
    if ((m_dwStaticStyle & SS_ELLIPSISMASK) == SS_PATHELLIPSIS)
        flags |= DT_PATH_ELLIPSIS;
    if (m_strText.Find('\t') >= 0)
        flags |= DT_EXPANDTABS;

    std::vector<CString> lines = SplitStaticLines(
        m_strText, rect.Width(), [pDC](const CString& s) { return (int)pDC->GetTextExtent(s, s.GetLength()).cx; });
    TEXTMETRICA tm;
    pDC->GetTextMetrics(&tm);
    int lineHeight = tm.tmHeight > 0 ? tm.tmHeight : 1;
    int top = rect.top;
    if (m_dwStaticStyle & SS_CENTERIMAGE)
        top = rect.top + (rect.Height() - (int)lines.size() * lineHeight) / 2;
    for (size_t i = 0; i < lines.size(); ++i) {
        CRect line(rect.left, top, rect.right, top + lineHeight);
        pDC->DrawText(lines[i], lines[i].GetLength(), &line, flags);
        top += lineHeight;
    }
}

void CxStatic::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* target = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rect = lpDrawItemStruct->rcItem;
    target->SetBkColor(m_crBackground);
    CMemDC dc(target, &rect, m_bTransparent);
    if (m_bitmap.GetSafeHandle()) {
        BITMAP bm;
        m_bitmap.GetBitmap(&bm);
        CDC source;
        source.CreateCompatibleDC(&dc);
        HGDIOBJ old = source.SelectObject(&m_bitmap);
        CRect client;
        GetClientRect(&client);
        dc.StretchBlt(client.left, client.top, client.Width(), client.Height(), &source, 0, 0, bm.bmWidth, bm.bmHeight,
                      SRCCOPY);
        source.SelectObject(old);
        m_bTransparent = FALSE;
    } else if (!m_bTransparent) {
        dc.FillRect(&rect, &m_brBackground);
    }
    HGDIOBJ oldFont =
        dc.SelectObject(m_font.GetSafeHandle() ? (HGDIOBJ)m_font.GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
    COLORREF oldColor = dc.SetTextColor(m_crText);
    DrawText(&dc, rect);
    dc.SetTextColor(oldColor);
    dc.SelectObject(oldFont);
}

BOOL CxStatic::OnEraseBkgnd(CDC*) { return TRUE; }

void CxStatic::OnSize(UINT, int, int)
{
    Default();
    Redraw();
}

void CxStatic::OnMouseMove(UINT, CPoint)
{
    Default();
    if (m_bHover)
        return;
    m_bHover = TRUE;
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&tme);
    Redraw();
    ::SetActiveWindow(::GetParent(m_hWnd));
}

LRESULT CxStatic::OnMouseLeave(WPARAM, LPARAM)
{
    m_bHover = FALSE;
    Redraw();
    return 0;
}

LRESULT CxStatic::OnSetText(WPARAM, LPARAM lParam)
{
    LRESULT r = Default();
    m_strText = lParam ? (const char*)lParam : "";
    Redraw();
    return r;
}

LRESULT CxStatic::OnSetFontMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = Default();
    RebuildFont((HFONT)wParam);
    if (LOWORD(lParam))
        Redraw();
    return r;
}

// The font the text is drawn with, which SetFont may have changed.
LRESULT CxStatic::OnGetFontMessage(WPARAM, LPARAM) { return (LRESULT)m_font.GetSafeHandle(); }

void CxStatic::OnDropFiles(HDROP hDropInfo)
{
    char path[MAX_PATH] = "";
    UINT count = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    if (count == 1 && ::DragQueryFileA(hDropInfo, 0, path, MAX_PATH) > 0) {
        CString file(path);
        if (file.GetLength() >= 4 && file.Right(4).CompareNoCase(".bmp") == 0)
            SetBitmapFromFile(file);
    }
    ::DragFinish(hDropInfo);
}
