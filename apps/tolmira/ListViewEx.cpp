#include "ListViewEx.h"
#include "ChooseColsDlg.h"
#include "themedmenu.h"
#include <vector>

namespace {

const COLORREF kSortMask = RGB(255, 255, 0);
const COLORREF kOddRowColour = RGB(244, 244, 253);

// The header item's record, straight from a header window (the list view
// attaches records before its header object is subclassed).
ColumnRecord* RecordOf(HWND header, int column)
{
    HDITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = HDI_LPARAM;
    if (!header || !::SendMessageA(header, HDM_GETITEMA, (WPARAM)column, (LPARAM)&item))
        return nullptr;
    return (ColumnRecord*)item.lParam;
}

BOOL StoreRecord(HWND header, int column, ColumnRecord* record)
{
    HDITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = HDI_LPARAM;
    item.lParam = (LPARAM)record;
    return header && ::SendMessageA(header, HDM_SETITEMA, (WPARAM)column, (LPARAM)&item);
}

// The width an LVCOLUMN carries (0 when the mask has none).
int InsertWidth(UINT message, LPARAM lParam)
{
    if (!lParam)
        return 0;
    if (message == LVM_INSERTCOLUMNW) {
        const LVCOLUMNW* col = (const LVCOLUMNW*)lParam;
        return (col->mask & LVCF_WIDTH) ? col->cx : 0;
    }
    const LVCOLUMNA* col = (const LVCOLUMNA*)lParam;
    return (col->mask & LVCF_WIDTH) ? col->cx : 0;
}

} // namespace

// ---------------------------------------------------------------- CHeaderCtrlEx

namespace {
// Registered once at start-up, before any header can receive it.
const UINT s_tidyOrderMessage = ::RegisterWindowMessageA("{8548F4AE-4A04-4c1e-9D0C-51CAEBEEA587}");
} // namespace

BEGIN_MESSAGE_MAP(CHeaderCtrlEx, CHeaderCtrl)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    FW_MSG_ENTRY(WM_CAPTURECHANGED, pThis->OnCaptureChanged())
    ON_WM_SETCURSOR()
    ON_REGISTERED_MESSAGE(s_tidyOrderMessage, OnTidyOrder)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

UINT CHeaderCtrlEx::TidyOrderMessage() { return s_tidyOrderMessage; }

CHeaderCtrlEx::CHeaderCtrlEx() : m_trackColumn(-1), m_startWidth(0), m_fullDrag(FALSE) {}

CHeaderCtrlEx::~CHeaderCtrlEx() {}

ColumnRecord* CHeaderCtrlEx::GetRecord(int column) const { return RecordOf(m_hWnd, column); }

BOOL CHeaderCtrlEx::SetRecord(int column, ColumnRecord* record) { return StoreRecord(m_hWnd, column, record); }

CString CHeaderCtrlEx::GetItemText(int column) const
{
    char text[64] = "";
    HDITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    if (!GetItem(column, &item))
        return CString();
    return CString(text);
}

int CHeaderCtrlEx::HitTest(POINT pt, UINT* flags) const
{
    HDHITTESTINFO info;
    ZeroMemory(&info, sizeof(info));
    info.pt = pt;
    int item = (int)::SendMessageA(m_hWnd, HDM_HITTEST, 0, (LPARAM)&info);
    if (flags)
        *flags = info.flags;
    return item;
}

BOOL CHeaderCtrlEx::IsColumnVisible(int column) const
{
    ColumnRecord* record = GetRecord(column);
    return record ? record->visible : FALSE;
}

int CHeaderCtrlEx::GetVisibleCount() const
{
    int n = 0;
    for (int i = 0; i < GetItemCount(); ++i)
        if (IsColumnVisible(i))
            ++n;
    return n;
}

int CHeaderCtrlEx::OrderOfColumn(int column) const
{
    int count = GetItemCount();
    if (count <= 0)
        return -1;
    std::vector<int> order(count);
    if (!GetOrderArray(&order[0], count))
        return -1;
    for (int k = 0; k < count; ++k)
        if (order[k] == column)
            return k;
    return -1;
}

