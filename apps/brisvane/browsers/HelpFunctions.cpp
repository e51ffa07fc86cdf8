// Browser data folders and registry-security helpers.
#include "HelpFunctions.h"
#include "fw/handle.h"
#include "services.h"
#include "pathlayer.h"
#include <shlobj.h>

namespace {
const char* const kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A profile path taken from a profiles.ini: relative to the browser's folder,
// with forward slashes allowed. Refused when it would leave that folder.
bool IsPlainRelativePath(const CString& path)
{
    if (path.IsEmpty() || path[0] == '\\' || path.Find(':') >= 0)
        return false;
    CString rest = path + "\\";
    int start = 0;
    for (int end = rest.Find('\\'); end >= 0; start = end + 1, end = rest.Find('\\', start)) {
        CString part = rest.Mid(start, end - start);
        if (part == "." || part == "..")
            return false;
    }
    return true;
}

// The canonical form of a usable base folder, else empty.
CString BaseFolder(const CString& raw)
{
    CString canonical;
    return CheckBaseFolder(raw, &canonical) == PATH_OK ? canonical : CString();
}

// A browser folder below a shell folder; empty when the shell folder is not
// absolute (an empty or relative one would lead to the current drive) or the
// result is not a usable base.
CString Below(const CString& base, const char* tail)
{
    if (!IsAbsolutePathText(base))
        return CString();
    return BaseFolder(base + tail);
}

CString ReadProfileValue(const CString& file, const CString& section, const char* key, const char* defaultValue,
                         int size)
{
    CString value;
    GetPrivateProfileStringA(section, key, defaultValue, value.GetBuffer(size), size, file);
    value.ReleaseBuffer();
    return value;
}
} // namespace

int IsUsableBaseFolder(const CString& folder) { return CheckBaseFolder(folder, nullptr) == PATH_OK ? 1 : 0; }

CHelpFunctions::CHelpFunctions() {}

CHelpFunctions::~CHelpFunctions() {}

CString CHelpFunctions::GetAppDataDir() { return GetAppDataPath(); }

CString CHelpFunctions::GetLocalAppDataDir()
{
    const CString localAppData = GetShellFolderPath(CSIDL_LOCAL_APPDATA);
    if (!localAppData.IsEmpty())
        return localAppData;
    CRegistryKey key;
    if (!key.SetKey(kShellFoldersKey, FALSE))
        return CString();
    return key.ReadString("Local AppData", "");
}

CString CHelpFunctions::GetOperaDir(int local)
{
    return Below(local ? GetLocalAppDataDir() : GetAppDataDir(), "\\Opera");
}

CString CHelpFunctions::GetSafariDir(int local)
{
    return Below(local ? GetLocalAppDataDir() : GetAppDataDir(), "\\Apple Computer\\Safari");
}

CString CHelpFunctions::GetChromeDir() { return Below(GetLocalAppDataDir(), "\\Google\\Chrome\\User Data\\Default"); }

CString CHelpFunctions::GetFirefoxDir(unsigned int browser, CString profileName, int local)
{
    CString appData = GetAppDataDir();
    if (!IsAbsolutePathText(appData))
        return CString();

    if (browser != 0) {
        // Netscape: the profile whose display name matches exactly.
        CString file = appData + "\\Netscape\\NSB\\profiles.ini";
        for (int index = 0; index < 10000; index++) {
            CString section;
            section.Format("Profile%d", index);
            CString name = ReadProfileValue(file, section, "DisplayName", "", 255);
            if (name.IsEmpty())
                return CString();
            if (name == profileName) {
                CString path = ReadProfileValue(file, section, "Path", "", 255);
                path.Replace('/', '\\');
                RemoveTrailingBackslash(path);
                if (!IsPlainRelativePath(path))
                    return CString();
                return Below(appData, CString("\\Netscape\\NSB\\") + path);
            }
        }
        return CString();
    }

    // Firefox: only the first profile is cleaned.
    CString file = appData + "\\Mozilla\\Firefox\\profiles.ini";
    CString path = ReadProfileValue(file, "Profile0", "Path", "not installed", 260);
    if (path == "not installed")
        return CString();
    path.Replace('/', '\\');
    RemoveTrailingBackslash(path);
    if (path.IsEmpty())
        return CString();

    // A profile kept outside the Firefox folder is named by its full path;
    // its local data lies in that same folder.
    if (ReadProfileValue(file, "Profile0", "IsRelative", "1", 16) == "0")
        return BaseFolder(path);

    if (!IsPlainRelativePath(path))
        return CString();
    return Below(local ? GetLocalAppDataDir() : appData, CString("\\Mozilla\\Firefox\\") + path);
}

