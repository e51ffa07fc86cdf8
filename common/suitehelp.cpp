#include "suitehelp.h"
#include "services.h"

namespace {
BOOL GermanChosen()
{
    return GetIniString(CString("Pirt"), CString("Language"), INI_PIRT) == "German";
}
}

CString SuiteHelpCommand()
{
    CString file = GetAppPath() + (GermanChosen() ? "\\help\\ZexUlmoroHelpDEU.chm" : "\\help\\ZexUlmoroHelpENG.chm");
    // Quoted, so a program folder with blanks reaches the viewer whole.
    return CString("hh.exe \"") + file + "\"";
}

CString SuiteWebPage()
{
    return GermanChosen() ? PIRT_WEBSITE_GERMAN : PIRT_WEBSITE_ENGLISH;
}
