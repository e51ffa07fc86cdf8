// The plug-in document through the running builder: what a save writes,
// what an open shows, and the New / Open / Save / Close flows with their
// questions, answered from a script.
#include "corvalet_fixture.h"
#include "fw/handle.h"

using namespace pirt_test;

namespace {

size_t Where(const std::string& text, const char* part) { return text.find(part); }

// Puts the current folder back however the test ends, a failed assertion
// among the ways.
class CCurrentFolderRestorer
{
public:
    CCurrentFolderRestorer() { GetCurrentDirectoryA(MAX_PATH, m_folder); }
    ~CCurrentFolderRestorer() { SetCurrentDirectoryA(m_folder); }

private:
    char m_folder[MAX_PATH];
};

} // namespace

TEST_F(CorvaletTest, RowsBecomeNumberedEntriesAndSectionsKeepTheirOrder)
{
    StartApp();
    AddRow("C:\\Data", "File", "Delete", "app.ini");
    AddRow("HKEY_CURRENT_USER\\Software", "Key", "Delete", "Pirt");
    AddRow("C:\\Temp", "Folder", "DeleteMatch", "tmp");
    AddRow("HKEY_CURRENT_USER\\Software\\Pirt\\", "ValueList", "DeleteMatch", "Recent");
    AddRow("C:\\Data", "File", "DeleteContent", "log.txt");
    CString path = (*m_folder)("rows.dorv");
    m_asker.files.push_back(path);
    Doc()->OnFileSave();
    for (int round = 0; round < 2; ++round) {
        std::string text = FileText(path);
        EXPECT_NE(Where(text, "File0=C:\\Data;Delete;app.ini\r\n"), std::string::npos) << text;
        EXPECT_NE(Where(text, "File1=C:\\Data;DeleteContent;log.txt\r\n"), std::string::npos);
        EXPECT_NE(Where(text, "Folder0=C:\\Temp;DeleteMatch;tmp\r\n"), std::string::npos);
        EXPECT_NE(Where(text, "Reg0=HKEY_CURRENT_USER\\Software;DeleteKey;Pirt\r\n"), std::string::npos);
        EXPECT_NE(Where(text, "Reg1=HKEY_CURRENT_USER\\Software\\Pirt\\;DeleteValueMatch;Recent\r\n"),
                  std::string::npos);
        EXPECT_LT(Where(text, "[General]"), Where(text, "[Files]"));
        EXPECT_LT(Where(text, "[Files]"), Where(text, "[Folders]"));
        EXPECT_LT(Where(text, "[Folders]"), Where(text, "[Registry]"));
        // Read back row for row, then saved again to the same file.
        ASSERT_TRUE(Doc()->OpenPlugIn(path));
        ASSERT_EQ(List()->GetRowCount(), 5);
        EXPECT_EQ(List()->GetRow(1).kind, "File");
        EXPECT_EQ(List()->GetRow(1).detail, "log.txt");
        EXPECT_EQ(List()->GetRow(3).kind, "Key");
        EXPECT_EQ(List()->GetRow(3).action, "Delete");
        EXPECT_EQ(List()->GetRow(4).kind, "ValueList");
        m_frame->SendMessage(WM_PLUGIN_MODIFIED);
        Doc()->OnFileSave();
    }
    EXPECT_EQ(m_asker.fileDialogs, 1);
    EXPECT_TRUE(m_asker.asked.empty());
    EXPECT_EQ(Title().Find('*'), -1);
}

TEST_F(CorvaletTest, AnEmptyPlugInHasTheGeneralSectionOnly)
{
    StartApp();
    CString path = (*m_folder)("empty.dorv");
    m_asker.files.push_back(path);
    Doc()->OnFileSave();
    std::string text = FileText(path);
    EXPECT_NE(Where(text, "[General]"), std::string::npos);
    EXPECT_EQ(Where(text, "[Files]"), std::string::npos);
    EXPECT_EQ(Where(text, "[Folders]"), std::string::npos);
    EXPECT_EQ(Where(text, "[Registry]"), std::string::npos);
}

