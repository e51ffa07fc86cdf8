// Browser operations: construction, report rows, shared steps and the
// Internet Explorer traces.
#include "BrowserFunctions.h"
#include "fw/handle.h"
#include "BrowserInternal.h"
#include "CookieKeepList.h"
#include "pirt.h"
#include "CustomFunctions.h"
#include "pathlayer.h"
#include <shlobj.h>
#include <shlwapi.h>
#include <wininet.h>
#include <objbase.h>
#include <urlhist.h>

using namespace browsers;

namespace {
const char* const kTypedUrlsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const char* const kStorage1Key = "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1";
const char* const kStorage2Key = "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2";

// The URL-history object and the interface that clears it.
const CLSID kUrlHistoryClass = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kUrlHistoryStg2Interface = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

// COM and WinINet serve these two operations only: they are bound at their
// first use instead of being loaded with the program.
template <class F>
F Ole32(const char* name)
{
    return FwLateProc<F>("ole32.dll", name);
}
template <class F>
F WinInet(const char* name)
{
    return FwLateProc<F>("wininet.dll", name);
}

// Growable entry buffer for the URL cache enumeration.
struct CacheEntryBuffer
{
    INTERNET_CACHE_ENTRY_INFOA* entry = nullptr;
    DWORD capacity = 0;

    ~CacheEntryBuffer() { free(entry); }

    bool Resize(DWORD size)
    {
        free(entry);
        entry = (INTERNET_CACHE_ENTRY_INFOA*)calloc(1, size);
        capacity = entry != nullptr ? size : 0;
        if (entry != nullptr)
            entry->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
        return entry != nullptr;
    }
};
} // namespace

namespace browsers {
CString ShellFolder(int csidl)
{
    const CString folder = GetShellFolderPath(csidl);
    CString canonical;
    return !folder.IsEmpty() && CheckBaseFolder(folder, &canonical) == PATH_OK ? canonical : CString();
}

CString HistoryText() { return GetLngString("Brisvane", "10135"); }
CString TemporaryFilesText() { return GetLngString("Brisvane", "10140"); }
CString NothingToDeleteText() { return GetLngString("Brisvane", "10145"); }

std::vector<CString> FileNamesMatching(const CString& pattern)
{
    std::vector<CString> names;
    WIN32_FIND_DATAA data;
    CFindHandle find(FindFirstFileA(pattern, &data));
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(data.cFileName);
        } while (FindNextFileA(find, &data));
    }
    return names;
}
} // namespace browsers

CBrowserFunctions::CBrowserFunctions()
{
    m_loggingEnabled = GetIniBool("Preferences", "BrowserLogging", INI_BRISVANE);
    m_log.SetStandardLocation();
}

CBrowserFunctions::~CBrowserFunctions() { ShowPendingReportRows(); }

void CBrowserFunctions::ReportStart(CString item, CListCtrl* list, int flag) { ReportRowStart(item, list, flag); }

void CBrowserFunctions::ReportResult(CString item, int ok, CProgressCtrl* progress, CListCtrl* list, int flag)
{
    ReportRowResult(item, ok, progress, list, flag, m_loggingEnabled ? &m_log : nullptr);
}

void CBrowserFunctions::BeginOperation(const char* procedure, CProgressCtrl* progress, int range)
{
    m_log.SetModule("browsers.dll");
    m_log.SetProcedure(procedure);
    SetupProgress(progress, range);
}

int CBrowserFunctions::ReportNothingToDelete(CListCtrl* list, CProgressCtrl* progress)
{
    SetupProgress(progress, 1);
    CString item = NothingToDeleteText();
    ReportStart(item, list, 0);
    ReportResult(item, 1, progress, list, 1);
    return 1;
}

int CBrowserFunctions::DeleteFiles(const std::vector<CString>& files, CString* remaining)
{
    for (size_t i = 0; i < files.size(); i++)
        if (IsFile(files[i]))
            DeleteFileA(files[i]);
    // A browser that holds a file open keeps it: the work is not done then.
    for (size_t i = 0; i < files.size(); i++) {
        if (!PathGone(files[i])) {
            if (remaining != nullptr)
                *remaining = files[i];
            return 0;
        }
    }
    return 1;
}

