// The rows the item editor builds: the editor's state and the list row it
// stands for, both ways. The rows are exactly what the plug-in file module
// writes as entries.
#pragma once
#include "fw/framework.h"
#include "pluginvalidator.h"

enum EditorKind { EDITOR_KIND_FILE = 0, EDITOR_KIND_FOLDER = 1, EDITOR_KIND_REGISTRY = 2 };

struct CEditorState
{
    int kind;         // EditorKind
    int fileAction;   // 0 delete, 1 empty, 2 INI key; -1 none chosen
    int folderAction; // 0 whole folder, 1 its content, 2 matching files; -1
    int regAction;    // 0 key, 1 matching subkeys, 2 value, 3 matching values; -1
    CString path;
    CString section; // INI section and key
    CString key;
    CString pattern; // folder match text
    CString keyMatch;
    CString valueMatch;

    CEditorState() : kind(EDITOR_KIND_FILE), fileAction(-1), folderAction(-1), regAction(-1) {}
};

enum EditorOutcome {
    EDITOR_ROW = 0,   // the row is built
    EDITOR_MESSAGE,   // a check failed: show the text of (section, key)
    EDITOR_ASK_PARENT // a key path without "\" at its end: ask before taking the key above
};

struct CEditorResult
{
    EditorOutcome outcome;
    const char* section; // language text of a failed check
    const char* key;
    CPluginRow row;

    CEditorResult() : outcome(EDITOR_ROW), section(""), key("") {}
};

// Builds the row of the editor's state. parentConfirmed answers the
// question of EDITOR_ASK_PARENT with Yes.
CEditorResult BuildEditorRow(const CEditorState& state, BOOL parentConfirmed);

// The editor's state for editing a row; building it again gives the row back.
CEditorState EditorStateFromRow(const CPluginRow& row);

// In edit mode: the state as EditorStateFromRow(original) showed it gives
// the original row back unchanged; a changed state builds its row anew.
CEditorResult EditRow(const CPluginRow& original, const CEditorState& state, BOOL parentConfirmed);
