// Pixels of the 2003 painter (the suite's look): popup items plain, selected
// and checked, menu-bar items hot and open, and the image variants.
#include "menutheme.h"
#include "testdib.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// A gradient as DrawGradient paints it, for comparing single pixels.
COLORREF GradientPixel(CRect r, COLORREF a, COLORREF b, BOOL bHorizontal, int x, int y)
{
    Dib dib(r.Width(), r.Height());
    DrawGradient(&dib.dc, CRect(0, 0, r.Width(), r.Height()), a, b, bHorizontal, FALSE);
    return dib.Pixel(x, y);
}

COLORREF Darken255(COLORREF c, int f)
{
    return RGB(GetRValue(c) * f / 255, GetGValue(c) * f / 255, GetBValue(c) * f / 255);
}

class PainterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldTheme = CThemedMenu::SelectTheme(8);
        HMENU hBar = ::CreateMenu(), hFile = ::CreatePopupMenu();
        ::AppendMenuA(hFile, MF_STRING, 1001, "&Open");
        ::AppendMenuA(hFile, MF_STRING, 1002, "&Save");
        ::AppendMenuA(hBar, MF_POPUP, (UINT_PTR)hFile, "&File");
        ASSERT_TRUE(m_menu.LoadMenu(hBar));
        m_pFile = CThemedMenu::FromHandleThemed(hFile);
        ASSERT_TRUE(m_pFile != nullptr);
        m_pFile->m_bPopup = TRUE;
    }
    void TearDown() override { CThemedMenu::SelectTheme(m_oldTheme); }

    void Draw(CThemedMenu* pMenu, int pos, UINT state, Dib& dib)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = (UINT)pMenu->GetRecord(pos)->m_nID;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = (HWND)pMenu->m_hMenu;
        dis.hDC = dib.dc.m_hDC;
        dis.rcItem = CRect(0, 0, dib.cx, dib.cy);
        dis.itemData = (ULONG_PTR)pMenu->GetRecord(pos);
        pMenu->DrawItem(&dis);
    }

    CThemedMenu m_menu;
    CThemedMenu* m_pFile = nullptr;
    int m_oldTheme = 2;
};
} // namespace

