// The entry rows of a plug-in file as the preview and the properties dialog
// list them: path, kind, action and detail, each path as the run uses it.
#pragma once
#include "fw/framework.h"
#include "pluginvalidator.h"
#include <vector>

struct CEntryRow
{
    CString path;   // placeholders replaced where the run replaces them
    CString kind;   // "File", "Folder", "Key", "KeyList", "Value", "ValueList"
    CString action; // the builder's action column
    CString detail; // the argument, "*.*" for whole folders; marked when refused
    int refused;    // the run will not carry the entry out
};

// Every entry with a known action word, in file order (Files, Folders,
// Registry). An entry the run refuses is listed too, whole, with its detail
// marked by [Farnoch] 24190.
std::vector<CEntryRow> PluginEntryRows(const char* pluginFile, const CPlaceholderFolders& folders);

// The four columns with their widths in pixels.
void InsertEntryColumns(CListCtrl& list, const int widths[4]);

// Appends the rows of one plug-in file at the end of the list, widening the
// columns that are too narrow for them.
void AppendEntryRows(CListCtrl& list, const char* pluginFile);
