#include "SearchDlg.h"
#include "Settings.h"
#include "TolmiraView.h"
#include "placement.h"
#include "progressdlg.h"

namespace {
// The option check boxes with their keys in [Farnoch] of Farnoch.ini.
struct SearchOption
{
    int id;
    const char* key;
    int CSearchDlg::*member;
};
const SearchOption kOptions[] = {
    {IDC_SEARCH_CASE, "SearchCaseSensitive", &CSearchDlg::m_caseSensitive},
    {IDC_SEARCH_NAME, "SearchName", &CSearchDlg::m_searchName},
    {IDC_SEARCH_DESCRIPTION, "SearchDescription", &CSearchDlg::m_searchDescription},
    {IDC_SEARCH_VERSION, "SearchVersion", &CSearchDlg::m_searchVersion},
    {IDC_SEARCH_PROVIDER, "SearchProvider", &CSearchDlg::m_searchProvider},
    {IDC_SEARCH_PATH, "SearchPath", &CSearchDlg::m_searchPath},
};

// The searched columns in the order they are tried, with their flags.
const struct
{
    int column;
    int CSearchDlg::*flag;
} kColumns[] = {
    {COLUMN_NAME, &CSearchDlg::m_searchName},       {COLUMN_DESCRIPTION, &CSearchDlg::m_searchDescription},
    {COLUMN_VERSION, &CSearchDlg::m_searchVersion}, {COLUMN_PROVIDER, &CSearchDlg::m_searchProvider},
    {COLUMN_PATH, &CSearchDlg::m_searchPath},
};

const char* const kPlacementSection = "SearchPlacement";
} // namespace

BEGIN_MESSAGE_MAP(CSearchDlg, CThemedDialog)
    ON_BN_CLICKED(IDC_FIND_NEXT, OnSearch)
    ON_BN_CLICKED(IDC_SEARCH_CLOSE, OnCloseButton)
    ON_EN_CHANGE(IDC_SEARCH_TEXT, OnTextChanged)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_SEARCH_PROVIDER, IDC_SEARCH_PATH, OnOptionClicked)
    ON_WM_CLOSE()
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSearchDlg::CSearchDlg(CListCtrl* list, CWnd* pParent)
    : CThemedDialog(IDD, pParent), m_caseSensitive(0), m_nextRow(0), m_foundSinceWrap(0), m_searchName(0),
      m_searchDescription(0), m_searchVersion(0), m_searchProvider(0), m_searchPath(0), m_rowMatched(0), m_searching(0),
      m_lastFoundRow(-1), m_list(list)
{
    ASSERT(list != nullptr);
}

void CSearchDlg::DoDataExchange(CDataExchange* pDX)
{
    CThemedDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_SEARCH_TEXT, m_searchText);
    for (const SearchOption& option : kOptions)
        DDX_Check(pDX, option.id, this->*option.member);
}

BOOL CSearchDlg::OnInitDialog()
{
    CThemedDialog::OnInitDialog();
    for (const SearchOption& option : kOptions)
        this->*option.member = FarnochYes("Farnoch", option.key);
    UpdateData(FALSE);
    SetWindowLngText(m_hWnd, "Farnoch", "24905");
    static const DlgItemLngText kTexts[] = {
        {IDC_SEARCH_LABEL, "Farnoch", "24900"},
        {IDC_SEARCH_CASE, "Farnoch", "24910"},
        {IDC_FIND_NEXT, "Farnoch", "24920"},
        {IDC_SEARCH_CLOSE, "General", "30060"},
        {IDC_SEARCH_COLUMNS, "Farnoch", "24940"},
        // The list's own column titles.
        {IDC_SEARCH_NAME, "General", "40732"},
        {IDC_SEARCH_DESCRIPTION, "General", "40510"},
        {IDC_SEARCH_VERSION, "General", "40741"},
        {IDC_SEARCH_PROVIDER, "Farnoch", "24030"},
        {IDC_SEARCH_PATH, "General", "30740"},
    };
    SetDlgItemLngTexts(m_hWnd, kTexts);
    RestoreWindowPlacement(m_hWnd, INI_FARNOCH, kPlacementSection);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FIND_NEXT), FALSE);
    return TRUE;
}

