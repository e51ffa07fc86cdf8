// The header form.
#include "CorvaletView.h"
#include "CorvaletList.h"
#include "resource.h"
#include "pirt.h"

IMPLEMENT_DYNCREATE(CCorvaletView, CView)

BEGIN_MESSAGE_MAP(CCorvaletView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_CONTROL_RANGE(EN_CHANGE, IDC_PLUGIN_NAME, IDC_PLUGIN_DESCRIPTION, OnEditChange)
    ON_MESSAGE(WM_PLUGIN_CLEAR, OnClear)
END_MESSAGE_MAP()

namespace {
const int kLeft = 20;
const int kMargin = 40;
const int kDescriptionTop = 295;

// The height of a one-line edit with a border that shows a whole line of the
// font, descenders included.
int EditHeight(HFONT font)
{
    CClientDC dc(static_cast<HWND>(nullptr));
    HGDIOBJ old = dc.SelectObject(font);
    TEXTMETRICA tm;
    dc.GetTextMetrics(&tm);
    dc.SelectObject(old);
    // The border and the edit's own inner margin, above and below.
    return tm.tmHeight + 4 * ::GetSystemMetrics(SM_CYBORDER) + 2;
}
} // namespace

CCorvaletView::CCorvaletView() : m_pList(nullptr), m_bFilling(FALSE) {}

CCorvaletView::~CCorvaletView() {}

BOOL CCorvaletView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    cs.dwExStyle |= WS_EX_CONTROLPARENT; // a form: Tab walks the header's controls
    return CView::PreCreateWindow(cs);
}

void CCorvaletView::OnDraw(CDC*) {}

int CCorvaletView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    static const char* const labelKeys[] = {"40730", "40740", "40750", "40760"};
    static const int labelTops[] = {140, 185, 230, 275};
    for (int i = 0; i < 4; ++i) {
        HWND h = ::CreateWindowExA(0, "STATIC", GetLngString("General", labelKeys[i]), WS_CHILD | WS_VISIBLE, kLeft,
                                   labelTops[i], 130, 18, m_hWnd, (HMENU)(UINT_PTR)IDC_FORM_LABEL,
                                   ::GetModuleHandleA(nullptr), nullptr);
        if (!h || !m_labels[i].SubclassWindow(h))
            return -1;
        m_labels[i].SetTransparent(TRUE);
        m_labels[i].SetFont("MS Sans Sarif", 14, FW_NORMAL, TRUE);
    }
    const struct
    {
        CButton* button;
        UINT id;
        const char* key;
        int top;
    } buttons[] = {{&m_add, ID_ADD, "82100", 20},
                   {&m_properties, ID_PROPERTIES, "12060", 60},
                   {&m_delete, ID_DELETE, "50010", 100}};
    for (const auto& b : buttons) {
        if (!b.button->Create(GetLngString("General", b.key), WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                              CRect(kLeft, b.top, 150, b.top + 25), this, b.id))
            return -1;
        b.button->SetFont(font);
    }
    const struct
    {
        CEdit* edit;
        UINT id;
        int top;
    } edits[] = {{&m_name, IDC_PLUGIN_NAME, 160},
                 {&m_version, IDC_PLUGIN_VERSION, 205},
                 {&m_provider, IDC_PLUGIN_PROVIDER, 250}};
    const int editHeight = EditHeight(font);
    for (const auto& e : edits) {
        if (!e.edit->Create(WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                            CRect(kLeft, e.top, 150, e.top + editHeight), this, e.id))
            return -1;
        e.edit->SetFont(font);
    }
    if (!m_description.Create(WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                  ES_WANTRETURN,
                              CRect(kLeft, kDescriptionTop, 150, kDescriptionTop + 62), this, IDC_PLUGIN_DESCRIPTION))
        return -1;
    m_description.SetFont(font);
    return 0;
}

void CCorvaletView::OnSize(UINT, int cx, int cy)
{
    Default();
    CWnd* controls[] = {&m_add, &m_properties, &m_delete, &m_name, &m_version, &m_provider, &m_description};
    for (CWnd* control : controls) {
        if (!control->m_hWnd)
            continue;
        CRect rect;
        control->GetWindowRect(&rect);
        ScreenToClient(&rect);
        int height = rect.Height();
        // The description reaches down to the form's bottom margin, whatever
        // size the window came back with.
        if (control == &m_description)
            height = cy - kDescriptionTop - kLeft > 20 ? cy - kDescriptionTop - kLeft : 20;
        control->MoveWindow(rect.left, rect.top, cx - kMargin > 0 ? cx - kMargin : 0, height);
    }
}

BOOL CCorvaletView::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (lParam && HIWORD(wParam) == BN_CLICKED && (id == ID_ADD || id == ID_PROPERTIES || id == ID_DELETE)) {
        // The buttons run the frame's commands, as the menu does.
        CFrameWnd* frame = GetParentFrame();
        if (frame)
            frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return TRUE;
    }
    return CView::OnCommand(wParam, lParam);
}

void CCorvaletView::OnEditChange(UINT)
{
    if (m_bFilling)
        return;
    CFrameWnd* frame = GetParentFrame();
    if (frame)
        frame->SendMessage(WM_PLUGIN_MODIFIED);
}

CString CCorvaletView::EditText(const CEdit& edit)
{
    CString text;
    if (edit.m_hWnd)
        edit.GetWindowText(text);
    return text;
}

void CCorvaletView::SetEditText(CEdit& edit, const char* psz)
{
    m_bFilling = TRUE;
    edit.SetWindowText(psz ? psz : "");
    m_bFilling = FALSE;
}

LRESULT CCorvaletView::OnClear(WPARAM, LPARAM)
{
    SetPlugInName("");
    SetPlugInVersion("");
    SetPlugInProvider("");
    SetPlugInDescription("");
    return 0;
}
