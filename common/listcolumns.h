// Column widths of report lists.
#pragma once
#include "fw/framework.h"

// Widens every column of a report list that is narrower than its title or
// its widest cell, as the list itself measures them; a column keeps its
// laid-out width when that is enough, so none ever narrows.
void WidenColumnsToContent(CListCtrl& list);
