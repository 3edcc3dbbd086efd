#include "app/PlateFileName.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char16_t* path;
    const char16_t* plate;
    const char16_t* colour;
    const char16_t* time;
    const char16_t* cameraIp;
};

} // namespace

TEST(PlateFileName, PathsBecomeRecords)
{
    const Case cases[] = {
        {u"/srv/Upload/Images/20240821/192.168.1.64/PlateImage_京A12345_蓝_20240821123456789.jpg",
         u"京A12345", u"蓝", u"2024-08-21 12:34:56", u"192.168.1.64"},
        {u"/d/Images/cam/10.0.0.5/PlateImage_沪B00001_黄_20240102030405.jpg",
         u"沪B00001", u"黄", u"2024-01-02 03:04:05", u"10.0.0.5"},
        // Only the first 14 units of the stamp count; 13 units leave a one-unit second.
        {u"/d/Images/a/b/PlateImage_沪B00001_黄_20240102030405999.jpg", u"沪B00001", u"黄", u"2024-01-02 03:04:05", u"b"},
        {u"/d/Images/a/b/PlateImage_沪B00001_黄_2024010203040.jpg", u"沪B00001", u"黄", u"2024-01-02 03:04:0", u"b"},
        // Prefix and extension match without regard to ASCII case.
        {u"/d/Images/a/b/plateimage_沪B00001_黄_20240102030405.JPG", u"沪B00001", u"黄", u"2024-01-02 03:04:05", u"b"},
        // One folder below Images, or none, gives no camera address.
        {u"/d/Images/192.168.1.64/PlateImage_A_蓝_20240821123456.jpg", u"A", u"蓝", u"2024-08-21 12:34:56", u""},
        {u"/d/Images/PlateImage_A_蓝_20240821123456.jpg", u"A", u"蓝", u"2024-08-21 12:34:56", u""},
        {u"/d/pics/x/PlateImage_A_蓝_20240821123456.jpg", u"A", u"蓝", u"2024-08-21 12:34:56", u""},
        // Missing fields leave the separators of the time and nothing else.
        {u"/d/Images/a/b/PlateImage_A.jpg", u"", u"", u"-- ::", u"b"},
        {u"/d/Images/a/b/PlateImage_A_蓝_2024.jpg", u"A", u"蓝", u"2024-- ::", u"b"},
        {u"", u"", u"", u"-- ::", u""},
    };
    for (const Case& c : cases) {
        const CWString path(c.path);
        const VehicleRecord record = ParsePlateFileName(path);
        EXPECT_EQ(record.plate.View(), c.plate) << CWString(c.path).View().size();
        EXPECT_EQ(record.colour.View(), c.colour);
        EXPECT_EQ(record.time.View(), c.time);
        EXPECT_EQ(CameraIpOf(path).View(), c.cameraIp);
    }
}

TEST(PlateFileName, SplitPairs)
{
    struct Pieces { const char16_t* text; std::vector<std::u16string> pieces; };
    const Pieces cases[] = {
        {u"", {}},
        {u"a", {u"a"}},
        {u"ab", {u"ab"}},
        {u"abc", {u"ab", u"c"}},
        {u"20240821123456", {u"20", u"24", u"08", u"21", u"12", u"34", u"56"}},
    };
    rg_quarn_base::rg_WenBenShuZuLei pieces;
    pieces.Append(u"stale");
    for (const Pieces& c : cases) {
        EXPECT_EQ(SplitPairs(CWString(c.text), pieces), int64_t(c.pieces.size()));
        for (size_t i = 0; i < c.pieces.size(); ++i)
            EXPECT_EQ(std::u16string_view(pieces.GetAt(int64_t(i))), c.pieces[i]);
    }
}
