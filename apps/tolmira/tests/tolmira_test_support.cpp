#include "tolmira_test.h"
#include <initializer_list>

CTolmiraApp g_app;

void UseTolmiraProfile() { g_app.SetRegistryKey("Talvery\\Pirt"); }

void DeleteProfileSection(const char* section)
{
    CString path = CString("Software\\Talvery\\Pirt\\Tolmira\\") + section;
    ::RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

void WritePlugin(const CString& path, std::initializer_list<const char*> lines)
{
    CString text;
    for (const char* line : lines)
        text += CString(line) + "\r\n";
    CString folder = path.Left(path.ReverseFind('\\'));
    CreateFullPath(folder);
    pirt_test::WriteFileText(path, text);
}
