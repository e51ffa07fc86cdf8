// The plug-in list: discovery, listing rules, ticks and the list commands.
#include "TolmiraView.h"
#include "PluginList.h"
#include "Settings.h"
#include "resource.h"
#include "pluginfile.h"
#include "pathlayer.h"
#include "progressdlg.h"
#include "multifiledialog.h"
#include "sortsettings.h"
#include "useradmin.h"
#include "smallicons.h"
#include "language.h"
#include "PreviewDlg.h"
#include "PropertiesDlg.h"
#include "SearchDlg.h"
#include "Tolmira.h"
#include <utility>

PFN_TOLMIRA_RUN_OBSERVER g_pfnTolmiraRunObserver = nullptr;

namespace {

struct ColumnInfo
{
    const char* section;
    const char* key;
    int width;
    int format;
};

const ColumnInfo kColumns[COLUMN_COUNT] = {
    {"General", "40732", 200, LVCFMT_LEFT},  {"General", "40510", 350, LVCFMT_LEFT},
    {"General", "40741", 50, LVCFMT_CENTER}, {"Farnoch", "24030", 80, LVCFMT_LEFT},
    {"General", "30740", 400, LVCFMT_LEFT},
};

// The arrange commands and the column each sorts by.
const struct
{
    UINT id;
    int column;
} kArrange[] = {
    {ID_ARRANGE_NAME, COLUMN_NAME},       {ID_ARRANGE_DESCRIPTION, COLUMN_DESCRIPTION},
    {ID_ARRANGE_VERSION, COLUMN_VERSION}, {ID_ARRANGE_MANUFACTURER, COLUMN_PROVIDER},
    {ID_ARRANGE_PATH, COLUMN_PATH},
};

int ArrangeColumn(UINT id)
{
    for (const auto& a : kArrange)
        if (a.id == id)
            return a.column;
    return -1;
}

const UINT kContextImages[] = {153, 156, 154, 151, 147, 164};

BOOL HasExtension(const char* name, const char* extension)
{
    size_t n = strlen(name), e = strlen(extension);
    return n > e && lstrcmpiA(name + n - e, extension) == 0;
}

} // namespace

IMPLEMENT_DYNCREATE(CTolmiraView, CListViewEx)

BEGIN_MESSAGE_MAP(CTolmiraView, CListViewEx)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
    ON_COMMAND(ID_CHECK_ALL, OnCheckAll)
    ON_UPDATE_COMMAND_UI(ID_CHECK_ALL, OnUpdateCheckAll)
    ON_COMMAND(ID_UNCHECK_ALL, OnUncheckAll)
    ON_UPDATE_COMMAND_UI(ID_UNCHECK_ALL, OnUpdateUncheckAll)
    ON_COMMAND(ID_ALL_PLUGINS, OnAllPlugins)
    ON_UPDATE_COMMAND_UI(ID_ALL_PLUGINS, OnUpdateAllPlugins)
    ON_COMMAND(ID_INSTALLED, OnInstalled)
    ON_UPDATE_COMMAND_UI(ID_INSTALLED, OnUpdateInstalled)
    ON_COMMAND(ID_EXECUTE_NOW, OnExecuteNow)
    ON_UPDATE_COMMAND_UI(ID_EXECUTE_NOW, OnUpdateSomeTicked)
    ON_COMMAND(ID_EXECUTE_PREVIEW, OnExecutePreview)
    ON_UPDATE_COMMAND_UI(ID_EXECUTE_PREVIEW, OnUpdateSomeTicked)
    ON_COMMAND(ID_DELETE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_DELETE, OnUpdateDelete)
    ON_COMMAND(ID_PROPERTIES, OnProperties)
    ON_UPDATE_COMMAND_UI(ID_PROPERTIES, OnUpdateProperties)
    ON_COMMAND(ID_SEARCH, OnSearch)
    ON_COMMAND(ID_IMPORT, OnImport)
    ON_COMMAND_RANGE(ID_ARRANGE_NAME, ID_ARRANGE_PATH, OnArrangeBy)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ARRANGE_NAME, ID_ARRANGE_PATH, OnUpdateArrangeBy)
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CTolmiraView::CTolmiraView()
    : m_firstUpdate(TRUE), m_englishDescription(TRUE), m_userIsAdmin(FALSE), m_filling(FALSE), m_running(FALSE),
      m_viewAll(FALSE), m_searchDialog(nullptr)
{
}

