// Opera traces: files below the roaming Opera folder, caches below the local one.
#include "BrowserFunctions.h"
#include "BrowserInternal.h"

using namespace browsers;

int CBrowserFunctions::OperaFile(const char* procedure, const char* name, bool alsoInWidgetInstaller, CListCtrl* list,
                                 CProgressCtrl* progress)
{
    std::vector<CString> side;
    if (alsoInWidgetInstaller)
        side.push_back(CString("\\Opera Widget Installer\\") + name);
    return SingleFileOperation(procedure, m_help.GetOperaDir(0), CString("\\Opera\\") + name, side, list, progress);
}

int CBrowserFunctions::OperaDropList(CListCtrl* list, CProgressCtrl* progress)
{
    return OperaFile("OperaDropList", "typed_history.xml", true, list, progress);
}

int CBrowserFunctions::OperaHistory(CListCtrl* list, CProgressCtrl* progress)
{
    return OperaFile("OperaHistory", "global_history.dat", true, list, progress);
}

int CBrowserFunctions::OperaCookies(CListCtrl* list, CProgressCtrl* progress)
{
    return OperaFile("OperaCookies", "cookies4.dat", true, list, progress);
}

int CBrowserFunctions::OperaVisitedLinks(CListCtrl* list, CProgressCtrl* progress)
{
    return OperaFile("OperaVisitedLinks", "vlink4.dat", true, list, progress);
}

int CBrowserFunctions::OperaDLList(CListCtrl* list, CProgressCtrl* progress)
{
    return OperaFile("OperaDLList", "download.dat", false, list, progress);
}

int CBrowserFunctions::OperaCompletePW(CListCtrl* list, CProgressCtrl* progress)
{
    return OperaFile("OperaCompletePW", "wand.dat", false, list, progress);
}

int CBrowserFunctions::OperaBookmarks(CListCtrl* list, CProgressCtrl* progress)
{
    const char* const names[] = {"\\opera6.adr", "\\opera6.adr.bak"};
    return DeleteEachFile("OperaBookmarks", m_help.GetOperaDir(0), names, 2, list, progress);
}

int CBrowserFunctions::OperaTemp(CListCtrl* list, CProgressCtrl* progress)
{
    BeginOperation("OperaTemp", progress, 9);
    CString base = m_help.GetOperaDir(1);
    if (!IsUsableBaseFolder(base))
        return ReportNothingToDelete(list, progress);

    // application_cache is visited twice: nine steps in all, as the bar says.
    const char* const folders[] = {"\\Opera\\cache",
                                   "\\Opera\\application_cache",
                                   "\\Opera\\temporary_downloads",
                                   "\\Opera\\application_cache",
                                   "\\Opera\\thumbnails",
                                   "\\Opera\\opcache",
                                   "\\Opera Widget Installer\\cache",
                                   "\\Opera Widget Installer\\application_cache",
                                   "\\Opera Widget Installer\\opcache"};
    // One row shows the folder being worked on; every result rewrites it.
    ReportStart(base + folders[0], list, 1);
    int ok = 1;
    for (int i = 0; i < 9; i++) {
        CString folder = base + folders[i];
        int emptied = EmptyFolder(folder);
        ReportResult(folder, emptied, progress, list, 1);
        if (!emptied)
            ok = 0;
    }
    return ok;
}
