// CThemedStatusBar: a flat status bar painted in the current menu theme's
// colours, with its own pane frames and size grip.
#pragma once
#include "fw/framework.h"

class CThemedStatusBar : public CStatusBar
{
public:
    CThemedStatusBar() {}

    // The two colours of a pane frame (top-left, bottom-right) in the current theme.
    static void GetFrameColors(COLORREF& clrTopLeft, COLORREF& clrBottomRight);
    // The size grip's area in client coordinates; empty when the top-level
    // window is maximised.
    CRect GetGripRect() const;

protected:
    void PreSubclassWindow() override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();

    void PaintPanes(CDC* pDC, const CRect& client);
    void PaintGrip(CDC* pDC, CRect grip);

    DECLARE_MESSAGE_MAP()
};
