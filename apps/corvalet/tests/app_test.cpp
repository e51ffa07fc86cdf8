// The program as a whole: start-up, shell registration, the command line,
// the main window's layout and its drawn labels.
#include "corvalet_fixture.h"
#include "xStatic.h"
#include <shlobj.h>
#include <shlwapi.h>
#include <sddl.h>

using namespace pirt_test;

namespace {

CString ClassesValue(const char* subKey)
{
    char buf[MAX_PATH * 2] = "";
    LONG size = sizeof(buf);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, subKey, buf, &size) != ERROR_SUCCESS)
        return "<absent>";
    return buf;
}

BOOL CALLBACK PressOkOfProcess(HWND wnd, LPARAM pid)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner == (DWORD)pid)
        PostMessageA(wnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}

HMENU g_openPopup;

// Notes the popup menu that is open and closes it.
void CALLBACK NoteOpenPopup(HWND, UINT, UINT_PTR, DWORD)
{
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup && IsWindowVisible(popup)) {
        g_openPopup = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
        EndMenu();
    }
}

} // namespace

TEST_F(CorvaletTest, TheMenuBarOpensFromTheKeyboard)
{
    StartApp();
    HMENU bar = m_frame->m_defaultMenu.m_hMenu;
    const LPARAM alt = 1 << 29; // context code: Alt is held
    const MSG altDown = {nullptr, WM_SYSKEYDOWN, VK_MENU, alt}, altUp = {nullptr, WM_SYSKEYUP, VK_MENU, 0};
    const struct
    {
        std::vector<MSG> keys;
        int popup; // index in the bar
    } cases[] = {
        {{altDown, {nullptr, WM_SYSKEYDOWN, 'F', alt}, altUp}, 0},
        {{altDown, {nullptr, WM_SYSKEYDOWN, 'E', alt}, altUp}, 1},
        {{{nullptr, WM_SYSKEYDOWN, VK_F10, 0}, {nullptr, WM_SYSKEYUP, VK_F10, 0}, {nullptr, WM_KEYDOWN, VK_DOWN, 0}},
         0},
    };
    for (const auto& c : cases) {
        g_openPopup = nullptr;
        UINT_PTR timer = SetTimer(nullptr, 0, 100, NoteOpenPopup);
        for (MSG key : c.keys) {
            key.hwnd = List()->m_hWnd;
            EXPECT_TRUE(g_app.PreTranslateMessage(&key)) << key.wParam;
        }
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_openPopup, GetSubMenu(bar, c.popup)) << c.popup;
        Pump();
    }
}

