// The recent-work cleaner's frame: menu bar, tool bar and status bar around
// the plug-in list, texts, placement, keyboard keys and the frame's commands.
#pragma once
#include "fw/framework.h"
#include "suiteframe.h"

class CTolmiraView;

class CMainFrame : public CSuiteFrame
{
protected:
    CMainFrame();
    DECLARE_DYNCREATE(CMainFrame)

public:
    virtual ~CMainFrame();
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    CTolmiraView* View() const;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Not while a run writes into its progress window.
    void OnClose() override;
    afx_msg void OnNew();
    afx_msg void OnLogging();
    afx_msg void OnUpdateLogging(CCmdUI* pCmdUI);
    afx_msg void OnRefresh();
    afx_msg void OnDeleteOnStartup();
    afx_msg void OnUpdateDeleteOnStartup(CCmdUI* pCmdUI);
    afx_msg void OnPreferences();
    afx_msg LRESULT OnUpdateStatusCount(WPARAM, LPARAM);

    // Texts of the tool tips by command id ("" for ids without one).
    CString ToolTipText(UINT nID) const override;

protected:
    void SetTexts();
    // The keys the frame takes before the list: TRUE when consumed.
    BOOL HandleKey(UINT key);

    DECLARE_MESSAGE_MAP()
};
