#include "fw/propsheet.h"

namespace {
// The sheet whose PropertySheet call is running on this thread: its callback
// gets no parameter of ours.
thread_local CPropertySheet* t_pCreatingSheet = nullptr;

HINSTANCE ResourceModule(LPCSTR lpszTemplate)
{
    // The template lies in the program, as every resource of a deliverable.
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    if (::FindResourceA(hInst, lpszTemplate, (LPCSTR)RT_DIALOG) != nullptr)
        return hInst;
    return hInst;
}
} // namespace

// ---- CPropertyPage -------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate, nullptr), m_pSheet(nullptr), m_bChanged(FALSE), m_bFirstSetActive(TRUE)
{
    ZeroMemory(&m_psp, sizeof(m_psp));
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = MAKEINTRESOURCEA(nIDTemplate);
    m_psp.hInstance = ResourceModule(m_psp.pszTemplate);
    m_psp.pfnDlgProc = PageDlgProc;
    m_psp.lParam = (LPARAM)this;
    if (nIDCaption != 0) {
        char title[256];
        if (::LoadStringA(m_psp.hInstance, nIDCaption, title, sizeof(title)) > 0)
            SetTitle(title);
    }
}

CPropertyPage::~CPropertyPage() {}

void CPropertyPage::SetTitle(const char* pszTitle)
{
    m_strTitle = pszTitle;
    m_psp.pszTitle = m_strTitle;
    m_psp.dwFlags |= PSP_USETITLE;
}

INT_PTR CALLBACK CPropertyPage::PageDlgProc(HWND hDlg, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE; // everything else goes through the page's message map
    PROPSHEETPAGEA* psp = (PROPSHEETPAGEA*)lParam;
    CPropertyPage* pPage = (CPropertyPage*)psp->lParam;
    ASSERT(pPage != nullptr && pPage->m_hWnd == nullptr);
    pPage->SubclassWindow(hDlg);
    pPage->m_pSheet = (CPropertySheet*)CWnd::FromHandlePermanent(::GetParent(hDlg));
    pPage->m_bChanged = FALSE;
    pPage->m_bFirstSetActive = TRUE;
    return pPage->OnInitDialog();
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    m_bChanged = bChanged;
    if (m_hWnd == nullptr)
        return;
    HWND hSheet = ::GetParent(m_hWnd);
    if (hSheet != nullptr)
        ::SendMessageA(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

BOOL CPropertyPage::OnSetActive()
{
    // The first activation follows OnInitDialog, which filled the controls.
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

void CPropertyPage::OnOK()
{
    // The sheet closes itself; a page only stores its settings (in overrides).
    m_bChanged = FALSE;
}

void CPropertyPage::OnCancel() { m_bChanged = FALSE; }

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    HWND hSheet = ::GetParent(m_hWnd);
    if (pNMHDR == nullptr || pNMHDR->hwndFrom != hSheet)
        return CDialog::OnNotify(wParam, lParam, pResult);

    LRESULT result;
    switch (pNMHDR->code) {
    case PSN_SETACTIVE: result = OnSetActive() ? 0 : -1; break;
    case PSN_KILLACTIVE: result = !OnKillActive(); break;
    case PSN_APPLY: result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE; break;
    case PSN_RESET:
        OnReset();
        result = 0;
        break;
    case PSN_QUERYCANCEL: result = !OnQueryCancel(); break;
    default: return CDialog::OnNotify(wParam, lParam, pResult);
    }
    // A dialog answers through DWLP_MSGRESULT; the window procedure's own
    // result carries the same value.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    *pResult = result;
    return TRUE;
}

// ---- CPropertySheet ---------------------------------------------------------------

CPropertySheet::CPropertySheet(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption != nullptr ? pszCaption : ""), m_pParentWnd(pParentWnd), m_nStartPage(iSelectPage)
{
    ZeroMemory(&m_psh, sizeof(m_psh));
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_pParentWnd(pParentWnd), m_nStartPage(iSelectPage)
{
    ZeroMemory(&m_psh, sizeof(m_psh));
    char caption[256];
    if (::LoadStringA(::GetModuleHandleA(nullptr), nIDCaption, caption, sizeof(caption)) > 0)
        m_strCaption = caption;
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    ASSERT(pPage != nullptr);
    m_pages.push_back(pPage);
    if (m_hWnd != nullptr) {
        HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&pPage->m_psp);
        if (hPage != nullptr)
            ::SendMessageA(m_hWnd, PSM_ADDPAGE, 0, (LPARAM)hPage);
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    int index = GetPageIndex(pPage);
    if (index < 0)
        return;
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_REMOVEPAGE, (WPARAM)index, 0);
    m_pages.erase(m_pages.begin() + index);
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    for (size_t i = 0; i < m_pages.size(); i++)
        if (m_pages[i] == pPage)
            return (int)i;
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (m_hWnd == nullptr)
        return (int)m_nStartPage;
    HWND hTab = GetTabControl();
    return hTab != nullptr ? (int)::SendMessageA(hTab, TCM_GETCURSEL, 0, 0) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    int index = GetActiveIndex();
    return (index >= 0 && index < (int)m_pages.size()) ? m_pages[index] : nullptr;
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= (int)m_pages.size())
        return FALSE;
    if (m_hWnd == nullptr) {
        m_nStartPage = (UINT)nPage;
        return TRUE;
    }
    return (BOOL)::SendMessageA(m_hWnd, PSM_SETCURSEL, (WPARAM)nPage, 0);
}

void CPropertySheet::SetTitle(const char* pszText, UINT nStyle)
{
    m_strCaption = pszText != nullptr ? pszText : "";
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_SETTITLEA, nStyle, (LPARAM)(const char*)m_strCaption);
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED && t_pCreatingSheet != nullptr) {
        CPropertySheet* pSheet = t_pCreatingSheet;
        t_pCreatingSheet = nullptr;
        pSheet->SubclassWindow(hWnd);
        // The first page was created before the sheet object was attached.
        for (CPropertyPage* pPage : pSheet->m_pages)
            if (pPage->m_hWnd != nullptr)
                pPage->m_pSheet = pSheet;
        pSheet->OnInitDialog();
    }
    return 0;
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

INT_PTR CPropertySheet::DoModal()
{
    ASSERT(m_hWnd == nullptr);
    if (m_pages.empty())
        return -1;

    std::vector<PROPSHEETPAGEA> pages;
    for (CPropertyPage* pPage : m_pages)
        pages.push_back(pPage->m_psp);

    // Without a parent the sheet is still owned by the program's active
    // window, which stays disabled while the sheet is shown.
    HWND hOwner = SafeHwnd(m_pParentWnd);
    if (hOwner == nullptr) {
        HWND hActive = ::GetActiveWindow();
        if (hActive != nullptr)
            hOwner = ::GetAncestor(hActive, GA_ROOT);
    }

    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.hwndParent = hOwner;
    m_psh.hInstance = ::GetModuleHandleA(nullptr);
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = (UINT)pages.size();
    m_psh.nStartPage = m_nStartPage < pages.size() ? m_nStartPage : 0;
    m_psh.ppsp = pages.data();
    m_psh.pfnCallback = SheetCallback;

    t_pCreatingSheet = this;
    INT_PTR result = ::PropertySheetA(&m_psh);
    t_pCreatingSheet = nullptr;
    // The sheet window is gone; drop the handle that the callback attached.
    if (m_hWnd != nullptr)
        Detach();
    if (hOwner != nullptr && ::IsWindow(hOwner))
        ::SetActiveWindow(hOwner);
    if (result < 0)
        return -1;
    return result > 0 ? IDOK : IDCANCEL;
}
