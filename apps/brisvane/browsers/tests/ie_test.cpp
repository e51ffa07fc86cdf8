// Internet Explorer traces: cookies with the keep list, registry lists,
// history and cache through the platform.
#include "BrowserTestEnv.h"
#include "fw/handle.h"
#include "CookieKeepList.h"
#include <wininet.h>
#include <shlwapi.h>

using namespace browsers_test;

namespace {
const char* const kIeKey = "Software\\Microsoft\\Internet Explorer";

class IETest : public BrowserTest
{
protected:
    void TearDown() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, CString(kIeKey) + "\\TypedURLs");
        SHDeleteKeyA(HKEY_CURRENT_USER, CString(kIeKey) + "\\IntelliForms");
        BrowserTest::TearDown();
    }

    CString Cookie(const char* name) { return CookieFolder() + "\\" + name; }

    // Cookie files in the cookie folder, and the keep list naming kept.
    void SeedCookies(std::initializer_list<const char*> files, std::initializer_list<const char*> kept)
    {
        for (const char* name : files)
            Seed(Cookie(name));
        ASSERT_EQ(1, WriteCookieKeepList(std::vector<CString>(kept.begin(), kept.end())));
    }

    void SeedKey(const CString& path, const char* value)
    {
        CRegKeyHandle key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 key.Receive(), nullptr));
        RegSetValueExA(key, value, 0, REG_SZ, (const BYTE*)"x", 2);
        key.Close();
    }

    bool KeyExists(const CString& path)
    {
        CRegKeyHandle key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
            return false;
        return true;
    }
};
} // namespace

TEST_F(IETest, KeepListIsOneFileInTheDataRootReadWithoutRegardToCase)
{
    EXPECT_STREQ((const char*)(AppData() + "\\Zex\\Ulmoro\\organize\\IECookies.keep"),
                 (const char*)GetCookieKeepListPath());
    std::vector<CString> names;
    // A missing list reads as empty and is created with its folder.
    EXPECT_EQ(1, ReadCookieKeepList(names));
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(Exists(GetCookieKeepListPath()));

    std::vector<CString> written;
    written.push_back("me@site[1].txt");
    written.push_back("me@other[2].txt");
    EXPECT_EQ(1, WriteCookieKeepList(written));
    std::vector<char> bytes = pirt_test::ReadFileBytes(GetCookieKeepListPath());
    EXPECT_EQ("me@site[1].txt\r\nme@other[2].txt\r\n", std::string(bytes.begin(), bytes.end()));

    pirt_test::WriteFileText(GetCookieKeepListPath(), "a.txt\r\n\r\nb.txt\nc.txt");
    EXPECT_EQ(1, ReadCookieKeepList(names));
    ASSERT_EQ(3u, names.size());
    EXPECT_STREQ("c.txt", (const char*)names[2]);
    EXPECT_TRUE(IsCookieKept(names, "B.TXT"));
    EXPECT_FALSE(IsCookieKept(names, "b.txt2"));
    EXPECT_FALSE(IsCookieKept(names, "b"));
}

TEST_F(IETest, CookiesDeletedExceptTheKeptOnes)
{
    // Kept names differ from the files in case only; one names no file.
    SeedCookies({"me@a[1].txt", "me@b[1].txt", "me@c[1].txt", "me@d[1].txt", "me@e[1].txt", "index.dat"},
                {"ME@B[1].TXT", "me@D[1].txt", "gone@x[1].txt"});

    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.IECookies(host.List(), host.Progress()));
    EXPECT_EQ(3, host.ProgressHigh());
    EXPECT_EQ(3, host.ProgressPos());
    ASSERT_EQ(3, host.RowCount());
    ExpectRow(0, "24060", Cookie("me@a[1].txt"), REPORT_IMAGE_DONE);
    ExpectRow(2, "24060", Cookie("me@e[1].txt"), REPORT_IMAGE_DONE);
    EXPECT_TRUE(Exists(Cookie("me@b[1].txt")));
    EXPECT_TRUE(Exists(Cookie("me@d[1].txt")));
    EXPECT_TRUE(Exists(Cookie("index.dat")));
    EXPECT_FALSE(Exists(Cookie("me@a[1].txt")));
    EXPECT_FALSE(Exists(Cookie("me@c[1].txt")));
    EXPECT_FALSE(Exists(Cookie("me@e[1].txt")));
}

TEST_F(IETest, MoreKeptNamesThanCookiesStillDeletesTheOthers)
{
    SeedCookies({"me@a[1].txt", "me@b[1].txt"}, {"x.txt", "y.txt", "z.txt"});
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.IECookies(host.List(), host.Progress()));
    EXPECT_EQ(2, host.RowCount());
    EXPECT_FALSE(Exists(Cookie("me@a[1].txt")));
    EXPECT_FALSE(Exists(Cookie("me@b[1].txt")));
}

TEST_F(IETest, CookiesNothingToDeleteAndHeldOpen)
{
    SeedCookies({"me@a[1].txt"}, {"me@a[1].txt"});
    CBrowserFunctions browsers;
    ExpectNothingToDelete(browsers.IECookies(host.List(), host.Progress()));
    EXPECT_TRUE(Exists(Cookie("me@a[1].txt")));

    Seed(Cookie("me@b[1].txt"));
    CHeldOpen held(Cookie("me@b[1].txt"));
    EXPECT_EQ(0, browsers.IECookies(host.List(), host.Progress()));
    ExpectRow(1, "24030", Cookie("me@b[1].txt"), REPORT_IMAGE_FAILED);
}

