#include "EraserDlg.h"
#include "PreferencesDlg.h"
#include "ShredderFunctions.h"
#include "aboutdlg.h"
#include "checkmessagebox.h"
#include "language.h"
#include "multifiledialog.h"
#include "services.h"
#include "reportrows.h"
#include "suitehelp.h"
#include "pathlayer.h"
#include "fw/handle.h"

#include <shellapi.h>

namespace {

// The reasons the box can name, by the error the file system gave.
const struct
{
    DWORD error;
    const char* key;
} kWipeFailureReasons[] = {
    {ERROR_SHARING_VIOLATION, "30171"}, {ERROR_LOCK_VIOLATION, "30171"}, {ERROR_ACCESS_DENIED, "30172"},
    {ERROR_FILE_NOT_FOUND, "30173"},    {ERROR_PATH_NOT_FOUND, "30173"},
};

// The wipe says only that it failed, so the file is asked again: opened as the
// wipe opens it (never through a link), and nothing written. An error without
// a text of its own is named in the system's words.
CString WipeFailureReason(const CString& path)
{
    const CString canonical = CanonicalPath(path);
    DWORD error = ERROR_SUCCESS;
    const DWORD attributes = ::GetFileAttributesA(canonical);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = ::GetLastError();
    } else if (attributes & FILE_ATTRIBUTE_READONLY) {
        return GetLngString("Eraser", "30170");
    } else if (!(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        CHandle probe(::CreateFileA(canonical, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!probe.IsValid())
            error = ::GetLastError();
    }
    for (const auto& reason : kWipeFailureReasons)
        if (reason.error == error)
            return GetLngString("Eraser", reason.key);
    char text[512] = "";
    if (error == ERROR_SUCCESS ||
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                         sizeof(text), nullptr) == 0)
        return GetLngString("Eraser", "30174");
    return CString(text).Trim();
}

} // namespace

// ---- CEraserProgressDlg ---------------------------------------------------------

CEraserProgressDlg::CEraserProgressDlg(CWnd* pParent) : CRunProgressDlg(pParent, IDD_PROGRESS, "not found") {}

// ---- CEraserDlg -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CEraserDlg, CThemedDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    FW_MSG_ENTRY(WM_QUERYDRAGICON, *c.pResult = (LRESULT)pThis->OnQueryDragIcon())
    ON_WM_DROPFILES()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_ADD_FILE, OnAddFile)
    ON_BN_CLICKED(IDC_DELETE_FILE, OnDeleteFile)
    ON_UPDATE_COMMAND_UI(IDC_DELETE_FILE, OnUpdateDeleteFile)
    ON_BN_CLICKED(IDC_START_2_WIPE, OnStartWipe)
    ON_COMMAND(ID_PREFERENCES, OnPreferences)
    ON_COMMAND(ID_HELPME, OnHelpMe)
    ON_COMMAND(ID_PIRT_WEBSITE, OnWebsite)
    ON_COMMAND(ID_ABOUT, OnAbout)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CEraserDlg::CEraserDlg(CWnd* pParent) : CThemedDialog(IDD, pParent), m_bRunning(FALSE), m_pRunProgress(nullptr)
{
    m_hIcon = (HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 0, 0,
                                  LR_DEFAULTSIZE);
}

CEraserDlg::~CEraserDlg()
{
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
}

void CEraserDlg::DoDataExchange(CDataExchange* pDX)
{
    CThemedDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DELETE_FILE, m_btnDeleteFile);
    DDX_Control(pDX, IDC_ADD_FILE, m_btnAddFile);
    DDX_Control(pDX, IDC_LIST_FILES, m_listFiles);
}

BOOL CEraserDlg::OnInitDialog()
{
    CThemedDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    InitButtons();
    SetLanguageTexts();
    InstallKeyHook();
    // Popup menus may open from now on.
    CThemedMenu::ResumeMenuHook();
    return TRUE;
}

void CEraserDlg::InitButtons()
{
    m_btnAddFile.AttachThemeHelper(&m_themeHelper);
    m_btnAddFile.SetIconIds(IDI_ADD_FILE, CImageButton::ICON_NONE);
    m_btnAddFile.SetToolbarLook(TRUE, TRUE);
    m_btnAddFile.SetTipText(GetLngString("General", "80600"));

    m_btnDeleteFile.AttachThemeHelper(&m_themeHelper);
    m_btnDeleteFile.SetIconIds(IDI_DELETE_FILE, CImageButton::ICON_NONE);
    m_btnDeleteFile.SetToolbarLook(TRUE, TRUE);
    m_btnDeleteFile.SetTipText(GetLngString("General", "80610"));
}

