// A 32-bit top-down DIB with a memory DC selected on it, for reading the
// pixels that a painter leaves.
#pragma once
#include "fw/framework.h"

namespace pirt_test {

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
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    COLORREF Pixel(int x, int y) const
    {
        ::GdiFlush();
        DWORD p = pBits[y * cx + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

} // namespace pirt_test