TEST_F(CorvaletTest, OpenShowsTheEntriesAReaderMayRun)
{
    StartApp();
    const struct
    {
        const char* file;
        int rows;
        const char* path; // of the first row
        const char* action;
        const char* detail;
    } cases[] = {
        // A gap ends the section.
        {"[Files]\r\nFile0=C:\\A;Delete;a.txt\r\nFile2=C:\\B;Delete;b.txt\r\n", 1, "C:\\A", "Delete", "a.txt"},
        // Only the exact action words count; an entry needs its second ";".
        {"[Files]\r\nFile0=C:\\A;delete;a.txt\r\nFile1=C:\\A;Delete\r\nFile2=C:\\A;Delete;x;y\r\n", 1, "C:\\A",
         "Delete", "x;y"},
        {"[Folders]\r\nFolder0=C:\\T;DeleteAll;foo\r\n", 1, "C:\\T", "DeleteAll", "*.*"},
        {"[Folders]\r\nFolder0=C:\\T;DeleteMatch;tmp\r\n", 1, "C:\\T", "DeleteMatch", "tmp"},
        {"[Registry]\r\nReg0=HKEY_CURRENT_USER\\A;DeleteKeyMatch;x\r\n", 1, "HKEY_CURRENT_USER\\A", "DeleteMatch", "x"},
    };
    for (const auto& c : cases) {
        CString path = (*m_folder)("read.dorv");
        WriteFileText(path, CString("[General]\r\n") + c.file);
        ASSERT_TRUE(Doc()->OpenPlugIn(path)) << c.file;
        ASSERT_EQ(List()->GetRowCount(), c.rows) << c.file;
        CPluginRow row = List()->GetRow(0);
        EXPECT_EQ(row.path, c.path) << c.file;
        EXPECT_EQ(row.action, c.action) << c.file;
        EXPECT_EQ(row.detail, c.detail) << c.file;
    }
    // The entry of 255 characters is not shown cut: it is not shown.
    CString longEntry = CString("C:\\") + CString('x', 240) + ";Delete;a.txt";
    WriteFileText((*m_folder)("long.dorv"), CString("[General]\r\n[Files]\r\nFile0=") + longEntry + "\r\n");
    ASSERT_TRUE(Doc()->OpenPlugIn((*m_folder)("long.dorv")));
    EXPECT_EQ(List()->GetRowCount(), 0);
}

TEST_F(CorvaletTest, TheDescriptionFollowsTheChosenLanguageExactly)
{
    StartApp();
    CString path = (*m_folder)("lang.dorv");
    WriteFileText(path, "[General]\r\nDescription=english text\r\nErlaeuterung=deutscher Text\r\n");
    const struct
    {
        const char* language;
        const char* shown;
    } cases[] = {{"German", "deutscher Text"}, {"german", "english text"}, {"English", "english text"}};
    for (const auto& c : cases) {
        WritePrivateProfileStringA("Pirt", "Language", c.language, GetIniPath(INI_PIRT));
        ASSERT_TRUE(Doc()->OpenPlugIn(path));
        EXPECT_EQ(Form()->GetPlugInDescription(), c.shown) << c.language;
    }
}

TEST_F(CorvaletTest, SaveKeepsOtherKeysAndWritesLineBreaksAsBlanks)
{
    StartApp();
    CString path = (*m_folder)("keep.dorv");
    WriteFileText(path, "[General]\r\nName=Paint\r\nAdmin=yes\r\nInstalled=C:\\windows\\notepad.exe\r\n");
    ASSERT_TRUE(Doc()->OpenPlugIn(path));
    // Typed by the user: a description whose second line would be a section.
    HWND description = Form()->DescriptionEdit().m_hWnd;
    ::SendMessageA(description, EM_SETSEL, 0, -1);
    ::SendMessageA(description, EM_REPLACESEL, TRUE, (LPARAM) "first\r\n[Files]\r\nFile0=C:\\;DeleteAll;*.*");
    EXPECT_NE(Title().Find('*'), -1);
    Doc()->OnFileSave();
    EXPECT_EQ(ReadPluginGeneral(path, "Admin"), "yes");
    EXPECT_EQ(ReadPluginGeneral(path, "Installed"), "C:\\windows\\notepad.exe");
    EXPECT_EQ(ReadPluginGeneral(path, "Description"), "first [Files] File0=C:\\;DeleteAll;*.*");
    EXPECT_TRUE(ReadPluginEntries(path).empty());
    EXPECT_EQ(Title().Find('*'), -1);
}

