// Whether the process runs with the built-in Administrators group in its token.
#pragma once

#include <windows.h>

// 1 when the process token holds the Administrators group, whatever the
// group's attributes (a group kept only for deny counts too); 0 otherwise,
// also when the token cannot be queried.
int IsUserAdmin();

// The same test on a token the caller opened with TOKEN_QUERY.
int IsTokenAdmin(HANDLE token);

// Test seam: while a probe is set, IsUserAdmin returns its answer instead of
// asking the token (Wine's user is always an administrator). Null restores the
// token query. Returns the probe that was set before.
typedef int (*UserAdminProbe)();
UserAdminProbe SetUserAdminProbe(UserAdminProbe probe);
