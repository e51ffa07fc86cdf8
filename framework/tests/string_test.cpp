#include "fw/framework.h"
#include <gtest/gtest.h>
#include <cstring>

TEST(CStringTest, FormatHandlesLongOutputAndMixedArguments)
{
    CString big('x', 5000);
    CString s;
    s.Format("[%s] %d %05.1f %c %llu", (const char*)big, -42, 3.5, 'z', (ULONGLONG)1 << 40);
    EXPECT_EQ(CString("[") + big + "] -42 003.5 z 1099511627776", s);
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    s.Format("100%%");
    EXPECT_STREQ("100%", s);
    // Formatting into itself from its own text.
    s = "abc";
    s.Format("%s-%s", (const char*)s, (const char*)s);
    EXPECT_STREQ("abc-abc", s);
    s.AppendFormat("/%d", 7);
    EXPECT_STREQ("abc-abc/7", s);
}

TEST(CStringTest, BuffersKeepLengthAndTerminator)
{
    CString s("hello");
    char* p = s.GetBuffer(100);
    strcpy(p, "a much longer text than before");
    s.ReleaseBuffer();
    EXPECT_EQ(30, s.GetLength());
    p = s.GetBuffer(0);
    p[3] = 0;
    s.ReleaseBuffer();
    EXPECT_STREQ("a m", s);
    p = s.GetBuffer(10);
    memcpy(p, "0123456789", 10);
    s.ReleaseBuffer(4);
    EXPECT_STREQ("0123", s);
    EXPECT_EQ(4, s.GetLength());
    p = s.GetBufferSetLength(6);
    EXPECT_EQ(6, s.GetLength());
    memcpy(p, "qwerty", 6);
    s.ReleaseBuffer(6);
    EXPECT_STREQ("qwerty", s);
    // An empty string still hands out a writable buffer.
    CString e;
    p = e.GetBuffer(0);
    ASSERT_NE(nullptr, p);
    e.ReleaseBuffer();
    EXPECT_TRUE(e.IsEmpty());
    // ReleaseBuffer(-1) never reads past the buffer when no terminator was written.
    CString f;
    p = f.GetBuffer(8);
    memset(p, 'k', 8);
    f.ReleaseBuffer(8);
    EXPECT_STREQ("kkkkkkkk", f);
}

TEST(CStringTest, FindAndExtractClampOutOfRangeArguments)
{
    CString s("C:\\dir\\file.tmp.txt");
    EXPECT_EQ(2, s.Find('\\'));
    EXPECT_EQ(6, s.Find('\\', 3));
    EXPECT_EQ(-1, s.Find('\\', 100));
    EXPECT_EQ(-1, s.Find('\\', 7));
    EXPECT_EQ(11, s.Find(".tmp"));
    EXPECT_EQ(-1, s.Find(".tmp", 12));
    EXPECT_EQ(-1, s.Find("x", 1000));
    EXPECT_EQ(15, s.ReverseFind('.'));
    EXPECT_EQ(-1, s.ReverseFind('?'));
    EXPECT_EQ(1, s.FindOneOf(":\\"));
    EXPECT_EQ(-1, s.FindOneOf("?*"));
    EXPECT_EQ(-1, s.FindOneOf(""));

    EXPECT_STREQ("file.tmp.txt", s.Mid(7));
    EXPECT_STREQ("file", s.Mid(7, 4));
    EXPECT_STREQ("", s.Mid(100));
    EXPECT_STREQ("C:", s.Mid(-5, 2));
    EXPECT_STREQ("txt", s.Mid(16, 100));
    EXPECT_STREQ("", s.Left(-1));
    EXPECT_STREQ(s, s.Left(1000));
    EXPECT_STREQ("txt", s.Right(3));
    EXPECT_STREQ(s, s.Right(1000));
    EXPECT_STREQ("C:", s.SpanExcluding("\\"));
    EXPECT_STREQ("C", CString("CCab").SpanIncluding("C").Left(1));
    EXPECT_STREQ("", s.SpanIncluding("xyz"));

    // Assigning a part of a string to itself.
    s = s.Mid(7);
    EXPECT_STREQ("file.tmp.txt", s);
    s = (const char*)s + 5;
    EXPECT_STREQ("tmp.txt", s);
}

