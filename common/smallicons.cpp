#include "smallicons.h"

CSmallIcon::CSmallIcon(UINT id)
    : m_hIcon((HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0))
{
}

CSmallIcon::~CSmallIcon()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

int CreateSmallIconList(CImageList& list, const UINT* ids, size_t count)
{
    if (!list.Create(16, 16, ILC_COLOR32 | ILC_MASK, (int)count, 1))
        return 0;
    int all = 1;
    for (size_t i = 0; i < count; ++i) {
        CSmallIcon icon(ids[i]);
        if (!icon || list.Add(icon) < 0)
            all = 0;
    }
    return all;
}
