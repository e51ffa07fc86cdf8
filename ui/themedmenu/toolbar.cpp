// The themed tool bar: it lets the control paint nothing. Its paint handler
// sends the custom-draw notifications itself, and its answers draw every
// button with the current menu theme's colours and images.
#include "toolbar.h"
#include "menutheme.h"
#include "barpaint.h"

namespace {

const COLORREF TRANSPARENT_FROM_PIXEL = 0xFF000000;
const COLORREF HOT_FRAME = 0x840204;
const COLORREF CHECKED_FILL = 0xC2EEFF;

// The theme group that decides a button's look: ids 8 and 9 count as 2 when
// no visual style is active.
int ButtonThemeId()
{
    int id = CThemedMenu::GetThemeId();
    if ((id == 8 || id == 9) && !IsVisualThemeActive())
        return 2;
    return id;
}

bool IsThemeIn(int id, int first, int last) { return id >= first && id <= last; }

} // namespace

BEGIN_MESSAGE_MAP(CThemedToolBar, CToolBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

CThemedToolBar::CThemedToolBar()
    : m_nButton(-1), m_nLayoutDirection(0), m_clrTransparent(TRANSPARENT_FROM_PIXEL), m_rcBorders(0, 0, 0, 0)
{
}

CThemedToolBar::~CThemedToolBar()
{
    // The control refers to the normal or dimmed list: it goes first.
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow();
}

int CThemedToolBar::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1)
        return -1;
    int id = CThemedMenu::GetThemeId();
    COLORSCHEME scheme;
    scheme.dwSize = sizeof(scheme);
    scheme.clrBtnHighlight = CLR_DEFAULT;
    if (id == 2 || id == 3) {
        scheme.clrBtnShadow = ShadowColor(GetMenuColor());
        ::SendMessageA(m_hWnd, TB_SETCOLORSCHEME, 0, (LPARAM)&scheme);
    } else if (IsThemeIn(id, 8, 11)) {
        m_rcBorders = CRect(3, 1, 3, 1);
        COLORREF first, second;
        Get2003Colors(first, second, TRUE);
        scheme.clrBtnShadow = ShadowColor(first);
        ::SendMessageA(m_hWnd, TB_SETCOLORSCHEME, 0, (LPARAM)&scheme);
    }
    return 0;
}

void CThemedToolBar::SetBarStyle(DWORD dwStyle)
{
    if (IsThemeIn(CThemedMenu::GetThemeId(), 6, 11))
        m_rcBorders = (dwStyle & CBRS_FLOATING) ? CRect(0, 0, 0, 0) : CRect(3, 1, 3, 1);
    CToolBar::SetBarStyle(dwStyle);
}

CSize CThemedToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    // Separators that carry a control report the wrap state of the direction.
    m_nLayoutDirection = bHorz ? 1 : 2;
    CSize size = CToolBar::CalcFixedLayout(bStretch, bHorz);
    m_nLayoutDirection = 0;
    return size;
}

BOOL CThemedToolBar::LoadToolBar(UINT nIDResource)
{
    if (!CToolBar::LoadToolBar(nIDResource))
        return FALSE;
    HBITMAP bmp = (HBITMAP)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDResource), IMAGE_BITMAP, 0, 0,
                                        LR_CREATEDIBSECTION);
    if (!bmp)
        return TRUE;
    BuildImageLists(bmp, 0);
    ::DeleteObject(bmp);
    return TRUE;
}

