// Umbrella header of the framework: includes every framework header.
#pragma once
#include "fw/fwdefs.h"
#include "fw/string.h"
#include "fw/types.h"
#include "fw/file.h"
#include "fw/msgmap.h"
#include "fw/wnd.h"
#include "fw/cmdui.h"
#include "fw/menu.h"
#include "fw/gdi.h"
#include "fw/imagelist.h"
#include "fw/commctrls.h"
#include "fw/filedialog.h"
