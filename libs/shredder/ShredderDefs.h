// Export macro of shredder.dll.
#pragma once

#ifdef SHREDDER_BUILD
#define SHREDDER_API __declspec(dllexport)
#else
#define SHREDDER_API __declspec(dllimport)
#endif
