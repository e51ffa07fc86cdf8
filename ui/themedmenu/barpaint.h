// Drawing shared by the themed bars: the bar background of the current
// theme, the highlighted-button look, and a 32-bit bitmap whose pixels the
// tool bar's dimmed and disabled images are computed from.
#pragma once
#include "fw/framework.h"

// A top-down 32-bit DIB section owned by the object.
class CBarBitmap
{
public:
    CBarBitmap() : m_hBitmap(nullptr), m_pBits(nullptr), m_cx(0), m_cy(0) {}
    CBarBitmap(const CBarBitmap& other);
    ~CBarBitmap();
    CBarBitmap& operator=(const CBarBitmap&) = delete;

    // A copy of any bitmap's pixels.
    BOOL Load(HBITMAP hSource);
    // The columns x .. x + cx - 1 (cy rows) of another bitmap.
    BOOL Cut(const CBarBitmap& source, int x, int cx, int cy);
    // A monochrome mask: white where the source has the colour, black elsewhere.
    BOOL MakeMask(const CBarBitmap& source, COLORREF clrTransparent);

    HBITMAP Handle() const { return m_hBitmap; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    COLORREF Pixel(int x, int y) const;

    // Every pixel through DarkenColor.
    void Darken(int amount);

private:
    BOOL Create(int cx, int cy, int bitCount);
    void Free();

    HBITMAP m_hBitmap;
    DWORD* m_pBits;
    int m_cx, m_cy;
};

// Fills a bar's rectangle in the current theme's bar colours (gradients for
// themes 6 to 11 on displays of 256 colours and more).
void PaintBarBackground(CDC* pDC, const RECT& rect, DWORD dwBarStyle);

// The hot (light gradient) or hot-and-pressed (dark gradient) button of the
// 2003 look, framed.
void DrawHighlightedButton(CDC* pDC, const RECT& rect, BOOL bPressed);

// One of the system's non-client fonts (&NONCLIENTMETRICSA::lfMenuFont, ...);
// the caller deletes it. Null when the metrics cannot be read.
HFONT CreateNonClientFont(LOGFONTA NONCLIENTMETRICSA::*font);
