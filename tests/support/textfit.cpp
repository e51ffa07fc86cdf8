// Text-fit checks for the tests: each control kind measured the way it draws.
#include "textfit.h"
#include "testsupport.h"
#include <commctrl.h>
#include <cstdio>

namespace pirt_test {

const char* const kShippedLanguages[2] = {"English", "German"};

void ChooseLanguage(const char* pirtIni, const char* language)
{
    CString file;
    file.Format("%s\\languages\\%s.lng", (const char*)ProgramFolder(), language);
    ::WritePrivateProfileStringA("Pirt", "LngPath", file, pirtIni);
    ::WritePrivateProfileStringA("Pirt", "Language", language, pirtIni);
}

namespace {

std::string TextOf(HWND w)
{
    char buf[1024] = "";
    ::GetWindowTextA(w, buf, sizeof(buf));
    return buf;
}

std::string ClassOf(HWND w)
{
    char cls[64] = "";
    ::GetClassNameA(w, cls, sizeof(cls));
    return cls;
}

// A control's font as it draws with it: the system font when it has none.
HFONT FontOf(HWND w)
{
    HFONT font = (HFONT)::SendMessageA(w, WM_GETFONT, 0, 0);
    return font ? font : (HFONT)::GetStockObject(SYSTEM_FONT);
}

// The extent of text drawn with flags into a rectangle room pixels wide, and
// the font's line height.
struct Extent
{
    int cx, cy, line;
};

Extent Measure(HWND w, HFONT font, const std::string& text, UINT flags, int room)
{
    HDC dc = ::GetDC(w);
    HGDIOBJ old = ::SelectObject(dc, font);
    RECT need = {0, 0, room, 0};
    if (!text.empty())
        ::DrawTextA(dc, text.c_str(), -1, &need, flags | DT_CALCRECT);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(w, dc);
    return {need.right - need.left, need.bottom - need.top, (int)tm.tmHeight};
}

class CFitCheck
{
public:
    std::vector<std::string> cut;

    void Control(HWND w)
    {
        const std::string cls = ClassOf(w);
        if (lstrcmpiA(cls.c_str(), "Static") == 0)
            Static(w);
        else if (lstrcmpiA(cls.c_str(), "Button") == 0)
            Button(w);
        else if (lstrcmpiA(cls.c_str(), "Edit") == 0)
            Edit(w);
        else if (lstrcmpiA(cls.c_str(), "ComboBox") == 0)
            Combo(w);
        else if (lstrcmpiA(cls.c_str(), WC_LISTVIEWA) == 0)
            ListView(w);
        else if (lstrcmpiA(cls.c_str(), "ListBox") == 0)
            ListBox(w);
        Edge(w);
    }

private:
    void Report(HWND w, const char* what, const std::string& text, int needX, int needY, int roomX, int roomY)
    {
        char line[160];
        snprintf(line, sizeof(line), "%s %d \"%.60s\" needs %dx%d, has %dx%d", what, ::GetDlgCtrlID(w), text.c_str(),
                 needX, needY, roomX, roomY);
        cut.push_back(line);
    }
    // Cut when the text's extent exceeds the room.
    void Check(HWND w, const char* what, const std::string& text, const Extent& need, int roomX, int roomY)
    {
        if (need.cx > roomX || need.cy > roomY)
            Report(w, what, text, need.cx, need.cy, roomX, roomY);
    }

    void Static(HWND w)
    {
        const LONG style = ::GetWindowLongA(w, GWL_STYLE);
        const LONG type = style & SS_TYPEMASK;
        UINT flags = DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_OWNERDRAW)
            flags |= DT_WORDBREAK | ((style & SS_EDITCONTROL) ? DT_EDITCONTROL : 0); // owner-drawn labels wrap too
        else if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP)
            flags |= DT_SINGLELINE;
        else
            return; // icons, pictures and frames
        const std::string text = TextOf(w);
        if (text.empty())
            return;
        RECT client;
        ::GetClientRect(w, &client);
        Check(w, "static", text, Measure(w, FontOf(w), text, flags, client.right), client.right, client.bottom);
    }

