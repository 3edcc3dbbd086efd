// The grid as a desktop presenter sees it: the table source registered under its window, what it
// answers while the grid lives and after it died, and commits that run through the grid's own editor.
#include "GridTestSupport.h"

#include "grid/GridTableAdapter.h"
#include "platform/window/Clock.h"
#include "platform/window/TableSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

namespace {

class GridTableSource : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = grid_test::MakeParent();
        grid = std::make_unique<grid_test::RecordingGrid>();
        ASSERT_TRUE(grid->Create(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, parent, 1));
        hwnd = grid->GetSafeHwnd();
        grid->SetColumnCount(3);
        grid->SetFixedRowCount(1);
        grid->SetFixedColumnCount(1);
        grid->SetRowCount(3);
        grid->SetItemText(0, 1, u"plate");
        grid->SetItemText(1, 1, u"A1");
        grid->SetColumnWidth(1, 120);
        grid->CentreCells(2, 2);
        grid_test::Pump();
        source = FindTableSource(hwnd);
        ASSERT_NE(source, nullptr);
    }
    void TearDown() override
    {
        grid.reset();
        DestroyWindow(parent);
    }

    HWND parent = nullptr;
    HWND hwnd = nullptr;
    std::unique_ptr<grid_test::RecordingGrid> grid;
    std::shared_ptr<TableSource> source;
};

// A cell made current in a view becomes the grid's focus cell on the grid's thread; a place outside
// the grid leaves the focus where it was.
TEST_F(GridTableSource, AMoveFromTheViewBecomesTheFocusCellOnTheGridsThread)
{
    grid->SetFocusCell(1, 1);
    ASSERT_TRUE(source->MoveFocus(2, 2));
    EXPECT_EQ(grid->GetFocusCell().row, 1) << "moved before the grid's thread ran it";
    grid_test::Pump();
    EXPECT_EQ(grid->GetFocusCell().row, 2);
    EXPECT_EQ(grid->GetFocusCell().col, 2);
    ASSERT_TRUE(source->MoveFocus(40, 1));
    grid_test::Pump();
    EXPECT_EQ(grid->GetFocusCell().row, 2);
    EXPECT_EQ(source->Shape().focusRow, 2);
}

TEST_F(GridTableSource, AnswersTheGridsShapeAndCells)
{
    grid->SetFocusCell(2, 1);
    grid->SetGridLines(GridLines::Horizontal);
    const TableShape shape = source->Shape();
    EXPECT_EQ(shape.rows, 3);
    EXPECT_EQ(shape.cols, 3);
    EXPECT_EQ(shape.fixedRows, 1);
    EXPECT_EQ(shape.fixedCols, 1);
    EXPECT_EQ(shape.rowHeight, grid->GetRowHeight(1));
    EXPECT_TRUE(shape.horizontalLines);
    EXPECT_FALSE(shape.verticalLines);
    EXPECT_EQ(shape.focusRow, 2);
    EXPECT_EQ(shape.focusCol, 1);
    EXPECT_TRUE(shape.editable);
    EXPECT_EQ(shape.revision, grid->GetRevision());
    EXPECT_EQ(source->CellText(0, 1), u"plate");
    EXPECT_EQ(source->CellText(1, 1), u"A1");
    EXPECT_EQ(source->CellText(7, 1), u"");
    EXPECT_EQ(source->CellAlignment(1, 1), TableCellAlign::Centre);
    EXPECT_EQ(source->CellAlignment(-1, 0), TableCellAlign::Left);
    EXPECT_EQ(source->ColumnWidth(1), 120);
    EXPECT_EQ(source->ColumnWidth(3), 0);

    const uint64_t before = source->Shape().revision;
    grid->AddRow(u"3");
    EXPECT_GT(source->Shape().revision, before);
    EXPECT_EQ(source->Shape().rows, 4);
}

// A held source outlives the grid: a view that still has it reads an empty table, whether the
// window was destroyed first or the object went with its window.
TEST_F(GridTableSource, IsGoneWithTheWindowAndAnswersEmptyAfterwards)
{
    DestroyWindow(hwnd);
    EXPECT_EQ(FindTableSource(hwnd), nullptr);
    EXPECT_EQ(source->Shape().rows, 0);
    EXPECT_EQ(source->CellText(1, 1), u"");
    EXPECT_FALSE(source->CommitCellText(1, 1, u"x"));

    ASSERT_TRUE(grid->Create(0, WS_CHILD, RECT{0, 0, 100, 100}, parent, 2));
    std::shared_ptr<TableSource> second = FindTableSource(grid->GetSafeHwnd());
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, source);
    const HWND secondHwnd = grid->GetSafeHwnd();
    grid.reset();
    EXPECT_EQ(FindTableSource(secondHwnd), nullptr);
    EXPECT_EQ(second->Shape().cols, 0);
    EXPECT_EQ(second->ColumnWidth(0), 0);
}

