// Drawing kit of the themed menus: system probes, colour rules, gradients,
// text, glyphs, bitmaps, the off-screen surface, brushes and the late-bound
// entry points.
#include "drawkit.h"
#include "themedmenu.h"
#include <cstddef>
#include <cstring>
#include <map>
#include <set>

// ---------------------------------------------------------------- the system

ThemedSystemInfo& GetThemedSystemInfo()
{
    static ThemedSystemInfo info = {-1, FALSE, FALSE, FALSE, nullptr, nullptr, nullptr};
    return info;
}

int GetWindowsClass()
{
    static int nClass = -1;
    if (nClass >= 0)
        return nClass;
    DWORD dwVersion = ::GetVersion();
    int major = LOBYTE(LOWORD(dwVersion)), minor = HIBYTE(LOWORD(dwVersion));
    if (dwVersion & 0x80000000) {
        if (major < 4)
            nClass = WINCLASS_WIN3X;
        else if (minor < 10)
            nClass = WINCLASS_WIN95;
        else if (minor < 90)
            nClass = WINCLASS_WIN98;
        else
            nClass = WINCLASS_WINME;
    } else if (major < 4) {
        nClass = WINCLASS_NT3;
    } else if (major == 4) {
        nClass = WINCLASS_NT4;
    } else if (major == 5 && minor == 0) {
        nClass = WINCLASS_WIN2000;
    } else {
        nClass = WINCLASS_XP;
    }
    return nClass;
}

BOOL IsVisualThemeActive()
{
    PFN_ISTHEMEACTIVE pfn = GetThemedSystemInfo().pfnIsThemeActive;
    return pfn && pfn();
}

BOOL IsFlatMenu() { return GetMenuSettings().bFlatMenu; }

int GetDisplayColorCount()
{
    static int nColors = 0;
    if (nColors == 0) {
        HDC hdc = ::GetDC(nullptr);
        nColors = ::GetDeviceCaps(hdc, NUMCOLORS);
        ::ReleaseDC(nullptr, hdc);
        if (nColors == -1)
            nColors = 64000;
    }
    return nColors;
}

// ---------------------------------------------------------------- colours

namespace {
int Channel(COLORREF c, int i) { return (c >> (8 * i)) & 0xFF; }
COLORREF FromChannels(int r, int g, int b)
{
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    return RGB(clamp(r), clamp(g), clamp(b));
}
template <class F>
COLORREF PerChannel(COLORREF a, F f)
{
    return FromChannels(f(Channel(a, 0)), f(Channel(a, 1)), f(Channel(a, 2)));
}
template <class F>
COLORREF PerChannel2(COLORREF a, COLORREF b, F f)
{
    return FromChannels(f(Channel(a, 0), Channel(b, 0)), f(Channel(a, 1), Channel(b, 1)),
                        f(Channel(a, 2), Channel(b, 2)));
}
} // namespace

COLORREF DarkenColor(COLORREF color, int amount)
{
    return PerChannel(color, [amount](int c) { return c * (255 - amount) / 255; });
}

COLORREF LightenColor(COLORREF color, int amount)
{
    return PerChannel(color, [amount](int c) { return c + (255 - c) * amount / 255; });
}

COLORREF MixColor70(COLORREF a, COLORREF b)
{
    return PerChannel2(a, b, [](int x, int y) { return (x * 70 + y * 30) / 100; });
}

COLORREF MixColor86(COLORREF a, COLORREF b)
{
    return PerChannel2(a, b, [](int x, int y) { return (x * 86 + y * 14) / 100; });
}

COLORREF BlendColor(COLORREF a, COLORREF b, int weight)
{
    if (b == (COLORREF)-1)
        return (COLORREF)-1;
    return PerChannel2(a, b, [weight](int x, int y) { return (x * (255 - weight) + y * weight) / 256; });
}

COLORREF ShadowColor(COLORREF color)
{
    return FromChannels(GetRValue(color) * 7 / 10, GetGValue(color) * 7 / 10, (GetBValue(color) + 55) * 7 / 10);
}

namespace {
// Every window and screen DC has the screen's format. Asking a window DC
// makes the system fetch the window's visible region first, for every item
// painted: the screen is asked once.
int ScreenBits()
{
    static int nBits = 0;
    if (!nBits) {
        HDC hdc = ::GetDC(nullptr);
        nBits = ::GetDeviceCaps(hdc, BITSPIXEL) * ::GetDeviceCaps(hdc, PLANES);
        ::ReleaseDC(nullptr, hdc);
    }
    return nBits;
}
} // namespace

COLORREF NearestScreenColor(COLORREF color)
{
    // A true-colour screen shows every colour as it is.
    if (ScreenBits() >= 24)
        return color & 0xFFFFFF;
    HDC hdc = ::GetDC(nullptr);
    COLORREF c = ::GetNearestColor(hdc, color);
    ::ReleaseDC(nullptr, hdc);
    return c;
}

