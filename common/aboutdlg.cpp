#include "aboutdlg.h"
#include "language.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* pParent)
    : CDialog(IDD, pParent)
{
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowLngText(m_hWnd, "General", "52000");
    SetDlgItemLngText(m_hWnd, IDC_ABOUT_TEXT, "General", "52020");
    SetDlgItemLngText(m_hWnd, IDOK, "General", "30000");
    SetDlgItemLngText(m_hWnd, IDC_ABOUT_WEB, "General", "52030");
    return TRUE;
}

BOOL CAboutDlg::OnEraseBkgnd(CDC* pDC)
{
    RECT rc;
    GetClientRect(&rc);
    PaintBackgroundGradient(SafeHdc(pDC), rc);
    return TRUE;
}

HBRUSH CAboutDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_STATIC)
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    int id = pWnd->GetDlgCtrlID();
    if (id == IDC_ABOUT_WEB || id == IDC_ABOUT_VERSION || id == IDC_ABOUT_TEXT) {
        // Paint what lies behind the text (the gradient) first, so the
        // transparent text does not leave the old background showing.
        RECT rc;
        ::GetClientRect(pWnd->m_hWnd, &rc);
        HDC source = ::GetDC(pWnd->m_hWnd);
        ::BitBlt(SafeHdc(pDC), 0, 0, rc.right, rc.bottom, source, 0, 0, SRCCOPY);
        ::ReleaseDC(pWnd->m_hWnd, source);
    }
    pDC->SetBkMode(TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}
