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
#include "smallicons.h"
#include "listcolumns.h"
#include "pathlayer.h"
#include "reportrows.h"

PFN_EXITWINDOWSEX g_pfnExitWindowsEx = ::ExitWindowsEx;
PFN_RUNOBSERVER g_pfnRunObserver = nullptr;

namespace {

typedef int (CBrowserFunctions::*BrowserCall)(CListCtrl* list, CProgressCtrl* progress);
typedef int (CBrowserFunctions::*FirefoxCall)(CListCtrl* list, CProgressCtrl* progress, unsigned int browser,
                                              CString profileName);
typedef int (CSystemFunctions::*SystemCall)(CListCtrl* list, CProgressCtrl* progress);

// What a browser row cleans in each browser, in the order the run calls
// them; nullptr where a browser keeps no such trace.
struct BrowserCalls
{
    BrowserCall ie;
    BrowserCall opera;
    FirefoxCall firefox;
    BrowserCall chrome;
    BrowserCall safari;
};

// One row of the trace list and the operations it stands for: the row and
// its operations cannot come apart.
struct TraceRow
{
    const char* itemKey; // [General] key of Brisvane.ini holding the tick
    const char* nameKey; // [Brisvane] language keys
    const char* descKey;
    int icon;              // index in the row icon list
    BrowserCalls browsers; // browser rows
    SystemCall system;     // system rows
    int ieAtRestart;       // Internet Explorer's part runs at the next start-up
};

typedef CBrowserFunctions B;
typedef CSystemFunctions S;

// One row per line: the table reads as the list the user sees.
// clang-format off
const TraceRow kBrowserRows[BROWSER_ROW_COUNT] = {
    {"DropList", "20500", "20510", 11,
     {&B::IEDropList, &B::OperaDropList, &B::FirefoxDropList, &B::ChromeDropList, &B::SafariHistory}, nullptr, 0},
    {"History", "20520", "20530", 12,
     {&B::IEHistory, &B::OperaHistory, &B::FirefoxHistory, &B::ChromeHistory, &B::SafariHistory}, nullptr, 0},
    {"VisitedLinks", "20540", "20550", 13,
     {&B::IEHistory, &B::OperaVisitedLinks, &B::FirefoxHistory, &B::ChromeVisitedLinks, &B::SafariVisitedLinks},
     nullptr, 0},
    {"CompleteForms", "20560", "20570", 14,
     {&B::IECompleteForms, nullptr, &B::FirefoxCompleteForms, &B::ChromeCompleteForms, &B::SafariCompleteForms},
     nullptr, 0},
    {"CompletePW", "20580", "20590", 15,
     {&B::IECompletePW, &B::OperaCompletePW, &B::FirefoxCompletePW, &B::ChromeCompletePW, &B::SafariCompletePW},
     nullptr, 0},
    {"INetTempFiles", "20600", "20610", 17,
     {&B::IETemp, &B::OperaTemp, &B::FirefoxTemp, &B::ChromeTemp, &B::SafariTemp}, nullptr, 0},
    {"Cookies", "20620", "20630", 18,
     {&B::IECookies, &B::OperaCookies, &B::FirefoxCookies, &B::ChromeCookies, &B::SafariCookies}, nullptr, 0},
    {"IndexDat", "20640", "20650", 16, {nullptr, nullptr, nullptr, nullptr, nullptr}, nullptr, 1},
    {"DownloadHistory", "20660", "20670", 12,
     {nullptr, &B::OperaDLList, &B::FirefoxDLList, &B::ChromeDLList, &B::SafariDLList}, nullptr, 0},
};

const TraceRow kSystemRows[SYSTEM_ROW_COUNT] = {
    {"RecycleBin", "10100", "10110", 0, {}, &S::EmptyRecycleBin, 0},
    {"Clipboard", "10120", "10130", 1, {}, &S::EmptyClipboardContent, 0},
    {"TempFiles", "10140", "10150", 2, {}, &S::DeleteWinTempFiles, 0},
    {"LogFiles", "10160", "10170", 3, {}, &S::DeleteWindowsLogFiles, 0},
    {"MemoryDump", "10180", "10190", 4, {}, &S::DeleteMemoryDump, 0},
    {"SwapFile", "10200", "10210", 5, {}, &S::DeleteSwapFile, 0},
    {"FileFragments", "10220", "10230", 6, {}, &S::DeleteFileFragments, 0},
    {"Prefetcher", "10240", "10250", 7, {}, &S::EmptyWindowsPrefetcher, 0},
    {"MRULists", "10500", "10510", 8, {}, &S::DeleteMRULists, 0},
    {"MFUList", "10520", "10530", 8, {}, &S::DeleteMFUList, 0},
    {"LocalSearch", "10540", "10550", 9, {}, &S::DeleteLocalSearch, 0},
    {"Search4Computers", "10560", "10570", 9, {}, &S::DeleteSearch4Computers, 0},
    {"RunMRU", "10580", "10590", 10, {}, &S::DeleteRunMRU, 0},
};

// clang-format on

const UINT kRowIconIds[] = {164, 155, 160, 161, 154, 158, 156, 163, 166, 162,
                            165, 172, 178, 179, 177, 180, 175, 174, 173, 173};

const UINT kReportIconIds[3] = {IDI_REPORT_DONE, IDI_REPORT_FAILED, IDI_REPORT_WORKING};

// The table row a list row stands for under the groups shown; nullptr
// beyond the last row.
const TraceRow* RowAt(int row, int browserShown, int systemShown)
{
    if (row < 0)
        return nullptr;
    if (browserShown) {
        if (row < BROWSER_ROW_COUNT)
            return &kBrowserRows[row];
        row -= BROWSER_ROW_COUNT;
    }
    if (systemShown && row < SYSTEM_ROW_COUNT)
        return &kSystemRows[row];
    return nullptr;
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

CBrisvaneView::CBrisvaneView() : m_initialising(1), m_browserRowsShown(0), m_systemRowsShown(0), m_restartPending(0) {}

CBrisvaneView::~CBrisvaneView() {}

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
    m_initialising = 0;
}

void CBrisvaneView::SetupColumns()
{
    CListCtrl& list = GetListCtrl();
    list.InsertColumn(0, GetLngString("General", "40500"), LVCFMT_LEFT, 170);
    list.InsertColumn(1, GetLngString("General", "40510"), LVCFMT_LEFT, 550);
    list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    CreateSmallIconList(m_rowIcons, kRowIconIds);
    list.SetImageList(&m_rowIcons, LVSIL_SMALL);
}

void CBrisvaneView::FillList()
{
    m_browserRowsShown = ReadYes("Brisvane", "ShowBrowserTraces");
    m_systemRowsShown = ReadYes("Brisvane", "ShowSystemTraces");
    CListCtrl& list = GetListCtrl();
    // One repaint for the whole list instead of one per row and tick.
    list.SetRedraw(FALSE);
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
    ApplyStoredChecks();
    // Names and descriptions are shown whole in every language.
    WidenColumnsToContent(list);
    list.SetRedraw(TRUE);
    list.Invalidate();
}

const char* CBrisvaneView::ItemKeyOf(int row) const
{
    const TraceRow* traceRow = RowAt(row, m_browserRowsShown, m_systemRowsShown);
    return traceRow ? traceRow->itemKey : nullptr;
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

int CBrisvaneView::IsRowChecked(int row) { return (GetListCtrl().GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 2; }

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

void CBrisvaneView::OnUpdateSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(CountRows(1) > 0); }

void CBrisvaneView::OnSelectNone()
{
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        list.SetItemState(i, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
        WriteItemCheck(i, 0);
    }
}

void CBrisvaneView::OnUpdateSelectNone(CCmdUI* pCmdUI) { pCmdUI->Enable(CountRows(2) > 0); }

void CBrisvaneView::OnUpdateClean(CCmdUI* pCmdUI) { pCmdUI->Enable(CountRows(2) > 0); }

void CBrisvaneView::OnShowBrowserTraces()
{
    WriteYesNo("Brisvane", "ShowBrowserTraces", !ReadYes("Brisvane", "ShowBrowserTraces"));
    FillList();
}

void CBrisvaneView::OnUpdateShowBrowserTraces(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(ReadYes("Brisvane", "ShowBrowserTraces"));
}

void CBrisvaneView::OnShowSystemTraces()
{
    WriteYesNo("Brisvane", "ShowSystemTraces", !ReadYes("Brisvane", "ShowSystemTraces"));
    FillList();
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
    progress.SetUpReportList(kReportIconIds);

    overall->SetRange32(0, CountRows(2));
    overall->SetStep(1);
    overall->SetPos(0);

    CListCtrl& list = GetListCtrl();
    {
        // The folders of every row are judged against one list of protected
        // folders, found once for the run, and the rows' texts come from a
        // language file checked once.
        CRunPass run;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            if (!IsRowChecked(row))
                continue;
            CleanItem(row, report, perOperation);
            overall->StepIt();
            if (g_pfnRunObserver)
                g_pfnRunObserver(&progress, row);
        }
    }

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

BOOL CBrisvaneView::ScheduleIndexDatCleaning()
{
    if (!IsStartupCleanerInstalled())
        return FALSE;
    CRegistryKey key;
    key.SetRootKey(HKEY_CURRENT_USER);
    if (key.SetKey(CString(RUNONCE_KEY), TRUE))
        key.WriteString(CString(STARTUP_VALUE_NAME), StartupCleanerCommand());
    return TRUE;
}

void CBrisvaneView::CleanItem(int row, CListCtrl* list, CProgressCtrl* progress)
{
    const TraceRow* traceRow = RowAt(row, m_browserRowsShown, m_systemRowsShown);
    if (!traceRow)
        return;

    if (traceRow->system) {
        CSystemFunctions sys;
        (sys.*traceRow->system)(list, progress);
        return;
    }

    const int ie = ReadYes("Preferences", "DeleteIETraces");
    const int opera = ReadYes("Preferences", "DeleteOperaTraces");
    const int firefox = ReadYes("Preferences", "DeleteFirefoxTraces");
    const int chrome = ReadYes("Preferences", "DeleteChromeTraces");
    const int safari = ReadYes("Preferences", "DeleteSafariTraces");

    if (traceRow->ieAtRestart && ie) {
        // A restart helps only where the start-up cleaner will run after it.
        if (ScheduleIndexDatCleaning())
            m_restartPending = 1;
        else
            ReportRowIndexFilesKept(list);
    }
    CBrowserFunctions browser;
    const BrowserCalls& calls = traceRow->browsers;
    if (ie && calls.ie)
        (browser.*calls.ie)(list, progress);
    if (opera && calls.opera)
        (browser.*calls.opera)(list, progress);
    if (firefox && calls.firefox)
        (browser.*calls.firefox)(list, progress, 0, CString(""));
    if (chrome && calls.chrome)
        (browser.*calls.chrome)(list, progress);
    if (safari && calls.safari)
        (browser.*calls.safari)(list, progress);
}
