// CCorvaletList: the item list, one row per entry of the plug-in (columns
// path, kind, action, detail), in the right pane of the main window.
#pragma once
#include "fw/framework.h"
#include "pluginfile.h"
#include "themedmenu.h"
#include <vector>

class CCorvaletList : public CListView
{
    DECLARE_DYNCREATE(CCorvaletList)
public:
    CCorvaletList();
    virtual ~CCorvaletList();

    enum { COL_PATH = 0, COL_KIND, COL_ACTION, COL_DETAIL };

    int GetRowCount() const { return GetListCtrl().GetItemCount(); }
    CPluginRow GetRow(int nRow) const;
    std::vector<CPluginRow> GetRows() const;
    // Inserts the row at nRow (-1: at the end); returns its index.
    int InsertRow(const CPluginRow& row, int nRow = -1);
    // Replaces the row at nRow; FALSE when nothing changed.
    BOOL ReplaceRow(int nRow, const CPluginRow& row);
    void DeleteAllRows() { GetListCtrl().DeleteAllItems(); }
    // Deletes the selected rows, then selects and focuses row 0; returns how
    // many were deleted.
    int DeleteSelectedRows();
    void SelectAllRows();
    // The one selected row, or -1 when none is.
    int GetSelectedRow() const { return GetListCtrl().GetNextItem(-1, LVNI_SELECTED); }

    // The context menu loaded into menu, themed, with its texts and images:
    // without a selection only the add item remains. Its popup, or null.
    HMENU PrepareContextMenu(CThemedMenu& menu);

    virtual void OnInitialUpdate();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

protected:
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);

    CImageList m_images;
    BOOL m_bColumnsMade;

    DECLARE_MESSAGE_MAP()
};