COLORREF GetMenuColor()
{
    int n = GetWindowsClass();
    return ::GetSysColor(n == WINCLASS_WIN95 || n == WINCLASS_NT4 ? COLOR_MENU : COLOR_BTNFACE);
}

namespace {
// The colour of a menu's background brush, when it has one.
BOOL MenuBrushColor(HMENU hMenu, COLORREF& color)
{
    HBRUSH hbr = GetMenuBackgroundBrush(hMenu);
    if (!hbr)
        return FALSE;
    if (CThemedBrush* p = GetMenuBarBrush()) {
        if ((HBRUSH)p->m_hObject == hbr) {
            color = p->m_crFirst;
            return TRUE;
        }
    }
    LOGBRUSH lb = {};
    if (!::GetObjectA(hbr, sizeof(lb), &lb))
        return FALSE;
    color = lb.lbColor;
    return TRUE;
}
} // namespace

COLORREF GetMenuBarColor(HMENU hMenu)
{
    COLORREF c;
    if (hMenu && MenuBrushColor(hMenu, c))
        return c;
    if (IsFlatMenu())
        return ::GetSysColor(COLOR_MENUBAR);
    return ::GetSysColor(COLOR_MENU);
}

COLORREF GetMenuBarColorThemed(HMENU hMenu)
{
    COLORREF c;
    if (hMenu && MenuBrushColor(hMenu, c))
        return c;
    int n = GetWindowsClass();
    if (n == WINCLASS_XP && (IsFlatMenu() || IsVisualThemeActive()))
        return ::GetSysColor(COLOR_MENUBAR);
    if (n != WINCLASS_WIN95 && n != WINCLASS_NT4)
        return ::GetSysColor(COLOR_BTNFACE);
    return ::GetSysColor(COLOR_MENU);
}

COLORREF GetSelectColor()
{
    COLORREF hi = ::GetSysColor(COLOR_HIGHLIGHT), win = ::GetSysColor(COLOR_WINDOW);
    if (GetThemedSystemInfo().bHighContrast)
        return hi;
    if (GetDisplayColorCount() < 257)
        return win;
    if (!IsVisualThemeActive() && GetRValue(hi) + GetGValue(hi) + GetBValue(hi) > 384)
        return MixColor86(win, hi);
    return MixColor70(win, hi);
}

namespace {
COLORREF Snap2003(COLORREF c)
{
    if (c == 0xCCDCD6)
        return 0xAADADA;
    if (c == 0xE6E6E6)
        return 0xE5D7D7;
    if (c == 0xF0C5AC)
        return 0xF5C2A3;
    return c;
}
} // namespace

namespace {
void Compute2003Colors(COLORREF& first, COLORREF& second, BOOL bMenuBar);

// The pair is asked for every item painted; it is computed again only when
// what it depends on changes (the visual style's colours are read through
// theme data, which is slow to open).
struct Cached2003Colors
{
    BOOL bValid = FALSE;
    int id = 0;
    BOOL bThemeActive = FALSE;
    COLORREF window = 0, caption = 0, face = 0;
    COLORREF first = 0, second = 0;
};
} // namespace

void Get2003Colors(COLORREF& first, COLORREF& second, BOOL bMenuBar)
{
    static Cached2003Colors cache[2];
    Cached2003Colors& c = cache[bMenuBar ? 1 : 0];
    int id = CThemedMenu::GetThemeId();
    BOOL bThemeActive = IsVisualThemeActive();
    COLORREF window = ::GetSysColor(COLOR_WINDOW), caption = ::GetSysColor(COLOR_ACTIVECAPTION);
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    if (!c.bValid || c.id != id || c.bThemeActive != bThemeActive || c.window != window || c.caption != caption ||
        c.face != face) {
        Compute2003Colors(c.first, c.second, bMenuBar);
        c.bValid = TRUE;
        c.id = id;
        c.bThemeActive = bThemeActive;
        c.window = window;
        c.caption = caption;
        c.face = face;
    }
    first = c.first;
    second = c.second;
}

