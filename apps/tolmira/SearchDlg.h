// The search: a modeless find-next over chosen columns of the plug-in list.
// Each search command makes a new one; it deletes itself when its window is
// gone.
#pragma once
#include "fw/framework.h"
#include "themedframe.h"
#include "resource.h"

class CSearchDlg : public CThemedDialog
{
public:
    enum { IDD = IDD_SEARCH };
    // list: the plug-in list searched; it outlives the dialog, which its
    // frame owns.
    CSearchDlg(CListCtrl* list, CWnd* pParent);

    CString m_searchText;
    int m_caseSensitive;
    int m_nextRow;
    int m_foundSinceWrap;
    int m_searchName;
    int m_searchDescription;
    int m_searchVersion;
    int m_searchProvider;
    int m_searchPath;
    int m_rowMatched;
    int m_searching;
    int m_lastFoundRow;

    // Find next: selects the next row after the last match whose chosen
    // columns contain the text; after the last row says so and starts again.
    afx_msg void OnSearch();
    afx_msg void OnTextChanged();
    afx_msg void OnOptionClicked(UINT nID);
    afx_msg void OnCloseButton();
    afx_msg void OnClose() override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void PostNcDestroy() override;
    // Enter without a usable find button, and Escape: Escape closes.
    virtual void OnOK() override;
    virtual void OnCancel() override;
    // The message box; tests answer it instead.
    virtual int ShowMessage(const CString& text, UINT type);

    // Whether a chosen column of the row holds the pattern (already
    // lower-cased when the search ignores case).
    BOOL RowContains(int row, const CString& pattern) const;

    CListCtrl* m_list;

    DECLARE_MESSAGE_MAP()
};
