// CCustomFunctions: construction, reporting and the file operations.
#include "CustomFunctions.h"
#include "services.h"
#include "reportrows.h"
#include "pathlayer.h"

static const char kModuleName[] = "custom.dll";

CCustomFunctions::CCustomFunctions() : m_loggingEnabled(FALSE)
{
    m_loggingEnabled = GetIniBool("Preferences", "CustomLogging", INI_FARNOCH) ? TRUE : FALSE;
    m_log.SetStandardLocation();
}

CCustomFunctions::~CCustomFunctions() { ShowPendingReportRows(); }

void CCustomFunctions::BeginOperation(const char* procedure, CProgressCtrl* progress)
{
    m_log.SetModule(kModuleName);
    m_log.SetProcedure(procedure);
    SetupProgress(progress, 1);
}

void CCustomFunctions::ReportStart(CString item, CListCtrl* list, int flag) { ReportRowStart(item, list, flag); }

void CCustomFunctions::ReportResult(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int flag)
{
    ReportRowResult(item, success, progress, list, flag, m_loggingEnabled ? &m_log : nullptr);
}

void CCustomFunctions::TerminatePath(CString& path)
{
    path.TrimRight();
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '\\')
        path += '\\';
}

void CCustomFunctions::ProcessMsgLoop() { ::ProcessMsgLoop(); }

int CCustomFunctions::DeleteOneFile(CString path, CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteOneFile", progress);
    ReportStart(path, list, 0);

    // Deleting a link removes the link itself, never what it points at. The
    // deletion is tried first (most targets are there, and asking first costs
    // as much again); only a failure asks whether there was a file at all.
    // A path the layer refuses names no file this operation may take.
    const CString file = CanonicalPath(path);
    if (file.IsEmpty() || (!::DeleteFileA(file) && !IsMissingError(::GetLastError()) && FileExists(file))) {
        ReportResult(path, 0, progress, list, 1);
        return 0;
    }
    ReportResult(path, 1, progress, list, 1);
    return 1;
}

int CCustomFunctions::DeleteFileContent(CString path, CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteFileContent", progress);
    ReportStart(path, list, 1);

    const CString target = CanonicalPath(path);
    if (target.IsEmpty()) {
        ReportResult(path, 0, progress, list, 0);
        return 0;
    }
    if (FileExists(target)) {
        // Opening for create truncates the file to 0 bytes and keeps its
        // name; through a link it would empty another file.
        CStdioFile file;
        if (IsLinkPath(target) || !file.Open(target, CFile::modeCreate | CFile::modeWrite)) {
            ReportResult(path, 0, progress, list, 0);
            return 0;
        }
        file.Write("", 0);
        file.Close();
    }
    ReportResult(path, 1, progress, list, 0);
    return 1;
}

int CCustomFunctions::DeleteFileIniLine(CString iniFile, CString section, CString key, CListCtrl* list,
                                        CProgressCtrl* progress)
{
    BeginOperation("DeleteFileIniLine", progress);
    CString item;
    item.Format("%s, %s (%s)", (const char*)section, (const char*)key, (const char*)iniFile);
    ReportStart(item, list, 0);

    // The profile functions look a bare file name up in the Windows folder,
    // not where FileExists finds it: hand them the full path so that only
    // the file that was checked is changed.
    const CString fullPath = CanonicalPath(iniFile);
    if (!FileExists(fullPath)) {
        ReportResult(iniFile, 0, progress, list, 0);
        return 0;
    }
    // An empty section or key names nothing to remove; through a link the
    // rewrite would change another file.
    int ok = !section.IsEmpty() && !key.IsEmpty() && !IsLinkPath(fullPath) &&
             ::WritePrivateProfileStringA(section, key, nullptr, fullPath);
    ReportResult(item, ok ? 1 : 0, progress, list, 0);
    return ok ? 1 : 0;
}
