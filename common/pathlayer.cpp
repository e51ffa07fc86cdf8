#include "pathlayer.h"
#include "fw/handle.h"
#include "services.h"

#include <shlobj.h>
#include <cctype>
#include <cstring>
#include <vector>

// Length of the root part of a path whose separators are all "\": "C:\" is
// 3, "\\server\share\" is up to and including the separator after the share
// (or the whole text when none follows); 0 when there is no such root.
static int RootLength(const CString& path)
{
    if (path.GetLength() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return 3;
    if (path.GetLength() >= 2 && path[0] == '\\' && path[1] == '\\') {
        int server = path.Find('\\', 2);
        if (server < 0)
            return path.GetLength();
        int share = path.Find('\\', server + 1);
        return share < 0 ? path.GetLength() : share + 1;
    }
    return 0;
}

// "/" becomes "\" and runs of separators become one, except the two that
// open a UNC path.
static CString UnifySeparators(const char* raw)
{
    CString result;
    for (const char* p = raw; *p != '\0'; ++p) {
        char c = IsPathSeparator(*p) ? '\\' : *p;
        if (c == '\\' && result.GetLength() > 0 && result[result.GetLength() - 1] == '\\' &&
            !(result.GetLength() == 1 && p == raw + 1))
            continue;
        result += c;
    }
    return result;
}

// The text a path call writes (call(buffer, size) returns the length it wrote,
// or the size it needs when the buffer is too small, or 0). It is made with a
// buffer that fits most paths, and again with the size asked for only when
// that did not fit: a path is canonicalised for every entry of a run, and
// asking for the size first doubles the work. "" when the call fails.
template <class Call>
static CString PathFromCall(Call call)
{
    std::vector<char> buffer(MAX_PATH);
    DWORD length = call(buffer.data(), (DWORD)buffer.size());
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = call(buffer.data(), (DWORD)buffer.size());
    }
    if (length == 0 || length >= buffer.size())
        return CString();
    return CString(buffer.data(), (int)length);
}

static CString FullPathName(const CString& path)
{
    return PathFromCall([&](char* buffer, DWORD size) { return GetFullPathNameA(path, size, buffer, nullptr); });
}

// Trailing blanks and dots are not part of a name to Windows: "C:\a.\b " and
// "C:\a\b" are the same folder. A name that is nothing but dots and blanks
// inside the path ("C:\a\... \b") cannot be told apart reliably, so the path
// does not resolve; as the last name it simply goes ("C:\a\..." is "C:\a").
static bool StripNames(CString& path)
{
    const int root = RootLength(path);
    if (root == 0)
        return false;
    CString result = path.Left(root);
    CString rest = path.Mid(root);
    int start = 0;
    while (start <= rest.GetLength()) {
        int end = rest.Find('\\', start);
        const bool last = end < 0;
        if (last)
            end = rest.GetLength();
        CString name = rest.Mid(start, end - start);
        name.TrimRight(" .");
        if (name.IsEmpty()) {
            if (!last)
                return false;
        } else {
            if (result[result.GetLength() - 1] != '\\')
                result += '\\';
            result += name;
        }
        if (last)
            break;
        start = end + 1;
    }
    // A share root keeps its separator, as a drive root does.
    if (result[result.GetLength() - 1] != '\\' && RootLength(result) == result.GetLength())
        result += '\\';
    path = result;
    return true;
}

namespace {

// What a folder is, however it is reached: its volume and its number on it.
struct CFolderIdentity
{
    DWORD volume, high, low;
    bool operator==(const CFolderIdentity& other) const
    {
        return volume == other.volume && high == other.high && low == other.low;
    }
};

// What the thread's run shares (CurrentRun): the protected folders, found at
// the first test inside it, and what canonicalising found during it.

struct CRunFolders
{
    unsigned run = 0;
    bool found = false;
    std::vector<CString> folders;
    // Each protected folder and each folder above one, by identity.
    bool identified = false;
    std::vector<std::pair<CString, CFolderIdentity>> identities;
};
thread_local CRunFolders* t_runFolders = nullptr;
// Set while the protected folders are found: their own canonical forms do
// not depend on them.
thread_local bool t_findingFolders = false;

// A run canonicalises thousands of paths in a few folders, and each again
// where the library takes the validated form: expanding a path's short names
// asks the file system once for every name in it. So a run keeps the long
// forms of the folders it expanded and the canonical forms it gave out
// (canonicalising one of those gives it back unchanged). A few of each are
// enough: entries come folder by folder.
struct CRunPaths
{
    unsigned run = 0;
    static const size_t kKept = 16;
    std::vector<std::pair<CString, CString>> longFolders; // as given, long form
    std::vector<CString> canonical;
    // The validator and then the library test the same path: the last few
    // link and final-path answers are not asked for again.
    static const size_t kAnswers = 4;
    std::vector<std::pair<CString, int>> links;
    std::vector<std::pair<CString, CString>> finals;

