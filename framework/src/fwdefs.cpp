#include "fw/fwdefs.h"
