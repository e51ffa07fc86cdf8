#include "SystemFunctions.h"
#include "fw/handle.h"
#include "SystemTestSeam.h"

#include "CustomFunctions.h"
#include "SystemPaths.h"
#include "SystemRegistryKey.h"
#include "language.h"
#include "reportrows.h"
#include "services.h"

#include <shellapi.h>
#include <shlobj.h>
#include <vector>

namespace {

const char kModuleName[] = "system.dll";

// Empties the clipboard; replaced only by tests.
SystemEmptyClipboardProc g_emptyClipboard = nullptr;

const char kStreamMRU[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StreamMRU";
const char kUserAssistACount[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}\\Count";
const char kUserAssistA[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}";
const char kUserAssistBCount[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{5E6AB780-7743-11CF-A12B-00AA004AE837}\\Count";
const char kUserAssistB[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{5E6AB780-7743-11CF-A12B-00AA004AE837}";
const char kWordWheelQuery[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery";
const char kACMru5603[] = "Software\\Microsoft\\Search Assistant\\ACMru\\5603";
const char kACMru5647[] = "Software\\Microsoft\\Search Assistant\\ACMru\\5647";
const char kRunMRU[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const char kCrashControl[] = "SYSTEM\\CurrentControlSet\\Control\\CrashControl";

CString Hkcu(const char* path) { return CString("HKCU\\") + path; }

// The Windows folder in canonical form, or "" when the shell does not give
// a usable one (relative, a root, or a link).
CString WindowsFolder()
{
    CString windows = GetShellFolderPath(CSIDL_WINDOWS);
    if (!IsAbsolutePathText(windows))
        return CString();
    CString canonical = CanonicalPath(windows);
    return IsRootPath(canonical) || IsLinkPath(canonical) ? CString() : canonical;
}

// The root of the drive that holds Windows ("C:\\"), or "" without a usable
// Windows folder.
CString WindowsDriveRoot()
{
    CString windows = WindowsFolder();
    CString root = DriveRootOf(windows);
    return !windows.IsEmpty() && IsAbsolutePathText(root) ? root : CString();
}

CString EnvironmentValue(const char* name)
{
    DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0)
        return CString();
    std::vector<char> buffer(needed + 1, '\0');
    DWORD length = GetEnvironmentVariableA(name, buffer.data(), (DWORD)buffer.size());
    return length > 0 && length < buffer.size() ? CString(buffer.data()) : CString();
}

// The temp folder to empty, in canonical form: GetTempPath has already
// resolved its setting against the current folder ("rel", "." and "C:"
// all come back absolute), so the setting it took (TMP, else TEMP, else
// USERPROFILE, the first one set) must itself be absolute, and both it and
// the answer must pass the path layer. "" when refused.
CString CheckedTempFolder(const CString& answer)
{
    CString setting;
    for (const char* name : {"TMP", "TEMP", "USERPROFILE"}) {
        setting = EnvironmentValue(name);
        if (!setting.IsEmpty())
            break;
    }
    if (CheckFolderTarget(setting, nullptr) != PATH_OK)
        return CString();
    CString canonical;
    return CheckFolderTarget(answer, &canonical) == PATH_OK ? canonical : CString();
}

// Plain files directly in the folder whose long name ends in the extension;
// links are left out. The pattern alone would also match short 8.3 aliases.
std::vector<CString> FilesWithExtension(const CString& folder, const char* extension)
{
    std::vector<CString> names;
    WIN32_FIND_DATAA data;
    CFindHandle find(FindFirstFileA(folder + "\\*" + extension, &data));
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        if (HasExtensionNoCase(data.cFileName, extension))
            names.push_back(CString(data.cFileName));
    } while (FindNextFileA(find, &data));
    return names;
}

} // namespace

CSystemFunctions::CSystemFunctions() : m_loggingEnabled(FALSE)
{
    m_loggingEnabled = GetIniBool("Preferences", "SystemLogging", INI_BRISVANE);
    SetStandardLogLocation(m_log);
}

CSystemFunctions::~CSystemFunctions() { ShowPendingReportRows(); }

void CSystemFunctions::BeginOperation(const char* procedure)
{
    m_log.SetModule(kModuleName);
    m_log.SetProcedure(procedure);
}

void CSystemFunctions::ReportStart(CString item, CListCtrl* list, int flag) { ReportRowStart(item, list, flag); }

void CSystemFunctions::ReportResult(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int flag)
{
    ReportRowResult(item, success, progress, list, flag, m_loggingEnabled ? &m_log : nullptr);
}

void CSystemFunctions::ReportPair(CString item, int success, CProgressCtrl* progress, CListCtrl* list, int startFlag,
                                  int resultFlag)
{
    ReportStart(item, list, startFlag);
    ReportResult(item, success, progress, list, resultFlag);
}

int CSystemFunctions::DeleteHkcuKeyRow(CRegistryKey& key, const char* path, CListCtrl* list, CProgressCtrl* progress)
{
    ReportStart(path, list, 0);
    int deleted = key.DeleteKey(path);
    ReportResult(Hkcu(path), deleted, progress, list, 1);
    return deleted;
}

int CSystemFunctions::EmptyRecycleBin(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("EmptyRecycleBin");
    SetupProgress(progress, 1);
    CString item = GetLngString("General", "24160");
    ReportStart(item, list, 0);

    // Windows answers the emptying of an empty bin with an error.
    SHQUERYRBINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    int ok;
    if (SUCCEEDED(SHQueryRecycleBinA(nullptr, &info)) && info.i64NumItems == 0)
        ok = 1;
    else
        ok = SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND) == S_OK;

    ReportResult(item, ok, progress, list, 1);
    return ok;
}

SystemEmptyClipboardProc SetSystemEmptyClipboardProc(SystemEmptyClipboardProc proc)
{
    SystemEmptyClipboardProc previous = g_emptyClipboard;
    g_emptyClipboard = proc;
    return previous;
}

int CSystemFunctions::EmptyClipboardContent(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("EmptyClipboard");
    SetupProgress(progress, 1);
    CString item = GetLngString("Dravik", "10120");
    ReportStart(item, list, 0);

    int ok = 0;
    if (OpenClipboard(nullptr)) {
        BOOL emptied = (g_emptyClipboard != nullptr ? g_emptyClipboard : ::EmptyClipboard)();
        BOOL closed = CloseClipboard(); // also after a failed emptying
        ok = emptied && closed;
    }
    ReportResult(item, ok, progress, list, 1);
    return ok;
}

int CSystemFunctions::DeleteWinTempFiles(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteWinTempFiles");
    SetupProgress(progress, 2);

    char buffer[MAX_PATH + 1] = "";
    DWORD length = GetTempPathA(sizeof(buffer), buffer);
    CString temp;
    BOOL usable = length > 0 && length < sizeof(buffer);
    if (usable) {
        char longName[MAX_PATH + 1] = "";
        DWORD longLength = GetLongPathNameA(buffer, longName, sizeof(longName));
        temp = (longLength > 0 && longLength < sizeof(longName)) ? longName : buffer;
    } else if (length >= sizeof(buffer)) {
        // Too long to empty, but the row still names it.
        std::vector<char> big(length + 1, '\0');
        DWORD again = GetTempPathA(length + 1, big.data());
        if (again > 0 && again <= length)
            temp = big.data();
    }

    CCustomFunctions custom;
    int allDone = 1;

    // The temp path comes from TMP / TEMP: with those unset, relative or
    // pointing at a drive root it names the profile, the current folder,
    // the Windows folder or a whole drive.
    ReportStart(temp, list, 0);
    CString checked = usable ? CheckedTempFolder(temp) : CString();
    if (!checked.IsEmpty()) {
        int ok = custom.DeleteFolderContents((const char*)checked, 1, nullptr, nullptr, 1);
        ReportResult(temp, ok, progress, list, 0);
        allDone = allDone && ok;
    } else {
        ReportResult(temp, 0, progress, list, 0);
        allDone = 0;
    }

    CString windows = WindowsFolder();
    if (windows.IsEmpty()) {
        ReportPair("\\Temp", 0, progress, list, 0, 0);
        return 0;
    }
    CString windowsTemp = windows + "\\Temp";
    DWORD attributes = GetFileAttributesA(windowsTemp);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ReportStart(windowsTemp, list, 0);
        int ok = custom.DeleteFolderContents((const char*)windowsTemp, 1, "", nullptr, 1);
        ReportResult(windowsTemp, ok, progress, list, 0);
        allDone = allDone && ok;
    }
    return allDone;
}

int CSystemFunctions::DeleteWindowsLogFiles(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteWindowsLogFiles");
    CString windows = WindowsFolder();
    if (windows.IsEmpty()) {
        SetupProgress(progress, 1);
        ReportPair("\\*.log", 0, progress, list, 0, 1);
        return 0;
    }

    std::vector<CString> names = FilesWithExtension(windows, ".log");
    int count = (int)names.size();
    SetupProgress(progress, count);

    // Windows Update keeps its own log open; it alone is not worth a row.
    if (count == 1 && names[0].CompareNoCase("WindowsUpdate.log") == 0) {
        progress->StepIt();
        return 1;
    }

    int allDeleted = 1;
    for (const CString& name : names) {
        if (name.CompareNoCase("WindowsUpdate.log") == 0)
            continue;
        CString path = windows + "\\" + name;
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        int deleted = DeleteFileA(path) ? 1 : 0;
        if (!deleted)
            allDeleted = 0;
        ReportPair(path, deleted, progress, list, 0, 1);
    }
    return allDeleted;
}

int CSystemFunctions::DeleteMemoryDump(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteMemoryDump");
    SetupProgress(progress, 1);
    if (!IsUserAdmin())
        return 0;

    CString failedItem = GetLngString("Dravik", "10180");
    CSystemRegistryKey key;
    DWORD mode = 0;
    CString path;
    if (key.SetRootKey(HKEY_LOCAL_MACHINE) && key.SetKey(kCrashControl, FALSE)) {
        mode = key.QueryDwordValue("CrashDumpEnabled", 0);
        if (mode == 1 || mode == 2)
            path = key.ReadString("DumpFile", "");
        else if (mode == 3)
            path = key.ReadString("MinidumpDir", "");
    }

    CString expanded;
    if (!path.IsEmpty()) {
        char buffer[MAX_PATH + 1] = "";
        DWORD length = ExpandEnvironmentStringsA(path, buffer, MAX_PATH);
        if (length > 0 && length <= MAX_PATH)
            expanded = buffer;
    }
    // The setting is judged as written (after expansion), then used in its
    // canonical form.
    CString target = IsAbsolutePathText(expanded) ? CanonicalPath(expanded) : CString();
    if (target.IsEmpty() || IsRootPath(target)) {
        ReportPair(failedItem, 0, progress, list, 0, 1);
        return 0;
    }

    DWORD attributes = GetFileAttributesA(target);
    BOOL missing = attributes == INVALID_FILE_ATTRIBUTES && IsMissingError(GetLastError());

    if (mode == 3) {
        // A folder of small dumps: its *.dmp files, one level, no links. A
        // folder that is itself a link, or leads into a protected folder, is
        // refused like any folder operation's.
        CString folder = target;
        if (!missing && CheckFolderTarget(expanded, nullptr) != PATH_OK) {
            ReportPair(expanded, 0, progress, list, 0, 1);
            return 0;
        }
        std::vector<CString> dumps;
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            dumps = FilesWithExtension(folder, ".dmp");
        else if (!missing && attributes == INVALID_FILE_ATTRIBUTES) {
            ReportPair(expanded, 0, progress, list, 0, 1);
            return 0;
        }
        if (dumps.empty()) {
            ReportPair(expanded, 1, progress, list, 0, 1);
            return 1;
        }
        SetupProgress(progress, (int)dumps.size());
        int allDeleted = 1;
        for (const CString& name : dumps) {
            CString dump = folder + "\\" + name;
            ReportStart(dump, list, 0);
            int deleted = DeleteFileA(dump) ? 1 : 0;
            ReportResult(dump, deleted, progress, list, 1);
            allDeleted = allDeleted && deleted;
        }
        return allDeleted;
    }

    ReportStart(expanded, list, 0);
    if (missing) {
        ReportResult(expanded, 1, progress, list, 1);
        return 1;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) && DeleteFileA(target)) {
        ReportResult(expanded, 1, progress, list, 1);
        return 1;
    }
    ReportResult(failedItem, 0, progress, list, 1);
    return 0;
}

