// Plug-in files: action table, reading, placeholders and the checked writer.
#include <gtest/gtest.h>
#include "fw/handle.h"
#include "pluginfile.h"
#include "services.h"
#include "testsupport.h"
#include <shlobj.h>
#include <string>

using namespace pirt_test;

namespace {

std::string ReadText(const char* path)
{
    std::vector<char> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

CString Repeat(char c, int count) { return CString(c, count); }

// A temporary file of the writer left in the folder.
bool TempLeft(const CString& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(folder + "\\*.tmp", &data);
    return find != INVALID_HANDLE_VALUE && FindClose(find);
}

} // namespace

TEST(PluginFormat, ActionTableWordsAndRowsFindEachOther)
{
    for (int i = 0; i < PLUGIN_ACTION_COUNT; ++i) {
        const PluginActionInfo& info = GetPluginAction((PluginAction)i);
        EXPECT_EQ(i, info.action);
        EXPECT_EQ(&info, FindPluginAction(info.section, info.word)) << info.word;
        EXPECT_EQ(&info, FindPluginRowAction(info.kind, info.listAction)) << info.kind;
    }
    EXPECT_EQ(nullptr, FindPluginAction(PLUGIN_FILES, "delete"));
    EXPECT_EQ(nullptr, FindPluginAction(PLUGIN_FOLDERS, "Delete")); // a Files word in Folders
    EXPECT_EQ(nullptr, FindPluginAction(PLUGIN_REGISTRY, ""));
    EXPECT_STREQ("Reg", GetPluginSection(PLUGIN_REGISTRY).keyPrefix);
}

TEST(PluginFormat, ReadsEverySectionInOrderWholeAndStopsAtTheFirstGap)
{
    CScratchFolder folder("pluginread");
    const CString file = folder("p.dorv");
    const CString longEntry = "HKEY_CURRENT_USER\\Software\\App;DeleteValue;" + Repeat('x', 264 - 43);
    ASSERT_EQ(264, longEntry.GetLength());
    // Registry first in the file: entries still come Files, Folders, Registry.
    WriteFileText(
        file,
        "[Registry]\r\nReg0=HKEY_CURRENT_USER\\Software\\App;DeleteValueMatch;Last\r\n"
        "Reg1=" +
            longEntry +
            "\r\n"
            "[General]\r\nName=100%% sure\r\n"
            "[Files]\r\nFile0=C:\\A;Delete;x;y\r\nFile2=C:\\B;Delete;z\r\n"
            "[Folders]\r\nFolder0=C:\\T;DeleteMatch;tmp\r\nFolder1=C:\\T;deleteall;*.*\r\n"
            "Folder2=C:\\T;DeleteAll\r\nFolder3=C:\\T;DeleteAll;foo\r\nFolder4=\r\nFolder5=C:\\U;DeleteAll;*.*\r\n");

    std::vector<CPluginEntry> entries = ReadPluginEntries(file);
    const struct
    {
        PluginAction action;
        int number;
        const char* path;
        CString argument;
    } expected[] = {
        {PLUGIN_FILE_DELETE, 0, "C:\\A", "x;y"},
        {PLUGIN_FOLDER_DELETE_MATCH, 0, "C:\\T", "tmp"},
        {PLUGIN_FOLDER_DELETE_ALL, 3, "C:\\T", "foo"},
        {PLUGIN_REG_DELETE_VALUE_MATCH, 0, "HKEY_CURRENT_USER\\Software\\App", "Last"},
        {PLUGIN_REG_DELETE_VALUE, 1, "HKEY_CURRENT_USER\\Software\\App", Repeat('x', 264 - 43)},
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(expected[i].action, entries[i].action->action) << i;
        EXPECT_EQ(expected[i].number, entries[i].number) << i;
        EXPECT_STREQ(expected[i].path, entries[i].path) << i;
        EXPECT_STREQ(expected[i].argument, entries[i].argument) << i;
        EXPECT_EQ(i == 4 ? 1 : 0, entries[i].tooLong) << i;
    }
    EXPECT_STREQ(longEntry, entries[4].raw); // never cut
    EXPECT_STREQ("*.*", PluginEntryRow(entries[2]).detail);
    EXPECT_STREQ("ValueList", PluginEntryRow(entries[3]).kind);
    EXPECT_STREQ("100%% sure", ReadPluginGeneral(file, "Name"));
    EXPECT_STREQ("not found", ReadPluginGeneral(file, "Version", "not found"));
    EXPECT_TRUE(ReadPluginEntries(folder("missing.dorv")).empty());
}

// A run reads a section in one call: every key must read as the profile
// functions read it on their own, however the file is written.
TEST(PluginFormat, ASectionReadOnceGivesWhatEachKeyReadAloneGives)
{
    CScratchFolder folder("pluginsection");
    const CString file = folder("s.dorv");
    const std::string huge(40000, 'h');
    const std::string cases[] = {
        "[Files]\r\nFile0=C:\\a;Delete;x\r\nFile1=C:\\b;Delete;y\r\n",
        "[Files]\r\nFile0 =  C:\\a;Delete;x  \r\n\tFile1\t=\tb\t\r\n",
        "[Files]\r\nFile0=\"C:\\a;Delete;x\"\r\nFile1='q'\r\nFile2=\"\r\nFile3=\"\"\r\nFile4=\"a'\r\nFile5= \" s \" "
        "\r\n",
        "[Files]\r\nFile0=first\r\nFILE0=second\r\nfile1=lower\r\n",
        "[Files]\r\nFile0=a\r\n[Other]\r\nFile1=o\r\n[files]\r\nFile1=b\r\nFile0=c\r\n",
        "[Files]\r\nFile0\r\nFile1=b\r\n;File2=c\r\nFile3=a=b;c\r\nFile4=\r\n",
        "[Files]\nFile0=lf\nFile1=only\n",
        "[Files]\rFile0=cr\rFile1=only\r",
        "  [ Files ]  \r\nFile0=spaced\r\n[Files\r\nFile1=open\r\n",
        "\xEF\xBB\xBF[Files]\r\nFile0=bom\r\n",
        "[Files]\r\nFile0=" + huge + "\r\nFile1=after\r\n",
        "File0=outside\r\n[Files]\r\n",
        // A key line without "=" is its key's first line, the later one unread.
        "[Files]\r\nFile0\r\nFile0=C:\\Data;DeleteAll;*.*\r\n  File1  \r\nfile1=b\r\nFile2=c\r\nFILE2\r\n",
        "[Files]\r\nFile0=\x1a x \x1a\r\nFile1=\"\x1a\"\r\n",
    };
    // UTF-16 files (with BOM): look-alike keys (full-width, dotless i) are
    // other keys to the profile function, though they turn into plain ANSI.
    const std::wstring wideCases[] = {
        L"[Files]\r\n\xFF26\xFF49\xFF4C\xFF45\xFF10=C:\\wide;Delete;x\r\nFile0=C:\\plain;Delete;x\r\n",
        L"[Files]\r\nF\x0131le1=C:\\dotless;Delete;x\r\nFile1=C:\\plain;Delete;x\r\n",
        L"[Files]\r\nFile0=\x201C\x043Dq\x201D\r\nFile1=' \xFF41 '\r\nFile2\r\nFile2=x\r\n",
    };
    const char* const keys[] = {"File0", "File1", "File2", "File3", "File4", "File5", "file0", "Missing"};
    auto compare = [&](const std::string& what) {
        const CProfileSection section(file, "Files");
        for (const char* key : keys)
            EXPECT_STREQ(ReadPluginValue(file, "Files", key, "default"), section.Value(key, "default"))
                << key << " in " << what.substr(0, 60);
    };
    for (const std::string& text : cases) {
        WriteFileText(file, text.c_str());
        compare(text);
    }
    for (const std::wstring& text : wideCases) {
        const std::wstring bytes = L"\xFEFF" + text;
        WriteFileBytes(file, bytes.data(), bytes.size() * sizeof(wchar_t));
        compare(std::string(NarrowToAnsi(text.c_str(), (int)text.size())));
    }
    EXPECT_STREQ("dflt", CProfileSection(folder("missing.dorv"), "Files").Value("File0", "dflt"));
}

TEST(PluginFormat, PlaceholdersFirstFoundOnlyAndOnlyToAnAbsoluteFolder)
{
    CPlaceholderFolders folders;
    folders.programs = ""; // empty
    folders.windows = "C:\\windows\\";
    folders.appData = "AppData"; // relative
    static const struct
    {
        const char* text;
        int ok;
        const char* out;
    } cases[] = {
        {"PIRT_APPDATA\\x;PIRT_WINDOWS\\y", 1, "PIRT_APPDATA\\x;C:\\windows\\y"},
        {"PIRT_WINDOWS\\a\\PIRT_WINDOWS", 1, "C:\\windows\\a\\C:\\windows"},
        {"pirt_windows\\App", 1, "pirt_windows\\App"},
        {"PIRT_PROGRAMS\\App", 0, "PIRT_PROGRAMS\\App"},
        {"PIRT_APPDATA\\App", 0, "PIRT_APPDATA\\App"},
    };
    for (const auto& c : cases) {
        CString out;
        EXPECT_EQ(c.ok, ExpandPlaceholders(c.text, folders, out)) << c.text;
        EXPECT_STREQ(c.out, out) << c.text;
    }
    EXPECT_STREQ(GetShellFolderPath(CSIDL_APPDATA) + "\\x", ExpandPlaceholders(CString("PIRT_APPDATA\\x")));
}

TEST(PluginWriter, RowsRoundTripInSectionOrderOnOneLineEach)
{
    CScratchFolder folder("pluginwrite");
    const CString file = folder("p.dorv");
    WriteFileText(file, "[General]\r\nName=old\r\nAdmin=yes\r\nInstalled=PIRT_APPDATA\\App\\app.ini\r\n"
                        "[Files]\r\nFile0=C:\\old;Delete;old.txt\r\nFile1=C:\\old;Delete;gone.txt\r\n");

    CPluginContent content;
    content.name = "Paint";
    content.version = "1.0";
    content.description = "line one\r\n[Files]\r\nFile5=C:\\x;Delete;y";
    content.provider = "us";
    content.otherGeneral = ReadPluginOtherGeneral(file);
    ASSERT_EQ(2u, content.otherGeneral.size());
    EXPECT_STREQ("Admin", content.otherGeneral[0].first);
    content.rows.push_back(CPluginRow{"C:\\App", "File", "Delete", "a;b.txt"});
    content.rows.push_back(CPluginRow{"HKEY_CURRENT_USER\\Software\\App", "Key", "Delete", "Recent"});
    content.rows.push_back(CPluginRow{"PIRT_APPDATA\\App", "Folder", "DeleteAll", "*.*"});
    content.rows.push_back(
        CPluginRow{"HKEY_CURRENT_USER\\Software\\App\\", "ValueList", "DeleteMatch", "Last\r\nFile"});
    content.rows.push_back(CPluginRow{"C:\\App", "File", "EraseMatch", "Recent,File1"});

    CPluginWriteError error;
    ASSERT_EQ(1, WritePluginFile(file, content, &error));
    EXPECT_EQ(-1, error.row);
    EXPECT_FALSE(TempLeft(folder.Path()));

    const std::string text = ReadText(file);
    EXPECT_EQ(std::string::npos, text.find("old.txt"));
    EXPECT_EQ(0u, text.find("[General]"));
    EXPECT_LT(text.find("\n[Files]"), text.find("\n[Folders]"));
    EXPECT_LT(text.find("\n[Folders]"), text.find("\n[Registry]"));
    EXPECT_EQ(text.rfind("\n[Files]"), text.find("\n[Files]")); // the description stays one line
    EXPECT_STREQ("line one [Files] File5=C:\\x;Delete;y", ReadPluginGeneral(file, "Description"));
    EXPECT_STREQ("line one [Files] File5=C:\\x;Delete;y", ReadPluginGeneral(file, "Erlaeuterung"));
    EXPECT_STREQ("yes", ReadPluginGeneral(file, "Admin"));
    EXPECT_STREQ("PIRT_APPDATA\\App\\app.ini", ReadPluginGeneral(file, "Installed"));

    // Read back, the rows come out grouped by section, numbered without gaps
    // and otherwise unchanged.
    std::vector<CPluginEntry> entries = ReadPluginEntries(file);
    static const int order[] = {0, 4, 2, 1, 3};
    ASSERT_EQ(5u, entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        CPluginRow expected = content.rows[order[i]];
        expected.detail.Replace("\r\n", " ");
        CPluginRow row = PluginEntryRow(entries[i]);
        EXPECT_STREQ(expected.path, row.path) << i;
        EXPECT_STREQ(expected.kind, row.kind) << i;
        EXPECT_STREQ(expected.action, row.action) << i;
        EXPECT_STREQ(expected.detail, row.detail) << i;
    }

    // An empty document writes [General] alone.
    ASSERT_EQ(1, WritePluginFile(file, CPluginContent(), nullptr));
    EXPECT_EQ(std::string::npos, ReadText(file).find("[F"));
    EXPECT_EQ(std::string::npos, ReadText(file).find("[R"));
    EXPECT_STREQ("", ReadPluginGeneral(file, "Name", "absent"));
}

TEST(PluginWriter, RefusedRowsAndFailedWritesLeaveTheOldFile)
{
    CScratchFolder folder("pluginrefuse");
    const CString file = folder("p.dorv");
    const char* old = "[General]\r\nName=old\r\n";
    WriteFileText(file, old);

    // Entry = path + ";Delete;" + detail: 246 characters of path make 254.
    const CString path254 = "C:\\" + Repeat('p', 254 - 3 - 9);
    const struct
    {
        CPluginRow row;
        PluginRowRefusal refusal;
    } rows[] = {
        {CPluginRow{path254, "File", "Delete", "a"}, PLUGIN_ROW_OK},
        {CPluginRow{path254, "File", "Delete", "ab"}, PLUGIN_ROW_TOO_LONG},
        {CPluginRow{"C:\\a;b", "Folder", "DeleteMatch", "x"}, PLUGIN_ROW_SEMICOLON},
        {CPluginRow{"C:\\ab", "Folder", "DeleteMatch", "x;y"}, PLUGIN_ROW_OK},
        {CPluginRow{"C:\\ab", "Folder", "Delete", "x"}, PLUGIN_ROW_UNKNOWN},
        {CPluginRow{"C:\\ab", "file", "Delete", "x"}, PLUGIN_ROW_UNKNOWN},
    };
    for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        EXPECT_EQ(rows[i].refusal, CheckPluginRow(rows[i].row)) << i;
        CPluginContent content;
        content.rows.push_back(CPluginRow{"C:\\x", "File", "Delete", "y"});
        content.rows.push_back(rows[i].row);
        CPluginWriteError error;
        const int written = WritePluginFile(file, content, &error);
        EXPECT_EQ(rows[i].refusal == PLUGIN_ROW_OK ? 1 : 0, written) << i;
        EXPECT_EQ(rows[i].refusal, error.refusal) << i;
        EXPECT_EQ(rows[i].refusal == PLUGIN_ROW_OK ? -1 : 1, error.row) << i;
        if (!written) {
            EXPECT_EQ(old, ReadText(file)) << i;
        }
        WriteFileText(file, old);
    }

    // The target held open without sharing, read-only, or in a missing folder.
    CPluginContent content;
    content.name = "new";
    const struct
    {
        CString target;
        int hold;
        DWORD attributes;
    } failures[] = {
        {file, 1, FILE_ATTRIBUTE_NORMAL},
        {file, 0, FILE_ATTRIBUTE_READONLY},
        {folder("gone\\p.dorv"), 0, 0},
    };
    for (const auto& f : failures) {
        SetFileAttributesA(file, f.attributes);
        CHandle held(f.hold ? CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr);
        CPluginWriteError error;
        EXPECT_EQ(0, WritePluginFile(f.target, content, &error)) << f.target;
        EXPECT_NE(0u, error.lastError) << f.target;
        if (held != nullptr)
            held.Close();
        EXPECT_EQ(old, ReadText(file)) << f.target;
        EXPECT_FALSE(TempLeft(folder.Path())) << f.target;
    }
    SetFileAttributesA(file, FILE_ATTRIBUTE_NORMAL);
}
