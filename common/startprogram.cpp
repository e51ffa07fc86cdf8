#include "startprogram.h"
#include "fw/handle.h"
#include "services.h"

namespace {

int RealRunProgram(const CString& commandLine)
{
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    // CreateProcess may write into the command line: give it a copy.
    CString line = commandLine;
    if (!::CreateProcessA(nullptr, line.GetBuffer(0), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        line.ReleaseBuffer();
        return 0;
    }
    line.ReleaseBuffer();
    CHandle thread(pi.hThread);
    CHandle process(pi.hProcess);
    for (;;) {
        DWORD r = ::MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1)
            break; // ended, or the wait failed: never spin
        ProcessMsgLoop();
    }
    return 1;
}

PFN_RUN_PROGRAM g_runProgram = RealRunProgram;

} // namespace

CString QuoteArgument(const CString& text) { return CString("\"") + text + "\""; }

CString SuiteProgramCommand(const char* exeName, const CString& arguments)
{
    CString command = QuoteArgument(GetAppPath() + "\\" + exeName);
    if (!arguments.IsEmpty())
        command += CString(" ") + arguments;
    return command;
}

int RunProgramAndWait(const CString& commandLine) { return g_runProgram(commandLine); }

PFN_RUN_PROGRAM SetRunProgramProc(PFN_RUN_PROGRAM proc)
{
    PFN_RUN_PROGRAM old = g_runProgram;
    g_runProgram = proc ? proc : RealRunProgram;
    return old;
}