int CSystemFunctions::DeleteSwapFile(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteSwapFile");
    SetupProgress(progress, 1);
    if (!IsUserAdmin())
        return 0;

    CString failedItem = GetLngString("Dravik", "10200");
    CString root = WindowsDriveRoot();
    if (root.IsEmpty()) {
        ReportPair(failedItem, 0, progress, list, 0, 1);
        return 0;
    }

    CString path = root + "pagefile.sys";
    ReportStart(path, list, 0);
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES && IsMissingError(GetLastError())) {
        ReportResult(path, 1, progress, list, 1);
        return 1;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || !DeleteFileA(path)) {
        ReportResult(failedItem, 0, progress, list, 1);
        return 0;
    }
    ReportResult(path, 1, progress, list, 1);
    return 1;
}

int CSystemFunctions::DeleteFileFragments(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteFileFragments");
    CString noneItem = GetLngString("Dravik", "10220");
    CString root = WindowsDriveRoot();
    if (root.IsEmpty()) {
        SetupProgress(progress, 1);
        ReportPair(noneItem, 0, progress, list, 1, 1);
        return 0;
    }

    // Check-disk recovery folders FOUND.000 to FOUND.009 in the drive root.
    std::vector<CString> folders;
    WIN32_FIND_DATAA data;
    CFindHandle find(FindFirstFileA(root + "*", &data));
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            CString upper(data.cFileName);
            upper.MakeUpper();
            if (upper.GetLength() == 9 && upper.Left(8) == "FOUND.00" && upper[8] >= '0' && upper[8] <= '9')
                folders.push_back(CString(data.cFileName));
        } while (FindNextFileA(find, &data));
    }

    if (folders.empty()) {
        SetupProgress(progress, 1);
        ReportPair(noneItem, 1, progress, list, 1, 1);
        return 1;
    }

    SetupProgress(progress, (int)folders.size());
    CCustomFunctions custom;
    int allRemoved = 1;
    for (const CString& name : folders) {
        CString path = root + name;
        ReportStart(path, list, 1);
        int removed = custom.RemoveFolder((const char*)path, nullptr, 1);
        ReportResult(path, removed, progress, list, 1);
        allRemoved = allRemoved && removed;
    }
    return allRemoved;
}

