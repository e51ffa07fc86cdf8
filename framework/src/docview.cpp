// Document/view architecture and the command line.
#include "fw/framework.h"
#include "fw/docview.h"
#include <shellapi.h>

// ---------------------------------------------------------------- CRuntimeClass

CCmdTarget* CRuntimeClass::CreateObject() const
{
    ASSERT(m_pfnCreateObject != nullptr);
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

const CRuntimeClass CDocument::classCDocument = {"CDocument", nullptr};
const CRuntimeClass CView::classCView = {"CView", nullptr};
const CRuntimeClass CListView::classCListView = {"CListView", nullptr};

// ---------------------------------------------------------------- CDocument

CDocument::CDocument() : m_bModified(FALSE), m_pDocTemplate(nullptr), m_bAutoDelete(TRUE) {}

CDocument::~CDocument()
{
    // Views still attached outlive us only as windows: they must not point here.
    for (size_t i = 0; i < m_views.size(); ++i)
        m_views[i]->m_pDocument = nullptr;
    CSingleDocTemplate* single = dynamic_cast<CSingleDocTemplate*>(m_pDocTemplate);
    if (single)
        single->RemoveDocument(this);
}

void CDocument::SetTitle(const char* pszTitle) { m_strTitle = pszTitle ? pszTitle : ""; }

void CDocument::AddView(CView* pView)
{
    ASSERT(pView && pView->m_pDocument == nullptr);
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    for (size_t i = 0; i < m_views.size(); ++i) {
        if (m_views[i] == pView) {
            m_views.erase(m_views.begin() + i);
            pView->m_pDocument = nullptr;
            return;
        }
    }
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CCmdTarget* pHint)
{
    for (size_t i = 0; i < m_views.size(); ++i)
        if (m_views[i] != pSender)
            m_views[i]->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_bModified = FALSE;
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char*)
{
    DeleteContents();
    m_bModified = FALSE;
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

// ---------------------------------------------------------------- CView

CView::CView() : m_pDocument(nullptr) {}

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CCmdTarget*)
{
    if (m_hWnd)
        Invalidate(TRUE);
}

void CView::OnDraw(CDC*) {}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

void CView::OnSetFocus(CWnd*)
{
    HWND first = IsForm() ? ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE) : nullptr;
    if (first && ::IsChild(m_hWnd, first) && (::GetWindowLongPtrA(first, GWL_STYLE) & WS_TABSTOP))
        ::SetFocus(first);
    else
        Default();
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = GetDefaultClassName();
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    CCreateContext* context = lpcs ? (CCreateContext*)lpcs->lpCreateParams : nullptr;
    if (context && context->m_pCurrentDoc && !m_pDocument)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    // The frame must not keep routing to a view that is going away.
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->GetActiveView() == this)
        frame->SetActiveView(nullptr);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy() { delete this; }

// ---------------------------------------------------------------- CListView

CListView::CListView() {}

CListView::~CListView() {}

CListCtrl& CListView::GetListCtrl() const
{
    static_assert(sizeof(CListCtrl) == sizeof(CWnd), "CListCtrl must add no data to CWnd");
    return *(CListCtrl*)static_cast<const CWnd*>(this);
}

BOOL CListView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.lpszClass = WC_LISTVIEWA;
    return CView::PreCreateWindow(cs);
}

void CListView::OnDraw(CDC*) {}

// ---------------------------------------------------------------- CDocTemplate

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    m_strDocStrings.LoadString(nIDResource);
}

CDocTemplate::~CDocTemplate() {}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString = "";
    const char* p = m_strDocStrings;
    for (int i = 0; i < (int)index; ++i) {
        p = strchr(p, '\n');
        if (!p)
            return FALSE;
        ++p;
    }
    const char* end = strchr(p, '\n');
    rString = end ? CString(p).Left((int)(end - p)) : CString(p);
    return !rString.IsEmpty();
}

CDocument* CDocTemplate::CreateNewDocument()
{
    ASSERT(m_pDocClass && m_pDocClass->m_pfnCreateObject);
    CDocument* doc = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
    if (doc)
        doc->m_pDocTemplate = this;
    return doc;
}

