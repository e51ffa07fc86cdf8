// The registry browser: a modal dialog with the registry's keys as a tree
// and the values of the selected key in a list, which follows changes made
// below the key while it is shown (a watcher thread per list). OK hands the
// full path of the selected key, or value, to the item editor.
#pragma once
#include "fw/framework.h"
#include "EditorDlg.h"
#include "xStatic.h"
#include <vector>

// A value's row: its type column, data column and image (-1 for none).
struct CRegValueText
{
    CString type;
    CString data;
    int image;
};
CRegValueText FormatRegValue(DWORD type, const BYTE* data, DWORD size);

// Posted by a watcher to its list when the shown key changed; wParam is the
// watcher's generation, so a late post of an earlier watcher is ignored.
#define WM_REGKEY_CHANGED (WM_USER + 300)
// Posted to refill the list outside a notification.
#define WM_REGKEY_REFILL (WM_USER + 301)

class CRegistryListCtrl : public CListCtrl
{
public:
    CRegistryListCtrl();
    virtual ~CRegistryListCtrl();

    // Columns, image list; called once the control is subclassed.
    void Init();
    // Shows the values of root\path (path below the root, "" for the root
    // itself, ending in "\" otherwise); a NULL root clears the list.
    void SelectKey(HKEY root, const CString& path);
    // Fills the list from the shown key and starts watching it.
    void FillValues();
    // The real name of a row's value ("" for the unnamed value).
    CString GetValueName(int nRow) const;
    // Renames the value of a row; FALSE (and a message for an existing name)
    // when it was not renamed. The old value goes only after the new one was
    // written and read back the same.
    BOOL RenameValue(int nRow, const CString& newName);
    // Deletes the values of the selected rows (after the question).
    void DeleteSelectedValues();
    HKEY GetRoot() const { return m_hRoot; }
    const CString& GetPath() const { return m_strPath; }
    // The watcher thread's handle, NULL when none runs (for the tests).
    HANDLE GetWatcherThread() const { return m_pWatcher ? m_pWatcher->m_hThread : nullptr; }
    // How often the list was filled (for the tests).
    int GetFillCount() const { return m_nFills; }
    // Ends the watcher and waits for its thread.
    void StopWatcher();

protected:
    struct WatchContext
    {
        HWND hList;
        HKEY hRoot;
        CString path;
        HANDLE hStop;
        UINT generation;
    };
    static UINT WatchKeyThread(LPVOID pParam);
    void StartWatcher();
    HKEY OpenKey(REGSAM access) const;

    afx_msg void OnKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnKeyChanged(WPARAM, LPARAM);
    afx_msg LRESULT OnRefill(WPARAM, LPARAM);

    CString m_strPath;
    HKEY m_hRoot;
    CImageList m_images;
    std::vector<CString> m_names; // real value names, indexed by the rows' item data
    CWinThread* m_pWatcher;
    WatchContext* m_pWatch;
    UINT m_nGeneration;
    int m_nFills;

    DECLARE_MESSAGE_MAP()
};

class CRegEdit : public CCorvaletDialogBase
{
public:
    enum { IDD = 133 };
    explicit CRegEdit(CWnd* pParent = nullptr);
    virtual ~CRegEdit();

    // The chosen key (ending in "\") or value path after OK.
    CString m_strFullKey;

    CTreeCtrl& Tree() { return m_tree; }
    CRegistryListCtrl& Values() { return m_values; }
    // The path below its root of a tree item ("" for a root, else ending in "\").
    CString ItemPath(HTREEITEM hItem, HKEY* pRoot) const;
    // Appends the subkeys of each child of hItem below that child, once per child.
    void PopulateChildren(HTREEITEM hItem);

    virtual BOOL OnInitDialog();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    virtual void OnOK();

protected:
    void AddSubkeys(HTREEITEM hItem);

    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnValueChanged(NMHDR* pNMHDR, LRESULT* pResult);

    CTreeCtrl m_tree;
    CRegistryListCtrl m_values;
    CxStatic m_fullKey;
    CImageList m_treeImages;

    DECLARE_MESSAGE_MAP()
};

// The names of the subkeys of root\path, in the registry's order.
std::vector<CString> EnumerateSubkeys(HKEY root, const CString& path);
