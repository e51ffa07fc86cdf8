#include "PreviewDlg.h"
#include "EntryListing.h"
#include "language.h"

CPreviewDlg::CPreviewDlg(const std::vector<CString>& pluginFiles, CWnd* pParent)
    : CThemedDialog(IDD, pParent), m_pluginFiles(pluginFiles)
{
}

void CPreviewDlg::DoDataExchange(CDataExchange* pDX)
{
    CThemedDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_LIST, m_list);
}

BOOL CPreviewDlg::OnInitDialog()
{
    CThemedDialog::OnInitDialog();
    static const int kWidths[4] = {405, 100, 100, 150};
    InsertEntryColumns(m_list, kWidths);
    SetWindowLngText(m_hWnd, "General", "50030");
    SetDlgItemLngText(m_hWnd, IDOK, "General", "30060");
    // All plug-ins' rows in one list, in list order, without separators.
    for (const CString& file : m_pluginFiles)
        FillPreview(file);
    return TRUE;
}

void CPreviewDlg::FillPreview(const CString& pluginFile) { AppendEntryRows(m_list, pluginFile); }
