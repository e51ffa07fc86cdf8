// The eraser's main dialog: collecting paths and the wipe run.
#include "eraser_test_support.h"
#include "fw/handle.h"
#include "checkmessagebox.h"
#include "testsupport.h"
#include "pixeldib.h"
#include "suitehelp.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

using namespace eraser_test;
using pirt_test::CScratchFolder;

namespace {
struct Row
{
    std::string text;
    int image;
};

std::vector<Row> ReadRows(CListCtrl* list)
{
    std::vector<Row> rows;
    for (int i = 0; i < list->GetItemCount(); i++) {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        list->GetItem(&item);
        rows.push_back({(const char*)list->GetItemText(i, 0), item.iImage});
    }
    return rows;
}

std::string Lng(const char* section, const char* key) { return (const char*)GetLngString(section, key); }

// A drop of the given paths as the shell sends it.
HDROP MakeDrop(const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const auto& p : paths)
        size += p.size() + 1;
    HGLOBAL h = ::GlobalAlloc(GHND, size);
    DROPFILES* df = (DROPFILES*)::GlobalLock(h);
    df->pFiles = sizeof(DROPFILES);
    df->fWide = FALSE;
    char* out = (char*)(df + 1);
    for (const auto& p : paths) {
        memcpy(out, p.c_str(), p.size() + 1);
        out += p.size() + 1;
    }
    *out = '\0';
    ::GlobalUnlock(h);
    return (HDROP)h;
}

BOOL IsEnabled(const CEraserDlg& dlg, int id) { return ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, id)); }

// Runs the dialog manager's keyboard handling, as a modal dialog's loop does.
void PumpDialog(HWND hDlg)
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!::IsDialogMessageA(hDlg, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

class EraserDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pirt_test::ResetDataRoots();
        WriteIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm", "no");
        WriteIni(INI_PLIMVET, "Preferences", "CloseAfterKill", "no");
        ASSERT_TRUE(m_dlg.CreateModeless());
        m_dlg.ShowWindow(SW_SHOW);
        Pump();
    }
    void TearDown() override
    {
        if (m_dlg.m_hWnd != nullptr)
            m_dlg.DestroyWindow();
        pirt_test::ResetDataRoots();
    }

    std::vector<std::string> Paths()
    {
        std::vector<std::string> paths;
        for (const CString& p : m_dlg.GetPaths())
            paths.push_back((const char*)p);
        return paths;
    }

    CTestEraserDlg m_dlg;
};
} // namespace

TEST_F(EraserDialogTest, StartsEmptyWithDeleteAndStartDisabledAndLanguageTexts)
{
    EXPECT_TRUE(Paths().empty());
    EXPECT_FALSE(IsEnabled(m_dlg, IDC_DELETE_FILE));
    EXPECT_FALSE(IsEnabled(m_dlg, IDC_START_2_WIPE));
    EXPECT_TRUE(IsEnabled(m_dlg, IDC_ADD_FILE));

    char text[256];
    ::GetWindowTextA(m_dlg.m_hWnd, text, sizeof(text));
    EXPECT_EQ(Lng("General", "20120"), text);
    ::GetDlgItemTextA(m_dlg.m_hWnd, IDC_START_2_WIPE, text, sizeof(text));
    EXPECT_EQ(Lng("Eraser", "10110"), text);
    ::GetDlgItemTextA(m_dlg.m_hWnd, ID_APP_EXIT, text, sizeof(text));
    EXPECT_EQ(Lng("General", "10100"), text);

    // Menu bar entries padded with a blank on each side, items as they are;
    // the themed menu holds them (the items are owner-drawn) with an image.
    CThemedMenu& menu = m_dlg.m_defaultMenu;
    ASSERT_EQ(::GetMenu(m_dlg.m_hWnd), menu.m_hMenu);
    CString shown;
    EXPECT_TRUE(menu.GetMenuText(1, shown, MF_BYPOSITION));
    EXPECT_EQ(" " + Lng("General", "12000") + " ", (const char*)shown);
    EXPECT_TRUE(menu.GetMenuText(IDC_ADD_FILE, shown, MF_BYCOMMAND));
    EXPECT_EQ(Lng("General", "80600"), (const char*)shown);
    EXPECT_TRUE(menu.GetMenuText(ID_ABOUT, shown, MF_BYCOMMAND));
    EXPECT_EQ(Lng("General", "18100"), (const char*)shown);
    EXPECT_FALSE(Lng("General", "80600").empty());
    CThemedMenuItemData* about = menu.FindRecord(ID_ABOUT);
    ASSERT_NE(nullptr, about);
    ASSERT_NE(nullptr, about->m_pIcons);
    EXPECT_TRUE(::GetMenuState(menu.m_hMenu, ID_ABOUT, MF_BYCOMMAND) & MF_OWNERDRAW);
    // The item shows the about icon itself: its image and the icon drawn on
    // white differ at most in a few edge pixels.
    auto drawn = [](std::function<void(HDC)> paint) {
        pirt_test::Dib dib(16, 16);
        ::PatBlt(dib.dc.m_hDC, 0, 0, 16, 16, WHITENESS);
        paint(dib.dc.m_hDC);
        ::GdiFlush();
        return std::vector<DWORD>(dib.pBits, dib.pBits + 256);
    };
    HICON icon = (HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ABOUT), IMAGE_ICON, 16, 16, 0);
    ASSERT_NE(nullptr, icon);
    std::vector<DWORD> expected = drawn([&](HDC dc) { ::DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL); });
    ::DestroyIcon(icon);
    std::vector<DWORD> painted = drawn([&](HDC dc) {
        about->m_pIcons->Images(CThemedMenuIcons::LOOK_NORMAL)
            .Draw(dc, about->m_nImageIndex, CPoint(0, 0), ILD_TRANSPARENT);
    });
    int differing = 0, opaque = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        differing += (expected[i] & 0xFFFFFF) != (painted[i] & 0xFFFFFF);
        opaque += (expected[i] & 0xFFFFFF) != 0xFFFFFF;
    }
    EXPECT_GT(opaque, 64);
    EXPECT_LE(differing, 16) << "of " << opaque;
}

