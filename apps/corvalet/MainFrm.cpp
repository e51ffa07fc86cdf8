// The builder's main frame.
#include "MainFrm.h"
#include "CorvaletDoc.h"
#include "CorvaletView.h"
#include "CorvaletList.h"
#include "EditorDlg.h"
#include "Asker.h"
#include "resource.h"
#include "pirt.h"
#include "smallicons.h"
#include <ole2.h>

namespace {

const UINT kIndicators[] = {IDS_INDICATOR_COUNT, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const UINT kImageIcons[] = {IDI_NEW,    IDI_OPEN,       IDI_SAVE,  IDI_SAVE_AS, IDI_EXIT,    IDI_ADD,
                            IDI_DELETE, IDI_PROPERTIES, IDI_SPLIT, IDI_HELP,    IDI_WEBSITE, IDI_ABOUT};

const SuiteButtonText kButtonTexts[] = {{0, "50000"}, {2, "50023"}, {3, "40900"},
                                        {5, "50010"}, {6, "50020"}, {8, "18000"}};

const char* const kTopMenuKeys[] = {"10000", "12000", "14000", "18000"};

// Image: index in the frame's image list, -1 for none.
const SuiteMenuText kMenuTexts[] = {
    {ID_NEW, "General", "10010", 0},           {ID_OPEN, "General", "10060", 1},
    {ID_SAVE, "General", "10070", 2},          {ID_SAVE_AS, "General", "10080", 3},
    {ID_APP_EXIT, "General", "10100", 4},      {ID_ADD, "General", "82100", 5},
    {ID_DELETE, "General", "50010", 6},        {ID_PROPERTIES, "General", "12060", 7},
    {ID_VIEW_TOOLBAR, "General", "14050", -1}, {ID_VIEW_STATUS_BAR, "General", "14060", -1},
    {ID_WINDOW_SPLIT, "General", "14080", 8},  {ID_HELPME, "General", "18010", 9},
    {ID_PIRT_WEBSITE, "General", "18020", 10}, {ID_ABOUT, "General", "18100", 11}};

const SuiteToolTip kToolTips[] = {
    {ID_PROPERTIES, "Holberin", "23020"}, {ID_DELETE, "Holberin", "23010"}, {ID_ABOUT, "General", "18100"},
    {ID_NEW, "Holberin", "23000"},        {ID_OPEN, "Holberin", "23030"},   {ID_SAVE, "Holberin", "23040"},
    {ID_HELPME, "General", "18000"},
};

// Is the window an edit control (where Delete and Ctrl+A edit text)?
BOOL IsEditWindow(HWND h)
{
    char name[16] = "";
    ::GetClassNameA(h, name, sizeof(name));
    return lstrcmpiA(name, "Edit") == 0;
}

} // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CSuiteFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CSuiteFrame)
    ON_WM_CREATE()
    ON_WM_DROPFILES()
    ON_WM_QUERYENDSESSION()
    ON_MESSAGE(WM_PLUGIN_COUNT, OnPlugInCount)
    ON_MESSAGE(WM_PLUGIN_MODIFIED, OnPlugInModified)
    ON_COMMAND(ID_ADD, OnAdd)
    ON_COMMAND(ID_PROPERTIES, OnProperties)
    ON_COMMAND(ID_DELETE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_PROPERTIES, OnUpdateProperties)
    ON_UPDATE_COMMAND_UI(ID_DELETE, OnUpdateDelete)
    ON_COMMAND(ID_ABOUT, OnAbout)
    ON_COMMAND(ID_HELPME, OnHelp)
    ON_COMMAND(ID_PIRT_WEBSITE, OnWebSite)
    ON_COMMAND(ID_WINDOW_SPLIT, OnWindowSplit)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
    : CSuiteFrame(INI_HOLBERIN, "Flag", "Holberin"), m_pList(nullptr), m_pForm(nullptr), m_bModified(FALSE),
      m_bItemsLoaded(FALSE)
{
}

CMainFrame::~CMainFrame() {}

CCorvaletDoc* CMainFrame::GetDoc() const
{
    return m_pForm ? dynamic_cast<CCorvaletDoc*>(m_pForm->GetDocument()) : nullptr;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    CRect client;
    GetClientRect(&client);
    if (!m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST) ||
        !m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CCorvaletView), CSize(170, client.Height()), pContext) ||
        !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CCorvaletList), CSize(170, client.Height()), pContext))
        return FALSE;
    m_pForm = dynamic_cast<CCorvaletView*>(m_wndSplitter.GetPane(0, 0));
    m_pList = dynamic_cast<CCorvaletList*>(m_wndSplitter.GetPane(0, 1));
    if (!m_pForm || !m_pList)
        return FALSE;
    m_pForm->SetList(m_pList);
    SetActiveView(m_pForm);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CSuiteFrame::OnCreate(lpcs) == -1 ||
        !CreateBars(IDR_MAINFRAME, kIndicators, (int)std::size(kIndicators), FALSE))
        return -1;
    SetTexts();
    UpdateTitle();
    RestorePlacement();
    // Dropping and the clipboard need the window first: OLE starts (and its
    // library loads) once the placement has shown it.
    if (auto oleInitialize = FwLateProc<decltype(&::OleInitialize)>("ole32.dll", "OleInitialize"))
        oleInitialize(nullptr);
    return 0;
}

void CMainFrame::SetTexts()
{
    SetButtonTexts(kButtonTexts, std::size(kButtonTexts));
    SetMenuTexts(kTopMenuKeys, std::size(kTopMenuKeys), kMenuTexts, std::size(kMenuTexts), kImageIcons);
}

