// Benchmark helper, run under Wine by bench/tolmira-run.sh.
//
//   tolmira_bench make <folder> <files> <plug-in>  builds a flat tree and a
//                                                 plug-in deleting its files
//   tolmira_bench folders <folder> <count> <plug-in>  builds empty folders and
//                                                 a plug-in emptying each one
//   tolmira_bench run <plug-in>                    times the run of the plug-in
//                                                 into a shown report list
//   tolmira_bench rd <folder>                      times "cmd /c rd /s /q"
//   tolmira_bench refresh <count>                  times refilling the list
//                                                 from <count> plug-in files
//
// Each timing is printed as "<label> <milliseconds>" on one line.
#include "Tolmira.h"
#include "MainFrm.h"
#include "TolmiraView.h"
#include "PluginList.h"
#include "testsupport.h"
#include "pirt.h"
#include "benchtime.h"
#include <cstdio>
#include <cstdlib>
#include <string>

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

int TimeRefresh(int count)
{
    GetIniPath(INI_FARNOCH); // seeds the data folder first
    CString folder = UserPluginFolder();
    pirt_test::DeleteTree(folder);
    CreateFullPath(folder);
    for (int i = 0; i < count; ++i) {
        CString path, text;
        path.Format("%s\\bench%04d.dorv", (const char*)folder, i);
        text.Format("[General]\r\nName=Bench %d\r\nVersion=1\r\nProvider=Bench\r\nDescription=Plug-in %d\r\n"
                    "Installed=PIRT_WINDOWS\\regedit.exe\r\n[Files]\r\nFile0=C:\\bench;Delete;x.txt\r\n",
                    i, i);
        pirt_test::WriteFileText(path, text);
    }
    if (!theApp.InitInstance())
        return 1;
    CMainFrame* frame = dynamic_cast<CMainFrame*>(theApp.m_pMainWnd);
    CTolmiraView* view = frame ? frame->View() : nullptr;
    if (!view)
        return 1;
    double start = Now();
    view->RefreshPluginList();
    double elapsed = Now() - start;
    int rows = view->GetListCtrl().GetItemCount();
    frame->DestroyWindow();
    theApp.ExitInstance();
    pirt_test::DeleteTree(folder);
    std::printf("refresh %.1f\nrows %d\n", elapsed, rows);
    return rows == count ? 0 : 1;
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
        return TimeRefresh(std::atoi(argv[2]));
    std::fprintf(
        stderr,
        "usage: tolmira_bench make <folder> <files> <plug-in> | folders <folder> <count> <plug-in> | run <plug-in> |"
        " rd <folder> | refresh <count>\n");
    return 2;
}
