// The item editor: every kind and action gives the row the writer turns into
// an entry, every failed check its message, and editing a row gives it back.
#include "corvalet_fixture.h"
#include "EditorDlg.h"
#include "EditorRow.h"
#include <functional>

using namespace pirt_test;

namespace {

CEditorState State(int kind, int action, const char* path)
{
    CEditorState s;
    s.kind = kind;
    if (kind == EDITOR_KIND_FILE)
        s.fileAction = action;
    else if (kind == EDITOR_KIND_FOLDER)
        s.folderAction = action;
    else
        s.regAction = action;
    s.path = path;
    return s;
}

} // namespace

TEST(EditorRowTest, EveryKindAndActionGivesItsRowAndComesBack)
{
    const char* K = "HKEY_CURRENT_USER\\Software\\App";
    struct Case
    {
        CEditorState state;
        const char* path;
        const char* kind;
        const char* action;
        const char* detail;
    };
    CEditorState ini = State(EDITOR_KIND_FILE, 2, "C:\\Data\\app.ini");
    ini.section = "S";
    ini.key = "K";
    CEditorState match = State(EDITOR_KIND_FOLDER, 2, "C:\\T");
    match.pattern = "tmp";
    CEditorState keys = State(EDITOR_KIND_REGISTRY, 1, "HKEY_CURRENT_USER\\Software\\App\\");
    keys.keyMatch = "Recent";
    CEditorState values = State(EDITOR_KIND_REGISTRY, 3, "HKEY_CURRENT_USER\\Software\\App\\");
    values.valueMatch = "File";
    const Case cases[] = {
        {State(EDITOR_KIND_FILE, 0, "C:\\Data\\app.ini"), "C:\\Data", "File", "Delete", "app.ini"},
        {State(EDITOR_KIND_FILE, 1, "C:\\Data\\app.log"), "C:\\Data", "File", "DeleteContent", "app.log"},
        {ini, "C:\\Data\\app.ini", "File", "EraseMatch", "S,K"},
        {State(EDITOR_KIND_FOLDER, 0, "C:\\T"), "C:\\T", "Folder", "DeleteAll", "*.*"},
        {State(EDITOR_KIND_FOLDER, 1, "C:\\T"), "C:\\T", "Folder", "DeleteAllBelow", "*.*"},
        {match, "C:\\T", "Folder", "DeleteMatch", "tmp"},
        {State(EDITOR_KIND_REGISTRY, 0, "HKEY_CURRENT_USER\\Software\\App\\Recent\\"), K, "Key", "Delete", "Recent"},
        {keys, "HKEY_CURRENT_USER\\Software\\App\\", "KeyList", "DeleteMatch", "Recent"},
        {State(EDITOR_KIND_REGISTRY, 2, "HKEY_CURRENT_USER\\Software\\App\\Last"), K, "Value", "Delete", "Last"},
        {values, "HKEY_CURRENT_USER\\Software\\App\\", "ValueList", "DeleteMatch", "File"},
    };
    for (const Case& c : cases) {
        CEditorResult r = BuildEditorRow(c.state, FALSE);
        ASSERT_EQ(r.outcome, EDITOR_ROW) << c.kind << " " << c.action;
        EXPECT_EQ(r.row.path, c.path);
        EXPECT_EQ(r.row.kind, c.kind);
        EXPECT_EQ(r.row.action, c.action);
        EXPECT_EQ(r.row.detail, c.detail);
        EXPECT_EQ(CheckPluginRow(r.row), PLUGIN_ROW_OK);
        // Editing the row and pressing OK gives the same row, without a question.
        CEditorResult again = BuildEditorRow(EditorStateFromRow(r.row), FALSE);
        ASSERT_EQ(again.outcome, EDITOR_ROW) << c.kind << " " << c.action;
        EXPECT_EQ(again.row.path, r.row.path);
        EXPECT_EQ(again.row.detail, r.row.detail);
    }
}

