// Preview, properties, search and preferences of the recent-work cleaner.
#include <gtest/gtest.h>
#include "tolmira_test.h"
#include "appdriver.h"
#include "MainFrm.h"
#include "TolmiraView.h"
#include "EntryListing.h"
#include "PropertiesDlg.h"
#include "SearchDlg.h"
#include "PluginList.h"
#include "PrefPages.h"
#include "Settings.h"
#include "resource.h"
#include "startprogram.h"
#include "startupcleaner.h"
#include <string>
#include <vector>

using namespace pirt_test;

namespace {

std::string Str(const CString& s) { return std::string((const char*)s); }
typedef std::vector<std::string> Row;

std::vector<Row> ListRows(HWND list)
{
    std::vector<Row> rows;
    for (int r = 0; r < (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); r++)
        rows.push_back(
            {ListItemText(list, r, 0), ListItemText(list, r, 1), ListItemText(list, r, 2), ListItemText(list, r, 3)});
    return rows;
}

std::vector<CString> g_started;
int g_startResult = 1;
CString g_builderAppends; // a line the fake builder adds to the plug-in file
int FakeRunProgram(const CString& commandLine)
{
    g_started.push_back(commandLine);
    if (g_startResult && !g_builderAppends.IsEmpty()) {
        int quote = commandLine.ReverseFind('"');
        int open = commandLine.Left(quote).ReverseFind('"');
        CString file = commandLine.Mid(open + 1, quote - open - 1);
        WritePrivateProfileStringA("Folders", "Folder0", g_builderAppends, file);
    }
    return g_startResult;
}

// A file name that makes its entry longer than any entry is read or run.
const std::string kLongName = std::string(250, 'x') + ".txt";

class TolmiraDialogsTest : public ::testing::Test, public CAppDriver<CMainFrame>
{
protected:
    TolmiraDialogsTest() : CAppDriver(g_app, false) {}
    void SetUp() override
    {
        ResetDataRoots();
        UseTolmiraProfile();
        m_ini = GetIniPath(INI_FARNOCH); // seeds the data root from skel
        WritePrivateProfileStringA("Farnoch", "ViewAll", "yes", m_ini);
        WritePrivateProfileStringA("Preferences", "SecurityDelConfirm", "no", m_ini);
        DeleteTree(UserPluginFolder());
        DeleteTree(ProgramPluginFolder());
        DeleteRunValue("Pirt Tolmira");
        g_started.clear();
        g_startResult = 1;
        g_builderAppends = "";
        m_oldRun = SetRunProgramProc(FakeRunProgram);
    }
    void TearDown() override
    {
        CloseApp();
        SetRunProgramProc(m_oldRun);
        DeleteRunValue("Pirt Tolmira");
        DeleteTree(UserPluginFolder());
        ResetDataRoots();
    }
    CString Plugin(const char* file, const char* name, std::initializer_list<const char*> entries)
    {
        CString path = UserPluginFolder() + "\\" + file;
        CString text = CString("[General]\r\nName=") + name + "\r\nVersion=2.1\r\nProvider=Prov " + name +
                       "\r\nDescription=About " + name + "\r\n";
        for (const char* line : entries)
            text += CString(line) + "\r\n";
        CreateFullPath(UserPluginFolder());
        WriteFileText(path, text);
        return path;
    }
    CListCtrl& List() { return m_frame->View()->GetListCtrl(); }
    int RowOf(const char* name)
    {
        for (int i = 0; i < List().GetItemCount(); ++i)
            if (List().GetItemText(i, COLUMN_NAME) == name)
                return i;
        return -1;
    }

    CString m_ini;
    PFN_RUN_PROGRAM m_oldRun = nullptr;
};

} // namespace

