// Plug-in files: the action table, the reader, the writer and the
// placeholders (the entry validator has a file of its own).
#include "pluginfile.h"
#include "pathlayer.h"
#include "services.h"
#include <shlobj.h>
#include <cwchar>

namespace {

const PluginSectionInfo kSections[PLUGIN_SECTION_COUNT] = {
    {PLUGIN_FILES, "Files", "File"},
    {PLUGIN_FOLDERS, "Folders", "Folder"},
    {PLUGIN_REGISTRY, "Registry", "Reg"},
};

const PluginActionInfo kActions[PLUGIN_ACTION_COUNT] = {
    {PLUGIN_FILE_DELETE, PLUGIN_FILES, "Delete", "File", "Delete", 0, 1},
    {PLUGIN_FILE_DELETE_CONTENT, PLUGIN_FILES, "DeleteContent", "File", "DeleteContent", 0, 1},
    {PLUGIN_FILE_ERASE_MATCH, PLUGIN_FILES, "EraseMatch", "File", "EraseMatch", 0, 1},
    {PLUGIN_FOLDER_DELETE_ALL, PLUGIN_FOLDERS, "DeleteAll", "Folder", "DeleteAll", 1, 1},
    {PLUGIN_FOLDER_DELETE_ALL_BELOW, PLUGIN_FOLDERS, "DeleteAllBelow", "Folder", "DeleteAllBelow", 1, 1},
    {PLUGIN_FOLDER_DELETE_MATCH, PLUGIN_FOLDERS, "DeleteMatch", "Folder", "DeleteMatch", 0, 1},
    {PLUGIN_REG_DELETE_KEY, PLUGIN_REGISTRY, "DeleteKey", "Key", "Delete", 0, 0},
    {PLUGIN_REG_DELETE_KEY_MATCH, PLUGIN_REGISTRY, "DeleteKeyMatch", "KeyList", "DeleteMatch", 0, 0},
    {PLUGIN_REG_DELETE_VALUE, PLUGIN_REGISTRY, "DeleteValue", "Value", "Delete", 0, 0},
    {PLUGIN_REG_DELETE_VALUE_MATCH, PLUGIN_REGISTRY, "DeleteValueMatch", "ValueList", "DeleteMatch", 0, 0},
};

const char kGeneral[] = "General";

// The [General] keys the builder writes itself, in the order it writes them.
const char* const kBuilderKeys[] = {"Name", "Version", "Description", "Erlaeuterung", "Provider"};

// Reads start with this many characters and grow while a value fills them,
// so that no value is ever cut.
const DWORD kReadBuffer = 32767;

bool IsBuilderKey(const CString& key)
{
    for (const char* builderKey : kBuilderKeys)
        if (key.CompareNoCase(builderKey) == 0)
            return true;
    return false;
}

// Every CR, LF and CR LF of a value becomes one blank: a line break written
// into an INI value would start a line of its own, a section or an entry.
CString OneLine(const CString& value)
{
    CString out;
    for (int i = 0; i < value.GetLength(); ++i) {
        char c = value[i];
        if (c == '\r' && i + 1 < value.GetLength() && value[i + 1] == '\n')
            ++i;
        out += (c == '\r' || c == '\n') ? ' ' : c;
    }
    return out;
}

CString KeyName(const char* prefix, int number)
{
    CString key;
    key.Format("%s%d", prefix, number);
    return key;
}

// The folder of a file path, with its trailing backslash; "" when the path
// does not resolve.
CString FolderOf(const char* path)
{
    char full[MAX_PATH];
    char* name = nullptr;
    DWORD n = ::GetFullPathNameA(path, MAX_PATH, full, &name);
    if (n == 0 || n >= MAX_PATH || name == nullptr)
        return CString();
    return CString(full, (int)(name - full));
}

// What the profile functions take for a blank around a key or a value: white
// space and Ctrl+Z.
const char kProfileBlanks[] = " \t\r\n\v\f\x1a";

bool IsProfileBlank(wchar_t c) { return c < 0x80 && c != 0 && strchr(kProfileBlanks, (char)c) != nullptr; }

// The form of a value that the profile reader gives back unchanged. It drops
// blanks at either end and one pair of enclosing quotes: such a value goes
// within one more pair of quotes, which the reader drops again.
CString ReadBackForm(const CString& value)
{
    const int last = value.GetLength() - 1;
    if (last < 0)
        return value;
    const bool blank = IsProfileBlank((unsigned char)value[0]) || IsProfileBlank((unsigned char)value[last]);
    const bool quoted = last > 0 && (value[0] == '"' || value[0] == '\'') && value[last] == value[0];
    return blank || quoted ? "\"" + value + "\"" : value;
}

// Writes one value into the temporary file; remembers the first failure.
class CCheckedIniWriter
{
public:
    explicit CCheckedIniWriter(const CString& file) : m_file(file), m_error(0) {}

