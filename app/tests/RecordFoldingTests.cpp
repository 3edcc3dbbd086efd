#include "app/RecordFolding.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

// A grid of five text columns that records which row was made current.
class FakeGrid : public FoldingGrid {
public:
    using Row = std::array<std::u16string, 5>;

    CWString CellText(int32_t row, int32_t col) const override
    {
        return CWString(rows.at(row)[col].c_str());
    }
    void SetCellText(int32_t row, int32_t col, const CWString& text) override
    {
        rows.at(row)[col] = std::u16string(text.View());
    }
    int32_t AppendRow() override
    {
        rows.emplace_back();
        return static_cast<int32_t>(rows.size()) - 1;
    }
    void MakeCurrentRow(int32_t row) override { currentRow = row; }

    std::vector<Row> rows{Row{u"ID", u"车牌号", u"时间", u"车牌颜色", u"相机IP地址"}};
    int32_t currentRow = -1;
};

CWString Snapshot(const char16_t* plate, const char16_t* stamp, const char16_t* camera = u"10.0.0.1")
{
    std::u16string path = u"/data/Images/20240821/";
    path += camera;
    path += u"/PlateImage_";
    path += plate;
    path += u"_蓝_";
    path += stamp;
    path += u".jpg";
    return CWString(path.c_str());
}

} // namespace

TEST(RecordFolding, NewPlatesGetNumberedRowsWithEveryFieldAndBecomeCurrent)
{
    FakeGrid grid;
    RecordFolder folder(grid);
    folder.ApplyRecord(Snapshot(u"京A12345", u"20240821100000", u"192.168.1.7"));
    folder.ApplyRecord(Snapshot(u"沪B67890", u"20240821100500"));
    ASSERT_EQ(grid.rows.size(), 3u);
    EXPECT_EQ(grid.rows[1], (FakeGrid::Row{u"1", u"京A12345", u"2024-08-21 10:00:00", u"蓝", u"192.168.1.7"}));
    EXPECT_EQ(grid.rows[2][0], u"2");
    EXPECT_EQ(grid.currentRow, 2);
    EXPECT_EQ(folder.RowsAdded(), 2);
}

TEST(RecordFolding, ARepeatedPlateMovesOnlyItsOwnRowForward)
{
    struct Case {
        const char16_t* first;
        const char16_t* repeat;
        const char16_t* shown;
    };
    const Case cases[] = {
        {u"20240821100000", u"20240821100500", u"2024-08-21 10:05:00"},  // later wins
        {u"20240821100500", u"20240821100000", u"2024-08-21 10:05:00"},  // earlier never replaces
        {u"20240821100000", u"20240821100000", u"2024-08-21 10:00:00"},  // equal changes nothing
        {u"19000101000000", u"20991231235959", u"2099-12-31 23:59:59"},  // 200 years: true sign
        {u"20991231235959", u"19000101000000", u"2099-12-31 23:59:59"},
        {u"2024", u"20240821100000", u"2024-08-21 10:00:00"},            // unreadable shown time
        {u"20240821100000", u"", u"2024-08-21 10:00:00"},                // unreadable new time
    };
    for (const Case& c : cases) {
        FakeGrid grid;
        RecordFolder folder(grid);
        folder.ApplyRecord(Snapshot(u"京A12345", c.first));
        folder.ApplyRecord(Snapshot(u"沪B67890", u"20000101000000"));
        folder.ApplyRecord(Snapshot(u"京A12345", c.repeat));
        ASSERT_EQ(grid.rows.size(), 3u);
        EXPECT_EQ(grid.rows[1][2], c.shown) << "case " << (&c - cases);
        // The other plate's row, which is the last one, keeps its time.
        EXPECT_EQ(grid.rows[2][2], u"2000-01-01 00:00:00");
        EXPECT_EQ(folder.RowsAdded(), 2);
    }
}

TEST(RecordFolding, RepeatsConsumeNoNumberAndRowsAfterEarlierOnesAreNumberedFromOne)
{
    FakeGrid grid;
    grid.AppendRow();  // a row left from an earlier import, its cells emptied
    RecordFolder folder(grid);
    for (const char16_t* plate : {u"A1", u"B2", u"A1", u"C3", u"B2", u"D4"})
        folder.ApplyRecord(Snapshot(plate, u"20240821100000"));
    ASSERT_EQ(grid.rows.size(), 6u);
    EXPECT_EQ(grid.rows[1][0], u"");
    const char16_t* expected[][2] = {{u"1", u"A1"}, {u"2", u"B2"}, {u"3", u"C3"}, {u"4", u"D4"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(grid.rows[2 + i][0], expected[i][0]);
        EXPECT_EQ(grid.rows[2 + i][1], expected[i][1]);
    }
}

TEST(RecordFolding, NamesOutsideThePatternStillGiveARowWithEmptyFields)
{
    FakeGrid grid;
    RecordFolder folder(grid);
    folder.ApplyRecord(CWString(u"/tmp/PlateImage_.jpg"));
    ASSERT_EQ(grid.rows.size(), 2u);
    EXPECT_EQ(grid.rows[1][0], u"1");
    EXPECT_EQ(grid.rows[1][4], u"");
}
