// CDialog: modal and modeless dialogs from a resource template or from a
// template in memory, with simple dialog data exchange.
#pragma once
#include "fw/wnd.h"

class FW_API CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_bFail(FALSE)
    {
    }
    BOOL m_bSaveAndValidate; // TRUE: controls -> members
    CWnd* m_pDlgWnd;
    BOOL m_bFail;
    void Fail() { m_bFail = TRUE; }
};

// Binds a control object to the dialog's control nIDC (once).
FW_API void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
FW_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
FW_API void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
FW_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
FW_API void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

class FW_API CDialog : public CWnd
{
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(const char* pszTemplateName, CWnd* pParentWnd = nullptr);
    virtual ~CDialog();

    // Modal: returns the EndDialog code, or -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    BOOL InitModalIndirect(const DLGTEMPLATE* pTemplate, CWnd* pParentWnd = nullptr);

    // Modeless.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(const char* pszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(const DLGTEMPLATE* pTemplate, CWnd* pParentWnd = nullptr);
    using CWnd::Create;

    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl) { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)SafeHwnd(pWndCtrl), 1); }
    void SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
    DWORD GetDefID() const { return (DWORD)::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0); }
    void MapDialogRect(LPRECT pRect) const { ::MapDialogRect(m_hWnd, pRect); }

    UINT m_nIDHelp;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

    static INT_PTR CALLBACK FwDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
    const DLGTEMPLATE* LoadTemplate(HGLOBAL* phRes = nullptr) const;
    HWND OwnerForModal() const;

    const char* m_lpszTemplateName; // resource name or MAKEINTRESOURCE id
    const DLGTEMPLATE* m_lpDialogTemplate;
    CWnd* m_pParentWnd;
    BOOL m_bModal;
};
