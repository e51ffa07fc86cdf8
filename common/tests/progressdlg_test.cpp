// Progress dialog and about box: controls, captions from the language file,
// and the background gradient both paint.
#include <gtest/gtest.h>
#include "pirt.h"
#include "progressdlg.h"
#include "aboutdlg.h"
#include "testsupport.h"
#include <memory>
#include <string>

using namespace pirt_test;

namespace {

const UINT kTemplate = 135; // progressdlg_test.rc

class ProgressDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetDataRoots();
        m_folder.reset(new CScratchFolder("progressdlg"));
        m_lng = (*m_folder)("Test.lng");
        SetLanguage("[General]\r\n40600=Cleaning-T\r\n52000=About-T\r\n52020=Text-T\r\n30000=OK-T\r\n"
                    "52030=Web-T\r\n");
    }
    void TearDown() override
    {
        m_folder.reset();
        ResetDataRoots();
    }
    void SetLanguage(const char* content)
    {
        WriteFileText(m_lng, content);
        WritePrivateProfileStringA("Pirt", "LngPath", m_lng, GetIniPath(INI_PIRT));
    }
    std::unique_ptr<CScratchFolder> m_folder;
    CString m_lng;
};

std::string ClassOf(HWND w)
{
    char cls[64] = "";
    GetClassNameA(w, cls, sizeof(cls));
    return cls;
}

std::string TextOf(HWND w)
{
    char text[256] = "";
    GetWindowTextA(w, text, sizeof(text));
    return text;
}

// Renders a window's WM_ERASEBKGND into a memory bitmap of its client size
// and returns the colour at (x, y).
struct ErasedPixels
{
    explicit ErasedPixels(HWND w)
    {
        GetClientRect(w, &rc);
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bmp = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bmp);
        result = SendMessageA(w, WM_ERASEBKGND, (WPARAM)dc, 0);
    }
    ~ErasedPixels()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    RECT rc;
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
    LRESULT result;
};

void SetClientWidth(HWND w, int width)
{
    RECT rc;
    GetClientRect(w, &rc);
    RECT wr;
    GetWindowRect(w, &wr);
    int extra = (wr.right - wr.left) - rc.right;
    SetWindowPos(w, nullptr, 0, 0, width + extra, wr.bottom - wr.top, SWP_NOMOVE | SWP_NOZORDER);
}

} // namespace

TEST(GradientTest, ColumnsRunFromLightBlueToLightYellow)
{
    EXPECT_EQ(RGB(202, 238, 255), GradientColour(0, 300));
    EXPECT_EQ(RGB(254, 254, 226), GradientColour(299, 300));
    // Integer division truncates toward zero for the falling blue channel.
    EXPECT_EQ(RGB(228, 246, 240), GradientColour(150, 300));
    EXPECT_EQ(RGB(203, 238, 254), GradientColour(11, 300));

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 300, 4);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT white = {0, 0, 300, 4};
    FillRect(dc, &white, (HBRUSH)GetStockObject(WHITE_BRUSH));
    RECT empty = {10, 0, 10, 4};
    PaintBackgroundGradient(dc, empty); // zero width paints nothing
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 10, 1));
    RECT all = {0, 0, 300, 4};
    PaintBackgroundGradient(dc, all);
    EXPECT_EQ(RGB(202, 238, 255), GetPixel(dc, 0, 3));
    EXPECT_EQ(RGB(254, 254, 226), GetPixel(dc, 299, 0));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

