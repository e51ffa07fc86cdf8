// One plug-in's provider, description and entries; Edit opens it in the
// plug-in builder.
#pragma once
#include "fw/framework.h"
#include "themedframe.h"
#include "resource.h"

class CPropertiesDlg : public CThemedDialog
{
public:
    enum { IDD = IDD_PROPERTIES };
    explicit CPropertiesDlg(CWnd* pParent = nullptr);

    // Filled by the creator from the selected row.
    CString m_name;
    CString m_description;
    CString m_version;
    CString m_provider;
    CString m_path; // the plug-in file
    CListCtrl m_list;

    void FillProperties();
    afx_msg void OnEdit();

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    // The message box; tests answer it instead.
    virtual int ShowMessage(const CString& text, UINT type);
    void ShowWithOwner(int nCmdShow);

    DECLARE_MESSAGE_MAP()
};
