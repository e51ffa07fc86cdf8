#include "placement.h"
#include "services.h"

void MakePlacementVisible(WINDOWPLACEMENT& wp)
{
    if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE || wp.showCmd == SW_SHOWMINNOACTIVE ||
        wp.showCmd == SW_FORCEMINIMIZE || wp.showCmd == SW_HIDE)
        wp.showCmd = SW_SHOWNORMAL;
    RECT& r = wp.rcNormalPosition;
    if (r.right <= r.left || r.bottom <= r.top) {
        r.right = r.left + 640;
        r.bottom = r.top + 480;
    }
    if (::MonitorFromRect(&r, MONITOR_DEFAULTTONULL))
        return;
    MONITORINFO mi;
    ZeroMemory(&mi, sizeof(mi));
    mi.cbSize = sizeof(mi);
    if (!::GetMonitorInfoA(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    const RECT& work = mi.rcWork;
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w > work.right - work.left)
        w = work.right - work.left;
    if (h > work.bottom - work.top)
        h = work.bottom - work.top;
    r.left = work.left + ((work.right - work.left) - w) / 2;
    r.top = work.top + ((work.bottom - work.top) - h) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
}

namespace {

int RestoreFromFile(HWND window, const CString& ini, const char* section, const char* flagKey)
{
    int left = (int)::GetPrivateProfileIntA(section, "Left", -1, ini);
    int top = (int)::GetPrivateProfileIntA(section, "Top", -1, ini);
    int right = (int)::GetPrivateProfileIntA(section, "Right", -1, ini);
    int bottom = (int)::GetPrivateProfileIntA(section, "Bottom", -1, ini);
    if (left == -1 || top == -1 || right == -1 || bottom == -1)
        return 0;
    WINDOWPLACEMENT wp;
    ZeroMemory(&wp, sizeof(wp));
    wp.length = sizeof(wp);
    wp.rcNormalPosition.left = left;
    wp.rcNormalPosition.top = top;
    wp.rcNormalPosition.right = right;
    wp.rcNormalPosition.bottom = bottom;
    wp.flags = ::GetPrivateProfileIntA(section, flagKey, 0, ini);
    wp.showCmd = ::GetPrivateProfileIntA(section, "ShowCmd", SW_SHOW, ini);
    wp.ptMaxPosition.x = -::GetSystemMetrics(SM_CXBORDER);
    wp.ptMaxPosition.y = -::GetSystemMetrics(SM_CYBORDER);
    MakePlacementVisible(wp);
    ::SetWindowPlacement(window, &wp);
    return 1;
}

void SaveToFile(HWND window, const CString& ini, const char* section, const char* flagKey)
{
    WINDOWPLACEMENT wp;
    ZeroMemory(&wp, sizeof(wp));
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(window, &wp))
        return;
    const struct
    {
        const char* key;
        int value;
    } values[] = {{flagKey, (int)wp.flags},
                  {"ShowCmd", (int)wp.showCmd},
                  {"Left", (int)wp.rcNormalPosition.left},
                  {"Top", (int)wp.rcNormalPosition.top},
                  {"Right", (int)wp.rcNormalPosition.right},
                  {"Bottom", (int)wp.rcNormalPosition.bottom}};
    for (const auto& v : values) {
        CString text;
        text.Format("%d", v.value);
        ::WritePrivateProfileStringA(section, v.key, text, ini);
    }
}

} // namespace

int RestoreWindowPlacement(HWND window, int iniIndex, const char* section, const char* flagKey)
{
    return RestoreFromFile(window, GetIniPath(iniIndex), section, flagKey);
}

BOOL RestoreWindowPlacement(HWND window, const CString& ini, const char* flagKey)
{
    return RestoreFromFile(window, ini, "Placement", flagKey);
}

void SaveWindowPlacement(HWND window, int iniIndex, const char* section, const char* flagKey)
{
    SaveToFile(window, GetIniPath(iniIndex), section, flagKey);
}

void SaveWindowPlacement(HWND window, const CString& ini, const char* flagKey)
{
    SaveToFile(window, ini, "Placement", flagKey);
}

void SetMainFrameCreation(CREATESTRUCT& cs)
{
    cs.style &= ~FWS_ADDTOTITLE;
    double cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    double cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    cs.cy = (int)(cyScreen / 1.5);
    cs.cx = (int)(cxScreen / 1.39);
    cs.y = (int)((1.5 * cs.cy - cs.cy) / 2);
    cs.x = (int)((1.39 * cs.cx - cs.cx) / 2);
}
