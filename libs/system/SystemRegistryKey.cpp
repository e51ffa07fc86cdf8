#include "SystemRegistryKey.h"
#include "fw/handle.h"

DWORD CSystemRegistryKey::QueryDwordValue(CString name, DWORD defaultValue)
{
    CRegKeyHandle key;
    m_lastError = RegOpenKeyExA(m_root, m_keyPath, 0, KEY_READ, key.Receive());
    if (m_lastError != ERROR_SUCCESS)
        return defaultValue;
    DWORD value = 0;
    DWORD size = sizeof(value);
    m_lastError = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    return m_lastError == ERROR_SUCCESS ? value : defaultValue;
}
