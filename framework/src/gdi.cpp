// GDI wrappers: the members that are more than one Win32 call.
#include "fw/gdi.h"
#include "fw/wnd.h"

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, HDC hDC)
{
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof(lf));
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    HDC hScreen = nullptr;
    if (hDC == nullptr)
        hDC = hScreen = ::GetDC(nullptr);
    // Tenths of a point to logical units of the DC (negative: character height).
    lf.lfHeight = -MulDiv(nPointSize, ::GetDeviceCaps(hDC, LOGPIXELSY), 720);
    if (hScreen != nullptr)
        ::ReleaseDC(nullptr, hScreen);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return Attach(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName)
{
    return Attach(::LoadBitmapA(::GetModuleHandleA(nullptr), lpszResourceName));
}

namespace {
// Wrappers handed out by CDC::FromHandle: they never own their DC.
struct TempDCRing
{
    enum { SIZE = 16 };
    CDC dcs[SIZE];
    int next = 0;
    ~TempDCRing()
    {
        for (int i = 0; i < SIZE; i++)
            dcs[i].Detach();
    }
};
} // namespace

CDC* CDC::FromHandle(HDC hDC)
{
    if (hDC == nullptr)
        return nullptr;
    static thread_local TempDCRing ring;
    CDC* pDC = &ring.dcs[ring.next];
    ring.next = (ring.next + 1) % TempDCRing::SIZE;
    pDC->m_hDC = hDC;
    return pDC;
}

CDC::~CDC()
{
    if (m_hDC != nullptr)
        DeleteDC();
}

namespace {
volatile LONG g_nGdiObjects = 0;
volatile LONG g_nMenuObjects = 0;
} // namespace

LONG FwGdiObjectCount() { return g_nGdiObjects; }
LONG FwMenuObjectCount() { return g_nMenuObjects; }
void FwCountGdiObject(int nDelta) { ::InterlockedExchangeAdd(&g_nGdiObjects, nDelta); }
void FwCountMenuObject(int nDelta) { ::InterlockedExchangeAdd(&g_nMenuObjects, nDelta); }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT rc = {x, y, x + cx, y + cy};
    FillSolidRect(&rc, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

CPaintDC::CPaintDC(CWnd* pWnd) : CPaintDC(SafeHwnd(pWnd)) {}

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd)
{
    ASSERT(::IsWindow(hWnd));
    Attach(::BeginPaint(hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    // EndPaint releases the DC; it must not be deleted.
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

// A NULL window gives the screen's DC.
CClientDC::CClientDC(CWnd* pWnd) : CClientDC(SafeHwnd(pWnd)) {}

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd) { Attach(::GetDC(hWnd)); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : CWindowDC(SafeHwnd(pWnd)) {}

CWindowDC::CWindowDC(HWND hWnd) : m_hWnd(hWnd) { Attach(::GetWindowDC(hWnd)); }

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
