// The registry-key class against a scratch key.
#include <gtest/gtest.h>
#include "fw/handle.h"
#include "pirt.h"
#include "testsupport.h"
#include <sddl.h>
#include <string>

using namespace pirt_test;

namespace {

class RegistryKeyTest : public ::testing::Test
{
protected:
    RegistryKeyTest() : scratch("registrykey") {}
    void SetUp() override { ASSERT_EQ(1, key.SetKey(scratch.Path(), FALSE)); }

    void SetRaw(const char* name, DWORD type, const void* data, DWORD size)
    {
        CRegKeyHandle h;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, scratch.Path(), 0, KEY_ALL_ACCESS, h.Receive()));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(h, name, 0, type, (const BYTE*)data, size));
        h.Close();
    }

    CScratchRegKey scratch;
    CRegistryKey key;
};

} // namespace

TEST_F(RegistryKeyTest, RootAndKeySelection)
{
    CRegistryKey fresh;
    EXPECT_TRUE(fresh.GetRootKey() == HKEY_CURRENT_USER);
    EXPECT_EQ(0, fresh.SetRootKey(HKEY_PERFORMANCE_DATA));
    EXPECT_TRUE(fresh.GetRootKey() == HKEY_CURRENT_USER);
    EXPECT_EQ(1, fresh.SetRootKey(HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(fresh.GetRootKey() == HKEY_LOCAL_MACHINE);

    EXPECT_EQ(0, key.SetKey(scratch.Path() + "\\Missing", FALSE));
    EXPECT_STREQ(scratch.Path(), key.GetKeyPath());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.GetLastResult());
    EXPECT_EQ(1, key.SetKey(scratch.Path() + "\\New\\Deeper", TRUE));
    EXPECT_EQ(1, key.KeyExists(scratch.Path() + "\\New\\Deeper"));
    EXPECT_EQ(1, key.SetKey("", FALSE));
    EXPECT_STREQ("", key.GetKeyPath());
}

TEST_F(RegistryKeyTest, StringValues)
{
    EXPECT_EQ(1, key.WriteString("Name", "value"));
    EXPECT_EQ(1, key.HasValue("Name"));
    EXPECT_EQ((DWORD)REG_SZ, key.QueryValueExists("Name"));
    EXPECT_STREQ("value", key.ReadString("Name", "default"));

    EXPECT_EQ(0, key.HasValue("Missing"));
    EXPECT_EQ(0u, key.QueryValueExists("Missing"));
    EXPECT_STREQ("default", key.ReadString("Missing", "default"));

    DWORD number = 5;
    SetRaw("Number", REG_DWORD, &number, sizeof(number));
    EXPECT_STREQ("default", key.ReadString("Number", "default"));
    SetRaw("Expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    EXPECT_STREQ("%TEMP%\\x", key.ReadString("Expand", "default"));

    // Too long to write: nothing is written.
    const std::string tooLong(300, 'a');
    EXPECT_EQ(0, key.WriteString("Long", tooLong.c_str()));
    EXPECT_EQ(0, key.HasValue("Long"));
    EXPECT_EQ(0, key.WriteString("Long", std::string(255, 'a').c_str()));
    EXPECT_EQ(1, key.WriteString("Long", std::string(254, 'a').c_str()));
    EXPECT_STREQ(CString(std::string(254, 'a').c_str()), key.ReadString("Long", "default"));

    EXPECT_EQ(1, key.DeleteValue("Name"));
    EXPECT_EQ(0, key.DeleteValue("Name"));
    EXPECT_EQ(0, key.HasValue("Name"));
}

TEST_F(RegistryKeyTest, ValueWithoutItsOwnNulIsTerminated)
{
    // Stored by another program without a terminating NUL.
    SetRaw("Short", REG_SZ, "abcdefghij", 10);
    EXPECT_STREQ("abcdefghij", key.ReadString("Short", "default"));

    // Filling the whole read buffer: the full text or the default, never
    // anything beyond it.
    const std::string full(255, 'f');
    SetRaw("Full", REG_SZ, full.data(), 255);
    const CString read = key.ReadString("Full", "default");
    EXPECT_TRUE(read == CString(full.c_str()) || read == "default") << read.GetString();

    const std::string over(300, 'o');
    SetRaw("Over", REG_SZ, over.c_str(), 301);
    EXPECT_STREQ("default", key.ReadString("Over", "default"));
}

TEST_F(RegistryKeyTest, DeleteKey)
{
    EXPECT_EQ(1, key.DeleteKey(scratch.Path() + "\\Absent"));

    ASSERT_EQ(1, key.SetKey(scratch.Path() + "\\Doomed", TRUE));
    EXPECT_EQ(1, key.DeleteKey(scratch.Path() + "\\Doomed"));
    EXPECT_EQ(0, key.KeyExists(scratch.Path() + "\\Doomed"));

    // The root itself is never a target.
    EXPECT_EQ(0, key.DeleteKey(""));
}

// A key that refuses full access may still grant the DELETE right (Wine
// always lets it go; Windows only with that right): either way the result
// says whether the key is gone. A key with subkeys stays and fails.
TEST_F(RegistryKeyTest, DeleteKeyResultSaysWhetherTheKeyIsGone)
{
    const CString locked = scratch.Path() + "\\Locked";
    ASSERT_EQ(1, key.SetKey(locked, TRUE));
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1, &sd, nullptr));
    CRegKeyHandle h;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, locked, 0, KEY_ALL_ACCESS, h.Receive()));
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd));
    h.Close();
    LocalFree(sd);
    ASSERT_EQ(0, key.KeyExists(locked));

    const int deleted = key.DeleteKey(locked + "\\");
    const LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, locked, 0, KEY_READ, h.Receive());
    if (rc == ERROR_SUCCESS)
        h.Close();
    EXPECT_EQ(deleted, rc == ERROR_FILE_NOT_FOUND ? 1 : 0);
    if (GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name") != nullptr) {
        EXPECT_EQ(1, deleted); // Wine grants the delete
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, locked);

    const CString parent = scratch.Path() + "\\Parent";
    ASSERT_EQ(1, key.SetKey(parent + "\\Child", TRUE));
    EXPECT_EQ(0, key.DeleteKey(parent));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, parent, 0, KEY_READ, h.Receive()));
}
