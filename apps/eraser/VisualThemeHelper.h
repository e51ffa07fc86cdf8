// Binds the visual-styles library at run time, so that the buttons draw the
// classic way where it is missing or no theme is active.
#pragma once

#include "fw/framework.h"

typedef HANDLE HTHEME_HANDLE;

class CVisualThemeHelper
{
public:
    CVisualThemeHelper();
    ~CVisualThemeHelper();

    // FALSE without the library.
    BOOL IsAppThemed();
    // NULL without the library or when the class has no theme data.
    HTHEME_HANDLE OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
    // E_FAIL without the library.
    HRESULT CloseThemeData(HTHEME_HANDLE hTheme);
    // Paints the parent's background first where the library offers it, then
    // the part; E_FAIL without the library.
    HRESULT DrawThemeBackground(HWND hWnd, HDC hDC, HTHEME_HANDLE hTheme, int iPartId, int iStateId, const RECT* pRect,
                                const RECT* pClipRect);

    HMODULE GetModule() const { return m_hThemeDll; }

private:
    FARPROC GetProc(LPCSTR name) const;

    HMODULE m_hThemeDll;

    CVisualThemeHelper(const CVisualThemeHelper&) = delete;
    CVisualThemeHelper& operator=(const CVisualThemeHelper&) = delete;
};
