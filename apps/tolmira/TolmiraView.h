// The plug-in list: one check-box row per plug-in file found in the user's
// and the program's plug-in folders and visible under the listing rules,
// the commands on it, and the run over the ticked plug-ins.
#pragma once
#include "ListViewEx.h"
#include "PluginList.h"
#include "themedmenu.h"
#include <memory>
#include <vector>

class CProgressDlg;
class CSearchDlg;

// Called with the progress dialog after each cleaned plug-in (tests look at
// the run and try to close its window here); NULL in the program.
typedef void (*PFN_TOLMIRA_RUN_OBSERVER)(CProgressDlg* dlg, int plugin);
extern PFN_TOLMIRA_RUN_OBSERVER g_pfnTolmiraRunObserver;

// List columns.
enum { COLUMN_NAME = 0, COLUMN_DESCRIPTION, COLUMN_VERSION, COLUMN_PROVIDER, COLUMN_PATH, COLUMN_COUNT };

// A plug-in that the list shows: the texts of its row and its tick.
struct CListedPlugin
{
    CString texts[COLUMN_COUNT];
    BOOL ticked;
};

class CTolmiraView : public CListViewEx
{
protected:
    CTolmiraView();
    DECLARE_DYNCREATE(CTolmiraView)

public:
    virtual ~CTolmiraView();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void OnInitialUpdate();

    // Empties the list and fills it again from both plug-in folders, then
    // tells the frame the new row count.
    void RefreshPluginList();

    void WriteSelectionYes(int row);
    void WriteSelectionNo(int row);
    // Whether some row's check box shows the state image (1 unticked, 2 ticked).
    BOOL HasRowWithState(int stateImage) const;
    BOOL IsRowTicked(int row) const;
    // The check mark of the installed command for the row: the override, or
    // the plug-in's own test.
    BOOL IsRowInstalled(int row) const;
    BOOL IsRunning() const { return m_running; }
    void SelectAllRows();
    void SelectRow(int row);

    // Runs every entry of one plug-in file through the deletion library.
    void CleanPlugin(const CString& pluginFile, CListCtrl* list, CProgressCtrl* progress);
    // Copies the chosen files into the program plug-in folder (asking before
    // replacing one) and refills the list.
    void ImportFiles(const std::vector<CString>& chosen);
    // The context menu for the current selection (popup of the loaded menu).
    HMENU PrepareContextMenu(CThemedMenu& menu);

    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnCheckAll();
    afx_msg void OnUncheckAll();
    afx_msg void OnUpdateCheckAll(CCmdUI* pCmdUI);
    afx_msg void OnUpdateUncheckAll(CCmdUI* pCmdUI);
    afx_msg void OnAllPlugins();
    afx_msg void OnUpdateAllPlugins(CCmdUI* pCmdUI);
    afx_msg void OnInstalled();
    afx_msg void OnUpdateInstalled(CCmdUI* pCmdUI);
    afx_msg void OnExecuteNow();
    afx_msg void OnUpdateSomeTicked(CCmdUI* pCmdUI);
    afx_msg void OnDelete();
    afx_msg void OnUpdateDelete(CCmdUI* pCmdUI);
    afx_msg void OnImport();
    afx_msg void OnArrangeBy(UINT nID);
    afx_msg void OnUpdateArrangeBy(CCmdUI* pCmdUI);
    afx_msg void OnExecutePreview();
    afx_msg void OnProperties();
    afx_msg void OnUpdateProperties(CCmdUI* pCmdUI);
    afx_msg void OnSearch();
    // The newest search dialog while its window exists, else NULL.
    CSearchDlg* SearchDialog() const;
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnDestroy();

    // The plug-ins a fill lists, in the order their folders give their
    // files (the user's folder first; a file in both gives two rows). Touches
    // nothing of a view, so it may run on any thread.
    static std::vector<CListedPlugin> ReadListedPlugins(const CPluginListQuery& query);

protected:
    struct CRefill;
    // The plug-in's row when the plug-in is listed under the query.
    static BOOL AddPlugin(const CString& path, const CPluginListQuery& query, const CRefill& refill,
                          CListedPlugin& row);
    void ReadLanguage();
    void SetupColumns();
    void SendStatusCount();

    BOOL m_firstUpdate;
    BOOL m_englishDescription;
    CImageList m_menuImages;
    std::vector<std::unique_ptr<CProgressDlg>> m_progressDialogs;
    CString m_statePath;
    BOOL m_userIsAdmin;
    BOOL m_filling;
    BOOL m_running;
    BOOL m_viewAll; // the view-all switch as read at the last refill
    HWND m_searchDialog;

    DECLARE_MESSAGE_MAP()
};

// Reads the listed plug-ins on a thread of its own from construction on: a
// start has the list read while it makes its window, which takes as long.
class CListedPluginsReader
{
public:
    explicit CListedPluginsReader(const CPluginListQuery& query);
    ~CListedPluginsReader(); // waits for the reading

    // Waits for the reading and hands its plug-ins over, once, when they were
    // read for this query; FALSE (rows untouched) otherwise.
    BOOL Take(const CPluginListQuery& query, std::vector<CListedPlugin>& rows);

private:
    static UINT Read(LPVOID self);
    void Wait();

    const CPluginListQuery m_query;
    std::vector<CListedPlugin> m_rows; // written by the reading thread until Wait
    CWinThread* m_thread;              // the reading thread until waited for; null when none started
    BOOL m_taken;

    CListedPluginsReader(const CListedPluginsReader&) = delete;
    CListedPluginsReader& operator=(const CListedPluginsReader&) = delete;
};
