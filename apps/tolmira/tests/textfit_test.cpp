// Every text of the recent-work cleaner's windows is shown whole, in each
// shipped language: preview, properties, search, column chooser, preferences,
// the run's progress window and the about box. (The plug-in list shows what the plug-in files say, in
// columns the user sizes.)
#include <gtest/gtest.h>
#include "tolmira_test.h"
#include "appdriver.h"
#include "textfit.h"
#include "MainFrm.h"
#include "TolmiraView.h"
#include "PropertiesDlg.h"
#include "SearchDlg.h"
#include "PluginList.h"
#include "ListViewExRes.h"
#include "aboutdlg.h"
#include "progressdlg.h"
#include "resource.h"

using namespace pirt_test;

namespace {
typedef std::vector<std::string> Cut;

// The progress window as the run's last plug-in is reported.
Cut g_runCut;
void NoteRunCut(CProgressDlg* dlg, int) { g_runCut = CutTexts(dlg->m_hWnd); }

class TolmiraTextFitTest : public ::testing::Test, public CAppDriver<CMainFrame>
{
protected:
    TolmiraTextFitTest() : CAppDriver(g_app, false) {}
    void TearDown() override
    {
        g_pfnTolmiraRunObserver = nullptr;
        CloseApp();
        DeleteTree(UserPluginFolder());
        ResetDataRoots();
    }
    // Runs a command that shows a modal window with that caption, and checks
    // the window.
    Cut ModalCut(const CString& caption, UINT command, CWnd* target)
    {
        Cut cut = {"<not shown>"};
        EXPECT_TRUE(DriveModal(
            caption, [&] { target->SendMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0); },
            [&](HWND window) {
                Sleep(100);
                cut = CutTexts(window);
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            }));
        return cut;
    }
};
} // namespace

TEST_F(TolmiraTextFitTest, EveryWindowShowsItsTextsWhole)
{
    for (const char* language : kShippedLanguages) {
        SCOPED_TRACE(language);
        ResetDataRoots();
        UseTolmiraProfile();
        ChooseLanguage(GetIniPath(INI_PIRT), language);
        CString ini = GetIniPath(INI_FARNOCH);
        WritePrivateProfileStringA("Farnoch", "ViewAll", "yes", ini);
        WritePrivateProfileStringA("Preferences", "SecurityDelConfirm", "no", ini);
        WritePrivateProfileStringA("Preferences", "CloseAfterKill", "no", ini);
        // Entries of every kind, with the longest action words and a path as
        // long as a real one.
        CString file = UserPluginFolder() + "\\office.dorv";
        CreateFullPath(UserPluginFolder());
        WritePlugin(file,
                    {"[General]", "Name=Office Recent Documents", "Version=12.0.4518", "Provider=Talvery Plug-in Team",
                     "Description=The recent documents of the office suite", "[Files]",
                     "File0=PIRT_APPDATA\\Microsoft\\Office\\Recent;DeleteContent;index.dat",
                     "File1=PIRT_APPDATA\\Microsoft\\Office\\Settings.ini;EraseMatch;Recent Files,File1", "[Folders]",
                     "Folder0=PIRT_APPDATA\\Microsoft\\Office\\Recent;DeleteAllBelow;", "[Registry]",
                     "Reg0=HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\12.0\\Word;DeleteValueMatch;File MRU"});
        ASSERT_TRUE(StartApp());
        CListCtrl& list = m_frame->View()->GetListCtrl();
        // Every plug-in ticked (the shipped ones too), this one selected.
        for (int row = 0; row < list.GetItemCount(); ++row) {
            list.SetItemState(row, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
            if (list.GetItemText(row, COLUMN_NAME) == "Office Recent Documents")
                list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }

        EXPECT_EQ(Cut(), ModalCut(GetLngString("General", "50030"), ID_EXECUTE_PREVIEW, m_frame)) << "preview";
        EXPECT_EQ(Cut(),
                  ModalCut(GetLngString("General", "40270", "not found"), ID_CHOOSE_COLS_ON_VIEW, m_frame->View()))
            << "column chooser";

        CPropertiesDlg properties;
        properties.m_name = "Office Recent Documents";
        properties.m_version = "12.0.4518";
        properties.m_path = file;
        ASSERT_TRUE(properties.Create(CPropertiesDlg::IDD, nullptr));
        EXPECT_EQ(Cut(), CutTexts(properties.m_hWnd)) << "properties";
        properties.DestroyWindow();

        CSearchDlg* search = new CSearchDlg(&list, m_frame->View());
        ASSERT_TRUE(search->Create(CSearchDlg::IDD, m_frame->View()));
        EXPECT_EQ(Cut(), CutTexts(search->m_hWnd)) << "search";
        search->DestroyWindow(); // the object goes with its window

        const std::vector<Cut> pages = CutTextsOfSheetPages(
            GetLngString("General", "30200"), [&] { Command(ID_PREFERENCES); }, 3);
        for (size_t i = 0; i < pages.size(); ++i)
            EXPECT_EQ(Cut(), pages[i]) << "preferences page " << i;
        // A run of the ticked plug-ins.
        g_runCut = {"<no run>"};
        g_pfnTolmiraRunObserver = NoteRunCut;
        Command(ID_EXECUTE_NOW);
        g_pfnTolmiraRunObserver = nullptr;
        EXPECT_EQ(Cut(), g_runCut) << "progress window";
        CloseApp();

        CAboutDlg about;
        ASSERT_TRUE(about.Create(CAboutDlg::IDD, nullptr));
        EXPECT_EQ(Cut(), CutTexts(about.m_hWnd)) << "about box";
        about.DestroyWindow();
    }
}
