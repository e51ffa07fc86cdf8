// CThemedToolBar: a tool bar that paints its background, buttons, borders and
// gripper in the colours of the current menu theme, with normal, dimmed and
// disabled button images built from one bitmap.
#pragma once
#include "fw/framework.h"

class CThemedToolBar : public CToolBar
{
public:
    CThemedToolBar();
    virtual ~CThemedToolBar();

    // The framework's load of the TOOLBAR resource, then the three image lists
    // from the bitmap of the same id (transparent colour: its top-left pixel).
    BOOL LoadToolBar(UINT nIDResource);

    CImageList& NormalImages() { return m_imagesNormal; }
    CImageList& DimmedImages() { return m_imagesDimmed; }
    CImageList& DisabledImages() { return m_imagesDisabled; }

    // Theme ids 6 to 11 take their own borders (none while floating).
    void SetBarStyle(DWORD dwStyle);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The borders of the frame's bars; the themes 2, 3 and 6 to 11 draw none.
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    virtual void DrawGripper(CDC* pDC, const CRect& rect);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcPaint();
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);

    // Rebuilds the image lists from a bitmap (images at nFirst and on; all
    // lists start afresh when nFirst is 0).
    BOOL BuildImageLists(HBITMAP hBitmap, int nFirst);
    void DrawButtonBackground(CDC* pDC, const NMTBCUSTOMDRAW* pDraw);
    void DrawButtonImageAndText(CDC* pDC, const NMTBCUSTOMDRAW* pDraw);
    // The paint handler's custom-draw round over every button.
    void PaintButtons(CDC* pDC);
    BOOL IsActive() const;

    int m_nButton; // the button being drawn, -1 between paints
    CImageList m_imagesNormal;
    CImageList m_imagesDimmed;
    CImageList m_imagesDisabled;
    int m_nLayoutDirection;    // 0 none, 1 horizontal, 2 vertical
    COLORREF m_clrTransparent; // 0xFF000000: the bitmap's top-left pixel
    CRect m_rcBorders;

    DECLARE_MESSAGE_MAP()
};
