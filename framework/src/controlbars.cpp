// Tool bar, status bar and their layout in the frame.
#include "fw/framework.h"
#include "fw/controlbars.h"

namespace {

// Resources of a program live in its executable.
HINSTANCE ResourceHandle() { return GetModuleHandleA(nullptr); }

const WORD RT_TOOLBAR_ID = 241;
const COLORREF TOOLBAR_MASK_COLOUR = RGB(192, 192, 192);

} // namespace

// ---------------------------------------------------------------- CControlBar

CControlBar::CControlBar() : m_dwStyle(0), m_dwDockStyle(0) {}

CControlBar::~CControlBar()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CControlBar::SizeParent(AFX_SIZEPARENTPARAMS* p)
{
    if (!(GetStyle() & WS_VISIBLE))
        return;
    RECT rect = p->rect;
    BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    CSize size = CalcFixedLayout(p->bStretch, horz);
    if (m_dwStyle & CBRS_ALIGN_TOP) {
        rect.bottom = rect.top + size.cy;
        p->rect.top += size.cy;
    } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        rect.top = rect.bottom - size.cy;
        p->rect.bottom -= size.cy;
    } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
        rect.right = rect.left + size.cx;
        p->rect.left += size.cx;
    } else if (m_dwStyle & CBRS_ALIGN_RIGHT) {
        rect.left = rect.right - size.cx;
        p->rect.right -= size.cx;
    } else {
        return;
    }
    p->sizeTotal.cx += rect.right - rect.left;
    p->sizeTotal.cy += rect.bottom - rect.top;
    if (p->hDWP)
        p->hDWP = ::DeferWindowPos(p->hDWP, m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, SWP_NOACTIVATE | SWP_NOZORDER);
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZEPARENT: SizeParent((AFX_SIZEPARENTPARAMS*)lParam); return 0;
    case WM_IDLEUPDATECMDUI:
        if (GetStyle() & WS_VISIBLE) {
            CWnd* target = CWnd::FromHandle(::GetParent(m_hWnd));
            if (target)
                OnUpdateCmdUI(target, (BOOL)wParam);
        }
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------- CToolBar

namespace {

// Sets a tool-bar button's state from the command handlers.
class CToolCmdUI : public CCmdUI
{
public:
    virtual void Enable(BOOL bOn = TRUE)
    {
        m_bEnableChanged = TRUE;
        HWND bar = (HWND)m_pOther->m_hWnd;
        ::SendMessageA(bar, TB_ENABLEBUTTON, m_nID, MAKELONG(bOn ? TRUE : FALSE, 0));
    }
    virtual void SetCheck(int nCheck = 1)
    {
        HWND bar = (HWND)m_pOther->m_hWnd;
        ::SendMessageA(bar, TB_CHECKBUTTON, m_nID, MAKELONG(nCheck ? TRUE : FALSE, 0));
    }
    virtual void SetText(const char*)
    {
        // Button texts are set by the program, not by the update handlers.
    }
};

} // namespace

CToolBar::CToolBar() : m_hImageList(nullptr)
{
    m_sizeButton.cx = 23;
    m_sizeButton.cy = 22;
    m_sizeImage.cx = 16;
    m_sizeImage.cy = 15;
}

CToolBar::~CToolBar()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect, UINT nID)
{
    ASSERT(pParentWnd && ::IsWindow(pParentWnd->m_hWnd));
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD ws = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    if (m_dwStyle & CBRS_TOOLTIPS)
        ws |= TBSTYLE_TOOLTIPS;
    RECT rc = {0, 0, 0, 0};
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, ws, rc, pParentWnd, nID))
        return FALSE;
    ::SendMessageA(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }

