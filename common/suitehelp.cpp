#include "suitehelp.h"
#include "services.h"
#include "language.h"

CString SuiteHelpCommand()
{
    CString file = GetAppPath() + (IsGermanChosen() ? "\\help\\ZexUlmoroHelpDEU.chm" : "\\help\\ZexUlmoroHelpENG.chm");
    // Quoted, so a program folder with blanks reaches the viewer whole.
    return CString("hh.exe \"") + file + "\"";
}

CString SuiteWebPage()
{
    return IsGermanChosen() ? PIRT_WEBSITE_GERMAN : PIRT_WEBSITE_ENGLISH;
}
