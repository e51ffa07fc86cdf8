// The main cleaner's frame: tool bar, menu bar and status bar around the
// trace list, window placement, and the frame-level commands.
#pragma once
#include "fw/framework.h"
#include "suitehelp.h"
#include "themedframe.h"
#include "menubar.h"
#include "statusbar.h"
#include "toolbar.h"
#include "TabWnd.h"
#include "suitehelp.h"

class CMainFrame : public CThemedFrameWnd
{
protected:
    CMainFrame();
    DECLARE_DYNCREATE(CMainFrame)

public:
    virtual ~CMainFrame();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    CThemedToolBar& ToolBar() { return m_wndToolBar; }
    CThemedStatusBar& StatusBar() { return m_wndStatusBar; }
    CThemedMenuBar& MenuBar() { return m_wndMenuBar; }
    CThemedMenu& Menu() { return m_defaultMenu; }

    // Menu toggles and their check marks (also used by the tests).
    afx_msg void OnLogging();
    afx_msg void OnUpdateLogging(CCmdUI* pCmdUI);
    afx_msg void OnDeleteOnStartup();
    afx_msg void OnUpdateDeleteOnStartup(CCmdUI* pCmdUI);
    afx_msg void OnPreferences();
    afx_msg void OnAbout();
    afx_msg void OnCookieManager();
    afx_msg void OnHelp();
    afx_msg void OnWebSite();
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();

    // Texts of the tool tips by command id ("" for ids without one).
    CString ToolTipText(UINT nID) const override;

protected:
    void SetToolBarTexts();
    void ReadMenuStates();
    void SetMenuTexts();
    void RestorePlacement();
    void DetectBrowsers();
    BOOL ReadMenuSwitch(const char* key);

    CThemedStatusBar m_wndStatusBar;
    CThemedToolBar m_wndToolBar;
    CThemedMenuBar m_wndMenuBar;
    int m_loggingEnabled;
    // Built and freed with the frame; its window is never created here.
    CTabWnd m_wndTabs;

    DECLARE_MESSAGE_MAP()
};

// Replaceable for tests: starting a program (help viewer) and opening a
// document (web page) through the shell.
extern PFN_WINEXEC g_pfnWinExec;
extern PFN_SHELLEXECUTE g_pfnShellExecute;
