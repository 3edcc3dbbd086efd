// A worker fills the grid while the window thread pumps its messages and reads what a view reads.
#include "GridTestSupport.h"

#include "platform/window/Clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

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

}  // namespace
