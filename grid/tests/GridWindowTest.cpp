// The native grid window: the property store applied at creation and at once afterwards, and the
// cell operations with their kinds, tags and bounds.
#include "GridTestSupport.h"

#include "grid/CVWnd_Grid.h"
#include "grid/GridConversions.h"
#include "platform/gdi/SystemColors.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using grid_test::Pump;

class GridWindow : public ::testing::Test {
protected:
    void SetUp() override { parent = grid_test::MakeParent(); }
    void TearDown() override
    {
        DestroyWindow(parent);
        Pump();
    }
    bool Create() { return grid.CreateGrid(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, parent, 3, nullptr); }

    HWND parent = nullptr;
    CVWnd_Grid grid;
};

TEST_F(GridWindow, StoredPropertiesTakeEffectAtCreationAndAtOnceAfterwards)
{
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetColumnCount(), 5);
    grid.SetColumnCount(7);
    grid.SetDefaultRowHeight(22);
    grid.SetFixedBackColour(kSystemButtonFace);
    EXPECT_EQ(grid.GetColumnCount(), 7);  // the stored value while there is no window
    ASSERT_TRUE(Create());
    EXPECT_FALSE(Create());
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetColumnCount(), 7);
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_EQ(grid.GetFixedColumnCount(), 1);
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(grid.GetRowHeight(r), 22);
    EXPECT_EQ(grid.GetColumnWidth(6), 60);
    EXPECT_EQ(grid.GetItemBackColour(0, 3), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(grid.GetGridLines(), GridLines::Both);
    EXPECT_TRUE(grid.IsEditable());

    grid.SetDefaultRowHeight(30);  // every existing row at once
    grid.SetColumnCount(5);
    EXPECT_EQ(grid.GetRowHeight(4), 30);
    EXPECT_EQ(grid.GetColumnCount(), 5);
    grid.SetDefaultRowHeight(2);  // never below the grid line plus 6
    EXPECT_EQ(grid.GetRowHeight(1), 7);
    grid.SetRowCount(1);
    grid.SetGridLines(1);
    grid.SetEditable(false);
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.GetGridLines(), GridLines::Horizontal);
    EXPECT_FALSE(grid.IsEditable());
}

TEST_F(GridWindow, CellOperationsBeforeCreationFailAndLeaveNoTrace)
{
    const CWString text(u"京A12345");
    EXPECT_EQ(grid.SetCellValue(1, 1, 1, u'S', &text), 0);
    EXPECT_EQ(grid.AddRow(text), -1);
    grid.SetColumnWidth(1, 100);
    grid.SetFocusCell(2, 2);
    EXPECT_TRUE(grid.GetCellText(1, 1).IsEmpty());
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{-1, -1}));
    ASSERT_TRUE(Create());
    EXPECT_TRUE(grid.GetCellText(1, 1).IsEmpty());
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetColumnWidth(1), 60);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{-1, -1}));
}

