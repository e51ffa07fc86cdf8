// CFrameWnd: a top-level window with menu, accelerators and icon, which lays
// out its control bars and its view (child AFX_IDW_PANE_FIRST) and routes
// commands to the view before handling them itself.
#pragma once
#include "fw/wnd.h"
#include "fw/menu.h"

class CView;
struct CCreateContext;

// Child ids: the view and the range reserved for control bars.
#define AFX_IDW_PANE_FIRST       0xE900
#define AFX_IDW_CONTROLBAR_FIRST 0xE800
#define AFX_IDW_CONTROLBAR_LAST  0xE8FF
#define AFX_IDW_TOOLBAR          0xE800
#define AFX_IDW_STATUS_BAR       0xE801
// Commands that show or hide the bar of the same child id.
#ifndef ID_VIEW_TOOLBAR
#define ID_VIEW_TOOLBAR    AFX_IDW_TOOLBAR
#define ID_VIEW_STATUS_BAR AFX_IDW_STATUS_BAR
#endif
// Frame style: append the document title to the caption.
#define FWS_ADDTOTITLE 0x00008000L

// Sent by RepositionBars to each child: a bar takes its room out of
// AFX_SIZEPARENTPARAMS::rect (moving itself through hDWP when it is set).
#define WM_SIZEPARENT 0x0361
struct AFX_SIZEPARENTPARAMS
{
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};

class FW_API CFrameWnd : public CWnd
{
public:
    CFrameWnd();
    virtual ~CFrameWnd();

    static const RECT rectDefault; // CW_USEDEFAULT placement

    virtual BOOL Create(const char* pszClassName, const char* pszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, const char* pszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Caption (first line of string resource nIDResource), menu, accelerator
    // table and icon all come from the resource id.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadAccelTable(const char* pszResourceName);

    // Makes the client area: the default creates one view of the context's
    // view class. Called by the document template once the window exists.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Lays out the control bars among the children with ids nIDFirst..nIDLast
    // and gives child nIDLeftOver the room they leave. With reposQuery nothing
    // moves: lpRectParam receives the rectangle the bars would leave inside
    // lpRectClient (the client area when it is null).
    enum RepositionFlags { reposDefault = 0, reposQuery = 1 };
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual CView* GetActiveView() const { return m_pViewActive; }
    // The frame routes commands to the view; when the keyboard is in the
    // frame, it moves to the new view.
    virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CWnd* GetMessageBar() { return nullptr; }
    virtual void SetMessageText(const char*) {}
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void SetTitle(const char* pszTitle) { m_strTitle = pszTitle; }
    CString GetTitle() const { return m_strTitle; }

    // The tool-tip text of a command ("" for one without): asked for every
    // tool tip of the frame's bars (TTN_NEEDTEXTA).
    virtual CString ToolTipText(UINT nID) const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    void PostNcDestroy() override; // frames live on the heap and delete themselves
    void OnClose() override;
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;

    BOOL m_bAutoMenuEnable; // disable menu items that have no handler
    HACCEL m_hAccelTable;
    HMENU m_hMenuDefault;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // The focus given to the frame goes on to its active view.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // A frame that is left (for a dialog, a message box or another program)
    // gives the focus back to the control that had it when it is activated.
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    // ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR: show or hide that bar, checked
    // while it is visible.
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    // A file dropped on the frame opens as a document (the first of several).
    afx_msg void OnDropFiles(HDROP hDropInfo);

    CView* m_pViewActive;
    CString m_strTitle;
    UINT m_nIDResource;
    CString m_strToolTip; // the text handed to the last tool tip
    HWND m_hWndFocus;     // the child that had the focus when the frame was left

private:
    // Tab and Shift+Tab across the panes of a frame that holds a form view:
    // the form's controls, then the next pane. FALSE when the key is not one
    // of them or the frame holds no form.
    BOOL MoveTabFocus(const MSG* pMsg);
};

// Frame kinds that the programs do not create (multi-document frames and
// children, mini frames): here they behave as the plain frame, so that
// bases written for every frame kind compile for them.
class CMDIFrameWnd : public CFrameWnd
{};
class CMDIChildWnd : public CFrameWnd
{};
class CMiniFrameWnd : public CFrameWnd
{};
class CMiniDockFrameWnd : public CMiniFrameWnd
{};
