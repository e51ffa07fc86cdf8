// Image buttons: the pixels of their states, hover tracking and their modes.
#include "ImageButton.h"
#include "VisualThemeHelper.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {
const COLORREF BK_OUT = RGB(0, 0, 255);
const COLORREF BK_IN = RGB(0, 255, 0);
const COLORREF ICON_RED = RGB(255, 0, 0);
const int BTN_W = 40, BTN_H = 30;

// A 16x16 icon whose middle 8x8 square is red and the rest transparent.
HICON MakeRedSquareIcon()
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = -16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP color = ::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    DWORD* px = (DWORD*)bits;
    BYTE maskBits[16 * 2];
    for (int y = 0; y < 16; y++) {
        WORD row = 0xFFFF;
        for (int x = 0; x < 16; x++) {
            bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            px[y * 16 + x] = inside ? 0xFFFF0000 : 0;
            if (inside)
                row &= (WORD) ~(0x8000 >> x);
        }
        maskBits[y * 2] = (BYTE)(row >> 8);
        maskBits[y * 2 + 1] = (BYTE)(row & 0xFF);
    }
    HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, maskBits);
    ICONINFO ii = {TRUE, 0, 0, mask, color};
    HICON icon = ::CreateIconIndirect(&ii);
    ::DeleteObject(mask);
    ::DeleteObject(color);
    return icon;
}

// A visible top-level framework window at a fixed place holding push
// buttons; being a framework window, it reflects their notifications.
class ButtonHost
{
public:
    ButtonHost()
    {
        m_host.CreateEx(WS_EX_TOPMOST, nullptr, "host", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr);
    }
    ~ButtonHost() { m_host.DestroyWindow(); }
    HWND AddButton(int x, int id, DWORD style = BS_PUSHBUTTON)
    {
        return ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | style, x, 10, BTN_W, BTN_H, m_host.m_hWnd,
                                 (HMENU)(INT_PTR)id, ::GetModuleHandleA(nullptr), nullptr);
    }
    HWND Host() const { return m_host.m_hWnd; }

private:
    CWnd m_host;
};

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Paints the button through its owner-draw code into a memory bitmap and
// keeps the pixels.
class Rendering
{
public:
    Rendering(CImageButton& button, UINT itemState)
    {
        HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        m_bmp = ::CreateCompatibleBitmap(screen, BTN_W, BTN_H);
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_dc, m_bmp);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = (UINT)::GetDlgCtrlID(button.m_hWnd);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = itemState;
        dis.hwndItem = button.m_hWnd;
        dis.hDC = m_dc;
        ::SetRect(&dis.rcItem, 0, 0, BTN_W, BTN_H);
        button.DrawItem(&dis);
    }
    ~Rendering()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bmp);
        ::DeleteDC(m_dc);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    // Leftmost and topmost column/row holding a red pixel, -1 when none.
    POINT FirstRed() const
    {
        POINT pt = {-1, -1};
        for (int y = 0; y < BTN_H && pt.y < 0; y++)
            for (int x = 0; x < BTN_W; x++)
                if (At(x, y) == ICON_RED) {
                    pt.y = y;
                    break;
                }
        for (int x = 0; x < BTN_W && pt.x < 0; x++)
            for (int y = 0; y < BTN_H; y++)
                if (At(x, y) == ICON_RED) {
                    pt.x = x;
                    break;
                }
        return pt;
    }
    int CountRed() const
    {
        int n = 0;
        for (int y = 0; y < BTN_H; y++)
            for (int x = 0; x < BTN_W; x++)
                n += At(x, y) == ICON_RED;
        return n;
    }

private:
    HDC m_dc;
    HBITMAP m_bmp;
    HGDIOBJ m_old;
};

// Moves the pointer over a window's centre and lets it see the move.
void HoverOver(CImageButton& button)
{
    RECT rc;
    ::GetWindowRect(button.m_hWnd, &rc);
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    POINT pt = {BTN_W / 2, BTN_H / 2};
    ::SendMessageA(button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

void MoveMouseAway(CImageButton& button)
{
    ::SetCursorPos(5, 5);
    ::SendMessageA(button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(-200, -200));
}

class ImageButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_host.Host());
        ASSERT_TRUE(m_button.SubclassWindow(m_host.AddButton(10, 101)));
        m_button.SetIcon(MakeRedSquareIcon());
        m_button.SetColor(CImageButton::COLOR_BK_OUT, BK_OUT, FALSE);
        m_button.SetColor(CImageButton::COLOR_BK_FOCUS, BK_OUT, FALSE);
        m_button.SetColor(CImageButton::COLOR_BK_IN, BK_IN, FALSE);
        Pump();
        MoveMouseAway(m_button);
    }
    void TearDown() override { MoveMouseAway(m_button); }

    ButtonHost m_host;
    CImageButton m_button;
};
} // namespace