TEST_F(ProgressDlgTest, ModelessDialogHasTheRunControlsAndTheLanguageCaption)
{
    CProgressDlg dlg(nullptr, kTemplate);
    ASSERT_TRUE(dlg.CreateModeless(nullptr));
    HWND h = dlg.m_hWnd;
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ("Cleaning-T", TextOf(h));
    // No system menu in this program's template.
    EXPECT_EQ(0, (int)(GetWindowLongPtrA(h, GWL_STYLE) & WS_SYSMENU));

    HWND list = GetDlgItem(h, IDC_PROGRESS_REPORT);
    EXPECT_EQ("SysListView32", ClassOf(list));
    LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    EXPECT_EQ(LVS_REPORT, (int)(style & LVS_TYPEMASK));
    EXPECT_TRUE(style & LVS_NOCOLUMNHEADER);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_EQ("msctls_progress32", ClassOf(GetDlgItem(h, IDC_PROGRESS_OPERATION)));
    EXPECT_EQ("msctls_progress32", ClassOf(GetDlgItem(h, IDC_PROGRESS_OVERALL)));
    EXPECT_EQ(list, dlg.GetReportList()->m_hWnd);
    EXPECT_EQ(GetDlgItem(h, IDC_PROGRESS_OPERATION), dlg.GetOperationBar()->m_hWnd);
    EXPECT_EQ(GetDlgItem(h, IDC_PROGRESS_OVERALL), dlg.GetOverallBar()->m_hWnd);

    // The per-operation bar lies above the overall bar, both below the list.
    RECT rl, ro, ra;
    GetWindowRect(list, &rl);
    GetWindowRect(GetDlgItem(h, IDC_PROGRESS_OPERATION), &ro);
    GetWindowRect(GetDlgItem(h, IDC_PROGRESS_OVERALL), &ra);
    EXPECT_LT(rl.bottom, ro.top);
    EXPECT_LT(ro.bottom, ra.top);

    SetClientWidth(h, 300);
    ErasedPixels px(h);
    EXPECT_EQ(300, px.rc.right);
    EXPECT_EQ(1, px.result);
    EXPECT_EQ(RGB(202, 238, 255), px.At(0, 1));
    EXPECT_EQ(RGB(254, 254, 226), px.At(299, px.rc.bottom - 1));
    dlg.DestroyWindow();
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(ProgressDlgTest, MissingCaptionKeyGivesTheProgramsDefault)
{
    SetLanguage("[General]\r\n52000=About-T\r\n");
    CProgressDlg dlg(nullptr, kTemplate);
    ASSERT_TRUE(dlg.CreateModeless(nullptr));
    EXPECT_EQ("", TextOf(dlg.m_hWnd));
    dlg.DestroyWindow();
    CProgressDlg other(nullptr, kTemplate, "not found");
    ASSERT_TRUE(other.CreateModeless(nullptr));
    EXPECT_EQ("not found", TextOf(other.m_hWnd));
    other.DestroyWindow();
}

namespace {

struct AboutSeen
{
    std::string caption, text, ok, web, version;
    COLORREF left, right;
    LRESULT erased;
    HBRUSH staticBrush;
    int bkMode;
};
AboutSeen g_about;

void CALLBACK InspectAbout(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindWindowA("#32770", "About-T");
    if (!box)
        return;
    KillTimer(nullptr, id);
    g_about.caption = TextOf(box);
    g_about.text = TextOf(GetDlgItem(box, IDC_ABOUT_TEXT));
    g_about.ok = TextOf(GetDlgItem(box, IDOK));
    g_about.web = TextOf(GetDlgItem(box, IDC_ABOUT_WEB));
    g_about.version = TextOf(GetDlgItem(box, IDC_ABOUT_VERSION));
    {
        ErasedPixels px(box);
        g_about.erased = px.result;
        g_about.left = px.At(0, 0);
        g_about.right = px.At(px.rc.right - 1, 0);
    }
    // Static texts are drawn transparently with no background brush.
    HDC dc = GetDC(box);
    SetBkMode(dc, OPAQUE);
    g_about.staticBrush =
        (HBRUSH)SendMessageA(box, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)GetDlgItem(box, IDC_ABOUT_TEXT));
    g_about.bkMode = GetBkMode(dc);
    ReleaseDC(box, dc);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(box, IDOK));
}

} // namespace

TEST_F(ProgressDlgTest, AboutBoxShowsLanguageTextsOverTheGradient)
{
    g_about = AboutSeen();
    UINT_PTR timer = SetTimer(nullptr, 0, 100, InspectAbout);
    CAboutDlg about(nullptr);
    EXPECT_EQ(IDOK, about.DoModal());
    KillTimer(nullptr, timer);
    EXPECT_EQ("About-T", g_about.caption);
    EXPECT_EQ("Text-T", g_about.text);
    EXPECT_EQ("OK-T", g_about.ok);
    EXPECT_EQ("Web-T", g_about.web);
    EXPECT_FALSE(g_about.version.empty());
    EXPECT_EQ(1, g_about.erased);
    EXPECT_EQ(RGB(202, 238, 255), g_about.left);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), (HGDIOBJ)g_about.staticBrush);
    EXPECT_EQ(TRANSPARENT, g_about.bkMode);
}
