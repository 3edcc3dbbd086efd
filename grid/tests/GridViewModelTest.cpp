// The desktop presenter's table model over a live grid: Qt's model checker watches every signal
// while a worker fills, empties and refills the grid and the window thread pumps and refreshes, as
// the presenter does once a frame. No display is needed: the model is a plain QObject.
#include "GridTestSupport.h"

#include "platform/presenter/GridTableModel.h"
#include "platform/window/Clock.h"
#include "platform/window/TableSource.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

// The checker reports through Qt's warnings; every one of them fails the test.
std::mutex g_warningsLock;
QStringList g_warnings;

void RecordWarning(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    std::lock_guard<std::mutex> guard(g_warningsLock);
    g_warnings << message;
}

class GridViewModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "grid_view_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication* app = new QCoreApplication(argc, argv);
        (void)app;
        previousHandler = qInstallMessageHandler(RecordWarning);
        g_warnings.clear();
        parent = grid_test::MakeParent();
        ASSERT_TRUE(grid.Create(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, parent, 1));
        grid.SetColumnCount(5);
        grid.SetFixedRowCount(1);
        grid.SetRowCount(1);
        for (int col = 0; col < 5; ++col)
            grid.SetItemText(0, col, u"head" + std::u16string(1, char16_t(u'0' + col)));
    }
    void TearDown() override
    {
        if (grid.IsLive())
            DestroyWindow(grid.GetSafeHwnd());
        DestroyWindow(parent);
        qInstallMessageHandler(previousHandler);
    }
    QStringList Warnings()
    {
        std::lock_guard<std::mutex> guard(g_warningsLock);
        return g_warnings;
    }

    QtMessageHandler previousHandler = nullptr;
    HWND parent = nullptr;
    grid_test::RecordingGrid grid;
};

TEST_F(GridViewModel, StaysConsistentWhileAWorkerFillsEmptiesAndRefillsTheGrid)
{
    GridTableModel model(FindTableSource(grid.GetSafeHwnd()));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("head2"));

    constexpr int kRows = 1500;
    constexpr int kBatch = 100;
    std::atomic<bool> done{false};
    std::atomic<int> pulls{0};
    // After each batch the worker lets at least one refresh happen, so refreshes see the grid
    // half-filled as well as while it is being written.
    auto letTheViewPull = [&pulls] {
        const int seen = pulls.load();
        const ULONGLONG end = GetTickCount64() + 5000;
        while (pulls.load() == seen && GetTickCount64() < end)
            std::this_thread::yield();
    };
    std::thread worker([&] {
        for (int round = 0; round < 2; ++round) {
            for (int r = 1; r <= kRows; ++r) {
                const int row = grid.AddRow(u"id");
                grid.SetItemText(row, 1, u"京A" + std::u16string(1, char16_t(u'0' + r % 10)));
                if (r % kBatch == 0)
                    letTheViewPull();
            }
            if (round == 0)
                grid.SetRowCount(1);
            letTheViewPull();
        }
        grid.CentreCells(kRows, 4);
        done = true;
    });
    int refreshes = 0;
    const ULONGLONG reaper = GetTickCount64() + 60000;
    while (!done && GetTickCount64() < reaper) {
        grid_test::Pump();
        refreshes += model.Refresh();
        ++pulls;
        // What a view on screen reads: the first rows' texts.
        for (int row = 0; row < std::min(model.rowCount(), 20); ++row)
            (void)model.data(model.index(row, 1));
        WaitMessageTimeout(1);
    }
    worker.join();
    ASSERT_TRUE(done.load()) << "the worker did not finish in time";
    grid_test::Pump();
    model.Refresh();
    EXPECT_GT(refreshes, 2 * kRows / kBatch);
    EXPECT_EQ(model.rowCount(), kRows);
    EXPECT_EQ(model.data(model.index(kRows - 1, 1)).toString(), QString::fromUtf16(u"京A0"));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_TRUE(Warnings().isEmpty()) << Warnings().join(QLatin1Char('\n')).toStdString();
}

// Appended rows arrive as one insertion and never as a reset, whatever the grid held before;
// a refresh without a change says nothing.
TEST_F(GridViewModel, AppendedRowsAreInsertedAndAnUnchangedGridIsQuiet)
{
    GridTableModel model(FindTableSource(grid.GetSafeHwnd()));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    grid.AddRow(u"1");
    grid.AddRow(u"2");
    EXPECT_TRUE(model.Refresh());
    EXPECT_FALSE(model.Refresh());
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 0);
    EXPECT_EQ(inserted[0][2].toInt(), 1);
    EXPECT_EQ(reset.count(), 0);
    grid.SetColumnCount(6);
    EXPECT_TRUE(model.Refresh());
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.columnCount(), 6);
    EXPECT_TRUE(Warnings().isEmpty()) << Warnings().join(QLatin1Char('\n')).toStdString();
}

// Typing goes back to the grid, which alone decides: fixed columns and a grid that is not
// editable take nothing.
TEST_F(GridViewModel, TypedTextsReachTheGridOnlyWhereItIsEditable)
{
    grid.SetFixedColumnCount(1);
    grid.AddRow(u"1");
    GridTableModel model(FindTableSource(grid.GetSafeHwnd()));
    const QModelIndex cell = model.index(0, 2);
    EXPECT_TRUE(model.flags(cell) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    ASSERT_TRUE(model.setData(cell, QStringLiteral("typed")));
    grid_test::Pump();
    EXPECT_EQ(grid.GetItemText(1, 2), u"typed");
    EXPECT_EQ(grid.events, (std::vector<std::string>{"BeforeEdit 1,2", "EditStarted 1,2", "EditEnded 1,2"}));
    EXPECT_FALSE(model.setData(model.index(0, 0), QStringLiteral("no")));

    grid.SetEditable(Editable::No);
    model.Refresh();
    EXPECT_FALSE(model.flags(cell) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(cell, QStringLiteral("late")));
    grid_test::Pump();
    EXPECT_EQ(grid.GetItemText(1, 2), u"typed");
}

// The grid's window goes while the model still holds its source: the model empties itself.
TEST_F(GridViewModel, EmptiesWhenTheGridsWindowIsGone)
{
    grid.AddRow(u"1");
    GridTableModel model(FindTableSource(grid.GetSafeHwnd()));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(model.rowCount(), 1);
    DestroyWindow(grid.GetSafeHwnd());
    EXPECT_TRUE(model.Refresh());
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
    EXPECT_FALSE(model.setData(model.index(0, 1), QStringLiteral("x")));
    EXPECT_TRUE(Warnings().isEmpty()) << Warnings().join(QLatin1Char('\n')).toStdString();
}

}  // namespace
