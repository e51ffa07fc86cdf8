#include "tolmira_test.h"
#include <gtest/gtest.h>
#include "pixeldib.h"
#include <initializer_list>

CTolmiraApp g_app;

void UseTolmiraProfile() { g_app.SetRegistryKey("Talvery\\Pirt"); }

void DeleteProfileSection(const char* section)
{
    CString path = CString("Software\\Talvery\\Pirt\\Tolmira\\") + section;
    ::RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

void WritePlugin(const CString& path, std::initializer_list<const char*> lines)
{
    CString text;
    for (const char* line : lines)
        text += CString(line) + "\r\n";
    CString folder = path.Left(path.ReverseFind('\\'));
    CreateFullPath(folder);
    pirt_test::WriteFileText(path, text);
}

void ExpectTextsUnderTheirHeaders(CListViewEx& view)
{
    CListCtrl& list = view.GetListCtrl();
    ASSERT_GT(list.GetItemCount(), 0);
    int lastRight = 0;
    for (int c = 0; c < view.Header().GetItemCount(); ++c) {
        if (!view.Header().IsColumnVisible(c))
            continue;
        SCOPED_TRACE(c);
        RECT head, cell;
        ASSERT_TRUE(view.Header().SendMessage(HDM_GETITEMRECT, c, (LPARAM)&head));
        cell.top = c;
        cell.left = LVIR_LABEL;
        ASSERT_TRUE(list.SendMessage(LVM_GETSUBITEMRECT, 0, (LPARAM)&cell));
        EXPECT_GE(cell.left, head.left);
        EXPECT_LE(cell.right, head.right);
        lastRight = head.right > lastRight ? head.right : lastRight;
    }
    // What the list paints: no text of the row right of the last shown
    // header (a dot of the cell's edge may lie just beyond it).
    RECT client, row;
    list.GetClientRect(&client);
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    pirt_test::Dib dib(client.right, client.bottom);
    ::PatBlt(dib.dc.m_hDC, 0, 0, client.right, client.bottom, WHITENESS);
    list.SendMessage(WM_PRINTCLIENT, (WPARAM)dib.dc.m_hDC, PRF_CLIENT | PRF_ERASEBKGND);
    int stray = 0;
    for (int y = row.top; y < row.bottom && y < client.bottom; ++y)
        for (int x = lastRight + 8; x < client.right; ++x) {
            COLORREF p = dib.Pixel(x, y);
            if (GetRValue(p) < 128 && GetGValue(p) < 128 && GetBValue(p) < 128)
                ++stray;
        }
    EXPECT_EQ(0, stray) << "dark pixels right of x=" << lastRight;
}