    template <class T>
    static void Keep(std::vector<T>& list, const T& value, size_t kept = kKept)
    {
        if (list.size() >= kept)
            list.erase(list.begin());
        list.push_back(value);
    }
    template <class T>
    static const T* Find(const std::vector<std::pair<CString, T>>& list, const CString& path)
    {
        for (const auto& known : list)
            if (known.first.Compare(path) == 0)
                return &known.second;
        return nullptr;
    }
    bool IsCanonical(const char* path) const
    {
        for (const CString& known : canonical)
            if (known.Compare(path) == 0)
                return true;
        return false;
    }
};
thread_local CRunPaths* t_runPaths = nullptr;

// The run's finds, made anew for each run; null outside a run.
template <class T>
T* RunShared(T*& shared)
{
    const unsigned run = CurrentRun();
    if (run == 0)
        return nullptr;
    if (shared == nullptr || shared->run != run) {
        delete shared;
        shared = new T;
        shared->run = run;
    }
    return shared;
}

CRunPaths* RunPaths() { return RunShared(t_runPaths); }

// The answer ask gives for the path, kept in the run's list of answers; a
// kept one serves only where the caller may take it.
template <class T>
T RunAnswer(std::vector<std::pair<CString, T>> CRunPaths::*answers, const CString& path, T (*ask)(const CString&),
            PathAsking asking)
{
    CRunPaths* run = RunPaths();
    if (run == nullptr)
        return ask(path);
    if (asking == PATH_MAY_REMEMBER) {
        if (const T* known = CRunPaths::Find(run->*answers, path))
            return *known;
    }
    const T answer = ask(path);
    // A fresh answer replaces what the run kept for the path.
    auto& list = run->*answers;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].first.Compare(path) == 0) {
            list.erase(list.begin() + i);
            break;
        }
    CRunPaths::Keep(list, std::make_pair(path, answer), CRunPaths::kAnswers);
    return answer;
}

} // namespace

// Short (8.3) names expanded for the longest part of the path that exists;
// reached tells how much of it that was.
static CString ExpandEveryShortName(const CString& path, int root, int& reached)
{
    int cut = path.GetLength();
    while (cut > root) {
        const CString head = path.Left(cut);
        const CString expanded =
            PathFromCall([&](char* buffer, DWORD size) { return GetLongPathNameA(head, buffer, size); });
        if (!expanded.IsEmpty()) {
            reached = cut;
            return expanded + path.Mid(cut);
        }
        cut = head.ReverseFind('\\');
    }
    reached = 0;
    return path;
}

// 1 when name is the long or the short name of what a lookup found.
static bool IsNameFound(const CString& name, const WIN32_FIND_DATAA& found)
{
    return name.CompareNoCase(found.cFileName) == 0 ||
           (found.cAlternateFileName[0] != '\0' && name.CompareNoCase(found.cAlternateFileName) == 0);
}

static CString ExpandShortNames(const CString& path)
{
    const int root = RootLength(path);
    const int slash = path.ReverseFind('\\');
    CRunPaths* run = slash >= root ? RunPaths() : nullptr;
    if (run == nullptr) {
        int reached = 0;
        return ExpandEveryShortName(path, root, reached);
    }
    const CString folder = path.Left(slash);
    // The folder's long form is known: only the last name is looked up (a
    // find gives its long name, as the system's own expansion does). The
    // file system matches patterns of its own in a find; what it found is
    // used only when it is the name asked for.
    if (const CString* longFolder = CRunPaths::Find(run->longFolders, folder)) {
        const CString name = path.Mid(slash + 1);
        WIN32_FIND_DATAA found;
        CFindHandle find(::FindFirstFileA(path, &found));
        return WithTrailingBackslash(*longFolder) +
               (find.IsValid() && IsNameFound(name, found) ? CString(found.cFileName) : name);
    }
    int reached = 0;
    const CString expanded = ExpandEveryShortName(path, root, reached);
    // The folder existed: the expansion keeps every name, so the part before
    // the last one is the folder's long form.
    if (reached >= slash) {
        const int expandedSlash = expanded.ReverseFind('\\');
        CRunPaths::Keep(run->longFolders, std::make_pair(folder, expanded.Left(expandedSlash)));
    }
    return expanded;
}

