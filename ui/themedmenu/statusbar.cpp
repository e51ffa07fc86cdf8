// The themed status bar: the control keeps its panes and texts; painting is
// all done here, in the colours of the current menu theme.
#include "statusbar.h"
#include "menutheme.h"
#include "barpaint.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CThemedStatusBar, CStatusBar)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CThemedStatusBar::PreSubclassWindow()
{
    // Placed at the bottom by the frame's layout, never by the control.
    ModifyStyle(0, CCS_BOTTOM | CCS_NOPARENTALIGN);
    CStatusBar::PreSubclassWindow();
}

BOOL CThemedStatusBar::OnEraseBkgnd(CDC*)
{
    // The paint covers everything.
    return TRUE;
}

void CThemedStatusBar::GetFrameColors(COLORREF& clrTopLeft, COLORREF& clrBottomRight)
{
    int id = CThemedMenu::GetThemeId();
    if (id == 6 || id == 7) {
        clrTopLeft = clrBottomRight = DarkenColor(GetMenuBarColor(nullptr), 100);
    } else if (id >= 8 && id <= 11) {
        clrTopLeft = DarkenColor(::GetSysColor(COLOR_ACTIVECAPTION), 10);
        clrBottomRight = RGB(255, 255, 255);
    } else {
        clrTopLeft = ::GetSysColor(COLOR_BTNSHADOW);
        clrBottomRight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    }
}

CRect CThemedStatusBar::GetGripRect() const
{
    CRect client;
    GetClientRect(&client);
    HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    if (!top || top == m_hWnd || ::IsZoomed(top))
        return CRect(0, 0, 0, 0);
    client.left = client.right - (::GetSystemMetrics(SM_CXVSCROLL) + 2);
    return client;
}

void CThemedStatusBar::OnPaint()
{
    HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    if (!top || top == m_hWnd) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    CRect client;
    GetClientRect(&client);
    CThemedBrush* brush = GetMenuBarBrush();
    if (brush) {
        ::SetBrushOrgEx(dc.m_hDC, client.left, client.top, nullptr);
        dc.FillRect(&client, brush);
    } else {
        dc.FillSolidRect(&client, GetMenuBarColorThemed(nullptr));
    }
    PaintPanes(&dc, client);
    CRect grip = GetGripRect();
    if (!grip.IsRectEmpty())
        PaintGrip(&dc, grip);
}

void CThemedStatusBar::PaintPanes(CDC* pDC, const CRect& client)
{
    COLORREF topLeft, bottomRight;
    GetFrameColors(topLeft, bottomRight);
    HFONT font = CreateNonClientFont(&NONCLIENTMETRICSA::lfStatusFont);
    HGDIOBJ oldFont = font ? pDC->SelectObject(font) : nullptr;
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF oldColour = pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    int edge = ::GetSystemMetrics(SM_CXEDGE);
    int count = GetCount();
    for (int i = 0; i < count; ++i) {
        UINT id, style;
        int width;
        GetPaneInfo(i, id, style, width);
        CRect pane;
        if (!::SendMessageA(m_hWnd, SB_GETRECT, i, (LPARAM)&pane))
            pane.SetRectEmpty();
        if (i == count - 1) {
            if (style & SBPS_STRETCH) {
                pane.right = client.right;
                if (GetStyle() & SBARS_SIZEGRIP)
                    pane.right -= ::GetSystemMetrics(SM_CXSMICON) + edge;
            } else {
                pane.right = pane.left + width + 3 * edge;
            }
        }
        int textLeft = pane.left + 2;
        HICON icon = (HICON)::SendMessageA(m_hWnd, SB_GETICON, i, 0);
        if (icon) {
            ICONINFO info;
            int iconWidth = ::GetSystemMetrics(SM_CXSMICON), iconHeight = ::GetSystemMetrics(SM_CYSMICON);
            if (::GetIconInfo(icon, &info)) {
                BITMAP bm;
                if (info.hbmColor && ::GetObjectA(info.hbmColor, sizeof(bm), &bm)) {
                    iconWidth = bm.bmWidth;
                    iconHeight = bm.bmHeight;
                }
                if (info.hbmColor)
                    ::DeleteObject(info.hbmColor);
                if (info.hbmMask)
                    ::DeleteObject(info.hbmMask);
            }
            ::DrawIconEx(pDC->m_hDC, pane.left + 2, pane.top + 1, icon, iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
            textLeft += iconWidth + 1;
        }
        char text[256] = "";
        int length = LOWORD(::SendMessageA(m_hWnd, SB_GETTEXTLENGTHA, i, 0));
        if (length > 0 && length < (int)sizeof(text)) {
            ::SendMessageA(m_hWnd, SB_GETTEXTA, i, (LPARAM)text);
            CRect clip(textLeft, pane.top + 1, pane.right, pane.bottom);
            pDC->DrawText(text, -1, &clip, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        }
        if (id != 0 && !(style & SBPS_NOBORDERS) && !pane.IsRectEmpty())
            pDC->Draw3dRect(&pane, topLeft, bottomRight);
    }
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    if (font) {
        pDC->SelectObject(oldFont);
        ::DeleteObject(font);
    }
}

void CThemedStatusBar::PaintGrip(CDC* pDC, CRect grip)
{
    grip.OffsetRect(-1, -2);
    grip.right -= 2;
    int r = grip.right, b = grip.bottom;
    int id = CThemedMenu::GetThemeId();
    if (id >= 6 && id <= 11) {
        COLORREF dark;
        BOOL highlight = id >= 8;
        if (id <= 7)
            dark = DarkenColor(GetMenuBarColor(nullptr), 100);
        else
            dark = DarkenColor(::GetSysColor(COLOR_ACTIVECAPTION), 10);
        int n = std::min(grip.Width() / 4, grip.Height() / 4) - 1;
        for (int k = 0; k < n; ++k)
            for (int j = 0; j < n - k; ++j) {
                int x = r - 4 - 4 * k, y = b - 3 - 4 * j;
                if (highlight)
                    pDC->FillSolidRect(x + 1, y + 1, 2, 2, RGB(255, 255, 255));
                pDC->FillSolidRect(x, y, 2, 2, dark);
            }
        return;
    }
    int m = std::min(grip.Width(), grip.Height()) - 4;
    CPen shadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    CPen light(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ old = pDC->SelectObject(&shadow);
    for (int d = 2; d < m; d += 4) {
        pDC->SelectObject(&shadow);
        pDC->MoveTo(r - d, b);
        pDC->LineTo(r, b - d);
        pDC->MoveTo(r - d - 1, b);
        pDC->LineTo(r, b - d - 1);
        pDC->SelectObject(&light);
        pDC->MoveTo(r - d - 2, b);
        pDC->LineTo(r, b - d - 2);
    }
    pDC->SelectObject(old);
}
