// Shared pieces of the recent-work cleaner's tests: the one application
// object of the test program, its registry profile, plug-in files.
#pragma once
#include "testsupport.h"
#include "Tolmira.h"
#include "ListViewEx.h"
#include "pirt.h"
#include <initializer_list>

extern CTolmiraApp g_app;

// Gives the application object its registry profile (as its start does).
void UseTolmiraProfile();

// Removes a section of the profile (HKCU\Software\Talvery\Pirt\Tolmira\<section>).
void DeleteProfileSection(const char* section);

// Writes a plug-in file from its lines (joined with CR LF).
void WritePlugin(const CString& path, std::initializer_list<const char*> lines);

// Each shown column's text in the first row lies under that column's header:
// the list draws by the widths and order its header shows.
void ExpectTextsUnderTheirHeaders(CListViewEx& view);
