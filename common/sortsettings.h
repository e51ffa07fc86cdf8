// The sorted column and sort direction of a list, kept in section [Window] of
// a config file chosen by its index.
#pragma once

#include <windows.h>

// [Window] SortAscending = "yes" / "no", SortedCol = the column as a number.
void WriteSortSettings(int iniIndex, BOOL ascending, int column);

// Absent keys read as descending and column -1.
void ReadSortSettings(int iniIndex, int* ascending, int* column);
