// Language texts.
#include "language.h"
#include "services.h"

CString GetLngPath()
{
    return GetIniString("Pirt", "LngPath", INI_PIRT);
}

CString GetLngString(CString section, CString key)
{
    const CString file = GetLngPath();
    if (file.IsEmpty())
        return CString();
    char buffer[255] = "";
    GetPrivateProfileStringA(section, key, "", buffer, sizeof(buffer), file);
    return UnescapePercent(buffer);
}

void SetDlgItemLngText(HWND dialog, int controlId, CString section, CString key)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (control != nullptr)
        SetWindowTextA(control, GetLngString(section, key));
}

void SetWindowLngText(HWND window, CString section, CString key)
{
    if (window != nullptr)
        SetWindowTextA(window, GetLngString(section, key));
}