TEST_F(EraserDialogTest, DroppedPathsAreAppendedWholeInOrder)
{
    // A long path (over 127 characters) is listed whole, never cut.
    std::string longPath = "C:\\" + std::string(150, 'x') + "\\file.txt";
    std::vector<std::string> dropped = {"C:\\b.txt", longPath, "C:\\folder"};
    ::SendMessageA(m_dlg.m_hWnd, WM_DROPFILES, (WPARAM)MakeDrop(dropped), 0);
    EXPECT_EQ(dropped, Paths());
    EXPECT_EQ(2, m_dlg.GetPathList().GetCurSel());
    EXPECT_TRUE(IsEnabled(m_dlg, IDC_DELETE_FILE));
    EXPECT_TRUE(IsEnabled(m_dlg, IDC_START_2_WIPE));

    // A second drop appends after the first, duplicates included, unsorted.
    ::SendMessageA(m_dlg.m_hWnd, WM_DROPFILES, (WPARAM)MakeDrop({"C:\\a.txt", "C:\\b.txt"}), 0);
    std::vector<std::string> expected = dropped;
    expected.push_back("C:\\a.txt");
    expected.push_back("C:\\b.txt");
    EXPECT_EQ(expected, Paths());
    EXPECT_EQ(4, m_dlg.GetPathList().GetCurSel());
}

TEST_F(EraserDialogTest, DeleteKeyRemovesTheSelectedPath)
{
    for (const char* p : {"C:\\1", "C:\\2", "C:\\3"})
        m_dlg.AppendPath(p);
    CListBox& list = m_dlg.GetPathList();
    ::SetFocus(list.m_hWnd);

    // The key goes through the dialog manager, as in the modal dialog.
    list.SetCurSel(1);
    ::PostMessageA(list.m_hWnd, WM_KEYDOWN, VK_DELETE, 0x00530001);
    PumpDialog(m_dlg.m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"C:\\1", "C:\\3"}), Paths());
    EXPECT_EQ(1, list.GetCurSel()); // the entry that moved into its place

    // Deleting the last entry selects the new last one.
    ::PostMessageA(list.m_hWnd, WM_KEYDOWN, VK_DELETE, 0x00530001);
    PumpDialog(m_dlg.m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"C:\\1"}), Paths());
    EXPECT_EQ(0, list.GetCurSel());

    // No selection: nothing changes, the key is still consumed.
    list.SetCurSel(-1);
    MSG msg = {list.m_hWnd, WM_KEYDOWN, VK_DELETE, 0x00530001};
    EXPECT_TRUE(m_dlg.PreTranslateMessage(&msg));
    EXPECT_EQ(1u, Paths().size());
    EXPECT_TRUE(IsEnabled(m_dlg, IDC_START_2_WIPE));

    // The list becoming empty disables delete and start again.
    list.SetCurSel(0);
    EXPECT_TRUE(m_dlg.PreTranslateMessage(&msg));
    EXPECT_TRUE(Paths().empty());
    EXPECT_FALSE(IsEnabled(m_dlg, IDC_DELETE_FILE));
    EXPECT_FALSE(IsEnabled(m_dlg, IDC_START_2_WIPE));
}