void CEraserDlg::SetLanguageTexts()
{
    SetWindowLngText(m_hWnd, "General", "20120");
    SetDlgItemLngText(m_hWnd, IDC_STATIC_WARNING, "Eraser", "10100");
    SetDlgItemLngText(m_hWnd, IDC_START_2_WIPE, "Eraser", "10110");
    SetDlgItemLngText(m_hWnd, ID_APP_EXIT, "General", "10100");

    // The themed dialog took the dialog's menu into its default menu.
    if (m_defaultMenu.m_hMenu == nullptr)
        return;
    // Menu bar entries by position, padded; items by command id.
    static const char* const barKeys[] = {"10000", "12000", "16000", "18000"};
    for (UINT i = 0; i < 4; i++)
        SetMenuLngText(&m_defaultMenu, i, MF_BYPOSITION, "General", barKeys[i], 1);

    static const struct
    {
        UINT id;
        const char* key;
        UINT icon;
    } items[] = {
        {ID_APP_EXIT, "10100", IDI_EXIT},
        {IDC_ADD_FILE, "80600", IDI_ADD_FILE},
        {IDC_DELETE_FILE, "80610", IDI_DELETE_FILE},
        {ID_PREFERENCES, "16100", IDI_PREFERENCES},
        {ID_HELPME, "18010", IDI_HELPME},
        {ID_PIRT_WEBSITE, "18020", IDI_WEBSITE},
        {ID_ABOUT, "18100", IDI_ABOUT},
    };
    for (const auto& item : items) {
        SetMenuLngText(&m_defaultMenu, item.id, MF_BYCOMMAND, "General", item.key, 0);
        // Named by resource: read when a popup first shows them.
        m_defaultMenu.SetItemIcon(item.id, AfxGetResourceHandle(), item.icon);
    }
    DrawMenuBar();
}

CString CEraserDlg::GetAppName() const
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pszAppName != nullptr)
        return pApp->m_pszAppName;
    return "eraser";
}

int CEraserDlg::ShowMessage(const CString& text, const CString& caption, UINT type)
{
    return ::MessageBoxA(m_hWnd, text, caption, type);
}

int CEraserDlg::AskConfirmation(const CString& text, const CString& caption, UINT type)
{
    return CheckMessageBox(m_hWnd, text, caption, type);
}

void CEraserDlg::OnRunEnding(CEraserProgressDlg*) {}

BOOL CEraserDlg::FilterKey(const MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_DELETE &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        OnDeleteFile();
        return TRUE;
    }
    return FALSE;
}

BOOL CEraserDlg::PreTranslateMessage(MSG* pMsg)
{
    if (FilterKey(pMsg))
        return TRUE;
    return CThemedDialog::PreTranslateMessage(pMsg);
}

namespace {
// The dialog whose keys the message filter sees (one per thread).
thread_local CEraserDlg* t_pKeyDialog = nullptr;
thread_local HHOOK t_hKeyHook = nullptr;
} // namespace

// A modal dialog's own message loop calls no PreTranslateMessage; the
// dialog manager's message filter sees its keys instead.
LRESULT CALLBACK CEraserDlg::KeyFilterProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == MSGF_DIALOGBOX && t_pKeyDialog != nullptr && t_pKeyDialog->FilterKey((const MSG*)lParam))
        return TRUE;
    return ::CallNextHookEx(t_hKeyHook, nCode, wParam, lParam);
}

void CEraserDlg::InstallKeyHook()
{
    if (t_hKeyHook != nullptr)
        return;
    t_pKeyDialog = this;
    t_hKeyHook = ::SetWindowsHookExA(WH_MSGFILTER, KeyFilterProc, nullptr, ::GetCurrentThreadId());
}

void CEraserDlg::RemoveKeyHook()
{
    if (t_pKeyDialog != this)
        return;
    if (t_hKeyHook != nullptr)
        ::UnhookWindowsHookEx(t_hKeyHook);
    t_hKeyHook = nullptr;
    t_pKeyDialog = nullptr;
}

void CEraserDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
        OnAbout();
    else
        CThemedDialog::OnSysCommand(nID, lParam);
}

