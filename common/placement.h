// Window placement stored by a program and restored at its next start.
#pragma once
#include "fw/framework.h"

// Makes stored placement values safe to show: a minimised or hidden window
// opens normal, an empty rectangle gets a usable size, and a rectangle on no
// monitor is moved (and shrunk if needed) onto the nearest work area.
void MakePlacementVisible(WINDOWPLACEMENT& wp);

// Restores a window's placement from [section] Flags, ShowCmd, Left, Top,
// Right, Bottom of the config file of an index, made visible first. Nothing
// happens when any of the four edges is absent (or -1). 1 when restored.
int RestoreWindowPlacement(HWND window, int iniIndex, const char* section);

// Writes the window's placement there ("%d" each, the normal position).
void SaveWindowPlacement(HWND window, int iniIndex, const char* section);
