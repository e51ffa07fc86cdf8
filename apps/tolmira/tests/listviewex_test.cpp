// The column kit in-process: a CListViewEx child of a plain window, with the
// profile of the test program's application object.
#include <gtest/gtest.h>
#include "ListViewEx.h"
#include "tolmira_test.h"
#include <string>
#include <vector>

using namespace pirt_test;

namespace {

class ListViewExTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseTolmiraProfile();
        DeleteProfileSection("KitTest");
        m_host = ::CreateWindowExA(0, CWnd::GetDefaultClassName(), "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900,
                                   300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_host != nullptr);
        m_view = static_cast<CListViewEx*>(RUNTIME_CLASS(CListViewEx)->CreateObject());
        CWnd* host = CWnd::FromHandle(m_host);
        ASSERT_TRUE(m_view->Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(0, 0, 880, 260),
                                   host, AFX_IDW_PANE_FIRST));
        m_view->OnInitialUpdate();
        const char* titles[] = {"Name", "Description", "Version", "Provider", "Path"};
        const int widths[] = {200, 350, 50, 80, 400};
        for (int i = 0; i < 5; ++i)
            m_view->GetListCtrl().InsertColumn(i, titles[i], LVCFMT_LEFT, widths[i], i);
        m_view->SetSectionName("KitTest");
        m_view->GetListCtrl().InsertItem(0, "Name");
        for (int c = 1; c < 5; ++c)
            m_view->GetListCtrl().SetItemText(0, c, "text");
    }
    void TearDown() override
    {
        ::DestroyWindow(m_host); // the view deletes itself with its window
        PumpMessages();
        DeleteProfileSection("KitTest");
    }
    CHeaderCtrlEx& Header() { return m_view->Header(); }
    std::vector<int> Order()
    {
        std::vector<int> order(Header().GetItemCount());
        Header().GetOrderArray(&order[0], (int)order.size());
        return order;
    }
    std::vector<int> Widths()
    {
        std::vector<int> widths(Header().GetItemCount());
        Header().GetWidthArray(&widths[0], (int)widths.size());
        return widths;
    }
    void StoreArray(const char* name, const std::vector<int>& values)
    {
        AfxGetApp()->WriteProfileBinary("KitTest", name, (const BYTE*)values.data(),
                                        (UINT)(values.size() * sizeof(int)));
    }

    HWND m_host = nullptr;
    CListViewEx* m_view = nullptr;
};

typedef std::vector<int> Ints;

} // namespace

TEST_F(ListViewExTest, ShowingAndHidingKeepsHiddenColumnsBehind)
{
    // Only column 0 visible, then column 3 shown: it comes back at position 1.
    for (int i = 1; i < 5; ++i)
        Header().ShowColumn(i, FALSE);
    EXPECT_EQ(1, Header().GetVisibleCount());
    EXPECT_EQ(0, Header().GetColumnWidth(3));
    Header().ShowColumn(3, TRUE);
    EXPECT_EQ(1, Header().OrderOfColumn(3));
    EXPECT_EQ(80, Header().GetColumnWidth(3));
    ExpectTextsUnderTheirHeaders(*m_view);
    // Shown again among more visible columns it returns at its own index.
    Header().ShowColumn(1, TRUE);
    Header().ShowColumn(2, TRUE);
    EXPECT_EQ(2, Header().OrderOfColumn(2));
    ExpectTextsUnderTheirHeaders(*m_view);
    // Showing a shown column changes nothing.
    Ints before = Order();
    Header().ShowColumn(2, TRUE);
    EXPECT_EQ(before, Order());

    // Hiding every column, the last one too: nothing visible, all still listed.
    for (int i = 0; i < 5; ++i)
        Header().ShowColumn(i, FALSE);
    EXPECT_EQ(0, Header().GetVisibleCount());
    EXPECT_EQ(5, Header().GetItemCount());
    EXPECT_EQ(-1, Header().VisibleColumnAt(4));

    // A hidden column dragged between visible ones goes back behind them.
    for (int i = 0; i < 5; ++i)
        Header().ShowColumn(i, i != 2);
    Ints dragged = {0, 2, 1, 3, 4};
    Header().SetOrderArray(5, dragged.data());
    Header().SendMessage(CHeaderCtrlEx::TidyOrderMessage());
    EXPECT_EQ(Ints({0, 1, 3, 4, 2}), Order());
    EXPECT_EQ(4, Header().VisibleColumnAt(2)); // nearest visible to its left

    // Shown behind a column of a higher index, its texts move there too.
    Header().ShowColumn(1, FALSE);
    Header().ShowColumn(3, FALSE);
    Header().ShowColumn(3, TRUE);
    EXPECT_EQ(2, Header().OrderOfColumn(3));
    ExpectTextsUnderTheirHeaders(*m_view);
}

