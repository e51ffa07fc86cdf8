#include "corvalet_fixture.h"

using namespace pirt_test;

CCorvaletApp g_app;

void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            if (!g_app.PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

void CorvaletTest::SetUp()
{
    ResetDataRoots();
    m_folder.reset(new CScratchFolder("corvalet"));
    GetIniPath(INI_HOLBERIN); // seeds the profile and chooses the language
    SetAsker(&m_asker);
}

void CorvaletTest::TearDown()
{
    CloseApp();
    SetAsker(nullptr);
    m_folder.reset();
    ResetDataRoots();
}

void CorvaletTest::StartApp()
{
    ASSERT_TRUE(g_app.InitInstance());
    PumpFor(50);
    m_frame = dynamic_cast<CMainFrame*>(g_app.m_pMainWnd);
    ASSERT_NE(m_frame, nullptr);
}

void CorvaletTest::CloseApp()
{
    if (g_app.m_pMainWnd && g_app.m_pMainWnd->m_hWnd)
        g_app.m_pMainWnd->DestroyWindow();
    PumpFor(20);
    g_app.ExitInstance();
    g_app.m_pMainWnd = nullptr;
    m_frame = nullptr;
}

CString CorvaletTest::Title() const
{
    CString title;
    if (m_frame)
        m_frame->GetWindowText(title);
    return title;
}

void CorvaletTest::AddRow(const char* path, const char* kind, const char* action, const char* detail)
{
    CPluginRow row;
    row.path = path;
    row.kind = kind;
    row.action = action;
    row.detail = detail;
    List()->InsertRow(row);
    m_frame->SendMessage(WM_PLUGIN_MODIFIED);
}

void CorvaletTest::PressKey(HWND target, UINT vk, bool ctrl)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG msg = {target, WM_KEYDOWN, vk, 1, 0, {0, 0}};
    if (!g_app.PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

std::string CorvaletTest::FileText(const char* path) const
{
    std::vector<char> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}