void CSearchDlg::PostNcDestroy() { delete this; }

int CSearchDlg::ShowMessage(const CString& text, UINT type) { return MessageBox(text, AppTitle(), type); }

void CSearchDlg::OnTextChanged()
{
    // The text alone: the change also comes while the dialog's own data
    // exchange fills the field, before the boxes show their settings.
    GetDlgItemText(IDC_SEARCH_TEXT, m_searchText);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FIND_NEXT), !m_searchText.IsEmpty());
    m_nextRow = 0;
}

void CSearchDlg::OnOptionClicked(UINT nID)
{
    for (const SearchOption& option : kOptions) {
        if (option.id != (int)nID)
            continue;
        UpdateData(TRUE);
        FarnochWriteYesNo("Farnoch", option.key, this->*option.member);
    }
}

void CSearchDlg::OnOK() {}

void CSearchDlg::OnCancel() { OnClose(); }

void CSearchDlg::OnCloseButton() { OnClose(); }

void CSearchDlg::OnClose()
{
    SaveWindowPlacement(m_hWnd, INI_FARNOCH, kPlacementSection);
    // Gone for good: a hidden dialog would stay until the program ends.
    DestroyWindow();
}

BOOL CSearchDlg::RowContains(int row, const CString& pattern) const
{
    for (const auto& column : kColumns) {
        if (!(this->*column.flag))
            continue;
        CString text = m_list->GetItemText(row, column.column);
        if (!m_caseSensitive)
            text.MakeLower();
        if (text.Find(pattern) >= 0)
            return TRUE;
    }
    return FALSE;
}

void CSearchDlg::OnSearch()
{
    UpdateData(TRUE);
    CString pattern = m_searchText;
    BOOL anyColumn = FALSE;
    for (const auto& column : kColumns)
        anyColumn = anyColumn || this->*column.flag;
    if (!m_foundSinceWrap && !anyColumn) {
        ShowMessage(GetLngString("Farnoch", "24720"), MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!m_caseSensitive)
        pattern.MakeLower();

    // The list may have changed under the open dialog: positions past its
    // end wrap, and a remembered row past it is forgotten.
    const int count = m_list->GetItemCount();
    if (m_lastFoundRow >= count)
        m_lastFoundRow = -1;
    m_searching = 1;
    while (m_searching) {
        if (m_nextRow >= count) {
            ShowMessage(GetLngString("Farnoch", m_foundSinceWrap ? "24700" : "24710"), MB_OK | MB_ICONINFORMATION);
            m_nextRow = 0;
            m_lastFoundRow = -1;
            m_searching = 0;
            m_foundSinceWrap = 0;
            break;
        }
        m_rowMatched = RowContains(m_nextRow, pattern);
        if (m_rowMatched) {
            if (m_lastFoundRow >= 0)
                m_list->SetItemState(m_lastFoundRow, 0, LVIS_SELECTED | LVIS_FOCUSED);
            m_list->SetItemState(m_nextRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            m_list->EnsureVisible(m_nextRow, FALSE);
            m_lastFoundRow = m_nextRow;
            m_searching = 0;
            m_foundSinceWrap = 1;
            CWnd* main = AfxGetMainWnd();
            if (main != nullptr && main->m_hWnd != nullptr)
                main->SetFocus();
        }
        ++m_nextRow;
    }
}

HBRUSH CSearchDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_STATIC)
        return CThemedDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return TransparentStaticBrush(pDC, pWnd, TRUE);
}

BOOL CSearchDlg::OnEraseBkgnd(CDC* pDC) { return EraseWithGradient(this, pDC); }
