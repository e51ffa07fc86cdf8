// Small helpers over Farnoch.ini, the recent-work cleaner's settings.
#pragma once
#include "pirt.h"

// [section] key of Farnoch.ini is exactly "yes".
int FarnochYes(const char* section, const char* key);

// Writes [section] key = "yes" or "no" into Farnoch.ini.
BOOL FarnochWriteYesNo(const char* section, const char* key, int yes);

// The logging switch of the deletion library. The library reads its own copy
// of Farnoch.ini (below its own data root), so both copies are written.
void WriteCustomLogging(int on);

// Farnoch.ini below the deletion library's data root.
CString LibraryFarnochPath();

// The application title ("Tolmira"), the caption of the program's boxes.
CString AppTitle();

// A language text, "not found" when the language file lacks it.
CString TextOrNotFound(const char* section, const char* key);
