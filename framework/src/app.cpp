// CWinApp, the program entry and the global accessors.
#include "fw/app.h"
#include "fw/menu.h"
#include "fw/commctrls.h"
#include "fw/handle.h"
#include "fw/recentfiles.h"
#include "handlemap.h"
#include <cstring>
#include <map>
#include <string>

namespace {
CWinApp* g_pApp = nullptr; // the program's application object
HINSTANCE g_hResource = nullptr;

HINSTANCE ModuleOfAddress(const void* p)
{
    HMODULE h = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              (LPCSTR)p, &h))
        return nullptr;
    return h;
}

CString ModuleFileTitle(HINSTANCE h)
{
    char path[MAX_PATH + 1] = "";
    DWORD n = ::GetModuleFileNameA(h, path, MAX_PATH);
    path[n < MAX_PATH ? n : MAX_PATH] = 0;
    CString s(path);
    int slash = s.ReverseFind('\\');
    s = s.Mid(slash + 1);
    int dot = s.ReverseFind('.');
    return dot < 0 ? s : s.Left(dot);
}
} // namespace

HINSTANCE FwGetResourceHandleInternal() { return g_hResource ? g_hResource : ::GetModuleHandleA(nullptr); }

CWinApp::CWinApp(const char* pszAppName)
    : m_hInstance(nullptr), m_pMainWnd(nullptr), m_pszAppName(nullptr), m_pszExeName(nullptr),
      m_pszProfileName(nullptr), m_pszRegistryKey(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL),
      m_bIsLibrary(FALSE), m_pRecentFileList(nullptr), m_nExitCode(0)
{
    if (pszAppName) {
        m_strAppName = pszAppName;
        m_pszAppName = m_strAppName;
    }
    // An object inside a DLL is that library's application object; any other
    // (the program's global, or one a test makes) is the program's.
    HINSTANCE hModule = ModuleOfAddress(this);
    if (hModule && hModule != ::GetModuleHandleA(nullptr)) {
        m_bIsLibrary = TRUE;
        m_hInstance = hModule;
    } else {
        m_hInstance = ::GetModuleHandleA(nullptr);
        if (!g_pApp)
            g_pApp = this;
    }
}

CWinApp::~CWinApp()
{
    delete m_pRecentFileList;
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    EnsureNames();
    return TRUE;
}

void CWinApp::EnsureNames()
{
    if (!m_pszAppName) {
        m_strAppName = ModuleFileTitle(m_hInstance);
        m_pszAppName = m_strAppName;
    }
    if (!m_pszExeName) {
        m_strExeName = ModuleFileTitle(m_hInstance);
        m_pszExeName = m_strExeName;
    }
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    return m_nExitCode;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0)
        return;
    m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d", (int)nMaxMRU);
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(const char* pszPathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(pszPathName);
}

BOOL CWinApp::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (nID == ID_APP_EXIT && nCode == CN_COMMAND) {
        if (!pHandlerInfo && m_pMainWnd && m_pMainWnd->GetSafeHwnd())
            m_pMainWnd->SendMessage(WM_CLOSE);
        return TRUE;
    }
    if (nID >= ID_FILE_MRU_FILE1 && nID <= ID_FILE_MRU_LAST && m_pRecentFileList) {
        int index = (int)(nID - ID_FILE_MRU_FILE1);
        if (nCode == (int)CN_UPDATE_COMMAND_UI) {
            if (pHandlerInfo)
                return TRUE;
            CCmdUI* pCmdUI = (CCmdUI*)pExtra;
            // The first entry rebuilds them all; the others are enabled.
            if (index == 0)
                m_pRecentFileList->UpdateMenu(pCmdUI);
            else
                pCmdUI->Enable(index < m_pRecentFileList->GetCount());
            return TRUE;
        }
        if (nCode == CN_COMMAND) {
            if (pHandlerInfo)
                return TRUE;
            if (index < m_pRecentFileList->GetCount()) {
                CString path = (*m_pRecentFileList)[index]; // the open may change the list
                OpenDocumentFile(path);
            }
            return TRUE;
        }
    }
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CWinApp::PumpMessage()
{
    MSG msg;
    BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
        m_nExitCode = r == 0 ? (int)msg.wParam : -1;
        return FALSE;
    }
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

