// Test seam of system.dll: a clipboard that opens but cannot be emptied cannot
// be provoked from outside, so tests may replace the call that empties it.
// Not for use by the programs.
#pragma once
#include "SystemFunctions.h"

typedef BOOL(WINAPI* SystemEmptyClipboardProc)();

// Installs proc (null: EmptyClipboard again) and returns the one installed
// before.
SYSTEM_API SystemEmptyClipboardProc SetSystemEmptyClipboardProc(SystemEmptyClipboardProc proc);