namespace {

// One part of an IPv4 address as the resolver reads it: decimal, octal
// ("0177") or hexadecimal ("0x7f").
bool ParseAddressPart(const CString& text, unsigned long long& value)
{
    int base = 10, start = 0;
    if (text.GetLength() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        base = 16, start = 2;
    else if (text.GetLength() > 1 && text[0] == '0')
        base = 8, start = 1;
    if (start >= text.GetLength())
        return false;
    value = 0;
    for (int i = start; i < text.GetLength(); ++i) {
        const char c = (char)tolower((unsigned char)text[i]);
        const int digit = c >= '0' && c <= '9' ? c - '0' : (c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99);
        if (digit >= base || value > 0xffffffffULL)
            return false;
        value = value * base + digit;
    }
    return true;
}

// "127.0.0.1", "127.1", "0177.0.0.1", "0x7f000001", "2130706433": the
// loopback network in every form the resolver reads an address in (one to
// four parts, the last filling the bytes left).
bool IsLoopbackAddress(const CString& server)
{
    std::vector<unsigned long long> parts;
    int start = 0;
    for (int i = 0; i <= server.GetLength(); ++i) {
        if (i < server.GetLength() && server[i] != '.')
            continue;
        unsigned long long value = 0;
        if (parts.size() == 4 || !ParseAddressPart(server.Mid(start, i - start), value))
            return false;
        parts.push_back(value);
        start = i + 1;
    }
    const size_t last = parts.size() - 1;
    for (size_t i = 0; i < last; ++i)
        if (parts[i] > 0xff)
            return false;
    if (parts[last] >= (1ULL << (8 * (4 - last))))
        return false;
    const unsigned long long first = last == 0 ? parts[0] >> 24 : parts[0];
    return first == 127;
}

// "0--1.ipv6-literal.net" ("::1", "-" for ":", "s" before a scope): the
// IPv6 loopback, or an IPv4 loopback address mapped into IPv6.
bool IsLoopbackLiteral(const CString& server)
{
    static const char kSuffix[] = ".ipv6-literal.net";
    const int suffix = (int)sizeof(kSuffix) - 1;
    if (server.GetLength() <= suffix || server.Right(suffix).CompareNoCase(kSuffix) != 0)
        return false;
    CString address = server.Left(server.GetLength() - suffix);
    const int scope = address.Find('s');
    if (scope >= 0)
        address = address.Left(scope);
    // The groups before and after "--" (at most one).
    auto groups = [](const CString& text, std::vector<unsigned>& out) {
        int start = 0;
        for (int i = 0; !text.IsEmpty() && i <= text.GetLength(); ++i) {
            if (i < text.GetLength() && text[i] != '-')
                continue;
            unsigned long long value = 0;
            const CString group = text.Mid(start, i - start);
            if (group.IsEmpty() || group.GetLength() > 4 || !ParseAddressPart("0x" + group, value))
                return false;
            out.push_back((unsigned)value);
            start = i + 1;
        }
        return true;
    };
    std::vector<unsigned> head, tail;
    const int gap = address.Find("--");
    if (gap >= 0 && address.Find("--", gap + 1) >= 0)
        return false;
    if (!groups(gap < 0 ? address : address.Left(gap), head) || (gap >= 0 && !groups(address.Mid(gap + 2), tail)))
        return false;
    if ((gap >= 0 && head.size() + tail.size() > 7) || (gap < 0 && head.size() != 8))
        return false;
    std::vector<unsigned> all(head);
    all.resize(8 - tail.size(), 0);
    all.insert(all.end(), tail.begin(), tail.end());
    for (int i = 0; i < 5; ++i)
        if (all[i] != 0)
            return false;
    if (all[5] == 0 && all[6] == 0 && all[7] == 1)
        return true;
    return all[5] == 0xffff && (all[6] >> 8) == 127;
}

bool IsThisComputer(const CString& spelled, const std::vector<CString>& computerNames)
{
    // A trailing dot only marks the name as fully qualified.
    CString server = spelled;
    if (server.GetLength() > 1 && server[server.GetLength() - 1] == '.')
        server = server.Left(server.GetLength() - 1);
    if (server.CompareNoCase("localhost") == 0 || IsLoopbackAddress(server) || IsLoopbackLiteral(server))
        return true;
    for (const CString& name : computerNames)
        if (!name.IsEmpty() && server.CompareNoCase(name) == 0)
            return true;
    return false;
}

} // namespace

CString LocalShareAsDrive(const char* path, const std::vector<CString>& computerNames)
{
    if (path == nullptr)
        return CString();
    const CString text(path);
    // "\\?\UNC\server\..." is "\\server\..." without normalisation.
    int server = 0;
    if (text.GetLength() > 8 && IsPathSeparator(text[0]) && IsPathSeparator(text[1]) && text[2] == '?' &&
        IsPathSeparator(text[3]) && text.Mid(4, 3).CompareNoCase("UNC") == 0 && IsPathSeparator(text[7]))
        server = 8;
    else if (text.GetLength() > 2 && IsPathSeparator(text[0]) && IsPathSeparator(text[1]))
        server = 2;
    else
        return text;
    int end = server;
    while (end < text.GetLength() && !IsPathSeparator(text[end]))
        ++end;
    // The share: a drive letter and "$", alone or followed by a separator.
    const int share = end + 1;
    if (end == server || share + 2 > text.GetLength() || !IsDriveLetter(text[share]) || text[share + 1] != '$' ||
        (share + 2 < text.GetLength() && !IsPathSeparator(text[share + 2])))
        return text;
    if (!IsThisComputer(text.Mid(server, end - server), computerNames))
        return text;
    CString drive;
    drive.Format("%c:\\", toupper((unsigned char)text[share]));
    return drive + text.Mid(share + 3);
}

std::vector<CString> ComputerNames()
{
    static const COMPUTER_NAME_FORMAT formats[] = {ComputerNameNetBIOS, ComputerNameDnsHostname,
                                                   ComputerNameDnsFullyQualified};
    std::vector<CString> names;
    for (COMPUTER_NAME_FORMAT format : formats) {
        char name[MAX_PATH] = "";
        DWORD length = sizeof(name);
        if (GetComputerNameExA(format, name, &length) && name[0] != '\0')
            names.push_back(name);
    }
    return names;
}

static CString ShareAsLocalFolder(const CString& path);

int HasForbiddenNameCharacter(const char* path)
{
    if (path == nullptr)
        return 0;
    for (const char* p = path; *p != '\0'; ++p) {
        const unsigned char c = (unsigned char)*p;
        if (c < 32 || strchr("<>\"|*?", c) != nullptr)
            return 1;
        // A colon only after the drive letter: elsewhere it names a stream
        // or a device.
        if (c == ':' && !(p == path + 1 && IsDriveLetter(path[0])))
            return 1;
    }
    return 0;
}

CString CanonicalPath(const char* raw)
{
    if (raw == nullptr || raw[0] == '\0')
        return CString();
    if (HasForbiddenNameCharacter(raw))
        return CString();
    CRunPaths* run = RunPaths();
    if (run != nullptr && run->IsCanonical(raw))
        return CString(raw);
    // A local drive reached as a network share is that drive for every test
    // (Windows keeps the share spelling in final paths too).
    CString path = UnifySeparators(raw);
    if (path.Left(2) == "\\\\")
        path = UnifySeparators(LocalShareAsDrive(path, ComputerNames()));
    // Resolving may show names that only then end in dots or blanks, and
    // stripping those may leave "." or ".." to resolve again.
    for (int round = 0; round < 4; ++round) {
        CString full = FullPathName(path);
        if (full.IsEmpty())
            return CString();
        full = UnifySeparators(full);
        if (!StripNames(full))
            return CString();
        if (full.CompareNoCase(path) == 0)
            break;
        path = full;
    }
    if (path.Left(2) == "\\\\" && !t_findingFolders) {
        path = ShareAsLocalFolder(path);
        if (path.IsEmpty())
            return CString();
    }
    path = ExpandShortNames(path);
    if (!StripNames(path))
        return CString();
    if (run != nullptr)
        CRunPaths::Keep(run->canonical, path);
    return path;
}

int IsRootPath(const CString& canonical)
{
    if (canonical.GetLength() == 2 && IsDriveLetter(canonical[0]) && canonical[1] == ':')
        return 1;
    const int root = RootLength(canonical);
    return root > 0 && root == canonical.GetLength() ? 1 : 0;
}

// Case-insensitive equality of the first count characters, the way the file
// system compares names.
static bool SameText(const char* a, const char* b, int count)
{
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a, count, b, count) == CSTR_EQUAL;
}