TEST_F(ListViewExTest, StoredStateIsAppliedOnlyWhenItFitsTheList)
{
    for (int i = 2; i < 5; ++i)
        Header().ShowColumn(i, FALSE);
    Ints order = Order(), widths = Widths();

    struct Case
    {
        const char* what;
        int count;
        Ints order;
        Ints widths;
    } cases[] = {
        {"four columns stored for five", 4, {1, 0, 2, 3}, {10, 20, 30, 40}},
        {"order of the wrong length", 5, {1, 0, 2, 3}, {10, 20, 30, 40, 50}},
        {"repeated index", 5, {1, 1, 2, 3, 4}, {10, 20, 30, 40, 50}},
        {"index out of range", 5, {1, 0, 2, 3, 5}, {10, 20, 30, 40, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AfxGetApp()->WriteProfileInt("KitTest", "Column Count", c.count);
        StoreArray("Column Order", c.order);
        StoreArray("Column Width", c.widths);
        StoreArray("Column Visible", Ints(c.widths.size(), 1));
        EXPECT_FALSE(m_view->LoadColumnState());
        EXPECT_EQ(order, Order());
        EXPECT_EQ(widths, Widths());
        EXPECT_EQ(2, Header().GetVisibleCount());
    }

    // Widths of the wrong length: the order stays applied, nothing else.
    AfxGetApp()->WriteProfileInt("KitTest", "Column Count", 5);
    StoreArray("Column Order", {1, 0, 2, 3, 4});
    StoreArray("Column Width", {10, 20});
    EXPECT_FALSE(m_view->LoadColumnState());
    EXPECT_EQ(Ints({1, 0, 4, 3, 2}), Order());
    EXPECT_EQ(widths, Widths());

    // A fitting state: saved, changed, loaded back.
    Header().ShowColumn(4, TRUE);
    ASSERT_TRUE(m_view->SaveColumnState());
    Ints saved = Order();
    // As at the next start: the columns inserted anew, all visible.
    for (int i = 0; i < 5; ++i)
        Header().ShowColumn(i, TRUE);
    Ints identity = {0, 1, 2, 3, 4};
    Header().SetOrderArray(5, identity.data());
    EXPECT_TRUE(m_view->LoadColumnState());
    EXPECT_EQ(saved, Order());
    EXPECT_EQ(3, Header().GetVisibleCount());
    EXPECT_EQ(0, Header().GetColumnWidth(2));
    ExpectTextsUnderTheirHeaders(*m_view);

    EXPECT_TRUE(CListViewEx::IsValidOrder(Ints({2, 0, 1}).data(), 3));
    EXPECT_FALSE(CListViewEx::IsValidOrder(Ints({2, 0, -1}).data(), 3));
}

TEST_F(ListViewExTest, DividerDragNeverOpensAHiddenColumn)
{
    for (int i = 2; i < 5; ++i)
        Header().ShowColumn(i, FALSE);
    BOOL oldFull = FALSE;
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &oldFull, 0);
    for (BOOL full : {TRUE, FALSE}) {
        SCOPED_TRACE(full ? "full drag" : "outline drag");
        ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, full, nullptr, 0);
        // Just left of the divider after column 1 and just right of it, where
        // the zero-width columns' dividers lie.
        for (int offset : {-1, 1}) {
            SCOPED_TRACE(offset);
            Header().SetColumnWidth(1, 350);
            RECT rc;
            Header().SendMessage(HDM_GETITEMRECT, 1, (LPARAM)&rc);
            int x = rc.right + offset, y = (rc.top + rc.bottom) / 2;
            Header().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            EXPECT_EQ(1, Header().TrackColumn());
            Header().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 40, y));
            Header().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 60, y));
            Header().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x + 60, y));
            EXPECT_EQ(-1, Header().TrackColumn());
            EXPECT_EQ(410, Header().GetColumnWidth(1));
            for (int i = 2; i < 5; ++i)
                EXPECT_EQ(0, Header().GetColumnWidth(i));
        }
        // Dragging far left never gives a negative width.
        RECT rc;
        Header().SendMessage(HDM_GETITEMRECT, 1, (LPARAM)&rc);
        int y = (rc.top + rc.bottom) / 2;
        Header().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right - 1, y));
        Header().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-2000, y));
        Header().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-2000, y));
        EXPECT_EQ(0, Header().GetColumnWidth(1));
    }
    ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, oldFull, nullptr, 0);
}

