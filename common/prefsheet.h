// The sheet around a program's preferences pages: tab titles from the
// language file, and the modal run that offers to end the program after the
// language changed. Every program's preferences sheet uses these, whether its
// pages are the shared ones of prefs/PrefPages.h or its own.
#pragma once
#include "fw/framework.h"

// One tab title: its text in the language file, and the text when missing.
struct SheetTabTitle
{
    const char* section;
    const char* key;
    const char* fallback;
};

// Puts the titles on the sheet's tabs, read straight from the chosen language
// file (at most 255 characters, "%%" read as "%").
void SetSheetTabTitles(CPropertySheet* sheet, const SheetTabTitle* titles, int count);

// Runs the sheet modally. When it returned IDOK and the stored language
// changed, asks once whether to end the program now ([General] 51020); Yes
// posts WM_CLOSE to the main window, after the sheet has closed. The question
// is in the language shown while the sheet ran.
INT_PTR RunPreferencesSheet(CPropertySheet& sheet, CWnd* mainWnd);