int IsPathInside(const CString& inner, const CString& outer)
{
    if (inner.IsEmpty() || outer.IsEmpty())
        return 0;
    int outerLength = outer.GetLength();
    if (outer[outerLength - 1] == '\\' && RootLength(outer) != outerLength)
        --outerLength;
    if (inner.GetLength() < outerLength || !SameText(inner, outer, outerLength))
        return 0;
    if (inner.GetLength() == outerLength)
        return 1;
    // Whole names only: "C:\ab" does not lie in "C:\a".
    return inner[outerLength] == '\\' || outer[outerLength - 1] == '\\' ? 1 : 0;
}

static CString EnvironmentValue(const char* name)
{
    char buffer[MAX_PATH * 2] = "";
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    return length > 0 && length < sizeof(buffer) ? CString(buffer) : CString();
}

int IsWow64Redirected()
{
    typedef BOOL(WINAPI * Wow64Function)(HANDLE, PBOOL);
    Wow64Function isWow64 =
        (Wow64Function)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64 ? 1 : 0;
}

CString NativeSystemFolder()
{
    if (!IsWow64Redirected())
        return CString();
    const CString windows = GetShellFolderPath(CSIDL_WINDOWS);
    return windows.IsEmpty() ? CString() : windows + "\\Sysnative";
}

