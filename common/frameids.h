// The framework's own command and bar ids, for the programs' resource
// scripts (which see only windows.h) as well as their code.
#pragma once

#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141
#endif
#ifndef ID_VIEW_TOOLBAR
#define ID_VIEW_TOOLBAR 0xE800
#endif
#ifndef ID_VIEW_STATUS_BAR
#define ID_VIEW_STATUS_BAR 0xE801
#endif
#ifndef ID_INDICATOR_CAPS
#define ID_INDICATOR_CAPS 0xE701
#endif
#ifndef ID_INDICATOR_NUM
#define ID_INDICATOR_NUM 0xE702
#endif
#ifndef ID_INDICATOR_SCRL
#define ID_INDICATOR_SCRL 0xE703
#endif
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000
#endif
#ifndef AFX_IDW_MENUBAR
#define AFX_IDW_MENUBAR 59418
#endif
