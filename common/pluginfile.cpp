// Plug-in files: reader, writer, placeholders and the entry validator, which
// judges every path through the path layer before anything deletes by it.
#include "pluginfile.h"
#include "pathlayer.h"
#include "services.h"
#include <shlobj.h>

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

// Writes one value into the temporary file; remembers the first failure.
class CCheckedIniWriter
{
public:
    explicit CCheckedIniWriter(const CString& file) : m_file(file), m_error(0) {}

    void Write(const char* section, const char* key, const CString& value)
    {
        if (m_error != 0)
            return;
        if (!::WritePrivateProfileStringA(section, key, OneLine(value), m_file))
            m_error = ::GetLastError() != 0 ? ::GetLastError() : ERROR_WRITE_FAULT;
    }
    DWORD Error() const { return m_error; }

private:
    CString m_file;
    DWORD m_error;
};

} // namespace

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

std::string LowerAscii(const char* text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return lower;
}

// Blanks around the text, then one pair of enclosing quotes, as the profile
// functions drop them from a value.
CString AsProfileValue(CString value)
{
    value.Trim(" \t\r\n\v\f");
    const int last = value.GetLength() - 1;
    if (last > 0 && (value[0] == '"' || value[0] == '\'') && value[last] == value[0])
        value = value.Mid(1, last - 1);
    return value;
}

} // namespace

CProfileSection::CProfileSection(const char* file, const char* section)
    : m_file(file), m_section(section), m_whole(false)
{
    // A list that fills the buffer (size - 2) may have been cut.
    std::vector<char> buffer;
    for (DWORD size = 16 * kReadBuffer; size <= 1024 * kReadBuffer; size *= 4) {
        buffer.assign(size, '\0');
        const DWORD n = ::GetPrivateProfileSectionA(section, buffer.data(), size, file);
        if (n + 2 < size) {
            m_whole = true;
            break;
        }
    }
    if (!m_whole)
        return;
    for (const char* line = buffer.data(); *line != '\0'; line += strlen(line) + 1) {
        // A line without "=" holds no value: the key reads as missing.
        const char* equals = strchr(line, '=');
        if (equals == nullptr)
            continue;
        CString key(line, (int)(equals - line));
        key.Trim(" \t\r\n\v\f");
        m_first.insert(std::make_pair(LowerAscii(key), m_values.size()));
        m_values.push_back(std::make_pair(key, AsProfileValue(equals + 1)));
    }
}

CString CProfileSection::Value(const char* key, const char* defaultValue) const
{
    if (!m_whole)
        return ReadPluginValue(m_file, m_section, key, defaultValue);
    auto found = m_first.find(LowerAscii(key));
    return found != m_first.end() ? m_values[found->second].second : CString(defaultValue);
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
        const CProfileSection values(pluginFile, section.name);
        for (int number = 0;; ++number) {
            CString raw = values.Value(KeyName(section.keyPrefix, number));
            if (raw.IsEmpty())
                break;
            CPluginEntry entry;
            entry.number = number;
            if (ParsePluginEntry(section.section, raw, entry))
                entries.push_back(entry);
        }
    }
    return entries;
}

std::vector<std::pair<CString, CString>> ReadPluginOtherGeneral(const char* pluginFile)
{
    // The key names come as a list of strings ended by an empty one; a list
    // that fills the buffer (size - 2) may have been cut.
    std::vector<char> names;
    for (DWORD size = kReadBuffer;; size *= 2) {
        names.assign(size, '\0');
        DWORD n = ::GetPrivateProfileStringA(kGeneral, nullptr, "", &names[0], size, pluginFile);
        if (n + 2 < size || size >= 16 * kReadBuffer)
            break;
    }

    std::vector<std::pair<CString, CString>> others;
    for (const char* name = &names[0]; *name != '\0'; name += strlen(name) + 1) {
        CString key(name);
        if (IsBuilderKey(key))
            continue;
        bool seen = false;
        for (const auto& other : others)
            seen = seen || other.first.CompareNoCase(key) == 0;
        if (!seen)
            others.push_back(std::make_pair(key, ReadPluginGeneral(pluginFile, key)));
    }
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

// ---------------------------------------------------------------------------
// Entry validator.

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Components that resolve to something other than what they spell: "." and
// ".." (also with trailing dots or blanks, which Windows drops), wildcards,
// and the device and long-path prefixes, which bypass normalisation.
bool HasBadComponent(const CString& path)
{
    if (path.GetLength() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == '?' || path[2] == '.') &&
        IsSeparator(path[3]))
        return true;
    if (path.FindOneOf("*?") >= 0)
        return true;
    int start = 0;
    for (int i = 0; i <= path.GetLength(); ++i) {
        if (i < path.GetLength() && !IsSeparator(path[i]))
            continue;
        CString component = path.Mid(start, i - start);
        if (!component.IsEmpty() && component.SpanIncluding(". ").GetLength() == component.GetLength() &&
            component.Find('.') >= 0)
            return true;
        start = i + 1;
    }
    return false;
}

