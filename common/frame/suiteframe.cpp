#include "suiteframe.h"
#include "aboutdlg.h"
#include "frameids.h"
#include "language.h"
#include "placement.h"

BEGIN_MESSAGE_MAP(CSuiteFrame, CThemedFrameWnd)
    ON_MESSAGE(WM_SUITE_MENUHOOKFAILED, OnMenuHookFailed)
END_MESSAGE_MAP()

CSuiteFrame::CSuiteFrame(int iniIndex, const char* flagKey, const char* barState)
    : m_iniIndex(iniIndex), m_flagKey(flagKey), m_barState(barState), m_bHoldLayout(FALSE), m_bLayoutMissed(FALSE)
{
    ASSERT(flagKey != nullptr && barState != nullptr);
}

BOOL CSuiteFrame::Create(const char* pszClassName, const char* pszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, const char* pszMenuName, DWORD dwExStyle, CCreateContext*)
{
    return ThemedFrameCreate(this, pszClassName, pszWindowName, dwStyle, rect, pParentWnd, pszMenuName, dwExStyle,
                             FALSE);
}

void CSuiteFrame::RecalcLayout(BOOL bNotify)
{
    if (m_bHoldLayout) {
        m_bLayoutMissed = TRUE;
        return;
    }
    CThemedFrameWnd::RecalcLayout(bNotify);
}

BOOL CSuiteFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CThemedFrameWnd::PreCreateWindow(cs))
        return FALSE;
    SetMainFrameCreation(cs);
    return TRUE;
}

BOOL CSuiteFrame::CreateBars(UINT toolBarId, const UINT* indicators, int count, BOOL lines)
{
    ASSERT(indicators != nullptr && count > 0);
    m_bHoldLayout = TRUE;
    DWORD toolBarLine = lines ? CBRS_BORDER_BOTTOM : 0, statusBarLine = lines ? CBRS_BORDER_TOP : 0;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_LIST | 0x10,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | toolBarLine | CBRS_FLYBY | CBRS_TOOLTIPS |
                                   CBRS_SIZE_DYNAMIC,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(toolBarId))
        return FALSE;
    // Aligned at the top without the bottom border that CBRS_TOP would add.
    if (!m_wndMenuBar.Create(this,
                             WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                             AFX_IDW_MENUBAR))
        return FALSE;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | statusBarLine, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(indicators, count))
        return FALSE;
    m_wndStatusBar.SetPaneInfo(0, indicators[0], SBPS_STRETCH | SBPS_NOBORDERS, 100);
    return TRUE;
}

BOOL CSuiteFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_wndMenuBar.m_hWnd && m_wndMenuBar.TranslateFrameMessage(pMsg))
        return TRUE;
    return CThemedFrameWnd::PreTranslateMessage(pMsg);
}

void CSuiteFrame::SetButtonTexts(const SuiteButtonText* texts, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        int button = texts[i].button;
        m_wndToolBar.SetButtonTextAndStyle(button, GetLngString("General", texts[i].key),
                                           m_wndToolBar.GetButtonStyle(button) | TBSTYLE_AUTOSIZE);
    }
}

void CSuiteFrame::SetMenuTexts(const char* const* topKeys, size_t topCount, const SuiteMenuText* items, size_t count,
                               const UINT* iconIds)
{
    if (!m_defaultMenu.m_hMenu)
        return;
    for (size_t i = 0; i < topCount; ++i)
        SetMenuLngText(&m_defaultMenu, (UINT)i, MF_BYPOSITION, "General", topKeys[i], 1);
    for (size_t i = 0; i < count; ++i) {
        SetMenuLngText(&m_defaultMenu, items[i].id, MF_BYCOMMAND, items[i].section, items[i].key, 0);
        // Named by resource: read when a popup first shows them.
        if (items[i].image >= 0)
            m_defaultMenu.SetItemIcon(items[i].id, AfxGetResourceHandle(), iconIds[items[i].image]);
    }
    // The bar measures the items with their final texts.
    m_wndMenuBar.SetMenu(m_defaultMenu.m_hMenu);
}

void CSuiteFrame::RestorePlacement()
{
    m_bHoldLayout = FALSE;
    if (m_bLayoutMissed) {
        m_bLayoutMissed = FALSE;
        RecalcLayout();
    }
    if (!RestoreWindowPlacement(m_hWnd, m_iniIndex, "Placement", m_flagKey))
        return;
    CThemedMenu::OnSysColorChange();
    CThemedMenu::ApplyMenuBarBrush(m_defaultMenu.m_hMenu);
    ::InvalidateRect(nullptr, nullptr, TRUE);
}

CString CSuiteFrame::ToolTipFrom(const SuiteToolTip* tips, size_t count, UINT nID)
{
    for (size_t i = 0; i < count; ++i)
        if (tips[i].id == nID)
            return GetLngString(tips[i].section, tips[i].key);
    return CString();
}

void CSuiteFrame::OnClose()
{
    SaveWindowPlacement(m_hWnd, m_iniIndex, "Placement", m_flagKey);
    FwSaveBarState(this, m_barState);
    CThemedFrameWnd::OnClose();
}

void CSuiteFrame::OnHelp() { g_pfnWinExec(SuiteHelpCommand(), SW_SHOWNORMAL); }

void CSuiteFrame::OnWebSite() { g_pfnShellExecute(m_hWnd, "open", SuiteWebPage(), nullptr, nullptr, SW_SHOWNORMAL); }

void CSuiteFrame::OnAbout()
{
    CAboutDlg about(this);
    about.DoModal();
}

LRESULT CSuiteFrame::OnMenuHookFailed(WPARAM, LPARAM)
{
    AfxMessageBox(GetLngString("General", "24400"), MB_OK | MB_ICONWARNING);
    return 0;
}
