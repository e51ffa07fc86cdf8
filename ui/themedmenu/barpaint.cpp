#include "barpaint.h"
#include "menutheme.h"
#include <cstring>

// ---- CBarBitmap

CBarBitmap::CBarBitmap(const CBarBitmap& other) : m_hBitmap(nullptr), m_pBits(nullptr), m_cx(0), m_cy(0)
{
    if (other.m_pBits && Create(other.m_cx, other.m_cy, 32))
        memcpy(m_pBits, other.m_pBits, (size_t)m_cx * m_cy * 4);
}

CBarBitmap::~CBarBitmap() { Free(); }

void CBarBitmap::Free()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_pBits = nullptr;
    m_cx = m_cy = 0;
}

BOOL CBarBitmap::Create(int cx, int cy, int bitCount)
{
    Free();
    if (cx <= 0 || cy <= 0)
        return FALSE;
    struct
    {
        BITMAPINFOHEADER h;
        RGBQUAD colours[2];
    } info;
    ZeroMemory(&info, sizeof(info));
    info.h.biSize = sizeof(info.h);
    info.h.biWidth = cx;
    info.h.biHeight = -cy;
    info.h.biPlanes = 1;
    info.h.biBitCount = (WORD)bitCount;
    info.colours[1].rgbRed = info.colours[1].rgbGreen = info.colours[1].rgbBlue = 255;
    void* bits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, (BITMAPINFO*)&info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_hBitmap)
        return FALSE;
    m_pBits = (DWORD*)bits;
    m_cx = cx;
    m_cy = cy;
    return TRUE;
}

BOOL CBarBitmap::Load(HBITMAP hSource)
{
    BITMAP bm;
    if (!hSource || !::GetObjectA(hSource, sizeof(bm), &bm) || !Create(bm.bmWidth, bm.bmHeight, 32))
        return FALSE;
    HDC src = ::CreateCompatibleDC(nullptr);
    HDC dst = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = ::SelectObject(src, hSource);
    HGDIOBJ oldDst = ::SelectObject(dst, m_hBitmap);
    ::BitBlt(dst, 0, 0, m_cx, m_cy, src, 0, 0, SRCCOPY);
    ::SelectObject(src, oldSrc);
    ::SelectObject(dst, oldDst);
    ::DeleteDC(src);
    ::DeleteDC(dst);
    ::GdiFlush();
    return TRUE;
}

BOOL CBarBitmap::Cut(const CBarBitmap& source, int x, int cx, int cy)
{
    if (!source.m_pBits || !Create(cx, cy, 32))
        return FALSE;
    for (int row = 0; row < cy; ++row)
        for (int col = 0; col < cx; ++col) {
            int sx = x + col;
            m_pBits[row * cx + col] =
                (sx < source.m_cx && row < source.m_cy) ? source.m_pBits[row * source.m_cx + sx] : 0;
        }
    return TRUE;
}

BOOL CBarBitmap::MakeMask(const CBarBitmap& source, COLORREF clrTransparent)
{
    // Built through a 32-bit copy and a blit into a monochrome bitmap, whose
    // background colour decides which pixels become white.
    if (!source.m_pBits)
        return FALSE;
    Free();
    m_hBitmap = ::CreateBitmap(source.m_cx, source.m_cy, 1, 1, nullptr);
    if (!m_hBitmap)
        return FALSE;
    m_cx = source.m_cx;
    m_cy = source.m_cy;
    HDC src = ::CreateCompatibleDC(nullptr);
    HDC dst = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = ::SelectObject(src, source.m_hBitmap);
    HGDIOBJ oldDst = ::SelectObject(dst, m_hBitmap);
    ::SetBkColor(src, clrTransparent);
    ::BitBlt(dst, 0, 0, m_cx, m_cy, src, 0, 0, SRCCOPY);
    ::SelectObject(src, oldSrc);
    ::SelectObject(dst, oldDst);
    ::DeleteDC(src);
    ::DeleteDC(dst);
    return TRUE;
}

