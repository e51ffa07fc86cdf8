// Shared pieces of the custom.dll tests.
#pragma once
#include <gtest/gtest.h>
#include "CustomFunctions.h"
#include "services.h"
#include "language.h"
#include "testsupport.h"
#include "fw/handle.h"

using pirt_test::CReportHost;
using pirt_test::CScratchFolder;
using pirt_test::CScratchRegKey;

// The row a report list shows: text of [General] key, a blank, the item.
inline CString Row(const char* key, const CString& item) { return GetLngString("General", key) + " " + item; }

inline bool Exists(const CString& path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

inline void Touch(const CString& path, const char* text = "trace")
{
    ASSERT_TRUE(pirt_test::WriteFileText(path, text)) << (const char*)path;
}

// Holds a file open with no sharing, so nobody can delete or rewrite it.
class CLockedFile
{
public:
    explicit CLockedFile(const CString& path)
        : m_handle(::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    bool IsLocked() const { return m_handle.IsValid(); }

private:
    CHandle m_handle;
};

// Every test starts from a fresh profile, so the library seeds its own data
// root and reads its settings from there.
class CustomTest : public ::testing::Test
{
protected:
    void SetUp() override { pirt_test::ResetDataRoots(); }
    void TearDown() override { pirt_test::ResetDataRoots(); }

    CReportHost host;
};
