#include "placement.h"

void MakePlacementVisible(WINDOWPLACEMENT& wp)
{
    if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE ||
        wp.showCmd == SW_SHOWMINNOACTIVE || wp.showCmd == SW_FORCEMINIMIZE || wp.showCmd == SW_HIDE)
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
    if (w > work.right - work.left) w = work.right - work.left;
    if (h > work.bottom - work.top) h = work.bottom - work.top;
    r.left = work.left + ((work.right - work.left) - w) / 2;
    r.top = work.top + ((work.bottom - work.top) - h) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
}

BOOL RestoreWindowPlacement(HWND window, const CString& ini, const char* flagKey)
{
    int left = (int)::GetPrivateProfileIntA("Placement", "Left", -1, ini);
    int top = (int)::GetPrivateProfileIntA("Placement", "Top", -1, ini);
    int right = (int)::GetPrivateProfileIntA("Placement", "Right", -1, ini);
    int bottom = (int)::GetPrivateProfileIntA("Placement", "Bottom", -1, ini);
    if (left == -1 || top == -1 || right == -1 || bottom == -1)
        return FALSE;
    WINDOWPLACEMENT wp;
    ZeroMemory(&wp, sizeof(wp));
    wp.length = sizeof(wp);
    wp.rcNormalPosition.left = left;
    wp.rcNormalPosition.top = top;
    wp.rcNormalPosition.right = right;
    wp.rcNormalPosition.bottom = bottom;
    wp.flags = ::GetPrivateProfileIntA("Placement", flagKey, 0, ini);
    wp.showCmd = ::GetPrivateProfileIntA("Placement", "ShowCmd", SW_SHOW, ini);
    wp.ptMaxPosition.x = -::GetSystemMetrics(SM_CXBORDER);
    wp.ptMaxPosition.y = -::GetSystemMetrics(SM_CYBORDER);
    MakePlacementVisible(wp);
    return ::SetWindowPlacement(window, &wp);
}

void SaveWindowPlacement(HWND window, const CString& ini, const char* flagKey)
{
    WINDOWPLACEMENT wp;
    ZeroMemory(&wp, sizeof(wp));
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(window, &wp))
        return;
    const struct { const char* key; int value; } values[] = {
        {flagKey, (int)wp.flags}, {"ShowCmd", (int)wp.showCmd},
        {"Left", (int)wp.rcNormalPosition.left}, {"Top", (int)wp.rcNormalPosition.top},
        {"Right", (int)wp.rcNormalPosition.right}, {"Bottom", (int)wp.rcNormalPosition.bottom}};
    for (const auto& v : values) {
        CString text;
        text.Format("%d", v.value);
        ::WritePrivateProfileStringA("Placement", v.key, text, ini);
    }
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
