// Message maps: each class that handles messages declares DECLARE_MESSAGE_MAP()
// and lists its handlers between BEGIN_MESSAGE_MAP(cls, base) and
// END_MESSAGE_MAP(). An entry holds a small typed thunk that calls the handler
// with the MFC-style signature, so no member-pointer casts are needed.
#pragma once
// The entry macros are laid out by hand, one per line, to read as a table.
// clang-format off
#include "fw/fwdefs.h"

// Command codes passed to OnCmdMsg besides control notification codes.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
// Reflected messages come back to the control as nMessage + WM_REFLECT_BASE.
#define WM_REFLECT_BASE 0xBC00
// Marks an entry whose message id is a registered message held in a variable.
#define FW_MSG_REGISTERED 0xC000FFFFu
// Notification passed in pExtra to OnCmdMsg for WM_NOTIFY entries.
struct AFX_NOTIFY { LRESULT* pResult; NMHDR* pNMHDR; };

// Arguments of one dispatch: the message, or for commands the id and pExtra.
struct FW_MSGCALL {
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;          // command/notify id
    void* pExtra;      // CCmdUI* for update entries, AFX_NOTIFY* for notify entries
    LRESULT* pResult;
};
typedef BOOL (*FW_MSGTHUNK)(CCmdTarget* pTarget, FW_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;     // WM_*, or WM_COMMAND/WM_NOTIFY (+WM_REFLECT_BASE for reflected ones)
    UINT nCode;        // control notification or CN_* code
    UINT nID;          // first command id
    UINT nLastID;      // last command id (ranges)
    const UINT* pRegMsg;   // registered message id, for FW_MSG_REGISTERED entries
    FW_MSGTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override; \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        (void)sizeof(ThisClass); \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, nullptr, nullptr } \
        }; \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
        return &messageMap; \
    }

// A thunk for the handler call `body` (which sees `pThis` as ThisClass* and `c` as the call).
#define FW_THUNK(body) \
    [](CCmdTarget* pTarget, FW_MSGCALL& c) -> BOOL { \
        ThisClass* pThis = static_cast<ThisClass*>(pTarget); (void)pThis; (void)c; body; return TRUE; }

#define FW_MSG_ENTRY(msg, body) { (UINT)(msg), 0, 0, 0, nullptr, FW_THUNK(body) },

// ---- window messages (handlers with MFC's signatures)
#define ON_WM_CREATE() FW_MSG_ENTRY(WM_CREATE, *c.pResult = pThis->OnCreate((LPCREATESTRUCT)c.lParam))
#define ON_WM_DESTROY() FW_MSG_ENTRY(WM_DESTROY, pThis->OnDestroy())
#define ON_WM_NCDESTROY() FW_MSG_ENTRY(WM_NCDESTROY, pThis->OnNcDestroy())
#define ON_WM_CLOSE() FW_MSG_ENTRY(WM_CLOSE, pThis->OnClose())
#define ON_WM_PAINT() FW_MSG_ENTRY(WM_PAINT, pThis->OnPaint())
#define ON_WM_ERASEBKGND() FW_MSG_ENTRY(WM_ERASEBKGND, *c.pResult = pThis->OnEraseBkgnd(CDC::FromHandle((HDC)c.wParam)))
#define ON_WM_CTLCOLOR() \
    { WM_CTLCOLORMSGBOX, 0, 0, 0, nullptr, [](CCmdTarget* t, FW_MSGCALL& c) -> BOOL { return FwCtlColorThunk<ThisClass>(t, c); } }, \
    { WM_CTLCOLOREDIT, 0, 0, 0, nullptr, [](CCmdTarget* t, FW_MSGCALL& c) -> BOOL { return FwCtlColorThunk<ThisClass>(t, c); } }, \
    { WM_CTLCOLORLISTBOX, 0, 0, 0, nullptr, [](CCmdTarget* t, FW_MSGCALL& c) -> BOOL { return FwCtlColorThunk<ThisClass>(t, c); } }, \
    { WM_CTLCOLORBTN, 0, 0, 0, nullptr, [](CCmdTarget* t, FW_MSGCALL& c) -> BOOL { return FwCtlColorThunk<ThisClass>(t, c); } }, \
    { WM_CTLCOLORDLG, 0, 0, 0, nullptr, [](CCmdTarget* t, FW_MSGCALL& c) -> BOOL { return FwCtlColorThunk<ThisClass>(t, c); } }, \
    { WM_CTLCOLORSCROLLBAR, 0, 0, 0, nullptr, [](CCmdTarget* t, FW_MSGCALL& c) -> BOOL { return FwCtlColorThunk<ThisClass>(t, c); } }, \
    { WM_CTLCOLORSTATIC, 0, 0, 0, nullptr, [](CCmdTarget* t, FW_MSGCALL& c) -> BOOL { return FwCtlColorThunk<ThisClass>(t, c); } },
