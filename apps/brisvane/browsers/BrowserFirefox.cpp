// Firefox (and Netscape) traces: files of one profile folder.
#include "BrowserFunctions.h"
#include "BrowserInternal.h"

using namespace browsers;

int CBrowserFunctions::FirefoxFiles(const char* procedure, unsigned int browser, const CString& profileName,
                                    const char* const* names, int count, int reportSecondWhenFound, CListCtrl* list,
                                    CProgressCtrl* progress)
{
    BeginOperation(procedure, progress);
    CString profile = m_help.GetFirefoxDir(browser, profileName, 0);
    if (!IsUsableBaseFolder(profile))
        return ReportNothingToDelete(list, progress);

    std::vector<CString> files;
    for (int i = 0; i < count; i++)
        files.push_back(profile + names[i]);
    ReportStart(files[0], list, 0);
    int found = IsFile(files[0]) || IsFile(files[1]);
    CString remaining;
    int ok = DeleteFiles(files, &remaining);
    CString item = ok ? (found && reportSecondWhenFound ? files[1] : files[0]) : remaining;
    ReportResult(item, ok, progress, list, 0);
    return ok;
}

int CBrowserFunctions::FirefoxHistory(CListCtrl* list, CProgressCtrl* progress, unsigned int browser,
                                      CString profileName)
{
    const char* const names[] = {"\\history.dat", "\\places.sqlite", "\\places.sqlite-journal"};
    return FirefoxFiles("FirefoxHistory", browser, profileName, names, 3, 1, list, progress);
}

int CBrowserFunctions::FirefoxDropList(CListCtrl* list, CProgressCtrl* progress, unsigned int browser,
                                       CString profileName)
{
    // Typed addresses live in the history database.
    return FirefoxHistory(list, progress, browser, profileName);
}

int CBrowserFunctions::FirefoxCookies(CListCtrl* list, CProgressCtrl* progress, unsigned int browser,
                                      CString profileName)
{
    const char* const names[] = {"\\Cookies.txt", "\\cookies.sqlite", "\\cookies.sqlite-journal"};
    return FirefoxFiles("FirefoxCookies", browser, profileName, names, 3, 0, list, progress);
}

int CBrowserFunctions::FirefoxDLList(CListCtrl* list, CProgressCtrl* progress, unsigned int browser,
                                     CString profileName)
{
    const char* const names[] = {"\\downloads.rdf", "\\downloads.sqlite"};
    return FirefoxFiles("FirefoxDLList", browser, profileName, names, 2, 0, list, progress);
}

int CBrowserFunctions::FirefoxCompleteForms(CListCtrl* list, CProgressCtrl* progress, unsigned int browser,
                                            CString profileName)
{
    const char* const names[] = {"\\formhistory.dat", "\\formhistory.sqlite"};
    return FirefoxFiles("FirefoxCompleteForms", browser, profileName, names, 2, 0, list, progress);
}

int CBrowserFunctions::FirefoxCompletePW(CListCtrl* list, CProgressCtrl* progress, unsigned int browser,
                                         CString profileName)
{
    BeginOperation("FirefoxCompletePW", progress);
    CString profile = m_help.GetFirefoxDir(browser, profileName, 0);
    if (!IsUsableBaseFolder(profile))
        return ReportNothingToDelete(list, progress);

    CString signons = profile + "\\signons.txt";
    CString signons2 = profile + "\\signons2.txt";
    CString database = profile + "\\signons.sqlite";
    ReportStart(signons, list, 0);
    // The row names the store that was there: the old text file, else the
    // database; with neither, the second text file stands for the lot.
    CString item = IsFile(signons) ? signons : IsFile(database) ? database : signons2;
    std::vector<CString> files;
    files.push_back(signons);
    files.push_back(signons2);
    files.push_back(database);
    CString remaining;
    int ok = DeleteFiles(files, &remaining);
    ReportResult(ok ? item : remaining, ok, progress, list, 0);
    return ok;
}

int CBrowserFunctions::FirefoxBookmarks(CListCtrl* list, CProgressCtrl* progress, unsigned int browser,
                                        CString profileName)
{
    BeginOperation("FirefoxBookmarks", progress, 2);
    CString profile = m_help.GetFirefoxDir(browser, profileName, 0);
    if (!IsUsableBaseFolder(profile))
        return ReportNothingToDelete(list, progress);

    int ok = 1;
    const char* const names[] = {"\\bookmarks.html", "\\bookmarks.bak"};
    for (int i = 0; i < 2; i++) {
        CString path = profile + names[i];
        ReportStart(path, list, 0);
        int existed = !PathGone(path);
        int gone = DeleteFiles(std::vector<CString>(1, path), nullptr);
        // A missing bookmark file shows the other done text.
        ReportResult(path, gone, progress, list, i == 0 && !existed ? 1 : 0);
        if (!gone)
            ok = 0;
    }
    return ok;
}

int CBrowserFunctions::FirefoxTemp(CListCtrl* list, CProgressCtrl* progress, unsigned int browser, CString profileName)
{
    BeginOperation("FirefoxTemp", progress);
    CString profile = m_help.GetFirefoxDir(browser, profileName, 0);
    if (!IsUsableBaseFolder(profile))
        return ReportNothingToDelete(list, progress);
    CString local = m_help.GetFirefoxDir(browser, profileName, 1);
    int haveLocal = IsUsableBaseFolder(local);

    ReportStart(profile + "\\Cache", list, 1);
    int ok = haveLocal ? EmptyFolder(local + "\\OfflineCache") : 1;
    // Older versions keep the cache in the roaming profile, newer ones in the
    // local one: the local cache is the fallback when the roaming one is
    // missing or could not be emptied.
    int cacheOk;
    if (IsFolder(profile + "\\Cache")) {
        cacheOk = EmptyFolder(profile + "\\Cache");
        if (!cacheOk && haveLocal)
            EmptyFolder(local + "\\Cache");
    } else
        cacheOk = haveLocal ? EmptyFolder(local + "\\Cache") : 1;
    ok = ok && cacheOk;
    ReportResult(TemporaryFilesText(), ok, progress, list, 1);
    return ok;
}
