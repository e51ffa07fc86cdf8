#include "PluginList.h"
#include "pluginfile.h"
#include "pirt.h"

CString UserPluginFolder() { return GetAppDataPath() + "\\Zex\\Ulmoro\\plug-ins\\Tolmira"; }

CString ProgramPluginFolder() { return GetAppPath() + "\\plug-ins\\Tolmira"; }

CString StateFilePath() { return UserPluginFolder() + "\\Tolmira.dat"; }

CString ReadPluginState(const char* section, const CString& name, const char* defaultValue)
{
    char value[256] = "";
    ::GetPrivateProfileStringA(section, name, defaultValue, value, sizeof(value), StateFilePath());
    return CString(value);
}

BOOL WritePluginState(const char* section, const CString& name, const char* value)
{
    // Without the folder the write would fail unnoticed and the tick be lost.
    CreateFullPath(UserPluginFolder());
    return ::WritePrivateProfileStringA(section, name, value, StateFilePath());
}

namespace {

const char* const kRootWords[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                  "HKEY_CURRENT_CONFIG"};
const HKEY kRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG};

} // namespace

InstalledResult InstalledTest(const CString& installedValue)
{
    if (installedValue.IsEmpty())
        return INSTALLED_MISSING;
    int slash = installedValue.Find('\\');
    CString root = slash < 0 ? CString() : installedValue.Left(slash);
    for (size_t i = 0; i < sizeof(kRoots) / sizeof(kRoots[0]); ++i) {
        if (root != kRootWords[i])
            continue;
        CString keyPath = installedValue.Mid(slash + 1);
        keyPath.TrimLeft('\\');
        CRegistryKey key;
        key.SetRootKey(kRoots[i]);
        return key.KeyExists(keyPath, kRoots[i]) ? INSTALLED_PRESENT : INSTALLED_MISSING;
    }
    return FileExists(ExpandPlaceholders(installedValue)) ? INSTALLED_PRESENT : INSTALLED_MISSING;
}

BOOL IsPluginListed(BOOL adminOnly, BOOL userIsAdmin, const CString& override, BOOL viewAll, InstalledResult installed)
{
    if (adminOnly && !userIsAdmin)
        return FALSE;
    if (override == "yes")
        return TRUE;
    if (override == "no" && !viewAll)
        return FALSE;
    return installed == INSTALLED_PRESENT || viewAll;
}

CString ReadPluginDescription(const char* pluginFile, BOOL english)
{
    return english ? ReadPluginGeneral(pluginFile, "Description", "No Description available.")
                   : ReadPluginGeneral(pluginFile, "Erlaeuterung", "Keine deutsche Beschreibung verf\xfcgbar.");
}