TEST_F(GridWindow, SetCellValueWritesEachTagAndRefusesWhatDoesNotFit)
{
    ASSERT_TRUE(Create());
    grid.SetColumnType(3, GridColumnType::Integer);
    grid.SetColumnType(4, GridColumnType::CheckBox);
    const CWString header(u"车牌号"), number(u" 12.5\u3000"), word(u"abc");
    const int32_t yes = 2, n = -42;
    const int8_t byte = -56;
    const int64_t big = INT64_MIN;
    const double d = 3.5;
    const float f = 0.25f;
    struct Case {
        int row, col, kind;
        char16_t tag;
        const void* value;
        int32_t result;
        const char16_t* text;
    };
    const Case cases[] = {
        {0, 2, 1, u'S', &header, 1, u"车牌号"},
        {1, 1, 1, u'B', &yes, 1, u"1"},
        {1, 2, 1, u'b', &byte, 1, u"-56"},
        {2, 1, 1, u'n', &n, 1, u"-42"},
        {2, 2, 1, u'p', &big, 1, u"-9223372036854775808"},
        {3, 1, 1, u'F', &d, 1, u"3.5"},
        {3, 2, 1, u'f', &f, 1, u"0.25"},
        {1, 3, 1, u'S', &number, 1, u" 12.5\u3000"},  // a number once the blanks are cut
        {2, 3, 1, u'S', &word, 0, u""},               // not a number in a number column
        {0, 3, 1, u'S', &word, 1, u"abc"},            // the header of a number column takes any text
        {3, 3, 1, u'x', &word, 0, u""},               // unknown tag
        {5, 1, 1, u'S', &word, 0, u""},               // below the last row
        {1, 5, 1, u'S', &word, 0, u""},               // right of the last column
        {-1, 0, 1, u'S', &word, 0, u""},
        {4, 1, 2, u'S', &word, 0, u""},               // unknown kind
        {4, 1, 1, u'S', nullptr, 0, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(grid.SetCellValue(c.row, c.col, c.kind, c.tag, c.value), c.result) << c.row << "," << c.col;
        EXPECT_EQ(grid.GetCellText(c.row, c.col).View(), c.text) << c.row << "," << c.col;
    }
    // Check states go to check-box columns only, and only as booleans.
    EXPECT_EQ(grid.SetCellValue(2, 4, 5, u'B', &yes), 1);
    EXPECT_TRUE(grid.GetItemCheck(2, 4));
    EXPECT_EQ(grid.SetCellValue(2, 4, 5, u'n', &yes), 0);
    EXPECT_EQ(grid.SetCellValue(2, 1, 5, u'B', &yes), 0);
    // Images go to image columns only.
    grid.SetColumnType(2, GridColumnType::Image);
    const int32_t index = 3;
    const CWString picture(u"/tmp/车.png");
    EXPECT_EQ(grid.SetCellValue(4, 2, 6, u'n', &index), 1);
    EXPECT_EQ(grid.GetItemImage(4, 2), 3);
    EXPECT_EQ(grid.SetCellValue(3, 2, 6, u'S', &picture), 1);
    EXPECT_EQ(grid.GetCellImagePath(3, 2).View(), u"/tmp/车.png");
    EXPECT_EQ(grid.SetCellValue(4, 1, 6, u'n', &index), 0);
}

TEST_F(GridWindow, ClearCellsEmptiesTheBodyAndKeepsTheHeaderAndRows)
{
    ASSERT_TRUE(Create());
    grid.SetRowCount(10);
    const CWString text(u"x");
    const int32_t yes = 1;
    grid.SetColumnType(1, GridColumnType::CheckBox);
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 5; ++c)
            grid.SetCellValue(r, c, 1, u'S', &text);
        grid.SetCellValue(r, 1, 5, u'B', &yes);
        grid.SetItemData(r, 2, 99);
    }
    grid.ClearCells(grid.GetRowCount() - 1, grid.GetColumnCount());
    EXPECT_EQ(grid.GetRowCount(), 10);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(grid.GetCellText(0, c).View(), u"x");
    for (int r = 1; r < 10; ++r) {
        for (int c = 0; c < 5; ++c)
            EXPECT_TRUE(grid.GetCellText(r, c).IsEmpty()) << r << "," << c;
        EXPECT_FALSE(grid.GetItemCheck(r, 1));
        EXPECT_EQ(grid.GetItemData(r, 2), 0);
    }
    EXPECT_TRUE(grid.GetItemCheck(0, 1));
    // Bounds: a negative last row counts as 1, a negative last column as 0.
    grid.SetCellValue(1, 0, 1, u'S', &text);
    grid.SetCellValue(1, 1, 1, u'S', &text);
    grid.SetCellValue(2, 0, 1, u'S', &text);
    grid.ClearCells(-5, -5);
    EXPECT_TRUE(grid.GetCellText(1, 0).IsEmpty());
    EXPECT_EQ(grid.GetCellText(1, 1).View(), u"x");
    EXPECT_EQ(grid.GetCellText(2, 0).View(), u"x");
    grid.SetRowCount(1);  // a single row is the header: it keeps its texts
    grid.ClearCells(5, 5);
    EXPECT_EQ(grid.GetCellText(0, 0).View(), u"x");
}

TEST_F(GridWindow, AddRowAppendsBelowAndFirstMakesAHeaderInAnEmptyGrid)
{
    ASSERT_TRUE(Create());
    grid.SetFixedRowCount(0);
    grid.SetFixedColumnCount(0);
    grid.SetRowCount(0);
    grid.SetColumnCount(0);
    grid.AddRow(CWString(u""));
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_EQ(grid.GetFixedColumnCount(), 1);
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetColumnCount(), 1);
    EXPECT_EQ(grid.GetRowHeight(1), grid.GetRowHeight(0));

    grid.SetColumnCount(5);
    grid.SetRowHeight(0, 30);
    grid.SetFocusCell(1, 2);
    EXPECT_EQ(grid.AddRow(CWString(u"2")), 2);
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetCellText(2, 0).View(), u"2");
    EXPECT_TRUE(grid.GetCellText(2, 1).IsEmpty());
    EXPECT_EQ(grid.GetRowHeight(2), 30);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{1, 2}));
    EXPECT_TRUE(grid.GetCellText(3, 0).IsEmpty());  // beyond the last row
}

TEST_F(GridWindow, CentreFocusSelectionAndWidthsActOnTheLiveGridOnly)
{
    ASSERT_TRUE(Create());
    grid.CentreCells(2, 100);
    EXPECT_EQ(grid.GetItemFormat(2, 4), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(grid.GetItemFormat(3, 0), kDefaultCellFormat);
    grid.SetFocusCell(0, 0);
    EXPECT_EQ(grid.GetFocusCell(), (CCellID{1, 1}));
    grid.SetSelectedRange(0, 0, 3, 3);
    EXPECT_EQ(grid.GetSelectedRange(), (CCellRange{1, 1, 3, 3}));
    grid.SetColumnWidth(7, 100);
    EXPECT_FALSE(grid.IsGridModified());
    grid.SetColumnWidth(2, 60);  // unchanged width: not modified
    EXPECT_FALSE(grid.IsGridModified());
    grid.SetColumnWidth(2, 100);
    EXPECT_EQ(grid.GetColumnWidth(2), 100);
    EXPECT_TRUE(grid.IsGridModified());
}

}  // namespace

namespace {

TEST(GridNumberText, NumberColumnsTakeDecimalTextsOnly)
{
    for (const char16_t* yes : {u"5.", u"+1.5E-3", u"007", u"-0", u" 42 ", u"\u30001e5"})
        EXPECT_TRUE(GridTextReadsAsNumber(yes)) << std::u16string_view(yes).size();
    for (const char16_t* no : {u".5", u"1.2.3", u"1e", u"1e+", u"", u"  ", u"0x10", u"1,5", u"--1", u"1 2"})
        EXPECT_FALSE(GridTextReadsAsNumber(no)) << std::u16string_view(no).size();
}

}  // namespace
