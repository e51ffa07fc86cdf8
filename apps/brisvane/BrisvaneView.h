// The trace list: one check-box row per kind of trace, and the cleaning run
// over the ticked rows.
#pragma once
#include "fw/framework.h"

class CProgressDlg;

// Replaceable for tests: the system restart would end every process.
typedef BOOL(WINAPI* PFN_EXITWINDOWSEX)(UINT flags, DWORD reason);
extern PFN_EXITWINDOWSEX g_pfnExitWindowsEx;

// Called with the progress dialog after each cleaned row (tests take their
// pictures here); NULL in the program.
typedef void (*PFN_RUNOBSERVER)(CProgressDlg* dlg, int row);
extern PFN_RUNOBSERVER g_pfnRunObserver;

enum { BROWSER_ROW_COUNT = 9, SYSTEM_ROW_COUNT = 13 };

class CBrisvaneView : public CListView
{
protected:
    CBrisvaneView();
    DECLARE_DYNCREATE(CBrisvaneView)

public:
    virtual ~CBrisvaneView();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void OnInitialUpdate();

    // Item key of a row index under the current group visibility; NULL
    // beyond the last row.
    const char* ItemKeyOf(int row) const;
    int IsRowChecked(int row);
    int BrowserRowsShown() const { return m_browserRowsShown; }
    int SystemRowsShown() const { return m_systemRowsShown; }

    afx_msg void OnSelectAll();
    afx_msg void OnUpdateSelectAll(CCmdUI* pCmdUI);
    afx_msg void OnSelectNone();
    afx_msg void OnUpdateSelectNone(CCmdUI* pCmdUI);
    afx_msg void OnClean();
    afx_msg void OnUpdateClean(CCmdUI* pCmdUI);
    afx_msg void OnShowBrowserTraces();
    afx_msg void OnUpdateShowBrowserTraces(CCmdUI* pCmdUI);
    afx_msg void OnShowSystemTraces();
    afx_msg void OnUpdateShowSystemTraces(CCmdUI* pCmdUI);
    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    void SetupColumns();
    // The rows of the groups shown, with their stored ticks.
    void FillList();
    void ApplyStoredChecks();
    int ReadItemCheck(int row);
    void WriteItemCheck(int row, int checked);
    void CleanItem(int row, CListCtrl* list, CProgressCtrl* progress);
    // FALSE, and nothing written, while the start-up cleaner is missing.
    BOOL ScheduleIndexDatCleaning();
    BOOL OfferRestart();
    int CountRows(int stateImage);

    int m_initialising;
    CImageList m_rowIcons;
    int m_browserRowsShown;
    int m_systemRowsShown;
    int m_restartPending;

    DECLARE_MESSAGE_MAP()
};
