// Paths, config files and first-run seeding.
#include "services.h"
#include "fw/handle.h"
#include <shlobj.h>

#ifndef PIRT_DATA_ROOT_TAIL
#error "PIRT_DATA_ROOT_TAIL must name the data root tail of this deliverable"
#endif

namespace {

const char* const kIniFiles[] = {
    "\\Pirt.ini",     // 0
    "\\Sarnith.ini",  // 1
    "\\Quillet.ini",  // 2
    "\\Farnoch.ini",  // 3
    "\\Holberin.ini", // 4
    "\\Keldor.ini",   // 5
    "\\Ombrisk.ini",  // 6
    "\\Zembla.ini",   // 7
    "\\Plimvet.ini",  // 8
    "\\Voxanel.ini",  // 9
    "\\Brisvane.ini", // 10
    nullptr,          // 11
    nullptr,          // 12
    nullptr,          // 13
    "\\Tarnel.ini"    // 14
};

const char* IniFileOf(int index)
{
    if (index < 0 || index >= (int)(sizeof(kIniFiles) / sizeof(kIniFiles[0])))
        return nullptr;
    return kIniFiles[index];
}

// Set while the seeding runs: its own request for the suite INI must not
// start another seeding when the skeleton lacks that file.
bool g_seeding = false;

// Set once the user has been told that there is no data folder: every
// settings request would otherwise repeat the message.
bool g_noDataFolderTold = false;

// The test seam's answer in place of the shell's (null: ask the shell).
AppDataProbe g_appDataProbe = nullptr;

// The copy behind CopyFolder and the seeding; keepExisting leaves files that
// already exist in the destination untouched.
int CopyTree(const char* source, const char* destination, int recurse, const char* filter, HANDLE stopEvent, int pump,
             bool keepExisting)
{
    if (!CreateFullPath(destination) || GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES)
        return 0;

    const bool hasFilter = filter != nullptr && filter[0] != '\0';
    const int passes = (recurse && hasFilter) ? 2 : 1;

    if (IsStopSignalled(stopEvent))
        return 0;

    const CString src = WithTrailingBackslash(source);
    const CString dst = WithTrailingBackslash(destination);
    int result = 1;
    bool stopped = false;

    for (int pass = 0; pass < passes && result == 1 && !stopped; ++pass) {
        const CString pattern = (hasFilter && pass == 0) ? CString(filter) : CString("*.*");
        CFileFind finder;
        if (!finder.FindFile(src + pattern))
            continue;
        bool more = false;
        do {
            more = finder.FindNextFile() != FALSE;
            if (pump)
                ProcessMsgLoopEvery();
            const CString name = finder.GetFileName();
            if (name[0] == '.')
                continue;
            const CString from = src + name;
            const CString to = dst + name;
            if (finder.IsDirectory()) {
                // A link or junction may lead anywhere: it is not copied through.
                if (finder.IsReparsePoint())
                    continue;
                if (recurse && (pass == 1 || passes == 1))
                    result = CopyTree(from, to, 1, nullptr, stopEvent, 1, keepExisting);
            } else if (pass == 0) {
                if (keepExisting && GetFileAttributesA(to) != INVALID_FILE_ATTRIBUTES)
                    continue;
                result = CopyFileA(from, to, FALSE) ? 1 : 0;
            }
        } while (!(stopped = IsStopSignalled(stopEvent)) && result == 1 && more);
    }
    if (stopped || IsStopSignalled(stopEvent))
        return 0;
    return result;
}

// The main window of the calling thread, NULL when it has none yet.
HWND ThreadMainWindow()
{
    CWnd* wnd = FwGetThreadMainWnd();
    return SafeHwnd(wnd);
}

// The box shown when no language can be chosen, then the main window is
// asked to close. During start-up there is no main window yet: the box then
// has no owner and nothing is closed.
void ShowNoLanguageMessage()
{
    HWND owner = ThreadMainWindow();
    MessageBoxA(owner, GetNoLanguageMessage(), "Error", MB_OK | MB_ICONERROR);
    if (owner != nullptr)
        SendMessageA(owner, WM_CLOSE, 0, 0);
}

} // namespace

int IsAbsolutePathText(const char* raw)
{
    if (raw == nullptr)
        return 0;
    if (IsDriveLetter(raw[0]) && raw[1] == ':' && IsPathSeparator(raw[2]))
        return 1;
    if (!(IsPathSeparator(raw[0]) && IsPathSeparator(raw[1])))
        return 0;
    // "\\server\share": a server name that is not a device or extended-length
    // prefix, then a share name.
    const char* server = raw + 2;
    const char* p = server;
    while (*p != '\0' && !IsPathSeparator(*p))
        ++p;
    const int serverLength = (int)(p - server);
    if (serverLength == 0 || *p == '\0')
        return 0;
    if (serverLength == 1 && (server[0] == '?' || server[0] == '.'))
        return 0;
    const char* share = p + 1;
    return *share != '\0' && !IsPathSeparator(*share) ? 1 : 0;
}

