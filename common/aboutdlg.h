// The about box of every program (template 100).
#pragma once
#include "progressdlg.h"

#define IDC_ABOUT_VERSION 3007
#define IDC_ABOUT_TEXT    3011
#define IDC_ABOUT_WEB     1021

// The about box: texts from the language file drawn transparently over the
// gradient.
class CAboutDlg : public CDialog
{
public:
    enum { IDD = 100 };
    explicit CAboutDlg(CWnd* pParent = nullptr);

    virtual BOOL OnInitDialog();

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()
};