int CHelpFunctions::GetUserSid(void** sid)
{
    ASSERT(sid != nullptr);
    *sid = nullptr;
    CHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive()))
        return 0;

    int result = 0;
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenUser, nullptr, 0, &size) && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        HANDLE heap = GetProcessHeap();
        TOKEN_USER* user = (TOKEN_USER*)HeapAlloc(heap, 0, size);
        if (user != nullptr) {
            if (GetTokenInformation(token, TokenUser, user, size, &size)) {
                DWORD length = GetLengthSid(user->User.Sid);
                void* copy = HeapAlloc(heap, 0, length);
                if (copy != nullptr && CopySid(length, copy, user->User.Sid)) {
                    *sid = copy;
                    result = 1;
                } else if (copy != nullptr)
                    HeapFree(heap, 0, copy);
            }
            HeapFree(heap, 0, user);
        }
    }
    return result;
}

void CHelpFunctions::GetSidString(void* sid, char* text)
{
    ASSERT(sid != nullptr && text != nullptr);
    PSID_IDENTIFIER_AUTHORITY authority = GetSidIdentifierAuthority(sid);
    int length = wsprintfA(text, "S-1-%lu", (unsigned long)authority->Value[5]);
    DWORD count = *GetSidSubAuthorityCount(sid);
    for (DWORD i = 0; i < count; i++)
        length += wsprintfA(text + length, "-%lu", (unsigned long)*GetSidSubAuthority(sid, i));
}

int CHelpFunctions::GetOldSD(HKEY root, const char* subkey, BYTE** descriptor)
{
    ASSERT(descriptor != nullptr);
    *descriptor = nullptr;
    CRegKeyHandle key;
    if (RegOpenKeyExA(root, subkey, 0, READ_CONTROL, key.Receive()) != ERROR_SUCCESS)
        return 0;

    int result = 0;
    DWORD size = 0;
    LONG status = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    if (status == ERROR_INSUFFICIENT_BUFFER) {
        HANDLE heap = GetProcessHeap();
        BYTE* buffer = (BYTE*)HeapAlloc(heap, 0, size);
        if (buffer != nullptr) {
            if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, buffer, &size) == ERROR_SUCCESS) {
                *descriptor = buffer;
                result = 1;
            } else
                HeapFree(heap, 0, buffer);
        }
    } else
        result = status == ERROR_SUCCESS ? 1 : 0;
    return result;
}

int CHelpFunctions::CreateNewSD(void* userSid, SECURITY_DESCRIPTOR* descriptor, ACL** acl)
{
    ASSERT(userSid != nullptr && descriptor != nullptr && acl != nullptr);
    *acl = nullptr;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID systemSid = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &systemSid))
        return 0;

    HANDLE heap = GetProcessHeap();
    DWORD userLength = GetLengthSid(userSid);
    DWORD systemLength = GetLengthSid(systemSid);
    // The ACL header and two allowed entries (each a header and mask before its SID).
    DWORD aclSize = userLength + systemLength + 24;
    ACL* list = (ACL*)HeapAlloc(heap, HEAP_ZERO_MEMORY, aclSize);
    int ok = list != nullptr && InitializeAcl(list, aclSize, ACL_REVISION);
    if (list != nullptr)
        *acl = list;

    PSID sids[2] = {userSid, systemSid};
    for (int i = 0; ok && i < 2; i++) {
        DWORD sidLength = GetLengthSid(sids[i]);
        DWORD aceSize = sidLength + 8;
        ACCESS_ALLOWED_ACE* ace = (ACCESS_ALLOWED_ACE*)HeapAlloc(heap, HEAP_ZERO_MEMORY, aceSize);
        if (ace == nullptr) {
            ok = 0;
            break;
        }
        ace->Header.AceType = ACCESS_ALLOWED_ACE_TYPE;
        ace->Header.AceFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        ace->Header.AceSize = (WORD)aceSize;
        ace->Mask = KEY_ALL_ACCESS;
        ok = CopySid(sidLength, &ace->SidStart, sids[i]) && AddAce(list, ACL_REVISION, MAXDWORD, ace, aceSize);
        HeapFree(heap, 0, ace);
    }

    if (ok)
        ok = InitializeSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION) &&
             SetSecurityDescriptorDacl(descriptor, TRUE, list, FALSE);
    FreeSid(systemSid);
    return ok ? 1 : 0;
}

int CHelpFunctions::RegSetPrivilege(HKEY root, const char* subkey, SECURITY_DESCRIPTOR* descriptor, int recurse)
{
    if (subkey == nullptr)
        return 0;
    CRegKeyHandle key;
    if (RegOpenKeyExA(root, subkey, 0, WRITE_DAC, key.Receive()) != ERROR_SUCCESS)
        return 0;
    LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    key.Close();
    if (status != ERROR_SUCCESS)
        return 0;
    if (!recurse)
        return 1;

    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr) != ERROR_SUCCESS)
        return 0;
    for (DWORD index = 0; index < count; index++) {
        char name[261];
        DWORD length = sizeof(name);
        status = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status == ERROR_SUCCESS)
            RegSetPrivilege(key, name, descriptor, 1);
    }
    return 1;
}
