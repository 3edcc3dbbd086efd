// The cell store: chunk boundaries, reshaping, text runs that grow, shrink and get compacted, and the
// row geometry, checked against a plain table kept beside it.
#include "grid/GridCellStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string Text(int row, int col, int length = 12)
{
    const std::string digits = std::to_string(row);
    std::u16string text = u"r" + std::u16string(digits.begin(), digits.end()) + u"c";
    text += static_cast<char16_t>(u'0' + col);
    while (static_cast<int>(text.size()) < length)
        text += u'京';
    return text.substr(0, static_cast<size_t>(length));
}

TEST(GridCellStore, RowsAcrossChunksKeepTheirCellsWhenColumnsAndRowsChange)
{
    GridCellStore store;
    store.SetColumnCount(3, 60);
    const int rows = GridCellStore::kChunkRows * 2 + 5;
    for (int r = 0; r < rows; ++r) {
        store.AppendRow(24);
        for (int c = 0; c < 3; ++c)
            ASSERT_TRUE(store.SetText(r, c, Text(r, c)));
        store.SetData(r, 1, r * 7LL);
    }
    store.SetColumnCount(5, 40);  // widen: old texts stay, new cells are empty
    store.SetColumnCount(2, 40);  // narrow: column 2 goes
    ASSERT_EQ(store.ColumnCount(), 2);
    EXPECT_EQ(store.ColumnWidth(0), 60);
    for (int r : {0, GridCellStore::kChunkRows - 1, GridCellStore::kChunkRows, rows - 1}) {
        EXPECT_EQ(store.Text(r, 0), Text(r, 0)) << r;
        EXPECT_EQ(store.Text(r, 1), Text(r, 1)) << r;
        EXPECT_EQ(store.Data(r, 1), r * 7LL);
    }
    store.SetRowCount(GridCellStore::kChunkRows + 1, 24);
    EXPECT_EQ(store.RowCount(), GridCellStore::kChunkRows + 1);
    EXPECT_EQ(store.Text(GridCellStore::kChunkRows, 1), Text(GridCellStore::kChunkRows, 1));
    EXPECT_TRUE(store.Text(GridCellStore::kChunkRows + 1, 0).empty());
    store.AppendRow(30);  // the new row is empty, whatever its slot held before
    EXPECT_TRUE(store.Text(GridCellStore::kChunkRows + 1, 0).empty());
    EXPECT_EQ(store.RowHeight(GridCellStore::kChunkRows + 1), 30);
}

TEST(GridCellStore, RewrittenTextsStayExactThroughCompaction)
{
    GridCellStore store;
    store.SetColumnCount(4, 60);
    store.SetRowCount(200, 24);
    std::vector<std::u16string> expected(800);
    // Grow, shrink, empty and rewrite every cell many times: runs move, dead units pile up and the
    // pool is rebuilt several times.
    for (int round = 0; round < 30; ++round) {
        for (int i = 0; i < 800; ++i) {
            const int length = (i * 7 + round * 13) % 40;
            std::u16string text = Text(i, round % 10, length);
            ASSERT_TRUE(store.SetText(i / 4, i % 4, text));
            expected[static_cast<size_t>(i)] = text;
        }
    }
    // A text taken from the store itself may be written back into another cell.
    const std::u16string source(store.Text(3, 1));
    store.SetText(5, 2, store.Text(3, 1));
    expected[5 * 4 + 2] = source;
    for (int i = 0; i < 800; ++i)
        ASSERT_EQ(store.Text(i / 4, i % 4), expected[static_cast<size_t>(i)]) << i;
    EXPECT_FALSE(store.SetText(200, 0, u"x"));
    EXPECT_FALSE(store.SetText(0, 4, u"x"));
    EXPECT_TRUE(store.Text(-1, 0).empty());
}

TEST(GridCellStore, RowGeometryMatchesASumOfHeights)
{
    GridCellStore store;
    store.SetColumnCount(2, 50);
    std::vector<int> heights;
    for (int r = 0; r < GridCellStore::kChunkRows * 3; ++r) {
        heights.push_back(r % 5 == 0 ? 0 : 10 + r % 7);
        store.AppendRow(heights.back());
    }
    store.SetRowHeight(2000, 100);
    heights[2000] = 100;
    int64_t top = 0;
    for (int r = 0; r < static_cast<int>(heights.size()); r += 97) {
        top = 0;
        for (int i = 0; i < r; ++i)
            top += heights[static_cast<size_t>(i)];
        ASSERT_EQ(store.RowTop(r), top) << r;
        if (heights[static_cast<size_t>(r)] > 0) {
            ASSERT_EQ(store.RowAt(top + heights[static_cast<size_t>(r)] - 1), r);
        }
    }
    EXPECT_EQ(store.RowAt(-1), -1);
    EXPECT_EQ(store.RowAt(store.RowTop(store.RowCount())), store.RowCount());
    EXPECT_EQ(store.ColumnAt(49), 0);
    EXPECT_EQ(store.ColumnAt(50), 1);
    EXPECT_EQ(store.ColumnAt(100), 2);
}

TEST(GridCellStore, ShortCellsCostLittleMemory)
{
    GridCellStore store;
    store.SetColumnCount(5, 60);
    const int rows = 20000;
    for (int r = 0; r < rows; ++r) {
        store.AppendRow(24);
        for (int c = 0; c < 5; ++c)
            store.SetText(r, c, Text(r, c));
    }
    const double perCell = static_cast<double>(store.BytesUsed()) / (rows * 5.0);
    EXPECT_LE(perCell, 64.0);
}

}  // namespace
