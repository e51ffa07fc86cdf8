// The themed menu's model: theme choice, conversion, item operations, and
// the arithmetic of colours, gradients, measuring, shortcuts and placement.
#include "menutheme.h"
#include "testdib.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>

namespace {
enum { ID_OPEN = 1001, ID_EXIT = 1002, ID_DELETE = 1003, ID_ALL = 1004 };

COLORREF Step(COLORREF a, COLORREF b, int n, int d)
{
    auto ch = [&](int s, int e) { return s + (e - s) * n / d; };
    return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

// The colours of a gradient painted without GradientFill, one per pixel.
std::vector<COLORREF> GradientStrips(int width, COLORREF a, COLORREF b)
{
    PFN_GRADIENTFILL saved = GetThemedSystemInfo().pfnGradientFill;
    GetThemedSystemInfo().pfnGradientFill = nullptr;
    Dib dib(width, 1);
    DrawGradient(&dib.dc, CRect(0, 0, width, 1), a, b, TRUE, FALSE);
    GetThemedSystemInfo().pfnGradientFill = saved;
    std::vector<COLORREF> px;
    for (int x = 0; x < width; ++x)
        px.push_back(dib.Pixel(x, 0));
    return px;
}

SIZE MenuTextSize(const char* text)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    CClientDC dc((HWND) nullptr);
    CFont font;
    font.CreateFontIndirect(&ncm.lfMenuFont);
    HGDIOBJ hOld = dc.SelectObject(&font);
    SIZE s = dc.GetTextExtent(text);
    dc.SelectObject(hOld);
    return s;
}

// A two-level menu: a bar with File (Open, separator, Recent >, Exit) and Edit.
// Recent holds 48 items: the system reports the count in a sub-menu item's
// state bits 8 to 15, where 48 reads as MF_DEFAULT | MF_RIGHTJUSTIFY.
HMENU BuildMenu()
{
    HMENU hBar = ::CreateMenu(), hFile = ::CreatePopupMenu(), hRecent = ::CreatePopupMenu(),
          hEdit = ::CreatePopupMenu();
    for (UINT id = 1010; id < 1010 + 48; ++id)
        ::AppendMenuA(hRecent, MF_STRING, id, "One");
    ::AppendMenuA(hFile, MF_STRING, ID_OPEN, "&Open");
    ::AppendMenuA(hFile, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(hFile, MF_POPUP, (UINT_PTR)hRecent, "&Recent");
    ::AppendMenuA(hFile, MF_STRING, ID_EXIT, "E&xit\tAlt+F4");
    ::AppendMenuA(hEdit, MF_STRING | MF_GRAYED, ID_DELETE, "&Delete");
    ::AppendMenuA(hEdit, MF_STRING, ID_DELETE, "Delete &too");
    ::AppendMenuA(hBar, MF_POPUP, (UINT_PTR)hFile, "&File");
    ::AppendMenuA(hBar, MF_POPUP, (UINT_PTR)hEdit, "&Edit");
    return hBar;
}

// Every item of the tree is owner-drawn and carries the record at its position.
void ExpectConverted(CThemedMenu* pMenu)
{
    ASSERT_EQ((int)pMenu->GetMenuItemCount(), pMenu->GetRecordCount());
    for (int i = 0; i < pMenu->GetRecordCount(); ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
        ASSERT_TRUE(::GetMenuItemInfoA(pMenu->m_hMenu, (UINT)i, TRUE, &mii));
        EXPECT_TRUE(mii.fType & MFT_OWNERDRAW) << i;
        EXPECT_EQ((ULONG_PTR)pMenu->GetRecord(i), mii.dwItemData) << i;
        if (mii.hSubMenu) {
            CThemedMenu* pSub = CThemedMenu::FromHandleThemed(mii.hSubMenu);
            ASSERT_TRUE(pSub != nullptr);
            EXPECT_EQ(pMenu->m_hMenu, pSub->m_hParentMenu);
            ExpectConverted(pSub);
        }
    }
}
} // namespace

namespace {
// The theme and the dimmed-icons switch before any test changes them.
int g_nThemeAtStart = -1;
BOOL g_bDimmedAtStart = FALSE;
class StartTheme : public ::testing::Environment
{
public:
    void SetUp() override
    {
        g_nThemeAtStart = CThemedMenu::GetThemeId();
        g_bDimmedAtStart = CThemedMenu::GetDimmedIcons();
    }
};
::testing::Environment* const g_pStartTheme = ::testing::AddGlobalTestEnvironment(new StartTheme);
} // namespace

TEST(ThemedMenuModel, ThemeChoice)
{
    // The hook object selects theme 2 before anything else runs.
    EXPECT_EQ(2, g_nThemeAtStart);
    EXPECT_TRUE(g_bDimmedAtStart);
    EXPECT_EQ(12u, CThemedMenuHook::Themes().size());
    CThemedMenu::SelectTheme(2);
    EXPECT_EQ(GetThemedSystemInfo().bWine ? 3 : 2, CThemedMenu::SelectTheme(8));
    EXPECT_EQ(GetThemedSystemInfo().bWine ? 9 : 8, CThemedMenu::GetThemeId());
    int current = CThemedMenu::GetThemeId();
    EXPECT_EQ(-1, CThemedMenu::SelectTheme(12));
    EXPECT_EQ(current, CThemedMenu::GetThemeId());
    CThemedMenu::SetDimmedIcons(TRUE);
    EXPECT_TRUE(CThemedMenu::SetDimmedIcons(FALSE));
    EXPECT_FALSE(CThemedMenu::GetDimmedIcons());
}

TEST(ThemedMenuModel, LoadConvertsEveryItemOnce)
{
    LONG menusBefore = FwMenuObjectCount();
    {
        CThemedMenu menu;
        ASSERT_TRUE(menu.LoadMenu(100)); // from the test resources
        EXPECT_FALSE(menu.m_bPopup);
        ExpectConverted(&menu);
        CThemedMenu* pFile = CThemedMenu::FromHandleThemed(::GetSubMenu(menu.m_hMenu, 0));
        ASSERT_TRUE(pFile != nullptr);
        std::vector<CThemedMenuItemData*> before(pFile->m_items);
        pFile->ConvertToOwnerDraw();
        EXPECT_EQ(before, pFile->m_items); // the records are taken again by id
        ExpectConverted(&menu);
        EXPECT_STREQ("&Open", pFile->GetRecord(0)->m_strText);
        EXPECT_TRUE(pFile->GetRecord(1)->IsSeparator());
        EXPECT_TRUE(pFile->GetRecord(2)->IsPopup());
        CThemedMenu* pEdit = CThemedMenu::FromHandleThemed(::GetSubMenu(menu.m_hMenu, 1));
        EXPECT_TRUE(pEdit->GetMenuState(ID_DELETE, MF_BYCOMMAND) & MF_GRAYED);
        EXPECT_TRUE(pEdit->GetMenuState(ID_ALL, MF_BYCOMMAND) & MF_CHECKED);
    }
    EXPECT_EQ(menusBefore, FwMenuObjectCount());
    CThemedMenu none;
    EXPECT_FALSE(none.LoadMenu(4711));
    EXPECT_FALSE(none.LoadMenu((HMENU) nullptr));
}

TEST(ThemedMenuModel, ItemOperations)
{
    CThemedMenu menu;
    ASSERT_TRUE(menu.LoadMenu(BuildMenu()));
    CThemedMenu* pFile = CThemedMenu::FromHandleThemed(::GetSubMenu(menu.m_hMenu, 0));
    HMENU hRecent = ::GetSubMenu(pFile->m_hMenu, 2);

    // Texts: by position on a sub-menu item, by id deep in the tree.
    ::EnableMenuItem(pFile->m_hMenu, 2, MF_BYPOSITION | MF_GRAYED);
    EXPECT_TRUE(pFile->SetItemText(2, "Re&cent files", MF_BYPOSITION));
    EXPECT_TRUE(menu.SetItemText(ID_OPEN, "&Open...", MF_BYCOMMAND));
    EXPECT_FALSE(menu.SetItemText(4711, "none", MF_BYCOMMAND));
    EXPECT_FALSE(pFile->SetItemText(9, "none", MF_BYPOSITION));
    EXPECT_EQ(hRecent, ::GetSubMenu(pFile->m_hMenu, 2));
    EXPECT_TRUE(pFile->GetMenuState(2, MF_BYPOSITION) & MF_GRAYED);
    // The item count of the sub-menu took no part in its item's flags.
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE;
    ASSERT_TRUE(::GetMenuItemInfoA(pFile->m_hMenu, 2, TRUE, &mii));
    EXPECT_EQ(0u, mii.fType & (MFT_RIGHTJUSTIFY | MFT_RIGHTORDER));
    EXPECT_EQ(0u, mii.fState & MFS_DEFAULT);
    EXPECT_EQ(0u, pFile->GetRecord(2)->m_nFlags & 0xF000);
    ExpectConverted(&menu);
    CString text;
    EXPECT_TRUE(menu.GetMenuText(2, text, MF_BYPOSITION) == FALSE); // the bar has two items
    EXPECT_TRUE(pFile->GetMenuText(2, text, MF_BYPOSITION));
    EXPECT_STREQ("Re&cent files", text);
    EXPECT_TRUE(menu.GetMenuText(ID_OPEN, text, MF_BYCOMMAND));
    EXPECT_STREQ("&Open...", text);

    // Two items share an id: deleting by id takes the first and its record only.
    CThemedMenu* pEdit = CThemedMenu::FromHandleThemed(::GetSubMenu(menu.m_hMenu, 1));
    CThemedMenuItemData* pSecond = pEdit->GetRecord(1);
    EXPECT_TRUE(menu.DeleteMenu(ID_DELETE, MF_BYCOMMAND));
    ASSERT_EQ(1u, pEdit->GetMenuItemCount());
    EXPECT_EQ(pSecond, pEdit->GetRecord(0));
    EXPECT_STREQ("Delete &too", pSecond->m_strText);
    ExpectConverted(&menu);

    // Deleting a sub-menu item deletes the sub-menu object with it.
    LONG menus = FwMenuObjectCount();
    EXPECT_TRUE(pFile->DeleteMenu(2, MF_BYPOSITION));
    EXPECT_EQ(menus - 1, FwMenuObjectCount());
    EXPECT_EQ(nullptr, CThemedMenu::FromHandleThemed(hRecent));
    ExpectConverted(&menu);

    // Appended items are owner-drawn, a zero id a separator.
    EXPECT_TRUE(pEdit->AppendMenu(MF_STRING, 2001, "&Paste", -1));
    EXPECT_TRUE(pEdit->AppendMenu(MF_STRING, 0, nullptr, -1));
    ExpectConverted(&menu);
    EXPECT_TRUE(pEdit->GetRecord(2)->IsSeparator());

    // A new id keeps the item owner-drawn.
    EXPECT_TRUE(menu.ChangeItemCommand(2001, 2002));
    EXPECT_EQ(2002u, pEdit->GetMenuItemID(1));
    ExpectConverted(&menu);
}

TEST(ThemedMenuModel, ItemImages)
{
    CThemedMenu menu;
    ASSERT_TRUE(menu.LoadMenu(BuildMenu()));
    CImageList images;
    ASSERT_TRUE(MakeSolidImages(images, {RGB(200, 40, 40), RGB(40, 40, 200)}));
    size_t setsBefore = CThemedMenuIcons::List().size();
    EXPECT_FALSE(menu.SetItemImage(ID_OPEN, nullptr, 0));
    EXPECT_FALSE(menu.SetItemImage(ID_OPEN, &images, -1));
    ASSERT_TRUE(menu.SetItemImage(ID_OPEN, &images, 0));
    CThemedMenuItemData* pOpen = menu.FindRecord(ID_OPEN);
    ASSERT_TRUE(pOpen->m_pIcons != nullptr);
    CThemedMenuIcons* pSet = pOpen->m_pIcons;
    EXPECT_EQ(setsBefore + 1, CThemedMenuIcons::List().size());
    EXPECT_EQ(0, pOpen->m_nImageIndex);
    EXPECT_EQ(1, pSet->m_images.GetImageCount());
    EXPECT_EQ(1, pSet->m_nRefCount);
    auto pixel = [&](CThemedMenuIcons::Look look, int index) {
        Dib dib(16, 16);
        pSet->Images(look).Draw(dib.dc.m_hDC, index, CPoint(0, 0), ILD_NORMAL);
        return dib.Pixel(8, 8);
    };
    const int d = CThemedMenu::Options().nIconDimming;
    auto dimmed = [&](COLORREF c) {
        return RGB(::MulDiv(GetRValue(c), 255 - d, 255), ::MulDiv(GetGValue(c), 255 - d, 255),
                   ::MulDiv(GetBValue(c), 255 - d, 255));
    };
    EXPECT_EQ(dimmed(RGB(200, 40, 40)), pixel(CThemedMenuIcons::LOOK_DIMMED, 0));
    // Another item takes the next entry; a new image replaces the entry in
    // place, and the looks made before show the new image, not the old one.
    ASSERT_TRUE(menu.SetItemImage(ID_EXIT, &images, 1));
    EXPECT_EQ(1, menu.FindRecord(ID_EXIT)->m_nImageIndex);
    ASSERT_TRUE(menu.SetItemImage(ID_OPEN, &images, 1));
    EXPECT_EQ(0, pOpen->m_nImageIndex);
    EXPECT_EQ(2, pSet->m_images.GetImageCount());
    for (int index = 0; index < 2; ++index) {
        EXPECT_EQ(RGB(40, 40, 200), pixel(CThemedMenuIcons::LOOK_NORMAL, index)) << index;
        EXPECT_EQ(dimmed(RGB(40, 40, 200)), pixel(CThemedMenuIcons::LOOK_DIMMED, index)) << index;
    }
    EXPECT_EQ(2, pSet->Images(CThemedMenuIcons::LOOK_DISABLED).GetImageCount());
    EXPECT_EQ(2, pSet->m_nRefCount);
    EXPECT_FALSE(menu.SetItemImage(4711, &images, 0));
    EXPECT_EQ(2, pSet->m_nRefCount);
    menu.DestroyMenu();
    EXPECT_EQ(setsBefore, CThemedMenuIcons::List().size()); // the last reference took the set along
}

TEST(ThemedMenuArithmetic, Table)
{
    // Colours.
    std::vector<std::pair<std::string, std::pair<long long, long long>>> cases;
    auto add = [&](const char* what, long long expected, long long actual) {
        cases.push_back({what, {expected, actual}});
    };
    add("darken", RGB(99, 49, 24), DarkenColor(RGB(200, 100, 50), 128));
    add("lighten", RGB(223, 166, 138), LightenColor(RGB(200, 100, 50), 110));
    add("mix 70", RGB(178, 76, 130), MixColor70(RGB(255, 0, 100), RGB(0, 255, 200)));
    add("mix 86", RGB(219, 35, 114), MixColor86(RGB(255, 0, 100), RGB(0, 255, 200)));
    add("blend", RGB(126, 0, 127), BlendColor(RGB(255, 0, 0), RGB(0, 0, 255), 128));
    add("blend with none", (COLORREF)-1, BlendColor(RGB(1, 2, 3), (COLORREF)-1, 10));
    add("shadow", RGB(70, 140, 178), ShadowColor(RGB(100, 200, 200)));

    // Gradients without GradientFill: 2-pixel strips ending in the end colour.
    COLORREF a = RGB(0, 100, 200), b = RGB(240, 20, 40);
    std::vector<COLORREF> ten = GradientStrips(10, a, b);
    for (int x = 0; x < 10; ++x)
        add(("10 px, pixel " + std::to_string(x)).c_str(), Step(a, b, x & ~1, 8), ten[(size_t)x]);
    std::vector<COLORREF> two = GradientStrips(2, a, b);
    add("2 px, first", a, two[0]);
    add("2 px, second", a, two[1]);
    add("9 px, last", b, GradientStrips(9, a, b)[8]);

    // The XP measure rule, with the system's metrics and menu font.
    CThemedMenu menu;
    menu.LoadMenu(BuildMenu());
    CThemedMenu* pFile = CThemedMenu::FromHandleThemed(::GetSubMenu(menu.m_hMenu, 0));
    int cyMenu = ::GetSystemMetrics(SM_CYMENU);
    int xpHeight = pFile->m_nIconHeight + 8 < cyMenu ? cyMenu : pFile->m_nIconHeight + 7;
    auto measure = [&](CThemedMenu* pMenu, int pos, BOOL bBar) {
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        mis.itemID = (UINT)pMenu->GetRecord(pos)->m_nID;
        mis.itemData = (ULONG_PTR)pMenu->GetRecord(pos);
        pMenu->MeasureItemXP(&mis, bBar);
        return std::make_pair((long long)mis.itemWidth, (long long)mis.itemHeight);
    };
    auto atLeastText = [&](int h, const char* t) { return h > MenuTextSize(t).cy ? h : MenuTextSize(t).cy; };
    add("xp width, command", cyMenu / 2 + 16 + MenuTextSize("&Open").cx + 6, measure(pFile, 0, FALSE).first);
    add("xp height, command", atLeastText(xpHeight, "&Open"), measure(pFile, 0, FALSE).second);
    add("xp width, sub-menu", cyMenu + 16 + MenuTextSize("&Recent").cx + 6, measure(pFile, 2, FALSE).first);
    add("xp width, shortcut", cyMenu / 2 + 16 + MenuTextSize("E&xitnnnAlt+F4").cx + 6, measure(pFile, 3, FALSE).first);
    add("xp separator", 3, measure(pFile, 1, FALSE).first);
    add("xp width, bar", MenuTextSize("&File").cx - 6, measure(&menu, 0, TRUE).first);
    int barHeight = menu.m_nIconHeight + 2 > cyMenu ? menu.m_nIconHeight + 2 : cyMenu;
    add("xp height, bar", atLeastText(barHeight, "&File"), measure(&menu, 0, TRUE).second);

    // Shortcut texts from an accelerator table; navigation keys are not the number pad's.
    ACCEL table[] = {
        {FCONTROL | FVIRTKEY, 'O', ID_OPEN}, {FSHIFT | FVIRTKEY, VK_F2, ID_OPEN}, {FVIRTKEY, VK_F5, ID_EXIT}};
    HACCEL hAccel = ::CreateAcceleratorTableA(table, 3);
    CThemedMenuItemData* pOpen = pFile->GetRecord(0);
    add("shortcut text", 1, pOpen->GetString(hAccel) == CString("&Open\tCtrl+O, Shift+F2"));
    add("text with tab kept", 1, pFile->GetRecord(3)->GetString(hAccel) == CString("E&xit\tAlt+F4"));
    add("no table: cut at tab", 1, pFile->GetRecord(3)->GetString(nullptr) == CString("E&xit"));
    char pad[64] = "";
    ::GetKeyNameTextA((LONG)(::MapVirtualKeyA(VK_DELETE, 0) << 16), pad, 64);
    add("delete key is not the pad's", 1, GetShortcutKeyName(VK_DELETE) != CString(pad));
    ::DestroyAcceleratorTable(hAccel);

    // Access characters.
    add("menu char f", 0x20000, CThemedMenu::OnMenuChar('f', 0, &menu));
    add("menu char E", 0x20001, CThemedMenu::OnMenuChar('E', 0, &menu));
    add("menu char O on File", 0x20000, CThemedMenu::OnMenuChar('O', 0, pFile));
    add("menu char x on File", 0x20003, CThemedMenu::OnMenuChar('x', 0, pFile));
    add("menu char z", 0, CThemedMenu::OnMenuChar('z', 0, pFile));
    CThemedMenu plain;
    plain.CreatePopupMenu();
    plain.AppendMenu(MF_STRING, 5, "&New", -1);
    plain.AppendMenu(MF_STRING, 6, "&open", -1);
    add("menu char O, second item", 0x20001, CThemedMenu::OnMenuChar('O', 0, &plain));
    add("menu char o, second item", 0x20001, CThemedMenu::OnMenuChar('o', 0, &plain));

    // Popup placement on a 1024 x 768 monitor.
    CRect monitor(0, 0, 1024, 768);
    auto place = [&](CRect anchor, int expected, BOOL bVertical) {
        POINT pt;
        UINT flags = CThemedMenu::GetPopupPlacement(0, anchor, monitor, expected, FALSE, bVertical, pt);
        return ((long long)flags << 32) | ((long long)(pt.x & 0xFFFF) << 16) | (pt.y & 0xFFFF);
    };
    auto placed = [](UINT flags, int x, int y) {
        return ((long long)flags << 32) | ((long long)(x & 0xFFFF) << 16) | (y & 0xFFFF);
    };
    add("near the bottom: upward", placed(TPM_BOTTOMALIGN, 10, 700), place(CRect(10, 700, 60, 720), 10 * 22, FALSE));
    add("near the top: downward", placed(0, 10, 40), place(CRect(10, 20, 60, 40), 10 * 22, FALSE));
    add("low but it fits: downward", placed(0, 10, 420), place(CRect(10, 400, 60, 420), 5 * 22, FALSE));
    add("unknown height low: upward", placed(TPM_BOTTOMALIGN, 10, 400), place(CRect(10, 400, 60, 420), 0, FALSE));
    add("left of the monitor", placed(0, 0, 40), place(CRect(-30, 20, 20, 40), 22, FALSE));
    add("side bar at the right: leftward", placed(TPM_RIGHTALIGN, 999, 101),
        place(CRect(1000, 100, 1020, 120), 0, TRUE));
    add("side bar at the left: rightward", placed(0, 19, 101), place(CRect(0, 100, 20, 120), 0, TRUE));

    for (const auto& c : cases)
        EXPECT_EQ(c.second.first, c.second.second) << c.first;
}

TEST(ThemedMenuModel, ItemIconsNamedByResource)
{
    // An icon named by resource is read only when the images are used; an
    // image added meanwhile from an image list still takes the next index.
    CThemedMenu menu;
    ASSERT_TRUE(menu.LoadMenu(BuildMenu()));
    HINSTANCE user32 = ::GetModuleHandleA("user32.dll");
    const UINT kAppIcon = 32512;
    EXPECT_FALSE(menu.SetItemIcon(ID_OPEN, user32, 4711));
    EXPECT_EQ(nullptr, menu.FindRecord(ID_OPEN)->m_pIcons);
    ASSERT_TRUE(menu.SetItemIcon(ID_OPEN, user32, kAppIcon));
    CImageList images;
    ASSERT_TRUE(MakeSolidImages(images, {RGB(40, 40, 200)}));
    ASSERT_TRUE(menu.SetItemImage(ID_EXIT, &images, 0));
    CThemedMenuItemData* pOpen = menu.FindRecord(ID_OPEN);
    CThemedMenuItemData* pExit = menu.FindRecord(ID_EXIT);
    ASSERT_EQ(pOpen->m_pIcons, pExit->m_pIcons);
    auto drawn = [](std::function<void(HDC)> paint) {
        Dib dib(16, 16);
        ::PatBlt(dib.dc.m_hDC, 0, 0, 16, 16, WHITENESS);
        paint(dib.dc.m_hDC);
        ::GdiFlush();
        return std::vector<DWORD>(dib.pBits, dib.pBits + 256);
    };
    HICON icon = (HICON)::LoadImageA(user32, MAKEINTRESOURCEA(kAppIcon), IMAGE_ICON, 16, 16, 0);
    ASSERT_NE(nullptr, icon);
    std::vector<DWORD> expected = drawn([&](HDC dc) { ::DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL); });
    ::DestroyIcon(icon);
    CImageList& normal = pOpen->m_pIcons->Images(CThemedMenuIcons::LOOK_NORMAL);
    EXPECT_EQ(2, normal.GetImageCount());
    std::vector<DWORD> open =
        drawn([&](HDC dc) { normal.Draw(dc, pOpen->m_nImageIndex, CPoint(0, 0), ILD_TRANSPARENT); });
    int differing = 0;
    for (size_t i = 0; i < expected.size(); ++i)
        differing += (expected[i] & 0xFFFFFF) != (open[i] & 0xFFFFFF);
    EXPECT_LE(differing, 16);
    std::vector<DWORD> exit =
        drawn([&](HDC dc) { normal.Draw(dc, pExit->m_nImageIndex, CPoint(0, 0), ILD_TRANSPARENT); });
    EXPECT_EQ(RGB(40, 40, 200), RGB(exit[8 * 16 + 8] >> 16, exit[8 * 16 + 8] >> 8, exit[8 * 16 + 8]));
    menu.DestroyMenu();
}

