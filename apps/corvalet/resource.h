// Resource and command identifiers of the plug-in builder.
#pragma once

#define IDD_ABOUTBOX        100
#define IDR_MAINFRAME       128
#define IDS_INDICATOR_COUNT 129
#define IDD_EDITOR          130
#define IDD_REGEDIT         133
#define IDD_PROGRESS        134
#define IDB_REGVALUES       135
#define IDB_REGTREE         136
#define IDR_LISTMENU        137

// Icons of the tool bar, the menus and the list's context menu.
#define IDI_WEBSITE    140
#define IDI_ABOUT      142
#define IDI_ADD        143
#define IDI_DELETE     145
#define IDI_SPLIT      146
#define IDI_EXIT       147
#define IDI_HELP       148
#define IDI_NEW        149
#define IDI_OPEN       150
#define IDI_PROPERTIES 151
#define IDI_SAVE_AS    152
#define IDI_SAVE       153

// Commands.
#define ID_ADD          101
#define ID_PROPERTIES   102
#define ID_DELETE       103
#define ID_ABOUT        32773
#define ID_NEW          32775
#define ID_OPEN         32776
#define ID_SAVE         32777
#define ID_SAVE_AS      32778
#define ID_PIRT_WEBSITE 32785
#define ID_HELPME       32789

// Header form controls.
#define IDC_PLUGIN_NAME        104
#define IDC_PLUGIN_VERSION     105
#define IDC_PLUGIN_PROVIDER    106
#define IDC_PLUGIN_DESCRIPTION 107
#define IDC_FORM_LABEL         3012

// Item editor controls.
#define IDC_PATH_LABEL      1000
#define IDC_ACTION_LABEL    1001
#define IDC_KIND            1003
#define IDC_PATH            1004
#define IDC_CHOOSEPATH      1005
#define IDC_KEYMATCH        1006
#define IDC_VALUEMATCH      1008
#define IDC_SECTIONNAME     1010
#define IDC_KEYNAME         1012
#define IDC_DELKEY          1013
#define IDC_DELKLIST        1014
#define IDC_DELVALUE        1015
#define IDC_DELVLIST        1016
#define IDC_PATTERN         1017
#define IDC_DELFILE         1018
#define IDC_DELFILECONTENT  1019
#define IDC_DELINISEC       1020
#define IDC_SECTION_LABEL   1021
#define IDC_KEY_LABEL       1022
#define IDC_DELENTIREFOLDER 1023
#define IDC_DELINDIR        1024
#define IDC_DELINDIRCOMP    1025

// Registry browser controls.
#define IDC_REGVALUES 1000
#define IDC_REGTREE   1001
#define IDC_FULLKEY   1002
#define IDC_REGTEXT   1003

// Framework commands and ids used in the resources.
#include "frameids.h"
#ifndef ID_WINDOW_SPLIT
#define ID_WINDOW_SPLIT 0xE135
#endif
#ifndef ID_FILE_MRU_FILE1
#define ID_FILE_MRU_FILE1 0xE110
#endif
#define ID_HELP_TOOLTIP 57670
