// Seeding helpers for the browser tests: the browsers are not installed in
// the test prefix, so each test lays out the folders, files and keys it needs
// in the prefix's user profile and removes them again.
#pragma once
#include "fw/framework.h"
#include "testsupport.h"
#include "pirt.h"
#include "BrowserFunctions.h"
#include <gtest/gtest.h>
#include <shlobj.h>

namespace browsers_test {

inline CString ShellFolder(int csidl) { return GetShellFolderPath(csidl | CSIDL_FLAG_CREATE); }

inline CString AppData() { return ShellFolder(CSIDL_APPDATA); }
inline CString LocalAppData() { return ShellFolder(CSIDL_LOCAL_APPDATA); }
inline CString CookieFolder() { return ShellFolder(CSIDL_COOKIES); }

inline bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Writes a file, creating its folders.
inline void Seed(const CString& path, const char* text = "trace")
{
    CString folder = path.Left(path.ReverseFind('\\'));
    ASSERT_TRUE(CreateFullPath(folder)) << (const char*)folder;
    ASSERT_TRUE(pirt_test::WriteFileText(path, text)) << (const char*)path;
}

inline CString Text(const char* key) { return GetLngString("General", key); }
inline CString BrisvaneText(const char* key) { return GetLngString("Brisvane", key); }

// Holds a file open without sharing, as a running browser does.
class CHeldOpen
{
public:
    explicit CHeldOpen(const char* path)
        : m_file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    bool IsOpen() const { return m_file.IsValid(); }

private:
    CHandle m_file;
};

// Fresh user data (English texts) and no browser data at all.
class BrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pirt_test::ResetDataRoots();
        RemoveBrowsers();
    }
    void TearDown() override { RemoveBrowsers(); }

    static void RemoveBrowsers()
    {
        const char* const roaming[] = {"\\Mozilla",       "\\Netscape",    "\\Opera",          "\\Apple Computer",
                                       "\\Avant Browser", "\\SlimBrowser", "\\Enigma Browser", "\\ElsewhereProfile"};
        for (const char* name : roaming)
            pirt_test::DeleteTree(AppData() + name);
        const char* const local[] = {"\\Mozilla", "\\Opera", "\\Google", "\\Apple Computer"};
        for (const char* name : local)
            pirt_test::DeleteTree(LocalAppData() + name);
        pirt_test::DeleteTree(CookieFolder());
        CreateFullPath(CookieFolder());
    }

    // Row i: text key + " " + item, and image.
    void ExpectRow(int row, const char* key, const CString& item, int image)
    {
        ASSERT_LT(row, host.RowCount());
        EXPECT_STREQ((const char*)(Text(key) + " " + item), (const char*)host.RowText(row));
        EXPECT_EQ(image, host.RowImage(row)) << (const char*)host.RowText(row);
    }

    // The single row pair of an operation that found nothing to delete.
    void ExpectNothingToDelete(int result)
    {
        EXPECT_EQ(1, result);
        ASSERT_EQ(1, host.RowCount());
        ExpectRow(0, "24060", BrisvaneText("10145"), REPORT_IMAGE_DONE);
        EXPECT_EQ(1, host.ProgressHigh());
        EXPECT_EQ(1, host.ProgressPos());
    }

    pirt_test::CReportHost host;
};

} // namespace browsers_test
