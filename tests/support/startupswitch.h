// The clean-at-start-up switch that the main cleaner and the recent-work
// cleaner share, driven through a program's frame.
#pragma once
#include "appdriver.h"
#include "services.h"
#include "startupcleaner.h"
#include "language.h"
#include <vector>
#include <string>

namespace pirt_test {

// Tarnel.exe in the program folder while this lives: the switch and the
// index-files row write their values only while it is there.
class CStartupCleanerFile
{
public:
    CStartupCleanerFile() : m_path(GetAppPath() + "\\Tarnel.exe") { WriteFileText(m_path, "MZ"); }
    ~CStartupCleanerFile() { ::DeleteFileA(m_path); }
    CStartupCleanerFile(const CStartupCleanerFile&) = delete;
    CStartupCleanerFile& operator=(const CStartupCleanerFile&) = delete;

private:
    CString m_path;
};

// Switched on from off by the command id: DeleteOnStartup of the program's
// config file (ownIni) and the Run value that starts the start-up cleaner;
// the mark follows the Run value; switched off, the value stays while the
// other cleaner's config file (otherIni) still wants it.
template <class TFrame>
void CheckStartupSwitch(CAppDriver<TFrame>& driver, UINT id, int ownIni, int otherIni)
{
    auto own = [&] { return IniFileValue(GetIniPath(ownIni), "Preferences", "DeleteOnStartup"); };
    std::string expected = "\"" + std::string((const char*)GetAppPath()) + "\\Tarnel.exe\" startup";
    // Without the start-up cleaner the switch stays off and a box on the
    // frame says why.
    {
        CDialogCatcher catcher(IDOK);
        driver.Command(id);
        ASSERT_TRUE(catcher.WaitFor(1));
        std::vector<CDialogCatcher::Caught> boxes = catcher.Boxes();
        EXPECT_EQ(driver.m_frame->m_hWnd, boxes[0].owner);
        EXPECT_STREQ(GetLngString("General", "24301"), boxes[0].text);
    }
    EXPECT_EQ("no", own());
    EXPECT_EQ("<absent>", RunValue(STARTUP_VALUE_NAME));
    EXPECT_EQ(0, driver.Update(id).checked);

    CStartupCleanerFile cleaner;
    driver.Command(id);
    EXPECT_EQ("yes", own());
    EXPECT_EQ(expected, RunValue(STARTUP_VALUE_NAME));
    EXPECT_EQ(1, driver.Update(id).checked);
    // Switched on in the file, the value gone: the mark is off, a click puts it back.
    DeleteRunValue(STARTUP_VALUE_NAME);
    EXPECT_EQ(0, driver.Update(id).checked);
    driver.Command(id);
    EXPECT_EQ(expected, RunValue(STARTUP_VALUE_NAME));
    // Off while the other cleaner still wants it: the value stays.
    WritePrivateProfileStringA("Preferences", "DeleteOnStartup", "yes", GetIniPath(otherIni));
    driver.Command(id);
    EXPECT_EQ("no", own());
    EXPECT_EQ(expected, RunValue(STARTUP_VALUE_NAME));
    // On and off again without it: the value goes.
    WritePrivateProfileStringA("Preferences", "DeleteOnStartup", "no", GetIniPath(otherIni));
    driver.Command(id);
    driver.Command(id);
    EXPECT_EQ("<absent>", RunValue(STARTUP_VALUE_NAME));
}

} // namespace pirt_test