CString GetAppPath()
{
    char buffer[MAX_PATH + 1] = "";
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return CString();
    buffer[n] = '\0';
    char* slash = strrchr(buffer, '\\');
    if (slash != nullptr)
        *slash = '\0';
    return CString(buffer);
}

int FileExists(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return 0;
    CHandle h(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    return 1;
}

namespace {
BeforePumpFunction g_beforePump = nullptr;
} // namespace

void SetBeforePump(BeforePumpFunction before) { g_beforePump = before; }

void ProcessMsgLoop()
{
    if (g_beforePump != nullptr)
        g_beforePump();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the program's own loop, which ends on it.
            PostQuitMessage((int)msg.wParam);
            return;
        }
        if (!IsDialogMessageA(msg.hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

namespace {
thread_local int t_runDepth = 0;
thread_local unsigned t_run = 0;
thread_local unsigned t_lastRun = 0;
} // namespace

CRunPass::CRunPass()
{
    if (t_runDepth++ == 0)
        t_run = ++t_lastRun;
}

CRunPass::~CRunPass()
{
    ASSERT(t_runDepth > 0);
    if (--t_runDepth == 0)
        t_run = 0;
}

unsigned CurrentRun() { return t_run; }

LRESULT SendPastHooks(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Another thread's window is only ever reached through its own queue.
    if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId())
        return ::SendMessageA(window, message, wParam, lParam);
    const WNDPROC proc = (WNDPROC)::GetWindowLongPtrA(window, GWLP_WNDPROC);
    return ::CallWindowProcA(proc, window, message, wParam, lParam);
}

std::wstring WidenAnsi(const char* text)
{
    const int n = text != nullptr ? ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0) : 0;
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    return wide;
}

CString NarrowToAnsi(const wchar_t* text, int length)
{
    CString narrow;
    const int n = length > 0 ? ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
    if (n > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, text, length, narrow.GetBuffer(n), n, nullptr, nullptr);
        narrow.ReleaseBuffer(n);
    }
    return narrow;
}

CString WithTrailingBackslash(const char* folder)
{
    CString path(folder);
    if (path.IsEmpty() || path[path.GetLength() - 1] != '\\')
        path += '\\';
    return path;
}

bool IsStopSignalled(HANDLE stopEvent)
{
    return stopEvent != nullptr && WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
}

void ProcessMsgLoopEvery(DWORD intervalMs)
{
    static DWORD s_lastPump = 0;
    const DWORD now = GetTickCount();
    if (s_lastPump != 0 && now - s_lastPump < intervalMs)
        return;
    s_lastPump = now != 0 ? now : 1;
    ProcessMsgLoop();
}

void RemoveTrailingBackslash(CString& path)
{
    path.TrimRight();
    const int n = path.GetLength();
    if (n > 0 && path[n - 1] == '\\')
        path = path.Left(n - 1);
}

int CreateFullPath(const char* folder)
{
    if (folder == nullptr)
        return 0;
    CString path(folder);
    RemoveTrailingBackslash(path);

    CString built;
    CString rest;
    int drive = path.Find(":\\");
    if (drive >= 0) {
        built = path.Left(drive + 2);
        rest = path.Mid(drive + 2);
    } else if (path.Left(2) == "\\\\") {
        // \\server\share\ is the root of a network path: neither part is a
        // folder that could be created.
        int server = path.Find('\\', 2);
        int share = server >= 0 ? path.Find('\\', server + 1) : -1;
        if (share < 0)
            return 1;
        built = path.Left(share + 1);
        rest = path.Mid(share + 1);
    } else {
        rest = path;
    }

    while (!rest.IsEmpty()) {
        int slash = rest.Find('\\', 1);
        bool last = slash < 0;
        if (last) {
            built += rest;
            rest.Empty();
        } else {
            built += rest.Left(slash);
            rest = rest.Mid(slash);
        }
        if (GetFileAttributesA(built) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(built, nullptr))
            return 0;
    }
    return 1;
}

int CopyFolder(const char* source, const char* destination, int recurse, const char* filter, HANDLE stopEvent, int pump)
{
    if (source == nullptr || destination == nullptr)
        return 0;
    return CopyTree(source, destination, recurse, filter, stopEvent, pump, false);
}

CString GetShellFolderPath(int csidl)
{
    char buffer[MAX_PATH + 1] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return CString();
    buffer[MAX_PATH] = '\0';
    return CString(buffer);
}

CString GetAppDataPath()
{
    const CString appData = g_appDataProbe != nullptr ? g_appDataProbe() : GetShellFolderPath(CSIDL_APPDATA);
    // A relative answer would put the data below the current folder or the
    // root of the current drive.
    return IsAbsolutePathText(appData) ? appData : CString();
}

