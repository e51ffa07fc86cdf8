#include "eraser_test_support.h"

#include <cstdio>
#include <vector>

namespace eraser_test {
namespace {
BOOL CALLBACK CollectVisible(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd))
        ((std::vector<HWND>*)lParam)->push_back(hWnd);
    return TRUE;
}
} // namespace

std::vector<HWND> VisibleThreadWindows(DWORD threadId)
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(threadId, CollectVisible, (LPARAM)&windows);
    return windows;
}

} // namespace eraser_test
