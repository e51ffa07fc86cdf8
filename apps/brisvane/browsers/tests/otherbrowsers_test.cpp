// Opera, Chrome, Safari and the small browsers in seeded folders.
#include "BrowserTestEnv.h"
#include "HelpFunctions.h"

using namespace browsers_test;

namespace {
class OtherBrowsersTest : public BrowserTest
{
protected:
    CString Opera() { return AppData() + "\\Opera"; }
    CString LocalOpera() { return LocalAppData() + "\\Opera"; }
    CString Chrome() { return LocalAppData() + "\\Google\\Chrome\\User Data\\Default"; }
    CString Safari() { return AppData() + "\\Apple Computer\\Safari"; }
    CString LocalSafari() { return LocalAppData() + "\\Apple Computer\\Safari"; }
};
} // namespace

TEST_F(OtherBrowsersTest, OperaFilesWithTheirWidgetInstallerCopies)
{
    Seed(Opera() + "\\Opera Widget Installer\\typed_history.xml");
    Seed(Opera() + "\\Opera\\global_history.dat");
    Seed(Opera() + "\\Opera Widget Installer\\global_history.dat");
    Seed(Opera() + "\\Opera\\speeddial.ini");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.OperaDropList(host.List(), host.Progress()));
    ExpectRow(0, "24070", Opera() + "\\Opera\\typed_history.xml", REPORT_IMAGE_DONE);
    EXPECT_FALSE(Exists(Opera() + "\\Opera Widget Installer\\typed_history.xml"));
    EXPECT_EQ(1, browsers.OperaHistory(host.List(), host.Progress()));
    EXPECT_FALSE(Exists(Opera() + "\\Opera\\global_history.dat"));
    EXPECT_FALSE(Exists(Opera() + "\\Opera Widget Installer\\global_history.dat"));
    EXPECT_TRUE(Exists(Opera() + "\\Opera\\speeddial.ini"));

    // An Opera that is not installed: the rows say there was nothing, done.
    EXPECT_EQ(1, browsers.OperaCookies(host.List(), host.Progress()));
    EXPECT_EQ(1, browsers.OperaVisitedLinks(host.List(), host.Progress()));
    EXPECT_EQ(1, browsers.OperaDLList(host.List(), host.Progress()));
    ExpectRow(4, "24070", Opera() + "\\Opera\\download.dat", REPORT_IMAGE_DONE);
}

TEST_F(OtherBrowsersTest, OperaPasswordsHeldOpenFail)
{
    Seed(Opera() + "\\Opera\\wand.dat");
    CHeldOpen held(Opera() + "\\Opera\\wand.dat");
    CBrowserFunctions browsers;
    EXPECT_EQ(0, browsers.OperaCompletePW(host.List(), host.Progress()));
    ExpectRow(0, "24050", Opera() + "\\Opera\\wand.dat", REPORT_IMAGE_FAILED);

    // A held widget-installer copy fails the row too: it is not gone.
    Seed(Opera() + "\\Opera Widget Installer\\vlink4.dat");
    CHeldOpen heldWidget(Opera() + "\\Opera Widget Installer\\vlink4.dat");
    EXPECT_EQ(0, browsers.OperaVisitedLinks(host.List(), host.Progress()));
    ExpectRow(1, "24050", Opera() + "\\Opera Widget Installer\\vlink4.dat", REPORT_IMAGE_FAILED);
}

TEST_F(OtherBrowsersTest, OperaBookmarksBothFiles)
{
    Seed(Opera() + "\\opera6.adr");
    Seed(Opera() + "\\opera6.adr.bak");
    CHeldOpen held(Opera() + "\\opera6.adr");
    CBrowserFunctions browsers;
    EXPECT_EQ(0, browsers.OperaBookmarks(host.List(), host.Progress()));
    ASSERT_EQ(2, host.RowCount());
    ExpectRow(0, "24050", Opera() + "\\opera6.adr", REPORT_IMAGE_FAILED);
    ExpectRow(1, "24070", Opera() + "\\opera6.adr.bak", REPORT_IMAGE_DONE);
    EXPECT_EQ(2, host.ProgressHigh());
    EXPECT_EQ(2, host.ProgressPos());
}

