// Times the plug-in builder's registry browser against Wine's "reg query":
// seeds HKCU\Software\PirtBench with a key of 10,000 values of mixed types
// and a key of 5,000 subkeys (one subkey each), then times, in process, the
// value list filling the first key and the tree expanding the second, and
// "reg query" on the first and "reg query /s" on the second, in rounds.
// Prints each round, then each figure (medians) beside its limit with the
// ratio, and removes the keys. Used by bench/corvalet-registry.sh; not a test.
#include "RegEdit.h"
#include <shlwapi.h>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <vector>

namespace {

const char* const kBench = "Software\\PirtBench";

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

void Seed(int values, int keys)
{
    HKEY v = nullptr, k = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\PirtBench\\Values", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &v,
                    nullptr);
    for (int i = 0; i < values; ++i) {
        char name[32];
        sprintf(name, "value%05d", i);
        DWORD d = (DWORD)i;
        BYTE bin[16];
        for (int j = 0; j < 16; ++j)
            bin[j] = (BYTE)(i + j);
        switch (i % 3) {
        case 0: RegSetValueExA(v, name, 0, REG_SZ, (const BYTE*)"some text of a value", 21); break;
        case 1: RegSetValueExA(v, name, 0, REG_DWORD, (const BYTE*)&d, 4); break;
        default: RegSetValueExA(v, name, 0, REG_BINARY, bin, sizeof(bin)); break;
        }
    }
    RegCloseKey(v);
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\PirtBench\\Keys", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                    nullptr);
    for (int i = 0; i < keys; ++i) {
        char name[64];
        sprintf(name, "key%05d\\inner", i);
        HKEY sub = nullptr;
        RegCreateKeyExA(k, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr);
        RegCloseKey(sub);
    }
    RegCloseKey(k);
}

double TimeCommand(const char* command)
{
    char cmd[512];
    lstrcpynA(cmd, command, sizeof(cmd));
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si = {sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = nul;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi;
    double start = Now();
    if (!CreateProcessA(nullptr, cmd, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    double took = Now() - start;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(nul);
    return took;
}

HTREEITEM Child(CTreeCtrl& tree, HTREEITEM parent, const char* name)
{
    for (HTREEITEM c = tree.GetChildItem(parent); c; c = tree.GetNextSiblingItem(c))
        if (tree.GetItemText(c).CompareNoCase(name) == 0)
            return c;
    return nullptr;
}

struct Round
{
    double fill, query, expand, queryTree;
    int rows, items;
};

// One round in a browser of its own, so the tree is expanded afresh. The
// times run until the shown window has painted what changed.
bool TimeRound(Round& r)
{
    CRegEdit browser;
    if (!browser.Create(CRegEdit::IDD, nullptr))
        return false;
    browser.ShowWindow(SW_SHOWNOACTIVATE);
    browser.UpdateWindow();
    double start = Now();
    browser.Values().SelectKey(HKEY_CURRENT_USER, "Software\\PirtBench\\Values\\");
    browser.Values().UpdateWindow();
    r.fill = Now() - start;
    r.rows = browser.Values().GetItemCount();

    CTreeCtrl& tree = browser.Tree();
    HTREEITEM hkcu = tree.GetNextSiblingItem(tree.GetRootItem());
    tree.Expand(hkcu, TVE_EXPAND);
    HTREEITEM software = Child(tree, hkcu, "Software");
    tree.Expand(software, TVE_EXPAND);
    HTREEITEM bench = Child(tree, software, "PirtBench");
    start = Now();
    tree.Expand(bench, TVE_EXPAND); // gives each of the keys its place
    HTREEITEM keysItem = Child(tree, bench, "Keys");
    tree.Expand(keysItem, TVE_EXPAND); // gives each of them its subkey
    tree.UpdateWindow();
    r.expand = Now() - start;
    r.items = (int)tree.GetCount();
    browser.DestroyWindow();
    r.query = TimeCommand("reg.exe query HKCU\\Software\\PirtBench\\Values");
    r.queryTree = TimeCommand("reg.exe query HKCU\\Software\\PirtBench\\Keys /s");
    return r.query > 0 && r.queryTree > 0;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A figure beside its limit, the ratio of the medians and the median of the
// rounds' own ratios (a slow spell of the machine hits a whole round).
void PrintFigure(const char* what, const std::vector<double>& times, const char* limitName,
                 const std::vector<double>& limits)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < times.size(); ++i)
        ratios.push_back(times[i] / limits[i]);
    double t = Median(times), l = Median(limits), ratio = t / l, paired = Median(ratios);
    printf("%s: %.3f s, limit %s: %.3f s, ratio %.2f, median of per-round ratios %.2f (target <= 1): %s\n", what, t,
           limitName, l, ratio, paired, paired <= 1.0 ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv)
{
    int values = argc > 1 ? atoi(argv[1]) : 10000;
    int keys = argc > 2 ? atoi(argv[2]) : 5000;
    int rounds = argc > 3 ? atoi(argv[3]) : 3;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    SHDeleteKeyA(HKEY_CURRENT_USER, kBench);
    double start = Now();
    Seed(values, keys);
    printf("seeding %d values and %d keys: %.3f s\n", values, keys, Now() - start);

    std::vector<double> fills, queries, expands, queryTrees;
    for (int i = 0; i < rounds; ++i) {
        Round r;
        if (!TimeRound(r)) {
            fprintf(stderr, "round %d: the registry browser did not open or reg query did not run\n", i + 1);
            SHDeleteKeyA(HKEY_CURRENT_USER, kBench);
            return 1;
        }
        printf("round %d: value list (%d rows) %.3f s, reg query %.3f s; tree (%d items) %.3f s, reg query /s %.3f s\n",
               i + 1, r.rows, r.fill, r.query, r.items, r.expand, r.queryTree);
        fills.push_back(r.fill);
        queries.push_back(r.query);
        expands.push_back(r.expand);
        queryTrees.push_back(r.queryTree);
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, kBench);
    if (rounds < 1)
        return 1;
    PrintFigure("value list", fills, "reg query", queries);
    PrintFigure("tree expansion", expands, "reg query /s", queryTrees);
    return 0;
}