TEST_F(ImageButtonTest, AttachingMakesTheButtonOwnerDrawnAndKeepsItSo)
{
    LONG_PTR style = ::GetWindowLongPtrA(m_button.m_hWnd, GWL_STYLE);
    EXPECT_EQ(BS_OWNERDRAW, style & 0x0F);
    EXPECT_FALSE(m_button.IsDefaultButton());

    // The dialog manager turning it into the default button keeps owner draw.
    ::SendMessageA(m_button.m_hWnd, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    style = ::GetWindowLongPtrA(m_button.m_hWnd, GWL_STYLE);
    EXPECT_EQ(BS_OWNERDRAW, style & 0x0F);
    EXPECT_TRUE(m_button.IsDefaultButton());
    LRESULT code = ::SendMessageA(m_button.m_hWnd, WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_DEFPUSHBUTTON);
    EXPECT_FALSE(code & DLGC_UNDEFPUSHBUTTON);

    ::SendMessageA(m_button.m_hWnd, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(m_button.IsDefaultButton());
    code = ::SendMessageA(m_button.m_hWnd, WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_UNDEFPUSHBUTTON);
}

TEST_F(ImageButtonTest, FlatButtonStatesDrawTheirOwnPixels)
{
    // Normal: flat, no frame, the "out" background, icon centred.
    Rendering normal(m_button, 0);
    EXPECT_EQ(BK_OUT, normal.At(0, 0));
    EXPECT_EQ(BK_OUT, normal.At(BTN_W - 1, BTN_H - 1));
    POINT iconAt = normal.FirstRed();
    EXPECT_EQ((BTN_W - 16) / 2 + 4, iconAt.x);
    EXPECT_EQ((BTN_H - 16) / 2 + 4, iconAt.y);
    EXPECT_EQ(64, normal.CountRed());

    // Hover: the "in" background inside a raised frame.
    HoverOver(m_button);
    ASSERT_TRUE(m_button.IsHovered());
    Rendering hover(m_button, 0);
    EXPECT_EQ(BK_IN, hover.At(2, 2));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHILIGHT), hover.At(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), hover.At(BTN_W - 1, BTN_H - 1));
    EXPECT_EQ(iconAt.x, hover.FirstRed().x);

    // Pressed: sunken frame, icon moved by the press offset.
    Rendering pressed(m_button, ODS_SELECTED);
    EXPECT_EQ(BK_IN, pressed.At(2, 2));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), pressed.At(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHILIGHT), pressed.At(BTN_W - 1, BTN_H - 1));
    EXPECT_EQ(iconAt.x + 1, pressed.FirstRed().x);
    EXPECT_EQ(iconAt.y + 1, pressed.FirstRed().y);

    // Leaving ends the hover state; disabled draws the icon in the grey look.
    MoveMouseAway(m_button);
    EXPECT_FALSE(m_button.IsHovered());
    Rendering disabled(m_button, ODS_DISABLED);
    EXPECT_EQ(BK_OUT, disabled.At(0, 0));
    EXPECT_EQ(0, disabled.CountRed());
}

TEST_F(ImageButtonTest, NonFlatButtonHasARaisedFrameAndFocusRectangle)
{
    m_button.SetFlat(FALSE);
    Rendering normal(m_button, 0);
    EXPECT_EQ(::GetSysColor(COLOR_BTNHILIGHT), normal.At(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), normal.At(BTN_W - 1, BTN_H - 1));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), normal.At(BTN_W - 2, BTN_H - 2));
    // Not flat: no hover state at all.
    HoverOver(m_button);
    EXPECT_FALSE(m_button.IsHovered());

    // Focused: a black frame, the raised border inside it, and a dotted
    // focus rectangle three pixels inside that.
    auto dotsInColumn = [](const Rendering& r, int x) {
        int n = 0;
        for (int y = 6; y < BTN_H - 6; y++)
            n += r.At(x, y) != BK_OUT;
        return n;
    };
    EXPECT_EQ(0, dotsInColumn(normal, 4));
    Rendering focused(m_button, ODS_FOCUS);
    EXPECT_EQ(RGB(0, 0, 0), focused.At(BTN_W / 2, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHILIGHT), focused.At(1, 1));
    EXPECT_GT(dotsInColumn(focused, 4), 0);
    EXPECT_EQ(0, dotsInColumn(focused, 6));
}