TEST_F(EraserDialogTest, EditMenuRemoveItemIsEnabledExactlyWhenPathsAreListed)
{
    HMENU bar = ::GetMenu(m_dlg.m_hWnd);
    HMENU edit = ::GetSubMenu(bar, 1);
    ASSERT_NE(nullptr, edit);
    // The Edit popup opened for real under its menu-bar item: the dialog
    // sets the item's state from its command handlers as it opens.
    auto stateWhileOpen = [&](const char* picture) {
        UINT state = (UINT)-1;
        RECT item = {0, 0, 0, 0};
        ::GetMenuItemRect(m_dlg.m_hWnd, bar, 1, &item);
        EXPECT_TRUE(pirt_test::WhileMenuOpen(
            [&] { ::TrackPopupMenu(edit, TPM_LEFTALIGN, item.left, item.bottom, 0, m_dlg.m_hWnd, nullptr); },
            [&](HWND popup) {
                state = ::GetMenuState(edit, IDC_DELETE_FILE, MF_BYCOMMAND);
                if (picture)
                    pirt_test::SaveWindowPicture(m_dlg.m_hWnd, pirt_test::ScreenshotPath(picture), popup);
            }));
        return state;
    };
    UINT state = stateWhileOpen(nullptr);
    EXPECT_NE((UINT)-1, state);
    EXPECT_TRUE(state & MF_GRAYED);
    EXPECT_TRUE(state & MF_OWNERDRAW);

    m_dlg.AppendPath("C:\\x");
    state = stateWhileOpen("eraser_menu_open.bmp");
    EXPECT_FALSE(state & MF_GRAYED);

    // The menu command removes the selected path like the button.
    ::SendMessageA(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DELETE_FILE, 0), 0);
    EXPECT_TRUE(Paths().empty());
}

TEST_F(EraserDialogTest, FileDialogSelectionIsAppendedInOrder)
{
    CScratchFolder scratch("eraser_add");
    pirt_test::WriteFileText(scratch("a.txt"), "a");
    pirt_test::WriteFileText(scratch("b.txt"), "b");
    m_dlg.AppendPath("C:\\first");
    ASSERT_TRUE(::SetCurrentDirectoryA(scratch.Path()));

    // Another thread plays the user: it finds the open dialog, types two
    // names and presses OK (or cancels when the names cannot be typed).
    DWORD uiThread = ::GetCurrentThreadId();
    HWND eraser = m_dlg.m_hWnd;
    std::atomic<bool> typed(false);
    std::thread user([&] {
        for (int i = 0; i < 200; i++) {
            ::Sleep(50);
            struct
            {
                HWND found;
            } find = {nullptr};
            for (HWND w : VisibleThreadWindows(uiThread)) {
                char cls[64];
                ::GetClassNameA(w, cls, sizeof(cls));
                if (w != eraser && lstrcmpA(cls, "#32770") == 0)
                    find.found = w;
            }
            if (find.found == nullptr)
                continue;
            ::Sleep(300);
            const char* names = "\"a.txt\" \"b.txt\"";
            HWND nameBox = ::GetDlgItem(find.found, 0x47c); // cmb13
            if (nameBox == nullptr)
                nameBox = ::GetDlgItem(find.found, 0x480); // edt1
            if (nameBox != nullptr) {
                ::SendMessageA(nameBox, WM_SETTEXT, 0, (LPARAM)names);
                typed = true;
                ::PostMessageA(find.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                               (LPARAM)::GetDlgItem(find.found, IDOK));
            } else {
                ::PostMessageA(find.found, WM_COMMAND, IDCANCEL, 0);
            }
            return;
        }
    });
    m_dlg.OnAddFile();
    user.join();
    ASSERT_TRUE(typed);

    std::string folder = (const char*)scratch.Path();
    EXPECT_EQ((std::vector<std::string>{"C:\\first", folder + "\\a.txt", folder + "\\b.txt"}), Paths());
    EXPECT_EQ(2, m_dlg.GetPathList().GetCurSel());
    EXPECT_TRUE(IsEnabled(m_dlg, IDC_START_2_WIPE));
    ::SetCurrentDirectoryA(pirt_test::ProgramFolder());
}

