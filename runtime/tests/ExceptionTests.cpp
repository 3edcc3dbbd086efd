#include "runtime/CQrnException.h"
#include "runtime/CQrnStream.h"

#include <gtest/gtest.h>

TEST(Exception, CodesAndEquality)
{
    EXPECT_EQ(CQrnException().code, 0);
    CQrnException a(CWString(u"载入失败"));
    CQrnException b(CWString(u"另一个"));
    EXPECT_EQ(a.code, -1);
    EXPECT_TRUE(a.IsEqual(b));  // equal codes, different descriptions
    CQrnException c(7, CWString(u"载入失败"));
    EXPECT_FALSE(a.IsEqual(c));
    c.code = -1;
    c.tag = 2;
    EXPECT_FALSE(a.IsEqual(c));  // the object header still counts
    EXPECT_FALSE(a.IsEqual(CWString(u"载入失败")));
}

TEST(Exception, DumpAppends)
{
    CWString text(u"> ");
    CQrnException(CWString(u"x")).GetDumpText(text, 0);
    EXPECT_EQ(text.View(), u"> 代码: -1; 描述: x");
}

TEST(Exception, CopyResetAndThrowByValue)
{
    CQrnException source(7, CWString(u"x"));
    CQrnException copy;
    EXPECT_TRUE(copy.CopyFrom(source));
    EXPECT_EQ(copy.code, 7);
    EXPECT_EQ(copy.description.View(), u"x");
    EXPECT_FALSE(copy.CopyFrom(CWString(u"y")));
    copy.Reset();
    EXPECT_EQ(copy.code, 0);
    EXPECT_TRUE(copy.description.IsEmpty());
    try {
        throw source;
    } catch (const CQrnException& caught) {
        EXPECT_EQ(caught.code, 7);
        EXPECT_EQ(caught.description.View(), u"x");
    }
}

TEST(Exception, StreamRoundTripAndShortRead)
{
    CQrnMemoryStream stream;
    CQrnException(-5, CWString(u"描述")).SaveToStream(stream);
    const std::vector<uint8_t> expectedStart{0xFB, 0xFF, 0xFF, 0xFF};
    ASSERT_GE(stream.Bytes().size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(stream.Bytes().begin(), stream.Bytes().begin() + 4), expectedStart);
    CQrnException loaded;
    loaded.LoadFromStream(stream);
    EXPECT_TRUE(stream.IsGood());
    EXPECT_EQ(loaded.code, -5);
    EXPECT_EQ(loaded.description.View(), u"描述");

    CQrnMemoryStream shortStream(std::vector<uint8_t>{1, 2});
    CQrnException untouched(3, CWString(u"keep"));
    untouched.LoadFromStream(shortStream);
    EXPECT_EQ(shortStream.GetError(), CQrnStream::kReadError);
    EXPECT_EQ(untouched.code, 3);
}
