// Paths, config files and first-run seeding shared by every deliverable.
//
// Each deliverable compiles these services in with its own data root tail
// (PIRT_DATA_ROOT_TAIL, "\Zex\Ulmoro" or "\Talvery\Pirt"). Nothing is cached:
// every call goes to the file system again, so a changed setting is seen at
// the next read.
#pragma once
#include "fw/framework.h"
#include <string>

// Config file indexes (GetIniPath). Any index not listed here names the
// config folder itself.
enum {
    INI_PIRT = 0, // suite-wide: language choice, overwrite passes
    INI_SARNITH = 1,
    INI_QUILLET = 2,
    INI_FARNOCH = 3,  // Tolmira (custom reads its logging switch here)
    INI_HOLBERIN = 4, // Corvalet
    INI_KELDOR = 5,
    INI_OMBRISK = 6,
    INI_ZEMBLA = 7,
    INI_PLIMVET = 8, // eraser
    INI_VOXANEL = 9,
    INI_BRISVANE = 10, // Brisvane
    INI_TARNEL = 14    // the start-up tool
};

// Folder of the running executable (also when called inside a library),
// without a trailing backslash.
CString GetAppPath();

// 1 when the path opens as an existing file; a folder never counts.
int FileExists(const char* path);

// True for the errors that say a path is simply not there, as opposed to one
// that cannot be reached (denied, locked, too long, malformed).
inline bool IsMissingError(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Dispatches every message waiting in the calling thread's queue. A WM_QUIT
// found there is posted again and ends the pump, so the program still quits.
// The module's work before a pump (SetBeforePump) is done first.
void ProcessMsgLoop();

// What this module does at every pump before the messages (report rows left
// pending are painted there when due); null for nothing. The layers above
// register it, so that the ground calls nothing above itself.
typedef void (*BeforePumpFunction)();
void SetBeforePump(BeforePumpFunction before);

// ProcessMsgLoop when at least the interval has passed since it last ran
// here: long loops call this once per item, and a pump per item would cost a
// tenth of their run while a window only needs attention every few dozen ms.
const DWORD PUMP_INTERVAL_MS = 50;
void ProcessMsgLoopEvery(DWORD intervalMs = PUMP_INTERVAL_MS);

// One run of many operations on this thread: a cleaning run, a plug-in run,
// a detection pass. While one lives, what is costly to find and does not
// change within a run is found once, at the first call that needs it, and
// shared until the run ends: the protected folders and what canonicalising
// found (path layer), whether the language files changed (language texts).
// Outside a run every call finds it anew, so a changed setting counts at
// once. Runs nest: the outermost one ends the sharing. Each deliverable keeps
// its own runs (an operation library's object opens one of its own).
class CRunPass
{
public:
    CRunPass();
    ~CRunPass();
    CRunPass(const CRunPass&) = delete;
    CRunPass& operator=(const CRunPass&) = delete;
};

// The calling thread's outermost run, a number no earlier run had; 0 outside
// a run. What a run shares is kept with the number it was found in.
unsigned CurrentRun();

// Sends the message straight to the window's procedure (its subclassing
// included), past the thread's hooks: a call-window hook, as the themed menus
// keep on every thread with windows, costs a round trip to the system for
// each message sent, which loops that send thousands cannot afford. For
// messages no hook needs to see; another thread's window gets a plain send.
LRESULT SendPastHooks(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Text of the ANSI code page as UTF-16, and back (for the wide calls that
// keep what the code page cannot hold); up to the first NUL.
std::wstring WidenAnsi(const char* text);
// length: the characters to convert (the NUL, if any, is not among them).
CString NarrowToAnsi(const wchar_t* text, int length);

inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }
inline bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// 1 when the raw text is an absolute path before anything resolves it:
// "X:\..." (or "X:/...") and "\\server\share\..." only. "rel", ".", "C:",
// "\x", "C:x", "\\?\..." and "\\.\..." are not.
int IsAbsolutePathText(const char* raw);

// Trims trailing white space, then drops one trailing backslash.
void RemoveTrailingBackslash(CString& path);

// The folder with one trailing backslash, ready for a name to be appended;
// "" gives "\".
CString WithTrailingBackslash(const char* folder);

// TRUE when the stop event (may be NULL: no stop asked for) is signalled.
bool IsStopSignalled(HANDLE stopEvent);

// Creates every missing folder of the path, outermost first. 1 when all of
// them exist afterwards, 0 at the first folder that cannot be created.
// "C:\..." and "\\server\share\..." roots are never created.
int CreateFullPath(const char* path);

// Copies the files of source into destination (overwriting), and with
// recurse set its sub-folders too. Names beginning with "." are skipped,
// links and junctions are never followed. filter (may be null or "") limits
// the files of the top folder; stopEvent (may be NULL) stops the copy when
// signalled; pump dispatches pending messages between entries.
// 1 when everything was copied, 0 on a failure or a stop.
int CopyFolder(const char* source, const char* destination, int recurse, const char* filter, HANDLE stopEvent,
               int pump);

// The shell folder of a CSIDL as the shell gives it (no token, current
// path), "" when the shell knows none.
CString GetShellFolderPath(int csidl);

// User's roaming application-data folder (CSIDL_APPDATA); "" when the shell
// gives none or a relative one. No path is ever built on "".
CString GetAppDataPath();

// Test seam: while a probe is set, GetAppDataPath takes its answer instead of
// the shell's ("" or a relative text: no folder), and the user may be told
// again. Null asks the shell again. Returns the probe set before.
typedef CString (*AppDataProbe)();
AppDataProbe SetAppDataProbe(AppDataProbe probe);

// The user's data folder: the application-data folder + tail (e.g.
// "\Zex\Ulmoro\plug-ins\Tolmira"), or "" when there is no
// application-data folder; the user is then told once per process. Every
// path below the application-data folder is built here, so none is ever
// built on "" (the root of the current drive).
CString GetUserDataFolder(const char* tail);

// The program folder + tail, or "" when the program folder cannot be found.
CString GetProgramSubfolder(const char* tail);

// Application-data folder + this deliverable's data root tail; "" (and the
// user told once) without an application-data folder.
CString GetDataRoot();

// First-run seeding: fills the data root from the program folder's skel
// folder (files the user already has are kept) and chooses the language when
// none (or a missing file) is chosen yet.
void InitUserData();

// The seeding with the program folder and the user's language id given.
void SeedUserData(const CString& programFolder, LANGID langId);

// 1 for the German locales (Germany, Switzerland, Austria, Luxembourg,
// Liechtenstein).
int IsGermanLangId(LANGID langId);

// Path of the config file of an index; seeds the data root first when a
// listed file is missing. Returns the path even when it still does not exist;
// "" without an application-data folder (the user is told once, with the
// no-language message, and the main window is asked to close).
CString GetIniPath(int index);

// [section] key of the config file of an index, "" when absent; at most 254
// characters, "%%" read as "%".
CString GetIniString(CString section, CString key, int index);

// 1 only when the value is exactly "yes".
int GetIniBool(CString section, CString key, int index);

// WritePrivateProfileString into the config file of an index (value NULL
// removes the key); does nothing and returns 0 without a data folder.
int WriteIniString(const char* section, const char* key, const char* value, int index);

// Stored settings and texts write a percent sign as "%%": this turns each
// "%%" into "%" and copies everything else literally. Stored values are never
// used as a printf format.
CString UnescapePercent(const char* stored);

// The other way round, for values written to config files: "%" becomes "%%".
CString EscapePercent(const char* value);

// The message shown when no language file exists, for this deliverable.
CString GetNoLanguageMessage();
