#include "startupcleaner.h"
#include "services.h"
#include "registrykey.h"
#include "language.h"

CString StartupCleanerCommand() { return CString("\"") + GetAppPath() + "\\Tarnel.exe\" startup"; }

BOOL IsStartupCleanerInstalled() { return FileExists(GetAppPath() + "\\Tarnel.exe") ? TRUE : FALSE; }

BOOL IsRunSwitchOn(int ownIni, const char* key, const char* valueName)
{
    if (!GetIniBool(CString("Preferences"), CString(key), ownIni))
        return FALSE;
    CRegistryKey run;
    run.SetRootKey(HKEY_CURRENT_USER);
    if (!run.SetKey(CString(RUN_KEY), TRUE))
        return TRUE; // the mark follows the setting alone
    return run.HasValue(CString(valueName)) ? TRUE : FALSE;
}

BOOL IsStartupCleaningOn(int ownIni) { return IsRunSwitchOn(ownIni, "DeleteOnStartup", STARTUP_VALUE_NAME); }

BOOL ToggleStartupCleaning(int ownIni, int otherIni, HWND owner)
{
    BOOL on = !IsStartupCleaningOn(ownIni);
    if (on && !IsStartupCleanerInstalled()) {
        WriteIniString("Preferences", "DeleteOnStartup", "no", ownIni);
        char caption[256] = "";
        ::GetWindowTextA(owner, caption, sizeof(caption));
        ::MessageBoxA(owner, GetLngString("General", "24301"), caption, MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
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

CString OwnRunCommand()
{
    char module[MAX_PATH + 1] = "";
    DWORD length = ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CString();
    return CString("\"") + module + "\"";
}

int StoreStartWithWindows(int ownIni, const char* valueName, BOOL on)
{
    CRegistryKey run;
    run.SetRootKey(HKEY_CURRENT_USER);
    if (!run.SetKey(CString(RUN_KEY), TRUE))
        return 0;
    if (on) {
        CString command = OwnRunCommand();
        on = !command.IsEmpty() && run.WriteString(CString(valueName), command);
    }
    if (!on)
        run.DeleteValue(CString(valueName));
    ::WritePrivateProfileStringA("Preferences", "StartWithWindows", on ? "yes" : "no", GetIniPath(ownIni));
    return 1;
}
