// The trace list and the cleaning run.
#include "BrisvaneView.h"
#include "fw/handle.h"
#include "BrisvaneDoc.h"
#include "Settings.h"
#include "resource.h"
#include "checkmessagebox.h"
#include "progressdlg.h"
#include "BrowserFunctions.h"
#include "SystemFunctions.h"

PFN_EXITWINDOWSEX g_pfnExitWindowsEx = ::ExitWindowsEx;
PFN_RUNOBSERVER g_pfnRunObserver = nullptr;

namespace {

struct TraceRow
{
    const char* itemKey;    // [General] key of Brisvane.ini holding the tick
    const char* nameKey;    // [Brisvane] language keys
    const char* descKey;
    int icon;               // index in the row icon list
};

const TraceRow kBrowserRows[BROWSER_ROW_COUNT] = {
    {"DropList", "20500", "20510", 11},
    {"History", "20520", "20530", 12},
    {"VisitedLinks", "20540", "20550", 13},
    {"CompleteForms", "20560", "20570", 14},
    {"CompletePW", "20580", "20590", 15},
    {"INetTempFiles", "20600", "20610", 17},
    {"Cookies", "20620", "20630", 18},
    {"IndexDat", "20640", "20650", 16},
    {"DownloadHistory", "20660", "20670", 12},
};

const TraceRow kSystemRows[SYSTEM_ROW_COUNT] = {
    {"RecycleBin", "10100", "10110", 0},
    {"Clipboard", "10120", "10130", 1},
    {"TempFiles", "10140", "10150", 2},
    {"LogFiles", "10160", "10170", 3},
    {"MemoryDump", "10180", "10190", 4},
    {"SwapFile", "10200", "10210", 5},
    {"FileFragments", "10220", "10230", 6},
    {"Prefetcher", "10240", "10250", 7},
    {"MRULists", "10500", "10510", 8},
    {"MFUList", "10520", "10530", 8},
    {"LocalSearch", "10540", "10550", 9},
    {"Search4Computers", "10560", "10570", 9},
    {"RunMRU", "10580", "10590", 10},
};

const UINT kRowIconIds[] = {164, 155, 160, 161, 154, 158, 156, 163, 166, 162,
                            165, 172, 178, 179, 177, 180, 175, 174, 173, 173};

const UINT kReportIconIds[] = {IDI_REPORT_DONE, IDI_REPORT_FAILED, IDI_REPORT_WORKING};

HICON LoadSmallIcon(UINT id)
{
    return (HICON)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0);
}

// Which group and position a row index stands for.
enum RowGroup { GROUP_NONE, GROUP_BROWSER, GROUP_SYSTEM };

RowGroup Locate(int row, int browserShown, int systemShown, int* pos)
{
    if (row < 0)
        return GROUP_NONE;
    if (browserShown) {
        if (row < BROWSER_ROW_COUNT) {
            *pos = row;
            return GROUP_BROWSER;
        }
        row -= BROWSER_ROW_COUNT;
    }
    if (systemShown && row < SYSTEM_ROW_COUNT) {
        *pos = row;
        return GROUP_SYSTEM;
    }
    return GROUP_NONE;
}

} // namespace

IMPLEMENT_DYNCREATE(CBrisvaneView, CListView)

BEGIN_MESSAGE_MAP(CBrisvaneView, CListView)
    ON_COMMAND(ID_CHECK_ALL, OnSelectAll)
    ON_UPDATE_COMMAND_UI(ID_CHECK_ALL, OnUpdateSelectAll)
    ON_COMMAND(ID_UNCHECK_ALL, OnSelectNone)
    ON_UPDATE_COMMAND_UI(ID_UNCHECK_ALL, OnUpdateSelectNone)
    ON_COMMAND(ID_EXECUTE_NOW, OnClean)
    ON_UPDATE_COMMAND_UI(ID_EXECUTE_NOW, OnUpdateClean)
    ON_COMMAND(ID_SHOW_BROWSER_TRACES, OnShowBrowserTraces)
    ON_UPDATE_COMMAND_UI(ID_SHOW_BROWSER_TRACES, OnUpdateShowBrowserTraces)
    ON_COMMAND(ID_SHOW_SYSTEM_TRACES, OnShowSystemTraces)
    ON_UPDATE_COMMAND_UI(ID_SHOW_SYSTEM_TRACES, OnUpdateShowSystemTraces)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

