// Themed frames and dialogs in real windows: menus converted at creation,
// the system menu's ids while it is open, popup windows associated with the
// right menu, and no GDI object or menu left behind by popups or colour
// changes.
#include "themedframe.h"
#include "menutheme.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <vector>

namespace {
class CTestFrame : public CThemedFrameWnd
{};

void Pump(DWORD ms)
{
    DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < ms) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    }
}

// Runs once the menu loop is idle, then ends the menu.
std::function<void()> g_whileOpen;
void CALLBACK WhileOpenTimer(HWND, UINT, UINT_PTR nID, DWORD)
{
    ::KillTimer(nullptr, nID);
    if (g_whileOpen)
        g_whileOpen();
    g_whileOpen = nullptr;
    ::EndMenu();
}

void WhileMenuOpen(std::function<void()> f)
{
    g_whileOpen = f;
    ::SetTimer(nullptr, 0, 30, WhileOpenTimer);
}

BOOL CALLBACK FindPopupProc(HWND h, LPARAM l)
{
    char cls[16] = "";
    ::GetClassNameA(h, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32768") == 0 && ::IsWindowVisible(h)) {
        *(HWND*)l = h;
        return FALSE;
    }
    return TRUE;
}

HWND FindPopupWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindPopupProc, (LPARAM)&found);
    return found;
}

// An icon set that only counts its refreshes.
class CCountingIcons : public CThemedMenuIcons
{
public:
    int refreshes = 0;
    void OnSysColorChange() override { ++refreshes; }
};

BOOL IsOwnerDrawn(HMENU hMenu, int pos)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoA(hMenu, (UINT)pos, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW);
}

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldTheme = CThemedMenu::SelectTheme(8);
        m_pFrame = new CTestFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(100, WS_OVERLAPPEDWINDOW));
        m_hWnd = m_pFrame->m_hWnd;
        ::SetWindowPos(m_hWnd, nullptr, 50, 50, 400, 300, SWP_NOZORDER);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->SetForegroundWindow();
        Pump(50);
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
        CThemedMenu::SelectTheme(m_oldTheme);
    }
    CTestFrame* m_pFrame = nullptr;
    HWND m_hWnd = nullptr;
    int m_oldTheme = 2;
};
} // namespace

TEST_F(WindowTest, FrameMenusAreThemed)
{
    HMENU hMenu = ::GetMenu(m_hWnd);
    ASSERT_EQ(m_pFrame->m_defaultMenu.m_hMenu, hMenu);
    EXPECT_TRUE(IsOwnerDrawn(hMenu, 0));
    EXPECT_TRUE(IsOwnerDrawn(::GetSubMenu(hMenu, 0), 0));
    EXPECT_EQ(::GetSystemMenu(m_hWnd, FALSE), m_pFrame->m_systemMenu.m_hMenu);
    // The owner-drawn bar items have their measured size.
    RECT item;
    ASSERT_TRUE(::GetMenuItemRect(m_hWnd, hMenu, 0, &item));
    EXPECT_GT(item.right - item.left, 10);
    EXPECT_EQ(::GetSystemMetrics(SM_CYMENU), item.bottom - item.top + 1);

    // Timer ids handed out are not handed out again while in use.
    EXPECT_EQ(31u, SetFreeTimer(m_hWnd, 1000));
    EXPECT_EQ(32u, SetFreeTimer(m_hWnd, 1000));
    KillFreeTimer(m_hWnd, 31);
    EXPECT_EQ(31u, SetFreeTimer(m_hWnd, 1000));
    EXPECT_EQ(0u, SetFreeTimer(nullptr, 1000));

    // A frame whose menu resource is missing is not created (and deletes itself).
    CTestFrame* pMissing = new CTestFrame;
    EXPECT_FALSE(pMissing->Create(nullptr, "missing", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr,
                                  MAKEINTRESOURCEA(4711)));
}

