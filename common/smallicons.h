// The programs' 16x16 icons, one at a time or put into image lists (menus,
// report rows).
#pragma once
#include "fw/framework.h"

// One 16x16 icon of the resource module, destroyed with the object; null
// when it cannot be loaded.
class CSmallIcon
{
public:
    explicit CSmallIcon(UINT id);
    ~CSmallIcon();
    operator HICON() const { return m_hIcon; }
    CSmallIcon(const CSmallIcon&) = delete;
    CSmallIcon& operator=(const CSmallIcon&) = delete;

private:
    HICON m_hIcon;
};

// Creates the list (32-bit colour with mask, growing by one) and adds the
// icons of the resource module in the given order; an icon that cannot be
// loaded is left out. 1 when every icon was added.
int CreateSmallIconList(CImageList& list, const UINT* ids, size_t count);

template <size_t N>
int CreateSmallIconList(CImageList& list, const UINT (&ids)[N])
{
    return CreateSmallIconList(list, ids, N);
}
