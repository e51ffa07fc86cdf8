// A message box with a "don't ask me again" check box. Built as an in-memory
// dialog template so that every text, the check box included, comes from the
// language file.
#pragma once

#include <windows.h>

// Type bits of our own, on top of the system MB_* bits.
#define MB_DONT_ASK_AGAIN  0x01000000 // check box [General] 40630
#define MB_DONT_TELL_AGAIN 0x02000000 // check box "Don't tell me again"
#define MB_DONT_SHOW_AGAIN 0x04000000 // check box "Don't show again"
#define MB_NO_SOUND        0x40000000 // no warning sound

#define MB_CHECKBOX_BITS (MB_DONT_ASK_AGAIN | MB_DONT_TELL_AGAIN | MB_DONT_SHOW_AGAIN)

// Control ids of the template.
#define IDC_CHECKBOX_MSG 5555
#define IDC_HELP_MSG     300
#define IDC_ICON_MSG     1001
#define IDC_TEXT_MSG     1002

// Parameter block: unused in this suite (always NULL); declared so the
// signature can carry it.
struct XMSGBOXPARAMS;

// Shows the box modally. The result is the pressed button's id in the low
// word, OR-ed with the check-box bit of the type when that box was ticked.
// owner NULL: the active window's last active pop-up; caption NULL or "":
// "Error".
int CheckMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type, XMSGBOXPARAMS* params = nullptr);
