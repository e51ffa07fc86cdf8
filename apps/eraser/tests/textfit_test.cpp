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
