// Menu themes (how items and popup windows look) and the menu hook that
// decorates every popup-menu window of the user-interface thread.
#pragma once
#include "themedmenu.h"
#include <map>

typedef void (CThemedMenu::*ThemedMeasurePainter)(LPMEASUREITEMSTRUCT, BOOL);
typedef void (CThemedMenu::*ThemedDrawPainter)(LPDRAWITEMSTRUCT, BOOL);
typedef void (CThemedMenu::*ThemedTitlePainter)(LPDRAWITEMSTRUCT);

struct CMenuHookData;

class CMenuTheme
{
public:
    CMenuTheme(int nId, ThemedMeasurePainter pfnMeasure, ThemedDrawPainter pfnDraw, ThemedTitlePainter pfnTitle);
    virtual ~CMenuTheme() {}

    virtual BOOL OnInitWnd(HWND hWnd);
    virtual BOOL OnUnInitWnd(HWND hWnd);
    virtual BOOL DoDrawBorder() { return m_bBorder; }
    virtual void UpdateSysColors();
    virtual void UpdateSysMetrics();
    virtual BOOL PaintBorder(HWND hWnd, HDC hDC, BOOL bBorderOnly);
    virtual BOOL EraseBkgnd(HWND hWnd, HDC hDC);
    virtual LRESULT NcCalcSize(HWND hWnd, NCCALCSIZE_PARAMS* pParams);
    virtual BOOL WindowPosChanging(HWND hWnd, LPWINDOWPOS pPos);
    virtual BOOL GetBorderRect(HWND hWnd, LPRECT pRect);
    virtual void DrawGripper(CDC* pDC, LPCRECT pRect, DWORD dwStyle, int nLeft, int nRight, int nTop, int nBottom);
    virtual void DrawCorner(CDC* pDC, LPCRECT pRect, DWORD dwStyle);
    virtual void GetBarColors(COLORREF& light, COLORREF& middle, COLORREF& dark, COLORREF& darkest);

    int m_nId;
    BOOL m_bBorder;
    ThemedMeasurePainter m_pfnMeasureItem;
    ThemedDrawPainter m_pfnDrawItem;
    ThemedTitlePainter m_pfnDrawTitle;
    COLORREF m_crBtnFace, m_crBtnShadow, m_crBtnHighlight, m_crBtnText, m_crWindowFrame;
    int m_nBorderWidth, m_nBorderHeight;
    int m_nShadowWidth, m_nShadowHeight;

protected:
    // The popup's record when this theme paints its border (null when not),
    // after the screen behind it was kept for the shadow; W and H get the
    // window's size.
    CMenuHookData* BeginBorder(HWND hWnd, int& W, int& H);
    // The ring between the frame and the client area, the own drop shadow
    // and the joint with the open menu-bar item.
    void FillRing(HWND hWnd, HDC hDC, const CRect& outer, COLORREF color);
    void DrawShadow(HWND hWnd, HDC hDC);
    void PaintBarJoint(HWND hWnd, HDC hDC);
};

class CMenuThemeXP : public CMenuTheme
{
public:
    using CMenuTheme::CMenuTheme;
    BOOL PaintBorder(HWND hWnd, HDC hDC, BOOL bBorderOnly) override;
    BOOL EraseBkgnd(HWND hWnd, HDC hDC) override;
};

class CMenuTheme2003 : public CMenuThemeXP
{
public:
    using CMenuThemeXP::CMenuThemeXP;
};

// Per-window data of a subclassed popup-menu window.
struct CMenuHookData
{
    enum { WAS_VISIBLE = 0x1, STYLE_CHANGED = 0x2, TIMER_RUNNING = 0x4, PRINTING = 0x8 };
    DWORD dwStyle;
    DWORD dwExStyle;
    CPoint ptLast;
    BOOL bHasPosition;
    UINT nFlags;
    BOOL bNcPainted;
    HMENU hMenu;
    CBitmap background;
    HRGN hUpdateRgn; // (HRGN)1: none
    BOOL bThemed;
    BOOL bAtomAdded; // this window added the global atom
};

class CThemedMenuHook
{
public:
    CThemedMenuHook();
    ~CThemedMenuHook();

    static BOOL SubclassMenuWindow(HWND hWnd, BOOL bVisible);
    static void UnsubclassMenuWindow(HWND hWnd);
    static LRESULT CALLBACK MenuWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndProcHook(int nCode, WPARAM wParam, LPARAM lParam);

    // The registered themes, in order of registration.
    static std::vector<CMenuTheme*>& Themes();
    static BOOL RegisterTheme(CMenuTheme* pTheme);
    static CMenuHookData* FindData(HWND hWnd);
    // Captures the screen behind a popup window once per position.
    static void GetScreenBackground(HWND hWnd);
    // Where the last key went down in a popup (GetMessagePos).
    static DWORD GetLastKeyPos();

private:
    static std::map<HWND, CMenuHookData*>& Map();
    // The popup menu a window shows, asked once the window exists.
    static void ResolveMenu(HWND hWnd, CMenuHookData* pData);
    static HHOOK s_hHook;
    static BOOL s_bSuspended;
    static BOOL s_bOwed;           // a resume failed: retried at the next popup
    static void (*s_pfnFailed)();  // told when a resume first fails
    friend class CThemedMenu;
    HMODULE m_hUxTheme;
    HMODULE m_hMsimg;

    CThemedMenuHook(const CThemedMenuHook&) = delete;
    CThemedMenuHook& operator=(const CThemedMenuHook&) = delete;
};