    void Write(const char* section, const char* key, const CString& value)
    {
        if (m_error != 0)
            return;
        if (!::WritePrivateProfileStringA(section, key, ReadBackForm(OneLine(value)), m_file))
            m_error = ::GetLastError() != 0 ? ::GetLastError() : ERROR_WRITE_FAULT;
    }
    DWORD Error() const { return m_error; }

private:
    CString m_file;
    DWORD m_error;
};

} // namespace

CString UserPluginFolder() { return GetUserDataFolder("\\Zex\\Ulmoro\\plug-ins\\Tolmira"); }

const PluginSectionInfo& GetPluginSection(PluginSection section)
{
    ASSERT(section >= 0 && section < PLUGIN_SECTION_COUNT);
    return kSections[section];
}

const PluginActionInfo& GetPluginAction(PluginAction action)
{
    ASSERT(action >= 0 && action < PLUGIN_ACTION_COUNT);
    return kActions[action];
}

const PluginActionInfo* FindPluginAction(PluginSection section, const char* word)
{
    for (const PluginActionInfo& info : kActions)
        if (info.section == section && strcmp(info.word, word) == 0)
            return &info;
    return nullptr;
}

const PluginActionInfo* FindPluginRowAction(const char* kind, const char* listAction)
{
    for (const PluginActionInfo& info : kActions)
        if (strcmp(info.kind, kind) == 0 && strcmp(info.listAction, listAction) == 0)
            return &info;
    return nullptr;
}

void SplitPluginEntry(const CString& entry, CString& path, CString& word, CString& argument)
{
    path.Empty();
    word.Empty();
    argument.Empty();
    int first = entry.Find(';');
    if (first < 0)
        return;
    path = entry.Left(first);
    int second = entry.Find(';', first + 1);
    if (second < 0)
        return;
    word = entry.Mid(first + 1, second - first - 1);
    argument = entry.Mid(second + 1);
}

CString ReadPluginValue(const char* pluginFile, const char* section, const char* key, const char* defaultValue)
{
    // A value that fills the buffer may have been cut: read again, larger.
    for (DWORD size = kReadBuffer;; size *= 2) {
        CString value;
        DWORD n = ::GetPrivateProfileStringA(section, key, defaultValue, value.GetBuffer((int)size), size, pluginFile);
        value.ReleaseBuffer((int)n);
        if (n + 1 < size || size >= 16 * kReadBuffer)
            return value;
    }
}

namespace {

// Blanks around the text, then one pair of enclosing quotes, as the profile
// functions drop them from a value; in UTF-16, as they do it before the
// value is turned into ANSI (where a typographic quote may become a plain one).
CString AsProfileValue(const wchar_t* text)
{
    const wchar_t* end = text + wcslen(text);
    while (text < end && IsProfileBlank(*text))
        ++text;
    while (end > text && IsProfileBlank(end[-1]))
        --end;
    if (end - text >= 2 && (*text == L'"' || *text == L'\'') && end[-1] == *text) {
        ++text;
        --end;
    }
    return NarrowToAnsi(text, (int)(end - text));
}

bool IsAscii(const wchar_t* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (text[i] >= 0x80)
            return false;
    return true;
}

bool IsAscii(const char* text)
{
    for (; *text != '\0'; ++text)
        if ((unsigned char)*text >= 0x80)
            return false;
    return true;
}

} // namespace

CProfileSection::CProfileSection(const char* file, const char* section)
    : m_file(file), m_section(section), m_whole(false), m_asciiKeys(true)
{
    // A list that fills the buffer (size - 2) may have been cut. The first
    // size fits any usual section: the profile call costs by the buffer's
    // size, not the section's, so a larger start slows every list refill.
    const std::wstring wideFile = WidenAnsi(file), wideSection = WidenAnsi(section);
    std::vector<wchar_t> buffer;
    for (DWORD size = kReadBuffer; size <= 1024 * kReadBuffer; size *= 4) {
        buffer.assign(size, L'\0');
        const DWORD n = ::GetPrivateProfileSectionW(wideSection.c_str(), buffer.data(), size, wideFile.c_str());
        if (n + 2 < size) {
            m_whole = true;
            break;
        }
    }
    if (!m_whole)
        return;
    for (const wchar_t* line = buffer.data(); *line != L'\0'; line += wcslen(line) + 1) {
        const wchar_t* equals = wcschr(line, L'=');
        const size_t keyLength = equals != nullptr ? (size_t)(equals - line) : wcslen(line);
        if (!IsAscii(line, keyLength)) {
            m_asciiKeys = false;
            continue;
        }
        CString key = NarrowToAnsi(line, (int)keyLength);
        key.Trim(kProfileBlanks);
        Found found;
        // A line without "=" still is its key's first line.
        found.ask = equals == nullptr;
        if (equals != nullptr)
            found.value = AsProfileValue(equals + 1);
        m_values.insert(std::make_pair(key.MakeLower(), found));
    }
}

