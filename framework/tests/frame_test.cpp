#include "fw/framework.h"
#include "fwtest.h"
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <cstring>

namespace {
enum { ID_FRAME_CMD = 500, ID_VIEW_CMD = 501, ID_NO_HANDLER = 502, ID_APP_CMD = 503 };
int g_framesDeleted = 0;
int g_viewCommands = 0, g_frameCommands = 0, g_appCommands = 0;

class CTestView : public CWnd
{
public:
    afx_msg void OnViewCmd() { ++g_viewCommands; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestView, CWnd)
    ON_COMMAND(ID_VIEW_CMD, OnViewCmd)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd
{
public:
    CTestView m_view;
    ~CTestFrame() override { ++g_framesDeleted; }
    afx_msg void OnFrameCmd() { ++g_frameCommands; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(ID_FRAME_CMD, OnFrameCmd)
END_MESSAGE_MAP()

class CTestApp : public CWinApp
{
public:
    int idles = 0;
    int inits = 0;
    BOOL initResult = TRUE;
    BOOL InitInstance() override
    {
        ++inits;
        CWinApp::InitInstance();
        return initResult;
    }
    BOOL OnIdle(LONG lCount) override
    {
        ++idles;
        return CWinApp::OnIdle(lCount);
    }
    int ExitInstance() override { return CWinApp::ExitInstance() + 1000; }
    afx_msg void OnAppCmd() { ++g_appCommands; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_APP_CMD, OnAppCmd)
END_MESSAGE_MAP()

CTestFrame* MakeFrame()
{
    CTestFrame* f = new CTestFrame;
    if (!f->Create(nullptr, "Frame test", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400)))
        return nullptr;
    f->m_view.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), f, AFX_IDW_PANE_FIRST);
    return f;
}

// Takes the WM_QUIT a closing main window posts, so later tests keep pumping.
bool TakeQuit(int* pCode = nullptr)
{
    MSG msg;
    bool found = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            found = true;
            if (pCode)
                *pCode = (int)msg.wParam;
        } else
            DispatchMessageA(&msg);
    }
    return found;
}
} // namespace

TEST(CFrameWndTest, RoutesCommandsViewFirstThenFrameThenApp)
{
    CTestApp app;
    CTestFrame* f = MakeFrame();
    ASSERT_NE(nullptr, f);
    g_viewCommands = g_frameCommands = g_appCommands = 0;
    f->SendMessage(WM_COMMAND, ID_VIEW_CMD, 0);
    f->SendMessage(WM_COMMAND, ID_FRAME_CMD, 0);
    f->SendMessage(WM_COMMAND, ID_APP_CMD, 0);
    EXPECT_EQ(1, g_viewCommands);
    EXPECT_EQ(1, g_frameCommands);
    EXPECT_EQ(1, g_appCommands);

    // The view fills the client area after a layout.
    f->RecalcLayout();
    CRect client, view;
    f->GetClientRect(&client);
    f->m_view.GetWindowRect(&view);
    EXPECT_EQ(client.Width(), view.Width());
    EXPECT_EQ(client.Height(), view.Height());

    int deleted = g_framesDeleted;
    f->SendMessage(WM_CLOSE); // destroys and deletes the frame
    EXPECT_EQ(deleted + 1, g_framesDeleted);
    EXPECT_FALSE(TakeQuit()); // not the main window: the program goes on
}