#define ON_WM_SIZE() FW_MSG_ENTRY(WM_SIZE, pThis->OnSize((UINT)c.wParam, (short)LOWORD(c.lParam), (short)HIWORD(c.lParam)))
#define ON_WM_MOVE() FW_MSG_ENTRY(WM_MOVE, pThis->OnMove((short)LOWORD(c.lParam), (short)HIWORD(c.lParam)))
#define ON_WM_TIMER() FW_MSG_ENTRY(WM_TIMER, pThis->OnTimer((UINT_PTR)c.wParam))
#define ON_WM_DROPFILES() FW_MSG_ENTRY(WM_DROPFILES, pThis->OnDropFiles((HDROP)c.wParam))
#define ON_WM_SYSCOMMAND() FW_MSG_ENTRY(WM_SYSCOMMAND, pThis->OnSysCommand((UINT)c.wParam, c.lParam))
#define ON_WM_KEYDOWN() FW_MSG_ENTRY(WM_KEYDOWN, pThis->OnKeyDown((UINT)c.wParam, (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam)))
#define ON_WM_KEYUP() FW_MSG_ENTRY(WM_KEYUP, pThis->OnKeyUp((UINT)c.wParam, (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam)))
#define ON_WM_CHAR() FW_MSG_ENTRY(WM_CHAR, pThis->OnChar((UINT)c.wParam, (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam)))
#define ON_WM_MEASUREITEM() FW_MSG_ENTRY(WM_MEASUREITEM, pThis->OnMeasureItem((int)c.wParam, (LPMEASUREITEMSTRUCT)c.lParam); *c.pResult = TRUE)
#define ON_WM_DRAWITEM() FW_MSG_ENTRY(WM_DRAWITEM, pThis->OnDrawItem((int)c.wParam, (LPDRAWITEMSTRUCT)c.lParam); *c.pResult = TRUE)
#define ON_WM_INITMENUPOPUP() FW_MSG_ENTRY(WM_INITMENUPOPUP, pThis->OnInitMenuPopup(CMenu::FromHandle((HMENU)c.wParam), (UINT)LOWORD(c.lParam), (BOOL)HIWORD(c.lParam)))
#define ON_WM_INITMENU() FW_MSG_ENTRY(WM_INITMENU, pThis->OnInitMenu(CMenu::FromHandle((HMENU)c.wParam)))
#define ON_WM_MENUCHAR() FW_MSG_ENTRY(WM_MENUCHAR, *c.pResult = pThis->OnMenuChar((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam), CMenu::FromHandle((HMENU)c.lParam)))
#define ON_WM_MENUSELECT() FW_MSG_ENTRY(WM_MENUSELECT, pThis->OnMenuSelect((UINT)LOWORD(c.wParam), (UINT)HIWORD(c.wParam), (HMENU)c.lParam))
#define ON_WM_CONTEXTMENU() FW_MSG_ENTRY(WM_CONTEXTMENU, pThis->OnContextMenu(CWnd::FromHandle((HWND)c.wParam), CPoint((short)LOWORD(c.lParam), (short)HIWORD(c.lParam))))
#define ON_WM_LBUTTONDOWN() FW_MSG_ENTRY(WM_LBUTTONDOWN, pThis->OnLButtonDown((UINT)c.wParam, CPoint((short)LOWORD(c.lParam), (short)HIWORD(c.lParam))))
#define ON_WM_LBUTTONUP() FW_MSG_ENTRY(WM_LBUTTONUP, pThis->OnLButtonUp((UINT)c.wParam, CPoint((short)LOWORD(c.lParam), (short)HIWORD(c.lParam))))
#define ON_WM_LBUTTONDBLCLK() FW_MSG_ENTRY(WM_LBUTTONDBLCLK, pThis->OnLButtonDblClk((UINT)c.wParam, CPoint((short)LOWORD(c.lParam), (short)HIWORD(c.lParam))))
#define ON_WM_RBUTTONDOWN() FW_MSG_ENTRY(WM_RBUTTONDOWN, pThis->OnRButtonDown((UINT)c.wParam, CPoint((short)LOWORD(c.lParam), (short)HIWORD(c.lParam))))
#define ON_WM_RBUTTONUP() FW_MSG_ENTRY(WM_RBUTTONUP, pThis->OnRButtonUp((UINT)c.wParam, CPoint((short)LOWORD(c.lParam), (short)HIWORD(c.lParam))))
#define ON_WM_MOUSEMOVE() FW_MSG_ENTRY(WM_MOUSEMOVE, pThis->OnMouseMove((UINT)c.wParam, CPoint((short)LOWORD(c.lParam), (short)HIWORD(c.lParam))))
#define ON_WM_SETCURSOR() FW_MSG_ENTRY(WM_SETCURSOR, *c.pResult = pThis->OnSetCursor(CWnd::FromHandle((HWND)c.wParam), (UINT)LOWORD(c.lParam), (UINT)HIWORD(c.lParam)))
#define ON_WM_GETMINMAXINFO() FW_MSG_ENTRY(WM_GETMINMAXINFO, pThis->OnGetMinMaxInfo((MINMAXINFO*)c.lParam))
#define ON_WM_SHOWWINDOW() FW_MSG_ENTRY(WM_SHOWWINDOW, pThis->OnShowWindow((BOOL)c.wParam, (UINT)c.lParam))
#define ON_WM_ACTIVATE() FW_MSG_ENTRY(WM_ACTIVATE, pThis->OnActivate((UINT)LOWORD(c.wParam), CWnd::FromHandle((HWND)c.lParam), (BOOL)HIWORD(c.wParam)))
#define ON_WM_SETFOCUS() FW_MSG_ENTRY(WM_SETFOCUS, pThis->OnSetFocus(CWnd::FromHandle((HWND)c.wParam)))
#define ON_WM_KILLFOCUS() FW_MSG_ENTRY(WM_KILLFOCUS, pThis->OnKillFocus(CWnd::FromHandle((HWND)c.wParam)))
#define ON_WM_HSCROLL() FW_MSG_ENTRY(WM_HSCROLL, pThis->OnHScroll((UINT)LOWORD(c.wParam), (UINT)(short)HIWORD(c.wParam), (CScrollBar*)CWnd::FromHandle((HWND)c.lParam)))
#define ON_WM_VSCROLL() FW_MSG_ENTRY(WM_VSCROLL, pThis->OnVScroll((UINT)LOWORD(c.wParam), (UINT)(short)HIWORD(c.wParam), (CScrollBar*)CWnd::FromHandle((HWND)c.lParam)))
#define ON_WM_NCPAINT() FW_MSG_ENTRY(WM_NCPAINT, pThis->OnNcPaint())
#define ON_WM_NCACTIVATE() FW_MSG_ENTRY(WM_NCACTIVATE, *c.pResult = pThis->OnNcActivate((BOOL)c.wParam))
#define ON_WM_SETTINGCHANGE() FW_MSG_ENTRY(WM_SETTINGCHANGE, pThis->OnSettingChange((UINT)c.wParam, (LPCSTR)c.lParam))
#define ON_WM_SYSCOLORCHANGE() FW_MSG_ENTRY(WM_SYSCOLORCHANGE, pThis->OnSysColorChange())
#define ON_WM_QUERYENDSESSION() FW_MSG_ENTRY(WM_QUERYENDSESSION, *c.pResult = pThis->OnQueryEndSession())
#define ON_WM_ENDSESSION() FW_MSG_ENTRY(WM_ENDSESSION, pThis->OnEndSession((BOOL)c.wParam))

