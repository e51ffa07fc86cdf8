#include "sortsettings.h"
#include "services.h"
#include "testsupport.h"

#include <gtest/gtest.h>

TEST(SortSettings, AbsentKeysReadAsDescendingAndNoColumn)
{
    pirt_test::ResetDataRoots();
    int ascending = 7, column = 7;
    ReadSortSettings(INI_FARNOCH, &ascending, &column);
    EXPECT_EQ(0, ascending);
    EXPECT_EQ(-1, column);
    pirt_test::ResetDataRoots();
}

TEST(SortSettings, WrittenValuesReadBack)
{
    pirt_test::ResetDataRoots();
    CString ini = GetIniPath(INI_FARNOCH);
    char text[32];

    WriteSortSettings(INI_FARNOCH, TRUE, 3);
    GetPrivateProfileStringA("Window", "SortAscending", "", text, sizeof(text), ini);
    EXPECT_STREQ("yes", text);
    GetPrivateProfileStringA("Window", "SortedCol", "", text, sizeof(text), ini);
    EXPECT_STREQ("3", text);
    int ascending = 0, column = 0;
    ReadSortSettings(INI_FARNOCH, &ascending, &column);
    EXPECT_EQ(1, ascending);
    EXPECT_EQ(3, column);

    WriteSortSettings(INI_FARNOCH, FALSE, -1);
    GetPrivateProfileStringA("Window", "SortAscending", "", text, sizeof(text), ini);
    EXPECT_STREQ("no", text);
    ReadSortSettings(INI_FARNOCH, &ascending, &column);
    EXPECT_EQ(0, ascending);
    EXPECT_EQ(-1, column);

    // Only the exact "yes" is ascending; other config files are not touched.
    WritePrivateProfileStringA("Window", "SortAscending", "Yes", ini);
    ReadSortSettings(INI_FARNOCH, &ascending, &column);
    EXPECT_EQ(0, ascending);
    ReadSortSettings(INI_PLIMVET, &ascending, &column);
    EXPECT_EQ(-1, column);
    pirt_test::ResetDataRoots();
}
