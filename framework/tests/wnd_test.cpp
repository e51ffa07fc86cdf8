#include "fw/framework.h"
#include "fwtest.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
const UINT WM_APP_PING = WM_APP + 1;
const UINT kRegistered = RegisterWindowMessageA("FwTestRegisteredMessage");
enum { ID_ONE = 100, ID_RANGE_FIRST = 200, ID_RANGE_LAST = 205, ID_DISABLED = 300, ID_LIST = 400 };

class CBaseWnd : public CWnd
{
public:
    std::vector<CString> log;
    afx_msg LRESULT OnPing(WPARAM w, LPARAM l)
    {
        log.push_back("base ping");
        return (LRESULT)(w + l);
    }
    afx_msg void OnBaseOnly() { log.push_back("base command"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(WM_APP_PING, OnPing)
    ON_COMMAND(ID_ONE + 1, OnBaseOnly)
END_MESSAGE_MAP()

class CTestWnd : public CBaseWnd
{
public:
    int created = 0;
    int destroyed = 0;
    int postNcDestroy = 0;
    UINT lastRange = 0;
    int notifications = 0;
    int initMenuPopups = 0;
    BOOL disableCommand = TRUE;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs) override
    {
        ++created;
        return CWnd::OnCreate(lpcs);
    }
    afx_msg void OnDestroy() override
    {
        ++destroyed;
        CWnd::OnDestroy();
    }
    afx_msg LRESULT OnRegistered(WPARAM w, LPARAM)
    {
        log.push_back("registered");
        return (LRESULT)w * 2;
    }
    afx_msg void OnOne() { log.push_back("one"); }
    afx_msg void OnRange(UINT nID) { lastRange = nID; }
    afx_msg void OnDisabled() { log.push_back("disabled ran"); }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(!disableCommand); }
    afx_msg void OnListChanged(NMHDR* pNMHDR, LRESULT* pResult)
    {
        if (pNMHDR->idFrom == ID_LIST)
            ++notifications;
        *pResult = 0;
    }
    void OnInitMenuPopup(CMenu*, UINT, BOOL) override { ++initMenuPopups; }
    void PostNcDestroy() override { ++postNcDestroy; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CBaseWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_REGISTERED_MESSAGE(kRegistered, OnRegistered)
    ON_COMMAND(ID_ONE, OnOne)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
    ON_COMMAND(ID_DISABLED, OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
    ON_NOTIFY(LVN_ITEMCHANGED, ID_LIST, OnListChanged)
END_MESSAGE_MAP()

// A list that handles its own deletions through a reflected notification.
class CReflectList : public CListCtrl
{
public:
    int deleted = 0;
    afx_msg void OnDeleteItem(NMHDR*, LRESULT* pResult)
    {
        ++deleted;
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectList, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_DELETEITEM, OnDeleteItem)
END_MESSAGE_MAP()

int CALLBACK CompareDescending(LPARAM a, LPARAM b, LPARAM) { return (int)(b - a); }

// A label that picks its own colours; the parent may or may not handle the message.
class CColorLabel : public CStatic
{
public:
    HBRUSH m_brush = (HBRUSH)GetStockObject(GRAY_BRUSH);
    HBRUSH CtlColor(CDC*, UINT nCtlColor) { return nCtlColor == CTLCOLOR_STATIC ? m_brush : nullptr; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColorLabel, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CColorParent : public CWnd
{
public:
    int calls = 0;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        ++calls;
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColorParent, CWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BOOL CreateTop(CWnd& w, const char* title = "fw test")
{
    return w.CreateEx(0, nullptr, title, WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr, nullptr);
}
} // namespace

TEST(MessageMapTest, DispatchesWindowUserAndRegisteredMessages)
{
    CTestWnd w;
    ASSERT_TRUE(CreateTop(w));
    EXPECT_EQ(1, w.created);
    EXPECT_EQ(&w, CWnd::FromHandlePermanent(w.m_hWnd));
    EXPECT_EQ(&w, CWnd::FromHandle(w.m_hWnd));
    // Entry found in the base class's map.
    EXPECT_EQ(7, w.SendMessage(WM_APP_PING, 3, 4));
    EXPECT_EQ(42, w.SendMessage(kRegistered, 21, 0));
    // Unhandled messages get the default processing.
    w.SetWindowText("renamed");
    CString text;
    w.GetWindowText(text);
    EXPECT_STREQ("renamed", text);
    ASSERT_EQ(2u, w.log.size());
    EXPECT_STREQ("base ping", w.log[0]);
    EXPECT_STREQ("registered", w.log[1]);

    HWND h = w.m_hWnd;
    EXPECT_TRUE(w.DestroyWindow());
    EXPECT_EQ(1, w.destroyed);
    EXPECT_EQ(1, w.postNcDestroy);
    EXPECT_EQ(nullptr, w.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
}

TEST(MessageMapTest, CommandsRangesAndUpdateHandlers)
{
    CTestWnd w;
    ASSERT_TRUE(CreateTop(w));
    w.SendMessage(WM_COMMAND, MAKEWPARAM(ID_ONE, 0), 0);
    w.SendMessage(WM_COMMAND, MAKEWPARAM(ID_ONE + 1, 0), 0);
    w.SendMessage(WM_COMMAND, MAKEWPARAM(ID_RANGE_FIRST + 3, 0), 0);
    EXPECT_EQ((UINT)(ID_RANGE_FIRST + 3), w.lastRange);
    w.SendMessage(WM_COMMAND, MAKEWPARAM(ID_RANGE_LAST + 1, 0), 0);
    EXPECT_EQ((UINT)(ID_RANGE_FIRST + 3), w.lastRange);

    // A menu command that its update handler disables is not carried out.
    w.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DISABLED, 0), 0);
    w.disableCommand = FALSE;
    w.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DISABLED, 0), 0);
    ASSERT_EQ(3u, w.log.size());
    EXPECT_STREQ("one", w.log[0]);
    EXPECT_STREQ("base command", w.log[1]);
    EXPECT_STREQ("disabled ran", w.log[2]);
    w.DestroyWindow();
}

TEST(MessageMapTest, NotificationsReachParentAndReflectToControl)
{
    CTestWnd w;
    ASSERT_TRUE(CreateTop(w));
    CReflectList list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &w, ID_LIST));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    list.InsertItem(0, "a");
    list.InsertItem(1, "b");
    int before = w.notifications;
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_GT(w.notifications, before); // LVN_ITEMCHANGED went to the parent's map
    list.DeleteItem(0);
    EXPECT_EQ(1, list.deleted); // LVN_DELETEITEM came back to the list itself
    w.DestroyWindow();
    EXPECT_EQ(nullptr, list.m_hWnd); // children are detached when destroyed with the parent
}

TEST(MessageMapTest, MenuMessagesReachVirtualHandlersWithoutMapEntries)
{
    CTestWnd w;
    ASSERT_TRUE(CreateTop(w));
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 1, "x");
    w.SendMessage(WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, 0);
    EXPECT_EQ(1, w.initMenuPopups);
    w.DestroyWindow();
}

namespace {
WNDPROC s_foreignSuper = nullptr;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM w, LPARAM l) { return CallWindowProcA(s_foreignSuper, h, m, w, l); }
} // namespace

