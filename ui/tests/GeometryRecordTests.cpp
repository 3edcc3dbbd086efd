// The geometry value classes: dumps, equality, copies and streams.
#include "UiTestSupport.h"

#include "platform/window/WinTypes.h"
#include "runtime/CQrnStream.h"
#include "ui/GeometryRecords.h"

#include <memory>

namespace {

using rg_quarn_base::rg_CheCunLei;
using rg_quarn_base::rg_WeiZhiLei;
using rg_quarn_MFCJieMian_base::rg_ChuangKouWeiZhiXianZhiXinXi;

std::string Dump(const CQrnObject& o)
{
    CWString text(u"old text");
    o.GetDumpText(text, 0);
    return ui_test::Utf8(text.View());
}

TEST(GeometryRecordTest, DumpsNameBothIntegers)
{
    EXPECT_EQ(Dump(rg_WeiZhiLei(5, -3)), "{ 横向位置: 5; 纵向位置: -3 }");
    EXPECT_EQ(Dump(rg_CheCunLei(560, 485)), "{ 宽度: 560; 高度: 485 }");
    rg_ChuangKouWeiZhiXianZhiXinXi limits;
    limits.maxPosition = rg_WeiZhiLei(1, 2);
    EXPECT_EQ(Dump(limits), "{ { 宽度: 0; 高度: 0 }; { 横向位置: 1; 纵向位置: 2 }; { 宽度: 0; 高度: 0 }; { 宽度: 0; 高度: 0 } }");
}

TEST(GeometryRecordTest, EqualityNeedsClassTagNullFlagAndBothIntegers)
{
    rg_WeiZhiLei a(5, 6), b(5, 6);
    EXPECT_TRUE(a.IsEqual(b));
    b.tag = 7;
    EXPECT_FALSE(a.IsEqual(b));
    b.tag = 0;
    b.SetNullObject(true);
    EXPECT_FALSE(a.IsEqual(b));
    EXPECT_FALSE(a.IsEqual(rg_WeiZhiLei(5, 7)));
    EXPECT_FALSE(a.IsEqual(rg_CheCunLei(5, 6))) << "a size is no position";
}

TEST(GeometryRecordTest, CopyTakesTheSameClassOnlyAndResetZeroes)
{
    rg_WeiZhiLei source(5, -3);
    source.tag = 9;
    rg_WeiZhiLei target;
    EXPECT_TRUE(target.CopyFrom(source));
    EXPECT_TRUE(target.IsEqual(source));
    rg_CheCunLei size(1, 2);
    EXPECT_FALSE(size.CopyFrom(source));
    EXPECT_EQ(size.width, 1);
    std::unique_ptr<CQrnObject> clone(source.Clone());
    EXPECT_TRUE(clone->IsEqual(source));
    target.Reset();
    EXPECT_EQ(target.x, 0);
    EXPECT_EQ(target.y, 0);

    rg_ChuangKouWeiZhiXianZhiXinXi limits, copy;
    limits.maxTrackSize = rg_CheCunLei(800, 600);
    limits.tag = 3;
    EXPECT_TRUE(copy.CopyFrom(limits));
    EXPECT_TRUE(copy.IsEqual(limits));
    copy.Reset();
    EXPECT_EQ(copy.maxTrackSize.width, 0);
}

TEST(GeometryRecordTest, StreamsHoldFourLittleEndianBytesPerInteger)
{
    CQrnMemoryStream stream;
    rg_CheCunLei(560, -485).SaveToStream(stream);
    ASSERT_EQ(stream.Bytes(), (std::vector<uint8_t>{0x30, 0x02, 0, 0, 0x1B, 0xFE, 0xFF, 0xFF}));
    rg_CheCunLei loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.width, 560);
    EXPECT_EQ(loaded.height, -485);
    EXPECT_EQ(stream.GetError(), CQrnStream::kGood);
}

TEST(GeometryRecordTest, AShortReadSetsTheReadErrorAndAFailedStreamIsLeftAlone)
{
    CQrnMemoryStream six(std::vector<uint8_t>{1, 0, 0, 0, 2, 0});
    rg_WeiZhiLei p(8, 9);
    p.LoadFromStream(six);
    EXPECT_EQ(six.GetError(), CQrnStream::kReadError);
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 9) << "the second integer stays when its bytes are missing";
    p.SaveToStream(six);
    EXPECT_EQ(six.Bytes().size(), 6u) << "nothing is written to a stream in error";

    CQrnMemoryStream stream;
    rg_ChuangKouWeiZhiXianZhiXinXi limits, loaded;
    limits.maxSize = rg_CheCunLei(1, 2);
    limits.maxPosition = rg_WeiZhiLei(3, 4);
    limits.minTrackSize = rg_CheCunLei(5, 6);
    limits.maxTrackSize = rg_CheCunLei(7, 8);
    limits.SaveToStream(stream);
    EXPECT_EQ(stream.Bytes().size(), 32u);
    loaded.LoadFromStream(stream);
    EXPECT_TRUE(loaded.IsEqual(limits));
}

TEST(GeometryRecordTest, TheLimitsRecordMirrorsTheFourPointsOfMinMaxInfo)
{
    MINMAXINFO info{{0, 0}, {1, 2}, {3, 4}, {5, 6}, {7, 8}};
    rg_ChuangKouWeiZhiXianZhiXinXi limits;
    limits.ReadFrom(info);
    EXPECT_EQ(limits.maxSize.width, 1);
    EXPECT_EQ(limits.maxPosition.y, 4);
    EXPECT_EQ(limits.minTrackSize.width, 5);
    EXPECT_EQ(limits.maxTrackSize.height, 8);
    limits.minTrackSize = rg_CheCunLei(50, 60);
    limits.WriteTo(info);
    EXPECT_EQ(info.ptMinTrackSize.x, 50);
    EXPECT_EQ(info.ptMinTrackSize.y, 60);
    EXPECT_EQ(info.ptMaxSize.x, 1);
}

}  // namespace
