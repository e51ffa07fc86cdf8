// The preferences sheet, driven as a user would from a second thread while
// the sheet runs modally on the test's thread.
#include "PreferencesDlg.h"
#include "eraser_test_support.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

using namespace eraser_test;

namespace {
std::string Text(HWND w)
{
    char text[256] = "";
    ::GetWindowTextA(w, text, sizeof(text));
    return text;
}

HWND WaitForVisibleWindow(DWORD threadId, const std::string& caption)
{
    for (int i = 0; i < 200; i++) {
        struct
        {
            HWND found;
        } find = {nullptr};
        for (HWND w : VisibleThreadWindows(threadId))
            if (Text(w) == caption)
                find.found = w;
        if (find.found != nullptr)
            return find.found;
        ::Sleep(50);
    }
    return nullptr;
}

std::string TabText(HWND sheet, int index)
{
    HWND tab = (HWND)::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0);
    char text[256] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(tab, TCM_GETITEMA, index, (LPARAM)&item);
    return text;
}

HWND CurrentPage(HWND sheet) { return (HWND)::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0); }

// Shows the sheet modally; `user` acts on it from another thread and must
// close it. Buttons are pressed by posted messages: the sheet's loop notices
// that it has ended only after a posted message.
void RunSheet(const std::function<void(HWND sheet)>& user)
{
    DWORD uiThread = ::GetCurrentThreadId();
    std::string title = (const char*)GetLngString("General", "30200");
    std::thread driver([&] {
        HWND sheet = WaitForVisibleWindow(uiThread, title);
        if (sheet == nullptr) {
            // Never leave a modal window behind: close whatever is shown.
            for (HWND w : VisibleThreadWindows(uiThread))
                ::PostMessageA(w, WM_CLOSE, 0, 0);
            ADD_FAILURE() << "the preferences sheet did not appear";
            return;
        }
        ::Sleep(100);
        user(sheet);
    });
    CPreferencesDlg sheet(GetLngString("General", "30200"), nullptr, 0);
    sheet.DoModal();
    driver.join();
}

// Waits until the label reads what is expected (it follows the slider's paint).
std::string WaitForLabel(HWND page, const std::string& expected)
{
    std::string label;
    for (int i = 0; i < 40; i++) {
        label = Text(::GetDlgItem(page, IDC_STATIC_OVERWRITE));
        if (label == expected)
            break;
        ::Sleep(50);
    }
    return label;
}

class PreferencesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pirt_test::ResetDataRoots();
        WriteIni(INI_PLIMVET, "Preferences", "CloseAfterKill", "no");
        WriteIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm", "no");
        ::WritePrivateProfileStringA("Pirt", "OverwritePasses", nullptr, GetIniPath(INI_PIRT));
    }
    void TearDown() override { pirt_test::ResetDataRoots(); }

    std::string PassesLabel(int passes)
    {
        return std::string((const char*)GetLngString("Eraser", "30150")) + " " + std::to_string(passes) + " " +
               (const char*)GetLngString("Eraser", "30160");
    }
};
} // namespace