TEST(CWndTest, SubclassingAnExistingWindowAndTemporaryObjects)
{
    HWND h = CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, h);
    CWnd* pTemp = CWnd::FromHandle(h);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
    EXPECT_EQ(pTemp, CWnd::FromHandle(h));

    // The temporary object outlives the attach until idle time, and going
    // then takes neither the window nor the permanent object with it.
    CTestWnd w;
    ASSERT_TRUE(w.SubclassWindow(h));
    EXPECT_EQ(&w, CWnd::FromHandle(h));
    EXPECT_EQ(h, pTemp->m_hWnd);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(h));
    EXPECT_EQ(&w, CWnd::FromHandlePermanent(h));
    EXPECT_EQ(7, SendMessageA(h, WM_APP_PING, 5, 2));
    // Subclassed again by someone else (as a menu bar does with its frame):
    // ours cannot leave the chain, and the messages still reach the object.
    s_foreignSuper = (WNDPROC)SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)ForeignProc);
    EXPECT_EQ(nullptr, w.UnsubclassWindow());
    EXPECT_EQ(7, SendMessageA(h, WM_APP_PING, 5, 2));
    SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)s_foreignSuper);
    EXPECT_EQ(h, w.UnsubclassWindow());
    EXPECT_EQ(0, SendMessageA(h, WM_APP_PING, 5, 2));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
    DestroyWindow(h);

    CWnd* pNull = nullptr;
    EXPECT_EQ(nullptr, SafeHwnd(pNull));
}

