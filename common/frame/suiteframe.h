// The main frame that the suite's document programs (the main cleaner, the
// recent-work cleaner and the plug-in builder) build on: the themed frame with
// tool bar, menu bar and status bar, the window placement kept in the
// program's config file, texts of menus, tool-bar buttons and tool tips from
// tables of language keys, and the Help, web-page and About commands.
//
// A program's frame chains its message map to this class and maps its own
// command ids to OnHelp, OnWebSite and OnAbout (the ids differ by program).
#pragma once
#include "fw/framework.h"
#include "themedframe.h"
#include "menubar.h"
#include "statusbar.h"
#include "toolbar.h"
#include "suitehelp.h"
#include <cstddef>
#include <iterator>

// A menu item's text ([section] key of the language file) and its icon: an
// index in the frame's icon ids (-1: none).
struct SuiteMenuText
{
    UINT id;
    const char* section;
    const char* key;
    int image;
};

// A tool-bar button's text ([General] key), sized to fit it.
struct SuiteButtonText
{
    int button;
    const char* key;
};

// A command's tool tip ([section] key).
struct SuiteToolTip
{
    UINT id;
    const char* section;
    const char* key;
};

// Posted to the main frame when the menus lost their theme for good: the
// frame tells the user.
#define WM_SUITE_MENUHOOKFAILED (WM_APP + 0x1F0)

class CSuiteFrame : public CThemedFrameWnd
{
public:
    // The placement is kept in [Placement] of the config file iniIndex, its
    // flags under flagKey; the bars' state under the profile name barState.
    CSuiteFrame(int iniIndex, const char* flagKey, const char* barState);
    CSuiteFrame(const CSuiteFrame&) = delete;
    CSuiteFrame& operator=(const CSuiteFrame&) = delete;

    CThemedToolBar& ToolBar() { return m_wndToolBar; }
    CThemedStatusBar& StatusBar() { return m_wndStatusBar; }
    CThemedMenuBar& MenuBar() { return m_wndMenuBar; }
    CThemedMenu& Menu() { return m_defaultMenu; }

    // The window is made without a menu of its own: the menu bar shows it.
    BOOL Create(const char* pszClassName, const char* pszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = CFrameWnd::rectDefault, CWnd* pParentWnd = nullptr,
                const char* pszMenuName = nullptr, DWORD dwExStyle = 0, CCreateContext* pContext = nullptr) override;
    // A centred window of about two thirds of the screen until the placement
    // is restored; the title stays the program's.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Between CreateBars and RestorePlacement the bars are not laid out: they
    // get their places once, when the window is about to show.
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // Saves the placement and the bars' state, then closes.
    void OnClose() override;
    // Alt, F10 and Alt+letter reach the menu bar, which took the frame's
    // menu and with it the system's keyboard access to it.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    afx_msg void OnHelp();
    afx_msg void OnWebSite();
    afx_msg void OnAbout();

protected:
    // The tool bar of the resource IDR_MAINFRAME, the menu bar and the status
    // bar with the indicators, the first a stretching text pane; lines
    // divides the bars from the client area. FALSE when a bar could not be
    // made. Layout waits for RestorePlacement.
    BOOL CreateBars(UINT toolBarId, const UINT* indicators, int count, BOOL lines);
    void SetButtonTexts(const SuiteButtonText* texts, size_t count);
    // Texts (padded) of the top-level menus by position, then of the items by
    // command with their icons (an item's image indexes iconIds); then the
    // menu bar takes the frame's menu and measures its items once.
    void SetMenuTexts(const char* const* topKeys, size_t topCount, const SuiteMenuText* items, size_t count,
                      const UINT* iconIds);
    // Lays out the bars, then restores the stored placement; the menu
    // colours then follow the screen the window was placed on.
    void RestorePlacement();
    // The tip of nID from the table, "" for an id without one.
    static CString ToolTipFrom(const SuiteToolTip* tips, size_t count, UINT nID);

    CThemedStatusBar m_wndStatusBar;
    CThemedToolBar m_wndToolBar;
    CThemedMenuBar m_wndMenuBar;

    afx_msg LRESULT OnMenuHookFailed(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    const int m_iniIndex;
    const char* const m_flagKey;
    const char* const m_barState;
    BOOL m_bHoldLayout;   // between CreateBars and RestorePlacement
    BOOL m_bLayoutMissed; // a layout was asked for while held
};