void CMainFrame::UpdateTitle()
{
    CCorvaletDoc* doc = GetDoc();
    CString name =
        doc && !doc->m_strPlugInPath.IsEmpty() ? doc->m_strPlugInPath : GetLngString("Holberin", "22690", "not found");
    CString title = GetLngString("General", "20080") + " - " + name;
    if (m_bModified)
        title += "*";
    SetWindowText(title);
}

void CMainFrame::SetModified(BOOL bModified)
{
    m_bModified = bModified;
    UpdateTitle();
}

void CMainFrame::UpdateStatusCount()
{
    CString text;
    text.Format("%s %d", (const char*)GetLngString("Holberin", "22000"), m_pList ? m_pList->GetRowCount() : 0);
    int pane = m_wndStatusBar.m_hWnd ? m_wndStatusBar.CommandToIndex(IDS_INDICATOR_COUNT) : -1;
    if (pane >= 0)
        m_wndStatusBar.SetPaneText(pane, text);
}

LRESULT CMainFrame::OnPlugInCount(WPARAM, LPARAM)
{
    UpdateStatusCount();
    return 0;
}

LRESULT CMainFrame::OnPlugInModified(WPARAM, LPARAM)
{
    SetModified(TRUE);
    return 0;
}

void CMainFrame::RunEditor(int nRow)
{
    if (!m_pList)
        return;
    CEditorDlg editor(this);
    editor.m_pList = m_pList;
    editor.m_nRow = nRow;
    if (nRow >= 0) {
        editor.m_bEditMode = TRUE;
        CPluginRow row = m_pList->GetRow(nRow);
        editor.m_strRowPath = row.path;
        editor.m_strRowKind = row.kind;
        editor.m_strRowAction = row.action;
        editor.m_strRowDetail = row.detail;
    }
    editor.DoModal();
}

void CMainFrame::OnAdd() { RunEditor(-1); }

void CMainFrame::OnProperties()
{
    if (m_pList && m_pList->GetSelectedRow() >= 0)
        RunEditor(m_pList->GetSelectedRow());
}

void CMainFrame::OnDelete()
{
    if (!m_pList)
        return;
    if (AskLng(m_hWnd, "Holberin", "22670", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (m_pList->DeleteSelectedRows() > 0)
        SetModified(TRUE);
    UpdateStatusCount();
}

void CMainFrame::OnUpdateProperties(CCmdUI* pCmdUI)
{
    BOOL one = m_pList && m_pList->m_hWnd && m_pList->GetListCtrl().GetSelectedCount() == 1;
    pCmdUI->Enable(one);
    if (m_pForm && m_pForm->PropertiesButton().m_hWnd)
        m_pForm->PropertiesButton().EnableWindow(one);
    if (!m_bItemsLoaded) {
        m_bItemsLoaded = TRUE;
        UpdateStatusCount();
    }
}

void CMainFrame::OnUpdateDelete(CCmdUI* pCmdUI)
{
    BOOL any = m_pList && m_pList->m_hWnd && m_pList->GetListCtrl().GetSelectedCount() > 0;
    pCmdUI->Enable(any);
    if (m_pForm && m_pForm->DeleteButton().m_hWnd)
        m_pForm->DeleteButton().EnableWindow(any);
}

void CMainFrame::OnWindowSplit() { m_wndSplitter.DoKeyboardSplit(); }

CString CMainFrame::ToolTipText(UINT nID) const { return ToolTipFrom(kToolTips, std::size(kToolTips), nID); }

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        BOOL ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        BOOL inEdit = IsEditWindow(pMsg->hwnd);
        CCorvaletDoc* doc = GetDoc();
        switch (pMsg->wParam) {
        case VK_DELETE:
            if (!ctrl && !inEdit) {
                OnDelete();
                return TRUE;
            }
            break;
        case 'A':
            // Inside an edit it is the edit's own select-all.
            if (ctrl && inEdit) {
                ::SendMessageA(pMsg->hwnd, EM_SETSEL, 0, -1);
                return TRUE;
            }
            if (ctrl && m_pList) {
                m_pList->SelectAllRows();
                UpdateStatusCount();
                return TRUE;
            }
            break;
        case 'N':
            if (ctrl && doc) {
                doc->OnFileNew();
                return TRUE;
            }
            break;
        case 'O':
            if (ctrl && doc) {
                doc->OnFileOpen();
                return TRUE;
            }
            break;
        case 'S':
            if (ctrl && doc) {
                doc->OnFileSave();
                return TRUE;
            }
            break;
        default: break;
        }
    }
    return CSuiteFrame::PreTranslateMessage(pMsg);
}

void CMainFrame::OnDropFiles(HDROP hDropInfo)
{
    char path[MAX_PATH] = "";
    BOOL plugIn = FALSE;
    if (::DragQueryFileA(hDropInfo, 0, path, MAX_PATH) > 0) {
        CString file(path);
        plugIn = file.GetLength() > 5 && file.Right(5).CompareNoCase(".dorv") == 0;
    }
    if (!plugIn) {
        // Any other file would become the path that the next save overwrites.
        ::DragFinish(hDropInfo);
        return;
    }
    CSuiteFrame::OnDropFiles(hDropInfo);
}

BOOL CMainFrame::QuerySaveBeforeLeaving()
{
    CCorvaletDoc* doc = GetDoc();
    if (!m_bModified || !doc ||
        AskLng(m_hWnd, "Holberin", "22680", MB_YESNO | MB_ICONQUESTION, AfxGetAppName()) != IDYES)
        return TRUE;
    // Saves to the document's file, or asks for one while it has none.
    return doc->SavePlugIn(FALSE) == 1;
}

void CMainFrame::OnClose()
{
    if (QuerySaveBeforeLeaving())
        CSuiteFrame::OnClose();
}

BOOL CMainFrame::OnQueryEndSession() { return QuerySaveBeforeLeaving(); }