    void Button(HWND w)
    {
        const LONG style = ::GetWindowLongA(w, GWL_STYLE);
        const LONG type = style & BS_TYPEMASK;
        if ((style & (BS_ICON | BS_BITMAP)) || type == BS_OWNERDRAW || type == BS_USERBUTTON)
            return;
        const std::string text = TextOf(w);
        if (text.empty())
            return;
        RECT client;
        ::GetClientRect(w, &client);
        const bool checkLike =
            !(style & BS_PUSHLIKE) && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                                       type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON);
        int roomX = client.right, roomY = client.bottom;
        if (checkLike)
            roomX -= ::GetSystemMetrics(SM_CXMENUCHECK) + 4; // the box and its gap
        else if (type == BS_GROUPBOX)
            roomX -= 14; // the frame's corner on either side of the title
        else {
            roomX -= 4 * ::GetSystemMetrics(SM_CXEDGE); // the raised border and the focus frame
            roomY -= 4;
        }
        const UINT flags = DT_EXPANDTABS | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
        Extent need = Measure(w, FontOf(w), text, flags, roomX);
        if (type == BS_GROUPBOX)
            need.cy = 0; // the title sits on the frame's line
        Check(w, checkLike ? "check" : type == BS_GROUPBOX ? "group" : "button", text, need, roomX, roomY);
    }

    // An edit's formatting rectangle holds a whole line, and the text when it
    // is to be seen at once (one line, or all lines without a scroll bar).
    void Edit(HWND w)
    {
        const LONG style = ::GetWindowLongA(w, GWL_STYLE);
        RECT format;
        ::SendMessageA(w, EM_GETRECT, 0, (LPARAM)&format);
        const int roomX = format.right - format.left, roomY = format.bottom - format.top;
        const std::string text = TextOf(w);
        UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
        flags |= (style & ES_MULTILINE) ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
        Extent need = Measure(w, FontOf(w), text, flags, roomX);
        if (need.cy < need.line)
            need.cy = need.line;
        if ((style & ES_MULTILINE) && (style & WS_VSCROLL))
            need.cy = need.line;
        Check(w, "edit", text, need, roomX, roomY);
    }

    void Combo(HWND w)
    {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        if (!::GetComboBoxInfo(w, &info))
            return;
        const RECT& item = info.rcItem;
        const int count = (int)::SendMessageA(w, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            char text[512] = "";
            if ((int)::SendMessageA(w, CB_GETLBTEXTLEN, i, 0) >= (int)sizeof(text))
                continue;
            ::SendMessageA(w, CB_GETLBTEXT, i, (LPARAM)text);
            Extent need = Measure(w, FontOf(w), text, DT_SINGLELINE | DT_NOPREFIX, 0);
            need.cy = need.line;
            Check(w, "combo item", text, need, item.right - item.left, item.bottom - item.top);
        }
    }

    // Every item of a list box within its client width, unless the box
    // scrolls sideways as far as the item reaches.
    void ListBox(HWND w)
    {
        const LONG style = ::GetWindowLongA(w, GWL_STYLE);
        if ((style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) && !(style & LBS_HASSTRINGS))
            return;
        RECT client;
        ::GetClientRect(w, &client);
        const int reach = (style & WS_HSCROLL) ? (int)::SendMessageA(w, LB_GETHORIZONTALEXTENT, 0, 0) : 0;
        const int roomX = (client.right > reach ? client.right : reach) - 2; // the item's margin
        const int count = (int)::SendMessageA(w, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            char text[1024] = "";
            if ((int)::SendMessageA(w, LB_GETTEXTLEN, i, 0) >= (int)sizeof(text))
                continue;
            ::SendMessageA(w, LB_GETTEXT, i, (LPARAM)text);
            Extent need = Measure(w, FontOf(w), text, DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS, 0);
            need.cy = 0;
            Check(w, "list box item", text, need, roomX, 0);
        }
    }

    // A control reaching past its parent's client area is cut by the edge,
    // whatever it shows. The parts of the controls measured above (a combo
    // box's edit, a list's header) are theirs to place.
    void Edge(HWND w)
    {
        HWND parent = ::GetParent(w);
        const std::string parentClass = ClassOf(parent);
        for (const char* own : {"ComboBox", WC_LISTVIEWA, "Edit", "ListBox", "SysTreeView32"})
            if (lstrcmpiA(parentClass.c_str(), own) == 0)
                return;
        RECT client, rect;
        ::GetClientRect(parent, &client);
        ::GetWindowRect(w, &rect);
        ::MapWindowPoints(HWND_DESKTOP, parent, (POINT*)&rect, 2);
        if (rect.left < 0 || rect.top < 0 || rect.right > client.right || rect.bottom > client.bottom) {
            char line[200];
            snprintf(line, sizeof(line), "%s %d \"%.60s\" at %d,%d-%d,%d is cut by its parent's edge at %dx%d",
                     ClassOf(w).c_str(), ::GetDlgCtrlID(w), TextOf(w).c_str(), (int)rect.left, (int)rect.top,
                     (int)rect.right, (int)rect.bottom, (int)client.right, (int)client.bottom);
            cut.push_back(line);
        }
    }

    // Each column holds its header text and, as the list itself sizes a
    // column to its content, every cell.
    void ListView(HWND w)
    {
        const LONG style = ::GetWindowLongA(w, GWL_STYLE);
        if ((style & LVS_TYPEMASK) != LVS_REPORT)
            return;
        HWND header = (HWND)::SendMessageA(w, LVM_GETHEADER, 0, 0);
        const int columns = header ? (int)::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
        const int rows = (int)::SendMessageA(w, LVM_GETITEMCOUNT, 0, 0);
        const int headerMargins = 6 * ::GetSystemMetrics(SM_CXEDGE);
        for (int c = 0; c < columns; ++c) {
            const int width = (int)::SendMessageA(w, LVM_GETCOLUMNWIDTH, c, 0);
            if (width == 0)
                continue; // a hidden column
            char title[256] = "";
            HDITEMA hd = {};
            hd.mask = HDI_TEXT;
            hd.pszText = title;
            hd.cchTextMax = sizeof(title);
            ::SendMessageA(header, HDM_GETITEMA, c, (LPARAM)&hd);
            if (!(style & LVS_NOCOLUMNHEADER) && title[0]) {
                Extent need = Measure(header, FontOf(header), title, DT_SINGLELINE, 0);
                need.cx += headerMargins;
                need.cy = 0;
                Check(w, "column title", title, need, width, 0);
            }
            if (rows == 0)
                continue;
            ::SendMessageA(w, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE);
            const int fit = (int)::SendMessageA(w, LVM_GETCOLUMNWIDTH, c, 0);
            ::SendMessageA(w, LVM_SETCOLUMNWIDTH, c, width);
            if (fit <= width)
                continue;
            // Name the widest cell.
            std::string widest;
            int widestCx = -1;
            for (int r = 0; r < rows; ++r) {
                char text[1024] = "";
                LVITEMA item = {};
                item.iSubItem = c;
                item.pszText = text;
                item.cchTextMax = sizeof(text);
                ::SendMessageA(w, LVM_GETITEMTEXTA, r, (LPARAM)&item);
                const int cx = (int)::SendMessageA(w, LVM_GETSTRINGWIDTHA, 0, (LPARAM)text);
                if (cx > widestCx) {
                    widestCx = cx;
                    widest = text;
                }
            }
            char what[32];
            snprintf(what, sizeof(what), "column %d of list", c);
            Report(w, what, widest, fit, 0, width, 0);
        }
    }
};

