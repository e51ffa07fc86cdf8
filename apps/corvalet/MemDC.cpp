#include "MemDC.h"

CMemDC::CMemDC(CDC* pDC, const CRect* pRect, BOOL bCopyBackground) : m_hOldBitmap(nullptr), m_pDC(pDC), m_bMemDC(FALSE)
{
    ASSERT(pDC != nullptr);
    if (pRect)
        m_rect = *pRect;
    else
        pDC->GetClipBox(&m_rect);
    m_bMemDC = ::GetDeviceCaps(pDC->m_hDC, TECHNOLOGY) != DT_RASPRINTER;
    if (!m_bMemDC) {
        // Printing: draw straight onto the target.
        Attach(pDC->m_hDC);
        SetBkMode(TRANSPARENT);
        return;
    }
    CRect device = m_rect;
    ::LPtoDP(pDC->m_hDC, (POINT*)&device, 2);
    int cx = device.Width() > 0 ? device.Width() : 1;
    int cy = device.Height() > 0 ? device.Height() : 1;
    CreateCompatibleDC(pDC);
    m_bitmap.CreateCompatibleBitmap(pDC->m_hDC, cx, cy);
    m_hOldBitmap = SelectObject(&m_bitmap);
    SetMapMode(::GetMapMode(pDC->m_hDC));
    SetWindowOrg(m_rect.left, m_rect.top);
    SetBkMode(TRANSPARENT);
    if (bCopyBackground)
        BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), pDC, m_rect.left, m_rect.top, SRCCOPY);
    else
        FillSolidRect(&m_rect, pDC->GetBkColor());
}

CMemDC::~CMemDC()
{
    if (m_bMemDC) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
        SelectObject(m_hOldBitmap);
    } else {
        // The target's context is not ours to delete.
        Detach();
    }
}