int CSystemFunctions::EmptyWindowsPrefetcher(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("EmptyWindowsPrefetcher");
    SetupProgress(progress, 1);
    CString windows = WindowsFolder();
    CString path = windows + "\\Prefetch";
    ReportStart(path, list, 1);
    int ok = 0;
    if (!windows.IsEmpty()) {
        CCustomFunctions custom;
        ok = custom.DeleteFolderContents((const char*)path, 1, nullptr, nullptr, 1);
    }
    ReportResult(GetLngString("Dravik", "10240"), ok, progress, list, 0);
    return ok;
}

int CSystemFunctions::DeleteMRULists(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteMRULists");
    SetupProgress(progress, 2);

    CSystemRegistryKey key;
    int keyDeleted = 0;
    if (key.SetRootKey(HKEY_CURRENT_USER)) {
        ReportStart(Hkcu(kStreamMRU), list, 0);
        keyDeleted = key.DeleteKey(kStreamMRU);
        ReportResult(Hkcu(kStreamMRU), keyDeleted, progress, list, 1);
    }

    // The emptying itself refuses a Recent folder that is relative, a root,
    // protected or a link, however the setting spells it.
    CString recent = GetShellFolderPath(CSIDL_RECENT);
    ReportStart(recent, list, 1);
    CCustomFunctions custom;
    int emptied = custom.DeleteFolderContents((const char*)recent, 1, "", nullptr, 1);
    ReportResult(GetLngString("Dravik", "10500"), emptied, progress, list, 0);
    return keyDeleted && emptied;
}

