// Document/view architecture: a document, its views, the single-document
// template that creates document, frame and view together, creation of
// classes by run-time class records, and the command-line information.
#pragma once
#include "fw/frame.h"
#include "fw/commctrls.h"
#include <vector>
#include <type_traits>

class CDocument;
class CView;
class CDocTemplate;

// ---------------------------------------------------------------- run-time classes

// A class record that can create an object of its class (for classes whose
// objects the framework makes, such as frames, documents and views).
struct FW_API CRuntimeClass
{
    const char* m_lpszClassName;
    CCmdTarget* (*m_pfnCreateObject)();

    CCmdTarget* CreateObject() const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNCREATE(class_name) \
public: \
    static const CRuntimeClass class##class_name; \
    static CCmdTarget* CreateObject(); \
    virtual const CRuntimeClass* GetRuntimeClass() const;

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    static_assert(std::is_base_of<base_class_name, class_name>::value, \
                  #class_name " must derive from " #base_class_name); \
    CCmdTarget* class_name::CreateObject() { return new class_name; } \
    const CRuntimeClass class_name::class##class_name = {#class_name, &class_name::CreateObject}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return &class##class_name; }

// Passed through frame creation so the frame can make its view.
struct CCreateContext
{
    const CRuntimeClass* m_pNewViewClass;
    CDocument* m_pCurrentDoc;
    CDocTemplate* m_pNewDocTemplate;
    CView* m_pLastView;
    CFrameWnd* m_pCurrentFrame;
};

#ifndef AFX_WS_DEFAULT_VIEW
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)
#endif

// ---------------------------------------------------------------- CDocument

class FW_API CDocument : public CCmdTarget
{
public:
    CDocument();
    virtual ~CDocument();

    static const CRuntimeClass classCDocument;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCDocument; }

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const char* pszTitle);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // Views of the document, in the order they were added.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    int GetViewCount() const { return (int)m_views.size(); }
    CView* GetView(int nIndex) const { return m_views[nIndex]; }
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CCmdTarget* pHint = nullptr);

    virtual BOOL OnNewDocument();
    // Reads the file into the document (the framework's opens: command line,
    // dropped file, recent-file list). The default starts the document anew.
    virtual BOOL OnOpenDocument(const char* pszPathName);
    virtual void DeleteContents() {}
    virtual void OnCloseDocument();

protected:
    friend class CDocTemplate;
    CString m_strTitle;
    BOOL m_bModified;
    CDocTemplate* m_pDocTemplate;
    std::vector<CView*> m_views;
    BOOL m_bAutoDelete;
};

// ---------------------------------------------------------------- CView

class FW_API CView : public CWnd
{
public:
    CView();
    virtual ~CView();

    static const CRuntimeClass classCView;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCView; }

    CDocument* GetDocument() const { return m_pDocument; }

    // After the frame and the document are complete, before the first show.
    virtual void OnInitialUpdate();
    // The document changed (UpdateAllViews); the default repaints.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CCmdTarget* pHint);
    virtual void OnDraw(CDC* pDC);

    // A form is a view whose child controls take the keyboard
    // (WS_EX_CONTROLPARENT, set in PreCreateWindow): the focus given to it
    // goes to its first tab stop, and Tab walks its controls (CFrameWnd).
    BOOL IsForm() const { return m_hWnd && (GetExStyle() & WS_EX_CONTROLPARENT) != 0; }

    // Commands go to the view, then to its document.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual int OnCreate(LPCREATESTRUCT lpcs);
    virtual void OnDestroy();
    // Views are made by the template with new: the window's end deletes them.
    virtual void PostNcDestroy();

protected:
    friend class CDocument;
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    CDocument* m_pDocument;
};

// A view that is a list control (report lists with check boxes and the like).
class FW_API CListView : public CView
{
public:
    CListView();
    virtual ~CListView();

    static const CRuntimeClass classCListView;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCListView; }

    // The view's own window seen as a list control: CListCtrl adds no data
    // to CWnd, so the same object serves both.
    CListCtrl& GetListCtrl() const;

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void OnDraw(CDC* pDC);
};

// ---------------------------------------------------------------- templates

class FW_API CDocTemplate : public CCmdTarget
{
public:
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
    virtual ~CDocTemplate();

    UINT GetResourceID() const { return m_nIDResource; }
    // Pieces of the template string (resource nIDResource): 0 window title,
    // 1 document name, 2 file-new name, ...
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    BOOL GetDocString(CString& rString, DocStringIndex index) const;

    virtual CDocument* CreateNewDocument();
    // Creates the frame (LoadFrame of the resource id) and its view.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual CDocument* OpenDocumentFile(const char* pszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void CloseAllDocuments();

    // Makes a view of the template's view class in the frame.
    CView* CreateView(CFrameWnd* pFrame, CDocument* pDoc);

protected:
    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

class FW_API CSingleDocTemplate : public CDocTemplate
{
public:
    CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                       const CRuntimeClass* pViewClass);
    virtual ~CSingleDocTemplate();

    CDocument* GetDocument() const { return m_pOnlyDoc; }
    // The frame while its window exists, else null.
    CFrameWnd* GetFrame() const;
    // The one document: made with its frame and views the first time; later
    // calls reuse it. A path is read by the document's OnOpenDocument once
    // its views exist (and before the frame is first shown); without one the
    // document starts anew. Null when the document could not be opened.
    virtual CDocument* OpenDocumentFile(const char* pszPathName, BOOL bMakeVisible = TRUE);
    virtual void CloseAllDocuments();
    // Called by the document when it goes.
    void RemoveDocument(CDocument* pDoc);

protected:
    CDocument* m_pOnlyDoc;
    CFrameWnd* m_pFrame;
    HWND m_hFrameWnd;
};

// ---------------------------------------------------------------- command line

class FW_API CCommandLineInfo
{
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 };

    CCommandLineInfo();
    virtual ~CCommandLineInfo();
    // One argument, flag (after "/" or "-") or parameter.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    int m_nShellCommand;
    CString m_strFileName;
};

// ---------------------------------------------------------------- the application side

// The document templates of the process and the shell-command processing
// behind CWinApp's AddDocTemplate / ProcessShellCommand / OnFileNew.
FW_API void FwAddDocTemplate(CDocTemplate* pTemplate);
FW_API int FwGetDocTemplateCount();
FW_API CDocTemplate* FwGetDocTemplate(int nIndex);
// Deletes every template (at the end of the program).
FW_API void FwFreeDocTemplates();
// Splits the process command line into parameters and flags.
FW_API void FwParseCommandLine(CCommandLineInfo& rCmdInfo);
// A new empty document through the first template.
FW_API BOOL FwOnFileNew();
// Carries out the parsed command (only FileNew and FileNothing make sense for
// a program without document files; anything else starts a new document).
FW_API BOOL FwProcessShellCommand(CCommandLineInfo& rCmdInfo);