BOOL FwReadToolBarResource(HINSTANCE hInst, const char* pszResourceName, SIZE& image, std::vector<UINT>& ids)
{
    ids.clear();
    HRSRC res = ::FindResourceA(hInst, pszResourceName, MAKEINTRESOURCEA(RT_TOOLBAR_ID));
    if (!res)
        return FALSE;
    HGLOBAL global = ::LoadResource(hInst, res);
    DWORD size = ::SizeofResource(hInst, res);
    const BYTE* data = global ? (const BYTE*)::LockResource(global) : nullptr;
    if (!data || size < 8)
        return FALSE;
    // Two layouts exist: windres writes DWORD width, height, count and then
    // count DWORD ids; the other compiler writes WORD version 1, width,
    // height, count and count WORD ids. An id of 0 is a separator.
    DWORD width = 0, height = 0;
    DWORD d[3];
    if (size >= 12) {
        memcpy(d, data, 12);
        if (size == 12 + (d[2] * 4) && d[2] < 0x10000) {
            width = d[0];
            height = d[1];
            for (DWORD i = 0; i < d[2]; ++i) {
                DWORD id;
                memcpy(&id, data + 12 + i * 4, 4);
                ids.push_back(id);
            }
        }
    }
    if (!width) {
        struct
        {
            WORD wVersion, wWidth, wHeight, wItemCount;
        } head;
        memcpy(&head, data, sizeof(head));
        if (head.wVersion != 1 || size < sizeof(head) + head.wItemCount * sizeof(WORD))
            return FALSE;
        width = head.wWidth;
        height = head.wHeight;
        for (WORD i = 0; i < head.wItemCount; ++i) {
            WORD id;
            memcpy(&id, data + sizeof(head) + i * sizeof(WORD), sizeof(WORD));
            ids.push_back(id);
        }
    }
    if (!width || !height || width > 256 || height > 256)
        return FALSE;
    image.cx = (LONG)width;
    image.cy = (LONG)height;
    return TRUE;
}

BOOL CToolBar::LoadToolBar(const char* pszResourceName)
{
    ASSERT(m_hWnd);
    SIZE image;
    std::vector<UINT> ids;
    if (!FwReadToolBarResource(ResourceHandle(), pszResourceName, image, ids))
        return FALSE;
    SIZE button = {image.cx + 7, image.cy + 7};
    SetSizes(button, image);
    if (!LoadBitmap(pszResourceName))
        return FALSE;
    return SetButtons(ids.empty() ? nullptr : &ids[0], (int)ids.size());
}

BOOL CToolBar::LoadBitmap(const char* pszResourceName)
{
    HBITMAP bmp = (HBITMAP)::LoadImageA(ResourceHandle(), pszResourceName, IMAGE_BITMAP, 0, 0, 0);
    if (!bmp)
        return FALSE;
    BITMAP info;
    ::GetObjectA(bmp, sizeof(info), &info);
    int count = m_sizeImage.cx > 0 ? info.bmWidth / m_sizeImage.cx : 0;
    HIMAGELIST list =
        ImageList_Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR24 | ILC_MASK, count > 0 ? count : 1, 1);
    if (!list) {
        ::DeleteObject(bmp);
        return FALSE;
    }
    ImageList_AddMasked(list, bmp, TOOLBAR_MASK_COLOUR);
    ::DeleteObject(bmp);
    ::SendMessageA(m_hWnd, TB_SETIMAGELIST, 0, (LPARAM)list);
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = list;
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (m_hWnd) {
        ::SendMessageA(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
        ::SendMessageA(m_hWnd, TB_SETBUTTONSIZE, 0, MAKELONG(sizeButton.cx, sizeButton.cy));
    }
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (GetCount() > 0)
        ::SendMessageA(m_hWnd, TB_DELETEBUTTON, 0, 0);
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON b;
        ZeroMemory(&b, sizeof(b));
        b.idCommand = (int)lpIDArray[i];
        if (lpIDArray[i] == ID_SEPARATOR) {
            b.fsStyle = BTNS_SEP;
            b.iBitmap = 6;
        } else {
            b.fsStyle = BTNS_BUTTON;
            b.fsState = TBSTATE_ENABLED;
            b.iBitmap = image++;
        }
        b.iString = -1;
        if (!::SendMessageA(m_hWnd, TB_ADDBUTTONSA, 1, (LPARAM)&b))
            return FALSE;
    }
    ::SendMessageA(m_hWnd, TB_AUTOSIZE, 0, 0);
    return TRUE;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON b;
    ZeroMemory(&b, sizeof(b));
    ::SendMessageA(m_hWnd, TB_GETBUTTON, nIndex, (LPARAM)&b);
    return (b.fsStyle & BTNS_SEP) ? ID_SEPARATOR : (UINT)b.idCommand;
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetItemID(i) == nIDFind)
            return i;
    return -1;
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON b;
    ZeroMemory(&b, sizeof(b));
    ::SendMessageA(m_hWnd, TB_GETBUTTON, nIndex, (LPARAM)&b);
    return b.fsStyle;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    TBBUTTONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE | TBIF_BYINDEX;
    info.fsStyle = (BYTE)nStyle;
    ::SendMessageA(m_hWnd, TB_SETBUTTONINFOA, nIndex, (LPARAM)&info);
    ::SendMessageA(m_hWnd, TB_AUTOSIZE, 0, 0);
}