CString CProfileSection::Value(const char* key, const char* defaultValue) const
{
    if (!m_whole || !m_asciiKeys || !IsAscii(key))
        return ReadPluginValue(m_file, m_section, key, defaultValue);
    auto found = m_values.find(CString(key).MakeLower());
    if (found == m_values.end())
        return CString(defaultValue);
    return found->second.ask ? ReadPluginValue(m_file, m_section, key, defaultValue) : found->second.value;
}

std::vector<CString> ReadReachedEntries(const CProfileSection& values, const PluginSectionInfo& section)
{
    std::vector<CString> reached;
    for (int number = 0;; ++number) {
        CString raw = values.Value(KeyName(section.keyPrefix, number));
        if (raw.IsEmpty())
            return reached;
        reached.push_back(raw);
    }
}

int ParsePluginEntry(PluginSection section, const CString& raw, CPluginEntry& entry)
{
    CString word;
    SplitPluginEntry(raw, entry.path, word, entry.argument);
    entry.action = FindPluginAction(section, word);
    entry.raw = raw;
    entry.tooLong = raw.GetLength() > kPluginEntryMax ? 1 : 0;
    return entry.action != nullptr ? 1 : 0;
}

std::vector<CPluginEntry> ReadPluginEntries(const char* pluginFile)
{
    std::vector<CPluginEntry> entries;
    for (const PluginSectionInfo& section : kSections) {
        const std::vector<CString> reached = ReadReachedEntries(CProfileSection(pluginFile, section.name), section);
        for (size_t number = 0; number < reached.size(); ++number) {
            CPluginEntry entry;
            entry.number = (int)number;
            if (ParsePluginEntry(section.section, reached[number], entry))
                entries.push_back(entry);
        }
    }
    return entries;
}

std::vector<CString> ReadProfileNames(const char* file, const char* section)
{
    // The names come as a list of strings ended by an empty one; a list that
    // fills the buffer (size - 2) may have been cut.
    std::vector<char> names;
    for (DWORD size = kReadBuffer;; size *= 2) {
        names.assign(size, '\0');
        DWORD n = section ? ::GetPrivateProfileStringA(section, nullptr, "", &names[0], size, file)
                          : ::GetPrivateProfileSectionNamesA(&names[0], size, file);
        if (n + 2 < size || size >= 16 * kReadBuffer)
            break;
    }
    // The profile calls find a name in any case: each once.
    std::vector<CString> out;
    for (const char* name = &names[0]; *name != '\0'; name += strlen(name) + 1) {
        bool seen = false;
        for (const CString& other : out)
            seen = seen || other.CompareNoCase(name) == 0;
        if (!seen)
            out.push_back(name);
    }
    return out;
}

CString PluginEntryKey(const PluginSectionInfo& section, int number) { return KeyName(section.keyPrefix, number); }

std::vector<std::pair<CString, CString>> ReadPluginOtherGeneral(const char* pluginFile)
{
    const CProfileSection general(pluginFile, kGeneral);
    std::vector<std::pair<CString, CString>> others;
    for (const CString& key : ReadProfileNames(pluginFile, kGeneral))
        if (!IsBuilderKey(key))
            others.push_back(std::make_pair(key, general.Value(key)));
    return others;
}

CString PluginRowEntry(const CPluginRow& row)
{
    const PluginActionInfo* info = FindPluginRowAction(row.kind, row.action);
    if (info == nullptr)
        return CString();
    return OneLine(row.path + ";" + info->word + ";" + row.detail);
}

CPluginRow PluginEntryRow(const CPluginEntry& entry)
{
    ASSERT(entry.action != nullptr);
    CPluginRow row;
    row.path = entry.path;
    row.kind = entry.action->kind;
    row.action = entry.action->listAction;
    row.detail = entry.action->anyDetail ? CString("*.*") : entry.argument;
    return row;
}

PluginRowRefusal CheckPluginRow(const CPluginRow& row)
{
    if (FindPluginRowAction(row.kind, row.action) == nullptr)
        return PLUGIN_ROW_UNKNOWN;
    if (row.path.Find(';') >= 0)
        return PLUGIN_ROW_SEMICOLON;
    if (PluginRowEntry(row).GetLength() > kPluginEntryMax)
        return PLUGIN_ROW_TOO_LONG;
    return PLUGIN_ROW_OK;
}