CTolmiraView::~CTolmiraView() {}

BOOL CTolmiraView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= LVS_REPORT | LVS_SHOWSELALWAYS;
    return CListViewEx::PreCreateWindow(cs);
}

void CTolmiraView::OnInitialUpdate()
{
    CListViewEx::OnInitialUpdate();
    if (m_firstUpdate) {
        ReadLanguage();
        SetupColumns();
        CListCtrl& list = GetListCtrl();
        list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
        SetSectionName("Rows");
        // The stored layout goes on while the list is empty: applied over
        // hundreds of rows it costs more than the rows themselves.
        LoadColumnState();
        RefreshPluginList();
        m_firstUpdate = FALSE;
    }
    SendStatusCount();
}

void CTolmiraView::ReadLanguage() { m_englishDescription = !IsGermanChosen(); }

void CTolmiraView::SetupColumns()
{
    CListCtrl& list = GetListCtrl();
    list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < COLUMN_COUNT; ++i)
        list.InsertColumn(i, TextOrNotFound(kColumns[i].section, kColumns[i].key), kColumns[i].format,
                          kColumns[i].width, i);
    // A first start shows the name and the description only; a stored
    // layout replaces this when it is loaded.
    CWinApp* app = AfxGetApp();
    if (app && (int)app->GetProfileInt("Rows", "Column Count", -1) == -1) {
        for (int i = COLUMN_VERSION; i < COLUMN_COUNT; ++i)
            m_header.ShowColumn(i, FALSE);
    }
    int ascending = 0, column = -1;
    ReadSortSettings(INI_FARNOCH, &ascending, &column);
    m_sortAscending = ascending ? TRUE : FALSE;
    m_sortColumn = column >= 0 && column < COLUMN_COUNT ? column : -1;
    if (m_sortColumn >= 0)
        MarkSortColumn(m_sortColumn, m_sortAscending ? 0 : 1);
}

void CTolmiraView::SendStatusCount()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->m_hWnd)
        frame->SendMessage(WM_STATUS_COUNT);
}

namespace {

// Keeps the themed menus' message hook off while the list fills: the hook
// sees every message the thread sends, a fill sends a dozen a row, and no
// menu opens meanwhile. At start-up the program has it off already and puts
// it back itself.
class CMenuHookPause
{
public:
    explicit CMenuHookPause(BOOL pause) : m_paused(pause)
    {
        if (m_paused)
            CThemedMenu::SuspendMenuHook();
    }
    ~CMenuHookPause()
    {
        if (m_paused)
            CThemedMenu::ResumeMenuHook();
    }

private:
    BOOL m_paused;
};

} // namespace

// What a fill reads once for all its plug-ins.
struct CTolmiraView::CRefill
{
    explicit CRefill(const CString& statePath) : overrides("Installed", statePath), ticks("Selection", statePath) {}
    CPluginStateSection overrides;
    CPluginStateSection ticks;
};

std::vector<CListedPlugin> CTolmiraView::ReadListedPlugins(const CPluginListQuery& query)
{
    const CRefill refill(query.statePath);
    std::vector<CListedPlugin> rows;
    CListedPlugin row;
    for (const CString& folder : query.folders) {
        if (folder.IsEmpty())
            continue; // no folder: nothing is listed from the root of the drive
        CFileFind finder;
        BOOL more = finder.FindFile(folder + "\\*.dorv");
        while (more) {
            more = finder.FindNextFile();
            // The pattern also matches short names ("x.dorvx"): the long name decides.
            if (!finder.IsDirectory() && HasExtension(finder.GetFileName(), ".dorv") &&
                AddPlugin(finder.GetFilePath(), query, refill, row))
                rows.push_back(std::move(row));
        }
    }
    return rows;
}

