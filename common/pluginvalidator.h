// The entry validator: every entry of a plug-in passes here before anything
// deletes by it (the run, its preview and the builder's editor judge alike).
#pragma once
#include "pluginfile.h"

enum PluginRefusal {
    PLUGIN_ENTRY_OK = 0,
    PLUGIN_REFUSED_TOO_LONG,     // over kPluginEntryMax characters
    PLUGIN_REFUSED_PLACEHOLDER,  // a placeholder without a usable folder
    PLUGIN_REFUSED_NOT_ABSOLUTE, // target not X:\... or \\server\share\...
    PLUGIN_REFUSED_BAD_PATH,     // "." or ".." component, a character no name holds, \\?\ or \\.\ prefix, or unresolvable
    PLUGIN_REFUSED_ROOT,         // folder action on a drive or share root
    PLUGIN_REFUSED_PROTECTED,    // folder action on/above a protected folder, or inside the system folder
    PLUGIN_REFUSED_LINK,         // folder action on a link or junction
    PLUGIN_REFUSED_EMPTY_TEXT,   // empty match text, INI key or DeleteKey argument
    PLUGIN_REFUSED_MATCHES_ALL,  // DeleteMatch text found in the folder's own path
    PLUGIN_REFUSED_REG_ROOT,     // not one of the five root words, or nothing below it
    PLUGIN_REFUSED_REG_SHALLOW,  // DeleteKey target fewer than two levels below its root
    PLUGIN_REFUSED_REG_PROTECTED // DeleteKey target on/above a protected key
};

// What an accepted entry runs on, in the form to use.
//   Delete, DeleteContent:  path = the file (canonical path\argument)
//   EraseMatch:             path = the INI file (canonical), first = section, second = key
//   DeleteAll, DeleteAllBelow: path = the folder (canonical)
//   DeleteMatch:            path = the folder (canonical), first = text
//   registry actions:       path = the key path (root word, single "\", no
//                           trailing "\"), first = argument trimmed
struct CPluginTarget
{
    const PluginActionInfo* action;
    CString path;
    CString first;
    CString second;

    CPluginTarget() : action(nullptr) {}
};

// Judges one entry; on PLUGIN_ENTRY_OK fills target (may be null).
PluginRefusal ValidatePluginEntry(const CPluginEntry& entry, const CPlaceholderFolders& folders, CPluginTarget* target);
