// CEditorDlg: the modal dialog in which the user composes one entry (a
// file, folder or registry entry with its action); in add mode it appends a
// row to the item list, in edit mode it replaces the row it was opened on.
#pragma once
#include "fw/framework.h"
#include "EditorRow.h"
#include "themedframe.h"

class CCorvaletList;

// The dialogs' base: the themed layer's dialog.
typedef CThemedDialog CCorvaletDialogBase;

class CEditorDlg : public CCorvaletDialogBase
{
public:
    enum { IDD = 130 };
    explicit CEditorDlg(CWnd* pParent = nullptr);
    virtual ~CEditorDlg();

    CCorvaletList* m_pList;
    BOOL m_bEditMode;
    int m_nRow; // the row being edited
    CString m_strRowPath, m_strRowKind, m_strRowAction, m_strRowDetail;
    CString m_strFileName; // last chosen in the file dialog

    // The controls' state, and putting a state on them.
    CEditorState ReadState() const;
    void ShowState(const CEditorState& state);

    virtual BOOL OnInitDialog();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    virtual void OnOK();

protected:
    void ShowKind(int kind);
    void UpdateEnabling();
    void Enable(int nID, BOOL bEnable);

    afx_msg void OnKindChange();
    afx_msg void OnRadio(UINT nID);
    afx_msg void OnChoosePath();

    CFont m_pathFont;

    DECLARE_MESSAGE_MAP()
};
