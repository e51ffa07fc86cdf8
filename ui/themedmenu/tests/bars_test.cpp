// The themed bars on a plain frame: the tool bar's three image lists, and
// the menu bar's rows with their right-aligned group.
#include <gtest/gtest.h>
#include "menubar.h"
#include "menutheme.h"
#include "toolbar.h"
#include <vector>

namespace {

const UINT ID_TOOLBAR = 200; // 16 x 15 buttons, three images (themedmenu_test.rc)
const COLORREF MARK = RGB(1, 2, 3);

CFrameWnd* MakeFrame()
{
    CFrameWnd* frame = new CFrameWnd; // deletes itself with its window
    if (!frame->Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW, CRect(0, 0, 640, 300)))
        return nullptr;
    frame->ShowWindow(SW_SHOW);
    return frame;
}

// The pixels of one image of a list, drawn transparently over MARK.
std::vector<COLORREF> Drawn(CImageList& list, int image, int cx, int cy)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    HBRUSH mark = ::CreateSolidBrush(MARK);
    RECT all = {0, 0, cx, cy};
    ::FillRect(dc, &all, mark);
    list.Draw(dc, image, CPoint(0, 0), ILD_TRANSPARENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            pixels.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteObject(mark);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

class CTestMenuBar : public CThemedMenuBar
{
public:
    using CThemedMenuBar::CalcLayout;
};

} // namespace

TEST(ThemedToolBar, ImageListsFromTheBitmapWithItsCornerTransparent)
{
    CFrameWnd* frame = MakeFrame();
    ASSERT_NE(nullptr, frame);
    {
        CThemedToolBar bar;
        ASSERT_TRUE(bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP));
        ASSERT_TRUE(bar.LoadToolBar(ID_TOOLBAR));
        ASSERT_EQ(3, bar.NormalImages().GetImageCount());
        EXPECT_EQ(3, bar.DimmedImages().GetImageCount());
        EXPECT_EQ(3, bar.DisabledImages().GetImageCount());
        // The control shows the dimmed images while dimmed icons are on.
        CImageList& shown = CThemedMenu::GetDimmedIcons() ? bar.DimmedImages() : bar.NormalImages();
        EXPECT_EQ(shown.m_hImageList, (HIMAGELIST)bar.SendMessage(TB_GETIMAGELIST));

        HBITMAP source =
            (HBITMAP)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ID_TOOLBAR), IMAGE_BITMAP, 0, 0, 0);
        ASSERT_NE(nullptr, source);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, source);
        COLORREF corner = ::GetPixel(dc, 0, 0);
        int opaque = 0;
        for (int image = 0; image < 3; ++image) {
            std::vector<COLORREF> normal = Drawn(bar.NormalImages(), image, 16, 15);
            std::vector<COLORREF> dimmed = Drawn(bar.DimmedImages(), image, 16, 15);
            std::vector<COLORREF> disabled = Drawn(bar.DisabledImages(), image, 16, 15);
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 16; ++x) {
                    COLORREF src = ::GetPixel(dc, image * 16 + x, y);
                    size_t i = (size_t)(y * 16 + x);
                    if (src == corner) {
                        // The corner's colour is transparent in every list.
                        EXPECT_EQ(MARK, normal[i]) << image << " " << x << "," << y;
                        EXPECT_EQ(MARK, dimmed[i]) << image << " " << x << "," << y;
                        EXPECT_EQ(MARK, disabled[i]) << image << " " << x << "," << y;
                        continue;
                    }
                    ++opaque;
                    EXPECT_EQ(src, normal[i]);
                    EXPECT_EQ(DarkenColor(src, CThemedMenu::Options().nIconDimming), dimmed[i]);
                    EXPECT_NE(MARK, disabled[i]);
                }
        }
        EXPECT_GT(opaque, 0);

        // A bitmap added later joins all three lists.
        HBITMAP more = ::CreateCompatibleBitmap(dc, 16, 15);
        HDC moreDC = ::CreateCompatibleDC(nullptr);
        HGDIOBJ moreOld = ::SelectObject(moreDC, more);
        RECT r = {0, 0, 16, 15};
        HBRUSH red = ::CreateSolidBrush(RGB(200, 0, 0));
        ::FillRect(moreDC, &r, red);
        ::SetPixel(moreDC, 0, 0, RGB(0, 255, 0));
        ::SelectObject(moreDC, moreOld);
        TBADDBITMAP add = {nullptr, (UINT_PTR)more};
        bar.SendMessage(TB_ADDBITMAP, 1, (LPARAM)&add);
        EXPECT_EQ(4, bar.NormalImages().GetImageCount());
        EXPECT_EQ(4, bar.DimmedImages().GetImageCount());
        EXPECT_EQ(4, bar.DisabledImages().GetImageCount());
        std::vector<COLORREF> added = Drawn(bar.DimmedImages(), 3, 16, 15);
        EXPECT_EQ(MARK, added[0]);
        EXPECT_EQ(DarkenColor(RGB(200, 0, 0), CThemedMenu::Options().nIconDimming), added[17]);
        ::DeleteObject(red);
        ::DeleteDC(moreDC);
        ::DeleteObject(more);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::DeleteObject(source);
    }
    frame->DestroyWindow();
}

