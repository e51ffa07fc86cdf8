// Starts a program, waits for its first visible top-level window and reports
// how long that took, then closes the program again. The 32-bit check of the
// program folder and the start-up benchmark use it.
//
//   startcheck.exe [--timeout <ms>] <program> [arguments]
//       prints "<milliseconds> <window title>"; exit code 0 when a window
//       appeared, 1 when none did in time, 2 when the program did not start
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "shownwindow.h"

namespace {

// The command line after our own arguments, as the program's own.
std::string Quoted(const char* argument)
{
    if (argument[0] != '\0' && strpbrk(argument, " \t\"") == nullptr)
        return argument;
    std::string out = "\"";
    out += argument;
    out += "\"";
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    int first = 1;
    DWORD timeoutMs = 30000;
    if (argc > 3 && strcmp(argv[1], "--timeout") == 0) {
        timeoutMs = (DWORD)strtoul(argv[2], nullptr, 10);
        first = 3;
    }
    if (first >= argc) {
        fprintf(stderr, "usage: startcheck [--timeout ms] program [arguments]\n");
        return 2;
    }
    std::string command;
    for (int i = first; i < argc; ++i)
        command += (i > first ? " " : "") + Quoted(argv[i]);

    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        fprintf(stderr, "startcheck: cannot start %s (error %lu)\n", command.c_str(), GetLastError());
        return 2;
    }
    CloseHandle(pi.hThread);

    HWND shown = nullptr;
    double elapsedMs = 0;
    for (;;) {
        shown = FindShownWindowOf(pi.dwProcessId);
        QueryPerformanceCounter(&now);
        elapsedMs = (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
        if (shown || elapsedMs > timeoutMs || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(2);
    }

    int result = 1;
    if (shown) {
        char title[256] = "";
        GetWindowTextA(shown, title, sizeof(title));
        printf("%.1f %s\n", elapsedMs, title);
        result = 0;
        PostMessageA(shown, WM_CLOSE, 0, 0);
    } else
        fprintf(stderr, "startcheck: no window of %s within %lu ms\n", command.c_str(), timeoutMs);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    return result;
}
