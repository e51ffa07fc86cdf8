// Small helpers over Brisvane.ini.
#pragma once
#include "pirt.h"
#include "startupcleaner.h"

// [section] key of Brisvane.ini is exactly "yes".
int ReadYes(const char* section, const char* key);

// Writes [section] key = value into Brisvane.ini.
BOOL WriteSetting(const char* section, const char* key, const char* value);

// Writes "yes" or "no".
BOOL WriteYesNo(const char* section, const char* key, int yes);

// The application title ("Brisvane"), the caption of the program's boxes.
CString AppTitle();
