// Helpers for the suite's tests.
#include "testsupport.h"
#include "fw/handle.h"
#include <shlobj.h>
#include <shlwapi.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace pirt_test {

CString ProgramFolder()
{
    char buffer[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    char* slash = strrchr(buffer, '\\');
    if (slash != nullptr)
        *slash = '\0';
    return CString(buffer);
}

CString AppDataFolder()
{
    char buffer[MAX_PATH + 1] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, buffer);
    return CString(buffer);
}

int DeleteTree(const char* folder)
{
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesA(folder, FILE_ATTRIBUTE_NORMAL);
        return DeleteFileA(folder) ? 1 : 0;
    }
    // A link is removed as a link: its target is none of our business.
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAA fd;
        CFindHandle find(FindFirstFileA(CString(folder) + "\\*", &fd));
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (strcmp(fd.cFileName, ".") == 0 || strcmp(fd.cFileName, "..") == 0)
                    continue;
                DeleteTree(CString(folder) + "\\" + fd.cFileName);
            } while (FindNextFileA(find, &fd));
            find.Close();
        }
    }
    SetFileAttributesA(folder, FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryA(folder) ? 1 : 0;
}

int WriteFileBytes(const char* path, const void* data, size_t size)
{
    CHandle h(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    BOOL ok = size == 0 || WriteFile(h, data, (DWORD)size, &written, nullptr);
    return ok && written == (DWORD)size ? 1 : 0;
}

int WriteFileText(const char* path, const char* text) { return WriteFileBytes(path, text, strlen(text)); }

std::vector<char> ReadFileBytes(const char* path)
{
    std::vector<char> data;
    CHandle h(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (h == INVALID_HANDLE_VALUE)
        return data;
    DWORD size = GetFileSize(h, nullptr);
    if (size != INVALID_FILE_SIZE && size > 0) {
        data.resize(size);
        DWORD got = 0;
        if (!ReadFile(h, data.data(), size, &got, nullptr))
            got = 0;
        data.resize(got);
    }
    return data;
}

void ResetDataRoots()
{
    const CString appData = AppDataFolder();
    if (appData.IsEmpty())
        return;
    DeleteTree(appData + "\\Zex\\Ulmoro");
    DeleteTree(appData + "\\Talvery\\Pirt");
}

static void MakeFolders(const CString& path)
{
    // Every level below an existing one; the drive root always exists.
    for (int i = path.Find('\\', 3);; i = path.Find('\\', i + 1)) {
        CreateDirectoryA(i < 0 ? path : path.Left(i), nullptr);
        if (i < 0)
            break;
    }
}

CScratchFolder::CScratchFolder(const char* name) : m_path(ProgramFolder() + "\\scratch\\" + name)
{
    DeleteTree(m_path);
    MakeFolders(m_path);
}

CScratchFolder::~CScratchFolder() { DeleteTree(m_path); }

CString CScratchFolder::operator()(const char* relative) const { return m_path + "\\" + relative; }

CString CScratchFolder::MakeFolder(const char* relative) const
{
    const CString path = (*this)(relative);
    MakeFolders(path);
    return path;
}

CScratchRegKey::CScratchRegKey(const char* name) : m_path(CString("Software\\PirtTests\\") + name)
{
    SHDeleteKeyA(HKEY_CURRENT_USER, m_path);
    CRegKeyHandle key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, m_path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr) ==
        ERROR_SUCCESS)
        key.Close();
}

CScratchRegKey::~CScratchRegKey() { SHDeleteKeyA(HKEY_CURRENT_USER, m_path); }

// ---------------------------------------------------------------------------

static const char kHostClass[] = "PirtTestReportHost";

CReportHost::CReportHost() : m_host(nullptr)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc); // fails harmlessly when already registered

    m_host = CreateWindowExA(0, kHostClass, "report host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, 0, 0, 400, 250,
                                m_host, (HMENU)(INT_PTR)100, GetModuleHandleA(nullptr), nullptr);
    HWND progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 255, 400, 20, m_host,
                                    (HMENU)(INT_PTR)101, GetModuleHandleA(nullptr), nullptr);

    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 380;
    column.pszText = const_cast<char*>("Item");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, (LPARAM)&column);

    // Three distinguishable images; the list destroys the image list with itself.
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 3, 0);
    HDC screen = GetDC(nullptr);
    const COLORREF colours[3] = {RGB(0, 160, 0), RGB(200, 0, 0), RGB(0, 0, 200)};
    for (int i = 0; i < 3; ++i) {
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT r = {0, 0, 16, 16};
        HBRUSH brush = CreateSolidBrush(colours[i]);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        SelectObject(dc, old);
        DeleteDC(dc);
        ImageList_Add(images, bitmap, nullptr);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);

    m_list.Attach(list);
    m_progress.Attach(progress);
}

