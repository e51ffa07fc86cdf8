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

// Appends the working row for the item, scrolls it into view, redraws.
void ReportRowStart(CString item, CListCtrl* list, int flag);

// Rewrites the last row with the result text and image, writes the same text
// to the log when one is given (logging on), scrolls, redraws, steps the bar.
void ReportRowResult(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int flag,
                     CLogFile* logOrNull);

// The texts themselves, for operations that build their own rows.
CString ReportStartText(CString item, int flag);
CString ReportResultText(CString item, int success, int flag);
