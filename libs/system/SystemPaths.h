// Path checks of the system library: every folder the library empties is
// derived from the environment or the registry, so each one is checked before
// anything below it is touched.
#pragma once

#include "fw/framework.h"
#include "pathlayer.h"

// The shell folder of a CSIDL (no token, flags 0), "" when it is not known.
CString GetShellFolderPath(int csidl);

// "X:\..." or "\\server\share...": a path that does not depend on the current
// drive or folder. Device and extended-length forms ("\\?\", "\\.\") are not
// accepted.
BOOL IsAbsolutePath(const char* path);

// The path cut after its first backslash: "C:\Windows" gives "C:\"; "" when
// there is no backslash.
CString DriveRootOf(const CString& path);

// Full path (dots resolved), long names where the path exists, no trailing
// backslash ("C:\" becomes "C:").
CString NormalizePath(const CString& path);

// TRUE when candidate names folder itself or a folder above it.
BOOL IsSameOrAbove(const CString& candidate, const CString& folder);

// TRUE when a folder taken from the environment or the registry may be
// emptied: absolute, not a drive root, and not equal to or above the Windows
// or system folder, the user profile, the application-data folders, the
// program-files folders, the documents or desktop folders, or the program
// folder of the suite.
BOOL IsSafeFolderToEmpty(const CString& folder);

// TRUE when the name ends in the extension (".log"), case-insensitively.
BOOL HasExtensionNoCase(const char* name, const char* extension);
