// The item list.
#include "CorvaletList.h"
#include "resource.h"
#include "pirt.h"
#include "smallicons.h"

IMPLEMENT_DYNCREATE(CCorvaletList, CListView)

BEGIN_MESSAGE_MAP(CCorvaletList, CListView)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CCorvaletList::CCorvaletList() : m_bColumnsMade(FALSE) {}

CCorvaletList::~CCorvaletList() {}

BOOL CCorvaletList::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS;
    return CListView::PreCreateWindow(cs);
}

void CCorvaletList::OnInitialUpdate()
{
    CListView::OnInitialUpdate();
    if (m_bColumnsMade)
        return;
    m_bColumnsMade = TRUE;
    CListCtrl& list = GetListCtrl();
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    static const struct
    {
        const char* section;
        const char* key;
        int width;
    } columns[] = {
        {"General", "41000", 420}, {"General", "41010", 100}, {"Holberin", "21340", 100}, {"General", "41030", 150}};
    for (int i = 0; i < 4; ++i)
        list.InsertColumn(i, GetLngString(columns[i].section, columns[i].key), LVCFMT_LEFT, columns[i].width);
    static const UINT icons[] = {IDI_ADD, IDI_DELETE, IDI_PROPERTIES};
    CreateSmallIconList(m_images, icons);
}

CPluginRow CCorvaletList::GetRow(int nRow) const
{
    const CListCtrl& list = GetListCtrl();
    CPluginRow row;
    row.path = list.GetItemText(nRow, COL_PATH);
    row.kind = list.GetItemText(nRow, COL_KIND);
    row.action = list.GetItemText(nRow, COL_ACTION);
    row.detail = list.GetItemText(nRow, COL_DETAIL);
    return row;
}

std::vector<CPluginRow> CCorvaletList::GetRows() const
{
    std::vector<CPluginRow> rows;
    for (int i = 0; i < GetRowCount(); ++i)
        rows.push_back(GetRow(i));
    return rows;
}

int CCorvaletList::InsertRow(const CPluginRow& row, int nRow)
{
    CListCtrl& list = GetListCtrl();
    int index = list.InsertItem(nRow < 0 ? list.GetItemCount() : nRow, row.path);
    if (index < 0)
        return -1;
    list.SetItemText(index, COL_KIND, row.kind);
    list.SetItemText(index, COL_ACTION, row.action);
    list.SetItemText(index, COL_DETAIL, row.detail);
    return index;
}

BOOL CCorvaletList::ReplaceRow(int nRow, const CPluginRow& row)
{
    CPluginRow old = GetRow(nRow);
    if (old.path == row.path && old.kind == row.kind && old.action == row.action && old.detail == row.detail)
        return FALSE;
    CListCtrl& list = GetListCtrl();
    UINT state = list.GetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED);
    list.DeleteItem(nRow);
    int index = InsertRow(row, nRow);
    list.SetItemState(index, state, LVIS_SELECTED | LVIS_FOCUSED);
    return TRUE;
}

int CCorvaletList::DeleteSelectedRows()
{
    CListCtrl& list = GetListCtrl();
    int deleted = 0;
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(-1, LVNI_SELECTED)) {
        list.DeleteItem(row);
        ++deleted;
    }
    if (list.GetItemCount() > 0)
        list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return deleted;
}

void CCorvaletList::SelectAllRows()
{
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i)
        list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
}

void CCorvaletList::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* draw = (NMLVCUSTOMDRAW*)pNMHDR;
    *pResult = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *pResult = CDRF_NOTIFYITEMDRAW;
    } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        // Alternate rows are tinted, so long lists stay readable.
        draw->clrTextBk = (draw->nmcd.dwItemSpec % 2) ? RGB(244, 244, 253) : RGB(255, 255, 255);
    }
}

HMENU CCorvaletList::PrepareContextMenu(CThemedMenu& menu)
{
    if (!menu.LoadMenu(IDR_LISTMENU))
        return nullptr;
    CMenu* sub = menu.GetSubMenu(0);
    CThemedMenu* popup = sub ? CThemedMenu::FromHandleThemed(sub->m_hMenu) : nullptr;
    if (!popup)
        return nullptr;
    // Image: index in the list's image list.
    static const struct
    {
        UINT id;
        const char* key;
        int image;
    } items[] = {{ID_ADD, "82100", 0}, {ID_DELETE, "50010", 1}, {ID_PROPERTIES, "12060", 2}};
    for (const auto& item : items) {
        SetMenuLngText(popup, item.id, MF_BYCOMMAND, "General", item.key, 0);
        popup->SetItemImage(item.id, &m_images, item.image);
    }
    if (GetListCtrl().GetSelectedCount() == 0) {
        popup->DeleteMenu(ID_DELETE, MF_BYCOMMAND);
        popup->DeleteMenu(ID_PROPERTIES, MF_BYCOMMAND);
        popup->DeleteMenu(1, MF_BYPOSITION);
    }
    return popup->m_hMenu;
}

void CCorvaletList::OnContextMenu(CWnd*, CPoint point)
{
    CThemedMenu menu;
    HMENU popup = PrepareContextMenu(menu);
    if (!popup)
        return;
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: at the list's top-left corner.
        point = CPoint(5, 5);
        ClientToScreen(&point);
    }
    // Tracked for the main window, so the commands reach the frame.
    CWnd* frame = AfxGetMainWnd();
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, frame ? frame->m_hWnd : m_hWnd,
                     nullptr);
}