TEST(CFrameWndTest, MenuItemsWithoutHandlerAreDisabledOnOpening)
{
    CTestApp app;
    CTestFrame* f = MakeFrame();
    ASSERT_NE(nullptr, f);
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, ID_FRAME_CMD, "frame");
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(MF_STRING, ID_VIEW_CMD, "view");
    popup.AppendMenu(MF_STRING, ID_NO_HANDLER, "none");
    f->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup.m_hMenu, 0);
    EXPECT_FALSE(popup.GetMenuState(ID_FRAME_CMD, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(popup.GetMenuState(ID_VIEW_CMD, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup.GetMenuState(ID_NO_HANDLER, MF_BYCOMMAND) & MF_GRAYED);

    f->m_bAutoMenuEnable = FALSE;
    popup.EnableMenuItem(ID_NO_HANDLER, MF_BYCOMMAND | MF_ENABLED);
    f->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup.m_hMenu, 0);
    EXPECT_FALSE(popup.GetMenuState(ID_NO_HANDLER, MF_BYCOMMAND) & MF_GRAYED);
    f->DestroyWindow();
}

TEST(CWinAppTest, MainWindowEndsTheProgramAndIsFoundFromLibraries)
{
    CTestApp app;
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_FALSE(app.m_bIsLibrary);
    CTestFrame* f = MakeFrame();
    ASSERT_NE(nullptr, f);
    app.m_pMainWnd = f;
    EXPECT_EQ(f, AfxGetMainWnd());
    EXPECT_EQ(f, FwGetThreadMainWnd()); // even while hidden: it is this thread's main window

    // From another thread the program's main window is not that thread's.
    struct Probe
    {
        static DWORD WINAPI Run(LPVOID p)
        {
            *(CWnd**)p = FwGetThreadMainWnd();
            return 0;
        }
    };
    CWnd* fromOther = f;
    CHandle th(CreateThread(nullptr, 0, Probe::Run, &fromOther, 0, nullptr));
    WaitForSingleObject(th, 5000);
    th.Close();
    EXPECT_EQ(nullptr, fromOther);

    f->DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    int code = -1;
    EXPECT_TRUE(TakeQuit(&code));
    EXPECT_EQ(0, code);
}

TEST(CWinAppTest, ThreadMainWindowWithoutApplicationWindow)
{
    TakeQuit();
    EXPECT_EQ(nullptr, FwGetThreadMainWnd());
    CWnd owner, owned;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(
        owned.CreateEx(0, nullptr, "owned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, owner.m_hWnd, nullptr));
    EXPECT_EQ(nullptr, FwGetThreadMainWnd()); // owner hidden, the visible one is owned
    owner.ShowWindow(SW_SHOW);
    EXPECT_EQ(&owner, FwGetThreadMainWnd());
    owned.DestroyWindow();
    owner.DestroyWindow();
}

TEST(CWinAppTest, RunPumpsIdlesAndReturnsTheExitCode)
{
    CTestApp app;
    app.m_pMainWnd = nullptr;
    PostQuitMessage(7);
    int code = app.Run();
    EXPECT_EQ(1007, code);

    // A library's application object runs InitInstance on attach; a refusal fails the load.
    CTestApp lib;
    EXPECT_TRUE(lib.DllMainBody(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH));
    EXPECT_TRUE(lib.m_bIsLibrary);
    EXPECT_EQ(1, lib.inits);
    lib.initResult = FALSE;
    EXPECT_FALSE(FwDllMain(&lib, GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH));
}

TEST(CWinAppTest, WinMainRunsInitThenLoopOrExit)
{
    CTestApp app;
    app.initResult = FALSE;
    EXPECT_EQ(1000, app.WinMainBody(GetModuleHandleA(nullptr), (char*)"", SW_SHOW));
    EXPECT_EQ(1, app.inits);
    EXPECT_STREQ("framework_tests", app.m_pszAppName);

    app.initResult = TRUE;
    PostQuitMessage(3);
    EXPECT_EQ(1003, app.WinMainBody(GetModuleHandleA(nullptr), (char*)"", SW_SHOW));
    EXPECT_GE(app.idles, 0);
}

TEST(CWinAppTest, ProfileSettingsInRegistryAndIniFile)
{
    CTestApp app;
    app.m_pszAppName = "ProfileTest";
    app.SetRegistryKey("FwTests");
    EXPECT_EQ(17u, app.GetProfileInt("Rows", "Column Count", 17));
    EXPECT_TRUE(app.WriteProfileInt("Rows", "Column Count", 5));
    EXPECT_EQ(5u, app.GetProfileInt("Rows", "Column Count", 17));
    EXPECT_TRUE(app.WriteProfileString("Rows", "Name", "value"));
    EXPECT_STREQ("value", app.GetProfileString("Rows", "Name"));
    EXPECT_STREQ("dflt", app.GetProfileString("Rows", "Other", "dflt"));
    // A value of another type is not read as an integer.
    EXPECT_EQ(3u, app.GetProfileInt("Rows", "Name", 3));

    const BYTE data[] = {0, 1, 0xFF, 0x7A};
    EXPECT_TRUE(app.WriteProfileBinary("Rows", "Column Order", data, sizeof(data)));
    BYTE* p = nullptr;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary("Rows", "Column Order", &p, &n));
    ASSERT_EQ(sizeof(data), n);
    EXPECT_EQ(0, memcmp(data, p, n));
    delete[] p;
    EXPECT_FALSE(app.GetProfileBinary("Rows", "Missing", &p, &n));
    EXPECT_EQ(nullptr, p);
    EXPECT_TRUE(app.WriteProfileString("Rows", nullptr, nullptr)); // removes the section
    EXPECT_EQ(17u, app.GetProfileInt("Rows", "Column Count", 17));
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\FwTests");

    // Without a registry key the settings go to the profile (INI) file.
    CTestApp iniApp;
    CString ini = FwTestScratch("profile") + "\\app.ini";
    iniApp.m_pszProfileName = ini;
    EXPECT_TRUE(iniApp.WriteProfileInt("S", "N", -4));
    EXPECT_EQ((UINT)-4, iniApp.GetProfileInt("S", "N", 0));
    EXPECT_TRUE(iniApp.WriteProfileBinary("S", "B", data, sizeof(data)));
    ASSERT_TRUE(iniApp.GetProfileBinary("S", "B", &p, &n));
    ASSERT_EQ(sizeof(data), n);
    EXPECT_EQ(0, memcmp(data, p, n));
    delete[] p;
    EXPECT_TRUE(iniApp.WriteProfileString("S", "B", "ABC")); // odd length: not binary
    EXPECT_FALSE(iniApp.GetProfileBinary("S", "B", &p, &n));
}
