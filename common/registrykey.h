// A root key and a key path with the few registry operations the suite needs.
// Every operation opens the key, works and closes it: no handle outlives a
// call. Derived classes may add readers of their own.
#pragma once
#include "fw/framework.h"

class CRegistryKey
{
public:
    CRegistryKey();
    ~CRegistryKey();

    // 1 for HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
    // HKEY_USERS or HKEY_CURRENT_CONFIG; anything else is refused (0).
    int SetRootKey(HKEY root);

    // Opens (or with create, creates) the key and stores its path. An empty
    // path clears the stored path. 0 keeps the previous path.
    int SetKey(CString path, BOOL create);

    // 1 when root\subkey opens with full access (root null: the object's root).
    int KeyExists(CString subkey, HKEY root = nullptr);

    // 1 when the value exists in the current key.
    int HasValue(CString name);

    // Type of the value (REG_SZ, ...), 0 when the key or the value is missing.
    DWORD QueryValueExists(CString name);

    // A REG_SZ / REG_EXPAND_SZ value (unexpanded, under 255 bytes), else the
    // default.
    CString ReadString(CString name, CString defaultValue);

    // Writes a REG_SZ value; values of 255 characters or more are refused.
    int WriteString(CString name, CString value);

    // 1 when the value was deleted.
    int DeleteValue(CString name);

    // Deletes root\subkey (not recursive; only the DELETE right on it is
    // needed): 1 when the key is gone afterwards (also when it was absent),
    // 0 when it is still there (subkeys, no right) or the subkey is empty.
    int DeleteKey(CString subkey);

    HKEY GetRootKey() const { return m_root; }
    CString GetKeyPath() const { return m_keyPath; }
    LONG GetLastResult() const { return m_lastError; }
    void SetLazyWrite(BOOL lazy) { m_lazyWrite = lazy; }

protected:
    LONG m_lastError;
    HKEY m_root;
    BOOL m_lazyWrite;
    CString m_keyPath;
};
