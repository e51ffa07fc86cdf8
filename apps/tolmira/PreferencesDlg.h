// The recent-work cleaner's preferences: general settings, the confirmation
// before a run and the language of the texts.
#pragma once
#include "fw/framework.h"
#include "PrefPages.h"

class CPropPageGeneral : public CGeneralPageBase
{
public:
    CPropPageGeneral();

protected:
    // The deletion library's switch, in both data roots' Farnoch.ini.
    virtual int ReadLogging() const override;
    virtual void WriteLogging(int on) override;
};

class CPreferencesDlg : public CPropertySheet
{
public:
    CPreferencesDlg(const char* pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    CPropPageGeneral m_pageGeneral;
    CPropPageSecurity m_pageSecurity;
    CPropPageLanguage m_pageLanguage;

protected:
    virtual BOOL OnInitDialog() override;
};
