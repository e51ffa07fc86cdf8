#include "EditorRow.h"

namespace {

CEditorResult Message(const char* section, const char* key)
{
    CEditorResult r;
    r.outcome = EDITOR_MESSAGE;
    r.section = section;
    r.key = key;
    return r;
}

// What the profile reader drops around a value: white space and Ctrl+Z.
bool IsBlank(char c) { return c != '\0' && strchr(" \t\r\n\v\f\x1a", c) != nullptr; }

bool HasOuterBlank(const CString& text)
{
    return !text.IsEmpty() && (IsBlank(text[0]) || IsBlank(text[text.GetLength() - 1]));
}

// The profile reader drops a pair of quotes around a whole value.
bool IsQuoted(const CString& text)
{
    int last = text.GetLength() - 1;
    return last > 0 && (text[0] == '"' || text[0] == '\'') && text[last] == text[0];
}

CEditorResult Row(const CString& path, const char* kind, const char* action, const CString& detail)
{
    CEditorResult r;
    r.row.path = path;
    r.row.kind = kind;
    r.row.action = action;
    r.row.detail = detail;
    // A row without a folder or key path names no target.
    if (path.IsEmpty() || detail.IsEmpty())
        return Message("General", "42000");
    // The profile reader drops blanks at both ends of an entry and quotes
    // around it, and registry arguments are trimmed before they run: such a
    // text would run as another, broader one than the list shows.
    if (HasOuterBlank(path) || HasOuterBlank(detail) || IsQuoted(PluginRowEntry(r.row)))
        return Message("Holberin", "22840");
    // The entry must come back as it was written: no ";" in the path, and
    // short enough to be read whole.
    switch (CheckPluginRow(r.row)) {
    case PLUGIN_ROW_SEMICOLON: return Message("Holberin", "22740");
    case PLUGIN_ROW_TOO_LONG: return Message("Holberin", "22750");
    default: return r;
    }
}

// Cuts text at its last "\": what comes before and after it.
void CutLast(const CString& text, CString& before, CString& after)
{
    int slash = text.ReverseFind('\\');
    before = slash < 0 ? CString() : text.Left(slash);
    after = slash < 0 ? text : text.Mid(slash + 1);
}

BOOL EndsInBackslash(const CString& text) { return !text.IsEmpty() && text[text.GetLength() - 1] == '\\'; }

} // namespace

CEditorResult BuildEditorRow(const CEditorState& s, BOOL parentConfirmed)
{
    if (s.path.IsEmpty())
        return Message("General", "42000");
    CString before, after;
    switch (s.kind) {
    case EDITOR_KIND_FILE:
        switch (s.fileAction) {
        case 0:
        case 1:
            CutLast(s.path, before, after);
            return Row(before, "File", s.fileAction == 0 ? "Delete" : "DeleteContent", after);
        case 2:
            if (s.section.IsEmpty() || s.key.IsEmpty())
                return Message("General", "42010");
            // The reader splits section and key at the first "," and drops
            // commas at the key's start.
            if (s.section.Find(',') >= 0 || s.key[0] == ',')
                return Message("Holberin", "22850");
            if (HasOuterBlank(s.section) || HasOuterBlank(s.key))
                return Message("Holberin", "22840");
            return Row(s.path, "File", "EraseMatch", s.section + "," + s.key);
        }
        break;
    case EDITOR_KIND_FOLDER:
        switch (s.folderAction) {
        case 0: return Row(s.path, "Folder", "DeleteAll", "*.*");
        case 1: return Row(s.path, "Folder", "DeleteAllBelow", "*.*");
        case 2:
            if (s.pattern.IsEmpty())
                return Message("General", "42010");
            return Row(s.path, "Folder", "DeleteMatch", s.pattern);
        }
        break;
    case EDITOR_KIND_REGISTRY:
        switch (s.regAction) {
        case 0: {
            // ROOT\A\B\ (as the registry browser gives a key) is the key B
            // below ROOT\A. Without the closing "\" the last part may be a
            // value's name: the key above it is taken only when confirmed.
            CutLast(s.path, before, after);
            if (!after.IsEmpty() && !parentConfirmed) {
                CEditorResult ask;
                ask.outcome = EDITOR_ASK_PARENT;
                ask.section = "Holberin";
                ask.key = "22700";
                return ask;
            }
            CString path, detail;
            CutLast(before, path, detail);
            return Row(path, "Key", "Delete", detail);
        }
        case 1:
            if (s.keyMatch.IsEmpty())
                return Message("General", "42010");
            if (!EndsInBackslash(s.path))
                return Message("Holberin", "22730");
            return Row(s.path, "KeyList", "DeleteMatch", s.keyMatch);
        case 2:
            if (EndsInBackslash(s.path))
                return Message("Holberin", "22710");
            CutLast(s.path, before, after);
            return Row(before, "Value", "Delete", after);
        case 3:
            if (s.valueMatch.IsEmpty())
                return Message("General", "42010");
            if (!EndsInBackslash(s.path))
                return Message("Holberin", "22720");
            return Row(s.path, "ValueList", "DeleteMatch", s.valueMatch);
        }
        break;
    }
    // No action chosen.
    return Message("Holberin", "22780");
}

CEditorState EditorStateFromRow(const CPluginRow& row)
{
    CEditorState s;
    if (row.kind == "File") {
        s.kind = EDITOR_KIND_FILE;
        if (row.action == "EraseMatch") {
            s.fileAction = 2;
            s.path = row.path;
            int comma = row.detail.Find(',');
            s.section = comma < 0 ? row.detail : row.detail.Left(comma);
            s.key = comma < 0 ? CString() : row.detail.Mid(comma + 1);
            s.key.TrimLeft(',');
        } else {
            s.fileAction = row.action == "DeleteContent" ? 1 : 0;
            s.path = row.path + "\\" + row.detail;
        }
    } else if (row.kind == "Folder") {
        s.kind = EDITOR_KIND_FOLDER;
        s.path = row.path;
        s.folderAction = row.action == "DeleteAllBelow" ? 1 : row.action == "DeleteMatch" ? 2 : 0;
        if (s.folderAction == 2)
            s.pattern = row.detail;
    } else {
        s.kind = EDITOR_KIND_REGISTRY;
        if (row.kind == "Key") {
            s.regAction = 0;
            // With the closing "\", so OK gives back the same key.
            s.path = row.path + "\\" + row.detail + "\\";
        } else if (row.kind == "KeyList") {
            s.regAction = 1;
            s.path = row.path;
            s.keyMatch = row.detail;
        } else if (row.kind == "Value") {
            s.regAction = 2;
            s.path = row.path + "\\" + row.detail;
        } else {
            s.regAction = 3;
            s.path = row.path;
            s.valueMatch = row.detail;
        }
    }
    return s;
}

CEditorResult EditRow(const CPluginRow& original, const CEditorState& state, BOOL parentConfirmed)
{
    const CEditorState shown = EditorStateFromRow(original);
    const bool unchanged = state.kind == shown.kind && state.fileAction == shown.fileAction &&
                           state.folderAction == shown.folderAction && state.regAction == shown.regAction &&
                           state.path == shown.path && state.section == shown.section && state.key == shown.key &&
                           state.pattern == shown.pattern && state.keyMatch == shown.keyMatch &&
                           state.valueMatch == shown.valueMatch;
    if (!unchanged)
        return BuildEditorRow(state, parentConfirmed);
    // Joined into one path, a name holding "\" (or a section holding ",")
    // would be split elsewhere when built anew.
    CEditorResult r;
    r.row = original;
    return r;
}
