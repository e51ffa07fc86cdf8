#include "PreferencesDlg.h"
#include "Settings.h"
#include "resource.h"

CPropPageGeneral::CPropPageGeneral()
    : CGeneralPageBase(IDD_PROPPAGE_GENERAL, INI_FARNOCH, "Pirt Tolmira", "Farnoch", "30405")
{
}

int CPropPageGeneral::ReadLogging() const { return FarnochYes("Preferences", "CustomLogging"); }

void CPropPageGeneral::WriteLogging(int on) { WriteCustomLogging(on); }

CPreferencesDlg::CPreferencesDlg(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage), m_pageSecurity(IDD_PROPPAGE_SECURITY, INI_FARNOCH),
      m_pageLanguage(IDD_PROPPAGE_LANGUAGE)
{
    AddPage(&m_pageGeneral);
    AddPage(&m_pageSecurity);
    AddPage(&m_pageLanguage);
}

BOOL CPreferencesDlg::OnInitDialog()
{
    BOOL result = CPropertySheet::OnInitDialog();
    static const SheetTabTitle kTitles[] = {
        {"General", "30210", "not found"},
        {"General", "30220", "not found"},
        {"General", "30230", "not found"},
    };
    SetSheetTabTitles(this, kTitles, 3);
    return result;
}
