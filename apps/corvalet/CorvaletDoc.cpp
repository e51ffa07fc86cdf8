// The plug-in document: New, Open, Save and Save As.
#include "CorvaletDoc.h"
#include "CorvaletView.h"
#include "CorvaletList.h"
#include "MainFrm.h"
#include "Asker.h"
#include "resource.h"
#include "pirt.h"
#include "pathlayer.h"
#include "fw/handle.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(CCorvaletDoc, CDocument)

BEGIN_MESSAGE_MAP(CCorvaletDoc, CDocument)
    ON_COMMAND(ID_NEW, OnFileNew)
    ON_COMMAND(ID_OPEN, OnFileOpen)
    ON_COMMAND(ID_SAVE, OnFileSave)
    ON_COMMAND(ID_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CString GetPlugInFolder()
{
    CString folder = UserPluginFolder();
    if (!folder.IsEmpty())
        CreateFullPath(folder);
    return folder;
}

namespace {

// The number of an entry key: the prefix in any case and digits without a
// leading zero, as the profile calls find "File3"; -1 for any other name.
int EntryNumber(const CString& key, const char* prefix)
{
    int length = (int)strlen(prefix);
    if (key.GetLength() <= length || key.Left(length).CompareNoCase(prefix) != 0)
        return -1;
    CString digits = key.Mid(length);
    if (digits.SpanIncluding("0123456789") != digits || digits.GetLength() > 9 ||
        (digits[0] == '0' && digits.GetLength() > 1))
        return -1;
    return atoi(digits);
}

// The last-write time of a file; 0 when it cannot be read.
ULONGLONG LastWriteTime(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return 0;
    return ((ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
}

bool IsEntrySection(const CString& name)
{
    if (name.CompareNoCase("General") == 0)
        return true;
    for (int i = 0; i < PLUGIN_SECTION_COUNT; ++i)
        if (name.CompareNoCase(GetPluginSection((PluginSection)i).name) == 0)
            return true;
    return false;
}

} // namespace

CCorvaletDoc::CCorvaletDoc() : m_bOpenedByFramework(FALSE), m_bFileRead(FALSE), m_openedWriteTime(0) {}

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
    content.kept = m_kept;
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
    m_kept = content.kept;
}

CPluginContent CCorvaletDoc::ReadContent(const char* path, BOOL bGerman)
{
    CPluginContent content;
    const CProfileSection general(path, "General");
    content.name = general.Value("Name");
    content.version = general.Value("Version");
    content.provider = general.Value("Provider");
    content.description = general.Value(bGerman ? "Erlaeuterung" : "Description");
    content.otherGeneral = ReadPluginOtherGeneral(path);
    for (int i = 0; i < PLUGIN_SECTION_COUNT; ++i) {
        const PluginSectionInfo& section = GetPluginSection((PluginSection)i);
        // The entries a reader reaches: from 0 up to the first missing or
        // empty value. A cut entry would name another target: it is kept
        // aside, as is one whose action the list has no row for.
        const CProfileSection values(path, section.name);
        const std::vector<CString> entries = ReadReachedEntries(values, section);
        const int reached = (int)entries.size();
        for (const CString& raw : entries) {
            CPluginEntry entry;
            if (ParsePluginEntry(section.section, raw, entry) && !entry.tooLong) {
                content.rows.push_back(PluginEntryRow(entry));
            } else {
                CPluginKeptValue kept;
                kept.section = section.name;
                kept.value = raw;
                content.kept.push_back(kept);
            }
        }
        // Entries after the gap, in the order of their numbers, and keys of
        // other names.
        std::vector<std::pair<int, CPluginKeptValue>> afterGap;
        for (const CString& name : ReadProfileNames(path, section.name)) {
            int number = EntryNumber(name, section.keyPrefix);
            if (number >= 0 && number < reached)
                continue;
            CPluginKeptValue kept;
            kept.section = section.name;
            kept.value = values.Value(name);
            if (number < 0) {
                kept.key = name;
                content.kept.push_back(kept);
            } else if (!kept.value.IsEmpty()) {
                kept.afterGap = 1;
                afterGap.push_back(std::make_pair(number, kept));
            }
        }
        std::stable_sort(afterGap.begin(), afterGap.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& kept : afterGap)
            content.kept.push_back(kept.second);
    }
    for (const CString& sectionName : ReadProfileNames(path, nullptr)) {
        if (IsEntrySection(sectionName))
            continue;
        const CProfileSection values(path, sectionName);
        for (const CString& name : ReadProfileNames(path, sectionName)) {
            CPluginKeptValue kept;
            kept.section = sectionName;
            kept.key = name;
            kept.value = values.Value(name);
            content.kept.push_back(kept);
        }
    }
    return content;
}

const char* CCorvaletDoc::PlugInFileRefusal(const char* path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "22770";
    // The profile calls read a file they cannot open as empty.
    CHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return "22770";
    for (const CString& name : ReadProfileNames(path, nullptr))
        if (name.CompareNoCase("General") == 0)
            return nullptr;
    return "22830";
}

int CCorvaletDoc::SavePlugIn(BOOL bAskForFile)
{
    CString path = m_strPlugInPath;
    if (bAskForFile || path.IsEmpty()) {
        if (!GetAsker().ChooseSaveFile(OwnerWindow(), GetLngString("General", "40120"), GetPlugInFolder(), path))
            return 0;
    }
    // Another builder or an editor may have written the file since it was
    // read: replacing it would lose that without a word.
    const ULONGLONG writeTime = LastWriteTime(path);
    if (m_openedWriteTime != 0 && writeTime != 0 && writeTime != m_openedWriteTime &&
        path.CompareNoCase(m_strPlugInPath) == 0 &&
        GetAsker().Ask(OwnerWindow(), GetLngString("Holberin", "22900", "not found") + "\n\n" + path,
                       AfxGetAppName(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
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
    m_openedWriteTime = LastWriteTime(path);
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
    // The file read is the file a save replaces: never a relative name that
    // another current folder would resolve elsewhere. Only a plug-in file
    // becomes the document, so that Save cannot write an empty plug-in over
    // anything else.
    CString absolute = CanonicalPath(path);
    const char* refusal = absolute.IsEmpty() ? "22770" : PlugInFileRefusal(absolute);
    if (refusal) {
        GetAsker().Ask(OwnerWindow(), GetLngString("Holberin", refusal, "not found") + "\n\n" + path, AfxGetAppName(),
                       MB_OK | MB_ICONERROR);
        return FALSE;
    }
    path = absolute;
    // Taken before the read: a change made while it reads is one since.
    m_openedWriteTime = LastWriteTime(path);
    ShowContent(ReadContent(path, IsGermanChosen()));
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
    m_openedWriteTime = 0;
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
