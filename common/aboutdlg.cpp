#include "aboutdlg.h"
#include "language.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowLngText(m_hWnd, "General", "52000");
    SetDlgItemLngText(m_hWnd, IDC_ABOUT_TEXT, "General", "52020");
    SetDlgItemLngText(m_hWnd, IDOK, "General", "30000");
    SetDlgItemLngText(m_hWnd, IDC_ABOUT_WEB, "General", "52030");
    return TRUE;
}

BOOL CAboutDlg::OnEraseBkgnd(CDC* pDC) { return EraseWithGradient(this, pDC); }

HBRUSH CAboutDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_STATIC)
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    int id = pWnd->GetDlgCtrlID();
    return TransparentStaticBrush(pDC, pWnd, id == IDC_ABOUT_WEB || id == IDC_ABOUT_VERSION || id == IDC_ABOUT_TEXT);
}
