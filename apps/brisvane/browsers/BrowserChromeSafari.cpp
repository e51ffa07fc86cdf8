// Chrome, Safari and the recent-page lists of the small browsers.
#include "BrowserFunctions.h"
#include "BrowserInternal.h"

using namespace browsers;

namespace {
std::vector<CString> Names(const char* a = nullptr, const char* b = nullptr)
{
    std::vector<CString> names;
    if (a != nullptr)
        names.push_back(a);
    if (b != nullptr)
        names.push_back(b);
    return names;
}
} // namespace

int CBrowserFunctions::ChromeHistory(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("ChromeHistory", progress);
    CString profile = m_help.GetChromeDir();
    if (!IsUsableBaseFolder(profile))
        return ReportNothingToDelete(list, progress);

    std::vector<CString> files;
    std::vector<CString> names = FileNamesMatching(profile + "\\*History*");
    for (size_t i = 0; i < names.size(); i++) {
        // The pattern also matches short names: the real name must say History.
        CString lower(names[i]);
        lower.MakeLower();
        if (lower.Find("history") >= 0)
            files.push_back(profile + "\\" + names[i]);
    }
    return DeleteFoundFiles(files, list, progress);
}

int CBrowserFunctions::ChromeDropList(CListCtrl* list, CProgressCtrl* progress)
{
    // Typed addresses and downloads are kept in the history files.
    return ChromeHistory(list, progress);
}

int CBrowserFunctions::ChromeDLList(CListCtrl* list, CProgressCtrl* progress) { return ChromeHistory(list, progress); }

int CBrowserFunctions::ChromeCookies(CListCtrl* list, CProgressCtrl* progress)
{
    return SingleFileOperation("ChromeCookies", m_help.GetChromeDir(), "\\Cookies", Names(), list, progress);
}

int CBrowserFunctions::ChromeVisitedLinks(CListCtrl* list, CProgressCtrl* progress)
{
    return SingleFileOperation("ChromeVisitedLinks", m_help.GetChromeDir(), "\\Visited Links", Names(), list, progress);
}

int CBrowserFunctions::ChromeCompletePW(CListCtrl* list, CProgressCtrl* progress)
{
    return SingleFileOperation("ChromeCompletePW", m_help.GetChromeDir(), "\\Login Data", Names(), list, progress);
}

int CBrowserFunctions::ChromeCompleteForms(CListCtrl* list, CProgressCtrl* progress)
{
    return SingleFileOperation("ChromeCompleteForms", m_help.GetChromeDir(), "\\Web Data", Names(), list, progress);
}

int CBrowserFunctions::ChromeTemp(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("ChromeTemp", progress);
    CString profile = m_help.GetChromeDir();
    if (!IsUsableBaseFolder(profile))
        return ReportNothingToDelete(list, progress);

    ReportStart(profile + "\\Cache", list, 1);
    int ok = 1;
    const char* const folders[] = {"\\Cached Theme Images", "\\JumpListIcons", "\\JumpListIconsOld"};
    for (int i = 0; i < 3; i++)
        if (!EmptyFolder(profile + folders[i]))
            ok = 0;
    std::vector<CString> files;
    files.push_back(profile + "\\Last Session");
    files.push_back(profile + "\\Last Tabs");
    files.push_back(profile + "\\Thumbnails");
    if (!DeleteFiles(files, nullptr))
        ok = 0;
    if (!EmptyFolder(profile + "\\Cache"))
        ok = 0;
    ReportResult(TemporaryFilesText(), ok, progress, list, 1);
    return ok;
}

int CBrowserFunctions::SafariCookies(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("SafariCookies", progress);
    CString base = m_help.GetSafariDir(0);
    if (!IsUsableBaseFolder(base))
        return ReportNothingToDelete(list, progress);
    ReportStart(base + "\\Cookies", list, 1);
    int ok = EmptyFolder(base + "\\Cookies");
    ReportResult(TemporaryFilesText(), ok, progress, list, 1);
    return ok;
}

int CBrowserFunctions::SafariHistory(CListCtrl* list, CProgressCtrl* progress)
{
    return SingleFileOperation("SafariHistory", m_help.GetSafariDir(0), "\\History.plist",
                               Names("\\LastSession.plist", "\\TopSites.plist"), list, progress);
}

int CBrowserFunctions::SafariVisitedLinks(CListCtrl* list, CProgressCtrl* progress)
{
    return SafariHistory(list, progress);
}

int CBrowserFunctions::SafariCompleteForms(CListCtrl* list, CProgressCtrl* progress)
{
    return SingleFileOperation("SafariCompleteForms", m_help.GetSafariDir(0), "\\Form Values.plist", Names(), list,
                               progress);
}

int CBrowserFunctions::SafariCompletePW(CListCtrl* list, CProgressCtrl* progress)
{
    // Safari keeps passwords with the form values.
    return SafariCompleteForms(list, progress);
}

int CBrowserFunctions::SafariDLList(CListCtrl* list, CProgressCtrl* progress)
{
    return SingleFileOperation("SafariDLList", m_help.GetSafariDir(0), "\\Downloads.plist", Names(), list, progress);
}

int CBrowserFunctions::SafariTemp(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("SafariTemp", progress, 5);
    CString base = m_help.GetSafariDir(1);
    if (!IsUsableBaseFolder(base))
        return ReportNothingToDelete(list, progress);

    // One row shows the item being worked on; every result rewrites it.
    ReportStart(base + "\\History", list, 1);
    int ok = 1;
    const char* const folders[] = {"\\History", "\\LocalStorage", "\\Webpage Previews"};
    for (int i = 0; i < 3; i++) {
        CString folder = base + folders[i];
        int emptied = EmptyFolder(folder);
        ReportResult(folder, emptied, progress, list, 1);
        if (!emptied)
            ok = 0;
    }
    const char* const files[] = {"\\Cache.db", "\\WebpageIcons.db"};
    for (int i = 0; i < 2; i++) {
        CString path = base + files[i];
        int gone = DeleteFiles(std::vector<CString>(1, path), nullptr);
        ReportResult(path, gone, progress, list, 0);
        if (!gone)
            ok = 0;
    }
    return ok;
}

int CBrowserFunctions::AvantRecent(CListCtrl* list, CProgressCtrl* progress)
{
    // The base is the browser's own folder: the application-data folder
    // itself is protected.
    return SingleFileOperation("AvantRecent", m_help.GetAppDataDir() + "\\Avant Browser", "\\recents.dat", Names(),
                               list, progress);
}

int CBrowserFunctions::SlimRecent(CListCtrl* list, CProgressCtrl* progress)
{
    return SingleFileOperation("SlimRecent", m_help.GetAppDataDir() + "\\SlimBrowser", "\\recentclose.ini", Names(),
                               list, progress);
}

int CBrowserFunctions::EnigmaRecent(CListCtrl* list, CProgressCtrl* progress)
{
    const char* const names[] = {"\\b4closeall.sgp", "\\lastsession.sgp", "\\recentclose.ini"};
    return DeleteEachFile("EnigmaRecent", m_help.GetAppDataDir() + "\\Enigma Browser", names, 3, list, progress);
}
