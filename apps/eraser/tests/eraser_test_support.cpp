#include "eraser_test_support.h"

#include <cstdio>
#include <vector>

namespace eraser_test
{
namespace
{
BOOL CALLBACK CollectVisible(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd))
        ((std::vector<HWND>*)lParam)->push_back(hWnd);
    return TRUE;
}
}

std::vector<HWND> VisibleThreadWindows(DWORD threadId)
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(threadId, CollectVisible, (LPARAM)&windows);
    return windows;
}

bool SaveWindowPicture(HWND hWnd, const char* fileName)
{
    RECT rc;
    if (!::IsWindow(hWnd) || !::GetWindowRect(hWnd, &rc))
        return false;
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC hWindowDC = ::GetWindowDC(hWnd);
    HDC hMemDC = ::CreateCompatibleDC(hWindowDC);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HBITMAP hBitmap = ::CreateDIBSection(hWindowDC, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    ::BitBlt(hMemDC, 0, 0, cx, cy, hWindowDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ::GdiFlush();

    char path[MAX_PATH];
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    if (slash != NULL)
        lstrcpyA(slash + 1, fileName);
    bool ok = false;
    FILE* f = fopen(path, "wb");
    if (f != NULL)
    {
        DWORD stride = ((DWORD)cx * 3 + 3) & ~3u;
        DWORD imageSize = stride * cy;
        BITMAPFILEHEADER bfh = {};
        bfh.bfType = 0x4D42;
        bfh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        bfh.bfSize = bfh.bfOffBits + imageSize;
        ok = fwrite(&bfh, sizeof(bfh), 1, f) == 1 && fwrite(&bmi.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f) == 1 &&
             fwrite(bits, imageSize, 1, f) == 1;
        fclose(f);
    }
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemDC);
    ::ReleaseDC(hWnd, hWindowDC);
    return ok;
}
} // namespace eraser_test