BOOL CALLBACK FindUnpainted(HWND child, LPARAM param)
{
    if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

// Until window (another thread's) and its shown controls have no part left
// to paint; then one message through its queue, which its thread takes only
// once the paint handler has returned.
void WaitForFirstPaint(HWND window)
{
    for (int i = 0; i < 500; ++i) {
        bool unpainted = ::GetUpdateRect(window, nullptr, FALSE) != FALSE;
        if (!unpainted)
            ::EnumChildWindows(window, FindUnpainted, (LPARAM)&unpainted);
        if (!unpainted)
            break;
        ::Sleep(10);
    }
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

struct CWalk
{
    HWND root;
    CFitCheck check;
};

BOOL CALLBACK CheckChild(HWND child, LPARAM param)
{
    // A control counts when it and every parent up to the root are shown (the
    // root itself may still be hidden).
    CWalk* walk = reinterpret_cast<CWalk*>(param);
    for (HWND w = child; w && w != walk->root; w = ::GetParent(w))
        if (!(::GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE))
            return TRUE;
    walk->check.Control(child);
    return TRUE;
}

} // namespace

std::vector<std::string> CutTexts(HWND window)
{
    CWalk walk;
    walk.root = window;
    ::EnumChildWindows(window, CheckChild, (LPARAM)&walk);
    return walk.check.cut;
}

std::vector<std::vector<std::string>> CutTextsOfSheetPages(const char* caption, const std::function<void()>& open,
                                                           int pages)
{
    std::vector<std::vector<std::string>> cut(pages, std::vector<std::string>(1, "<not shown>"));
    DriveModal(caption, open, [&](HWND sheet) {
        for (int i = 0; i < pages; ++i) {
            HWND page = ShowSheetPage(sheet, i);
            WaitForFirstPaint(page); // some texts are written by a page's first paint
            cut[i] = CutTexts(page);
        }
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    return cut;
}

} // namespace pirt_test