CBrisvaneView::CBrisvaneView()
    : m_initialising(1), m_browserRowsShown(0), m_systemRowsShown(0), m_restartPending(0)
{
}

CBrisvaneView::~CBrisvaneView()
{
}

BOOL CBrisvaneView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= LVS_REPORT | LVS_SHOWSELALWAYS;
    return CListView::PreCreateWindow(cs);
}

void CBrisvaneView::OnInitialUpdate()
{
    CListView::OnInitialUpdate();
    if (!m_initialising)
        return;
    SetupColumns();
    FillList();
    ApplyStoredChecks();
    m_initialising = 0;
}

void CBrisvaneView::SetupColumns()
{
    CListCtrl& list = GetListCtrl();
    list.InsertColumn(0, GetLngString("General", "40500"), LVCFMT_LEFT, 170);
    list.InsertColumn(1, GetLngString("General", "40510"), LVCFMT_LEFT, 550);
    list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    m_rowIcons.Create(16, 16, ILC_COLOR32 | ILC_MASK, 23, 0);
    for (size_t i = 0; i < sizeof(kRowIconIds) / sizeof(kRowIconIds[0]); ++i) {
        HICON icon = LoadSmallIcon(kRowIconIds[i]);
        m_rowIcons.Add(icon);
        if (icon)
            DestroyIcon(icon);
    }
    list.SetImageList(&m_rowIcons, LVSIL_SMALL);
}

void CBrisvaneView::FillList()
{
    m_browserRowsShown = ReadYes("Brisvane", "ShowBrowserTraces");
    m_systemRowsShown = ReadYes("Brisvane", "ShowSystemTraces");
    CListCtrl& list = GetListCtrl();
    list.DeleteAllItems();
    int index = 0;
    // The stored ticks are applied afterwards: filling must not store them.
    int wasInitialising = m_initialising;
    m_initialising = 1;
    if (m_browserRowsShown) {
        for (int i = 0; i < BROWSER_ROW_COUNT; ++i, ++index) {
            list.InsertItem(index, GetLngString("Brisvane", kBrowserRows[i].nameKey), kBrowserRows[i].icon);
            list.SetItemText(index, 1, GetLngString("Brisvane", kBrowserRows[i].descKey));
        }
    }
    if (m_systemRowsShown) {
        for (int i = 0; i < SYSTEM_ROW_COUNT; ++i, ++index) {
            list.InsertItem(index, GetLngString("Brisvane", kSystemRows[i].nameKey), kSystemRows[i].icon);
            list.SetItemText(index, 1, GetLngString("Brisvane", kSystemRows[i].descKey));
        }
    }
    m_initialising = wasInitialising;
}

const char* CBrisvaneView::ItemKeyOf(int row) const
{
    int pos = 0;
    switch (Locate(row, m_browserRowsShown, m_systemRowsShown, &pos)) {
    case GROUP_BROWSER: return kBrowserRows[pos].itemKey;
    case GROUP_SYSTEM:  return kSystemRows[pos].itemKey;
    default:            return nullptr;
    }
}

int CBrisvaneView::ReadItemCheck(int row)
{
    const char* key = ItemKeyOf(row);
    return (key && ReadYes("General", key)) ? 2 : 1;
}

void CBrisvaneView::WriteItemCheck(int row, int checked)
{
    const char* key = ItemKeyOf(row);
    if (key)
        WriteYesNo("General", key, checked);
}

