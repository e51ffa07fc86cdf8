// Pixels of the 2003 painter (the suite's look): popup items plain, selected
// and checked, menu-bar items hot and open, and the image variants.
#include "menutheme.h"
#include <gtest/gtest.h>
#include <string>

namespace {
struct Dib
{
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ hOld = nullptr;
    DWORD* pBits = nullptr;
    int cx, cy;
    Dib(int w, int h) : cx(w), cy(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        bitmap.Attach(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
        pBits = (DWORD*)p;
        dc.CreateCompatibleDC((HDC)nullptr);
        hOld = dc.SelectObject(&bitmap);
    }
    ~Dib() { dc.SelectObject(hOld); }
    COLORREF Pixel(int x, int y) const
    {
        ::GdiFlush();
        DWORD p = pBits[y * cx + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

// A gradient as DrawGradient paints it, for comparing single pixels.
COLORREF GradientPixel(CRect r, COLORREF a, COLORREF b, BOOL bHorizontal, int x, int y)
{
    Dib dib(r.Width(), r.Height());
    DrawGradient(&dib.dc, CRect(0, 0, r.Width(), r.Height()), a, b, bHorizontal, FALSE);
    return dib.Pixel(x, y);
}

COLORREF Darken255(COLORREF c, int f) { return RGB(GetRValue(c) * f / 255, GetGValue(c) * f / 255, GetBValue(c) * f / 255); }

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
}

TEST_F(PainterTest, Items2003)
{
    ASSERT_TRUE(CThemedMenu::GetThemeId() == 8 || CThemedMenu::GetThemeId() == 9);
    COLORREF N = DarkenColor(::GetSysColor(COLOR_WINDOW), 10);
    COLORREF M = ::GetSysColor(IsFlatMenu() ? COLOR_MENUBAR : COLOR_MENU);
    COLORREF P1, P2;
    Get2003Colors(P1, P2, TRUE);
    COLORREF G = MixColor86(N, M);
    if (NearestScreenColor(G) == NearestScreenColor(P1)) G = N;
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
    EXPECT_EQ(CRect(0, 0, BW, BH), m_menu.m_rectBarItem);   // where the popup will join it
    m_menu.m_nOpenPopups = 1;   // a selected bar item with its popup open
    Draw(&m_menu, 0, ODS_SELECTED, open);
    m_menu.m_nOpenPopups = 0;
    CRect body(0, 0, BW - 4, BH);

    struct Case { const char* what; const Dib& dib; int x, y; COLORREF expected; };
    const Case cases[] = {
        { "plain: text area", plain, W - 3, 2, G },
        { "plain: icon column", plain, 5, H / 2, GradientPixel(CRect(0, 0, column, 1), G, P1, TRUE, 5, 0) },
        { "plain: column end", plain, column - 2, H / 2, GradientPixel(CRect(0, 0, column, 1), G, P1, TRUE, column - 2, 0) },
        { "selected: fill", selected, W - 3, 2, sel },
        { "selected: fill over the column", selected, 3, 3, sel },
        { "selected: frame top-left", selected, 0, 0, frame },
        { "selected: frame bottom-right", selected, W - 1, H - 1, frame },
        { "checked: box", checked, 2, 2, boxChecked },
        { "checked: box frame", checked, 1, 1, frame },
        { "checked: text area", checked, W - 3, 2, G },
        { "hot bar: frame", hot, 0, 0, frame },
        { "hot bar: gradient", hot, 2, BH / 2, GradientPixel(body, N, sel, FALSE, 2, BH / 2) },
        { "hot bar: strip", hot, BW - 2, BH / 2, P1 },
        { "open bar: frame", open, 0, 0, DarkenColor(GetMenuBarColorThemed(), 128) },
        { "open bar: gradient", open, 2, BH / 2, GradientPixel(body, N, P1, FALSE, 2, BH / 2) },
        { "open bar: shadow top", open, BW - 1, 2, P1 },
        { "open bar: shadow outer", open, BW - 1, 10, Darken255(P1, 225) },
        { "open bar: shadow inner", open, BW - 4, 10, Darken255(P1, 135) },
        { "open bar: shadow ramp", open, BW - 1, 5, Darken255(P1, 243) },
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, c.dib.Pixel(c.x, c.y)) << c.what;
}

TEST_F(PainterTest, ImageVariants)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1));
    {
        CClientDC screen((HWND)nullptr);
        CBitmap bmp;
        bmp.CreateCompatibleBitmap(screen.m_hDC, 16, 16);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        HGDIOBJ hOld = dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, 16, 16, RGB(30, 160, 90));
        dc.SelectObject(hOld);
        images.Add(bmp, RGB(255, 0, 255));
    }
    ASSERT_TRUE(m_pFile->SetItemImage(1001, &images, 0));
    CThemedMenuItemData* pRecord = m_pFile->GetRecord(0);
    auto imagePixel = [&](int index) {
        Dib dib(16, 16);
        pRecord->m_pIcons->m_images.Draw(dib.dc.m_hDC, index, CPoint(0, 0), ILD_TRANSPARENT);
        return dib.Pixel(8, 8);
    };
    COLORREF normal = imagePixel(0), dimmed = imagePixel(1), disabled = imagePixel(2);
    EXPECT_NE(normal, dimmed);
    EXPECT_NE(normal, disabled);
    const int W = 160, H = 22;
    BOOL bOldDimmed = CThemedMenu::GetDimmedIcons();
    struct Case { BOOL bDimmed; UINT state; COLORREF expected; const char* what; };
    const Case cases[] = {
        { FALSE, 0, normal, "enabled, dimming off" },
        { TRUE, 0, dimmed, "enabled, dimming on" },
        { TRUE, ODS_SELECTED, normal, "selected, dimming on" },
        { FALSE, ODS_GRAYED | ODS_DISABLED, disabled, "disabled, dimming off" },
        { TRUE, ODS_GRAYED | ODS_DISABLED, disabled, "disabled, dimming on" },
    };
    for (const Case& c : cases) {
        CThemedMenu::SetDimmedIcons(c.bDimmed);
        Dib dib(W, H);
        Draw(m_pFile, 0, c.state, dib);
        EXPECT_EQ(c.expected, dib.Pixel(3 + 8, (H - 16) / 2 + 8)) << c.what;
    }
    CThemedMenu::SetDimmedIcons(bOldDimmed);
}