int CHeaderCtrlEx::VisibleColumnAt(int column) const
{
    if (IsColumnVisible(column))
        return column;
    int count = GetItemCount();
    int pos = OrderOfColumn(column);
    if (pos < 0)
        return -1;
    std::vector<int> order(count);
    GetOrderArray(&order[0], count);
    for (int k = pos - 1; k >= 0; --k)
        if (IsColumnVisible(order[k]))
            return order[k];
    return -1;
}

BOOL CHeaderCtrlEx::ApplyOrder(int count, const int* order)
{
    ASSERT(count >= 0);
    if (count <= 0)
        return FALSE;
    std::vector<int> tidy(count);
    int front = 0, back = count - 1;
    for (int k = 0; k < count; ++k) {
        if (IsColumnVisible(order[k]))
            tidy[front++] = order[k];
        else
            tidy[back--] = order[k];
    }
    BOOL result = SetOrderArray(count, &tidy[0]);
    ::InvalidateRect(::GetParent(m_hWnd), nullptr, TRUE);
    return result;
}

void CHeaderCtrlEx::ShowColumn(int column, BOOL show)
{
    ColumnRecord* record = GetRecord(column);
    if (!record || (record->visible ? TRUE : FALSE) == (show ? TRUE : FALSE))
        return;
    record->visible = show ? TRUE : FALSE;
    int count = GetItemCount();
    int pos = OrderOfColumn(column);
    if (count <= 0 || pos < 0)
        return;
    std::vector<int> order(count);
    GetOrderArray(&order[0], count);
    if (show) {
        SetColumnWidth(column, record->insertWidth);
        // It comes back at its own index among the visible columns, or last
        // when fewer columns are visible.
        int k = GetVisibleCount() - 1;
        if (column < k)
            k = column;
        if (k < pos) {
            for (int i = pos; i > k; --i)
                order[i] = order[i - 1];
            order[k] = column;
        }
    } else {
        SetColumnWidth(column, 0);
    }
    ApplyOrder(count, &order[0]);
}

BOOL CHeaderCtrlEx::SetColumnWidth(int column, int width)
{
    ASSERT(width >= 0); // the list reads negative widths as its autosize requests
    return (BOOL)::SendMessageA(::GetParent(m_hWnd), LVM_SETCOLUMNWIDTH, (WPARAM)column, MAKELPARAM(width, 0));
}

int CHeaderCtrlEx::GetColumnWidth(int column) const
{
    HDITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = HDI_WIDTH;
    if (!GetItem(column, &item))
        return 0;
    return item.cxy;
}

BOOL CHeaderCtrlEx::GetWidthArray(int* widths, int count) const
{
    for (int i = 0; i < count; ++i) {
        HDITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = HDI_WIDTH;
        if (!GetItem(i, &item))
            return FALSE;
        widths[i] = item.cxy;
    }
    return TRUE;
}

BOOL CHeaderCtrlEx::SetWidthArray(const int* widths, int count)
{
    for (int i = 0; i < count; ++i)
        if (!SetColumnWidth(i, widths[i]))
            return FALSE;
    return TRUE;
}

BOOL CHeaderCtrlEx::GetVisibleArray(int* visible, int count) const
{
    for (int i = 0; i < count; ++i)
        visible[i] = IsColumnVisible(i);
    return TRUE;
}

BOOL CHeaderCtrlEx::SetVisibleArray(const int* visible, int count)
{
    for (int i = 0; i < count; ++i)
        ShowColumn(i, visible[i]);
    return TRUE;
}

int CHeaderCtrlEx::TrackedWidth(int x) const
{
    int width = m_startWidth + (x - m_startPoint.x);
    return width < 0 ? 0 : width;
}

