#include "Settings.h"

int ReadYes(const char* section, const char* key) { return GetIniBool(CString(section), CString(key), INI_BRISVANE); }

BOOL WriteSetting(const char* section, const char* key, const char* value)
{
    return WriteIniString(section, key, value, INI_BRISVANE);
}

BOOL WriteYesNo(const char* section, const char* key, int yes)
{
    return WriteSetting(section, key, yes ? "yes" : "no");
}

CString AppTitle()
{
    CString title;
    if (!title.LoadString(GetModuleHandleA(nullptr), 0xE000) || title.IsEmpty())
        title = "Brisvane";
    return title;
}
