// Basic definitions of the framework DLL: export macro and the Win32 headers.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
// Included here so that their A/W name macros (GetFileTitle, ...) apply the
// same way in every file that sees a framework header.
#include <commdlg.h>
#include <shellapi.h>
// A function-like alias of GetWindow; CWnd has a member of this name.
#undef GetNextWindow
#include <cassert>

#ifdef FW_BUILD
#define FW_API __declspec(dllexport)
#else
#define FW_API __declspec(dllimport)
#endif

#ifndef ASSERT
#define ASSERT(x) assert(x)
#endif
#ifndef VERIFY
#ifdef NDEBUG
#define VERIFY(x) ((void)(x))
#else
#define VERIFY(x) assert(x)
#endif
#endif

// Object counters for leak tests (GetGuiResources is a stub under Wine): the
// GDI objects, device contexts and image lists, and the menus, that the
// framework's wrappers hold at this moment. A wrapper counts a handle when it
// takes it (Create*, Attach) and uncounts it when it lets go (Delete*,
// Detach); code holding such handles itself may count them the same way.
FW_API LONG FwGdiObjectCount();
FW_API LONG FwMenuObjectCount();
FW_API void FwCountGdiObject(int nDelta);
FW_API void FwCountMenuObject(int nDelta);

// Marks message handlers in class declarations (documentation only).
#ifndef afx_msg
#define afx_msg
#endif

// Opaque position in a list (GetFirstSelectedItemPosition and friends).
#ifndef FW_POSITION_DEFINED
#define FW_POSITION_DEFINED
struct __POSITION
{};
typedef __POSITION* POSITION;
#endif

class CString;
class CCmdTarget;
class CWnd;
class CWinApp;
class CMenu;
class CDialog;
class CFrameWnd;
class CCmdUI;
class CImageList;
class CDC;
class CScrollBar;
