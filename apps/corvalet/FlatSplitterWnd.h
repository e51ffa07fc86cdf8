// CFlatSplitterWnd: the main window's splitter, with thin flat bars and a
// single-line border around the panes.
#pragma once
#include "fw/framework.h"

class CFlatSplitterWnd : public CSplitterWnd
{
public:
    CFlatSplitterWnd();
    virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);
};
