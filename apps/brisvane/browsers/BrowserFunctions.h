// Browser trace operations of the main cleaner: one operation per sort of
// trace and browser. Each appends its rows to the caller's report list, sets
// up and steps the caller's progress bar, and returns 1 when everything it
// set out to remove is gone, else 0.
#pragma once
#include "fw/framework.h"
#include "registrykey.h"
#include "logfile.h"
#include "HelpFunctions.h"
#include "BrowsersApi.h"
#include <vector>

class BROWSERS_API CBrowserFunctions
{
public:
    CBrowserFunctions();
    ~CBrowserFunctions();

    // Recent-page lists of the small browsers.
    int AvantRecent(CListCtrl* list, CProgressCtrl* progress);
    int EnigmaRecent(CListCtrl* list, CProgressCtrl* progress);
    int SlimRecent(CListCtrl* list, CProgressCtrl* progress);

    // Chrome (default profile).
    int ChromeCompleteForms(CListCtrl* list, CProgressCtrl* progress);
    int ChromeCompletePW(CListCtrl* list, CProgressCtrl* progress);
    int ChromeCookies(CListCtrl* list, CProgressCtrl* progress);
    int ChromeDLList(CListCtrl* list, CProgressCtrl* progress);
    int ChromeDropList(CListCtrl* list, CProgressCtrl* progress);
    int ChromeHistory(CListCtrl* list, CProgressCtrl* progress);
    int ChromeTemp(CListCtrl* list, CProgressCtrl* progress);
    int ChromeVisitedLinks(CListCtrl* list, CProgressCtrl* progress);

    // Firefox (browser 0, first profile) or Netscape (other browser values,
    // the profile with that display name).
    int FirefoxBookmarks(CListCtrl* list, CProgressCtrl* progress, unsigned int browser, CString profileName);
    int FirefoxCompleteForms(CListCtrl* list, CProgressCtrl* progress, unsigned int browser, CString profileName);
    int FirefoxCompletePW(CListCtrl* list, CProgressCtrl* progress, unsigned int browser, CString profileName);
    int FirefoxCookies(CListCtrl* list, CProgressCtrl* progress, unsigned int browser, CString profileName);
    int FirefoxDLList(CListCtrl* list, CProgressCtrl* progress, unsigned int browser, CString profileName);
    int FirefoxDropList(CListCtrl* list, CProgressCtrl* progress, unsigned int browser, CString profileName);
    int FirefoxHistory(CListCtrl* list, CProgressCtrl* progress, unsigned int browser, CString profileName);
    int FirefoxTemp(CListCtrl* list, CProgressCtrl* progress, unsigned int browser, CString profileName);

    // Internet Explorer.
    int IEBookmarks(CListCtrl* list, CProgressCtrl* progress);
    int IECompleteForms(CListCtrl* list, CProgressCtrl* progress);
    int IECompletePW(CListCtrl* list, CProgressCtrl* progress);
    int IECookies(CListCtrl* list, CProgressCtrl* progress);
    int IEDropList(CListCtrl* list, CProgressCtrl* progress);
    int IEHistory(CListCtrl* list, CProgressCtrl* progress);
    int IEIndexDat(CListCtrl* list, CProgressCtrl* progress);
    int IETemp(CListCtrl* list, CProgressCtrl* progress);

    // Opera.
    int OperaBookmarks(CListCtrl* list, CProgressCtrl* progress);
    int OperaCompletePW(CListCtrl* list, CProgressCtrl* progress);
    int OperaCookies(CListCtrl* list, CProgressCtrl* progress);
    int OperaDLList(CListCtrl* list, CProgressCtrl* progress);
    int OperaDropList(CListCtrl* list, CProgressCtrl* progress);
    int OperaHistory(CListCtrl* list, CProgressCtrl* progress);
    int OperaTemp(CListCtrl* list, CProgressCtrl* progress);
    int OperaVisitedLinks(CListCtrl* list, CProgressCtrl* progress);

    // Safari.
    int SafariCompleteForms(CListCtrl* list, CProgressCtrl* progress);
    int SafariCompletePW(CListCtrl* list, CProgressCtrl* progress);
    int SafariCookies(CListCtrl* list, CProgressCtrl* progress);
    int SafariDLList(CListCtrl* list, CProgressCtrl* progress);
    int SafariHistory(CListCtrl* list, CProgressCtrl* progress);
    int SafariTemp(CListCtrl* list, CProgressCtrl* progress);
    int SafariVisitedLinks(CListCtrl* list, CProgressCtrl* progress);

private:
    void ReportStart(CString item, CListCtrl* list, int flag);
    void ReportResult(CString item, int ok, CProgressCtrl* progress, CListCtrl* list, int flag);

    // Log names and progress set-up shared by every operation.
    void BeginOperation(const char* procedure, CProgressCtrl* progress, int range = 1);

    // The row pair for a browser that has nothing here (or no usable folder):
    // nothing is touched. Returns 1.
    int ReportNothingToDelete(CListCtrl* list, CProgressCtrl* progress);

    // Removes the files that exist; 1 when none of them is left afterwards,
    // else 0 with *remaining set to the first one still there.
    int DeleteFiles(const std::vector<CString>& files, CString* remaining);

    // Empties a cache folder of the browser. A missing folder has nothing to
    // empty (1); a link or junction is never followed (0).
    int EmptyFolder(const CString& folder);

    // Operations on one file plus side files (Opera, Chrome, Safari, the
    // small browsers): working row with the main file, every file deleted,
    // result row done only when all are gone.
    int SingleFileOperation(const char* procedure, const CString& base, const CString& mainFile,
                            const std::vector<CString>& sideFiles, CListCtrl* list, CProgressCtrl* progress);

    // A file of the roaming Opera folder as a single-file operation, with
    // its copy in the widget installer's folder as the side file when asked.
    int OperaFile(const char* procedure, const char* name, bool alsoInWidgetInstaller, CListCtrl* list,
                  CProgressCtrl* progress);

    // Files found in a folder, each with its own row pair and progress step;
    // the nothing-to-delete pair when there are none.
    int DeleteFoundFiles(const std::vector<CString>& files, CListCtrl* list, CProgressCtrl* progress);

    // Fixed files below a base folder, deleted one by one with a row pair and
    // a progress step each.
    int DeleteEachFile(const char* procedure, const CString& base, const char* const* names, int count, CListCtrl* list,
                       CProgressCtrl* progress);

    // Firefox: files of one profile.
    int FirefoxFiles(const char* procedure, unsigned int browser, const CString& profileName, const char* const* names,
                     int count, int reportSecondWhenFound, CListCtrl* list, CProgressCtrl* progress);

    CRegistryKey m_regKey;
    CHelpFunctions m_help;
    CLogFile m_log;
    BOOL m_loggingEnabled;
};
