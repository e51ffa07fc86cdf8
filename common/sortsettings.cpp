#include "sortsettings.h"

#include "services.h"

#include <cstdio>

void WriteSortSettings(int iniIndex, BOOL ascending, int column)
{
    char number[16];
    snprintf(number, sizeof(number), "%d", column);
    WriteIniString("Window", "SortAscending", ascending ? "yes" : "no", iniIndex);
    WriteIniString("Window", "SortedCol", number, iniIndex);
}

void ReadSortSettings(int iniIndex, int* ascending, int* column)
{
    ASSERT(ascending != nullptr && column != nullptr);
    *ascending = GetIniBool("Window", "SortAscending", iniIndex);
    const CString ini = GetIniPath(iniIndex);
    *column = ini.IsEmpty() ? -1 : (int)GetPrivateProfileIntA("Window", "SortedCol", -1, ini);
}
