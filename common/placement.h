// Window placement stored by a program and restored at its next start.
#pragma once
#include "fw/framework.h"

// Makes stored placement values safe to show: a minimised or hidden window
// opens normal, an empty rectangle gets a usable size, and a rectangle on no
// monitor is moved (and shrunk if needed) onto the nearest work area.
void MakePlacementVisible(WINDOWPLACEMENT& wp);

// The main window's placement kept in section [Placement] of a config file:
// Left, Top, Right and Bottom of the normal position, the flags (under
// flagKey) and ShowCmd. Restoring applies it only when all four sides are
// stored (FALSE otherwise), made visible as above, maximised at minus the
// border width and height.
BOOL RestoreWindowPlacement(HWND window, const CString& ini, const char* flagKey);
void SaveWindowPlacement(HWND window, const CString& ini, const char* flagKey);

// The main frames' window before their placement is restored: a centred
// window of about two thirds of the screen, with the title left to the
// program (not taken from the document).
void SetMainFrameCreation(CREATESTRUCT& cs);