TEST(EditorRowTest, FailedChecksNameTheirMessage)
{
    CEditorState noMatch = State(EDITOR_KIND_REGISTRY, 1, "HKEY_CURRENT_USER\\A\\");
    CEditorState keysNoSlash = State(EDITOR_KIND_REGISTRY, 1, "HKEY_CURRENT_USER\\A");
    keysNoSlash.keyMatch = "x";
    CEditorState valuesNoSlash = State(EDITOR_KIND_REGISTRY, 3, "HKEY_CURRENT_USER\\A");
    valuesNoSlash.valueMatch = "x";
    CEditorState iniNoKey = State(EDITOR_KIND_FILE, 2, "C:\\a.ini");
    iniNoKey.section = "S";
    CEditorState semicolon = State(EDITOR_KIND_FILE, 0, "C:\\a;b\\c.txt");
    CEditorState tooLong = State(EDITOR_KIND_FOLDER, 0, CString("C:\\") + CString('z', 250));
    const struct
    {
        CEditorState state;
        const char* section;
        const char* key;
    } cases[] = {
        {State(EDITOR_KIND_FILE, 0, ""), "General", "42000"},
        {State(EDITOR_KIND_FILE, -1, "C:\\a.txt"), "Holberin", "22780"},
        {State(EDITOR_KIND_FOLDER, 2, "C:\\T"), "General", "42010"},
        {iniNoKey, "General", "42010"},
        {noMatch, "General", "42010"},
        {State(EDITOR_KIND_REGISTRY, 2, "HKEY_CURRENT_USER\\A\\"), "Holberin", "22710"},
        {valuesNoSlash, "Holberin", "22720"},
        {keysNoSlash, "Holberin", "22730"},
        {semicolon, "Holberin", "22740"},
        {tooLong, "Holberin", "22750"},
    };
    for (const auto& c : cases) {
        CEditorResult r = BuildEditorRow(c.state, FALSE);
        EXPECT_EQ(r.outcome, EDITOR_MESSAGE) << c.key;
        EXPECT_STREQ(r.section, c.section);
        EXPECT_STREQ(r.key, c.key);
    }
    // A key path without its closing "\" asks first; Yes takes the key above.
    CEditorState key = State(EDITOR_KIND_REGISTRY, 0, "HKEY_CURRENT_USER\\A\\B\\name");
    EXPECT_EQ(BuildEditorRow(key, FALSE).outcome, EDITOR_ASK_PARENT);
    CEditorResult yes = BuildEditorRow(key, TRUE);
    EXPECT_EQ(yes.row.path, "HKEY_CURRENT_USER\\A");
    EXPECT_EQ(yes.row.detail, "B");
}

TEST_F(CorvaletTest, PropertiesEditsTheSelectedRowAndOkKeepsIt)
{
    StartApp();
    AddRow("C:\\Data", "File", "Delete", "a.txt");
    // A key below a key: built anew from the shown path, it would split there.
    AddRow("HKEY_CURRENT_USER\\Software", "Key", "Delete", "Pirt\\Sub");
    m_frame->SetModified(FALSE);
    // The selection mark and the focus stay on row 0; row 1 alone is selected.
    CListCtrl& list = List()->GetListCtrl();
    list.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED | LVIS_SELECTED);
    list.SetSelectionMark(0);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    CString shown;
    EXPECT_TRUE(DriveModal(
        GetLngString("Holberin", "21300"), [&] { m_frame->SendMessage(WM_COMMAND, ID_PROPERTIES); },
        [&](HWND editor) {
            char text[MAX_PATH] = "";
            GetDlgItemTextA(editor, IDC_PATH, text, MAX_PATH);
            shown = text;
            PostMessageA(editor, WM_COMMAND, IDOK, 0);
        }));
    EXPECT_EQ(shown, "HKEY_CURRENT_USER\\Software\\Pirt\\Sub\\");
    ASSERT_EQ(List()->GetRowCount(), 2);
    EXPECT_EQ(List()->GetRow(1).path, "HKEY_CURRENT_USER\\Software");
    EXPECT_EQ(List()->GetRow(1).detail, "Pirt\\Sub");
    EXPECT_EQ(List()->GetRow(0).kind, "File");
}

