// Firefox traces in a seeded profile.
#include "BrowserTestEnv.h"

using namespace browsers_test;

namespace {
class FirefoxTest : public BrowserTest
{
protected:
    CString Firefox() { return AppData() + "\\Mozilla\\Firefox"; }
    CString Profile() { return Firefox() + "\\Profiles\\ab12.default"; }
    CString LocalProfile() { return LocalAppData() + "\\Mozilla\\Firefox\\Profiles\\ab12.default"; }

    void SeedRelativeProfile()
    {
        Seed(Firefox() + "\\profiles.ini",
             "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/ab12.default\r\n");
        Seed(Profile() + "\\prefs.js");
    }
};
} // namespace

TEST_F(FirefoxTest, HistoryRemovesAllThreeFilesAndNamesTheDatabase)
{
    SeedRelativeProfile();
    Seed(Profile() + "\\places.sqlite");
    Seed(Profile() + "\\places.sqlite-journal");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.FirefoxHistory(host.List(), host.Progress(), 0, ""));
    ASSERT_EQ(1, host.RowCount());
    ExpectRow(0, "24070", Profile() + "\\places.sqlite", REPORT_IMAGE_DONE);
    EXPECT_EQ(1, host.ProgressPos());
    EXPECT_FALSE(Exists(Profile() + "\\places.sqlite"));
    EXPECT_FALSE(Exists(Profile() + "\\places.sqlite-journal"));
    EXPECT_TRUE(Exists(Profile() + "\\prefs.js"));

    // Nothing left: the old history file is named, done.
    EXPECT_EQ(1, browsers.FirefoxDropList(host.List(), host.Progress(), 0, ""));
    ASSERT_EQ(2, host.RowCount());
    ExpectRow(1, "24070", Profile() + "\\history.dat", REPORT_IMAGE_DONE);
}

TEST_F(FirefoxTest, AbsoluteProfileIsCleanedWhereItIs)
{
    CString elsewhere = AppData() + "\\ElsewhereProfile\\ff";
    Seed(Firefox() + "\\profiles.ini", "[Profile0]\r\nIsRelative=0\r\nPath=" + elsewhere + "\r\n");
    Seed(elsewhere + "\\cookies.sqlite");
    Seed(elsewhere + "\\Cookies.txt");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.FirefoxCookies(host.List(), host.Progress(), 0, ""));
    ExpectRow(0, "24070", elsewhere + "\\Cookies.txt", REPORT_IMAGE_DONE);
    EXPECT_FALSE(Exists(elsewhere + "\\cookies.sqlite"));
    EXPECT_FALSE(Exists(elsewhere + "\\Cookies.txt"));
}

TEST_F(FirefoxTest, NoUsableProfileTouchesNothing)
{
    // Files at the Firefox folder itself, which an empty profile path would name.
    Seed(Firefox() + "\\places.sqlite");
    Seed(Firefox() + "\\cookies.sqlite");
    Seed(Firefox() + "\\Cache\\entry");
    const char* const inis[] = {nullptr, "[Profile0]\r\nIsRelative=1\r\nPath=\r\n",
                                "[Profile0]\r\nIsRelative=0\r\nPath=Cache\r\n"};
    for (const char* ini : inis) {
        if (ini != nullptr)
            Seed(Firefox() + "\\profiles.ini", ini);
        typedef int (CBrowserFunctions::*Op)(CListCtrl*, CProgressCtrl*, unsigned int, CString);
        const Op ops[] = {&CBrowserFunctions::FirefoxHistory,    &CBrowserFunctions::FirefoxCookies,
                          &CBrowserFunctions::FirefoxDLList,     &CBrowserFunctions::FirefoxCompleteForms,
                          &CBrowserFunctions::FirefoxCompletePW, &CBrowserFunctions::FirefoxBookmarks,
                          &CBrowserFunctions::FirefoxTemp,       &CBrowserFunctions::FirefoxDropList};
        for (Op op : ops) {
            pirt_test::CReportHost fresh;
            CBrowserFunctions browsers;
            EXPECT_EQ(1, (browsers.*op)(fresh.List(), fresh.Progress(), 0, ""));
            ASSERT_EQ(1, fresh.RowCount());
            EXPECT_STREQ((const char*)(Text("24060") + " " + BrisvaneText("10145")), (const char*)fresh.RowText(0));
            EXPECT_EQ(REPORT_IMAGE_DONE, fresh.RowImage(0));
        }
    }
    EXPECT_TRUE(Exists(Firefox() + "\\places.sqlite"));
    EXPECT_TRUE(Exists(Firefox() + "\\cookies.sqlite"));
    EXPECT_TRUE(Exists(Firefox() + "\\Cache\\entry"));
}

TEST_F(FirefoxTest, FileHeldOpenByTheBrowserFailsTheRow)
{
    SeedRelativeProfile();
    Seed(Profile() + "\\history.dat");
    Seed(Profile() + "\\places.sqlite");
    CHeldOpen held(Profile() + "\\places.sqlite");
    ASSERT_TRUE(held.IsOpen());
    CBrowserFunctions browsers;
    EXPECT_EQ(0, browsers.FirefoxHistory(host.List(), host.Progress(), 0, ""));
    ASSERT_EQ(1, host.RowCount());
    ExpectRow(0, "24050", Profile() + "\\places.sqlite", REPORT_IMAGE_FAILED);
    EXPECT_FALSE(Exists(Profile() + "\\history.dat"));
}

