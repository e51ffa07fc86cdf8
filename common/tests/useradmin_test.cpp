#include "useradmin.h"
#include "fw/handle.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
int Never() { return 0; }
int Always() { return 1; }
} // namespace

TEST(UserAdmin, ProcessTokenAndProbe)
{
    // Wine's user is always an administrator.
    EXPECT_EQ(1, IsUserAdmin());

    EXPECT_EQ(nullptr, SetUserAdminProbe(&Never));
    EXPECT_EQ(0, IsUserAdmin());
    EXPECT_EQ(&Never, SetUserAdminProbe(&Always));
    EXPECT_EQ(1, IsUserAdmin());
    EXPECT_EQ(&Always, SetUserAdminProbe(nullptr));
    EXPECT_EQ(1, IsUserAdmin());
}

TEST(UserAdmin, GroupKeptOnlyForDenyStillCounts)
{
    CHandle token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, token.Receive()));
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                         0, 0, 0, &admins));
    SID_AND_ATTRIBUTES disable = {admins, 0};
    CHandle filtered;
    BOOL made = CreateRestrictedToken(token, 0, 1, &disable, 0, nullptr, 0, nullptr, filtered.Receive());
    token.Close();
    ASSERT_TRUE(made);

    // The filtered token really carries the group for deny only.
    DWORD size = 0;
    GetTokenInformation(filtered, TokenGroups, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    ASSERT_TRUE(GetTokenInformation(filtered, TokenGroups, buffer.data(), size, &size));
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    DWORD attributes = 0;
    for (DWORD i = 0; i < groups->GroupCount; ++i)
        if (EqualSid(groups->Groups[i].Sid, admins))
            attributes = groups->Groups[i].Attributes;
    FreeSid(admins);
    EXPECT_TRUE(attributes & SE_GROUP_USE_FOR_DENY_ONLY);
    EXPECT_EQ(1, IsTokenAdmin(filtered));
    filtered.Close();

    // A handle that cannot be queried is no administrator.
    EXPECT_EQ(0, IsTokenAdmin(nullptr));
}
