#include "fwtest.h"
#include "fw/file.h"

namespace {
void RemoveTree(const CString& dir)
{
    CFileFind ff;
    BOOL more = ff.FindFile(dir + "\\*.*");
    while (more) {
        more = ff.FindNextFile();
        if (ff.IsDots())
            continue;
        CString path = ff.GetFilePath();
        if (ff.IsDirectory() && !ff.IsReparsePoint()) {
            RemoveTree(path);
        } else {
            SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path);
        }
    }
    ff.Close();
    RemoveDirectoryA(dir);
}
} // namespace

CString FwTestScratch(const char* name)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    CString dir(exe);
    dir = dir.Left(dir.ReverseFind('\\')) + "\\fw-scratch";
    CreateDirectoryA(dir, nullptr);
    dir += CString("\\") + name;
    RemoveTree(dir);
    CreateDirectoryA(dir, nullptr);
    return dir;
}

void FwTestPump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
