// Process-wide framework state: the resource module.
#include "fw/fwdefs.h"

namespace {
HINSTANCE g_hResource = nullptr;
}

HINSTANCE FwGetResourceHandleInternal()
{
    return g_hResource ? g_hResource : ::GetModuleHandleA(nullptr);
}

void FwSetResourceHandleInternal(HINSTANCE h) { g_hResource = h; }