namespace {

// The writer's steps; result says why it stopped.
int WritePluginSteps(const char* path, const CPluginContent& content, CPluginWriteError& result)
{
    for (size_t i = 0; i < content.rows.size(); ++i) {
        result.refusal = CheckPluginRow(content.rows[i]);
        if (result.refusal != PLUGIN_ROW_OK) {
            result.row = (int)i;
            return 0;
        }
    }

    // A read-only file stays as it is: the move below would replace it
    // where the file system lets a rename through (Wine as root).
    DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        result.lastError = ERROR_ACCESS_DENIED;
        return 0;
    }

    // The new file is written beside the old one and replaces it in one
    // move, so that a failure at any point leaves the old file as it was.
    CString folder = FolderOf(path);
    char temp[MAX_PATH] = "";
    if (folder.IsEmpty() || !::GetTempFileNameA(folder, "dor", 0, temp)) {
        result.lastError = folder.IsEmpty() ? ERROR_INVALID_NAME : ::GetLastError();
        return 0;
    }

    CCheckedIniWriter writer(temp);
    const CString builderValues[] = {content.name, content.version, content.description, content.description,
                                     content.provider};
    for (size_t i = 0; i < sizeof(kBuilderKeys) / sizeof(kBuilderKeys[0]); ++i)
        writer.Write(kGeneral, kBuilderKeys[i], builderValues[i]);
    for (const auto& other : content.otherGeneral)
        if (!other.first.IsEmpty() && !IsBuilderKey(other.first))
            writer.Write(kGeneral, OneLine(other.first), other.second);

    // Sections in a fixed order, each counted from 0 without gaps. Kept
    // entries follow the rows: those a reader reached before still come
    // within the sequence, those after a gap again after one.
    for (const PluginSectionInfo& section : kSections) {
        int number = 0;
        for (const CPluginRow& row : content.rows)
            if (FindPluginRowAction(row.kind, row.action)->section == section.section)
                writer.Write(section.name, KeyName(section.keyPrefix, number++), PluginRowEntry(row));
        for (int afterGap = 0; afterGap < 2; ++afterGap) {
            bool gapLeft = false;
            for (const CPluginKeptValue& kept : content.kept) {
                if (!kept.key.IsEmpty() || kept.afterGap != afterGap || kept.section.CompareNoCase(section.name) != 0)
                    continue;
                if (afterGap && !gapLeft) {
                    ++number;
                    gapLeft = true;
                }
                writer.Write(section.name, KeyName(section.keyPrefix, number++), kept.value);
            }
        }
    }
    for (const CPluginKeptValue& kept : content.kept)
        if (!kept.key.IsEmpty() && !kept.section.IsEmpty())
            writer.Write(OneLine(kept.section), OneLine(kept.key), kept.value);

    result.lastError = writer.Error();
    if (result.lastError == 0 && !::MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING))
        result.lastError = ::GetLastError() != 0 ? ::GetLastError() : ERROR_WRITE_FAULT;
    if (result.lastError != 0) {
        ::DeleteFileA(temp);
        return 0;
    }
    return 1;
}

} // namespace

int WritePluginFile(const char* path, const CPluginContent& content, CPluginWriteError* error)
{
    CPluginWriteError result;
    int written = WritePluginSteps(path, content, result);
    if (error != nullptr)
        *error = result;
    return written;
}

// ---------------------------------------------------------------------------
// Placeholders.

CPlaceholderFolders GetPlaceholderFolders()
{
    struct Source
    {
        int csidl;
        CString CPlaceholderFolders::*folder;
    };
    static const Source sources[] = {
        {CSIDL_PROGRAM_FILES, &CPlaceholderFolders::programs},
        {CSIDL_WINDOWS, &CPlaceholderFolders::windows},
        {CSIDL_APPDATA, &CPlaceholderFolders::appData},
    };
    CPlaceholderFolders folders;
    for (const Source& source : sources)
        folders.*source.folder = GetShellFolderPath(source.csidl);
    return folders;
}

int ExpandPlaceholders(const CString& text, const CPlaceholderFolders& folders, CString& out)
{
    const struct
    {
        const char* word;
        const CString* folder;
    } placeholders[] = {
        {"PIRT_PROGRAMS", &folders.programs},
        {"PIRT_WINDOWS", &folders.windows},
        {"PIRT_APPDATA", &folders.appData},
    };
    out = text;
    for (const auto& placeholder : placeholders) {
        if (text.Find(placeholder.word) < 0)
            continue;
        // An empty or relative folder would turn the entry into a path
        // relative to wherever the program happens to stand.
        if (placeholder.folder->IsEmpty() || !IsAbsolutePathText(*placeholder.folder))
            return 0;
        CString folder = *placeholder.folder;
        if (folder.GetLength() > 3)
            folder.TrimRight('\\');
        out.Replace(placeholder.word, folder);
        return 1;
    }
    return 1;
}

CString ExpandPlaceholders(const CString& text)
{
    CString out;
    ExpandPlaceholders(text, GetPlaceholderFolders(), out);
    return out;
}
