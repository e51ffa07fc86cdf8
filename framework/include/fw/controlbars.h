// Control bars: the tool bar and status bar that a frame lays out around its
// view. A bar's CBRS_* style bits are kept in the object (they are not
// window styles); the frame sizes its bars through WM_SIZEPARENT
// (CFrameWnd::RepositionBars) and updates them at idle time
// (WM_IDLEUPDATECMDUI).
#pragma once
#include "fw/frame.h"
#include "fw/app.h"
#include <vector>

// Bar styles (kept in CControlBar::m_dwStyle, stripped from the window style).
#define CBRS_ALIGN_LEFT    0x1000L
#define CBRS_ALIGN_TOP     0x2000L
#define CBRS_ALIGN_RIGHT   0x4000L
#define CBRS_ALIGN_BOTTOM  0x8000L
#define CBRS_ALIGN_ANY     0xF000L
#define CBRS_BORDER_LEFT   0x0100L
#define CBRS_BORDER_TOP    0x0200L
#define CBRS_BORDER_RIGHT  0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY    0x0F00L
#define CBRS_TOOLTIPS      0x0010L
#define CBRS_FLYBY         0x0020L
#define CBRS_FLOAT_MULTI   0x0040L
#define CBRS_BORDER_3D     0x0080L
#define CBRS_HIDE_INPLACE  0x0008L
#define CBRS_SIZE_DYNAMIC  0x0004L
#define CBRS_SIZE_FIXED    0x0002L
#define CBRS_FLOATING      0x0001L
#define CBRS_GRIPPER       0x00400000L
#define CBRS_ORIENT_HORZ   (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT   (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ALL           0x0040FFFFL
#define CBRS_NOALIGN       0x00000000L
#define CBRS_LEFT          (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP           (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT         (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM        (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Status pane styles.
#define SBPS_NORMAL    0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT    SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED  0x04000000
#define SBPS_STRETCH   0x08000000

#ifndef ID_INDICATOR_CAPS
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM  0xE702
#define ID_INDICATOR_SCRL 0xE703
#endif
#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif

// Reads a TOOLBAR resource of either resource compiler's layout: the image
// size and the button ids in order, 0 for a separator. FALSE when it is
// missing or malformed.
FW_API BOOL FwReadToolBarResource(HINSTANCE hInst, const char* pszResourceName, SIZE& image, std::vector<UINT>& ids);

class FW_API CControlBar : public CWnd
{
public:
    CControlBar();
    virtual ~CControlBar();

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle & CBRS_ALL; }
    // Docking is fixed to the frame's edges here: only the allowed sides are kept.
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }

    // Height (horizontal bar) the bar wants; stretched bars take the full width.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Updates the bar's items from the command handlers of pTarget.
    virtual void OnUpdateCmdUI(CWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Places the bar in the layout rectangle and shrinks the rectangle by
    // the room the bar takes (nothing for a hidden bar).
    void SizeParent(AFX_SIZEPARENTPARAMS* p);

protected:
    DWORD m_dwStyle;
    DWORD m_dwDockStyle;
};

class FW_API CToolBar : public CControlBar
{
public:
    CToolBar();
    virtual ~CToolBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);

    // Loads a TOOLBAR resource (button size and command ids) and the bitmap
    // of the same id.
    BOOL LoadToolBar(UINT nIDResource);
    BOOL LoadToolBar(const char* pszResourceName);
    BOOL LoadBitmap(const char* pszResourceName);
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    int GetCount() const { return (int)::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    BOOL SetButtonText(int nIndex, const char* pszText);
    // Text and style at once: the bar is sized once for both.
    BOOL SetButtonTextAndStyle(int nIndex, const char* pszText, UINT nStyle);
    CString GetButtonText(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const
    {
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, nIndex, (LPARAM)lpRect);
    }

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void OnUpdateCmdUI(CWnd* pTarget, BOOL bDisableIfNoHndler);

protected:
    HIMAGELIST m_hImageList;
    SIZE m_sizeButton;
    SIZE m_sizeImage;
};

class FW_API CStatusBar : public CControlBar
{
public:
    CStatusBar();
    virtual ~CStatusBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = AFX_IDW_STATUS_BAR);

    // One pane per id; a pane's text is the string resource of its id.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return (int)m_panes.size(); }
    UINT GetItemID(int nIndex) const { return m_panes[nIndex].nID; }
    int CommandToIndex(UINT nIDFind) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    UINT GetPaneStyle(int nIndex) const { return m_panes[nIndex].nStyle; }
    void SetPaneStyle(int nIndex, UINT nStyle);
    BOOL SetPaneText(int nIndex, const char* pszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const { return m_panes[nIndex].strText; }
    void GetItemRect(int nIndex, LPRECT lpRect) const { ::SendMessageA(m_hWnd, SB_GETRECT, nIndex, (LPARAM)lpRect); }

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void OnUpdateCmdUI(CWnd* pTarget, BOOL bDisableIfNoHndler);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    struct Pane
    {
        UINT nID;
        UINT nStyle;
        int cxText;
        CString strText;
    };
    // Gives the parts their right edges from the pane widths.
    void UpdateParts();
    std::vector<Pane> m_panes;
};

// Writes the visible state of a frame's bars under the profile section
// "<profileName>-Bar<n>" (value "Visible"), for the frame's SaveBarState.
FW_API void FwSaveBarState(CWnd* frame, const char* pszProfileName);
