// GDI wrappers: drawing objects and device contexts.
//
// Every object owns the handle it created (or was given through Attach) and
// releases it in its destructor; Detach hands the handle back without
// releasing it. SelectObject returns the previously selected raw handle, which
// the caller selects back before the object it selected goes away.
#pragma once

#include "fw/fwdefs.h"

class CWnd;

class FW_API CGdiObject
{
public:
    HGDIOBJ m_hObject;

    CGdiObject() : m_hObject(nullptr) {}
    virtual ~CGdiObject() { DeleteObject(); }

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    BOOL Attach(HGDIOBJ hObject)
    {
        ASSERT(m_hObject == nullptr);
        if (hObject == nullptr)
            return FALSE;
        m_hObject = hObject;
        FwCountGdiObject(1);
        return TRUE;
    }
    HGDIOBJ Detach()
    {
        HGDIOBJ h = m_hObject;
        if (h != nullptr)
            FwCountGdiObject(-1);
        m_hObject = nullptr;
        return h;
    }
    BOOL DeleteObject()
    {
        if (m_hObject == nullptr)
            return FALSE;
        return ::DeleteObject(Detach());
    }
    int GetObject(int nCount, LPVOID lpObject) const
    {
        ASSERT(m_hObject != nullptr);
        return ::GetObjectA(m_hObject, nCount, lpObject);
    }
    UINT GetObjectType() const { return ::GetObjectType(m_hObject); }
    BOOL UnrealizeObject()
    {
        ASSERT(m_hObject != nullptr);
        return ::UnrealizeObject(m_hObject);
    }
    BOOL CreateStockObject(int nIndex)
    {
        // Stock objects are never deleted, so this object only refers to one.
        ASSERT(m_hObject == nullptr);
        return Attach(::GetStockObject(nIndex));
    }

private:
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
};

// The handle of an optional object (a pointer that may be null): null when
// there is no object.
inline HGDIOBJ SafeHandle(const CGdiObject* pObject) { return pObject != nullptr ? pObject->m_hObject : nullptr; }

class FW_API CPen : public CGdiObject
{
public:
    CPen() {}
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }

    operator HPEN() const { return (HPEN)m_hObject; }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
    {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
    BOOL CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }
    int GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }
};

class FW_API CBrush : public CGdiObject
{
public:
    CBrush() {}
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor) { return Attach(::CreateHatchBrush(nIndex, crColor)); }
    BOOL CreatePatternBrush(HBITMAP hBitmap) { return Attach(::CreatePatternBrush(hBitmap)); }
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush) { return Attach(::CreateBrushIndirect(lpLogBrush)); }
    // System colour brushes belong to the system; DeleteObject on them is harmless.
    BOOL CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }
    int GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
};

class FW_API CFont : public CGdiObject
{
public:
    operator HFONT() const { return (HFONT)m_hObject; }
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCSTR lpszFacename)
    {
        return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                    cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily,
                                    lpszFacename));
    }
    // nPointSize is in tenths of a point, as for a dialog font.
    BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, HDC hDC = nullptr);
    int GetLogFont(LOGFONTA* pLogFont) const { return GetObject(sizeof(LOGFONTA), pLogFont); }
};

class FW_API CBitmap : public CGdiObject
{
public:
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    BOOL LoadOEMBitmap(UINT nIDBitmap) { return Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(nIDBitmap))); }
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
    {
        return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
    }
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap) { return Attach(::CreateBitmapIndirect(lpBitmap)); }
    BOOL CreateCompatibleBitmap(HDC hDC, int nWidth, int nHeight)
    {
        return Attach(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
    }
    int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
};

class FW_API CRgn : public CGdiObject
{
public:
    operator HRGN() const { return (HRGN)m_hObject; }
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateEllipticRgn(x1, y1, x2, y2)); }
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
    {
        return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
    }
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode)
    {
        return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
    }
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode)
    {
        ASSERT(m_hObject != nullptr);
        return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgn1->m_hObject, pRgn2 ? (HRGN)pRgn2->m_hObject : nullptr,
                            nCombineMode);
    }
    int CopyRgn(const CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }
    BOOL SetRectRgn(int x1, int y1, int x2, int y2) { return ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    BOOL RectInRegion(LPCRECT lpRect) const { return ::RectInRegion((HRGN)m_hObject, lpRect); }
    int GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox((HRGN)m_hObject, lpRect); }
    int OffsetRgn(int x, int y) { return ::OffsetRgn((HRGN)m_hObject, x, y); }
};

// A device context. A CDC made by CreateCompatibleDC/CreateDC (or given through
// Attach) is deleted by the destructor; the window DCs below release theirs.
class FW_API CDC
{
public:
    HDC m_hDC;

    CDC() : m_hDC(nullptr) {}
    virtual ~CDC();

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // A CDC that refers to hDC without owning it, for handing a DC of a message
    // to a handler. It is one of a small per-thread ring of wrappers and stays
    // valid only for the handler call (until sixteen later calls on the thread).
    static CDC* FromHandle(HDC hDC);

