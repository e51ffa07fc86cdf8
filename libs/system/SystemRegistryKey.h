// The registry key class of the system library: adds a DWORD reader.
#pragma once

#include "registrykey.h"

class CSystemRegistryKey : public CRegistryKey
{
public:
    // The DWORD value of that name in the current key, or the default when
    // the key or the value cannot be read. The type is not checked: a value of
    // up to four bytes is read as a number.
    DWORD QueryDwordValue(CString name, DWORD defaultValue);
};