int CBrowserFunctions::EmptyFolder(const CString& folder)
{
    if (PathGone(folder))
        return 1;
    // A file where the folder belongs is not a cache. A link or junction
    // leads out of the browser's own folder: the emptying refuses it (and a
    // root or protected folder), however the path is written.
    if (!IsFolder(folder))
        return 0;
    CCustomFunctions custom;
    return custom.DeleteFolderContents((const char*)folder, 1, nullptr, nullptr, 1) ? 1 : 0;
}

int CBrowserFunctions::SingleFileOperation(const char* procedure, const CString& base, const CString& mainFile,
                                           const std::vector<CString>& sideFiles, CListCtrl* list,
                                           CProgressCtrl* progress)
{
    BeginOperation(procedure, progress);
    if (!IsUsableBaseFolder(base))
        return ReportNothingToDelete(list, progress);
    CString path = base + mainFile;
    ReportStart(path, list, 0);
    std::vector<CString> files;
    for (size_t i = 0; i < sideFiles.size(); i++)
        files.push_back(base + sideFiles[i]);
    files.push_back(path);
    CString remaining;
    int ok = DeleteFiles(files, &remaining);
    ReportResult(ok ? path : remaining, ok, progress, list, 0);
    return ok;
}

int CBrowserFunctions::DeleteFoundFiles(const std::vector<CString>& files, CListCtrl* list, CProgressCtrl* progress)
{
    if (files.empty())
        return ReportNothingToDelete(list, progress);

    SetupProgress(progress, (int)files.size());
    int ok = 1;
    for (size_t i = 0; i < files.size(); i++) {
        ReportStart(files[i], list, 0);
        DeleteFileA(files[i]);
        int gone = PathGone(files[i]);
        if (!gone)
            ok = 0;
        ReportResult(files[i], gone, progress, list, 1);
    }
    return ok;
}

int CBrowserFunctions::DeleteEachFile(const char* procedure, const CString& base, const char* const* names, int count,
                                      CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation(procedure, progress, count);
    if (!IsUsableBaseFolder(base))
        return ReportNothingToDelete(list, progress);

    int ok = 1;
    for (int i = 0; i < count; i++) {
        CString path = base + names[i];
        ReportStart(path, list, 0);
        int gone = DeleteFiles(std::vector<CString>(1, path), nullptr);
        ReportResult(path, gone, progress, list, 0);
        if (!gone)
            ok = 0;
    }
    return ok;
}

int CBrowserFunctions::IEDropList(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("IEDropList", progress);
    CString item = CString("HKCU\\") + kTypedUrlsKey;
    ReportStart(item, list, 0);
    CRegistryKey key;
    key.SetRootKey(HKEY_CURRENT_USER);
    int ok = key.DeleteKey(kTypedUrlsKey);
    ReportResult(item, ok, progress, list, 1);
    return ok;
}

int CBrowserFunctions::IEHistory(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("IEHistory", progress);
    CString item = HistoryText();
    ReportStart(item, list, 0);

    int ok = 0;
    auto coInitialize = Ole32<decltype(&CoInitialize)>("CoInitialize");
    auto coCreateInstance = Ole32<decltype(&CoCreateInstance)>("CoCreateInstance");
    auto coUninitialize = Ole32<decltype(&CoUninitialize)>("CoUninitialize");
    int comReady = coInitialize && coCreateInstance && coUninitialize && SUCCEEDED(coInitialize(nullptr));
    IUrlHistoryStg2* history = nullptr;
    if (comReady &&
        SUCCEEDED(coCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                   kUrlHistoryStg2Interface, (void**)&history)) &&
        history != nullptr) {
        ok = SUCCEEDED(history->ClearHistory()) ? 1 : 0;
        history->Release();
    }
    if (comReady)
        coUninitialize();

    ReportResult(item, ok, progress, list, 1);
    return ok;
}

