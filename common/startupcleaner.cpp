#include "startupcleaner.h"
#include "services.h"
#include "registrykey.h"

CString StartupCleanerCommand()
{
    return CString("\"") + GetAppPath() + "\\Tarnel.exe\" startup";
}

BOOL IsStartupCleaningOn(int ownIni)
{
    if (!GetIniBool(CString("Preferences"), CString("DeleteOnStartup"), ownIni))
        return FALSE;
    CRegistryKey run;
    run.SetRootKey(HKEY_CURRENT_USER);
    if (!run.SetKey(CString(RUN_KEY), TRUE))
        return TRUE;   // the mark follows the setting alone
    return run.HasValue(CString(STARTUP_VALUE_NAME)) ? TRUE : FALSE;
}

BOOL ToggleStartupCleaning(int ownIni, int otherIni)
{
    BOOL on = !IsStartupCleaningOn(ownIni);
    WriteIniString("Preferences", "DeleteOnStartup", on ? "yes" : "no", ownIni);

    CRegistryKey run;
    run.SetRootKey(HKEY_CURRENT_USER);
    if (!run.SetKey(CString(RUN_KEY), TRUE))
        return on;
    if (on)
        run.WriteString(CString(STARTUP_VALUE_NAME), StartupCleanerCommand());
    else if (!GetIniBool(CString("Preferences"), CString("DeleteOnStartup"), otherIni))
        run.DeleteValue(CString(STARTUP_VALUE_NAME));
    return on;
}
