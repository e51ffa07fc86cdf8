// The suite's help file and web page, in the language the user chose: what
// the programs' Help and web-page commands open.
#pragma once
#include "fw/framework.h"

// The command that shows the help file: hh.exe with the quoted path of the
// program folder's help file.
CString SuiteHelpCommand();

// The maker's web page.
CString SuiteWebPage();