    BOOL Attach(HDC hDC)
    {
        ASSERT(m_hDC == nullptr);
        if (hDC == nullptr)
            return FALSE;
        m_hDC = hDC;
        return TRUE;
    }
    HDC Detach()
    {
        HDC h = m_hDC;
        m_hDC = nullptr;
        return h;
    }
    // A DC this object creates is counted until it deletes it.
    BOOL CreateCompatibleDC(CDC* pDC) { return AttachCounted(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }
    BOOL CreateCompatibleDC(HDC hDC) { return AttachCounted(::CreateCompatibleDC(hDC)); }
    BOOL CreateDC(LPCSTR lpszDriverName, LPCSTR lpszDeviceName, LPCSTR lpszOutput, const DEVMODEA* lpInitData)
    {
        return AttachCounted(::CreateDCA(lpszDriverName, lpszDeviceName, lpszOutput, lpInitData));
    }
    BOOL DeleteDC()
    {
        if (m_hDC == nullptr)
            return FALSE;
        FwCountGdiObject(-1);
        return ::DeleteDC(Detach());
    }

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

    // Selection: returns the handle that was selected before.
    HGDIOBJ SelectObject(CGdiObject* pObject)
    {
        ASSERT(pObject != nullptr && pObject->m_hObject != nullptr);
        return ::SelectObject(m_hDC, pObject->m_hObject);
    }
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    HGDIOBJ SelectStockObject(int nIndex) { return ::SelectObject(m_hDC, ::GetStockObject(nIndex)); }
    int SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, pRgn ? (HRGN)pRgn->m_hObject : nullptr); }
    int IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
    int ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
    int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }

    // Colours and modes.
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
    int SetStretchBltMode(int nMode) { return ::SetStretchBltMode(m_hDC, nMode); }
    int SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
    POINT SetViewportOrg(int x, int y)
    {
        POINT pt = {0, 0};
        ::SetViewportOrgEx(m_hDC, x, y, &pt);
        return pt;
    }
    POINT SetWindowOrg(int x, int y)
    {
        POINT pt = {0, 0};
        ::SetWindowOrgEx(m_hDC, x, y, &pt);
        return pt;
    }

    // Pixels, lines and shapes.
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
    POINT MoveTo(int x, int y)
    {
        POINT pt = {0, 0};
        ::MoveToEx(m_hDC, x, y, &pt);
        return pt;
    }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT lpRect)
    {
        return ::Rectangle(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
    {
        return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
    }
    BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
    BOOL Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
    BOOL Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
    void FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, (HBRUSH)pBrush->m_hObject); }
    void FillRect(LPCRECT lpRect, HBRUSH hBrush) { ::FillRect(m_hDC, lpRect, hBrush); }
    void FrameRect(LPCRECT lpRect, CBrush* pBrush) { ::FrameRect(m_hDC, lpRect, (HBRUSH)pBrush->m_hObject); }
    void FrameRect(LPCRECT lpRect, HBRUSH hBrush) { ::FrameRect(m_hDC, lpRect, hBrush); }
    void InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush)
    {
        return ::FillRgn(m_hDC, (HRGN)pRgn->m_hObject, (HBRUSH)pBrush->m_hObject);
    }
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
    {
        return ::FrameRgn(m_hDC, (HRGN)pRgn->m_hObject, (HBRUSH)pBrush->m_hObject, nWidth, nHeight);
    }
    void DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
    BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState)
    {
        return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
    }
    // Fills with a solid colour through the background colour, which it leaves changed.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // A 3-D frame one pixel wide: top and left in clrTopLeft, bottom and right in clrBottomRight.
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);

    // Images.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
    }
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop)
    {
        return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                            nSrcHeight, dwRop);
    }
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
    {
        return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
    }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL DrawIconEx(int x, int y, HICON hIcon, int cx, int cy, UINT flags = DI_NORMAL)
    {
        return ::DrawIconEx(m_hDC, x, y, hIcon, cx, cy, 0, nullptr, flags);
    }
    BOOL DrawState(POINT pt, SIZE size, HICON hIcon, UINT nFlags, HBRUSH hBrush = nullptr)
    {
        return ::DrawStateA(m_hDC, hBrush, nullptr, (LPARAM)hIcon, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_ICON);
    }
    BOOL DrawState(POINT pt, SIZE size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = nullptr)
    {
        return ::DrawStateA(m_hDC, hBrush, nullptr, (LPARAM)hBitmap, 0, pt.x, pt.y, size.cx, size.cy,
                            nFlags | DST_BITMAP);
    }

    // Text.
    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
    {
        return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    BOOL TextOut(int x, int y, LPCSTR lpszString, int nCount) { return ::TextOutA(m_hDC, x, y, lpszString, nCount); }
    BOOL TextOut(int x, int y, LPCSTR lpszString) { return ::TextOutA(m_hDC, x, y, lpszString, lstrlenA(lpszString)); }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCSTR lpszString, UINT nCount, const INT* lpDxWidths)
    {
        return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    }
    SIZE GetTextExtent(LPCSTR lpszString, int nCount) const
    {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
        return size;
    }
    SIZE GetTextExtent(LPCSTR lpszString) const { return GetTextExtent(lpszString, lstrlenA(lpszString)); }
    BOOL GetTextMetrics(LPTEXTMETRICA lpMetrics) const { return ::GetTextMetricsA(m_hDC, lpMetrics); }
    UINT SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }

private:
    BOOL AttachCounted(HDC hDC)
    {
        if (!Attach(hDC))
            return FALSE;
        FwCountGdiObject(1);
        return TRUE;
    }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
};

// The DC of a pointer that may be null: null when there is no object.
inline HDC SafeHdc(const CDC* pDC) { return pDC != nullptr ? pDC->m_hDC : nullptr; }

// The DC of BeginPaint/EndPaint for one WM_PAINT.
class FW_API CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    explicit CPaintDC(HWND hWnd);
    virtual ~CPaintDC();

    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};

// The client-area DC of GetDC/ReleaseDC.
class FW_API CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    explicit CClientDC(HWND hWnd);
    virtual ~CClientDC();

    HWND m_hWnd;
};

// The whole-window DC of GetWindowDC/ReleaseDC.
class FW_API CWindowDC : public CDC
{
public:
    explicit CWindowDC(CWnd* pWnd);
    explicit CWindowDC(HWND hWnd);
    virtual ~CWindowDC();

    HWND m_hWnd;
};