namespace {
void Compute2003Colors(COLORREF& first, COLORREF& second, BOOL bMenuBar)
{
    int n = GetWindowsClass();
    if (n == WINCLASS_WIN95 || n == WINCLASS_NT4) {
        first = second = ::GetSysColor(COLOR_MENU);
        return;
    }
    int id = CThemedMenu::GetThemeId();
    COLORREF w = DarkenColor(::GetSysColor(COLOR_WINDOW), 10);
    COLORREF caption = ::GetSysColor(COLOR_ACTIVECAPTION);
    if (id == 10 || id == 11) {
        first = Snap2003(NearestScreenColor(MixColor70(w, caption)));
        second = LightenColor(first, 110);
        return;
    }
    if (!IsVisualThemeActive()) {
        first = ::GetSysColor(COLOR_BTNFACE);
        second = BlendColor(first, ::GetSysColor(COLOR_WINDOW), 220);
        return;
    }
    HANDLE hTheme = ThemedOpenThemeData(nullptr, L"Window");
    if (hTheme) {
        COLORREF c;
        if (ThemedGetThemeColor(hTheme, 1, 1, 3821, &c) == S_OK)
            caption = c;
        if (ThemedGetThemeColor(hTheme, 1, 1, 3805, &c) == S_OK)
            w = c;
        ThemedCloseThemeData(hTheme);
        if (caption == 0x86B8AA)
            first = 0xAADADA;
        else if (caption == 0xBEA3A4)
            first = 0xE5D7D7;
        else if (caption == 0xE55400)
            first = 0xF5C2A3;
        else
            first = NearestScreenColor(MixColor70(w, caption));
        if (bMenuBar) {
            second = LightenColor(first, 110);
        } else {
            second = LightenColor(first, 200);
            first = DarkenColor(first, 20);
        }
        return;
    }
    first = Snap2003(NearestScreenColor(MixColor70(w, caption)));
    if (bMenuBar) {
        second = LightenColor(first, 100);
    } else {
        second = LightenColor(first, 200);
        first = DarkenColor(first, 20);
    }
}
} // namespace

