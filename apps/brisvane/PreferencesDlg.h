// The main cleaner's preferences: general settings, the browsers to clean,
// the confirmation before cleaning and the language of the texts.
#pragma once
#include "fw/framework.h"
#include "PrefPages.h"

class CPropPageGeneral : public CGeneralPageBase
{
public:
    CPropPageGeneral();

protected:
    // One box for both logging switches of the program.
    virtual int ReadLogging() const override;
    virtual void WriteLogging(int on) override;
};

class CPropPageBrowsers : public CPropertyPage
{
public:
    CPropPageBrowsers();

    CListCtrl m_list;
    int m_bUseFoundBrowsers;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnUseFoundBrowsers();
    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);

    BOOL m_bFilling;

    DECLARE_MESSAGE_MAP()
};

class CPreferencesDlg : public CPropertySheet
{
public:
    CPreferencesDlg(const char* pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    CPropPageGeneral m_pageGeneral;
    CPropPageBrowsers m_pageBrowsers;
    CPropPageSecurity m_pageSecurity;
    CPropPageLanguage m_pageLanguage;

protected:
    virtual BOOL OnInitDialog() override;
    void SetPageTitles();
};
