// Where the recent-work cleaner finds its plug-ins and keeps the user's
// choices about them, and which plug-ins it lists.
//
// Tolmira.dat (in the user plug-in folder) holds two sections keyed by
// plug-in name: [Installed] the user's override of the installed test
// ("yes" always lists, "no" lists only with view-all), [Selection] the tick
// ("yes" ticked). Values other than "yes" and "no" count as absent.
#pragma once
#include "fw/framework.h"
#include "pluginfile.h" // UserPluginFolder, CProfileSection
#include <functional>
#include <memory>
#include <vector>

// program folder + "\plug-ins\Tolmira"; "" when the program folder is unknown
CString ProgramPluginFolder();
// the user plug-in folder + "\Tolmira.dat"; "" without an application-data folder
CString StateFilePath();

// The key a plug-in name is stored under: "%", "=", a leading ";" or "[" and
// blanks at either end are written as %XX, so that every name reads back
// under its own key; any other name is its own key.
CString PluginStateKey(const CString& name);

// One section of Tolmira.dat, read in one call: a refill of the list looks
// every plug-in up in it instead of reading the file once a plug-in.
class CPluginStateSection
{
public:
    explicit CPluginStateSection(const char* section);
    // The same section of the state file at statePath ("": none).
    CPluginStateSection(const char* section, const CString& statePath);
    // [section] name, defaultValue when absent (and without an
    // application-data folder).
    CString Read(const CString& name, const char* defaultValue) const;

private:
    std::unique_ptr<CProfileSection> m_values; // null without an application-data folder
};

// [section] name of Tolmira.dat, read now (one key only), as
// CPluginStateSection::Read gives it.
CString ReadPluginState(const char* section, const CString& name, const char* defaultValue);
// Writes [section] name = value, creating the user plug-in folder first;
// FALSE without an application-data folder.
BOOL WritePluginState(const char* section, const CString& name, const char* value);

enum InstalledResult { INSTALLED_MISSING = 0, INSTALLED_PRESENT = 1 };

// The plug-in's own test that its application is present: a registry key
// that opens with full access (no placeholders), or a file (placeholders
// replaced; a folder never counts). An empty test counts as missing, so
// such a plug-in is listed with view-all and can be set installed.
InstalledResult InstalledTest(const CString& installedValue);
// The same with the placeholders' folders given (looked up once for a refill).
InstalledResult InstalledTest(const CString& installedValue, const CPlaceholderFolders& folders);

// Whether a plug-in is listed: an administrators-only plug-in never for
// other users; then the user's override; then the installed test, a
// missing application only with view-all. The test, which opens a file or
// a key, is made only where its result decides.
BOOL IsPluginListed(BOOL adminOnly, BOOL userIsAdmin, const CString& override, BOOL viewAll,
                    const std::function<InstalledResult()>& installedTest);

// The plug-in's description in the language shown: [General] Description
// ("No Description available." when absent), or Erlaeuterung ("Keine
// deutsche Beschreibung verfügbar.") when the language is German.
CString ReadPluginDescription(const char* pluginFile, BOOL english);
// The same from the plug-in's General section as already read.
CString ReadPluginDescription(const CProfileSection& general, BOOL english);

// What a fill of the list depends on besides the plug-in files, taken once
// for all of them.
struct CPluginListQuery
{
    CString folders[2]; // the user's and the program's plug-in folder; "" is not looked in
    CString statePath;  // Tolmira.dat, "" without an application-data folder
    CPlaceholderFolders placeholders;
    BOOL userIsAdmin;
    BOOL viewAll;
    BOOL englishDescription;

    bool operator==(const CPluginListQuery& other) const;
};

// The query as the switches, the user and the folders stand now.
CPluginListQuery CurrentPluginListQuery(BOOL englishDescription);
