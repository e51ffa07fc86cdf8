// Emptying and removing folder trees, deleting matching files.
#include "customtest.h"
#include "fw/handle.h"

namespace {

// a.txt, .cache, s1\b.log, s1\s2\c.txt, s1\s2\s3\d.log, s4\e.txt
void MakeTree(const CScratchFolder& dir)
{
    dir.MakeFolder("s1\\s2\\s3");
    dir.MakeFolder("s4");
    Touch(dir("a.txt"));
    Touch(dir(".cache"));
    Touch(dir("s1\\b.log"));
    Touch(dir("s1\\s2\\c.txt"));
    Touch(dir("s1\\s2\\s3\\d.log"));
    Touch(dir("s4\\e.txt"));
}

// The named entries below dir: the gone ones are gone, the kept ones are not.
void ExpectEntries(const CScratchFolder& dir, std::initializer_list<const char*> gone,
                   std::initializer_list<const char*> kept)
{
    for (const char* name : gone)
        EXPECT_FALSE(Exists(dir(name))) << name;
    for (const char* name : kept)
        EXPECT_TRUE(Exists(dir(name))) << name;
}

bool IsEmptyFolder(const CString& path)
{
    WIN32_FIND_DATAA fd;
    CFindHandle find(::FindFirstFileA(path + "\\*", &fd));
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool empty = true;
    do {
        if (strcmp(fd.cFileName, ".") != 0 && strcmp(fd.cFileName, "..") != 0)
            empty = false;
    } while (::FindNextFileA(find, &fd));
    return empty;
}

} // namespace

typedef CustomTest FolderOps;

TEST_F(FolderOps, EmptyingRemovesEveryFileAndSubFolderButKeepsTheFolder)
{
    CScratchFolder dir("fold_empty");
    MakeTree(dir);
    CCustomFunctions custom;

    EXPECT_EQ(1, custom.DeleteFolderContents(dir.Path(), host.List(), host.Progress()));
    EXPECT_TRUE(Exists(dir.Path()));
    EXPECT_TRUE(IsEmptyFolder(dir.Path())); // ".cache" is a trace too
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24070", dir.Path()), host.RowText(0));
    EXPECT_EQ(0, host.RowImage(0));
    EXPECT_EQ(1, host.ProgressPos());

    // Working form, trailing backslash, nothing left: still done.
    EXPECT_EQ(1, custom.DeleteFolderContents(dir.Path() + "\\", 1, nullptr, nullptr, 0));
    EXPECT_EQ(1, host.RowCount()); // the working form shows no rows
}

TEST_F(FolderOps, EmptyingWithoutRecurseTakesOnlyTheTopFiles)
{
    CScratchFolder dir("fold_flat");
    MakeTree(dir);
    CCustomFunctions custom;
    EXPECT_EQ(1, custom.DeleteFolderContents(dir.Path(), 0, "", nullptr, 0));
    ExpectEntries(dir, {"a.txt", ".cache"}, {"s1\\b.log", "s4\\e.txt"});
}

TEST_F(FolderOps, EmptyingWithAPatternDeletesMatchesAtEveryLevelAndNoFolder)
{
    CScratchFolder dir("fold_pattern");
    MakeTree(dir);
    CCustomFunctions custom;
    EXPECT_EQ(1, custom.DeleteFolderContents(dir.Path(), 1, "*.log", nullptr, 1));
    ExpectEntries(dir, {"s1\\b.log", "s1\\s2\\s3\\d.log"}, {"a.txt", "s1\\s2\\c.txt", "s1\\s2\\s3", "s4"});

    // A pattern is a file name, never a way into another folder.
    CScratchFolder other("fold_pattern_other");
    Touch(other("keep.log"));
    CString escape = CString("..\\fold_pattern_other\\*.log");
    EXPECT_EQ(0, custom.DeleteFolderContents(dir.Path(), 1, escape, nullptr, 0));
    EXPECT_TRUE(Exists(other("keep.log")));
}

