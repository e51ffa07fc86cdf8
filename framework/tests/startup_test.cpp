#include "fw/framework.h"
#include "fwtest.h"
#include <gtest/gtest.h>

namespace {
// Runs the probe program beside the test and returns its exit code.
DWORD RunProbe(const char* args)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    CString path(exe);
    path = path.Left(path.ReverseFind('\\') + 1) + "fw_probe_app.exe";
    CString cmd = "\"" + path + "\" " + args;
    STARTUPINFOA si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(path, cmd.GetBuffer(0), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 0xFFFFFFFF;
    cmd.ReleaseBuffer();
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}
} // namespace

TEST(StartupTest, ProgramRunsUntilItsMainWindowCloses)
{
    // InitInstance, idle work, the frame deleted with its window, ExitInstance's code.
    EXPECT_EQ(100u + (1 | 2 | 4), RunProbe(""));
    // A refusing InitInstance ends the program without a message loop.
    EXPECT_EQ(100u + 1, RunProbe("refuse"));
}

TEST(StartupTest, LibraryStartsWithItsLoadAndMayRefuseIt)
{
    HMODULE h = LoadLibraryA("fw_probe_lib.dll");
    ASSERT_NE(nullptr, h);
    typedef int (*Fn)();
    Fn count = (Fn)(void*)GetProcAddress(h, "ProbeInitCount");
    Fn isLib = (Fn)(void*)GetProcAddress(h, "ProbeIsLibrary");
    ASSERT_NE(nullptr, count);
    EXPECT_EQ(1, count());
    EXPECT_EQ(1, isLib());
    FreeLibrary(h);

    CHandle flag(CreateFileA("fw-probe-refuse.flag", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(INVALID_HANDLE_VALUE, flag);
    flag.Close();
    EXPECT_EQ(nullptr, LoadLibraryA("fw_probe_lib.dll"));
    DeleteFileA("fw-probe-refuse.flag");
}
