#include "ManageCookies.h"
#include "CookieKeepList.h"
#include "Settings.h"
#include "progressdlg.h"
#include "startprogram.h"

BEGIN_MESSAGE_MAP(CManageCookies, CThemedDialog)
    ON_BN_CLICKED(IDC_MOVE_TO_KEEP, OnMoveToKeep)
    ON_BN_CLICKED(IDC_MOVE_TO_DELETE, OnMoveToDelete)
    ON_BN_CLICKED(IDC_VIEW_COOKIE, OnViewCookie)
    ON_LBN_SELCHANGE(IDC_COOKIES_DELETE, OnSelectDeleteList)
    ON_LBN_SELCHANGE(IDC_COOKIES_KEEP, OnSelectKeepList)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CManageCookies::CManageCookies(CWnd* pParent) : CThemedDialog(IDD, pParent), m_keepListRead(FALSE) {}

void CManageCookies::DoDataExchange(CDataExchange* pDX)
{
    CThemedDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COOKIES_DELETE, m_listDelete);
    DDX_Control(pDX, IDC_COOKIES_KEEP, m_listKeep);
}

BOOL CManageCookies::OnInitDialog()
{
    CThemedDialog::OnInitDialog();
    static const DlgItemLngText kTexts[] = {
        {IDC_COOKIES_PROMPT, "Brisvane", "35030"},
        {IDC_MOVE_TO_KEEP, "Brisvane", "35010"},
        {IDC_MOVE_TO_DELETE, "Brisvane", "35020"},
        {IDC_COOKIES_DELETE_LABEL, "Brisvane", "35025"},
        {IDC_COOKIES_KEEP_LABEL, "Brisvane", "35027"},
        {IDC_VIEW_COOKIE, "General", "12060"},
        {IDOK, "General", "30060"},
    };
    SetWindowLngText(m_hWnd, "Brisvane", "35000");
    SetDlgItemLngTexts(m_hWnd, kTexts);
    LoadLists();
    SelectFirst();
    return TRUE;
}

void CManageCookies::ShowError(const char* key, const CString& detail)
{
    ShowMessage(GetLngString("Brisvane", key) + "\n" + detail, MB_OK | MB_ICONERROR);
}

int CManageCookies::ShowMessage(const CString& text, UINT type) { return MessageBox(text, AppTitle(), type); }

void CManageCookies::LoadLists()
{
    m_listDelete.ResetContent();
    m_listKeep.ResetContent();
    m_keepListRead = FALSE;
    std::vector<CString> names = ListCookieFiles(GetCookieFolder());
    for (size_t i = 0; i < names.size(); i++)
        m_listDelete.AddString(names[i]);

    std::vector<CString> keep;
    if (!ReadCookieKeepList(keep)) {
        // The cleaner deletes nothing while the list cannot be read; the
        // manager cannot show which cookies it names either.
        ShowError("35040", GetCookieKeepListPath());
        return;
    }
    m_keepListRead = TRUE;
    for (size_t i = 0; i < keep.size(); i++) {
        // The whole name, without regard to case, as the cleaner compares it;
        // a kept name whose cookie is gone shows nowhere and is dropped at
        // the next save.
        int index = m_listDelete.FindStringExact(-1, keep[i]);
        if (index < 0)
            continue;
        CString name;
        m_listDelete.GetText(index, name); // the folder's own spelling
        m_listDelete.DeleteString(index);
        m_listKeep.AddString(name);
    }
}

void CManageCookies::SaveKeepList()
{
    if (!m_keepListRead)
        return;
    std::vector<CString> names;
    for (int i = 0; i < m_listKeep.GetCount(); i++) {
        CString name;
        m_listKeep.GetText(i, name);
        names.push_back(name);
    }
    if (WriteCookieKeepList(names))
        return;
    ShowError("35045", GetCookieKeepListPath());
    LoadLists();
    SelectFirst();
}

void CManageCookies::SelectFirst()
{
    if (m_listDelete.GetCount() > 0) {
        m_listDelete.SetCurSel(0);
        EnableButtons(TRUE, FALSE, TRUE);
    } else
        EnableButtons(FALSE, FALSE, FALSE);
}

void CManageCookies::EnableButtons(BOOL moveToKeep, BOOL moveToDelete, BOOL view)
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_MOVE_TO_KEEP), moveToKeep && m_keepListRead);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_MOVE_TO_DELETE), moveToDelete && m_keepListRead);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_VIEW_COOKIE), view);
}

void CManageCookies::OnSelectDeleteList()
{
    if (m_listDelete.GetCurSel() < 0)
        return;
    m_listKeep.SetCurSel(-1);
    EnableButtons(TRUE, FALSE, TRUE);
}

void CManageCookies::OnSelectKeepList()
{
    if (m_listKeep.GetCurSel() < 0)
        return;
    m_listDelete.SetCurSel(-1);
    EnableButtons(FALSE, TRUE, TRUE);
}

void CManageCookies::MoveSelected(CListBox& from, CListBox& to)
{
    int index = from.GetCurSel();
    if (index < 0 || !m_keepListRead)
        return;
    CString name;
    from.GetText(index, name);
    from.DeleteString(index);
    to.AddString(name);
    int count = from.GetCount();
    if (count > 0)
        from.SetCurSel(index < count ? index : count - 1);
    SaveKeepList();
    if (from.GetCount() == 0)
        EnableButtons(FALSE, FALSE, FALSE);
}

void CManageCookies::OnMoveToKeep() { MoveSelected(m_listDelete, m_listKeep); }

void CManageCookies::OnMoveToDelete() { MoveSelected(m_listKeep, m_listDelete); }

void CManageCookies::ShowWithOwner(int nCmdShow)
{
    ShowWindow(nCmdShow);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr)
        ::ShowWindow(owner, nCmdShow);
}

void CManageCookies::OnViewCookie()
{
    CString name;
    if (m_listDelete.GetCurSel() >= 0)
        m_listDelete.GetText(m_listDelete.GetCurSel(), name);
    else if (m_listKeep.GetCurSel() >= 0)
        m_listKeep.GetText(m_listKeep.GetCurSel(), name);
    if (name.IsEmpty())
        return;

    CString command = SuiteProgramCommand("Pellory.exe", QuoteArgument(name));
    ShowWithOwner(SW_HIDE);
    int started = RunProgramAndWait(command);
    // The viewer may have deleted or changed cookies.
    LoadLists();
    SelectFirst();
    ShowWithOwner(SW_SHOW);
    if (!started)
        ShowError("35050", command);
}

BOOL CManageCookies::OnEraseBkgnd(CDC* pDC) { return EraseWithGradient(this, pDC); }

HBRUSH CManageCookies::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_STATIC)
        return CThemedDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    int id = pWnd->GetDlgCtrlID();
    return TransparentStaticBrush(pDC, pWnd,
                                  id == IDC_COOKIES_GROUP || id == IDC_COOKIES_PROMPT ||
                                      id == IDC_COOKIES_DELETE_LABEL || id == IDC_COOKIES_KEEP_LABEL);
}
