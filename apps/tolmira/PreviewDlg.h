// The preview: every entry of every ticked plug-in, before a run.
#pragma once
#include "fw/framework.h"
#include "themedframe.h"
#include "resource.h"
#include <vector>

class CPreviewDlg : public CThemedDialog
{
public:
    enum { IDD = IDD_PREVIEW };
    // pluginFiles: the ticked plug-ins in list order.
    explicit CPreviewDlg(const std::vector<CString>& pluginFiles, CWnd* pParent = nullptr);

    CListCtrl m_list;

    // Appends the entry rows of one plug-in file.
    void FillPreview(const CString& pluginFile);

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;

    std::vector<CString> m_pluginFiles;
};
