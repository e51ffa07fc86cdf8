#include "PluginList.h"
#include "pluginfile.h"
#include "pirt.h"
#include "Settings.h"
#include "useradmin.h"
#include <cctype>

CString ProgramPluginFolder() { return GetProgramSubfolder("\\plug-ins\\Tolmira"); }

CString StateFilePath()
{
    const CString folder = UserPluginFolder();
    return folder.IsEmpty() ? CString() : folder + "\\Tolmira.dat";
}

CString PluginStateKey(const CString& name)
{
    // A key holding none of these reads back as it stands and is stored
    // unchanged, so the files of earlier versions stay readable.
    CString key;
    for (int i = 0; i < name.GetLength(); ++i) {
        const char c = name[i];
        const bool edge = i == 0 || i == name.GetLength() - 1;
        const bool lead = i == 0 && (c == ';' || c == '[');
        if (c == '%' || c == '=' || lead || (edge && (c == ' ' || c == '\t'))) {
            CString escaped;
            escaped.Format("%%%02X", (unsigned char)c);
            key += escaped;
        } else
            key += c;
    }
    return key;
}

namespace {

// [section] name as value(key, defaultValue) gives the section's keys.
template <class Value>
CString LookUpPluginState(const CString& name, const char* defaultValue, const Value& value)
{
    const CString key = PluginStateKey(name);
    // Earlier versions stored the name as it stands: that key still reads
    // back for a name whose only escaped character is "%", unless it could
    // be the escaped key of another name ("x%3Dy" is that of "x=y").
    CString plain(name);
    plain.Replace("%", "_");
    bool earlierKey = name.Find('%') >= 0 && PluginStateKey(plain) == plain;
    for (int at = name.Find('%'); earlierKey && at >= 0; at = name.Find('%', at + 1))
        earlierKey = !(at + 2 < name.GetLength() && isxdigit((unsigned char)name[at + 1]) &&
                       isxdigit((unsigned char)name[at + 2]));
    const CString found = value(key, earlierKey ? "" : defaultValue);
    if (earlierKey && found.IsEmpty())
        return value(name, defaultValue);
    return found;
}

} // namespace

CPluginStateSection::CPluginStateSection(const char* section) : CPluginStateSection(section, StateFilePath()) {}

CPluginStateSection::CPluginStateSection(const char* section, const CString& statePath)
{
    if (!statePath.IsEmpty())
        m_values.reset(new CProfileSection(statePath, section));
}

CString CPluginStateSection::Read(const CString& name, const char* defaultValue) const
{
    if (!m_values)
        return CString(defaultValue);
    return LookUpPluginState(name, defaultValue,
                             [this](const CString& key, const char* fallback) { return m_values->Value(key, fallback); });
}

CString ReadPluginState(const char* section, const CString& name, const char* defaultValue)
{
    const CString path = StateFilePath();
    if (path.IsEmpty())
        return CString(defaultValue);
    // One key: the file's own look-up, without reading the whole section.
    return LookUpPluginState(name, defaultValue, [&](const CString& key, const char* fallback) {
        char value[256] = "";
        ::GetPrivateProfileStringA(section, key, fallback, value, sizeof(value), path);
        return CString(value);
    });
}

BOOL WritePluginState(const char* section, const CString& name, const char* value)
{
    const CString path = StateFilePath();
    if (path.IsEmpty())
        return FALSE;
    // Without the folder the write would fail unnoticed and the tick be lost.
    CreateFullPath(UserPluginFolder());
    return ::WritePrivateProfileStringA(section, PluginStateKey(name), value, path);
}

namespace {

const char* const kRootWords[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                  "HKEY_CURRENT_CONFIG"};
const HKEY kRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG};

} // namespace

InstalledResult InstalledTest(const CString& installedValue)
{
    return InstalledTest(installedValue, GetPlaceholderFolders());
}

InstalledResult InstalledTest(const CString& installedValue, const CPlaceholderFolders& folders)
{
    if (installedValue.IsEmpty())
        return INSTALLED_MISSING;
    int slash = installedValue.Find('\\');
    CString root = slash < 0 ? CString() : installedValue.Left(slash);
    for (size_t i = 0; i < sizeof(kRoots) / sizeof(kRoots[0]); ++i) {
        if (root != kRootWords[i])
            continue;
        CString keyPath = installedValue.Mid(slash + 1);
        keyPath.TrimLeft('\\');
        CRegistryKey key;
        key.SetRootKey(kRoots[i]);
        return key.KeyExists(keyPath, kRoots[i]) ? INSTALLED_PRESENT : INSTALLED_MISSING;
    }
    // An unusable placeholder folder leaves the text as it stands, as the
    // run does.
    CString path;
    ExpandPlaceholders(installedValue, folders, path);
    return FileExists(path) ? INSTALLED_PRESENT : INSTALLED_MISSING;
}

BOOL IsPluginListed(BOOL adminOnly, BOOL userIsAdmin, const CString& override, BOOL viewAll,
                    const std::function<InstalledResult()>& installedTest)
{
    if (adminOnly && !userIsAdmin)
        return FALSE;
    if (override == "yes")
        return TRUE;
    if (override == "no" && !viewAll)
        return FALSE;
    return viewAll || installedTest() == INSTALLED_PRESENT;
}

CString ReadPluginDescription(const char* pluginFile, BOOL english)
{
    return ReadPluginDescription(CProfileSection(pluginFile, "General"), english);
}

CString ReadPluginDescription(const CProfileSection& general, BOOL english)
{
    return english ? general.Value("Description", "No Description available.")
                   : general.Value("Erlaeuterung", "Keine deutsche Beschreibung verf\xfcgbar.");
}

bool CPluginListQuery::operator==(const CPluginListQuery& other) const
{
    return folders[0] == other.folders[0] && folders[1] == other.folders[1] && statePath == other.statePath &&
           placeholders.programs == other.placeholders.programs &&
           placeholders.windows == other.placeholders.windows && placeholders.appData == other.placeholders.appData &&
           !userIsAdmin == !other.userIsAdmin && !viewAll == !other.viewAll &&
           !englishDescription == !other.englishDescription;
}

CPluginListQuery CurrentPluginListQuery(BOOL englishDescription)
{
    CPluginListQuery query;
    query.folders[0] = UserPluginFolder();
    query.folders[1] = ProgramPluginFolder();
    query.statePath = StateFilePath();
    query.placeholders = GetPlaceholderFolders();
    query.userIsAdmin = IsUserAdmin();
    query.viewAll = FarnochYes("Farnoch", "ViewAll");
    query.englishDescription = englishDescription;
    return query;
}
