// Every text of the eraser's windows is shown whole, in each shipped language.
#include "eraser_test_support.h"
#include "PreferencesDlg.h"
#include "aboutdlg.h"
#include "textfit.h"

#include <gtest/gtest.h>

using namespace eraser_test;
using namespace pirt_test;

namespace {
typedef std::vector<std::string> Cut;
} // namespace

TEST(EraserTextFitTest, EveryWindowShowsItsTextsWhole)
{
    for (const char* language : kShippedLanguages) {
        SCOPED_TRACE(language);
        ResetDataRoots();
        ChooseLanguage(GetIniPath(INI_PIRT), language);
        WriteIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm", "no");
        WriteIni(INI_PLIMVET, "Preferences", "CloseAfterKill", "no");
        CScratchFolder scratch("eraser_textfit");
        CString file = scratch("Quarterly report.docx");
        WriteFileText(file, "text");

        // The main window, with a file listed and then during its run.
        CTestEraserDlg dlg;
        ASSERT_TRUE(dlg.CreateModeless());
        dlg.AppendPath(file);
        dlg.ShowWindow(SW_SHOW);
        Pump();
        EXPECT_EQ(Cut(), CutTexts(dlg.m_hWnd));
        dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SaveWindowPicture(dlg.m_hWnd, ScreenshotPath((std::string("eraser-main-") + language + ".bmp").c_str()));
        Cut progress = {"<no run>"};
        dlg.m_onRunEnding = [&](CEraserProgressDlg* p) { progress = CutTexts(p->m_hWnd); };
        dlg.WipeListedFiles();
        EXPECT_EQ(Cut(), progress) << "progress window";
        dlg.DestroyWindow();

        CAboutDlg about;
        ASSERT_TRUE(about.Create(CAboutDlg::IDD, nullptr));
        EXPECT_EQ(Cut(), CutTexts(about.m_hWnd)) << "about box";
        about.DestroyWindow();

        const std::vector<Cut> pages = CutTextsOfSheetPages(
            GetLngString("General", "30200"),
            [] {
                CPreferencesDlg sheet(GetLngString("General", "30200"), nullptr, 0);
                sheet.DoModal();
            },
            2);
        EXPECT_EQ(Cut(), pages[0]) << "general page";
        EXPECT_EQ(Cut(), pages[1]) << "security page";
    }
    ResetDataRoots();
}

// The check itself: of two list-box items and two buttons, exactly the long
// item and the button past its parent's right edge are reported.
TEST(EraserTextFitTest, TheCheckSeesCutListItemsAndControlsPastTheEdge)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                    instance, nullptr);
    ASSERT_TRUE(parent != nullptr);
    const HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    HWND list = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 10, 10, 120, 80, parent, (HMENU)101,
                                  instance, nullptr);
    ::SendMessageA(list, WM_SETFONT, (WPARAM)font, FALSE);
    ::SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "short");
    ::SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "a path far too long for a list box this narrow.txt");
    const struct
    {
        int id, x;
    } buttons[] = {{102, 10}, {103, 260}};
    for (const auto& b : buttons) {
        HWND button = ::CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, b.x, 120, 60, 24, parent,
                                        (HMENU)(INT_PTR)b.id, instance, nullptr);
        ::SendMessageA(button, WM_SETFONT, (WPARAM)font, FALSE);
    }
    const Cut cut = CutTexts(parent);
    ::DestroyWindow(parent);
    ASSERT_EQ(2u, cut.size()) << ::testing::PrintToString(cut);
    EXPECT_EQ(0u, cut[0].find("list box item 101 \"a path far")) << cut[0];
    EXPECT_EQ(0u, cut[1].find("Button 103 \"OK\" at 260,120-320,144 is cut by its parent's edge")) << cut[1];
}