void CEraserDlg::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(m_hWnd);
        SendMessage(WM_ICONERASEBKGND, (WPARAM)dc.GetSafeHdc(), 0);
        int cxIcon = ::GetSystemMetrics(SM_CXICON);
        int cyIcon = ::GetSystemMetrics(SM_CYICON);
        RECT rect;
        GetClientRect(&rect);
        int x = (rect.right - rect.left - cxIcon + 1) / 2;
        int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CThemedDialog::OnPaint();
    }
}

HCURSOR CEraserDlg::OnQueryDragIcon() { return (HCURSOR)m_hIcon; }

void CEraserDlg::OnDestroy()
{
    RemoveKeyHook();
    CThemedDialog::OnDestroy();
    m_progressDlgs.clear();
}

void CEraserDlg::OnUpdateDeleteFile(CCmdUI* pCmdUI) { pCmdUI->Enable(m_listFiles.GetCount() > 0); }

void CEraserDlg::EnableRunButtons(BOOL bEnable)
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_DELETE_FILE), bEnable);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_START_2_WIPE), bEnable);
}

void CEraserDlg::AppendPath(const CString& path)
{
    int index = m_listFiles.InsertString(m_listFiles.GetCount(), path);
    if (index >= 0)
        m_listFiles.SetCurSel(index);
    EnableRunButtons(TRUE);
}

std::vector<CString> CEraserDlg::GetPaths() const
{
    std::vector<CString> paths;
    int count = m_listFiles.GetCount();
    for (int i = 0; i < count; i++) {
        CString path;
        m_listFiles.GetText(i, path);
        paths.push_back(path);
    }
    return paths;
}

void CEraserDlg::OnAddFile()
{
    if (m_bRunning)
        return;
    CString filter = GetLngString("General", "40100");
    CMultiFileDialog dlg(TRUE, filter, nullptr,
                         OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_NODEREFERENCELINKS, filter,
                         nullptr);
    if (dlg.DoModal() != IDOK)
        return;
    POSITION pos = dlg.GetStartPosition();
    BOOL bAdded = FALSE;
    while (pos != nullptr) {
        CString path = dlg.GetNextPathName(pos);
        if (path.IsEmpty())
            continue;
        m_listFiles.InsertString(m_listFiles.GetCount(), path);
        bAdded = TRUE;
    }
    if (bAdded) {
        m_listFiles.SetCurSel(m_listFiles.GetCount() - 1);
        EnableRunButtons(TRUE);
    }
}

void CEraserDlg::OnDropFiles(HDROP hDropInfo)
{
    if (m_bRunning) {
        ::DragFinish(hDropInfo);
        return;
    }
    UpdateData(TRUE);
    DragAcceptFiles(FALSE);
    UINT count = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    BOOL bAdded = FALSE;
    for (UINT i = 0; i < count; i++) {
        // Each path is read whole, whatever its length: a cut path could name
        // another file.
        UINT length = ::DragQueryFileA(hDropInfo, i, nullptr, 0);
        if (length == 0)
            continue;
        std::vector<char> buffer(length + 1);
        if (::DragQueryFileA(hDropInfo, i, buffer.data(), length + 1) != length)
            continue;
        m_listFiles.InsertString(m_listFiles.GetCount(), buffer.data());
        bAdded = TRUE;
    }
    if (bAdded) {
        m_listFiles.SetCurSel(m_listFiles.GetCount() - 1);
        EnableRunButtons(TRUE);
    }
    ::DragFinish(hDropInfo);
    DragAcceptFiles(TRUE);
}

void CEraserDlg::OnDeleteFile()
{
    if (m_bRunning)
        return;
    UpdateData(TRUE);
    int index = m_listFiles.GetCurSel();
    if (index == LB_ERR)
        return;
    m_listFiles.DeleteString(index);
    int count = m_listFiles.GetCount();
    if (count == 0) {
        EnableRunButtons(FALSE);
        return;
    }
    m_listFiles.SetCurSel(index >= count ? count - 1 : index);
}

