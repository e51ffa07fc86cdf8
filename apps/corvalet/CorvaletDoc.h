// CCorvaletDoc: the plug-in document. The content lives in the header form
// and the item list; the document reads a plug-in file into them and writes
// them out through the plug-in file module.
#pragma once
#include "fw/framework.h"
#include "pluginfile.h"
#include <utility>
#include <vector>

class CCorvaletView;
class CCorvaletList;
class CMainFrame;

class CCorvaletDoc : public CDocument
{
    DECLARE_DYNCREATE(CCorvaletDoc)
public:
    CCorvaletDoc();
    virtual ~CCorvaletDoc();

    // Path of the plug-in file last opened or saved; empty while untitled.
    CString m_strPlugInPath;
    // The framework opened a file (command line, drop, recent-file list).
    BOOL m_bOpenedByFramework;
    // A read was started (also one the user then cancelled).
    BOOL m_bFileRead;
    // The [General] keys of the file other than the builder's five (Admin,
    // Installed, ...): kept so that a save writes them back.
    std::vector<std::pair<CString, CString>> m_otherGeneral;
    // What the list cannot show (entries with an unknown action, too long,
    // after a gap; other keys and sections): kept so that a save writes it
    // back as it was.
    std::vector<CPluginKeptValue> m_kept;
    // Last-write time of m_strPlugInPath when it was opened or saved (0 when
    // none): a save asks before it replaces a file changed since.
    ULONGLONG m_openedWriteTime;

    // Writes the plug-in, asking for a file when bAskForFile is set or the
    // document is untitled. 1 when written; 0 when the dialog was cancelled,
    // the user kept a file changed on disk since it was opened, a row was
    // refused or the write failed (the old file then stays as it
    // was, the document stays modified, and a message says why).
    int SavePlugIn(BOOL bAskForFile);
    // Asks to save changes, then reads pszPath, or the file the open dialog
    // gives when pszPath is NULL. FALSE when nothing was read.
    BOOL OpenPlugIn(const char* pszPath);
    // Before Open and New: Yes saves, No goes on, Cancel (or a save that did
    // not happen) stops. TRUE to go on.
    BOOL QuerySaveChanges();
    // The content of a plug-in file as the builder shows it: the description
    // from Erlaeuterung when bGerman, else Description; the rows of the
    // entries a reader runs, and everything else of the file kept aside.
    static CPluginContent ReadContent(const char* path, BOOL bGerman);
    // Why a file cannot become the document ([Holberin] key of the message):
    // "22770" when it cannot be read, "22830" when it has no [General]
    // section; null for a plug-in file.
    static const char* PlugInFileRefusal(const char* path);

    // The framework's opens read the file without a dialog.
    virtual BOOL OnOpenDocument(const char* pszPathName);

    CCorvaletView* GetForm() const;
    CCorvaletList* GetList() const;
    CMainFrame* GetFrame() const;

    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

protected:
    CPluginContent CollectContent() const;
    void ShowContent(const CPluginContent& content);
    HWND OwnerWindow() const;

    DECLARE_MESSAGE_MAP()
};

// The folder the save dialog starts in (created when missing).
CString GetPlugInFolder();
