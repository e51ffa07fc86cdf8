// CheckMessageBox: the system message box rebuilt as an in-memory dialog
// template with an extra check box.
#include "checkmessagebox.h"
#include "language.h"
#include "services.h"

#include <vector>
#include <string>

namespace {

// One button or check box of the box: its id and its label.
struct MsgButton
{
    int id;
    std::string label;
};

std::string LngText(const char* key)
{
    CString s = GetLngString(CString("General"), CString(key));
    return std::string((LPCSTR)s);
}

// The buttons of the type's button bits, in the order the system shows them.
std::vector<MsgButton> ButtonsOf(UINT type)
{
    std::vector<MsgButton> b;
    const MsgButton ok = {IDOK, "OK"};
    const MsgButton cancel = {IDCANCEL, "Cancel"};
    const MsgButton abort = {IDABORT, "&Abort"};
    const MsgButton retry = {IDRETRY, "&Retry"};
    const MsgButton ignore = {IDIGNORE, "&Ignore"};
    const MsgButton yes = {IDYES, LngText("30020")};
    const MsgButton no = {IDNO, LngText("30030")};
    const MsgButton tryAgain = {IDTRYAGAIN, "&Try Again"};
    const MsgButton cont = {IDCONTINUE, "&Continue"};
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: b = {ok, cancel}; break;
    case MB_ABORTRETRYIGNORE: b = {abort, retry, ignore}; break;
    case MB_YESNOCANCEL: b = {yes, no, cancel}; break;
    case MB_YESNO: b = {yes, no}; break;
    case MB_RETRYCANCEL: b = {retry, cancel}; break;
    case MB_CANCELTRYCONTINUE: b = {cancel, tryAgain, cont}; break;
    default: b = {ok}; break;
    }
    if (type & MB_HELP) {
        MsgButton help = {IDC_HELP_MSG, "&Help"};
        b.push_back(help);
    }
    return b;
}

LPCSTR IconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

// The in-memory dialog template: items are laid out in pixels, measured with
// the font the dialog will use, and converted to dialog units with that
// font's base units (not the system font's, which are larger and would shrink
// every control). The dialog places them at their exact pixel rectangles
// again when it starts, so no rounding cuts a text.
class CMsgDialogTemplate
{
public:
    CMsgDialogTemplate(LPCSTR text, LPCSTR caption, UINT type);
    ~CMsgDialogTemplate();

    // The finished template in global memory, or NULL when it cannot be
    // allocated.
    LPCDLGTEMPLATE Build();

    UINT m_type;
    HICON m_hIcon;
    bool m_hasCancel;
    bool m_okOnly;

    // Moves every control and the dialog itself to their pixel sizes.
    void PlaceControls(HWND hDlg) const;

private:
    struct Item
    {
        DWORD style;
        RECT rc; // pixels
        WORD id;
        WORD atom; // 0x0080 button, 0x0082 static
        std::wstring text;
    };

    void AddItem(DWORD style, const RECT& rc, WORD id, WORD atom, const std::string& text);
    short DluX(int px) const { return (short)(px * 4 / m_baseX); }
    short DluY(int py) const { return (short)(py * 8 / m_baseY); }

    std::vector<Item> m_items;
    std::wstring m_caption;
    std::wstring m_face;
    WORD m_pointSize;
    DWORD m_style;
    SIZE m_size; // client size, pixels
    int m_baseX, m_baseY;
    HFONT m_hFont;
    HGLOBAL m_hMem;
};