CRect GetMonitorRect(LPCRECT pRect)
{
    HMONITOR hMonitor = ThemedMonitorFromRect(pRect, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (hMonitor && ThemedGetMonitorInfo(hMonitor, &mi))
        return CRect(mi.rcMonitor);
    return CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

// ---------------------------------------------------------------- timers

namespace {
std::map<HWND, std::set<UINT>>& FreeTimerIds()
{
    static std::map<HWND, std::set<UINT>> ids;
    return ids;
}
} // namespace

UINT SetFreeTimer(HWND hWnd, UINT nElapse)
{
    if (!::IsWindow(hWnd))
        return 0;
    auto& all = FreeTimerIds();
    for (auto it = all.begin(); it != all.end();)
        it = ::IsWindow(it->first) ? std::next(it) : all.erase(it);
    std::set<UINT>& taken = all[hWnd];
    for (UINT id = 31; id <= 99; ++id) {
        if (taken.count(id))
            continue;
        if (::SetTimer(hWnd, id, nElapse, nullptr)) {
            taken.insert(id);
            return id;
        }
    }
    return 0;
}

void KillFreeTimer(HWND hWnd, UINT nID)
{
    ::KillTimer(hWnd, nID);
    auto& all = FreeTimerIds();
    auto it = all.find(hWnd);
    if (it != all.end()) {
        it->second.erase(nID);
        if (it->second.empty())
            all.erase(it);
    }
}

// ---------------------------------------------------------------- drawing

void DrawGradient(CDC* pDC, LPCRECT pRect, COLORREF start, COLORREF end, BOOL bHorizontal, BOOL bSolidSteps)
{
    CRect rc(*pRect);
    if (rc.IsRectEmpty())
        return;
    BOOL bNoPalette = (pDC->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) == 0;
    PFN_GRADIENTFILL pfnFill = GetThemedSystemInfo().pfnGradientFill;
    if ((bNoPalette || !bSolidSteps) && pfnFill) {
        TRIVERTEX v[2] = {};
        v[0].x = rc.left;
        v[0].y = rc.top;
        v[0].Red = (COLOR16)(GetRValue(start) << 8);
        v[0].Green = (COLOR16)(GetGValue(start) << 8);
        v[0].Blue = (COLOR16)(GetBValue(start) << 8);
        v[1].x = rc.right;
        v[1].y = rc.bottom;
        v[1].Red = (COLOR16)(GetRValue(end) << 8);
        v[1].Green = (COLOR16)(GetGValue(end) << 8);
        v[1].Blue = (COLOR16)(GetBValue(end) << 8);
        GRADIENT_RECT gr = {0, 1};
        pfnFill(pDC->m_hDC, v, 2, &gr, 1, bHorizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    auto fill = [&](const CRect& r, COLORREF c) { pDC->FillSolidRect(&r, bSolidSteps ? NearestScreenColor(c) : c); };
    fill(rc, start);
    int extent = bHorizontal ? rc.Width() : rc.Height();
    if (extent <= 2)
        return;
    // 2-pixel strips; the last strip (1 pixel wide for an odd extent) ends
    // the gradient in the end colour.
    int last = ((extent - 1) / 2) * 2;
    for (int n = 0; n <= last; n += 2) {
        auto step = [&](int s, int e) { return s + (e - s) * n / last; };
        COLORREF c = RGB(step(GetRValue(start), GetRValue(end)), step(GetGValue(start), GetGValue(end)),
                         step(GetBValue(start), GetBValue(end)));
        int w = extent - n < 2 ? extent - n : 2;
        CRect strip = bHorizontal ? CRect(rc.left + n, rc.top, rc.left + n + w, rc.bottom)
                                  : CRect(rc.left, rc.top + n, rc.right, rc.top + n + w);
        fill(strip, c);
    }
}

void DrawMenuText(CDC* pDC, const char* pszText, int nLength, LPCRECT pRect, UINT nFlags)
{
    if (!pszText)
        return;
    if (nLength < 0)
        nLength = lstrlenA(pszText);
    HFONT hFont = (HFONT)::GetCurrentObject(pDC->m_hDC, OBJ_FONT);
    LOGFONTA lf = {};
    ::GetObjectA(hFont, sizeof(lf), &lf);
    int orientation = lf.lfEscapement % 3600;
    if (orientation == -900)
        orientation = 2700;
    else if (orientation == -1800)
        orientation = 1800;
    else if (orientation == -2700)
        orientation = 900;
    else if (orientation != 900 && orientation != 1800 && orientation != 2700)
        orientation = 0;

    CFont arial;
    HGDIOBJ hOldFont = nullptr;
    TEXTMETRICA tm = {};
    pDC->GetTextMetrics(&tm);
    if (orientation != 0 && !(tm.tmPitchAndFamily & TMPF_TRUETYPE)) {
        lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
        lf.lfOutPrecision = 7;
        arial.CreateFontIndirect(&lf);
        hOldFont = pDC->SelectObject(&arial);
        pDC->GetTextMetrics(&tm);
    }
    BOOL bRtl = (ThemedGetLayout(pDC->m_hDC) & 1) != 0;
    UINT nOldAlign = pDC->SetTextAlign(TA_UPDATECP | (bRtl ? TA_RIGHT : 0));
    int h = tm.tmHeight;
    CRect r(*pRect);
    POINT start = {r.left, r.top};
    if (nFlags & DMT_PLACE) {
        switch (orientation) {
        case 0:
            start.x = bRtl ? r.right - 4 : r.left + 4;
            start.y = (r.top + r.bottom - h) / 2;
            break;
        case 900:
            start.x = (r.left + r.right - h) / 2;
            start.y = bRtl ? r.top + 4 : r.bottom - 4;
            break;
        case 1800:
            start.x = bRtl ? r.left + 4 : r.right - 4;
            start.y = (r.top + r.bottom + h) / 2;
            break;
        default:
            start.x = (r.left + r.right + h) / 2;
            start.y = bRtl ? r.bottom - 4 : r.top + 4;
            break;
        }
    }
    // Along the text and towards its bottom, by orientation.
    int dx = 1, dy = 0, nx = 0, ny = 1;
    if (orientation == 900) {
        dx = 0;
        dy = -1;
        nx = 1;
        ny = 0;
    } else if (orientation == 1800) {
        dx = -1;
        dy = 0;
        nx = 0;
        ny = -1;
    } else if (orientation == 2700) {
        dx = 0;
        dy = 1;
        nx = -1;
        ny = 0;
    }

    POINT oldPos = pDC->MoveTo(start.x, start.y);
    CPen pen(PS_SOLID, 1, pDC->GetTextColor());
    int i = 0, segStart = 0;
    auto flush = [&](int end) {
        if (end > segStart)
            pDC->TextOut(0, 0, pszText + segStart, end - segStart);
    };
    while (i < nLength) {
        if (pszText[i] == '&') {
            flush(i);
            if (i + 1 < nLength && pszText[i + 1] == '&') {
                segStart = i + 1; // "&&" draws one "&"
                i += 2;
                flush(i);
                segStart = i;
                continue;
            }
            segStart = i + 1;
            if (i + 1 < nLength && !(nFlags & DT_HIDEPREFIX)) {
                POINT p;
                ::GetCurrentPositionEx(pDC->m_hDC, &p);
                SIZE sz = pDC->GetTextExtent(pszText + i + 1, 1);
                int w = sz.cx - tm.tmOverhang / 2;
                int off = tm.tmAscent + 1;
                HGDIOBJ hOldPen = pDC->SelectObject(&pen);
                POINT keep;
                ::MoveToEx(pDC->m_hDC, p.x + nx * off, p.y + ny * off, &keep);
                pDC->LineTo(p.x + nx * off + dx * w, p.y + ny * off + dy * w);
                ::MoveToEx(pDC->m_hDC, p.x, p.y, nullptr);
                pDC->SelectObject(hOldPen);
            }
            i += 1;
            continue;
        }
        ++i;
    }
    flush(nLength);
    pDC->MoveTo(oldPos.x, oldPos.y);
    pDC->SetTextAlign(nOldAlign);
    if (hOldFont)
        pDC->SelectObject(hOldFont);
}

void DrawMarlettGlyph(CDC* pDC, LPCRECT pRect, char ch, BOOL bBold)
{
    CRect r(*pRect);
    r.DeflateRect(0, 2);
    if (r.Height() <= 0)
        return;
    CFont font;
    font.CreateFont(r.Height(), 0, 0, 0, bBold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Marlett");
    HGDIOBJ hOld = pDC->SelectObject(&font);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    char text[2] = {ch, 0};
    pDC->DrawText(text, 1, r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(hOld);
}

char GetSystemCommandGlyph(UINT nID)
{
    switch (nID & 0xFFF0) {
    case SC_CLOSE: return 'r';
    case SC_MINIMIZE: return '0';
    case SC_MAXIMIZE: return '1';
    case SC_RESTORE: return '2';
    }
    return 0;
}

namespace {
// The format of cx by cy 32-bit top-down DIB pixels.
BITMAPINFO TopDownPixels(int cx, int cy)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
DWORD ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
COLORREF FromPixel(DWORD p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }
} // namespace

BOOL ReadBitmapPixels(HBITMAP hBitmap, std::vector<DWORD>& pixels, int& cx, int& cy)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof(bm), &bm))
        return FALSE;
    cx = bm.bmWidth;
    cy = bm.bmHeight;
    pixels.assign((size_t)cx * cy, 0);
    BITMAPINFO bi = TopDownPixels(cx, cy);
    HDC hdc = ::GetDC(nullptr);
    int n = ::GetDIBits(hdc, hBitmap, 0, cy, pixels.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hdc);
    return n == cy;
}

BOOL WriteBitmapPixels(HBITMAP hBitmap, const std::vector<DWORD>& pixels, int cx, int cy)
{
    BITMAPINFO bi = TopDownPixels(cx, cy);
    HDC hdc = ::GetDC(nullptr);
    int n = ::SetDIBits(hdc, hBitmap, 0, cy, pixels.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hdc);
    return n == cy;
}

HBITMAP CreateMaskBitmap(HBITMAP hBitmap, COLORREF transparent)
{
    std::vector<DWORD> px;
    int cx, cy;
    if (!ReadBitmapPixels(hBitmap, px, cx, cy))
        return nullptr;
    int stride = ((cx + 15) / 16) * 2;
    std::vector<BYTE> bits((size_t)stride * cy, 0);
    DWORD key = ToPixel(transparent) & 0xFFFFFF;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            DWORD& p = px[(size_t)y * cx + x];
            if ((p & 0xFFFFFF) == key) {
                bits[(size_t)y * stride + x / 8] |= (BYTE)(0x80 >> (x % 8));
                p = 0;
            }
        }
    WriteBitmapPixels(hBitmap, px, cx, cy);
    return ::CreateBitmap(cx, cy, 1, 1, bits.data());
}

COLORREF TintBitmap(HBITMAP hBitmap, int weight, COLORREF color)
{
    std::vector<DWORD> px;
    int cx, cy;
    if (!ReadBitmapPixels(hBitmap, px, cx, cy) || px.empty())
        return 0;
    for (DWORD& p : px) {
        COLORREF c = FromPixel(p);
        int grey = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
        COLORREF t = PerChannel(color, [&](int k) { return (grey * weight + k * (255 - weight)) / 256; });
        p = ToPixel(t);
    }
    WriteBitmapPixels(hBitmap, px, cx, cy);
    return FromPixel(px[0]);
}

HBITMAP LoadBitmapWithColors(const char* pszResource, HINSTANCE hModule, int* pColorCount)
{
    if (pColorCount)
        *pColorCount = 0;
    HRSRC hRes = ::FindResourceA(hModule, pszResource, (LPCSTR)RT_BITMAP);
    if (hRes && pColorCount) {
        HGLOBAL hGlobal = ::LoadResource(hModule, hRes);
        const BITMAPINFOHEADER* pHeader = hGlobal ? (const BITMAPINFOHEADER*)::LockResource(hGlobal) : nullptr;
        if (pHeader) {
            if (pHeader->biClrUsed)
                *pColorCount = (int)pHeader->biClrUsed;
            else if (pHeader->biBitCount == 1)
                *pColorCount = 2;
            else if (pHeader->biBitCount == 4)
                *pColorCount = 16;
            else if (pHeader->biBitCount == 8)
                *pColorCount = 256;
        }
    }
    return (HBITMAP)::LoadImageA(hModule, pszResource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

// ---------------------------------------------------------------- surfaces

namespace {
// The one kept off-screen surface: a memory DC with a bitmap for targets of
// one colour depth, at least as large as the largest area drawn so far.
class CThemedSurface
{
public:
    CThemedSurface()
        : m_hDC(nullptr), m_hBitmap(nullptr), m_hOldBitmap(nullptr), m_cx(0), m_cy(0), m_nBits(0), m_bOut(FALSE),
          m_bStale(FALSE)
    {
    }
    ~CThemedSurface() { Clear(); }
    CThemedSurface(const CThemedSurface&) = delete;
    CThemedSurface& operator=(const CThemedSurface&) = delete;

    // The surface's DC for an area of cx x cy drawn for the target, null
    // when it is out already or cannot serve the target.
    HDC Borrow(HDC hTarget, int cx, int cy)
    {
        // A memory target's bitmap decides the format: such targets make
        // their own surface, as do areas larger than a screen.
        if (m_bOut || ::GetObjectType(hTarget) != OBJ_DC || cx > 4096 || cy > 4096)
            return nullptr;
        int bits = ScreenBits();
        if (bits != m_nBits || cx > m_cx || cy > m_cy) {
            int newCx = cx > m_cx || bits != m_nBits ? cx : m_cx;
            int newCy = cy > m_cy || bits != m_nBits ? cy : m_cy;
            Clear();
            m_hDC = ::CreateCompatibleDC(hTarget);
            m_hBitmap = m_hDC ? ::CreateCompatibleBitmap(hTarget, newCx, newCy) : nullptr;
            if (!m_hBitmap) {
                Clear();
                return nullptr;
            }
            m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
            m_cx = newCx;
            m_cy = newCy;
            m_nBits = bits;
        }
        m_bOut = TRUE;
        return m_hDC;
    }
    void GiveBack()
    {
        m_bOut = FALSE;
        if (m_bStale)
            Clear();
    }
    // The display changed (its format, its size): the surface is made anew
    // for the next area, at once or when it comes back.
    void Forget()
    {
        if (m_bOut)
            m_bStale = TRUE;
        else
            Clear();
    }
    void Clear()
    {
        ASSERT(!m_bOut);
        if (m_hDC) {
            if (m_hOldBitmap)
                ::SelectObject(m_hDC, m_hOldBitmap);
            ::DeleteDC(m_hDC);
        }
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
        m_hDC = nullptr;
        m_hBitmap = nullptr;
        m_hOldBitmap = nullptr;
        m_cx = m_cy = m_nBits = 0;
        m_bStale = FALSE;
    }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;
    int m_cx, m_cy, m_nBits;
    BOOL m_bOut;
    BOOL m_bStale; // forgotten while out: cleared when given back
};

CThemedSurface& Surface()
{
    // Never destroyed: the hook object frees the surface at exit.
    static CThemedSurface* pSurface = new CThemedSurface;
    return *pSurface;
}
} // namespace

void DeleteThemedSurface() { Surface().Clear(); }
void ForgetThemedSurface() { Surface().Forget(); }

CThemedMemDC::CThemedMemDC(LPCRECT pRect, CDC* pTarget)
    : m_rect(*pRect), m_hOldBitmap(nullptr), m_bNoCopyBack(FALSE), m_hTargetDC(pTarget->m_hDC), m_nSavedDC(0)
{
    int cx = m_rect.Width() > 0 ? m_rect.Width() : 1, cy = m_rect.Height() > 0 ? m_rect.Height() : 1;
    const HGDIOBJ hTargetFont = ::GetCurrentObject(m_hTargetDC, OBJ_FONT);
    if (HDC hSurface = Surface().Borrow(m_hTargetDC, cx, cy)) {
        Attach(hSurface);
        m_nSavedDC = SaveDC();
        if (!m_nSavedDC) {
            Detach();
            Surface().GiveBack();
        }
    }
    if (!m_nSavedDC) {
        CreateCompatibleDC(pTarget);
        m_bitmap.CreateCompatibleBitmap(pTarget->m_hDC, cx, cy);
        m_hOldBitmap = SelectObject(&m_bitmap);
    }
    SetWindowOrg(m_rect.left, m_rect.top);
    // Draw with the target's font and colours.
    if (::GetCurrentObject(m_hDC, OBJ_FONT) != hTargetFont)
        SelectObject(hTargetFont);
    SetTextColor(::GetTextColor(m_hTargetDC));
    SetBkColor(::GetBkColor(m_hTargetDC));
}

CThemedMemDC::~CThemedMemDC()
{
    if (!m_bNoCopyBack)
        ::BitBlt(m_hTargetDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
                 SRCCOPY);
    if (m_nSavedDC) {
        // Back to the state it was lent in (origin, font, colours, brushes,
        // pens, clipping), so the next item starts as on a new DC.
        RestoreDC(m_nSavedDC);
        Detach();
        Surface().GiveBack();
        return;
    }
    SelectObject(m_hOldBitmap);
    SelectStockObject(SYSTEM_FONT);
    m_bitmap.DeleteObject();
}

// ---------------------------------------------------------------- brushes

CThemedBrush::CThemedBrush(int nKind, COLORREF first, COLORREF second)
    : m_nKind(nKind), m_crFirst(first), m_crSecond(second)
{
    int n = GetWindowsClass();
    if (n == WINCLASS_WIN95 || n == WINCLASS_NT4 || (nKind != 8 && nKind != 10)) {
        CreateSolidBrush(first);
        return;
    }
    int cx = ((::GetSystemMetrics(SM_CXFULLSCREEN) + 16) / 8) * 8, cy = 20;
    CClientDC screen((HWND) nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(screen.m_hDC, cx, cy);
    HGDIOBJ hOld = dc.SelectObject(&bmp);
    CRect grad(0, 0, cx < 700 ? cx : 700, cy);
    DrawGradient(&dc, grad, first, second, TRUE, TRUE);
    if (cx > 700)
        dc.FillSolidRect(CRect(700, 0, cx, cy), second);
    dc.SelectObject(hOld);
    CreatePatternBrush(bmp);
}

// Every brush made, newest first, with the one last handed out.
class CThemedBrushList
{
public:
    std::vector<CThemedBrush*> m_brushes;
    CThemedBrush* m_pLast = nullptr;
    void Clear()
    {
        while (!m_brushes.empty()) {
            delete m_brushes.back();
            m_brushes.pop_back();
        }
        m_pLast = nullptr;
    }
};

namespace {
CThemedBrushList& Brushes()
{
    // Never destroyed: the hook object frees the brushes at exit.
    static CThemedBrushList* pList = new CThemedBrushList;
    return *pList;
}
} // namespace

CThemedBrush* GetMenuBarBrush()
{
    int id = CThemedMenu::GetThemeId();
    int kind = 0;
    COLORREF a = 0, b = 0;
    BOOL bRich = GetDisplayColorCount() >= 256 && !GetThemedSystemInfo().bHighContrast;
    if (id == 8 || id == 9) {
        if (bRich) {
            kind = 8;
            Get2003Colors(a, b, TRUE);
        } else {
            kind = 2;
            a = b = ::GetSysColor(COLOR_BTNFACE);
        }
    } else if (id == 10 || id == 11) {
        Get2003Colors(a, b, TRUE);
        kind = bRich ? 10 : 2;
    } else if (id == 2 || id == 3) {
        kind = 2;
        a = b = ::GetSysColor(COLOR_BTNFACE);
    } else {
        return nullptr;
    }
    CThemedBrushList& cache = Brushes();
    auto same = [&](CThemedBrush* p) { return p->m_nKind == kind && p->m_crFirst == a && p->m_crSecond == b; };
    if (cache.m_pLast && same(cache.m_pLast))
        return cache.m_pLast;
    for (CThemedBrush* p : cache.m_brushes)
        if (same(p))
            return cache.m_pLast = p;
    CThemedBrush* p = new CThemedBrush(kind, a, b);
    cache.m_brushes.insert(cache.m_brushes.begin(), p);
    return cache.m_pLast = p;
}

void DeleteMenuBarBrushes() { Brushes().Clear(); }

// ---------------------------------------------------------------- fonts

bool SameLogFont(const LOGFONTA& a, const LOGFONTA& b)
{
    return memcmp(&a, &b, offsetof(LOGFONTA, lfFaceName)) == 0 && strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

namespace {
class CThemedFontCache
{
public:
    CThemedFontCache() : m_hMeasureDC(nullptr) {}
    ~CThemedFontCache() { Clear(); }
    CThemedFontCache(const CThemedFontCache&) = delete;
    CThemedFontCache& operator=(const CThemedFontCache&) = delete;

    HFONT Get(const LOGFONTA& lf)
    {
        for (const Entry& e : m_fonts)
            if (SameLogFont(e.lf, lf))
                return e.hFont;
        HFONT hFont = ::CreateFontIndirectA(&lf);
        if (!hFont)
            return nullptr;
        // A settings change brings new faces; the few of a session stay.
        if (m_fonts.size() >= kMaxFonts) {
            // The measuring DC may still hold the font that goes.
            if (m_hMeasureDC && ::GetCurrentObject(m_hMeasureDC, OBJ_FONT) == m_fonts.front().hFont)
                ::SelectObject(m_hMeasureDC, ::GetStockObject(SYSTEM_FONT));
            ::DeleteObject(m_fonts.front().hFont);
            m_fonts.erase(m_fonts.begin());
        }
        m_fonts.push_back(Entry{lf, hFont});
        return hFont;
    }
    HDC MeasureDC()
    {
        if (!m_hMeasureDC)
            m_hMeasureDC = ::CreateCompatibleDC(nullptr);
        return m_hMeasureDC;
    }
    void Clear()
    {
        // The measuring DC lets go of any cached font before the fonts go.
        if (m_hMeasureDC) {
            ::DeleteDC(m_hMeasureDC);
            m_hMeasureDC = nullptr;
        }
        for (const Entry& e : m_fonts)
            ::DeleteObject(e.hFont);
        m_fonts.clear();
    }

private:
    struct Entry
    {
        LOGFONTA lf;
        HFONT hFont;
    };
    static const size_t kMaxFonts = 16;
    std::vector<Entry> m_fonts;
    HDC m_hMeasureDC;
};

CThemedFontCache& FontCache()
{
    // Never destroyed: the hook object frees the fonts at exit.
    static CThemedFontCache* pCache = new CThemedFontCache;
    return *pCache;
}
} // namespace

namespace {
struct CMenuSettings
{
    NONCLIENTMETRICSA metrics;
    ThemedMenuSettings settings;
    BOOL bRead = FALSE;
};
CMenuSettings& MenuSettings()
{
    static CMenuSettings* pSettings = new CMenuSettings;
    return *pSettings;
}
} // namespace

const ThemedMenuSettings& GetMenuSettings()
{
    CMenuSettings& cached = MenuSettings();
    if (cached.bRead)
        return cached.settings;
    ThemedMenuSettings& s = cached.settings;
    ZeroMemory(&cached.metrics, sizeof(cached.metrics));
    cached.metrics.cbSize = sizeof(cached.metrics);
    const BOOL bMetrics =
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(cached.metrics), &cached.metrics, 0) != 0;
    s.pMetrics = bMetrics ? &cached.metrics : nullptr;
    const int n = GetWindowsClass();
    BOOL b = FALSE;
    s.bFlatMenu = n >= WINCLASS_XP && ::SystemParametersInfoA(SPI_GETFLATMENU, 0, &b, 0) && b;
    b = FALSE;
    s.bKeyboardCues = n >= WINCLASS_WIN2000 && ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &b, 0) && b;
    s.cxMenuCheck = ::GetSystemMetrics(SM_CXMENUCHECK);
    s.cyMenu = ::GetSystemMetrics(SM_CYMENU);
    // Without the metrics nothing is kept: asked again next time.
    cached.bRead = bMetrics;
    return s;
}

void ForgetMenuSettings() { MenuSettings().bRead = FALSE; }

HFONT GetThemedFont(const LOGFONTA& lf) { return FontCache().Get(lf); }
HDC GetMeasureDC() { return FontCache().MeasureDC(); }
void DeleteThemedFonts() { FontCache().Clear(); }

// ---------------------------------------------------------------- late-bound

BOOL ThemedGetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO pInfo)
{
    typedef BOOL(WINAPI * F)(HMONITOR, LPMONITORINFO);
    static F pfn = FwLateProc<F>("user32.dll", "GetMonitorInfoA");
    return pfn ? pfn(hMonitor, pInfo) : 0;
}

HMONITOR ThemedMonitorFromRect(LPCRECT pRect, DWORD dwFlags)
{
    typedef HMONITOR(WINAPI * F)(LPCRECT, DWORD);
    static F pfn = FwLateProc<F>("user32.dll", "MonitorFromRect");
    return pfn ? pfn(pRect, dwFlags) : nullptr;
}

BOOL ThemedGetMenuInfo(HMENU hMenu, LPMENUINFO pInfo)
{
    typedef BOOL(WINAPI * F)(HMENU, LPMENUINFO);
    static F pfn = FwLateProc<F>("user32.dll", "GetMenuInfo");
    return pfn ? pfn(hMenu, pInfo) : 0;
}

BOOL ThemedSetMenuInfo(HMENU hMenu, LPCMENUINFO pInfo)
{
    typedef BOOL(WINAPI * F)(HMENU, LPCMENUINFO);
    static F pfn = FwLateProc<F>("user32.dll", "SetMenuInfo");
    return pfn ? pfn(hMenu, pInfo) : 0;
}

DWORD ThemedGetLayout(HDC hDC)
{
    typedef DWORD(WINAPI * F)(HDC);
    static F pfn = FwLateProc<F>("gdi32.dll", "GetLayout");
    DWORD d = pfn ? pfn(hDC) : 0;
    return d == GDI_ERROR ? 0 : d;
}

BOOL ThemedSetLayeredWindowAttributes(HWND hWnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags)
{
    typedef BOOL(WINAPI * F)(HWND, COLORREF, BYTE, DWORD);
    static F pfn = FwLateProc<F>("user32.dll", "SetLayeredWindowAttributes");
    return pfn ? pfn(hWnd, crKey, bAlpha, dwFlags) : 0;
}

HANDLE ThemedOpenThemeData(HWND hWnd, LPCWSTR pszClassList)
{
    typedef HANDLE(WINAPI * F)(HWND, LPCWSTR);
    static F pfn = FwLateProc<F>("UxTheme.dll", "OpenThemeData");
    return pfn ? pfn(hWnd, pszClassList) : nullptr;
}

HRESULT ThemedCloseThemeData(HANDLE hTheme)
{
    typedef HRESULT(WINAPI * F)(HANDLE);
    static F pfn = FwLateProc<F>("UxTheme.dll", "CloseThemeData");
    return pfn ? pfn(hTheme) : 0;
}

HRESULT ThemedGetThemeColor(HANDLE hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor)
{
    typedef HRESULT(WINAPI * F)(HANDLE, int, int, int, COLORREF*);
    static F pfn = FwLateProc<F>("UxTheme.dll", "GetThemeColor");
    return pfn ? pfn(hTheme, iPartId, iStateId, iPropId, pColor) : 1;
}

HBRUSH GetMenuBackgroundBrush(HMENU hMenu)
{
    MENUINFO mi = {};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIM_BACKGROUND;
    if (!hMenu || !ThemedGetMenuInfo(hMenu, &mi))
        return nullptr;
    return mi.hbrBack;
}
