// The log file: exact bytes of header and records, and rotation.
#include <gtest/gtest.h>
#include "fw/handle.h"
#include "pirt.h"
#include "testsupport.h"
#include <cstring>
#include <string>

using namespace pirt_test;

namespace {

std::string Field(const std::vector<char>& file, size_t record, int offset, int width)
{
    return std::string(file.data() + record * LOG_RECORD_SIZE + offset, width);
}

std::string Padded(const char* text, int width)
{
    std::string s(text);
    s.resize(width, '\0');
    return s;
}

// A synthetic entry whose event text names its number, for following
// records through a rotation.
std::string Entry(int n)
{
    std::string r(LOG_FIELDS_SIZE, '\0');
    char text[32];
    sprintf(text, "entry %d", n);
    memcpy(&r[LOG_EVENT_OFFSET], text, strlen(text));
    return r + "\r\n";
}

std::string Header()
{
    std::string r(LOG_FIELDS_SIZE, '\0');
    memcpy(&r[LOG_DATE_OFFSET], "DATE", 4);
    memcpy(&r[LOG_TIME_OFFSET], "TIME", 4);
    memcpy(&r[LOG_MODULE_OFFSET], "MODULE", 6);
    memcpy(&r[LOG_PROCEDURE_OFFSET], "PROCEDURE", 9);
    memcpy(&r[LOG_EVENT_OFFSET], "EVENT", 5);
    return r + "\r\n";
}

// A log holding the header and entries 1..count-1.
void WriteLog(const CString& path, int records)
{
    std::string content = Header();
    for (int i = 1; i < records; ++i)
        content += Entry(i);
    ASSERT_TRUE(WriteFileBytes(path, content.data(), content.size()));
}

std::string EventOf(const std::vector<char>& file, size_t record)
{
    std::string e = Field(file, record, LOG_EVENT_OFFSET, LOG_EVENT_WIDTH);
    return e.substr(0, e.find('\0'));
}

class LogFileTest : public ::testing::Test
{
protected:
    LogFileTest() : folder("logfile") {}
    void SetUp() override
    {
        log.SetLogPath(folder("pirt.log"));
        log.SetArchivePath(folder("pirt.log.archive"));
        log.SetModule("custom.dll");
        log.SetProcedure("DeleteOneFile");
    }
    CScratchFolder folder;
    CLogFile log;
};

} // namespace

TEST_F(LogFileTest, FirstRecordFollowsHeaderWithExactLayout)
{
    ASSERT_EQ(1, log.WriteEntry("0123456789"));
    std::vector<char> file = ReadFileBytes(folder("pirt.log"));
    ASSERT_EQ(380u, file.size());

    EXPECT_EQ(Header(), std::string(file.data(), LOG_RECORD_SIZE));

    const std::string date = Field(file, 1, LOG_DATE_OFFSET, LOG_DATE_WIDTH);
    const std::string time = Field(file, 1, LOG_TIME_OFFSET, LOG_TIME_WIDTH);
    int m, d, y, hh, mm, ss;
    EXPECT_EQ(3, sscanf(date.c_str(), "%2d-%2d-%4d", &m, &d, &y)) << date;
    EXPECT_EQ('-', date[2]);
    EXPECT_EQ(3, sscanf(time.c_str(), "%2d:%2d:%2d", &hh, &mm, &ss)) << time;
    EXPECT_EQ(':', time[5]);
    EXPECT_EQ(Padded("custom.dll", 20), Field(file, 1, LOG_MODULE_OFFSET, 20));
    EXPECT_EQ(Padded("DeleteOneFile", 20), Field(file, 1, LOG_PROCEDURE_OFFSET, 20));
    EXPECT_EQ(Padded("0123456789", 130), Field(file, 1, LOG_EVENT_OFFSET, 130));
    EXPECT_EQ("\r\n", Field(file, 1, LOG_FIELDS_SIZE, 2));
}

TEST_F(LogFileTest, FieldsAreCutToTheirWidths)
{
    log.SetModule("abcdefghijklmnopqrst"); // exactly 20
    log.SetProcedure("ProcedureNameLongerThanTwenty");
    const std::string longText(200, 'x');
    ASSERT_EQ(1, log.WriteEntry(longText.c_str()));

    std::vector<char> file = ReadFileBytes(folder("pirt.log"));
    ASSERT_EQ(380u, file.size());
    EXPECT_EQ("abcdefghijklmnopqrst", Field(file, 1, LOG_MODULE_OFFSET, 20));
    EXPECT_EQ("ProcedureNameLongerT", Field(file, 1, LOG_PROCEDURE_OFFSET, 20));
    EXPECT_EQ(std::string(130, 'x'), Field(file, 1, LOG_EVENT_OFFSET, 130));
    EXPECT_EQ("\r\n", Field(file, 1, LOG_FIELDS_SIZE, 2));
}

