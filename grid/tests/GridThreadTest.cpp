// A worker fills the grid while the window thread pumps its messages and reads what a view reads.
#include "GridTestSupport.h"

#include "grid/rg_BiaoGe.h"
#include "platform/window/Clock.h"
#include "ui/CVWnd.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

CWString IntToTextForTest(int value)
{
    const std::string digits = std::to_string(value);
    return CWString(std::u16string(digits.begin(), digits.end()));
}

TEST(GridThreads, WorkerAppendsRowsWhileTheWindowThreadPaintsAndReads)
{
    HWND parent = grid_test::MakeParent();
    grid_test::RecordingGrid grid;
    ASSERT_TRUE(grid.Create(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, parent, 1));
    grid.SetColumnCount(5);
    grid.SetFixedRowCount(1);
    constexpr int kRows = 20000;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int r = 1; r <= kRows; ++r) {
            const int row = grid.AddRow(u"id");
            for (int c = 1; c < 5; ++c)
                grid.SetItemText(row, c, u"京A12345");
            if (r % 1000 == 0)
                grid.EnsureVisible(row, 1);
        }
        done = true;
    });
    int repaints = 0;
    std::vector<std::u16string> texts;
    const ULONGLONG reaper = GetTickCount64() + 60000;
    while (!done && GetTickCount64() < reaper) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            repaints += msg.message == GM_REPAINT;
            DispatchMessageW(&msg);
        }
        const GridViewport view = grid.GetViewport();
        grid.ReadRow(view.topRow, texts);
        if (view.rows > 1) {
            ASSERT_EQ(texts.size(), 5u);
        }
        WaitMessageTimeout(1);
    }
    worker.join();
    ASSERT_TRUE(done.load()) << "the worker did not finish in time";
    grid_test::Pump();
    EXPECT_EQ(grid.GetRowCount(), kRows + 1);
    EXPECT_EQ(grid.GetItemText(kRows, 4), u"京A12345");
    // Bursts coalesce: far fewer repaint messages than changes.
    EXPECT_LT(repaints, kRows);
    DestroyWindow(parent);
}

// The import's pattern through the control: a worker clears the grid, writes the header again,
// appends rows and centres the cells while the window thread keeps pumping.
TEST(GridThreads, ControlOperationsFromAWorkerReachTheGrid)
{
    CVWnd parent;
    ASSERT_TRUE(CVWnd::RegisterLibraryClass(u""));
    ASSERT_TRUE(parent.CreateNativeWindow(0, u"QrnWindow", u"form", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 800, 600,
                                          nullptr, 0));
    rg_quarn_MFCJieMian_BiaoGe::rg_BiaoGe grid;
    WinCreateInfo info;
    info.parentNative = &parent;
    info.x = info.y = 0;
    info.width = 560;
    info.height = 400;
    ASSERT_EQ(grid.Create(info), 1);
    grid.SetRowCount(1);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        grid.ClearCells(grid.GetRowCount() - 1, grid.GetColumnCount());
        const char16_t* header[] = {u"ID", u"车牌号", u"时间", u"车牌颜色", u"相机IP地址"};
        for (int c = 0; c < 5; ++c)
            grid.SetCellText(0, c, CWString(header[c]));
        for (int r = 1; r <= 5000; ++r) {
            const int row = grid.AddRow(IntToTextForTest(r));
            grid.SetCellText(row, 1, CWString(u"京A12345"));
            grid.EnsureVisible(row, 0);
        }
        grid.CentreCells(grid.GetRowCount() - 1, grid.GetColumnCount() - 1);
        done = true;
    });
    const ULONGLONG reaper = GetTickCount64() + 60000;
    while (!done && GetTickCount64() < reaper) {
        grid_test::Pump();
        WaitMessageTimeout(1);
    }
    worker.join();
    ASSERT_TRUE(done.load()) << "the worker did not finish in time";
    grid_test::Pump();
    EXPECT_EQ(grid.GetRowCount(), 5001);
    EXPECT_EQ(grid.GetCellText(0, 4).View(), u"相机IP地址");
    EXPECT_EQ(grid.GetCellText(5000, 0).View(), u"5000");
    EXPECT_EQ(grid.GetGridNative()->GetItemFormat(5000, 4), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    grid.Reset();
    DestroyWindow(parent.GetSafeHwnd());
}

}  // namespace