CView* CDocTemplate::CreateView(CFrameWnd* pFrame, CDocument* pDoc)
{
    ASSERT(m_pViewClass && m_pViewClass->m_pfnCreateObject);
    CView* view = dynamic_cast<CView*>(m_pViewClass->CreateObject());
    if (!view)
        return nullptr;
    CCreateContext context = {m_pViewClass, pDoc, this, nullptr, pFrame};
    RECT rc = {0, 0, 0, 0};
    if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rc, pFrame, AFX_IDW_PANE_FIRST, &context)) {
        // A window that never existed sends no WM_NCDESTROY: delete it here.
        if (!view->m_hWnd)
            delete view;
        return nullptr;
    }
    if (pDoc && !view->GetDocument())
        pDoc->AddView(view);
    return view;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd*)
{
    ASSERT(m_pFrameClass && m_pFrameClass->m_pfnCreateObject);
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (!frame)
        return nullptr;
    CCreateContext context = {m_pViewClass, pDoc, this, nullptr, frame};
    // A frame whose window failed in WM_CREATE has already deleted itself
    // (PostNcDestroy), so the object is not touched after a failure.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    if (!frame->OnCreateClient(nullptr, &context)) {
        frame->DestroyWindow();
        return nullptr;
    }
    if (!frame->GetActiveView()) {
        // The first view of the document inside this frame becomes active.
        for (int i = 0; pDoc && i < pDoc->GetViewCount(); ++i) {
            CView* view = pDoc->GetView(i);
            if (view->m_hWnd && ::IsChild(frame->m_hWnd, view->m_hWnd)) {
                frame->SetActiveView(view);
                break;
            }
        }
        if (!frame->GetActiveView())
            frame->SetActiveView(
                dynamic_cast<CView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST))));
    }
    frame->RecalcLayout();
    return frame;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (!pContext || !pContext->m_pNewDocTemplate || !pContext->m_pNewViewClass)
        return TRUE;
    CView* view = pContext->m_pNewDocTemplate->CreateView(this, pContext->m_pCurrentDoc);
    if (!view)
        return FALSE;
    SetActiveView(view);
    return TRUE;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    ASSERT(pFrame);
    if (pDoc) {
        for (int i = 0; i < pDoc->GetViewCount(); ++i) {
            CView* view = pDoc->GetView(i);
            if (view->m_hWnd && ::IsChild(pFrame->m_hWnd, view->m_hWnd))
                view->OnInitialUpdate();
        }
    }
    // The frame keeps the title it gave itself at creation.
    pFrame->RecalcLayout();
    if (bMakeVisible)
        pFrame->ActivateFrame();
}

void CDocTemplate::CloseAllDocuments() {}

// ---------------------------------------------------------------- CSingleDocTemplate

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                       const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_pOnlyDoc(nullptr), m_pFrame(nullptr),
      m_hFrameWnd(nullptr)
{
}

CFrameWnd* CSingleDocTemplate::GetFrame() const
{
    // The frame deletes itself with its window: only a live window's object counts.
    if (m_hFrameWnd && ::IsWindow(m_hFrameWnd) && CWnd::FromHandlePermanent(m_hFrameWnd) == m_pFrame)
        return m_pFrame;
    return nullptr;
}

CSingleDocTemplate::~CSingleDocTemplate() { CloseAllDocuments(); }

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* pszPathName, BOOL bMakeVisible)
{
    if (m_pOnlyDoc && GetFrame()) {
        if (pszPathName) {
            if (!m_pOnlyDoc->OnOpenDocument(pszPathName))
                return nullptr;
        } else {
            if (!m_pOnlyDoc->OnNewDocument())
                return nullptr;
        }
        m_pOnlyDoc->UpdateAllViews(nullptr);
        return m_pOnlyDoc;
    }
    CDocument* doc = CreateNewDocument();
    if (!doc)
        return nullptr;
    m_pOnlyDoc = doc;
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    if (!frame) {
        m_pOnlyDoc = nullptr;
        delete doc;
        return nullptr;
    }
    m_pFrame = frame;
    m_hFrameWnd = frame->m_hWnd;
    CString title;
    GetDocString(title, docName);
    doc->SetTitle(title);
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    BOOL ok = doc->OnNewDocument();
    if (ok && pszPathName) {
        // The file is read once the views are complete.
        InitialUpdateFrame(frame, doc, FALSE);
        ok = doc->OnOpenDocument(pszPathName);
        if (ok && bMakeVisible)
            frame->ActivateFrame();
    } else if (ok) {
        InitialUpdateFrame(frame, doc, bMakeVisible);
    }
    if (!ok) {
        if (app && app->m_pMainWnd == frame)
            app->m_pMainWnd = nullptr;
        frame->DestroyWindow();
        m_pFrame = nullptr;
        m_hFrameWnd = nullptr;
        return nullptr;
    }
    return doc;
}

void CSingleDocTemplate::CloseAllDocuments()
{
    CFrameWnd* frame = GetFrame();
    if (frame)
        frame->DestroyWindow();
    m_pFrame = nullptr;
    m_hFrameWnd = nullptr;
    CDocument* doc = m_pOnlyDoc;
    m_pOnlyDoc = nullptr;
    delete doc;
}

