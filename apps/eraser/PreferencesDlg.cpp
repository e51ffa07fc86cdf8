#include "PreferencesDlg.h"
#include "language.h"
#include "services.h"

// ---- CPropPageGeneral -------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPropPageGeneral, CPropertyPage)
    ON_BN_CLICKED(IDC_CLOSEAFTERKILL, OnCloseAfterKill)
END_MESSAGE_MAP()

CPropPageGeneral::CPropPageGeneral() : CPropertyPage(IDD), m_bCloseAfterKill(FALSE) {}

void CPropPageGeneral::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_CLOSEAFTERKILL, m_bCloseAfterKill);
}

BOOL CPropPageGeneral::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetDlgItemLngText(m_hWnd, IDC_CLOSEAFTERKILL, "General", "30410");
    m_bCloseAfterKill = GetIniBool("Preferences", "CloseAfterKill", INI_PLIMVET);
    UpdateData(FALSE);
    return TRUE;
}

void CPropPageGeneral::OnCloseAfterKill() { SetModified(TRUE); }

void CPropPageGeneral::OnOK()
{
    UpdateData(TRUE);
    WriteIniString("Preferences", "CloseAfterKill", m_bCloseAfterKill ? "yes" : "no", INI_PLIMVET);
    CPropertyPage::OnOK();
}

// ---- CPropPageSecurity ------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPropPageSecurity, CPropertyPage)
    ON_BN_CLICKED(IDC_CONFIRM_DELETE, OnConfirmDelete)
    ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_SLIDER_PASSES, OnSliderReleasedCapture)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_SLIDER_PASSES, OnSliderCustomDraw)
END_MESSAGE_MAP()

CPropPageSecurity::CPropPageSecurity() : CPropertyPage(IDD), m_bConfirmDelete(FALSE) {}

void CPropPageSecurity::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SLIDER_PASSES, m_sliderPasses);
    DDX_Check(pDX, IDC_CONFIRM_DELETE, m_bConfirmDelete);
}

BOOL CPropPageSecurity::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetDlgItemLngText(m_hWnd, IDC_CONFIRM_DELETE, "General", "30500");
    SetDlgItemLngText(m_hWnd, IDC_GRP_OVERWRITE, "Eraser", "30100");
    m_strPrefix = GetLngString("Eraser", "30150");
    m_strSuffix = GetLngString("Eraser", "30160");

    m_sliderPasses.SetRange(2, 20, TRUE);
    m_sliderPasses.SetTicFreq(10);
    m_sliderPasses.SetLineSize(1);
    m_sliderPasses.SetPageSize(10);
    int passes = (int)::GetPrivateProfileIntA("Pirt", "OverwritePasses", 3, GetIniPath(INI_PIRT));
    // The control keeps the position within its range.
    m_sliderPasses.SetPos(passes);
    m_sliderPasses.RedrawWindow();

    m_bConfirmDelete = GetIniBool("Preferences", "SecurityDelConfirm", INI_PLIMVET);
    UpdateData(FALSE);
    UpdatePassesLabel();
    return TRUE;
}

void CPropPageSecurity::UpdatePassesLabel()
{
    if (m_sliderPasses.m_hWnd == nullptr)
        return;
    CString label;
    label.Format("%s %d %s", (const char*)m_strPrefix, m_sliderPasses.GetPos(), (const char*)m_strSuffix);
    CString current;
    GetDlgItemText(IDC_STATIC_OVERWRITE, current);
    // Setting the same text again would repaint the label on every slider paint.
    if (current != label)
        SetDlgItemText(IDC_STATIC_OVERWRITE, label);
}

void CPropPageSecurity::OnConfirmDelete() { SetModified(TRUE); }

void CPropPageSecurity::OnSliderReleasedCapture(NMHDR*, LRESULT* pResult)
{
    SetModified(TRUE);
    *pResult = 0;
}

void CPropPageSecurity::OnSliderCustomDraw(NMHDR*, LRESULT* pResult)
{
    UpdatePassesLabel();
    *pResult = CDRF_DODEFAULT;
}

void CPropPageSecurity::OnOK()
{
    UpdateData(TRUE);
    CString passes;
    passes.Format("%d", m_sliderPasses.GetPos());
    WriteIniString("Pirt", "OverwritePasses", passes, INI_PIRT);
    WriteIniString("Preferences", "SecurityDelConfirm", m_bConfirmDelete ? "yes" : "no", INI_PLIMVET);
    CPropertyPage::OnOK();
}

// ---- CPreferencesDlg ----------------------------------------------------------------

CPreferencesDlg::CPreferencesDlg(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    AddPage(&m_pageGeneral);
    AddPage(&m_pageSecurity);
}

BOOL CPreferencesDlg::OnInitDialog()
{
    BOOL bResult = CPropertySheet::OnInitDialog();
    SetPageTitles();
    return bResult;
}

void CPreferencesDlg::SetPageTitles()
{
    static const SheetTabTitle kTitles[] = {
        {"General", "30210", "General"},
        {"General", "30220", "Security"},
    };
    SetSheetTabTitles(this, kTitles, 2);
}
