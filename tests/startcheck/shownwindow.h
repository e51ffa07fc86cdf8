// The first visible top-level window of a process: what "the program has
// shown its window" means for the start-up check and the start-up benchmark.
#pragma once
#include <windows.h>

struct ShownWindowSearch
{
    DWORD processId;
    HWND found;
};

inline BOOL CALLBACK TakeShownWindow(HWND window, LPARAM param)
{
    ShownWindowSearch* search = reinterpret_cast<ShownWindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

inline HWND FindShownWindowOf(DWORD processId)
{
    ShownWindowSearch search = {processId, nullptr};
    ::EnumWindows(TakeShownWindow, (LPARAM)&search);
    return search.found;
}
