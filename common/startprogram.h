// Starting another program of the suite's program folder and waiting for it,
// as the recent-work cleaner does with the plug-in builder and the main
// cleaner with the cookie viewer.
#pragma once
#include "fw/framework.h"

// text in double quotes, for one argument of a command line.
CString QuoteArgument(const CString& text);

// The command line "<program folder>\<exeName>" followed by the arguments,
// which the caller quotes as it needs (QuoteArgument).
CString SuiteProgramCommand(const char* exeName, const CString& arguments);

// Starts the command line and waits for the program to end while the calling
// thread's messages are dispatched, so its windows keep painting. 1 when the
// program started (and has ended), 0 when it could not be started: then
// nothing was waited on and the caller tells the user.
int RunProgramAndWait(const CString& commandLine);

// Test seam: replaces the start (null: the real one) and returns the one
// installed before.
typedef int (*PFN_RUN_PROGRAM)(const CString& commandLine);
PFN_RUN_PROGRAM SetRunProgramProc(PFN_RUN_PROGRAM proc);
