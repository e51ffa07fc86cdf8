// The main cleaner's frame: tool bar, menu bar and status bar around the
// trace list, window placement, and the frame-level commands.
#pragma once
#include "fw/framework.h"
#include "suiteframe.h"
#include "TabWnd.h"

class CMainFrame : public CSuiteFrame
{
protected:
    CMainFrame();
    DECLARE_DYNCREATE(CMainFrame)

public:
    virtual ~CMainFrame();

    // Menu toggles and their check marks (also used by the tests).
    afx_msg void OnLogging();
    afx_msg void OnUpdateLogging(CCmdUI* pCmdUI);
    afx_msg void OnDeleteOnStartup();
    afx_msg void OnUpdateDeleteOnStartup(CCmdUI* pCmdUI);
    afx_msg void OnPreferences();
    afx_msg void OnCookieManager();
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);

    // Texts of the tool tips by command id ("" for ids without one).
    CString ToolTipText(UINT nID) const override;

protected:
    void SetTexts();
    void ReadMenuStates();
    void DetectBrowsers();
    BOOL ReadMenuSwitch(const char* key);

    int m_loggingEnabled;
    // Built and freed with the frame; its window is never created here.
    CTabWnd m_wndTabs;

    DECLARE_MESSAGE_MAP()
};
