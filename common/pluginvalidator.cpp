// The entry validator: every path of an entry is judged through the path
// layer, every key against the protected keys, before anything deletes by it.
#include "pluginvalidator.h"
#include "pathlayer.h"
#include "services.h"
#include <shlobj.h>

namespace {

// Components that resolve to something other than what they spell: "." and
// ".." (also with trailing dots or blanks, which Windows drops), characters
// no name may hold (the file system's patterns among them), and the device and long-path prefixes, which bypass normalisation.
bool HasBadComponent(const CString& path)
{
    if (path.GetLength() >= 4 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && (path[2] == '?' || path[2] == '.') &&
        IsPathSeparator(path[3]))
        return true;
    if (HasForbiddenNameCharacter(path))
        return true;
    int start = 0;
    for (int i = 0; i <= path.GetLength(); ++i) {
        if (i < path.GetLength() && !IsPathSeparator(path[i]))
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

CString SystemFolder(const CString& path)
{
    if (path.IsEmpty())
        return CString();
    // Every entry asks for the same few folders: the canonical form of
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

// Anything inside the system folders is Windows' own, whatever it is called:
// the process's own, the 32-bit one and, for a 32-bit process on 64-bit
// Windows, the real one.
bool IsInsideSystemFolder(const CString& canonical)
{
    const CString folders[] = {GetShellFolderPath(CSIDL_SYSTEM), GetShellFolderPath(CSIDL_SYSTEMX86),
                               NativeSystemFolder()};
    CString finalPath = FinalPath(canonical, PATH_MAY_REMEMBER);
    for (const CString& folder : folders) {
        CString system = SystemFolder(folder);
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

// "ControlSet" and three digits: one of the machine's stored control sets.
bool IsControlSetName(const CString& name)
{
    static const char kControlSet[] = "ControlSet";
    const int prefix = (int)sizeof(kControlSet) - 1;
    if (name.GetLength() != prefix + 3 || name.Left(prefix).CompareNoCase(kControlSet) != 0)
        return false;
    for (int i = prefix; i < name.GetLength(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

// Keys whose loss breaks Windows, the shell or the suite itself.
bool IsProtectedKey(const CKeyPath& key)
{
    static const char* const protectedKeys[] = {
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion",
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT",
        "HKEY_CURRENT_USER\\Software\\Classes",
        "HKEY_CURRENT_USER\\Software\\Policies",
        "HKEY_CURRENT_USER\\Software\\Talvery",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies",
        "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet",
        "HKEY_LOCAL_MACHINE\\SYSTEM\\Select",
        // The same keys under the names they also go by.
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Classes",
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Policies",
    };
    for (const char* text : protectedKeys) {
        CKeyPath protectedKey;
        SplitRegistryPath(text, protectedKey);
        if (key.IsAtOrAbove(protectedKey))
            return true;
    }
    // Every stored control set (CurrentControlSet names one of them).
    return key.root.Compare("HKEY_LOCAL_MACHINE") == 0 && key.components.size() <= 2 &&
           (key.components.empty() || key.components[0].CompareNoCase("SYSTEM") == 0) &&
           (key.components.size() < 2 || IsControlSetName(key.components[1]));
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