int CBrowserFunctions::IETemp(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("IETemp", progress);
    CString item = TemporaryFilesText();
    ReportStart(item, list, 0);

    auto findFirst = WinInet<decltype(&FindFirstUrlCacheEntryA)>("FindFirstUrlCacheEntryA");
    auto findNext = WinInet<decltype(&FindNextUrlCacheEntryA)>("FindNextUrlCacheEntryA");
    auto deleteEntry = WinInet<decltype(&DeleteUrlCacheEntryA)>("DeleteUrlCacheEntryA");
    auto findClose = WinInet<decltype(&FindCloseUrlCache)>("FindCloseUrlCache");
    CacheEntryBuffer buffer;
    HANDLE find = nullptr;
    DWORD lastError = ERROR_NOT_ENOUGH_MEMORY;
    int failures = 0;
    // Without the library the operation fails like one that ran out of memory.
    if (findFirst && findNext && deleteEntry && findClose && buffer.Resize(4096)) {
        for (;;) {
            DWORD size = buffer.capacity;
            BOOL found;
            if (find == nullptr) {
                find = findFirst(nullptr, buffer.entry, &size);
                found = find != nullptr;
            } else
                found = findNext(find, buffer.entry, &size);
            if (!found) {
                lastError = GetLastError();
                // Too small for this entry: grow and ask for the same entry again.
                if (lastError == ERROR_INSUFFICIENT_BUFFER && size > buffer.capacity && buffer.Resize(size))
                    continue;
                if (lastError == ERROR_INSUFFICIENT_BUFFER)
                    lastError = ERROR_NOT_ENOUGH_MEMORY;
                break;
            }
            // Cookies are left to the cookie operation and its keep list.
            if (!(buffer.entry->CacheEntryType & COOKIE_CACHE_ENTRY) && buffer.entry->lpszSourceUrlName != nullptr) {
                if (!deleteEntry(buffer.entry->lpszSourceUrlName) && GetLastError() != ERROR_FILE_NOT_FOUND)
                    failures++;
            }
        }
    }
    if (find != nullptr)
        findClose(find);

    int ok = lastError == ERROR_NO_MORE_ITEMS && failures == 0;
    ReportResult(item, ok, progress, list, 1);
    return ok;
}

int CBrowserFunctions::IECookies(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("IECookies", progress);
    CString folder = GetCookieFolder();
    if (!IsUsableBaseFolder(folder))
        return ReportNothingToDelete(list, progress);

    // Without a readable keep list nobody can tell which cookies to keep.
    std::vector<CString> keep;
    if (!ReadCookieKeepList(keep)) {
        CString item = GetCookieKeepListPath();
        ReportStart(item, list, 0);
        ReportResult(item, 0, progress, list, 1);
        return 0;
    }

    std::vector<CString> doomed;
    std::vector<CString> names = ListCookieFiles(folder);
    for (size_t i = 0; i < names.size(); i++)
        if (!IsCookieKept(keep, names[i]))
            doomed.push_back(folder + "\\" + names[i]);
    return DeleteFoundFiles(doomed, list, progress);
}

int CBrowserFunctions::IEIndexDat(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("IEIndexDat", progress, 4);
    CString folder = GetCookieFolder();
    if (!IsUsableBaseFolder(folder))
        return ReportNothingToDelete(list, progress);
    CString path = folder + "\\index.dat";
    ReportStart(path, list, 0);
    std::vector<CString> files(1, path);
    int ok = DeleteFiles(files, nullptr);
    ReportResult(path, ok, progress, list, 1);
    return ok;
}

int CBrowserFunctions::IECompleteForms(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("IECompleteForms", progress);
    ReportStart(kStorage1Key, list, 0);
    CRegistryKey key;
    int ok = key.SetRootKey(HKEY_CURRENT_USER) && key.DeleteKey(kStorage1Key);
    ReportResult(CString("HKCU\\") + kStorage1Key, ok, progress, list, 1);
    return ok;
}

int CBrowserFunctions::IECompletePW(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("IECompletePW", progress);
    ReportStart(kStorage2Key, list, 0);
    LONG status = SHDeleteKeyA(HKEY_CURRENT_USER, kStorage2Key);
    int ok = status == ERROR_SUCCESS;
    if (status == ERROR_FILE_NOT_FOUND) {
        // No saved passwords: nothing to delete, as long as the key is really absent.
        CRegKeyHandle probe;
        LONG open = RegOpenKeyExA(HKEY_CURRENT_USER, kStorage2Key, 0, KEY_READ, probe.Receive());
        ok = open == ERROR_FILE_NOT_FOUND;
    }
    ReportResult(CString("HKCU\\") + kStorage2Key, ok, progress, list, 1);
    return ok;
}

int CBrowserFunctions::IEBookmarks(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("IEBookmarks", progress);
    CString folder = ShellFolder(CSIDL_FAVORITES);
    if (!IsUsableBaseFolder(folder))
        return ReportNothingToDelete(list, progress);
    ReportStart(folder, list, 1);
    int ok = EmptyFolder(folder);
    ReportResult(folder, ok, progress, list, 1);
    return ok;
}