CReportHost::~CReportHost()
{
    m_list.Detach();
    m_progress.Detach();
    if (m_host != nullptr)
        DestroyWindow(m_host);
}

int CReportHost::RowCount() const { return (int)SendMessageA(m_list.GetSafeHwnd(), LVM_GETITEMCOUNT, 0, 0); }

CString CReportHost::RowText(int row) const
{
    char buffer[1024] = "";
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    if (!SendMessageA(m_list.GetSafeHwnd(), LVM_GETITEMA, 0, (LPARAM)&item))
        return CString();
    return CString(item.pszText);
}

int CReportHost::RowImage(int row) const
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (!SendMessageA(m_list.GetSafeHwnd(), LVM_GETITEMA, 0, (LPARAM)&item))
        return -1;
    return item.iImage;
}

int CReportHost::ProgressPos() const { return (int)SendMessageA(m_progress.GetSafeHwnd(), PBM_GETPOS, 0, 0); }

int CReportHost::ProgressLow() const { return (int)SendMessageA(m_progress.GetSafeHwnd(), PBM_GETRANGE, TRUE, 0); }

int CReportHost::ProgressHigh() const { return (int)SendMessageA(m_progress.GetSafeHwnd(), PBM_GETRANGE, FALSE, 0); }

// ---------------------------------------------------------------------------

CDialogCatcher::CDialogCatcher(int button, int tickId) : m_button(button), m_tickId(tickId)
{
    InitializeCriticalSection(&m_lock);
    m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
}

CDialogCatcher::~CDialogCatcher()
{
    SetEvent(m_stop);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    CloseHandle(m_stop);
    DeleteCriticalSection(&m_lock);
}

DWORD WINAPI CDialogCatcher::ThreadProc(LPVOID self)
{
    CDialogCatcher* catcher = static_cast<CDialogCatcher*>(self);
    while (WaitForSingleObject(catcher->m_stop, 20) == WAIT_TIMEOUT)
        catcher->Poll();
    return 0;
}

void CDialogCatcher::Poll() { EnumWindows(EnumProc, (LPARAM)this); }

static BOOL CALLBACK CollectStatic(HWND child, LPARAM out)
{
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Static") != 0)
        return TRUE;
    char text[1024] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (text[0] != '\0') {
        CString* joined = reinterpret_cast<CString*>(out);
        if (!joined->IsEmpty())
            *joined += "\n";
        *joined += text;
    }
    return TRUE;
}

BOOL CALLBACK CDialogCatcher::EnumProc(HWND wnd, LPARAM self)
{
    CDialogCatcher* catcher = reinterpret_cast<CDialogCatcher*>(self);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(wnd))
        return TRUE;
    char cls[32] = "";
    GetClassNameA(wnd, cls, sizeof(cls));
    if (strcmp(cls, "#32770") != 0)
        return TRUE;

    EnterCriticalSection(&catcher->m_lock);
    const bool seen = std::find(catcher->m_seen.begin(), catcher->m_seen.end(), wnd) != catcher->m_seen.end();
    LeaveCriticalSection(&catcher->m_lock);
    if (seen)
        return TRUE;

    Caught box;
    char caption[256] = "";
    GetWindowTextA(wnd, caption, sizeof(caption));
    box.caption = caption;
    EnumChildWindows(wnd, CollectStatic, (LPARAM)&box.text);
    box.owner = GetWindow(wnd, GW_OWNER);

    EnterCriticalSection(&catcher->m_lock);
    catcher->m_seen.push_back(wnd);
    catcher->m_boxes.push_back(box);
    LeaveCriticalSection(&catcher->m_lock);
    if (catcher->m_tickId != 0)
        SendMessageA(GetDlgItem(wnd, catcher->m_tickId), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(catcher->m_button, BN_CLICKED), 0);
    return TRUE;
}

bool CDialogCatcher::WaitFor(int count, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        EnterCriticalSection(&m_lock);
        const bool enough = (int)m_boxes.size() >= count;
        LeaveCriticalSection(&m_lock);
        if (enough)
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
}

std::vector<CDialogCatcher::Caught> CDialogCatcher::Boxes()
{
    EnterCriticalSection(&m_lock);
    std::vector<Caught> copy = m_boxes;
    LeaveCriticalSection(&m_lock);
    return copy;
}

