#include "smallicons.h"

int CreateSmallIconList(CImageList& list, const UINT* ids, size_t count)
{
    if (!list.Create(16, 16, ILC_COLOR32 | ILC_MASK, (int)count, 1))
        return 0;
    int all = 1;
    for (size_t i = 0; i < count; ++i) {
        HICON icon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(ids[i]), IMAGE_ICON, 16, 16, 0);
        if (!icon || list.Add(icon) < 0)
            all = 0;
        if (icon)
            ::DestroyIcon(icon);
    }
    return all;
}
