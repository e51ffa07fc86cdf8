// The item editor.
#include "EditorDlg.h"
#include "CorvaletList.h"
#include "CorvaletView.h"
#include "RegEdit.h"
#include "Asker.h"
#include "resource.h"
#include "pirt.h"

namespace {

// BIF_STATUSTEXT, BIF_NEWDIALOGSTYLE and BIF_SHAREABLE.
const UINT kFolderBrowseFlags = 0x8044;

const int kFileControls[] = {IDC_DELFILE,     IDC_DELFILECONTENT, IDC_DELINISEC, IDC_SECTION_LABEL,
                             IDC_SECTIONNAME, IDC_KEY_LABEL,      IDC_KEYNAME};
const int kFolderControls[] = {IDC_DELENTIREFOLDER, IDC_DELINDIR, IDC_DELINDIRCOMP, IDC_PATTERN};
const int kRegistryControls[] = {IDC_DELKEY, IDC_DELKLIST, IDC_DELVALUE, IDC_DELVLIST, IDC_KEYMATCH, IDC_VALUEMATCH};

CString ControlText(HWND dlg, int id)
{
    CString text;
    CWnd::FromHandle(dlg)->GetDlgItemText(id, text);
    return text;
}

// The index of the checked radio of a group, -1 when none is.
int CheckedRadio(HWND dlg, const int* ids, int count)
{
    for (int i = 0; i < count; ++i)
        if (::IsDlgButtonChecked(dlg, ids[i]) == BST_CHECKED)
            return i;
    return -1;
}

void CheckRadio(HWND dlg, const int* ids, int count, int index)
{
    for (int i = 0; i < count; ++i)
        ::CheckDlgButton(dlg, ids[i], i == index ? BST_CHECKED : BST_UNCHECKED);
}

const int kFileRadios[] = {IDC_DELFILE, IDC_DELFILECONTENT, IDC_DELINISEC};
const int kFolderRadios[] = {IDC_DELENTIREFOLDER, IDC_DELINDIR, IDC_DELINDIRCOMP};
const int kRegistryRadios[] = {IDC_DELKEY, IDC_DELKLIST, IDC_DELVALUE, IDC_DELVLIST};

// Menu texts carry mnemonics; a combo box would show the ampersand.
CString WithoutMnemonic(CString text)
{
    text.Replace("&", "");
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(CEditorDlg, CCorvaletDialogBase)
    ON_CBN_SELCHANGE(IDC_KIND, OnKindChange)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_DELKEY, IDC_DELVLIST, OnRadio)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_DELFILE, IDC_DELINISEC, OnRadio)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_DELENTIREFOLDER, IDC_DELINDIRCOMP, OnRadio)
    ON_BN_CLICKED(IDC_CHOOSEPATH, OnChoosePath)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CEditorDlg::CEditorDlg(CWnd* pParent)
    : CCorvaletDialogBase(IDD, pParent), m_pList(nullptr), m_bEditMode(FALSE), m_nRow(-1)
{
}

CEditorDlg::~CEditorDlg() {}

void CEditorDlg::Enable(int nID, BOOL bEnable)
{
    HWND h = ::GetDlgItem(m_hWnd, nID);
    if (h)
        ::EnableWindow(h, bEnable);
}

