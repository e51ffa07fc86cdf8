// Basic definitions of the framework DLL: export macro and the Win32 headers.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <cassert>

#ifdef FW_BUILD
#define FW_API __declspec(dllexport)
#else
#define FW_API __declspec(dllimport)
#endif

#ifndef ASSERT
#define ASSERT(x) assert(x)
#endif