TEST_F(TolmiraDialogsTest, EntryRowsShowPathsAsTheRunUsesThemAndMarkRefusedOnes)
{
    CString longEntry = CString("File4=C:\\Data;Delete;") + kLongName.c_str();
    // Every action word once, placeholders in file, folder and registry
    // paths, an unknown word, a refused root and an over-long entry.
    CString file =
        Plugin("all.dorv", "All",
               {"[Files]", "File0=PIRT_APPDATA\\Ed;Delete;a.txt", "File1=C:\\T;DeleteContent;b.log",
                "File2=PIRT_WINDOWS\\x.ini;EraseMatch;Sec,Key", "File3=C:\\T;Shred;c.txt", (const char*)longEntry,
                "[Folders]", "Folder0=C:\\T;DeleteMatch;tmp", "Folder1=PIRT_PROGRAMS\\App;DeleteAll;foo",
                "Folder2=C:\\T\\Cache;DeleteAllBelow;", "Folder3=C:\\;DeleteAll;", "[Registry]",
                "Reg0=HKEY_CURRENT_USER\\Software\\PIRT_APPDATA\\x;DeleteKey;y",
                "Reg1=HKEY_CURRENT_USER\\Software\\App;DeleteKeyMatch;MRU",
                "Reg2=HKEY_CURRENT_USER\\Software\\App;DeleteValue;Last",
                "Reg3=HKEY_CURRENT_USER\\Software\\App;DeleteValueMatch;File"});
    CPlaceholderFolders folders;
    folders.programs = "C:\\Prog";
    folders.windows = "C:\\Win";
    folders.appData = "C:\\Users\\u\\AppData";
    std::string refused = Str(GetLngString("Farnoch", "24190")) + " ";

    std::vector<Row> rows;
    std::vector<int> refusedRows;
    for (const CEntryRow& r : PluginEntryRows(file, folders)) {
        rows.push_back({Str(r.path), Str(r.kind), Str(r.action), Str(r.detail)});
        if (r.refused)
            refusedRows.push_back((int)rows.size() - 1);
    }
    std::vector<Row> expected = {
        {"C:\\Users\\u\\AppData\\Ed", "File", "Delete", "a.txt"},
        {"C:\\T", "File", "DeleteContent", "b.log"},
        {"C:\\Win\\x.ini", "File", "EraseMatch", "Sec,Key"},
        // The unknown word adds no row; the over-long entry is listed whole.
        {"C:\\Data", "File", "Delete", refused + kLongName},
        {"C:\\T", "Folder", "DeleteMatch", "tmp"},
        {"C:\\Prog\\App", "Folder", "DeleteAll", "*.*"},
        {"C:\\T\\Cache", "Folder", "DeleteAllBelow", "*.*"},
        {"C:\\", "Folder", "DeleteAll", refused + "*.*"},
        // Registry paths run unchanged, and are shown so.
        {"HKEY_CURRENT_USER\\Software\\PIRT_APPDATA\\x", "Key", "Delete", "y"},
        {"HKEY_CURRENT_USER\\Software\\App", "KeyList", "DeleteMatch", "MRU"},
        {"HKEY_CURRENT_USER\\Software\\App", "Value", "Delete", "Last"},
        {"HKEY_CURRENT_USER\\Software\\App", "ValueList", "DeleteMatch", "File"},
    };
    EXPECT_EQ(expected, rows);
    EXPECT_EQ(std::vector<int>({3, 7}), refusedRows);
}

