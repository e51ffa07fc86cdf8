// Profile-folder finders and the registry-security helpers.
#include "BrowserTestEnv.h"
#include "fw/handle.h"
#include "HelpFunctions.h"

using namespace browsers_test;

namespace {
CString FirefoxIni() { return AppData() + "\\Mozilla\\Firefox\\profiles.ini"; }
CString NetscapeIni() { return AppData() + "\\Netscape\\NSB\\profiles.ini"; }
} // namespace

TEST(BaseFolder, OnlyAbsoluteFoldersBelowTheProtectedOnesAreUsable)
{
    EXPECT_TRUE(IsUsableBaseFolder(LocalAppData() + "\\Google"));
    EXPECT_TRUE(IsUsableBaseFolder("\\\\server\\share\\profile"));
    // Each of these would put the browser's files at a drive root, in the
    // current folder, or in a folder that holds the user's own.
    const char* const refused[] = {
        "",
        "\\Opera",
        "Opera",
        "C:",
        "C:Opera",
        "C:\\",
        "C:\\\\",
        "C://",
        "C:\\.",
        "C:\\users\\..",
        "\\\\?\\unix\\etc",
        "\\\\.\\C:\\x",
    };
    for (const char* folder : refused)
        EXPECT_FALSE(IsUsableBaseFolder(folder)) << folder;
    EXPECT_FALSE(IsUsableBaseFolder(AppData()));
    EXPECT_FALSE(IsUsableBaseFolder(LocalAppData() + "\\"));
}

class HelpFolders : public BrowserTest
{
protected:
    CHelpFunctions help;
};

TEST_F(HelpFolders, BrowserFoldersHangBelowTheUsersShellFolders)
{
    EXPECT_STREQ((const char*)(AppData() + "\\Opera"), (const char*)help.GetOperaDir(0));
    EXPECT_STREQ((const char*)(LocalAppData() + "\\Opera"), (const char*)help.GetOperaDir(1));
    EXPECT_STREQ((const char*)(AppData() + "\\Apple Computer\\Safari"), (const char*)help.GetSafariDir(0));
    EXPECT_STREQ((const char*)(LocalAppData() + "\\Apple Computer\\Safari"), (const char*)help.GetSafariDir(1));
    EXPECT_STREQ((const char*)(LocalAppData() + "\\Google\\Chrome\\User Data\\Default"),
                 (const char*)help.GetChromeDir());
    EXPECT_STREQ((const char*)AppData(), (const char*)help.GetAppDataDir());
}

TEST_F(HelpFolders, FirefoxRelativeProfileBelowRoamingAndLocalData)
{
    Seed(FirefoxIni(), "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
                       "Path=Profiles/ab12.default\r\n");
    EXPECT_STREQ((const char*)(AppData() + "\\Mozilla\\Firefox\\Profiles\\ab12.default"),
                 (const char*)help.GetFirefoxDir(0, "", 0));
    EXPECT_STREQ((const char*)(LocalAppData() + "\\Mozilla\\Firefox\\Profiles\\ab12.default"),
                 (const char*)help.GetFirefoxDir(0, "", 1));
}

TEST_F(HelpFolders, FirefoxAbsoluteProfileIsTakenAsItStands)
{
    CString elsewhere = AppData() + "\\ElsewhereProfile\\ff";
    Seed(FirefoxIni(), "[Profile0]\r\nName=default\r\nIsRelative=0\r\nPath=" + elsewhere + "\\\r\n");
    EXPECT_STREQ((const char*)elsewhere, (const char*)help.GetFirefoxDir(0, "", 0));
    EXPECT_STREQ((const char*)elsewhere, (const char*)help.GetFirefoxDir(0, "", 1));
}

TEST_F(HelpFolders, OddFirefoxProfilesGiveNoFolder)
{
    // No profiles.ini, no Profile0, an empty Path, a way out of the Firefox
    // folder, an "absolute" profile that is not absolute.
    EXPECT_STREQ("", (const char*)help.GetFirefoxDir(0, "", 0));
    const char* const inis[] = {
        "[Profile1]\r\nPath=Profiles/x\r\n",
        "[Profile0]\r\nIsRelative=1\r\nPath=\r\n",
        "[Profile0]\r\nIsRelative=1\r\nPath=../../..\r\n",
        "[Profile0]\r\nIsRelative=1\r\nPath=C:\\Windows\r\n",
        "[Profile0]\r\nIsRelative=0\r\nPath=Profiles/x\r\n",
    };
    for (const char* ini : inis) {
        Seed(FirefoxIni(), ini);
        EXPECT_STREQ("", (const char*)help.GetFirefoxDir(0, "", 0)) << ini;
        EXPECT_STREQ("", (const char*)help.GetFirefoxDir(0, "", 1)) << ini;
    }
}

