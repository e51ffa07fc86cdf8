// CWinApp: the application object of a program or of a library.
//
// A program defines one global object of a CWinApp-derived class; the
// framework's WinMain (linked into every executable that uses the framework)
// runs InitInstance, then Run (the message loop) when InitInstance returned
// TRUE, and returns ExitInstance's code.
//
// A library defines its own object and declares FW_DLL_APP(theApp) once: the
// library's DllMain then runs theApp.InitInstance on process attach (a FALSE
// result fails the load) and ExitInstance on detach.
#pragma once
#include "fw/wnd.h"

// Sent to the main window and its descendants at idle time so that bars can
// update their command states.
#define WM_IDLEUPDATECMDUI 0x0363

#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141
#endif

class CRecentFileList;
class CDocument;

class FW_API CWinApp : public CCmdTarget
{
public:
    explicit CWinApp(const char* pszAppName = nullptr);
    virtual ~CWinApp();

    HINSTANCE m_hInstance; // the module holding this object
    CWnd* m_pMainWnd;
    const char* m_pszAppName; // defaults to the module's file title
    const char* m_pszExeName;
    const char* m_pszProfileName;
    const char* m_pszRegistryKey;
    char* m_lpCmdLine;
    int m_nCmdShow;
    BOOL m_bIsLibrary; // TRUE for an application object living in a DLL

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnIdle(LONG lCount);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    BOOL PumpMessage();
    // The recent-file commands (ID_FILE_MRU_FILE1 and up) and ID_APP_EXIT
    // (closes the main window) are handled here.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    // Recent files: LoadStdProfileSettings makes the list (nMaxMRU entries,
    // none for 0) and reads it from the profile; ExitInstance writes it back.
    CRecentFileList* m_pRecentFileList;
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    virtual void AddToRecentFileList(const char* pszPathName);
    // Opens a document file through the first document template (command
    // line, dropped file, recent-file list); null when it was not opened.
    virtual CDocument* OpenDocumentFile(const char* pszFileName);
    // Registers each template's file type under HKEY_CLASSES_ROOT (or, when
    // that is refused, HKEY_CURRENT_USER\Software\Classes): the extension
    // names the type, the type opens with "<program>" "%1". Only the open
    // verb is written, whatever bCompat says.
    BOOL RegisterShellFileTypes(BOOL bCompat = FALSE);

    // Profile settings: under HKCU\Software\<key>\<app>\<section> once
    // SetRegistryKey was called, otherwise in the INI file m_pszProfileName.
    void SetRegistryKey(const char* pszRegistryKey);
    UINT GetProfileInt(const char* pszSection, const char* pszEntry, int nDefault);
    BOOL WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue);
    CString GetProfileString(const char* pszSection, const char* pszEntry, const char* pszDefault = nullptr);
    BOOL WriteProfileString(const char* pszSection, const char* pszEntry, const char* pszValue);
    // *ppData is allocated with new[]; the caller frees it with delete[].
    BOOL GetProfileBinary(const char* pszSection, const char* pszEntry, BYTE** ppData, UINT* pBytes);
    BOOL WriteProfileBinary(const char* pszSection, const char* pszEntry, const BYTE* pData, UINT nBytes);

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(const char* pszResourceName) const;
    HICON LoadStandardIcon(const char* pszIconName) const { return ::LoadIconA(nullptr, pszIconName); }
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(const char* pszCursorName) const { return ::LoadCursorA(nullptr, pszCursorName); }

    // Internal: run by the framework's WinMain and by FW_DLL_APP's DllMain.
    int WinMainBody(HINSTANCE hInstance, char* pszCmdLine, int nCmdShow);
    BOOL DllMainBody(HINSTANCE hInstance, DWORD dwReason);

private:
    HKEY OpenSectionKey(const char* pszSection, BOOL bCreate);
    void EnsureNames();
    CString m_strAppName;
    CString m_strExeName;
    CString m_strProfileName;
    CString m_strRegistryKey;
    int m_nExitCode;
};

// The program's application object (null in a process without one).
FW_API CWinApp* AfxGetApp();
// The program's main window.
FW_API CWnd* AfxGetMainWnd();
FW_API HINSTANCE AfxGetInstanceHandle();
FW_API HINSTANCE AfxGetResourceHandle();
FW_API void AfxSetResourceHandle(HINSTANCE hInstance);
FW_API const char* AfxGetAppName();
// Registers (once) a window class with these attributes; returns its name.
FW_API const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                                       HICON hIcon = nullptr);
FW_API int AfxMessageBox(const char* pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
FW_API int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// The main window of the calling thread's program, for libraries that need an
// owner: the application's main window when the caller runs on that window's
// thread, otherwise the first visible, unowned top-level window of the thread.
// Null when the thread has none.
FW_API CWnd* FwGetThreadMainWnd();

// A system library that only some commands use is loaded at the first call
// that needs it, not with the program (every library loaded before the first
// window shows delays it): the export, with the library loaded on first use
// and kept until the process ends; null when either is missing.
FW_API FARPROC FwLateProc(const char* pszLibrary, const char* pszName);
template <class F>
F FwLateProc(const char* pszLibrary, const char* pszName)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(FwLateProc(pszLibrary, pszName)));
}

// The framework's program entry; the WinMain linked into executables calls it.
FW_API int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, char* pszCmdLine, int nCmdShow);
FW_API BOOL FwDllMain(CWinApp* pApp, HINSTANCE hInstance, DWORD dwReason);

#define FW_DLL_APP(theApp) \
    extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) \
    { \
        return FwDllMain(&(theApp), hInstance, dwReason); \
    }