int CWinApp::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            // Mouse moves and timer ticks alone do not restart idle work.
            if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE && msg.message != WM_TIMER &&
                msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    // Offer the message to each framework window from the target up to its
    // top-level window, then to the main window.
    HWND hMain = SafeHwnd(m_pMainWnd);
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (h == hMain)
            return FALSE;
        if (!(::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    if (hMain && m_pMainWnd->PreTranslateMessage(pMsg))
        return TRUE;
    return FALSE;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        HWND hMain = SafeHwnd(m_pMainWnd);
        if (hMain && ::IsWindowVisible(hMain)) {
            ::SendMessageA(hMain, WM_IDLEUPDATECMDUI, TRUE, 0);
            m_pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
        }
    } else if (lCount == 1) {
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
        CImageList::DeleteTempMap();
    }
    return lCount < 1;
}

int CWinApp::WinMainBody(HINSTANCE hInstance, char* pszCmdLine, int nCmdShow)
{
    m_hInstance = hInstance;
    m_lpCmdLine = pszCmdLine;
    m_nCmdShow = nCmdShow;
    int code;
    if (!InitInstance()) {
        if (m_pMainWnd && m_pMainWnd->GetSafeHwnd() && ::IsWindow(m_pMainWnd->GetSafeHwnd()))
            m_pMainWnd->DestroyWindow();
        code = ExitInstance();
    } else {
        code = Run();
    }
    return code;
}

BOOL CWinApp::DllMainBody(HINSTANCE hInstance, DWORD dwReason)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        m_hInstance = hInstance;
        m_bIsLibrary = TRUE;
        ::DisableThreadLibraryCalls(hInstance);
        return InitInstance();
    }
    if (dwReason == DLL_PROCESS_DETACH)
        ExitInstance();
    return TRUE;
}

void CWinApp::SetRegistryKey(const char* pszRegistryKey)
{
    m_strRegistryKey = pszRegistryKey ? pszRegistryKey : "";
    m_pszRegistryKey = m_strRegistryKey;
    EnsureNames();
    m_strProfileName = m_pszAppName;
    m_pszProfileName = m_strProfileName;
}

HKEY CWinApp::OpenSectionKey(const char* pszSection, BOOL bCreate)
{
    if (!m_pszRegistryKey || !*m_pszRegistryKey || !pszSection)
        return nullptr;
    CString path;
    path.Format("Software\\%s\\%s\\%s", m_pszRegistryKey, m_pszProfileName ? m_pszProfileName : "", pszSection);
    HKEY hKey = nullptr;
    LONG r = bCreate ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &hKey,
                                         nullptr)
                     : ::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &hKey);
    return r == ERROR_SUCCESS ? hKey : nullptr;
}

UINT CWinApp::GetProfileInt(const char* pszSection, const char* pszEntry, int nDefault)
{
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        CRegKeyHandle hKey(OpenSectionKey(pszSection, FALSE));
        if (!hKey)
            return (UINT)nDefault;
        DWORD value = 0, type = 0, size = sizeof(value);
        LONG r = ::RegQueryValueExA(hKey, pszEntry, nullptr, &type, (BYTE*)&value, &size);
        return (r == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value)) ? (UINT)value : (UINT)nDefault;
    }
    if (!m_pszProfileName)
        return (UINT)nDefault;
    return ::GetPrivateProfileIntA(pszSection, pszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(const char* pszSection, const char* pszEntry, int nValue)
{
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        CRegKeyHandle hKey(OpenSectionKey(pszSection, TRUE));
        if (!hKey)
            return FALSE;
        DWORD value = (DWORD)nValue;
        LONG r = ::RegSetValueExA(hKey, pszEntry, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
        return r == ERROR_SUCCESS;
    }
    if (!m_pszProfileName)
        return FALSE;
    CString s;
    s.Format("%d", nValue);
    return ::WritePrivateProfileStringA(pszSection, pszEntry, s, m_pszProfileName);
}

CString CWinApp::GetProfileString(const char* pszSection, const char* pszEntry, const char* pszDefault)
{
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        CRegKeyHandle hKey(OpenSectionKey(pszSection, FALSE));
        if (!hKey)
            return CString(pszDefault);
        DWORD type = 0, size = 0;
        CString value;
        LONG r = ::RegQueryValueExA(hKey, pszEntry, nullptr, &type, nullptr, &size);
        if (r == ERROR_SUCCESS && type == REG_SZ) {
            char* p = value.GetBuffer((int)size + 1);
            r = ::RegQueryValueExA(hKey, pszEntry, nullptr, &type, (BYTE*)p, &size);
            p[r == ERROR_SUCCESS ? size : 0] = 0; // a stored value need not be terminated
            value.ReleaseBuffer();
        }
        return (r == ERROR_SUCCESS && type == REG_SZ) ? value : CString(pszDefault);
    }
    if (!m_pszProfileName)
        return CString(pszDefault);
    CString value;
    char* p = value.GetBuffer(4096);
    DWORD n = ::GetPrivateProfileStringA(pszSection, pszEntry, pszDefault ? pszDefault : "", p, 4096, m_pszProfileName);
    value.ReleaseBuffer((int)n);
    return value;
}