TEST_F(GridTableSource, ACommitRunsThroughTheEditorOnTheWindowThread)
{
    ASSERT_TRUE(source->CommitCellText(1, 1, u"京B"));
    // Nothing happens until the window's thread runs its messages.
    EXPECT_EQ(grid->GetItemText(1, 1), u"A1");
    grid_test::Pump();
    EXPECT_EQ(grid->GetItemText(1, 1), u"京B");
    EXPECT_TRUE(grid->GetItemState(1, 1) & GVIS_MODIFIED);
    EXPECT_EQ(grid->events, (std::vector<std::string>{"BeforeEdit 1,1", "EditStarted 1,1", "EditEnded 1,1"}));
    EXPECT_FALSE(grid->IsEditing());
}

// Whatever refuses a typed edit refuses the desktop's too, and the cell keeps its text.
TEST_F(GridTableSource, ACommitTheGridRefusesLeavesTheCell)
{
    struct Case {
        const char* name;
        int row, col;
        void (*prepare)(grid_test::RecordingGrid&);
    };
    const Case cases[] = {
        {"host says no", 1, 1, [](grid_test::RecordingGrid& g) { g.allowEdit = false; }},
        {"grid not editable", 1, 1, [](grid_test::RecordingGrid& g) { g.SetEditable(Editable::No); }},
        {"fixed cell", 0, 1, [](grid_test::RecordingGrid&) {}},
        {"outside the grid", 9, 1, [](grid_test::RecordingGrid&) {}},
        {"read-only cell", 1, 1, [](grid_test::RecordingGrid& g) { g.SetItemState(1, 1, GVIS_READONLY); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->allowEdit = true;
        grid->SetEditable(Editable::Yes);
        grid->SetItemState(1, 1, 0);
        c.prepare(*grid);
        const std::u16string before = grid->GetItemText(c.row, c.col);
        ASSERT_TRUE(source->CommitCellText(c.row, c.col, u"new"));
        grid_test::Pump();
        EXPECT_EQ(grid->GetItemText(c.row, c.col), before);
        EXPECT_FALSE(grid->IsEditing());
    }
}

// A presenter on another thread keeps reading and typing while the grid fills and then goes with
// its object: every call in flight finishes against the live grid, later ones get the empty table.
TEST(GridTableSourceThreads, AReaderOnAnotherThreadOutlivesTheGrid)
{
    HWND parent = grid_test::MakeParent();
    auto grid = std::make_unique<grid_test::RecordingGrid>();
    ASSERT_TRUE(grid->Create(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, parent, 1));
    grid->SetColumnCount(3);
    grid->SetFixedRowCount(1);
    std::shared_ptr<TableSource> source = FindTableSource(grid->GetSafeHwnd());
    ASSERT_NE(source, nullptr);
    std::atomic<bool> stop{false};
    std::atomic<int> emptyAnswers{0};
    std::thread reader([&] {
        int rounds = 0;
        while (!stop) {
            const TableShape shape = source->Shape();
            for (int row = 0; row < std::min(shape.rows, 30); ++row)
                (void)source->CellText(row, 1);
            (void)source->ColumnWidth(1);
            // Now and then, as a user types; a flood is the next test's.
            if (++rounds % 64 == 0)
                (void)source->CommitCellText(1, 1, u"typed");
            emptyAnswers += shape.rows == 0;
        }
    });
    for (int r = 0; r < 2000; ++r) {
        grid->AddRow(u"row");
        if (r % 100 == 0)
            grid_test::Pump();
    }
    grid_test::Pump();
    grid.reset();
    const ULONGLONG end = GetTickCount64() + 5000;
    while (emptyAnswers == 0 && GetTickCount64() < end)
        std::this_thread::yield();
    stop = true;
    reader.join();
    EXPECT_GT(emptyAnswers.load(), 0);
    grid_test::Pump();
    DestroyWindow(parent);
}

// Typed texts while the window thread does not pump: one message carries them all, and past the
// limit the adapter refuses instead of queueing without end.
TEST_F(GridTableSource, CommitsWaitingForTheWindowThreadAreBoundedAndTakenByOneMessage)
{
    size_t accepted = 0;
    for (size_t i = 0; i < GridTableAdapter::kMaxWaitingCommits + 10; ++i)
        accepted += source->CommitCellText(1, 1, u"t" + std::u16string(1, char16_t(u'a' + i % 26)));
    EXPECT_EQ(accepted, GridTableAdapter::kMaxWaitingCommits);
    MSG msg;
    int messages = 0;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        messages += msg.message == GM_COMMITTEXT;
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(messages, 1);
    // The last accepted text is the cell's; the queue is open again.
    const size_t last = GridTableAdapter::kMaxWaitingCommits - 1;
    EXPECT_EQ(grid->GetItemText(1, 1), u"t" + std::u16string(1, char16_t(u'a' + last % 26)));
    EXPECT_TRUE(source->CommitCellText(1, 1, u"again"));
    grid_test::Pump();
    EXPECT_EQ(grid->GetItemText(1, 1), u"again");
}

}  // namespace
