// Plug-in files (*.dorv): the one reader and writer that the recent-work
// cleaner, its preview and the plug-in builder share (the entry validator:
// pluginvalidator.h).
//
// A plug-in file is INI text in the system code page, read and written only
// through the private-profile calls:
//   [General]  Name, Version, Description, Erlaeuterung, Provider (the
//              builder's five), Admin, Installed and whatever else a file holds
//   [Files]    File0, File1, ...      entry = path;action word;argument
//   [Folders]  Folder0, Folder1, ...
//   [Registry] Reg0, Reg1, ...
// Values are taken as they stand ("%" and "\" mean nothing to the format).
// A value is read whole (never cut): an entry over kPluginEntryMax
// characters is handed on marked too long, and the validator refuses it,
// because a cut entry names another target.
#pragma once
#include "fw/framework.h"
#include <map>
#include <vector>

// The user's plug-in folder, where the recent-work cleaner looks first and
// the builder saves: application data + "\Zex\Ulmoro\plug-ins\Tolmira";
// "" without an application-data folder.
CString UserPluginFolder();

// Longest entry (path;action;argument) that is read, written or run.
const int kPluginEntryMax = 254;

enum PluginSection { PLUGIN_FILES = 0, PLUGIN_FOLDERS, PLUGIN_REGISTRY, PLUGIN_SECTION_COUNT };

struct PluginSectionInfo
{
    PluginSection section;
    const char* name;      // "Files"
    const char* keyPrefix; // "File": keys File0, File1, ...
};

// Sections in the order they are read, run and written.
const PluginSectionInfo& GetPluginSection(PluginSection section);

enum PluginAction {
    PLUGIN_FILE_DELETE = 0,         // delete path\argument
    PLUGIN_FILE_DELETE_CONTENT,     // empty path\argument
    PLUGIN_FILE_ERASE_MATCH,        // remove key "section,key" from the INI file path
    PLUGIN_FOLDER_DELETE_ALL,       // remove the folder path with all it holds
    PLUGIN_FOLDER_DELETE_ALL_BELOW, // empty the folder path, keep it
    PLUGIN_FOLDER_DELETE_MATCH,     // delete files in path whose full path contains argument
    PLUGIN_REG_DELETE_KEY,          // delete subkey argument of path, with its subtree
    PLUGIN_REG_DELETE_KEY_MATCH,    // delete subkeys of path whose name contains argument
    PLUGIN_REG_DELETE_VALUE,        // delete value argument of path
    PLUGIN_REG_DELETE_VALUE_MATCH,  // delete values of path whose name contains argument
    PLUGIN_ACTION_COUNT
};

// One row of the action table: the word in the file and the row the builder
// shows for it (kind / action / detail columns).
struct PluginActionInfo
{
    PluginAction action;
    PluginSection section;
    const char* word;       // action word in the file, compared case-sensitively
    const char* kind;       // "File", "Folder", "Key", "KeyList", "Value", "ValueList"
    const char* listAction; // action column of the builder's row
    int anyDetail;          // 1: the argument is not used; the row shows "*.*"
    int placeholders;       // 1: PIRT_ placeholders are replaced in the path when run
};

// The table itself, indexed by PluginAction.
const PluginActionInfo& GetPluginAction(PluginAction action);

// The action of a word within a section (exact, case-sensitive); null for an
// unknown or empty word.
const PluginActionInfo* FindPluginAction(PluginSection section, const char* word);

// The action of a builder row (kind and action columns); null when none.
const PluginActionInfo* FindPluginRowAction(const char* kind, const char* listAction);

// path;word;argument split at the first and second ";": the argument keeps
// any further semicolons. Without a second ";" the word is empty; without
// any ";" the path is empty too.
void SplitPluginEntry(const CString& entry, CString& path, CString& word, CString& argument);

// One entry with a known action word, as read from a plug-in file.
struct CPluginEntry
{
    const PluginActionInfo* action; // never null in a list from ReadPluginEntries
    int number;                     // key number: 3 for File3
    CString raw;                    // the whole value as it stands in the file
    CString path;
    CString argument;
    int tooLong; // raw is over kPluginEntryMax characters

    CPluginEntry() : action(nullptr), number(0), tooLong(0) {}
};

// Splits an entry of a section and looks its action word up (number is left
// as it is). 1 when the action is known; 0 (action null) when the entry is
// to be skipped.
int ParsePluginEntry(PluginSection section, const CString& raw, CPluginEntry& entry);

// [section] key of a plug-in file, whole; defaultValue when absent.
CString ReadPluginValue(const char* pluginFile, const char* section, const char* key, const char* defaultValue = "");

// [General] key of a plug-in file, whole; defaultValue when absent.
inline CString ReadPluginGeneral(const char* pluginFile, const char* key, const char* defaultValue = "")
{
    return ReadPluginValue(pluginFile, "General", key, defaultValue);
}

