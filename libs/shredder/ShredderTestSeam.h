// Test seam of shredder.dll: a failing write cannot be provoked from outside
// on every system, so tests may replace the call that writes one chunk of an
// overwrite pass. Not for use by the programs.
#pragma once
#include <windows.h>
#include "ShredderDefs.h"

typedef BOOL (WINAPI* ShredderWriteProc)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                         LPOVERLAPPED overlapped);

// Installs proc (NULL: WriteFile again) and returns the one installed before.
SHREDDER_API ShredderWriteProc SetShredderWriteProc(ShredderWriteProc proc);
