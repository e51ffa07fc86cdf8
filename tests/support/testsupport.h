// Helpers for the suite's tests. Everything they create lies in the test
// program's folder, in the Wine prefix's user profile or below
// HKEY_CURRENT_USER\Software\PirtTests, and is removed again.
#pragma once
#include "fw/framework.h"
#include <functional>
#include <string>
#include <vector>

namespace pirt_test {

// Folder of the running test program, no trailing backslash.
CString ProgramFolder();

// The user's roaming application-data folder.
CString AppDataFolder();

// Deletes a folder tree. Links and junctions inside it are removed as links;
// what they point at is never touched. 1 when the folder is gone.
int DeleteTree(const char* folder);

// Writes a file with the given bytes (creating or truncating it).
int WriteFileBytes(const char* path, const void* data, size_t size);
int WriteFileText(const char* path, const char* text);

// Reads a whole file; empty when it cannot be read.
std::vector<char> ReadFileBytes(const char* path);

// Removes both per-user data roots ("\Zex\Ulmoro" and "\Talvery\Pirt" below
// the application-data folder), the log file among them, so a test starts
// from a fresh profile.
void ResetDataRoots();

// A fresh, empty folder below the test program's folder
// (<program folder>\scratch\<name>), deleted again by the destructor.
class CScratchFolder
{
public:
    explicit CScratchFolder(const char* name);
    ~CScratchFolder();
    const CString& Path() const { return m_path; }
    // Path of an entry below the folder ("a\b.txt").
    CString operator()(const char* relative) const;
    // Creates a sub-folder path (all levels) and returns its full path.
    CString MakeFolder(const char* relative) const;

private:
    CString m_path;
};

// A fresh, empty key HKEY_CURRENT_USER\Software\PirtTests\<name>, deleted
// with everything below it by the destructor.
class CScratchRegKey
{
public:
    explicit CScratchRegKey(const char* name);
    ~CScratchRegKey();
    // Path below HKEY_CURRENT_USER, e.g. "Software\PirtTests\name".
    const CString& Path() const { return m_path; }

private:
    CString m_path;
};

// A hidden top-level window holding a report list (report mode, one column,
// an image list of three 16x16 images: 0 done, 1 failed, 2 working) and a
// progress bar, as the programs pass them to the operations.
class CReportHost
{
public:
    CReportHost();
    ~CReportHost();

    CListCtrl* List() { return &m_list; }
    CProgressCtrl* Progress() { return &m_progress; }
    HWND Host() const { return m_host; }

    // Read straight from the controls.
    int RowCount() const;
    CString RowText(int row) const;
    int RowImage(int row) const;
    CString LastRowText() const { return RowText(RowCount() - 1); }
    int LastRowImage() const { return RowImage(RowCount() - 1); }
    int ProgressPos() const;
    int ProgressLow() const;
    int ProgressHigh() const;

private:
    HWND m_host;
    CListCtrl m_list;
    CProgressCtrl m_progress;
};

// Closes every dialog box (message boxes among them) that this process shows
// while the object lives, by pressing the given button (after ticking the
// check box tickId, when not 0), and records its caption and text. Lets a
// test run code that shows a modal message box.
class CDialogCatcher
{
public:
    explicit CDialogCatcher(int button = IDOK, int tickId = 0);
    ~CDialogCatcher();

    struct Caught
    {
        CString caption;
        CString text; // the texts of its static controls, joined by "\n"
        HWND owner;
    };
    // Waits (up to timeoutMs) until at least count boxes were caught.
    bool WaitFor(int count, DWORD timeoutMs = 5000);
    std::vector<Caught> Boxes();

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    static BOOL CALLBACK EnumProc(HWND wnd, LPARAM self);
    void Poll();