void CBrisvaneView::ApplyStoredChecks()
{
    CListCtrl& list = GetListCtrl();
    int wasInitialising = m_initialising;
    m_initialising = 1;
    for (int i = 0; i < list.GetItemCount(); ++i)
        list.SetItemState(i, INDEXTOSTATEIMAGEMASK(ReadItemCheck(i)), LVIS_STATEIMAGEMASK);
    m_initialising = wasInitialising;
}

int CBrisvaneView::IsRowChecked(int row)
{
    return (GetListCtrl().GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

int CBrisvaneView::CountRows(int stateImage)
{
    CListCtrl& list = GetListCtrl();
    int n = 0;
    for (int i = 0; i < list.GetItemCount(); ++i)
        if ((int)(list.GetItemState(i, LVIS_STATEIMAGEMASK) >> 12) == stateImage)
            ++n;
    return n;
}

void CBrisvaneView::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    NMLISTVIEW* nm = (NMLISTVIEW*)pNMHDR;
    if ((nm->uOldState == 0 && nm->uNewState == 0) || m_initialising)
        return;
    UINT oldImage = (nm->uOldState & LVIS_STATEIMAGEMASK) >> 12;
    UINT newImage = (nm->uNewState & LVIS_STATEIMAGEMASK) >> 12;
    // An absent image counts as unchecked.
    int oldChecked = oldImage == 2;
    int newChecked = newImage == 2;
    if (oldChecked == newChecked)
        return;
    WriteItemCheck(nm->iItem, newChecked);
}

void CBrisvaneView::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* cd = (NMLVCUSTOMDRAW*)pNMHDR;
    *pResult = CDRF_DODEFAULT;
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *pResult = CDRF_NOTIFYITEMDRAW;
    } else if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        cd->clrTextBk = (cd->nmcd.dwItemSpec & 1) ? RGB(244, 244, 253) : RGB(255, 255, 255);
        *pResult = CDRF_DODEFAULT;
    }
}

void CBrisvaneView::OnSelectAll()
{
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        list.SetItemState(i, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
        WriteItemCheck(i, 1);
    }
}

void CBrisvaneView::OnUpdateSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CountRows(1) > 0);
}

void CBrisvaneView::OnSelectNone()
{
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        list.SetItemState(i, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
        WriteItemCheck(i, 0);
    }
}

void CBrisvaneView::OnUpdateSelectNone(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CountRows(2) > 0);
}

void CBrisvaneView::OnUpdateClean(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CountRows(2) > 0);
}

void CBrisvaneView::OnShowBrowserTraces()
{
    WriteYesNo("Brisvane", "ShowBrowserTraces", !ReadYes("Brisvane", "ShowBrowserTraces"));
    FillList();
    ApplyStoredChecks();
}

void CBrisvaneView::OnUpdateShowBrowserTraces(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(ReadYes("Brisvane", "ShowBrowserTraces"));
}

void CBrisvaneView::OnShowSystemTraces()
{
    WriteYesNo("Brisvane", "ShowSystemTraces", !ReadYes("Brisvane", "ShowSystemTraces"));
    FillList();
    ApplyStoredChecks();
}

void CBrisvaneView::OnUpdateShowSystemTraces(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(ReadYes("Brisvane", "ShowSystemTraces"));
}

