// The cookie keep list: bare file names of Internet Explorer cookie files the
// user chose to keep, one a line (CR LF), in the data root's organize folder.
// The cookie cleaner reads it and the cookie manager writes it, both through
// these functions, so both always use the same file.
#pragma once
#include "fw/framework.h"
#include <vector>

// Data root + "\organize\IECookies.keep".
CString GetCookieKeepListPath();

// Reads every non-empty line (line ends removed). A missing list is created
// empty together with its folder and reads as empty. 0 when the list exists
// but cannot be read: then nobody can tell which cookies are to be kept.
int ReadCookieKeepList(std::vector<CString>& names);

// Rewrites the whole list, creating its folder when missing: the new list is
// written beside the old one and then put in its place, so a failed save
// leaves the old list whole. 1 when written.
int WriteCookieKeepList(const std::vector<CString>& names);

// 1 when the name equals a kept name as a whole, without regard to case (the
// file system does not tell the two apart either).
int IsCookieKept(const std::vector<CString>& keep, const char* fileName);

// The Internet Explorer cookie folder (CSIDL_COOKIES), no trailing backslash;
// "" when the shell has none.
CString GetCookieFolder();

// Bare names of the cookie files in the folder: files (not folders) whose
// name ends in ".txt". The folder pattern alone would also match short names.
// An empty folder (the shell has none) lists nothing.
std::vector<CString> ListCookieFiles(const CString& folder);