    int m_button;
    int m_tickId;
    HANDLE m_stop;
    HANDLE m_thread;
    CRITICAL_SECTION m_lock;
    std::vector<Caught> m_boxes;
    std::vector<HWND> m_seen;
};

// Runs `show` on this thread (it shows a modal window and returns when that
// has closed) while `user` acts on the window from a second thread: the first
// visible top-level window of this thread with that caption. `user` must close
// it. When none appears within ten seconds, or `show` has not returned fifteen
// seconds after `user` did, every visible window of the thread is closed
// (again every second) and false is returned.
bool DriveModal(const char* caption, const std::function<void()>& show, const std::function<void(HWND window)>& user);

// DriveModal, with every other dialog box shown meanwhile (a question after
// the window closed among them) answered by the button `answer`. Returns
// the texts of those other boxes.
std::vector<std::string> DriveModalAnswering(const char* caption, int answer, const std::function<void()>& show,
                                             const std::function<void(HWND window)>& user);

// Dispatches what arrives for ms milliseconds, at least once over (a quit
// message ends nothing here); with app, each message goes through its
// PreTranslateMessage first, as in the program's message loop.
void PumpMessages(DWORD ms = 50, CWinApp* app = nullptr);

// Brings a property sheet's page to the front and returns its window.
HWND ShowSheetPage(HWND sheet, int index);

// A dialog whose message boxes (its virtual ShowMessage(text, type)) are
// recorded and answered IDOK instead of shown.
template <class TDialog>
class CMessageRecorder : public TDialog
{
public:
    using TDialog::TDialog;
    std::vector<CString> m_messages;

protected:
    int ShowMessage(const CString& text, UINT) override
    {
        m_messages.push_back(text);
        return IDOK;
    }
};

// [section] key of an INI file, "<absent>" when it is not there.
std::string IniFileValue(const char* iniPath, const char* section, const char* key);

// A value of HKEY_CURRENT_USER's Run key, "<absent>" when it is not there;
// and its removal.
std::string RunValue(const char* name);
void DeleteRunValue(const char* name);

// The text of a list control's cell (also from another thread of the
// process).
std::string ListItemText(HWND list, int row, int column);

// The visible top-level windows of a thread.
std::vector<HWND> VisibleThreadWindows(DWORD threadId);

// Sets an environment variable (NULL removes it) while the object lives.
class CEnvironment
{
public:
    CEnvironment(const char* name, const char* value);
    ~CEnvironment();
    CEnvironment(const CEnvironment&) = delete;
    CEnvironment& operator=(const CEnvironment&) = delete;

private:
    CString m_name;
    CString m_old;
    bool m_had;
};

// Sets a string value of a registry key (created when missing; value NULL
// removes it) while the object lives, then restores what was there.
class CRegValueOverride
{
public:
    CRegValueOverride(HKEY root, const char* key, const char* name, const char* value, DWORD type = REG_SZ);
    CRegValueOverride(HKEY root, const char* key, const char* name, DWORD value);
    ~CRegValueOverride();
    CRegValueOverride(const CRegValueOverride&) = delete;
    CRegValueOverride& operator=(const CRegValueOverride&) = delete;

private:
    HKEY m_key;
    CString m_name;
    bool m_had;
    DWORD m_type;
    std::vector<BYTE> m_old;

    void Open(HKEY root, const char* key);
    void Set(DWORD type, const void* data, DWORD size);
};

// Path of a picture in the "screenshots" folder beside the test program
// (created when missing); the build keeps them as artefacts.
CString ScreenshotPath(const char* name);

// Writes what a window shows, copied in-process from its window DC (the only
// way popup menus come out right under Wine), as a 24-bit BMP file; an
// overlay window (an open popup menu) is copied over it at its place.
bool SaveWindowPicture(HWND hWnd, const char* path, HWND hOverlay = nullptr);

// Calls open, which shows a popup menu modally; once a popup-menu window of
// this thread is visible, inspect gets it, and then the menu is closed with
// Escape. Returns whether a popup was seen.
bool WhileMenuOpen(const std::function<void()>& open, const std::function<void(HWND popup)>& inspect);

} // namespace pirt_test