TEST_F(CorvaletTest, RowsAFileCannotHoldAreRefusedAndTheFileStays)
{
    StartApp();
    CString path = (*m_folder)("refuse.dorv");
    WriteFileText(path, "[General]\r\nName=old\r\n");
    ASSERT_TRUE(Doc()->OpenPlugIn(path));
    const struct
    {
        CString path;
        const char* key;
    } cases[] = {
        {"C:\\a;b", "22740"}, {CString("C:\\") + CString('y', 240), "22750"}, // with ";Delete;a.txt" 257 characters
    };
    for (const auto& c : cases) {
        List()->DeleteAllRows();
        AddRow(c.path, "File", "Delete", "a.txt");
        m_asker.asked.clear();
        Doc()->OnFileSave();
        EXPECT_TRUE(m_asker.Showed("Holberin", c.key)) << c.key;
        EXPECT_EQ(FileText(path), "[General]\r\nName=old\r\n");
        EXPECT_NE(Title().Find('*'), -1);
    }
}

TEST_F(CorvaletTest, AFailedSaveLeavesTheFileAndTheModifiedMark)
{
    StartApp();
    CString path = (*m_folder)("locked.dorv");
    WriteFileText(path, "[General]\r\nName=old\r\n");
    ASSERT_TRUE(Doc()->OpenPlugIn(path));
    AddRow("C:\\Data", "File", "Delete", "a.txt");
    // The file held open by another program cannot be replaced.
    HANDLE held = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Doc()->OnFileSave();
    CloseHandle(held);
    EXPECT_TRUE(m_asker.Showed("Holberin", "22760"));
    EXPECT_EQ(FileText(path), "[General]\r\nName=old\r\n");
    EXPECT_NE(Title().Find('*'), -1);
    // A read-only file stays as it is.
    m_asker.asked.clear();
    SetFileAttributesA(path, FILE_ATTRIBUTE_READONLY);
    Doc()->OnFileSave();
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(m_asker.Showed("Holberin", "22760"));
    EXPECT_EQ(FileText(path), "[General]\r\nName=old\r\n");
    // A folder removed since the open.
    m_asker.asked.clear();
    Doc()->m_strPlugInPath = (*m_folder)("gone\\x.dorv");
    Doc()->OnFileSave();
    EXPECT_TRUE(m_asker.Showed("Holberin", "22760"));
    EXPECT_NE(Title().Find('*'), -1);
}

TEST_F(CorvaletTest, NewLeavesTheDocumentUntitled)
{
    StartApp();
    CString path = (*m_folder)("kept.dorv");
    WriteFileText(path, "[General]\r\nName=kept\r\n");
    ASSERT_TRUE(Doc()->OpenPlugIn(path));
    PressKey(m_frame->m_hWnd, 'N', true);
    EXPECT_EQ(Doc()->m_strPlugInPath, "");
    EXPECT_NE(Title().Find(GetLngString("Holberin", "22690")), -1);
    AddRow("C:\\Data", "File", "Delete", "a.txt");
    PressKey(m_frame->m_hWnd, 'S', true);
    EXPECT_EQ(m_asker.fileDialogs, 1);
    EXPECT_EQ(FileText(path), "[General]\r\nName=kept\r\n");
    EXPECT_NE(Title().Find('*'), -1);
}

