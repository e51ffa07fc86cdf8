// Helpers of the framework tests.
#pragma once
#include "fw/string.h"

// A fresh, empty scratch folder beside the test program (inside the build
// folder), named after the test group.
CString FwTestScratch(const char* name);
// Processes every message waiting for this thread.
void FwTestPump();
