// Log records written with [Preferences] CustomLogging = "yes".
#include "customtest.h"
#include "fw/handle.h"
#include "logfile.h"
#include <string>

namespace {

struct Record
{
    std::string module, procedure, event;
};

std::string Field(const std::vector<char>& log, size_t offset, size_t width)
{
    std::string text(&log[offset], width);
    return text.substr(0, text.find('\0'));
}

std::vector<Record> ReadEntries()
{
    std::vector<char> log = pirt_test::ReadFileBytes(pirt_test::AppDataFolder() + "\\Talvery\\Pirt\\pirt.log");
    std::vector<Record> records;
    for (size_t at = LOG_RECORD_SIZE; at + LOG_RECORD_SIZE <= log.size(); at += LOG_RECORD_SIZE) {
        Record r;
        r.module = Field(log, at + LOG_MODULE_OFFSET, LOG_MODULE_WIDTH);
        r.procedure = Field(log, at + LOG_PROCEDURE_OFFSET, LOG_PROCEDURE_WIDTH);
        r.event = Field(log, at + LOG_EVENT_OFFSET, LOG_EVENT_WIDTH);
        records.push_back(r);
    }
    return records;
}

} // namespace

typedef CustomTest Logging;

TEST_F(Logging, EveryResultRowIsLoggedWhenSwitchedOn)
{
    CScratchFolder dir("log_rows");
    CScratchRegKey scratch("log_rows");
    ::WritePrivateProfileStringA("Preferences", "CustomLogging", "yes", GetIniPath(INI_FARNOCH));
    CCustomFunctions custom;
    ASSERT_TRUE(custom.m_loggingEnabled);

    custom.DeleteOneFile(dir("none.txt"), host.List(), host.Progress());
    custom.DeleteFolderContents(dir("missing"), host.List(), host.Progress());
    CRegKeyHandle key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, scratch.Path(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(),
                      nullptr);
    ::RegSetValueExA(key, "v1", 0, REG_SZ, (const BYTE*)"x", 2);
    key.Close();
    custom.DeleteRegValueByMatch("HKEY_CURRENT_USER\\" + scratch.Path(), "v", host.List(), host.Progress());

    std::vector<Record> records = ReadEntries();
    ASSERT_EQ(3u, records.size()); // one per result, none for the first row of a match
    EXPECT_EQ("custom.dll", records[0].module);
    EXPECT_EQ("DeleteOneFile", records[0].procedure);
    EXPECT_EQ(std::string(Row("24060", dir("none.txt"))), records[0].event);
    EXPECT_EQ("DeleteFolderContents", records[1].procedure);
    EXPECT_EQ(std::string(Row("24050", dir("missing"))), records[1].event);
    EXPECT_EQ("DeleteRegValueByMatc", records[2].procedure);
    EXPECT_EQ(std::string(Row("24060", "\"v1\" ")), records[2].event);
}

TEST_F(Logging, NothingIsLoggedWhenSwitchedOff)
{
    CScratchFolder dir("log_off");
    CCustomFunctions custom;
    EXPECT_FALSE(custom.m_loggingEnabled);
    custom.DeleteOneFile(dir("none.txt"), host.List(), host.Progress());
    EXPECT_TRUE(ReadEntries().empty());
}
