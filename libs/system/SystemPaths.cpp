#include "SystemPaths.h"

#include "services.h"

#include <shlobj.h>
#include <cstring>

CString GetShellFolderPath(int csidl)
{
    char buffer[MAX_PATH + 1] = "";
    if (FAILED(SHGetFolderPathA(NULL, csidl, NULL, 0, buffer)))
        return CString();
    buffer[MAX_PATH] = '\0';
    return CString(buffer);
}

static BOOL IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

BOOL IsAbsolutePath(const char* path)
{
    if (path == NULL)
        return FALSE;
    if (IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return TRUE;
    if (path[0] == '\\' && path[1] == '\\') {
        if (path[2] == '?' || path[2] == '.' || path[2] == '\\' || path[2] == '\0')
            return FALSE;
        const char* share = strchr(path + 2, '\\');
        return share != NULL && share[1] != '\0' && share[1] != '\\';
    }
    return FALSE;
}

CString DriveRootOf(const CString& path)
{
    int slash = path.Find('\\');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

static CString WithoutTrailingBackslashes(CString path)
{
    while (path.GetLength() > 0 && path[path.GetLength() - 1] == '\\')
        path = path.Left(path.GetLength() - 1);
    return path;
}

CString NormalizePath(const CString& path)
{
    if (path.IsEmpty())
        return CString();
    char full[MAX_PATH * 2] = "";
    DWORD length = GetFullPathNameA(path, sizeof(full), full, NULL);
    CString result = (length > 0 && length < sizeof(full)) ? CString(full) : path;
    char longName[MAX_PATH * 2] = "";
    length = GetLongPathNameA(result, longName, sizeof(longName));
    if (length > 0 && length < sizeof(longName))
        result = longName;
    return WithoutTrailingBackslashes(result);
}

BOOL IsSameOrAbove(const CString& candidate, const CString& folder)
{
    CString c = NormalizePath(candidate);
    CString f = NormalizePath(folder);
    if (c.IsEmpty() || f.IsEmpty())
        return FALSE;
    if (c.CompareNoCase(f) == 0)
        return TRUE;
    return f.GetLength() > c.GetLength() && f[c.GetLength()] == '\\'
        && f.Left(c.GetLength()).CompareNoCase(c) == 0;
}

static CString EnvironmentValue(const char* name)
{
    char buffer[MAX_PATH * 2] = "";
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    return (length > 0 && length < sizeof(buffer)) ? CString(buffer) : CString();
}

BOOL IsSafeFolderToEmpty(const CString& folder)
{
    if (!IsAbsolutePath(folder) || IsRootPath(CanonicalPath(folder)))
        return FALSE;
    // A path with ".." could climb above what it seems to name.
    if (IsRootPath(NormalizePath(folder)))
        return FALSE;

    static const int kProtected[] = {
        CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_PROFILE, CSIDL_APPDATA,
        CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
        CSIDL_PROGRAM_FILES_COMMON, CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY
    };
    for (int csidl : kProtected) {
        CString shellFolder = GetShellFolderPath(csidl);
        if (IsSameOrAbove(folder, shellFolder))
            return FALSE;
    }
    static const char* const kEnvironment[] = {
        "SystemRoot", "windir", "USERPROFILE", "APPDATA", "LOCALAPPDATA",
        "ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "ProgramData"
    };
    for (const char* name : kEnvironment) {
        CString value = EnvironmentValue(name);
        if (IsAbsolutePath(value) && IsSameOrAbove(folder, value))
            return FALSE;
    }
    return !IsSameOrAbove(folder, GetAppPath());
}

BOOL HasExtensionNoCase(const char* name, const char* extension)
{
    size_t nameLength = strlen(name);
    size_t extLength = strlen(extension);
    return nameLength >= extLength && lstrcmpiA(name + nameLength - extLength, extension) == 0;
}
