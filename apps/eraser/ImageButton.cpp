#include "ImageButton.h"
#include "VisualThemeHelper.h"

#include <mmsystem.h>
#include <shellapi.h>
#include <vector>

#ifndef BS_TYPEMASK
#define BS_TYPEMASK 0x0000000FL
#endif

BEGIN_MESSAGE_MAP(CImageButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_CANCELMODE, OnCancelMode)
    ON_MESSAGE(WM_ENABLE, OnEnable)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
    ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
    ON_MESSAGE(BM_SETCHECK, OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, OnGetCheck)
    ON_WM_DRAWITEM_REFLECT()
    // The parent paints no background for the button.
    FW_MSG_ENTRY(WM_CTLCOLORBTN + WM_REFLECT_BASE, *c.pResult = (LRESULT)::GetStockObject(NULL_BRUSH))
    // The click is handled here and still reaches the parent.
    {WM_COMMAND + WM_REFLECT_BASE, (UINT)BN_CLICKED, 0, 0, nullptr, [](CCmdTarget* t, FW_MSGCALL&) -> BOOL {
         return static_cast<CImageButton*>(t)->OnClicked();
     }},
END_MESSAGE_MAP()

CImageButton::CImageButton() { SetDefaultColors(FALSE); }

CImageButton::~CImageButton()
{
    FreeResources();
    if (m_hCursor != nullptr)
        ::DestroyCursor(m_hCursor);
    if (m_hMenu != nullptr)
        ::DestroyMenu(m_hMenu);
    if (m_hToolTip != nullptr && ::IsWindow(m_hToolTip))
        ::DestroyWindow(m_hToolTip);
    if (m_dcBk.m_hDC != nullptr && m_hOldBmpBk != nullptr)
        m_dcBk.SelectObject(m_hOldBmpBk);
}

void CImageButton::FreeResources(BOOL bCheckForNULL)
{
    if (bCheckForNULL) {
        // An out icon may be the in icon itself; free it once.
        for (int i = 0; i < 2; i++) {
            if (m_csIcons[i].hIcon != nullptr && (i == 0 || m_csIcons[1].hIcon != m_csIcons[0].hIcon))
                ::DestroyIcon(m_csIcons[i].hIcon);
            if (m_csBitmaps[i].hBitmap != nullptr)
                ::DeleteObject(m_csBitmaps[i].hBitmap);
            if (m_csBitmaps[i].hMask != nullptr)
                ::DeleteObject(m_csBitmaps[i].hMask);
        }
    }
    ZeroMemory(m_csIcons, sizeof(m_csIcons));
    ZeroMemory(m_csBitmaps, sizeof(m_csBitmaps));
}