void CHeaderCtrlEx::DrawTrackLine()
{
    HWND list = ::GetParent(m_hWnd);
    RECT rc;
    if (!list || !::SendMessageA(m_hWnd, HDM_GETITEMRECT, (WPARAM)m_trackColumn, (LPARAM)&rc))
        return;
    int x = rc.right + m_currentPoint.x - m_startPoint.x;
    if (x < rc.left)
        x = rc.left;
    // Header client coordinates to the list view's window coordinates.
    POINT at = {x, 0};
    ::ClientToScreen(m_hWnd, &at);
    RECT window;
    ::GetWindowRect(list, &window);
    x = at.x - window.left;
    HDC dc = ::GetDCEx(list, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (!dc)
        return;
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    int oldRop = ::SetROP2(dc, R2_NOT);
    ::MoveToEx(dc, x, 0, nullptr);
    ::LineTo(dc, x, window.bottom - window.top);
    ::SetROP2(dc, oldRop);
    ::SelectObject(dc, oldPen);
    ::ReleaseDC(list, dc);
}

void CHeaderCtrlEx::OnLButtonDown(UINT, CPoint point)
{
    UINT flags = 0;
    int item = HitTest(point, &flags);
    int column = -1;
    if (flags & HHT_ONDIVIDER)
        column = item;
    else if (flags & HHT_ONDIVOPEN)
        column = VisibleColumnAt(item);
    else {
        Default();
        return;
    }
    ::ReleaseCapture();
    if (column < 0) {
        Default();
        return;
    }
    m_trackColumn = column;
    m_startPoint = point;
    SetCapture();
    m_startWidth = GetColumnWidth(column);
    BOOL full = FALSE;
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
    m_fullDrag = full;
    m_currentPoint = m_startPoint;
    if (!m_fullDrag)
        DrawTrackLine();
}

void CHeaderCtrlEx::OnMouseMove(UINT, CPoint point)
{
    if (m_trackColumn < 0) {
        Default();
        return;
    }
    if (m_fullDrag) {
        SetColumnWidth(m_trackColumn, TrackedWidth(point.x));
    } else {
        DrawTrackLine();
        m_currentPoint = point;
        DrawTrackLine();
    }
}

void CHeaderCtrlEx::OnLButtonUp(UINT, CPoint point)
{
    if (m_trackColumn < 0) {
        Default();
        return;
    }
    m_endPoint = point;
    // The line is drawn with the tracked column still set.
    if (!m_fullDrag)
        DrawTrackLine();
    int column = m_trackColumn;
    m_trackColumn = -1;
    if (!m_fullDrag)
        SetColumnWidth(column, TrackedWidth(m_endPoint.x));
    ::ReleaseCapture();
}

void CHeaderCtrlEx::OnCaptureChanged()
{
    if (m_trackColumn >= 0) {
        int column = m_trackColumn;
        if (!m_fullDrag)
            DrawTrackLine();
        else
            SetColumnWidth(column, m_startWidth);
        m_trackColumn = -1;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    Default();
}

void CHeaderCtrlEx::OnLButtonDblClk(UINT, CPoint point)
{
    UINT flags = 0;
    int item = HitTest(point, &flags);
    if (flags & HHT_ONDIVOPEN) {
        int column = VisibleColumnAt(item);
        if (column >= 0 && GetColumnWidth(column) > 0) {
            NMHEADERA nm;
            ZeroMemory(&nm, sizeof(nm));
            nm.hdr.hwndFrom = m_hWnd;
            nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
            nm.hdr.code = HDN_DIVIDERDBLCLICKA;
            nm.iItem = column;
            nm.iButton = 0;
            ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
        }
    }
    Default();
}

BOOL CHeaderCtrlEx::OnSetCursor(CWnd*, UINT, UINT)
{
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    UINT flags = 0;
    int item = HitTest(pt, &flags);
    HCURSOR cursor = nullptr;
    HINSTANCE module = AfxGetResourceHandle();
    if (flags & HHT_ONDIVIDER) {
        cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(IDC_DIVIDER));
    } else if (flags & HHT_ONDIVOPEN) {
        int column = VisibleColumnAt(item);
        UINT id = (column < 0 || GetColumnWidth(column) <= 0) ? IDC_DIVIDER_OPEN : IDC_DIVIDER;
        cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(id));
    }
    if (!cursor)
        cursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    ::SetCursor(cursor);
    return TRUE;
}

