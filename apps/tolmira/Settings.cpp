#include "Settings.h"

int FarnochYes(const char* section, const char* key) { return GetIniBool(CString(section), CString(key), INI_FARNOCH); }

BOOL FarnochWriteYesNo(const char* section, const char* key, int yes)
{
    return WriteIniString(section, key, yes ? "yes" : "no", INI_FARNOCH);
}

CString LibraryFarnochPath() { return GetUserDataFolder("\\Talvery\\Pirt\\config\\Farnoch.ini"); }

void WriteCustomLogging(int on)
{
    FarnochWriteYesNo("Preferences", "CustomLogging", on);
    CString library = LibraryFarnochPath();
    if (library.IsEmpty())
        return;
    CString folder = library.Left(library.ReverseFind('\\'));
    CreateFullPath(folder);
    ::WritePrivateProfileStringA("Preferences", "CustomLogging", on ? "yes" : "no", library);
}

CString AppTitle()
{
    CString title;
    if (!title.LoadString(::GetModuleHandleA(nullptr), 0xE000) || title.IsEmpty())
        title = "Tolmira";
    return title;
}

CString TextOrNotFound(const char* section, const char* key)
{
    CString text = GetLngString(section, key);
    return text.IsEmpty() ? CString("not found") : text;
}