TEST(CListCtrlTest, ItemsColumnsChecksAndSelection)
{
    CWnd host;
    ASSERT_TRUE(CreateTop(host));
    host.ShowWindow(SW_SHOW);
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 380, 250), &host, 1));
    list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(list.GetExtendedStyle() & LVS_EX_CHECKBOXES);
    EXPECT_EQ(0, list.InsertColumn(0, "Name", LVCFMT_LEFT, 120));
    EXPECT_EQ(1, list.InsertColumn(1, "Result", LVCFMT_LEFT, 80));
    EXPECT_EQ(120, list.GetColumnWidth(0));
    list.SetColumnWidth(1, 150);
    EXPECT_EQ(150, list.GetColumnWidth(1));
    EXPECT_EQ(2, list.GetHeaderCtrl()->GetItemCount());

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 1));
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    EXPECT_EQ(0, images.Add(icon));
    EXPECT_EQ(1, images.Add(icon));
    EXPECT_EQ(2, images.GetImageCount());
    list.SetImageList(&images, LVSIL_SMALL);
    EXPECT_EQ(&images, list.GetImageList(LVSIL_SMALL));

    EXPECT_EQ(0, list.InsertItem(0, "zeta", 1));
    EXPECT_EQ(1, list.InsertItem(LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE, 1, "alpha", 0, 0, 0, 77));
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = 2;
    item.pszText = (LPSTR) "mid";
    EXPECT_EQ(2, list.InsertItem(&item));
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_EQ(77u, list.GetItemData(1));
    EXPECT_TRUE(list.SetItemData(0, 5));
    EXPECT_TRUE(list.SetItemData(2, 50));

    CString longText('t', 1000);
    EXPECT_TRUE(list.SetItemText(0, 1, longText));
    EXPECT_EQ(longText, list.GetItemText(0, 1));
    EXPECT_STREQ("alpha", list.GetItemText(1, 0));
    EXPECT_STREQ("", list.GetItemText(1, 1));
    LVITEMA get = {};
    get.mask = LVIF_IMAGE;
    get.iItem = 0;
    ASSERT_TRUE(list.GetItem(&get));
    EXPECT_EQ(1, get.iImage);

    list.SetCheck(1, TRUE);
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.GetCheck(0));
    list.SetCheck(1, FALSE);
    EXPECT_FALSE(list.GetCheck(1));

    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(2u, list.GetSelectedCount());
    std::vector<int> selected;
    POSITION pos = list.GetFirstSelectedItemPosition();
    while (pos)
        selected.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ((std::vector<int>{0, 2}), selected);
    EXPECT_EQ(2, list.GetNextItem(0, LVNI_SELECTED));

    // Sort by item data, descending.
    list.SortItems(CompareDescending, 0);
    EXPECT_STREQ("alpha", list.GetItemText(0, 0));
    EXPECT_STREQ("mid", list.GetItemText(1, 0));
    EXPECT_STREQ("zeta", list.GetItemText(2, 0));
    EXPECT_TRUE(list.EnsureVisible(2, FALSE));

    EXPECT_TRUE(list.DeleteItem(1));
    EXPECT_EQ(2, list.GetItemCount());
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
    host.DestroyWindow();
}

