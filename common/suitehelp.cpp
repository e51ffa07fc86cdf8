#include "suitehelp.h"
#include "services.h"
#include "language.h"
#include <shellapi.h>

PFN_WINEXEC g_pfnWinExec = ::WinExec;
PFN_SHELLEXECUTE g_pfnShellExecute = ::ShellExecuteA;

CString SuiteHelpFile()
{
    return GetAppPath() + (IsGermanChosen() ? "\\help\\ZexUlmoroHelpDEU.chm" : "\\help\\ZexUlmoroHelpENG.chm");
}

CString SuiteHelpCommand()
{
    // Quoted, so a program folder with blanks reaches the viewer whole.
    return CString("hh.exe \"") + SuiteHelpFile() + "\"";
}

CString SuiteWebPage() { return IsGermanChosen() ? PIRT_WEBSITE_GERMAN : PIRT_WEBSITE_ENGLISH; }
