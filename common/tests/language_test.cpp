// Language texts and their setters.
#include <gtest/gtest.h>
#include "pirt.h"
#include "testsupport.h"
#include <string>

using namespace pirt_test;

namespace {

// A seeded profile whose language choice names a file of the test's own.
class LanguageTest : public ::testing::Test
{
protected:
    LanguageTest() : folder("language") {}
    void SetUp() override
    {
        ResetDataRoots();
        const std::string longText(300, 'L');
        WriteFileText(folder("One.lng"), ("[General]\r\n24020=Working\r\n24021=50%% done\r\n24022=" + longText +
                                          "\r\n[Brisvane]\r\n100=Caption\r\n")
                                             .c_str());
        WriteFileText(folder("Two.lng"), "[General]\r\n24020=Arbeite\r\n");
        Choose(folder("One.lng"));
    }
    void Choose(const CString& file) { WritePrivateProfileStringA("Pirt", "LngPath", file, GetIniPath(INI_PIRT)); }
    CScratchFolder folder;
};

struct RecordingMenu
{
    UINT item = 0;
    UINT flags = 0;
    CString text;
    int calls = 0;
    void SetItemText(UINT i, CString t, UINT f)
    {
        item = i;
        text = t;
        flags = f;
        ++calls;
    }
};

} // namespace

TEST_F(LanguageTest, LookupFollowsTheChosenFile)
{
    EXPECT_STREQ(folder("One.lng"), GetLngPath());
    EXPECT_STREQ("Working", GetLngString("General", "24020"));
    EXPECT_STREQ("50% done", GetLngString("General", "24021"));
    EXPECT_STREQ(CString(std::string(254, 'L').c_str()), GetLngString("General", "24022"));
    EXPECT_STREQ("", GetLngString("General", "99999"));
    EXPECT_STREQ("", GetLngString("Missing", "24020"));
    // No fall-back to another section.
    EXPECT_STREQ("", GetLngString("Brisvane", "24020"));

    Choose(folder("Two.lng"));
    EXPECT_STREQ("Arbeite", GetLngString("General", "24020"));

    // Inside a pass (a run) the choice is looked at once, so the run's rows
    // keep one language; the first lookup after it sees the new choice.
    {
        CRunPass run;
        EXPECT_STREQ("Arbeite", GetLngString("General", "24020"));
        Choose(folder("One.lng"));
        EXPECT_STREQ("Arbeite", GetLngString("General", "24020"));
    }
    EXPECT_STREQ("Working", GetLngString("General", "24020"));

    // No choice, or a missing file: empty texts (and never the Windows INI).
    Choose(folder("Gone.lng"));
    EXPECT_STREQ("", GetLngString("General", "24020"));
    WritePrivateProfileStringA("Pirt", "LngPath", nullptr, GetIniPath(INI_PIRT));
    EXPECT_STREQ("", GetLngPath());
    EXPECT_STREQ("", GetLngString("windows", "load"));
}

TEST_F(LanguageTest, SettersPutTextsOnWindowsAndMenus)
{
    HWND parent = CreateWindowExA(0, "STATIC", "old", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "old", WS_CHILD, 0, 0, 50, 20, parent, (HMENU)(INT_PTR)42,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent != nullptr && child != nullptr);
    char text[300] = "";

    SetWindowLngText(parent, "Brisvane", "100");
    GetWindowTextA(parent, text, sizeof(text));
    EXPECT_STREQ("Caption", text);

    SetDlgItemLngText(parent, 42, "General", "24021");
    GetWindowTextA(child, text, sizeof(text));
    EXPECT_STREQ("50% done", text);
    SetDlgItemLngText(parent, 43, "General", "24021"); // no such control: nothing happens
    DestroyWindow(parent);

    RecordingMenu menu;
    SetMenuLngText(&menu, 3, MF_BYPOSITION, "General", "24020", 1);
    EXPECT_EQ(1, menu.calls);
    EXPECT_EQ(3u, menu.item);
    EXPECT_EQ((UINT)MF_BYPOSITION, menu.flags);
    EXPECT_STREQ(" Working ", menu.text);
    SetMenuLngText(&menu, 1001, MF_BYCOMMAND, "General", "24020", 0);
    EXPECT_STREQ("Working", menu.text);
    EXPECT_EQ(1001u, menu.item);
}

namespace {
// Sets a file's last write back by an hour, as an installed file has it.
void Age(const CString& path)
{
    HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= 3600ULL * 10000000ULL;
    FILETIME old = {t.LowPart, t.HighPart};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &old));
    CloseHandle(file);
}
} // namespace

// The texts are held in memory: what they give must be what the system's
// profile reader gives for the same file.
TEST_F(LanguageTest, TextsReadAsTheProfileFunctionsReadThem)
{
    const CString file = folder("Odd.lng");
    WriteFileText(file, "orphan=before any section\r\n"
                        "[General]\r\n"
                        "  Spaced  =   padded value  \r\n"
                        "Quoted=\"in quotes\"\r\n"
                        "Single='single'\r\n"
                        "Half=\"half\r\n"
                        "Twice=first\r\n"
                        "TWICE=second\r\n"
                        "Empty=\r\n"
                        "novalue\r\n"
                        "Inner=a=b\r\n"
                        "[ general ]\r\n"
                        "Later=second section\r\n"
                        "[Other]\r\n"
                        "Spaced=other\r\n"
                        "[Broken\r\n"
                        "InBroken=x\r\n");
    Age(file);
    Choose(file);
    const char* lookups[][2] = {
        {"General", "Spaced"},  {"general", "SPACED"}, {"General", "Quoted"}, {"General", "Single"},
        {"General", "Half"},    {"General", "Twice"},  {"General", "Empty"},  {"General", "novalue"},
        {"General", "Inner"},   {"General", "Later"},  {"Other", "Spaced"},   {"", "orphan"},
        {"Broken", "InBroken"}, {"Other", "InBroken"}, {"General", "orphan"},
    };
    for (const auto& l : lookups) {
        char expected[255] = "";
        GetPrivateProfileStringA(l[0], l[1], "", expected, sizeof(expected), file);
        EXPECT_STREQ(expected, GetLngString(l[0], l[1])) << l[0] << "/" << l[1];
    }
}

TEST_F(LanguageTest, AChangedFileIsReadAgain)
{
    const CString file = folder("One.lng");
    Age(file);
    Age(GetIniPath(INI_PIRT));
    EXPECT_STREQ("Working", GetLngString("General", "24020"));
    // An installed file replaced by a new version (its time an hour back too).
    WriteFileText(file, "[General]\r\n24020=Working again\r\n");
    Age(file);
    EXPECT_STREQ("Working again", GetLngString("General", "24020"));
    // Another choice in the suite INI.
    Choose(folder("Two.lng"));
    Age(folder("Two.lng"));
    Age(GetIniPath(INI_PIRT));
    EXPECT_STREQ("Arbeite", GetLngString("General", "24020"));
}
