// Simple Win32 controls: CButton, CStatic, CEdit, CComboBox, CListBox, CScrollBar.
#pragma once
#include "fw/wnd.h"

class FW_API CButton : public CWnd
{
public:
    BOOL Create(const char* pszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, "BUTTON", pszCaption, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    int GetCheck() const { return (int)::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0); }
    void SetCheck(int nCheck) { ::SendMessageA(m_hWnd, BM_SETCHECK, (WPARAM)nCheck, 0); }
    UINT GetState() const { return (UINT)::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0); }
    void SetState(BOOL bHighlight) { ::SendMessageA(m_hWnd, BM_SETSTATE, bHighlight, 0); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { ::SendMessageA(m_hWnd, BM_SETSTYLE, nStyle, bRedraw); }
    HICON SetIcon(HICON hIcon) { return (HICON)::SendMessageA(m_hWnd, BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)::SendMessageA(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0); }
    HBITMAP SetBitmap(HBITMAP hBitmap)
    {
        return (HBITMAP)::SendMessageA(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
    }
    HBITMAP GetBitmap() const { return (HBITMAP)::SendMessageA(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0); }
    void Click() { ::SendMessageA(m_hWnd, BM_CLICK, 0, 0); }
    // Owner-drawn buttons draw themselves through the reflected WM_DRAWITEM.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class FW_API CStatic : public CWnd
{
public:
    BOOL Create(const char* pszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF)
    {
        return CWnd::CreateEx(0, "STATIC", pszText, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    HICON SetIcon(HICON hIcon) { return (HICON)::SendMessageA(m_hWnd, STM_SETICON, (WPARAM)hIcon, 0); }
    HICON GetIcon() const { return (HICON)::SendMessageA(m_hWnd, STM_GETICON, 0, 0); }
    HBITMAP SetBitmap(HBITMAP hBitmap)
    {
        return (HBITMAP)::SendMessageA(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
    }
    HBITMAP GetBitmap() const { return (HBITMAP)::SendMessageA(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0); }
};

class FW_API CEdit : public CWnd
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(WS_EX_CLIENTEDGE, "EDIT", nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    void GetSel(int& nStart, int& nEnd) const
    {
        DWORD s = 0, e = 0;
        ::SendMessageA(m_hWnd, EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
        nStart = (int)s;
        nEnd = (int)e;
    }
    void SetSel(int nStart, int nEnd, BOOL bNoScroll = FALSE)
    {
        ::SendMessageA(m_hWnd, EM_SETSEL, (WPARAM)nStart, (LPARAM)nEnd);
        if (!bNoScroll)
            ::SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
    }
    void ReplaceSel(const char* pszNewText, BOOL bCanUndo = FALSE)
    {
        ::SendMessageA(m_hWnd, EM_REPLACESEL, bCanUndo, (LPARAM)pszNewText);
    }
    void LimitText(int nChars = 0) { ::SendMessageA(m_hWnd, EM_LIMITTEXT, (WPARAM)nChars, 0); }
    void SetLimitText(UINT nMax) { ::SendMessageA(m_hWnd, EM_SETLIMITTEXT, nMax, 0); }
    UINT GetLimitText() const { return (UINT)::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)::SendMessageA(m_hWnd, EM_SETREADONLY, bReadOnly, 0); }
    int GetLineCount() const { return (int)::SendMessageA(m_hWnd, EM_GETLINECOUNT, 0, 0); }
    BOOL GetModify() const { return (BOOL)::SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL bModified = TRUE) { ::SendMessageA(m_hWnd, EM_SETMODIFY, bModified, 0); }
    void Clear() { ::SendMessageA(m_hWnd, WM_CLEAR, 0, 0); }
    void Copy() { ::SendMessageA(m_hWnd, WM_COPY, 0, 0); }
    void Cut() { ::SendMessageA(m_hWnd, WM_CUT, 0, 0); }
    void Paste() { ::SendMessageA(m_hWnd, WM_PASTE, 0, 0); }
    BOOL Undo() { return (BOOL)::SendMessageA(m_hWnd, EM_UNDO, 0, 0); }
};

class FW_API CComboBox : public CWnd
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, "COMBOBOX", nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    int AddString(const char* psz) { return (int)::SendMessageA(m_hWnd, CB_ADDSTRING, 0, (LPARAM)psz); }
    int InsertString(int nIndex, const char* psz)
    {
        return (int)::SendMessageA(m_hWnd, CB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)psz);
    }
    int DeleteString(UINT nIndex) { return (int)::SendMessageA(m_hWnd, CB_DELETESTRING, nIndex, 0); }
    void ResetContent() { ::SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0); }
    int GetCount() const { return (int)::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return (int)::SendMessageA(m_hWnd, CB_SETCURSEL, (WPARAM)nSelect, 0); }
    int GetLBTextLen(int nIndex) const { return (int)::SendMessageA(m_hWnd, CB_GETLBTEXTLEN, (WPARAM)nIndex, 0); }
    int GetLBText(int nIndex, char* psz) const
    {
        return (int)::SendMessageA(m_hWnd, CB_GETLBTEXT, (WPARAM)nIndex, (LPARAM)psz);
    }
    void GetLBText(int nIndex, CString& rString) const;
    int FindString(int nStartAfter, const char* psz) const
    {
        return (int)::SendMessageA(m_hWnd, CB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)psz);
    }
    int FindStringExact(int nStartAfter, const char* psz) const
    {
        return (int)::SendMessageA(m_hWnd, CB_FINDSTRINGEXACT, (WPARAM)nStartAfter, (LPARAM)psz);
    }
    int SelectString(int nStartAfter, const char* psz)
    {
        return (int)::SendMessageA(m_hWnd, CB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)psz);
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return (int)::SendMessageA(m_hWnd, CB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }
    DWORD_PTR GetItemData(int nIndex) const
    {
        return (DWORD_PTR)::SendMessageA(m_hWnd, CB_GETITEMDATA, (WPARAM)nIndex, 0);
    }
    BOOL GetDroppedState() const { return (BOOL)::SendMessageA(m_hWnd, CB_GETDROPPEDSTATE, 0, 0); }
    void ShowDropDown(BOOL bShowIt = TRUE) { ::SendMessageA(m_hWnd, CB_SHOWDROPDOWN, bShowIt, 0); }
    BOOL LimitText(int nMaxChars) { return (BOOL)::SendMessageA(m_hWnd, CB_LIMITTEXT, (WPARAM)nMaxChars, 0); }
    int SetDroppedWidth(UINT nWidth) { return (int)::SendMessageA(m_hWnd, CB_SETDROPPEDWIDTH, nWidth, 0); }
};

class FW_API CListBox : public CWnd
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    int AddString(const char* psz) { return (int)::SendMessageA(m_hWnd, LB_ADDSTRING, 0, (LPARAM)psz); }
    int InsertString(int nIndex, const char* psz)
    {
        return (int)::SendMessageA(m_hWnd, LB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)psz);
    }
    int DeleteString(UINT nIndex) { return (int)::SendMessageA(m_hWnd, LB_DELETESTRING, nIndex, 0); }
    void ResetContent() { ::SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0); }
    int GetCount() const { return (int)::SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessageA(m_hWnd, LB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return (int)::SendMessageA(m_hWnd, LB_SETCURSEL, (WPARAM)nSelect, 0); }
    int GetSel(int nIndex) const { return (int)::SendMessageA(m_hWnd, LB_GETSEL, (WPARAM)nIndex, 0); }
    int SetSel(int nIndex, BOOL bSelect = TRUE)
    {
        return (int)::SendMessageA(m_hWnd, LB_SETSEL, bSelect, (LPARAM)nIndex);
    }
    int GetSelCount() const { return (int)::SendMessageA(m_hWnd, LB_GETSELCOUNT, 0, 0); }
    int GetSelItems(int nMaxItems, LPINT rgIndex) const
    {
        return (int)::SendMessageA(m_hWnd, LB_GETSELITEMS, (WPARAM)nMaxItems, (LPARAM)rgIndex);
    }
    int GetTextLen(int nIndex) const { return (int)::SendMessageA(m_hWnd, LB_GETTEXTLEN, (WPARAM)nIndex, 0); }
    int GetText(int nIndex, char* psz) const
    {
        return (int)::SendMessageA(m_hWnd, LB_GETTEXT, (WPARAM)nIndex, (LPARAM)psz);
    }
    void GetText(int nIndex, CString& rString) const;
    int FindString(int nStartAfter, const char* psz) const
    {
        return (int)::SendMessageA(m_hWnd, LB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)psz);
    }
    int FindStringExact(int nStartAfter, const char* psz) const
    {
        return (int)::SendMessageA(m_hWnd, LB_FINDSTRINGEXACT, (WPARAM)nStartAfter, (LPARAM)psz);
    }
    int SelectString(int nStartAfter, const char* psz)
    {
        return (int)::SendMessageA(m_hWnd, LB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)psz);
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return (int)::SendMessageA(m_hWnd, LB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }
    DWORD_PTR GetItemData(int nIndex) const
    {
        return (DWORD_PTR)::SendMessageA(m_hWnd, LB_GETITEMDATA, (WPARAM)nIndex, 0);
    }
    int GetTopIndex() const { return (int)::SendMessageA(m_hWnd, LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int nIndex) { return (int)::SendMessageA(m_hWnd, LB_SETTOPINDEX, (WPARAM)nIndex, 0); }
    void SetHorizontalExtent(int cx) { ::SendMessageA(m_hWnd, LB_SETHORIZONTALEXTENT, (WPARAM)cx, 0); }
    int GetHorizontalExtent() const { return (int)::SendMessageA(m_hWnd, LB_GETHORIZONTALEXTENT, 0, 0); }
    int SetItemHeight(int nIndex, UINT cyItemHeight)
    {
        return (int)::SendMessageA(m_hWnd, LB_SETITEMHEIGHT, (WPARAM)nIndex, MAKELPARAM(cyItemHeight, 0));
    }
};

class FW_API CScrollBar : public CWnd
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, "SCROLLBAR", nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
    void SetScrollRange(int nMin, int nMax, BOOL bRedraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, SB_CTL, nMin, nMax, bRedraw);
    }
};
