// Test seam of shredder.dll: a failing write, a file that vanishes while it is
// opened or a file above 4 GiB cannot be provoked from outside on every
// system, so tests may replace the file calls of a wipe. Not for use by the
// programs.
#pragma once
#include <windows.h>
#include "ShredderDefs.h"

// The replaceable calls; a NULL member is the system's own call.
struct ShredderFileCalls
{
    HANDLE(WINAPI* open)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE); // CreateFileA
    BOOL(WINAPI* size)(HANDLE, PLARGE_INTEGER);                                              // GetFileSizeEx
    BOOL(WINAPI* write)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);                      // WriteFile
    BOOL(WINAPI* flush)(HANDLE);                                                             // FlushFileBuffers
};

// Installs the calls (NULL: the system's own again) and returns the ones
// installed before.
SHREDDER_API ShredderFileCalls SetShredderFileCalls(const ShredderFileCalls* calls);