void CImageButton::Repaint(BOOL bRepaint)
{
    if (bRepaint && m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CImageButton::PreSubclassWindow()
{
    UINT nBS = (UINT)::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    m_nTypeStyle = nBS & BS_TYPEMASK;
    if (m_nTypeStyle == BS_DEFPUSHBUTTON) {
        m_bIsDefault = TRUE;
        m_nTypeStyle = BS_PUSHBUTTON;
    }
    ::SendMessageA(m_hWnd, BM_SETSTYLE, (nBS & ~BS_TYPEMASK) | BS_OWNERDRAW, FALSE);
    CButton::PreSubclassWindow();
}

BOOL CImageButton::PreTranslateMessage(MSG* pMsg)
{
    if (m_hToolTip == nullptr && !m_strTip.IsEmpty() && pMsg->hwnd == m_hWnd && pMsg->message == WM_MOUSEMOVE)
        ShowTipText();
    if (m_hToolTip != nullptr)
        ::SendMessageA(m_hToolTip, TTM_RELAYEVENT, 0, (LPARAM)pMsg);
    // A double click is one more press.
    if (pMsg->message == WM_LBUTTONDBLCLK && pMsg->hwnd == m_hWnd)
        pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

// ---- images -----------------------------------------------------------------

namespace {
void IconSize(HICON hIcon, int* cx, int* cy)
{
    *cx = *cy = 0;
    ICONINFO ii;
    if (hIcon == nullptr || !::GetIconInfo(hIcon, &ii))
        return;
    BITMAP bm;
    HBITMAP hSize = ii.hbmColor != nullptr ? ii.hbmColor : ii.hbmMask;
    if (::GetObjectA(hSize, sizeof(bm), &bm)) {
        *cx = bm.bmWidth;
        // A monochrome icon holds its AND and XOR masks one above the other.
        *cy = ii.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
    }
    if (ii.hbmColor != nullptr)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask != nullptr)
        ::DeleteObject(ii.hbmMask);
}
} // namespace

BOOL CImageButton::SetIconIds(int nIconIn, int nIconOut)
{
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    HICON hIn = nullptr, hOut = nullptr;
    if (nIconIn != 0)
        hIn = (HICON)::LoadImageA(hInst, MAKEINTRESOURCEA(nIconIn), IMAGE_ICON, 0, 0, 0);
    switch (nIconOut) {
    case ICON_NONE: break;
    case ICON_GRAY: hOut = CreateGrayscaleIcon(hIn); break;
    case ICON_DARKER: hOut = CreateDarkerIcon(hIn); break;
    default: hOut = (HICON)::LoadImageA(hInst, MAKEINTRESOURCEA(nIconOut), IMAGE_ICON, 0, 0, 0); break;
    }
    return SetIcon(hIn, hOut);
}

BOOL CImageButton::SetIcon(HICON hIconIn, HICON hIconOut)
{
    FreeResources();
    m_csIcons[0].hIcon = hIconIn;
    IconSize(hIconIn, &m_csIcons[0].cx, &m_csIcons[0].cy);
    m_csIcons[1].hIcon = hIconOut;
    IconSize(hIconOut, &m_csIcons[1].cx, &m_csIcons[1].cy);
    Repaint(TRUE);
    return hIconIn != nullptr;
}

HBITMAP CImageButton::CreateBitmapMask(HBITMAP hSource, int cx, int cy, COLORREF crTransparent)
{
    // Mask: white where the source has the transparent colour. The source's
    // transparent pixels become black so that it can be OR-ed over the mask.
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    if (hMask == nullptr)
        return nullptr;
    CDC dcSrc, dcDst;
    dcSrc.CreateCompatibleDC((HDC) nullptr);
    dcDst.CreateCompatibleDC((HDC) nullptr);
    HGDIOBJ hOldSrc = dcSrc.SelectObject(hSource);
    HGDIOBJ hOldDst = dcDst.SelectObject(hMask);
    COLORREF crOldBk = dcSrc.SetBkColor(crTransparent);
    dcDst.BitBlt(0, 0, cx, cy, &dcSrc, 0, 0, SRCCOPY);
    dcSrc.SetBkColor(RGB(0, 0, 0));
    dcSrc.SetTextColor(RGB(255, 255, 255));
    dcSrc.BitBlt(0, 0, cx, cy, &dcDst, 0, 0, SRCAND);
    dcSrc.SetBkColor(crOldBk);
    dcSrc.SelectObject(hOldSrc);
    dcDst.SelectObject(hOldDst);
    return hMask;
}

BOOL CImageButton::SetBitmaps(HBITMAP hBitmapIn, COLORREF crTransIn, HBITMAP hBitmapOut, COLORREF crTransOut)
{
    FreeResources();
    HBITMAP src[2] = {hBitmapIn, hBitmapOut};
    COLORREF trans[2] = {crTransIn, crTransOut};
    for (int i = 0; i < 2; i++) {
        if (src[i] == nullptr)
            continue;
        BITMAP bm;
        if (!::GetObjectA(src[i], sizeof(bm), &bm)) {
            ::DeleteObject(src[i]);
            continue;
        }
        m_csBitmaps[i].hBitmap = src[i];
        m_csBitmaps[i].cx = bm.bmWidth;
        m_csBitmaps[i].cy = bm.bmHeight;
        m_csBitmaps[i].hMask = CreateBitmapMask(src[i], bm.bmWidth, bm.bmHeight, trans[i]);
    }
    Repaint(TRUE);
    return m_csBitmaps[0].hBitmap != nullptr;
}

BOOL CImageButton::SetBitmapIds(int nBitmapIn, COLORREF crTransIn, int nBitmapOut, COLORREF crTransOut)
{
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    HBITMAP hIn =
        nBitmapIn ? (HBITMAP)::LoadImageA(hInst, MAKEINTRESOURCEA(nBitmapIn), IMAGE_BITMAP, 0, 0, 0) : nullptr;
    HBITMAP hOut =
        nBitmapOut ? (HBITMAP)::LoadImageA(hInst, MAKEINTRESOURCEA(nBitmapOut), IMAGE_BITMAP, 0, 0, 0) : nullptr;
    return SetBitmaps(hIn, crTransIn, hOut, crTransOut);
}

HICON CImageButton::TransformIcon(HICON hIcon, int mode)
{
    if (hIcon == nullptr)
        return nullptr;
    ICONINFO ii;
    if (!::GetIconInfo(hIcon, &ii))
        return nullptr;
    HICON hResult = nullptr;
    BITMAP bm;
    if (ii.hbmColor != nullptr && ::GetObjectA(ii.hbmColor, sizeof(bm), &bm)) {
        int cx = bm.bmWidth, cy = bm.bmHeight;
        BITMAPINFO bmi;
        ZeroMemory(&bmi, sizeof(bmi));
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> pixels((size_t)cx * cy);
        HDC hScreen = ::GetDC(nullptr);
        if (::GetDIBits(hScreen, ii.hbmColor, 0, cy, pixels.data(), &bmi, DIB_RGB_COLORS) == cy) {
            for (DWORD& px : pixels) {
                DWORD a = px & 0xFF000000;
                int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
                if (r == 0 && g == 0 && b == 0)
                    continue; // black stays black
                if (mode == ICON_GRAY) {
                    int grey = (int)(0.299 * r + 0.587 * g + 0.114 * b);
                    if (grey > 255)
                        grey = 255;
                    r = g = b = grey;
                } else {
                    r -= (int)(r * 0.25);
                    g -= (int)(g * 0.25);
                    b -= (int)(b * 0.25);
                }
                px = a | ((DWORD)r << 16) | ((DWORD)g << 8) | (DWORD)b;
            }
            HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, cx, cy);
            if (hColor != nullptr) {
                // A 32-bit DIB section keeps an alpha channel for the icon.
                HBITMAP hDib = nullptr;
                void* bits = nullptr;
                hDib = ::CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
                if (hDib != nullptr) {
                    memcpy(bits, pixels.data(), pixels.size() * sizeof(DWORD));
                    ::DeleteObject(hColor);
                    hColor = hDib;
                } else {
                    ::SetDIBits(hScreen, hColor, 0, cy, pixels.data(), &bmi, DIB_RGB_COLORS);
                }
                ICONINFO out = ii;
                out.fIcon = TRUE;
                out.hbmColor = hColor;
                hResult = ::CreateIconIndirect(&out);
                ::DeleteObject(hColor);
            }
        }
        ::ReleaseDC(nullptr, hScreen);
    }
    if (ii.hbmColor != nullptr)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask != nullptr)
        ::DeleteObject(ii.hbmMask);
    return hResult;
}

