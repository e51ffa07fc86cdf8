// The tab strip in a plain frame with a tool bar and two member views: its
// posted layout below the bar, hit tests and a few pixels (with a picture in
// the screenshots folder), and switching members.
#include <gtest/gtest.h>
#include "TabWnd.h"
#include "testsupport.h"
#include <functional>
#include <utility>
#include <vector>

using namespace pirt_test;

namespace {

enum { ID_TABS = 100, ID_MEMBER = 1 };
typedef std::vector<std::pair<WPARAM, LPARAM>> Switches;

// Records the switch notifications it gets.
class CMemberView : public CView
{
public:
    Switches m_switches; // (wParam, lParam) of each
    afx_msg LRESULT OnSwitch(WPARAM wParam, LPARAM lParam)
    {
        m_switches.push_back(std::make_pair(wParam, lParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMemberView, CView)
    ON_MESSAGE(WM_TABWND_SWITCH, OnSwitch)
END_MESSAGE_MAP()

class CTabFrame : public CFrameWnd
{
public:
    CToolBar m_bar;
    CTabWnd m_tabs;
};

// A window's rectangle in its parent's client coordinates.
CRect RectInParent(HWND w)
{
    CRect r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), (LPPOINT)&r, 2);
    return r;
}

class TabWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_frame = new CTabFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, "Tab strip", WS_OVERLAPPEDWINDOW, CRect(0, 0, 480, 360)));
        ASSERT_TRUE(m_frame->m_bar.Create(m_frame));
        const UINT buttons[] = {1001, 1002};
        m_frame->m_bar.SetButtons(buttons, 2);
        ASSERT_TRUE(m_frame->m_tabs.Create(7, m_frame, ID_TABS));
        const char* const captions[] = {"First", "Second tab"};
        for (int i = 0; i < 2; ++i) {
            m_views[i] = new CMemberView;
            ASSERT_TRUE(m_views[i]->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &Tabs(),
                                           ID_MEMBER + i));
            Tabs().AddTab(captions[i], m_views[i]);
        }
        m_frame->ShowWindow(SW_SHOW);
        m_frame->RecalcLayout();
        PumpMessages();
        m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    void TearDown() override
    {
        if (m_frame)
            m_frame->DestroyWindow(); // deletes the frame and the views
        PumpMessages();
    }
    CTabWnd& Tabs() { return m_frame->m_tabs; }

    CTabFrame* m_frame = nullptr;
    CMemberView* m_views[2] = {nullptr, nullptr};
};

} // namespace

TEST_F(TabWndTest, PostedLayoutFillsTheRoomBelowTheBar)
{
    const SIZE sizes[] = {{480, 360}, {640, 300}};
    for (const SIZE& size : sizes) {
        // The frame's own layout asks the strip to follow with a posted message.
        m_frame->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
        PumpMessages();
        CRect client;
        m_frame->GetClientRect(&client);
        const CRect bar = RectInParent(m_frame->m_bar.m_hWnd);
        ASSERT_GT(bar.Height(), 0);
        const CRect strip = RectInParent(Tabs().m_hWnd);
        EXPECT_EQ(CRect(0, bar.bottom, client.right, client.bottom), strip) << size.cx << "x" << size.cy;
        for (CMemberView* view : m_views)
            EXPECT_EQ(CRect(2, 34, strip.Width() - 2, strip.Height() - 2), RectInParent(view->m_hWnd))
                << size.cx << "x" << size.cy;
    }
}

TEST_F(TabWndTest, HitTestsAndPixelsFollowThePaintedTabs)
{
    const TABWND_MEMBER* first = Tabs().GetTab(0);
    const TABWND_MEMBER* second = Tabs().GetTab(1);
    ASSERT_TRUE(first && second && !Tabs().GetTab(2));
    EXPECT_EQ(0, first->nLeft);
    EXPECT_EQ(first->nRight, second->nLeft);
    const int a = first->nLeft + 3, b = second->nLeft + 3, right = second->nRight;
    const struct
    {
        int x, y, tab;
    } hits[] = {
        {a, 4, -1}, {a, 5, 0}, {a, 27, 0}, {a, 28, -1}, // the selected tab stands higher
        {b, 6, -1}, {b, 7, 1}, {b, 27, 1}, {b, 28, -1}, {right, 10, 1}, {right + 1, 10, -1},
    };
    for (const auto& c : hits)
        EXPECT_EQ(c.tab, Tabs().HitTest(c.x, c.y)) << "at " << c.x << "," << c.y;

    const COLORREF face = GetSysColor(COLOR_BTNFACE), black = RGB(0, 0, 0);
    const struct
    {
        const char* what;
        int x, y;
        COLORREF colour;
    } pixels[] = {
        {"band above the flat tab", b, 5, face},
        {"band right of the tabs", right + 5, 15, face},
        {"fill of the raised tab", a + 1, 12, face},
        {"outline of the raised tab", 0, 12, black},
        {"base line beside the raised tab", right + 5, 26, black},
    };
    HDC dc = GetDC(Tabs().m_hWnd);
    for (const auto& c : pixels)
        EXPECT_EQ(c.colour, GetPixel(dc, c.x, c.y)) << c.what;
    ReleaseDC(Tabs().m_hWnd, dc);
    EXPECT_TRUE(SaveWindowPicture(m_frame->m_hWnd, ScreenshotPath("tabwnd.bmp")));
}

TEST_F(TabWndTest, SelectTabSwitchesTheMembers)
{
    CMemberView* v0 = m_views[0];
    CMemberView* v1 = m_views[1];
    // The first tab added is the shown one.
    EXPECT_EQ(0, Tabs().GetCurrentTab());
    EXPECT_TRUE(v0->IsWindowVisible() && v0->IsWindowEnabled());
    EXPECT_FALSE(v1->IsWindowVisible() || v1->IsWindowEnabled());

    Tabs().SelectTab(1);
    EXPECT_EQ(1, Tabs().GetCurrentTab());
    EXPECT_FALSE(v0->IsWindowVisible() || v0->IsWindowEnabled());
    EXPECT_TRUE(v1->IsWindowVisible() && v1->IsWindowEnabled());
    EXPECT_EQ(v1->m_hWnd, GetFocus());
    EXPECT_EQ(v1, m_frame->GetActiveView());
    EXPECT_EQ(Switches({{0, (LPARAM)(CWnd*)v1}}), v0->m_switches);
    EXPECT_EQ(Switches({{1, (LPARAM)(CWnd*)v0}}), v1->m_switches);

    // The current index, none, an index beyond the tabs, and a click below
    // the tabs change nothing; a click on the first tab selects it again.
    const int x = Tabs().GetTab(0)->nLeft + 3;
    const std::function<void()> nothing[] = {
        [&] { Tabs().SelectTab(1); },
        [&] { Tabs().SelectTab(-1); },
        [&] { Tabs().SelectTab(2); },
        [&] { Tabs().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 30)); },
    };
    for (const auto& call : nothing) {
        v0->m_switches.clear();
        v1->m_switches.clear();
        call();
        EXPECT_EQ(1, Tabs().GetCurrentTab());
        EXPECT_TRUE(v0->m_switches.empty() && v1->m_switches.empty());
        EXPECT_TRUE(v1->IsWindowVisible() && !v0->IsWindowVisible());
    }
    Tabs().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 15));
    EXPECT_EQ(0, Tabs().GetCurrentTab());
    EXPECT_TRUE(v0->IsWindowVisible() && !v1->IsWindowVisible());
    EXPECT_EQ(Switches({{0, (LPARAM)(CWnd*)v0}}), v1->m_switches);
}