CEnvironment::CEnvironment(const char* name, const char* value) : m_name(name), m_had(false)
{
    DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed > 0) {
        std::vector<char> buffer(needed + 1, '\0');
        if (GetEnvironmentVariableA(name, buffer.data(), (DWORD)buffer.size()) < buffer.size()) {
            m_had = true;
            m_old = buffer.data();
        }
    }
    SetEnvironmentVariableA(name, value);
}

CEnvironment::~CEnvironment() { SetEnvironmentVariableA(m_name, m_had ? (const char*)m_old : nullptr); }

CRegValueOverride::CRegValueOverride(HKEY root, const char* key, const char* name, const char* value, DWORD type)
    : m_key(nullptr), m_name(name), m_had(false), m_type(REG_NONE)
{
    Open(root, key);
    Set(type, value, value != nullptr ? (DWORD)strlen(value) + 1 : 0);
}

CRegValueOverride::CRegValueOverride(HKEY root, const char* key, const char* name, DWORD value)
    : m_key(nullptr), m_name(name), m_had(false), m_type(REG_NONE)
{
    Open(root, key);
    Set(REG_DWORD, &value, sizeof(value));
}

void CRegValueOverride::Open(HKEY root, const char* key)
{
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr) != ERROR_SUCCESS) {
        m_key = nullptr;
        return;
    }
    DWORD size = 0;
    if (RegQueryValueExA(m_key, m_name, nullptr, &m_type, nullptr, &size) == ERROR_SUCCESS) {
        m_old.resize(size);
        m_had = RegQueryValueExA(m_key, m_name, nullptr, &m_type, m_old.data(), &size) == ERROR_SUCCESS;
    }
}

void CRegValueOverride::Set(DWORD type, const void* data, DWORD size)
{
    if (m_key == nullptr)
        return;
    if (data != nullptr)
        RegSetValueExA(m_key, m_name, 0, type, (const BYTE*)data, size);
    else
        RegDeleteValueA(m_key, m_name);
}

CRegValueOverride::~CRegValueOverride()
{
    if (m_key == nullptr)
        return;
    if (m_had)
        RegSetValueExA(m_key, m_name, 0, m_type, m_old.data(), (DWORD)m_old.size());
    else
        RegDeleteValueA(m_key, m_name);
    RegCloseKey(m_key);
}

CString ScreenshotPath(const char* name)
{
    CString folder = ProgramFolder() + "\\screenshots";
    ::CreateDirectoryA(folder, nullptr);
    return folder + "\\" + name;
}

bool SaveWindowPicture(HWND hWnd, const char* path, HWND hOverlay)
{
    RECT rc, overlay = {0, 0, 0, 0};
    if (!::IsWindow(hWnd) || !::GetWindowRect(hWnd, &rc))
        return false;
    RECT window = rc;
    if (hOverlay && ::GetWindowRect(hOverlay, &overlay))
        ::UnionRect(&rc, &window, &overlay);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (cx <= 0 || cy <= 0)
        return false;
    HDC windowDC = ::GetWindowDC(hWnd);
    HDC memDC = ::CreateCompatibleDC(windowDC);
    BITMAPINFO bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(windowDC, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memDC, bmp);
    ::PatBlt(memDC, 0, 0, cx, cy, WHITENESS);
    ::BitBlt(memDC, window.left - rc.left, window.top - rc.top, window.right - window.left, window.bottom - window.top,
             windowDC, 0, 0, SRCCOPY);
    if (hOverlay) {
        HDC overlayDC = ::GetWindowDC(hOverlay);
        ::BitBlt(memDC, overlay.left - rc.left, overlay.top - rc.top, overlay.right - overlay.left,
                 overlay.bottom - overlay.top, overlayDC, 0, 0, SRCCOPY);
        ::ReleaseDC(hOverlay, overlayDC);
    }
    ::GdiFlush();
    DWORD rowBytes = ((DWORD)cx * 3 + 3) & ~3u;
    DWORD imageSize = rowBytes * cy;
    BITMAPFILEHEADER fh;
    ZeroMemory(&fh, sizeof(fh));
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(BITMAPINFOHEADER);
    fh.bfSize = fh.bfOffBits + imageSize;
    bi.bmiHeader.biSizeImage = imageSize;
    std::vector<char> file(fh.bfSize);
    memcpy(&file[0], &fh, sizeof(fh));
    memcpy(&file[sizeof(fh)], &bi.bmiHeader, sizeof(BITMAPINFOHEADER));
    memcpy(&file[fh.bfOffBits], bits, imageSize);
    ::SelectObject(memDC, old);
    ::DeleteObject(bmp);
    ::DeleteDC(memDC);
    ::ReleaseDC(hWnd, windowDC);
    return WriteFileBytes(path, &file[0], file.size()) != 0;
}

