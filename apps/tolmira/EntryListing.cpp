#include "EntryListing.h"
#include "Settings.h"
#include "listcolumns.h"

std::vector<CEntryRow> PluginEntryRows(const char* pluginFile, const CPlaceholderFolders& folders)
{
    std::vector<CEntryRow> rows;
    const CString refusedMark = GetLngString("Farnoch", "24190");
    for (const CPluginEntry& entry : ReadPluginEntries(pluginFile)) {
        CPluginRow shown = PluginEntryRow(entry);
        CEntryRow row;
        row.path = entry.path;
        // Registry paths run unchanged: only file and folder paths are
        // shown with their placeholders replaced.
        if (entry.action->placeholders)
            ExpandPlaceholders(entry.path, folders, row.path);
        row.kind = shown.kind;
        row.action = shown.action;
        row.detail = shown.detail;
        row.refused = ValidatePluginEntry(entry, folders, nullptr) != PLUGIN_ENTRY_OK;
        if (row.refused)
            row.detail = refusedMark + " " + row.detail;
        rows.push_back(row);
    }
    return rows;
}

void InsertEntryColumns(CListCtrl& list, const int widths[4])
{
    static const char* const kTitleKeys[] = {"41000", "41010", "40500", "41030"};
    for (int i = 0; i < 4; ++i)
        list.InsertColumn(i, TextOrNotFound("General", kTitleKeys[i]), LVCFMT_LEFT, widths[i]);
}

void AppendEntryRows(CListCtrl& list, const char* pluginFile)
{
    for (const CEntryRow& entry : PluginEntryRows(pluginFile, GetPlaceholderFolders())) {
        int row = list.InsertItem(list.GetItemCount(), entry.path);
        if (row < 0)
            continue;
        list.SetItemText(row, 1, entry.kind);
        list.SetItemText(row, 2, entry.action);
        list.SetItemText(row, 3, entry.detail);
    }
    // Long paths and the wider action words are shown whole.
    WidenColumnsToContent(list);
}
