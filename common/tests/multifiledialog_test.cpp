// The multi-select dialog driven under the test display: files are selected in
// the dialog's own list view and OK is pressed, as a user would.
#include "multifiledialog.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

// The bytes of a literal with embedded NULs, its closing NUL included.
template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N);
}

// What the timer driver does with the dialog once its list shows the files.
struct Driver
{
    int expectedItems; // items the list must show before selecting
    int selectIndex;   // -1: all
    int stage;
    int ticks;
};
Driver g_driver;

BOOL CALLBACK FindDialog(HWND wnd, LPARAM found)
{
    char name[32];
    GetClassNameA(wnd, name, sizeof(name));
    if (strcmp(name, "#32770") == 0 && IsWindowVisible(wnd)) {
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindListView(HWND wnd, LPARAM found)
{
    char name[32];
    GetClassNameA(wnd, name, sizeof(name));
    if (strcmp(name, "SysListView32") == 0) {
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr)
        return;
    if (++g_driver.ticks > 400) { // about 20 s: give up rather than hang
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    HWND list = nullptr;
    EnumChildWindows(dialog, FindListView, reinterpret_cast<LPARAM>(&list));
    if (list == nullptr)
        return;
    if (g_driver.stage == 0 && ListView_GetItemCount(list) == g_driver.expectedItems) {
        ListView_SetItemState(list, g_driver.selectIndex, LVIS_SELECTED, LVIS_SELECTED);
        g_driver.stage = 1;
    } else if (g_driver.stage == 1) {
        g_driver.stage = 2;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }
}

// Records the selection text that the dialog shows at each change.
class CRecordingDialog : public CMultiFileDialog
{
public:
    CRecordingDialog(const char* folder, char* buffer, DWORD size)
        : CMultiFileDialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY)
    {
        m_ofn.lpstrFile = buffer;
        m_ofn.nMaxFile = size;
        m_ofn.lpstrInitialDir = folder;
    }
    CString lastSpec;
    CString lastFolder;
    int changes = 0;

protected:
    void OnFileNameChange() override
    {
        ++changes;
        lastSpec = GetSpec();
        lastFolder = GetFolderPath();
        CMultiFileDialog::OnFileNameChange();
    }
};

INT_PTR RunDriven(CRecordingDialog& dialog, int expectedItems, int selectIndex)
{
    g_driver = Driver{expectedItems, selectIndex, 0, 0};
    UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveDialog);
    INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    return result;
}

// The names of a selection text, quotes removed, in their order.
std::vector<CString> NamesOf(const CString& spec)
{
    std::vector<CString> names;
    int pos = 0;
    while ((pos = spec.Find('"', pos)) >= 0) {
        int end = spec.Find('"', pos + 1);
        if (end < 0)
            break;
        names.push_back(spec.Mid(pos + 1, end - pos - 1));
        pos = end + 1;
    }
    return names;
}

std::vector<CString> Iterate(CMultiFileDialog& dialog)
{
    std::vector<CString> paths;
    POSITION pos = dialog.GetStartPosition();
    while (pos != nullptr && paths.size() < 10000)
        paths.push_back(dialog.GetNextPathName(pos));
    return paths;
}

} // namespace

TEST(MultiFileDialog, FiveHundredLongNamesThroughASmallBuffer)
{
    pirt_test::CScratchFolder scratch("multiselect");
    std::set<CString> expected;
    for (int i = 0; i < 500; ++i) {
        char name[128];
        snprintf(name, sizeof(name), "a rather long file name for the selection test number %04d.txt", i);
        ASSERT_TRUE(pirt_test::WriteFileText(scratch(name), "x"));
        expected.insert(scratch(name));
    }

    char buffer[260] = "";
    CRecordingDialog dialog(scratch.Path(), buffer, sizeof(buffer));
    ASSERT_EQ(IDOK, RunDriven(dialog, 500, -1));
    EXPECT_GT(dialog.changes, 0);

    std::vector<CString> names = NamesOf(dialog.lastSpec);
    ASSERT_EQ(500u, names.size());
    std::vector<CString> paths = Iterate(dialog);
    ASSERT_EQ(500u, paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_STREQ(scratch.Path() + "\\" + names[i], paths[i]);
    EXPECT_EQ(expected, std::set<CString>(paths.begin(), paths.end()));
}

TEST(MultiFileDialog, ASelectionThatFitsUsesTheCallersBuffer)
{
    pirt_test::CScratchFolder scratch("multifit");
    ASSERT_TRUE(pirt_test::WriteFileText(scratch("one.txt"), "x"));
    ASSERT_TRUE(pirt_test::WriteFileText(scratch("two.txt"), "x"));

    char buffer[1024] = "";
    CRecordingDialog dialog(scratch.Path(), buffer, sizeof(buffer));
    ASSERT_EQ(IDOK, RunDriven(dialog, 2, -1));
    // The caller's buffer holds the folder and the names.
    EXPECT_STRCASEEQ(scratch.Path(), buffer);
    std::vector<CString> paths = Iterate(dialog);
    ASSERT_EQ(2u, paths.size());
    EXPECT_EQ((std::set<CString>{scratch("one.txt"), scratch("two.txt")}),
              std::set<CString>(paths.begin(), paths.end()));
}

TEST(MultiFileDialog, ASingleLongNameIsNotLost)
{
    pirt_test::CScratchFolder scratch("multisingle");
    CString name = "a single file whose name alone is longer than the buffer of the caller.txt";
    ASSERT_TRUE(pirt_test::WriteFileText(scratch(name), "x"));

    char buffer[48] = "";
    CRecordingDialog dialog(scratch.Path(), buffer, sizeof(buffer));
    ASSERT_EQ(IDOK, RunDriven(dialog, 1, 0));
    std::vector<CString> paths = Iterate(dialog);
    ASSERT_EQ(1u, paths.size());
    EXPECT_STREQ(scratch(name), paths[0]);
}

TEST(FileDialog, IteratesExplorerBuffers)
{
    // Buffers as the dialog leaves them, without showing it: each with its
    // closing NUL counted, so a list ends in two.
    const struct
    {
        std::string buffer;
        std::vector<const char*> paths;
    } cases[] = {
        {Bytes("C:\\folder\0a.txt\0b.txt\0"), {"C:\\folder\\a.txt", "C:\\folder\\b.txt"}},
        {Bytes("C:\\folder\\only.txt\0"), {"C:\\folder\\only.txt"}},
        // A drive root does not get a second backslash.
        {Bytes("C:\\\0x.txt\0y.txt\0"), {"C:\\x.txt", "C:\\y.txt"}},
        {Bytes("\0\0\0"), {}},
    };
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT | OFN_EXPLORER);
    for (const auto& c : cases) {
        std::vector<char> file(c.buffer.begin(), c.buffer.end());
        dialog.m_ofn.lpstrFile = file.data();
        dialog.m_ofn.nMaxFile = (DWORD)file.size();
        POSITION pos = dialog.GetStartPosition();
        for (const char* expected : c.paths) {
            ASSERT_TRUE(pos != nullptr) << expected;
            EXPECT_STREQ(expected, dialog.GetNextPathName(pos));
        }
        EXPECT_TRUE(pos == nullptr);
    }
}