HICON CImageButton::CreateGrayscaleIcon(HICON hIcon) { return TransformIcon(hIcon, ICON_GRAY); }

HICON CImageButton::CreateDarkerIcon(HICON hIcon) { return TransformIcon(hIcon, ICON_DARKER); }

// ---- settings -----------------------------------------------------------------

void CImageButton::SetFlat(BOOL bFlat, BOOL bRepaint)
{
    m_bIsFlat = bFlat;
    // Only a flat button tracks the pointer; a hover state left from before
    // would never end.
    if (!bFlat)
        m_bMouseOnButton = FALSE;
    Repaint(bRepaint);
}

BOOL CImageButton::SetAlign(BYTE byAlign, BOOL bRepaint)
{
    if (byAlign > ALIGN_HORIZ_RIGHT)
        return FALSE;
    m_byAlign = byAlign;
    Repaint(bRepaint);
    return TRUE;
}

void CImageButton::DrawBorder(BOOL bDraw, BOOL bRepaint)
{
    m_bDrawBorder = bDraw;
    Repaint(bRepaint);
}

void CImageButton::DrawFlatFocus(BOOL bDraw, BOOL bRepaint)
{
    m_bDrawFlatFocus = bDraw;
    Repaint(bRepaint);
}

void CImageButton::SetCheckBoxMode(BOOL bCheckBox, BOOL bRepaint)
{
    m_bIsCheckBox = bCheckBox;
    if (!bCheckBox)
        m_nCheck = 0;
    Repaint(bRepaint);
}

void CImageButton::SetCheck(int nCheck, BOOL bRepaint)
{
    if (m_bIsCheckBox) {
        m_nCheck = (nCheck == 1 || nCheck == 2) ? 1 : 0;
        Repaint(bRepaint);
    }
}

void CImageButton::SetDefaultColors(BOOL bRepaint)
{
    COLORREF bk = ::GetSysColor(COLOR_BTNFACE), fg = ::GetSysColor(COLOR_BTNTEXT);
    m_crColors[COLOR_BK_IN] = bk;
    m_crColors[COLOR_FG_IN] = fg;
    m_crColors[COLOR_BK_OUT] = bk;
    m_crColors[COLOR_FG_OUT] = fg;
    m_crColors[COLOR_BK_FOCUS] = bk;
    m_crColors[COLOR_FG_FOCUS] = fg;
    Repaint(bRepaint);
}

BOOL CImageButton::SetColor(int nIndex, COLORREF crColor, BOOL bRepaint)
{
    if (nIndex < 0 || nIndex >= COLOR_MAX)
        return FALSE;
    m_crColors[nIndex] = crColor;
    Repaint(bRepaint);
    return TRUE;
}

