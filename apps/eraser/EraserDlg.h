// The eraser's main dialog: collects paths (file dialog, drag and drop, the
// Delete key) and wipes them in one run with a progress window.
#pragma once

#include "fw/framework.h"
#include "themedframe.h"
#include "ImageButton.h"
#include "VisualThemeHelper.h"
#include "progressdlg.h"
#include "resource.h"

#include <memory>
#include <vector>

class CShredderFunctions;

// The progress window of a wipe run. It cannot be closed by the user: the run
// owns it, writes into its list until the last path is done and destroys it.
// The close box, Escape and Enter do nothing while the run lasts.
class CEraserProgressDlg : public CRunProgressDlg
{
public:
    explicit CEraserProgressDlg(CWnd* pParent = nullptr);
};

class CEraserDlg : public CThemedDialog
{
public:
    enum { IDD = IDD_Eraser_DIALOG };

    explicit CEraserDlg(CWnd* pParent = nullptr);
    virtual ~CEraserDlg();

    virtual BOOL PreTranslateMessage(MSG* pMsg) override;

    // Appends a path at the end of the list, selects it and enables the
    // delete and start buttons.
    void AppendPath(const CString& path);
    // The listed paths, in list order.
    std::vector<CString> GetPaths() const;
    CListBox& GetPathList() { return m_listFiles; }
    // The progress window of the run going on, null between runs.
    CEraserProgressDlg* GetRunProgress() const { return m_pRunProgress; }

    // The wipe run over every listed path (no confirmation).
    void WipeListedFiles();

    // Command handlers (public so that the commands can be driven directly).
    afx_msg void OnAddFile();
    afx_msg void OnDeleteFile();
    afx_msg void OnStartWipe();
    afx_msg void OnPreferences();
    afx_msg void OnHelpMe();
    afx_msg void OnWebsite();
    afx_msg void OnAbout();
    afx_msg void OnAppExit();
    afx_msg void OnDropFiles(HDROP hDropInfo);

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;

    // Message boxes of the run and the confirmation; a derived class may
    // answer them without showing a window.
    virtual int ShowMessage(const CString& text, const CString& caption, UINT type);
    virtual int AskConfirmation(const CString& text, const CString& caption, UINT type);
    // Called with the progress window of a run after the last path, before the
    // window is destroyed.
    virtual void OnRunEnding(CEraserProgressDlg* pProgress);

    // The caption of the program's message boxes.
    CString GetAppName() const;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDestroy();
    afx_msg void OnUpdateDeleteFile(CCmdUI* pCmdUI);

    // The Delete key removes the selected path, wherever the focus is.
    BOOL FilterKey(const MSG* pMsg);
    static LRESULT CALLBACK KeyFilterProc(int nCode, WPARAM wParam, LPARAM lParam);
    void InstallKeyHook();
    void RemoveKeyHook();

    void InitButtons();
    void SetLanguageTexts();
    void EnableRunButtons(BOOL bEnable);

    DECLARE_MESSAGE_MAP()

protected:
    HICON m_hIcon;
    CVisualThemeHelper m_themeHelper;
    CStyledImageButton m_btnAddFile;
    CStyledImageButton m_btnDeleteFile;
    // The progress windows of past runs, kept until the dialog is destroyed.
    std::vector<std::unique_ptr<CEraserProgressDlg>> m_progressDlgs;
    CListBox m_listFiles;
    // TRUE while a wipe run is going on.
    BOOL m_bRunning;
    CEraserProgressDlg* m_pRunProgress;
};
