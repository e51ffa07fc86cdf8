// Owner-drawn push buttons with an icon or bitmap (and optional text), a hover
// state, a tooltip and optional cursor, popup menu, web link and sounds.
#pragma once

#include "fw/framework.h"

class CVisualThemeHelper;

class CImageButton : public CButton
{
public:
    CImageButton();
    virtual ~CImageButton();

    // Colour slots of SetColor/GetColor.
    enum {
        COLOR_BK_IN = 0, // background while hovered or pressed
        COLOR_FG_IN,     // text while hovered or pressed
        COLOR_BK_OUT,    // background otherwise
        COLOR_FG_OUT,    // text otherwise
        COLOR_BK_FOCUS,  // background while focused
        COLOR_FG_FOCUS,  // text while focused
        COLOR_MAX
    };
    // Image placement relative to the text.
    enum { ALIGN_HORIZ = 0, ALIGN_VERT = 1, ALIGN_HORIZ_RIGHT = 2 };
    // Special values for the "out" image of SetIconIds.
    enum { ICON_NONE = 0, ICON_GRAY = -2, ICON_DARKER = -3 };

    // Icons. The out icon is drawn while the button is neither hovered nor
    // pressed; the in icon otherwise and whenever no out icon is set.
    // nIconOut: ICON_NONE, ICON_GRAY, ICON_DARKER or a second icon resource.
    BOOL SetIconIds(int nIconIn, int nIconOut = ICON_NONE);
    // Takes ownership of both icons; either may be NULL.
    BOOL SetIcon(HICON hIconIn, HICON hIconOut = nullptr);
    // Bitmaps drawn through masks built from the transparent colours; takes
    // ownership of both bitmaps.
    BOOL SetBitmaps(HBITMAP hBitmapIn, COLORREF crTransIn, HBITMAP hBitmapOut = nullptr, COLORREF crTransOut = 0);
    BOOL SetBitmapIds(int nBitmapIn, COLORREF crTransIn, int nBitmapOut = 0, COLORREF crTransOut = 0);

    void SetFlat(BOOL bFlat = TRUE, BOOL bRepaint = TRUE);
    BOOL GetFlat() const { return m_bIsFlat; }
    BOOL SetAlign(BYTE byAlign, BOOL bRepaint = TRUE);
    void DrawBorder(BOOL bDraw = TRUE, BOOL bRepaint = TRUE);
    void DrawFlatFocus(BOOL bDraw, BOOL bRepaint = TRUE);
    void SetCheckBoxMode(BOOL bCheckBox, BOOL bRepaint = TRUE);
    void SetCheck(int nCheck, BOOL bRepaint = TRUE);
    int GetCheck() const { return m_nCheck; }
    void SetDefaultColors(BOOL bRepaint = TRUE);
    BOOL SetColor(int nIndex, COLORREF crColor, BOOL bRepaint = TRUE);
    COLORREF GetColor(int nIndex) const;
    void SetImageMargins(int cx, int cy, BOOL bRepaint = TRUE);
    void SetPressedStyle(int cx, int cy, BOOL bRepaint = TRUE);
    void SetAlwaysTrack(BOOL bAlwaysTrack = TRUE) { m_bAlwaysTrack = bAlwaysTrack; }
    // Paints the parent's background behind the button (captured once).
    void DrawTransparent(BOOL bRepaint = FALSE);

    // Tooltip: its window is made when the mouse first moves over the
    // button (a dialog shows sooner without one window per button).
    void SetTipText(LPCSTR lpszText, BOOL bActivate = TRUE);
    void ActivateTip(BOOL bActivate = TRUE);
    HWND GetTipWnd() const { return m_hToolTip; }

    BOOL SetBtnCursor(int nCursorId);
    // A popup menu opened by a click; the chosen command goes to hParentWnd.
    BOOL SetMenu(UINT nMenu, HWND hParentWnd, BOOL bRepaint = TRUE);
    // A web address opened by a click.
    BOOL SetURL(LPCSTR lpszURL);
    // Sounds played on entering the hover state or on a click: a wave
    // resource id (hMod set) or a file / alias (hMod NULL); NULL: none.
    BOOL SetSound(LPCSTR lpszSound, HMODULE hMod = nullptr, BOOL bPlayOnClick = FALSE);

    BOOL IsHovered() const { return m_bMouseOnButton; }
    BOOL IsDefaultButton() const { return m_bIsDefault; }

    // Copies of an icon: grey (luminance) or darkened by a quarter; the
    // caller owns the result. NULL when the icon cannot be read.
    static HICON CreateGrayscaleIcon(HICON hIcon);
    static HICON CreateDarkerIcon(HICON hIcon);