CMsgDialogTemplate::CMsgDialogTemplate(LPCSTR text, LPCSTR caption, UINT type)
    : m_type(type), m_hIcon(nullptr), m_hasCancel(false), m_okOnly(false), m_pointSize(8), m_baseX(0), m_baseY(0),
      m_hFont(nullptr), m_hMem(nullptr)
{
    m_caption = WidenAnsi((caption && *caption) ? caption : "Error");

    NONCLIENTMETRICSA ncm;
    ZeroMemory(&ncm, sizeof(ncm));
    ncm.cbSize = sizeof(ncm);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        ZeroMemory(&ncm.lfMessageFont, sizeof(ncm.lfMessageFont));
        ncm.lfMessageFont.lfHeight = -11;
        lstrcpyA(ncm.lfMessageFont.lfFaceName, "MS Shell Dlg");
    }
    m_face = WidenAnsi(ncm.lfMessageFont.lfFaceName);
    HDC hdc = GetDC(nullptr);
    int lpy = GetDeviceCaps(hdc, LOGPIXELSY);
    LONG h = ncm.lfMessageFont.lfHeight < 0 ? -ncm.lfMessageFont.lfHeight : ncm.lfMessageFont.lfHeight;
    if (h > 0 && lpy > 0)
        m_pointSize = (WORD)MulDiv(h, 72, lpy);
    // Measured with the font exactly as the dialog makes it from the template:
    // the point size, rounded, back to pixels.
    LOGFONTA dialogFont = ncm.lfMessageFont;
    if (lpy > 0)
        dialogFont.lfHeight = -MulDiv(m_pointSize, lpy, 72);
    m_hFont = CreateFontIndirectA(&dialogFont);
    HGDIOBJ oldFont = SelectObject(hdc, m_hFont ? (HGDIOBJ)m_hFont : GetStockObject(DEFAULT_GUI_FONT));

    // The font's base units, as the system computes them for a DS_SETFONT
    // dialog: average width of the Latin letters, and the character height.
    TEXTMETRICA tm;
    SIZE letters = {0, 0};
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    if (GetTextMetricsA(hdc, &tm) && GetTextExtentPoint32A(hdc, kLetters, 52, &letters)) {
        m_baseX = (letters.cx / 26 + 1) / 2;
        m_baseY = tm.tmHeight;
    }
    if (m_baseX <= 0 || m_baseY <= 0) {
        LONG base = GetDialogBaseUnits();
        m_baseX = LOWORD(base) ? LOWORD(base) : 8;
        m_baseY = HIWORD(base) ? HIWORD(base) : 16;
    }

    m_style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_SETFOREGROUND | DS_CENTER;
    if (type & MB_SYSTEMMODAL)
        m_style |= DS_SYSMODAL;

    // Icon and message text.
    LPCSTR iconId = IconOf(type);
    int cxIcon = 0, cyIcon = 0;
    if (iconId) {
        m_hIcon = LoadIconA(nullptr, iconId);
        cxIcon = GetSystemMetrics(SM_CXICON) + 4;
        cyIcon = GetSystemMetrics(SM_CYICON) + 4;
    }
    int screenHalf = GetSystemMetrics(SM_CXSCREEN) / 2;
    int textWidth = iconId ? screenHalf - cxIcon + 84 : screenHalf + 100;
    RECT rcText = {0, 0, textWidth, 0};
    std::string msg = text ? text : "";
    // A word longer than the line is broken, as the text control will break
    // it (SS_EDITCONTROL), so a long path never widens the box off the screen.
    DrawTextA(hdc, msg.c_str(), -1, &rcText, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
    int textX = iconId ? 8 + cxIcon + 8 : 16;
    RECT rcMsg = {textX, 16, textX + (rcText.right - rcText.left) + 4, 16 + (rcText.bottom - rcText.top)};
    if (iconId) {
        RECT rcIcon = {8, 8, 8 + cxIcon, 8 + cyIcon};
        AddItem(WS_CHILD | WS_VISIBLE | SS_ICON, rcIcon, IDC_ICON_MSG, 0x0082, "");
    }
    AddItem(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, rcMsg, IDC_TEXT_MSG, 0x0082, msg);

    // The row of buttons, centred below the text (and the icon).
    std::vector<MsgButton> buttons = ButtonsOf(type);
    const int bw = 90, bh = 26, gap = 6;
    int rowWidth = (int)buttons.size() * bw + ((int)buttons.size() - 1) * gap;
    int top = rcMsg.bottom;
    if (iconId && 8 + cyIcon > top)
        top = 8 + cyIcon;
    int buttonsY = top + 10;

    // The check box, on one line below the buttons.
    std::string check;
    UINT checkBit = 0;
    if (type & MB_DONT_ASK_AGAIN) {
        check = LngText("40630");
        checkBit = MB_DONT_ASK_AGAIN;
    } else if (type & MB_DONT_TELL_AGAIN) {
        check = "Don't tell me again";
        checkBit = MB_DONT_TELL_AGAIN;
    } else if (type & MB_DONT_SHOW_AGAIN) {
        check = "Don't show again";
        checkBit = MB_DONT_SHOW_AGAIN;
    }
    SIZE checkSize = {0, 0};
    if (checkBit) {
        GetTextExtentPoint32A(hdc, check.c_str(), (int)check.size(), &checkSize);
        checkSize.cx += GetSystemMetrics(SM_CXMENUCHECK) + 12;
        checkSize.cy = checkSize.cy < 16 ? 16 : checkSize.cy + 2;
    }

    int width = rcMsg.right + 16;
    if (rowWidth + 32 > width)
        width = rowWidth + 32;
    if (checkBit && checkSize.cx + 32 > width)
        width = checkSize.cx + 32;

    int x = (width - rowWidth) / 2;
    int defIndex = (int)((type & MB_DEFMASK) >> 8);
    if (defIndex >= (int)buttons.size())
        defIndex = 0;
    for (size_t i = 0; i < buttons.size(); ++i) {
        RECT rc = {x, buttonsY, x + bw, buttonsY + bh};
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ((int)i == defIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        if (i == 0)
            style |= WS_GROUP;
        AddItem(style, rc, (WORD)buttons[i].id, 0x0080, buttons[i].label);
        if (buttons[i].id == IDCANCEL)
            m_hasCancel = true;
        x += bw + gap;
    }
    m_okOnly = buttons.size() == 1 && buttons[0].id == IDOK;
    int bottom = buttonsY + bh;
    if (checkBit) {
        RECT rc = {16, bottom + 10, 16 + checkSize.cx, bottom + 10 + checkSize.cy};
        AddItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, rc, IDC_CHECKBOX_MSG, 0x0080, check);
        bottom = rc.bottom;
    }
    m_size.cx = width;
    m_size.cy = bottom + 12;

    SelectObject(hdc, oldFont);
    ReleaseDC(nullptr, hdc);
}

