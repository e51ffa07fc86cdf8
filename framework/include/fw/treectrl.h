// CTreeCtrl: the tree-view common control. Items are HTREEITEM handles owned
// by the control.
#pragma once
#include "fw/wnd.h"
#include "fw/imagelist.h"

class FW_API CTreeCtrl : public CWnd
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, WC_TREEVIEWA, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }

    HTREEITEM InsertItem(LPTVINSERTSTRUCTA pInsert)
    {
        return (HTREEITEM)SendMessage(TVM_INSERTITEMA, 0, (LPARAM)pInsert);
    }
    HTREEITEM InsertItem(const char* pszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST)
    {
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = hParent;
        tvis.hInsertAfter = hInsertAfter;
        tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tvis.item.pszText = (LPSTR)pszItem;
        tvis.item.iImage = nImage;
        tvis.item.iSelectedImage = nSelectedImage;
        return InsertItem(&tvis);
    }
    HTREEITEM InsertItem(const char* pszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST)
    {
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = hParent;
        tvis.hInsertAfter = hInsertAfter;
        tvis.item.mask = TVIF_TEXT;
        tvis.item.pszText = (LPSTR)pszItem;
        return InsertItem(&tvis);
    }
    BOOL DeleteItem(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)hItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }
    UINT GetCount() const { return (UINT)::SendMessageA(m_hWnd, TVM_GETCOUNT, 0, 0); }

    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return (HTREEITEM)::SendMessageA(m_hWnd, TVM_GETNEXTITEM, nCode, (LPARAM)hItem);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL ItemHasChildren(HTREEITEM hItem) const { return GetChildItem(hItem) != nullptr; }

    BOOL GetItem(TVITEMA* pItem) const { return (BOOL)::SendMessageA(m_hWnd, TVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(TVITEMA* pItem) { return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)pItem); }
    CString GetItemText(HTREEITEM hItem) const
    {
        char buffer[520] = "";
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = buffer;
        item.cchTextMax = (int)sizeof(buffer);
        GetItem(&item);
        return CString(buffer);
    }
    DWORD_PTR GetItemData(HTREEITEM hItem) const
    {
        TVITEMA item = {};
        item.mask = TVIF_PARAM;
        item.hItem = hItem;
        return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
    }
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
    {
        TVITEMA item = {};
        item.mask = TVIF_PARAM;
        item.hItem = hItem;
        item.lParam = (LPARAM)dwData;
        return SetItem(&item);
    }

    BOOL SelectItem(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)hItem); }
    BOOL Expand(HTREEITEM hItem, UINT nCode) { return (BOOL)SendMessage(TVM_EXPAND, nCode, (LPARAM)hItem); }
    BOOL EnsureVisible(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)hItem); }

    // The control keeps the list's handle; the caller keeps the list object.
    HIMAGELIST SetImageList(CImageList* pImageList, int nImageList)
    {
        return (HIMAGELIST)SendMessage(TVM_SETIMAGELIST, (WPARAM)nImageList, (LPARAM)SafeHandle(pImageList));
    }
};
