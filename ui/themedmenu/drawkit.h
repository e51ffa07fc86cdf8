// Drawing kit of the themed menus and bars: probes of the system, colour
// rules derived from the system colours, gradients, access-key text, Marlett
// glyphs, icon sets with dimmed and disabled variants, an off-screen drawing
// surface and the cache of menu background brushes.
//
// Ownership as in fw/gdi.h: every handle is released by the object that
// created it. Everything here runs on the user-interface thread.
#pragma once
// Only the framework headers needed here: fw/framework.h still pulls in the
// plain stand-ins of the themed bases.
#include "fw/wnd.h"
#include "fw/gdi.h"
#include "fw/imagelist.h"
#include "fw/app.h"
#include "fw/frame.h"
#include "fw/dialog.h"
#include <vector>

// ---------------------------------------------------------------- the system

// Operating-system classes of GetWindowsClass.
enum {
    WINCLASS_WIN3X = 0,
    WINCLASS_NT3 = 1,
    WINCLASS_WIN95 = 2,
    WINCLASS_WIN98 = 3,
    WINCLASS_WINME = 4,
    WINCLASS_NT4 = 5,
    WINCLASS_WIN2000 = 6,
    WINCLASS_XP = 7
};

typedef BOOL(WINAPI* PFN_ISTHEMEACTIVE)();
typedef HRESULT(WINAPI* PFN_SETWINDOWTHEME)(HWND, LPCWSTR, LPCWSTR);
typedef BOOL(WINAPI* PFN_GRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// What the menu hook probed at start-up; read-only afterwards (tests may null
// the gradient function to check the fallback).
struct ThemedSystemInfo
{
    int nWindowsClass;
    BOOL bRemoteSession;
    BOOL bWine;
    BOOL bHighContrast;
    PFN_ISTHEMEACTIVE pfnIsThemeActive;
    PFN_SETWINDOWTHEME pfnSetWindowTheme;
    PFN_GRADIENTFILL pfnGradientFill;
};
ThemedSystemInfo& GetThemedSystemInfo();

int GetWindowsClass();
// A visual style is active (IsThemeActive bound and TRUE).
BOOL IsVisualThemeActive();
// SPI_GETFLATMENU on Windows XP and later.
BOOL IsFlatMenu();
int GetDisplayColorCount();

// ---------------------------------------------------------------- colours

COLORREF GetMenuColor();
COLORREF GetMenuBarColor(HMENU hMenu = nullptr);
COLORREF GetMenuBarColorThemed(HMENU hMenu = nullptr);
COLORREF GetSelectColor();
void Get2003Colors(COLORREF& first, COLORREF& second, BOOL bMenuBar);
COLORREF DarkenColor(COLORREF color, int amount);
COLORREF LightenColor(COLORREF color, int amount);
COLORREF MixColor70(COLORREF a, COLORREF b);
COLORREF MixColor86(COLORREF a, COLORREF b);
COLORREF BlendColor(COLORREF a, COLORREF b, int weight);
COLORREF ShadowColor(COLORREF color);
// The nearest colour the screen can show.
COLORREF NearestScreenColor(COLORREF color);

CRect GetMonitorRect(LPCRECT pRect);

// ---------------------------------------------------------------- timers

// Fixed timer ids of the layer's windows, kept apart from the programs' own.
enum { THEMED_TIMER_FRAME_HOTTRACK = 0x7E01, THEMED_TIMER_BAR_HOT = 0x7E02, THEMED_TIMER_POPUP_LAYERED = 4660 };
// A timer id from 31 to 99 that this function has not handed out for the
// window yet (SetTimer accepts a taken id and would replace that timer).
UINT SetFreeTimer(HWND hWnd, UINT nElapse);
// Kills a timer that SetFreeTimer handed out and makes its id free again.
void KillFreeTimer(HWND hWnd, UINT nID);

// ---------------------------------------------------------------- drawing

// DrawMenuText flag: place the text inside the rectangle by its orientation.
#define DMT_PLACE 0x4

void DrawGradient(CDC* pDC, LPCRECT pRect, COLORREF start, COLORREF end, BOOL bHorizontal, BOOL bSolidSteps);
void DrawMenuText(CDC* pDC, const char* pszText, int nLength, LPCRECT pRect, UINT nFlags);
void DrawMarlettGlyph(CDC* pDC, LPCRECT pRect, char ch, BOOL bBold);
// The Marlett character of a system command (close, minimise, maximise,
// restore, and the ids one above them), 0 for any other id.
char GetSystemCommandGlyph(UINT nID);
// The pixels of a bitmap as 32-bit top-down DIB pixels (0x00RRGGBB), and
// the same written back.
BOOL ReadBitmapPixels(HBITMAP hBitmap, std::vector<DWORD>& pixels, int& cx, int& cy);
BOOL WriteBitmapPixels(HBITMAP hBitmap, const std::vector<DWORD>& pixels, int cx, int cy);
// A monochrome mask of hBitmap (the colour's pixels white); those pixels of
// hBitmap become black.
HBITMAP CreateMaskBitmap(HBITMAP hBitmap, COLORREF transparent);
// Tints every pixel towards color; returns the new colour of pixel (0, 0).
COLORREF TintBitmap(HBITMAP hBitmap, int weight, COLORREF color);
HBITMAP LoadBitmapWithColors(const char* pszResource, HINSTANCE hModule, int* pColorCount);

// ---------------------------------------------------------------- icon sets

// One set of menu images of one size, each command id in three looks:
// normal, dimmed and disabled, at the same index in each look's list. Only
// the normal images are made when images are added; the other two lists are
// made on their first use and again after the images or the colours
// changed. Sets live in a process-wide list and are counted by the item
// records that refer to them.
class CThemedMenuIcons
{
public:
    enum Look { LOOK_NORMAL = 0, LOOK_DIMMED, LOOK_DISABLED };

    CThemedMenuIcons();
    virtual ~CThemedMenuIcons();

    virtual int FindIndex(UINT nID) const;
    virtual void OnSysColorChange();
    virtual BOOL LoadBitmap(HBITMAP hBitmap, int cx, int cy, const UINT* pIDs, COLORREF transparent);
    struct ToolBarRecord
    {
        UINT nResourceID;
        int cx;
        int cy;
        const UINT* pIDs;
    };
    virtual BOOL LoadToolBar(const ToolBarRecord& record, COLORREF transparent);
    virtual BOOL LoadToolBar(const char* pszResource, HINSTANCE hModule);
    virtual BOOL IsSameBitmap(HBITMAP hBitmap, int cx, int cy, const UINT* pIDs) const;
    virtual BOOL IsSameToolBar(const ToolBarRecord& record, COLORREF transparent) const;
    virtual BOOL IsSameResource(const char* pszResource, HINSTANCE hModule) const;
    virtual BOOL LoadBitmapResource(int cx, int cy, const char* pszResource, HINSTANCE hModule);

    // The images in one look (the icons still named by resource read first,
    // the dimmed and disabled ones made now if they are not there yet).
    CImageList& Images(Look look);
    // Lets go of the dimmed and disabled images: the next use makes them
    // from the normal images and the colours of then.
    void DropVariants();

    CSize GetIconSize() const;
    int AddRef() { return ++m_nRefCount; }
    // Drops one reference; at zero the set leaves the list and is deleted.
    static void Release(CThemedMenuIcons* pIcons);
    // The process-wide list of sets (created on first use).
    static std::vector<CThemedMenuIcons*>& List();
    static void DeleteList();

    char* m_pszName; // owned string, or a resource id (<= 0xFFFF), or null
    HINSTANCE m_hModule;
    UINT_PTR m_nSourceHandle;
    int m_nColorCount;
    COLORREF m_crTransparent;
    CImageList m_images; // the normal look (without the pending icons)
    std::vector<UINT> m_ids;
    int m_nRefCount;

protected:
    void SetName(const char* pszName);
    // Icons named by resource that take the indexes after m_images' own: a
    // program names its menu icons before its window shows, and reading an
    // icon into an image list is slow, so they are read at the first use of
    // the images.
    struct PendingIcon
    {
        HINSTANCE hModule;
        UINT nIconId;
    };
    std::vector<PendingIcon> m_pending;
    void LoadPendingIcons();

private:
    CImageList m_variants[2]; // dimmed, disabled: empty until used

    CThemedMenuIcons(const CThemedMenuIcons&) = delete;
    CThemedMenuIcons& operator=(const CThemedMenuIcons&) = delete;
};

// Icon sets filled from image lists, one icon at a time.
class CThemedMenuBitmaps : public CThemedMenuIcons
{
public:
    CThemedMenuBitmaps();
    ~CThemedMenuBitmaps() override;
    void OnSysColorChange() override;
    // Adds (or replaces) the image of a command; returns its index or -1.
    int AddIcon(HICON hIcon, UINT nID);
    // The same from an icon resource of the size, read at the first use of
    // the images.
    int AddIconResource(HINSTANCE hModule, UINT nIconId, CSize size, UINT nID);

    std::vector<DWORD> m_sources; // -1 for each entry taken from an image list
};

// ---------------------------------------------------------------- surfaces

// Paints off screen and copies itself back to the target when it goes. On a
// window or screen target it borrows the process's one kept surface (a
// memory DC with a bitmap that only grows), its state saved on the way in and
// restored on the way out, instead of making a DC and a bitmap per item;
// while that surface is out, or for other targets, it makes its own.
class CThemedMemDC : public CDC
{
public:
    CThemedMemDC(LPCRECT pRect, CDC* pTarget);
    ~CThemedMemDC() override;

    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL RectVisible(LPCRECT pRect) const { return ::RectVisible(m_hDC, pRect); }
    BOOL TextOut(int x, int y, LPCSTR psz, int n) { return ::TextOutA(m_hDC, x, y, psz, n); }
    BOOL ExtTextOut(int x, int y, UINT opt, LPCRECT pRect, LPCSTR psz, UINT n, const INT* pDx)
    {
        return ::ExtTextOutA(m_hDC, x, y, opt, pRect, psz, n, pDx);
    }
    LONG TabbedTextOut(int x, int y, LPCSTR psz, int n, int nTabs, const INT* pTabs, int nOrigin)
    {
        return ::TabbedTextOutA(m_hDC, x, y, psz, n, nTabs, pTabs, nOrigin);
    }
    int DrawText(LPCSTR psz, int n, LPRECT pRect, UINT nFormat) { return ::DrawTextA(m_hDC, psz, n, pRect, nFormat); }
    int DrawTextEx(LPSTR psz, int n, LPRECT pRect, UINT nFormat, LPDRAWTEXTPARAMS p)
    {
        return ::DrawTextExA(m_hDC, psz, n, pRect, nFormat, p);
    }
    BOOL GrayString(CBrush* pBrush, GRAYSTRINGPROC pfn, LPARAM lData, int n, int x, int y, int cx, int cy)
    {
        return ::GrayStringA(m_hDC, (HBRUSH)SafeHandle(pBrush), pfn, lData, n, x, y, cx, cy);
    }
    int Escape(int nEscape, int nCount, LPCSTR pIn, LPVOID pOut) { return ::Escape(m_hDC, nEscape, nCount, pIn, pOut); }

    CRect m_rect;
    HGDIOBJ m_hOldBitmap;
    CBitmap m_bitmap;
    BOOL m_bNoCopyBack;
    HDC m_hTargetDC;
    int m_nSavedDC; // non-zero while the kept surface is borrowed
};

// Frees the kept off-screen surface (at process end).
void DeleteThemedSurface();
// The display changed: the kept surface is made anew for the next drawing.
void ForgetThemedSurface();

// ---------------------------------------------------------------- brushes

class CThemedBrush : public CBrush
{
public:
    // kind 2 solid; 8 and 10 a horizontal gradient from first to second.
    CThemedBrush(int nKind, COLORREF first, COLORREF second);
    int m_nKind;
    COLORREF m_crFirst;
    COLORREF m_crSecond;
};

// The current theme's menu background brush (cached; null for themes that
// have none).
CThemedBrush* GetMenuBarBrush();
// Frees every cached brush (at process end).
void DeleteMenuBarBrushes();

// ---------------------------------------------------------------- fonts

// Measuring and drawing ask for the same few faces for every item of every
// popup that opens: one font per face is made for the process, and one
// screen-compatible DC is kept for measuring. The handles stay the cache's
// (callers select them and select them out again, never delete them).
HFONT GetThemedFont(const LOGFONTA& lf);
// Two descriptions of one font (the face compared as a string).
bool SameLogFont(const LOGFONTA& a, const LOGFONTA& b);
HDC GetMeasureDC();
// Frees the fonts and the measuring DC (at process end).
void DeleteThemedFonts();

// The system settings every item of a popup is measured and drawn with,
// read once for many items: asking costs the display driver a look at its
// own settings each time. Read again after ForgetMenuSettings, which the menu
// hook calls before every popup and at every settings change.
struct ThemedMenuSettings
{
    const NONCLIENTMETRICSA* pMetrics; // null when the system gave none
    BOOL bFlatMenu;                    // SPI_GETFLATMENU (XP and later)
    BOOL bKeyboardCues;                // SPI_GETKEYBOARDCUES (2000 and later)
    int cxMenuCheck;                   // SM_CXMENUCHECK
    int cyMenu;                        // SM_CYMENU
};
const ThemedMenuSettings& GetMenuSettings();
void ForgetMenuSettings();

// ---------------------------------------------------------------- late-bound

BOOL ThemedGetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO pInfo);
HMONITOR ThemedMonitorFromRect(LPCRECT pRect, DWORD dwFlags);
BOOL ThemedGetMenuInfo(HMENU hMenu, LPMENUINFO pInfo);
BOOL ThemedSetMenuInfo(HMENU hMenu, LPCMENUINFO pInfo);
DWORD ThemedGetLayout(HDC hDC);
BOOL ThemedSetLayeredWindowAttributes(HWND hWnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags);
HANDLE ThemedOpenThemeData(HWND hWnd, LPCWSTR pszClassList);
HRESULT ThemedCloseThemeData(HANDLE hTheme);
HRESULT ThemedGetThemeColor(HANDLE hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor);
// The background brush of a menu (MIM_BACKGROUND), null when it has none.
HBRUSH GetMenuBackgroundBrush(HMENU hMenu);
