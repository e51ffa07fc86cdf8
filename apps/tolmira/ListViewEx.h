// A report-style list view whose columns the user can hide, show, reorder,
// resize and sort by, and whose column layout is kept in the application's
// registry profile.
//
// A hidden column has width 0 and sits behind every visible column in the
// header's order array. The header tracks divider drags itself, so a hidden
// column never opens under the mouse: hidden columns come back only through
// the header's right-click menu or the column chooser.
#pragma once
#include "fw/framework.h"

#include "ListViewExRes.h"

// The per-column record kept in each header item's lParam. It is owned by
// the header item: freed when the column is deleted or the header goes.
struct ColumnRecord
{
    int insertWidth; // the width a column gets back when shown again
    BOOL visible;
};

class CHeaderCtrlEx : public CHeaderCtrl
{
public:
    CHeaderCtrlEx();
    virtual ~CHeaderCtrlEx();

    void ShowColumn(int column, BOOL show);
    BOOL IsColumnVisible(int column) const;
    int GetVisibleCount() const;
    // Position of the column in the order array; -1 when absent.
    int OrderOfColumn(int column) const;
    // The column when visible, else the nearest visible one to its left in
    // display order; -1 when there is none.
    int VisibleColumnAt(int column) const;
    // Visible columns keep their order at the front, hidden ones go behind.
    BOOL ApplyOrder(int count, const int* order);

    // Through the list view, which lays its rows out by the same widths.
    BOOL SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    BOOL GetWidthArray(int* widths, int count) const;
    BOOL SetWidthArray(const int* widths, int count);
    BOOL GetVisibleArray(int* visible, int count) const;
    BOOL SetVisibleArray(const int* visible, int count);

    BOOL GetOrderArray(int* order, int count) const
    {
        return (BOOL)::SendMessageA(m_hWnd, HDM_GETORDERARRAY, (WPARAM)count, (LPARAM)order);
    }
    // Through the list view, which lays its rows out by the same order.
    BOOL SetOrderArray(int count, const int* order)
    {
        return (BOOL)::SendMessageA(::GetParent(m_hWnd), LVM_SETCOLUMNORDERARRAY, (WPARAM)count, (LPARAM)order);
    }
    int HitTest(POINT pt, UINT* flags) const;
    CString GetItemText(int column) const;

    ColumnRecord* GetRecord(int column) const;
    BOOL SetRecord(int column, ColumnRecord* record);

    // The message the list view posts after a header drag: the header then
    // tidies its order array.
    static UINT TidyOrderMessage();

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnTidyOrder(WPARAM, LPARAM);
    afx_msg void OnDestroy();

    int TrackColumn() const { return m_trackColumn; }

protected:
    void DrawTrackLine();
    int TrackedWidth(int x) const;

    int m_trackColumn;
    CPoint m_startPoint;
    CPoint m_currentPoint;
    CPoint m_endPoint;
    int m_startWidth;
    BOOL m_fullDrag;

    DECLARE_MESSAGE_MAP()
};

// The order in which SortRange leaves rows first..last, over rows held
// anywhere: text(i) is row i's text in the sorted column, swap(i, j)
// exchanges two whole rows. Rows of equal text end where this quicksort
// puts them, so every caller gets the same order from the same rows.
template <class TextOf, class Swap>
void QuickSortRows(int first, int last, BOOL ascending, const TextOf& text, const Swap& swap)
{
    if (first >= last)
        return;
    const CString pivot = text((first + last) / 2);
    int i = first, j = last;
    while (j >= i) {
        if (ascending) {
            while (i < last && text(i).Compare(pivot) < 0)
                ++i;
            while (j > first && text(j).Compare(pivot) > 0)
                --j;
        } else {
            while (i < last && text(i).Compare(pivot) > 0)
                ++i;
            while (j > first && text(j).Compare(pivot) < 0)
                --j;
        }
        if (j >= i) {
            if (text(i) != text(j))
                swap(i, j);
            ++i;
            --j;
        }
    }
    if (first < j)
        QuickSortRows(first, j, ascending, text, swap);
    if (i < last)
        QuickSortRows(i, last, ascending, text, swap);
}

class CListViewEx : public CListView
{
protected:
    CListViewEx();
    DECLARE_DYNCREATE(CListViewEx)

public:
    virtual ~CListViewEx();

    void SetSectionName(const char* section) { m_sectionName = section; }
    BOOL LoadColumnState();
    BOOL SaveColumnState();
    BOOL SortByColumn(int column);
    BOOL SortRange(int column, BOOL ascending, int first, int last);
    static BOOL IsValidOrder(const int* order, int count);

    CHeaderCtrlEx& Header() { return m_header; }
    int SortColumn() const { return m_sortColumn; }
    // TRUE while SortRange moves row contents (their ticks included).
    BOOL IsSorting() const { return m_sorting; }
    BOOL SortAscending() const { return m_sortAscending; }

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnInitialUpdate();
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnChooseColumns();
    // The header's right-click menu of columns.
    void ShowColumnMenu();
    // Fits a column to the widest of its texts.
    void FitColumn(int item);

protected:
    // The header item of the column gets the arrow image (0 up, 1 down, 2 blank).
    void MarkSortColumn(int column, int image);
    void SwapRows(int a, int b);

    CString m_sectionName;
    CHeaderCtrlEx m_header;
    int m_sortColumn;
    BOOL m_sortAscending;
    CImageList m_sortImages;
    BOOL m_sorting;

    DECLARE_MESSAGE_MAP()
};