TEST_F(FolderOps, EmptyingStopsAtAReadOnlyFile)
{
    CScratchFolder dir("fold_readonly");
    Touch(dir("a.txt"));
    Touch(dir("m.txt"));
    Touch(dir("z.txt"));
    ::SetFileAttributesA(dir("m.txt"), FILE_ATTRIBUTE_READONLY);
    CCustomFunctions custom;

    EXPECT_EQ(0, custom.DeleteFolderContents(dir.Path(), host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24050", dir.Path()), host.RowText(0));
    EXPECT_EQ(1, host.RowImage(0));
    // Entries come back sorted by name.
    ExpectEntries(dir, {"a.txt"}, {"m.txt", "z.txt"});
    ::SetFileAttributesA(dir("m.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FolderOps, ASubFolderThatCannotBeEmptiedFailsTheEmptying)
{
    CScratchFolder dir("fold_locked_sub");
    dir.MakeFolder("a\\deep");
    Touch(dir("a\\deep\\locked.txt"));
    Touch(dir("b.txt"));
    CLockedFile lock(dir("a\\deep\\locked.txt"));
    ASSERT_TRUE(lock.IsLocked());
    CCustomFunctions custom;

    EXPECT_EQ(0, custom.DeleteFolderContents(dir.Path(), host.List(), host.Progress()));
    EXPECT_STREQ(Row("24050", dir.Path()), host.LastRowText());
    EXPECT_EQ(1, host.LastRowImage());
    EXPECT_TRUE(Exists(dir("a\\deep\\locked.txt")));
    EXPECT_TRUE(Exists(dir("b.txt"))); // the emptying stopped at "a"

    EXPECT_EQ(0, custom.RemoveFolder(dir.Path(), host.List(), host.Progress()));
    EXPECT_STREQ(Row("24030", dir.Path()), host.LastRowText());
    EXPECT_TRUE(Exists(dir.Path()));
}

TEST_F(FolderOps, EmptyingAMissingFolderOrAFileFailsOnce)
{
    CScratchFolder dir("fold_missing");
    Touch(dir("file.txt"));
    CCustomFunctions custom;
    const CString missing = dir("nothing");

    EXPECT_EQ(0, custom.DeleteFolderContents(missing, host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24050", missing), host.RowText(0));
    EXPECT_EQ(1, host.ProgressPos());

    EXPECT_EQ(0, custom.DeleteFolderContents(dir("file.txt"), host.List(), host.Progress()));
    EXPECT_TRUE(Exists(dir("file.txt")));
    EXPECT_EQ(0, custom.DeleteFolderContents((const char*)nullptr, 1, nullptr, nullptr, 0));
    EXPECT_EQ(0, custom.DeleteFolderContents("", 1, nullptr, nullptr, 0));
}

TEST_F(FolderOps, ASignalledStopEventStopsBeforeAnything)
{
    CScratchFolder dir("fold_stop");
    MakeTree(dir);
    CHandle stop(::CreateEventA(nullptr, TRUE, TRUE, nullptr));
    CCustomFunctions custom;
    EXPECT_EQ(0, custom.DeleteFolderContents(dir.Path(), 1, nullptr, stop, 1));
    EXPECT_EQ(0, custom.RemoveFolder(dir.Path(), stop, 0));
    ExpectEntries(dir, {}, {"a.txt", "s1\\s2\\s3\\d.log"});

    ::ResetEvent(stop);
    EXPECT_EQ(1, custom.RemoveFolder(dir.Path(), stop, 1));
    EXPECT_FALSE(Exists(dir.Path()));
}

TEST_F(FolderOps, RemovingATree)
{
    CScratchFolder dir("fold_remove");
    MakeTree(dir);
    ::SetFileAttributesA(dir.Path(), FILE_ATTRIBUTE_READONLY);
    CCustomFunctions custom;

    EXPECT_EQ(1, custom.RemoveFolder(dir.Path(), host.List(), host.Progress()));
    EXPECT_FALSE(Exists(dir.Path()));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", dir.Path()), host.RowText(0));
    EXPECT_EQ(0, host.RowImage(0));
}

TEST_F(FolderOps, RemovingAMissingFolderOrAFileIsDone)
{
    CScratchFolder dir("fold_remove_none");
    Touch(dir("file.txt"));
    CCustomFunctions custom;

    const CString missing = dir("nothing");
    EXPECT_EQ(1, custom.RemoveFolder(missing, host.List(), host.Progress()));
    EXPECT_STREQ(Row("24060", missing), host.RowText(0));

    EXPECT_EQ(1, custom.RemoveFolder(dir("file.txt"), host.List(), host.Progress()));
    EXPECT_STREQ(Row("24060", dir("file.txt")), host.RowText(1));
    EXPECT_TRUE(Exists(dir("file.txt")));
    EXPECT_EQ(2, host.RowCount());
}

TEST_F(FolderOps, RemovingFailsOnAPathThatCannotBeRead)
{
    // Too long to be looked at is not the same as not there.
    CCustomFunctions custom;
    CString longPath = pirt_test::ProgramFolder() + "\\" + CString('x', 300);
    EXPECT_EQ(0, custom.RemoveFolder(longPath, host.List(), host.Progress()));
    EXPECT_EQ(1, host.LastRowImage());
}

TEST_F(FolderOps, MatchDeletesFilesWhosePathContainsTheText)
{
    CScratchFolder dir("fold_match");
    dir.MakeFolder("sub_trace");
    Touch(dir("a_trace.txt"));
    Touch(dir("b.txt"));
    Touch(dir("sub_trace\\c_trace.txt"));
    ::SetFileAttributesA(dir("a_trace.txt"), FILE_ATTRIBUTE_READONLY);
    CCustomFunctions custom;

    EXPECT_EQ(1, custom.DeleteMatchInFolder(dir.Path(), "_trace", host.List(), host.Progress()));
    // One level only.
    ExpectEntries(dir, {"a_trace.txt"}, {"b.txt", "sub_trace\\c_trace.txt"});
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", dir("a_trace.txt")), host.RowText(0));

    // Case-sensitive; a text of the folder's own path takes every file.
    EXPECT_EQ(1, custom.DeleteMatchInFolder(dir.Path(), "B.TXT", host.List(), host.Progress()));
    EXPECT_TRUE(Exists(dir("b.txt")));
    EXPECT_EQ(1, custom.DeleteMatchInFolder(dir.Path() + "\\", "fold_match", host.List(), host.Progress()));
    EXPECT_FALSE(Exists(dir("b.txt")));
    EXPECT_STREQ(Row("24060", dir("b.txt")), host.LastRowText());
    EXPECT_TRUE(Exists(dir("sub_trace")));
}

TEST_F(FolderOps, MatchWithAnEmptyTextOrFolderDeletesNothing)
{
    CScratchFolder dir("fold_match_empty");
    Touch(dir("a.txt"));
    CCustomFunctions custom;
    EXPECT_EQ(1, custom.DeleteMatchInFolder(dir.Path(), "", host.List(), host.Progress()));
    EXPECT_EQ(1, custom.DeleteMatchInFolder("", "a", host.List(), host.Progress()));
    EXPECT_TRUE(Exists(dir("a.txt")));
    EXPECT_EQ(0, host.RowCount());
}

TEST_F(FolderOps, MatchGoesOnPastALockedFile)
{
    CScratchFolder dir("fold_match_locked");
    Touch(dir("1.tmp"));
    Touch(dir("2.tmp"));
    Touch(dir("3.tmp"));
    CLockedFile lock(dir("2.tmp"));
    ASSERT_TRUE(lock.IsLocked());
    CCustomFunctions custom;

    EXPECT_EQ(0, custom.DeleteMatchInFolder(dir.Path(), ".tmp", host.List(), host.Progress()));
    ASSERT_EQ(3, host.RowCount());
    EXPECT_STREQ(Row("24060", dir("1.tmp")), host.RowText(0));
    EXPECT_EQ(0, host.RowImage(0));
    EXPECT_STREQ(Row("24030", dir("2.tmp")), host.RowText(1));
    EXPECT_EQ(1, host.RowImage(1));
    EXPECT_STREQ(Row("24060", dir("3.tmp")), host.RowText(2));
    EXPECT_FALSE(Exists(dir("3.tmp")));
}

// Links: the fixture (made on the host by make-links.sh) holds
//   outside\keep.txt, outside\sub\keep2.txt   what the links point at
//   toplink -> outside
//   tree\inner\link -> outside, tree\dirlink -> outside
class LinkOps : public CustomTest
{
protected:
    void SetUp() override
    {
        CustomTest::SetUp();
        fixture = pirt_test::ProgramFolder() + "\\linkfix";
        if (!Exists(fixture + "\\tree\\dirlink"))
            GTEST_SKIP() << "link fixture missing: run through ctest";
        Touch(fixture + "\\tree\\a.txt");
        Touch(fixture + "\\tree\\inner\\b.txt");
    }
    void ExpectOutsideIntact()
    {
        EXPECT_TRUE(Exists(fixture + "\\outside\\keep.txt"));
        EXPECT_TRUE(Exists(fixture + "\\outside\\sub\\keep2.txt"));
        EXPECT_TRUE(Exists(fixture + "\\tree\\dirlink\\keep.txt"));
        EXPECT_TRUE(Exists(fixture + "\\tree\\inner\\link\\keep.txt"));
    }
    CString fixture;
};

TEST_F(LinkOps, EmptyingLeavesLinksAndWhatTheyPointAt)
{
    DWORD attributes = ::GetFileAttributesA(fixture + "\\tree\\dirlink");
    ASSERT_NE(0u, attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    CCustomFunctions custom;
    EXPECT_EQ(1, custom.DeleteFolderContents(fixture + "\\tree", host.List(), host.Progress()));
    EXPECT_FALSE(Exists(fixture + "\\tree\\a.txt"));
    EXPECT_FALSE(Exists(fixture + "\\tree\\inner\\b.txt"));
    ExpectOutsideIntact();
    EXPECT_EQ(0, host.LastRowImage());

    // With a pattern too.
    Touch(fixture + "\\tree\\c.txt");
    EXPECT_EQ(1, custom.DeleteFolderContents(fixture + "\\tree", 1, "*.txt", nullptr, 0));
    EXPECT_FALSE(Exists(fixture + "\\tree\\c.txt"));
    ExpectOutsideIntact();
}

TEST_F(LinkOps, RemovingKeepsLinksAndFailsForTheirFolders)
{
    CCustomFunctions custom;
    EXPECT_EQ(0, custom.RemoveFolder(fixture + "\\tree", host.List(), host.Progress()));
    EXPECT_STREQ(Row("24030", fixture + "\\tree"), host.LastRowText());
    EXPECT_FALSE(Exists(fixture + "\\tree\\a.txt"));
    ExpectOutsideIntact();
}
