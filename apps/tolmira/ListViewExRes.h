// Resources the column list view kit loads from the program: divider
// cursors, sort arrows (9 x 5, yellow transparent), the column chooser's
// template and its controls, and the chooser command.
#pragma once

#define IDB_SORT_ASCENDING     139
#define IDB_SORT_DESCENDING    140
#define IDB_SORT_BLANK         143
#define IDD_CHOOSE_COLS        167
#define IDC_DIVIDER            168
#define IDC_DIVIDER_OPEN       169
#define IDC_CHOOSE_COLS_LIST   1011
#define IDC_STATIC_EXPLANATION 1016
#define ID_CHOOSE_COLS_ON_VIEW 32812
