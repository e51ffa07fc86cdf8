// Every text of the main cleaner's windows is shown whole, in each shipped
// language: the trace list, the preferences pages, a cleaning run's progress
// window, the cookie manager and the about box.
#include <gtest/gtest.h>
#include "pirt.h"
#include "appdriver.h"
#include "textfit.h"
#include "Brisvane.h"
#include "MainFrm.h"
#include "BrisvaneView.h"
#include "progressdlg.h"
#include "ManageCookies.h"
#include "aboutdlg.h"
#include "resource.h"

using namespace pirt_test;

extern CBrisvaneApp g_app;

namespace {
typedef std::vector<std::string> Cut;

// The progress window as the run's last row is reported.
Cut g_runCut;
void NoteRunCut(CProgressDlg* dlg, int) { g_runCut = CutTexts(dlg->m_hWnd); }

class BrisvaneTextFitTest : public ::testing::Test, public CAppDriver<CMainFrame>
{
protected:
    BrisvaneTextFitTest() : CAppDriver(g_app, false) {}
    void TearDown() override
    {
        g_pfnRunObserver = nullptr;
        CloseApp();
        ResetDataRoots();
    }
};
} // namespace

TEST_F(BrisvaneTextFitTest, EveryWindowShowsItsTextsWhole)
{
    for (const char* language : kShippedLanguages) {
        SCOPED_TRACE(language);
        ResetDataRoots();
        ChooseLanguage(GetIniPath(INI_PIRT), language);
        CString ini = GetIniPath(INI_BRISVANE);
        WritePrivateProfileStringA("Preferences", "AllBrowsersFoundOnStartUp", "no", ini);
        WritePrivateProfileStringA("Brisvane", "ShowBrowserTraces", "yes", ini);
        WritePrivateProfileStringA("Brisvane", "ShowSystemTraces", "yes", ini);
        // A short run: the clipboard and the Run history, without a question.
        WritePrivateProfileStringA("General", "Clipboard", "yes", ini);
        WritePrivateProfileStringA("General", "RunMRU", "yes", ini);
        WritePrivateProfileStringA("Preferences", "SecurityDelConfirm", "no", ini);
        WritePrivateProfileStringA("Preferences", "CloseAfterKill", "no", ini);
        ASSERT_TRUE(StartApp());
        EXPECT_EQ(Cut(), CutTexts(m_frame->m_hWnd)) << "main window";
        m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveWindowPicture(m_frame->m_hWnd, ScreenshotPath((std::string("brisvane-main-") + language + ".bmp").c_str()));

        const std::vector<Cut> pages = CutTextsOfSheetPages(
            GetLngString("General", "30200"), [&] { Command(ID_PREFERENCES); }, 4);
        for (size_t i = 0; i < pages.size(); ++i)
            EXPECT_EQ(Cut(), pages[i]) << "preferences page " << i;
        g_runCut = {"<no run>"};
        g_pfnRunObserver = NoteRunCut;
        Command(ID_EXECUTE_NOW);
        g_pfnRunObserver = nullptr;
        EXPECT_EQ(Cut(), g_runCut) << "progress window";
        CloseApp();

        CManageCookies cookies;
        ASSERT_TRUE(cookies.Create(CManageCookies::IDD, nullptr));
        EXPECT_EQ(Cut(), CutTexts(cookies.m_hWnd)) << "cookie manager";
        cookies.DestroyWindow();
        CAboutDlg about;
        ASSERT_TRUE(about.Create(CAboutDlg::IDD, nullptr));
        EXPECT_EQ(Cut(), CutTexts(about.m_hWnd)) << "about box";
        about.DestroyWindow();
    }
}