TEST_F(EraserDialogTest, RunWipesEveryPathAndReportsTheLockedOne)
{
    CScratchFolder scratch("eraser_run");
    std::string a = (const char*)scratch("a.bin"), locked = (const char*)scratch("locked.bin"),
                c = (const char*)scratch("c.bin");
    std::vector<char> data(1500, 'A');
    for (const std::string& p : {a, locked, c})
        pirt_test::WriteFileBytes(p.c_str(), data.data(), data.size());
    CHandle hold(::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    WriteIni(INI_PIRT, "Pirt", "OverwritePasses", "2");

    for (const std::string& p : {a, locked, c})
        m_dlg.AppendPath(p.c_str());
    Pump();
    m_dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(pirt_test::SaveWindowPicture(m_dlg.m_hWnd, pirt_test::ScreenshotPath("eraser_main_dialog.bmp")));

    // While the error box for the locked file is up, the user tries every
    // way of closing the progress window: it stays, and the run goes on.
    bool progressSurvived = false;
    bool mainHidden = false;
    m_dlg.m_onMessage = [&](const Message& m) {
        CEraserProgressDlg* progress = m_dlg.GetRunProgress();
        if (progress == nullptr || !(m.type & MB_ICONERROR))
            return;
        mainHidden = !::IsWindowVisible(m_dlg.m_hWnd);
        pirt_test::SaveWindowPicture(progress->m_hWnd, pirt_test::ScreenshotPath("eraser_run_in_progress.bmp"));
        HWND hProgress = progress->m_hWnd;
        ::SendMessageA(hProgress, WM_CLOSE, 0, 0);
        ::SendMessageA(hProgress, WM_COMMAND, IDCANCEL, 0);
        ::SendMessageA(hProgress, WM_SYSCOMMAND, SC_CLOSE, 0);
        ::SendMessageA(hProgress, WM_COMMAND, IDOK, 0);
        Pump();
        progressSurvived = ::IsWindow(hProgress) && ::IsWindowVisible(hProgress);
    };
    std::vector<Row> rows;
    int passLow = -1, passHigh = -1, overallPos = -1, overallHigh = -1;
    m_dlg.m_onRunEnding = [&](CEraserProgressDlg* progress) {
        rows = ReadRows(progress->GetReportList());
        progress->GetOperationBar()->GetRange(passLow, passHigh);
        int low;
        progress->GetOverallBar()->GetRange(low, overallHigh);
        overallPos = progress->GetOverallBar()->GetPos();
    };

    ::SendMessageA(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_START_2_WIPE, BN_CLICKED),
                   (LPARAM)::GetDlgItem(m_dlg.m_hWnd, IDC_START_2_WIPE));

    EXPECT_TRUE(mainHidden);
    EXPECT_TRUE(progressSurvived);
    // The other two files are gone; the locked one is untouched.
    hold.Close();
    EXPECT_EQ(data, pirt_test::ReadFileBytes(locked.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(a.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(c.c_str()));

    // One error box naming the locked file, then the closing message.
    ASSERT_EQ(2u, m_dlg.m_messages.size());
    EXPECT_EQ(Lng("Eraser", "20000") + " " + locked + "\n" + Lng("Eraser", "30171"),
              (const char*)m_dlg.m_messages[0].text);
    EXPECT_EQ(Lng("General", "30040"), (const char*)m_dlg.m_messages[0].caption);
    EXPECT_EQ((UINT)MB_ICONERROR, m_dlg.m_messages[0].type & MB_ICONMASK);
    // The closing message says the run has finished, true although a file failed.
    EXPECT_EQ(Lng("General", "51000"), (const char*)m_dlg.m_messages[1].text);
    EXPECT_NE(std::string::npos, Lng("General", "51000").find("finished"));
    EXPECT_EQ((const char*)m_dlg.GetAppName(), std::string(m_dlg.m_messages[1].caption));
    EXPECT_EQ((UINT)MB_ICONINFORMATION, m_dlg.m_messages[1].type & MB_ICONMASK);

    // Three rows for each wiped file, none for the locked one.
    std::vector<Row> expected = {
        {Lng("General", "50300") + " (" + a + ")", 0}, {Lng("General", "50305"), 0}, {Lng("General", "50310"), 0},
        {Lng("General", "50300") + " (" + c + ")", 0}, {Lng("General", "50305"), 0}, {Lng("General", "50310"), 0},
    };
    ASSERT_EQ(expected.size(), rows.size());
    for (size_t i = 0; i < rows.size(); i++) {
        EXPECT_EQ(expected[i].text, rows[i].text) << i;
        EXPECT_EQ(expected[i].image, rows[i].image) << i;
    }
    // The passes come from the suite settings; the overall bar counts paths.
    EXPECT_EQ(0, passLow);
    EXPECT_EQ(2, passHigh);
    EXPECT_EQ(3, overallHigh);
    EXPECT_EQ(3, overallPos);

    // Back to collecting: empty list, buttons off, window shown again.
    EXPECT_TRUE(Paths().empty());
    EXPECT_FALSE(IsEnabled(m_dlg, IDC_DELETE_FILE));
    EXPECT_FALSE(IsEnabled(m_dlg, IDC_START_2_WIPE));
    EXPECT_TRUE(::IsWindowVisible(m_dlg.m_hWnd));
    EXPECT_EQ(nullptr, m_dlg.GetRunProgress());
}

TEST_F(EraserDialogTest, PassesDefaultToTenAndZeroPassesStillDeletes)
{
    CScratchFolder scratch("eraser_passes");
    std::string f = (const char*)scratch("f.bin");
    int passHigh = -1;
    std::vector<Row> rows;
    m_dlg.m_onRunEnding = [&](CEraserProgressDlg* progress) {
        int low;
        progress->GetOperationBar()->GetRange(low, passHigh);
        rows = ReadRows(progress->GetReportList());
    };

    ::WritePrivateProfileStringA("Pirt", "OverwritePasses", nullptr, GetIniPath(INI_PIRT));
    pirt_test::WriteFileText(f.c_str(), "data");
    m_dlg.AppendPath(f.c_str());
    m_dlg.WipeListedFiles();
    EXPECT_EQ(10, passHigh);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(f.c_str()));

    WriteIni(INI_PIRT, "Pirt", "OverwritePasses", "0");
    pirt_test::WriteFileText(f.c_str(), "data");
    m_dlg.AppendPath(f.c_str());
    m_dlg.WipeListedFiles();
    EXPECT_EQ(0, passHigh);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(f.c_str()));
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(0, rows[2].image);
    // Only the closing messages: nothing failed.
    ASSERT_EQ(2u, m_dlg.m_messages.size());
    EXPECT_EQ(Lng("General", "51000"), (const char*)m_dlg.m_messages[1].text);
}