LRESULT CHeaderCtrlEx::OnTidyOrder(WPARAM, LPARAM)
{
    int count = GetItemCount();
    if (count > 0) {
        std::vector<int> order(count);
        if (GetOrderArray(&order[0], count))
            ApplyOrder(count, &order[0]);
    }
    return 1;
}

void CHeaderCtrlEx::OnDestroy()
{
    for (int i = 0; i < GetItemCount(); ++i) {
        ColumnRecord* record = GetRecord(i);
        if (record) {
            SetRecord(i, nullptr);
            delete record;
        }
    }
    Default();
}

// ---------------------------------------------------------------- CListViewEx

IMPLEMENT_DYNCREATE(CListViewEx, CListView)

BEGIN_MESSAGE_MAP(CListViewEx, CListView)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_COMMAND(ID_CHOOSE_COLS_ON_VIEW, OnChooseColumns)
END_MESSAGE_MAP()

CListViewEx::CListViewEx() : m_sortColumn(-1), m_sortAscending(TRUE), m_sorting(FALSE) {}

CListViewEx::~CListViewEx() {}

LRESULT CListViewEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LVM_INSERTCOLUMNA || message == LVM_INSERTCOLUMNW) {
        LRESULT index = CListView::WindowProc(message, wParam, lParam);
        if (index >= 0) {
            ColumnRecord* record = new ColumnRecord;
            record->insertWidth = InsertWidth(message, lParam);
            record->visible = TRUE;
            HWND header = (HWND)::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0);
            if (!StoreRecord(header, (int)index, record))
                delete record;
        }
        return index;
    }
    if (message == LVM_DELETECOLUMN) {
        HWND header = (HWND)::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0);
        ColumnRecord* record = RecordOf(header, (int)wParam);
        LRESULT deleted = CListView::WindowProc(message, wParam, lParam);
        if (deleted)
            delete record;
        return deleted;
    }
    return CListView::WindowProc(message, wParam, lParam);
}

void CListViewEx::OnInitialUpdate()
{
    CListView::OnInitialUpdate();
    HWND header = ::GetWindow(m_hWnd, GW_CHILD);
    if (header && !m_header.m_hWnd)
        m_header.SubclassWindow(header);
    if (!m_sortImages.GetSafeHandle()) {
        m_sortImages.Create(9, 5, ILC_COLOR24 | ILC_MASK, 3, 0);
        static const UINT bitmaps[] = {IDB_SORT_ASCENDING, IDB_SORT_DESCENDING, IDB_SORT_BLANK};
        for (UINT id : bitmaps) {
            HBITMAP bmp = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0);
            m_sortImages.Add(bmp, kSortMask);
            if (bmp)
                ::DeleteObject(bmp);
        }
    }
    if (m_header.m_hWnd) {
        ::SendMessageA(m_header.m_hWnd, HDM_SETIMAGELIST, 0, (LPARAM)m_sortImages.GetSafeHandle());
        if (m_sortColumn >= 0)
            MarkSortColumn(m_sortColumn, m_sortAscending ? 0 : 1);
    }
}

void CListViewEx::MarkSortColumn(int column, int image)
{
    if (!m_header.m_hWnd)
        return;
    ::SendMessageA(m_header.m_hWnd, HDM_SETIMAGELIST, 0, (LPARAM)m_sortImages.GetSafeHandle());
    HDITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = HDI_FORMAT;
    if (!m_header.GetItem(column, &item))
        return;
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
    item.iImage = image;
    m_header.SetItem(column, &item);
}

BOOL CListViewEx::SortByColumn(int column)
{
    if (m_sortColumn >= 0)
        MarkSortColumn(m_sortColumn, 2);
    if (column == m_sortColumn)
        m_sortAscending = !m_sortAscending;
    else
        m_sortAscending = TRUE;
    MarkSortColumn(column, m_sortAscending ? 0 : 1);
    m_sortColumn = column;
    return SortRange(column, m_sortAscending, 0, -1);
}

