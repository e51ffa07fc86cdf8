// Result rows and progress bars.
#include "reportrows.h"
#include "language.h"
#include "logfile.h"

namespace {

// Shows the newest row at once although the run keeps the thread busy.
void ShowLastRow(CListCtrl* list)
{
    const int count = list->GetItemCount();
    if (count > 0)
        list->EnsureVisible(count - 1, FALSE);
    list->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

} // namespace

CString ReportStartText(CString item, int flag)
{
    return GetLngString("General", flag ? "24020" : "24040") + " " + item;
}

CString ReportResultText(CString item, int success, int flag)
{
    const char* key = success ? (flag ? "24060" : "24070") : (flag ? "24030" : "24050");
    return GetLngString("General", key) + " " + item;
}

void SetupProgress(CProgressCtrl* progress, int count)
{
    if (progress == nullptr)
        return;
    progress->SetRange32(0, count);
    progress->SetStep(1);
    progress->SetPos(0);
}

void ReportRowStart(CString item, CListCtrl* list, int flag)
{
    if (list == nullptr)
        return;
    const CString text = ReportStartText(item, flag);
    list->InsertItem(LVIF_TEXT | LVIF_IMAGE, list->GetItemCount(), text, 0, 0, REPORT_IMAGE_WORKING, 0);
    ShowLastRow(list);
}

void ReportRowResult(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int flag, CLogFile* logOrNull)
{
    const CString text = ReportResultText(item, success, flag);
    const int image = success ? REPORT_IMAGE_DONE : REPORT_IMAGE_FAILED;
    if (list != nullptr) {
        // The operation's working row is always the last one: rows are only
        // appended and the run is synchronous. Without one, the result gets
        // a row of its own rather than being lost.
        const int count = list->GetItemCount();
        if (count > 0)
            list->SetItem(count - 1, 0, LVIF_TEXT | LVIF_IMAGE, text, image, 0, 0, 0);
        else
            list->InsertItem(LVIF_TEXT | LVIF_IMAGE, 0, text, 0, 0, image, 0);
    }
    if (logOrNull != nullptr)
        logOrNull->WriteEntry(text);
    if (list != nullptr)
        ShowLastRow(list);
    if (progress != nullptr)
        progress->StepIt();
}
