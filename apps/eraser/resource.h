// Resource and control identifiers of eraser.exe.
#pragma once

// Icons
#define IDR_MAINFRAME   128
#define IDI_DELETE_FILE 130
#define IDI_ADD_FILE    131
#define IDI_PREFERENCES 134
#define IDI_WEBSITE     135
#define IDI_ABOUT       136
#define IDI_EXIT        137
#define IDI_HELPME      140
#define IDI_ROW_WORKING 141
#define IDI_ROW_FAILED  142
#define IDI_ROW_DONE    143

// Dialogs and menus
#define IDD_ABOUTBOX          100
#define IDD_Eraser_DIALOG     102
#define IDR_MENU_ERASER       129
#define IDD_PROPPAGE_GENERAL  132
#define IDD_PROGRESS          144
#define IDD_PROPPAGE_SECURITY 145

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Main dialog controls
#define IDC_LIST_FILES     1000
#define IDC_STATIC_WARNING 1001
#define IDC_START_2_WIPE   1003
#define IDC_DELETE_FILE    1012
#define IDC_ADD_FILE       1013
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 57665
#endif

// Menu commands
#define ID_PREFERENCES  32772
#define ID_ABOUT        32777
#define ID_PIRT_WEBSITE 32778
#define ID_HELPME       32783

// The about item of the window's system menu (the low four bits are the system's)
#define IDM_ABOUTBOX 0x0010

// Preferences pages
#define IDC_CLOSEAFTERKILL   1013
#define IDC_CONFIRM_DELETE   145
#define IDC_SLIDER_PASSES    1010
#define IDC_STATIC_OVERWRITE 1011
#define IDC_GRP_OVERWRITE    1012

// Progress window
#define IDC_PROGRESS_ALL  1000
#define IDC_PROGRESS_PASS 1002
#define IDC_PROGRESS_LIST 1018

// About box
#define IDC_ABOUT_VERSION 3007
#define IDC_ABOUT_TEXT    3011
#define IDC_ABOUT_WEB     1021
