// Reader and writer of the cookie keep list.
#include "CookieKeepList.h"
#include "fw/handle.h"
#include "services.h"

namespace
{
// A keep list is a few hundred names at most; anything far larger is not one.
const DWORD kMaxListSize = 16 * 1024 * 1024;

CString KeepListFolder()
{
    CString root = GetDataRoot();
    if (root.IsEmpty())
        return CString();
    return root + "\\organize";
}
}

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
    if (attributes == INVALID_FILE_ATTRIBUTES)
    {
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

    CHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxListSize)
    {
        return 0;
    }
    CString text;
    DWORD read = 0;
    BOOL ok = TRUE;
    if (size > 0)
    {
        ok = ReadFile(file, text.GetBuffer((int)size), size, &read, nullptr);
        text.ReleaseBuffer(ok ? (int)read : 0);
    }
    if (!ok || read != size)
        return 0;

    int start = 0;
    while (start < text.GetLength())
    {
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
    for (size_t i = 0; i < names.size(); i++)
    {
        if (names[i].IsEmpty())
            continue;
        text += names[i];
        text += "\r\n";
    }
    CHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    BOOL ok = text.IsEmpty() || WriteFile(file, (const char*)text, (DWORD)text.GetLength(), &written, nullptr);
    return ok && written == (DWORD)text.GetLength() ? 1 : 0;
}

int IsCookieKept(const std::vector<CString>& keep, const char* fileName)
{
    for (size_t i = 0; i < keep.size(); i++)
        if (keep[i].CompareNoCase(fileName) == 0)
            return 1;
    return 0;
}
