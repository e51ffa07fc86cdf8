// Themed frames and dialogs in real windows: menus converted at creation,
// the system menu's ids while it is open, popup windows associated with the
// right menu, and no GDI object or menu left behind by popups or colour
// changes.
#include "themedframe.h"
#include "menutheme.h"
#include "guiobjects.h"
#include "testdib.h"
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

// The wrappers' counts, and the process's own: a raw icon or bitmap leaked
// past the wrappers shows only in the latter.
struct Held
{
    LONG gdi, menus;
    pirt_test::GuiObjects process;
};
Held HeldNow() { return Held{FwGdiObjectCount(), FwMenuObjectCount(), pirt_test::CountGuiObjects()}; }
void ExpectHeld(const Held& before, const char* when)
{
    Held now = HeldNow();
    EXPECT_EQ(before.gdi, now.gdi) << when;
    EXPECT_EQ(before.menus, now.menus) << when;
    EXPECT_EQ(before.process.gdi, now.process.gdi) << when;
    EXPECT_EQ(before.process.user, now.process.user) << when;
}

int g_hookTries = 0, g_hookFailuresTold = 0;
HHOOK WINAPI RefuseHook(int, HOOKPROC, HINSTANCE, DWORD)
{
    ++g_hookTries;
    return nullptr;
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
    EXPECT_TRUE(CThemedMenu::ResumeMenuHook());
    EXPECT_TRUE(decorated());

    // A hook that cannot be put back is tried again, the program told once,
    // and the next popup of a themed window puts it back.
    g_hookTries = g_hookFailuresTold = 0;
    CThemedMenu::SetMenuHookFailureHandler([] { ++g_hookFailuresTold; });
    g_pfnSetMenuHook = RefuseHook;
    CThemedMenu::SuspendMenuHook();
    EXPECT_FALSE(CThemedMenu::ResumeMenuHook());
    EXPECT_FALSE(CThemedMenu::ResumeMenuHook());
    EXPECT_GT(g_hookTries, 2);
    EXPECT_EQ(1, g_hookFailuresTold);
    g_pfnSetMenuHook = ::SetWindowsHookExA;
    CThemedMenu::SetMenuHookFailureHandler(nullptr);
    decorated(); // its window was made before it asked
    EXPECT_TRUE(decorated());
}

// A changed display makes the kept drawing surface anew.
TEST_F(WindowTest, TheKeptSurfaceIsMadeAnewWhenTheDisplayChanges)
{
    auto drawOnce = [&] {
        CClientDC target(m_hWnd);
        CRect area(0, 0, 300, 200);
        CThemedMemDC mem(&area, &target);
    };
    drawOnce();
    LONG kept = pirt_test::CountGuiObjects().gdi;
    ::SendMessageA(m_hWnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_EQ(kept - 2, pirt_test::CountGuiObjects().gdi) << "its DC and bitmap are gone";
    drawOnce();
    EXPECT_EQ(kept, pirt_test::CountGuiObjects().gdi);
}

// The settings kept for the items of a popup are read again for the next
// popup and after a settings change, never kept from an earlier one.
TEST_F(WindowTest, MenuSettingsAreReadAgainForEveryPopupAndAfterAChange)
{
    BOOL original = FALSE;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &original, 0));
    auto setCues = [](BOOL on) { ::SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, (PVOID)(INT_PTR)on, 0); };
    HMENU hFile = ::GetSubMenu(m_pFrame->m_defaultMenu.m_hMenu, 0);
    const struct
    {
        bool popup; // else a settings change reaches the frame
        BOOL cues;
    } steps[] = {{true, !original}, {false, original}, {true, !original}, {false, original}};
    for (const auto& step : steps) {
        GetMenuSettings(); // kept from before the change
        setCues(step.cues);
        BOOL seen = !step.cues;
        if (step.popup) {
            WhileMenuOpen([&] { seen = GetMenuSettings().bKeyboardCues; });
            ::TrackPopupMenu(hFile, TPM_LEFTALIGN, 100, 100, 0, m_hWnd, nullptr);
            Pump(10);
        } else {
            ::SendMessageA(m_hWnd, WM_SETTINGCHANGE, SPI_SETKEYBOARDCUES, 0);
            seen = GetMenuSettings().bKeyboardCues;
        }
        EXPECT_EQ(step.cues, seen) << (step.popup ? "popup" : "settings change");
    }
    setCues(original);
    ForgetMenuSettings();
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
    Held before = HeldNow();
    for (int i = 0; i < 50; ++i) {
        HMENU hPopup = i % 2 ? hEdit : hFile;
        Seen seen = cycle(hPopup);
        ASSERT_EQ(hPopup, seen.shown) << i;
        EXPECT_EQ(hPopup, seen.decorated) << i;
        EXPECT_EQ(1, seen.barOpen) << i;
        EXPECT_EQ(0, bar.m_nOpenPopups) << i;
    }
    ExpectHeld(before, "after the popups");
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
    ExpectHeld(before, "after the colour changes");
}