TEST_F(ImageButtonTest, HoverMovesFromOneButtonToTheNext)
{
    CImageButton second;
    ASSERT_TRUE(second.SubclassWindow(m_host.AddButton(60, 102)));
    HoverOver(m_button);
    EXPECT_TRUE(m_button.IsHovered());

    // The pointer now lies over the second button: the first one, still
    // seeing a move, lets go before the second lights up.
    RECT rc;
    ::GetWindowRect(second.m_hWnd, &rc);
    ::SetCursorPos(rc.left + 5, rc.top + 5);
    ::SendMessageA(m_button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(BTN_W + 25, 5));
    EXPECT_FALSE(m_button.IsHovered());
    ::SendMessageA(second.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(second.IsHovered());

    // Losing the focus, cancel mode and the leave notice end the hover state.
    ::SendMessageA(second.m_hWnd, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(second.IsHovered());
    ::SendMessageA(second.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::SendMessageA(second.m_hWnd, WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(second.IsHovered());
    ::SendMessageA(second.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::SendMessageA(second.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(second.IsHovered());
    MoveMouseAway(second);
}

TEST_F(ImageButtonTest, CheckBoxModeTogglesOnClickAndDrawsPressed)
{
    m_button.SetCheckBoxMode(TRUE);
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageA(m_button.m_hWnd, BM_GETCHECK, 0, 0));
    ::SendMessageA(m_button.m_hWnd, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(m_button.m_hWnd, BM_GETCHECK, 0, 0));
    Rendering checked(m_button, 0);
    EXPECT_EQ(BK_IN, checked.At(2, 2));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), checked.At(0, 0));

    ::SendMessageA(m_button.m_hWnd, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageA(m_button.m_hWnd, BM_GETCHECK, 0, 0));
    ::SendMessageA(m_button.m_hWnd, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(m_button.m_hWnd, BM_GETCHECK, 0, 0));
}

TEST_F(ImageButtonTest, OutIconShowsUntilHoveredAndAlignmentPlacesIconBesideText)
{
    // Out icon: the grey copy; the red in icon appears only while hovered.
    HICON red = MakeRedSquareIcon();
    m_button.SetIcon(MakeRedSquareIcon(), CImageButton::CreateGrayscaleIcon(red));
    ::DestroyIcon(red);
    Rendering out(m_button, 0);
    EXPECT_EQ(0, out.CountRed());
    HoverOver(m_button);
    Rendering in(m_button, 0);
    EXPECT_EQ(64, in.CountRed());
    MoveMouseAway(m_button);

    // With a text the icon sits at the left margin (alignment 0) or at the
    // right margin (alignment 2).
    ::SetWindowTextA(m_button.m_hWnd, "A");
    m_button.SetIcon(MakeRedSquareIcon());
    Rendering left(m_button, 0);
    EXPECT_EQ(3 + 4, left.FirstRed().x);
    m_button.SetAlign(CImageButton::ALIGN_HORIZ_RIGHT);
    Rendering right(m_button, 0);
    EXPECT_EQ(BTN_W - 16 - 3 + 4, right.FirstRed().x);
    m_button.SetAlign(CImageButton::ALIGN_VERT);
    Rendering above(m_button, 0);
    EXPECT_EQ(3 + 4, above.FirstRed().y);
    EXPECT_FALSE(m_button.SetAlign(3));
}

TEST_F(ImageButtonTest, BitmapIsDrawnThroughItsTransparentColourMask)
{
    // A magenta bitmap with a red 8x8 square: magenta is the transparent colour.
    HDC screen = ::GetDC(nullptr);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    RECT all = {0, 0, 16, 16}, square = {4, 4, 12, 12};
    HBRUSH magenta = ::CreateSolidBrush(RGB(255, 0, 255)), red = ::CreateSolidBrush(ICON_RED);
    ::FillRect(dc, &all, magenta);
    ::FillRect(dc, &square, red);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(magenta);
    ::DeleteObject(red);

    ASSERT_TRUE(m_button.SetBitmaps(bmp, RGB(255, 0, 255)));
    Rendering normal(m_button, 0);
    EXPECT_EQ(64, normal.CountRed());
    POINT at = normal.FirstRed();
    EXPECT_EQ((BTN_W - 16) / 2 + 4, at.x);
    // Where the bitmap is transparent the button's background shows.
    EXPECT_EQ(BK_OUT, normal.At(at.x - 2, at.y - 2));
    Rendering pressed(m_button, ODS_SELECTED);
    EXPECT_EQ(at.x + 1, pressed.FirstRed().x);
    EXPECT_EQ(BK_IN, pressed.At(at.x - 2, at.y - 2));
}

TEST(ImageButtonIcons, GreyAndDarkCopiesConvertEveryColouredPixel)
{
    HICON red = MakeRedSquareIcon();
    HICON grey = CImageButton::CreateGrayscaleIcon(red);
    HICON dark = CImageButton::CreateDarkerIcon(red);
    ASSERT_NE(nullptr, grey);
    ASSERT_NE(nullptr, dark);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 48, 16);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    RECT all = {0, 0, 48, 16};
    ::FillRect(dc, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::DrawIconEx(dc, 0, 0, red, 16, 16, 0, nullptr, DI_NORMAL);
    ::DrawIconEx(dc, 16, 0, grey, 16, 16, 0, nullptr, DI_NORMAL);
    ::DrawIconEx(dc, 32, 0, dark, 16, 16, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, 8, 8));
    EXPECT_EQ(RGB(76, 76, 76), ::GetPixel(dc, 16 + 8, 8)); // 0.299 x 255
    EXPECT_EQ(RGB(192, 0, 0), ::GetPixel(dc, 32 + 8, 8));  // 255 - 255/4
    // The transparent border stays transparent.
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(dc, 16 + 1, 1));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(dc, 32 + 1, 1));
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
    ::DestroyIcon(red);
    ::DestroyIcon(grey);
    ::DestroyIcon(dark);
    EXPECT_EQ(nullptr, CImageButton::CreateGrayscaleIcon(nullptr));
}