CMsgDialogTemplate::~CMsgDialogTemplate()
{
    // System icons from LoadIcon are shared and must not be destroyed.
    if (m_hFont)
        DeleteObject(m_hFont);
    if (m_hMem)
        GlobalFree(m_hMem);
}

void CMsgDialogTemplate::PlaceControls(HWND hDlg) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item& it = m_items[i];
        HWND control = GetDlgItem(hDlg, it.id);
        if (control)
            SetWindowPos(control, nullptr, it.rc.left, it.rc.top, it.rc.right - it.rc.left, it.rc.bottom - it.rc.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        if (control && m_hFont)
            SendMessageA(control, WM_SETFONT, (WPARAM)m_hFont, FALSE);
    }
    RECT frame = {0, 0, m_size.cx, m_size.cy};
    AdjustWindowRectEx(&frame, (DWORD)GetWindowLongPtrA(hDlg, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongPtrA(hDlg, GWL_EXSTYLE));
    const int cx = frame.right - frame.left, cy = frame.bottom - frame.top;
    // Centred on the work area of the monitor the box is on, as before.
    MONITORINFO mi;
    mi.cbSize = sizeof(mi);
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoA(MonitorFromWindow(hDlg, MONITOR_DEFAULTTOPRIMARY), &mi))
        area = mi.rcWork;
    int x = area.left + ((area.right - area.left) - cx) / 2;
    int y = area.top + ((area.bottom - area.top) - cy) / 2;
    if (x < area.left)
        x = area.left;
    if (y < area.top)
        y = area.top;
    SetWindowPos(hDlg, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMsgDialogTemplate::AddItem(DWORD style, const RECT& rc, WORD id, WORD atom, const std::string& text)
{
    Item it;
    it.style = style;
    it.rc = rc;
    it.id = id;
    it.atom = atom;
    it.text = WidenAnsi(text.c_str());
    m_items.push_back(it);
}

namespace {
void PutWord(std::vector<BYTE>& v, WORD w)
{
    v.push_back(LOBYTE(w));
    v.push_back(HIBYTE(w));
}
void PutDword(std::vector<BYTE>& v, DWORD d)
{
    PutWord(v, LOWORD(d));
    PutWord(v, HIWORD(d));
}
void PutString(std::vector<BYTE>& v, const std::wstring& s)
{
    for (size_t i = 0; i < s.size(); ++i)
        PutWord(v, (WORD)s[i]);
    PutWord(v, 0);
}
void AlignDword(std::vector<BYTE>& v)
{
    while (v.size() % 4)
        v.push_back(0);
}
} // namespace

LPCDLGTEMPLATE CMsgDialogTemplate::Build()
{
    std::vector<BYTE> v;
    PutDword(v, m_style);
    PutDword(v, 0);
    PutWord(v, (WORD)m_items.size());
    PutWord(v, 0);
    PutWord(v, 0);
    PutWord(v, (WORD)DluX(m_size.cx));
    PutWord(v, (WORD)DluY(m_size.cy));
    PutWord(v, 0); // no menu
    PutWord(v, 0); // standard dialog class
    PutString(v, m_caption);
    PutWord(v, m_pointSize);
    PutString(v, m_face);
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item& it = m_items[i];
        AlignDword(v);
        PutDword(v, it.style);
        PutDword(v, 0);
        PutWord(v, (WORD)DluX(it.rc.left));
        PutWord(v, (WORD)DluY(it.rc.top));
        PutWord(v, (WORD)DluX(it.rc.right - it.rc.left));
        PutWord(v, (WORD)DluY(it.rc.bottom - it.rc.top));
        PutWord(v, it.id);
        PutWord(v, 0xFFFF);
        PutWord(v, it.atom);
        PutString(v, it.text);
        PutWord(v, 0); // no creation data
    }
    m_hMem = GlobalAlloc(GMEM_FIXED, v.size());
    if (!m_hMem)
        return nullptr;
    CopyMemory((void*)m_hMem, &v[0], v.size());
    return (LPCDLGTEMPLATE)m_hMem;
}

