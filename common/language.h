// Language texts: every text the suite shows is looked up by (section, key)
// in the language file that the suite INI names ([Pirt] LngPath).
#pragma once
#include "fw/framework.h"

// [Pirt] LngPath of the suite INI, "" when absent.
CString GetLngPath();

// [Pirt] Language of the suite INI: the name of the chosen language, ""
// when none is chosen.
CString GetChosenLanguage();

// 1 when the suite INI chooses German ([Pirt] Language exactly "German"),
// 0 for any other or no choice: help files and web pages then are English.
int IsGermanChosen();

// Text of (section, key) in the chosen language file, "" when absent; at most
// 254 characters, "%%" read as "%". The file is read once into memory and
// again when the suite INI or the file itself changes, so a new language
// choice takes effect at the next lookup.
CString GetLngString(CString section, CString key);

// Inside a run (CRunPass, services.h) whether the suite INI or the language
// file changed is checked at the run's first lookup only: a cleaning run
// looks up two texts per row.

// The same, with the text to show when the key is absent (or empty).
CString GetLngString(CString section, CString key, CString defaultText);

// Puts the text on the dialog's control with that id.
void SetDlgItemLngText(HWND dialog, int controlId, CString section, CString key);

// The text of one control of a dialog: its id, section and key.
struct DlgItemLngText
{
    int controlId;
    const char* section;
    const char* key;
};

// Puts each text of the table on its control.
void SetDlgItemLngTexts(HWND dialog, const DlgItemLngText* items, int count);
template <int N>
void SetDlgItemLngTexts(HWND dialog, const DlgItemLngText (&items)[N])
{
    SetDlgItemLngTexts(dialog, items, N);
}

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

// A menu seen through the SetItemText operation that SetMenuLngText uses,
// for menus that are plain handles.
class CMenuTextSetter
{
public:
    explicit CMenuTextSetter(HMENU menu) : m_menu(menu) {}
    void SetItemText(UINT item, CString text, UINT flags)
    {
        MENUITEMINFOA mi;
        ZeroMemory(&mi, sizeof(mi));
        mi.cbSize = sizeof(mi);
        mi.fMask = MIIM_STRING;
        mi.dwTypeData = text.GetBuffer(0);
        ::SetMenuItemInfoA(m_menu, item, (flags & MF_BYPOSITION) != 0, &mi);
        text.ReleaseBuffer();
    }

private:
    HMENU m_menu;
};
