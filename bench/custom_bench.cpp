// Benchmark helper, run under Wine by bench/custom-delete.sh.
//
//   custom_bench make <folder> <folders> <files>   builds the tree
//   custom_bench custom <folder> <pump>            times DeleteFolderContents
//   custom_bench plain <folder>                    times a plain FindFirstFile /
//                                                  DeleteFile loop (the limit)
//   custom_bench rd <folder>                       times "cmd /c rd /s /q"
//
// Each timing is printed as "<label> <milliseconds>" on one line; the emptying
// and the plain loop add the process's own CPU milliseconds (user and
// kernel), which a busy disk or machine disturbs far less than the time.
#include "CustomFunctions.h"
#include "benchtime.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The folders form chains of branches: "b0\d0\d1\...", so that the tree is
// nested but every path stays well below MAX_PATH. Files are spread evenly.
int MakeTree(const std::string& root, int folders, int files)
{
    const int depth = 20;
    const int branches = (folders + depth - 1) / depth;
    std::vector<std::string> all;
    if (!::CreateDirectoryA(root.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return 1;
    for (int b = 0; b < branches && (int)all.size() < folders; ++b) {
        std::string path = root + "\\b" + std::to_string(b);
        for (int d = 0; d < depth && (int)all.size() < folders; ++d) {
            if (d > 0)
                path += "\\d" + std::to_string(d);
            if (!::CreateDirectoryA(path.c_str(), nullptr))
                return 1;
            all.push_back(path);
        }
    }
    std::string data(512, 'x');
    for (int i = 0; i < files; ++i) {
        std::string name = all[i % all.size()] + "\\trace" + std::to_string(i) + ".tmp";
        HANDLE file =
            ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        DWORD written = 0;
        ::WriteFile(file, data.data(), (DWORD)data.size(), &written, nullptr);
        ::CloseHandle(file);
    }
    return 0;
}

// CPU milliseconds the process has used so far.
double CpuNow()
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return (double)(k.QuadPart + u.QuadPart) / 10000.0;
}

int TimeCustom(const std::string& root, int pump)
{
    CCustomFunctions custom;
    double cpu = CpuNow();
    double start = Now();
    int ok = custom.DeleteFolderContents(root.c_str(), 1, nullptr, nullptr, pump);
    double elapsed = Now() - start;
    std::printf("custom %.1f %.1f\n", elapsed, CpuNow() - cpu);
    return ok ? 0 : 1;
}

// What emptying a folder costs at the least: every file deleted and every
// sub-folder removed, nothing checked or reported.
void PlainEmpty(const std::string& folder)
{
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            PlainEmpty(path);
            ::RemoveDirectoryA(path.c_str());
        } else
            ::DeleteFileA(path.c_str());
    } while (::FindNextFileA(find, &fd));
    ::FindClose(find);
}

int TimePlain(const std::string& root)
{
    double cpu = CpuNow();
    double start = Now();
    PlainEmpty(root);
    double elapsed = Now() - start;
    std::printf("plain %.1f %.1f\n", elapsed, CpuNow() - cpu);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 5 && std::string(argv[1]) == "make")
        return MakeTree(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (argc >= 4 && std::string(argv[1]) == "custom")
        return TimeCustom(argv[2], std::atoi(argv[3]));
    if (argc >= 3 && std::string(argv[1]) == "plain")
        return TimePlain(argv[2]);
    if (argc >= 3 && std::string(argv[1]) == "rd")
        return TimeRd(argv[2]);
    std::fprintf(stderr, "usage: custom_bench make <folder> <folders> <files> | custom <folder> <pump> | plain "
                         "<folder> | rd <folder>\n");
    return 2;
}
