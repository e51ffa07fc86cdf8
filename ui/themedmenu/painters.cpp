// The draw painters of the menu themes (2003, XP, classic, gradient, flat
// bar), the check-mark painter and the title painter.
#include "menutheme.h"

namespace {
const UINT ODS_SIDEBAR = 0x8000; // an item of a bar docked at a side: text turned by 90 degrees
const UINT ODS_PRESSED = 0x800;  // a bar item pressed without a popup

BOOL HighContrast() { return GetThemedSystemInfo().bHighContrast; }

BOOL KeyboardCues() { return GetMenuSettings().bKeyboardCues; }

// Everything one painter call needs about the item.
struct ItemPaint
{
    CThemedMenu* pMenu;
    LPDRAWITEMSTRUCT lpdis;
    CThemedMenuItemData* pRecord;
    int nPos;
    CRect rect;
    UINT state;
    BOOL bBar;
    BOOL bRtl;
    BOOL bSelected;
    BOOL bDisabled;
    BOOL bChecked;
    BOOL bHot;
    BOOL bHasImage;
};

CThemedMenuItemData* RecordOf(CThemedMenu* pMenu, LPDRAWITEMSTRUCT lpdis, int& nPos)
{
    for (int i = 0; i < pMenu->GetRecordCount(); ++i)
        if ((ULONG_PTR)pMenu->GetRecord(i) == lpdis->itemData) {
            nPos = i;
            return pMenu->GetRecord(i);
        }
    CThemedMenu* pOwner = nullptr;
    CThemedMenuItemData* p = pMenu->FindRecord(lpdis->itemID, &pOwner, &nPos);
    return pOwner == pMenu ? p : nullptr;
}

// Steps shared by every painter: the item's record and its state.
BOOL PrepareItem(ItemPaint& ip, CThemedMenu* pMenu, LPDRAWITEMSTRUCT lpdis, BOOL bBar)
{
    ip.pMenu = pMenu;
    ip.lpdis = lpdis;
    ip.nPos = -1;
    ip.pRecord = RecordOf(pMenu, lpdis, ip.nPos);
    if (!ip.pRecord)
        return FALSE;
    ip.rect = lpdis->rcItem;
    ip.bBar = bBar;
    ip.bRtl = (ip.pRecord->m_nFlags & MFT_RIGHTORDER) != 0;
    UINT s = lpdis->itemState;
    if (bBar) {
        if (!::IsMenu((HMENU)(UINT_PTR)lpdis->itemID) && (s & ODS_PRESSED))
            s = (s & ~ODS_SELECTED) | ODS_HOTLIGHT;
        if (pMenu->m_nOpenPopups == 0 && (s & ODS_SELECTED))
            s = (s & ~ODS_SELECTED) | ODS_HOTLIGHT;
    }
    ip.state = s;
    ip.bSelected = (s & ODS_SELECTED) != 0;
    ip.bDisabled = (s & (ODS_GRAYED | ODS_DISABLED)) != 0;
    ip.bChecked = (s & ODS_CHECKED) != 0;
    ip.bHot = (s & ODS_HOTLIGHT) != 0;
    ip.bHasImage =
        ip.pRecord->m_nImageIndex >= 0 && ip.pRecord->m_pIcons && ip.pRecord->m_pIcons->m_images.m_hImageList;
    if (bBar && (ip.bHot || ip.bSelected)) {
        // Where the open or hot bar item lies on the screen: its popup joins
        // it there, and it is redrawn when the popup closes.
        CRect r(ip.rect);
        ::LPtoDP(lpdis->hDC, (LPPOINT)&r, 2);
        POINT org = {0, 0};
        ::GetDCOrgEx(lpdis->hDC, &org);
        r.OffsetRect(org.x, org.y);
        pMenu->m_rectBarItem = r;
    }
    return TRUE;
}

// The menu font of the item (bold for the default item, turned for side bars).
class CItemFont
{
public:
    CItemFont(CDC* pDC, UINT state) : m_pDC(pDC), m_hOld(nullptr)
    {
        const NONCLIENTMETRICSA* ncm = GetMenuSettings().pMetrics;
        LOGFONTA lf = {};
        if (ncm)
            lf = ncm->lfMenuFont;
        if (state & ODS_DEFAULT)
            lf.lfWeight = FW_BOLD;
        if (state & ODS_SIDEBAR)
            lf.lfEscapement = lf.lfOrientation = -900;
        // The system draws its menus with the same font: a selection of an
        // equal one is left out (each costs the display driver a look at its
        // settings).
        HFONT hCurrent = (HFONT)::GetCurrentObject(pDC->m_hDC, OBJ_FONT);
        LOGFONTA current = {};
        if (hCurrent && ::GetObjectA(hCurrent, sizeof(current), &current) == sizeof(current) &&
            SameLogFont(current, lf))
            return;
        HFONT hFont = GetThemedFont(lf);
        if (hFont && hFont != hCurrent)
            m_hOld = ::SelectObject(pDC->m_hDC, hFont);
    }
    ~CItemFont()
    {
        if (m_hOld)
            ::SelectObject(m_pDC->m_hDC, m_hOld);
    }
    CItemFont(const CItemFont&) = delete;
    CItemFont& operator=(const CItemFont&) = delete;

private:
    CDC* m_pDC;
    HGDIOBJ m_hOld;
};

UINT PrefixFlags(UINT state) { return (state & ODS_NOACCEL) && !KeyboardCues() ? DT_HIDEPREFIX : 0; }

// The text of a popup item: the label left, the shortcut right.
void DrawPopupText(CDC* pDC, const ItemPaint& ip, CRect area, COLORREF color)
{
    CString text = ip.pRecord->GetString(ip.pMenu->GetShortcutTable());
    int first = text.Find('\t'), last = text.ReverseFind('\t');
    CString label = first >= 0 ? text.Left(first) : text;
    CString shortcut = last >= 0 ? text.Mid(last + 1) : CString();
    CItemFont font(pDC, ip.state);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(color);
    CRect r(area);
    if (ip.bRtl) {
        r.left += 15;
        r.right -= 4;
    } else {
        r.left += 4;
        r.right -= 15;
    }
    UINT prefix = PrefixFlags(ip.state);
    pDC->DrawText(label, label.GetLength(), r,
                  DT_VCENTER | DT_SINGLELINE | prefix | (ip.bRtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
    if (!shortcut.IsEmpty())
        pDC->DrawText(shortcut, shortcut.GetLength(), r,
                      DT_VCENTER | DT_SINGLELINE | prefix | (ip.bRtl ? DT_LEFT : DT_RIGHT));
}

// The text of a menu-bar item, centred.
void DrawBarText(CDC* pDC, const ItemPaint& ip, const CRect& r, COLORREF color)
{
    CString text = ip.pRecord->GetString(nullptr);
    CItemFont font(pDC, ip.state);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(color);
    if (ip.state & ODS_SIDEBAR) {
        DrawMenuText(pDC, text, text.GetLength(), r, DMT_PLACE | PrefixFlags(ip.state));
        return;
    }
    CRect rt(r);
    pDC->DrawText(text, text.GetLength(), rt, DT_CENTER | DT_VCENTER | DT_SINGLELINE | PrefixFlags(ip.state));
}

// The image of the item at the given place: disabled, dimmed or normal.
void DrawItemImage(CDC* pDC, const ItemPaint& ip, int left, const CRect& item, BOOL bMono = FALSE)
{
    CThemedMenuIcons* pIcons = ip.pRecord->m_pIcons;
    CSize size = pIcons->GetIconSize();
    CThemedMenuIcons::Look look = ip.bDisabled                                       ? CThemedMenuIcons::LOOK_DISABLED
                                  : (!ip.bSelected && CThemedMenu::GetDimmedIcons()) ? CThemedMenuIcons::LOOK_DIMMED
                                                                                     : CThemedMenuIcons::LOOK_NORMAL;
    int w = ip.pMenu->m_nIconWidth;
    int x = left + (size.cx < w ? (w - size.cx) / 2 : 0);
    int y = item.top + (item.Height() - size.cy) / 2;
    (void)bMono;
    pIcons->Images(look).Draw(pDC->m_hDC, ip.pRecord->m_nImageIndex, CPoint(x, y), ILD_TRANSPARENT);
}

// The check-mark bitmaps of the item.
void GetCheckBitmaps(const ItemPaint& ip, HBITMAP& hChecked, HBITMAP& hUnchecked)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_CHECKMARKS;
    hChecked = hUnchecked = nullptr;
    if (ip.nPos >= 0 && ::GetMenuItemInfoA(ip.pMenu->m_hMenu, (UINT)ip.nPos, TRUE, &mii)) {
        hChecked = mii.hbmpChecked;
        hUnchecked = mii.hbmpUnchecked;
    }
}

void DrawBitmapCentred(CDC* pDC, HBITMAP hBitmap, const CRect& r, BOOL bDisabled)
{
    BITMAP bm = {};
    if (!::GetObjectA(hBitmap, sizeof(bm), &bm))
        return;
    CPoint pt(r.left + (r.Width() - bm.bmWidth) / 2, r.top + (r.Height() - bm.bmHeight) / 2);
    pDC->DrawState(pt, CSize(bm.bmWidth, bm.bmHeight), hBitmap, DSS_MONO | (bDisabled ? DSS_DISABLED : 0));
}

// Check mark, bullet or the item's own check bitmaps in a box.
void DrawCheckMarks(CDC* pDC, const ItemPaint& ip, const CRect& box, COLORREF glyphColor)
{
    HBITMAP hChecked, hUnchecked;
    GetCheckBitmaps(ip, hChecked, hUnchecked);
    if (!ip.bChecked) {
        if (hUnchecked)
            DrawBitmapCentred(pDC, hUnchecked, box, (ip.state & ODS_DISABLED) != 0);
        return;
    }
    if (hChecked && hUnchecked) {
        DrawBitmapCentred(pDC, hChecked, box, (ip.state & ODS_DISABLED) != 0);
        return;
    }
    pDC->SetTextColor(glyphColor);
    DrawMarlettGlyph(pDC, box, hChecked ? 'i' : 'b', FALSE);
}

BOOL IsSystemGlyphItem(const ItemPaint& ip)
{
    UINT id = ip.lpdis->itemID & 0xFFFF;
    return !ip.bHasImage && id > 0xEFFF && id <= 0xF150 && GetSystemCommandGlyph(id);
}

COLORREF GlyphColor(const ItemPaint& ip, BOOL bClassic)
{
    if (ip.state & (ODS_GRAYED | ODS_INACTIVE))
        return ::GetSysColor(COLOR_GRAYTEXT);
    if (bClassic && ip.bSelected)
        return ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    return ::GetSysColor(COLOR_MENUTEXT);
}

// The XP painters' system glyph: centred on the icon height, with a shadow
// when selected.
void DrawSystemGlyphXP(CDC* pDC, const ItemPaint& ip, CRect box)
{
    char ch = GetSystemCommandGlyph(ip.lpdis->itemID & 0xFFFF);
    int h = ip.pMenu->m_nIconHeight + 4;
    int top = ip.rect.top + (ip.rect.Height() - h) / 2;
    box.top = top;
    box.bottom = top + h;
    BOOL bBold = (ip.state & ODS_DEFAULT) != 0;
    if (ip.bSelected && !ip.bDisabled) {
        CRect shadow(box);
        shadow.OffsetRect(1, 1);
        pDC->SetTextColor(ShadowColor(GetSelectColor()));
        DrawMarlettGlyph(pDC, shadow, ch, bBold);
        box.OffsetRect(-1, -1);
        pDC->SetTextColor(::GetSysColor(COLOR_MENUTEXT));
    } else {
        pDC->SetTextColor(GlyphColor(ip, FALSE));
    }
    DrawMarlettGlyph(pDC, box, ch, bBold);
}

// Aligns a pattern brush with the top-level window that holds the DC's window.
void AlignBrushOrigin(CDC* pDC)
{
    HWND hWnd = ::WindowFromDC(pDC->m_hDC);
    if (!hWnd)
        return;
    HWND hRoot = ::GetAncestor(hWnd, GA_ROOT);
    POINT org = {0, 0};
    ::GetDCOrgEx(pDC->m_hDC, &org);
    RECT rw;
    ::GetWindowRect(hRoot ? hRoot : hWnd, &rw);
    ::SetBrushOrgEx(pDC->m_hDC, rw.left - org.x, rw.top - org.y, nullptr);
}

// A bar item's background from the menu's brush, or a flat colour.
void FillWithMenuBrush(CDC* pDC, HMENU hMenu, const CRect& r, COLORREF flat)
{
    HBRUSH hbr = GetMenuBackgroundBrush(hMenu);
    if (!hbr) {
        pDC->FillSolidRect(&r, flat);
        return;
    }
    AlignBrushOrigin(pDC);
    pDC->FillRect(&r, hbr);
}

// The shadow strip right of (below, side-docked) an open bar item.
void DrawBarShadow(CDC* pDC, const CRect& strip, BOOL bVertical)
{
    if (GetDisplayColorCount() <= 256) {
        COLORREF s = ::GetSysColor(COLOR_BTNSHADOW);
        if (bVertical)
            pDC->FillSolidRect(strip.left, strip.top, strip.Width(), 2, s);
        else
            pDC->FillSolidRect(strip.left, strip.top, 2, strip.Height(), s);
        return;
    }
    int length = bVertical ? strip.Width() : strip.Height();
    for (int k = 1; k <= 4; ++k) {
        for (int i = 4; i < length; ++i) {
            int f = i <= 7 ? 255 - 6 * k - 6 * k * (i - 4) : 255 - 30 * k;
            int x = bVertical ? strip.left + i : strip.left + (4 - k);
            int y = bVertical ? strip.top + (4 - k) : strip.top + i;
            COLORREF c = pDC->GetPixel(x, y);
            pDC->SetPixel(x, y, RGB(GetRValue(c) * f / 255, GetGValue(c) * f / 255, GetBValue(c) * f / 255));
        }
    }
}

void FrameRectIn(CDC* pDC, const CRect& r, COLORREF c) { pDC->Draw3dRect(&r, c, c); }
// The icon column (the icon width and a margin) and the text area right of
// it, or left of it in a right-to-left menu.
void SplitIconColumn(const ItemPaint& ip, CRect& colRect, CRect& textRect)
{
    const int column = ip.pMenu->m_nIconWidth + 8;
    colRect = textRect = ip.rect;
    if (ip.bRtl) {
        colRect.left = colRect.right - column;
        textRect.right = colRect.left;
    } else {
        colRect.right = colRect.left + column;
        textRect.left = colRect.right;
    }
}

// Check marks and system glyphs of an item without image, in its column.
void DrawColumnGlyphs(CDC* pDC, const ItemPaint& ip, const CRect& colRect)
{
    CRect glyph(colRect);
    glyph.InflateRect(2, 0);
    int h = ip.pMenu->m_nIconHeight + 4;
    glyph.top = ip.rect.top + (ip.rect.Height() - h) / 2;
    glyph.bottom = glyph.top + h;
    DrawCheckMarks(pDC, ip, glyph, GlyphColor(ip, FALSE));
    if (IsSystemGlyphItem(ip))
        DrawSystemGlyphXP(pDC, ip, colRect);
}

// A bar item's rectangle split into its body and the 4-pixel strip beside it:
// below the body on a bar docked at a side, right of it otherwise.
void SplitBarItemRect(const CRect& r, BOOL bVertical, CRect& body, CRect& strip)
{
    body = r;
    strip = r;
    if (bVertical) {
        body.bottom -= 4;
        strip.top = body.bottom;
    } else {
        body.right -= 4;
        strip.left = body.right;
    }
}

// The popup text in the colours of the XP and 2003 looks.
void DrawPopupTextXP(CDC* pDC, const ItemPaint& ip, const CRect& textRect, BOOL hc)
{
    COLORREF text = ip.bDisabled ? ::GetSysColor(COLOR_GRAYTEXT) : ::GetSysColor(COLOR_MENUTEXT);
    if (hc && !ip.bSelected && !ip.bDisabled)
        text = ::GetSysColor(COLOR_WINDOWTEXT);
    DrawPopupText(pDC, ip, textRect, text);
}

} // namespace

// ---------------------------------------------------------------- 2003

void CThemedMenu::DrawItem2003(LPDRAWITEMSTRUCT lpdis, BOOL bBar)
{
    ItemPaint ip;
    if (!PrepareItem(ip, this, lpdis, bBar))
        return;
    CDC* pTarget = CDC::FromHandle(lpdis->hDC);
    BOOL hc = HighContrast();
    COLORREF N = DarkenColor(::GetSysColor(COLOR_WINDOW), 10);
    COLORREF P1, P2;
    Get2003Colors(P1, P2, TRUE);
    COLORREF selFill, boxSelected, boxChecked;
    if (IsVisualThemeActive() || GetThemeId() == 10 || GetThemeId() == 11) {
        selFill = 0xC2EEFF;
        boxSelected = 0x3E80FE;
        boxChecked = 0x6FC0FF;
    } else {
        selFill = GetSelectColor();
        boxSelected = boxChecked = MixColor86(GetSelectColor(), ::GetSysColor(COLOR_HIGHLIGHT));
    }
    COLORREF frame = ::GetSysColor(hc ? COLOR_BTNTEXT : COLOR_HIGHLIGHT);

    if (bBar) {
        CRect r(ip.rect), body, strip;
        BOOL bVertical = (ip.state & ODS_SIDEBAR) != 0;
        SplitBarItemRect(r, bVertical, body, strip);
        BOOL bRich = GetDisplayColorCount() > 256;
        if (ip.bHot) {
            FillWithMenuBrush(pTarget, m_hMenu, r, P1);
            if (bRich)
                DrawGradient(pTarget, body, N, selFill, FALSE, FALSE);
            else
                pTarget->FillSolidRect(&body, N);
            FrameRectIn(pTarget, body, frame);
        } else if (ip.bSelected) {
            FillWithMenuBrush(pTarget, m_hMenu, r, P1);
            pTarget->FillSolidRect(&body, P1);
            DrawBarShadow(pTarget, strip, bVertical);
            if (bRich)
                DrawGradient(pTarget, body, N, P1, FALSE, FALSE);
            else
                pTarget->FillSolidRect(&body, N);
            FrameRectIn(pTarget, body, hc ? ::GetSysColor(COLOR_BTNTEXT) : DarkenColor(GetMenuBarColorThemed(), 128));
        } else {
            FillWithMenuBrush(pTarget, m_hMenu, r, P1);
        }
        COLORREF text = ::GetSysColor(COLOR_MENUTEXT);
        if (ip.bDisabled || (ip.state & ODS_INACTIVE))
            text = GetDisplayColorCount() <= 256 && ip.bDisabled ? N : ::GetSysColor(COLOR_GRAYTEXT);
        DrawBarText(pTarget, ip, (ip.bHot || ip.bSelected) ? body : r, text);
        return;
    }

    COLORREF M = ::GetSysColor(IsFlatMenu() ? COLOR_MENUBAR : COLOR_MENU);
    COLORREF G = MixColor86(N, M);
    if (NearestScreenColor(G) == NearestScreenColor(P1))
        G = N;
    CRect colRect, textRect;
    SplitIconColumn(ip, colRect, textRect);

    if (ip.pRecord->IsSeparator()) {
        if (ip.pRecord->m_nTitleFlags & TITLE_ITEM) {
            DrawMenuTitle(lpdis);
            return;
        }
        pTarget->FillSolidRect(&textRect, G);
        DrawGradient(pTarget, colRect, ip.bRtl ? P1 : G, ip.bRtl ? G : P1, TRUE, FALSE);
        int y = ip.rect.top + ip.rect.Height() / 2;
        if (ip.bRtl)
            pTarget->FillSolidRect(ip.rect.left, y, colRect.left - ip.rect.left, 1, ::GetSysColor(COLOR_GRAYTEXT));
        else
            pTarget->FillSolidRect(textRect.left + 4, y, ip.rect.right - textRect.left - 4, 1,
                                   ::GetSysColor(COLOR_GRAYTEXT));
        return;
    }

    CThemedMemDC dc(&ip.rect, pTarget);
    dc.FillSolidRect(&textRect, G);
    DrawGradient(&dc, colRect, ip.bRtl ? P1 : G, ip.bRtl ? G : P1, TRUE, FALSE);
    if (ip.bSelected) {
        dc.FillSolidRect(&ip.rect, selFill);
        FrameRectIn(&dc, ip.rect, frame);
    }
    CRect box(colRect);
    box.DeflateRect(1, 1, 2, 1);
    if (ip.bRtl)
        box.OffsetRect(1, 0);
    HBITMAP hChecked, hUnchecked;
    GetCheckBitmaps(ip, hChecked, hUnchecked);
    if (ip.bHasImage) {
        if (ip.bChecked) {
            dc.FillSolidRect(&box, ip.bSelected ? boxSelected : boxChecked);
            FrameRectIn(&dc, box, frame);
        }
        DrawItemImage(&dc, ip, colRect.left + 3, ip.rect);
    } else {
        if (ip.bChecked || hUnchecked) {
            dc.FillSolidRect(&box, ip.bSelected ? boxSelected : boxChecked);
            FrameRectIn(&dc, box, frame);
        }
        DrawColumnGlyphs(&dc, ip, colRect);
    }
    DrawPopupTextXP(&dc, ip, textRect, hc);
}

// ---------------------------------------------------------------- XP

void CThemedMenu::DrawItemXP(LPDRAWITEMSTRUCT lpdis, BOOL bBar)
{
    ItemPaint ip;
    if (!PrepareItem(ip, this, lpdis, bBar))
        return;
    CDC* pTarget = CDC::FromHandle(lpdis->hDC);
    BOOL hc = HighContrast();
    COLORREF frame = ::GetSysColor(hc ? COLOR_BTNTEXT : COLOR_HIGHLIGHT);
    COLORREF M = GetMenuBarColorThemed(m_hMenu), W = ::GetSysColor(COLOR_WINDOW);
    COLORREF back = MixColor86(W, M);
    COLORREF col = GetDisplayColorCount() <= 256 ? ::GetSysColor(COLOR_BTNFACE) : MixColor86(M, W);
    if (NearestScreenColor(back) == NearestScreenColor(col)) {
        back = W;
        col = M;
    }
    if (bBar) {
        CRect r(ip.rect), body, strip;
        BOOL bVertical = (ip.state & ODS_SIDEBAR) != 0;
        SplitBarItemRect(r, bVertical, body, strip);
        pTarget->FillSolidRect(&r, GetMenuBarColorThemed());
        if (ip.bHot) {
            pTarget->FillSolidRect(&body, GetSelectColor());
            FrameRectIn(pTarget, body, frame);
        } else if (ip.bSelected) {
            pTarget->FillSolidRect(&body, col);
            DrawBarShadow(pTarget, strip, bVertical);
            FrameRectIn(pTarget, body, hc ? ::GetSysColor(COLOR_BTNTEXT) : DarkenColor(GetMenuBarColorThemed(), 128));
        }
        COLORREF text =
            (ip.bDisabled || (ip.state & ODS_INACTIVE)) ? ::GetSysColor(COLOR_GRAYTEXT) : ::GetSysColor(COLOR_MENUTEXT);
        DrawBarText(pTarget, ip, (ip.bHot || ip.bSelected) ? body : r, text);
        return;
    }
    CRect colRect, textRect;
    SplitIconColumn(ip, colRect, textRect);
    if (ip.pRecord->IsSeparator()) {
        if (ip.pRecord->m_nTitleFlags & TITLE_ITEM) {
            DrawMenuTitle(lpdis);
            return;
        }
        pTarget->FillSolidRect(&textRect, back);
        pTarget->FillSolidRect(&colRect, col);
        int y = ip.rect.top + ip.rect.Height() / 2;
        pTarget->FillSolidRect(textRect.left + 4, y, textRect.Width() - 4, 1, DarkenColor(M, 40));
        return;
    }
    CThemedMemDC dc(&ip.rect, pTarget);
    dc.FillSolidRect(&textRect, back);
    dc.FillSolidRect(&colRect, col);
    if (ip.bSelected) {
        dc.FillSolidRect(&ip.rect, GetSelectColor());
        FrameRectIn(&dc, ip.rect, frame);
    }
    CRect box(colRect);
    box.DeflateRect(1, 1, 2, 1);
    HBITMAP hChecked, hUnchecked;
    GetCheckBitmaps(ip, hChecked, hUnchecked);
    if (ip.bChecked || (!ip.bHasImage && hUnchecked)) {
        dc.FillSolidRect(&box, MixColor86(GetSelectColor(), ::GetSysColor(COLOR_HIGHLIGHT)));
        FrameRectIn(&dc, box, frame);
    }
    if (ip.bHasImage) {
        DrawItemImage(&dc, ip, colRect.left + 3, ip.rect);
    } else {
        DrawColumnGlyphs(&dc, ip, colRect);
    }
    DrawPopupTextXP(&dc, ip, textRect, hc);
}

// ---------------------------------------------------------------- classic

namespace {
// The classic and gradient painters' popup item, with their own colours.
struct ClassicLook
{
    BOOL bGradient;
    COLORREF M, light, dark;
};

void DrawClassicPopup(CThemedMenu* pMenu, ItemPaint& ip, const ClassicLook& look)
{
    CDC* pTarget = CDC::FromHandle(ip.lpdis->hDC);
    BOOL hc = HighContrast();
    int w = pMenu->m_nIconWidth, h = pMenu->m_nIconHeight;
    CRect iconBox(ip.rect), textRect(ip.rect);
    if (ip.bRtl) {
        iconBox.left = ip.rect.right - (w + 8);
        textRect.right = iconBox.left;
    } else {
        iconBox.left = ip.rect.left + 1;
        iconBox.right = ip.rect.left + w + 9;
        textRect.left = iconBox.right;
    }
    auto background = [&](CDC* pDC, const CRect& r) {
        if (look.bGradient && !hc)
            DrawGradient(pDC, r, LightenColor(look.M, 30), DarkenColor(look.M, 30), FALSE, TRUE);
        else
            pDC->FillSolidRect(&r, look.bGradient ? look.M : ::GetSysColor(COLOR_MENU));
    };
    if (ip.pRecord->IsSeparator()) {
        if (ip.pRecord->m_nTitleFlags & TITLE_ITEM) {
            pMenu->DrawMenuTitle(ip.lpdis);
            return;
        }
        CRect edge(ip.rect);
        if (look.bGradient) {
            pTarget->FillSolidRect(&ip.rect, hc ? ::GetSysColor(COLOR_BTNTEXT) : look.light);
            edge.DeflateRect(1, 0);
        } else {
            pTarget->FillSolidRect(&ip.rect, ::GetSysColor(COLOR_MENU));
            edge.OffsetRect(1, 1);
        }
        pTarget->DrawEdge(edge, EDGE_ETCHED, BF_TOP);
        return;
    }
    CThemedMemDC dc(&ip.rect, pTarget);
    background(&dc, ip.rect);
    HBITMAP hChecked, hUnchecked;
    GetCheckBitmaps(ip, hChecked, hUnchecked);
    if (ip.bSelected) {
        CRect sel = (ip.bHasImage || ip.bChecked) ? textRect : ip.rect;
        if (look.bGradient) {
            COLORREF hi = ::GetSysColor(COLOR_HIGHLIGHT);
            if (hc)
                dc.FillSolidRect(&sel, hi);
            else
                DrawGradient(&dc, sel, LightenColor(hi, 30), DarkenColor(hi, 30), FALSE, TRUE);
            dc.Draw3dRect(&sel, look.dark, look.light);
        } else {
            dc.FillSolidRect(&sel, ::GetSysColor(COLOR_HIGHLIGHT));
        }
    }
    CRect box(iconBox.left + (iconBox.Width() - w) / 2, ip.rect.top + (ip.rect.Height() - h) / 2, 0, 0);
    box.right = box.left + w;
    box.bottom = box.top + h;
    CRect grown(box);
    grown.InflateRect(2, 2);
    if (ip.bHasImage && GetWindowsClass() > WINCLASS_NT3) {
        COLORREF hiC = look.bGradient ? look.light : ::GetSysColor(COLOR_BTNHIGHLIGHT);
        COLORREF shC = look.bGradient ? look.dark : ::GetSysColor(COLOR_BTNSHADOW);
        if (ip.bChecked)
            dc.Draw3dRect(&grown, shC, hiC);
        else if (ip.bSelected && !ip.bDisabled)
            dc.Draw3dRect(&grown, hiC, shC);
    }
    if (ip.bHasImage) {
        // The classic look shows the normal image of an enabled item.
        ItemPaint plain = ip;
        if (!ip.bDisabled)
            plain.bSelected = TRUE;
        DrawItemImage(&dc, plain, box.left, ip.rect);
    } else {
        pMenu->DrawCheckOrBitmap(&dc, grown, ip.state, hChecked, hUnchecked);
        if (IsSystemGlyphItem(ip)) {
            dc.SetTextColor(GlyphColor(ip, TRUE));
            DrawMarlettGlyph(&dc, grown, GetSystemCommandGlyph(ip.lpdis->itemID & 0xFFFF),
                             (ip.state & ODS_DEFAULT) != 0);
        }
    }
    if (ip.bDisabled && !look.bGradient && !ip.bSelected) {
        CRect shifted(textRect);
        shifted.OffsetRect(1, 1);
        DrawPopupText(&dc, ip, shifted, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawPopupText(&dc, ip, textRect, ::GetSysColor(COLOR_GRAYTEXT));
    } else if (ip.bDisabled && ip.bSelected) {
        DrawPopupText(&dc, ip, textRect, ::GetSysColor(COLOR_MENU));
    } else {
        DrawPopupText(&dc, ip, textRect, ::GetSysColor(ip.bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
}

void DrawClassicBar(CThemedMenu* pMenu, ItemPaint& ip, const ClassicLook& look)
{
    CDC* pDC = CDC::FromHandle(ip.lpdis->hDC);
    CRect r(ip.rect);
    BOOL bInactive = (ip.state & ODS_INACTIVE) != 0;
    if (look.bGradient && !HighContrast() && (ip.bHot || ip.bSelected) && !bInactive) {
        COLORREF c = GetMenuBarColor();
        DrawGradient(pDC, r, LightenColor(c, 30), DarkenColor(c, 30), FALSE, TRUE);
    } else if (look.bGradient) {
        FillWithMenuBrush(pDC, pMenu->m_hMenu, r, GetMenuBarColorThemed());
    } else {
        pDC->FillSolidRect(&r, GetMenuBarColorThemed());
    }
    CRect edge(r);
    edge.right -= 2;
    COLORREF hi = look.bGradient ? look.light : ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF sh = look.bGradient ? look.dark : ::GetSysColor(COLOR_BTNSHADOW);
    if (ip.bSelected)
        pDC->Draw3dRect(&edge, sh, hi);
    else if (ip.bHot && !bInactive)
        pDC->Draw3dRect(&edge, hi, sh);
    CRect text(r);
    if (ip.bSelected)
        text.OffsetRect(1, 1);
    DrawBarText(pDC, ip, text, ::GetSysColor(bInactive || ip.bDisabled ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
}
} // namespace

void CThemedMenu::DrawItemClassic(LPDRAWITEMSTRUCT lpdis, BOOL bBar)
{
    ItemPaint ip;
    if (!PrepareItem(ip, this, lpdis, bBar))
        return;
    ClassicLook look = {FALSE, ::GetSysColor(COLOR_MENU), ::GetSysColor(COLOR_BTNHIGHLIGHT),
                        ::GetSysColor(COLOR_BTNSHADOW)};
    if (bBar)
        DrawClassicBar(this, ip, look);
    else
        DrawClassicPopup(this, ip, look);
}

void CThemedMenu::DrawItemGradient(LPDRAWITEMSTRUCT lpdis, BOOL bBar)
{
    ItemPaint ip;
    if (!PrepareItem(ip, this, lpdis, bBar))
        return;
    COLORREF M = ::GetSysColor(IsFlatMenu() ? COLOR_MENUBAR : COLOR_MENU);
    ClassicLook look = {TRUE, M, LightenColor(M, 60), DarkenColor(M, 60)};
    if (HighContrast())
        look.light = look.dark = ::GetSysColor(COLOR_BTNTEXT);
    if (bBar)
        DrawClassicBar(this, ip, look);
    else
        DrawClassicPopup(this, ip, look);
}

void CThemedMenu::DrawItemFlatBar(LPDRAWITEMSTRUCT lpdis, BOOL bBar)
{
    if (!bBar) {
        DrawItemClassic(lpdis, bBar);
        return;
    }
    ItemPaint ip;
    if (!PrepareItem(ip, this, lpdis, bBar))
        return;
    CDC* pDC = CDC::FromHandle(lpdis->hDC);
    COLORREF text;
    if (ip.bSelected || ip.bHot) {
        pDC->FillSolidRect(&ip.rect, ::GetSysColor(COLOR_HIGHLIGHT));
        text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        pDC->FillSolidRect(&ip.rect, GetMenuBarColorThemed());
        text = ::GetSysColor(COLOR_MENUTEXT);
    }
    if (ip.bDisabled)
        text = ::GetSysColor(COLOR_GRAYTEXT);
    DrawBarText(pDC, ip, ip.rect, text);
}

void CThemedMenu::DrawCheckOrBitmap(CDC* pDC, LPCRECT pRect, UINT nState, HBITMAP hChecked, HBITMAP hUnchecked)
{
    BOOL bChecked = (nState & ODS_CHECKED) != 0;
    if (!bChecked && !hUnchecked)
        return;
    CRect r(*pRect);
    r.DeflateRect(1, 1);
    if (GetWindowsClass() > WINCLASS_NT3)
        pDC->DrawEdge(r, BDR_SUNKENINNER, BF_RECT);
    r.InflateRect(2, 2);
    BOOL bDisabled = (nState & ODS_DISABLED) != 0;
    if (!bChecked) {
        DrawBitmapCentred(pDC, hUnchecked, r, bDisabled);
        return;
    }
    if (hChecked && hUnchecked) {
        DrawBitmapCentred(pDC, hChecked, r, bDisabled);
        return;
    }
    pDC->SetTextColor(::GetSysColor((nState & (ODS_GRAYED | ODS_INACTIVE)) ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    if (!hChecked) {
        CRect g(r);
        g.OffsetRect(1, 2);
        DrawMarlettGlyph(pDC, g, 'b', FALSE);
    } else {
        DrawMarlettGlyph(pDC, r, 'i', FALSE);
    }
}

// ---------------------------------------------------------------- titles

void CThemedMenu::PaintMenuTitle(LPDRAWITEMSTRUCT lpdis)
{
    int nPos = -1;
    CThemedMenuItemData* pRecord = RecordOf(this, lpdis, nPos);
    if (!pRecord)
        return;
    CDC* pDC = CDC::FromHandle(lpdis->hDC);
    int flags = pRecord->m_nTitleFlags;
    COLORREF menu = ::GetSysColor(IsFlatMenu() ? COLOR_MENUBAR : COLOR_MENU);
    COLORREF background = ::GetSysColor(COLOR_ACTIVECAPTION);
    COLORREF gradient = MixColor86(::GetSysColor(COLOR_WINDOW), menu);
    COLORREF textColor = ::GetSysColor(COLOR_CAPTIONTEXT);
    if (CThemedMenuItemDataTitle* pTitle = dynamic_cast<CThemedMenuItemDataTitle*>(pRecord)) {
        if (pTitle->m_crBackground != 0xFF000000)
            background = pTitle->m_crBackground;
        if (pTitle->m_crGradient != 0xFF000000)
            gradient = pTitle->m_crGradient;
        if (pTitle->m_crText != 0xFF000000)
            textColor = pTitle->m_crText;
    }
    CSize image(0, 0), iconSize(0, 0);
    if (pRecord->m_nImageIndex >= 0 && pRecord->m_pIcons) {
        iconSize = pRecord->m_pIcons->GetIconSize();
        image = CSize(iconSize.cx + 4, iconSize.cy + 4);
    }
    BOOL bVertical = (flags & TITLE_VERTICAL) != 0;
    LOGFONTA lf = Options().titleFont;
    if (bVertical)
        lf.lfEscapement = lf.lfOrientation = 900;
    CFont font;
    font.CreateFontIndirect(&lf);
    HGDIOBJ hOldFont = pDC->SelectObject(&font);
    CString text = pRecord->GetString(nullptr);
    SIZE ts = pDC->GetTextExtent(text, text.GetLength());
    CRect r(lpdis->rcItem);
    CPoint start;
    if (bVertical) {
        HWND hPopup = ::WindowFromDC(lpdis->hDC);
        CRect client;
        if (hPopup)
            ::GetClientRect(hPopup, &client);
        else
            pDC->GetClipBox(&client);
        r.top = client.top;
        r.bottom = client.bottom;
        r.right += GetMenuSettings().cxMenuCheck;
        start = CPoint(r.left + 2, r.bottom - image.cy - 4);
    } else {
        start = CPoint(r.left + image.cx + 2, r.top);
    }
    if (flags & TITLE_GRADIENT) {
        if (bVertical)
            DrawGradient(pDC, r, gradient, background, FALSE, FALSE);
        else
            DrawGradient(pDC, r, background, gradient, TRUE, FALSE);
    } else if (flags & TITLE_ROUNDED) {
        if (bVertical) {
            start.y -= 2;
            r.right = r.left + ts.cy + 4;
        } else {
            int free = (r.Width() - ts.cx - image.cx) / 2;
            start.x += free < 10 ? free : 10;
        }
        CBrush brush(background);
        HGDIOBJ hOldBrush = pDC->SelectObject(&brush);
        HGDIOBJ hOldPen = pDC->SelectStockObject(WHITE_PEN);
        pDC->RoundRect(r.left, r.top, r.right, r.bottom, 10, 10);
        pDC->SelectObject(hOldPen);
        pDC->SelectObject(hOldBrush);
    } else {
        pDC->FillSolidRect(&r, background);
    }
    if (flags & TITLE_3D)
        pDC->Draw3dRect(&r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    if (flags & TITLE_CENTERED) {
        if (bVertical)
            start.y = r.top + (r.Height() + ts.cx + image.cy) / 2;
        else
            start.x = r.left + (r.Width() - ts.cx + image.cx) / 2;
    }
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(textColor);
    CRect textRect(start.x, start.y, r.right, r.bottom);
    DrawMenuText(pDC, text, text.GetLength(), textRect, 0);
    if (image.cx) {
        CPoint at = bVertical ? CPoint(start.x, start.y + 2) : CPoint(start.x - image.cx, start.y + 2);
        HICON hIcon = ImageList_GetIcon(pRecord->m_pIcons->Images(CThemedMenuIcons::LOOK_NORMAL).m_hImageList,
                                        pRecord->m_nImageIndex, ILD_NORMAL);
        if (hIcon) {
            pDC->DrawState(at, iconSize, hIcon, DSS_NORMAL);
            ::DestroyIcon(hIcon);
        }
    }
    if (flags & TITLE_LINE) {
        COLORREF sh = ::GetSysColor(COLOR_BTNSHADOW), hi = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        if (bVertical) {
            pDC->Draw3dRect(r.left + 20, r.top + 5, 2, r.Height() - 10, sh, hi);
            pDC->Draw3dRect(r.left + 23, r.top + 15, 2, r.Height() - 30, sh, hi);
        } else {
            pDC->Draw3dRect(r.left + 2, r.bottom - 7, r.Width() - 4, 2, hi, sh);
            pDC->Draw3dRect(r.left + 12, r.bottom - 4, r.Width() - 24, 2, sh, hi);
        }
    }
    pDC->SelectObject(hOldFont);
}
