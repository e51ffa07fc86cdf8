#include "tolmira_test.h"
#include <initializer_list>

CTolmiraApp g_app;

void UseTolmiraProfile() { g_app.SetRegistryKey("Talvery\\Pirt"); }

void DeleteProfileSection(const char* section)
{
    CString path = CString("Software\\Talvery\\Pirt\\Tolmira\\") + section;
    ::RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

void PumpMessages()
{
    MSG msg;
    for (int i = 0; i < 5; ++i) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue; // the program's end: nothing more to run here
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    }
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
