// A small owner-drawn tab strip in a frame's client area that switches
// between member windows (views), one shown at a time, drawn in the classic
// three-dimensional button colours.
#pragma once
#include "fw/framework.h"

// Posted by the strip to itself: fit the strip and its members into the frame.
#define WM_TABWND_RECALCLAYOUT (WM_USER + 71)
// Sent to a member window when the tabs switch: wParam 0 when it is hidden
// (lParam: the CWnd* taking over), 1 when it is shown (lParam: the CWnd*
// given up, NULL when none was shown).
#define WM_TABWND_SWITCH (WM_USER + 72)

// One tab: its caption, its member window, and the left and right x of its
// tab as last painted.
struct TABWND_MEMBER
{
    CString strCaption;
    CWnd* pWnd;
    int nLeft;
    int nRight;
};

class CTabWnd : public CWnd
{
public:
    CTabWnd();
    virtual ~CTabWnd();

    // A visible child window "MarrowenTabWnd" of the frame pParentWnd; the
    // posted re-layout places it below the frame's bars.
    virtual BOOL Create(int nOption, CWnd* pParentWnd, UINT nID);

    // Adds a tab for a member window, a child of this strip. The first tab
    // added is shown and selected; later ones start hidden and disabled.
    void AddTab(const char* pszCaption, CWnd* pWnd);

    // Index of the tab at the point (client coordinates), -1 for none: the
    // selected tab reaches from y 5 to 27, the others from 7 to 27.
    int HitTest(int x, int y) const;
    // Hides the current member, shows, focuses and activates the member of
    // nIndex. Nothing for -1, the current index or an index beyond the tabs.
    void SelectTab(int nIndex);

    int GetCurrentTab() const { return m_nCurrentTab; }
    int GetTabCount() const { return (int)m_tabs.GetCount(); }
    // The tab of an index, NULL when there is none.
    const TABWND_MEMBER* GetTab(int nIndex) const;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT RecalcLayout(WPARAM wParam, LPARAM lParam);

    // Draws one tab at its recorded left x, raised when selected, and
    // returns its width; nRight is the strip's right edge.
    int DrawTab(CDC* pDC, const TABWND_MEMBER* pTab, BOOL bSelected, int nRight);
    // The frame of a tab whose caption is cx wide.
    void DrawRaisedTab(CDC* pDC, int x, int cx, int nRight);
    void DrawFlatTab(CDC* pDC, int x, int cx);
    static void DrawLines(CDC* pDC, CPen* pPen, const POINT* pPoints, int nCount);
    TABWND_MEMBER* Member(int nIndex) const;

    int m_nOption;     // given to Create; stored, not read again
    int m_bInLayout;   // set while the strip lays itself out
    int m_nCurrentTab; // -1 for none
    CList<TABWND_MEMBER*, TABWND_MEMBER*> m_tabs;

    CBrush m_brushBlack;
    CBrush m_brushHighlight;
    CBrush m_brushFace;
    CBrush m_brushShadow;
    CBrush m_brushText;

    CPen m_penHighlight;
    CPen m_penHighlight2;
    CPen m_penBlack;
    CPen m_penFace;
    CPen m_penLight;
    CPen m_penShadow;
    CPen m_penShadow2;

    CFont* m_pNormalFont;
    CFont* m_pSelectedFont;

    DECLARE_MESSAGE_MAP()
};
