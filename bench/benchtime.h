// Shared by the benchmark helpers: a millisecond clock and the timing of
// Windows' own "cmd /c rd /s /q" that they compare against.
#pragma once
#include <windows.h>
#include <cstdio>
#include <string>

inline double Now()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * (double)counter.QuadPart / (double)frequency.QuadPart;
}

// Removes the folder with "cmd /c rd /s /q" and prints "rd <milliseconds>".
// 0 when the folder is gone.
inline int TimeRd(const std::string& root)
{
    std::string command = "cmd.exe /c rd /s /q \"" + root + "\"";
    STARTUPINFOA si = {sizeof(si)};
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