COLORREF CImageButton::GetColor(int nIndex) const
{
    return (nIndex >= 0 && nIndex < COLOR_MAX) ? m_crColors[nIndex] : CLR_INVALID;
}

void CImageButton::SetImageMargins(int cx, int cy, BOOL bRepaint)
{
    m_ptImageOrg.x = cx;
    m_ptImageOrg.y = cy;
    Repaint(bRepaint);
}

void CImageButton::SetPressedStyle(int cx, int cy, BOOL bRepaint)
{
    m_ptPressedOffset.x = cx;
    m_ptPressedOffset.y = cy;
    Repaint(bRepaint);
}

void CImageButton::DrawTransparent(BOOL bRepaint)
{
    m_bDrawTransparent = TRUE;
    DropSavedBackground();
    Repaint(bRepaint);
}

// The next transparent paint captures the parent's background anew.
void CImageButton::DropSavedBackground()
{
    if (m_dcBk.m_hDC != nullptr && m_hOldBmpBk != nullptr) {
        m_dcBk.SelectObject(m_hOldBmpBk);
        m_hOldBmpBk = nullptr;
    }
    m_bmpBk.DeleteObject();
    m_dcBk.DeleteDC();
}

void CImageButton::SetTipText(LPCSTR lpszText, BOOL bActivate)
{
    if (lpszText == nullptr || m_hWnd == nullptr)
        return;
    m_strTip = lpszText;
    m_bTipActive = bActivate;
    if (m_hToolTip != nullptr)
        ShowTipText();
}

void CImageButton::ShowTipText()
{
    if (m_hToolTip == nullptr) {
        m_hToolTip =
            ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (m_hToolTip == nullptr)
            return;
        ::SendMessageA(m_hToolTip, TTM_ACTIVATE, TRUE, 0);
        ::SendMessageA(m_hToolTip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    TOOLINFOA ti;
    ZeroMemory(&ti, sizeof(ti));
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = m_hWnd;
    ti.uId = 1;
    ti.hinst = ::GetModuleHandleA(nullptr);
    ti.lpszText = m_strTip.GetBuffer(0);
    if (!m_bTipAdded) {
        ti.uFlags = TTF_SUBCLASS;
        ::GetClientRect(m_hWnd, &ti.rect);
        m_bTipAdded = (BOOL)::SendMessageA(m_hToolTip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
    } else {
        ::SendMessageA(m_hToolTip, TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
    }
    m_strTip.ReleaseBuffer();
    ActivateTip(m_bTipActive);
}

void CImageButton::ActivateTip(BOOL bActivate)
{
    m_bTipActive = bActivate;
    if (m_hToolTip != nullptr)
        ::SendMessageA(m_hToolTip, TTM_ACTIVATE, bActivate, 0);
}

BOOL CImageButton::SetBtnCursor(int nCursorId)
{
    if (m_hCursor != nullptr)
        ::DestroyCursor(m_hCursor);
    m_hCursor = nullptr;
    if (nCursorId == 0)
        return TRUE;
    m_hCursor = (HCURSOR)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nCursorId), IMAGE_CURSOR, 0, 0, 0);
    return m_hCursor != nullptr;
}

BOOL CImageButton::SetMenu(UINT nMenu, HWND hParentWnd, BOOL bRepaint)
{
    if (m_hMenu != nullptr)
        ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    m_hParentWndMenu = nullptr;
    if (nMenu != 0) {
        m_hMenu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nMenu));
        if (m_hMenu == nullptr)
            return FALSE;
        m_hParentWndMenu = hParentWnd;
    }
    Repaint(bRepaint);
    return TRUE;
}

BOOL CImageButton::SetURL(LPCSTR lpszURL)
{
    m_szURL[0] = '\0';
    if (lpszURL == nullptr)
        return TRUE;
    if (lstrlenA(lpszURL) >= (int)sizeof(m_szURL))
        return FALSE; // a cut address could name another page
    lstrcpynA(m_szURL, lpszURL, sizeof(m_szURL));
    return TRUE;
}

BOOL CImageButton::SetSound(LPCSTR lpszSound, HMODULE hMod, BOOL bPlayOnClick)
{
    Sound& s = m_csSounds[bPlayOnClick ? 1 : 0];
    ZeroMemory(&s, sizeof(s));
    if (lpszSound == nullptr)
        return TRUE;
    if (hMod != nullptr) {
        s.lpszSound = lpszSound; // a resource id or a name in hMod
        s.hMod = hMod;
        s.dwFlags = SND_RESOURCE | SND_ASYNC | SND_NODEFAULT;
        if (!IS_INTRESOURCE(lpszSound)) {
            lstrcpynA(s.szName, lpszSound, sizeof(s.szName));
            s.lpszSound = s.szName;
        }
    } else {
        if (lstrlenA(lpszSound) >= (int)sizeof(s.szName))
            return FALSE;
        lstrcpynA(s.szName, lpszSound, sizeof(s.szName));
        s.lpszSound = s.szName;
        s.dwFlags = SND_FILENAME | SND_ASYNC | SND_NODEFAULT;
    }
    return TRUE;
}

