// The cookie keep-list manager: the Internet Explorer cookie files that the
// cookie cleaning deletes, and those it keeps. Every move is saved at once.
#pragma once
#include "fw/framework.h"
#include "resource.h"
#include "themedframe.h"

class CManageCookies : public CThemedDialog
{
public:
    enum { IDD = IDD_MANAGE_COOKIES };
    explicit CManageCookies(CWnd* pParent = nullptr);

    CListBox m_listDelete;
    CListBox m_listKeep;
    // TRUE once the keep list was read: until then nothing is moved or
    // saved, since a save would drop the names that were never read.
    BOOL m_keepListRead;

    // Rebuilds both lists from the cookie folder and the keep list.
    void LoadLists();

    afx_msg void OnMoveToKeep();
    afx_msg void OnMoveToDelete();
    afx_msg void OnViewCookie();
    afx_msg void OnSelectDeleteList();
    afx_msg void OnSelectKeepList();

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;

    // Moves the selected name of one list to the other and saves.
    void MoveSelected(CListBox& from, CListBox& to);
    // Writes the keep list; on failure tells the user and shows the stored
    // lists again.
    void SaveKeepList();
    // The selection and button states of a freshly filled dialog.
    void SelectFirst();
    void EnableButtons(BOOL moveToKeep, BOOL moveToDelete, BOOL view);
    void ShowWithOwner(int nCmdShow);
    // Shows [Brisvane] key, a line break and the detail (a path or command).
    void ShowError(const char* key, const CString& detail);
    // The message box; tests answer it instead.
    virtual int ShowMessage(const CString& text, UINT type);

    DECLARE_MESSAGE_MAP()
};