TEST_F(LogFileTest, UnusableLocationDropsTheRecord)
{
    CLogFile unset;
    EXPECT_EQ(0, unset.WriteEntry("lost"));

    // Held open without sharing by another writer.
    ASSERT_EQ(1, log.WriteEntry("first"));
    CHandle held(CreateFileA(folder("pirt.log"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, log.WriteEntry("second"));
    held.Close();
    EXPECT_EQ(380u, ReadFileBytes(folder("pirt.log")).size());

    // A log the user deleted starts again with its header.
    ASSERT_TRUE(DeleteFileA(folder("pirt.log")));
    ASSERT_EQ(1, log.WriteEntry("third"));
    std::vector<char> file = ReadFileBytes(folder("pirt.log"));
    ASSERT_EQ(380u, file.size());
    EXPECT_EQ(Header(), std::string(file.data(), LOG_RECORD_SIZE));
    EXPECT_EQ("third", EventOf(file, 1));
}

TEST_F(LogFileTest, FullLogMovesItsEntriesIntoTheArchive)
{
    // 499 entries written one by one: no rotation yet.
    for (int i = 1; i <= 499; ++i)
        ASSERT_EQ(1, log.WriteEntry(("entry " + std::to_string(i)).c_str()));
    std::vector<char> before = ReadFileBytes(folder("pirt.log"));
    ASSERT_EQ(500u * LOG_RECORD_SIZE, before.size());
    EXPECT_EQ(0xFFFFFFFF, GetFileAttributesA(folder("pirt.log.archive")));

    ASSERT_EQ(1, log.WriteEntry("entry 500"));
    std::vector<char> archive = ReadFileBytes(folder("pirt.log.archive"));
    ASSERT_EQ(500u * LOG_RECORD_SIZE, archive.size());
    EXPECT_EQ(Header(), std::string(archive.data(), LOG_RECORD_SIZE));
    EXPECT_EQ(0, memcmp(archive.data() + LOG_RECORD_SIZE, before.data() + LOG_RECORD_SIZE, 499 * LOG_RECORD_SIZE));

    std::vector<char> after = ReadFileBytes(folder("pirt.log"));
    ASSERT_EQ(380u, after.size());
    EXPECT_EQ(Header(), std::string(after.data(), LOG_RECORD_SIZE));
    EXPECT_EQ("entry 500", EventOf(after, 1));

    // A second rotation appends to the archive without another header.
    WriteLog(folder("pirt.log"), 500);
    ASSERT_EQ(1, log.WriteEntry("again"));
    archive = ReadFileBytes(folder("pirt.log.archive"));
    ASSERT_EQ(999u * LOG_RECORD_SIZE, archive.size());
    EXPECT_EQ("entry 1", EventOf(archive, 500));
    EXPECT_EQ("entry 499", EventOf(archive, 998));
}

TEST_F(LogFileTest, OverfullLogIsRotatedToo)
{
    WriteLog(folder("pirt.log"), 520);
    ASSERT_EQ(1, log.WriteEntry("new"));
    std::vector<char> archive = ReadFileBytes(folder("pirt.log.archive"));
    ASSERT_EQ(520u * LOG_RECORD_SIZE, archive.size());
    EXPECT_EQ("entry 519", EventOf(archive, 519));
    EXPECT_EQ(380u, ReadFileBytes(folder("pirt.log")).size());
}

TEST_F(LogFileTest, WithoutUsableArchiveOnlyTheOldestEntryIsDropped)
{
    // Archive held open without sharing: it cannot be opened.
    WriteLog(folder("pirt.log"), 500);
    CHandle held(CreateFileA(folder("pirt.log.archive"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ASSERT_EQ(1, log.WriteEntry("new"));
    held.Close();

    std::vector<char> file = ReadFileBytes(folder("pirt.log"));
    ASSERT_EQ(500u * LOG_RECORD_SIZE, file.size());
    EXPECT_EQ(Header(), std::string(file.data(), LOG_RECORD_SIZE));
    EXPECT_EQ("entry 2", EventOf(file, 1));
    EXPECT_EQ("entry 499", EventOf(file, 498));
    EXPECT_EQ("new", EventOf(file, 499));

    // The same without an archive at all, from an overfull log: the newest
    // entries stay.
    CLogFile plain;
    plain.SetLogPath(folder("plain.log"));
    WriteLog(folder("plain.log"), 510);
    ASSERT_EQ(1, plain.WriteEntry("new"));
    file = ReadFileBytes(folder("plain.log"));
    ASSERT_EQ(500u * LOG_RECORD_SIZE, file.size());
    EXPECT_EQ("entry 12", EventOf(file, 1));
    EXPECT_EQ("entry 509", EventOf(file, 498));
    EXPECT_EQ("new", EventOf(file, 499));
}

TEST(LogFileLocation, StandardLocationIsBelowTalveryPirt)
{
    CLogFile log;
    SetStandardLogLocation(log);
    const CString expected = AppDataFolder() + "\\Talvery\\Pirt\\pirt.log";
    EXPECT_STREQ(expected, log.m_logPath);
    EXPECT_STREQ(expected + ".archive", log.m_archivePath);
    EXPECT_EQ(1, log.m_archiveEnabled);
}
