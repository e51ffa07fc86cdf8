#include "fw/framework.h"
#include "fwtest.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {
CString ReadAll(const char* path)
{
    CFile f;
    if (!f.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return "<missing>";
    CString s;
    UINT n = (UINT)f.GetLength();
    char* p = s.GetBuffer((int)n);
    UINT got = f.Read(p, n);
    s.ReleaseBuffer((int)got);
    return s;
}

void WriteRaw(const char* path, const char* bytes, UINT n)
{
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    ASSERT_TRUE(f.Write(bytes, n));
}
} // namespace

class CFileTest : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = FwTestScratch("file"); }
    CString Path(const char* name) { return m_dir + "\\" + name; }
    CString m_dir;
};

TEST_F(CFileTest, OpenFailuresAreResults)
{
    CFile f;
    DWORD err = 0;
    EXPECT_FALSE(f.Open(Path("missing.bin"), CFile::modeRead, &err));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, err);
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(f.Open(Path("nodir\\x.bin"), CFile::modeCreate | CFile::modeWrite, &err));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, err);
    EXPECT_FALSE(f.Open("", CFile::modeRead, &err));
    EXPECT_FALSE(f.Open(nullptr, CFile::modeRead));
}

TEST_F(CFileTest, CreateTruncatesUnlessNoTruncate)
{
    CString p = Path("trunc.txt");
    WriteRaw(p, "0123456789", 10);
    {
        CFile f;
        ASSERT_TRUE(f.Open(p, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
        EXPECT_EQ(10u, f.GetLength());
        EXPECT_EQ(10u, f.SeekToEnd());
        EXPECT_TRUE(f.Write("AB", 2));
        EXPECT_EQ(12u, f.GetPosition());
    }
    EXPECT_STREQ("0123456789AB", ReadAll(p));
    {
        CFile f;
        ASSERT_TRUE(f.Open(p, CFile::modeCreate | CFile::modeWrite));
        EXPECT_EQ(0u, f.GetLength());
    }
    EXPECT_STREQ("", ReadAll(p));
    // Without modeCreate an absent file is not created.
    CFile g;
    EXPECT_FALSE(g.Open(Path("absent.txt"), CFile::modeWrite));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Path("absent.txt")));
}

TEST_F(CFileTest, SeekReadAndSetLength)
{
    CString p = Path("seek.bin");
    CFile f;
    ASSERT_TRUE(f.Open(p, CFile::modeCreate | CFile::modeReadWrite));
    ASSERT_TRUE(f.Write("abcdefghij", 10));
    EXPECT_EQ(3u, f.Seek(3, CFile::begin));
    char buf[8] = {};
    EXPECT_EQ(4u, f.Read(buf, 4));
    EXPECT_STREQ("defg", buf);
    EXPECT_EQ(5u, f.Seek(-2, CFile::current));
    EXPECT_EQ(8u, f.Seek(-2, CFile::end));
    EXPECT_EQ(2u, f.Read(buf, 8)); // short read at the end
    EXPECT_EQ(0u, f.Read(buf, 8));
    EXPECT_EQ((ULONGLONG)-1, f.Seek(-100, CFile::begin));

    f.SeekToBegin();
    EXPECT_TRUE(f.SetLength(4));
    EXPECT_EQ(4u, f.GetLength());
    EXPECT_EQ(0u, f.GetPosition());
    f.Seek(4, CFile::begin);
    EXPECT_TRUE(f.SetLength(2)); // position beyond the new end moves to it
    EXPECT_EQ(2u, f.GetPosition());
    EXPECT_TRUE(f.SetLength(4096)); // growing
    EXPECT_EQ(4096u, f.GetLength());
    EXPECT_TRUE(f.Flush());
    EXPECT_STREQ("seek.bin", f.GetFileName());
    EXPECT_STREQ("seek", f.GetFileTitle());
    EXPECT_EQ(p, f.GetFilePath());
    f.Close();
    EXPECT_EQ(CFile::hFileNull, f.m_hFile);
}