namespace {
struct MenuWatch
{
    const std::function<void(HWND)>* inspect;
    bool seen;
    int ticks;
};
MenuWatch* g_menuWatch = nullptr;

BOOL CALLBACK FindPopupMenu(HWND hWnd, LPARAM lParam)
{
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32768") == 0 && ::IsWindowVisible(hWnd)) {
        *(HWND*)lParam = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK WatchMenu(HWND, UINT, UINT_PTR, DWORD)
{
    MenuWatch* watch = g_menuWatch;
    if (!watch)
        return;
    HWND popup = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindPopupMenu, (LPARAM)&popup);
    ++watch->ticks;
    if (popup && !watch->seen) {
        // What inspect started (input, a switch to another popup) is given
        // two ticks before the menu is closed.
        watch->seen = true;
        watch->ticks = -2;
        (*watch->inspect)(popup);
        return;
    }
    // Escape closes one level; a menu mode that stays, or that never showed
    // a popup within two seconds, is ended.
    if ((!watch->seen && watch->ticks < 40) || watch->ticks <= 0)
        return;
    if (popup && watch->ticks % 2 == 1)
        ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    else
        ::EndMenu();
}
} // namespace

bool WhileMenuOpen(const std::function<void()>& open, const std::function<void(HWND popup)>& inspect)
{
    MenuWatch watch = {&inspect, false, 0};
    g_menuWatch = &watch;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, WatchMenu);
    open();
    ::KillTimer(nullptr, timer);
    g_menuWatch = nullptr;
    return watch.seen;
}

} // namespace pirt_test

namespace pirt_test {

static BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM out)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
    return TRUE;
}

std::vector<std::string> DriveModalAnswering(const char* caption, int answer, const std::function<void()>& show,
                                             const std::function<void(HWND window)>& user)
{
    CDialogCatcher catcher(answer);
    std::vector<std::string> others;
    if (!DriveModal(caption, show, user))
        others.push_back(std::string("<no window \"") + caption + "\">");
    // The driven window is a dialog box too: only the others count.
    std::vector<CDialogCatcher::Caught> boxes = catcher.Boxes();
    for (size_t i = 0; i < boxes.size(); i++)
        if (boxes[i].caption != caption)
            others.push_back((const char*)boxes[i].text);
    return others;
}

void PumpMessages(DWORD ms, CWinApp* app)
{
    DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            if (!app || !app->PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

HWND ShowSheetPage(HWND sheet, int index)
{
    SendMessageA(sheet, PSM_SETCURSEL, (WPARAM)index, 0);
    return (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
}

std::string IniFileValue(const char* iniPath, const char* section, const char* key)
{
    char value[512] = "";
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof(value), iniPath);
    return value;
}

static const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string RunValue(const char* name)
{
    char value[512] = "";
    DWORD size = sizeof(value);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<absent>";
    LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)value, &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? value : "<absent>";
}

void DeleteRunValue(const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

std::string ListItemText(HWND list, int row, int column)
{
    char text[512] = "";
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    return text;
}

std::vector<HWND> VisibleThreadWindows(DWORD threadId)
{
    std::vector<HWND> windows;
    EnumThreadWindows(threadId, CollectVisibleWindow, (LPARAM)&windows);
    return windows;
}

bool DriveModal(const char* caption, const std::function<void()>& show, const std::function<void(HWND window)>& user)
{
    const DWORD uiThread = GetCurrentThreadId();
    const std::string wanted = caption;
    std::atomic<bool> done(false);
    bool found = false, forced = false;
    std::thread driver([&] {
        for (int i = 0; i < 200 && !found; i++) {
            for (HWND w : VisibleThreadWindows(uiThread)) {
                char text[256] = "";
                GetWindowTextA(w, text, sizeof(text));
                if (wanted == text) {
                    found = true;
                    Sleep(100); // let it finish its first paint
                    user(w);
                    break;
                }
            }
            if (!found)
                Sleep(50);
        }
        // Whatever is still open long after (or instead of) the user's part
        // is closed, so a test fails instead of hanging.
        DWORD since = found ? GetTickCount() : GetTickCount() - 15000;
        while (!done) {
            if (GetTickCount() - since >= 15000) {
                forced = true;
                for (HWND w : VisibleThreadWindows(uiThread)) {
                    PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                    PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
                    PostMessageA(w, WM_CLOSE, 0, 0);
                }
                since = GetTickCount() - 14000;
            }
            Sleep(50);
        }
    });
    show();
    done = true;
    driver.join();
    return found && !forced;
}

} // namespace pirt_test