TEST(ThemedMenuModel, IconSetFromToolBar)
{
    // Buttons 3001, separator, 3002, 3003 over a bitmap of three coloured images.
    CThemedMenuIcons set;
    ASSERT_TRUE(set.LoadToolBar(MAKEINTRESOURCEA(200), nullptr));
    const UINT ids[] = {3001, 3002, 3003};
    const COLORREF colors[] = {RGB(200, 30, 30), RGB(30, 160, 60), RGB(40, 60, 210)};
    ASSERT_EQ(3u, set.m_ids.size());
    EXPECT_EQ(3, set.m_images.GetImageCount());
    EXPECT_EQ(CSize(16, 15), set.GetIconSize());
    auto pixel = [&](CThemedMenuIcons::Look look, int index) {
        Dib dib(16, 15);
        set.Images(look).Draw(dib.dc.m_hDC, index, CPoint(0, 0), ILD_NORMAL);
        return dib.Pixel(8, 7);
    };
    int d = CThemedMenu::Options().nIconDimming;
    for (int i = 0; i < 3; ++i) {
        COLORREF c = colors[i];
        EXPECT_EQ(i, set.FindIndex(ids[i])) << i;
        EXPECT_EQ(c, pixel(CThemedMenuIcons::LOOK_NORMAL, i)) << i;
        EXPECT_EQ(RGB(::MulDiv(GetRValue(c), 255 - d, 255), ::MulDiv(GetGValue(c), 255 - d, 255),
                      ::MulDiv(GetBValue(c), 255 - d, 255)),
                  pixel(CThemedMenuIcons::LOOK_DIMMED, i))
            << i;
    }
    EXPECT_EQ(-1, set.FindIndex(4711));
    EXPECT_TRUE(set.IsSameResource(MAKEINTRESOURCEA(200), nullptr));
    CThemedMenuIcons missing;
    EXPECT_FALSE(missing.LoadToolBar(MAKEINTRESOURCEA(4711), nullptr));
}