// ---- user and registered messages: LRESULT Handler(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn) FW_MSG_ENTRY(msg, *c.pResult = pThis->fn(c.wParam, c.lParam))
#define ON_REGISTERED_MESSAGE(nMsgVar, fn) \
    { FW_MSG_REGISTERED, 0, 0, 0, &(nMsgVar), FW_THUNK(*c.pResult = pThis->fn(c.wParam, c.lParam)) },
#define ON_THREAD_MESSAGE(msg, fn) FW_MSG_ENTRY(msg, pThis->fn(c.wParam, c.lParam))

// ---- commands
#define ON_COMMAND(id, fn) { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, FW_THUNK(pThis->fn()) },
#define ON_COMMAND_EX(id, fn) { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, \
    [](CCmdTarget* t, FW_MSGCALL& c) -> BOOL { return static_cast<ThisClass*>(t)->fn(c.nID); } },
#define ON_COMMAND_RANGE(idFirst, idLast, fn) { WM_COMMAND, CN_COMMAND, (UINT)(idFirst), (UINT)(idLast), nullptr, FW_THUNK(pThis->fn(c.nID)) },
#define ON_UPDATE_COMMAND_UI(id, fn) { WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), nullptr, FW_THUNK(pThis->fn((CCmdUI*)c.pExtra)) },
#define ON_UPDATE_COMMAND_UI_RANGE(idFirst, idLast, fn) { WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(idFirst), (UINT)(idLast), nullptr, FW_THUNK(pThis->fn((CCmdUI*)c.pExtra)) },
#define ON_CONTROL(code, id, fn) { WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), nullptr, FW_THUNK(pThis->fn()) },
#define ON_CONTROL_RANGE(code, idFirst, idLast, fn) { WM_COMMAND, (UINT)(code), (UINT)(idFirst), (UINT)(idLast), nullptr, FW_THUNK(pThis->fn(c.nID)) },

