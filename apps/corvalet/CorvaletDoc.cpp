// The plug-in document: New, Open, Save and Save As.
#include "CorvaletDoc.h"
#include "CorvaletView.h"
#include "CorvaletList.h"
#include "MainFrm.h"
#include "Asker.h"
#include "resource.h"
#include "pirt.h"

IMPLEMENT_DYNCREATE(CCorvaletDoc, CDocument)

BEGIN_MESSAGE_MAP(CCorvaletDoc, CDocument)
    ON_COMMAND(ID_NEW, OnFileNew)
    ON_COMMAND(ID_OPEN, OnFileOpen)
    ON_COMMAND(ID_SAVE, OnFileSave)
    ON_COMMAND(ID_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CString GetPlugInFolder()
{
    CString folder = GetUserDataFolder("\\Zex\\Ulmoro\\plug-ins\\Tolmira");
    if (!folder.IsEmpty())
        CreateFullPath(folder);
    return folder;
}

CCorvaletDoc::CCorvaletDoc() : m_bOpenedByFramework(FALSE), m_bFileRead(FALSE) {}

CCorvaletDoc::~CCorvaletDoc() {}

CCorvaletView* CCorvaletDoc::GetForm() const
{
    for (int i = 0; i < GetViewCount(); ++i)
        if (CCorvaletView* form = dynamic_cast<CCorvaletView*>(GetView(i)))
            return form;
    return nullptr;
}

CCorvaletList* CCorvaletDoc::GetList() const
{
    for (int i = 0; i < GetViewCount(); ++i)
        if (CCorvaletList* list = dynamic_cast<CCorvaletList*>(GetView(i)))
            return list;
    return nullptr;
}

CMainFrame* CCorvaletDoc::GetFrame() const
{
    CCorvaletView* form = GetForm();
    return form && form->m_hWnd ? dynamic_cast<CMainFrame*>(form->GetParentFrame()) : nullptr;
}

HWND CCorvaletDoc::OwnerWindow() const
{
    CMainFrame* frame = GetFrame();
    return frame ? frame->m_hWnd : nullptr;
}

CPluginContent CCorvaletDoc::CollectContent() const
{
    CPluginContent content;
    if (CCorvaletView* form = GetForm()) {
        content.name = form->GetPlugInName();
        content.version = form->GetPlugInVersion();
        content.description = form->GetPlugInDescription();
        content.provider = form->GetPlugInProvider();
    }
    content.otherGeneral = m_otherGeneral;
    if (CCorvaletList* list = GetList())
        content.rows = list->GetRows();
    return content;
}

void CCorvaletDoc::ShowContent(const CPluginContent& content)
{
    if (CCorvaletView* form = GetForm()) {
        form->SetPlugInName(content.name);
        form->SetPlugInVersion(content.version);
        form->SetPlugInProvider(content.provider);
        form->SetPlugInDescription(content.description);
    }
    if (CCorvaletList* list = GetList()) {
        list->DeleteAllRows();
        for (const CPluginRow& row : content.rows)
            list->InsertRow(row);
    }
    m_otherGeneral = content.otherGeneral;
}

CPluginContent CCorvaletDoc::ReadContent(const char* path, BOOL bGerman)
{
    CPluginContent content;
    content.name = ReadPluginGeneral(path, "Name");
    content.version = ReadPluginGeneral(path, "Version");
    content.provider = ReadPluginGeneral(path, "Provider");
    content.description = ReadPluginGeneral(path, bGerman ? "Erlaeuterung" : "Description");
    content.otherGeneral = ReadPluginOtherGeneral(path);
    std::vector<CPluginEntry> entries = ReadPluginEntries(path);
    for (const CPluginEntry& entry : entries) {
        // A cut entry would name another target: it is not shown at all.
        if (!entry.tooLong)
            content.rows.push_back(PluginEntryRow(entry));
    }
    return content;
}

int CCorvaletDoc::SavePlugIn(BOOL bAskForFile)
{
    CString path = m_strPlugInPath;
    if (bAskForFile || path.IsEmpty()) {
        if (!GetAsker().ChooseSaveFile(OwnerWindow(), GetLngString("General", "40120"), GetPlugInFolder(), path))
            return 0;
    }
    CPluginContent content = CollectContent();
    CPluginWriteError error;
    if (!WritePluginFile(path, content, &error)) {
        CString text;
        if (error.row >= 0) {
            const char* key = error.refusal == PLUGIN_ROW_SEMICOLON  ? "22740"
                              : error.refusal == PLUGIN_ROW_TOO_LONG ? "22750"
                                                                     : "22760";
            const CPluginRow& row = content.rows[(size_t)error.row];
            text = GetLngString("Holberin", key, "not found") + "\n\n" + row.path + "\n" + row.kind + " / " +
                   row.action + " / " + row.detail;
        } else {
            text = GetLngString("Holberin", "22760", "not found") + "\n\n" + path;
        }
        GetAsker().Ask(OwnerWindow(), text, AfxGetAppName(), MB_OK | MB_ICONERROR);
        return 0;
    }
    m_strPlugInPath = path;
    AfxGetApp()->AddToRecentFileList(path);
    if (CMainFrame* frame = GetFrame())
        frame->SetModified(FALSE);
    return 1;
}

BOOL CCorvaletDoc::QuerySaveChanges()
{
    CMainFrame* frame = GetFrame();
    if (!frame || !frame->IsModified())
        return TRUE;
    switch (AskLng(OwnerWindow(), "Holberin", "22680", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return SavePlugIn(FALSE) == 1;
    case IDNO: return TRUE;
    default: return FALSE;
    }
}

BOOL CCorvaletDoc::OpenPlugIn(const char* pszPath)
{
    if (!QuerySaveChanges())
        return FALSE;
    m_bFileRead = TRUE;
    CString path = pszPath ? pszPath : "";
    if (!pszPath && !GetAsker().ChooseOpenFile(OwnerWindow(), GetLngString("General", "40120"), path))
        return FALSE;
    if (!FileExists(path)) {
        GetAsker().Ask(OwnerWindow(), GetLngString("Holberin", "22770", "not found") + "\n\n" + path, AfxGetAppName(),
                       MB_OK | MB_ICONERROR);
        return FALSE;
    }
    BOOL german = GetIniString(CString("Pirt"), CString("Language"), INI_PIRT) == "German";
    ShowContent(ReadContent(path, german));
    m_strPlugInPath = path;
    AfxGetApp()->AddToRecentFileList(path);
    if (CMainFrame* frame = GetFrame()) {
        frame->SetModified(FALSE);
        frame->SendMessage(WM_PLUGIN_COUNT);
    }
    return TRUE;
}

BOOL CCorvaletDoc::OnOpenDocument(const char* pszPathName)
{
    if (!OpenPlugIn(pszPathName))
        return FALSE;
    m_bOpenedByFramework = TRUE;
    return TRUE;
}

void CCorvaletDoc::OnFileNew()
{
    if (!QuerySaveChanges())
        return;
    CPluginContent empty;
    ShowContent(empty);
    // A new plug-in has no file yet: the next Save asks for one.
    m_strPlugInPath.Empty();
    if (CMainFrame* frame = GetFrame()) {
        if (CCorvaletView* form = GetForm())
            form->SendMessage(WM_PLUGIN_CLEAR);
        frame->SetModified(FALSE);
        frame->SendMessage(WM_PLUGIN_COUNT);
    }
}

void CCorvaletDoc::OnFileOpen() { OpenPlugIn(nullptr); }

void CCorvaletDoc::OnFileSave() { SavePlugIn(FALSE); }

void CCorvaletDoc::OnFileSaveAs() { SavePlugIn(TRUE); }
