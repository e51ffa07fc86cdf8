// The eraser's preferences: closing after a run, confirmation before a run and
// the suite-wide number of overwrite passes.
#pragma once

#include "fw/framework.h"
#include "resource.h"
#include "fw/sliderctrl.h"
#include "prefsheet.h"

class CPropPageGeneral : public CPropertyPage
{
public:
    enum { IDD = IDD_PROPPAGE_GENERAL };
    CPropPageGeneral();

    BOOL m_bCloseAfterKill;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnCloseAfterKill();

    DECLARE_MESSAGE_MAP()
};

class CPropPageSecurity : public CPropertyPage
{
public:
    enum { IDD = IDD_PROPPAGE_SECURITY };
    CPropPageSecurity();

    CString m_strPrefix;
    CString m_strSuffix;
    CSliderCtrl m_sliderPasses;
    BOOL m_bConfirmDelete;

    // Label 1011: prefix, the slider's position and suffix.
    void UpdatePassesLabel();

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnConfirmDelete();
    afx_msg void OnSliderReleasedCapture(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSliderCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};

class CPreferencesDlg : public CPropertySheet
{
public:
    CPreferencesDlg(const char* pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    CPropPageGeneral m_pageGeneral;
    CPropPageSecurity m_pageSecurity;

protected:
    virtual BOOL OnInitDialog() override;
    void SetPageTitles();
};