TEST_F(CorvaletTest, CancelStopsOpenNewAndClose)
{
    StartApp();
    // Open, cancelled in its dialog; then the user types a name.
    Doc()->OnFileOpen();
    EXPECT_EQ(m_asker.fileDialogs, 1);
    ::SetWindowTextA(::GetDlgItem(Form()->m_hWnd, IDC_PLUGIN_NAME), "mine");
    ASSERT_NE(Title().Find('*'), -1);
    AddRow("C:\\Data", "File", "Delete", "a.txt");

    m_asker.answers = {IDCANCEL};
    Doc()->OnFileOpen();
    m_asker.answers = {IDCANCEL};
    Doc()->OnFileNew();
    EXPECT_EQ(m_asker.fileDialogs, 1);
    EXPECT_EQ(List()->GetRowCount(), 1);
    EXPECT_EQ(Form()->GetPlugInName(), "mine");

    // Close, Yes: there is no file yet, so the save dialog comes; cancelled,
    // the window stays.
    m_asker.answers = {IDYES};
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_asker.fileDialogs, 2);
    ASSERT_TRUE(IsWindow(m_frame->m_hWnd));
    EXPECT_EQ(List()->GetRowCount(), 1);
}

TEST_F(CorvaletTest, DeleteAndSelectAllEditTextInsideAnEdit)
{
    StartApp();
    AddRow("C:\\Data", "File", "Delete", "a.txt");
    List()->SelectAllRows();
    HWND name = ::GetDlgItem(Form()->m_hWnd, IDC_PLUGIN_NAME);
    ::SetWindowTextA(name, "abc");
    ::SendMessageA(name, EM_SETSEL, 0, 0);
    ::SetFocus(name);
    m_asker.asked.clear();
    PressKey(name, VK_DELETE, false);
    EXPECT_EQ(Form()->GetPlugInName(), "bc");
    EXPECT_EQ(List()->GetRowCount(), 1);
    EXPECT_TRUE(m_asker.asked.empty());
    // Ctrl+A selects the edit's text, not the rows.
    List()->GetListCtrl().SetItemState(-1, 0, LVIS_SELECTED);
    PressKey(name, 'A', true);
    EXPECT_EQ(List()->GetListCtrl().GetSelectedCount(), 0u);
    EXPECT_EQ(::SendMessageA(name, EM_GETSEL, 0, 0), MAKELRESULT(0, 2));
    List()->SelectAllRows();
    // Outside an edit Delete asks, then deletes the selected rows.
    m_asker.answers = {IDYES};
    PressKey(List()->m_hWnd, VK_DELETE, false);
    EXPECT_TRUE(m_asker.Showed("Holberin", "22670"));
    EXPECT_EQ(List()->GetRowCount(), 0);
}

TEST_F(CorvaletTest, FillingTheFormMarksNothingAndTheMarkIsSingle)
{
    StartApp();
    CString path = (*m_folder)("form.dorv");
    WriteFileText(path, "[General]\r\nName=n\r\nVersion=1\r\nProvider=p\r\nDescription=d\r\n");
    ASSERT_TRUE(Doc()->OpenPlugIn(path));
    EXPECT_EQ(Title().Find('*'), -1);
    m_frame->SendMessage(WM_PLUGIN_MODIFIED);
    m_frame->SendMessage(WM_PLUGIN_MODIFIED);
    EXPECT_EQ(Title().Find('*'), Title().GetLength() - 1);
    EXPECT_EQ(Title(), GetLngString("General", "20080") + " - " + path + "*");
    m_asker.answers = {IDNO};
    Doc()->OnFileNew();
    EXPECT_EQ(Form()->GetPlugInName(), "");
    EXPECT_EQ(Title().Find('*'), -1);
}

TEST_F(CorvaletTest, ACommandLineNameIsTheFileOfTheStartFolderForReadAndSave)
{
    CString start = m_folder->MakeFolder("start"), other = m_folder->MakeFolder("other");
    WriteFileText(start + "\\x.dorv", "[General]\r\nName=here\r\n");
    WriteFileText(other + "\\x.dorv", "[General]\r\nName=elsewhere\r\n");
    CCurrentFolderRestorer restorer;
    StartApp();
    SetCurrentDirectoryA(start);
    CCommandLineInfo info;
    info.ParseParam("x.dorv", FALSE, TRUE);
    // A file dialog moves the current folder before the file is read.
    SetCurrentDirectoryA(other);
    ASSERT_NE(g_app.OpenDocumentFile(info.m_strFileName), nullptr);
    EXPECT_EQ(Form()->GetPlugInName(), "here");
    Form()->SetPlugInName("changed");
    Doc()->OnFileSave();
    EXPECT_EQ(ReadPluginGeneral(start + "\\x.dorv", "Name"), "changed");
    // A relative name reaching the document is read and saved as one file.
    ASSERT_NE(g_app.OpenDocumentFile("x.dorv"), nullptr);
    EXPECT_EQ(Form()->GetPlugInName(), "elsewhere");
    EXPECT_EQ(Doc()->m_strPlugInPath, other + "\\x.dorv");
    EXPECT_EQ(ReadPluginGeneral(start + "\\x.dorv", "Name"), "changed");
    EXPECT_EQ(m_asker.fileDialogs, 0);
}