// A 32-bit process on 64-bit Windows is given its own view's folders only:
// the native program-files folders (from the environment, or the 64-bit
// registry where the environment lacks them) and the real system folder
// are Windows' own all the same.
static void AddOtherViewFolders(std::vector<CString>& raw)
{
    if (!IsWow64Redirected())
        return;
    raw.push_back(NativeSystemFolder());
    CRegKeyHandle key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.Receive()) != ERROR_SUCCESS)
        return;
    for (const char* name : {"ProgramFilesDir", "CommonFilesDir"}) {
        char value[MAX_PATH * 2] = "";
        DWORD size = sizeof(value) - 1, type = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)value, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ))
            raw.push_back(value);
    }
}

// Every protected folder in canonical form, and again as its final path
// where links lead it elsewhere (Wine keeps Desktop and Documents on the
// host through links).
static std::vector<CString> FindProtectedFolders()
{
    static const int kShellFolders[] = {CSIDL_WINDOWS,
                                        CSIDL_SYSTEM,
                                        CSIDL_SYSTEMX86,
                                        CSIDL_PROGRAM_FILES,
                                        CSIDL_PROGRAM_FILESX86,
                                        CSIDL_PROGRAM_FILES_COMMON,
                                        CSIDL_PROGRAM_FILES_COMMONX86,
                                        CSIDL_PROFILE,
                                        CSIDL_APPDATA,
                                        CSIDL_LOCAL_APPDATA,
                                        CSIDL_COMMON_APPDATA,
                                        CSIDL_DESKTOPDIRECTORY,
                                        CSIDL_PERSONAL};
    static const char* const kEnvironment[] = {"SystemRoot",         "windir",
                                               "USERPROFILE",        "APPDATA",
                                               "LOCALAPPDATA",       "ProgramFiles",
                                               "ProgramFiles(x86)",  "ProgramW6432",
                                               "CommonProgramFiles", "CommonProgramFiles(x86)",
                                               "CommonProgramW6432", "ProgramData"};
    std::vector<CString> raw;
    CString profile, appData;
    for (int csidl : kShellFolders) {
        raw.push_back(GetShellFolderPath(csidl));
        if (csidl == CSIDL_PROFILE)
            profile = raw.back();
        else if (csidl == CSIDL_APPDATA)
            appData = raw.back();
    }
    for (const char* name : kEnvironment)
        raw.push_back(EnvironmentValue(name));
    raw.push_back(GetAppPath());
    AddOtherViewFolders(raw);
    // As GetAppDataPath gives it: a relative answer names no folder.
    if (IsAbsolutePathText(appData)) {
        raw.push_back(appData + "\\Zex\\Ulmoro");
        raw.push_back(appData + "\\Talvery\\Pirt");
    }

    std::vector<CString> folders;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (!IsAbsolutePathText(raw[i]))
            continue;
        // The shell and the environment mostly name the same folders.
        bool seen = false;
        for (size_t j = 0; j < i && !seen; ++j)
            seen = raw[j].CompareNoCase(raw[i]) == 0;
        if (seen)
            continue;
        CString canonical = CanonicalPath(raw[i]);
        if (canonical.IsEmpty())
            continue;
        folders.push_back(canonical);
        CString final = FinalPath(canonical);
        if (!final.IsEmpty() && final.CompareNoCase(canonical) != 0)
            folders.push_back(final);
    }
    // The profiles root holds every user's profile.
    profile = CanonicalPath(profile);
    int slash = profile.ReverseFind('\\');
    if (slash > 2)
        folders.push_back(profile.Left(slash));
    return folders;
}