TEST_F(PainterTest, Items2003)
{
    ASSERT_TRUE(CThemedMenu::GetThemeId() == 8 || CThemedMenu::GetThemeId() == 9);
    COLORREF N = DarkenColor(::GetSysColor(COLOR_WINDOW), 10);
    COLORREF M = ::GetSysColor(IsFlatMenu() ? COLOR_MENUBAR : COLOR_MENU);
    COLORREF P1, P2;
    Get2003Colors(P1, P2, TRUE);
    COLORREF G = MixColor86(N, M);
    if (NearestScreenColor(G) == NearestScreenColor(P1))
        G = N;
    BOOL bOrange = IsVisualThemeActive();
    COLORREF sel = bOrange ? 0xC2EEFF : GetSelectColor();
    COLORREF boxChecked = bOrange ? 0x6FC0FF : MixColor86(GetSelectColor(), ::GetSysColor(COLOR_HIGHLIGHT));
    COLORREF frame = ::GetSysColor(COLOR_HIGHLIGHT);
    const int W = 160, H = 22, column = m_pFile->m_nIconWidth + 8;

    Dib plain(W, H), selected(W, H), checked(W, H);
    Draw(m_pFile, 0, 0, plain);
    Draw(m_pFile, 0, ODS_SELECTED, selected);
    Draw(m_pFile, 1, ODS_CHECKED, checked);

    const int BW = 60, BH = 20;
    Dib hot(BW, BH), open(BW, BH);
    Draw(&m_menu, 0, ODS_HOTLIGHT, hot);
    EXPECT_EQ(CRect(0, 0, BW, BH), m_menu.m_rectBarItem); // where the popup will join it
    m_menu.m_nOpenPopups = 1;                             // a selected bar item with its popup open
    Draw(&m_menu, 0, ODS_SELECTED, open);
    m_menu.m_nOpenPopups = 0;
    CRect body(0, 0, BW - 4, BH);

    struct Case
    {
        const char* what;
        const Dib& dib;
        int x, y;
        COLORREF expected;
    };
    const Case cases[] = {
        {"plain: text area", plain, W - 3, 2, G},
        {"plain: icon column", plain, 5, H / 2, GradientPixel(CRect(0, 0, column, 1), G, P1, TRUE, 5, 0)},
        {"plain: column end", plain, column - 2, H / 2,
         GradientPixel(CRect(0, 0, column, 1), G, P1, TRUE, column - 2, 0)},
        {"selected: fill", selected, W - 3, 2, sel},
        {"selected: fill over the column", selected, 3, 3, sel},
        {"selected: frame top-left", selected, 0, 0, frame},
        {"selected: frame bottom-right", selected, W - 1, H - 1, frame},
        {"checked: box", checked, 2, 2, boxChecked},
        {"checked: box frame", checked, 1, 1, frame},
        {"checked: text area", checked, W - 3, 2, G},
        {"hot bar: frame", hot, 0, 0, frame},
        {"hot bar: gradient", hot, 2, BH / 2, GradientPixel(body, N, sel, FALSE, 2, BH / 2)},
        {"hot bar: strip", hot, BW - 2, BH / 2, P1},
        {"open bar: frame", open, 0, 0, DarkenColor(GetMenuBarColorThemed(), 128)},
        {"open bar: gradient", open, 2, BH / 2, GradientPixel(body, N, P1, FALSE, 2, BH / 2)},
        {"open bar: shadow top", open, BW - 1, 2, P1},
        {"open bar: shadow outer", open, BW - 1, 10, Darken255(P1, 225)},
        {"open bar: shadow inner", open, BW - 4, 10, Darken255(P1, 135)},
        {"open bar: shadow ramp", open, BW - 1, 5, Darken255(P1, 243)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.dib.Pixel(c.x, c.y)) << c.what;
}

TEST_F(PainterTest, ImageVariants)
{
    CImageList images;
    ASSERT_TRUE(MakeSolidImages(images, {RGB(30, 160, 90)}));
    ASSERT_TRUE(m_pFile->SetItemImage(1001, &images, 0));
    CThemedMenuItemData* pRecord = m_pFile->GetRecord(0);
    auto imagePixel = [&](CThemedMenuIcons::Look look) {
        Dib dib(16, 16);
        pRecord->m_pIcons->Images(look).Draw(dib.dc.m_hDC, pRecord->m_nImageIndex, CPoint(0, 0), ILD_TRANSPARENT);
        return dib.Pixel(8, 8);
    };
    COLORREF normal = imagePixel(CThemedMenuIcons::LOOK_NORMAL), dimmed = imagePixel(CThemedMenuIcons::LOOK_DIMMED),
             disabled = imagePixel(CThemedMenuIcons::LOOK_DISABLED);
    EXPECT_NE(normal, dimmed);
    EXPECT_NE(normal, disabled);
    const int W = 160, H = 22;
    BOOL bOldDimmed = CThemedMenu::GetDimmedIcons();
    struct Case
    {
        BOOL bDimmed;
        UINT state;
        COLORREF expected;
        const char* what;
    };
    const Case cases[] = {
        {FALSE, 0, normal, "enabled, dimming off"},
        {TRUE, 0, dimmed, "enabled, dimming on"},
        {TRUE, ODS_SELECTED, normal, "selected, dimming on"},
        {FALSE, ODS_GRAYED | ODS_DISABLED, disabled, "disabled, dimming off"},
        {TRUE, ODS_GRAYED | ODS_DISABLED, disabled, "disabled, dimming on"},
    };
    for (const Case& c : cases) {
        CThemedMenu::SetDimmedIcons(c.bDimmed);
        Dib dib(W, H);
        Draw(m_pFile, 0, c.state, dib);
        EXPECT_EQ(c.expected, dib.Pixel(3 + 8, (H - 16) / 2 + 8)) << c.what;
    }
    CThemedMenu::SetDimmedIcons(bOldDimmed);
}

TEST_F(PainterTest, OtherThemesSelection)
{
    // The selected look of each painter family, read in the text area of a
    // popup item and inside a hot menu-bar item.
    const int W = 160, H = 22;
    COLORREF hi = ::GetSysColor(COLOR_HIGHLIGHT);
    COLORREF M = ::GetSysColor(IsFlatMenu() ? COLOR_MENUBAR : COLOR_MENU);
    struct Case
    {
        int theme;
        UINT state;
        BOOL bBar;
        int x, y;
        COLORREF expected;
        const char* what;
    };
    const Case cases[] = {
        {2, ODS_SELECTED, FALSE, W - 3, 2, GetSelectColor(), "xp popup"},
        {2, ODS_SELECTED, FALSE, 0, 0, hi, "xp popup frame"},
        {0, ODS_SELECTED, FALSE, W - 3, 2, hi, "classic popup"},
        {0, 0, FALSE, W - 3, 2, ::GetSysColor(COLOR_MENU), "classic plain"},
        {6, ODS_SELECTED, FALSE, W - 3, H / 2,
         GradientPixel(CRect(0, 0, W, H), LightenColor(hi, 30), DarkenColor(hi, 30), FALSE, 0, H / 2),
         "gradient popup"},
        {6, 0, FALSE, W - 3, H / 2,
         GradientPixel(CRect(0, 0, W, H), LightenColor(M, 30), DarkenColor(M, 30), FALSE, 0, H / 2), "gradient plain"},
        {4, ODS_HOTLIGHT, TRUE, 2, 2, hi, "flat bar hot"},
        {4, 0, TRUE, 2, 2, GetMenuBarColorThemed(), "flat bar plain"},
    };
    for (const Case& c : cases) {
        CThemedMenu::SelectTheme(c.theme);
        Dib dib(c.bBar ? 60 : W, c.bBar ? 20 : H);
        Draw(c.bBar ? &m_menu : m_pFile, 0, c.state, dib);
        EXPECT_EQ(c.expected, dib.Pixel(c.x, c.y)) << c.what << " (theme " << CThemedMenu::GetThemeId() << ")";
    }
}

TEST(DrawMenuText, AccessMarks)
{
    // "&&" is one "&" without a line; "&x" underlines x one pixel below the ascent.
    CFont font;
    font.CreatePointFont(100, "Arial");
    auto paint = [&](const char* text, BOOL bMenuText, UINT flags) {
        auto dib = std::make_shared<Dib>(80, 24);
        dib->dc.FillSolidRect(0, 0, 80, 24, RGB(255, 255, 255));
        HGDIOBJ hOld = dib->dc.SelectObject(&font);
        dib->dc.SetTextColor(RGB(0, 0, 0));
        dib->dc.SetBkMode(TRANSPARENT);
        if (bMenuText)
            DrawMenuText(&dib->dc, text, -1, CRect(2, 2, 80, 24), flags);
        else
            dib->dc.TextOut(2, 2, text);
        dib->dc.SelectObject(hOld);
        return dib;
    };
    auto same = [](const Dib& a, const Dib& b) {
        for (int y = 0; y < a.cy; ++y)
            for (int x = 0; x < a.cx; ++x)
                if (a.Pixel(x, y) != b.Pixel(x, y))
                    return false;
        return true;
    };
    EXPECT_TRUE(same(*paint("a&&b", TRUE, 0), *paint("a&b", FALSE, 0)));
    EXPECT_TRUE(same(*paint("&File", TRUE, DT_HIDEPREFIX), *paint("File", FALSE, 0)));
    auto marked = paint("&File", TRUE, 0);
    EXPECT_FALSE(same(*marked, *paint("File", FALSE, 0)));
    TEXTMETRICA tm = {};
    CClientDC screen((HWND) nullptr);
    HGDIOBJ hOld = screen.SelectObject(&font);
    screen.GetTextMetrics(&tm);
    int wF = screen.GetTextExtent("F").cx;
    screen.SelectObject(hOld);
    int y = 2 + tm.tmAscent + 1;
    EXPECT_EQ(RGB(0, 0, 0), marked->Pixel(2 + wF / 2, y));
    EXPECT_EQ(RGB(255, 255, 255), marked->Pixel(2 + wF + 3, y));
}
