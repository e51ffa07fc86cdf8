// Benchmark helper, run under Wine by bench/tolmira-run.sh.
//
//   tolmira_bench make <folder> <files> <plug-in>  builds a flat tree and a
//                                                 plug-in deleting its files
//   tolmira_bench folders <folder> <count> <plug-in>  builds empty folders and
//                                                 a plug-in emptying each one
//   tolmira_bench run <plug-in>                    times the run of the plug-in
//                                                 into a shown report list
//   tolmira_bench rd <folder>                      times "cmd /c rd /s /q"
//   tolmira_bench refresh <count> [rounds]         times refilling the list
//                                                 from <count> plug-in files
//                                                 beside its limit, a plain
//                                                 loop reading the same files
//   tolmira_bench split <count>                    times the parts of a refill
//                                                 and of a start
//   tolmira_bench seed <count>                     leaves <count> plug-ins and
//                                                 a state file for them in
//                                                 the user's plug-in folder
//   tolmira_bench samples                          puts the shipped samples back
//                                                 in place of the seeded ones
//   tolmira_bench start <program> <rows>          times a start of the program
//                                                 until its window shows and
//                                                 until its list holds <rows>
//   tolmira_bench loop                             times the plain loop over
//                                                 the user's plug-in folder
//
// Each timing is printed as "<label> <milliseconds>" on one line.
#include "Tolmira.h"
#include "MainFrm.h"
#include "TolmiraView.h"
#include "PluginList.h"
#include "testsupport.h"
#include "pirt.h"
#include "benchtime.h"
#include "../tests/startcheck/shownwindow.h"
#include "pluginfile.h"
#include "services.h"
#include "sortsettings.h"
#include "themedmenu.h"
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

CTolmiraApp theApp;

