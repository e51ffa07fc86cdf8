// The start-up cleaner and the Run / RunOnce values that start it. The Run
// value is shared by the main cleaner and the recent-work cleaner: each adds
// it when its own switch goes on and removes it only when the other program
// no longer wants it either.
#pragma once
#include "fw/framework.h"

#define STARTUP_VALUE_NAME "Pirt Tarnel"
#define RUN_KEY            "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
#define RUNONCE_KEY        "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"

// The data of the Run and RunOnce values: the executable path is quoted so
// that a program folder with blanks works and cannot be taken for another
// program.
CString StartupCleanerCommand();

// Tarnel.exe is not part of the suite: a Run or RunOnce value is written only
// while it is in the program folder, since a value that starts a missing
// program cleans nothing and fails at every log-on.
BOOL IsStartupCleanerInstalled();

// The check mark of "clean at start-up": [Preferences] DeleteOnStartup of the
// program's config file, switched off when the Run key opens and lacks the
// value.
BOOL IsStartupCleaningOn(int ownIni);

// Flips the switch: the new state is the opposite of the check mark. On
// writes the Run value; off removes it unless [Preferences] DeleteOnStartup
// of the other program's config file still says "yes". Without the start-up
// cleaner the switch stays off ("no" stored, no value written) and a box owned
// by owner, captioned with its title, says why. Returns the new state.
BOOL ToggleStartupCleaning(int ownIni, int otherIni, HWND owner);

// A program's own "start with Windows" Run value ("Pirt Brisvane", "Pirt
// Tolmira"): its data is the running executable's path, quoted, without
// arguments.
CString OwnRunCommand();

// The check mark of such a switch: [Preferences] key of the program's config
// file is "yes", switched off when the Run key opens and lacks the value.
BOOL IsRunSwitchOn(int ownIni, const char* key, const char* valueName);

// Stores the switch when the Run key opens (0 and nothing written when it
// does not): on writes the value and then key = "yes", off deletes the value
// and writes "no". A value that cannot be written stores "no", so the check
// mark never shows a start that Windows will not make.
int StoreStartWithWindows(int ownIni, const char* valueName, BOOL on);
