// The result-row contract on a real list control and progress bar.
#include <gtest/gtest.h>
#include "pirt.h"
#include "testsupport.h"

using namespace pirt_test;

namespace {

// Every key of the contract with a text of its own.
class ReportRowsTest : public ::testing::Test
{
protected:
    ReportRowsTest() : folder("reportrows") {}
    void SetUp() override
    {
        ResetDataRoots();
        WriteFileText(folder("Rows.lng"), "[General]\r\n24020=Start1\r\n24040=Start0\r\n24060=Done1\r\n"
                                          "24070=Done0\r\n24030=Failed1\r\n24050=Failed0\r\n");
        WritePrivateProfileStringA("Pirt", "LngPath", folder("Rows.lng"), GetIniPath(INI_PIRT));
    }
    CScratchFolder folder;
    CReportHost host;
};

WNDPROC g_listProc = nullptr;
int g_listPaints = 0;
LRESULT CALLBACK CountListPaints(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        ++g_listPaints;
    return CallWindowProcA(g_listProc, hwnd, message, wParam, lParam);
}

// The newest row lies in the list's visible page.
bool LastRowInView(CListCtrl* list) { return list->GetTopIndex() + list->GetCountPerPage() >= list->GetItemCount(); }

} // namespace

TEST_F(ReportRowsTest, OneItemGivesOneRowRewrittenWithItsResult)
{
    SetupProgress(host.Progress(), 1);
    EXPECT_EQ(0, host.ProgressLow());
    EXPECT_EQ(1, host.ProgressHigh());
    EXPECT_EQ(0, host.ProgressPos());

    ReportRowStart("C:\\missing.txt", host.List(), 0);
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ("Start0 C:\\missing.txt", host.RowText(0));
    EXPECT_EQ(REPORT_IMAGE_WORKING, host.RowImage(0));
    EXPECT_EQ(0, host.ProgressPos());

    ReportRowResult("C:\\missing.txt", 1, host.Progress(), host.List(), 1, nullptr);
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ("Done1 C:\\missing.txt", host.RowText(0));
    EXPECT_EQ(REPORT_IMAGE_DONE, host.RowImage(0));
    EXPECT_EQ(1, host.ProgressPos());
}

TEST_F(ReportRowsTest, FlagsSelectTheTextsAndOnlyTheLastRowIsRewritten)
{
    SetupProgress(host.Progress(), 3);
    EXPECT_EQ(3, host.ProgressHigh());

    ReportRowStart("a", host.List(), 1);
    EXPECT_STREQ("Start1 a", host.LastRowText());
    ReportRowResult("a", 0, host.Progress(), host.List(), 1, nullptr);
    ReportRowStart("b", host.List(), 0);
    ReportRowResult("b", 0, host.Progress(), host.List(), 0, nullptr);
    ReportRowStart("c", host.List(), 1);
    ReportRowResult("c", 1, host.Progress(), host.List(), 0, nullptr);

    ASSERT_EQ(3, host.RowCount());
    EXPECT_STREQ("Failed1 a", host.RowText(0));
    EXPECT_EQ(REPORT_IMAGE_FAILED, host.RowImage(0));
    EXPECT_STREQ("Failed0 b", host.RowText(1));
    EXPECT_EQ(REPORT_IMAGE_FAILED, host.RowImage(1));
    EXPECT_STREQ("Done0 c", host.RowText(2));
    EXPECT_EQ(REPORT_IMAGE_DONE, host.RowImage(2));
    EXPECT_EQ(3, host.ProgressPos());
}

TEST_F(ReportRowsTest, MissingTextLeavesBlankAndItem)
{
    WritePrivateProfileStringA("General", "24040", nullptr, folder("Rows.lng"));
    ReportRowStart("item", host.List(), 0);
    EXPECT_STREQ(" item", host.LastRowText());
}

TEST_F(ReportRowsTest, ResultWithoutWorkingRowStillShows)
{
    ReportRowResult("lonely", 1, host.Progress(), host.List(), 1, nullptr);
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ("Done1 lonely", host.RowText(0));
    EXPECT_EQ(REPORT_IMAGE_DONE, host.RowImage(0));
}

TEST_F(ReportRowsTest, EachResultIsLoggedWhenLoggingIsOn)
{
    CLogFile log;
    log.SetLogPath(folder("pirt.log"));
    log.SetModule("custom.dll");
    log.SetProcedure("DeleteOneFile");

    ReportRowStart("x", host.List(), 0);
    ReportRowResult("x", 1, host.Progress(), host.List(), 1, &log);
    ReportRowStart("y", host.List(), 0);
    ReportRowResult("y", 0, host.Progress(), host.List(), 0, nullptr); // logging off
    ReportRowStart("z", host.List(), 0);
    ReportRowResult("z", 0, host.Progress(), host.List(), 1, &log);

    std::vector<char> file = ReadFileBytes(folder("pirt.log"));
    ASSERT_EQ(3u * LOG_RECORD_SIZE, file.size());
    EXPECT_STREQ("Done1 x", file.data() + LOG_RECORD_SIZE + LOG_EVENT_OFFSET);
    EXPECT_STREQ("custom.dll", file.data() + LOG_RECORD_SIZE + LOG_MODULE_OFFSET);
    EXPECT_STREQ("Failed1 z", file.data() + 2 * LOG_RECORD_SIZE + LOG_EVENT_OFFSET);
}

TEST_F(ReportRowsTest, ShownRowsArePaintedAtIntervalsAndInFullWhenWorkEndsOrPumps)
{
    ShowWindow(host.Host(), SW_SHOWNOACTIVATE);
    UpdateWindow(host.Host());
    const HWND list = host.List()->GetSafeHwnd();
    g_listProc = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)CountListPaints);
    g_listPaints = 0;

    const int rows = 300;
    const DWORD start = GetTickCount();
    for (int i = 0; i < rows; ++i) {
        CString item;
        item.Format("item %d", i);
        SetupProgress(host.Progress(), 1);
        ReportRowStart(item, host.List(), 0);
        ReportRowResult(item, i % 2, host.Progress(), host.List(), 1, nullptr);
    }
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_LE(g_listPaints, (int)(elapsed / REPORT_PAINT_INTERVAL_MS) + 2) << elapsed << " ms";
    ASSERT_EQ(rows, host.RowCount());
    EXPECT_STREQ("Failed1 item 0", host.RowText(0));
    EXPECT_STREQ("Done1 item 299", host.LastRowText());
    EXPECT_EQ(REPORT_IMAGE_DONE, host.LastRowImage());
    EXPECT_EQ(1, host.ProgressPos());

    // The end of the work paints what was left: the newest row in view, the
    // bar shown, nothing left to draw.
    ShowPendingReportRows();
    EXPECT_TRUE(LastRowInView(host.List()));
    EXPECT_TRUE(IsWindowVisible(host.Progress()->GetSafeHwnd()));
    EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE));

    // A row of long work that pumps shows once the interval has passed.
    ReportRowStart("long work", host.List(), 0);
    // Longer than the longest pause between pictures, with room for a tick
    // count that lags the sleep (a slow emulated build pauses that long).
    Sleep(REPORT_PAINT_PAUSE_MAX_MS + 200);
    ProcessMsgLoop();
    EXPECT_TRUE(LastRowInView(host.List()));
    EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE));

    SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)g_listProc);
}
