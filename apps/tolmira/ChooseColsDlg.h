// The column chooser (dialog 167): one check box per column of a list
// view's header, in column index order; OK shows the ticked columns and
// hides the others.
#pragma once
#include "fw/framework.h"
#include "ListViewExRes.h"

class CHeaderCtrlEx;

class CChooseColsDlg : public CDialog
{
public:
    explicit CChooseColsDlg(CWnd* pParent = nullptr);
    virtual ~CChooseColsDlg();

    // The header whose columns the dialog edits; set before DoModal.
    CHeaderCtrlEx* m_pHeader;

    CListCtrl& List() { return m_list; }

    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

protected:
    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()
};