TEST_F(HelpFolders, NetscapeProfileChosenByExactDisplayName)
{
    Seed(NetscapeIni(), "[Profile0]\r\nDisplayName=Work\r\nPath=Profiles\\work\r\n"
                        "[Profile1]\r\nDisplayName=Home\r\nPath=Profiles\\home\r\n"
                        "[Profile2]\r\nDisplayName=50%s off\r\nPath=Profiles\\odd\r\n");
    CString base = AppData() + "\\Netscape\\NSB\\";
    EXPECT_STREQ((const char*)(base + "Profiles\\home"), (const char*)help.GetFirefoxDir(1, "Home", 0));
    EXPECT_STREQ((const char*)(base + "Profiles\\work"), (const char*)help.GetFirefoxDir(7, "Work", 1));
    EXPECT_STREQ((const char*)(base + "Profiles\\odd"), (const char*)help.GetFirefoxDir(1, "50%s off", 0));
    EXPECT_STREQ("", (const char*)help.GetFirefoxDir(1, "home", 0));
    EXPECT_STREQ("", (const char*)help.GetFirefoxDir(1, "Nobody", 0));
}

TEST(HelpSecurity, SidTexts)
{
    CHelpFunctions help;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID system = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system));
    char text[SID_STRING_SIZE] = "";
    help.GetSidString(system, text);
    EXPECT_STREQ("S-1-5-18", text);
    FreeSid(system);

    void* user = nullptr;
    ASSERT_EQ(1, help.GetUserSid(&user));
    ASSERT_TRUE(user != nullptr);
    EXPECT_TRUE(IsValidSid(user));
    help.GetSidString(user, text);
    EXPECT_EQ(0, strncmp(text, "S-1-5-", 6)) << text;
    HeapFree(GetProcessHeap(), 0, user);
}

TEST(HelpSecurity, NewDaclReachesEveryKeyOfTheTree)
{
    CHelpFunctions help;
    pirt_test::CScratchRegKey scratch("BrowsersSecurity");
    CString top = scratch.Path() + "\\Top";
    CString leaf = top + "\\Child\\Grandchild";
    CRegKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, leaf, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
    key.Close();

    void* user = nullptr;
    ASSERT_EQ(1, help.GetUserSid(&user));
    SECURITY_DESCRIPTOR descriptor;
    ACL* acl = nullptr;
    ASSERT_EQ(1, help.CreateNewSD(user, &descriptor, &acl));
    ASSERT_TRUE(acl != nullptr);
    EXPECT_EQ(2, acl->AceCount);

    EXPECT_EQ(1, help.RegSetPrivilege(HKEY_CURRENT_USER, top, &descriptor, 1));
    EXPECT_EQ(0, help.RegSetPrivilege(HKEY_CURRENT_USER, nullptr, &descriptor, 1));
    EXPECT_EQ(0, help.RegSetPrivilege(HKEY_CURRENT_USER, scratch.Path() + "\\Missing", &descriptor, 0));

    const CString keys[] = {top, top + "\\Child", leaf};
    for (const CString& path : keys) {
        BYTE* old = nullptr;
        ASSERT_EQ(1, help.GetOldSD(HKEY_CURRENT_USER, path, &old)) << (const char*)path;
        ASSERT_TRUE(old != nullptr);
        BOOL present = FALSE, defaulted = FALSE;
        ACL* dacl = nullptr;
        ASSERT_TRUE(GetSecurityDescriptorDacl(old, &present, &dacl, &defaulted));
        ASSERT_TRUE(present && dacl != nullptr) << (const char*)path;
        ASSERT_EQ(2, dacl->AceCount) << (const char*)path;
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, 0, (void**)&ace));
        EXPECT_TRUE(EqualSid(&ace->SidStart, user));
        EXPECT_EQ((DWORD)KEY_ALL_ACCESS, ace->Mask);
        HeapFree(GetProcessHeap(), 0, old);
    }
    BYTE* none = nullptr;
    EXPECT_EQ(0, help.GetOldSD(HKEY_CURRENT_USER, scratch.Path() + "\\Missing", &none));
    EXPECT_TRUE(none == nullptr);

    HeapFree(GetProcessHeap(), 0, acl);
    HeapFree(GetProcessHeap(), 0, user);
}