    virtual BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    virtual void PreSubclassWindow() override;

    // Drawing steps, in the order they are called.
    virtual void OnDrawBackground(CDC* pDC, RECT* pRect);
    virtual void OnDrawBorder(CDC* pDC, RECT* pRect);
    virtual void DrawTheIcon(CDC* pDC, BOOL bHasText, const RECT* pItem, RECT* pCaption);
    virtual void DrawTheBitmap(CDC* pDC, BOOL bHasText, const RECT* pItem, RECT* pCaption);
    virtual void DrawTheText(CDC* pDC, const char* lpszText, const RECT* pItem, RECT* pCaption);

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSysColorChange();
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnCancelMode(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    // The click behaviour; returns FALSE so that the parent gets the click too.
    BOOL OnClicked();
    // Makes the tooltip window if there is none yet and gives it the text.
    void ShowTipText();

    DECLARE_MESSAGE_MAP()

protected:
    struct IconInfo
    {
        HICON hIcon;
        int cx, cy;
    };
    struct BitmapInfo
    {
        HBITMAP hBitmap;
        HBITMAP hMask;
        int cx, cy;
    };

    void CancelHover();
    void DropSavedBackground();
    void FreeResources(BOOL bCheckForNULL = TRUE);
    void Repaint(BOOL bRepaint);
    void PaintParentBackground(CDC* pDC);
    // Where an image of the given size goes, and what is left for the text.
    void PrepareImageRect(BOOL bHasText, const RECT* pItem, RECT* pCaption, BOOL bPressed, int cx, int cy,
                          RECT* pImage) const;
    void PlaySoundFor(BOOL bClick);
    static HBITMAP CreateBitmapMask(HBITMAP hSource, int cx, int cy, COLORREF crTransparent);
    static HICON TransformIcon(HICON hIcon, int mode);

    BOOL m_bIsFlat = TRUE;
    BOOL m_bMouseOnButton = FALSE;
    BOOL m_bIsPressed = FALSE;
    BOOL m_bIsFocused = FALSE;
    BOOL m_bIsDisabled = FALSE;
    BOOL m_bIsDefault = FALSE;
    UINT m_nTypeStyle = BS_PUSHBUTTON;
    BOOL m_bIsCheckBox = FALSE;
    int m_nCheck = 0;
    BYTE m_byAlign = ALIGN_HORIZ;
    BOOL m_bDrawBorder = TRUE;
    BOOL m_bDrawFlatFocus = FALSE;
    COLORREF m_crColors[COLOR_MAX];
    POINT m_ptImageOrg = {3, 3};
    POINT m_ptPressedOffset = {1, 1};
    BOOL m_bAlwaysTrack = TRUE;
    BOOL m_bDrawTransparent = FALSE;
    IconInfo m_csIcons[2] = {};     // [0] in, [1] out
    BitmapInfo m_csBitmaps[2] = {}; // [0] in, [1] out
    HWND m_hToolTip = nullptr;
    BOOL m_bTipAdded = FALSE;
    CString m_strTip; // the tooltip's text, kept for the window made later
    BOOL m_bTipActive = TRUE;
    HCURSOR m_hCursor = nullptr;
    HMENU m_hMenu = nullptr;
    HWND m_hParentWndMenu = nullptr;
    BOOL m_bMenuDisplayed = FALSE;
    char m_szURL[MAX_PATH] = "";
    struct Sound
    {
        char szName[MAX_PATH];
        LPCSTR lpszSound; // m_szName or a resource id
        HMODULE hMod;
        DWORD dwFlags;
    } m_csSounds[2] = {}; // [0] hover, [1] click
    // The parent's background behind the button, for transparent mode.
    CDC m_dcBk;
    CBitmap m_bmpBk;
    HGDIOBJ m_hOldBmpBk = nullptr;
};

// An image button that paints its background through the running visual
// style ("TOOLBAR" or "BUTTON" theme class) when one is active.
class CStyledImageButton : public CImageButton
{
public:
    CStyledImageButton();

    // The helper is not owned and must outlive the button's painting.
    void AttachThemeHelper(CVisualThemeHelper* pTheme);
    void SetToolbarLook(BOOL bToolbarLook, BOOL bRepaint = TRUE);
    BOOL GetToolbarLook() const { return m_bToolbarLook; }

protected:
    virtual void OnDrawBackground(CDC* pDC, RECT* pRect) override;
    virtual void OnDrawBorder(CDC* pDC, RECT* pRect) override;

    BOOL IsThemed() const;

    CVisualThemeHelper* m_pTheme;
    BOOL m_bToolbarLook;
};
