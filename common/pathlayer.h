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
// administrative share "X$" on "localhost", a loopback address in any form
// the resolver reads ("127.0.0.1", "0x7f000001", "0--1.ipv6-literal.net")
// or one of the computer's own names (case-insensitive, a trailing dot
// allowed), also after "\\?\UNC\", becomes "X:\..." ("\\localhost\C$\a" is "C:\a", the share
// itself "C:\"). Any other text comes back as it stands.
CString LocalShareAsDrive(const char* path, const std::vector<CString>& computerNames);

// This computer's names as a network path may spell them (NetBIOS name, DNS
// host name and full DNS name).
std::vector<CString> ComputerNames();

// 1 when the text holds a character that Windows allows in no file or
// folder name: < > " | * ? (the file system's own patterns among them), a
// colon anywhere but after a leading drive letter, or a control character.
// A lookup of such a text could find another entry: no path holding one is
// judged or used.
int HasForbiddenNameCharacter(const char* path);

// Canonical form: a network spelling of a local drive becomes the drive
// (LocalShareAsDrive), a share whose root is (by volume and file index) a
// protected folder or a folder above one is spelt from that folder, and a
// share that cannot be identified gives "" when its name ends in "$" or it
// is a share of this computer; "/" becomes "\", repeated separators collapse (except the
// leading "\\" of a UNC path), GetFullPathName resolves "." and "..", short
// names are expanded where the path exists, and trailing separators, blanks
// and dots are stripped except at a root ("C:\", "\\server\share\").
// "" for an empty text or one that does not resolve (a forbidden character,
// a name of nothing but dots and blanks inside the path).
CString CanonicalPath(const char* raw);

// 1 in a 32-bit process on 64-bit Windows, whose own names of the system
// and program-files folders lead to its own view of them.
int IsWow64Redirected();

// In such a process the real system folder ("Sysnative" in the Windows
// folder); "" in any other.
CString NativeSystemFolder();

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
// last few link and final-path answers. Those answers serve the validator
// and listings only (PATH_MAY_REMEMBER): the last check before a deletion
// asks the file system, since a link may have been made since.
enum PathAsking {
    PATH_ASK_NOW = 0,     // the file system answers
    PATH_MAY_REMEMBER = 1 // the run's last answers for the path may
};

// 1 when the canonical path itself is a link or junction (its own
// attributes, never those of a spelling with a trailing separator).
int IsLinkPath(const CString& canonical, PathAsking asking = PATH_ASK_NOW);

// The final path of an existing file or folder as Windows resolves links in
// the folders above it (GetFinalPathNameByHandle, "\\?\" prefix removed),
// in canonical form; "" when it cannot be opened.
CString FinalPath(const CString& canonical, PathAsking asking = PATH_ASK_NOW);

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
// path, all asked of the file system. On PATH_OK canonical (may be NULL)
// receives the form to use.
PathVerdict CheckFolderTarget(const char* raw, CString* canonical);

// The same tests when the caller has just made canonical from raw with
// CanonicalPath: a judge that canonicalised the path already need not pay
// for it twice. For a judge ahead of the deletion (the validator): link and
// final-path answers may come from the run.
PathVerdict CheckCanonicalFolderTarget(const char* raw, const CString& canonical);

// The same tests for a base folder whose files and sub-folders are cleaned
// but which is never emptied or removed itself (a browser profile): it may be
// a link (people move a profile to another drive with a junction), as long
// as where it leads passes the root and protected tests.
PathVerdict CheckBaseFolder(const char* raw, CString* canonical);