INT_PTR CALLBACK MsgDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        CMsgDialogTemplate* t = (CMsgDialogTemplate*)lParam;
        SetWindowLongPtrA(hDlg, DWLP_USER, (LONG_PTR)t);
        t->PlaceControls(hDlg);
        if (t->m_hIcon)
            SendDlgItemMessageA(hDlg, IDC_ICON_MSG, STM_SETICON, (WPARAM)t->m_hIcon, 0);
        // A box that Escape cannot end cannot be closed from its caption either.
        if (!t->m_hasCancel && !t->m_okOnly) {
            HMENU sys = GetSystemMenu(hDlg, FALSE);
            if (sys)
                EnableMenuItem(sys, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        }
        SetForegroundWindow(hDlg);
        int defIndex = (int)((t->m_type & MB_DEFMASK) >> 8);
        HWND first = nullptr;
        int index = 0;
        for (HWND c = GetWindow(hDlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char cls[16] = "";
            GetClassNameA(c, cls, sizeof(cls));
            int id = GetDlgCtrlID(c);
            if (lstrcmpiA(cls, "Button") != 0 || id == IDC_CHECKBOX_MSG)
                continue;
            if (index == 0)
                first = c;
            if (index == defIndex) {
                first = c;
                break;
            }
            ++index;
        }
        if (first) {
            SetFocus(first);
            return FALSE;
        }
        return TRUE;
    }
    case WM_COMMAND: {
        CMsgDialogTemplate* t = (CMsgDialogTemplate*)GetWindowLongPtrA(hDlg, DWLP_USER);
        int id = LOWORD(wParam);
        if (!t || id == IDC_CHECKBOX_MSG || HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        if (id == IDCANCEL && !GetDlgItem(hDlg, IDCANCEL)) {
            // Escape or the close command: only a box with Cancel or with a
            // lone OK may be dismissed this way.
            if (t->m_okOnly)
                id = IDOK;
            else
                return TRUE;
        }
        if (id == IDC_HELP_MSG) {
            // No help provider in this suite: the box stays open.
            return TRUE;
        }
        int result = id;
        if (IsDlgButtonChecked(hDlg, IDC_CHECKBOX_MSG) == BST_CHECKED)
            result |= (int)(t->m_type & MB_CHECKBOX_BITS);
        EndDialog(hDlg, result);
        return TRUE;
    }
    }
    return FALSE;
}

} // namespace

int CheckMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type, XMSGBOXPARAMS* /*params*/)
{
    if (!owner) {
        HWND active = GetActiveWindow();
        owner = active ? GetLastActivePopup(active) : nullptr;
    }
    if ((type & MB_ICONHAND) && (type & MB_SYSTEMMODAL))
        return MessageBoxA(owner, text, (caption && *caption) ? caption : "Error",
                           type & ~(MB_CHECKBOX_BITS | MB_NO_SOUND));

    CMsgDialogTemplate tmpl(text, caption, type);
    LPCDLGTEMPLATE dlg = tmpl.Build();
    if (!dlg)
        return IDCANCEL;
    if (!(type & MB_NO_SOUND))
        MessageBeep(type & MB_ICONMASK);
    return (int)DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dlg, owner, MsgDialogProc, (LPARAM)&tmpl);
}