TEST_F(CorvaletTest, NothingChangedLeavesNoModifiedMark)
{
    StartApp();
    AddRow("C:\\Data", "File", "Delete", "a.txt");
    auto runEditor = [&](bool editMode, const char* path) {
        CEditorDlg editor(m_frame);
        editor.m_pList = List();
        editor.m_bEditMode = editMode;
        editor.m_nRow = editMode ? 0 : -1;
        editor.m_strRowPath = "C:\\Data";
        editor.m_strRowKind = "File";
        editor.m_strRowAction = "Delete";
        editor.m_strRowDetail = "a.txt";
        ASSERT_TRUE(editor.Create(CEditorDlg::IDD, m_frame));
        if (path)
            editor.SetDlgItemText(IDC_PATH, path);
        editor.OnOK();
        if (editor.m_hWnd)
            editor.DestroyWindow();
    };
    const struct
    {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"unchanged OK", [&] { runEditor(true, nullptr); }},
        {"refused OK", [&] { runEditor(false, ""); }},
        {"empty Delete",
         [&] {
             List()->GetListCtrl().SetItemState(-1, 0, LVIS_SELECTED);
             m_asker.answers = {IDYES};
             PressKey(List()->m_hWnd, VK_DELETE, false);
             EXPECT_TRUE(m_asker.Showed("Holberin", "22670"));
         }},
    };
    for (const auto& c : cases) {
        m_frame->SetModified(FALSE);
        c.act();
        EXPECT_EQ(Title().Find('*'), -1) << c.what;
        EXPECT_EQ(List()->GetRowCount(), 1) << c.what;
    }
}

TEST_F(CorvaletTest, TheEditorShowsTheKindsControlsAndMakesAPicture)
{
    StartApp();
    CEditorDlg editor(m_frame);
    editor.m_pList = List();
    editor.m_bEditMode = TRUE;
    editor.m_nRow = 0;
    editor.m_strRowPath = "C:\\Data\\app.ini";
    editor.m_strRowKind = "File";
    editor.m_strRowAction = "EraseMatch";
    editor.m_strRowDetail = "Recent,,File1";
    ASSERT_TRUE(editor.Create(CEditorDlg::IDD, m_frame));
    editor.ShowWindow(SW_SHOW);
    PumpFor(100);
    CEditorState s = editor.ReadState();
    EXPECT_EQ(s.fileAction, 2);
    EXPECT_EQ(s.section, "Recent");
    EXPECT_EQ(s.key, "File1");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(editor.m_hWnd, IDC_KEYNAME)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(editor.m_hWnd, IDC_PATTERN)));
    editor.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(SaveWindowPicture(editor.m_hWnd, ScreenshotPath("corvalet-editor.bmp")));
    editor.DestroyWindow();
}

