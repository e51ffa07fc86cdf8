#include "ChooseColsDlg.h"
#include "ListViewEx.h"
#include "language.h"
#include "progressdlg.h"

namespace {

// A text of section General, "not found" when the language file lacks it.
CString GeneralText(const char* key)
{
    CString text = GetLngString("General", key);
    return text.IsEmpty() ? CString("not found") : text;
}

} // namespace

BEGIN_MESSAGE_MAP(CChooseColsDlg, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CChooseColsDlg::CChooseColsDlg(CWnd* pParent) : CDialog(IDD_CHOOSE_COLS, pParent), m_pHeader(nullptr) {}

CChooseColsDlg::~CChooseColsDlg() {}

void CChooseColsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHOOSE_COLS_LIST, m_list);
}

BOOL CChooseColsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    m_list.InsertColumn(0, "Cols", LVCFMT_LEFT, 250);
    SetWindowText(GeneralText("40270"));
    SetDlgItemText(IDC_STATIC_EXPLANATION, GeneralText("40271"));
    SetDlgItemText(IDOK, GeneralText("30000"));
    SetDlgItemText(IDCANCEL, GeneralText("30010"));
    ASSERT(m_pHeader != nullptr);
    if (m_pHeader) {
        for (int i = 0; i < m_pHeader->GetItemCount(); ++i) {
            int row = m_list.InsertItem(m_list.GetItemCount(), m_pHeader->GetItemText(i));
            m_list.SetCheck(row, m_pHeader->IsColumnVisible(i));
        }
    }
    return TRUE;
}

void CChooseColsDlg::OnOK()
{
    if (m_pHeader) {
        for (int i = 0; i < m_pHeader->GetItemCount(); ++i) {
            BOOL ticked = (m_list.GetItemState(i, LVIS_STATEIMAGEMASK) & 0xF000) == 0x2000;
            m_pHeader->ShowColumn(i, ticked);
        }
    }
    CDialog::OnOK();
}

BOOL CChooseColsDlg::OnEraseBkgnd(CDC* pDC) { return EraseWithGradient(this, pDC); }

HBRUSH CChooseColsDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_STATIC)
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return TransparentStaticBrush(pDC, pWnd, pWnd->GetDlgCtrlID() == IDC_STATIC_EXPLANATION);
}
