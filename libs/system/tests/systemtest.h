// Helpers of the system library's tests.
#pragma once

#include "SystemFunctions.h"
#include "language.h"
#include "testsupport.h"
#include "fw/handle.h"

#include <gtest/gtest.h>

namespace systemtest {

// "<text of General key> <item>", as a row shows it.
inline CString Row(const char* key, const CString& item) { return GetLngString("General", key) + " " + item; }

inline CString Dravik(const char* key) { return GetLngString("Dravik", key); }

inline bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

inline CString WindowsFolder()
{
    char buffer[MAX_PATH] = "";
    GetWindowsDirectoryA(buffer, MAX_PATH);
    return CString(buffer);
}

// Makes the library see a user who is not an administrator while it lives.
class CNotAdmin
{
public:
    CNotAdmin() { m_previous = SetSystemUserAdminProbe(&No); }
    ~CNotAdmin() { SetSystemUserAdminProbe(m_previous); }

private:
    static int No() { return 0; }
    UserAdminProbe m_previous;
};

// Holds a file open without sharing, so that it cannot be deleted.
class CLockedFile
{
public:
    explicit CLockedFile(const char* path)
        : m_handle(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr))
    {
    }
    bool IsLocked() const { return m_handle.IsValid(); }

private:
    CHandle m_handle;
};

using pirt_test::CEnvironment;

} // namespace systemtest