TEST_F(PreferencesTest, GeneralPageOnlyWritesCloseAfterKill)
{
    std::string checkText;
    RunSheet([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        checkText = Text(::GetDlgItem(page, IDC_CLOSEAFTERKILL));
        ::SendMessageA(::GetDlgItem(page, IDC_CLOSEAFTERKILL), BM_CLICK, 0, 0);
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ((const char*)GetLngString("General", "30410"), checkText);
    EXPECT_EQ("yes", ReadIni(INI_PLIMVET, "Preferences", "CloseAfterKill"));
    // The security page was never opened: the suite setting stays absent.
    EXPECT_EQ("<absent>", ReadIni(INI_PIRT, "Pirt", "OverwritePasses"));
    EXPECT_EQ("no", ReadIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm"));
}

TEST_F(PreferencesTest, SecurityPageShowsThreePassesByDefaultAndWritesThem)
{
    int position = -1, low = -1, high = -1;
    std::string label, expectedLabel = PassesLabel(3), groupText;
    RunSheet([&](HWND sheet) {
        ::SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        HWND page = CurrentPage(sheet);
        HWND slider = ::GetDlgItem(page, IDC_SLIDER_PASSES);
        position = (int)::SendMessageA(slider, TBM_GETPOS, 0, 0);
        low = (int)::SendMessageA(slider, TBM_GETRANGEMIN, 0, 0);
        high = (int)::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0);
        label = WaitForLabel(page, expectedLabel);
        groupText = Text(::GetDlgItem(page, IDC_GRP_OVERWRITE));
        ::SendMessageA(::GetDlgItem(page, IDC_CONFIRM_DELETE), BM_CLICK, 0, 0);
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(3, position);
    EXPECT_EQ(2, low);
    EXPECT_EQ(20, high);
    EXPECT_EQ(expectedLabel, label);
    EXPECT_EQ((const char*)GetLngString("Eraser", "30100"), groupText);
    EXPECT_EQ("3", ReadIni(INI_PIRT, "Pirt", "OverwritePasses"));
    EXPECT_EQ("yes", ReadIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm"));
    EXPECT_EQ("no", ReadIni(INI_PLIMVET, "Preferences", "CloseAfterKill"));
}

TEST_F(PreferencesTest, StoredPassesOutsideTheRangeAreClampedWhenConfirmed)
{
    for (auto stored : {std::make_pair("50", 20), std::make_pair("0", 2)}) {
        WriteIni(INI_PIRT, "Pirt", "OverwritePasses", stored.first);
        int position = -1;
        RunSheet([&](HWND sheet) {
            ::SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
            position = (int)::SendMessageA(::GetDlgItem(CurrentPage(sheet), IDC_SLIDER_PASSES), TBM_GETPOS, 0, 0);
            ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        });
        EXPECT_EQ(stored.second, position);
        EXPECT_EQ(std::to_string(stored.second), ReadIni(INI_PIRT, "Pirt", "OverwritePasses"));
    }
}

TEST_F(PreferencesTest, MovingTheSliderUpdatesTheLabelAndApplyWritesAtOnce)
{
    std::string label, expectedLabel = PassesLabel(7), applied;
    RunSheet([&](HWND sheet) {
        ::SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        HWND page = CurrentPage(sheet);
        HWND slider = ::GetDlgItem(page, IDC_SLIDER_PASSES);
        ::SendMessageA(slider, TBM_SETPOS, TRUE, 7);
        ::InvalidateRect(slider, nullptr, TRUE);
        label = WaitForLabel(page, expectedLabel);
        ::SendMessageA(sheet, PSM_CHANGED, (WPARAM)page, 0);
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        ::Sleep(200);
        applied = ReadIni(INI_PIRT, "Pirt", "OverwritePasses");
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    EXPECT_EQ(expectedLabel, label);
    EXPECT_EQ("7", applied);
    EXPECT_EQ("7", ReadIni(INI_PIRT, "Pirt", "OverwritePasses"));
}

TEST_F(PreferencesTest, CancelWritesNothing)
{
    RunSheet([&](HWND sheet) {
        ::SendMessageA(::GetDlgItem(CurrentPage(sheet), IDC_CLOSEAFTERKILL), BM_CLICK, 0, 0);
        ::SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        ::SendMessageA(::GetDlgItem(CurrentPage(sheet), IDC_CONFIRM_DELETE), BM_CLICK, 0, 0);
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    EXPECT_EQ("no", ReadIni(INI_PLIMVET, "Preferences", "CloseAfterKill"));
    EXPECT_EQ("no", ReadIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm"));
    EXPECT_EQ("<absent>", ReadIni(INI_PIRT, "Pirt", "OverwritePasses"));
}

TEST_F(PreferencesTest, TabTitlesComeFromTheLanguageFileWithEnglishDefaults)
{
    // German texts when the German file is chosen.
    CString german = pirt_test::ProgramFolder() + "\\languages\\German.lng";
    WriteIni(INI_PIRT, "Pirt", "LngPath", german);
    std::string tab0, tab1;
    RunSheet([&](HWND sheet) {
        tab0 = TabText(sheet, 0);
        tab1 = TabText(sheet, 1);
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    EXPECT_EQ("Allgemein", tab0);
    EXPECT_EQ("Sicherheit", tab1);

    // A language file without the keys: the English defaults.
    pirt_test::CScratchFolder scratch("eraser_lng");
    pirt_test::WriteFileText(scratch("Empty.lng"), "[General]\r\n30200=Preferences\r\n");
    WriteIni(INI_PIRT, "Pirt", "LngPath", scratch("Empty.lng"));
    RunSheet([&](HWND sheet) {
        tab0 = TabText(sheet, 0);
        tab1 = TabText(sheet, 1);
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    EXPECT_EQ("General", tab0);
    EXPECT_EQ("Security", tab1);
}
