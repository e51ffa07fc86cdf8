// Property sheets: CPropertySheet (the tabbed frame of PropertySheet) and
// CPropertyPage (one dialog page of it).
//
// A page is created by the sheet when it is first shown; its window is then
// attached to the page object, and the sheet's PSN_* notifications arrive at
// the page's virtual members. A page whose window was never created gets no
// notification at all, so it never writes anything.
#pragma once

#include "fw/fwdefs.h"
#include "fw/string.h"
#include "fw/wnd.h"
#include "fw/dialog.h"

#include <prsht.h>
#include <vector>

class CPropertySheet;

class FW_API CPropertyPage : public CDialog
{
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    virtual ~CPropertyPage();

    // Marks the page changed (enables the sheet's Apply button) or unchanged.
    void SetModified(BOOL bChanged = TRUE);
    BOOL IsModified() const { return m_bChanged; }
    // The sheet holding this page while its window exists.
    CPropertySheet* GetSheet() const { return m_pSheet; }
    // Page title for the tab (instead of the template's caption).
    void SetTitle(const char* pszTitle);

    PROPSHEETPAGEA m_psp;

    // The sheet's notifications. OnSetActive and OnKillActive exchange the
    // data with the controls; OnApply calls OnOK; OnReset calls OnCancel.
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    virtual void OnOK() override;
    virtual void OnCancel() override;

protected:
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

    CPropertySheet* m_pSheet;
    BOOL m_bChanged;
    BOOL m_bFirstSetActive;
    CString m_strTitle;
};

class FW_API CPropertySheet : public CWnd
{
public:
    explicit CPropertySheet(const char* pszCaption = nullptr, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    virtual ~CPropertySheet();

    // Pages are shown in the order they were added; the sheet does not own them.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int nPage) const { return m_pages[nPage]; }
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
    HWND GetTabControl() const { return (HWND)::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0); }
    void SetTitle(const char* pszText, UINT nStyle = 0);
    // PSBTN_OK, PSBTN_CANCEL, PSBTN_APPLYNOW, ...
    void PressButton(int nButton) { ::SendMessageA(m_hWnd, PSM_PRESSBUTTON, (WPARAM)nButton, 0); }

    // Runs the sheet modally: IDOK when it was closed with OK (or a change was
    // applied), IDCANCEL otherwise, -1 when it could not be shown.
    virtual INT_PTR DoModal();

    PROPSHEETHEADERA m_psh;

protected:
    // Called once the sheet window and its tabs exist.
    virtual BOOL OnInitDialog();

private:
    friend class CPropertyPage;
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd;
    UINT m_nStartPage;
};
