#include "PropertiesDlg.h"
#include "EntryListing.h"
#include "PluginList.h"
#include "Settings.h"
#include "pluginfile.h"
#include "startprogram.h"
#include "language.h"

BEGIN_MESSAGE_MAP(CPropertiesDlg, CThemedDialog)
    ON_BN_CLICKED(IDC_EDIT, OnEdit)
END_MESSAGE_MAP()

CPropertiesDlg::CPropertiesDlg(CWnd* pParent) : CThemedDialog(IDD, pParent) {}

void CPropertiesDlg::DoDataExchange(CDataExchange* pDX)
{
    CThemedDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_LIST, m_list);
}

BOOL CPropertiesDlg::OnInitDialog()
{
    CThemedDialog::OnInitDialog();
    static const int kWidths[4] = {415, 60, 70, 96};
    InsertEntryColumns(m_list, kWidths);
    SetWindowText(TextOrNotFound("General", "50020") + " [" + m_name + ", " + m_version + "]");
    static const DlgItemLngText kTexts[] = {
        {IDC_PROPERTIES_GROUP, "Farnoch", "24170"},
        {IDC_PROVIDER_LABEL, "General", "40750"},
        {IDC_DESCRIPTION_LABEL, "General", "40760"},
        {IDOK, "General", "30060"},
        {IDC_EDIT, "General", "82110"},
    };
    SetDlgItemLngTexts(m_hWnd, kTexts);
    FillProperties();
    return TRUE;
}

void CPropertiesDlg::FillProperties()
{
    SetDlgItemText(IDC_DESCRIPTION, ReadPluginDescription(m_path, !IsGermanChosen()));
    SetDlgItemText(IDC_PROVIDER, ReadPluginGeneral(m_path, "Provider"));
    m_list.DeleteAllItems();
    AppendEntryRows(m_list, m_path);
}

int CPropertiesDlg::ShowMessage(const CString& text, UINT type) { return MessageBox(text, AppTitle(), type); }

void CPropertiesDlg::ShowWithOwner(int nCmdShow)
{
    ShowWindow(nCmdShow);
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->m_hWnd != nullptr)
        main->ShowWindow(nCmdShow);
}

void CPropertiesDlg::OnEdit()
{
    CString command = SuiteProgramCommand("Holberin.exe", QuoteArgument(m_path));
    ShowWithOwner(SW_HIDE);
    int started = RunProgramAndWait(command);
    // The builder may have changed the file; caption and list stay.
    FillProperties();
    ShowWithOwner(SW_SHOW);
    if (!started)
        ShowMessage(GetLngString("Farnoch", "24140"), MB_OK | MB_ICONEXCLAMATION);
}
