// The run: every ticked plug-in's entries, judged one by one, through the
// deletion library.
#include "TolmiraView.h"
#include "Settings.h"
#include "resource.h"
#include "pluginvalidator.h"
#include "pathlayer.h"
#include "progressdlg.h"
#include "checkmessagebox.h"
#include "CustomFunctions.h"

namespace {

const UINT kReportIconIds[] = {IDI_REPORT_DONE, IDI_REPORT_FAILED, IDI_REPORT_WORKING};

typedef void (*PFN_RUN_ACTION)(CCustomFunctions& custom, const CPluginTarget& target, CListCtrl* list,
                               CProgressCtrl* progress);

// One library call per action, in the order of the action table.
const PFN_RUN_ACTION kRunActions[] = {
    // PLUGIN_FILE_DELETE
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) { c.DeleteOneFile(t.path, l, p); },
    // PLUGIN_FILE_DELETE_CONTENT
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) {
        c.DeleteFileContent(t.path, l, p);
    },
    // PLUGIN_FILE_ERASE_MATCH
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) {
        c.DeleteFileIniLine(t.path, t.first, t.second, l, p);
    },
    // PLUGIN_FOLDER_DELETE_ALL
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) { c.RemoveFolder(t.path, l, p); },
    // PLUGIN_FOLDER_DELETE_ALL_BELOW
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) {
        c.DeleteFolderContents(t.path, l, p);
    },
    // PLUGIN_FOLDER_DELETE_MATCH
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) {
        c.DeleteMatchInFolder(t.path, t.first, l, p);
    },
    // PLUGIN_REG_DELETE_KEY
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) {
        c.DeleteRegKey(t.path, t.first, l, p);
    },
    // PLUGIN_REG_DELETE_KEY_MATCH
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) {
        c.DeleteRegKeyByMatch(t.path, t.first, l, p);
    },
    // PLUGIN_REG_DELETE_VALUE
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) {
        c.DeleteRegValue(t.path, t.first, l, p);
    },
    // PLUGIN_REG_DELETE_VALUE_MATCH
    [](CCustomFunctions& c, const CPluginTarget& t, CListCtrl* l, CProgressCtrl* p) {
        c.DeleteRegValueByMatch(t.path, t.first, l, p);
    },
};
static_assert(sizeof(kRunActions) / sizeof(kRunActions[0]) == PLUGIN_ACTION_COUNT,
              "one library call per action of the plug-in format");

} // namespace

void CTolmiraView::CleanPlugin(const CString& pluginFile, CListCtrl* list, CProgressCtrl* progress)
{
    // The validator here and the library each judge folders against the
    // protected ones: each finds them once for all entries (the library's
    // object holds its own run), and its last row is painted when it goes.
    CRunPass run;
    CCustomFunctions custom;
    // Every entry is read before the first one runs: a plug-in that deletes
    // or edits its own file cannot change what runs after.
    std::vector<CPluginEntry> entries = ReadPluginEntries(pluginFile);
    CPlaceholderFolders folders = GetPlaceholderFolders();
    for (const CPluginEntry& entry : entries) {
        CPluginTarget target;
        if (ValidatePluginEntry(entry, folders, &target) != PLUGIN_ENTRY_OK || !target.action) {
            // Refused: one failed row naming the entry as written, nothing deleted.
            custom.m_log.SetModule("Tolmira.exe");
            custom.m_log.SetProcedure("CleanPlugin");
            SetupProgress(progress, 1);
            custom.ReportStart(entry.raw, list, 1);
            custom.ReportResult(entry.raw, 0, progress, list, 1);
            continue;
        }
        kRunActions[target.action->action](custom, target, list, progress);
    }
}

void CTolmiraView::OnExecuteNow()
{
    if (m_running)
        return;
    if (FarnochYes("Preferences", "SecurityDelConfirm")) {
        int answer = CheckMessageBox(m_hWnd, GetLngString("Farnoch", "25040"), AppTitle(),
                                     MB_YESNO | MB_ICONQUESTION | MB_DONT_ASK_AGAIN);
        if (LOWORD(answer) != IDYES)
            return;
        if (answer & MB_DONT_ASK_AGAIN)
            FarnochWriteYesNo("Preferences", "SecurityDelConfirm", 0);
    }

    // The plug-ins to clean, fixed before anything runs.
    CListCtrl& list = GetListCtrl();
    std::vector<CString> plugins;
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (IsRowTicked(row))
            plugins.push_back(list.GetItemText(row, COLUMN_PATH));

    CFrameWnd* mainWnd = GetParentFrame();
    m_running = TRUE;
    if (mainWnd)
        mainWnd->ShowWindow(SW_HIDE);

    std::unique_ptr<CProgressDlg> progress(new CRunProgressDlg(nullptr, IDD_PROGRESS, "not found"));
    if (!progress->CreateModeless(nullptr)) {
        // Without the window there is nowhere to report: nothing is cleaned.
        m_running = FALSE;
        if (mainWnd)
            mainWnd->ShowWindow(SW_SHOW);
        return;
    }
    progress->ShowWindow(SW_SHOW);
    progress->CenterWindow(CWnd::GetDesktopWindow());
    progress->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CListCtrl* report = progress->GetReportList();
    CProgressCtrl* overall = progress->GetOverallBar();
    CProgressCtrl* perOperation = progress->GetOperationBar();
    progress->SetUpReportList(kReportIconIds);

    overall->SetRange32(0, (int)plugins.size());
    overall->SetStep(1);
    overall->SetPos(0);
    CRunPass run; // one list of protected folders for the whole run
    for (size_t i = 0; i < plugins.size(); ++i) {
        CleanPlugin(plugins[i], report, perOperation);
        overall->StepIt();
        if (g_pfnTolmiraRunObserver)
            g_pfnTolmiraRunObserver(progress.get(), (int)i);
    }

    progress->ShowWindow(SW_HIDE);
    progress->DestroyWindow();
    m_progressDialogs.push_back(std::move(progress));
    m_running = FALSE;

    if (!mainWnd)
        return;
    // Closed through the queue: the frame must not go while this handler
    // still runs on its view.
    if (FarnochYes("Preferences", "CloseAfterKill"))
        mainWnd->PostMessage(WM_CLOSE);
    else
        mainWnd->ShowWindow(SW_SHOW);
}
