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
