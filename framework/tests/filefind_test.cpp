#include "fw/framework.h"
#include "fwtest.h"
#include <gtest/gtest.h>
#include <set>

namespace {
void Touch(const CString& path, int size)
{
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    CString data('d', size);
    ASSERT_TRUE(f.Write((const char*)data, (UINT)size));
}
} // namespace

TEST(CFileFindTest, LookAheadKeepsTheLastEntryValid)
{
    CString dir = FwTestScratch("find");
    Touch(dir + "\\a.txt", 1);
    Touch(dir + "\\b.txt", 22);
    Touch(dir + "\\c.txt", 333);
    CreateDirectoryA(dir + "\\sub", nullptr);

    CFileFind ff;
    ASSERT_TRUE(ff.FindFile(dir + "\\*.*"));
    std::set<CString> names;
    int dots = 0, dirs = 0;
    BOOL more = TRUE;
    while (more) {
        more = ff.FindNextFile();
        // Valid on every round, the last one (where more is FALSE) included.
        CString name = ff.GetFileName();
        ASSERT_FALSE(name.IsEmpty());
        EXPECT_EQ(dir + "\\" + name, ff.GetFilePath());
        if (ff.IsDots()) {
            ++dots;
            continue;
        }
        if (ff.IsDirectory())
            ++dirs;
        names.insert(name);
        if (name == "c.txt") {
            EXPECT_EQ(333u, ff.GetLength());
            EXPECT_STREQ("c", ff.GetFileTitle());
            EXPECT_FALSE(ff.IsDirectory());
        }
    }
    EXPECT_EQ(2, dots);
    EXPECT_EQ(1, dirs);
    EXPECT_EQ((std::set<CString>{"a.txt", "b.txt", "c.txt", "sub"}), names);
    EXPECT_EQ(dir + "\\", ff.GetRoot());
    // Calling again after the end changes nothing and stays FALSE.
    EXPECT_FALSE(ff.FindNextFile());
}

TEST(CFileFindTest, SingleMatchAndNoMatch)
{
    CString dir = FwTestScratch("find1");
    Touch(dir + "\\only.dat", 5);
    CFileFind ff;
    ASSERT_TRUE(ff.FindFile(dir + "\\only.dat"));
    EXPECT_FALSE(ff.FindNextFile()); // the only entry is also the last one
    EXPECT_STREQ("only.dat", ff.GetFileName());
    EXPECT_FALSE(ff.IsDots());
    EXPECT_TRUE(ff.MatchesMask(FILE_ATTRIBUTE_ARCHIVE) || ff.IsNormal());
    EXPECT_FALSE(ff.FindFile(dir + "\\nothing.*"));
    EXPECT_FALSE(ff.FindFile(dir + "\\missing\\*.*"));
    EXPECT_TRUE(ff.GetFileName().IsEmpty());
}

TEST(CFileFindTest, AttributesOfTheCurrentEntry)
{
    CString dir = FwTestScratch("findattr");
    Touch(dir + "\\h.txt", 0);
    SetFileAttributesA(dir + "\\h.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    CFileFind ff;
    ASSERT_TRUE(ff.FindFile(dir + "\\h.txt"));
    ff.FindNextFile();
    EXPECT_TRUE(ff.IsHidden());
    EXPECT_TRUE(ff.IsReadOnly());
    EXPECT_FALSE(ff.IsSystem());
    EXPECT_TRUE(ff.GetAttributes() & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(dir + "\\h.txt", FILE_ATTRIBUTE_NORMAL);
}
