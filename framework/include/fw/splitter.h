// CSplitterWnd: a static splitter that lays out a grid of panes (views made
// from run-time classes) with bars between them. The user moves a bar with
// the mouse or, after DoKeyboardSplit, with the arrow keys (Enter keeps the
// new position, Escape restores the old one).
#pragma once
#include "fw/docview.h"
#include "fw/gdi.h"
#include <vector>

class FW_API CSplitterWnd : public CWnd
{
public:
    CSplitterWnd();
    virtual ~CSplitterWnd();

    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // Makes the pane at (row, col) from the class; sizeInit is its ideal size.
    virtual BOOL CreateView(int row, int col, const CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

    int GetRowCount() const { return (int)m_rows.size(); }
    int GetColumnCount() const { return (int)m_cols.size(); }
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    CWnd* GetPane(int row, int col) const;

    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);

    // Places the panes in the client area from the ideal sizes.
    virtual void RecalcLayout();
    // Starts moving the first bar from the keyboard; FALSE without a bar.
    virtual BOOL DoKeyboardSplit();
    BOOL IsTracking() const { return m_nTrackCol >= 0; }

    enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };
    // Draws one part of the splitter: a pane border or a bar.
    virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);

protected:
    struct CRowColInfo
    {
        int nMinSize;
        int nIdealSize;
        int nCurSize;
    };

    // The client rectangle shrunk by the border.
    CRect GetInsideRect() const;
    // The rectangle of a pane as laid out (before a client edge is added).
    CRect GetPaneRect(int row, int col) const;
    // The column whose right-hand bar holds the point, or -1.
    int HitTestBar(CPoint pt) const;
    void TrackTo(int x);
    void StopTracking(BOOL bAccept);

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnCaptureChanged(WPARAM, LPARAM);
    afx_msg LRESULT OnGetDlgCode(WPARAM, LPARAM);

    // Sizes in pixels: bar width and height, gap between panes, border
    // around the panes, and the share of the border the bar takes.
    int m_cxSplitter, m_cySplitter;
    int m_cxSplitterGap, m_cySplitterGap;
    int m_cxBorder, m_cyBorder;
    int m_cxBorderShare, m_cyBorderShare;

    std::vector<CRowColInfo> m_rows;
    std::vector<CRowColInfo> m_cols;
    int m_nTrackCol;       // the column whose bar moves, -1 when not tracking
    int m_nTrackStartSize; // its width when the move began
    int m_nTrackOffset;    // mouse x minus the bar's left edge at the start
    BOOL m_bKeyboardTrack;

    DECLARE_MESSAGE_MAP()
};
