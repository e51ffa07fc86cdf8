// Path helpers of the system library. Every folder the library empties comes
// from the environment or the registry: each one is judged by the path layer
// (pathlayer.h) before anything below it is touched.
#pragma once

#include "fw/framework.h"
#include "pathlayer.h"
#include "services.h"

// The path cut after its first backslash: "C:\Windows" gives "C:\"; "" when
// there is no backslash.
CString DriveRootOf(const CString& path);

// TRUE when the name ends in the extension (".log"), case-insensitively.
BOOL HasExtensionNoCase(const char* name, const char* extension);