void CTolmiraView::RefreshPluginList()
{
    CListCtrl& list = GetListCtrl();
    BOOL wasFilling = m_filling;
    m_filling = TRUE;
    const CPluginListQuery query = CurrentPluginListQuery(m_englishDescription);
    m_userIsAdmin = query.userIsAdmin;
    m_viewAll = query.viewAll;
    m_statePath = query.statePath;
    const CMenuHookPause pause(!m_firstUpdate);
    // A start has had them read while it made its window.
    std::vector<CListedPlugin> rows;
    CTolmiraApp* app = dynamic_cast<CTolmiraApp*>(AfxGetApp());
    if (!app || !app->TakeFirstPlugins(query, rows))
        rows = ReadListedPlugins(query);
    // The rows follow the sort that the header's arrow shows; sorted before
    // they go in, in the order a sort of the list would give them.
    if (m_sortColumn >= 0 && m_sortColumn < COLUMN_COUNT)
        QuickSortRows(
            0, (int)rows.size() - 1, m_sortAscending,
            [&](int row) -> const CString& { return rows[row].texts[m_sortColumn]; },
            [&](int a, int b) { std::swap(rows[a], rows[b]); });
    // One repaint at the end instead of one per row.
    list.SetRedraw(FALSE);
    list.DeleteAllItems();
    for (const CListedPlugin& row : rows) {
        const int at = list.InsertItem(list.GetItemCount(), row.texts[COLUMN_NAME]);
        if (at < 0)
            continue;
        for (int column = COLUMN_NAME + 1; column < COLUMN_COUNT; ++column)
            list.SetItemText(at, column, row.texts[column]);
        // Set once the row is in: the check boxes give every new row its
        // unticked image, so only a tick is set.
        if (row.ticked)
            list.SetItemState(at, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    }
    list.SetRedraw(TRUE);
    list.Invalidate();
    m_filling = wasFilling;
    SendStatusCount();
}

BOOL CTolmiraView::AddPlugin(const CString& path, const CPluginListQuery& query, const CRefill& refill,
                             CListedPlugin& row)
{
    const CProfileSection general(path, "General");
    CString name = general.Value("Name", "not found");
    BOOL adminOnly = general.Value("Admin", "not found") == "yes";
    if (adminOnly && !query.userIsAdmin)
        return FALSE;
    CString override = refill.overrides.Read(name, "NA");
    if (!IsPluginListed(adminOnly, query.userIsAdmin, override, query.viewAll,
                        [&] { return InstalledTest(general.Value("Installed", ""), query.placeholders); }))
        return FALSE;
    row.texts[COLUMN_NAME] = name;
    row.texts[COLUMN_DESCRIPTION] = ReadPluginDescription(general, query.englishDescription);
    row.texts[COLUMN_VERSION] = general.Value("Version", "not found");
    row.texts[COLUMN_PROVIDER] = general.Value("Provider", "not found");
    row.texts[COLUMN_PATH] = path;
    row.ticked = refill.ticks.Read(name, "no") == "yes";
    return TRUE;
}

CListedPluginsReader::CListedPluginsReader(const CPluginListQuery& query)
    : m_query(query), m_thread(AfxBeginThread(Read, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED)), m_taken(FALSE)
{
    if (!m_thread) {
        // No thread: read now, on this one.
        Read(this);
        return;
    }
    m_thread->m_bAutoDelete = FALSE;
    m_thread->ResumeThread();
}

CListedPluginsReader::~CListedPluginsReader() { Wait(); }

UINT CListedPluginsReader::Read(LPVOID self)
{
    CListedPluginsReader* reader = static_cast<CListedPluginsReader*>(self);
    reader->m_rows = CTolmiraView::ReadListedPlugins(reader->m_query);
    return 0;
}

void CListedPluginsReader::Wait()
{
    if (!m_thread)
        return;
    ::WaitForSingleObject(m_thread->m_hThread, INFINITE);
    delete m_thread;
    m_thread = nullptr;
}

BOOL CListedPluginsReader::Take(const CPluginListQuery& query, std::vector<CListedPlugin>& rows)
{
    Wait();
    if (m_taken || !(query == m_query))
        return FALSE;
    m_taken = TRUE;
    rows = std::move(m_rows);
    return TRUE;
}

void CTolmiraView::WriteSelectionYes(int row)
{
    WritePluginState("Selection", GetListCtrl().GetItemText(row, COLUMN_NAME), "yes");
}

void CTolmiraView::WriteSelectionNo(int row)
{
    WritePluginState("Selection", GetListCtrl().GetItemText(row, COLUMN_NAME), "no");
}

BOOL CTolmiraView::HasRowWithState(int stateImage) const
{
    // Asked at every idle moment by the menu and toolbar updates: stop at
    // the first such row rather than walk hundreds each time.
    CListCtrl& list = GetListCtrl();
    const int count = list.GetItemCount();
    for (int i = 0; i < count; ++i)
        if ((int)(list.GetItemState(i, LVIS_STATEIMAGEMASK) >> 12) == stateImage)
            return TRUE;
    return FALSE;
}

BOOL CTolmiraView::IsRowTicked(int row) const
{
    return (GetListCtrl().GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

BOOL CTolmiraView::IsRowInstalled(int row) const
{
    CListCtrl& list = GetListCtrl();
    CString override = ReadPluginState("Installed", list.GetItemText(row, COLUMN_NAME), "NA");
    if (override == "yes")
        return TRUE;
    if (override == "no")
        return FALSE;
    CString file = list.GetItemText(row, COLUMN_PATH);
    return InstalledTest(ReadPluginGeneral(file, "Installed", "")) == INSTALLED_PRESENT;
}

void CTolmiraView::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    NMLISTVIEW* nm = (NMLISTVIEW*)pNMHDR;
    if (nm->uOldState == 0 && nm->uNewState == 0)
        return;
    int oldTick = (int)((nm->uOldState >> 12) & 0xF) - 1;
    int newTick = (int)((nm->uNewState >> 12) & 0xF) - 1;
    if (oldTick < 0)
        oldTick = 0;
    if (newTick < 0)
        newTick = 0;
    // Filling and sorting move ticks that are already stored; only the
    // user's own changes are written.
    if (oldTick == newTick || m_firstUpdate || m_filling || IsSorting())
        return;
    if (newTick)
        WriteSelectionYes(nm->iItem);
    else
        WriteSelectionNo(nm->iItem);
}

void CTolmiraView::OnCheckAll()
{
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        list.SetItemState(i, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
        WriteSelectionYes(i);
    }
}

void CTolmiraView::OnUncheckAll()
{
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i) {
        list.SetItemState(i, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
        WriteSelectionNo(i);
    }
}

void CTolmiraView::OnUpdateCheckAll(CCmdUI* pCmdUI) { pCmdUI->Enable(HasRowWithState(1)); }

void CTolmiraView::OnUpdateUncheckAll(CCmdUI* pCmdUI) { pCmdUI->Enable(HasRowWithState(2)); }

void CTolmiraView::OnUpdateSomeTicked(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_running && HasRowWithState(2)); }

void CTolmiraView::OnAllPlugins()
{
    FarnochWriteYesNo("Farnoch", "ViewAll", !FarnochYes("Farnoch", "ViewAll"));
    RefreshPluginList();
}

void CTolmiraView::OnUpdateAllPlugins(CCmdUI* pCmdUI) { pCmdUI->SetCheck(FarnochYes("Farnoch", "ViewAll")); }

void CTolmiraView::OnInstalled()
{
    CListCtrl& list = GetListCtrl();
    int row = list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return;
    // The opposite of what the check mark shows, so one click always flips it.
    BOOL installed = IsRowInstalled(row);
    WritePluginState("Installed", list.GetItemText(row, COLUMN_NAME), installed ? "no" : "yes");
    if (FarnochYes("Farnoch", "ViewAll"))
        return;
    RefreshPluginList();
    int count = list.GetItemCount();
    if (count > 0)
        SelectRow(row < count ? row : count - 1);
}

void CTolmiraView::OnUpdateInstalled(CCmdUI* pCmdUI)
{
    int row = GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
    pCmdUI->SetCheck(row >= 0 && IsRowInstalled(row));
}

void CTolmiraView::SelectRow(int row)
{
    GetListCtrl().SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CTolmiraView::SelectAllRows()
{
    CListCtrl& list = GetListCtrl();
    for (int i = 0; i < list.GetItemCount(); ++i)
        list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
}

void CTolmiraView::OnDelete()
{
    CListCtrl& list = GetListCtrl();
    int row = list.GetNextItem(-1, LVNI_SELECTED);
    int lastDeleted = -1;
    if (row >= 0) {
        if (::MessageBoxA(m_hWnd, GetLngString("Farnoch", "24100"), AppTitle(), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        while ((row = list.GetNextItem(-1, LVNI_SELECTED)) >= 0) {
            // Deleted in the canonical form, as every deletion of the suite is.
            const CString file = CanonicalPath(list.GetItemText(row, COLUMN_PATH));
            if (file.IsEmpty() || !::DeleteFileA(file))
                break;
            list.DeleteItem(row);
            lastDeleted = row;
        }
    }
    int count = list.GetItemCount();
    int index = lastDeleted >= 0 ? lastDeleted : 0;
    if (index >= count)
        index = count - 1;
    if (index >= 0)
        SelectRow(index);
    SendStatusCount();
}

void CTolmiraView::OnUpdateDelete(CCmdUI* pCmdUI) { pCmdUI->Enable(GetListCtrl().GetSelectedCount() >= 1); }

void CTolmiraView::OnImport()
{
    CString filter = GetLngString("General", "40120");
    CMultiFileDialog dlg(TRUE, "*.dorv", nullptr,
                         OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_NODEREFERENCELINKS, filter,
                         nullptr);
    if (dlg.DoModal() != IDOK)
        return;
    std::vector<CString> chosen;
    POSITION pos = dlg.GetStartPosition();
    while (pos)
        chosen.push_back(dlg.GetNextPathName(pos));
    ImportFiles(chosen);
}

void CTolmiraView::ImportFiles(const std::vector<CString>& chosen)
{
    CString folder = ProgramPluginFolder();
    if (folder.IsEmpty())
        return;
    CreateFullPath(folder);
    for (const CString& source : chosen) {
        int slash = source.ReverseFind('\\');
        CString destination = folder + source.Mid(slash < 0 ? 0 : slash);
        if (slash < 0)
            destination = folder + "\\" + source;
        CFileFind existing;
        BOOL exists = existing.FindFile(destination);
        existing.Close();
        if (!exists) {
            ::CopyFileA(source, destination, FALSE);
            continue;
        }
        if (::MessageBoxA(m_hWnd, GetLngString("Farnoch", "24600"), destination, MB_YESNO | MB_ICONQUESTION) == IDYES)
            ::CopyFileA(source, destination, FALSE);
    }
    RefreshPluginList();
}

void CTolmiraView::OnArrangeBy(UINT nID)
{
    int column = ArrangeColumn(nID);
    if (column >= 0)
        SortByColumn(column);
}

void CTolmiraView::OnUpdateArrangeBy(CCmdUI* pCmdUI)
{
    int column = ArrangeColumn(pCmdUI->m_nID);
    pCmdUI->SetCheck(column >= 0 && column == m_sortColumn);
}

void CTolmiraView::OnExecutePreview()
{
    CListCtrl& list = GetListCtrl();
    std::vector<CString> ticked;
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (IsRowTicked(row))
            ticked.push_back(list.GetItemText(row, COLUMN_PATH));
    CPreviewDlg preview(ticked, nullptr);
    preview.DoModal();
}

void CTolmiraView::OnProperties()
{
    CListCtrl& list = GetListCtrl();
    int row = list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return;
    CPropertiesDlg properties(nullptr);
    properties.m_name = list.GetItemText(row, COLUMN_NAME);
    properties.m_description = list.GetItemText(row, COLUMN_DESCRIPTION);
    properties.m_version = list.GetItemText(row, COLUMN_VERSION);
    properties.m_provider = list.GetItemText(row, COLUMN_PROVIDER);
    properties.m_path = list.GetItemText(row, COLUMN_PATH);
    properties.DoModal();
}

void CTolmiraView::OnUpdateProperties(CCmdUI* pCmdUI) { pCmdUI->Enable(GetListCtrl().GetSelectedCount() == 1); }

void CTolmiraView::OnSearch()
{
    // The dialog deletes itself when its window is gone; the view only
    // remembers the newest one's window.
    CSearchDlg* search = new CSearchDlg(&GetListCtrl(), this);
    if (!search->Create(CSearchDlg::IDD, this)) {
        delete search;
        return;
    }
    m_searchDialog = search->m_hWnd;
    search->ShowWindow(SW_SHOW);
}

CSearchDlg* CTolmiraView::SearchDialog() const
{
    if (m_searchDialog == nullptr || !::IsWindow(m_searchDialog))
        return nullptr;
    return dynamic_cast<CSearchDlg*>(CWnd::FromHandlePermanent(m_searchDialog));
}

HMENU CTolmiraView::PrepareContextMenu(CThemedMenu& menu)
{
    if (!menu.LoadMenu(IDR_CONTEXT_MENU))
        return nullptr;
    CMenu* sub = menu.GetSubMenu(0);
    CThemedMenu* popup = sub ? CThemedMenu::FromHandleThemed(sub->m_hMenu) : nullptr;
    if (!popup)
        return nullptr;
    // Made at the first menu rather than at every start.
    if (!m_menuImages.GetSafeHandle())
        CreateSmallIconList(m_menuImages, kContextImages);
    // Image -1: the item has none.
    struct Item
    {
        UINT id;
        const char* key;
        int image;
    };
    if (GetListCtrl().GetSelectedCount() > 0) {
        popup->DeleteMenu(ID_NEW, MF_BYCOMMAND);
        static const Item items[] = {
            {ID_EXECUTE_NOW, "50040", 1}, {ID_CHECK_ALL, "12030", -1}, {ID_UNCHECK_ALL, "12040", -1},
            {ID_INSTALLED, "12100", -1},  {ID_DELETE, "12050", 3},     {ID_PROPERTIES, "12060", 4},
        };
        for (const auto& item : items) {
            SetMenuLngText(popup, item.id, MF_BYCOMMAND, "General", item.key, 0);
            if (item.image >= 0)
                popup->SetItemImage(item.id, &m_menuImages, item.image);
        }
    } else {
        static const UINT removed[] = {ID_EXECUTE_NOW, ID_DELETE,      ID_PROPERTIES,
                                       ID_CHECK_ALL,   ID_UNCHECK_ALL, ID_INSTALLED};
        for (UINT id : removed)
            popup->DeleteMenu(id, MF_BYCOMMAND);
        SetMenuLngText(popup, ID_NEW, MF_BYCOMMAND, "General", "10010", 0);
        popup->SetItemImage(ID_NEW, &m_menuImages, 0);
    }
    // Separators left at either end or next to each other go too.
    HMENU h = popup->m_hMenu;
    for (int i = ::GetMenuItemCount(h) - 1; i >= 0; --i) {
        if (::GetMenuItemID(h, i) != 0)
            continue;
        int count = ::GetMenuItemCount(h);
        BOOL atEnd = i == 0 || i == count - 1;
        BOOL doubled = i + 1 < count && ::GetMenuItemID(h, i + 1) == 0;
        if (atEnd || doubled)
            popup->DeleteMenu((UINT)i, MF_BYPOSITION);
    }
    return h;
}

void CTolmiraView::OnContextMenu(CWnd* pWnd, CPoint point)
{
    // The header has its own menu of columns.
    if (pWnd && m_header.m_hWnd && pWnd->m_hWnd == m_header.m_hWnd)
        return;
    if (point.x == -1 && point.y == -1) {
        point = CPoint(5, 5);
        ClientToScreen(&point);
    }
    CThemedMenu menu;
    HMENU popup = PrepareContextMenu(menu);
    CFrameWnd* frame = GetParentFrame();
    if (popup && frame)
        ::TrackPopupMenu(popup, 0, point.x, point.y, 0, frame->m_hWnd, nullptr);
}

void CTolmiraView::OnDestroy()
{
    CListViewEx::OnDestroy();
    WriteSortSettings(INI_FARNOCH, m_sortAscending, m_sortColumn);
    SaveColumnState();
    m_progressDialogs.clear();
}