BOOL CThemedToolBar::BuildImageLists(HBITMAP hBitmap, int nFirst)
{
    CBarBitmap source;
    if (!source.Load(hBitmap))
        return FALSE;
    COLORREF transparent = m_clrTransparent == TRANSPARENT_FROM_PIXEL ? source.Pixel(0, 0) : m_clrTransparent;
    int cx = m_sizeImage.cx, cy = m_sizeImage.cy;
    if (nFirst == 0 || !m_imagesNormal.m_hImageList) {
        for (CImageList* list : {&m_imagesNormal, &m_imagesDimmed, &m_imagesDisabled}) {
            list->DeleteImageList();
            list->Create(cx, cy, ILC_COLORDDB | ILC_MASK, 0, 10);
        }
        nFirst = 0;
    }
    // One mask for the three images of a button: the pixels of the
    // transparent colour in the bitmap as loaded (tinting could make other
    // pixels take the tinted corner's colour).
    CBarBitmap dimmed(source);
    dimmed.Darken(CThemedMenu::Options().nIconDimming);
    CBarBitmap disabled(source);
    COLORREF base;
    if (IsThemeIn(CThemedMenu::GetThemeId(), 8, 11)) {
        COLORREF first, second;
        Get2003Colors(first, second, TRUE);
        base = LightenColor(first, 115);
    } else {
        base = LightenColor(GetMenuColor(), 115);
    }
    TintBitmap(disabled.Handle(), 110, base);

    int count = source.Width() / (cx > 0 ? cx : 1);
    for (int i = 0; i < count; ++i) {
        CBarBitmap normalPart, dimmedPart, disabledPart, maskPart;
        normalPart.Cut(source, i * cx, cx, cy);
        dimmedPart.Cut(dimmed, i * cx, cx, cy);
        disabledPart.Cut(disabled, i * cx, cx, cy);
        maskPart.MakeMask(normalPart, transparent);
        int at = nFirst + i;
        if (at < m_imagesNormal.GetImageCount()) {
            m_imagesNormal.Replace(at, normalPart.Handle(), maskPart.Handle());
            m_imagesDimmed.Replace(at, dimmedPart.Handle(), maskPart.Handle());
            m_imagesDisabled.Replace(at, disabledPart.Handle(), maskPart.Handle());
        } else {
            m_imagesNormal.Add(normalPart.Handle(), maskPart.Handle());
            m_imagesDimmed.Add(dimmedPart.Handle(), maskPart.Handle());
            m_imagesDisabled.Add(disabledPart.Handle(), maskPart.Handle());
        }
    }
    CImageList& shown = CThemedMenu::GetDimmedIcons() ? m_imagesDimmed : m_imagesNormal;
    ::SendMessageA(m_hWnd, TB_SETIMAGELIST, 0, (LPARAM)shown.m_hImageList);
    ::SendMessageA(m_hWnd, TB_SETDISABLEDIMAGELIST, 0, (LPARAM)m_imagesDisabled.m_hImageList);
    // The framework's own list is no longer shown; it goes now.
    if (m_hImageList) {
        ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
    }
    return TRUE;
}

LRESULT CThemedToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != TB_ADDBITMAP && message != TB_REPLACEBITMAP)
        return CToolBar::WindowProc(message, wParam, lParam);
    // The control puts the images into the list it shows, which is one of
    // ours: what it appended there goes again, the lists are built below.
    HIMAGELIST shown = (HIMAGELIST)::SendMessageA(m_hWnd, TB_GETIMAGELIST, 0, 0);
    int before = shown ? ImageList_GetImageCount(shown) : 0;
    LRESULT result = CToolBar::WindowProc(message, wParam, lParam);
    while (shown && ImageList_GetImageCount(shown) > before)
        ImageList_Remove(shown, before);
    // The images the control took go into the three lists too.
    HINSTANCE inst = nullptr;
    UINT_PTR id = 0;
    int first = 0;
    if (message == TB_ADDBITMAP && lParam && result != -1) {
        const TBADDBITMAP* add = (const TBADDBITMAP*)lParam;
        inst = add->hInst;
        id = add->nID;
        // The control counts only the bitmaps it was given itself; the new
        // images go after all those of the lists.
        first = m_imagesNormal.GetImageCount();
    } else if (message == TB_REPLACEBITMAP && lParam && result) {
        const TBREPLACEBITMAP* rep = (const TBREPLACEBITMAP*)lParam;
        inst = rep->hInstNew;
        id = rep->nIDNew;
    } else {
        return result;
    }
    HBITMAP bmp =
        inst ? (HBITMAP)::LoadImageA(inst, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION) : (HBITMAP)id;
    if (bmp) {
        BuildImageLists(bmp, first);
        if (inst)
            ::DeleteObject(bmp);
    }
    return result;
}

// ---- borders, gripper and background

void CThemedToolBar::DrawBorders(CDC* pDC, CRect& rect)
{
    int id = CThemedMenu::GetThemeId();
    if (id == 2 || id == 3 || IsThemeIn(id, 6, 11))
        return;
    // The classic look: an etched line on each bordered side.
    UINT sides = 0;
    if (m_dwStyle & CBRS_BORDER_TOP)
        sides |= BF_TOP;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        sides |= BF_BOTTOM;
    if (m_dwStyle & CBRS_BORDER_LEFT)
        sides |= BF_LEFT;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        sides |= BF_RIGHT;
    if (sides)
        pDC->DrawEdge(&rect, EDGE_ETCHED, sides | BF_ADJUST);
}

void CThemedToolBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    CMenuTheme* theme = CThemedMenu::GetCurrentTheme();
    if (theme)
        theme->DrawGripper(pDC, rect, m_dwStyle, m_rcBorders.left, m_rcBorders.right, m_rcBorders.top,
                           m_rcBorders.bottom);
}

void CThemedToolBar::OnNcPaint()
{
    Default();
    CWindowDC dc(m_hWnd);
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    DrawBorders(&dc, rect);
    if (m_dwStyle & CBRS_GRIPPER)
        DrawGripper(&dc, rect);
}

BOOL CThemedToolBar::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    PaintBarBackground(pDC, rect, m_dwStyle);
    return TRUE;
}

// ---- painting

BOOL CThemedToolBar::IsActive() const
{
    CWnd* top = GetTopLevelFrame();
    if (!top) {
        CWinApp* app = AfxGetApp();
        top = app ? app->m_pMainWnd : nullptr;
    }
    HWND focus = ::GetFocus();
    return top && top->m_hWnd && focus && (focus == top->m_hWnd || ::IsChild(top->m_hWnd, focus));
}

void CThemedToolBar::OnPaint()
{
    CPaintDC dc(m_hWnd);
    // A button that stops being hot loses its highlight only when the
    // background is painted again: all of it goes off screen first.
    CRect client;
    GetClientRect(&client);
    CThemedMemDC mem(&client, &dc);
    PaintBarBackground(&mem, client, m_dwStyle);
    PaintButtons(&mem);
}

