// Small helpers over Brisvane.ini and the start-up cleaner's command line.
#pragma once
#include "pirt.h"

// [section] key of Brisvane.ini is exactly "yes".
int ReadYes(const char* section, const char* key);

// Writes [section] key = value into Brisvane.ini.
BOOL WriteSetting(const char* section, const char* key, const char* value);

// Writes "yes" or "no".
BOOL WriteYesNo(const char* section, const char* key, int yes);

// The data of the Run and RunOnce values that start the start-up cleaner:
// the executable path is quoted so that a program folder with blanks works
// and cannot be taken for another program.
CString StartupCleanerCommand();

// Name of the Run / RunOnce value shared with the recent-work cleaner.
#define STARTUP_VALUE_NAME "Pirt Tarnel"
#define RUN_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
#define RUNONCE_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"

// The application title ("Brisvane"), the caption of the program's boxes.
CString AppTitle();