void CImageButton::PlaySoundFor(BOOL bClick)
{
    const Sound& s = m_csSounds[bClick ? 1 : 0];
    if (s.lpszSound == nullptr)
        return;
    // The sound library starts the audio system when it loads: that is left
    // to the first sound, not paid by every start of the program.
    typedef BOOL(WINAPI * PlaySoundFn)(LPCSTR, HMODULE, DWORD);
    static PlaySoundFn playSound = nullptr;
    if (playSound == nullptr) {
        HMODULE winmm = ::LoadLibraryA("winmm.dll");
        if (winmm != nullptr)
            playSound = (PlaySoundFn)(void*)::GetProcAddress(winmm, "PlaySoundA");
        if (playSound == nullptr)
            return;
    }
    playSound(s.lpszSound, s.hMod, s.dwFlags);
}

// ---- messages ---------------------------------------------------------------

void CImageButton::CancelHover()
{
    if (m_bIsFlat && m_bMouseOnButton) {
        m_bMouseOnButton = FALSE;
        Repaint(TRUE);
    }
}

void CImageButton::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
    POINT pt = {point.x, point.y};
    ::ClientToScreen(m_hWnd, &pt);
    HWND hUnder = ::WindowFromPoint(pt);
    // While the button is held down outside it, it does not light up again.
    if ((nFlags & MK_LBUTTON) && !m_bMouseOnButton)
        return;
    if (!m_bIsFlat)
        return;
    HWND hOwner = ::GetAncestor(m_hWnd, GA_ROOT);
    BOOL bActive = ::GetActiveWindow() == hOwner;
    if (hUnder == m_hWnd && (bActive || m_bAlwaysTrack)) {
        if (!m_bMouseOnButton) {
            m_bMouseOnButton = TRUE;
            Repaint(TRUE);
            PlaySoundFor(FALSE);
            TRACKMOUSEEVENT tme;
            tme.cbSize = sizeof(tme);
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = m_hWnd;
            tme.dwHoverTime = 0;
            ::TrackMouseEvent(&tme);
        }
    } else {
        CancelHover();
    }
}

void CImageButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // A double click is one more press, not a notification of its own.
    DefWindowProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

LRESULT CImageButton::OnMouseLeave(WPARAM, LPARAM)
{
    CancelHover();
    return 0;
}

LRESULT CImageButton::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    CancelHover();
    return 0;
}

void CImageButton::OnKillFocus(CWnd*)
{
    Default();
    CancelHover();
}

void CImageButton::OnActivate(UINT nState, CWnd*, BOOL)
{
    Default();
    if (nState == WA_INACTIVE)
        CancelHover();
}

LRESULT CImageButton::OnEnable(WPARAM wParam, LPARAM)
{
    LRESULT r = Default();
    if (!wParam) {
        // A disabled button must not keep the focus.
        HWND hParent = ::GetParent(m_hWnd);
        if (hParent != nullptr && ::GetFocus() == m_hWnd) {
            HWND hNext = ::GetNextDlgTabItem(hParent, m_hWnd, FALSE);
            ::SetFocus(hNext != nullptr && hNext != m_hWnd ? hNext : hParent);
        }
        CancelHover();
    }
    return r;
}

BOOL CImageButton::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_hCursor != nullptr) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return (BOOL)Default();
}

LRESULT CImageButton::OnGetDlgCode(WPARAM, LPARAM)
{
    UINT nCode = (UINT)Default();
    nCode |= m_bIsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return nCode;
}

LRESULT CImageButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    m_bIsDefault = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    // The button stays owner-drawn whatever style the dialog manager sets.
    return DefWindowProc(BM_SETSTYLE, (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW, lParam);
}

LRESULT CImageButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    if (!m_bIsCheckBox)
        return Default();
    m_nCheck = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
    Repaint(TRUE);
    return 0;
}

LRESULT CImageButton::OnGetCheck(WPARAM, LPARAM)
{
    if (!m_bIsCheckBox)
        return Default();
    return m_nCheck;
}

void CImageButton::OnSysColorChange()
{
    Default();
    SetDefaultColors(FALSE);
    DropSavedBackground();
    Repaint(TRUE);
}