void CThemedToolBar::PaintButtons(CDC* pDC)
{
    HWND parent = ::GetParent(m_hWnd);
    int id = GetDlgCtrlID();
    NMTBCUSTOMDRAW draw;
    ZeroMemory(&draw, sizeof(draw));
    draw.nmcd.hdr.hwndFrom = m_hWnd;
    draw.nmcd.hdr.idFrom = (UINT_PTR)id;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.hdc = pDC->m_hDC;
    GetClientRect(&draw.nmcd.rc);
    RECT client = draw.nmcd.rc;
    for (DWORD stage : {(DWORD)CDDS_PREPAINT, (DWORD)CDDS_PREERASE, (DWORD)CDDS_POSTERASE}) {
        draw.nmcd.dwDrawStage = stage;
        ::SendMessageA(parent, WM_NOTIFY, (WPARAM)id, (LPARAM)&draw);
    }

    // Separator colours by theme.
    int theme = CThemedMenu::GetThemeId();
    COLORREF sepTopLeft, sepBottomRight;
    if (theme == 2 || theme == 3) {
        sepTopLeft = sepBottomRight = DarkenColor(GetMenuColor(), 40);
    } else if (theme == 6 || theme == 7) {
        sepTopLeft = sepBottomRight = LightenColor(::GetSysColor(COLOR_3DDKSHADOW), 150);
    } else {
        COLORREF first, second;
        Get2003Colors(first, second, TRUE);
        sepTopLeft = DarkenColor(first, 40);
        sepBottomRight = LightenColor(first, 140);
    }
    int extra = sepTopLeft == sepBottomRight ? 0 : 1;

    POINT cursor = {-1, -1};
    POINT screen;
    if (::GetCursorPos(&screen) && ::WindowFromPoint(screen) == m_hWnd) {
        cursor = screen;
        ::ScreenToClient(m_hWnd, &cursor);
    }
    BOOL active = IsActive();
    BOOL floating = (m_dwStyle & CBRS_FLOATING) != 0;
    HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ oldFont = pDC->SelectObject(font);

    int count = (int)::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0);
    RECT previous = {0, 0, 0, 0};
    for (int i = 0; i < count; ++i) {
        TBBUTTON button;
        ZeroMemory(&button, sizeof(button));
        if (!::SendMessageA(m_hWnd, TB_GETBUTTON, i, (LPARAM)&button) || (button.fsState & TBSTATE_HIDDEN))
            continue;
        RECT r;
        GetItemRect(i, &r);
        if (button.fsStyle == TBSTYLE_SEP) {
            BOOL wrap = (button.fsState & TBSTATE_WRAP) != 0;
            if (button.idCommand != 0 && ::GetDlgItem(m_hWnd, button.idCommand))
                ; // a separator that carries a control
            else if (!wrap || !floating) {
                RECT line;
                int m = (r.left + r.right) / 2;
                if (m_dwStyle & 0xA000) {
                    line.left = m - 1;
                    line.right = m + extra;
                    line.top = r.top + 3;
                    line.bottom = r.bottom - 3;
                } else {
                    line.left = r.left + 3;
                    line.right = previous.right - 3;
                    line.top = (r.bottom + previous.bottom) / 2;
                    line.bottom = line.top + 1 + extra;
                }
                pDC->Draw3dRect(&line, sepTopLeft, sepBottomRight);
            } else {
                RECT line;
                line.bottom = (r.bottom + previous.bottom) / 2;
                line.top = line.bottom - 1;
                line.bottom += extra;
                line.left = r.left + 4;
                line.right = client.right - 2;
                pDC->Draw3dRect(&line, sepTopLeft, sepBottomRight);
            }
        } else if (button.idCommand != 0) {
            UINT state = 0;
            if (button.fsState & TBSTATE_INDETERMINATE)
                state |= CDIS_INDETERMINATE;
            if (button.fsState & TBSTATE_CHECKED)
                state |= CDIS_CHECKED;
            if (!(button.fsState & TBSTATE_ENABLED))
                state |= CDIS_DISABLED;
            BOOL pressed = (button.fsState & TBSTATE_PRESSED) != 0;
            if (active && ::PtInRect(&r, cursor)) {
                if (pressed)
                    state |= CDIS_HOT | CDIS_SELECTED;
                else if (button.fsState & TBSTATE_ENABLED)
                    state |= CDIS_HOT;
            } else if (pressed) {
                state |= CDIS_HOT;
            }
            RECT text = {0, 0, 0, 0};
            char buffer[256] = "";
            int length = button.iString != -1
                             ? (int)::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, button.idCommand, (LPARAM)buffer)
                             : -1;
            if (length > 0) {
                SIZE ext = pDC->GetTextExtent(buffer, length);
                BOOL dropDown = (button.fsStyle & BTNS_DROPDOWN) != 0;
                if (!(GetStyle() & TBSTYLE_LIST)) {
                    text.left = (r.left + r.right - ext.cx) / 2 - (dropDown ? 7 : 0);
                    text.right = text.left + ext.cx;
                    text.top = r.bottom - ext.cy;
                    text.bottom = r.bottom - 1;
                } else {
                    int image = m_sizeImage.cx;
                    text.left = r.left + image + 4;
                    text.right = r.right - (dropDown ? 17 : 2);
                    text.top = r.top + 2 + (r.bottom - r.top - ext.cy) / 2;
                    text.bottom = text.top + ext.cy;
                }
            }
            draw.nmcd.rc = r;
            draw.nmcd.dwItemSpec = (DWORD_PTR)button.idCommand;
            draw.nmcd.uItemState = state;
            draw.nmcd.lItemlParam = (LPARAM)button.dwData;
            draw.rcText = text;
            m_nButton = i;
            for (DWORD stage : {(DWORD)CDDS_ITEMPREPAINT, (DWORD)CDDS_ITEMPOSTPAINT}) {
                draw.nmcd.dwDrawStage = stage;
                ::SendMessageA(parent, WM_NOTIFY, (WPARAM)id, (LPARAM)&draw);
            }
            m_nButton = -1;
        }
        previous = r;
    }
    draw.nmcd.rc = client;
    draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
    ::SendMessageA(parent, WM_NOTIFY, (WPARAM)id, (LPARAM)&draw);
    pDC->SelectObject(oldFont);
}

void CThemedToolBar::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTBCUSTOMDRAW* draw = (NMTBCUSTOMDRAW*)pNMHDR;
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: *pResult = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT | CDRF_SKIPDEFAULT; break;
    case CDDS_ITEMPREPAINT: {
        CDC* dc = CDC::FromHandle(draw->nmcd.hdc);
        DrawButtonBackground(dc, draw);
        DrawButtonImageAndText(dc, draw);
        *pResult = CDRF_SKIPDEFAULT;
        break;
    }
    default: *pResult = CDRF_NOTIFYITEMDRAW | CDRF_SKIPDEFAULT; break;
    }
}