// One section of a profile file, read in one call. Looking a key up in it
// gives exactly what GetPrivateProfileString gives for that key alone (the
// first line of that key, a line without "=" among them; blanks around the
// value and one pair of enclosing quotes dropped) without reading the file
// again for every key. The section is read in UTF-16, so a key of a Unicode
// file is never taken for the ANSI look-alike it would turn into; a key the
// one-call reading cannot answer for certain (a key line without "=", a key
// outside ASCII, whose case the profile function folds its own way) and a
// section too large to read whole are asked of the profile function.
class CProfileSection
{
public:
    CProfileSection(const char* file, const char* section);
    CString Value(const char* key, const char* defaultValue = "") const;

private:
    struct Found
    {
        CString value;
        bool ask; // the profile function answers this key itself
    };
    CString m_file;
    CString m_section;
    bool m_whole;
    bool m_asciiKeys; // every key of the section is ASCII
    std::map<CString, Found> m_values; // key in lower case: its first line
};

// The values of a section's entries that a reader reaches: key 0 up to the
// first missing or empty value, in key order.
std::vector<CString> ReadReachedEntries(const CProfileSection& values, const PluginSectionInfo& section);

// Every entry of the plug-in, all read before any of them is used: Files,
// then Folders, then Registry; within a section from key 0 up to the first
// missing or empty value. Entries with an unknown or empty action word are
// left out; over-long ones are kept, marked, never cut. A missing file gives
// no entries.
std::vector<CPluginEntry> ReadPluginEntries(const char* pluginFile);

// Placeholders of file and folder paths and their folders (no trailing
// backslash). GetPlaceholderFolders gives the current user's.
struct CPlaceholderFolders
{
    CString programs; // PIRT_PROGRAMS: program-files folder
    CString windows;  // PIRT_WINDOWS: Windows folder
    CString appData;  // PIRT_APPDATA: roaming application-data folder
};
CPlaceholderFolders GetPlaceholderFolders();

// Looks for PIRT_PROGRAMS, then PIRT_WINDOWS, then PIRT_APPDATA
// (case-sensitive); the first one found is replaced at all its occurrences
// and the others are left as they stand. 1 when the text had no placeholder
// or its folder is a non-empty absolute path; 0 otherwise (out then holds
// the text unchanged).
int ExpandPlaceholders(const CString& text, const CPlaceholderFolders& folders, CString& out);

// The text with the current user's folders put in (the text unchanged when
// the placeholder's folder is unusable).
CString ExpandPlaceholders(const CString& text);

// ---------------------------------------------------------------------------
// Writer.

// One row of the builder's item list.
struct CPluginRow
{
    CString path;
    CString kind;
    CString action;
    CString detail;
};

// A value of a plug-in file that the builder does not show, written back as
// it was read. key empty: an entry numbered on in its section's sequence
// (after the rows; afterGap: after a missing number, where no reader goes).
struct CPluginKeptValue
{
    CString section;
    CString key;
    CString value;
    int afterGap;

    CPluginKeptValue() : afterGap(0) {}
};

// What a plug-in file holds, as the builder sees it.
struct CPluginContent
{
    CString name;
    CString version;
    CString description; // written to both Description and Erlaeuterung
    CString provider;
    // Every other [General] key of the file it was read from (Admin,
    // Installed, ...), written back unchanged.
    std::vector<std::pair<CString, CString>> otherGeneral;
    std::vector<CPluginRow> rows;
    // Entries with an unknown action or too long to read whole, entries
    // after a gap, keys of other names and other sections.
    std::vector<CPluginKeptValue> kept;
};

// The key names of a section (section null: the section names of the file),
// in file order, each once whatever its case.
std::vector<CString> ReadProfileNames(const char* file, const char* section);

// The key of an entry of the section ("File3").
CString PluginEntryKey(const PluginSectionInfo& section, int number);

// The [General] keys other than the builder's five, in file order.
std::vector<std::pair<CString, CString>> ReadPluginOtherGeneral(const char* pluginFile);

// The entry text a row is written as ("" when the row has no action):
// path;word;detail with every CR, LF and CR LF turned into one blank.
CString PluginRowEntry(const CPluginRow& row);

// The builder row of an entry: path, kind, action column, and the argument
// as detail ("*.*" for the actions that take none).
CPluginRow PluginEntryRow(const CPluginEntry& entry);

enum PluginRowRefusal {
    PLUGIN_ROW_OK = 0,
    PLUGIN_ROW_UNKNOWN,   // kind and action are not in the action table
    PLUGIN_ROW_SEMICOLON, // ";" in the path: the entry would split elsewhere
    PLUGIN_ROW_TOO_LONG   // the entry is over kPluginEntryMax characters
};

// Judges a row as the writer will write it.
PluginRowRefusal CheckPluginRow(const CPluginRow& row);

struct CPluginWriteError
{
    int row; // index of the refused row, -1 when none
    PluginRowRefusal refusal;
    DWORD lastError; // of the failed file operation, 0 when none

    CPluginWriteError() : row(-1), refusal(PLUGIN_ROW_OK), lastError(0) {}
};

// Writes the plug-in file: the rows are checked first (a refused row writes
// nothing), and a read-only target is left alone; then a temporary file in
// the target's folder receives [General] (the five keys, then the others),
// [Files], [Folders], [Registry] with every write checked, and replaces the
// target in one move. 1 when written; 0 when refused or failed, with the
// temporary file deleted and the old file as it was. error (may be null)
// says why. A value that the reader would change (blanks at either end,
// enclosing quotes) is written within one more pair of quotes, so that
// every value reads back as it was given.
int WritePluginFile(const char* path, const CPluginContent& content, CPluginWriteError* error);