COLORREF CBarBitmap::Pixel(int x, int y) const
{
    if (!m_pBits || x < 0 || y < 0 || x >= m_cx || y >= m_cy)
        return CLR_INVALID;
    DWORD p = m_pBits[y * m_cx + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void CBarBitmap::Darken(int amount)
{
    for (int i = 0; m_pBits && i < m_cx * m_cy; ++i) {
        DWORD p = m_pBits[i];
        COLORREF c = DarkenColor(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), amount);
        m_pBits[i] = ((DWORD)GetRValue(c) << 16) | ((DWORD)GetGValue(c) << 8) | GetBValue(c);
    }
}

// ---- bar background

namespace {

// A horizontal bar: light to middle over the upper half, middle to dark over
// the lower; a vertical one the same from left to right. Docked bars get a
// light line near one edge and a dark line near the other.
void PaintGradientBar(CDC* pDC, const RECT& rect, DWORD dwBarStyle, COLORREF light, COLORREF middle, COLORREF dark,
                      COLORREF lineLight, COLORREF lineDark)
{
    BOOL vertical = (dwBarStyle & CBRS_ORIENT_HORZ) == 0 && (dwBarStyle & CBRS_ORIENT_VERT) != 0;
    BOOL docked = (dwBarStyle & CBRS_FLOATING) == 0;
    RECT first = rect, second = rect;
    if (!vertical) {
        first.bottom = second.top = (rect.top + rect.bottom) / 2;
        DrawGradient(pDC, &first, light, middle, FALSE, FALSE);
        DrawGradient(pDC, &second, middle, dark, FALSE, FALSE);
        if (docked) {
            pDC->FillSolidRect(rect.left, rect.top, rect.right - rect.left, 1, lineLight);
            pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.right - rect.left, 1, lineDark);
        }
    } else {
        first.right = second.left = (rect.left + rect.right) / 2;
        DrawGradient(pDC, &first, light, middle, TRUE, FALSE);
        DrawGradient(pDC, &second, middle, dark, TRUE, FALSE);
        if (docked) {
            pDC->FillSolidRect(rect.left, rect.top, 1, rect.bottom - rect.top, lineLight);
            pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.bottom - rect.top, lineDark);
        }
    }
}

} // namespace

void PaintBarBackground(CDC* pDC, const RECT& rect, DWORD dwBarStyle)
{
    int id = CThemedMenu::GetThemeId();
    if (id == 2 || id == 3) {
        pDC->FillSolidRect(&rect, MixColor86(GetMenuColor(), ::GetSysColor(COLOR_WINDOW)));
    } else if (id == 6 || id == 7) {
        if (GetDisplayColorCount() < 256) {
            pDC->FillSolidRect(&rect, DarkenColor(GetMenuBarColorThemed(nullptr), 30));
            return;
        }
        COLORREF c = GetMenuBarColor(nullptr);
        PaintGradientBar(pDC, rect, dwBarStyle, LightenColor(c, 60), c, DarkenColor(c, 60), LightenColor(c, 125),
                         DarkenColor(c, 150));
    } else if (id >= 8 && id <= 11) {
        if (GetDisplayColorCount() < 256) {
            pDC->FillSolidRect(&rect, DarkenColor(GetSelectColor(), 30));
            return;
        }
        COLORREF light, middle, dark, darkest;
        CThemedMenu::GetCurrentTheme()->GetBarColors(light, middle, dark, darkest);
        COLORREF line = darkest != (COLORREF)-1 ? darkest : DarkenColor(middle, 150);
        PaintGradientBar(pDC, rect, dwBarStyle, light, middle, dark, LightenColor(middle, 125), line);
    } else {
        pDC->FillSolidRect(&rect, GetMenuBarColorThemed(nullptr));
    }
}

void DrawHighlightedButton(CDC* pDC, const RECT& rect, BOOL bPressed)
{
    CPen pen(PS_INSIDEFRAME, 1, 0x840204);
    HGDIOBJ oldPen = pDC->SelectObject(&pen);
    HGDIOBJ oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(&rect);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    RECT inner = rect;
    ::InflateRect(&inner, -1, -1);
    if (bPressed)
        DrawGradient(pDC, &inner, 0x6B97F2, 0xA3CAF9, FALSE, FALSE);
    else
        DrawGradient(pDC, &inner, 0xDBEFFA, 0x97D4FF, FALSE, FALSE);
}

HFONT CreateNonClientFont(LOGFONTA NONCLIENTMETRICSA::*font)
{
    const NONCLIENTMETRICSA* metrics = GetMenuSettings().pMetrics;
    return metrics ? ::CreateFontIndirectA(&(metrics->*font)) : nullptr;
}
