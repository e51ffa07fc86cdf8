// Benchmark helper, run under Wine by bench/custom-delete.sh.
//
//   custom_bench make <folder> <folders> <files>   builds the tree
//   custom_bench custom <folder> <pump>            times DeleteFolderContents
//   custom_bench rd <folder>                       times "cmd /c rd /s /q"
//
// Each timing is printed as "<label> <milliseconds>" on one line.
#include "CustomFunctions.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

double Now()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * (double)counter.QuadPart / (double)frequency.QuadPart;
}

// The folders form chains of branches: "b0\d0\d1\...", so that the tree is
// nested but every path stays well below MAX_PATH. Files are spread evenly.
int MakeTree(const std::string& root, int folders, int files)
{
    const int depth = 20;
    const int branches = (folders + depth - 1) / depth;
    std::vector<std::string> all;
    if (!::CreateDirectoryA(root.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return 1;
    for (int b = 0; b < branches && (int)all.size() < folders; ++b)
    {
        std::string path = root + "\\b" + std::to_string(b);
        for (int d = 0; d < depth && (int)all.size() < folders; ++d)
        {
            if (d > 0)
                path += "\\d" + std::to_string(d);
            if (!::CreateDirectoryA(path.c_str(), nullptr))
                return 1;
            all.push_back(path);
        }
    }
    std::string data(512, 'x');
    for (int i = 0; i < files; ++i)
    {
        std::string name = all[i % all.size()] + "\\trace" + std::to_string(i) + ".tmp";
        HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        DWORD written = 0;
        ::WriteFile(file, data.data(), (DWORD)data.size(), &written, nullptr);
        ::CloseHandle(file);
    }
    return 0;
}

int TimeCustom(const std::string& root, int pump)
{
    CCustomFunctions custom;
    double start = Now();
    int ok = custom.DeleteFolderContents(root.c_str(), 1, nullptr, nullptr, pump);
    double elapsed = Now() - start;
    std::printf("custom %.1f\n", elapsed);
    return ok ? 0 : 1;
}

int TimeRd(const std::string& root)
{
    std::string command = "cmd.exe /c rd /s /q \"" + root + "\"";
    STARTUPINFOA si = { sizeof(si) };
    PROCESS_INFORMATION pi;
    double start = Now();
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 1;
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    double elapsed = Now() - start;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    std::printf("rd %.1f\n", elapsed);
    return ::GetFileAttributesA(root.c_str()) == INVALID_FILE_ATTRIBUTES ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 5 && std::string(argv[1]) == "make")
        return MakeTree(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (argc >= 4 && std::string(argv[1]) == "custom")
        return TimeCustom(argv[2], std::atoi(argv[3]));
    if (argc >= 3 && std::string(argv[1]) == "rd")
        return TimeRd(argv[2]);
    std::fprintf(stderr, "usage: custom_bench make <folder> <folders> <files> | custom <folder> <pump> | rd <folder>\n");
    return 2;
}
