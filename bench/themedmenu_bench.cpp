// Times the themed menus against the system's own: opening a 40-item popup
// menu 100 times (each closed by a posted WM_CANCELMODE once it is shown) and
// redrawing the menu bar 100 times, in a harness frame with the themed menu
// and menu bar, then in one with a plain menu in the system's menu bar.
// Prints the mean times and the themed / plain ratios; never fails.
#include "fw/framework.h"
#include "themedframe.h"
#include "menubar.h"
#include <cstdio>
#include <vector>

namespace {

const int POPUP_ITEMS = 40;
const int ROUNDS = 100;
const UINT FIRST_COMMAND = 40000;

// A menu bar of six popups, the first with 40 items.
HMENU BuildMenu()
{
    HMENU bar = ::CreateMenu();
    static const char* const titles[] = {"&File", "&Edit", "&View", "E&xecute", "&Tools", "&Help"};
    for (int p = 0; p < 6; ++p) {
        HMENU popup = ::CreatePopupMenu();
        int count = p == 0 ? POPUP_ITEMS : 4;
        for (int i = 0; i < count; ++i) {
            char text[64];
            sprintf(text, "Command number %d\tCtrl+%c", i + 1, 'A' + i % 26);
            if (i % 10 == 9)
                ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
            else
                ::AppendMenuA(popup, MF_STRING, FIRST_COMMAND + p * 100 + i, text);
        }
        ::AppendMenuA(bar, MF_POPUP, (UINT_PTR)popup, titles[p]);
    }
    return bar;
}

// Closes every popup once the menu loop idles with it on screen.
template <class TBase>
class CHarness : public TBase
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU)
            ::PostMessageA(this->m_hWnd, WM_CANCELMODE, 0, 0);
        return TBase::WindowProc(message, wParam, lParam);
    }
};

class CThemedHarness : public CHarness<CThemedFrameWnd>
{
public:
    CThemedMenuBar m_bar;
};

double Now()
{
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return (double)c.QuadPart / (double)f.QuadPart;
}

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

struct Times
{
    double popup;  // ms per open and close
    double redraw; // ms per menu-bar redraw
};

// The rectangle of what is redrawn, in the client coordinates of the window
// that is told to redraw: the themed bar window, or the system's menu line
// in the plain frame's non-client area.
Times TimeFrame(CFrameWnd* frame, HMENU popup, HWND redrawn, UINT redrawFlags, const RECT* pArea)
{
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    Pump();
    RECT rc;
    ::GetWindowRect(frame->m_hWnd, &rc);
    double start = Now();
    for (int i = 0; i < ROUNDS; ++i)
        ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, rc.left + 40, rc.top + 60, 0, frame->m_hWnd, nullptr);
    double popupMs = (Now() - start) * 1000.0 / ROUNDS;
    Pump();
    start = Now();
    for (int i = 0; i < ROUNDS; ++i)
        ::RedrawWindow(redrawn, pArea, nullptr, redrawFlags);
    double redrawMs = (Now() - start) * 1000.0 / ROUNDS;
    Times t = {popupMs, redrawMs};
    return t;
}

// Where a themed popup's time goes: measuring and drawing its items alone,
// into a memory surface, per popup (ms).
void TimeItems(HMENU hPopup, double& measureMs, double& drawMs)
{
    measureMs = drawMs = 0;
    CThemedMenu* menu = CThemedMenu::FromHandleThemed(hPopup);
    if (!menu)
        return;
    int count = menu->GetRecordCount();
    std::vector<MEASUREITEMSTRUCT> sizes(count);
    double start = Now();
    for (int round = 0; round < ROUNDS; ++round)
        for (int i = 0; i < count; ++i) {
            CThemedMenuItemData* record = menu->GetRecord(i);
            MEASUREITEMSTRUCT& m = sizes[i];
            ZeroMemory(&m, sizeof(m));
            m.CtlType = ODT_MENU;
            m.itemID = (UINT)record->m_nID;
            m.itemData = (ULONG_PTR)record;
            menu->MeasureItem(&m);
        }
    measureMs = (Now() - start) * 1000.0 / ROUNDS;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 400, 1000);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    start = Now();
    for (int round = 0; round < ROUNDS; ++round) {
        int top = 0;
        for (int i = 0; i < count; ++i) {
            CThemedMenuItemData* record = menu->GetRecord(i);
            DRAWITEMSTRUCT d;
            ZeroMemory(&d, sizeof(d));
            d.CtlType = ODT_MENU;
            d.itemID = (UINT)record->m_nID;
            d.itemAction = ODA_DRAWENTIRE;
            d.hwndItem = (HWND)hPopup;
            d.hDC = dc;
            d.rcItem = CRect(0, top, 300, top + (int)sizes[i].itemHeight);
            d.itemData = (ULONG_PTR)record;
            menu->DrawItem(&d);
            top += (int)sizes[i].itemHeight;
        }
    }
    drawMs = (Now() - start) * 1000.0 / ROUNDS;
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

} // namespace

class CBenchApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        CWinApp::InitInstance();
        CThemedMenu::SelectTheme(8);
        CThemedMenu::SetDimmedIcons(0);
        RECT rect = {0, 0, 800, 500};

        // Themed: the themed menu in the themed menu bar.
        CThemedHarness* themed = new CThemedHarness;
        themed->Create(nullptr, "Themed", WS_OVERLAPPEDWINDOW, rect);
        themed->m_defaultMenu.LoadMenu(BuildMenu());
        CThemedMenu::ApplyMenuBarBrush(themed->m_defaultMenu.m_hMenu);
        themed->m_bar.Create(themed, WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_ALIGN_TOP, 59418);
        themed->m_bar.SetMenu(themed->m_defaultMenu.m_hMenu);
        Times t = TimeFrame(themed, ::GetSubMenu(themed->m_defaultMenu.m_hMenu, 0), themed->m_bar.m_hWnd,
                            RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW, nullptr);
        double measureMs, drawMs;
        TimeItems(::GetSubMenu(themed->m_defaultMenu.m_hMenu, 0), measureMs, drawMs);
        themed->DestroyWindow();

        // Plain: the same menu, the system's drawing in the system's menu bar.
        CHarness<CFrameWnd>* plain = new CHarness<CFrameWnd>;
        plain->Create(nullptr, "Plain", WS_OVERLAPPEDWINDOW, rect);
        HMENU menu = BuildMenu();
        ::SetMenu(plain->m_hWnd, menu);
        plain->ShowWindow(SW_SHOW);
        MENUBARINFO info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        ::GetMenuBarInfo(plain->m_hWnd, OBJID_MENU, 0, &info);
        RECT line = info.rcBar;
        ::ScreenToClient(plain->m_hWnd, (POINT*)&line);
        ::ScreenToClient(plain->m_hWnd, (POINT*)&line + 1);
        Times p =
            TimeFrame(plain, ::GetSubMenu(menu, 0), plain->m_hWnd, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW, &line);
        plain->DestroyWindow();
        Pump();

        printf("open and close a %d-item popup (ms): themed %.3f  plain %.3f  ratio %.2f\n", POPUP_ITEMS, t.popup,
               p.popup, p.popup > 0 ? t.popup / p.popup : 0.0);
        printf("redraw the menu bar (ms):            themed %.3f  plain %.3f  ratio %.2f\n", t.redraw, p.redraw,
               p.redraw > 0 ? t.redraw / p.redraw : 0.0);
        printf("of a themed popup, its items alone (ms): measuring %.3f  drawing %.3f\n", measureMs, drawMs);
        fflush(stdout);
        return FALSE;
    }
};

CBenchApp theApp;
