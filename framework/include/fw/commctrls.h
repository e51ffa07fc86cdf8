// Common controls: CListCtrl (report list), CHeaderCtrl and CProgressCtrl.
#pragma once
#include "fw/wnd.h"
#include "fw/imagelist.h"

class FW_API CHeaderCtrl : public CWnd
{
public:
    int GetItemCount() const { return (int)::SendMessageA(m_hWnd, HDM_GETITEMCOUNT, 0, 0); }
    BOOL GetItem(int nPos, HDITEMA* pItem) const
    {
        return (BOOL)::SendMessageA(m_hWnd, HDM_GETITEMA, (WPARAM)nPos, (LPARAM)pItem);
    }
    BOOL SetItem(int nPos, HDITEMA* pItem)
    {
        return (BOOL)::SendMessageA(m_hWnd, HDM_SETITEMA, (WPARAM)nPos, (LPARAM)pItem);
    }
    BOOL GetItemRect(int nIndex, LPRECT pRect) const
    {
        return (BOOL)::SendMessageA(m_hWnd, HDM_GETITEMRECT, (WPARAM)nIndex, (LPARAM)pRect);
    }
};

class FW_API CListCtrl : public CWnd
{
public:
    CListCtrl() {}
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::CreateEx;

    // Columns.
    int InsertColumn(int nCol, const LVCOLUMNA* pColumn)
    {
        return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    int InsertColumn(int nCol, const char* pszHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return (BOOL)SendMessage(LVM_DELETECOLUMN, (WPARAM)nCol, 0); }
    BOOL GetColumn(int nCol, LVCOLUMNA* pColumn) const
    {
        return (BOOL)::SendMessageA(m_hWnd, LVM_GETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    BOOL SetColumn(int nCol, const LVCOLUMNA* pColumn)
    {
        return (BOOL)SendMessage(LVM_SETCOLUMNA, (WPARAM)nCol, (LPARAM)pColumn);
    }
    int GetColumnWidth(int nCol) const { return (int)::SendMessageA(m_hWnd, LVM_GETCOLUMNWIDTH, (WPARAM)nCol, 0); }
    BOOL SetColumnWidth(int nCol, int cx)
    {
        return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)nCol, MAKELPARAM(cx, 0));
    }
    CHeaderCtrl* GetHeaderCtrl() const
    {
        return (CHeaderCtrl*)CWnd::FromHandle((HWND)::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0));
    }

    // Items.
    int InsertItem(const LVITEMA* pItem) { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem); }
    int InsertItem(int nItem, const char* pszItem);
    int InsertItem(int nItem, const char* pszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, const char* pszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL GetItem(LVITEMA* pItem) const { return (BOOL)::SendMessageA(m_hWnd, LVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, const char* pszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam);
    BOOL SetItemText(int nItem, int nSubItem, const char* pszText);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, char* pszText, int nLen) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL SetItemState(int nItem, LVITEMA* pItem)
    {
        return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)pItem);
    }
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return (UINT)::SendMessageA(m_hWnd, LVM_GETITEMSTATE, (WPARAM)nItem, (LPARAM)nMask);
    }
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    int GetItemCount() const { return (int)::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0); }
    void SetItemCount(int nItems) { SendMessage(LVM_SETITEMCOUNT, (WPARAM)nItems, 0); }
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)nItem, 0); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS, 0, 0); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK)
    {
        return (BOOL)SendMessage(LVM_ENSUREVISIBLE, (WPARAM)nItem, MAKELPARAM(bPartialOK, 0));
    }
    BOOL GetItemRect(int nItem, LPRECT pRect, UINT nCode) const;
    int GetTopIndex() const { return (int)::SendMessageA(m_hWnd, LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)::SendMessageA(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0); }
    BOOL RedrawItems(int nFirst, int nLast)
    {
        return (BOOL)SendMessage(LVM_REDRAWITEMS, (WPARAM)nFirst, (LPARAM)nLast);
    }
    BOOL Update(int nItem) { return (BOOL)SendMessage(LVM_UPDATE, (WPARAM)nItem, 0); }
    int HitTest(LVHITTESTINFO* pInfo) const { return (int)::SendMessageA(m_hWnd, LVM_HITTEST, 0, (LPARAM)pInfo); }
    int HitTest(POINT pt, UINT* pFlags = nullptr) const;

    // Image lists (nImageList LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE).
    CImageList* SetImageList(CImageList* pImageList, int nImageList);
    CImageList* GetImageList(int nImageList) const;

    DWORD SetExtendedStyle(DWORD dwNewStyle)
    {
        return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)dwNewStyle);
    }
    DWORD GetExtendedStyle() const { return (DWORD)::SendMessageA(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }
    COLORREF GetBkColor() const { return (COLORREF)::SendMessageA(m_hWnd, LVM_GETBKCOLOR, 0, 0); }
    BOOL SetBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, (LPARAM)cr); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, (LPARAM)cr); }
    BOOL SetTextBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTBKCOLOR, 0, (LPARAM)cr); }

    // Check boxes (LVS_EX_CHECKBOXES): state image 2 is checked, 1 unchecked.
    BOOL SetCheck(int nItem, BOOL bCheck = TRUE)
    {
        return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(bCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    BOOL GetCheck(int nItem) const { return ((GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1) > 0 ? TRUE : FALSE; }

    // Selection.
    int GetNextItem(int nItem, int nFlags) const
    {
        return (int)::SendMessageA(m_hWnd, LVM_GETNEXTITEM, (WPARAM)nItem, MAKELPARAM(nFlags, 0));
    }
    UINT GetSelectedCount() const { return (UINT)::SendMessageA(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0); }
    int GetSelectionMark() const { return (int)::SendMessageA(m_hWnd, LVM_GETSELECTIONMARK, 0, 0); }
    int SetSelectionMark(int nIndex) { return (int)SendMessage(LVM_SETSELECTIONMARK, 0, (LPARAM)nIndex); }
    // POSITION is the item index plus one, so that null ends the walk.
    POSITION GetFirstSelectedItemPosition() const { return (POSITION)(INT_PTR)(1 + GetNextItem(-1, LVNI_SELECTED)); }
    int GetNextSelectedItem(POSITION& pos) const
    {
        int nItem = (int)(INT_PTR)pos - 1;
        pos = (POSITION)(INT_PTR)(1 + GetNextItem(nItem, LVNI_SELECTED));
        return nItem;
    }

    // Sorting: pfnCompare(lParam1, lParam2, lParamSort) on the items' data.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
    {
        return (BOOL)SendMessage(LVM_SORTITEMS, (WPARAM)dwData, (LPARAM)pfnCompare);
    }
};

class FW_API CProgressCtrl : public CWnd
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper); }
    void GetRange(int& nLower, int& nUpper) const;
    int GetPos() const { return (int)::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0); }
    int SetPos(int nPos) { return (int)SendMessage(PBM_SETPOS, (WPARAM)nPos, 0); }
    int OffsetPos(int nPos) { return (int)SendMessage(PBM_DELTAPOS, (WPARAM)nPos, 0); }
    int SetStep(int nStep) { return (int)SendMessage(PBM_SETSTEP, (WPARAM)nStep, 0); }
    int StepIt() { return (int)SendMessage(PBM_STEPIT, 0, 0); }
    COLORREF SetBarColor(COLORREF clr) { return (COLORREF)SendMessage(PBM_SETBARCOLOR, 0, (LPARAM)clr); }
    COLORREF SetBkColor(COLORREF clr) { return (COLORREF)SendMessage(PBM_SETBKCOLOR, 0, (LPARAM)clr); }
};
