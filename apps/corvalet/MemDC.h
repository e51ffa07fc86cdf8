// CMemDC: an off-screen drawing surface for one paint. What is drawn on it is
// copied to the target in one piece when it goes, so nothing flickers.
#pragma once
#include "fw/framework.h"

class CMemDC : public CDC
{
public:
    // Without a rectangle the target's clip box is used. With bCopyBackground
    // the target's pixels under the rectangle are the surface's start,
    // otherwise it is filled with the target's background colour.
    explicit CMemDC(CDC* pDC, const CRect* pRect = nullptr, BOOL bCopyBackground = FALSE);
    virtual ~CMemDC();

    CMemDC* operator->() { return this; }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }
    BOOL IsMemDC() const { return m_bMemDC; }
    const CRect& GetRect() const { return m_rect; }

private:
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC;
};