TEST_F(TolmiraDialogsTest, PreviewListsTheTickedPluginsInListOrder)
{
    Plugin("b.dorv", "Beta", {"[Files]", "File0=C:\\B;Delete;b.txt"});
    Plugin("a.dorv", "Alpha",
           {"[Files]", "File0=C:\\A;Delete;a.txt", "[Registry]", "Reg0=HKEY_CURRENT_USER\\Software\\A;DeleteValue;v"});
    Plugin("c.dorv", "Gamma", {"[Files]", "File0=C:\\C;Delete;c.txt"});
    ASSERT_TRUE(StartApp());
    for (const char* name : {"Alpha", "Beta"})
        List().SetItemState(RowOf(name), INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    std::vector<std::string> order;
    for (int i = 0; i < List().GetItemCount(); ++i)
        if (List().GetItemText(i, COLUMN_NAME) != "Gamma")
            order.push_back(Str(List().GetItemText(i, COLUMN_NAME)));

    std::vector<Row> rows;
    EXPECT_TRUE(DriveModal(
        GetLngString("General", "50030"), [&] { Command(ID_EXECUTE_PREVIEW); },
        [&](HWND dialog) {
            rows = ListRows(GetDlgItem(dialog, IDC_ENTRY_LIST));
            SaveWindowPicture(dialog, ScreenshotPath("tolmira-preview.bmp"));
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }));
    std::vector<Row> alpha = {{"C:\\A", "File", "Delete", "a.txt"},
                              {"HKEY_CURRENT_USER\\Software\\A", "Value", "Delete", "v"}};
    std::vector<Row> beta = {{"C:\\B", "File", "Delete", "b.txt"}};
    std::vector<Row> expected = order[0] == "Alpha" ? alpha : beta;
    const std::vector<Row>& second = order[0] == "Alpha" ? beta : alpha;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(expected, rows);
}

TEST_F(TolmiraDialogsTest, PropertiesShowThePluginAndEditStartsTheBuilderQuoted)
{
    CString file = Plugin("my tool.dorv", "My Tool", {"[Files]", "File0=C:\\T;Delete;a.txt"});
    CMessageRecorder<CPropertiesDlg> dlg;
    dlg.m_name = "My Tool";
    dlg.m_version = "2.1";
    dlg.m_path = file;
    ASSERT_TRUE(dlg.Create(CPropertiesDlg::IDD, nullptr));
    char caption[256] = "";
    GetWindowTextA(dlg.m_hWnd, caption, sizeof(caption));
    EXPECT_EQ(Str(TextOrNotFound("General", "50020")) + " [My Tool, 2.1]", caption);
    char text[256] = "";
    GetDlgItemTextA(dlg.m_hWnd, IDC_PROVIDER, text, sizeof(text));
    EXPECT_STREQ("Prov My Tool", text);
    GetDlgItemTextA(dlg.m_hWnd, IDC_DESCRIPTION, text, sizeof(text));
    EXPECT_STREQ("About My Tool", text);
    EXPECT_EQ(1, dlg.m_list.GetItemCount());
    dlg.ShowWindow(SW_SHOW);
    dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveWindowPicture(dlg.m_hWnd, ScreenshotPath("tolmira-properties.bmp"));

    // The builder gets the file quoted; what it changed is shown afterwards.
    g_builderAppends = "C:\\T;DeleteMatch;tmp";
    dlg.OnEdit();
    ASSERT_EQ(1u, g_started.size());
    EXPECT_EQ(QuoteArgument(GetAppPath() + "\\Holberin.exe") + " " + QuoteArgument(file), g_started[0]);
    EXPECT_EQ(2, dlg.m_list.GetItemCount());
    EXPECT_TRUE(dlg.m_messages.empty());

    g_startResult = 0;
    dlg.OnEdit();
    ASSERT_EQ(1u, dlg.m_messages.size());
    EXPECT_EQ(GetLngString("Farnoch", "24140"), dlg.m_messages[0]);
    EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
    dlg.DestroyWindow();
}

namespace {
// A key press as the program's message loop delivers it: the application's
// pre-translation first.
void Key(HWND target, UINT vk)
{
    LPARAM lParam = 1 | ((LPARAM)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16);
    PostMessageA(target, WM_KEYDOWN, vk, lParam);
    PumpMessages(50, &g_app);
    PostMessageA(target, WM_KEYUP, vk, lParam | 0xC0000000);
    PumpMessages(50, &g_app);
}
} // namespace

TEST_F(TolmiraDialogsTest, SearchFindsNextWrapsAndSurvivesAShrinkingList)
{
    Plugin("1.dorv", "ABC Tool", {"[Files]", "File0=C:\\T;Delete;a.txt"});
    Plugin("2.dorv", "Middle", {"[Files]", "File0=C:\\T;Delete;a.txt"});
    Plugin("3.dorv", "xabc", {"[Files]", "File0=C:\\T;Delete;a.txt"});
    WritePrivateProfileStringA("Farnoch", "SearchName", "no", m_ini);
    WritePrivateProfileStringA("Farnoch", "SearchDescription", "no", m_ini);
    ASSERT_TRUE(StartApp());
    CMessageRecorder<CSearchDlg>* search = new CMessageRecorder<CSearchDlg>(&List(), m_frame->View());
    ASSERT_TRUE(search->Create(CSearchDlg::IDD, m_frame->View()));
    HWND dialog = search->m_hWnd;
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_FIND_NEXT)));
    SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "abc");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_FIND_NEXT)));

    // Each press: the message shown, or the row selected.
    auto press = [&]() -> std::string {
        size_t before = search->m_messages.size();
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FIND_NEXT, BN_CLICKED), 0);
        if (search->m_messages.size() > before)
            return Str(search->m_messages.back());
        int row = List().GetNextItem(-1, LVNI_SELECTED);
        return row < 0 ? "<none>" : Str(List().GetItemText(row, COLUMN_NAME));
    };
    auto text = [](const char* key) { return Str(GetLngString("Farnoch", key)); };

    EXPECT_EQ(text("24720"), press()); // no column chosen yet
    SendMessageA(GetDlgItem(dialog, IDC_SEARCH_NAME), BM_CLICK, 0, 0);
    EXPECT_EQ("yes", IniFileValue(m_ini, "Farnoch", "SearchName"));
    // Without case: both, in list order, then the end, then from the top.
    std::vector<std::string> matches;
    for (int i = 0; i < List().GetItemCount(); ++i)
        if (List().GetItemText(i, COLUMN_NAME) != "Middle")
            matches.push_back(Str(List().GetItemText(i, COLUMN_NAME)));
    EXPECT_EQ(matches[0], press());
    EXPECT_EQ(matches[1], press());
    EXPECT_EQ(1, (int)List().GetSelectedCount());
    EXPECT_EQ(text("24700"), press());
    EXPECT_EQ(matches[0], press());
    // With case: only "xabc".
    SendMessageA(GetDlgItem(dialog, IDC_SEARCH_CASE), BM_CLICK, 0, 0);
    SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "abc");
    EXPECT_EQ("xabc", press());
    SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "zzz");
    press(); // the end of the earlier search
    EXPECT_EQ(text("24710"), press());

    // The list shrinks under the open dialog after a match near its end.
    SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "x");
    while (List().GetNextItem(-1, LVNI_SELECTED) != RowOf("xabc") || search->m_nextRow <= RowOf("xabc"))
        ASSERT_NE(text("24710"), press());
    while (List().GetItemCount() > 1)
        List().DeleteItem(List().GetItemCount() - 1);
    DWORD start = GetTickCount();
    std::string answer = press();
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(text("24700"), answer);
    EXPECT_EQ(-1, search->m_lastFoundRow);
    DestroyWindow(dialog); // the object goes with its window
}