void CThemedToolBar::DrawButtonBackground(CDC* pDC, const NMTBCUSTOMDRAW* pDraw)
{
    UINT s = pDraw->nmcd.uItemState;
    RECT r = pDraw->nmcd.rc;
    int index = m_nButton >= 0 ? m_nButton : CommandToIndex((UINT)pDraw->nmcd.dwItemSpec);
    BOOL dropDown = index >= 0 && (GetButtonStyle(index) & BTNS_DROPDOWN);
    RECT drop = r;
    drop.left = r.right - 13;
    BOOL hot = s == CDIS_HOT;
    BOOL hotPressed = s == (CDIS_HOT | CDIS_SELECTED);
    BOOL checked = (s & CDIS_CHECKED) != 0;
    BOOL indeterminate = (s & CDIS_INDETERMINATE) != 0;
    int theme = ButtonThemeId();

    if (theme == 2 || theme == 3) {
        if (indeterminate) {
            COLORREF bar = GetMenuBarColorThemed(nullptr);
            pDC->FillSolidRect(&r, MixColor86(bar, ::GetSysColor(COLOR_WINDOW)));
            COLORREF frame = GetThemedSystemInfo().bHighContrast ? ::GetSysColor(COLOR_BTNTEXT) : DarkenColor(bar, 128);
            pDC->Draw3dRect(&r, frame, frame);
        } else if (s & (CDIS_HOT | CDIS_CHECKED)) {
            COLORREF frame = ::GetSysColor(COLOR_HIGHLIGHT);
            pDC->FillSolidRect(&r, GetSelectColor());
            pDC->Draw3dRect(&r, frame, frame);
            if (dropDown)
                pDC->Draw3dRect(&drop, frame, frame);
        }
    } else if (theme == 6 || theme == 7) {
        COLORREF h = ::GetSysColor(COLOR_HIGHLIGHT), l = LightenColor(h, 60), d = DarkenColor(h, 60);
        BOOL framed = TRUE;
        if (indeterminate) {
            if (GetDisplayColorCount() >= 256) {
                COLORREF c = GetMenuBarColor(nullptr);
                RECT upper = r, lower = r;
                upper.bottom = lower.top = (r.top + r.bottom) / 2;
                DrawGradient(pDC, &upper, LightenColor(c, 60), c, FALSE, FALSE);
                DrawGradient(pDC, &lower, c, DarkenColor(c, 60), FALSE, FALSE);
            } else {
                pDC->FillSolidRect(&r, l);
            }
            pDC->Draw3dRect(&r, d, d);
            framed = FALSE;
        } else if (hot) {
            DrawGradient(pDC, &r, l, h, FALSE, FALSE);
        } else if (hotPressed) {
            DrawGradient(pDC, &r, h, d, FALSE, FALSE);
        } else if (checked) {
            pDC->FillSolidRect(&r, l);
        } else {
            framed = FALSE;
        }
        if (framed) {
            pDC->Draw3dRect(&r, d, d);
            if (dropDown)
                pDC->Draw3dRect(&drop, d, d);
        }
    } else if (IsThemeIn(theme, 8, 11)) {
        BOOL framed = TRUE;
        if (indeterminate) {
            COLORREF first, second;
            Get2003Colors(first, second, TRUE);
            if (GetDisplayColorCount() > 256) {
                COLORREF from = MixColor86(DarkenColor(::GetSysColor(COLOR_WINDOW), 10), GetMenuBarColor(nullptr));
                DrawGradient(pDC, &r, from, first, FALSE, TRUE);
            } else {
                pDC->FillSolidRect(&r, first);
            }
            COLORREF frame = GetThemedSystemInfo().bHighContrast ? ::GetSysColor(COLOR_BTNTEXT)
                                                                 : DarkenColor(GetMenuBarColorThemed(nullptr), 128);
            pDC->Draw3dRect(&r, frame, frame);
            framed = FALSE;
        } else if (hot || hotPressed) {
            DrawHighlightedButton(pDC, r, hotPressed);
        } else if (checked) {
            pDC->FillSolidRect(&r, CHECKED_FILL);
            pDC->Draw3dRect(&r, HOT_FRAME, HOT_FRAME);
        } else {
            framed = FALSE;
        }
        if (framed && dropDown)
            pDC->Draw3dRect(&drop, HOT_FRAME, HOT_FRAME);
    } else {
        COLORREF light = ::GetSysColor(COLOR_HIGHLIGHTTEXT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
        if (hot) {
            pDC->Draw3dRect(&r, light, shadow);
            if (dropDown)
                pDC->Draw3dRect(&drop, light, shadow);
        } else if (hotPressed || indeterminate || checked) {
            pDC->Draw3dRect(&r, shadow, light);
            if (dropDown && !indeterminate)
                pDC->Draw3dRect(&drop, shadow, light);
        }
    }

    if (dropDown) {
        COLORREF arrow = ::GetSysColor((s & CDIS_DISABLED) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
        CPen pen(PS_SOLID, 1, arrow);
        HGDIOBJ old = pDC->SelectObject(&pen);
        int x = (drop.left + drop.right) / 2, y = (r.top + r.bottom) / 2;
        pDC->MoveTo(x - 2, y - 1);
        pDC->LineTo(x + 3, y - 1);
        pDC->MoveTo(x - 1, y);
        pDC->LineTo(x + 2, y);
        pDC->MoveTo(x, y + 1);
        pDC->LineTo(x + 1, y + 1);
        pDC->SelectObject(old);
    }
}

void CThemedToolBar::DrawButtonImageAndText(CDC* pDC, const NMTBCUSTOMDRAW* pDraw)
{
    UINT s = pDraw->nmcd.uItemState;
    RECT r = pDraw->nmcd.rc;
    int index = m_nButton >= 0 ? m_nButton : CommandToIndex((UINT)pDraw->nmcd.dwItemSpec);
    if (index < 0)
        return;
    TBBUTTON button;
    ZeroMemory(&button, sizeof(button));
    ::SendMessageA(m_hWnd, TB_GETBUTTON, index, (LPARAM)&button);
    BOOL hot = (s & CDIS_HOT) != 0;
    CImageList* list = (s & CDIS_DISABLED)                       ? &m_imagesDisabled
                       : (!hot && CThemedMenu::GetDimmedIcons()) ? &m_imagesDimmed
                                                                 : &m_imagesNormal;
    int cx = m_sizeImage.cx, cy = m_sizeImage.cy;
    POINT at = {(r.left + r.right - cx) / 2, (r.top + r.bottom - cy) / 2};
    if (button.fsStyle & BTNS_DROPDOWN)
        at.x -= 7;

    char text[256] = "";
    int length =
        button.iString != -1 ? (int)::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, button.idCommand, (LPARAM)text) : -1;
    if (length > 0) {
        if (GetStyle() & TBSTYLE_LIST)
            at.x = r.left + 3;
        else
            at.y = r.top + 4;
        RECT tr = pDraw->rcText;
        int theme = CThemedMenu::GetThemeId();
        COLORREF colour = (s & CDIS_DISABLED)          ? ::GetSysColor(COLOR_GRAYTEXT)
                          : !hot                       ? ::GetSysColor(COLOR_WINDOWTEXT)
                          : (theme == 6 || theme == 7) ? ::GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                       : ::GetSysColor(COLOR_WINDOWTEXT);
        HGDIOBJ oldFont = pDC->SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
        int oldMode = pDC->SetBkMode(TRANSPARENT);
        COLORREF oldColour = pDC->SetTextColor(colour);
        pDC->DrawText(text, length, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        pDC->SetTextColor(oldColour);
        pDC->SetBkMode(oldMode);
        pDC->SelectObject(oldFont);
    }
    if (!list->m_hImageList || button.iBitmap < 0)
        return;
    int theme = CThemedMenu::GetThemeId();
    if ((theme == 2 || theme == 3) && s == CDIS_HOT) {
        // A one-colour shadow below and right of the raised image.
        COLORREF shade = ::GetNearestColor(pDC->m_hDC, ShadowColor(GetSelectColor()));
        HICON icon = ImageList_GetIcon(list->m_hImageList, button.iBitmap, ILD_NORMAL);
        if (icon) {
            CBrush brush(shade);
            POINT shadowAt = {at.x + 1, at.y + 1};
            ::DrawStateA(pDC->m_hDC, (HBRUSH)brush.m_hObject, nullptr, (LPARAM)icon, 0, shadowAt.x, shadowAt.y, cx, cy,
                         DST_ICON | DSS_MONO);
            ::DestroyIcon(icon);
        }
        at.x -= 1;
        at.y -= 1;
    }
    list->Draw(pDC->m_hDC, button.iBitmap, at, ILD_TRANSPARENT);
}
