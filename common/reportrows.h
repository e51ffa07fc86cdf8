// Result rows and progress bars: the reporting every cleaning operation
// follows. An operation class's ReportStart / ReportResult members call these.
//
// Report list: report mode, one column, images 0 done, 1 failed, 2 working.
// Row text: language text of section General + " " + item.
//   start:   flag 1 "24020", flag 0 "24040"
//   success: flag 1 "24060", flag 0 "24070"
//   failure: flag 1 "24030", flag 0 "24050"
#pragma once
#include "fw/framework.h"

class CLogFile;

enum { REPORT_IMAGE_DONE = 0, REPORT_IMAGE_FAILED = 1, REPORT_IMAGE_WORKING = 2 };

// Range 0..count (1 for a single item), step 1, position 0.
void SetupProgress(CProgressCtrl* progress, int count = 1);

// Appends the working row for the item.
void ReportRowStart(CString item, CListCtrl* list, int flag);

// Rewrites the last row with the result text and image, writes the same text
// to the log when one is given (logging on), steps the bar.
void ReportRowResult(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int flag,
                     CLogFile* logOrNull);

// The failed row of work left for the start-up cleaner while Tarnel.exe is
// not in the program folder: the index files stay until it is installed.
void ReportRowIndexFilesKept(CListCtrl* list);

// The texts themselves, for operations that build their own rows.
CString ReportStartText(CString item, int flag);
CString ReportResultText(CString item, int success, int flag);

// Every row change goes through these two. Painting a shown list is most of
// what a row costs (each change redraws the row and the scroll bar, several
// round trips to the window server), while the eye needs a new picture only
// every few dozen milliseconds. So the list (and the bar the operation steps)
// stops redrawing at a change, and is painted, the newest row scrolled into
// view, only when REPORT_PAINT_INTERVAL_MS (or nine times the last picture's
// cost, when that is longer, but never more than REPORT_PAINT_PAUSE_MAX_MS)
// have passed since this module last painted rows.
const DWORD REPORT_PAINT_INTERVAL_MS = 50;
const DWORD REPORT_PAINT_PAUSE_MAX_MS = 1000;
void AppendReportRow(CListCtrl* list, const CString& text, int image);
// textOrNull null: only the image changes. Without a row, one is appended.
void SetLastReportRow(CListCtrl* list, const char* textOrNull, int image);

// Paints what this module's rows and bars left unpainted, when the interval
// has passed: message pumps (ProcessMsgLoop) call it once rows were held, so
// that the working row of a long operation shows while it runs.
void ShowPendingReportRowsWhenDue();

// Paints it now. Operation objects call this when they end, so that no run
// ends with its last row unpainted.
void ShowPendingReportRows();

// Scrolls the list's newest row into view and paints it now, with anything
// else left pending: before work that neither reports nor pumps for a while,
// and when a run ends. barOrNull is painted too: each module keeps its own
// pending windows, so a bar that another module (a library's operation) held
// is not among this module's.
void ShowReportRows(CListCtrl* list, CProgressCtrl* barOrNull = nullptr);