TEST_F(TolmiraDialogsTest, SearchOpensAsStoredStaysAboveTheFrameAndKeepsTypedKeys)
{
    CString file = Plugin("1.dorv", "Alpha", {"[Files]", "File0=C:\\T;Delete;a.txt"});
    Plugin("2.dorv", "Beta", {"[Files]", "File0=C:\\T;Delete;a.txt"});
    ASSERT_TRUE(StartApp());
    Command(ID_SEARCH);
    HWND dialog = m_frame->View()->SearchDialog()->m_hWnd;
    HWND edit = GetDlgItem(dialog, IDC_SEARCH_TEXT);

    // The boxes as the first start's settings have them: name and description.
    const struct
    {
        int id;
        UINT checked;
    } boxes[] = {{IDC_SEARCH_NAME, BST_CHECKED},      {IDC_SEARCH_DESCRIPTION, BST_CHECKED},
                 {IDC_SEARCH_VERSION, BST_UNCHECKED}, {IDC_SEARCH_PROVIDER, BST_UNCHECKED},
                 {IDC_SEARCH_PATH, BST_UNCHECKED},    {IDC_SEARCH_CASE, BST_UNCHECKED}};
    for (const auto& box : boxes)
        EXPECT_EQ(box.checked, IsDlgButtonChecked(dialog, box.id)) << box.id;
    // A match selects its row and leaves the dialog above the frame, its owner.
    EXPECT_EQ(m_frame->m_hWnd, GetWindow(dialog, GW_OWNER));
    RECT frame;
    GetWindowRect(m_frame->m_hWnd, &frame);
    SetWindowPos(dialog, nullptr, frame.left + 250, frame.top + 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "beta");
    {
        CDialogCatcher answer(IDOK); // a message instead of the match is answered
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FIND_NEXT, BN_CLICKED), 0);
        PumpMessages(50, &g_app);
    }
    EXPECT_EQ(RowOf("Beta"), List().GetNextItem(-1, LVNI_SELECTED));
    HWND above = dialog;
    while (above && above != m_frame->m_hWnd)
        above = GetWindow(above, GW_HWNDNEXT);
    EXPECT_EQ(m_frame->m_hWnd, above) << "the frame lies above the search dialog";
    RedrawWindow(m_frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(SaveWindowPicture(m_frame->m_hWnd, ScreenshotPath("tolmira-search.bmp"), dialog));

    SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "");
    List().SetItemState(-1, 0, LVIS_SELECTED);
    List().SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(edit);
    {
        // A delete question would be answered Yes; the dialog itself is
        // caught too and ignores the answer.
        CDialogCatcher catcher(IDYES);
        for (UINT vk : {(UINT)'A', (UINT)'F', (UINT)'N', (UINT)VK_HOME, (UINT)VK_DELETE})
            Key(edit, vk);
        for (const CDialogCatcher::Caught& box : catcher.Boxes())
            EXPECT_EQ(dialog, FindWindowA("#32770", box.caption)) << Str(box.text);
    }
    char text[64] = "";
    GetWindowTextA(edit, text, sizeof(text));
    EXPECT_STREQ("fn", text);
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(2, List().GetItemCount());
}

