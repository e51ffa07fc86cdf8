// The one place where a path is judged before it reaches a guard, a deletion
// or a wipe. Every test here works on the canonical form of the path (or on
// the raw text where the text itself is what matters), never on a spelling as
// it was written: "C:\lnk\", "C:/lnk/" and "C:\lnk" must all be seen as the
// same link, and "C:\\", "C://" and "C:\." as the same root.
#pragma once
#include "fw/framework.h"
#include "services.h" // IsAbsolutePathText
#include <vector>

// The drive spelling of a network spelling of a local drive: the
// administrative share "X$" on "localhost", a loopback address ("127.0.0.1")
// or one of the computer's own names (case-insensitive), also after
// "\\?\UNC\", becomes "X:\..." ("\\localhost\C$\a" is "C:\a", the share
// itself "C:\"). Any other text comes back as it stands.
CString LocalShareAsDrive(const char* path, const std::vector<CString>& computerNames);

// This computer's names as a network path may spell them (NetBIOS name, DNS
// host name and full DNS name).
std::vector<CString> ComputerNames();

// Canonical form: a network spelling of a local drive becomes the drive
// (LocalShareAsDrive), "/" becomes "\", repeated separators collapse (except the
// leading "\\" of a UNC path), GetFullPathName resolves "." and "..", short
// names are expanded where the path exists, and trailing separators, blanks
// and dots are stripped except at a root ("C:\", "\\server\share\").
// "" for an empty text or one that does not resolve (a wildcard, a name
// of nothing but dots and blanks inside the path).
CString CanonicalPath(const char* raw);

// 1 for a canonical drive or share root ("C:\", "\\server\share\").
int IsRootPath(const CString& canonical);

// 1 when inner is outer or lies below it (canonical forms, case-insensitive,
// on whole components: "C:\ab" is not inside "C:\a").
int IsPathInside(const CString& inner, const CString& outer);

// 1 when the canonical path is equal to or above one of the folders the
// suite must never clean wholesale: the Windows and system folders, the
// program-files and common-files folders, the user profile and the profiles
// root, roaming and local application data, Desktop, Documents, the program
// folder, %APPDATA%\Zex\Ulmoro and %APPDATA%\Talvery\Pirt.
int IsProtectedPath(const CString& canonical);

// Inside a run (CRunPass, services.h) the protected folders are found once,
// at the first test that needs them, and the run keeps the long forms of the
// folders canonicalised during it, the canonical forms it gave out and the
// last few link and final-path answers: a plug-in run asks the file system
// once per entry where the validator and the library both test it.

// 1 when the canonical path itself is a link or junction (its own
// attributes, never those of a spelling with a trailing separator).
int IsLinkPath(const CString& canonical);

// The final path of an existing file or folder as Windows resolves links in
// the folders above it (GetFinalPathNameByHandle, "\\?\" prefix removed),
// in canonical form; "" when it cannot be opened.
CString FinalPath(const CString& canonical);

enum PathVerdict {
    PATH_OK = 0,
    PATH_NOT_ABSOLUTE, // the raw text is relative, drive-relative or empty
    PATH_ROOT,         // a drive or share root, however spelled
    PATH_PROTECTED,    // equal to or above a protected folder, also via links above it
    PATH_LINK          // the folder itself is a link or junction
};

// The whole test for a folder that is about to be emptied, removed or
// searched: absoluteness of the raw text, then root, protected and link
// tests on the canonical form, then root and protected tests on the final
// path. On PATH_OK canonical (may be NULL) receives the form to use.
PathVerdict CheckFolderTarget(const char* raw, CString* canonical);

// The same tests when the caller has just made canonical from raw with
// CanonicalPath: a judge that canonicalised the path already need not pay
// for it twice.
PathVerdict CheckCanonicalFolderTarget(const char* raw, const CString& canonical);

// The same tests for a base folder whose files and sub-folders are cleaned
// but which is never emptied or removed itself (a browser profile): it may be
// a link (people move a profile to another drive with a junction), as long
// as where it leads passes the root and protected tests.
PathVerdict CheckBaseFolder(const char* raw, CString* canonical);