// ---------------------------------------------------------------- CCommandLineInfo

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew)
{
}

CCommandLineInfo::~CCommandLineInfo() {}

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL)
{
    if (bFlag) {
        if (lstrcmpiA(pszParam, "nologo") == 0)
            m_bShowSplash = FALSE;
        else if (lstrcmpiA(pszParam, "embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (lstrcmpiA(pszParam, "automation") == 0)
            m_bRunAutomated = TRUE;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        // Made absolute now, against the folder the program was started in:
        // a relative name would later be resolved against whatever folder a
        // file dialog moved to, or read by the profile calls from the
        // Windows folder.
        char full[MAX_PATH];
        DWORD n = ::GetFullPathNameA(pszParam, MAX_PATH, full, nullptr);
        m_strFileName = n > 0 && n < MAX_PATH ? full : pszParam;
        m_nShellCommand = FileOpen;
    }
}

// ---------------------------------------------------------------- templates of the process

namespace {

std::vector<CDocTemplate*>& Templates()
{
    static std::vector<CDocTemplate*> templates;
    return templates;
}

} // namespace

void FwAddDocTemplate(CDocTemplate* pTemplate)
{
    ASSERT(pTemplate);
    Templates().push_back(pTemplate);
}

int FwGetDocTemplateCount() { return (int)Templates().size(); }

CDocTemplate* FwGetDocTemplate(int nIndex) { return Templates()[nIndex]; }

void FwFreeDocTemplates()
{
    std::vector<CDocTemplate*>& t = Templates();
    for (size_t i = 0; i < t.size(); ++i) {
        t[i]->CloseAllDocuments();
        delete t[i];
    }
    t.clear();
}

void FwParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (int i = 1; i < __argc; ++i) {
        const char* param = __argv[i];
        BOOL flag = FALSE;
        if (param[0] == '-' || param[0] == '/') {
            flag = TRUE;
            ++param;
        }
        rCmdInfo.ParseParam(param, flag, i == __argc - 1);
    }
}

BOOL FwOnFileNew()
{
    if (Templates().empty())
        return FALSE;
    return Templates()[0]->OpenDocumentFile(nullptr) != nullptr;
}

BOOL FwProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNothing: return TRUE;
    case CCommandLineInfo::FileOpen:
        if (Templates().empty())
            return FALSE;
        return Templates()[0]->OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default: return FwOnFileNew();
    }
}

// ---------------------------------------------------------------- the application's document members

CDocument* CWinApp::OpenDocumentFile(const char* pszFileName)
{
    if (Templates().empty() || !pszFileName)
        return nullptr;
    return Templates()[0]->OpenDocumentFile(pszFileName);
}

namespace {

// Sets the default value of a key below the root; FALSE when refused.
BOOL SetClassesValue(HKEY root, const CString& subKey, const CString& value)
{
    CRegKeyHandle key;
    if (::RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return FALSE;
    LONG r = ::RegSetValueExA(key, nullptr, 0, REG_SZ, (const BYTE*)(const char*)value, (DWORD)value.GetLength() + 1);
    return r == ERROR_SUCCESS;
}

BOOL RegisterFileType(HKEY root, const char* prefix, const CString& ext, const CString& typeId, const CString& typeName,
                      const CString& command)
{
    return SetClassesValue(root, CString(prefix) + typeId, typeName) &&
           SetClassesValue(root, CString(prefix) + typeId + "\\shell\\open\\command", command) &&
           SetClassesValue(root, CString(prefix) + ext, typeId);
}

} // namespace

BOOL CWinApp::RegisterShellFileTypes(BOOL)
{
    char exe[MAX_PATH + 1] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    exe[n < MAX_PATH ? n : MAX_PATH] = 0;
    // Quoted, so a program folder or a file name with blanks arrives whole.
    CString command = CString("\"") + exe + "\" \"%1\"";
    BOOL all = TRUE;
    for (size_t i = 0; i < Templates().size(); ++i) {
        CString ext, typeId, typeName;
        if (!Templates()[i]->GetDocString(ext, CDocTemplate::filterExt) ||
            !Templates()[i]->GetDocString(typeId, CDocTemplate::regFileTypeId))
            continue;
        Templates()[i]->GetDocString(typeName, CDocTemplate::regFileTypeName);
        if (!RegisterFileType(HKEY_CLASSES_ROOT, "", ext, typeId, typeName, command) &&
            !RegisterFileType(HKEY_CURRENT_USER, "Software\\Classes\\", ext, typeId, typeName, command))
            all = FALSE;
    }
    return all;
}
