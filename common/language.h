// Language texts: every text the suite shows is looked up by (section, key)
// in the language file that the suite INI names ([Pirt] LngPath).
#pragma once
#include "fw/framework.h"

// [Pirt] LngPath of the suite INI, "" when absent.
CString GetLngPath();

// Text of (section, key) in the chosen language file, "" when absent; at most
// 254 characters, "%%" read as "%". Nothing is cached, so a new language
// choice takes effect at the next lookup.
CString GetLngString(CString section, CString key);

// Puts the text on the dialog's control with that id.
void SetDlgItemLngText(HWND dialog, int controlId, CString section, CString key);

// Puts the text on the window (its caption).
void SetWindowLngText(HWND window, CString section, CString key);

// Puts the text on one menu item (by command or by position, as flags say)
// through the menu's SetItemText(UINT, CString, UINT); with pad set, the text
// gets one blank before and after it. Works with any menu class offering that
// operation (CThemedMenu among them).
template <class TMenu>
void SetMenuLngText(TMenu* menu, UINT item, UINT flags, CString section, CString key, int pad)
{
    ASSERT(menu != nullptr);
    CString text = GetLngString(section, key);
    if (pad)
        text = CString(" ") + text + " ";
    menu->SetItemText(item, text, flags);
}
