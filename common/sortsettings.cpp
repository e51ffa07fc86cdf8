#include "sortsettings.h"

#include "services.h"

#include <cstdio>

void WriteSortSettings(int iniIndex, BOOL ascending, int column)
{
    CString path = GetIniPath(iniIndex);
    char number[16];
    snprintf(number, sizeof(number), "%d", column);
    WritePrivateProfileStringA("Window", "SortAscending", ascending ? "yes" : "no", path);
    WritePrivateProfileStringA("Window", "SortedCol", number, path);
}

void ReadSortSettings(int iniIndex, int* ascending, int* column)
{
    ASSERT(ascending != NULL && column != NULL);
    *ascending = GetIniBool("Window", "SortAscending", iniIndex);
    *column = (int)GetPrivateProfileIntA("Window", "SortedCol", -1, GetIniPath(iniIndex));
}
