// system.dll: removal of system traces (recycle bin, clipboard, temporary and
// log files, memory dumps, page file, file fragments, prefetch folder, and the
// Explorer's recent, frequent, search and Run histories). Every operation
// reports row by row into the caller's list and progress bar and returns 1 for
// success, 0 for failure.
#pragma once

#include "fw/framework.h"
#include "logfile.h"
#include "useradmin.h"

class CRegistryKey;

#ifdef SYSTEM_BUILD
#define SYSTEM_API __declspec(dllexport)
#else
#define SYSTEM_API __declspec(dllimport)
#endif

class SYSTEM_API CSystemFunctions
{
public:
    CSystemFunctions();
    ~CSystemFunctions();

    // Traces on disk and the clipboard.
    int EmptyRecycleBin(CListCtrl* list, CProgressCtrl* progress);
    int EmptyClipboardContent(CListCtrl* list, CProgressCtrl* progress);
    int DeleteWinTempFiles(CListCtrl* list, CProgressCtrl* progress);
    int DeleteWindowsLogFiles(CListCtrl* list, CProgressCtrl* progress);
    int DeleteMemoryDump(CListCtrl* list, CProgressCtrl* progress); // administrators only
    int DeleteSwapFile(CListCtrl* list, CProgressCtrl* progress);   // administrators only
    int DeleteFileFragments(CListCtrl* list, CProgressCtrl* progress);
    int EmptyWindowsPrefetcher(CListCtrl* list, CProgressCtrl* progress);

    // Traces in the registry (below HKEY_CURRENT_USER).
    int DeleteMRULists(CListCtrl* list, CProgressCtrl* progress);
    int DeleteMFUList(CListCtrl* list, CProgressCtrl* progress);
    int DeleteLocalSearch(CListCtrl* list, CProgressCtrl* progress);
    int DeleteSearch4Computers(CListCtrl* list, CProgressCtrl* progress);
    int DeleteRunMRU(CListCtrl* list, CProgressCtrl* progress);

private:
    void BeginOperation(const char* procedure);
    // Working row: flag 1 "24020", 0 "24040".
    void ReportStart(CString item, CListCtrl* list, int flag);
    // Result row over the last row: flag 1 "24060"/"24030", 0 "24070"/"24050".
    void ReportResult(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int flag);
    // A working row and its result row at once.
    void ReportPair(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int startFlag, int resultFlag);
    // Deletes one key below HKEY_CURRENT_USER: a working row with the bare
    // path, a result row with "HKCU\" before it.
    int DeleteHkcuKeyRow(CRegistryKey& key, const char* path, CListCtrl* list, CProgressCtrl* progress);
    // A whole operation that deletes one such key with its row; a quiet key,
    // when given, is deleted just before it without a row of its own.
    int DeleteSingleHkcuKey(const char* procedure, const char* path, const char* quietPath, CListCtrl* list,
                            CProgressCtrl* progress);

    CLogFile m_log;
    BOOL m_loggingEnabled;

    CSystemFunctions(const CSystemFunctions&) = delete;
    CSystemFunctions& operator=(const CSystemFunctions&) = delete;
};

// Test seam of the library's own administrator test (the library carries its
// own copy of the shared services): see SetUserAdminProbe.
SYSTEM_API UserAdminProbe SetSystemUserAdminProbe(UserAdminProbe probe);