TEST_F(FirefoxTest, PasswordsAreRemovedFromEveryStore)
{
    SeedRelativeProfile();
    Seed(Profile() + "\\signons.txt");
    Seed(Profile() + "\\signons2.txt");
    Seed(Profile() + "\\signons.sqlite");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.FirefoxCompletePW(host.List(), host.Progress(), 0, ""));
    ExpectRow(0, "24070", Profile() + "\\signons.txt", REPORT_IMAGE_DONE);
    EXPECT_FALSE(Exists(Profile() + "\\signons.txt"));
    EXPECT_FALSE(Exists(Profile() + "\\signons2.txt"));
    EXPECT_FALSE(Exists(Profile() + "\\signons.sqlite"));

    // Only the database: the row names it.
    Seed(Profile() + "\\signons.sqlite");
    EXPECT_EQ(1, browsers.FirefoxCompletePW(host.List(), host.Progress(), 0, ""));
    ExpectRow(1, "24070", Profile() + "\\signons.sqlite", REPORT_IMAGE_DONE);
    EXPECT_FALSE(Exists(Profile() + "\\signons.sqlite"));
}

TEST_F(FirefoxTest, CacheOfRoamingProfileFirstAndOfflineCacheAlways)
{
    SeedRelativeProfile();
    Seed(Profile() + "\\Cache\\a\\b");
    Seed(LocalProfile() + "\\Cache\\c");
    Seed(LocalProfile() + "\\OfflineCache\\d");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.FirefoxTemp(host.List(), host.Progress(), 0, ""));
    ExpectRow(0, "24060", BrisvaneText("10140"), REPORT_IMAGE_DONE);
    EXPECT_FALSE(Exists(Profile() + "\\Cache\\a"));
    EXPECT_TRUE(Exists(Profile() + "\\Cache"));
    EXPECT_TRUE(Exists(LocalProfile() + "\\Cache\\c"));
    EXPECT_FALSE(Exists(LocalProfile() + "\\OfflineCache\\d"));

    // Without a roaming cache the local one is emptied; a held file fails it.
    pirt_test::DeleteTree(Profile() + "\\Cache");
    CHeldOpen held(LocalProfile() + "\\Cache\\c");
    EXPECT_EQ(0, browsers.FirefoxTemp(host.List(), host.Progress(), 0, ""));
    ExpectRow(1, "24030", BrisvaneText("10140"), REPORT_IMAGE_FAILED);
}

TEST_F(FirefoxTest, NetscapeProfileByDisplayName)
{
    CString ns = AppData() + "\\Netscape\\NSB";
    Seed(ns + "\\profiles.ini", "[Profile0]\r\nDisplayName=Work\r\nPath=Profiles\\work\r\n"
                                "[Profile1]\r\nDisplayName=Home\r\nPath=Profiles\\home\r\n");
    Seed(ns + "\\Profiles\\home\\formhistory.dat");
    Seed(ns + "\\Profiles\\work\\formhistory.dat");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.FirefoxCompleteForms(host.List(), host.Progress(), 1, "Home"));
    EXPECT_FALSE(Exists(ns + "\\Profiles\\home\\formhistory.dat"));
    EXPECT_TRUE(Exists(ns + "\\Profiles\\work\\formhistory.dat"));
}

TEST_F(FirefoxTest, BookmarksTwoRowsAndLoggedUnderTheirOperation)
{
    SeedRelativeProfile();
    Seed(Profile() + "\\bookmarks.bak");
    WritePrivateProfileStringA("Preferences", "BrowserLogging", "yes", GetIniPath(INI_BRISVANE));
    CString log = AppData() + "\\Talvery\\Pirt\\pirt.log";
    {
        CBrowserFunctions browsers;
        EXPECT_EQ(1, browsers.FirefoxBookmarks(host.List(), host.Progress(), 0, ""));
    }
    ASSERT_EQ(2, host.RowCount());
    ExpectRow(0, "24060", Profile() + "\\bookmarks.html", REPORT_IMAGE_DONE);
    ExpectRow(1, "24070", Profile() + "\\bookmarks.bak", REPORT_IMAGE_DONE);
    EXPECT_EQ(2, host.ProgressPos());
    EXPECT_FALSE(Exists(Profile() + "\\bookmarks.bak"));

    std::vector<char> bytes = pirt_test::ReadFileBytes(log);
    ASSERT_EQ(3u * LOG_RECORD_SIZE, bytes.size());
    const char* second = &bytes[2 * LOG_RECORD_SIZE];
    EXPECT_EQ(0, memcmp(second + LOG_MODULE_OFFSET, "browsers.dll", 13));
    EXPECT_EQ(0, memcmp(second + LOG_PROCEDURE_OFFSET, "FirefoxBookmarks", 17));
    CString event = Text("24070") + " " + Profile() + "\\bookmarks.bak";
    EXPECT_EQ(0, strncmp(second + LOG_EVENT_OFFSET, event, LOG_EVENT_WIDTH));
}
