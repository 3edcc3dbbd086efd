#include "runtime/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {
std::string Narrow(const char16_t* text)
{
    std::string out;
    for (; text && *text; ++text)
        out.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
    return out;
}
} // namespace

TEST(NumberText, IntegersToText)
{
    EXPECT_EQ(IntToText(0).View(), u"0");
    EXPECT_EQ(IntToText(-2147483647 - 1).View(), u"-2147483648");
    struct Case { int64_t value; const char16_t* text; };
    for (const Case& c : {Case{0, u"0"}, Case{7, u"7"}, Case{-7, u"-7"}, Case{1000000, u"1000000"},
                          Case{INT64_MAX, u"9223372036854775807"}, Case{INT64_MIN, u"-9223372036854775808"},
                          Case{INT64_MIN + 1, u"-9223372036854775807"}}) {
        EXPECT_EQ(Int64ToText(c.value).View(), c.text) << c.value;
    }
}

TEST(NumberText, DecimalTextToInt64)
{
    const std::u16string twentyNines(20, u'9');
    const std::u16string minusTwentyNines = u"-" + twentyNines;
    struct Case { const char16_t* text; int64_t value; };
    for (const Case& c : {
             Case{nullptr, 0}, Case{u"", 0}, Case{u"   ", 0}, Case{u"+", 0}, Case{u"-", 0}, Case{u"abc", 0},
             Case{u"  -42abc", -42}, Case{u"\t\r\n\x01 17", 17}, Case{u"+00012", 12}, Case{u"- 5", 0},
             Case{u"--5", 0}, Case{u"\u00A012", 0},    // a no-break space is not skipped
             Case{u"\uFF11", 0},                        // nor is a full-width digit read
             Case{u"9223372036854775807", INT64_MAX}, Case{u"-9223372036854775808", INT64_MIN},
             Case{u"9223372036854775808", INT64_MIN}, Case{u"18446744073709551615", -1},
             Case{u"18446744073709551616", INT64_MAX}, Case{u"-18446744073709551616", INT64_MIN},
             Case{u"18446744073709551610", -6}, Case{u"184467440737095516150", INT64_MAX},
             Case{twentyNines.c_str(), INT64_MAX}, Case{minusTwentyNines.c_str(), INT64_MIN},
             Case{u"-0", 0}, Case{u"12 34", 12}}) {
        EXPECT_EQ(TextToInt64(c.text), c.value) << Narrow(c.text);
    }
}

TEST(NumberText, HexTextToInt64)
{
    struct Case { const char16_t* text; int64_t value; };
    for (const Case& c : {Case{nullptr, 0}, Case{u"", 0}, Case{u"0x", 0}, Case{u"0x1fZ", 31}, Case{u"ff", 255},
                          Case{u"0XaBc", 0xABC}, Case{u"-1", 0}, Case{u" 1", 0}, Case{u"0x0x1", 0},
                          Case{u"x1", 0}, Case{u"FFFFFFFFFFFFFFFF", -1}, Case{u"7fffffffffffffff", INT64_MAX},
                          Case{u"123456789abcdef012", 0x3456789ABCDEF012}, Case{u"g", 0}}) {
        EXPECT_EQ(HexTextToInt64(c.text), c.value) << Narrow(c.text);
    }
}

TEST(NumberText, CheckedDoubleAcceptsOnlyTheDecimalForm)
{
    struct Case { const char16_t* text; double value; };
    for (const Case& c : {Case{u"0", 0.0}, Case{u"5.", 5.0}, Case{u"007", 7.0}, Case{u"+1.5E-3", 0.0015},
                          Case{u"-2.25", -2.25}, Case{u"1e3", 1000.0}, Case{u"1E+3", 1000.0},
                          Case{u"0.1", 0.1}, Case{u"123456789012345678901234567890", 1.2345678901234568e29},
                          Case{u"2.2250738585072014e-308", 2.2250738585072014e-308},
                          Case{u"4.9406564584124654e-324", 4.9406564584124654e-324},
                          Case{u"1.7976931348623157e308", 1.7976931348623157e308},
                          Case{u"0e999999999999999999999", 0.0}, Case{u"1e-999999999999999999999", 0.0}}) {
        double out = -1;
        EXPECT_TRUE(TextToDoubleChecked(c.text, out)) << Narrow(c.text);
        EXPECT_EQ(out, c.value) << Narrow(c.text);
    }
    // Beyond the range, the result is as the C runtime gives it: a signed infinity or a signed zero.
    double out = 0;
    EXPECT_TRUE(TextToDoubleChecked(u"1e400", out));
    EXPECT_EQ(out, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(TextToDoubleChecked(u"-123456e999999999999999999", out));
    EXPECT_EQ(out, -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(TextToDoubleChecked(u"1.7976931348623159e308", out));
    EXPECT_TRUE(std::isinf(out));
    EXPECT_TRUE(TextToDoubleChecked(u"-0.0001e-400", out));
    EXPECT_EQ(out, 0.0);
    EXPECT_TRUE(std::signbit(out));
    EXPECT_TRUE(TextToDoubleChecked(u"-0", out));
    EXPECT_TRUE(std::signbit(out));

    for (const char16_t* bad : {static_cast<const char16_t*>(nullptr), u"", u".5", u"1.2.3", u"1e", u"1e+",
                                u"1 ", u" 1", u"+", u"-", u"+-1", u"1e5.0", u"1e5e5", u"0x10", u"inf", u"nan",
                                u"1,5", u"\uFF11", u"e5", u"1..", u"1d5"}) {
        out = 99;
        EXPECT_FALSE(TextToDoubleChecked(bad, out)) << Narrow(bad);
        EXPECT_EQ(out, 0.0) << Narrow(bad);
    }
}
