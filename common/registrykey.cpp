// The registry-key class.
#include "registrykey.h"
#include "fw/handle.h"

namespace {

const DWORD kValueBufferSize = 255;

} // namespace

CRegistryKey::CRegistryKey() : m_lastError(ERROR_SUCCESS), m_root(HKEY_CURRENT_USER), m_lazyWrite(TRUE) {}

CRegistryKey::~CRegistryKey()
{
    m_keyPath.Empty();
    m_root = HKEY_CURRENT_USER;
    m_lazyWrite = TRUE;
}

int CRegistryKey::SetRootKey(HKEY root)
{
    if (root != HKEY_CLASSES_ROOT && root != HKEY_CURRENT_USER && root != HKEY_LOCAL_MACHINE && root != HKEY_USERS &&
        root != HKEY_CURRENT_CONFIG)
        return 0;
    m_root = root;
    return 1;
}

int CRegistryKey::SetKey(CString path, BOOL create)
{
    if (path.IsEmpty()) {
        m_keyPath.Empty();
        return 1;
    }
    CRegKeyHandle key;
    if (create) {
        DWORD disposition = 0;
        m_lastError = RegCreateKeyExA(m_root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                      key.Receive(), &disposition);
    } else {
        m_lastError = RegOpenKeyExA(m_root, path, 0, KEY_ALL_ACCESS, key.Receive());
    }
    if (m_lastError != ERROR_SUCCESS)
        return 0;
    m_keyPath = path;
    if (!m_lazyWrite)
        RegFlushKey(key);
    return 1;
}

int CRegistryKey::KeyExists(CString subkey, HKEY root)
{
    CRegKeyHandle key;
    if (RegOpenKeyExA(root != nullptr ? root : m_root, subkey, 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS)
        return 0;
    return 1;
}

int CRegistryKey::HasValue(CString name)
{
    CRegKeyHandle key;
    m_lastError = RegOpenKeyExA(m_root, m_keyPath, 0, KEY_ALL_ACCESS, key.Receive());
    if (m_lastError != ERROR_SUCCESS)
        return 0;
    m_lastError = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr);
    return m_lastError == ERROR_SUCCESS ? 1 : 0;
}

DWORD CRegistryKey::QueryValueExists(CString name)
{
    CRegKeyHandle key;
    m_lastError = RegOpenKeyExA(m_root, m_keyPath, 0, KEY_QUERY_VALUE, key.Receive());
    if (m_lastError != ERROR_SUCCESS)
        return 0;
    DWORD type = REG_NONE;
    m_lastError = RegQueryValueExA(key, name, nullptr, &type, nullptr, nullptr);
    return m_lastError == ERROR_SUCCESS ? type : 0;
}

CString CRegistryKey::ReadString(CString name, CString defaultValue)
{
    const DWORD type = QueryValueExists(name);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return defaultValue;

    CRegKeyHandle key;
    m_lastError = RegOpenKeyExA(m_root, m_keyPath, 0, KEY_READ, key.Receive());
    if (m_lastError != ERROR_SUCCESS)
        return defaultValue;
    // One byte beyond the value's room: a value that fills the buffer has no
    // NUL of its own.
    BYTE buffer[kValueBufferSize + 1];
    DWORD size = kValueBufferSize;
    m_lastError = RegQueryValueExA(key, name, nullptr, nullptr, buffer, &size);
    if (m_lastError != ERROR_SUCCESS)
        return defaultValue;
    buffer[size <= kValueBufferSize ? size : kValueBufferSize] = '\0';
    return CString((const char*)buffer);
}

int CRegistryKey::WriteString(CString name, CString value)
{
    if (value.GetLength() >= (int)kValueBufferSize)
        return 0;
    CRegKeyHandle key;
    m_lastError = RegOpenKeyExA(m_root, m_keyPath, 0, KEY_WRITE, key.Receive());
    if (m_lastError != ERROR_SUCCESS)
        return 0;
    LONG rc = RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)(const char*)value, (DWORD)value.GetLength() + 1);
    if (!m_lazyWrite)
        RegFlushKey(key);
    return rc == ERROR_SUCCESS ? 1 : 0;
}

int CRegistryKey::DeleteValue(CString name)
{
    CRegKeyHandle key;
    if (RegOpenKeyExA(m_root, m_keyPath, 0, KEY_SET_VALUE, key.Receive()) != ERROR_SUCCESS)
        return 0;
    LONG rc = RegDeleteValueA(key, name);
    return rc == ERROR_SUCCESS ? 1 : 0;
}

int CRegistryKey::DeleteKey(CString subkey)
{
    // An empty subkey would name the root itself.
    subkey.Trim('\\');
    if (subkey.IsEmpty())
        return 0;
    // Deleting needs only the DELETE right: a key that refuses full access
    // may still be deleted through its parent.
    m_lastError = RegDeleteKeyA(m_root, subkey);
    if (m_lastError == ERROR_SUCCESS || m_lastError == ERROR_FILE_NOT_FOUND)
        return 1;
    // Whatever the delete answered, the result is whether the key is gone.
    CRegKeyHandle key;
    LONG rc = RegOpenKeyExA(m_root, subkey, 0, KEY_QUERY_VALUE, key.Receive());
    return rc == ERROR_FILE_NOT_FOUND ? 1 : 0;
}