TEST_F(OtherBrowsersTest, OperaCachesNineStepsOnOneRow)
{
    Seed(LocalOpera() + "\\Opera\\cache\\sesn\\opr0001.tmp");
    Seed(LocalOpera() + "\\Opera\\speeddial.ini");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.OperaTemp(host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    ExpectRow(0, "24060", LocalOpera() + "\\Opera Widget Installer\\opcache", REPORT_IMAGE_DONE);
    EXPECT_EQ(9, host.ProgressHigh());
    EXPECT_EQ(9, host.ProgressPos());
    EXPECT_FALSE(Exists(LocalOpera() + "\\Opera\\cache\\sesn"));
    EXPECT_TRUE(Exists(LocalOpera() + "\\Opera\\speeddial.ini"));

    // One cache that cannot be emptied fails the operation.
    Seed(LocalOpera() + "\\Opera\\thumbnails\\t.png");
    CHeldOpen held(LocalOpera() + "\\Opera\\thumbnails\\t.png");
    EXPECT_EQ(0, browsers.OperaTemp(host.List(), host.Progress()));
}

TEST_F(OtherBrowsersTest, ChromeHistoryFilesOneRowPairEach)
{
    Seed(Chrome() + "\\History");
    Seed(Chrome() + "\\History-journal");
    Seed(Chrome() + "\\Archived History");
    Seed(Chrome() + "\\Bookmarks");
    CString folder = Chrome() + "\\History Provider Cache";
    CreateFullPath(folder);
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.ChromeHistory(host.List(), host.Progress()));
    EXPECT_EQ(3, host.ProgressHigh());
    EXPECT_EQ(3, host.ProgressPos());
    ASSERT_EQ(3, host.RowCount());
    for (int row = 0; row < 3; row++)
        EXPECT_EQ(REPORT_IMAGE_DONE, host.RowImage(row));
    EXPECT_FALSE(Exists(Chrome() + "\\History"));
    EXPECT_FALSE(Exists(Chrome() + "\\Archived History"));
    EXPECT_TRUE(Exists(Chrome() + "\\Bookmarks"));
    EXPECT_TRUE(Exists(folder));

    pirt_test::CReportHost again;
    CBrowserFunctions second;
    EXPECT_EQ(1, second.ChromeDLList(again.List(), again.Progress()));
    ASSERT_EQ(1, again.RowCount());
    EXPECT_STREQ((const char*)(Text("24060") + " " + BrisvaneText("10145")), (const char*)again.RowText(0));
}

TEST_F(OtherBrowsersTest, ChromeHistoryHeldOpen)
{
    Seed(Chrome() + "\\History");
    Seed(Chrome() + "\\Archived History");
    CHeldOpen held(Chrome() + "\\History");
    CBrowserFunctions browsers;
    EXPECT_EQ(0, browsers.ChromeDropList(host.List(), host.Progress()));
    ASSERT_EQ(2, host.RowCount());
    ExpectRow(0, "24060", Chrome() + "\\Archived History", REPORT_IMAGE_DONE);
    ExpectRow(1, "24030", Chrome() + "\\History", REPORT_IMAGE_FAILED);
}

TEST_F(OtherBrowsersTest, ChromeSingleFiles)
{
    Seed(Chrome() + "\\Cookies");
    Seed(Chrome() + "\\Visited Links");
    Seed(Chrome() + "\\Login Data");
    Seed(Chrome() + "\\Web Data");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.ChromeCookies(host.List(), host.Progress()));
    EXPECT_EQ(1, browsers.ChromeVisitedLinks(host.List(), host.Progress()));
    EXPECT_EQ(1, browsers.ChromeCompletePW(host.List(), host.Progress()));
    CHeldOpen held(Chrome() + "\\Web Data");
    EXPECT_EQ(0, browsers.ChromeCompleteForms(host.List(), host.Progress()));
    ExpectRow(0, "24070", Chrome() + "\\Cookies", REPORT_IMAGE_DONE);
    ExpectRow(3, "24050", Chrome() + "\\Web Data", REPORT_IMAGE_FAILED);
    EXPECT_FALSE(Exists(Chrome() + "\\Cookies"));
    EXPECT_FALSE(Exists(Chrome() + "\\Visited Links"));
    EXPECT_FALSE(Exists(Chrome() + "\\Login Data"));
}

TEST_F(OtherBrowsersTest, ChromeCachesWithALockedCacheFile)
{
    Seed(Chrome() + "\\Cached Theme Images\\a.png");
    Seed(Chrome() + "\\JumpListIcons\\b.ico");
    Seed(Chrome() + "\\Last Session");
    Seed(Chrome() + "\\Thumbnails");
    Seed(Chrome() + "\\Cache\\data_1");
    CHeldOpen held(Chrome() + "\\Cache\\data_1");
    CBrowserFunctions browsers;
    EXPECT_EQ(0, browsers.ChromeTemp(host.List(), host.Progress()));
    ExpectRow(0, "24030", BrisvaneText("10140"), REPORT_IMAGE_FAILED);
    EXPECT_FALSE(Exists(Chrome() + "\\Cached Theme Images\\a.png"));
    EXPECT_FALSE(Exists(Chrome() + "\\JumpListIcons\\b.ico"));
    EXPECT_FALSE(Exists(Chrome() + "\\Last Session"));
    EXPECT_FALSE(Exists(Chrome() + "\\Thumbnails"));
}

