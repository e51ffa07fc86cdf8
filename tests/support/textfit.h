// Whether the texts of a window's controls are shown whole: every static
// text, button, edit, drop-down list item, list-box item and list-view column
// (its header and every cell) is measured in the font the control draws it
// with, against the room the control gives it; and no control reaches past
// its parent's edge.
#pragma once
#include "fw/framework.h"
#include <functional>
#include <string>
#include <vector>

namespace pirt_test {

// One line per visible control (or list column) below window whose text is
// cut, naming the control, the text and the room it needs and has; empty when
// everything fits. Hidden controls (another page, another kind's fields) are
// not looked at, nor is window itself.
std::vector<std::string> CutTexts(HWND window);

// CutTexts of each of the first `pages` pages of the property sheet that
// `open` shows modally with this caption, each page shown and painted first;
// a page never reached reads "<not shown>". Each page is measured once its
// first paint is done.
std::vector<std::vector<std::string>> CutTextsOfSheetPages(const char* caption, const std::function<void()>& open,
                                                           int pages);

// The languages the programs ship, by the names of their files ("English"
// for languages\English.lng).
extern const char* const kShippedLanguages[2];

// Chooses a shipped language in the suite INI file pirtIni, as the language
// page does: its file in the test program's languages folder.
void ChooseLanguage(const char* pirtIni, const char* language);

} // namespace pirt_test