bool ContainsNoCase(const CString& text, const CString& part)
{
    CString lowerText(text), lowerPart(part);
    return lowerText.MakeLower().Find(lowerPart.MakeLower()) >= 0;
}

CString SystemFolder(int csidl)
{
    const CString path = GetShellFolderPath(csidl);
    if (path.IsEmpty())
        return CString();
    // Every folder entry asks for the same two folders: the canonical form of
    // a text the shell gave last time is not worked out again.
    thread_local std::vector<std::pair<CString, CString>> t_known;
    for (const auto& known : t_known)
        if (known.first.Compare(path) == 0)
            return known.second;
    const CString canonical = CanonicalPath(path);
    if (t_known.size() >= 4)
        t_known.clear();
    t_known.push_back(std::make_pair(path, canonical));
    return canonical;
}

// Anything inside the system folders is Windows' own, whatever it is called.
bool IsInsideSystemFolder(const CString& canonical)
{
    static const int folders[] = {CSIDL_SYSTEM, CSIDL_SYSTEMX86};
    CString finalPath = FinalPath(canonical);
    for (int csidl : folders) {
        CString system = SystemFolder(csidl);
        if (system.IsEmpty())
            continue;
        if (IsPathInside(canonical, system) || (!finalPath.IsEmpty() && IsPathInside(finalPath, system)))
            return true;
    }
    return false;
}

PluginRefusal FolderRefusal(PathVerdict verdict)
{
    static const struct
    {
        PathVerdict verdict;
        PluginRefusal refusal;
    } map[] = {
        {PATH_OK, PLUGIN_ENTRY_OK},       {PATH_NOT_ABSOLUTE, PLUGIN_REFUSED_NOT_ABSOLUTE},
        {PATH_ROOT, PLUGIN_REFUSED_ROOT}, {PATH_PROTECTED, PLUGIN_REFUSED_PROTECTED},
        {PATH_LINK, PLUGIN_REFUSED_LINK},
    };
    for (const auto& entry : map)
        if (entry.verdict == verdict)
            return entry.refusal;
    return PLUGIN_REFUSED_BAD_PATH;
}

PluginRefusal ValidatePathEntry(const CPluginEntry& entry, const CPlaceholderFolders& folders, CPluginTarget& target)
{
    const PluginAction action = entry.action->action;
    CString path;
    if (!ExpandPlaceholders(entry.path, folders, path))
        return PLUGIN_REFUSED_PLACEHOLDER;

    // The file actions name a file below the path; without a name the target
    // would be the folder path itself.
    const bool namesFile = action == PLUGIN_FILE_DELETE || action == PLUGIN_FILE_DELETE_CONTENT;
    if (namesFile && entry.argument.IsEmpty())
        return PLUGIN_REFUSED_EMPTY_TEXT;
    CString raw = namesFile ? path + "\\" + entry.argument : path;

    if (!IsAbsolutePathText(raw))
        return PLUGIN_REFUSED_NOT_ABSOLUTE;
    if (HasBadComponent(raw))
        return PLUGIN_REFUSED_BAD_PATH;
    CString canonical = CanonicalPath(raw);
    if (canonical.IsEmpty())
        return PLUGIN_REFUSED_BAD_PATH;

    if (action == PLUGIN_FILE_ERASE_MATCH) {
        int comma = entry.argument.Find(',');
        target.first = comma < 0 ? CString() : entry.argument.Left(comma);
        target.second = comma < 0 ? entry.argument : entry.argument.Mid(comma + 1);
        target.second.TrimLeft(',');
        if (target.first.IsEmpty() || target.second.IsEmpty())
            return PLUGIN_REFUSED_EMPTY_TEXT;
    }

    if (entry.action->section == PLUGIN_FOLDERS) {
        if (action == PLUGIN_FOLDER_DELETE_MATCH) {
            // A text found in the folder's own path matches every file in it.
            if (entry.argument.IsEmpty())
                return PLUGIN_REFUSED_EMPTY_TEXT;
            if (ContainsNoCase(canonical + "\\", entry.argument) || ContainsNoCase(raw + "\\", entry.argument))
                return PLUGIN_REFUSED_MATCHES_ALL;
            target.first = entry.argument;
        }
        PluginRefusal refusal = FolderRefusal(CheckCanonicalFolderTarget(raw, canonical));
        if (refusal != PLUGIN_ENTRY_OK)
            return refusal;
    }
    // A file there is Windows' own as much as a folder is.
    if (IsInsideSystemFolder(canonical))
        return PLUGIN_REFUSED_PROTECTED;
    target.path = canonical;
    return PLUGIN_ENTRY_OK;
}

// Key paths as root word and components, without empty components.
struct CKeyPath
{
    CString root;
    std::vector<CString> components;