void CBrisvaneView::OnClean()
{
    if (ReadYes("Preferences", "SecurityDelConfirm")) {
        int answer = CheckMessageBox(m_hWnd, GetLngString("Brisvane", "50000"), AppTitle(),
                                     MB_YESNO | MB_ICONQUESTION | MB_DONT_ASK_AGAIN);
        if (LOWORD(answer) != IDYES)
            return;
        if (answer & MB_DONT_ASK_AGAIN)
            WriteYesNo("Preferences", "SecurityDelConfirm", 0);
    }

    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd)
        mainWnd->ShowWindow(SW_HIDE);

    CImageList reportIcons;
    reportIcons.Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (size_t i = 0; i < sizeof(kReportIconIds) / sizeof(kReportIconIds[0]); ++i) {
        HICON icon = LoadSmallIcon(kReportIconIds[i]);
        reportIcons.Add(icon);
        if (icon)
            DestroyIcon(icon);
    }

    CProgressDlg progress(nullptr, IDD_PROGRESS);
    if (!progress.CreateModeless(nullptr)) {
        // Without the dialog there is nowhere to report: nothing is cleaned.
        if (mainWnd)
            mainWnd->ShowWindow(SW_SHOW);
        return;
    }
    progress.ShowWindow(SW_SHOW);
    progress.CenterWindow(CWnd::GetDesktopWindow());
    progress.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CListCtrl* report = progress.GetReportList();
    CProgressCtrl* overall = progress.GetOverallBar();
    CProgressCtrl* perOperation = progress.GetOperationBar();
    report->InsertColumn(0, "Progress", LVCFMT_LEFT, 700);
    report->SetImageList(&reportIcons, LVSIL_SMALL);

    overall->SetRange32(0, CountRows(2));
    overall->SetStep(1);
    overall->SetPos(0);

    CListCtrl& list = GetListCtrl();
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (!IsRowChecked(row))
            continue;
        CleanItem(row, report, perOperation);
        overall->StepIt();
        if (g_pfnRunObserver)
            g_pfnRunObserver(&progress, row);
    }

    // The list would destroy an image list it owns; ours is freed by its object.
    report->SetImageList(nullptr, LVSIL_SMALL);
    progress.ShowWindow(SW_HIDE);
    progress.DestroyWindow();

    if (m_restartPending) {
        m_restartPending = 0;
        if (OfferRestart())
            return;
    }

    if (!mainWnd)
        return;
    // The frame is closed through the queue: it must not be destroyed while
    // this handler still runs on it.
    if (ReadYes("Preferences", "CloseAfterKill"))
        mainWnd->PostMessage(WM_CLOSE);
    else
        mainWnd->ShowWindow(SW_SHOW);
}

BOOL CBrisvaneView::OfferRestart()
{
    CString title = AppTitle();
    if (::MessageBoxA(m_hWnd, GetLngString("General", "40810"), title, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;

    CHandle token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Receive())) {
        TOKEN_PRIVILEGES tp;
        ZeroMemory(&tp, sizeof(tp));
        if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid)) {
            tp.PrivilegeCount = 1;
            tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
        }
    }
    // One ordinary restart: forcing it would end other programs without
    // letting them save their work.
    if (!g_pfnExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_FLAG_PLANNED)) {
        ::MessageBoxA(m_hWnd, GetLngString("Brisvane", "50010"), title, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd)
        mainWnd->PostMessage(WM_CLOSE);
    return TRUE;
}

void CBrisvaneView::ScheduleIndexDatCleaning()
{
    CRegistryKey key;
    key.SetRootKey(HKEY_CURRENT_USER);
    if (key.SetKey(CString(RUNONCE_KEY), TRUE))
        key.WriteString(CString(STARTUP_VALUE_NAME), StartupCleanerCommand());
}