TEST_F(OtherBrowsersTest, SafariCachesFiveStepsOnOneRow)
{
    Seed(LocalSafari() + "\\History\\h1");
    Seed(LocalSafari() + "\\Webpage Previews\\p.jpg");
    Seed(LocalSafari() + "\\Cache.db");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.SafariTemp(host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    ExpectRow(0, "24070", LocalSafari() + "\\WebpageIcons.db", REPORT_IMAGE_DONE);
    EXPECT_EQ(5, host.ProgressHigh());
    EXPECT_EQ(5, host.ProgressPos());
    EXPECT_FALSE(Exists(LocalSafari() + "\\History\\h1"));
    EXPECT_FALSE(Exists(LocalSafari() + "\\Webpage Previews\\p.jpg"));
    EXPECT_FALSE(Exists(LocalSafari() + "\\Cache.db"));
}

TEST_F(OtherBrowsersTest, SafariFilesAndCookies)
{
    Seed(Safari() + "\\History.plist");
    Seed(Safari() + "\\LastSession.plist");
    Seed(Safari() + "\\TopSites.plist");
    Seed(Safari() + "\\Form Values.plist");
    Seed(Safari() + "\\Downloads.plist");
    Seed(Safari() + "\\Bookmarks.plist");
    Seed(Safari() + "\\Cookies\\Cookies.plist");
    CBrowserFunctions browsers;
    EXPECT_EQ(1, browsers.SafariVisitedLinks(host.List(), host.Progress()));
    ExpectRow(0, "24070", Safari() + "\\History.plist", REPORT_IMAGE_DONE);
    EXPECT_EQ(1, browsers.SafariCompletePW(host.List(), host.Progress()));
    EXPECT_EQ(1, browsers.SafariDLList(host.List(), host.Progress()));
    EXPECT_EQ(1, browsers.SafariCookies(host.List(), host.Progress()));
    ExpectRow(3, "24060", BrisvaneText("10140"), REPORT_IMAGE_DONE);
    const char* const gone[] = {"\\History.plist",     "\\LastSession.plist", "\\TopSites.plist",
                                "\\Form Values.plist", "\\Downloads.plist",   "\\Cookies\\Cookies.plist"};
    for (const char* name : gone)
        EXPECT_FALSE(Exists(Safari() + name)) << name;
    EXPECT_TRUE(Exists(Safari() + "\\Bookmarks.plist"));
}

TEST_F(OtherBrowsersTest, SmallBrowsersRecentPages)
{
    CString enigma = AppData() + "\\Enigma Browser";
    Seed(enigma + "\\b4closeall.sgp");
    Seed(enigma + "\\lastsession.sgp");
    Seed(enigma + "\\recentclose.ini");
    Seed(AppData() + "\\Avant Browser\\recents.dat");
    CBrowserFunctions browsers;
    {
        CHeldOpen held(enigma + "\\b4closeall.sgp");
        EXPECT_EQ(0, browsers.EnigmaRecent(host.List(), host.Progress()));
    }
    ASSERT_EQ(3, host.RowCount());
    ExpectRow(0, "24050", enigma + "\\b4closeall.sgp", REPORT_IMAGE_FAILED);
    ExpectRow(2, "24070", enigma + "\\recentclose.ini", REPORT_IMAGE_DONE);
    EXPECT_EQ(3, host.ProgressPos());
    EXPECT_FALSE(Exists(enigma + "\\lastsession.sgp"));

    EXPECT_EQ(1, browsers.AvantRecent(host.List(), host.Progress()));
    EXPECT_FALSE(Exists(AppData() + "\\Avant Browser\\recents.dat"));
    EXPECT_EQ(1, browsers.SlimRecent(host.List(), host.Progress()));
    ExpectRow(4, "24070", AppData() + "\\SlimBrowser\\recentclose.ini", REPORT_IMAGE_DONE);
}

namespace {
// Points one of the user's shell folders (both registry lists that the
// lookups read) at another value for as long as the object lives.
class CShellFolderOverride
{
public:
    CShellFolderOverride(const char* name, const char* value) : m_name(name)
    {
        for (int i = 0; i < 2; i++) {
            m_key[i] = nullptr;
            m_had[i] = false;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, kLists[i], 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key[i],
                                nullptr) != ERROR_SUCCESS)
                continue;
            char old[MAX_PATH] = "";
            DWORD size = sizeof(old);
            m_had[i] = RegQueryValueExA(m_key[i], name, nullptr, &m_type[i], (BYTE*)old, &size) == ERROR_SUCCESS;
            m_old[i] = old;
            RegSetValueExA(m_key[i], name, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
        }
    }
    ~CShellFolderOverride()
    {
        for (int i = 0; i < 2; i++) {
            if (m_key[i] == nullptr)
                continue;
            if (m_had[i])
                RegSetValueExA(m_key[i], m_name, 0, m_type[i], (const BYTE*)(const char*)m_old[i],
                               (DWORD)m_old[i].GetLength() + 1);
            else
                RegDeleteValueA(m_key[i], m_name);
            RegCloseKey(m_key[i]);
        }
    }

private:
    static const char* const kLists[2];
    const char* m_name;
    HKEY m_key[2];
    bool m_had[2];
    CString m_old[2];
    DWORD m_type[2];
};
const char* const CShellFolderOverride::kLists[2] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"};
} // namespace

