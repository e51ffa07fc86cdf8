// The programs' 16x16 icons put into image lists (menus, report rows).
#pragma once
#include "fw/framework.h"

// Creates the list (32-bit colour with mask, growing by one) and adds the
// icons of the resource module in the given order; an icon that cannot be
// loaded is left out. 1 when every icon was added.
int CreateSmallIconList(CImageList& list, const UINT* ids, size_t count);

template <size_t N>
int CreateSmallIconList(CImageList& list, const UINT (&ids)[N])
{
    return CreateSmallIconList(list, ids, N);
}
