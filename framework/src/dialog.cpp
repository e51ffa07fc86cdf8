// CDialog: template loading, modal and modeless creation, data exchange.
#include "fw/dialog.h"
#include "fw/app.h"
#include "fw/controls.h"
#include <cstdlib>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_nIDHelp(0), m_lpszTemplateName(nullptr), m_lpDialogTemplate(nullptr), m_pParentWnd(nullptr), m_bModal(FALSE)
{
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_lpDialogTemplate(nullptr),
      m_pParentWnd(pParentWnd), m_bModal(FALSE)
{
}

CDialog::CDialog(const char* pszTemplateName, CWnd* pParentWnd)
    : m_nIDHelp(0), m_lpszTemplateName(pszTemplateName), m_lpDialogTemplate(nullptr), m_pParentWnd(pParentWnd),
      m_bModal(FALSE)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd))
        DestroyWindow();
}

const DLGTEMPLATE* CDialog::LoadTemplate(HGLOBAL* phRes) const
{
    if (m_lpDialogTemplate)
        return m_lpDialogTemplate;
    if (!m_lpszTemplateName)
        return nullptr;
    HINSTANCE modules[2] = {AfxGetResourceHandle(), ::GetModuleHandleA(nullptr)};
    for (HINSTANCE hInst : modules) {
        HRSRC hRsrc = ::FindResourceA(hInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
        if (!hRsrc)
            continue;
        HGLOBAL hRes = ::LoadResource(hInst, hRsrc);
        if (!hRes)
            continue;
        if (phRes)
            *phRes = hRes;
        return (const DLGTEMPLATE*)::LockResource(hRes);
    }
    return nullptr;
}

HWND CDialog::OwnerForModal() const
{
    HWND hOwner = SafeHwnd(m_pParentWnd);
    if (!hOwner) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain != this)
            hOwner = SafeHwnd(pMain);
    }
    // A modal dialog is owned by a top-level window, never by a child.
    while (hOwner && (::GetWindowLongPtrA(hOwner, GWL_STYLE) & WS_CHILD))
        hOwner = ::GetParent(hOwner);
    if (hOwner && !::IsWindow(hOwner))
        hOwner = nullptr;
    return hOwner;
}

INT_PTR CDialog::DoModal()
{
    const DLGTEMPLATE* pTemplate = LoadTemplate();
    if (!pTemplate || m_hWnd)
        return -1;
    m_bModal = TRUE;
    // The control that had the keyboard gets it back when the dialog closes.
    HWND hFocus = ::GetFocus();
    HookCreation();
    INT_PTR r = ::DialogBoxIndirectParamA(AfxGetInstanceHandle(), pTemplate, OwnerForModal(), FwDlgProc, (LPARAM)this);
    UnhookCreation();
    m_bModal = FALSE;
    if (m_hWnd)
        Detach(); // creation failed part-way
    if (hFocus && ::IsWindow(hFocus) && ::IsWindowVisible(hFocus) && ::IsWindowEnabled(hFocus) &&
        ::GetActiveWindow() == ::GetAncestor(hFocus, GA_ROOT))
        ::SetFocus(hFocus);
    return r;
}

BOOL CDialog::InitModalIndirect(const DLGTEMPLATE* pTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = pTemplate;
    m_lpszTemplateName = nullptr;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return pTemplate != nullptr;
}

BOOL CDialog::Create(const char* pszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = pszTemplateName;
    m_lpDialogTemplate = nullptr;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    const DLGTEMPLATE* pTemplate = LoadTemplate();
    if (!pTemplate)
        return FALSE;
    return CreateIndirect(pTemplate, m_pParentWnd);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    if (!m_nIDHelp)
        m_nIDHelp = nIDTemplate;
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(const DLGTEMPLATE* pTemplate, CWnd* pParentWnd)
{
    ASSERT(m_hWnd == nullptr);
    if (!pTemplate || m_hWnd)
        return FALSE;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    HWND hParent = SafeHwnd(m_pParentWnd);
    HookCreation();
    HWND h = ::CreateDialogIndirectParamA(AfxGetInstanceHandle(), pTemplate, hParent, FwDlgProc, (LPARAM)this);
    UnhookCreation();
    if (!h) {
        if (m_hWnd)
            Detach();
        return FALSE;
    }
    return AdoptCreatedWindow(h);
}

INT_PTR CALLBACK CDialog::FwDlgProc(HWND hDlg, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = (CDialog*)lParam;
    if (!pDlg)
        return TRUE;
    if (pDlg->m_hWnd == nullptr)
        pDlg->SubclassWindow(hDlg); // the hook did not see it
    return pDlg->OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult)
{
    ASSERT(::IsWindow(m_hWnd));
    if (m_hWnd)
        ::EndDialog(m_hWnd, nResult);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFail;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard navigation of a modeless dialog (a modal one has its own loop).
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWnd)
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}

// ------------------------------------------------------------- data exchange

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return; // bound already
    HWND h = ::GetDlgItem(SafeHwnd(pDX->m_pDlgWnd), nIDC);
    if (!h || !rControl.SubclassWindow(h))
        pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hDlg = SafeHwnd(pDX->m_pDlgWnd);
    if (pDX->m_bSaveAndValidate)
        pDX->m_pDlgWnd->GetDlgItemText(nIDC, value);
    else
        ::SetDlgItemTextA(hDlg, nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hDlg = SafeHwnd(pDX->m_pDlgWnd);
    if (pDX->m_bSaveAndValidate) {
        BOOL ok = FALSE;
        int v = (int)::GetDlgItemInt(hDlg, nIDC, &ok, TRUE);
        if (ok)
            value = v;
        else
            pDX->Fail();
    } else {
        ::SetDlgItemInt(hDlg, nIDC, (UINT)value, TRUE);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = ::GetDlgItem(SafeHwnd(pDX->m_pDlgWnd), nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(h, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(h, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    // The group starts at nIDC and runs through the following radio buttons
    // until the next WS_GROUP control.
    HWND hDlg = SafeHwnd(pDX->m_pDlgWnd);
    HWND h = ::GetDlgItem(hDlg, nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    do {
        if (::SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            } else {
                ::SendMessageA(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        h = ::GetWindow(h, GW_HWNDNEXT);
    } while (h && !(::GetWindowLongPtrA(h, GWL_STYLE) & WS_GROUP));
}