int CSystemFunctions::DeleteMFUList(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteMFUList");
    SetupProgress(progress, 4);

    CSystemRegistryKey key;
    if (!key.SetRootKey(HKEY_CURRENT_USER))
        return 0;

    // A parent key is only tried once its counters are gone: the delete is
    // not recursive.
    int aDeleted = DeleteHkcuKeyRow(key, kUserAssistACount, list, progress);
    if (aDeleted)
        aDeleted = DeleteHkcuKeyRow(key, kUserAssistA, list, progress);

    ReportStart(kUserAssistBCount, list, 0);
    int bDeleted = key.DeleteKey(kUserAssistBCount);
    ReportResult(kUserAssistBCount, bDeleted, progress, list, 1);
    if (!bDeleted)
        return 0;
    ReportStart(kUserAssistB, list, 0);
    bDeleted = key.DeleteKey(kUserAssistB);
    ReportResult(kUserAssistB, bDeleted, progress, list, 1);
    return aDeleted && bDeleted;
}

int CSystemFunctions::DeleteSingleHkcuKey(const char* procedure, const char* path, const char* quietPath,
                                          CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation(procedure);
    SetupProgress(progress, 1);
    CSystemRegistryKey key;
    if (!key.SetRootKey(HKEY_CURRENT_USER))
        return 0;
    if (quietPath != nullptr)
        key.DeleteKey(quietPath);
    return DeleteHkcuKeyRow(key, path, list, progress);
}

int CSystemFunctions::DeleteLocalSearch(CListCtrl* list, CProgressCtrl* progress)
{
    // The older search words go too, without a row of their own.
    return DeleteSingleHkcuKey("DeleteLocalSearch", kWordWheelQuery, kACMru5603, list, progress);
}

int CSystemFunctions::DeleteSearch4Computers(CListCtrl* list, CProgressCtrl* progress)
{
    return DeleteSingleHkcuKey("DeleteSearch4Computers", kACMru5647, nullptr, list, progress);
}

int CSystemFunctions::DeleteRunMRU(CListCtrl* list, CProgressCtrl* progress)
{
    return DeleteSingleHkcuKey("DeleteRunMRU", kRunMRU, nullptr, list, progress);
}

UserAdminProbe SetSystemUserAdminProbe(UserAdminProbe probe) { return SetUserAdminProbe(probe); }