// A shell folder that is empty or relative would lead an operation to the
// current folder: each operation built on one finds nothing to delete there.
TEST_F(OtherBrowsersTest, EmptyOrRelativeShellFolderLeavesNothingToDelete)
{
    // What a relative base would name, below the current folder.
    pirt_test::CScratchFolder here("relative_base");
    SetCurrentDirectoryA(here.Path());
    const char* const traces[] = {"Google\\Chrome\\User Data\\Default\\History",
                                  "Google\\Chrome\\User Data\\Default\\Cookies",
                                  "Opera\\Opera\\cache\\entry",
                                  "Apple Computer\\Safari\\History\\entry",
                                  "cookie.txt",
                                  "link.url"};
    for (const char* trace : traces)
        Seed(here.Path() + "\\" + trace);

    typedef int (CBrowserFunctions::*Op)(CListCtrl*, CProgressCtrl*);
    const struct
    {
        const char* folder;
        int csidl;
        const char* name;
        Op op;
    } cases[] = {
        {"Local AppData", CSIDL_LOCAL_APPDATA, "ChromeHistory", &CBrowserFunctions::ChromeHistory},
        {"Local AppData", CSIDL_LOCAL_APPDATA, "ChromeCookies", &CBrowserFunctions::ChromeCookies},
        {"Local AppData", CSIDL_LOCAL_APPDATA, "ChromeTemp", &CBrowserFunctions::ChromeTemp},
        {"Local AppData", CSIDL_LOCAL_APPDATA, "OperaTemp", &CBrowserFunctions::OperaTemp},
        {"Local AppData", CSIDL_LOCAL_APPDATA, "SafariTemp", &CBrowserFunctions::SafariTemp},
        {"Cookies", CSIDL_COOKIES, "IECookies", &CBrowserFunctions::IECookies},
        {"Cookies", CSIDL_COOKIES, "IEIndexDat", &CBrowserFunctions::IEIndexDat},
        {"Favorites", CSIDL_FAVORITES, "IEBookmarks", &CBrowserFunctions::IEBookmarks},
    };
    for (const char* base : {"", ".", "Google"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " with \"" << base << "\"");
            pirt_test::CReportHost fresh;
            {
                CShellFolderOverride redirected(c.folder, base);
                // The lookup gives no usable folder while redirected.
                char lookedUp[MAX_PATH] = "";
                if (SUCCEEDED(SHGetFolderPathA(nullptr, c.csidl, nullptr, 0, lookedUp))) {
                    EXPECT_FALSE(IsUsableBaseFolder(lookedUp)) << lookedUp;
                }
                CBrowserFunctions browsers;
                EXPECT_EQ(1, (browsers.*c.op)(fresh.List(), fresh.Progress()));
            }
            ASSERT_EQ(1, fresh.RowCount());
            EXPECT_STREQ((const char*)(Text("24060") + " " + BrisvaneText("10145")), (const char*)fresh.RowText(0));
            EXPECT_EQ(REPORT_IMAGE_DONE, fresh.RowImage(0));
        }
    }
    for (const char* trace : traces)
        EXPECT_TRUE(Exists(here.Path() + "\\" + trace)) << trace;
    SetCurrentDirectoryA(pirt_test::ProgramFolder());
}