BOOL CToolBar::SetButtonText(int nIndex, const char* pszText)
{
    TBBUTTONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = const_cast<char*>(pszText ? pszText : "");
    BOOL ok = ::SendMessageA(m_hWnd, TB_SETBUTTONINFOA, nIndex, (LPARAM)&info) != 0;
    ::SendMessageA(m_hWnd, TB_AUTOSIZE, 0, 0);
    return ok;
}

BOOL CToolBar::SetButtonTextAndStyle(int nIndex, const char* pszText, UINT nStyle)
{
    TBBUTTONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_STYLE | TBIF_BYINDEX;
    info.pszText = const_cast<char*>(pszText ? pszText : "");
    info.fsStyle = (BYTE)nStyle;
    BOOL ok = ::SendMessageA(m_hWnd, TB_SETBUTTONINFOA, nIndex, (LPARAM)&info) != 0;
    ::SendMessageA(m_hWnd, TB_AUTOSIZE, 0, 0);
    return ok;
}

CString CToolBar::GetButtonText(int nIndex) const
{
    char text[256] = "";
    TBBUTTONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = text;
    info.cchText = sizeof(text);
    ::SendMessageA(m_hWnd, TB_GETBUTTONINFOA, nIndex, (LPARAM)&info);
    return CString(text);
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    int height = m_sizeButton.cy;
    int width = 0;
    for (int i = 0; i < GetCount(); ++i) {
        RECT r;
        if (::SendMessageA(m_hWnd, TB_GETITEMRECT, i, (LPARAM)&r)) {
            if (r.bottom > height)
                height = r.bottom;
            if (r.right > width)
                width = r.right;
        }
    }
    if (m_dwStyle & (CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM))
        height += 2;
    if (!bHorz)
        return CSize(width, 32767);
    return CSize(bStretch ? 32767 : width, height + 2);
}

void CToolBar::OnUpdateCmdUI(CWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)GetCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        UINT id = GetItemID((int)state.m_nIndex);
        if (id == ID_SEPARATOR)
            continue;
        state.m_nID = id;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

// ---------------------------------------------------------------- CStatusBar

CStatusBar::CStatusBar() {}

CStatusBar::~CStatusBar()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CreateEx(pParentWnd, 0, dwStyle, nID); }

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    ASSERT(pParentWnd && ::IsWindow(pParentWnd->m_hWnd));
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD ws = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    if (::GetWindowLongPtrA(pParentWnd->m_hWnd, GWL_STYLE) & WS_THICKFRAME)
        ws |= SBARS_SIZEGRIP;
    RECT rc = {0, 0, 0, 0};
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, ws, rc, pParentWnd, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    ASSERT(m_hWnd);
    m_panes.clear();
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    BOOL ok = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane;
        pane.nID = lpIDArray[i];
        pane.nStyle = SBPS_NORMAL;
        pane.cxText = 0;
        if (pane.nID != ID_SEPARATOR) {
            if (!pane.strText.LoadString(ResourceHandle(), pane.nID))
                ok = FALSE;
            SIZE ext = {0, 0};
            ::GetTextExtentPoint32A(dc, pane.strText, pane.strText.GetLength(), &ext);
            pane.cxText = ext.cx;
        }
        m_panes.push_back(pane);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    if (!m_panes.empty() && m_panes[0].nID == ID_SEPARATOR)
        m_panes[0].nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
    UpdateParts();
    for (int i = 0; i < (int)m_panes.size(); ++i)
        SetPaneText(i, m_panes[i].strText, FALSE);
    return ok;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].nID == nIDFind)
            return (int)i;
    return -1;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    ASSERT(nIndex >= 0 && nIndex < (int)m_panes.size());
    m_panes[nIndex].nID = nID;
    m_panes[nIndex].nStyle = nStyle;
    m_panes[nIndex].cxText = cxWidth;
    UpdateParts();
    SetPaneText(nIndex, m_panes[nIndex].strText);
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    ASSERT(nIndex >= 0 && nIndex < (int)m_panes.size());
    nID = m_panes[nIndex].nID;
    nStyle = m_panes[nIndex].nStyle;
    cxWidth = m_panes[nIndex].cxText;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    ASSERT(nIndex >= 0 && nIndex < (int)m_panes.size());
    m_panes[nIndex].nStyle = nStyle;
    UpdateParts();
    SetPaneText(nIndex, m_panes[nIndex].strText);
}

