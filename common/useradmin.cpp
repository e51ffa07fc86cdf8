#include "useradmin.h"
#include "fw/handle.h"

#include <vector>

static UserAdminProbe g_adminProbe = nullptr;

UserAdminProbe SetUserAdminProbe(UserAdminProbe probe)
{
    UserAdminProbe previous = g_adminProbe;
    g_adminProbe = probe;
    return previous;
}

int IsTokenAdmin(HANDLE token)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
    if (size == 0)
        return 0;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token, TokenGroups, buffer.data(), size, &size))
        return 0;

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, &admins))
        return 0;

    // The attributes are deliberately not looked at: a filtered token keeps
    // the group for deny only, and its user is still an administrator.
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    int found = 0;
    for (DWORD i = 0; i < groups->GroupCount && !found; ++i)
        if (EqualSid(groups->Groups[i].Sid, admins))
            found = 1;
    FreeSid(admins);
    return found;
}

int IsUserAdmin()
{
    if (g_adminProbe)
        return g_adminProbe() ? 1 : 0;
    CHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive()))
        return 0;
    int result = IsTokenAdmin(token);
    return result;
}
