// Plug-in files: split, action table, reading, placeholders, the entry
// validator and the checked writer.
#include <gtest/gtest.h>
#include "pluginfile.h"
#include "testsupport.h"
#include <shlobj.h>
#include <string>

using namespace pirt_test;

namespace
{

std::string ReadText(const char* path)
{
    std::vector<char> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

CString Repeat(char c, int count) { return CString(c, count); }

int FileCount(const CString& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(folder + "\\*", &data);
    int count = 0;
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        count += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
    while (FindNextFileA(find, &data));
    FindClose(find);
    return count;
}

CString ShellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

CPluginEntry EntryOf(PluginSection section, const CString& raw)
{
    CPluginEntry entry;
    CString word;
    SplitPluginEntry(raw, entry.path, word, entry.argument);
    entry.action = FindPluginAction(section, word);
    entry.raw = raw;
    entry.tooLong = raw.GetLength() > kPluginEntryMax;
    return entry;
}

// The name of the user's own hive under HKEY_USERS: the one in which a key
// made below HKEY_CURRENT_USER shows up.
CString UserHiveName()
{
    CScratchRegKey marker("pluginhive");
    char name[256];
    for (DWORD i = 0;; ++i)
    {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(HKEY_USERS, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return CString();
        HKEY key;
        if (RegOpenKeyExA(HKEY_USERS, CString(name) + "\\" + marker.Path(), 0, KEY_READ, &key) == ERROR_SUCCESS)
        {
            RegCloseKey(key);
            return name;
        }
    }
}

} // namespace

TEST(PluginFormat, SplitAtTheFirstTwoSemicolons)
{
    static const struct { const char* entry; const char* path; const char* word; const char* argument; } cases[] = {
        { "C:\\A;Delete;x;y", "C:\\A", "Delete", "x;y" },
        { "C:\\A;Delete;", "C:\\A", "Delete", "" },
        { "C:\\A;Delete", "C:\\A", "", "" },       // one semicolon: no action
        { "C:\\A", "", "", "" },
        { ";DeleteAll;*.*", "", "DeleteAll", "*.*" },
        { "C:\\A;;x", "C:\\A", "", "x" },
    };
    for (const auto& c : cases)
    {
        CString path("old"), word("old"), argument("old");
        SplitPluginEntry(c.entry, path, word, argument);
        EXPECT_STREQ(c.path, path) << c.entry;
        EXPECT_STREQ(c.word, word) << c.entry;
        EXPECT_STREQ(c.argument, argument) << c.entry;
    }
}

TEST(PluginFormat, ActionTableWordsAndRowsFindEachOther)
{
    for (int i = 0; i < PLUGIN_ACTION_COUNT; ++i)
    {
        const PluginActionInfo& info = GetPluginAction((PluginAction)i);
        EXPECT_EQ(i, info.action);
        EXPECT_EQ(&info, FindPluginAction(info.section, info.word)) << info.word;
        EXPECT_EQ(&info, FindPluginRowAction(info.kind, info.listAction)) << info.kind;
    }
    EXPECT_EQ(nullptr, FindPluginAction(PLUGIN_FILES, "delete"));
    EXPECT_EQ(nullptr, FindPluginAction(PLUGIN_FOLDERS, "Delete"));  // a Files word in Folders
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
    WriteFileText(file,
                  "[Registry]\r\nReg0=HKEY_CURRENT_USER\\Software\\App;DeleteValueMatch;Last\r\n"
                  "Reg1=" + longEntry + "\r\n"
                  "[General]\r\nName=100%% sure\r\n"
                  "[Files]\r\nFile0=C:\\A;Delete;x;y\r\nFile2=C:\\B;Delete;z\r\n"
                  "[Folders]\r\nFolder0=C:\\T;DeleteMatch;tmp\r\nFolder1=C:\\T;deleteall;*.*\r\n"
                  "Folder2=C:\\T;DeleteAll\r\nFolder3=C:\\T;DeleteAll;foo\r\nFolder4=\r\nFolder5=C:\\U;DeleteAll;*.*\r\n");

    std::vector<CPluginEntry> entries = ReadPluginEntries(file);
    static const struct { PluginAction action; int number; const char* path; const char* argument; } expected[] = {
        { PLUGIN_FILE_DELETE, 0, "C:\\A", "x;y" },
        { PLUGIN_FOLDER_DELETE_MATCH, 0, "C:\\T", "tmp" },
        { PLUGIN_FOLDER_DELETE_ALL, 3, "C:\\T", "foo" },
        { PLUGIN_REG_DELETE_VALUE_MATCH, 0, "HKEY_CURRENT_USER\\Software\\App", "Last" },
        { PLUGIN_REG_DELETE_VALUE, 1, "HKEY_CURRENT_USER\\Software\\App", "" },
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
    {
        EXPECT_EQ(expected[i].action, entries[i].action->action) << i;
        EXPECT_EQ(expected[i].number, entries[i].number) << i;
        EXPECT_STREQ(expected[i].path, entries[i].path) << i;
        if (i < 4)
        {
            EXPECT_STREQ(expected[i].argument, entries[i].argument) << i;
        }
        EXPECT_EQ(i == 4 ? 1 : 0, entries[i].tooLong) << i;
    }
    EXPECT_STREQ(longEntry, entries[4].raw);  // never cut
    EXPECT_STREQ("*.*", PluginEntryRow(entries[2]).detail);
    EXPECT_STREQ("ValueList", PluginEntryRow(entries[3]).kind);
    EXPECT_STREQ("100%% sure", ReadPluginGeneral(file, "Name"));
    EXPECT_STREQ("not found", ReadPluginGeneral(file, "Version", "not found"));
    EXPECT_TRUE(ReadPluginEntries(folder("missing.dorv")).empty());
}

TEST(PluginFormat, PlaceholdersFirstFoundOnlyAndOnlyToAnAbsoluteFolder)
{
    CPlaceholderFolders folders;
    folders.programs = "C:\\Program Files";
    folders.windows = "C:\\windows";
    folders.appData = "C:\\users\\u\\AppData\\Roaming";
    CPlaceholderFolders broken = folders;
    broken.appData = "";
    broken.windows = "windows";

    static const struct { bool broken; const char* text; int ok; const char* out; } cases[] = {
        { false, "PIRT_WINDOWS\\x;PIRT_APPDATA\\y", 1, "C:\\windows\\x;PIRT_APPDATA\\y" },
        { false, "PIRT_APPDATA\\a\\PIRT_APPDATA", 1, "C:\\users\\u\\AppData\\Roaming\\a\\C:\\users\\u\\AppData\\Roaming" },
        { false, "PIRT_PROGRAMS\\App", 1, "C:\\Program Files\\App" },
        { false, "pirt_appdata\\App", 1, "pirt_appdata\\App" },
        { false, "C:\\App", 1, "C:\\App" },
        { true, "PIRT_APPDATA\\App", 0, "PIRT_APPDATA\\App" },   // empty folder
        { true, "PIRT_WINDOWS\\App", 0, "PIRT_WINDOWS\\App" },   // relative folder
        { true, "PIRT_PROGRAMS\\App", 1, "C:\\Program Files\\App" },
    };
    for (const auto& c : cases)
    {
        CString out;
        EXPECT_EQ(c.ok, ExpandPlaceholders(c.text, c.broken ? broken : folders, out)) << c.text;
        EXPECT_STREQ(c.out, out) << c.text;
    }
    EXPECT_STREQ(ShellFolder(CSIDL_APPDATA) + "\\x", ExpandPlaceholders(CString("PIRT_APPDATA\\x")));
}

// Every rule with a refused entry and an accepted neighbour.
TEST(PluginFormat, ValidatorRefusesWhatCouldReachBeyondTheEntry)
{
    const CPlaceholderFolders real = GetPlaceholderFolders();
    CPlaceholderFolders broken = real;
    broken.appData = "";
    const CString appData = ShellFolder(CSIDL_APPDATA);
    const CString at254 = "C:\\Data;Delete;" + Repeat('x', kPluginEntryMax - 15);
    const CString at264 = at254 + Repeat('x', 10);

    static const PluginSection F = PLUGIN_FILES, D = PLUGIN_FOLDERS, R = PLUGIN_REGISTRY;
    struct Case
    {
        PluginSection section;
        CString entry;
        PluginRefusal refusal;
        CString path;    // target path when accepted
        CString first;
        bool broken;
    };
    const Case cases[] = {
        { F, at264, PLUGIN_REFUSED_TOO_LONG, "", "", false },
        { F, at254, PLUGIN_ENTRY_OK, "C:\\Data\\" + Repeat('x', kPluginEntryMax - 15), "", false },
        { F, "PIRT_APPDATA\\App;Delete;recent.txt", PLUGIN_REFUSED_PLACEHOLDER, "", "", true },
        { F, "PIRT_APPDATA\\App;Delete;recent.txt", PLUGIN_ENTRY_OK, appData + "\\App\\recent.txt", "", false },
        { F, "App;Delete;recent.txt", PLUGIN_REFUSED_NOT_ABSOLUTE, "", "", false },
        { F, "C:App;Delete;recent.txt", PLUGIN_REFUSED_NOT_ABSOLUTE, "", "", false },
        { F, "\\App;Delete;recent.txt", PLUGIN_REFUSED_NOT_ABSOLUTE, "", "", false },
        { F, "\\\\?\\C:\\App;Delete;recent.txt", PLUGIN_REFUSED_NOT_ABSOLUTE, "", "", false },
        { F, "\\\\server\\share\\App;Delete;recent.txt", PLUGIN_ENTRY_OK, "\\\\server\\share\\App\\recent.txt", "", false },
        { F, "C:\\App;Delete;..\\boot.ini", PLUGIN_REFUSED_BAD_PATH, "", "", false },
        { F, "C:\\App\\.;DeleteContent;a.txt", PLUGIN_REFUSED_BAD_PATH, "", "", false },
        { F, "C:\\App\\.. ;DeleteContent;a.txt", PLUGIN_REFUSED_BAD_PATH, "", "", false },
        { F, "C:\\App;Delete;*.txt", PLUGIN_REFUSED_BAD_PATH, "", "", false },
        { F, "C:\\App;Delete;a?.txt", PLUGIN_REFUSED_BAD_PATH, "", "", false },
        { F, "C:\\App//x;Delete;a..txt", PLUGIN_ENTRY_OK, "C:\\App\\x\\a..txt", "", false },
        { F, "C:\\App;Delete;", PLUGIN_REFUSED_EMPTY_TEXT, "", "", false },
        { F, "C:\\a.ini;EraseMatch;Recent,", PLUGIN_REFUSED_EMPTY_TEXT, "", "", false },
        { F, "C:\\a.ini;EraseMatch;,File1", PLUGIN_REFUSED_EMPTY_TEXT, "", "", false },
        { F, "C:\\a.ini;EraseMatch;Recent,,File1", PLUGIN_ENTRY_OK, "C:\\a.ini", "Recent", false },
        { D, "C:\\;DeleteAll;*.*", PLUGIN_REFUSED_ROOT, "", "", false },
        { D, "C:\\.;DeleteAllBelow;*.*", PLUGIN_REFUSED_BAD_PATH, "", "", false },
        { D, "\\\\server\\share\\;DeleteAllBelow;*.*", PLUGIN_REFUSED_ROOT, "", "", false },
        { D, "\\\\server\\share\\App;DeleteAllBelow;*.*", PLUGIN_ENTRY_OK, "\\\\server\\share\\App", "", false },
        { D, "PIRT_APPDATA;DeleteAllBelow;*.*", PLUGIN_REFUSED_PROTECTED, "", "", false },
        { D, "PIRT_APPDATA\\..;DeleteAllBelow;*.*", PLUGIN_REFUSED_BAD_PATH, "", "", false },
        { D, "PIRT_APPDATA\\App\\Recent\\;DeleteAllBelow;*.*", PLUGIN_ENTRY_OK, appData + "\\App\\Recent", "", false },
        { D, "PIRT_WINDOWS;DeleteAll;*.*", PLUGIN_REFUSED_PROTECTED, "", "", false },
        { D, ShellFolder(CSIDL_SYSTEM) + "\\spool\\x;DeleteAll;*.*", PLUGIN_REFUSED_PROTECTED, "", "", false },
        { D, "PIRT_WINDOWS\\Temp\\App;DeleteAll;*.*", PLUGIN_ENTRY_OK, ShellFolder(CSIDL_WINDOWS) + "\\Temp\\App", "", false },
        { D, ShellFolder(CSIDL_PROFILE) + "\\..;DeleteAll;*.*", PLUGIN_REFUSED_BAD_PATH, "", "", false },
        { D, ShellFolder(CSIDL_PROFILE) + ";DeleteMatch;.tmp", PLUGIN_REFUSED_PROTECTED, "", "", false },
        { D, "C:\\Temp\\App;DeleteMatch;", PLUGIN_REFUSED_EMPTY_TEXT, "", "", false },
        { D, "C:\\Temp\\App;DeleteMatch;tEMP\\a", PLUGIN_REFUSED_MATCHES_ALL, "", "", false },
        { D, "C:\\Temp\\App;DeleteMatch;\\", PLUGIN_REFUSED_MATCHES_ALL, "", "", false },
        { D, "C:\\Temp\\App;DeleteMatch;.tmp", PLUGIN_ENTRY_OK, "C:\\Temp\\App", ".tmp", false },
        { R, "HKEY_CURRENT_USER;DeleteValueMatch;x", PLUGIN_REFUSED_REG_ROOT, "", "", false },
        { R, "HKCU\\Software\\App;DeleteValue;x", PLUGIN_REFUSED_REG_ROOT, "", "", false },
        { R, "hkey_current_user\\Software\\App;DeleteValue;x", PLUGIN_REFUSED_REG_ROOT, "", "", false },
        { R, "HKEY_CURRENT_USER\\\\;DeleteKey;Software", PLUGIN_REFUSED_REG_ROOT, "", "", false },
        { R, "HKEY_CURRENT_USER\\\\Software\\\\App\\;DeleteValue;", PLUGIN_ENTRY_OK, "HKEY_CURRENT_USER\\Software\\App", "", false },
        { R, "HKEY_CURRENT_USER\\Software\\App\\;DeleteValueMatch; ", PLUGIN_REFUSED_EMPTY_TEXT, "", "", false },
        { R, "HKEY_CURRENT_USER\\Software\\App\\;DeleteKeyMatch;", PLUGIN_REFUSED_EMPTY_TEXT, "", "", false },
        { R, "HKEY_CURRENT_USER\\Software\\App\\;DeleteValueMatch; Last ", PLUGIN_ENTRY_OK, "HKEY_CURRENT_USER\\Software\\App", "Last", false },
        { R, "HKEY_CURRENT_USER\\Software;DeleteKey;\\", PLUGIN_REFUSED_EMPTY_TEXT, "", "", false },
        { R, "HKEY_CURRENT_USER\\Software;DeleteKey; App\\\\Sub ", PLUGIN_ENTRY_OK, "HKEY_CURRENT_USER\\Software", "App\\Sub", false },
        { R, "HKEY_CURRENT_USER\\Software\\Microsoft;DeleteKey;Windows", PLUGIN_REFUSED_REG_PROTECTED, "", "", false },
        { R, "HKEY_CURRENT_USER\\software;DeleteKey;talvery", PLUGIN_REFUSED_REG_PROTECTED, "", "", false },
        { R, "HKEY_CURRENT_USER\\Software\\Classes\\;DeleteKey;", PLUGIN_REFUSED_EMPTY_TEXT, "", "", false },
        { R, "HKEY_CURRENT_USER\\Software;DeleteKey;Classes", PLUGIN_REFUSED_REG_PROTECTED, "", "", false },
        { R, "HKEY_LOCAL_MACHINE\\SYSTEM;DeleteKey;CurrentControlSet", PLUGIN_REFUSED_REG_PROTECTED, "", "", false },
        { R, "HKEY_LOCAL_MACHINE\\SOFTWARE;DeleteKey;Microsoft", PLUGIN_REFUSED_REG_PROTECTED, "", "", false },
        { R, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer;DeleteKey;RunMRU",
          PLUGIN_ENTRY_OK, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "RunMRU", false },
    };
    std::vector<Case> all(cases, cases + sizeof(cases) / sizeof(cases[0]));
    // The user's own hive under HKEY_USERS is judged as HKEY_CURRENT_USER.
    const CString user = "HKEY_USERS\\" + UserHiveName();
    ASSERT_GT(user.GetLength(), 11);
    all.push_back({ R, user + ";DeleteKey;Software", PLUGIN_REFUSED_REG_SHALLOW, "", "", false });
    all.push_back({ R, user + "\\Software;DeleteKey;Classes", PLUGIN_REFUSED_REG_PROTECTED, "", "", false });
    all.push_back({ R, user + "_Classes;DeleteKey;x", PLUGIN_ENTRY_OK, user + "_Classes", "x", false });
    all.push_back({ R, user + "\\Software;DeleteKey;App", PLUGIN_ENTRY_OK, user + "\\Software", "App", false });
    // Links, from the host-side fixture that ctest makes.
    const CString links = ProgramFolder() + "\\pathlinks";
    if (GetFileAttributesA(links + "\\cdrive") != INVALID_FILE_ATTRIBUTES)
    {
        all.push_back({ D, links + "\\toplink\\;DeleteAllBelow;*.*", PLUGIN_REFUSED_LINK, "", "", false });
        all.push_back({ D, links + "\\tree;DeleteAllBelow;*.*", PLUGIN_ENTRY_OK, links + "\\tree", "", false });
        all.push_back({ D, links + "\\cdrive\\windows\\system32\\spool;DeleteAll;*.*", PLUGIN_REFUSED_PROTECTED, "", "", false });
    }
    else
    {
        ADD_FAILURE() << "link fixture missing: run through ctest";
    }
    for (const auto& c : all)
    {
        CPluginEntry entry = EntryOf(c.section, c.entry);
        ASSERT_NE(nullptr, entry.action) << c.entry;
        CPluginTarget target;
        target.path = "unchanged";
        EXPECT_EQ(c.refusal, ValidatePluginEntry(entry, c.broken ? broken : real, &target)) << c.entry;
        if (c.refusal != PLUGIN_ENTRY_OK)
        {
            EXPECT_STREQ("unchanged", target.path) << c.entry;
            continue;
        }
        EXPECT_EQ(entry.action, target.action) << c.entry;
        EXPECT_STRCASEEQ(c.path, target.path) << c.entry;
        EXPECT_STREQ(c.first, target.first) << c.entry;
    }
}

// ---------------------------------------------------------------------------
// Writer.

namespace
{

CPluginRow Row(const char* path, const char* kind, const char* action, const char* detail)
{
    CPluginRow row;
    row.path = path;
    row.kind = kind;
    row.action = action;
    row.detail = detail;
    return row;
}

} // namespace

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
    content.rows.push_back(Row("C:\\App", "File", "Delete", "a;b.txt"));
    content.rows.push_back(Row("HKEY_CURRENT_USER\\Software\\App", "Key", "Delete", "Recent"));
    content.rows.push_back(Row("PIRT_APPDATA\\App", "Folder", "DeleteAll", "*.*"));
    content.rows.push_back(Row("HKEY_CURRENT_USER\\Software\\App\\", "ValueList", "DeleteMatch", "Last\r\nFile"));
    content.rows.push_back(Row("C:\\App", "File", "EraseMatch", "Recent,File1"));

    CPluginWriteError error;
    ASSERT_EQ(1, WritePluginFile(file, content, &error));
    EXPECT_EQ(-1, error.row);
    EXPECT_EQ(1, FileCount(folder.Path()));  // no temporary file left

    const std::string text = ReadText(file);
    EXPECT_EQ(std::string::npos, text.find("old.txt"));
    EXPECT_EQ(0u, text.find("[General]"));
    EXPECT_LT(text.find("[General]"), text.find("\n[Files]"));
    EXPECT_LT(text.find("\n[Files]"), text.find("\n[Folders]"));
    EXPECT_LT(text.find("\n[Folders]"), text.find("\n[Registry]"));
    EXPECT_EQ(text.rfind("\n[Files]"), text.find("\n[Files]"));  // the description stays one line
    EXPECT_STREQ("line one [Files] File5=C:\\x;Delete;y", ReadPluginGeneral(file, "Description"));
    EXPECT_STREQ("line one [Files] File5=C:\\x;Delete;y", ReadPluginGeneral(file, "Erlaeuterung"));
    EXPECT_STREQ("yes", ReadPluginGeneral(file, "Admin"));
    EXPECT_STREQ("PIRT_APPDATA\\App\\app.ini", ReadPluginGeneral(file, "Installed"));

    static const struct { const char* section; const char* key; const char* value; } written[] = {
        { "Files", "File0", "C:\\App;Delete;a;b.txt" },
        { "Files", "File1", "C:\\App;EraseMatch;Recent,File1" },
        { "Files", "File2", "" },
        { "Folders", "Folder0", "PIRT_APPDATA\\App;DeleteAll;*.*" },
        { "Registry", "Reg0", "HKEY_CURRENT_USER\\Software\\App;DeleteKey;Recent" },
        { "Registry", "Reg1", "HKEY_CURRENT_USER\\Software\\App\\;DeleteValueMatch;Last File" },
    };
    for (const auto& w : written)
        EXPECT_STREQ(w.value, ReadPluginValue(file, w.section, w.key)) << w.key;

    // Read back, the rows come out grouped by section and otherwise unchanged.
    std::vector<CPluginEntry> entries = ReadPluginEntries(file);
    static const int order[] = { 0, 4, 2, 1, 3 };
    ASSERT_EQ(5u, entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
    {
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
    const struct { CPluginRow row; PluginRowRefusal refusal; } rows[] = {
        { Row(path254, "File", "Delete", "a"), PLUGIN_ROW_OK },
        { Row(path254, "File", "Delete", "ab"), PLUGIN_ROW_TOO_LONG },
        { Row("C:\\a;b", "Folder", "DeleteMatch", "x"), PLUGIN_ROW_SEMICOLON },
        { Row("C:\\ab", "Folder", "DeleteMatch", "x;y"), PLUGIN_ROW_OK },
        { Row("C:\\ab", "Folder", "Delete", "x"), PLUGIN_ROW_UNKNOWN },
        { Row("C:\\ab", "file", "Delete", "x"), PLUGIN_ROW_UNKNOWN },
    };
    for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i)
    {
        EXPECT_EQ(rows[i].refusal, CheckPluginRow(rows[i].row)) << i;
        CPluginContent content;
        content.rows.push_back(Row("C:\\x", "File", "Delete", "y"));
        content.rows.push_back(rows[i].row);
        CPluginWriteError error;
        const int written = WritePluginFile(file, content, &error);
        EXPECT_EQ(rows[i].refusal == PLUGIN_ROW_OK ? 1 : 0, written) << i;
        EXPECT_EQ(rows[i].refusal, error.refusal) << i;
        EXPECT_EQ(rows[i].refusal == PLUGIN_ROW_OK ? -1 : 1, error.row) << i;
        if (!written)
        {
            EXPECT_EQ(old, ReadText(file)) << i;
        }
        WriteFileText(file, old);
    }

    // The target held open without sharing: the move fails.
    CPluginContent content;
    content.name = "new";
    HANDLE held = CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CPluginWriteError error;
    EXPECT_EQ(0, WritePluginFile(file, content, &error));
    EXPECT_NE(0u, error.lastError);
    CloseHandle(held);
    EXPECT_EQ(old, ReadText(file));
    EXPECT_EQ(1, FileCount(folder.Path()));

    // A read-only target.
    SetFileAttributesA(file, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, WritePluginFile(file, content, &error));
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, error.lastError);
    SetFileAttributesA(file, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(old, ReadText(file));
    EXPECT_EQ(1, FileCount(folder.Path()));

    // A folder that does not exist.
    EXPECT_EQ(0, WritePluginFile(folder("gone\\p.dorv"), content, &error));
    EXPECT_NE(0u, error.lastError);
    EXPECT_EQ(1, FileCount(folder.Path()));
}
