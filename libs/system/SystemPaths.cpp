#include "SystemPaths.h"

#include "services.h"

#include <shlobj.h>
#include <cstring>

CString DriveRootOf(const CString& path)
{
    int slash = path.Find('\\');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

BOOL HasExtensionNoCase(const char* name, const char* extension)
{
    size_t nameLength = strlen(name);
    size_t extLength = strlen(extension);
    return nameLength >= extLength && lstrcmpiA(name + nameLength - extLength, extension) == 0;
}
