// The tab strip: layout below the frame's bars, painting, hit tests and
// switching between the member windows.
#include "TabWnd.h"

namespace {

const char* const TABWND_NAME = "MarrowenTabWnd";
// Height of the tab band above the members' frame.
const int TAB_BAND = 32;

} // namespace

BEGIN_MESSAGE_MAP(CTabWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_WM_PAINT()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_TABWND_RECALCLAYOUT, RecalcLayout)
END_MESSAGE_MAP()

CTabWnd::CTabWnd() : m_nOption(0), m_bInLayout(0), m_nCurrentTab(0), m_pNormalFont(nullptr), m_pSelectedFont(nullptr)
{
    m_brushBlack.CreateSolidBrush(RGB(0, 0, 0));
    m_brushHighlight.CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT));
    m_brushFace.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    m_brushShadow.CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    m_brushText.CreateSolidBrush(::GetSysColor(COLOR_BTNTEXT));

    m_penHighlight.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    m_penHighlight2.CreatePen(PS_SOLID, 2, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    m_penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_penFace.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
    m_penLight.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT));
    m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    m_penShadow2.CreatePen(PS_SOLID, 2, ::GetSysColor(COLOR_BTNSHADOW));

    // Both tabs' fonts are the same face and height.
    for (CFont** ppFont : {&m_pNormalFont, &m_pSelectedFont}) {
        *ppFont = new CFont;
        (*ppFont)->CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
    }
}

CTabWnd::~CTabWnd()
{
    // The tabs first, then the fonts; pens and brushes go with the members.
    POSITION pos = m_tabs.GetHeadPosition();
    while (pos)
        delete m_tabs.GetNext(pos);
    m_tabs.RemoveAll();
    delete m_pSelectedFont;
    delete m_pNormalFont;
}

BOOL CTabWnd::Create(int nOption, CWnd* pParentWnd, UINT nID)
{
    ASSERT(dynamic_cast<CFrameWnd*>(pParentWnd) != nullptr);
    if (!CWnd::Create(nullptr, TABWND_NAME, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    m_nOption = nOption;
    PostMessage(WM_TABWND_RECALCLAYOUT);
    return TRUE;
}

void CTabWnd::AddTab(const char* pszCaption, CWnd* pWnd)
{
    ASSERT(pWnd != nullptr && ::GetParent(pWnd->m_hWnd) == m_hWnd);
    TABWND_MEMBER* pTab = new TABWND_MEMBER{pszCaption, pWnd, 0, 0};
    m_tabs.AddTail(pTab);
    // The current index starts at 0: the first tab is the shown one.
    const BOOL bShown = m_tabs.GetCount() == 1 && m_nCurrentTab == 0;
    pWnd->EnableWindow(bShown);
    pWnd->ShowWindow(bShown ? SW_SHOW : SW_HIDE);
    PostMessage(WM_TABWND_RECALCLAYOUT);
    Invalidate();
}

TABWND_MEMBER* CTabWnd::Member(int nIndex) const
{
    POSITION pos = m_tabs.FindIndex(nIndex);
    return pos ? m_tabs.GetAt(pos) : nullptr;
}

const TABWND_MEMBER* CTabWnd::GetTab(int nIndex) const { return Member(nIndex); }

BOOL CTabWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    rect.bottom = TAB_BAND;
    pDC->FillRect(&rect, &m_brushFace);
    return TRUE;
}

LRESULT CTabWnd::OnSizeParent(WPARAM, LPARAM)
{
    // The strip takes no room from the bars' layout; it follows it.
    if (!m_bInLayout)
        PostMessage(WM_TABWND_RECALCLAYOUT);
    return 0;
}

LRESULT CTabWnd::RecalcLayout(WPARAM, LPARAM)
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(GetParent());
    if (pFrame == nullptr)
        return 0;
    m_bInLayout = TRUE;
    // Asking the frame sends WM_SIZEPARENT to this strip as well.
    CRect rect;
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &rect);
    MoveWindow(&rect);
    POSITION pos = m_tabs.GetHeadPosition();
    while (pos) {
        TABWND_MEMBER* pTab = m_tabs.GetNext(pos);
        pTab->pWnd->MoveWindow(2, 34, rect.Width() - 4, rect.Height() - 36);
    }
    m_bInLayout = FALSE;
    return 0;
}

void CTabWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);

    CRect line(0, 0, client.right, 1);
    dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    CRect frame(0, TAB_BAND, client.right, client.bottom);
    dc.Draw3dRect(&frame, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    frame.DeflateRect(1, 1);
    dc.Draw3dRect(&frame, RGB(0, 0, 0), ::GetSysColor(COLOR_3DLIGHT));

    HGDIOBJ hOldFont = dc.SelectObject(m_pNormalFont);
    HGDIOBJ hOldBrush = dc.SelectObject(&m_brushText);
    HGDIOBJ hOldPen = dc.SelectObject(&m_penBlack);
    int x = 0;
    int nIndex = 0;
    POSITION pos = m_tabs.GetHeadPosition();
    while (pos) {
        TABWND_MEMBER* pTab = m_tabs.GetNext(pos);
        pTab->nLeft = x;
        x += DrawTab(&dc, pTab, nIndex == m_nCurrentTab, client.right);
        pTab->nRight = x;
        ++nIndex;
    }
    dc.SelectObject(hOldPen);
    dc.SelectObject(hOldBrush);
    dc.SelectObject(hOldFont);
}