static std::vector<CString> FindingProtectedFolders()
{
    const bool finding = t_findingFolders;
    t_findingFolders = true;
    std::vector<CString> folders = FindProtectedFolders();
    t_findingFolders = finding;
    return folders;
}

// What find() gives, worked out once per run where a run is going on.
template <typename T, typename Find>
static T OncePerRun(bool CRunFolders::*done, T CRunFolders::*value, Find find)
{
    CRunFolders* shared = RunShared(t_runFolders);
    if (shared == nullptr)
        return find();
    if (!(shared->*done))
        shared->*value = find();
    shared->*done = true;
    return shared->*value;
}

static std::vector<CString> ProtectedFolders()
{
    return OncePerRun(&CRunFolders::found, &CRunFolders::folders, FindingProtectedFolders);
}

static bool IdentityOf(const CString& path, CFolderIdentity& identity)
{
    CHandle handle(CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info))
        return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.high = info.nFileIndexHigh;
    identity.low = info.nFileIndexLow;
    return true;
}

// Each local protected folder and each folder above one (the drive roots
// among them), with what it is.
static std::vector<std::pair<CString, CFolderIdentity>> FindFolderIdentities()
{
    std::vector<std::pair<CString, CFolderIdentity>> identities;
    for (CString folder : ProtectedFolders()) {
        while (RootLength(folder) == 3) {
            bool seen = false;
            for (const auto& known : identities)
                seen = seen || known.first.CompareNoCase(folder) == 0;
            CFolderIdentity identity;
            if (!seen && IdentityOf(folder, identity))
                identities.push_back(std::make_pair(folder, identity));
            if (IsRootPath(folder))
                break;
            const int slash = folder.ReverseFind('\\');
            folder = slash <= 2 ? folder.Left(3) : folder.Left(slash);
        }
    }
    return identities;
}

static std::vector<std::pair<CString, CFolderIdentity>> FolderIdentities()
{
    return OncePerRun(&CRunFolders::identified, &CRunFolders::identities, FindFolderIdentities);
}

// A share judged by what it opens: when its root is a protected folder or a
// folder above one, the path is spelt from that folder. Where that cannot
// be told, a share that may be any folder of a computer (a name ending in
// "$") or a share of this computer is refused (""); any other share stays.
static CString ShareAsLocalFolder(const CString& path)
{
    const int root = RootLength(path);
    if (root < 5 || path[root - 1] != '\\')
        return path;
    const int server = path.Find('\\', 2);
    CFolderIdentity identity;
    if (!IdentityOf(path.Left(root), identity)) {
        const CString share = path.Mid(server + 1, root - server - 2);
        if (share.Right(1) == "$" || IsThisComputer(path.Mid(2, server - 2), ComputerNames()))
            return CString();
        return path;
    }
    for (const auto& known : FolderIdentities())
        if (known.second == identity)
            return WithTrailingBackslash(known.first) + path.Mid(root);
    return path;
}

static bool IsAboveAny(const CString& canonical, const std::vector<CString>& folders)
{
    if (canonical.IsEmpty())
        return false;
    for (const CString& folder : folders)
        if (IsPathInside(folder, canonical))
            return true;
    return false;
}