TEST(ThemedMenuBar, RowsWrapAndTheRightGroupEndsEachRow)
{
    CFrameWnd* frame = MakeFrame();
    ASSERT_NE(nullptr, frame);
    {
        CThemedMenu menu;
        HMENU h = ::CreateMenu();
        static const char* const titles[] = {"&One", "&Two", "T&hree", "&Help"};
        for (int i = 0; i < 4; ++i) {
            HMENU popup = ::CreatePopupMenu();
            ::AppendMenuA(popup, MF_STRING, 100 + i, "Item");
            ::AppendMenuA(h, MF_POPUP | (i == 3 ? MF_HELP : 0), (UINT_PTR)popup, titles[i]);
        }
        ASSERT_TRUE(menu.LoadMenu(h));
        CTestMenuBar bar;
        ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
        bar.SetMenu(menu.m_hMenu);
        ASSERT_EQ(4, bar.GetItemCount());
        EXPECT_TRUE(bar.GetItem(3)->m_nFlags & BARITEM_RIGHT_GROUP);
        std::vector<int> w;
        int total = 0, height = 0;
        for (int i = 0; i < 4; ++i) {
            w.push_back(bar.GetItem(i)->m_rect.Width());
            total += w.back();
            height = bar.GetItem(i)->m_rect.Height();
            EXPECT_GT(w.back(), ::GetSystemMetrics(SM_CXMENUCHECK)) << i; // the text was measured
        }
        CRect borders(3, 0, 0, 1);

        struct Case
        {
            int length;
            int rows;
            int helpRow;
            int secondLeft;
        };
        const Case cases[] = {
            {total + 40, 1, 0, w[0]}, // one row; Help at its right end
            {total - 1, 2, 1, w[0]},  // Help moves to a row of its own
            {w[0], 4, 3, 0},          // every item in a row of its own
        };
        for (const Case& c : cases) {
            CSize size = bar.CalcLayout(c.length, FALSE);
            EXPECT_EQ(c.rows * height + borders.top + borders.bottom, size.cy) << c.length;
            CThemedBarItem* help = bar.GetItem(3);
            EXPECT_EQ(c.length, help->m_rect.right) << c.length;
            EXPECT_EQ(c.helpRow * height, help->m_rect.top) << c.length;
            EXPECT_EQ(0, bar.GetItem(0)->m_rect.left) << c.length;
            EXPECT_EQ(c.secondLeft, bar.GetItem(1)->m_rect.left) << c.length;
        }
    }
    frame->DestroyWindow();
}