TEST_F(WindowTest, PopupLowOnTheMonitorOpensUpwardWhenItsItemsWouldNotFit)
{
    CThemedMenu* pFile = CThemedMenu::FromHandleThemed(::GetSubMenu(m_pFrame->m_defaultMenu.m_hMenu, 0));
    ASSERT_TRUE(pFile != nullptr);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    // Each item is icon height + 7 high: room for the icons alone is not
    // room for the popup.
    int items = (int)pFile->GetMenuItemCount(), h = pFile->m_nIconHeight;
    int room = items * h + items * 7 / 2;
    CRect anchor(100, mi.rcMonitor.bottom - room - 20, 160, mi.rcMonitor.bottom - room);
    CRect popup;
    WhileMenuOpen([&] { ::GetWindowRect(FindPopupWindow(), &popup); });
    CThemedMenu::TrackPopupMenuOnMonitor(pFile, TPM_LEFTALIGN, &anchor, m_pFrame, FALSE);
    Pump(10);
    EXPECT_EQ(anchor.top, popup.bottom);
    EXPECT_EQ(anchor.left, popup.left);
}

TEST_F(WindowTest, EvenThemeFramesThePopupAndShadowsItOutsideItsItems)
{
    // Under Wine an even theme becomes the odd one: the switch is taken away
    // so that the border, the shadow, the size changes and WM_PRINT run.
    // The system's own menu shadow is switched off for the popup's own.
    struct EvenTheme
    {
        BOOL bWine = GetThemedSystemInfo().bWine, bShadow = FALSE;
        EvenTheme()
        {
            GetThemedSystemInfo().bWine = FALSE;
            CThemedMenu::SelectTheme(8);
            ::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &bShadow, 0);
            ::SystemParametersInfoA(SPI_SETDROPSHADOW, 0, (PVOID)FALSE, 0);
        }
        ~EvenTheme()
        {
            ::SystemParametersInfoA(SPI_SETDROPSHADOW, 0, (PVOID)(INT_PTR)bShadow, 0);
            GetThemedSystemInfo().bWine = bWine;
        }
    } even;
    ASSERT_EQ(8, CThemedMenu::GetThemeId());
    HMENU hFile = ::GetSubMenu(m_pFrame->m_defaultMenu.m_hMenu, 0);

    struct Seen
    {
        CRect window, client; // the client in window coordinates
        COLORREF frame = 0, light = 0;
        std::vector<std::pair<COLORREF, COLORREF>> painted, printed; // expected, found
        BOOL printing = TRUE;
    } seen;
    auto cycle = [&] {
        WhileMenuOpen([&] {
            HWND hPopup = FindPopupWindow();
            CMenuHookData* pData = CThemedMenuHook::FindData(hPopup);
            if (!pData || !pData->background.m_hObject)
                return;
            ::GetWindowRect(hPopup, &seen.window);
            ::GetClientRect(hPopup, &seen.client);
            ::MapWindowPoints(hPopup, nullptr, (LPPOINT)&seen.client, 2);
            seen.client.OffsetRect(-seen.window.left, -seen.window.top);
            int W = seen.window.Width(), H = seen.window.Height();
            COLORREF m = GetMenuBarColor(pData->hMenu);
            seen.frame = DarkenColor(m, 128);
            seen.light = MixColor86(::GetSysColor(COLOR_WINDOW), m);
            // The popup as painted on screen and as printed for the menu animation.
            ::RedrawWindow(hPopup, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
            Dib painted(W, H), printed(W, H), background(W + 10, H + 10);
            CWindowDC src(hPopup);
            painted.dc.BitBlt(0, 0, W, H, &src, 0, 0, SRCCOPY);
            printed.dc.FillSolidRect(0, 0, W, H, RGB(255, 0, 255));
            ::SendMessageA(hPopup, WM_PRINT, (WPARAM)printed.dc.m_hDC, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
            seen.printing = (pData->nFlags & CMenuHookData::PRINTING) != 0;
            CDC mem;
            mem.CreateCompatibleDC(&src);
            HGDIOBJ hOld = mem.SelectObject(&pData->background);
            background.dc.BitBlt(0, 0, W + 10, H + 10, &mem, 0, 0, SRCCOPY);
            mem.SelectObject(hOld);
            auto shade = [&](int x, int y, int f) {
                COLORREF c = background.Pixel(x, y);
                return RGB(GetRValue(c) * f / 255, GetGValue(c) * f / 255, GetBValue(c) * f / 255);
            };
            // The frame's corners and edges, the light ring inside it, the
            // shadow's untouched top and its darkened columns and rows.
            const std::pair<CPoint, COLORREF> spots[] = {
                {{0, 0}, seen.frame},
                {{W - 5, H / 2}, seen.frame},
                {{W / 2, H - 5}, seen.frame},
                {{W / 2, 1}, seen.light},
                {{W - 1, 2}, background.Pixel(W - 1, 2)},
                {{W - 1, H / 2}, shade(W - 1, H / 2, 225)},
                {{W - 4, H / 2}, shade(W - 4, H / 2, 135)},
                {{W / 2, H - 1}, shade(W / 2, H - 1, 225)},
            };
            for (const auto& spot : spots) {
                seen.painted.push_back({spot.second, painted.Pixel(spot.first.x, spot.first.y)});
                seen.printed.push_back({spot.second, printed.Pixel(spot.first.x, spot.first.y)});
            }
        });
        ::TrackPopupMenu(hFile, TPM_LEFTALIGN, 100, 100, 0, m_hWnd, nullptr);
        Pump(10);
    };
    cycle(); // brushes and caches are made once
    Held before = HeldNow();
    seen = Seen();
    cycle();
    ExpectHeld(before, "after the even-theme popup");

    ASSERT_FALSE(seen.window.IsRectEmpty());
    // The window grew by the border and the shadow, and moved up a pixel;
    // the items keep clear of both.
    EXPECT_EQ(99, seen.window.top);
    int W = seen.window.Width(), H = seen.window.Height();
    EXPECT_TRUE(CRect(2, 2, W - 5, H - 6) == seen.client)
        << seen.client.left << "," << seen.client.top << "," << seen.client.right << "," << seen.client.bottom << " in "
        << W << " x " << H;
    for (size_t i = 0; i < seen.painted.size(); ++i) {
        EXPECT_EQ(seen.painted[i].first, seen.painted[i].second) << "painted, spot " << i;
        EXPECT_EQ(seen.printed[i].first, seen.printed[i].second) << "printed, spot " << i;
    }
    EXPECT_FALSE(seen.printing);
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

namespace {
// What a popup-menu window's own procedure receives while this layer sits
// in front of it.
std::vector<UINT> g_reached;
WNDPROC g_systemMenuProc = nullptr;
LRESULT CALLBACK RecordingMenuProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    g_reached.push_back(msg);
    return ::CallWindowProcA(g_systemMenuProc, h, msg, w, l);
}
} // namespace

TEST(ThemedPopupWindow, UnsubclassingHandsBackProcedureMessagesAndAtom)
{
    const char kProp[] = "OldMenuProc";
    // Another holder of the property's global atom, which must keep it.
    ATOM mine = ::GlobalAddAtomA(kProp);
    ASSERT_NE(0, mine);
    HWND hWnd = ::CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hWnd != nullptr);
    g_systemMenuProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)RecordingMenuProc);
    g_reached.clear();

    ASSERT_TRUE(CThemedMenuHook::SubclassMenuWindow(hWnd, FALSE));
    EXPECT_EQ((LONG_PTR)RecordingMenuProc, (LONG_PTR)::GetPropA(hWnd, kProp));
    // Hiding unsubclasses the window, and the message still reaches the
    // procedure that was there before.
    ::SendMessageA(hWnd, WM_SHOWWINDOW, FALSE, 0);
    EXPECT_EQ(std::vector<UINT>{WM_SHOWWINDOW}, g_reached);
    EXPECT_EQ((LONG_PTR)RecordingMenuProc, ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, ::GetPropA(hWnd, kProp));
    EXPECT_EQ(nullptr, CThemedMenuHook::FindData(hWnd));

    // A window this layer never subclassed, carrying the property of another
    // layer: its procedure goes back, the atom's references stay.
    ::SetPropA(hWnd, kProp, (HANDLE)RecordingMenuProc);
    CThemedMenuHook::UnsubclassMenuWindow(hWnd);
    CThemedMenuHook::UnsubclassMenuWindow(hWnd);
    EXPECT_EQ(nullptr, ::GetPropA(hWnd, kProp));
    EXPECT_EQ(mine, ::GlobalFindAtomA(kProp));
    // So does the window's end, unsubclassed on the way.
    ASSERT_TRUE(CThemedMenuHook::SubclassMenuWindow(hWnd, FALSE));
    g_reached.clear();
    ::DestroyWindow(hWnd);
    EXPECT_TRUE(!g_reached.empty() && g_reached.back() == WM_NCDESTROY);
    // Nor does the layer keep a reference of its own.
    ::GlobalDeleteAtom(mine);
    EXPECT_EQ(0, ::GlobalFindAtomA(kProp));
}
