// CCustomFunctions: emptying and removing folder trees, deleting matching
// files of a folder.
#include "CustomFunctions.h"
#include "services.h"
#include "reportrows.h"
#include "pathlayer.h"

namespace {

// The folder as the path layer passes it: canonical, absolute as written,
// no root, nothing equal to or above a protected folder (also through links
// above it), and not itself a link however it is spelled. "" when refused.
CString TargetFolder(const char* folder)
{
    CString canonical;
    return CheckFolderTarget(folder, &canonical) == PATH_OK ? canonical : CString();
}

} // namespace

// Empties one level and, with recurse, every sub-folder below it. Entries
// that are links (junctions, symbolic links, mount points) are never entered
// or removed: they stay, keptLinks is set, and the folders holding them are
// not removed either.
int CCustomFunctions::EmptyFolder(const CString& folder, int recurse, const CString& pattern, HANDLE stopEvent,
                                  int pump, int& keptLinks)
{
    const CString base = WithTrailingBackslash(folder);
    const int passes = (recurse && !pattern.IsEmpty()) ? 2 : 1;
    int result = 1;

    if (IsStopSignalled(stopEvent))
        return 0;

    for (int pass = 0; pass < passes && result; ++pass) {
        // With a pattern the second pass only reaches the sub-folders.
        const CString search = base + ((pass == 0 && !pattern.IsEmpty()) ? (const char*)pattern : "*.*");
        CFileFind finder;
        if (!finder.FindFile(search)) {
            // No match is fine; a folder that cannot be listed is not empty.
            // The error is the failed search's own: nothing runs in between.
            DWORD error = ::GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES)
                result = 0;
            continue;
        }

        bool stopped = false;
        bool more = false;
        do {
            more = finder.FindNextFile() != FALSE;
            if (pump)
                ::ProcessMsgLoopEvery();
            if (finder.IsDots())
                continue;
            if (finder.IsReparsePoint()) {
                keptLinks = 1;
                continue;
            }
            const CString path = base + finder.GetFileName();
            if (finder.IsDirectory()) {
                if (recurse && (pass == 1 || passes == 1)) {
                    int subKept = 0;
                    if (!EmptyFolder(path, 1, pattern, stopEvent, pump, subKept))
                        result = 0; // what cannot be emptied stops the emptying
                    else if (pattern.IsEmpty() && !subKept)
                        result = ::RemoveDirectoryA(path) ? 1 : 0;
                    if (subKept)
                        keptLinks = 1;
                }
            } else if (pass == 0) {
                // Attributes stay as they are: a read-only file is not a
                // trace this operation may take.
                result = ::DeleteFileA(path) ? 1 : 0;
            }
        } while (!(stopped = IsStopSignalled(stopEvent)) && result && more);

        if (stopped)
            return 0;
    }
    return result;
}

int CCustomFunctions::DeleteFolderContents(const char* folder, int recurse, const char* pattern, HANDLE stopEvent,
                                           int pump)
{
    const CString target = TargetFolder(folder);
    if (target.IsEmpty())
        return 0;
    DWORD attributes = ::GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;

    CString filter = pattern ? pattern : "";
    if (filter.FindOneOf("\\/") >= 0)
        return 0; // a file-name pattern, never a path into another folder

    int keptLinks = 0;
    return EmptyFolder(target, recurse, filter, stopEvent, pump, keptLinks);
}

int CCustomFunctions::DeleteFolderContents(CString folder, CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteFolderContents", progress);
    ReportStart(folder, list, 1);
    const int ok = DeleteFolderContents((const char*)folder, 1, nullptr, nullptr, 1);
    ReportResult(folder, ok, progress, list, 0);
    return ok;
}

int CCustomFunctions::RemoveFolder(const char* folder, HANDLE stopEvent, int pump)
{
    const CString target = TargetFolder(folder);
    if (target.IsEmpty())
        return 0;
    DWORD attributes = ::GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return IsMissingError(::GetLastError()) ? 1 : 0;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 1; // a file is not a folder: left alone

    int keptLinks = 0;
    if (!EmptyFolder(target, 1, CString(), stopEvent, pump, keptLinks))
        return 0;
    ::SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    return ::RemoveDirectoryA(target) ? 1 : 0;
}

int CCustomFunctions::RemoveFolder(CString folder, CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("RemoveFolder", progress);
    ReportStart(folder, list, 0);
    const int ok = RemoveFolder((const char*)folder, nullptr, 1);
    ReportResult(folder, ok, progress, list, 1);
    return ok;
}

int CCustomFunctions::DeleteMatchInFolder(CString folder, CString text, CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteMatchInFolder", progress);

    // An empty text would match every file; an empty folder would search
    // the current drive's root.
    if (text.IsEmpty() || folder.IsEmpty())
        return 1;
    // Through a link the files would be another folder's; the whole path
    // is matched in its canonical form.
    const CString target = TargetFolder(folder);
    if (target.IsEmpty())
        return 0;

    const CString base = WithTrailingBackslash(target);
    int result = 1;
    CFileFind finder;
    BOOL more = finder.FindFile(base + "*");
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots() || finder.IsDirectory() || finder.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT))
            continue;

        // The whole path is matched, folder part included.
        const CString path = base + finder.GetFileName();
        if (path.Find(text) < 0)
            continue;

        ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        ReportStart(path, list, 0);
        int ok = ::DeleteFileA(path) ? 1 : 0;
        ReportResult(path, ok, progress, list, 1);
        if (!ok)
            result = 0;
    }
    finder.Close();
    return result;
}
