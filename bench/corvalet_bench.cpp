// Times the plug-in builder's registry browser against Wine's "reg query":
// seeds HKCU\Software\PirtBench with a key of 10,000 values of mixed types
// and a key of 5,000 subkeys (one subkey each), then times, in process, the
// value list filling the first key and the tree expanding the second, and
// "reg query" on the first and "reg query /s" on the second. Prints the
// times and removes the keys. Used by bench/corvalet-registry.sh; not a test.
#include "RegEdit.h"
#include <shlwapi.h>
#include <cstdio>
#include <cstdlib>

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

} // namespace

int main(int argc, char** argv)
{
    int values = argc > 1 ? atoi(argv[1]) : 10000;
    int keys = argc > 2 ? atoi(argv[2]) : 5000;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    SHDeleteKeyA(HKEY_CURRENT_USER, kBench);
    double start = Now();
    Seed(values, keys);
    printf("seeding %d values and %d keys: %.3f s\n", values, keys, Now() - start);

    double fill = 0, expand = 0, expandParent = 0;
    int rows = 0, items = 0;
    {
        CRegEdit browser;
        if (!browser.Create(CRegEdit::IDD, nullptr)) {
            fprintf(stderr, "the registry browser did not open\n");
            return 1;
        }
        start = Now();
        browser.Values().SelectKey(HKEY_CURRENT_USER, "Software\\PirtBench\\Values\\");
        fill = Now() - start;
        rows = browser.Values().GetItemCount();

        CTreeCtrl& tree = browser.Tree();
        HTREEITEM hkcu = tree.GetNextSiblingItem(tree.GetRootItem());
        tree.Expand(hkcu, TVE_EXPAND);
        HTREEITEM software = Child(tree, hkcu, "Software");
        tree.Expand(software, TVE_EXPAND);
        HTREEITEM bench = Child(tree, software, "PirtBench");
        start = Now();
        tree.Expand(bench, TVE_EXPAND); // gives each of the 5,000 keys its place
        expandParent = Now() - start;
        HTREEITEM keysItem = Child(tree, bench, "Keys");
        start = Now();
        tree.Expand(keysItem, TVE_EXPAND); // gives each of them its subkey
        expand = Now() - start;
        items = (int)tree.GetCount();
        browser.DestroyWindow();
    }
    double query = TimeCommand("reg.exe query HKCU\\Software\\PirtBench\\Values");
    double queryTree = TimeCommand("reg.exe query HKCU\\Software\\PirtBench\\Keys /s");
    SHDeleteKeyA(HKEY_CURRENT_USER, kBench);

    printf("value list, %d rows:                  %.3f s\n", rows, fill);
    printf("reg query (values):                     %.3f s\n", query);
    printf("tree, expanding PirtBench:              %.3f s\n", expandParent);
    printf("tree, expanding Keys (%d items in all): %.3f s\n", items, expand);
    printf("reg query /s (keys):                    %.3f s\n", queryTree);
    printf("ratio value list / reg query:           %.2f\n", query > 0 ? fill / query : 0.0);
    printf("ratio tree (both expansions) / reg query /s: %.2f\n",
           queryTree > 0 ? (expand + expandParent) / queryTree : 0.0);
    return 0;
}
