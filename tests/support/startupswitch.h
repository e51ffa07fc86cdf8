// The clean-at-start-up switch that the main cleaner and the recent-work
// cleaner share, driven through a program's frame.
#pragma once
#include "appdriver.h"
#include "services.h"
#include "startupcleaner.h"
#include <string>

namespace pirt_test {

// Switched on from off by the command id: DeleteOnStartup of the program's
// config file (ownIni) and the Run value that starts the start-up cleaner;
// the mark follows the Run value; switched off, the value stays while the
// other cleaner's config file (otherIni) still wants it.
template <class TFrame>
void CheckStartupSwitch(CAppDriver<TFrame>& driver, UINT id, int ownIni, int otherIni)
{
    auto own = [&] { return IniFileValue(GetIniPath(ownIni), "Preferences", "DeleteOnStartup"); };
    std::string expected = "\"" + std::string((const char*)GetAppPath()) + "\\Tarnel.exe\" startup";
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
