#include "runtime/CQrnMem.h"
#include "runtime/CQrnStream.h"
#include "runtime/CWString.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Bytes(const CQrnMem& m)
{
    return m.GetLength() ? std::string(reinterpret_cast<const char*>(m.GetData()), size_t(m.GetLength())) : std::string();
}
CQrnMem Filled(const char* text)
{
    CQrnMem m;
    m.AppendBytes(text, int64_t(std::char_traits<char>::length(text)));
    return m;
}
} // namespace

TEST(Mem, GrowthFollowsTheStep)
{
    CQrnMem m;
    m.SetLength(5);
    EXPECT_EQ(m.GetCapacity(), 64);
    m.SetLength(64);
    EXPECT_EQ(m.GetCapacity(), 64);
    m.SetLength(65);
    EXPECT_EQ(m.GetCapacity(), 128);
    m.SetLength(1000);
    m.SetLength(10);
    EXPECT_EQ(m.GetCapacity(), 64);
    m.SetLength(0);
    EXPECT_EQ(m.GetData(), nullptr);
    EXPECT_EQ(m.GetCapacity(), 0);
    for (int64_t step : {0, -5}) {
        CQrnMem odd(step);
        odd.SetLength(65);
        EXPECT_EQ(odd.GetCapacity(), 128) << step;
    }
}

TEST(Mem, RemoveAndReplace)
{
    struct Case { const char* start; int64_t offset, count; const char* with; int64_t newCount; std::string expected; };
    const Case cases[] = {
        {"abcdef", 2, 1, "XYZ", 3, "abXYZdef"},
        {"abcdef", 1, 3, "Q", 1, "aQef"},
        {"abcdef", 6, 0, "gh", 2, "abcdefgh"},
        {"abcdef", 1, 2, nullptr, 2, std::string("a\0\0def", 6)},
        {"abcdef", 0, 0, "<", 1, "<abcdef"},
        {"abcdef", 4, 10, "", 0, "abcd"},
    };
    for (const Case& c : cases) {
        CQrnMem m = Filled(c.start);
        m.Replace(c.offset, c.count, c.with, c.newCount);
        EXPECT_EQ(Bytes(m), c.expected) << c.start << " " << c.offset << " " << c.count;
    }
    CQrnMem m = Filled("0123456789");
    m.Remove(-1, 3);
    EXPECT_EQ(Bytes(m), "0123456");
    m.Remove(2, 100);
    EXPECT_EQ(Bytes(m), "01");
    m.Remove(0, 2);
    EXPECT_EQ(m.GetCapacity(), 0);
}

TEST(Mem, TextAppendsAndDump)
{
    CQrnMem m;
    m.AppendText(u"");
    EXPECT_EQ(m.GetLength(), 2);
    CQrnMem three;
    three.AppendByteList({0x41, 0x00, 0x7F});
    CWString dump;
    three.GetDumpText(dump, 0);
    EXPECT_EQ(dump.View(), u"<字节集> 总共 3 个字节:\r\n[00000000]: 41 00 7F" + std::u16string(39, u' ') + u" | A..");
    CQrnMem big;
    big.SetLength(2000);
    CWString limited;
    big.GetDumpText(limited, 0);
    EXPECT_EQ(limited.View().substr(0, limited.View().find(u'\r')), u"<字节集> 总共 2000 个字节,输出了 1024 个,还有 976 个未被输出.");
    EXPECT_NE(limited.View().find(u"[000003F0]:"), std::u16string_view::npos);
    EXPECT_EQ(limited.View().find(u"[00000400]:"), std::u16string_view::npos);
}

TEST(Mem, StreamFormAndBrokenStreams)
{
    CQrnMem m = Filled("xyz");
    CQrnMemoryStream out;
    m.SaveToStream(out);
    EXPECT_EQ(out.Bytes(), (std::vector<uint8_t>{3, 0, 0, 0, 'x', 'y', 'z'}));
    CQrnMemoryStream in(out.Bytes());
    CQrnMem back;
    back.LoadFromStream(in);
    EXPECT_TRUE(back.IsEqual(m));

    CQrnMemoryStream negative(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF});
    CQrnMem kept = Filled("keep");
    kept.LoadFromStream(negative);
    EXPECT_EQ(negative.GetError(), CQrnStream::kReadError);
    EXPECT_EQ(Bytes(kept), "keep");

    CQrnMemoryStream truncated(std::vector<uint8_t>{5, 0, 0, 0, 'a'});
    kept.LoadFromStream(truncated);
    EXPECT_EQ(truncated.GetError(), CQrnStream::kReadError);
    EXPECT_EQ(kept.GetLength(), 0);

    CQrnMemoryStream limited(2);
    m.SaveToStream(limited);
    EXPECT_EQ(limited.GetError(), CQrnStream::kWriteError);
}
