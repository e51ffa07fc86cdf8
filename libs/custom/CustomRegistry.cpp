// CCustomFunctions: registry keys and values, by name and by match.
#include "CustomFunctions.h"
#include "fw/handle.h"
#include "language.h"
#include <algorithm>
#include <vector>
#include <cstring>

namespace {

// Key names are at most 255 characters and value names at most 16,383; in a
// double-byte code page each may take two bytes per character.
const DWORD kKeyNameBytes = 2 * 256;
const DWORD kValueNameBytes = 2 * 16384;

// "HKEY_CURRENT_USER\Software\Vendor" -> HKEY_CURRENT_USER, "Software\Vendor".
bool SplitKeyPath(const CString& keyPath, HKEY& root, CString& path)
{
    static const struct
    {
        const char* name;
        HKEY key;
    } roots[] = {
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {"HKEY_USERS", HKEY_USERS},
        {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    };
    int slash = keyPath.Find('\\');
    CString rootName = slash < 0 ? keyPath : keyPath.Left(slash);
    path = slash < 0 ? CString() : keyPath.Mid(slash + 1);
    path.TrimLeft('\\');
    for (size_t i = 0; i < sizeof(roots) / sizeof(roots[0]); ++i) {
        if (rootName.Compare(roots[i].name) == 0) {
            root = roots[i].key;
            return true;
        }
    }
    return false;
}

// A registry symbolic link: deleting below it would delete in its target.
bool IsLinkKey(HKEY parent, const char* name)
{
    CRegKeyHandle key;
    if (::RegOpenKeyExA(parent, name, REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    LONG rc = ::RegQueryValueExA(key, "SymbolicLinkValue", nullptr, &type, nullptr, nullptr);
    return rc == ERROR_SUCCESS && type == REG_LINK;
}

// Deletes parent\name with everything below it, deepest keys first. Any key
// that cannot be opened or deleted ends the whole delete as failed.
LONG DeleteKeyTree(HKEY parent, const char* name)
{
    if (IsLinkKey(parent, name))
        return ERROR_ACCESS_DENIED;

    CRegKeyHandle key;
    LONG rc = ::RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, key.Receive());
    if (rc != ERROR_SUCCESS)
        return rc;
    std::vector<char> sub(kKeyNameBytes);
    for (;;) {
        DWORD length = kKeyNameBytes;
        rc = ::RegEnumKeyExA(key, 0, &sub[0], &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc == ERROR_SUCCESS)
            rc = DeleteKeyTree(key, &sub[0]);
        if (rc != ERROR_SUCCESS)
            return rc;
    }
    // The key is closed before it is deleted through its parent.
    key.Close();
    return ::RegDeleteKeyA(parent, name);
}

// Case-sensitive containment. An empty text matches nothing: it would
// otherwise take every value or key (every start-up entry of a Run key).
bool Matches(const char* name, const CString& text) { return !text.IsEmpty() && std::strstr(name, text) != nullptr; }

CString Quoted(const CString& text) { return CString("\"") + text + "\""; }

enum NameKind { kSubKeys, kValues };

// The sub-keys (as "path\name", last first) or the values of keyPath whose
// names contain text, with the root and path keyPath names. A root alone, an
// unknown root or a key that cannot be read has none.
std::vector<CString> MatchingNames(const CString& keyPath, const CString& text, NameKind kind, HKEY& root,
                                   CString& path)
{
    std::vector<CString> names;
    if (!SplitKeyPath(keyPath, root, path) || path.IsEmpty())
        return names;
    CRegKeyHandle key;
    if (::RegOpenKeyExA(root, path, 0, kind == kSubKeys ? KEY_READ : KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
        return names;
    std::vector<char> name(kind == kSubKeys ? kKeyNameBytes : kValueNameBytes);
    for (DWORD i = 0;; ++i) {
        DWORD length = (DWORD)name.size();
        LONG rc = kind == kSubKeys ? ::RegEnumKeyExA(key, i, &name[0], &length, nullptr, nullptr, nullptr, nullptr)
                                   : ::RegEnumValueA(key, i, &name[0], &length, nullptr, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS)
            break;
        if (Matches(&name[0], text))
            names.push_back(kind == kSubKeys ? path + "\\" + &name[0] : CString(&name[0]));
    }
    if (kind == kSubKeys)
        std::reverse(names.begin(), names.end());
    return names;
}

// Removes each matched name (a key or a value, by the remove member) below
// root\path, one quoted row each. The key is only opened: a cleaner never
// creates keys. When it cannot be opened for deleting, each match still gets
// its failed row. Returns whether the key could be opened.
int DeleteMatchedNames(CCustomFunctions& custom, HKEY root, const CString& path, const std::vector<CString>& names,
                       int (CRegistryKey::*remove)(CString), CListCtrl* list, CProgressCtrl* progress)
{
    custom.m_regKey.SetRootKey(root);
    const int opened = custom.m_regKey.SetKey(path, FALSE);
    for (size_t i = 0; i < names.size(); ++i) {
        const CString item = Quoted(names[i]) + " ";
        custom.ReportStart(item, list, 0);
        int ok = opened ? (custom.m_regKey.*remove)(names[i]) : 0;
        custom.ReportResult(item, ok, progress, list, 1);
    }
    return opened;
}

} // namespace

int CCustomFunctions::DeleteRegKey(CString keyPath, CString subkey, CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteRegKey", progress);
    const CString item = keyPath + "\\" + subkey;
    ReportStart(item, list, 0);

    HKEY root;
    CString path;
    if (!SplitKeyPath(keyPath, root, path))
        return 0;

    // Without a sub-key (or without a key below the root) the delete would
    // take the parent key, or a whole hive branch, with everything below it.
    CString name = subkey;
    name.Trim('\\');
    int ok = 0;
    if (!name.IsEmpty() && !path.IsEmpty()) {
        CRegKeyHandle parent;
        if (::RegOpenKeyExA(root, path, 0, KEY_WRITE, parent.Receive()) == ERROR_SUCCESS) {
            ok = DeleteKeyTree(parent, name) == ERROR_SUCCESS ? 1 : 0;
        }
    }
    ReportResult(item, ok, progress, list, 1);
    return ok;
}

int CCustomFunctions::DeleteRegKeyByMatch(CString keyPath, CString text, CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteRegKeyByMatch", progress);
    ReportStart(GetLngString("General", "24080") + " " + Quoted(text), list, 0);

    HKEY root;
    CString path;
    const std::vector<CString> names = MatchingNames(keyPath, text, kSubKeys, root, path);
    if (names.empty())
        return 1;

    DeleteMatchedNames(*this, root, path, names, &CRegistryKey::DeleteKey, list, progress);
    return 1;
}

int CCustomFunctions::DeleteRegValue(CString keyPath, CString valueName, CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteRegValue", progress);
    const CString item = keyPath + "\\" + valueName;
    ReportStart(item, list, 0);

    HKEY root;
    CString path;
    if (!SplitKeyPath(keyPath, root, path))
        return 0;

    m_regKey.SetRootKey(root);
    int ok = m_regKey.SetKey(path, FALSE) && m_regKey.DeleteValue(valueName) ? 1 : 0;
    ReportResult(item, ok, progress, list, 1);
    return ok;
}

int CCustomFunctions::DeleteRegValueByMatch(CString keyPath, CString text, CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("DeleteRegValueByMatch", progress);
    ReportStart(GetLngString("General", "24080") + " " + Quoted(text), list, 0);

    HKEY root;
    CString path;
    const std::vector<CString> names = MatchingNames(keyPath, text, kValues, root, path);
    if (names.empty())
        return 0;

    return DeleteMatchedNames(*this, root, path, names, &CRegistryKey::DeleteValue, list, progress) ? 1 : 0;
}