BOOL CImageButton::OnClicked()
{
    ::SetFocus(m_hWnd);
    PlaySoundFor(TRUE);
    if (m_bIsCheckBox) {
        m_nCheck = !m_nCheck;
        Repaint(TRUE);
    } else if (m_hMenu != nullptr) {
        HMENU hPopup = ::GetSubMenu(m_hMenu, 0);
        if (hPopup != nullptr) {
            RECT rc;
            ::GetWindowRect(m_hWnd, &rc);
            m_bMenuDisplayed = TRUE;
            Repaint(TRUE);
            ::UpdateWindow(m_hWnd);
            HWND hOwner = m_hParentWndMenu != nullptr ? m_hParentWndMenu : m_hWnd;
            UINT nCmd = (UINT)::TrackPopupMenu(hPopup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                               rc.left, rc.bottom, 0, hOwner, nullptr);
            m_bMenuDisplayed = FALSE;
            Repaint(TRUE);
            if (nCmd != 0 && m_hParentWndMenu != nullptr)
                ::PostMessageA(m_hParentWndMenu, WM_COMMAND, MAKEWPARAM(nCmd, 0), 0);
        }
    } else if (m_szURL[0] != '\0') {
        ::ShellExecuteA(nullptr, "open", m_szURL, nullptr, nullptr, SW_SHOWNORMAL);
    }
    return FALSE;
}

// ---- painting -----------------------------------------------------------------

void CImageButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);

    m_bIsPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    if (m_bIsCheckBox)
        m_bIsPressed = m_nCheck != 0;
    if (m_bMenuDisplayed)
        m_bIsPressed = TRUE;
    m_bIsFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bIsDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;

    RECT itemRect = lpDIS->rcItem;
    pDC->SetBkMode(TRANSPARENT);

    if (m_bDrawTransparent)
        PaintParentBackground(pDC);
    else
        OnDrawBackground(pDC, &itemRect);

    OnDrawBorder(pDC, &itemRect);

    char szTitle[256];
    szTitle[0] = '\0';
    ::GetWindowTextA(m_hWnd, szTitle, sizeof(szTitle));
    BOOL bHasText = szTitle[0] != '\0';

    RECT captionRect = lpDIS->rcItem;
    if (m_csIcons[0].hIcon != nullptr)
        DrawTheIcon(pDC, bHasText, &lpDIS->rcItem, &captionRect);
    if (m_csBitmaps[0].hBitmap != nullptr)
        DrawTheBitmap(pDC, bHasText, &lpDIS->rcItem, &captionRect);
    if (bHasText)
        DrawTheText(pDC, szTitle, &lpDIS->rcItem, &captionRect);

    if (m_bIsFocused && (!m_bIsFlat || m_bDrawFlatFocus)) {
        RECT focusRect = itemRect;
        ::InflateRect(&focusRect, -3, -3);
        pDC->DrawFocusRect(&focusRect);
    }
}

void CImageButton::PaintParentBackground(CDC* pDC)
{
    HWND hParent = ::GetParent(m_hWnd);
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    int cx = rect.right, cy = rect.bottom;
    if (m_dcBk.m_hDC == nullptr && hParent != nullptr) {
        // Captured once: the parent's pixels behind the button.
        RECT rcInParent;
        ::GetWindowRect(m_hWnd, &rcInParent);
        ::MapWindowPoints(nullptr, hParent, (POINT*)&rcInParent, 2);
        CClientDC dcParent(hParent);
        m_dcBk.CreateCompatibleDC(&dcParent);
        m_bmpBk.CreateCompatibleBitmap(dcParent, cx, cy);
        m_hOldBmpBk = m_dcBk.SelectObject(&m_bmpBk);
        m_dcBk.BitBlt(0, 0, cx, cy, &dcParent, rcInParent.left, rcInParent.top, SRCCOPY);
    }
    if (m_dcBk.m_hDC != nullptr)
        pDC->BitBlt(0, 0, cx, cy, &m_dcBk, 0, 0, SRCCOPY);
}

void CImageButton::OnDrawBackground(CDC* pDC, RECT* pRect)
{
    COLORREF crColor;
    if (m_bMouseOnButton || m_bIsPressed)
        crColor = m_crColors[COLOR_BK_IN];
    else if (m_bIsFocused)
        crColor = m_crColors[COLOR_BK_FOCUS];
    else
        crColor = m_crColors[COLOR_BK_OUT];

    // The black frame of a focused or default button stays outside the
    // border, which is drawn inside it.
    if (!m_bIsFlat && (m_bIsFocused || m_bIsDefault)) {
        CBrush brBlack(RGB(0, 0, 0));
        pDC->FrameRect(pRect, &brBlack);
        ::InflateRect(pRect, -1, -1);
    }
    pDC->FillSolidRect(pRect, crColor);
}