TEST_F(EraserDialogTest, PathListedTwiceIsWipedOnceThenReportedMissing)
{
    CScratchFolder scratch("eraser_twice");
    std::string f = (const char*)scratch("twice.bin");
    pirt_test::WriteFileText(f.c_str(), "twice");
    std::vector<Row> rows;
    m_dlg.m_onRunEnding = [&](CEraserProgressDlg* progress) { rows = ReadRows(progress->GetReportList()); };
    m_dlg.AppendPath(f.c_str());
    m_dlg.AppendPath(f.c_str());
    m_dlg.WipeListedFiles();

    ASSERT_EQ(6u, rows.size());
    EXPECT_EQ(0, rows[2].image);
    EXPECT_EQ(1, rows[4].image);                      // working row settled failed
    EXPECT_EQ(Lng("General", "50320"), rows[5].text); // nothing to wipe
    EXPECT_EQ(1, rows[5].image);
    ASSERT_EQ(2u, m_dlg.m_messages.size());
    EXPECT_EQ(Lng("Eraser", "20000") + " " + f + "\n" + Lng("Eraser", "30173"), (const char*)m_dlg.m_messages[0].text);
}

// Each after a file that was wiped: the box names why, over a pass bar that
// shows that file's last pass.
TEST_F(EraserDialogTest, TheFailureBoxNamesTheReasonOverAPaintedPassBar)
{
    CScratchFolder scratch("eraser_reasons");
    const std::string good = (const char*)scratch("good.bin"), bad = (const char*)scratch("bad.bin");
    CHandle hold;
    const struct
    {
        const char* name;
        std::function<void()> prepare;
        const char* reason;
    } cases[] = {
        {"read-only", [&] { ::SetFileAttributesA(bad.c_str(), FILE_ATTRIBUTE_READONLY); }, "30170"},
        {"in use",
         [&] { hold.Attach(::CreateFileA(bad.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)); },
         "30171"},
        {"missing", [&] { ::DeleteFileA(bad.c_str()); }, "30173"},
    };
    WriteIni(INI_PIRT, "Pirt", "OverwritePasses", "3");
    for (const auto& c : cases) {
        std::vector<char> data(1500, 'A');
        pirt_test::WriteFileBytes(good.c_str(), data.data(), data.size());
        pirt_test::WriteFileBytes(bad.c_str(), data.data(), data.size());
        c.prepare();
        bool barShown = false, barPainted = false;
        int barPos = -1;
        m_dlg.m_onMessage = [&](const Message& m) {
            CEraserProgressDlg* progress = m_dlg.GetRunProgress();
            if (progress == nullptr || !(m.type & MB_ICONERROR))
                return;
            HWND bar = progress->GetOperationBar()->m_hWnd;
            barShown = ::IsWindowVisible(bar) != FALSE; // a bar that does not redraw is not visible
            barPainted = !::GetUpdateRect(bar, nullptr, FALSE);
            barPos = progress->GetOperationBar()->GetPos();
        };
        m_dlg.m_messages.clear();
        m_dlg.AppendPath(good.c_str());
        m_dlg.AppendPath(bad.c_str());
        m_dlg.WipeListedFiles();
        hold.Close();
        ::SetFileAttributesA(bad.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(bad.c_str());

        ASSERT_EQ(2u, m_dlg.m_messages.size()) << c.name;
        EXPECT_EQ(Lng("Eraser", "20000") + " " + bad + "\n" + Lng("Eraser", c.reason),
                  (const char*)m_dlg.m_messages[0].text)
            << c.name;
        EXPECT_FALSE(Lng("Eraser", c.reason).empty()) << c.name;
        EXPECT_TRUE(barShown) << c.name;
        EXPECT_TRUE(barPainted) << c.name;
        EXPECT_EQ(3, barPos) << c.name;
    }
}

TEST_F(EraserDialogTest, ConfirmationGuardsTheRunAndCanBeSwitchedOff)
{
    CScratchFolder scratch("eraser_confirm");
    std::string f = (const char*)scratch("keep.bin");
    pirt_test::WriteFileText(f.c_str(), "keep");
    WriteIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm", "yes");
    m_dlg.AppendPath(f.c_str());

    // No, even with the box ticked: nothing wiped, nothing written.
    m_dlg.m_confirmAnswer = IDNO | MB_DONT_ASK_AGAIN;
    m_dlg.OnStartWipe();
    ASSERT_EQ(1u, m_dlg.m_confirmations.size());
    EXPECT_EQ(Lng("Eraser", "10400"), (const char*)m_dlg.m_confirmations[0].text);
    EXPECT_EQ(0x1000024u, m_dlg.m_confirmations[0].type);
    EXPECT_EQ(1u, Paths().size());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(f.c_str()));
    EXPECT_EQ("yes", ReadIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm"));
    EXPECT_TRUE(m_dlg.m_messages.empty());

    // Yes without the tick: wiped, still asking next time.
    m_dlg.m_confirmAnswer = IDYES;
    m_dlg.OnStartWipe();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(f.c_str()));
    EXPECT_EQ("yes", ReadIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm"));

    // Yes with the tick: wiped, and the question is switched off.
    pirt_test::WriteFileText(f.c_str(), "again");
    m_dlg.AppendPath(f.c_str());
    m_dlg.m_confirmAnswer = IDYES | MB_DONT_ASK_AGAIN;
    m_dlg.OnStartWipe();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(f.c_str()));
    EXPECT_EQ("no", ReadIni(INI_PLIMVET, "Preferences", "SecurityDelConfirm"));
    m_dlg.AppendPath(f.c_str());
    m_dlg.OnStartWipe();
    EXPECT_EQ(3u, m_dlg.m_confirmations.size());
    EXPECT_TRUE(Paths().empty());
}