void CBrisvaneView::CleanItem(int row, CListCtrl* list, CProgressCtrl* progress)
{
    int pos = 0;
    RowGroup group = Locate(row, m_browserRowsShown, m_systemRowsShown, &pos);
    if (group == GROUP_NONE)
        return;

    CSystemFunctions sys;
    CBrowserFunctions browser;
    const int ie = ReadYes("Preferences", "DeleteIETraces");
    const int opera = ReadYes("Preferences", "DeleteOperaTraces");
    const int firefox = ReadYes("Preferences", "DeleteFirefoxTraces");
    const int chrome = ReadYes("Preferences", "DeleteChromeTraces");
    const int safari = ReadYes("Preferences", "DeleteSafariTraces");
    const CString noProfile("");

    if (group == GROUP_BROWSER) {
        switch (pos) {
        case 0:
            if (ie) browser.IEDropList(list, progress);
            if (opera) browser.OperaDropList(list, progress);
            if (firefox) browser.FirefoxDropList(list, progress, 0, noProfile);
            if (chrome) browser.ChromeDropList(list, progress);
            if (safari) browser.SafariHistory(list, progress);
            break;
        case 1:
            if (ie) browser.IEHistory(list, progress);
            if (opera) browser.OperaHistory(list, progress);
            if (firefox) browser.FirefoxHistory(list, progress, 0, noProfile);
            if (chrome) browser.ChromeHistory(list, progress);
            if (safari) browser.SafariHistory(list, progress);
            break;
        case 2:
            if (ie) browser.IEHistory(list, progress);
            if (opera) browser.OperaVisitedLinks(list, progress);
            if (firefox) browser.FirefoxHistory(list, progress, 0, noProfile);
            if (chrome) browser.ChromeVisitedLinks(list, progress);
            if (safari) browser.SafariVisitedLinks(list, progress);
            break;
        case 3:
            if (ie) browser.IECompleteForms(list, progress);
            if (firefox) browser.FirefoxCompleteForms(list, progress, 0, noProfile);
            if (chrome) browser.ChromeCompleteForms(list, progress);
            if (safari) browser.SafariCompleteForms(list, progress);
            break;
        case 4:
            if (ie) browser.IECompletePW(list, progress);
            if (opera) browser.OperaCompletePW(list, progress);
            if (firefox) browser.FirefoxCompletePW(list, progress, 0, noProfile);
            if (chrome) browser.ChromeCompletePW(list, progress);
            if (safari) browser.SafariCompletePW(list, progress);
            break;
        case 5:
            if (ie) browser.IETemp(list, progress);
            if (opera) browser.OperaTemp(list, progress);
            if (firefox) browser.FirefoxTemp(list, progress, 0, noProfile);
            if (chrome) browser.ChromeTemp(list, progress);
            if (safari) browser.SafariTemp(list, progress);
            break;
        case 6:
            if (ie) browser.IECookies(list, progress);
            if (opera) browser.OperaCookies(list, progress);
            if (firefox) browser.FirefoxCookies(list, progress, 0, noProfile);
            if (chrome) browser.ChromeCookies(list, progress);
            if (safari) browser.SafariCookies(list, progress);
            break;
        case 7:
            if (ie) {
                ScheduleIndexDatCleaning();
                m_restartPending = 1;
            }
            break;
        case 8:
            if (opera) browser.OperaDLList(list, progress);
            if (firefox) browser.FirefoxDLList(list, progress, 0, noProfile);
            if (chrome) browser.ChromeDLList(list, progress);
            if (safari) browser.SafariDLList(list, progress);
            break;
        }
        return;
    }

    switch (pos) {
    case 0:  sys.EmptyRecycleBin(list, progress); break;
    case 1:  sys.EmptyClipboardContent(list, progress); break;
    case 2:  sys.DeleteWinTempFiles(list, progress); break;
    case 3:  sys.DeleteWindowsLogFiles(list, progress); break;
    case 4:  sys.DeleteMemoryDump(list, progress); break;
    case 5:  sys.DeleteSwapFile(list, progress); break;
    case 6:  sys.DeleteFileFragments(list, progress); break;
    case 7:  sys.EmptyWindowsPrefetcher(list, progress); break;
    case 8:  sys.DeleteMRULists(list, progress); break;
    case 9:  sys.DeleteMFUList(list, progress); break;
    case 10: sys.DeleteLocalSearch(list, progress); break;
    case 11: sys.DeleteSearch4Computers(list, progress); break;
    case 12: sys.DeleteRunMRU(list, progress); break;
    }
}