TEST_F(IETest, UnreadableKeepListDeletesNoCookie)
{
    SeedCookies({"me@a[1].txt"}, {"me@a[1].txt"});
    CHeldOpen held(GetCookieKeepListPath());
    ASSERT_TRUE(held.IsOpen());
    CBrowserFunctions browsers;
    EXPECT_EQ(0, browsers.IECookies(host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    ExpectRow(0, "24030", GetCookieKeepListPath(), REPORT_IMAGE_FAILED);
    EXPECT_TRUE(Exists(Cookie("me@a[1].txt")));
}

TEST_F(IETest, RegistryListsRemovedAndMissingOnesAreDone)
{
    SeedKey(CString(kIeKey) + "\\TypedURLs", "url1");
    SeedKey(CString(kIeKey) + "\\IntelliForms\\Storage1", "form");
    SeedKey(CString(kIeKey) + "\\IntelliForms\\Storage2\\Deeper", "pw");
    CBrowserFunctions browsers;
    for (int round = 0; round < 2; round++) {
        pirt_test::CReportHost fresh;
        EXPECT_EQ(1, browsers.IEDropList(fresh.List(), fresh.Progress()));
        EXPECT_EQ(1, browsers.IECompleteForms(fresh.List(), fresh.Progress()));
        EXPECT_EQ(1, browsers.IECompletePW(fresh.List(), fresh.Progress()));
        ASSERT_EQ(3, fresh.RowCount());
        EXPECT_STREQ((const char*)(Text("24060") + " HKCU\\Software\\Microsoft\\Internet Explorer\\TypedURLs"),
                     (const char*)fresh.RowText(0));
        EXPECT_STREQ(
            (const char*)(Text("24060") + " HKCU\\Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1"),
            (const char*)fresh.RowText(1));
        EXPECT_STREQ(
            (const char*)(Text("24060") + " HKCU\\Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2"),
            (const char*)fresh.RowText(2));
        for (int row = 0; row < 3; row++)
            EXPECT_EQ(REPORT_IMAGE_DONE, fresh.RowImage(row));
    }
    EXPECT_FALSE(KeyExists(CString(kIeKey) + "\\TypedURLs"));
    EXPECT_FALSE(KeyExists(CString(kIeKey) + "\\IntelliForms\\Storage1"));
    EXPECT_FALSE(KeyExists(CString(kIeKey) + "\\IntelliForms\\Storage2"));
    EXPECT_TRUE(KeyExists(kIeKey));
}

TEST_F(IETest, HistoryRowFollowsTheClearCall)
{
    CBrowserFunctions browsers;
    int result = browsers.IEHistory(host.List(), host.Progress());
    ASSERT_EQ(1, host.RowCount());
    // Wine cannot clear the URL history (E_NOTIMPL): a failure, and the row
    // says so.
    EXPECT_EQ(0, result);
    ExpectRow(0, "24030", BrisvaneText("10135"), REPORT_IMAGE_FAILED);
    EXPECT_EQ(1, host.ProgressPos());
    // COM stays usable for the caller afterwards.
    EXPECT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    CoUninitialize();
}

TEST_F(IETest, CacheEntriesRemovedExceptCookies)
{
    CString url = "http://browsers.test/page.html";
    char file[MAX_PATH] = "";
    bool seeded = CreateUrlCacheEntryA(url, 0, "html", file, 0) && pirt_test::WriteFileText(file, "<html></html>") &&
                  CommitUrlCacheEntryA(url, file, {}, {}, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr);

    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.IETemp(host.List(), host.Progress()));
    ExpectRow(0, "24060", BrisvaneText("10140"), REPORT_IMAGE_DONE);
    if (seeded) {
        DWORD size = 0;
        GetUrlCacheEntryInfoA(url, nullptr, &size);
        EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());
    }
}

TEST_F(IETest, IndexFileInUseIsNotReportedDone)
{
    CBrowserFunctions browsers;
    // The cache service opens its containers, the cookie index among them,
    // and keeps it open as long as the process runs.
    browsers.IETemp(host.List(), host.Progress());
    CString index = Cookie("index.dat");
    bool inUse = Exists(index) && !CHeldOpen(index).IsOpen();
    if (!Exists(index))
        Seed(index);
    int result = browsers.IEIndexDat(host.List(), host.Progress());
    EXPECT_EQ(4, host.ProgressHigh());
    if (inUse) {
        EXPECT_EQ(0, result);
        ExpectRow(1, "24030", index, REPORT_IMAGE_FAILED);
        EXPECT_TRUE(Exists(index));
    } else {
        EXPECT_EQ(1, result);
        ExpectRow(1, "24060", index, REPORT_IMAGE_DONE);
        EXPECT_FALSE(Exists(index));
    }
}

TEST_F(IETest, FavoritesEmptied)
{
    CString favorites = ShellFolder(CSIDL_FAVORITES);
    Seed(favorites + "\\Links\\site.url");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.IEBookmarks(host.List(), host.Progress()));
    ExpectRow(0, "24060", favorites, REPORT_IMAGE_DONE);
    EXPECT_FALSE(Exists(favorites + "\\Links"));
    EXPECT_TRUE(Exists(favorites));
}