int IsProtectedPath(const CString& canonical) { return IsAboveAny(canonical, ProtectedFolders()) ? 1 : 0; }

static int AskIsLink(const CString& canonical);

int IsLinkPath(const CString& canonical, PathAsking asking)
{
    if (canonical.IsEmpty() || IsRootPath(canonical))
        return 0;
    return RunAnswer(&CRunPaths::links, canonical, AskIsLink, asking);
}

static int AskIsLink(const CString& canonical)
{
    // Never a spelling with a trailing separator: Wine then reports the
    // target's attributes.
    CString path = canonical;
    while (path.GetLength() > 0 && path[path.GetLength() - 1] == '\\')
        path = path.Left(path.GetLength() - 1);
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return 1;
    // A pattern would make the lookup match other entries.
    WIN32_FIND_DATAA fd;
    CFindHandle find(!HasForbiddenNameCharacter(path) ? FindFirstFileA(path, &fd) : INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE) {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return 1;
    }
    // Windows also shows the link through a handle to the link itself.
    CHandle handle(CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                               nullptr));
    if (handle != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info;
        BOOL known = GetFileInformationByHandle(handle, &info);
        if (known && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return 1;
    }
    return 0;
}

typedef DWORD(WINAPI* FinalPathFunction)(HANDLE, LPSTR, DWORD, DWORD);

static CString AskFinalPath(const CString& canonical);

CString FinalPath(const CString& canonical, PathAsking asking)
{
    if (canonical.IsEmpty())
        return CString();
    return RunAnswer(&CRunPaths::finals, canonical, AskFinalPath, asking);
}

static CString AskFinalPath(const CString& canonical)
{
    // Not there before Vista.
    FinalPathFunction getFinalPath =
        (FinalPathFunction)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA");
    if (getFinalPath == nullptr)
        return CString();
    CHandle handle(CreateFileA(canonical, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle == INVALID_HANDLE_VALUE)
        return CString();
    CString result = PathFromCall([&](char* buffer, DWORD size) { return getFinalPath(handle, buffer, size, 0); });
    if (result.Left(8).CompareNoCase("\\\\?\\UNC\\") == 0)
        result = "\\\\" + result.Mid(8);
    else if (result.Left(4) == "\\\\?\\")
        result = result.Mid(4);
    if (!IsAbsolutePathText(result))
        return CString();
    return CanonicalPath(result);
}

// The tests after canonicalisation: path is the canonical form of an
// absolute raw text.
static PathVerdict CheckCanonicalFolder(const CString& path, bool linkAllowed, PathAsking asking, CString* canonical)
{
    if (path.IsEmpty())
        return PATH_NOT_ABSOLUTE;
    if (IsRootPath(path))
        return PATH_ROOT;
    const std::vector<CString> protectedFolders = ProtectedFolders();
    if (IsAboveAny(path, protectedFolders))
        return PATH_PROTECTED;
    if (!linkAllowed && IsLinkPath(path, asking))
        return PATH_LINK;
    // A link in a folder above (or the base folder itself) may lead
    // elsewhere; where it leads must pass the same tests.
    CString final = FinalPath(path, asking);
    if (!final.IsEmpty()) {
        if (IsRootPath(final))
            return PATH_ROOT;
        if (IsAboveAny(final, protectedFolders))
            return PATH_PROTECTED;
    }
    if (canonical != nullptr)
        *canonical = path;
    return PATH_OK;
}

static PathVerdict CheckFolder(const char* raw, bool linkAllowed, CString* canonical)
{
    if (!IsAbsolutePathText(raw))
        return PATH_NOT_ABSOLUTE;
    return CheckCanonicalFolder(CanonicalPath(raw), linkAllowed, PATH_ASK_NOW, canonical);
}

PathVerdict CheckFolderTarget(const char* raw, CString* canonical) { return CheckFolder(raw, false, canonical); }

PathVerdict CheckCanonicalFolderTarget(const char* raw, const CString& canonical)
{
    if (!IsAbsolutePathText(raw))
        return PATH_NOT_ABSOLUTE;
    return CheckCanonicalFolder(canonical, false, PATH_MAY_REMEMBER, nullptr);
}

PathVerdict CheckBaseFolder(const char* raw, CString* canonical) { return CheckFolder(raw, true, canonical); }