TEST_F(ImageButtonTest, TooltipIsCreatedOnceAndCarriesTheText)
{
    EXPECT_EQ(nullptr, m_button.GetTipWnd());
    m_button.SetTipText("Add files");
    // The window comes with the first mouse move over the button.
    MSG elsewhere = {m_host.Host(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1)};
    m_button.PreTranslateMessage(&elsewhere);
    EXPECT_EQ(nullptr, m_button.GetTipWnd());
    MSG over = {m_button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)};
    m_button.PreTranslateMessage(&over);
    HWND tip = m_button.GetTipWnd();
    ASSERT_NE(nullptr, tip);
    m_button.PreTranslateMessage(&over);
    m_button.SetTipText("Remove file");
    EXPECT_EQ(tip, m_button.GetTipWnd());
    EXPECT_EQ(1, ::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    char text[80] = "";
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = m_button.m_hWnd;
    ti.uId = 1;
    ti.lpszText = text;
    ::SendMessageA(tip, TTM_GETTEXTA, sizeof(text), (LPARAM)&ti);
    EXPECT_STREQ("Remove file", text);
    EXPECT_EQ(400, ::SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0));
}

TEST_F(ImageButtonTest, ModesRefuseWhatTheyCannotKeep)
{
    // An address longer than the buffer is refused rather than cut.
    std::string longUrl = "https://example.invalid/" + std::string(300, 'a');
    EXPECT_FALSE(m_button.SetURL(longUrl.c_str()));
    EXPECT_TRUE(m_button.SetURL("https://example.invalid/"));
    EXPECT_FALSE(m_button.SetMenu(4711, m_host.Host()));
    EXPECT_FALSE(m_button.SetBtnCursor(4711));
    EXPECT_TRUE(m_button.SetBtnCursor(0));
    EXPECT_FALSE(m_button.SetColor(CImageButton::COLOR_MAX, 0));
    // A missing icon resource leaves the button without an image.
    EXPECT_FALSE(m_button.SetIconIds(4711));
    Rendering none(m_button, 0);
    EXPECT_EQ(0, none.CountRed());
    EXPECT_TRUE(m_button.SetIconIds(IDI_ADD_FILE, CImageButton::ICON_DARKER));
}

TEST(StyledImageButton, ThemeHelperDecidesBetweenThemeAndClassicDrawing)
{
    ButtonHost host;
    CVisualThemeHelper helper;
    CStyledImageButton themed, classic;
    ASSERT_TRUE(themed.SubclassWindow(host.AddButton(10, 201)));
    ASSERT_TRUE(classic.SubclassWindow(host.AddButton(60, 202)));
    for (CStyledImageButton* b : {&themed, &classic}) {
        b->SetIcon(MakeRedSquareIcon());
        b->SetColor(CImageButton::COLOR_BK_OUT, BK_OUT, FALSE);
        b->SetColor(CImageButton::COLOR_BK_IN, BK_IN, FALSE);
        b->SetToolbarLook(TRUE);
    }
    themed.AttachThemeHelper(&helper);
    classic.AttachThemeHelper(nullptr);

    // Without a helper: classic drawing with the hover frame.
    HoverOver(classic);
    Rendering classicHover(classic, 0);
    EXPECT_EQ(::GetSysColor(COLOR_BTNHILIGHT), classicHover.At(0, 0));
    EXPECT_EQ(BK_IN, classicHover.At(2, 2));
    MoveMouseAway(classic);

    Rendering themedNormal(themed, 0);
    EXPECT_EQ(64, themedNormal.CountRed());
    if (helper.IsAppThemed()) {
        // The theme paints the background: not the button's own colour.
        EXPECT_NE(BK_OUT, themedNormal.At(BTN_W / 2, 2));
    } else {
        EXPECT_EQ(BK_OUT, themedNormal.At(BTN_W / 2, 2));
    }
}