void CListViewEx::SwapRows(int a, int b)
{
    CListCtrl& list = GetListCtrl();
    int columns = m_header.m_hWnd ? m_header.GetItemCount()
                                  : Header_GetItemCount((HWND)::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0));
    for (int c = 0; c < columns; ++c) {
        CString ta = list.GetItemText(a, c);
        CString tb = list.GetItemText(b, c);
        list.SetItemText(a, c, tb);
        list.SetItemText(b, c, ta);
    }
    LVITEMA ia, ib;
    ZeroMemory(&ia, sizeof(ia));
    ZeroMemory(&ib, sizeof(ib));
    ia.mask = ib.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    ia.stateMask = ib.stateMask = 0xFF0F;
    ia.iItem = a;
    ib.iItem = b;
    list.GetItem(&ia);
    list.GetItem(&ib);
    ia.iItem = b;
    ib.iItem = a;
    list.SetItem(&ia);
    list.SetItem(&ib);
}

BOOL CListViewEx::SortRange(int column, BOOL ascending, int first, int last)
{
    CListCtrl& list = GetListCtrl();
    HWND header = (HWND)::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0);
    if (column < 0 || column >= Header_GetItemCount(header))
        return FALSE;
    if (last == -1)
        last = list.GetItemCount() - 1;
    if (first >= last)
        return FALSE;
    // Rows change places by their contents: the ticks travel with them, and
    // no one must take those moves for the user's tick changes.
    BOOL wasSorting = m_sorting;
    m_sorting = TRUE;
    QuickSortRows(
        first, last, ascending, [&](int row) { return list.GetItemText(row, column); },
        [this](int a, int b) { SwapRows(a, b); });
    m_sorting = wasSorting;
    return TRUE;
}

BOOL CListViewEx::IsValidOrder(const int* order, int count)
{
    if (count < 0 || (count > 0 && !order))
        return FALSE;
    std::vector<bool> seen(count, false);
    for (int k = 0; k < count; ++k) {
        if (order[k] < 0 || order[k] >= count || seen[order[k]])
            return FALSE;
        seen[order[k]] = true;
    }
    return TRUE;
}

BOOL CListViewEx::SaveColumnState()
{
    CWinApp* app = AfxGetApp();
    if (m_sectionName.IsEmpty() || !app || !m_header.m_hWnd)
        return FALSE;
    int count = m_header.GetItemCount();
    app->WriteProfileInt(m_sectionName, "Column Count", count);
    if (count <= 0)
        return TRUE;
    std::vector<int> order(count), widths(count), visible(count);
    m_header.GetOrderArray(&order[0], count);
    m_header.GetWidthArray(&widths[0], count);
    m_header.GetVisibleArray(&visible[0], count);
    for (int i = 0; i < count; ++i)
        if (!visible[i])
            widths[i] = 0;
    UINT bytes = (UINT)(count * sizeof(int));
    app->WriteProfileBinary(m_sectionName, "Column Order", (const BYTE*)&order[0], bytes);
    app->WriteProfileBinary(m_sectionName, "Column Width", (const BYTE*)&widths[0], bytes);
    app->WriteProfileBinary(m_sectionName, "Column Visible", (const BYTE*)&visible[0], bytes);
    return TRUE;
}

namespace {

// One stored array of exactly count 32-bit entries; empty when absent or of
// another length.
std::vector<int> ReadStoredArray(CWinApp* app, const CString& section, const char* name, int count)
{
    std::vector<int> values;
    BYTE* data = nullptr;
    UINT bytes = 0;
    if (app->GetProfileBinary(section, name, &data, &bytes)) {
        if (bytes == (UINT)count * sizeof(int))
            values.assign((const int*)data, (const int*)data + count);
        delete[] data;
    }
    return values;
}

} // namespace