TEST_F(TolmiraDialogsTest, PreferencesWriteTheirKeysAndALanguageChangeEndsTheProgramAfterwards)
{
    ASSERT_TRUE(StartApp());
    CString libraryFarnoch = LibraryFarnochPath();
    auto preferences = [&](int answer, const std::function<void(HWND)>& user) {
        return DriveModalAnswering(
            GetLngString("General", "30200"), answer, [&] { Command(ID_PREFERENCES); }, user);
    };
    auto click = [](HWND p, int id) { SendMessageA(GetDlgItem(p, id), BM_CLICK, 0, 0); };

    std::string question = Str(GetLngString("General", "51020"));
    std::vector<std::string> tabs;
    std::vector<std::string> asked = preferences(IDYES, [&](HWND sheet) {
        HWND tab = (HWND)SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0);
        for (int i = 0; i < 3; i++) {
            char title[64] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = title;
            item.cchTextMax = sizeof(title);
            SendMessageA(tab, TCM_GETITEMA, i, (LPARAM)&item);
            tabs.push_back(title);
        }
        HWND general = ShowSheetPage(sheet, 0);
        click(general, IDC_WINLAUNCH);
        click(general, IDC_CLOSEAFTERKILL);
        click(general, IDC_LOGGING);
        click(ShowSheetPage(sheet, 1), IDC_CONFIRM_DELETE);
        HWND list = GetDlgItem(ShowSheetPage(sheet, 2), IDC_LANGUAGE_LIST);
        for (int r = 0; r < (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); r++)
            if (ListItemText(list, r, 0) == "German") {
                LVITEMA item = {};
                item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                SendMessageA(list, LVM_SETITEMSTATE, r, (LPARAM)&item);
            }
        SaveWindowPicture(sheet, ScreenshotPath("tolmira-preferences.bmp"));
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        Sleep(200);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(std::vector<std::string>({"General", "Security", "Language"}), tabs);
    EXPECT_EQ(std::vector<std::string>({question}), asked);
    EXPECT_EQ("yes", IniFileValue(m_ini, "Preferences", "StartWithWindows"));
    EXPECT_EQ("yes", IniFileValue(m_ini, "Preferences", "CloseAfterKill"));
    EXPECT_EQ("yes", IniFileValue(m_ini, "Preferences", "CustomLogging"));
    EXPECT_EQ("yes", IniFileValue(libraryFarnoch, "Preferences", "CustomLogging"));
    EXPECT_EQ("yes", IniFileValue(m_ini, "Preferences", "SecurityDelConfirm"));
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(std::string("\"") + module + "\"", RunValue("Pirt Tolmira"));
    EXPECT_EQ("German", IniFileValue(AppDataFolder() + "\\Talvery\\Pirt\\config\\Pirt.ini", "Pirt", "Language"));
    // Yes ends the program, once the sheet has closed.
    EXPECT_TRUE(g_app.m_pMainWnd != nullptr);
    PumpMessages();
    EXPECT_FALSE(g_app.m_pMainWnd);

    // Unticked: the value goes; nothing changed the language, so no question.
    ASSERT_TRUE(StartApp());
    asked = preferences(IDYES, [&](HWND sheet) {
        click(ShowSheetPage(sheet, 0), IDC_WINLAUNCH);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ("no", IniFileValue(m_ini, "Preferences", "StartWithWindows"));
    EXPECT_EQ("<absent>", RunValue("Pirt Tolmira"));
    EXPECT_TRUE(g_app.m_pMainWnd != nullptr);
}

TEST_F(TolmiraDialogsTest, TheKeyboardIsInTheListAtStartAfterADialogAndAfterASearchHit)
{
    Plugin("1.dorv", "Alpha", {"[Files]", "File0=C:\\T;Delete;a.txt"});
    ASSERT_TRUE(StartApp());
    HWND list = List().m_hWnd;
    EXPECT_EQ(list, GetFocus()) << "at start";
    {
        CDialogCatcher close(IDCANCEL);
        Command(ID_ABOUT);
        Pump();
    }
    EXPECT_EQ(list, GetFocus()) << "after the about box";

    Command(ID_SEARCH);
    HWND dialog = m_frame->View()->SearchDialog()->m_hWnd;
    SetFocus(GetDlgItem(dialog, IDC_SEARCH_TEXT));
    SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "alpha");
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FIND_NEXT, BN_CLICKED), 0);
    Pump();
    EXPECT_EQ(RowOf("Alpha"), List().GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(list, GetFocus()) << "after a search hit";
    DestroyWindow(dialog);
}