// Without an application-data folder Save starts in no folder of its own:
// none is made at the root of the current drive, and the user is told once.
TEST_F(CorvaletTest, NoDataFolderGivesNoPlugInFolder)
{
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    SetAppDataProbe([] { return CString(); });
    {
        CDialogCatcher catcher(IDOK);
        EXPECT_EQ(GetPlugInFolder(), "");
        EXPECT_EQ(GetPlugInFolder(), "");
        EXPECT_TRUE(catcher.WaitFor(1));
        Sleep(300);
        EXPECT_EQ(catcher.Boxes().size(), 1u);
    }
    SetAppDataProbe(nullptr);
    EXPECT_EQ(GetFileAttributesA(CString(current).Left(3) + "plug-ins"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CorvaletTest, OnlyAReadablePlugInFileBecomesTheDocument)
{
    CString good = (*m_folder)("good.dorv");
    WriteFileText(good, "[General]\r\nName=good\r\n");
    CString notes = (*m_folder)("notes.dorv"), noGeneral = (*m_folder)("files.dorv"), held = (*m_folder)("held.dorv");
    WriteFileText(notes, "just some text\r\n");
    WriteFileText(noGeneral, "[Files]\r\nFile0=C:\\A;Delete;a.txt\r\n");
    WriteFileText(held, "[General]\r\nName=held\r\n");
    HANDLE lock = CreateFileA(held, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    StartApp();
    const struct
    {
        CString path;
        const char* key;
        std::string text; // of the file, unchanged
    } cases[] = {
        {notes, "22830", "just some text\r\n"},
        {noGeneral, "22830", "[Files]\r\nFile0=C:\\A;Delete;a.txt\r\n"},
        {held, "22770", ""},
        {(*m_folder)("missing.dorv"), "22770", ""},
        {m_folder->Path(), "22770", ""},
    };
    for (int throughDialog = 0; throughDialog < 2; ++throughDialog) {
        for (const auto& c : cases) {
            ASSERT_TRUE(Doc()->OpenPlugIn(good));
            m_asker.asked.clear();
            if (throughDialog) {
                m_asker.files.push_back(c.path);
                Doc()->OnFileOpen();
            } else {
                EXPECT_EQ(g_app.OpenDocumentFile(c.path), nullptr) << c.path;
            }
            EXPECT_TRUE(m_asker.Showed("Holberin", c.key)) << c.path;
            EXPECT_EQ(Doc()->m_strPlugInPath, good) << c.path;
            EXPECT_EQ(Form()->GetPlugInName(), "good") << c.path;
            // Save goes to the document's file, never to the refused one.
            m_frame->SendMessage(WM_PLUGIN_MODIFIED);
            Doc()->OnFileSave();
            if (!c.text.empty()) {
                EXPECT_EQ(FileText(c.path), c.text);
            }
        }
    }
    CloseHandle(lock);
    EXPECT_EQ(FileText(held), "[General]\r\nName=held\r\n");
}

TEST_F(CorvaletTest, WhatTheListCannotShowIsSavedBackWhereNoReaderRunsMore)
{
    CString path = (*m_folder)("kept.dorv");
    CString longEntry = CString("C:\\") + CString('x', 240) + ";Delete;a.txt";
    WriteFileText(path, CString("[General]\r\nName=k\r\n[Files]\r\nFile0=C:\\A;Delete;a.txt\r\n"
                                "File1=C:\\A;delete;lower.txt\r\nFile2=C:\\B;Remove;x\r\nFile3=") +
                            longEntry +
                            "\r\nfile5=C:\\Gap;Delete;after.txt\r\nFile7=C:\\Gap;Delete;later.txt\r\n"
                            "File05=C:\\Z;Delete;z.txt\r\nNote=kept note\r\n"
                            "[Folders]\r\nFolder1=C:\\F;DeleteAll;*.*\r\n"
                            "[Registry]\r\nReg0=HKEY_CURRENT_USER\\Software\\A;DeleteValue;v\r\n"
                            "[Extra]\r\nKey=value\r\n");
    auto reached = [&]() {
        std::vector<std::string> raws;
        for (const CPluginEntry& e : ReadPluginEntries(path))
            raws.push_back((const char*)e.raw);
        return raws;
    };
    std::vector<std::string> before = reached();
    StartApp();
    ASSERT_TRUE(Doc()->OpenPlugIn(path));
    ASSERT_EQ(List()->GetRowCount(), 2);
    AddRow("C:\\New", "File", "Delete", "n.txt");
    Doc()->OnFileSave();
    // The reader runs what it ran before and the new row; the entries after
    // the gaps stay out of its reach.
    std::vector<std::string> after = before;
    after.insert(after.begin() + 1, "C:\\New;Delete;n.txt");
    EXPECT_EQ(reached(), after);
    std::string text = FileText(path);
    for (const char* kept :
         {"C:\\A;delete;lower.txt", "C:\\B;Remove;x", "C:\\Gap;Delete;after.txt", "C:\\Gap;Delete;later.txt",
          "File05=C:\\Z;Delete;z.txt", "Note=kept note", "C:\\F;DeleteAll;*.*", "[Extra]\r\nKey=value"})
        EXPECT_NE(text.find(kept), std::string::npos) << kept << "\n" << text;
    EXPECT_NE(text.find((const char*)longEntry), std::string::npos);
    EXPECT_LT(text.find("after.txt"), text.find("later.txt"));
    // Read and saved again, the file stays as it is.
    ASSERT_TRUE(Doc()->OpenPlugIn(path));
    EXPECT_EQ(List()->GetRowCount(), 3);
    m_frame->SendMessage(WM_PLUGIN_MODIFIED);
    Doc()->OnFileSave();
    EXPECT_EQ(FileText(path), text);
}

// A save over a file written elsewhere since the open asks first; No keeps
// that file, and a save of an unchanged file asks nothing.
TEST_F(CorvaletTest, SaveAsksBeforeReplacingAFileChangedSinceItWasOpened)
{
    CString path = (*m_folder)("changed.dorv");
    WriteFileText(path, "[General]\r\nName=mine\r\n");
    StartApp();
    ASSERT_TRUE(Doc()->OpenPlugIn(path));
    Form()->SetPlugInName("first");
    Doc()->OnFileSave();
    EXPECT_TRUE(m_asker.asked.empty());
    EXPECT_EQ(ReadPluginGeneral(path, "Name"), "first");

    // Another program writes the file; its time moves on by a whole second,
    // past any coarse time stamp.
    WriteFileText(path, "[General]\r\nName=theirs\r\n");
    {
        CHandle file(CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        FILETIME time;
        GetFileTime(file, nullptr, nullptr, &time);
        ULARGE_INTEGER t = {{time.dwLowDateTime, time.dwHighDateTime}};
        t.QuadPart += 10000000;
        time = {t.LowPart, t.HighPart};
        SetFileTime(file, nullptr, nullptr, &time);
    }
    Form()->SetPlugInName("second");
    m_asker.answers = {IDNO};
    EXPECT_EQ(Doc()->SavePlugIn(FALSE), 0);
    EXPECT_TRUE(m_asker.Showed("Holberin", "22900"));
    EXPECT_EQ(ReadPluginGeneral(path, "Name"), "theirs");
    m_asker.answers = {IDYES};
    EXPECT_EQ(Doc()->SavePlugIn(FALSE), 1);
    EXPECT_EQ(ReadPluginGeneral(path, "Name"), "second");
    // Saved, the file is this document's again.
    m_asker.asked.clear();
    EXPECT_EQ(Doc()->SavePlugIn(FALSE), 1);
    EXPECT_TRUE(m_asker.asked.empty());
}

// A value the reader gives back with blanks at an end or within quotes reads
// back the same after an open and a save, shown in the list or kept aside.
TEST_F(CorvaletTest, OpenAndSaveLeaveEveryValueReadingAsBefore)
{
    const char* const values[] = {
        "C:\\Data;DeleteMatch;tmp ",  " C:\\Data;DeleteMatch;tmp", "C:\\Data;DeleteMatch;tmp\t",
        "\tC:\\Data;DeleteMatch;x",  "C:\\Data;DeleteMatch;tmp\v", "\vC:\\Data;DeleteMatch;x",
        "C:\\Data;DeleteMatch;tmp\f", "C:\\Data;DeleteMatch;tmp\x1a", "\x1a" "C:\\Data;DeleteMatch;x",
        "'C:\\Data;DeleteMatch;.tmp'", "\"C:\\Data;DeleteMatch;.tmp\"", "'C:\\a;DeleteMatch;b\"",
        "C:\\Data;DeleteMatch;a;b,c\\d ",
    };
    const int count = (int)(sizeof(values) / sizeof(values[0]));
    // Folders: rows of the list; Files: an unknown action, kept; Extra: kept.
    const struct
    {
        const char* section;
        const char* prefix;
        const char* word; // the action word put in for the Files section
    } sections[] = {{"Folders", "Folder", nullptr}, {"Files", "File", "Keep"}, {"Extra", "Key", nullptr}};
    CString path = (*m_folder)("quoted.dorv"), text = "[General]\r\nName=q\r\n";
    for (const auto& section : sections) {
        text += CString("[") + section.section + "]\r\n";
        for (int i = 0; i < count; ++i) {
            CString value = values[i];
            if (section.word)
                value.Replace("DeleteMatch", section.word);
            text.AppendFormat("%s%d=\"%s\"\r\n", section.prefix, i, (const char*)value);
        }
    }
    WriteFileText(path, text);
    auto readAll = [&]() {
        std::vector<CString> read;
        for (const auto& section : sections) {
            const CProfileSection values(path, section.section);
            for (int i = 0; i < count; ++i)
                read.push_back(values.Value(CString(section.prefix) + std::to_string(i).c_str()));
        }
        return read;
    };
    const std::vector<CString> before = readAll();
    ASSERT_EQ(before[0], values[0]); // the blank within quotes is read
    StartApp();
    ASSERT_TRUE(Doc()->OpenPlugIn(path));
    EXPECT_EQ(List()->GetRowCount(), count);
    m_frame->SendMessage(WM_PLUGIN_MODIFIED);
    Doc()->OnFileSave();
    const std::vector<CString> after = readAll();
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(after[i], before[i]) << sections[i / count].section << " " << i % count;
}

TEST_F(CorvaletTest, ALogoffWithChangesAsksAsClosingDoes)
{
    CString path = (*m_folder)("session.dorv");
    WriteFileText(path, "[General]\r\nName=old\r\n");
    StartApp();
    EXPECT_TRUE(m_frame->SendMessage(WM_QUERYENDSESSION));
    EXPECT_TRUE(m_asker.asked.empty());
    AddRow("C:\\Data", "File", "Delete", "a.txt");
    const struct
    {
        int answer;
        const char* file; // for the save dialog; "" cancels it
        BOOL ends;
    } cases[] = {{IDNO, "", TRUE}, {IDYES, "", FALSE}, {IDYES, "session.dorv", TRUE}};
    for (const auto& c : cases) {
        m_asker.asked.clear();
        m_asker.answers = {c.answer};
        m_asker.files = {*c.file ? (*m_folder)(c.file) : CString()};
        EXPECT_EQ((BOOL)m_frame->SendMessage(WM_QUERYENDSESSION), c.ends) << c.answer << c.file;
        EXPECT_TRUE(m_asker.Showed("Holberin", "22680"));
    }
    EXPECT_EQ(ReadPluginEntries(path).size(), 1u);
}