TEST_F(EraserDialogTest, CloseAfterKillClosesTheProgramAfterTheRun)
{
    CScratchFolder scratch("eraser_close");
    std::string f = (const char*)scratch("x.bin");
    pirt_test::WriteFileText(f.c_str(), "x");
    WriteIni(INI_PLIMVET, "Preferences", "CloseAfterKill", "yes");
    m_dlg.AppendPath(f.c_str());
    m_dlg.WipeListedFiles();
    Pump();
    EXPECT_EQ(1u, m_dlg.m_messages.size()); // only the closing message
    EXPECT_TRUE(m_dlg.m_hWnd == nullptr || !::IsWindowVisible(m_dlg.m_hWnd));
}

TEST_F(EraserDialogTest, StartWithAnEmptyListDoesNothing)
{
    m_dlg.OnStartWipe();
    EXPECT_TRUE(m_dlg.m_messages.empty());
    EXPECT_TRUE(::IsWindowVisible(m_dlg.m_hWnd));
}

TEST_F(EraserDialogTest, SystemMenuCommandSixteenOpensTheAboutBox)
{
    // The catcher closes every visible dialog of the process: only the about
    // box may be one.
    m_dlg.ShowWindow(SW_HIDE);
    pirt_test::CDialogCatcher catcher(IDOK);
    // Ids 16 to 31 are the about item whatever the system adds in the low bits.
    ::SendMessageA(m_dlg.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
    ASSERT_TRUE(catcher.WaitFor(1));
    std::vector<pirt_test::CDialogCatcher::Caught> boxes = catcher.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(Lng("General", "52000"), (const char*)boxes[0].caption);
}

namespace {
std::string g_shellFile, g_shellParams;
HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR params, LPCSTR, INT)
{
    g_shellFile = file ? file : "";
    g_shellParams = params ? params : "";
    return (HINSTANCE)33;
}
} // namespace

