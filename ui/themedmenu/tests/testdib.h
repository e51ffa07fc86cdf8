// Solid test images, and the shared pixel-reading DIB.
#pragma once
#include "drawkit.h"
#include "pixeldib.h"
#include <initializer_list>

using pirt_test::Dib;

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