TEST(EditorRowTest, AnAcceptedRowRunsAsTypedOrTheEditorSaysWhy)
{
    const char* U = "HKEY_CURRENT_USER\\Software\\App\\";
    struct Case
    {
        int kind, action;
        const char* path;
        const char* text;  // the match text, or "section|key" for an INI key
        const char* typed; // what the cleaner must run on: argument, or "section|key"
        const char* refusal;
    };
    const Case cases[] = {
        {EDITOR_KIND_FOLDER, 2, "C:\\T", "tmp ", nullptr, "22840"},
        {EDITOR_KIND_FOLDER, 2, "C:\\T", " tmp", nullptr, "22840"},
        {EDITOR_KIND_FOLDER, 2, "C:\\T", "tmp\f", nullptr, "22840"},
        {EDITOR_KIND_FOLDER, 2, "C:\\T", "\x1atmp", nullptr, "22840"},
        {EDITOR_KIND_FOLDER, 2, "\vC:\\T", "tmp", nullptr, "22840"},
        {EDITOR_KIND_FOLDER, 2, "C:\\T", "a;b", "a;b", nullptr},
        {EDITOR_KIND_FOLDER, 2, "C:\\T", "'x'", "'x'", nullptr},
        {EDITOR_KIND_FOLDER, 2, "'C:\\T", "x'", nullptr, "22840"},
        {EDITOR_KIND_FILE, 0, " C:\\Data\\a.txt", "", nullptr, "22840"},
        {EDITOR_KIND_FILE, 0, "\"C:\\Data\\a\"", "", nullptr, "22840"},
        {EDITOR_KIND_FILE, 2, "C:\\a.ini", "a,b|c", nullptr, "22850"},
        {EDITOR_KIND_FILE, 2, "C:\\a.ini", "S|,c", nullptr, "22850"},
        {EDITOR_KIND_FILE, 2, "C:\\a.ini", "S |K", nullptr, "22840"},
        {EDITOR_KIND_FILE, 2, "C:\\a.ini", "S;x|K\\y", "S;x|K\\y", nullptr},
        {EDITOR_KIND_REGISTRY, 3, U, "Recent ", nullptr, "22840"},
        {EDITOR_KIND_REGISTRY, 3, U, "\"File\"", "\"File\"", nullptr},
        {EDITOR_KIND_REGISTRY, 1, U, "\\x,y", "\\x,y", nullptr},
        {EDITOR_KIND_REGISTRY, 0, "HKEY_CURRENT_USER\\Software\\App\\B \\", "", nullptr, "22840"},
        {EDITOR_KIND_REGISTRY, 2, "HKEY_CURRENT_USER\\Software\\App\\na me", "", "na me", nullptr},
    };
    CScratchFolder folder("editorrow");
    for (const Case& c : cases) {
        CEditorState s = State(c.kind, c.action, c.path);
        CString text(c.text), first = text.SpanExcluding("|"), second = text.Mid(first.GetLength() + 1);
        s.pattern = s.keyMatch = s.valueMatch = text;
        s.section = first;
        s.key = second;
        CEditorResult r = BuildEditorRow(s, TRUE);
        if (c.refusal) {
            EXPECT_EQ(r.outcome, EDITOR_MESSAGE) << c.path << "|" << c.text;
            EXPECT_STREQ(r.key, c.refusal) << c.path << "|" << c.text;
            continue;
        }
        ASSERT_EQ(r.outcome, EDITOR_ROW) << c.path << "|" << c.text;
        // Written and read back by the cleaner's reader, then judged.
        CPluginContent content;
        content.rows.push_back(r.row);
        ASSERT_TRUE(WritePluginFile(folder("p.dorv"), content, nullptr));
        std::vector<CPluginEntry> entries = ReadPluginEntries(folder("p.dorv"));
        ASSERT_EQ(entries.size(), 1u) << c.text;
        EXPECT_EQ(entries[0].path, r.row.path);
        EXPECT_EQ(entries[0].argument, r.row.detail);
        CPluginTarget target;
        ASSERT_EQ(ValidatePluginEntry(entries[0], GetPlaceholderFolders(), &target), PLUGIN_ENTRY_OK) << c.text;
        CString ran = target.first + (target.second.IsEmpty() ? "" : "|" + target.second);
        EXPECT_EQ(ran, c.typed) << c.path << "|" << c.text;
    }
}

TEST(EditorRowTest, PropertiesAndOkGiveBackTheSameRow)
{
    const CPluginRow rows[] = {
        {"HKEY_CURRENT_USER\\Software\\A", "Value", "Delete", "x\\y"},
        {"HKEY_CURRENT_USER\\Software\\A", "Key", "Delete", "B\\C"},
        {"C:\\A", "File", "Delete", "sub\\x.txt"},
        {"C:\\a.ini", "File", "EraseMatch", "S,,K"},
    };
    for (const CPluginRow& row : rows) {
        CEditorResult r = EditRow(row, EditorStateFromRow(row), FALSE);
        ASSERT_EQ(r.outcome, EDITOR_ROW) << row.detail;
        EXPECT_EQ(r.row.path, row.path) << row.detail;
        EXPECT_EQ(r.row.detail, row.detail) << row.detail;
        // A changed state builds its row anew.
        CEditorState changed = EditorStateFromRow(row);
        changed.path = "C:\\Other\\f.txt";
        changed.kind = EDITOR_KIND_FILE;
        changed.fileAction = 0;
        EXPECT_EQ(EditRow(row, changed, FALSE).row.detail, "f.txt");
    }
}