TEST(CStringTest, EditingOperations)
{
    CString s("a%%b%%c");
    EXPECT_EQ(2, s.Replace("%%", "%"));
    EXPECT_STREQ("a%b%c", s);
    EXPECT_EQ(0, s.Replace("", "x"));
    EXPECT_EQ(2, s.Replace("%", "<percent>"));
    EXPECT_STREQ("a<percent>b<percent>c", s);
    EXPECT_EQ(2, s.Replace("<percent>", nullptr));
    EXPECT_STREQ("abc", s);
    CString aa("aaaa");
    EXPECT_EQ(2, aa.Replace("aa", "a"));
    EXPECT_STREQ("aa", aa);
    EXPECT_EQ(2, aa.Replace('a', 'b'));
    EXPECT_STREQ("bb", aa);

    CString r("x.y.z");
    EXPECT_EQ(2, r.Remove('.'));
    EXPECT_STREQ("xyz", r);
    EXPECT_EQ(4, r.Insert(100, '!'));
    EXPECT_STREQ("xyz!", r);
    r.Insert(-3, "<<");
    EXPECT_STREQ("<<xyz!", r);
    r.Insert(2, (const char*)r); // inserting itself
    EXPECT_STREQ("<<<<xyz!xyz!", r);
    EXPECT_EQ(9, r.Delete(0, 3));
    EXPECT_EQ(3, r.Delete(3, 1000));
    EXPECT_STREQ("<xy", r);
    EXPECT_EQ(3, r.Delete(50, 2));

    CString t("  \t value \r\n");
    t.Trim();
    EXPECT_STREQ("value", t);
    t = "xx--value--x";
    t.TrimLeft("x-");
    EXPECT_STREQ("value--x", t);
    t.TrimRight('x');
    EXPECT_STREQ("value--", t);
    t.Trim('-');
    EXPECT_STREQ("value", t);
    CString allSpace("   ");
    allSpace.Trim();
    EXPECT_TRUE(allSpace.IsEmpty());

    CString m("MiXeD");
    EXPECT_STREQ("mixed", CString(m).MakeLower());
    EXPECT_STREQ("MIXED", CString(m).MakeUpper());
    EXPECT_STREQ("DeXiM", CString(m).MakeReverse());

    CString self("ab");
    self += self;
    self += (const char*)self + 1;
    EXPECT_STREQ("ababbab", self);
}

TEST(CStringTest, ComparisonsAndConcatenation)
{
    CString a("Apple"), b("apple");
    EXPECT_NE(0, a.Compare(b));
    EXPECT_EQ(0, a.CompareNoCase(b));
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(a == "Apple");
    EXPECT_TRUE("Apple" == a);
    EXPECT_TRUE(a != b);
    EXPECT_EQ(0, CString().Compare(nullptr));
    CString c = a + "-" + b + '!';
    EXPECT_STREQ("Apple-apple!", c);
    EXPECT_STREQ("xApple", 'x' + a);
    EXPECT_EQ('p', c[1]);
    c.SetAt(0, 'a');
    EXPECT_EQ('a', c.GetAt(0));
    CString copy(c);
    c.Empty();
    EXPECT_STREQ("apple-apple!", copy);
    EXPECT_STREQ("ab", CString("abcdef", 2));
    EXPECT_STREQ("", CString((const char*)nullptr));
}

TEST(CStringTest, LoadStringOfMissingResourceFails)
{
    CString s("kept?");
    EXPECT_FALSE(s.LoadString(54321));
    EXPECT_TRUE(s.IsEmpty());
}