BOOL CListViewEx::LoadColumnState()
{
    CWinApp* app = AfxGetApp();
    if (m_sectionName.IsEmpty() || !app || !m_header.m_hWnd)
        return FALSE;
    int count = m_header.GetItemCount();
    // A list whose columns changed ignores what was stored for the old ones.
    if ((int)app->GetProfileInt(m_sectionName, "Column Count", 0) != count || count <= 0)
        return FALSE;
    std::vector<int> order = ReadStoredArray(app, m_sectionName, "Column Order", count);
    if (order.empty() || !IsValidOrder(&order[0], count) || !m_header.ApplyOrder(count, &order[0]))
        return FALSE;
    std::vector<int> widths = ReadStoredArray(app, m_sectionName, "Column Width", count);
    if (widths.empty() || !m_header.SetWidthArray(&widths[0], count))
        return FALSE;
    std::vector<int> visible = ReadStoredArray(app, m_sectionName, "Column Visible", count);
    if (visible.empty())
        return FALSE;
    return m_header.SetVisibleArray(&visible[0], count);
}

BOOL CListViewEx::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* nm = (NMHDR*)lParam;
    if (!nm || !m_header.m_hWnd || nm->hwndFrom != m_header.m_hWnd)
        return CListView::OnNotify(wParam, lParam, pResult);
    switch (nm->code) {
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW:
        if (((NMHEADERA*)nm)->iButton == 0)
            SortByColumn(((NMHEADERA*)nm)->iItem);
        *pResult = 0;
        return TRUE;
    case NM_RCLICK:
        ShowColumnMenu();
        *pResult = 0;
        return TRUE;
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW:
        FitColumn(((NMHEADERA*)nm)->iItem);
        *pResult = 1;
        return TRUE;
    case HDN_ENDDRAG:
        // The list view still learns of the drop; the drop itself is allowed
        // and tidied afterwards, when the header has its new order.
        Default();
        m_header.PostMessage(CHeaderCtrlEx::TidyOrderMessage());
        *pResult = 0;
        return TRUE;
    }
    return CListView::OnNotify(wParam, lParam, pResult);
}

void CListViewEx::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* cd = (NMLVCUSTOMDRAW*)pNMHDR;
    *pResult = 0;
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *pResult = CDRF_NOTIFYITEMDRAW;
    } else if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        cd->clrTextBk = (cd->nmcd.dwItemSpec & 1) ? kOddRowColour : RGB(255, 255, 255);
        *pResult = CDRF_DODEFAULT;
    }
}

void CListViewEx::ShowColumnMenu()
{
    POINT pt;
    ::GetCursorPos(&pt);
    CThemedMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    for (int i = 0; i < m_header.GetItemCount(); ++i) {
        HDITEMA item;
        char text[64] = "";
        ZeroMemory(&item, sizeof(item));
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        UINT flags = MF_STRING | (m_header.IsColumnVisible(i) ? MF_CHECKED : MF_UNCHECKED);
        if (!m_header.GetItem(i, &item) || !menu.AppendMenu(flags, (UINT_PTR)(i + 1), text, -1))
            return;
    }
    // Owner-drawn items: the list view measures and draws them through the menu.
    int chosen = (int)::TrackPopupMenu(menu.m_hMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
    if (chosen > 0)
        m_header.ShowColumn(chosen - 1, !m_header.IsColumnVisible(chosen - 1));
}

void CListViewEx::FitColumn(int item)
{
    int column = m_header.VisibleColumnAt(item);
    CListCtrl& list = GetListCtrl();
    int rows = list.GetItemCount();
    if (column < 0 || rows <= 0)
        return;
    CClientDC dc(m_hWnd);
    HGDIOBJ oldFont = dc.SelectObject((HGDIOBJ)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    int widest = 0;
    for (int r = 0; r < rows; ++r) {
        CString text = list.GetItemText(r, column);
        int w = (int)::SendMessageA(m_hWnd, LVM_GETSTRINGWIDTHA, 0, (LPARAM)(const char*)text);
        if (w > widest)
            widest = w;
    }
    dc.SelectObject(oldFont);
    int width = widest + 12;
    HIMAGELIST small = (HIMAGELIST)::SendMessageA(m_hWnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
    if (column == 0 && small) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(small, &cx, &cy);
        width += cx;
    }
    list.SetColumnWidth(column, width);
}

void CListViewEx::OnChooseColumns()
{
    CChooseColsDlg dlg(this);
    dlg.m_pHeader = &m_header;
    dlg.DoModal();
}