int CTabWnd::DrawTab(CDC* pDC, const TABWND_MEMBER* pTab, BOOL bSelected, int nRight)
{
    const int x = pTab->nLeft;
    pDC->SelectObject(bSelected ? m_pSelectedFont : m_pNormalFont);
    const CSize text = pDC->GetTextExtent(pTab->strCaption);
    if (bSelected)
        DrawRaisedTab(pDC, x, text.cx, nRight);
    else
        DrawFlatTab(pDC, x, text.cx);
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(x + 8, (20 - text.cy) / 2 + (bSelected ? 6 : 7), pTab->strCaption);
    return text.cx + 17;
}

void CTabWnd::DrawLines(CDC* pDC, CPen* pPen, const POINT* pPoints, int nCount)
{
    pDC->SelectObject(pPen);
    pDC->Polyline(pPoints, nCount);
}

void CTabWnd::DrawRaisedTab(CDC* pDC, int x, int cx, int nRight)
{
    const POINT outline[] = {{x, 26}, {x, 5}, {x + cx + 16, 5}, {x + cx + 16, 27}};
    DrawLines(pDC, &m_penBlack, outline, 4);
    const POINT light[] = {{x + 2, 26}, {x + 2, 7}, {x + cx + 13, 7}};
    DrawLines(pDC, &m_penHighlight2, light, 3);
    const POINT dark[] = {{x + cx + 15, 7}, {x + cx + 15, 26}};
    DrawLines(pDC, &m_penShadow2, dark, 2);

    // The tab opens into the members' frame: face below it, the black base
    // line and the highlight on either side.
    const POINT face1[] = {{x - 1, 27}, {x + cx + 17, 27}};
    const POINT face2[] = {{x - 1, 28}, {x + cx + 17, 28}};
    DrawLines(pDC, &m_penFace, face1, 2);
    DrawLines(pDC, &m_penFace, face2, 2);
    const POINT baseLeft[] = {{0, 26}, {x, 26}};
    const POINT baseRight[] = {{x + cx + 18, 26}, {nRight, 26}};
    DrawLines(pDC, &m_penBlack, baseLeft, 2);
    DrawLines(pDC, &m_penBlack, baseRight, 2);
    const POINT lightLeft[] = {{0, 28}, {x, 28}};
    const POINT lightRight[] = {{x + cx + 17, 28}, {nRight, 28}};
    if (x > 0)
        DrawLines(pDC, &m_penHighlight2, lightLeft, 2);
    DrawLines(pDC, &m_penHighlight2, lightRight, 2);

    pDC->FillRect(CRect(CPoint(x + 3, 8), CSize(cx + 11, 22)), &m_brushFace);
}

void CTabWnd::DrawFlatTab(CDC* pDC, int x, int cx)
{
    pDC->FrameRect(CRect(x, 7, x + cx + 17, 27), &m_brushBlack);
    const POINT light[] = {{x + 1, 26}, {x + 1, 8}, {x + cx + 15, 8}};
    DrawLines(pDC, &m_penHighlight, light, 3);
    const POINT dark[] = {{x + cx + 15, 8}, {x + cx + 15, 26}};
    DrawLines(pDC, &m_penShadow, dark, 2);
    pDC->FillRect(CRect(x + 2, 9, x + cx + 15, 26), &m_brushFace);
    // The band above a flat tab, where a raised one would stand.
    pDC->FillRect(CRect(CPoint(x, 5), CSize(cx + 17, 2)), &m_brushFace);
}

int CTabWnd::HitTest(int x, int y) const
{
    int nIndex = 0;
    POSITION pos = m_tabs.GetHeadPosition();
    while (pos) {
        const TABWND_MEMBER* pTab = m_tabs.GetNext(pos);
        const int top = nIndex == m_nCurrentTab ? 5 : 7;
        if (pTab->nLeft <= x && x <= pTab->nRight && top <= y && y <= 27)
            return nIndex;
        ++nIndex;
    }
    return -1;
}

void CTabWnd::OnLButtonUp(UINT, CPoint point)
{
    SelectTab(HitTest(point.x, point.y));
    Default();
}

void CTabWnd::SelectTab(int nIndex)
{
    TABWND_MEMBER* pNew = Member(nIndex);
    if (pNew == nullptr || nIndex == m_nCurrentTab)
        return;
    TABWND_MEMBER* pOld = Member(m_nCurrentTab);
    CWnd* pOldWnd = pOld ? pOld->pWnd : nullptr;
    if (pOldWnd) {
        pOldWnd->ShowWindow(SW_HIDE);
        pOldWnd->EnableWindow(FALSE);
        pOldWnd->SendMessage(WM_TABWND_SWITCH, 0, (LPARAM)pNew->pWnd);
    }
    pNew->pWnd->EnableWindow(TRUE);
    pNew->pWnd->ShowWindow(SW_SHOW);
    pNew->pWnd->SetFocus();
    CFrameWnd* pFrame = GetParentFrame();
    CView* pView = dynamic_cast<CView*>(pNew->pWnd);
    if (pFrame && pView)
        pFrame->SetActiveView(pView, TRUE);
    pNew->pWnd->SendMessage(WM_TABWND_SWITCH, 1, (LPARAM)pOldWnd);
    m_nCurrentTab = nIndex;
    CRect band(0, 0, 32000, TAB_BAND);
    InvalidateRect(&band, FALSE);
}
