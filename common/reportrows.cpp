// Result rows and progress bars.
#include "reportrows.h"
#include "language.h"
#include "logfile.h"
#include "services.h"

namespace {

// What one user-interface thread's rows and bars in this module left
// unpainted, and when they were last painted. A shown list or bar whose
// changes wait for their picture does not redraw at all (WM_SETREDRAW): it
// would otherwise redraw its row and scroll bar for every single change,
// which under Wine costs more than the operation itself.
DWORD s_lastPainted = 0;
DWORD s_paintCost = 0; // how long the last picture took
HWND s_pendingList = nullptr;
HWND s_pendingBar = nullptr;

// Marks a window that does not redraw, for whichever module paints it next.
const char kHeldProperty[] = "PirtReportRowsHeld";

void Release(HWND window)
{
    if (::RemovePropA(window, kHeldProperty) != nullptr)
        ::SendMessageA(window, WM_SETREDRAW, TRUE, 0);
}

void PaintList(HWND list)
{
    Release(list); // a held list does not scroll
    const int count = (int)::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    if (count > 0)
        ::SendMessageA(list, LVM_ENSUREVISIBLE, (WPARAM)(count - 1), MAKELPARAM(FALSE, 0));
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void PaintBar(HWND bar)
{
    Release(bar);
    ::RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// Before a list or bar changes: a shown one stops redrawing until it is
// painted. A hidden one is left alone (redrawing switched on again would
// show it).
void HoldBeforeChange(HWND window, HWND& pending)
{
    if (window == nullptr || pending == window)
        return;
    if (pending != nullptr)
        ShowPendingReportRows(); // another list's rows are not left behind
    if ((::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) && ::SetPropA(window, kHeldProperty, (HANDLE)1))
        ::SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    pending = window;
    // A pump inside long work is where rows left pending get their picture.
    SetBeforePump(ShowPendingReportRowsWhenDue);
}

// Rows and bar steps go straight to the controls, past the thread's hooks:
// a run sends several for each of thousands of entries.
void SetRow(HWND list, UINT message, int row, const char* textOrNull, int image)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE | (textOrNull != nullptr ? LVIF_TEXT : 0);
    item.iItem = row;
    item.pszText = const_cast<char*>(textOrNull);
    item.iImage = image;
    SendPastHooks(list, message, 0, (LPARAM)&item);
}

} // namespace

void ShowPendingReportRowsWhenDue()
{
    // Where a picture is slow (a themed list on a remote display), the pause
    // grows with it, so that painting takes at most a tenth of the run; but
    // one slow picture never keeps the rows from showing for longer than the
    // longest pause.
    const DWORD slowPause = s_paintCost * 9 < REPORT_PAINT_PAUSE_MAX_MS ? s_paintCost * 9 : REPORT_PAINT_PAUSE_MAX_MS;
    const DWORD interval = slowPause > REPORT_PAINT_INTERVAL_MS ? slowPause : REPORT_PAINT_INTERVAL_MS;
    if (::GetTickCount() - s_lastPainted >= interval)
        ShowPendingReportRows();
}

void ShowPendingReportRows()
{
    const HWND list = s_pendingList;
    const HWND bar = s_pendingBar;
    if (list == nullptr && bar == nullptr)
        return;
    s_pendingList = s_pendingBar = nullptr;
    const DWORD start = ::GetTickCount();
    if (list != nullptr && ::IsWindow(list))
        PaintList(list);
    if (bar != nullptr && ::IsWindow(bar))
        PaintBar(bar);
    s_lastPainted = ::GetTickCount();
    s_paintCost = s_lastPainted - start;
}

void ShowReportRows(CListCtrl* list, CProgressCtrl* barOrNull)
{
    const HWND hwnd = SafeHwnd(list);
    if (hwnd != nullptr && hwnd != s_pendingList)
        PaintList(hwnd);
    const HWND bar = SafeHwnd(barOrNull);
    if (bar != nullptr && bar != s_pendingBar)
        PaintBar(bar);
    ShowPendingReportRows();
}

void AppendReportRow(CListCtrl* list, const CString& text, int image)
{
    if (SafeHwnd(list) == nullptr)
        return;
    HoldBeforeChange(list->GetSafeHwnd(), s_pendingList);
    // An index past the end appends: no need to ask for the count first.
    SetRow(list->GetSafeHwnd(), LVM_INSERTITEMA, INT_MAX, text, image);
    ShowPendingReportRowsWhenDue();
}

void SetLastReportRow(CListCtrl* list, const char* textOrNull, int image)
{
    if (SafeHwnd(list) == nullptr)
        return;
    const HWND hwnd = list->GetSafeHwnd();
    const int count = (int)SendPastHooks(hwnd, LVM_GETITEMCOUNT, 0, 0);
    if (count == 0) {
        // Without a row to rewrite, the result gets a row of its own rather
        // than being lost.
        AppendReportRow(list, textOrNull != nullptr ? textOrNull : "", image);
        return;
    }
    HoldBeforeChange(hwnd, s_pendingList);
    SetRow(hwnd, LVM_SETITEMA, count - 1, textOrNull, image);
    ShowPendingReportRowsWhenDue();
}

CString ReportStartText(CString item, int flag)
{
    return GetLngString("General", flag ? "24020" : "24040") + " " + item;
}

CString ReportResultText(CString item, int success, int flag)
{
    const char* key = success ? (flag ? "24060" : "24070") : (flag ? "24030" : "24050");
    return GetLngString("General", key) + " " + item;
}

void ReportRowIndexFilesKept(CListCtrl* list) { AppendReportRow(list, GetLngString("General", "24300"), REPORT_IMAGE_FAILED); }

void SetupProgress(CProgressCtrl* progress, int count)
{
    if (SafeHwnd(progress) == nullptr)
        return;
    const HWND bar = progress->GetSafeHwnd();
    HoldBeforeChange(bar, s_pendingBar);
    SendPastHooks(bar, PBM_SETRANGE32, 0, count);
    SendPastHooks(bar, PBM_SETSTEP, 1, 0);
    SendPastHooks(bar, PBM_SETPOS, 0, 0);
    ShowPendingReportRowsWhenDue();
}

void ReportRowStart(CString item, CListCtrl* list, int flag)
{
    if (list != nullptr)
        AppendReportRow(list, ReportStartText(item, flag), REPORT_IMAGE_WORKING);
}

void ReportRowResult(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int flag, CLogFile* logOrNull)
{
    const CString text = ReportResultText(item, success, flag);
    // The bar is held with the row, so that its step costs no picture either.
    HoldBeforeChange(SafeHwnd(progress), s_pendingBar);
    // The operation's working row is always the last one: rows are only
    // appended and the run is synchronous.
    SetLastReportRow(list, text, success ? REPORT_IMAGE_DONE : REPORT_IMAGE_FAILED);
    if (logOrNull != nullptr)
        logOrNull->WriteEntry(text);
    if (SafeHwnd(progress) != nullptr) {
        SendPastHooks(progress->GetSafeHwnd(), PBM_STEPIT, 0, 0);
        ShowPendingReportRowsWhenDue();
    }
}