#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)

// ---- notifications: void Handler(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(code, id, fn) { WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), nullptr, \
    FW_THUNK(pThis->fn(((AFX_NOTIFY*)c.pExtra)->pNMHDR, ((AFX_NOTIFY*)c.pExtra)->pResult)) },
#define ON_NOTIFY_RANGE(code, idFirst, idLast, fn) { WM_NOTIFY, (UINT)(code), (UINT)(idFirst), (UINT)(idLast), nullptr, \
    FW_THUNK(pThis->fn(c.nID, ((AFX_NOTIFY*)c.pExtra)->pNMHDR, ((AFX_NOTIFY*)c.pExtra)->pResult)) },
// Reflected back to the control that sent it.
#define ON_NOTIFY_REFLECT(code, fn) { WM_NOTIFY + WM_REFLECT_BASE, (UINT)(code), 0, 0, nullptr, \
    FW_THUNK(pThis->fn((NMHDR*)c.lParam, c.pResult)) },
#define ON_CONTROL_REFLECT(code, fn) { WM_COMMAND + WM_REFLECT_BASE, (UINT)(code), 0, 0, nullptr, FW_THUNK(pThis->fn()) },
#define ON_WM_DRAWITEM_REFLECT() FW_MSG_ENTRY(WM_DRAWITEM + WM_REFLECT_BASE, pThis->DrawItem((LPDRAWITEMSTRUCT)c.lParam); *c.pResult = TRUE)
#define ON_WM_MEASUREITEM_REFLECT() FW_MSG_ENTRY(WM_MEASUREITEM + WM_REFLECT_BASE, pThis->MeasureItem((LPMEASUREITEMSTRUCT)c.lParam); *c.pResult = TRUE)
// Handled by the control itself: HBRUSH CtlColor(CDC*, UINT nCtlColor); a NULL
// brush lets the parent decide.
#define FW_CTLCOLOR_REFLECT_ENTRY(msg) \
    { (msg) + WM_REFLECT_BASE, 0, 0, 0, nullptr, [](CCmdTarget* t, FW_MSGCALL& c) -> BOOL { return FwCtlColorReflectThunk<ThisClass>(t, c); } },
#define ON_WM_CTLCOLOR_REFLECT() \
    FW_CTLCOLOR_REFLECT_ENTRY(WM_CTLCOLOREDIT) FW_CTLCOLOR_REFLECT_ENTRY(WM_CTLCOLORLISTBOX) \
    FW_CTLCOLOR_REFLECT_ENTRY(WM_CTLCOLORBTN) FW_CTLCOLOR_REFLECT_ENTRY(WM_CTLCOLORSCROLLBAR) \
    FW_CTLCOLOR_REFLECT_ENTRY(WM_CTLCOLORSTATIC)
#define ON_WM_HSCROLL_REFLECT() FW_MSG_ENTRY(WM_HSCROLL + WM_REFLECT_BASE, pThis->HScroll((UINT)LOWORD(c.wParam), (UINT)(short)HIWORD(c.wParam)))
#define ON_WM_VSCROLL_REFLECT() FW_MSG_ENTRY(WM_VSCROLL + WM_REFLECT_BASE, pThis->VScroll((UINT)LOWORD(c.wParam), (UINT)(short)HIWORD(c.wParam)))

// CTLCOLOR_* codes passed to OnCtlColor.
#ifndef CTLCOLOR_MSGBOX
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#endif

// DC is a template parameter so that this header needs only a declaration of CDC.
template <class T, class DC = CDC, class W = CWnd>
BOOL FwCtlColorThunk(CCmdTarget* t, FW_MSGCALL& c)
{
    UINT nCtlColor = c.nMsg - WM_CTLCOLORMSGBOX;
    HBRUSH hbr = static_cast<T*>(t)->OnCtlColor(DC::FromHandle((HDC)c.wParam), W::FromHandle((HWND)c.lParam), nCtlColor);
    *c.pResult = (LRESULT)hbr;
    return TRUE;
}

template <class T, class DC = CDC>
BOOL FwCtlColorReflectThunk(CCmdTarget* t, FW_MSGCALL& c)
{
    UINT nCtlColor = c.nMsg - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX;
    HBRUSH hbr = static_cast<T*>(t)->CtlColor(DC::FromHandle((HDC)c.wParam), nCtlColor);
    if (!hbr) return FALSE;
    *c.pResult = (LRESULT)hbr;
    return TRUE;
}
// clang-format on
