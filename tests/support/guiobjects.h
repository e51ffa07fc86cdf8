// The GUI objects this process holds: GDI objects, and icons, cursors and
// menus. GetGuiResources counts them under Windows; Wine's always answers 0,
// so there every handle index is probed instead (Wine takes a handle's bare
// index for the handle, and answers for this process's own icons only).
#pragma once
#include <windows.h>

namespace pirt_test {

struct GuiObjects
{
    long gdi = 0, user = 0;
};

inline GuiObjects CountGuiObjects()
{
    GuiObjects n;
    HANDLE hProcess = ::GetCurrentProcess();
    n.gdi = (long)::GetGuiResources(hProcess, GR_GDIOBJECTS);
    n.user = (long)::GetGuiResources(hProcess, GR_USEROBJECTS);
    if (n.gdi != 0)
        return n;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (::GetObjectType((HGDIOBJ)i))
            ++n.gdi;
    for (ULONG_PTR i = 1; i < 0x10000; ++i) {
        ICONINFO ii;
        if (::GetIconInfo((HICON)i, &ii)) {
            ++n.user;
            ::DeleteObject(ii.hbmMask);
            if (ii.hbmColor)
                ::DeleteObject(ii.hbmColor);
        } else if (::IsMenu((HMENU)i)) {
            ++n.user;
        }
    }
    return n;
}

} // namespace pirt_test