TEST_F(CFileTest, ShareFlagsMapOntoSharing)
{
    CString p = Path("share.bin");
    WriteRaw(p, "x", 1);
    DWORD err = 0;
    {
        CFile a, b;
        ASSERT_TRUE(a.Open(p, CFile::modeRead | CFile::shareDenyWrite));
        EXPECT_TRUE(b.Open(p, CFile::modeRead | CFile::shareDenyNone));
        b.Close();
        EXPECT_FALSE(b.Open(p, CFile::modeWrite | CFile::shareDenyNone, &err));
        EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, err);
    }
    {
        CFile a, b;
        ASSERT_TRUE(a.Open(p, CFile::modeReadWrite | CFile::shareExclusive));
        EXPECT_FALSE(b.Open(p, CFile::modeRead | CFile::shareDenyNone, &err));
        EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, err);
    }
    {
        // The destructor closed the exclusive handle above.
        CFile c;
        EXPECT_TRUE(c.Open(p, CFile::modeReadWrite | CFile::shareExclusive));
    }
    {
        // Writing through a read-only handle is reported, not ignored.
        CFile r;
        ASSERT_TRUE(r.Open(p, CFile::modeRead));
        EXPECT_FALSE(r.Write("y", 1));
    }
    EXPECT_STREQ("x", ReadAll(p));
}

TEST_F(CFileTest, ReadStringSplitsLinesOfEveryEnding)
{
    CString p = Path("lines.txt");
    CString longLine('L', 10000);
    CString content = "crlf\r\nlf\n\r\n\nlast";
    content = CString("first\r\n") + longLine + "\r\n" + content;
    WriteRaw(p, content, (UINT)content.GetLength());

    CStdioFile f;
    ASSERT_TRUE(f.Open(p, CFile::modeRead | CFile::typeText));
    CString line;
    const char* expected[] = {"first", nullptr, "crlf", "lf", "", "", "last"};
    for (const char* e : expected) {
        ASSERT_TRUE(f.ReadString(line));
        EXPECT_EQ(e ? CString(e) : longLine, line);
    }
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
    EXPECT_FALSE(f.ReadString(line));

    // After a line the position is just past its line end.
    f.SeekToBegin();
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(7u, f.GetPosition());
    char c = 0;
    EXPECT_EQ(1u, f.Read(&c, 1));
    EXPECT_EQ('L', c);
}

TEST_F(CFileTest, ReadStringOnEmptyFileAndFinalNewline)
{
    CString p = Path("empty.txt");
    WriteRaw(p, "", 0);
    CStdioFile f;
    ASSERT_TRUE(f.Open(p, CFile::modeRead));
    CString line("junk");
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
    f.Close();

    WriteRaw(p, "one\r\n", 5);
    ASSERT_TRUE(f.Open(p, CFile::modeRead));
    EXPECT_TRUE(f.ReadString(line));
    EXPECT_STREQ("one", line);
    EXPECT_FALSE(f.ReadString(line));
}

TEST_F(CFileTest, WriteStringExpandsNewlinesOnlyInTextMode)
{
    CString p = Path("out.txt");
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(p, CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        EXPECT_TRUE(f.WriteString("a\nb\n"));
    }
    EXPECT_STREQ("a\r\nb\r\n", ReadAll(p));
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(p, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        EXPECT_TRUE(f.WriteString("a\nb\n"));
    }
    EXPECT_STREQ("a\nb\n", ReadAll(p));
    {
        // Appending after reading continues at the logical position.
        CStdioFile f;
        ASSERT_TRUE(f.Open(p, CFile::modeReadWrite | CFile::typeText));
        CString line;
        ASSERT_TRUE(f.ReadString(line));
        EXPECT_TRUE(f.WriteString("X"));
    }
    EXPECT_STREQ("a\nX\n", ReadAll(p)); // overwrote the 'b' just after the line read
}