TEST_F(EraserDialogTest, HelpAndWebCommandsHandTheShellWholeTargets)
{
    // The help file's path quoted (a program folder may hold blanks), the page as it is.
    const struct
    {
        UINT id;
        std::string file, params;
    } cases[] = {
        {ID_HELPME, "hh.exe", "\"" + std::string((const char*)SuiteHelpFile()) + "\""},
        {ID_PIRT_WEBSITE, (const char*)SuiteWebPage(), ""},
    };
    PFN_SHELLEXECUTE old = g_pfnShellExecute;
    g_pfnShellExecute = FakeShellExecute;
    for (const auto& c : cases) {
        g_shellFile = g_shellParams = "<none>";
        ::SendMessageA(m_dlg.m_hWnd, WM_COMMAND, c.id, 0);
        EXPECT_EQ(c.file, g_shellFile) << c.id;
        EXPECT_EQ(c.params, g_shellParams) << c.id;
    }
    g_pfnShellExecute = old;
}

namespace {
// Refuses the creation of every top-level dialog window of this thread while
// installed, as a system out of window resources would.
HHOOK g_refuseHook = nullptr;
LRESULT CALLBACK RefuseDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* create = (const CBT_CREATEWNDA*)lParam;
        if (create->lpcs->hwndParent == nullptr || !(create->lpcs->style & WS_CHILD))
            if (IS_INTRESOURCE(create->lpcs->lpszClass) && LOWORD((ULONG_PTR)create->lpcs->lpszClass) == 0x8002)
                return 1;
    }
    return CallNextHookEx(g_refuseHook, code, wParam, lParam);
}
} // namespace

TEST_F(EraserDialogTest, ProgressWindowThatCannotBeMadeWipesNothing)
{
    CScratchFolder scratch("eraser_noprogress");
    std::string f = (const char*)scratch("kept.bin");
    pirt_test::WriteFileText(f.c_str(), "kept");
    m_dlg.AppendPath(f.c_str());

    g_refuseHook = ::SetWindowsHookExA(WH_CBT, RefuseDialogs, nullptr, ::GetCurrentThreadId());
    ASSERT_TRUE(g_refuseHook != nullptr);
    m_dlg.WipeListedFiles();
    ::UnhookWindowsHookEx(g_refuseHook);

    // Nothing wiped, nothing reported, the list and the window as they were.
    EXPECT_TRUE(pirt_test::ReadFileBytes(f.c_str()).size() == 4);
    EXPECT_EQ(std::vector<std::string>({f}), Paths());
    EXPECT_TRUE(m_dlg.m_messages.empty());
    EXPECT_TRUE(m_dlg.IsWindowVisible());
    // And a later run goes ahead.
    m_dlg.WipeListedFiles();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(f.c_str()));
}
