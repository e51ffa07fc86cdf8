// Window placement stored by a program and restored at its next start.
#pragma once
#include "fw/framework.h"

// Makes stored placement values safe to show: a minimised or hidden window
// opens normal, an empty rectangle gets a usable size, and a rectangle on no
// monitor is moved (and shrunk if needed) onto the nearest work area.
void MakePlacementVisible(WINDOWPLACEMENT& wp);

// Restores a window's placement from [section] Flags (or flagKey), ShowCmd,
// Left, Top, Right, Bottom of the config file of an index, made visible
// first and maximised at minus the border width and height. Nothing happens
// when any of the four edges is absent (or -1). 1 when restored.
int RestoreWindowPlacement(HWND window, int iniIndex, const char* section, const char* flagKey = "Flags");
// The same from section [Placement] of the config file at a path.
BOOL RestoreWindowPlacement(HWND window, const CString& ini, const char* flagKey);

// Writes the window's placement there ("%d" each, the normal position).
void SaveWindowPlacement(HWND window, int iniIndex, const char* section, const char* flagKey = "Flags");
void SaveWindowPlacement(HWND window, const CString& ini, const char* flagKey);

// The main frames' window before their placement is restored: a centred
// window of about two thirds of the screen, with the title left to the
// program (not taken from the document).
void SetMainFrameCreation(CREATESTRUCT& cs);