TEST_F(WindowTest, SystemMenuIdsWhileOpen)
{
    std::vector<UINT> open;
    WhileMenuOpen([&] {
        HMENU hSys = ::GetSystemMenu(m_hWnd, FALSE);
        for (int i = 0, n = ::GetMenuItemCount(hSys); i < n; ++i)
            open.push_back(::GetMenuItemID(hSys, i));
    });
    ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    Pump(500);
    ASSERT_FALSE(open.empty());
    auto has = [](const std::vector<UINT>& ids, UINT id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    // While open the system draws no glyph of its own for these items.
    EXPECT_TRUE(has(open, SC_RESTORE + 1));
    EXPECT_TRUE(has(open, SC_MINIMIZE + 1));
    EXPECT_TRUE(has(open, SC_CLOSE + 1));
    EXPECT_FALSE(has(open, SC_CLOSE));
    std::vector<UINT> after;
    HMENU hSys = ::GetSystemMenu(m_hWnd, FALSE);
    for (int i = 0, n = ::GetMenuItemCount(hSys); i < n; ++i)
        after.push_back(::GetMenuItemID(hSys, i));
    EXPECT_TRUE(has(after, SC_RESTORE));
    EXPECT_TRUE(has(after, SC_MINIMIZE));
    EXPECT_TRUE(has(after, SC_CLOSE));
    EXPECT_FALSE(has(after, SC_CLOSE + 1));
}

TEST_F(WindowTest, PopupsAreDecoratedAgainOnceTheHookResumes)
{
    HMENU hFile = ::GetSubMenu(m_pFrame->m_defaultMenu.m_hMenu, 0);
    auto decorated = [&] {
        BOOL seen = FALSE;
        WhileMenuOpen([&] { seen = CThemedMenuHook::FindData(FindPopupWindow()) != nullptr; });
        ::TrackPopupMenu(hFile, TPM_LEFTALIGN, 100, 100, 0, m_hWnd, nullptr);
        Pump(10);
        return seen;
    };
    CThemedMenu::SuspendMenuHook();
    CThemedMenu::SuspendMenuHook();
    EXPECT_FALSE(decorated());
    CThemedMenu::ResumeMenuHook();
    EXPECT_TRUE(decorated());
}

TEST_F(WindowTest, PopupsTakeTheirOwnMenuAndLeaveNothing)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1));
    images.Add(::LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION));
    ASSERT_TRUE(m_pFrame->m_defaultMenu.SetItemImage(1001, &images, 0));
    HMENU hFile = ::GetSubMenu(m_pFrame->m_defaultMenu.m_hMenu, 0);
    HMENU hEdit = ::GetSubMenu(m_pFrame->m_defaultMenu.m_hMenu, 1);
    CThemedMenu& bar = m_pFrame->m_defaultMenu;

    struct Seen
    {
        HMENU shown = nullptr;
        HMENU decorated = nullptr;
        int barOpen = -1;
        COLORREF corner = 0;
    };
    auto cycle = [&](HMENU hPopup) {
        Seen seen;
        WhileMenuOpen([&] {
            HWND hPopupWnd = FindPopupWindow();
            seen.shown = (HMENU)::SendMessageA(hPopupWnd, MN_GETHMENU, 0, 0);
            CMenuHookData* pData = CThemedMenuHook::FindData(hPopupWnd);
            seen.decorated = pData ? pData->hMenu : nullptr;
            seen.barOpen = bar.m_nOpenPopups;
            // In-process capture of the popup (xwd shows popups black under Wine).
            ::UpdateWindow(hPopupWnd);
            CWindowDC src(hPopupWnd);
            CDC mem;
            mem.CreateCompatibleDC(&src);
            CBitmap bmp;
            bmp.CreateCompatibleBitmap(src.m_hDC, 8, 8);
            HGDIOBJ hOld = mem.SelectObject(&bmp);
            mem.BitBlt(0, 0, 8, 8, &src, 2, 2, SRCCOPY);
            seen.corner = mem.GetPixel(4, 4);
            mem.SelectObject(hOld);
        });
        ::TrackPopupMenu(hPopup, TPM_LEFTALIGN, 100, 100, 0, m_hWnd, nullptr);
        Pump(10);
        return seen;
    };

    cycle(hFile); // brushes and caches are made once
    LONG gdi = FwGdiObjectCount(), menus = FwMenuObjectCount();
    for (int i = 0; i < 50; ++i) {
        HMENU hPopup = i % 2 ? hEdit : hFile;
        Seen seen = cycle(hPopup);
        ASSERT_EQ(hPopup, seen.shown) << i;
        EXPECT_EQ(hPopup, seen.decorated) << i;
        EXPECT_EQ(1, seen.barOpen) << i;
        EXPECT_EQ(0, bar.m_nOpenPopups) << i;
    }
    EXPECT_EQ(gdi, FwGdiObjectCount());
    EXPECT_EQ(menus, FwMenuObjectCount());
    EXPECT_EQ(nullptr, CThemedMenu::GetLastPopup());

    // Colour changes rebuild the icon variants: the first at once, those
    // that follow within 2000 ms once together when the pause is over.
    CCountingIcons counter;
    CThemedMenuIcons::List().push_back(&counter);
    for (int i = 0; i < 4; ++i)
        ::SendMessageA(m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(1, counter.refreshes);
    Pump(2200);
    EXPECT_EQ(2, counter.refreshes);
    std::vector<CThemedMenuIcons*>& sets = CThemedMenuIcons::List();
    sets.erase(std::find(sets.begin(), sets.end(), &counter));
    // The icon looks let go of by the colour changes come back at the next
    // paint, and no more than that.
    cycle(hFile);
    EXPECT_EQ(gdi, FwGdiObjectCount());
    EXPECT_EQ(menus, FwMenuObjectCount());
}

TEST(ThemedDialog, MenuAndHandlesFollowTheWindow)
{
    LONG menus = FwMenuObjectCount();
    {
        CThemedDialog dlg(101);
        ASSERT_TRUE(dlg.Create(101));
        HMENU hMenu = ::GetMenu(dlg.m_hWnd);
        EXPECT_EQ(hMenu, dlg.m_defaultMenu.m_hMenu);
        EXPECT_TRUE(IsOwnerDrawn(hMenu, 0));
        EXPECT_TRUE(IsOwnerDrawn(::GetSubMenu(hMenu, 1), 1));
        EXPECT_EQ(::GetSystemMenu(dlg.m_hWnd, FALSE), dlg.m_systemMenu.m_hMenu);
        dlg.DestroyWindow();
        // The window destroyed its menus: the members no longer hold them.
        EXPECT_EQ(nullptr, dlg.m_defaultMenu.m_hMenu);
        EXPECT_EQ(nullptr, dlg.m_systemMenu.m_hMenu);
    }
    EXPECT_EQ(menus, FwMenuObjectCount());
}
