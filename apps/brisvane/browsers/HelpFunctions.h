// Data folders of the supported browsers, and registry-security helpers.
// A folder result is a path without a trailing backslash, or empty when the
// browser's folder cannot be named: no profile, or a shell folder that is
// empty or not absolute.
#pragma once
#include "fw/framework.h"
#include "registrykey.h"
#include "BrowsersApi.h"

// Size a caller gives GetSidString: "S-1-" + authority + 15 sub-authorities.
enum { SID_STRING_SIZE = 256 };

class BROWSERS_API CHelpFunctions
{
public:
    CHelpFunctions();
    ~CHelpFunctions();

    // Opera's data folder: roaming (local 0) or local application data.
    CString GetOperaDir(int local);

    // Safari's data folder: roaming (local 0) or local application data.
    CString GetSafariDir(int local);

    // Chrome's default profile folder (local application data).
    CString GetChromeDir();

    // The user's roaming application-data folder.
    CString GetAppDataDir();

    // Profile folder of the first Firefox profile (browser 0; local 1 gives
    // the same profile below local application data), or of the Netscape
    // profile with that display name (browser other than 0). Empty when there
    // is no such profile, or its folder is not a plain absolute path.
    CString GetFirefoxDir(unsigned int browser, CString profileName, int local);

    // The current user's SID, allocated on the process heap (the caller
    // frees it with HeapFree). 1 on success.
    int GetUserSid(void** sid);

    // "S-1-<authority>-<sub>-<sub>..." into text (SID_STRING_SIZE bytes).
    void GetSidString(void* sid, char* text);

    // The DACL descriptor of root\subkey, allocated on the process heap
    // (NULL when the key has none to report). 1 on success.
    int GetOldSD(HKEY root, const char* subkey, BYTE** descriptor);

    // Fills descriptor with a DACL granting full access to the user and to
    // LocalSystem (inherited by subkeys); the DACL goes to *acl, allocated on
    // the process heap for the caller to free. 1 on success.
    int CreateNewSD(void* userSid, SECURITY_DESCRIPTOR* descriptor, ACL** acl);

    // Applies the descriptor's DACL to root\subkey, with recurse set to every
    // key below it too (parents first). 1 when the key itself got it.
    int RegSetPrivilege(HKEY root, const char* subkey, SECURITY_DESCRIPTOR* descriptor, int recurse);

private:
    // Local application data: the shell folder, else the Shell Folders value.
    CString GetLocalAppDataDir();

    CRegistryKey m_regKey;
};

// 1 when the folder is usable as a base for browser paths: absolute as
// written ("X:\..." or "\\server\share..."), and neither a root nor equal to
// or above a protected folder in its canonical form or where links lead it.
// An empty or relative base would name files at the root of the current
// drive.
BROWSERS_API int IsUsableBaseFolder(const CString& folder);