BOOL CWinApp::WriteProfileString(const char* pszSection, const char* pszEntry, const char* pszValue)
{
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        if (!pszEntry) {
            // Removing a whole section.
            CString path;
            path.Format("Software\\%s\\%s\\%s", m_pszRegistryKey, m_pszProfileName ? m_pszProfileName : "", pszSection);
            LONG r = ::RegDeleteKeyA(HKEY_CURRENT_USER, path);
            return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
        }
        CRegKeyHandle hKey(OpenSectionKey(pszSection, TRUE));
        if (!hKey)
            return FALSE;
        LONG r;
        if (pszValue)
            r = ::RegSetValueExA(hKey, pszEntry, 0, REG_SZ, (const BYTE*)pszValue, (DWORD)strlen(pszValue) + 1);
        else {
            r = ::RegDeleteValueA(hKey, pszEntry);
            if (r == ERROR_FILE_NOT_FOUND)
                r = ERROR_SUCCESS;
        }
        return r == ERROR_SUCCESS;
    }
    if (!m_pszProfileName)
        return FALSE;
    return ::WritePrivateProfileStringA(pszSection, pszEntry, pszValue, m_pszProfileName);
}

BOOL CWinApp::GetProfileBinary(const char* pszSection, const char* pszEntry, BYTE** ppData, UINT* pBytes)
{
    if (!ppData || !pBytes)
        return FALSE;
    *ppData = nullptr;
    *pBytes = 0;
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        CRegKeyHandle hKey(OpenSectionKey(pszSection, FALSE));
        if (!hKey)
            return FALSE;
        DWORD type = 0, size = 0;
        LONG r = ::RegQueryValueExA(hKey, pszEntry, nullptr, &type, nullptr, &size);
        if (r == ERROR_SUCCESS && type == REG_BINARY && size > 0) {
            BYTE* p = new BYTE[size];
            r = ::RegQueryValueExA(hKey, pszEntry, nullptr, &type, p, &size);
            if (r == ERROR_SUCCESS) {
                *ppData = p;
                *pBytes = size;
            } else
                delete[] p;
        }
        return *ppData != nullptr;
    }
    // In an INI file each byte is two letters 'A'..'P' (low nibble first).
    CString text = GetProfileString(pszSection, pszEntry, nullptr);
    int n = text.GetLength();
    if (n == 0 || n % 2)
        return FALSE;
    BYTE* p = new BYTE[n / 2];
    for (int i = 0; i < n; i += 2) {
        int lo = text[i] - 'A', hi = text[i + 1] - 'A';
        if (lo < 0 || lo > 15 || hi < 0 || hi > 15) {
            delete[] p;
            return FALSE;
        }
        p[i / 2] = (BYTE)(lo | (hi << 4));
    }
    *ppData = p;
    *pBytes = (UINT)(n / 2);
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(const char* pszSection, const char* pszEntry, const BYTE* pData, UINT nBytes)
{
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        CRegKeyHandle hKey(OpenSectionKey(pszSection, TRUE));
        if (!hKey)
            return FALSE;
        LONG r = ::RegSetValueExA(hKey, pszEntry, 0, REG_BINARY, pData, nBytes);
        return r == ERROR_SUCCESS;
    }
    CString text;
    char* p = text.GetBuffer((int)nBytes * 2);
    for (UINT i = 0; i < nBytes; ++i) {
        p[2 * i] = (char)('A' + (pData[i] & 0x0F));
        p[2 * i + 1] = (char)('A' + (pData[i] >> 4));
    }
    text.ReleaseBuffer((int)nBytes * 2);
    return WriteProfileString(pszSection, pszEntry, text);
}