namespace {

// Ticks the chooser's row 2, unticks row 0, and presses OK.
DWORD WINAPI EditChooser(LPVOID seen)
{
    for (int i = 0; i < 500; ++i) {
        HWND dlg = FindWindowA("#32770", nullptr);
        HWND list = dlg ? GetDlgItem(dlg, IDC_CHOOSE_COLS_LIST) : nullptr;
        if (list && IsWindowVisible(dlg)) {
            std::vector<std::string>* texts = (std::vector<std::string>*)seen;
            for (int row = 0; row < (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); ++row) {
                char text[64] = "";
                LVITEMA item = {};
                item.iSubItem = 0;
                item.pszText = text;
                item.cchTextMax = sizeof(text);
                SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
                UINT state = (UINT)SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
                texts->push_back(std::string(text) + ((state >> 12) == 2 ? "+" : "-"));
            }
            LVITEMA tick = {};
            tick.stateMask = LVIS_STATEIMAGEMASK;
            tick.state = INDEXTOSTATEIMAGEMASK(2);
            SendMessageA(list, LVM_SETITEMSTATE, 2, (LPARAM)&tick);
            tick.state = INDEXTOSTATEIMAGEMASK(1);
            SendMessageA(list, LVM_SETITEMSTATE, 0, (LPARAM)&tick);
            PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return 0;
        }
        Sleep(10);
    }
    return 0;
}

} // namespace

TEST_F(ListViewExTest, ChooserListsEveryColumnAndAppliesItsTicks)
{
    for (int i = 2; i < 5; ++i)
        Header().ShowColumn(i, FALSE);
    std::vector<std::string> seen;
    HANDLE editor = CreateThread(nullptr, 0, EditChooser, &seen, 0, nullptr);
    m_view->SendMessage(WM_COMMAND, ID_CHOOSE_COLS_ON_VIEW);
    WaitForSingleObject(editor, 5000);
    CloseHandle(editor);
    // In index order, hidden ones too, ticked as they were visible.
    EXPECT_EQ(std::vector<std::string>({"Name+", "Description+", "Version-", "Provider-", "Path-"}), seen);
    EXPECT_FALSE(Header().IsColumnVisible(0));
    EXPECT_TRUE(Header().IsColumnVisible(2));
    EXPECT_EQ(Ints({1, 2, 0, 3, 4}), Order());
    EXPECT_EQ(50, Header().GetColumnWidth(2));
    ExpectTextsUnderTheirHeaders(*m_view);
}
