// The registry browser: a modal dialog with the registry's keys as a tree
// and the values of the selected key in a list, which follows changes made
// below the key while it is shown (a watcher thread per list). OK hands the
// full path of the selected key, or value, to the item editor.
#pragma once
#include "fw/framework.h"
#include "EditorDlg.h"
#include "xStatic.h"
#include <string>
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

// The value list keeps the values itself and the control asks for the rows
// it shows (LVS_OWNERDATA), sorted by their shown names.
class CRegistryListCtrl : public CListCtrl
{
public:
    CRegistryListCtrl();
    virtual ~CRegistryListCtrl();

    // Columns, image list; called once the control is subclassed.
    void Init();
    // Shows the values of root\path (path below the root, "" for the root
    // itself, ending in "\" otherwise); a NULL root clears the list. A label
    // edit still open is ended first.
    void SelectKey(HKEY root, const CString& path);
    // Fills the list from the shown key and starts watching it; while a label
    // is edited the fill waits for the edit's end.
    void FillValues();
    // The real name of a row's value (L"" for the unnamed value).
    std::wstring GetValueName(int nRow) const;
    // Renames a value of the shown key; FALSE (and a message for a name that
    // exists or holds "\") when it was not renamed. The old value goes only
    // after the new one was written and read back the same, byte for byte.
    BOOL RenameValue(const std::wstring& oldName, const std::wstring& newName);
    // Deletes the values of the selected rows (after the question).
    void DeleteSelectedValues();
    HKEY GetRoot() const { return m_hRoot; }
    const CString& GetPath() const { return m_strPath; }
    // The watcher thread's handle, NULL when none runs (for the tests).
    HANDLE GetWatcherThread() const { return m_pWatcher ? m_pWatcher->m_hThread : nullptr; }
    // How often the list was filled, and whether a fill waits for a label
    // edit's end (for the tests).
    int GetFillCount() const { return m_nFills; }
    BOOL IsFillWaiting() const { return m_bFillWaiting; }
    // Ends the watcher and waits for its thread.
    void StopWatcher();

protected:
    struct WatchContext
    {
        HWND hList;
        HKEY hRoot;
        CString path;
        CHandle stop;
        UINT generation;
    };
    // A value: its name in m_nameChars, its data in m_dataBytes.
    struct Row
    {
        size_t name;
        DWORD nameLength;
        DWORD type;
        size_t data;
        DWORD dataLength;
    };
    static UINT WatchKeyThread(LPVOID pParam);
    void StartWatcher();
    BOOL OpenKey(CRegKeyHandle& key, REGSAM access) const;
    // The shown texts of a row: its name, and its type and data.
    CString RowName(const Row& row) const;
    CRegValueText RowValueText(const Row& row) const;

    afx_msg void OnKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnFindItem(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnKeyChanged(WPARAM, LPARAM);
    afx_msg LRESULT OnRefill(WPARAM, LPARAM);

    CString m_strPath;
    HKEY m_hRoot;
    CImageList m_images;
    std::vector<Row> m_rows; // in the shown order
    std::vector<WCHAR> m_nameChars;
    std::vector<BYTE> m_dataBytes;
    CString m_defaultName; // shown for the unnamed value
    std::wstring m_defaultNameW;
    std::wstring m_editName; // the real name of the value whose label is edited
    BOOL m_bEditing;
    BOOL m_bFillWaiting; // a fill was asked for during a label edit
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
    // The path of what is selected now: the tree's key, and the list's value
    // when one is selected; "" when no key is. FALSE, after a message, for a
    // name that an entry cannot carry ("\" in a value's name, characters
    // outside the ANSI code page).
    BOOL SelectedPath(CString& path);

    CTreeCtrl& Tree() { return m_tree; }
    CRegistryListCtrl& Values() { return m_values; }
    // The path below its root of a tree item ("" for a root, else ending in "\").
    CString ItemPath(HTREEITEM hItem, HKEY* pRoot) const;
    // Appends the subkeys of each child of hItem below that child, once per item.
    void PopulateChildren(HTREEITEM hItem);

    virtual BOOL OnInitDialog();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    virtual void OnOK();

protected:
    // A tree item's key. The tree's items hold their node's index, so a key's
    // path and children are found without asking the control item by item.
    struct KeyNode
    {
        CString name;
        HKEY root;                       // for the top-level items
        int parent;                      // -1 for a top-level item
        int firstChild, lastChild, next; // -1 for none
        HTREEITEM item;
        bool childrenFilled; // each child has its subkeys below it
        bool exact;          // name is the key's real name, not an ANSI look-alike
    };
    int AddNode(int parent, const CString& name, HKEY root, bool exact = true);
    // Adds the subkeys of an open key below its node.
    void AddSubkeys(int node, HKEY key);
    // The path of a node below its root, and the top-level node it is under.
    CString NodePath(int node, int* pTop) const;
    int NodeOf(HTREEITEM hItem) const;
    // "ROOT\" and the path of the selected key; "" when none is selected.
    CString SelectedKeyText() const;
    // The node and every key above it have their real names.
    bool IsNodeExact(int node) const;

    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnValueChanged(NMHDR* pNMHDR, LRESULT* pResult);

    CTreeCtrl m_tree;
    CRegistryListCtrl m_values;
    CxStatic m_fullKey;
    CImageList m_treeImages;
    std::vector<KeyNode> m_keys;

    DECLARE_MESSAGE_MAP()
};
