#include "listcolumns.h"

void WidenColumnsToContent(CListCtrl& list)
{
    HWND header = (HWND)::SendMessageA(list.m_hWnd, LVM_GETHEADER, 0, 0);
    const int columns = header ? (int)::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    for (int c = 0; c < columns; ++c) {
        const int laidOut = list.GetColumnWidth(c);
        // Sized by title and cells; the last column would fill the list
        // instead, so it is sized by its cells alone.
        list.SetColumnWidth(c, c + 1 < columns ? LVSCW_AUTOSIZE_USEHEADER : LVSCW_AUTOSIZE);
        if (list.GetColumnWidth(c) < laidOut)
            list.SetColumnWidth(c, laidOut);
    }
}