void CImageButton::OnDrawBorder(CDC* pDC, RECT* pRect)
{
    if (m_bIsPressed) {
        if (m_bIsFlat) {
            if (m_bDrawBorder)
                pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHILIGHT));
        } else {
            CBrush brShadow(::GetSysColor(COLOR_BTNSHADOW));
            pDC->FrameRect(pRect, &brShadow);
        }
        return;
    }
    if (!m_bIsFlat) {
        CPen penHighlight(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHILIGHT));
        CPen penLight(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT));
        CPen penShadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
        CPen penDarkShadow(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
        const RECT& r = *pRect;
        HGDIOBJ hOld = pDC->SelectObject(&penHighlight);
        pDC->MoveTo(r.left, r.bottom - 1);
        pDC->LineTo(r.left, r.top);
        pDC->LineTo(r.right, r.top);
        pDC->SelectObject(&penLight);
        pDC->MoveTo(r.left + 1, r.bottom - 1);
        pDC->LineTo(r.left + 1, r.top + 1);
        pDC->LineTo(r.right, r.top + 1);
        pDC->SelectObject(&penDarkShadow);
        pDC->MoveTo(r.left, r.bottom - 1);
        pDC->LineTo(r.right - 1, r.bottom - 1);
        pDC->LineTo(r.right - 1, r.top - 1);
        pDC->SelectObject(&penShadow);
        pDC->MoveTo(r.left + 1, r.bottom - 2);
        pDC->LineTo(r.right - 2, r.bottom - 2);
        pDC->LineTo(r.right - 2, r.top);
        pDC->SelectObject(hOld);
    } else if (m_bMouseOnButton && m_bDrawBorder) {
        pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }
}

void CImageButton::PrepareImageRect(BOOL bHasText, const RECT* pItem, RECT* pCaption, BOOL bPressed, int cx, int cy,
                                    RECT* pImage) const
{
    RECT rc = *pItem;
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    *pImage = rc;
    switch (m_byAlign) {
    case ALIGN_HORIZ:
    default:
        if (!bHasText)
            pImage->left += (width - cx) / 2;
        else {
            pImage->left += m_ptImageOrg.x;
            pCaption->left += cx + m_ptImageOrg.x;
        }
        pImage->top += (height - cy) / 2;
        break;
    case ALIGN_HORIZ_RIGHT:
        if (!bHasText)
            pImage->left += (width - cx) / 2;
        else {
            pImage->left = rc.right - cx - m_ptImageOrg.x;
            pCaption->right = pImage->left;
        }
        pImage->top += (height - cy) / 2;
        break;
    case ALIGN_VERT:
        pImage->left += (width - cx) / 2;
        if (!bHasText)
            pImage->top += (height - cy) / 2;
        else {
            pImage->top += m_ptImageOrg.y;
            pCaption->top += cy + m_ptImageOrg.y;
        }
        break;
    }
    if (bPressed && !m_bIsCheckBox)
        ::OffsetRect(pImage, m_ptPressedOffset.x, m_ptPressedOffset.y);
    pImage->right = pImage->left + cx;
    pImage->bottom = pImage->top + cy;
}

void CImageButton::DrawTheIcon(CDC* pDC, BOOL bHasText, const RECT* pItem, RECT* pCaption)
{
    // The out icon while neither hovered nor pressed, else the in icon.
    int index = (m_bMouseOnButton || m_bIsPressed || m_csIcons[1].hIcon == nullptr) ? 0 : 1;
    const IconInfo& icon = m_csIcons[index];
    RECT image;
    PrepareImageRect(bHasText, pItem, pCaption, m_bIsPressed, icon.cx, icon.cy, &image);
    POINT pt = {image.left, image.top};
    SIZE size = {icon.cx, icon.cy};
    pDC->DrawState(pt, size, icon.hIcon, m_bIsDisabled ? DSS_DISABLED : DSS_NORMAL, (HBRUSH) nullptr);
}

