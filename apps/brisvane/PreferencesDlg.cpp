#include "PreferencesDlg.h"
#include "Settings.h"
#include "resource.h"

namespace {
const char* const kRunValueName = "Pirt Brisvane";

// The browser rows in list order, with the switch of each.
const struct
{
    const char* name;
    const char* key;
} kBrowsers[] = {
    {"Internet Explorer", "DeleteIETraces"}, {"Opera", "DeleteOperaTraces"},   {"Firefox", "DeleteFirefoxTraces"},
    {"Chrome", "DeleteChromeTraces"},        {"Safari", "DeleteSafariTraces"},
};
} // namespace

// ---- CPropPageGeneral -------------------------------------------------------------

CPropPageGeneral::CPropPageGeneral()
    : CGeneralPageBase(IDD_PROPPAGE_GENERAL, INI_BRISVANE, kRunValueName, "Brisvane", "30405")
{
}

int CPropPageGeneral::ReadLogging() const { return ReadYes("Preferences", "SystemLogging"); }

void CPropPageGeneral::WriteLogging(int on)
{
    WriteYesNo("Preferences", "SystemLogging", on);
    WriteYesNo("Preferences", "BrowserLogging", on);
}

// ---- CPropPageBrowsers ------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPropPageBrowsers, CPropertyPage)
    ON_BN_CLICKED(IDC_USE_FOUND_BROWSERS, OnUseFoundBrowsers)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_BROWSER_LIST, OnItemChanged)
END_MESSAGE_MAP()

CPropPageBrowsers::CPropPageBrowsers() : CPropertyPage(IDD_PROPPAGE_BROWSERS), m_bUseFoundBrowsers(0), m_bFilling(FALSE)
{
}

void CPropPageBrowsers::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BROWSER_LIST, m_list);
    DDX_Check(pDX, IDC_USE_FOUND_BROWSERS, m_bUseFoundBrowsers);
}

BOOL CPropPageBrowsers::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetDlgItemLngText(m_hWnd, IDC_USE_FOUND_BROWSERS, "Brisvane", "30700");
    SetDlgItemLngText(m_hWnd, IDC_BROWSERS_LABEL, "Brisvane", "30691");
    m_bFilling = TRUE;
    m_list.SetExtendedStyle(LVS_EX_CHECKBOXES);
    m_list.InsertColumn(0, "Cols", LVCFMT_LEFT, 250);
    for (int i = 0; i < (int)(sizeof(kBrowsers) / sizeof(kBrowsers[0])); i++) {
        int row = m_list.InsertItem(i, kBrowsers[i].name);
        m_list.SetCheck(row, ReadYes("Preferences", kBrowsers[i].key));
    }
    m_bFilling = FALSE;
    m_bUseFoundBrowsers = ReadYes("Preferences", "AllBrowsersFoundOnStartUp");
    UpdateData(FALSE);
    return TRUE;
}

void CPropPageBrowsers::OnUseFoundBrowsers() { SetModified(TRUE); }

void CPropPageBrowsers::OnItemChanged(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bFilling)
        return;
    // Choosing browsers by hand turns the detection at start-up off.
    SetModified(TRUE);
    m_bUseFoundBrowsers = 0;
    CheckDlgButton(IDC_USE_FOUND_BROWSERS, BST_UNCHECKED);
}

void CPropPageBrowsers::OnOK()
{
    UpdateData(TRUE);
    for (int i = 0; i < (int)(sizeof(kBrowsers) / sizeof(kBrowsers[0])); i++)
        WriteYesNo("Preferences", kBrowsers[i].key, m_list.GetCheck(i));
    WriteYesNo("Preferences", "AllBrowsersFoundOnStartUp", m_bUseFoundBrowsers);
    CPropertyPage::OnOK();
}

// ---- CPreferencesDlg ----------------------------------------------------------------

CPreferencesDlg::CPreferencesDlg(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage), m_pageSecurity(IDD_PROPPAGE_SECURITY, INI_BRISVANE),
      m_pageLanguage(IDD_PROPPAGE_LANGUAGE)
{
    AddPage(&m_pageGeneral);
    AddPage(&m_pageBrowsers);
    AddPage(&m_pageSecurity);
    AddPage(&m_pageLanguage);
}

BOOL CPreferencesDlg::OnInitDialog()
{
    BOOL result = CPropertySheet::OnInitDialog();
    SetPageTitles();
    return result;
}

void CPreferencesDlg::SetPageTitles()
{
    static const SheetTabTitle kTitles[] = {
        {"General", "30210", "General"},
        {"Brisvane", "30690", "Browsers"},
        {"General", "30220", "Security"},
        {"General", "30230", "Language"},
    };
    SetSheetTabTitles(this, kTitles, 4);
}