void CEraserDlg::OnStartWipe()
{
    if (m_bRunning || m_listFiles.GetCount() == 0)
        return;
    if (GetIniBool("Preferences", "SecurityDelConfirm", INI_PLIMVET)) {
        int result = AskConfirmation(GetLngString("Eraser", "10400"), GetAppName(),
                                     MB_YESNO | MB_ICONQUESTION | MB_DONT_ASK_AGAIN);
        if ((result & 0xFFFF) != IDYES)
            return;
        WipeListedFiles();
        if (result & MB_DONT_ASK_AGAIN)
            WriteIniString("Preferences", "SecurityDelConfirm", "no", INI_PLIMVET);
        return;
    }
    WipeListedFiles();
}

void CEraserDlg::WipeListedFiles()
{
    if (m_bRunning)
        return;
    m_bRunning = TRUE;
    CShredderFunctions shredder;
    HCURSOR hOldCursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    CString plimvet = GetIniPath(INI_PLIMVET);
    ShowWindow(SW_HIDE);

    std::unique_ptr<CEraserProgressDlg> progress(new CEraserProgressDlg(this));
    if (!progress->CreateModeless(this)) {
        // Without the window there is nowhere to report: nothing is wiped and
        // the list stays as it was.
        ShowWindow(SW_SHOW);
        ::SetCursor(hOldCursor);
        m_bRunning = FALSE;
        return;
    }
    m_pRunProgress = progress.get();
    progress->ShowWindow(SW_SHOW);
    progress->CenterWindow();
    progress->RedrawWindow();

    CListCtrl* pList = progress->GetReportList();
    static const UINT rowIcons[3] = {IDI_ROW_DONE, IDI_ROW_FAILED, IDI_ROW_WORKING};
    progress->SetUpReportList(rowIcons);
    CProgressCtrl* pPassBar = progress->GetOperationBar();
    CProgressCtrl* pOverall = progress->GetOverallBar();

    int count = m_listFiles.GetCount();
    pOverall->SetRange32(0, count);
    pOverall->SetStep(1);
    pOverall->SetPos(0);

    int passes = (int)::GetPrivateProfileIntA("Pirt", "OverwritePasses", 10, GetIniPath(INI_PIRT));

    // The count is read again each time: the list is the run's only source.
    for (int i = 0; i < m_listFiles.GetCount(); i++) {
        CString path;
        m_listFiles.GetText(i, path);
        if (!shredder.WipeFile(path, passes, pList, pPassBar)) {
            // The failed rows and the pass bar (held by the shredder) are
            // seen beside the message.
            ShowReportRows(pList, pPassBar);
            CString text;
            text.Format("%s %s\n%s", (const char*)GetLngString("Eraser", "20000"), (const char*)path,
                        (const char*)WipeFailureReason(path));
            ShowMessage(text, GetLngString("General", "30040"), MB_OK | MB_ICONERROR);
        }
        pOverall->StepIt();
    }

    ShowReportRows(pList);
    OnRunEnding(progress.get());
    progress->ShowWindow(SW_HIDE);
    progress->DestroyWindow();
    m_pRunProgress = nullptr;
    m_progressDlgs.push_back(std::move(progress));

    m_listFiles.ResetContent();
    EnableRunButtons(FALSE);

    ShowMessage(GetLngString("General", "51000"), GetAppName(), MB_OK | MB_ICONINFORMATION);

    m_bRunning = FALSE;
    char closeAfter[256];
    ::GetPrivateProfileStringA("Preferences", "CloseAfterKill", "no", closeAfter, sizeof(closeAfter), plimvet);
    if (lstrcmpA(closeAfter, "yes") == 0)
        SendMessage(WM_CLOSE);
    else
        ShowWindow(SW_SHOW);
    ::SetCursor(hOldCursor);
}

void CEraserDlg::OnPreferences()
{
    CPreferencesDlg sheet(GetLngString("General", "30200"), nullptr, 0);
    RunPreferencesSheet(sheet, this);
}

void CEraserDlg::OnHelpMe()
{
    // Quoted, so a program folder with blanks reaches the viewer whole.
    g_pfnShellExecute(m_hWnd, "open", "hh.exe", CString("\"") + SuiteHelpFile() + "\"", nullptr, SW_SHOWNORMAL);
}

void CEraserDlg::OnWebsite() { g_pfnShellExecute(m_hWnd, "open", SuiteWebPage(), nullptr, nullptr, SW_SHOWNORMAL); }

void CEraserDlg::OnAppExit() { SendMessage(WM_CLOSE); }

void CEraserDlg::OnAbout()
{
    CAboutDlg dlg(this);
    dlg.DoModal();
}
