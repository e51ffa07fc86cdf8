// A 32-bit top-down DIB with a memory DC selected on it, for reading the
// pixels that a painter leaves.
#pragma once
#include "drawkit.h"
#include <initializer_list>

struct Dib
{
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ hOld = nullptr;
    DWORD* pBits = nullptr;
    int cx, cy;
    Dib(int w, int h) : cx(w), cy(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        bitmap.Attach(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
        pBits = (DWORD*)p;
        dc.CreateCompatibleDC((HDC) nullptr);
        hOld = dc.SelectObject(&bitmap);
    }
    ~Dib() { dc.SelectObject(hOld); }
    COLORREF Pixel(int x, int y) const
    {
        ::GdiFlush();
        DWORD p = pBits[y * cx + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

// A 16 x 16 image list with one solid image of each colour.
inline BOOL MakeSolidImages(CImageList& images, std::initializer_list<COLORREF> colors)
{
    if (!images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 2))
        return FALSE;
    CClientDC screen((HWND) nullptr);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(screen.m_hDC, 16 * (int)colors.size(), 16);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    HGDIOBJ hOld = dc.SelectObject(&bmp);
    int x = 0;
    for (COLORREF c : colors) {
        dc.FillSolidRect(x, 0, 16, 16, c);
        x += 16;
    }
    dc.SelectObject(hOld);
    return images.Add(bmp, RGB(255, 0, 255)) >= 0;
}