BOOL CEditorDlg::OnInitDialog()
{
    CCorvaletDialogBase::OnInitDialog();
    SetWindowLngText(m_hWnd, "Holberin", "21300");
    static const struct
    {
        int id;
        const char* section;
        const char* key;
    } texts[] = {{IDC_CHOOSEPATH, "General", "30050"},
                 {IDC_DELFILE, "Holberin", "21360"},
                 {IDC_DELFILECONTENT, "Holberin", "21370"},
                 {IDC_DELINISEC, "Holberin", "21380"},
                 {IDC_SECTION_LABEL, "Holberin", "21390"},
                 {IDC_KEY_LABEL, "Holberin", "21400"},
                 {IDC_DELENTIREFOLDER, "Holberin", "21410"},
                 {IDC_DELINDIR, "Holberin", "21420"},
                 {IDC_DELINDIRCOMP, "Holberin", "21430"},
                 {IDC_DELKEY, "Holberin", "21440"},
                 {IDC_DELKLIST, "Holberin", "21450"},
                 {IDC_DELVALUE, "Holberin", "21460"},
                 {IDC_DELVLIST, "Holberin", "21470"},
                 {IDC_PATH_LABEL, "Holberin", "21310"},
                 {IDC_ACTION_LABEL, "Holberin", "21320"},
                 {IDOK, "General", "30000"},
                 {IDCANCEL, "General", "30010"}};
    for (const auto& t : texts)
        SetDlgItemLngText(m_hWnd, t.id, t.section, t.key);
    CComboBox* kind = (CComboBox*)GetDlgItem(IDC_KIND);
    kind->AddString(WithoutMnemonic(GetLngString("General", "10000")));
    kind->AddString(WithoutMnemonic(GetLngString("Holberin", "21330")));
    kind->AddString(WithoutMnemonic(GetLngString("General", "40470")));
    m_pathFont.CreateFont(18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
    GetDlgItem(IDC_PATH)->SetFont(m_pathFont);

    CEditorState state;
    if (m_bEditMode) {
        CPluginRow row;
        row.path = m_strRowPath;
        row.kind = m_strRowKind;
        row.action = m_strRowAction;
        row.detail = m_strRowDetail;
        state = EditorStateFromRow(row);
    }
    ShowState(state);
    return TRUE;
}

void CEditorDlg::ShowKind(int kind)
{
    ((CComboBox*)GetDlgItem(IDC_KIND))->SetCurSel(kind);
    for (int id : kFileControls)
        ::ShowWindow(::GetDlgItem(m_hWnd, id), kind == EDITOR_KIND_FILE ? SW_SHOW : SW_HIDE);
    for (int id : kFolderControls)
        ::ShowWindow(::GetDlgItem(m_hWnd, id), kind == EDITOR_KIND_FOLDER ? SW_SHOW : SW_HIDE);
    for (int id : kRegistryControls)
        ::ShowWindow(::GetDlgItem(m_hWnd, id), kind == EDITOR_KIND_REGISTRY ? SW_SHOW : SW_HIDE);
}

void CEditorDlg::UpdateEnabling()
{
    BOOL ini = ::IsDlgButtonChecked(m_hWnd, IDC_DELINISEC) == BST_CHECKED;
    Enable(IDC_SECTION_LABEL, ini);
    Enable(IDC_SECTIONNAME, ini);
    Enable(IDC_KEY_LABEL, ini);
    Enable(IDC_KEYNAME, ini);
    Enable(IDC_PATTERN, ::IsDlgButtonChecked(m_hWnd, IDC_DELINDIRCOMP) == BST_CHECKED);
    Enable(IDC_KEYMATCH, ::IsDlgButtonChecked(m_hWnd, IDC_DELKLIST) == BST_CHECKED);
    Enable(IDC_VALUEMATCH, ::IsDlgButtonChecked(m_hWnd, IDC_DELVLIST) == BST_CHECKED);
}

CEditorState CEditorDlg::ReadState() const
{
    CEditorState s;
    int kind = ((CComboBox*)GetDlgItem(IDC_KIND))->GetCurSel();
    s.kind = kind < 0 ? EDITOR_KIND_FILE : kind;
    s.fileAction = CheckedRadio(m_hWnd, kFileRadios, 3);
    s.folderAction = CheckedRadio(m_hWnd, kFolderRadios, 3);
    s.regAction = CheckedRadio(m_hWnd, kRegistryRadios, 4);
    s.path = ControlText(m_hWnd, IDC_PATH);
    s.section = ControlText(m_hWnd, IDC_SECTIONNAME);
    s.key = ControlText(m_hWnd, IDC_KEYNAME);
    s.pattern = ControlText(m_hWnd, IDC_PATTERN);
    s.keyMatch = ControlText(m_hWnd, IDC_KEYMATCH);
    s.valueMatch = ControlText(m_hWnd, IDC_VALUEMATCH);
    return s;
}

void CEditorDlg::ShowState(const CEditorState& s)
{
    ShowKind(s.kind);
    CheckRadio(m_hWnd, kFileRadios, 3, s.fileAction);
    CheckRadio(m_hWnd, kFolderRadios, 3, s.folderAction);
    CheckRadio(m_hWnd, kRegistryRadios, 4, s.regAction);
    SetDlgItemText(IDC_PATH, s.path);
    SetDlgItemText(IDC_SECTIONNAME, s.section);
    SetDlgItemText(IDC_KEYNAME, s.key);
    SetDlgItemText(IDC_PATTERN, s.pattern);
    SetDlgItemText(IDC_KEYMATCH, s.keyMatch);
    SetDlgItemText(IDC_VALUEMATCH, s.valueMatch);
    UpdateEnabling();
}

void CEditorDlg::OnKindChange()
{
    // A new kind starts from an empty path and no action.
    CEditorState s;
    int kind = ((CComboBox*)GetDlgItem(IDC_KIND))->GetCurSel();
    s.kind = kind < 0 ? EDITOR_KIND_FILE : kind;
    ShowState(s);
}

void CEditorDlg::OnRadio(UINT) { UpdateEnabling(); }

void CEditorDlg::OnChoosePath()
{
    CEditorState s = ReadState();
    CString path;
    switch (s.kind) {
    case EDITOR_KIND_FILE:
        if (!GetAsker().ChooseAnyFile(m_hWnd, GetLngString("General", "40100"), path))
            return;
        m_strFileName = path.Mid(path.ReverseFind('\\') + 1);
        break;
    case EDITOR_KIND_FOLDER: {
        CFolderDialog dlg(GetLngString("General", "42020"), kFolderBrowseFlags, this);
        if (dlg.DoModal() != IDOK)
            return;
        path = dlg.GetPathName();
        break;
    }
    default: {
        CRegEdit browser(this);
        if (browser.DoModal() != IDOK)
            return;
        path = browser.m_strFullKey;
        break;
    }
    }
    SetDlgItemText(IDC_PATH, path);
}

void CEditorDlg::OnOK()
{
    CWnd* main = AfxGetMainWnd();
    CEditorState state = ReadState();
    CPluginRow original;
    original.path = m_strRowPath;
    original.kind = m_strRowKind;
    original.action = m_strRowAction;
    original.detail = m_strRowDetail;
    auto build = [&](BOOL parentConfirmed) {
        return m_bEditMode ? EditRow(original, state, parentConfirmed) : BuildEditorRow(state, parentConfirmed);
    };
    CEditorResult result = build(FALSE);
    if (result.outcome == EDITOR_ASK_PARENT) {
        if (AskLng(m_hWnd, result.section, result.key, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        result = build(TRUE);
    }
    if (result.outcome != EDITOR_ROW) {
        AskLng(m_hWnd, result.section, result.key, MB_OK);
        return;
    }
    BOOL changed = TRUE;
    if (m_pList) {
        if (m_bEditMode && m_nRow >= 0 && m_nRow < m_pList->GetRowCount())
            changed = m_pList->ReplaceRow(m_nRow, result.row);
        else
            m_pList->InsertRow(result.row);
    }
    if (main && main->m_hWnd) {
        main->SendMessage(WM_PLUGIN_COUNT);
        if (changed)
            main->SendMessage(WM_PLUGIN_MODIFIED);
    }
    EndDialog(IDOK);
}

HBRUSH CEditorDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // Labels and radio buttons show the dialog's background through them.
    if (nCtlColor == CTLCOLOR_STATIC && pWnd && pWnd->GetDlgCtrlID() != IDC_PATH) {
        pDC->SetBkMode(TRANSPARENT);
        return (HBRUSH)::GetSysColorBrush(COLOR_BTNFACE);
    }
    return CCorvaletDialogBase::OnCtlColor(pDC, pWnd, nCtlColor);
}
