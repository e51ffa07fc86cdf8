#include "prefsheet.h"
#include "language.h"
#include "services.h"

namespace {
// What decides the texts at the next start.
CString StoredLanguage() { return GetChosenLanguage() + "\n" + GetLngPath(); }
} // namespace

void SetSheetTabTitles(CPropertySheet* sheet, const SheetTabTitle* titles, int count)
{
    ASSERT(sheet != nullptr && titles != nullptr);
    HWND tab = sheet->GetTabControl();
    if (tab == nullptr)
        return;
    CString lngPath = GetLngPath();
    for (int i = 0; i < count; i++) {
        char stored[256] = "";
        ::GetPrivateProfileStringA(titles[i].section, titles[i].key, titles[i].fallback, stored, 256, lngPath);
        CString text = UnescapePercent(stored);
        TCITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = TCIF_TEXT;
        item.pszText = text.GetBuffer(0);
        ::SendMessageA(tab, TCM_SETITEMA, (WPARAM)i, (LPARAM)&item);
        text.ReleaseBuffer();
    }
}

INT_PTR RunPreferencesSheet(CPropertySheet& sheet, CWnd* mainWnd)
{
    CString before = StoredLanguage();
    // Asked in the language the user still sees, not in the one just chosen.
    CString question = GetLngString("General", "51020");
    INT_PTR result = sheet.DoModal();
    HWND main = mainWnd != nullptr ? mainWnd->m_hWnd : nullptr;
    if (result != IDOK || main == nullptr || StoredLanguage() == before)
        return result;
    char caption[256] = "";
    ::GetWindowTextA(main, caption, sizeof(caption));
    if (::MessageBoxA(main, question, caption, MB_YESNO | MB_ICONQUESTION) == IDYES)
        ::PostMessageA(main, WM_CLOSE, 0, 0);
    return result;
}
