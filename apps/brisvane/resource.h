// Resource identifiers of Brisvane.exe (one header for the whole program).
#pragma once

#define IDD_ABOUTBOX       100
#define IDR_MAINFRAME      128
#define IDS_INDICATOR_PIRT 129
#define IDD_PROGRESS       135

// Progress dialog and about box controls.
#define IDC_PROGRESS_ALL 1000
#define IDC_PROGRESS_ONE 1002
#define IDC_REPORT_LIST  1018
#define IDC_WEB_ADDRESS  1021
#define IDC_VERSION      3007
#define IDC_ABOUT_TEXT   3011

// Report images: done, failed, working.
#define IDI_REPORT_FAILED  141
#define IDI_REPORT_DONE    142
#define IDI_REPORT_WORKING 143

// Menu images.
#define IDI_MENU_WEBSITE     144
#define IDI_MENU_ABOUT       145
#define IDI_MENU_EXIT        146
#define IDI_MENU_HELP        147
#define IDI_MENU_PREFERENCES 148
#define IDI_MENU_CLEAN       149
#define IDI_MENU_150         150
#define IDI_MENU_151         151

// Row images.
#define IDI_ROW_MEMORYDUMP    154
#define IDI_ROW_CLIPBOARD     155
#define IDI_ROW_FRAGMENTS     156
#define IDI_ROW_SWAPFILE      158
#define IDI_ROW_TEMPFILES     160
#define IDI_ROW_LOGFILES      161
#define IDI_ROW_SEARCH        162
#define IDI_ROW_PREFETCH      163
#define IDI_ROW_RECYCLEBIN    164
#define IDI_ROW_RUNMRU        165
#define IDI_ROW_MRU           166
#define IDI_ROW_DROPLIST      172
#define IDI_ROW_COOKIES       173
#define IDI_ROW_174           174
#define IDI_ROW_INETTEMP      175
#define IDI_ROW_COMPLETEFORMS 177
#define IDI_ROW_HISTORY       178
#define IDI_ROW_VISITEDLINKS  179
#define IDI_ROW_COMPLETEPW    180

// Commands.
#define ID_CHECK_ALL           32780
#define ID_UNCHECK_ALL         32781
#define ID_EXECUTE_NOW         32783
#define ID_ABOUT               32785
#define ID_LOGGING             32788
#define ID_EXECUTE_ON_START    32793
#define ID_PREFERENCES         32794
#define ID_PIRT_WEBSITE        32799
#define ID_HELPME              32803
#define ID_SHOW_BROWSER_TRACES 32806
#define ID_SHOW_SYSTEM_TRACES  32807
#define ID_COOKIE_MANAGER      32809

#include "frameids.h"

// Preferences pages and the cookie keep-list manager.
#define IDD_PROPPAGE_GENERAL     136
#define IDD_PROPPAGE_SECURITY    137
#define IDD_PROPPAGE_LANGUAGE    138
#define IDD_PROPPAGE_BROWSERS    181
#define IDD_MANAGE_COOKIES       182
#define IDC_USE_FOUND_BROWSERS   1004
#define IDC_BROWSERS_LABEL       1005
#define IDC_BROWSER_LIST         1011
#define IDC_COOKIES_DELETE       1001
#define IDC_COOKIES_KEEP         1002
#define IDC_COOKIES_GROUP        1006
#define IDC_MOVE_TO_KEEP         1025
#define IDC_MOVE_TO_DELETE       1026
#define IDC_COOKIES_PROMPT       1028
#define IDC_COOKIES_DELETE_LABEL 1030
#define IDC_COOKIES_KEEP_LABEL   1031
#define IDC_VIEW_COOKIE          3
