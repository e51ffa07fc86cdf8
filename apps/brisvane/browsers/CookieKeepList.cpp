// Reader and writer of the cookie keep list.
#include "CookieKeepList.h"
#include "fw/handle.h"
#include "services.h"
#include "BrowserInternal.h"
#include <shlobj.h>

namespace {
// A keep list is a few hundred names at most; anything far larger is not one.
const DWORD kMaxListSize = 16 * 1024 * 1024;

CString KeepListFolder()
{
    CString root = GetDataRoot();
    if (root.IsEmpty())
        return CString();
    return root + "\\organize";
}
} // namespace

CString GetCookieKeepListPath()
{
    CString folder = KeepListFolder();
    if (folder.IsEmpty())
        return CString();
    return folder + "\\IECookies.keep";
}

int ReadCookieKeepList(std::vector<CString>& names)
{
    names.clear();
    CString path = GetCookieKeepListPath();
    if (path.IsEmpty())
        return 0;

    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return 0;
        // No list yet: nothing is kept. Create it for the manager; a failure
        // here changes nothing about what is kept.
        CreateFullPath(KeepListFolder());
        CHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        return 1;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return 0;

    CHandle file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxListSize) {
        return 0;
    }
    CString text;
    DWORD read = 0;
    BOOL ok = TRUE;
    if (size > 0) {
        ok = ReadFile(file, text.GetBuffer((int)size), size, &read, nullptr);
        text.ReleaseBuffer(ok ? (int)read : 0);
    }
    file.Close();
    if (!ok || read != size)
        return 0;

    int start = 0;
    while (start < text.GetLength()) {
        int end = text.Find('\n', start);
        if (end < 0)
            end = text.GetLength();
        CString line = text.Mid(start, end - start);
        line.TrimRight("\r");
        if (!line.IsEmpty())
            names.push_back(line);
        start = end + 1;
    }
    return 1;
}

int WriteCookieKeepList(const std::vector<CString>& names)
{
    CString path = GetCookieKeepListPath();
    if (path.IsEmpty() || !CreateFullPath(KeepListFolder()))
        return 0;
    CString text;
    for (size_t i = 0; i < names.size(); i++) {
        if (names[i].IsEmpty())
            continue;
        text += names[i];
        text += "\r\n";
    }
    // A list cut short by a failed write would let the cleaner delete the
    // cookies it no longer names: the old list stays until the new one is
    // complete on disk.
    CString fresh = path + ".new";
    CHandle file(CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    BOOL ok = text.IsEmpty() || WriteFile(file, (const char*)text, (DWORD)text.GetLength(), &written, nullptr);
    ok = ok && written == (DWORD)text.GetLength() && FlushFileBuffers(file);
    file.Close();
    if (ok && MoveFileExA(fresh, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    DeleteFileA(fresh);
    return 0;
}

int IsCookieKept(const std::vector<CString>& keep, const char* fileName)
{
    for (size_t i = 0; i < keep.size(); i++)
        if (keep[i].CompareNoCase(fileName) == 0)
            return 1;
    return 0;
}

CString GetCookieFolder() { return browsers::ShellFolder(CSIDL_COOKIES); }

std::vector<CString> ListCookieFiles(const CString& folder)
{
    std::vector<CString> names;
    // Without a folder the pattern would list the current drive's root.
    if (folder.IsEmpty())
        return names;
    WIN32_FIND_DATAA data;
    CFindHandle find(FindFirstFileA(folder + "\\*.txt", &data));
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        CString name(data.cFileName);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.GetLength() >= 4 &&
            name.Right(4).CompareNoCase(".txt") == 0)
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    return names;
}