namespace {

int Make(const std::string& root, int files, const std::string& plugin)
{
    if (!::CreateDirectoryA(root.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return 1;
    std::string text = "[General]\r\nName=Bench\r\nInstalled=\r\n[Files]\r\n";
    std::string data(512, 'x');
    for (int i = 0; i < files; ++i) {
        std::string name = "trace" + std::to_string(i) + ".tmp";
        HANDLE file = ::CreateFileA((root + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        DWORD written = 0;
        ::WriteFile(file, data.data(), (DWORD)data.size(), &written, nullptr);
        ::CloseHandle(file);
        text += "File" + std::to_string(i) + "=" + root + ";Delete;" + name + "\r\n";
    }
    return pirt_test::WriteFileText(plugin.c_str(), text.c_str()) ? 0 : 1;
}

int MakeFolders(const std::string& root, int count, const std::string& plugin)
{
    if (!::CreateDirectoryA(root.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return 1;
    std::string text = "[General]\r\nName=Bench\r\nInstalled=\r\n[Folders]\r\n";
    for (int i = 0; i < count; ++i) {
        std::string folder = root + "\\empty" + std::to_string(i);
        if (!::CreateDirectoryA(folder.c_str(), nullptr))
            return 1;
        text += "Folder" + std::to_string(i) + "=" + folder + ";DeleteAllBelow;\r\n";
    }
    return pirt_test::WriteFileText(plugin.c_str(), text.c_str()) ? 0 : 1;
}

int TimeRun(const std::string& plugin)
{
    // Painted as the user sees it: a hidden list would skip the drawing.
    pirt_test::CReportHost host;
    ::ShowWindow(host.Host(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(host.Host());
    CTolmiraView* view = static_cast<CTolmiraView*>(RUNTIME_CLASS(CTolmiraView)->CreateObject());
    double start = Now();
    view->CleanPlugin(plugin.c_str(), host.List(), host.Progress());
    double elapsed = Now() - start;
    delete view;
    std::printf("run %.1f\nrows %d\n", elapsed, host.RowCount());
    return 0;
}

// The user's plug-in folder with count plug-ins (every one listed: its
// application is present) and a state file as a user with that many keeps
// it: every other one ticked, every tenth set installed.
int Seed(int count)
{
    GetIniPath(INI_FARNOCH); // seeds the data folder first
    const CString folder = UserPluginFolder();
    pirt_test::DeleteTree(folder);
    CreateFullPath(folder);
    CString state = "[Selection]\r\n";
    CString installed = "[Installed]\r\n";
    for (int i = 0; i < count; ++i) {
        CString path, text, line;
        path.Format("%s\\bench%04d.dorv", (const char*)folder, i);
        text.Format("[General]\r\nName=Bench %d\r\nVersion=1\r\nProvider=Bench\r\nDescription=Plug-in %d\r\n"
                    "Installed=PIRT_WINDOWS\\regedit.exe\r\n[Files]\r\nFile0=C:\\bench;Delete;x.txt\r\n",
                    i, i);
        if (!pirt_test::WriteFileText(path, text))
            return 1;
        line.Format("Bench %d=%s\r\n", i, i % 2 ? "no" : "yes");
        state += line;
        if (i % 10 == 0) {
            line.Format("Bench %d=yes\r\n", i);
            installed += line;
        }
    }
    return pirt_test::WriteFileText(StateFilePath(), state + installed) ? 0 : 1;
}

// The plug-in files of the user's folder, as the list finds them.
std::vector<CString> PluginFiles()
{
    std::vector<CString> files;
    CFileFind finder;
    BOOL more = finder.FindFile(UserPluginFolder() + "\\*.dorv");
    while (more) {
        more = finder.FindNextFile();
        files.push_back(finder.GetFilePath());
    }
    return files;
}

// The limit of a refill: a plain loop that finds the plug-in files, reads
// each one's General section with one profile call and the state file's two
// sections once. Returns the milliseconds; files read in *read.
double PlainLoop(int* read)
{
    const double start = Now();
    std::vector<char> buffer(32767);
    const CString state = StateFilePath();
    for (const char* section : {"Installed", "Selection"})
        ::GetPrivateProfileSectionA(section, buffer.data(), (DWORD)buffer.size(), state);
    const CString folder = UserPluginFolder();
    *read = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(folder + "\\*.dorv", &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            ::GetPrivateProfileSectionA("General", buffer.data(), (DWORD)buffer.size(),
                                        folder + "\\" + data.cFileName);
            ++*read;
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    return Now() - start;
}

int TimeLoop()
{
    int read = 0;
    const double elapsed = PlainLoop(&read);
    std::printf("loop %.1f\nfiles %d\n", elapsed, read);
    return read > 0 ? 0 : 1;
}

// The user's plug-in folder as a first start leaves it: the shipped samples.
int Samples()
{
    GetIniPath(INI_FARNOCH);
    const CString folder = UserPluginFolder();
    pirt_test::DeleteTree(folder);
    CreateFullPath(folder);
    const CString shipped = GetAppPath() + "\\skel\\plug-ins\\Tolmira\\";
    CFileFind finder;
    BOOL more = finder.FindFile(shipped + "*.dorv");
    while (more) {
        more = finder.FindNextFile();
        if (!::CopyFileA(finder.GetFilePath(), folder + "\\" + finder.GetFileName(), FALSE))
            return 1;
    }
    return 0;
}

BOOL CALLBACK FindList(HWND window, LPARAM param)
{
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof(name));
    if (lstrcmpiA(name, WC_LISTVIEWA) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

// Starts the program and times it until its main window shows and until the
// list in it holds rows rows; prints "shown <ms>" and "full <ms>", closes it.
int TimeStartUntilFull(const char* program, int rows)
{
    std::string command = std::string("\"") + program + "\"";
    STARTUPINFOA si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    const double start = Now();
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 2;
    ::CloseHandle(pi.hThread);
    HWND frame = nullptr;
    double shown = -1, full = -1;
    while (Now() - start < 60000 && ::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        if (!frame) {
            frame = FindShownWindowOf(pi.dwProcessId);
            if (frame)
                shown = Now() - start;
        }
        if (frame) {
            HWND list = nullptr;
            ::EnumChildWindows(frame, FindList, (LPARAM)&list);
            if (list && (int)::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) >= rows) {
                full = Now() - start;
                break;
            }
        }
        ::Sleep(1);
    }
    if (frame)
        ::PostMessageA(frame, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hProcess);
    std::printf("shown %.1f\nfull %.1f\n", shown, full);
    return full >= 0 ? 0 : 1;
}

// The program as started, its list sorted by name (as a user with many
// plug-ins keeps it).
CTolmiraView* StartProgram()
{
    WriteSortSettings(INI_FARNOCH, TRUE, COLUMN_NAME);
    if (!theApp.InitInstance())
        return nullptr;
    CMainFrame* frame = dynamic_cast<CMainFrame*>(theApp.m_pMainWnd);
    return frame ? frame->View() : nullptr;
}

void StopProgram()
{
    if (theApp.m_pMainWnd)
        theApp.m_pMainWnd->DestroyWindow();
    theApp.ExitInstance();
    pirt_test::DeleteTree(UserPluginFolder());
}

// Rounds of the plain loop and the refill, taking turns.
int TimeRefresh(int count, int rounds)
{
    if (Seed(count) != 0)
        return 1;
    CTolmiraView* view = StartProgram();
    if (!view)
        return 1;
    int rows = 0, read = 0;
    for (int r = 0; r < rounds; ++r) {
        const double loop = PlainLoop(&read);
        const double start = Now();
        view->RefreshPluginList();
        const double refresh = Now() - start;
        rows = view->GetListCtrl().GetItemCount();
        std::printf("limit %.1f\nrefresh %.1f\n", loop, refresh);
    }
    StopProgram();
    std::printf("rows %d\nfiles %d\n", rows, read);
    return rows == count && read == count ? 0 : 1;
}

// Where a refill's time goes: each of its parts on its own over the same
// files, as the list did them and as it does them now.
int TimeSplit(int count)
{
    // A start without plug-ins first, untimed: what a process does once for
    // its first window stays out of the timed starts.
    double startAlone = 0;
    for (int round = 0; round < 2; ++round) {
        if (Seed(0) != 0)
            return 1;
        const double started = Now();
        if (!StartProgram())
            return 1;
        startAlone = Now() - started;
        StopProgram();
    }
    if (Seed(count) != 0)
        return 1;
    const double started = Now();
    CTolmiraView* view = StartProgram();
    if (!view)
        return 1;
    const double startWithPlugins = Now() - started;
    const std::vector<CString> files = PluginFiles();
    std::vector<CString> names, installedValues;
    for (const CString& file : files) {
        names.push_back(ReadPluginGeneral(file, "Name"));
        installedValues.push_back(ReadPluginGeneral(file, "Installed"));
    }
    const char* const generalKeys[] = {"Name", "Version", "Provider", "Admin", "Description", "Installed"};
    auto timed = [](const char* what, const std::function<void()>& part) {
        const double start = Now();
        part();
        std::printf("split %.1f %s\n", Now() - start, what);
    };
    timed("finding the files", [] { PluginFiles(); });
    timed("General key by key (6 calls a plug-in)", [&] {
        for (const CString& file : files)
            for (const char* key : generalKeys)
                ReadPluginGeneral(file, key);
    });
    timed("General in one section (1 call a plug-in)", [&] {
        for (const CString& file : files) {
            const CProfileSection general(file, "General");
            for (const char* key : generalKeys)
                general.Value(key);
        }
    });
    // The same call with the plain loop's buffer and with the one the
    // section reader starts with, each made anew for every file as a reader
    // of one section does: what a larger buffer costs a call.
    for (const DWORD size : {32767ul, 16ul * 32767ul}) {
        CString what;
        what.Format("General in one raw call, a new buffer of %lu characters each", size);
        timed(what, [&] {
            for (const CString& file : files) {
                std::vector<char> buffer(size);
                ::GetPrivateProfileSectionA("General", buffer.data(), size, file);
            }
        });
    }
    timed("state file per plug-in (2 calls a plug-in)", [&] {
        for (const CString& name : names) {
            ReadPluginState("Installed", name, "NA");
            ReadPluginState("Selection", name, "no");
        }
    });
    timed("state file once (its 2 sections) and 2 look-ups a plug-in", [&] {
        const CPluginStateSection overrides("Installed"), ticks("Selection");
        for (const CString& name : names) {
            overrides.Read(name, "NA");
            ticks.Read(name, "no");
        }
    });
    timed("placeholder folders looked up per plug-in", [&] {
        for (size_t i = 0; i < files.size(); ++i)
            GetPlaceholderFolders();
    });
    const CPlaceholderFolders folders = GetPlaceholderFolders();
    timed("installed file test", [&] {
        for (const CString& value : installedValues) {
            CString path;
            ExpandPlaceholders(value, folders, path);
            FileExists(path);
        }
    });
    CListCtrl& list = view->GetListCtrl();
    auto fillRows = [&] {
        list.SetRedraw(FALSE);
        list.DeleteAllItems();
        for (size_t i = 0; i < files.size(); ++i) {
            const int row = list.InsertItem((int)i, names[i]);
            for (int column = COLUMN_DESCRIPTION; column < COLUMN_COUNT; ++column)
                list.SetItemText(row, column, files[i]);
            list.SetItemState(row, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
        }
        list.SetRedraw(TRUE);
        list.Invalidate();
        list.UpdateWindow();
    };
    timed("rows into the list, redraw off (unticked: no tick is written)", fillRows);
    timed("the same with the themed menus' message hook off", [&] {
        CThemedMenu::SuspendMenuHook();
        fillRows();
        CThemedMenu::ResumeMenuHook();
    });
    const double start = Now();
    view->RefreshPluginList();
    std::printf("split %.1f whole refill\n", Now() - start);
    // A start in the same process (its modules loaded): the window made and
    // painted while a second thread reads the plug-ins, then the rows put in.
    std::printf("split %.1f a start from the program's own first step to its painted window, with the plug-ins\n",
                startWithPlugins);
    timed("the plug-ins read alone, as the start's second thread reads them",
          [] { CTolmiraView::ReadListedPlugins(CurrentPluginListQuery(TRUE)); });
    CWnd* frame = view->GetParentFrame();
    timed("a paint of the whole shown window", [&] {
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        frame->UpdateWindow();
    });
    timed("a paint of the list alone", [&] {
        view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        view->UpdateWindow();
    });
    // A sort of the shown list (as a click on a header does): the same rows
    // into another order, row by row in the list, as refills sorted before.
    timed("sort of the shown rows in the list", [&] { view->SortByColumn(COLUMN_PATH); });
    StopProgram();
    std::printf("split %.1f the same start without plug-ins (the window alone)\n", startAlone);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 5 && std::string(argv[1]) == "make")
        return Make(argv[2], std::atoi(argv[3]), argv[4]);
    if (argc >= 5 && std::string(argv[1]) == "folders")
        return MakeFolders(argv[2], std::atoi(argv[3]), argv[4]);
    if (argc >= 3 && std::string(argv[1]) == "run")
        return TimeRun(argv[2]);
    if (argc >= 3 && std::string(argv[1]) == "rd")
        return TimeRd(argv[2]);
    if (argc >= 3 && std::string(argv[1]) == "refresh")
        return TimeRefresh(std::atoi(argv[2]), argc >= 4 ? std::atoi(argv[3]) : 1);
    if (argc >= 3 && std::string(argv[1]) == "split")
        return TimeSplit(std::atoi(argv[2]));
    if (argc >= 3 && std::string(argv[1]) == "seed")
        return Seed(std::atoi(argv[2]));
    if (argc >= 4 && std::string(argv[1]) == "start")
        return TimeStartUntilFull(argv[2], std::atoi(argv[3]));
    if (argc >= 2 && std::string(argv[1]) == "samples")
        return Samples();
    if (argc >= 2 && std::string(argv[1]) == "loop")
        return TimeLoop();
    std::fprintf(
        stderr,
        "usage: tolmira_bench make <folder> <files> <plug-in> | folders <folder> <count> <plug-in> | run <plug-in> |"
        " rd <folder> | refresh <count> [rounds] | split <count> | seed <count> | samples | loop | start <program> <rows>\n");
    return 2;
}
