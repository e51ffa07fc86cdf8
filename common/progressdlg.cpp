#include "progressdlg.h"
#include "language.h"
#include "smallicons.h"

COLORREF GradientColour(int x, int w)
{
    // Integer divisions truncate toward zero; "& 0xFF" is the modulo 256 of
    // the negative values.
    int red = (53 * x / w - 54) & 0xFF;
    int green = (17 * x / w - 18) & 0xFF;
    int blue = (-30 * x / w - 1) & 0xFF;
    return RGB(red, green, blue);
}

HBRUSH TransparentStaticBrush(CDC* pDC, CWnd* control, BOOL copyBackground)
{
    if (copyBackground && control && control->m_hWnd) {
        RECT rc;
        ::GetClientRect(control->m_hWnd, &rc);
        HDC source = ::GetDC(control->m_hWnd);
        ::BitBlt(SafeHdc(pDC), 0, 0, rc.right, rc.bottom, source, 0, 0, SRCCOPY);
        ::ReleaseDC(control->m_hWnd, source);
    }
    pDC->SetBkMode(TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

void PaintBackgroundGradient(HDC hdc, const RECT& client)
{
    int w = client.right - client.left;
    if (w <= 0)
        return;
    for (int x = 0; x < w; ++x) {
        RECT column = {client.left + x, client.top, client.left + x + 1, client.bottom};
        HBRUSH brush = CreateSolidBrush(GradientColour(x, w));
        FillRect(hdc, &column, brush);
        DeleteObject(brush);
    }
}

BEGIN_MESSAGE_MAP(CProgressDlg, CProgressDlgBase)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(CWnd* pParent, UINT nTemplate, const char* captionDefault)
    : CProgressDlgBase(nTemplate, pParent), m_nTemplate(nTemplate),
      m_captionDefault(captionDefault ? captionDefault : "")
{
    ASSERT(nTemplate != 0);
}

BOOL CProgressDlg::CreateModeless(CWnd* pParent) { return CProgressDlgBase::Create(m_nTemplate, pParent); }

BOOL CProgressDlg::OnInitDialog()
{
    CProgressDlgBase::OnInitDialog();
    m_report.SubclassDlgItem(IDC_PROGRESS_REPORT, this);
    m_operation.SubclassDlgItem(IDC_PROGRESS_OPERATION, this);
    m_overall.SubclassDlgItem(IDC_PROGRESS_OVERALL, this);
    CString caption = GetLngString("General", "40600");
    if (caption.IsEmpty())
        caption = m_captionDefault;
    SetWindowText(caption);
    return TRUE;
}

void CProgressDlg::SetUpReportList(const UINT (&rowIconIds)[3])
{
    ASSERT(::IsWindow(m_report.m_hWnd));
    m_report.InsertColumn(0, "Progress", LVCFMT_LEFT, 700);
    m_reportIcons.DeleteImageList();
    CreateSmallIconList(m_reportIcons, rowIconIds);
    m_report.SetImageList(&m_reportIcons, LVSIL_SMALL);
}

BOOL EraseWithGradient(CWnd* wnd, CDC* pDC)
{
    RECT rc;
    wnd->GetClientRect(&rc);
    PaintBackgroundGradient(SafeHdc(pDC), rc);
    return TRUE;
}

BOOL CProgressDlg::OnEraseBkgnd(CDC* pDC) { return EraseWithGradient(this, pDC); }

BOOL CRunProgressDlg::OnInitDialog()
{
    CProgressDlg::OnInitDialog();
    // The close box would only invite a click that must do nothing.
    HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (systemMenu != nullptr)
        ::EnableMenuItem(systemMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    return TRUE;
}