BOOL CStatusBar::SetPaneText(int nIndex, const char* pszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= (int)m_panes.size())
        return FALSE;
    Pane& pane = m_panes[nIndex];
    CString text(pszNewText ? pszNewText : "");
    pane.strText = text;
    UINT type = pane.nStyle & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW);
    const char* shown = (pane.nStyle & SBPS_DISABLED) ? "" : (const char*)pane.strText;
    BOOL ok = ::SendMessageA(m_hWnd, SB_SETTEXTA, (WPARAM)(nIndex | type), (LPARAM)shown) != 0;
    if (bUpdate)
        ::UpdateWindow(m_hWnd);
    return ok;
}

void CStatusBar::UpdateParts()
{
    if (!m_hWnd || m_panes.empty())
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int pad = 8;
    int fixed = 0;
    int stretch = -1;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if ((m_panes[i].nStyle & SBPS_STRETCH) && stretch < 0)
            stretch = (int)i;
        else
            fixed += m_panes[i].cxText + pad;
    }
    int grip = (GetStyle() & SBARS_SIZEGRIP) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
    int room = client.right - fixed - grip;
    std::vector<int> edges(m_panes.size());
    int x = 0;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        int w = (int)i == stretch ? (room > m_panes[i].cxText ? room : m_panes[i].cxText) : m_panes[i].cxText + pad;
        x += w;
        edges[i] = x;
    }
    if (stretch < 0 || grip)
        edges.back() = -1;
    ::SendMessageA(m_hWnd, SB_SETPARTS, edges.size(), (LPARAM)&edges[0]);
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    int height = tm.tmHeight + tm.tmExternalLeading + 8;
    return CSize(bStretch ? 32767 : 0, height);
}

void CStatusBar::OnUpdateCmdUI(CWnd*, BOOL)
{
    // The lock indicators show their text only while their key is toggled on.
    static const struct
    {
        UINT id;
        int vk;
    } locks[] = {{ID_INDICATOR_CAPS, VK_CAPITAL}, {ID_INDICATOR_NUM, VK_NUMLOCK}, {ID_INDICATOR_SCRL, VK_SCROLL}};
    for (size_t k = 0; k < sizeof(locks) / sizeof(locks[0]); ++k) {
        int index = CommandToIndex(locks[k].id);
        if (index < 0)
            continue;
        UINT style = m_panes[index].nStyle;
        UINT wanted = (::GetKeyState(locks[k].vk) & 1) ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (wanted != style) {
            m_panes[index].nStyle = wanted;
            SetPaneText(index, m_panes[index].strText, FALSE);
        }
    }
}

LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = CControlBar::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE)
        UpdateParts();
    return r;
}

// ---------------------------------------------------------------- bar state

void FwSaveBarState(CWnd* frame, const char* pszProfileName)
{
    ASSERT(frame && pszProfileName);
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    int n = 0;
    for (HWND child = ::GetWindow(frame->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CControlBar* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(child));
        if (!bar)
            continue;
        CString section;
        section.Format("%s-Bar%d", pszProfileName, n++);
        app->WriteProfileInt(section, "BarID", ::GetDlgCtrlID(child));
        app->WriteProfileInt(section, "Visible", (::GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) ? 1 : 0);
    }
}
