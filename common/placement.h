// Window placement stored by a program and restored at its next start.
#pragma once
#include "fw/framework.h"

// Makes stored placement values safe to show: a minimised or hidden window
// opens normal, an empty rectangle gets a usable size, and a rectangle on no
// monitor is moved (and shrunk if needed) onto the nearest work area.
void MakePlacementVisible(WINDOWPLACEMENT& wp);
