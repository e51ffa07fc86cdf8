// Helpers shared by the browser operation sources (not exported).
#pragma once
#include "fw/framework.h"
#include "pirt.h"

namespace browsers {
// 1 when nothing is at the path any more (a folder of that name counts as
// something: it is not what the operation removes, so it is reported).
inline int PathGone(const char* path)
{
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return 0;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

inline int IsFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline int IsFolder(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A shell folder of the user in canonical form when it is a usable base
// folder, else "" (the shell has none, or it is no place to delete in).
CString ShellFolder(int csidl);

// Names of the files (not folders) that match a FindFirstFile pattern.
std::vector<CString> FileNamesMatching(const CString& pattern);

// Row items of section Brisvane.
CString HistoryText();         // "10135"
CString TemporaryFilesText();  // "10140"
CString NothingToDeleteText(); // "10145"
} // namespace browsers