AppDataProbe SetAppDataProbe(AppDataProbe probe)
{
    AppDataProbe previous = g_appDataProbe;
    g_appDataProbe = probe;
    g_noDataFolderTold = false;
    return previous;
}

namespace {

// Once per process: every settings request would otherwise repeat it.
void TellNoDataFolder()
{
    if (g_noDataFolderTold)
        return;
    g_noDataFolderTold = true;
    ShowNoLanguageMessage();
}

} // namespace

CString GetUserDataFolder(const char* tail)
{
    const CString appData = GetAppDataPath();
    if (appData.IsEmpty()) {
        TellNoDataFolder();
        return CString();
    }
    return appData + tail;
}

CString GetProgramSubfolder(const char* tail)
{
    const CString program = GetAppPath();
    return IsAbsolutePathText(program) ? program + tail : CString();
}

CString GetDataRoot() { return GetUserDataFolder(PIRT_DATA_ROOT_TAIL); }

CString GetNoLanguageMessage()
{
    if (CString(PIRT_DATA_ROOT_TAIL) == "\\Talvery\\Pirt")
        return CString("No language files found. Please reinstall Talvery");
    return CString("No language files found. Please reinstall Zex Ulmora");
}

int IsGermanLangId(LANGID langId)
{
    switch (langId) {
    case 1031:
    case 2055:
    case 3079:
    case 4103:
    case 5127: return 1;
    default: return 0;
    }
}

void InitUserData() { SeedUserData(GetAppPath(), GetUserDefaultLangID()); }

void SeedUserData(const CString& programFolder, LANGID langId)
{
    if (g_seeding)
        return;
    // Without an application-data folder there is nowhere to seed, and no
    // language to choose: the user learns it once, as when no language file
    // exists, instead of settings landing in the root of the current drive.
    if (GetAppDataPath().IsEmpty()) {
        TellNoDataFolder();
        return;
    }
    g_seeding = true;

    const CString root = GetDataRoot();
    // A file the user already has is never overwritten by its skeleton copy.
    CopyTree(programFolder + "\\skel", root, 1, nullptr, nullptr, 1, true);

    // The choice stays when it names a language file that still exists.
    const CString ini = GetIniPath(INI_PIRT);
    char current[MAX_PATH + 1] = "";
    GetPrivateProfileStringA("Pirt", "LngPath", "", current, sizeof(current), ini);
    if (current[0] == '\0' || !FileExists(UnescapePercent(current))) {
        CreateFullPath(root + "\\config");
        const CString german = programFolder + "\\languages\\German.lng";
        const CString english = programFolder + "\\languages\\English.lng";
        if (IsGermanLangId(langId) && FileExists(german)) {
            WritePrivateProfileStringA("Pirt", "Language", "German", ini);
            WritePrivateProfileStringA("Pirt", "LngPath", EscapePercent(german), ini);
        } else if (FileExists(english)) {
            WritePrivateProfileStringA("Pirt", "Language", "English", ini);
            WritePrivateProfileStringA("Pirt", "LngPath", EscapePercent(english), ini);
        } else
            ShowNoLanguageMessage();
    }
    g_seeding = false;
}

CString GetIniPath(int index)
{
    const char* file = IniFileOf(index);
    const CString root = GetDataRoot();
    if (root.IsEmpty()) {
        InitUserData(); // tells the user once
        return CString();
    }
    CString path = root + "\\config";
    if (file == nullptr)
        return path; // the folder itself; a folder is no file to seed for
    path += file;
    if (!FileExists(path))
        InitUserData();
    return path;
}

CString GetIniString(CString section, CString key, int index)
{
    const CString ini = GetIniPath(index);
    char buffer[255] = "";
    if (!ini.IsEmpty())
        GetPrivateProfileStringA(section, key, "", buffer, sizeof(buffer), ini);
    return UnescapePercent(buffer);
}

int GetIniBool(CString section, CString key, int index) { return GetIniString(section, key, index) == "yes" ? 1 : 0; }

int WriteIniString(const char* section, const char* key, const char* value, int index)
{
    const CString ini = GetIniPath(index);
    if (ini.IsEmpty())
        return 0;
    return WritePrivateProfileStringA(section, key, value, ini) ? 1 : 0;
}

CString EscapePercent(const char* value)
{
    CString out(value != nullptr ? value : "");
    out.Replace("%", "%%");
    return out;
}

CString UnescapePercent(const char* stored)
{
    CString out;
    if (stored == nullptr)
        return out;
    for (const char* p = stored; *p != '\0'; ++p) {
        out += *p;
        if (p[0] == '%' && p[1] == '%')
            ++p;
    }
    return out;
}
