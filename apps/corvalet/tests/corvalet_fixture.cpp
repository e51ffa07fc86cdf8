#include "corvalet_fixture.h"

using namespace pirt_test;

CCorvaletApp g_app;

void PumpFor(DWORD ms) { PumpMessages(ms, &g_app); }

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