HICON CWinApp::LoadIcon(const char* pszResourceName) const
{
    HICON h = ::LoadIconA(AfxGetResourceHandle(), pszResourceName);
    return h ? h : ::LoadIconA(m_hInstance, pszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    HCURSOR h = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    return h ? h : ::LoadCursorA(m_hInstance, MAKEINTRESOURCEA(nIDResource));
}

// ------------------------------------------------------------------ globals

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->GetMainWnd() : nullptr; }

HINSTANCE AfxGetInstanceHandle() { return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr); }

HINSTANCE AfxGetResourceHandle() { return FwGetResourceHandleInternal(); }

void AfxSetResourceHandle(HINSTANCE hInstance) { g_hResource = hInstance; }

const char* AfxGetAppName()
{
    if (g_pApp && g_pApp->m_pszAppName)
        return g_pApp->m_pszAppName;
    return "";
}

const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // One class per attribute set, named after the attributes.
    static char names[64][80];
    static int count = 0;
    char name[80];
    wsprintfA(name, "Fw:%x:%x:%x:%x", nClassStyle, (UINT)(UINT_PTR)hCursor, (UINT)(UINT_PTR)hbrBackground,
              (UINT)(UINT_PTR)hIcon);
    FwLock lock;
    for (int i = 0; i < count; ++i)
        if (strcmp(names[i], name) == 0)
            return names[i];
    WNDCLASSA wc = {};
    wc.style = nClassStyle | CS_GLOBALCLASS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = FwFrameworkInstance();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    if (count >= 64)
        return CWnd::GetDefaultClassName();
    strcpy(names[count], name);
    wc.lpszClassName = names[count];
    WNDCLASSA existing;
    if (!::GetClassInfoA(FwFrameworkInstance(), names[count], &existing) && !::RegisterClassA(&wc))
        return CWnd::GetDefaultClassName();
    return names[count++];
}

int AfxMessageBox(const char* pszText, UINT nType, UINT)
{
    CWnd* pOwner = FwGetThreadMainWnd();
    HWND hOwner = SafeHwnd(pOwner);
    if (hOwner && !::IsWindowEnabled(hOwner))
        hOwner = ::GetActiveWindow();
    return ::MessageBoxA(hOwner, pszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString s;
    s.LoadString(nIDPrompt);
    return AfxMessageBox(s, nType, nIDHelp);
}

namespace {
BOOL CALLBACK FindThreadMainWnd(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd) && !::GetWindow(hWnd, GW_OWNER) && !(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) {
        *(HWND*)lParam = hWnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

CWnd* FwGetThreadMainWnd()
{
    DWORD tid = ::GetCurrentThreadId();
    CWnd* pMain = AfxGetMainWnd();
    HWND hMain = SafeHwnd(pMain);
    if (hMain && ::IsWindow(hMain) && ::GetWindowThreadProcessId(hMain, nullptr) == tid)
        return pMain;
    HWND found = nullptr;
    ::EnumThreadWindows(tid, FindThreadMainWnd, (LPARAM)&found);
    return found ? CWnd::FromHandle(found) : nullptr;
}

FARPROC FwLateProc(const char* pszLibrary, const char* pszName)
{
    static std::map<std::string, HMODULE>* pLoaded = new std::map<std::string, HMODULE>;
    HMODULE& hModule = (*pLoaded)[pszLibrary];
    if (!hModule)
        hModule = ::LoadLibraryA(pszLibrary);
    return hModule ? ::GetProcAddress(hModule, pszName) : nullptr;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, char* pszCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        ::MessageBoxA(nullptr, "The program has no application object.", "Error", MB_ICONERROR);
        return -1;
    }
    return pApp->WinMainBody(hInstance, pszCmdLine, nCmdShow);
}

BOOL FwDllMain(CWinApp* pApp, HINSTANCE hInstance, DWORD dwReason)
{
    return pApp ? pApp->DllMainBody(hInstance, dwReason) : TRUE;
}
