// Export macro of the browser operations. They are linked into Brisvane.exe,
// which exports them; everything that links the library compiles with
// BROWSERS_BUILD, so the classes are exported wherever they end up.
#pragma once

#ifdef BROWSERS_BUILD
#define BROWSERS_API __declspec(dllexport)
#else
#define BROWSERS_API __declspec(dllimport)
#endif
