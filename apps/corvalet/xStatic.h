// CxStatic: a static control that draws its own text (wrapped into lines)
// on a transparent, plain or bitmap background. The header form's labels and
// the registry browser's full-key label are made of it.
#pragma once
#include "fw/framework.h"
#include <functional>
#include <vector>

// Splits text into the lines drawn in a rectangle width wide: a CR LF (or
// LF CR) ends a line; a line that grows too wide breaks after its last blank,
// or before the character that overflowed when it has no blank. Every line
// takes at least one character, and a width of 0 or less gives no lines.
// measure gives the drawn width of a text.
std::vector<CString> SplitStaticLines(const CString& text, int width,
                                      const std::function<int(const CString&)>& measure);

class CxStatic : public CStatic
{
public:
    CxStatic();
    virtual ~CxStatic();

    void SetTransparent(BOOL bTransparent);
    void SetText(const char* pszText);
    using CWnd::SetFont;
    void SetFont(const char* pszFaceName, int nHeight, int nWeight, BOOL bRedraw = TRUE);
    // Loads a .bmp file as the background; the control keeps its size. FALSE
    // (and nothing changed) when it does not load.
    BOOL SetBitmapFromFile(const char* pszPath);
    void SetTextColor(COLORREF cr)
    {
        m_crText = cr;
        Invalidate(FALSE);
    }
    void SetBkColor(COLORREF cr);

    const CString& GetText() const { return m_strText; }
    BOOL IsTransparent() const { return m_bTransparent; }
    HFONT GetDrawFont() const { return (HFONT)m_font.GetSafeHandle(); }

    virtual void PreSubclassWindow();
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    void DrawText(CDC* pDC, const CRect& rect);
    void RebuildFont(HFONT hFrom);
    void Redraw();

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
    afx_msg LRESULT OnSetText(WPARAM, LPARAM);
    afx_msg LRESULT OnSetFontMessage(WPARAM, LPARAM);
    afx_msg LRESULT OnGetFontMessage(WPARAM, LPARAM);
    afx_msg void OnDropFiles(HDROP hDropInfo);

    typedef BOOL(WINAPI* PFN_GRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

    CString m_strText;
    BOOL m_bTransparent;
    BOOL m_bHover;
    COLORREF m_crText;
    COLORREF m_crBackground;
    COLORREF m_crGradientStart;
    COLORREF m_crGradientEnd;
    CBrush m_brBackground;
    CBitmap m_bitmap;
    CFont m_font;
    DWORD m_dwStaticStyle; // the control's own static style, before owner draw
    HMODULE m_hMsimg;
    PFN_GRADIENTFILL m_pfnGradientFill;

    DECLARE_MESSAGE_MAP()
};