    void Add(const CString& text)
    {
        int start = 0;
        for (int i = 0; i <= text.GetLength(); ++i) {
            if (i < text.GetLength() && text[i] != '\\')
                continue;
            if (i > start)
                components.push_back(text.Mid(start, i - start));
            start = i + 1;
        }
    }
    CString Below() const
    {
        CString out;
        for (size_t i = 0; i < components.size(); ++i)
            out += (i == 0 ? "" : "\\") + components[i];
        return out;
    }
    // 1 when this key is other or lies above it.
    bool IsAtOrAbove(const CKeyPath& other) const
    {
        if (root.Compare(other.root) != 0 || components.size() > other.components.size())
            return false;
        for (size_t i = 0; i < components.size(); ++i)
            if (components[i].CompareNoCase(other.components[i]) != 0)
                return false;
        return true;
    }
};

bool SplitRegistryPath(const CString& path, CKeyPath& key)
{
    static const char* const roots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                        "HKEY_CURRENT_CONFIG"};
    int slash = path.Find('\\');
    key.root = slash < 0 ? path : path.Left(slash);
    key.components.clear();
    if (slash >= 0)
        key.Add(path.Mid(slash + 1));
    for (const char* root : roots)
        if (key.root.Compare(root) == 0)
            return true;
    return false;
}

// Keys whose loss breaks Windows, the shell or the suite itself.
bool IsProtectedKey(const CKeyPath& key)
{
    static const char* const protectedKeys[] = {
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion",
        "HKEY_CURRENT_USER\\Software\\Classes",
        "HKEY_CURRENT_USER\\Software\\Policies",
        "HKEY_CURRENT_USER\\Software\\Talvery",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes",
        "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet",
        // The same keys under the names they also go by.
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Classes",
        "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001",
        "HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet002",
    };
    for (const char* text : protectedKeys) {
        CKeyPath protectedKey;
        SplitRegistryPath(text, protectedKey);
        if (key.IsAtOrAbove(protectedKey))
            return true;
    }
    return false;
}

// Every hive below HKEY_USERS (".DEFAULT", each profile's SID) is some
// user's HKEY_CURRENT_USER, and <hive>_Classes is its Software\Classes:
// judged as those.
CKeyPath AsCurrentUser(const CKeyPath& key)
{
    if (key.root.Compare("HKEY_USERS") != 0 || key.components.empty())
        return key;
    static const char kClasses[] = "_Classes";
    const int suffix = (int)sizeof(kClasses) - 1;
    const CString& hive = key.components[0];
    CKeyPath mapped;
    mapped.root = "HKEY_CURRENT_USER";
    if (hive.GetLength() > suffix && hive.Right(suffix).CompareNoCase(kClasses) == 0)
        mapped.Add("Software\\Classes");
    mapped.components.insert(mapped.components.end(), key.components.begin() + 1, key.components.end());
    return mapped;
}

PluginRefusal ValidateRegistryEntry(const CPluginEntry& entry, CPluginTarget& target)
{
    CKeyPath key;
    if (!SplitRegistryPath(entry.path, key) || key.components.empty())
        return PLUGIN_REFUSED_REG_ROOT;
    CString argument = entry.argument;
    argument.Trim();

    const PluginAction action = entry.action->action;
    if (argument.IsEmpty() && action != PLUGIN_REG_DELETE_VALUE)
        return PLUGIN_REFUSED_EMPTY_TEXT;
    if (action == PLUGIN_REG_DELETE_KEY) {
        CKeyPath subkey;
        subkey.Add(argument);
        if (subkey.components.empty())
            return PLUGIN_REFUSED_EMPTY_TEXT;
        argument = subkey.Below();
        CKeyPath whole = key;
        whole.components.insert(whole.components.end(), subkey.components.begin(), subkey.components.end());
        whole = AsCurrentUser(whole);
        if (whole.components.size() < 2)
            return PLUGIN_REFUSED_REG_SHALLOW;
        if (IsProtectedKey(whole))
            return PLUGIN_REFUSED_REG_PROTECTED;
    }
    target.path = key.root + "\\" + key.Below();
    target.first = argument;
    return PLUGIN_ENTRY_OK;
}

} // namespace

PluginRefusal ValidatePluginEntry(const CPluginEntry& entry, const CPlaceholderFolders& folders, CPluginTarget* target)
{
    ASSERT(entry.action != nullptr);
    if (entry.tooLong || entry.raw.GetLength() > kPluginEntryMax)
        return PLUGIN_REFUSED_TOO_LONG;
    CPluginTarget result;
    result.action = entry.action;
    PluginRefusal refusal = entry.action->section == PLUGIN_REGISTRY ? ValidateRegistryEntry(entry, result)
                                                                     : ValidatePathEntry(entry, folders, result);
    if (refusal == PLUGIN_ENTRY_OK && target != nullptr)
        *target = result;
    return refusal;
}
