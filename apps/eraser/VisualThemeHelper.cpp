#include "VisualThemeHelper.h"

namespace {
typedef BOOL(WINAPI* IsAppThemedFn)();
typedef HTHEME_HANDLE(WINAPI* OpenThemeDataFn)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* CloseThemeDataFn)(HTHEME_HANDLE);
typedef HRESULT(WINAPI* DrawThemeParentBackgroundFn)(HWND, HDC, const RECT*);
typedef HRESULT(WINAPI* DrawThemeBackgroundFn)(HTHEME_HANDLE, HDC, int, int, const RECT*, const RECT*);
} // namespace

CVisualThemeHelper::CVisualThemeHelper() : m_hThemeDll(::LoadLibraryA("UxTheme.dll")) {}

CVisualThemeHelper::~CVisualThemeHelper()
{
    if (m_hThemeDll != nullptr)
        ::FreeLibrary(m_hThemeDll);
}

// Entry points are looked up at every call: an older library may lack some.
FARPROC CVisualThemeHelper::GetProc(LPCSTR name) const
{
    return m_hThemeDll != nullptr ? ::GetProcAddress(m_hThemeDll, name) : nullptr;
}

BOOL CVisualThemeHelper::IsAppThemed()
{
    IsAppThemedFn fn = (IsAppThemedFn)(void*)GetProc("IsAppThemed");
    return fn != nullptr ? fn() : FALSE;
}

HTHEME_HANDLE CVisualThemeHelper::OpenThemeData(HWND hWnd, LPCWSTR pszClassList)
{
    OpenThemeDataFn fn = (OpenThemeDataFn)(void*)GetProc("OpenThemeData");
    return fn != nullptr ? fn(hWnd, pszClassList) : nullptr;
}

HRESULT CVisualThemeHelper::CloseThemeData(HTHEME_HANDLE hTheme)
{
    CloseThemeDataFn fn = (CloseThemeDataFn)(void*)GetProc("CloseThemeData");
    return fn != nullptr ? fn(hTheme) : E_FAIL;
}

HRESULT CVisualThemeHelper::DrawThemeBackground(HWND hWnd, HDC hDC, HTHEME_HANDLE hTheme, int iPartId, int iStateId,
                                                const RECT* pRect, const RECT* pClipRect)
{
    DrawThemeParentBackgroundFn parent = (DrawThemeParentBackgroundFn)(void*)GetProc("DrawThemeParentBackground");
    if (parent != nullptr)
        parent(hWnd, hDC, pRect);
    DrawThemeBackgroundFn fn = (DrawThemeBackgroundFn)(void*)GetProc("DrawThemeBackground");
    return fn != nullptr ? fn(hTheme, hDC, iPartId, iStateId, pRect, pClipRect) : E_FAIL;
}