TEST(CProgressCtrlTest, RangeStepAndPosition)
{
    CWnd host;
    ASSERT_TRUE(CreateTop(host));
    CProgressCtrl bar;
    ASSERT_TRUE(bar.Create(WS_VISIBLE, CRect(0, 0, 200, 20), &host, 2));
    bar.SetRange32(0, 100000);
    int lo = -1, hi = -1;
    bar.GetRange(lo, hi);
    EXPECT_EQ(0, lo);
    EXPECT_EQ(100000, hi);
    bar.SetStep(250);
    EXPECT_EQ(0, bar.StepIt()); // returns the previous position
    EXPECT_EQ(250, bar.GetPos());
    EXPECT_EQ(250, bar.OffsetPos(50));
    EXPECT_EQ(300, bar.SetPos(99999));
    EXPECT_EQ(99999, bar.GetPos());
    bar.SetRange(5, 10);
    bar.GetRange(lo, hi);
    EXPECT_EQ(5, lo);
    EXPECT_EQ(10, hi);
    EXPECT_EQ(10, bar.GetPos()); // clamped into the new range
    host.DestroyWindow();
}

TEST(CImageListTest, OwnershipOfTheHandle)
{
    CImageList a;
    ASSERT_TRUE(a.Create(16, 16, ILC_COLOR32, 0, 4));
    HIMAGELIST h = a.Detach();
    EXPECT_EQ(nullptr, a.m_hImageList);
    {
        CImageList b;
        EXPECT_TRUE(b.Attach(h));
        EXPECT_EQ(&b, CImageList::FromHandlePermanent(h));
    }
    // b destroyed the list it held.
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(h));
    EXPECT_FALSE(a.Create(999999u, 16, 1, CLR_NONE)); // no such bitmap resource
}

TEST(MessageMapTest, ControlColoursAreReflectedToTheControl)
{
    CWnd plain;
    CColorParent handling;
    ASSERT_TRUE(CreateTop(plain));
    ASSERT_TRUE(CreateTop(handling));
    for (CWnd* parent : {&plain, (CWnd*)&handling}) {
        CColorLabel label;
        ASSERT_TRUE(label.Create("text", WS_VISIBLE, CRect(0, 0, 50, 20), parent, 10));
        HDC hdc = GetDC(label.m_hWnd);
        EXPECT_EQ((LRESULT)label.m_brush, parent->SendMessage(WM_CTLCOLORSTATIC, (WPARAM)hdc, (LPARAM)label.m_hWnd));
        // A colour the control leaves alone gets the default processing.
        EXPECT_NE((LRESULT)label.m_brush, parent->SendMessage(WM_CTLCOLOREDIT, (WPARAM)hdc, (LPARAM)label.m_hWnd));
        ReleaseDC(label.m_hWnd, hdc);
    }
    EXPECT_EQ(2, handling.calls);
    plain.DestroyWindow();
    handling.DestroyWindow();
}

namespace {
class COwnerDrawMenu : public CMenu
{
public:
    int measured = 0, drawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT lpmis) override
    {
        ++measured;
        lpmis->itemWidth = 80;
        lpmis->itemHeight = 20;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }
};

class CMenuCharWnd : public CWnd
{
public:
    int menuChars = 0;
    LRESULT OnMenuChar(UINT, UINT, CMenu*) override
    {
        ++menuChars;
        return MAKELRESULT(1, MNC_EXECUTE);
    }
};
} // namespace

TEST(MessageMapTest, OwnerDrawnMenuItemsReachTheirMenuObject)
{
    CMenuCharWnd w;
    ASSERT_TRUE(CreateTop(w));
    COwnerDrawMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_OWNERDRAW, 77, (const char*)&popup);

    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = 77;
    EXPECT_TRUE(w.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis));
    EXPECT_EQ(1, popup.measured);
    EXPECT_EQ(80u, mis.itemWidth);

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = 77;
    dis.hwndItem = (HWND)popup.m_hMenu;
    dis.hDC = GetDC(w.m_hWnd);
    EXPECT_TRUE(w.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis));
    ReleaseDC(w.m_hWnd, dis.hDC);
    EXPECT_EQ(1, popup.drawn);

    EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE),
              w.SendMessage(WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), (LPARAM)popup.m_hMenu));
    EXPECT_EQ(1, w.menuChars);
    w.DestroyWindow();
}
