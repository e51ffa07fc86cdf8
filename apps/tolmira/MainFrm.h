// The recent-work cleaner's frame: menu bar, tool bar and status bar around
// the plug-in list, texts, placement, keyboard keys and the frame's commands.
#pragma once
#include "fw/framework.h"
#include "themedframe.h"
#include "menubar.h"
#include "statusbar.h"
#include "toolbar.h"
#include "suitehelp.h"

class CTolmiraView;

class CMainFrame : public CThemedFrameWnd
{
protected:
    CMainFrame();
    DECLARE_DYNCREATE(CMainFrame)

public:
    virtual ~CMainFrame();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    CThemedToolBar& ToolBar() { return m_wndToolBar; }
    CThemedStatusBar& StatusBar() { return m_wndStatusBar; }
    CThemedMenuBar& MenuBar() { return m_wndMenuBar; }
    CThemedMenu& Menu() { return m_defaultMenu; }
    CTolmiraView* View() const;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnNew();
    afx_msg void OnLogging();
    afx_msg void OnUpdateLogging(CCmdUI* pCmdUI);
    afx_msg void OnRefresh();
    afx_msg void OnDeleteOnStartup();
    afx_msg void OnUpdateDeleteOnStartup(CCmdUI* pCmdUI);
    afx_msg void OnPreferences();
    afx_msg void OnHelp();
    afx_msg void OnWebSite();
    afx_msg void OnAbout();
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg LRESULT OnUpdateStatusCount(WPARAM, LPARAM);

    // Texts of the tool tips by command id ("" for ids without one).
    CString ToolTipText(UINT nID) const override;

protected:
    void SetToolBarTexts();
    void LocalizeMenu();
    void RestorePlacement();
    // The keys the frame takes before the list: TRUE when consumed.
    BOOL HandleKey(UINT key);

    CThemedStatusBar m_wndStatusBar;
    CThemedToolBar m_wndToolBar;
    CThemedMenuBar m_wndMenuBar;
    CImageList m_menuImages;

    DECLARE_MESSAGE_MAP()
};

// Replaceable for tests: starting the help viewer and opening the web page.
extern PFN_WINEXEC g_pfnTolmiraWinExec;
extern PFN_SHELLEXECUTE g_pfnTolmiraShellExecute;
