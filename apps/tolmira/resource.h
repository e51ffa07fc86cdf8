// Resource identifiers of Tolmira.exe (one header for the whole program).
#pragma once
#include "ListViewExRes.h"

#define IDD_ABOUTBOX       100
#define IDR_MAINFRAME      128
#define IDS_INDICATOR_PIRT 129
#define IDD_PROGRESS       132
#define IDR_CONTEXT_MENU   135

// Report images: done, failed, working.
#define IDI_REPORT_DONE    141
#define IDI_REPORT_FAILED  142
#define IDI_REPORT_WORKING 146

// Menu images.
#define IDI_MENU_147 147
#define IDI_MENU_148 148
#define IDI_MENU_149 149
#define IDI_MENU_150 150
#define IDI_MENU_151 151
#define IDI_MENU_152 152
#define IDI_MENU_153 153
#define IDI_MENU_154 154
#define IDI_MENU_155 155
#define IDI_MENU_156 156
#define IDI_MENU_157 157
#define IDI_MENU_158 158
#define IDI_MENU_160 160
#define IDI_MENU_161 161
#define IDI_MENU_162 162
#define IDI_MENU_163 163
#define IDI_MENU_164 164

// Commands.
#define ID_NEW                  32771
#define ID_DELETE               32772
#define ID_PROPERTIES           32773
#define ID_CHECK_ALL            32774
#define ID_UNCHECK_ALL          32775
#define ID_EXECUTE_NOW          32777
#define ID_ABOUT                32778
#define ID_IMPORT               32779
#define ID_SEARCH               32781
#define ID_LOGGING              32783
#define ID_EXECUTE_ON_START     32784
#define ID_EXECUTE_PREVIEW      32786
#define ID_PREFERENCES          32788
#define ID_REFRESH              32790
#define ID_ALL_PLUGINS          32800
#define ID_INSTALLED            32802
#define ID_PIRT_WEBSITE         32804
#define ID_HELPME               32810
#define ID_ARRANGE_NAME         32813
#define ID_ARRANGE_MANUFACTURER 32814
#define ID_ARRANGE_VERSION      32818
#define ID_ARRANGE_DESCRIPTION  32819
#define ID_ARRANGE_PATH         32820

#include "frameids.h"

// The status-count message: the main window shows the row count.
#define WM_STATUS_COUNT (WM_USER + 256)

// Preview, properties, search and the preferences pages.
#define IDD_PROPERTIES         130
#define IDD_SEARCH             131
#define IDD_PREVIEW            133
#define IDD_PROPPAGE_LANGUAGE  136
#define IDD_PROPPAGE_GENERAL   137
#define IDD_PROPPAGE_SECURITY  138
#define IDC_ENTRY_LIST         1018
#define IDC_PROPERTIES_GROUP   1012
#define IDC_PROVIDER_LABEL     1014
#define IDC_PROVIDER           1015
#define IDC_DESCRIPTION_LABEL  1016
#define IDC_DESCRIPTION        1017
#define IDC_EDIT               1034
#define IDC_SEARCH_LABEL       1019
#define IDC_SEARCH_TEXT        1020
#define IDC_SEARCH_COLUMNS     1021
#define IDC_SEARCH_NAME        1022
#define IDC_SEARCH_DESCRIPTION 1023
#define IDC_FIND_NEXT          1024
#define IDC_SEARCH_CLOSE       1025
#define IDC_SEARCH_VERSION     1026
#define IDC_SEARCH_CASE        1027
#define IDC_SEARCH_PROVIDER    1014
#define IDC_SEARCH_PATH        1028
