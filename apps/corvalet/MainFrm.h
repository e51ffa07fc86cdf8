// The builder's main frame: tool bar, menu and status bar around the flat
// splitter with the header form (left) and the item list (right); the Edit
// commands, the modified mark in the title, keyboard shortcuts, dropped
// plug-in files and the window placement.
#pragma once
#include "fw/framework.h"
#include "FlatSplitterWnd.h"
#include "suiteframe.h"

class CCorvaletView;
class CCorvaletList;
class CCorvaletDoc;

class CMainFrame : public CSuiteFrame
{
protected:
    CMainFrame();
    DECLARE_DYNCREATE(CMainFrame)

public:
    virtual ~CMainFrame();
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    CCorvaletView* GetForm() const { return m_pForm; }
    CCorvaletList* GetList() const { return m_pList; }
    CCorvaletDoc* GetDoc() const;
    CFlatSplitterWnd& Splitter() { return m_wndSplitter; }

    BOOL IsModified() const { return m_bModified; }
    // Sets or clears the modified state and shows it in the title.
    void SetModified(BOOL bModified);
    // "<title> - <path or untitled>", with "*" while modified.
    void UpdateTitle();
    void UpdateStatusCount();
    // The tool-tip text of a command ("" for one without).
    CString ToolTipText(UINT nID) const override;

    afx_msg void OnAdd();
    afx_msg void OnProperties();
    afx_msg void OnDelete();
    afx_msg void OnUpdateProperties(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDelete(CCmdUI* pCmdUI);
    afx_msg void OnWindowSplit();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    // Asks to save a modified plug-in first; a save that did not happen keeps
    // the window open.
    void OnClose() override;
    // A logoff or shutdown asks as closing does; FALSE holds it up.
    afx_msg BOOL OnQueryEndSession();
    // Asks to save a modified plug-in; FALSE when a wanted save did not
    // happen.
    BOOL QuerySaveBeforeLeaving();
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg LRESULT OnPlugInCount(WPARAM, LPARAM);
    afx_msg LRESULT OnPlugInModified(WPARAM, LPARAM);

    void SetTexts();
    void RunEditor(int nRow);

    CFlatSplitterWnd m_wndSplitter;
    CCorvaletList* m_pList;
    CCorvaletView* m_pForm;
    BOOL m_bModified;
    BOOL m_bItemsLoaded;

    DECLARE_MESSAGE_MAP()
};
