// The suite's help file and web page, in the language the user chose: what
// the programs' Help and web-page commands open.
#pragma once
#include "fw/framework.h"

// The maker's web pages.
#define PIRT_WEBSITE_ENGLISH "https://www.zexulmoro.example/en/"
#define PIRT_WEBSITE_GERMAN  "https://www.zexulmoro.example/de/"

// Replaceable for tests: starting a program (help viewer) and opening a
// document (web page) through the shell.
typedef UINT(WINAPI* PFN_WINEXEC)(LPCSTR cmdLine, UINT show);
typedef HINSTANCE(WINAPI* PFN_SHELLEXECUTE)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern PFN_WINEXEC g_pfnWinExec;
extern PFN_SHELLEXECUTE g_pfnShellExecute;

// The help file of the program folder in the chosen language.
CString SuiteHelpFile();

// The command that shows the help file: hh.exe with the quoted path of the
// program folder's help file.
CString SuiteHelpCommand();

// The maker's web page.
CString SuiteWebPage();