TEST_F(CorvaletTest, TheListMenuIsThemedWithItsImages)
{
    StartApp();
    AddRow("C:\\Data", "File", "Delete", "a.txt");
    const struct
    {
        bool selected;
        std::vector<std::pair<UINT, bool>> items; // command and whether it has an image; no separators
    } cases[] = {
        {true, {{ID_ADD, true}, {ID_DELETE, true}, {ID_PROPERTIES, true}}},
        {false, {{ID_ADD, true}}},
    };
    for (const auto& c : cases) {
        List()->GetListCtrl().SetItemState(0, c.selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
        CThemedMenu menu;
        CThemedMenu* popup = CThemedMenu::FromHandleThemed(List()->PrepareContextMenu(menu));
        ASSERT_NE(popup, nullptr);
        std::vector<std::pair<UINT, bool>> items;
        for (int i = 0; i < popup->GetRecordCount(); ++i) {
            CThemedMenuItemData* record = popup->GetRecord(i);
            if (!record->IsSeparator())
                items.push_back({(UINT)record->m_nID, record->m_pIcons && record->m_nImageIndex >= 0});
        }
        EXPECT_EQ(items, c.items) << c.selected;
        CString text;
        EXPECT_TRUE(popup->GetMenuText(ID_ADD, text, MF_BYCOMMAND));
        EXPECT_EQ(text, GetLngString("General", "82100"));
    }
    // Opened as the keyboard's menu key opens it, for the run's artefacts.
    List()->GetListCtrl().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(WhileMenuOpen([&] { List()->SendMessage(WM_CONTEXTMENU, (WPARAM)List()->m_hWnd, MAKELPARAM(-1, -1)); },
                              [&](HWND popup) {
                                  SaveWindowPicture(m_frame->m_hWnd, ScreenshotPath("corvalet-context-menu.bmp"), popup);
                              }));
}

TEST_F(CorvaletTest, StartUpRegistersTheFileTypeWithAQuotedCommand)
{
    StartApp();
    EXPECT_EQ(ClassesValue(".dorv"), "Corvalet.Document");
    CString command = ClassesValue("Corvalet.Document\\shell\\open\\command");
    EXPECT_EQ(command.Left(1), "\"");
    EXPECT_EQ(command.Right(6), "\" \"%1\"");
    EXPECT_EQ(ClassesValue("Corvalet.Document\\shell\\print\\command"), "<absent>");
    EXPECT_EQ(Title(), GetLngString("General", "20080") + " - " + GetLngString("Holberin", "22690"));
    EXPECT_EQ(m_frame->ToolTipText(ID_HELPME), GetLngString("General", "18000"));
    EXPECT_EQ(m_frame->ToolTipText(ID_SAVE), GetLngString("Holberin", "23040"));
    EXPECT_EQ(m_frame->ToolTipText(ID_HELP_TOOLTIP), "");
}

TEST_F(CorvaletTest, ShellRegistrationFallsBackToTheUsersClasses)
{
    StartApp();
    const char* userKeys[] = {"Software\\Classes\\Corvalet.Document", "Software\\Classes\\.dorv"};
    for (const char* key : userKeys)
        SHDeleteKeyA(HKEY_CURRENT_USER, key);
    // The file type's key in HKEY_CLASSES_ROOT grants reading only.
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "Corvalet.Document");
    HKEY locked = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "Corvalet.Document", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &locked,
                              nullptr),
              ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
    EXPECT_EQ(RegSetKeySecurity(locked, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    LocalFree(readOnly);
    RegCloseKey(locked);

    EXPECT_TRUE(g_app.RegisterShellFileTypes(TRUE));
    char value[MAX_PATH * 2] = "";
    LONG size = sizeof(value);
    EXPECT_EQ(
        RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\Corvalet.Document\\shell\\open\\command", value, &size),
        ERROR_SUCCESS);
    EXPECT_EQ(CString(value).Right(6), "\" \"%1\"");
    size = sizeof(value);
    EXPECT_EQ(RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\.dorv", value, &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, "Corvalet.Document");

    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Corvalet.Document");
    for (const char* key : userKeys)
        SHDeleteKeyA(HKEY_CURRENT_USER, key);
}

TEST_F(CorvaletTest, AMissingCommandLineFileEndsTheProgram)
{
    CString exe = ProgramFolder() + "\\..\\bin\\Holberin.exe";
    CString cmd = CString("\"") + exe + "\" \"" + (*m_folder)("missing.dorv") + "\"";
    STARTUPINFOA si = {sizeof(si)};
    PROCESS_INFORMATION pi;
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.GetBuffer(0), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    cmd.ReleaseBuffer();
    // It says why, then ends without a window.
    DWORD waited = WAIT_TIMEOUT;
    for (int i = 0; i < 60 && waited == WAIT_TIMEOUT; ++i) {
        waited = WaitForSingleObject(pi.hProcess, 500);
        EnumWindows(PressOkOfProcess, (LPARAM)pi.dwProcessId);
    }
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

TEST_F(CorvaletTest, ACommandLineFileIsReadOnceTheViewsExist)
{
    CString path = (*m_folder)("start.dorv");
    WriteFileText(path, "[General]\r\nName=start\r\n[Files]\r\nFile0=C:\\A;Delete;a.txt\r\n");
    StartApp();
    ASSERT_NE(g_app.OpenDocumentFile(path), nullptr);
    EXPECT_EQ(Form()->GetPlugInName(), "start");
    EXPECT_EQ(List()->GetRowCount(), 1);
    EXPECT_TRUE(Doc()->m_bOpenedByFramework);
    EXPECT_EQ(m_asker.fileDialogs, 0);
    // The recent-file list shows it in the File menu, as the menu's update
    // through the frame puts it there.
    CMenu* file = CMenu::FromHandle(::GetSubMenu(m_frame->m_defaultMenu.m_hMenu, 0));
    CCmdUI state;
    state.m_pMenu = file;
    state.m_nIndexMax = file->GetMenuItemCount();
    state.m_nID = ID_FILE_MRU_FILE1;
    while (state.m_nIndex < state.m_nIndexMax && file->GetMenuItemID((int)state.m_nIndex) != ID_FILE_MRU_FILE1)
        ++state.m_nIndex;
    ASSERT_LT(state.m_nIndex, state.m_nIndexMax);
    state.DoUpdate(m_frame, FALSE);
    CString item;
    file->GetMenuString(ID_FILE_MRU_FILE1, item, MF_BYCOMMAND);
    EXPECT_EQ(item, CString("&1 ") + path);
}

TEST_F(CorvaletTest, TheSplitterBarMovesFromTheKeyboard)
{
    StartApp();
    CFlatSplitterWnd& splitter = m_frame->Splitter();
    int width = 0, min = 0;
    splitter.GetColumnInfo(0, width, min);
    EXPECT_EQ(width, 170);
    m_frame->SendMessage(WM_COMMAND, ID_WINDOW_SPLIT);
    ASSERT_TRUE(splitter.IsTracking());
    splitter.SendMessage(WM_KEYDOWN, VK_RIGHT);
    splitter.SendMessage(WM_KEYDOWN, VK_RIGHT);
    splitter.SendMessage(WM_KEYDOWN, VK_RETURN);
    splitter.GetColumnInfo(0, width, min);
    EXPECT_EQ(width, 186);
    m_frame->SendMessage(WM_COMMAND, ID_WINDOW_SPLIT);
    splitter.SendMessage(WM_KEYDOWN, VK_LEFT);
    splitter.SendMessage(WM_KEYDOWN, VK_ESCAPE);
    splitter.GetColumnInfo(0, width, min);
    EXPECT_EQ(width, 186);
    EXPECT_FALSE(splitter.IsTracking());
    CRect form;
    Form()->GetWindowRect(&form);
    EXPECT_EQ(form.Width(), 186);
}

TEST_F(CorvaletTest, TheMainWindowShowsFormListAndCount)
{
    StartApp();
    AddRow("C:\\Data", "File", "Delete", "app.ini");
    AddRow("HKEY_CURRENT_USER\\Software\\App\\", "ValueList", "DeleteMatch", "Recent");
    Form()->SetPlugInName("Paint");
    m_frame->SendMessage(WM_PLUGIN_COUNT);
    EXPECT_EQ(m_frame->StatusBar().GetPaneText(0), GetLngString("Holberin", "22000") + " 2");
    PumpFor(100);
    m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(SaveWindowPicture(m_frame->m_hWnd, ScreenshotPath("corvalet-main.bmp")));
}

TEST(DrawnLabelTest, LinesBreakAtBlanksAndAlwaysMoveOn)
{
    auto tenEach = [](const CString& s) { return s.GetLength() * 10; };
    const struct
    {
        const char* text;
        int width;
        std::vector<CString> lines;
    } cases[] = {
        {"one two three", 80, {"one two ", "three"}},
        {"a\r\nb\n\rc", 100, {"a", "b", "c"}},
        {"abcdef", 30, {"abc", "def"}},
        {"wide", 5, {"w", "i", "d", "e"}}, // narrower than one character
        {"text", 0, {}},
        {"text", -3, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitStaticLines(c.text, c.width, tenEach), c.lines) << c.text << " " << c.width;
}

namespace {

// A dropped file as the shell hands it over.
HDROP DropOf(const CString& path)
{
    size_t size = sizeof(DROPFILES) + path.GetLength() + 2;
    HGLOBAL mem = GlobalAlloc(GHND, size);
    DROPFILES* drop = (DROPFILES*)GlobalLock(mem);
    drop->pFiles = sizeof(DROPFILES);
    memcpy((char*)drop + sizeof(DROPFILES), (const char*)path, path.GetLength());
    GlobalUnlock(mem);
    return (HDROP)mem;
}

} // namespace

TEST_F(CorvaletTest, OnlyDroppedPlugInFilesOpen)
{
    StartApp();
    CString text = (*m_folder)("notes.txt");
    WriteFileText(text, "[General]\r\nName=text\r\n");
    m_frame->SendMessage(WM_DROPFILES, (WPARAM)DropOf(text));
    EXPECT_EQ(Doc()->m_strPlugInPath, "");
    EXPECT_EQ(Form()->GetPlugInName(), "");
    CString plugIn = (*m_folder)("dropped.DORV");
    WriteFileText(plugIn, "[General]\r\nName=dropped\r\n");
    m_frame->SendMessage(WM_DROPFILES, (WPARAM)DropOf(plugIn));
    EXPECT_EQ(Doc()->m_strPlugInPath, plugIn);
    EXPECT_EQ(Form()->GetPlugInName(), "dropped");
    EXPECT_EQ(m_asker.fileDialogs, 0);
}

TEST_F(CorvaletTest, ThePlacementComesBackAndAMinimisedWindowOpensNormal)
{
    CString ini = GetIniPath(INI_HOLBERIN);
    const struct
    {
        const char* key;
        const char* value;
    } stored[] = {{"Flag", "0"}, {"ShowCmd", "2"}, {"Left", "40"}, {"Top", "30"}, {"Right", "840"}, {"Bottom", "630"}};
    for (const auto& v : stored)
        WritePrivateProfileStringA("Placement", v.key, v.value, ini);
    StartApp();
    EXPECT_FALSE(m_frame->IsIconic());
    CRect rect;
    m_frame->GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(40, 30, 840, 630));
    m_frame->MoveWindow(50, 60, 700, 500);
    m_frame->SendMessage(WM_CLOSE);
    char value[16] = "";
    GetPrivateProfileStringA("Placement", "Left", "", value, sizeof(value), ini);
    EXPECT_STREQ(value, "50");
    GetPrivateProfileStringA("Placement", "Flag", "<absent>", value, sizeof(value), ini);
    EXPECT_STRNE(value, "<absent>");
}

TEST_F(CorvaletTest, TabWalksTheHeaderFormAndTheListAndADialogGivesTheFocusBack)
{
    StartApp();
    HWND form = m_frame->GetForm()->m_hWnd, list = List()->m_hWnd;
    HWND add = GetDlgItem(form, ID_ADD), name = GetDlgItem(form, IDC_PLUGIN_NAME);
    EXPECT_EQ(add, GetFocus()) << "at start: the form's first control";

    // The form's controls in their order (a disabled button is passed over),
    // then the list, then round again.
    std::vector<HWND> ring;
    for (UINT id : {ID_ADD, ID_PROPERTIES, ID_DELETE, IDC_PLUGIN_NAME, IDC_PLUGIN_VERSION, IDC_PLUGIN_PROVIDER,
                    IDC_PLUGIN_DESCRIPTION})
        if (IsWindowEnabled(GetDlgItem(form, id)))
            ring.push_back(GetDlgItem(form, id));
    ring.push_back(list);
    for (size_t i = 1; i <= ring.size(); ++i) {
        MSG tab = {GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001};
        EXPECT_TRUE(g_app.PreTranslateMessage(&tab));
        EXPECT_EQ(ring[i % ring.size()], GetFocus()) << i;
    }

    const struct
    {
        HWND focus;
        UINT command;
    } dialogs[] = {{list, ID_ABOUT}, {name, ID_ADD}};
    for (const auto& d : dialogs) {
        SetFocus(d.focus);
        {
            pirt_test::CDialogCatcher close(IDCANCEL);
            Command(d.command);
            Pump();
        }
        EXPECT_EQ(d.focus, GetFocus()) << d.command;
    }
}
