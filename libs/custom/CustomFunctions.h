// custom.dll: the generic deletion operations. Callers create one
// CCustomFunctions as a local object per operation (or per run of operations)
// and pass their own report list and progress bar; every operation reports
// each item as a working row rewritten with its result.
#pragma once
#include "fw/framework.h"
#include "logfile.h"
#include "registrykey.h"
#include "services.h"

#ifdef CUSTOM_BUILD
#define CUSTOM_API __declspec(dllexport)
#else
#define CUSTOM_API __declspec(dllimport)
#endif

class CUSTOM_API CCustomFunctions
{
public:
    CCustomFunctions();
    ~CCustomFunctions();

    // Files. A missing file counts as done for the delete and the emptying,
    // as failed for the INI key.
    int DeleteOneFile(CString path, CListCtrl* list, CProgressCtrl* progress);
    int DeleteFileContent(CString path, CListCtrl* list, CProgressCtrl* progress);
    int DeleteFileIniLine(CString iniFile, CString section, CString key, CListCtrl* list, CProgressCtrl* progress);

    // Folders. The working forms show no rows: they empty (or remove) the
    // tree, stop at the first entry that cannot be deleted, poll the stop
    // event (may be NULL) and, with pump set, dispatch pending messages before
    // each entry. Links and junctions are never entered or removed.
    int DeleteFolderContents(const char* folder, int recurse, const char* pattern, HANDLE stopEvent, int pump);
    int DeleteFolderContents(CString folder, CListCtrl* list, CProgressCtrl* progress);
    int RemoveFolder(const char* folder, HANDLE stopEvent, int pump);
    int RemoveFolder(CString folder, CListCtrl* list, CProgressCtrl* progress);

    // Deletes the files (one level) of the folder whose full path contains
    // the text, case-sensitively. An empty text matches nothing; a folder
    // that is itself a link is refused (0).
    int DeleteMatchInFolder(CString folder, CString text, CListCtrl* list, CProgressCtrl* progress);

    // Registry. Key paths begin with the root's full name, e.g.
    // "HKEY_CURRENT_USER\Software\Vendor". No operation creates a key.
    int DeleteRegKey(CString keyPath, CString subkey, CListCtrl* list, CProgressCtrl* progress);
    int DeleteRegKeyByMatch(CString keyPath, CString text, CListCtrl* list, CProgressCtrl* progress);
    int DeleteRegValue(CString keyPath, CString valueName, CListCtrl* list, CProgressCtrl* progress);
    int DeleteRegValueByMatch(CString keyPath, CString text, CListCtrl* list, CProgressCtrl* progress);

    // Trims trailing white space; a non-empty path then ends in one backslash.
    void TerminatePath(CString& path);

    // Dispatches the messages waiting in the thread's queue.
    void ProcessMsgLoop();

    // The reporting pair every operation uses: a working row for the item,
    // then the last row rewritten with the result (logged when logging is
    // on) and one progress step.
    void ReportStart(CString item, CListCtrl* list, int flag);
    void ReportResult(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int flag);

    CLogFile m_log;
    BOOL m_loggingEnabled;
    CRegistryKey m_regKey;

private:
    // One object serves one operation, or one plug-in of many entries: the
    // protected folders are found once and the language file is checked
    // once for all it reports, and its last row is painted when it ends.
    CRunPass m_run;

    CCustomFunctions(const CCustomFunctions&) = delete;
    CCustomFunctions& operator=(const CCustomFunctions&) = delete;

    void BeginOperation(const char* procedure, CProgressCtrl* progress);
    int EmptyFolder(const CString& folder, int recurse, const CString& pattern, HANDLE stopEvent, int pump,
                    int& keptLinks);
};
