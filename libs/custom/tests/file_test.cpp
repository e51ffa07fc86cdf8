// Files, file contents and INI keys.
#include "customtest.h"

typedef CustomTest FileOps;

TEST_F(FileOps, DeleteOneFileReportsMissingAndDeletedFilesAsDone)
{
    CScratchFolder dir("files_delete");
    CCustomFunctions custom;

    const CString missing = dir("none.txt");
    EXPECT_EQ(1, custom.DeleteOneFile(missing, host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", missing), host.RowText(0));
    EXPECT_EQ(0, host.RowImage(0));
    EXPECT_EQ(0, host.ProgressLow());
    EXPECT_EQ(1, host.ProgressHigh());
    EXPECT_EQ(1, host.ProgressPos());

    const CString present = dir("trace.txt");
    Touch(present);
    EXPECT_EQ(1, custom.DeleteOneFile(present, host.List(), host.Progress()));
    EXPECT_FALSE(Exists(present));
    ASSERT_EQ(2, host.RowCount());
    EXPECT_STREQ(Row("24060", missing), host.RowText(0)); // the first row is left alone
    EXPECT_STREQ(Row("24060", present), host.RowText(1));
}

TEST_F(FileOps, DeleteOneFileFailsOnReadOnlyAndLockedFiles)
{
    CScratchFolder dir("files_delete_fail");
    CCustomFunctions custom;

    const CString readOnly = dir("ro.txt");
    Touch(readOnly);
    ::SetFileAttributesA(readOnly, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, custom.DeleteOneFile(readOnly, host.List(), host.Progress()));
    EXPECT_TRUE(Exists(readOnly));
    EXPECT_STREQ(Row("24030", readOnly), host.LastRowText());
    EXPECT_EQ(1, host.LastRowImage());
    EXPECT_EQ(1, host.ProgressPos());
    ::SetFileAttributesA(readOnly, FILE_ATTRIBUTE_NORMAL);

    const CString locked = dir("locked.txt");
    Touch(locked);
    CLockedFile lock(locked);
    ASSERT_TRUE(lock.IsLocked());
    EXPECT_EQ(0, custom.DeleteOneFile(locked, host.List(), host.Progress()));
    EXPECT_STREQ(Row("24030", locked), host.LastRowText());
    EXPECT_EQ(2, host.RowCount());
}

TEST_F(FileOps, DeleteFileContentEmptiesTheFileAndKeepsIt)
{
    CScratchFolder dir("files_content");
    CCustomFunctions custom;
    const CString path = dir("cache.dat");
    std::vector<char> data(10 * 1024, 'x');
    ASSERT_TRUE(pirt_test::WriteFileBytes(path, &data[0], data.size()));

    EXPECT_EQ(1, custom.DeleteFileContent(path, host.List(), host.Progress()));
    EXPECT_TRUE(Exists(path));
    EXPECT_TRUE(pirt_test::ReadFileBytes(path).empty());
    EXPECT_STREQ(Row("24070", path), host.LastRowText());
    EXPECT_EQ(0, host.LastRowImage());

    // A missing file is nothing to empty: done, and nothing is created.
    const CString missing = dir("none.dat");
    EXPECT_EQ(1, custom.DeleteFileContent(missing, host.List(), host.Progress()));
    EXPECT_FALSE(Exists(missing));
    EXPECT_STREQ(Row("24070", missing), host.LastRowText());
}

TEST_F(FileOps, DeleteFileContentOfALockedFileFails)
{
    CScratchFolder dir("files_content_locked");
    CCustomFunctions custom;
    const CString path = dir("locked.dat");
    Touch(path, "still here");
    {
        CLockedFile lock(path);
        ASSERT_TRUE(lock.IsLocked());
        EXPECT_EQ(0, custom.DeleteFileContent(path, host.List(), host.Progress()));
    }
    EXPECT_STREQ(Row("24050", path), host.LastRowText());
    EXPECT_EQ(1, host.LastRowImage());
    EXPECT_EQ(10u, pirt_test::ReadFileBytes(path).size());
}

TEST_F(FileOps, DeleteFileIniLineRemovesOnlyTheKey)
{
    CScratchFolder dir("files_ini");
    CCustomFunctions custom;
    const CString ini = dir("c.ini");
    Touch(ini, "[Recent]\r\nFile1=a.doc\r\nFile2=b.doc\r\n[Other]\r\nFile1=keep\r\n");

    EXPECT_EQ(1, custom.DeleteFileIniLine(ini, "Recent", "File1", host.List(), host.Progress()));
    const CString item = CString("Recent, File1 (") + ini + ")";
    EXPECT_STREQ(Row("24070", item), host.LastRowText());
    EXPECT_EQ(0, host.LastRowImage());

    char value[64];
    ::GetPrivateProfileStringA("Recent", "File1", "gone", value, sizeof(value), ini);
    EXPECT_STREQ("gone", value);
    ::GetPrivateProfileStringA("Recent", "File2", "", value, sizeof(value), ini);
    EXPECT_STREQ("b.doc", value);
    ::GetPrivateProfileStringA("Other", "File1", "", value, sizeof(value), ini);
    EXPECT_STREQ("keep", value);

    // The section stays even when its last key goes.
    EXPECT_EQ(1, custom.DeleteFileIniLine(ini, "Recent", "File2", host.List(), host.Progress()));
    char sections[256] = {0};
    ::GetPrivateProfileSectionNamesA(sections, sizeof(sections), ini);
    EXPECT_STREQ("Recent", sections);
}

TEST_F(FileOps, DeleteFileIniLineFailsOnAMissingFileOrAnEmptyKey)
{
    CScratchFolder dir("files_ini_fail");
    CCustomFunctions custom;

    const CString missing = dir("none.ini");
    EXPECT_EQ(0, custom.DeleteFileIniLine(missing, "Recent", "File1", host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24050", missing), host.RowText(0));
    EXPECT_EQ(1, host.RowImage(0));
    EXPECT_FALSE(Exists(missing));

    // An empty key must not be taken as "the whole section".
    const CString ini = dir("c.ini");
    Touch(ini, "[Recent]\r\nFile1=a.doc\r\n");
    EXPECT_EQ(0, custom.DeleteFileIniLine(ini, "Recent", "", host.List(), host.Progress()));
    EXPECT_EQ(1, host.LastRowImage());
    char value[64];
    ::GetPrivateProfileStringA("Recent", "File1", "", value, sizeof(value), ini);
    EXPECT_STREQ("a.doc", value);
}

TEST_F(FileOps, DeleteFileIniLineChangesTheRelativeFileItChecked)
{
    // A bare file name means the file in the current folder, never a file of
    // the same name in the Windows folder.
    CScratchFolder dir("files_ini_relative");
    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(dir.Path()));
    Touch(dir("pirt-rel.ini"), "[Recent]\r\nFile1=a.doc\r\n");

    CCustomFunctions custom;
    EXPECT_EQ(1, custom.DeleteFileIniLine("pirt-rel.ini", "Recent", "File1", host.List(), host.Progress()));
    ::SetCurrentDirectoryA(previous);

    char value[64];
    ::GetPrivateProfileStringA("Recent", "File1", "gone", value, sizeof(value), dir("pirt-rel.ini"));
    EXPECT_STREQ("gone", value);
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_FALSE(Exists(CString(windows) + "\\pirt-rel.ini"));
}

TEST_F(FileOps, TerminatePath)
{
    CCustomFunctions custom;
    CString path = "C:\\Temp ";
    custom.TerminatePath(path);
    EXPECT_STREQ("C:\\Temp\\", path);
    custom.TerminatePath(path);
    EXPECT_STREQ("C:\\Temp\\", path);
    CString empty = "  ";
    custom.TerminatePath(empty);
    EXPECT_STREQ("", empty);
}
