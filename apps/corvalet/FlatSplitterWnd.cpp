#include "FlatSplitterWnd.h"

CFlatSplitterWnd::CFlatSplitterWnd()
{
    m_cxSplitter = m_cySplitter = 5;
    m_cxSplitterGap = m_cySplitterGap = 5;
    m_cxBorder = m_cyBorder = 1;
    m_cxBorderShare = m_cyBorderShare = 0;
}

void CFlatSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect)
{
    if (pDC && nType == splitBorder) {
        CRect r = rect;
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        return;
    }
    CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
}
