#include "runtime/CWString.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

TEST(Text, EmptyTextsShareOneLiteral)
{
    CWString a, b;
    EXPECT_EQ(a.GetText(), b.GetText());
    EXPECT_EQ(a.GetText()[0], 0);
}

TEST(Text, BorrowedLiteralIsCopiedOnFirstChange)
{
    static const char16_t literal[] = u"abc";
    CWConstString borrowed(literal);
    CWString text(borrowed);
    EXPECT_EQ(text.GetText(), literal);
    text.Append(u"");
    text.Append(static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(text.IsBorrowed());
    text.Append(u"d");
    EXPECT_FALSE(text.IsBorrowed());
    EXPECT_EQ(text.View(), u"abcd");
    EXPECT_EQ(std::u16string_view(literal), u"abc");
}

TEST(Text, CutsAreClamped)
{
    const CWString abc(u"abc"), abcdef(u"abcdef");
    EXPECT_TRUE(abc.Left(0).IsEmpty());
    EXPECT_TRUE(abc.Right(-1).IsEmpty());
    EXPECT_TRUE(abc.Middle(3, 0).IsEmpty());
    EXPECT_EQ(abc.Left(100).View(), u"abc");
    EXPECT_EQ(abcdef.Middle(-2, 4).View(), u"ab");
    EXPECT_EQ(abcdef.Middle(4, 10).View(), u"ef");
}

TEST(Text, Find)
{
    const CWString t(u"abcb");
    EXPECT_EQ(t.Find(u"B", 0), -1);
    EXPECT_EQ(t.Find(u"B", 0, TextCase::Ignore), 1);
    EXPECT_EQ(t.Find(u"b", -1, TextCase::Exact, SearchFrom::End), 3);
    EXPECT_EQ(t.Find(u"", 2), 2);
    EXPECT_EQ(CWString(u"abc").Find(u"x", 5), -1);
    EXPECT_EQ(CWString(u"\u00C9").Find(u"\u00E9", 0, TextCase::Ignore), -1);
}

TEST(Text, MarkersCutFileNames)
{
    const CWString start(u"PlateImage_"), end(u"_");
    EXPECT_EQ(TextBetween(CWString(u"x_PlateImage_AB_CD_EF"), start, end).View(), u"AB");
    EXPECT_EQ(TextBetween(CWString(u"x_plateimage_AB_CD"), start, end).View(), u"AB");
    EXPECT_TRUE(TextBetween(CWString(u"x_PlateImage_AB"), start, end).IsEmpty());
    EXPECT_TRUE(TextBetween(CWString(u"x_Image_AB_CD"), start, end).IsEmpty());
    EXPECT_EQ(TextAfterLast(CWString(u"a_b_c.jpg"), end).View(), u"c.jpg");
    EXPECT_TRUE(TextAfterLast(CWString(u"a_b_"), end).IsEmpty());
    EXPECT_TRUE(TextAfterLast(CWString(u"a_b_"), CWString()).IsEmpty());
}

TEST(Text, NumbersAndFormats)
{
    struct Case { double value; const char16_t* expected; };
    for (const Case& c : {Case{-0.0, u"0"}, Case{1e-7, u"0"}, Case{0.0, u"0"}, Case{0.1, u"0.1"},
                          Case{1.23456789012345678e17, u"1.23456789012346E+17"}, Case{1e20, u"1E+20"}}) {
        CWString t;
        t.AppendDouble(c.value);
        EXPECT_EQ(t.View(), c.expected) << c.value;
    }
    CWString f;
    f.SetFormat(u"%d|%s|%I64X|%02X|%04X|%I64d", -12, u"文本", uint64_t(0xABCDEF), 5, 0x3A, int64_t(-9));
    EXPECT_EQ(f.View(), u"-12|文本|ABCDEF|05|003A|-9");
    f.SetFormat(u"%s", 5);
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_EQ(CWString(-12).View(), u"-12");
}

namespace {

std::u16string Widened(const char* ascii) { return std::u16string(ascii, ascii + std::strlen(ascii)); }

} // namespace

// Long fixed-point forms (up to the 309 digits of the largest double) and long precisions print in
// full, as the C library prints them.
TEST(Text, FloatingFormatsPrintEveryDigit)
{
    struct Case { const char* format; double value; };
    for (const Case& c : {Case{"%f", 1.7976931348623157e308}, Case{"%.2f", 1e300}, Case{"%-+0F", -1.5e301},
                          Case{"%.200f", 1e250}, Case{"%.400f", 1.5}, Case{"%.350e", 1.0 / 3}, Case{"%.320g", 0.1},
                          Case{"%500.3f", 2.5}}) {
        char expected[2048];
        const int length = std::snprintf(expected, sizeof expected, c.format, c.value);
        ASSERT_GT(length, 0);
        ASSERT_LT(length, int(sizeof expected));
        CWString text;
        text.SetFormat(Widened(c.format).c_str(), c.value);
        EXPECT_EQ(text.View(), Widened(expected)) << c.format;
    }
}

TEST(Text, AlternateOctalFormBeginsWithOneZero)
{
    struct Case { const char* format; int value; const char* expected; };
    for (const Case& c : {Case{"%#o", 8, "010"}, Case{"%#.2o", 8, "010"}, Case{"%#.3o", 8, "010"},
                          Case{"%#.5o", 8, "00010"}, Case{"%#08.4o", 8, "    0010"}, Case{"%#08o", 8, "00000010"},
                          Case{"%#o", 0, "0"}, Case{"%#.0o", 0, "0"}, Case{"%#.3o", 0, "000"}}) {
        CWString text;
        text.SetFormat(Widened(c.format).c_str(), c.value);
        EXPECT_EQ(text.View(), Widened(c.expected)) << c.format;
    }
}

TEST(Text, StorageGrowsBy254Bytes)
{
    CWString grown;
    for (int i = 0; i < 126; ++i)
        grown.AppendChar(u'x');
    EXPECT_EQ(grown.StorageBytes(), 254);
    grown.AppendChar(u'x');
    EXPECT_EQ(grown.StorageBytes(), 508);
    CWString once;
    once.SetChars(std::u16string(126, u'y').data(), 126);
    EXPECT_EQ(once.StorageBytes(), 508);
}