void CImageButton::DrawTheBitmap(CDC* pDC, BOOL bHasText, const RECT* pItem, RECT* pCaption)
{
    int index = (m_bMouseOnButton || m_bIsPressed || m_csBitmaps[1].hBitmap == nullptr) ? 0 : 1;
    const BitmapInfo& bmp = m_csBitmaps[index];
    RECT image;
    PrepareImageRect(bHasText, pItem, pCaption, m_bIsPressed, bmp.cx, bmp.cy, &image);
    if (m_bIsDisabled) {
        POINT pt = {image.left, image.top};
        SIZE size = {bmp.cx, bmp.cy};
        pDC->DrawState(pt, size, bmp.hBitmap, DSS_DISABLED, (HBRUSH) nullptr);
        return;
    }
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDC);
    HGDIOBJ hOld = dcMem.SelectObject(bmp.hMask != nullptr ? (HGDIOBJ)bmp.hMask : (HGDIOBJ)bmp.hBitmap);
    COLORREF crOldBk = pDC->SetBkColor(RGB(255, 255, 255));
    COLORREF crOldText = pDC->SetTextColor(RGB(0, 0, 0));
    if (bmp.hMask != nullptr) {
        pDC->BitBlt(image.left, image.top, bmp.cx, bmp.cy, &dcMem, 0, 0, SRCAND);
        dcMem.SelectObject(bmp.hBitmap);
        pDC->BitBlt(image.left, image.top, bmp.cx, bmp.cy, &dcMem, 0, 0, SRCPAINT);
    } else {
        pDC->BitBlt(image.left, image.top, bmp.cx, bmp.cy, &dcMem, 0, 0, SRCCOPY);
    }
    pDC->SetBkColor(crOldBk);
    pDC->SetTextColor(crOldText);
    dcMem.SelectObject(hOld);
}

void CImageButton::DrawTheText(CDC* pDC, const char* lpszText, const RECT* pItem, RECT* pCaption)
{
    RECT centerRect = *pCaption;
    UINT nFormat = DT_WORDBREAK | DT_CENTER;
    RECT measured = *pCaption;
    pDC->DrawText(lpszText, -1, &measured, nFormat | DT_CALCRECT);
    int textHeight = measured.bottom - measured.top;
    int offset = ((centerRect.bottom - centerRect.top) - textHeight) / 2;
    centerRect.top += offset;
    centerRect.bottom = centerRect.top + textHeight;
    if (m_bIsPressed && !m_bIsCheckBox)
        ::OffsetRect(&centerRect, m_ptPressedOffset.x, m_ptPressedOffset.y);
    (void)pItem;

    pDC->SetBkMode(TRANSPARENT);
    if (m_bIsDisabled) {
        RECT shifted = centerRect;
        ::OffsetRect(&shifted, 1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
        pDC->DrawText(lpszText, -1, &shifted, nFormat);
        pDC->SetTextColor(::GetSysColor(COLOR_3DSHADOW));
        pDC->DrawText(lpszText, -1, &centerRect, nFormat);
        return;
    }
    if (m_bMouseOnButton || m_bIsPressed)
        pDC->SetTextColor(m_crColors[COLOR_FG_IN]);
    else if (m_bIsFocused)
        pDC->SetTextColor(m_crColors[COLOR_FG_FOCUS]);
    else
        pDC->SetTextColor(m_crColors[COLOR_FG_OUT]);
    pDC->DrawText(lpszText, -1, &centerRect, nFormat);
}

// ---- CStyledImageButton ---------------------------------------------------------

CStyledImageButton::CStyledImageButton() : m_pTheme(nullptr), m_bToolbarLook(FALSE) { m_bDrawBorder = FALSE; }

void CStyledImageButton::AttachThemeHelper(CVisualThemeHelper* pTheme)
{
    m_pTheme = pTheme;
    // Without a theme the classic frame shows the hover state.
    if (m_pTheme == nullptr || !m_pTheme->IsAppThemed())
        m_bDrawBorder = TRUE;
}

void CStyledImageButton::SetToolbarLook(BOOL bToolbarLook, BOOL bRepaint)
{
    m_bToolbarLook = bToolbarLook;
    Repaint(bRepaint);
}

BOOL CStyledImageButton::IsThemed() const { return m_pTheme != nullptr && m_pTheme->IsAppThemed(); }

void CStyledImageButton::OnDrawBackground(CDC* pDC, RECT* pRect)
{
    if (IsThemed()) {
        HTHEME_HANDLE hTheme = m_pTheme->OpenThemeData(m_hWnd, m_bToolbarLook ? L"TOOLBAR" : L"BUTTON");
        if (hTheme != nullptr) {
            int state;
            if (m_bIsDisabled)
                state = 4;
            else if (m_bIsPressed)
                state = 3;
            else if (m_bMouseOnButton)
                state = 2;
            else if ((m_bIsDefault && !m_bToolbarLook) || (m_bToolbarLook && m_bDrawBorder))
                state = 5;
            else
                state = 1;
            m_pTheme->DrawThemeBackground(m_hWnd, pDC->m_hDC, hTheme, 1, state, pRect, nullptr);
            m_pTheme->CloseThemeData(hTheme);
            return;
        }
    }
    CImageButton::OnDrawBackground(pDC, pRect);
}

void CStyledImageButton::OnDrawBorder(CDC* pDC, RECT* pRect)
{
    if (IsThemed())
        return;
    CImageButton::OnDrawBorder(pDC, pRect);
}
