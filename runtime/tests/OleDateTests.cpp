#include "runtime/OleDate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Day numbers from Python's datetime: (date(y, m, d) - date(1899, 12, 30)).days.
constexpr double k20240821 = 45525, k20240229 = 45351, k20230228 = 44985, k20240809 = 45513;

std::u16string Text(double date, DateForm form)
{
    CWString target(u"stale");
    const char16_t* result = DateToText(date, form, target);
    EXPECT_EQ(result, target.GetText());
    return std::u16string(target.View());
}

std::string Utf8Of(const char16_t* text)
{
    std::string out;
    for (; text && *text; ++text)
        out += *text < 0x80 ? static_cast<char>(*text) : '?';
    return out;
}

} // namespace

TEST(OleDate, CalendarAnchors)
{
    struct Case { CalendarTime time; double date; };
    for (const Case& c : {Case{{1899, 12, 30, 0, 0, 0}, 0.0}, Case{{1899, 12, 29, 6, 0, 0}, -1.25},
                          Case{{1899, 12, 30, 12, 0, 0}, 0.5}, Case{{1899, 12, 31, 18, 0, 0}, 1.75},
                          Case{{1900, 2, 28, 0, 0, 0}, 60}, Case{{1900, 3, 1, 0, 0, 0}, 61},
                          Case{{1600, 2, 29, 0, 0, 0}, -109512}, Case{{2000, 2, 29, 0, 0, 0}, 36585},
                          Case{{1582, 10, 4, 0, 0, 0}, -115869}, Case{{1582, 10, 15, 0, 0, 0}, -115858},
                          Case{{100, 1, 1, 0, 0, 0}, kDateMin}, Case{{9999, 12, 31, 0, 0, 0}, kDateMax},
                          Case{{9999, 12, 31, 23, 59, 59}, kDateMax + 86399 * kSecond},
                          Case{{100, 1, 1, 12, 0, 0}, kDateMin - 0.5}}) {
        const std::optional<double> date = CalendarToDate(c.time);
        ASSERT_TRUE(date) << c.date;
        EXPECT_NEAR(*date, c.date, 1e-9);
        EXPECT_EQ(DateToCalendar(c.date), c.time) << c.date;
    }
    for (const CalendarTime& bad : {CalendarTime{99, 12, 31}, CalendarTime{10000, 1, 1}, CalendarTime{2023, 2, 29},
                                    CalendarTime{2024, 4, 31}, CalendarTime{2024, 0, 1}, CalendarTime{2024, 1, 0},
                                    CalendarTime{2024, 1, 1, 24}, CalendarTime{2024, 1, 1, 0, 60},
                                    CalendarTime{2024, 1, 1, 0, 0, -1}})
        EXPECT_FALSE(CalendarToDate(bad)) << bad.year << "-" << bad.month << "-" << bad.day;
}

TEST(OleDate, CalendarRejectsWhatIsNoDate)
{
    for (double date : {kNaN, kInf, -kInf, kDateMin - 1.0, kDateMin - 1.5, kDateMax + 1.0, 1e300, -1e300,
                        kDateMax + 1 - 0.1 * kSecond})    // rounds up into the year 10000
        EXPECT_FALSE(DateToCalendar(date)) << date;
    // Rounding to the second carries into the next day, before the epoch as after it.
    EXPECT_EQ(DateToCalendar(-1.0 - 86399.6 * kSecond), (CalendarTime{1899, 12, 30, 0, 0, 0}));
    EXPECT_EQ(DateToCalendar(1.0 + 86399.6 * kSecond), (CalendarTime{1900, 1, 1, 0, 0, 0}));
    EXPECT_EQ(DateToCalendar(kDateMin - 1 + 0.4 * kSecond), (CalendarTime{100, 1, 2, 0, 0, 0}));
    EXPECT_EQ(DateToCalendar(-0.25), (CalendarTime{1899, 12, 30, 6, 0, 0}));
}

TEST(OleDate, DateToTextBothForms)
{
    struct Case { double date; const char16_t* chinese; const char16_t* numeric; };
    for (const Case& c : {
             Case{k20240821, u"2024年8月21日", u"8/21/2024"},
             Case{k20240821 + 7 * kSecond, u"2024年8月21日0时0分7秒", u"8/21/2024 0:0:7"},
             Case{k20240809 + 15.0 / 24, u"2024年8月9日15时", u"8/9/2024 15"},
             Case{k20240809 + (15 * 60 + 4) / 1440.0, u"2024年8月9日15时4分", u"8/9/2024 15:4"},
             Case{-1.25, u"1899年12月29日6时", u"12/29/1899 6"},
             Case{kDateMin, u"100年1月1日", u"1/1/100"},
             Case{kDateMax + 86399 * kSecond, u"9999年12月31日23时59分59秒", u"12/31/9999 23:59:59"},
         }) {
        EXPECT_EQ(Text(c.date, DateForm::Chinese), c.chinese) << c.date;
        EXPECT_EQ(Text(c.date, DateForm::Numeric), c.numeric) << c.date;
    }
    for (double outside : {kDateMin - 1, kDateMax + 1, kNaN, kInf, -kInf}) {
        EXPECT_EQ(Text(outside, DateForm::Chinese), u"") << outside;
        EXPECT_EQ(Text(outside, DateForm::Numeric), u"") << outside;
    }
}

TEST(OleDate, TextToDateReadsBothForms)
{
    const double t130509 = (13 * 3600 + 5 * 60 + 9) * kSecond;
    struct Case { const char16_t* text; DateForm form; double date; };
    for (const Case& c : {
             Case{u"2024-08-21 13:05:09", DateForm::Chinese, k20240821 + t130509},
             Case{u"2024年8月21日13时5分9秒", DateForm::Chinese, k20240821 + t130509},
             Case{u"2024年8月21日13时5分9秒以后随意", DateForm::Chinese, k20240821 + t130509},
             Case{u"2024-08-21", DateForm::Chinese, k20240821},
             Case{u"2024/8/21 7:5", DateForm::Chinese, k20240821 + (7 * 60 + 5) / 1440.0},
             Case{u"2024.8.21.7.5.3", DateForm::Chinese, k20240821 + (7 * 3600 + 5 * 60 + 3) * kSecond},
             Case{u"20240821", DateForm::Chinese, k20240821},    // fields of fixed widths
             Case{u"2024-02-30 10:00:00", DateForm::Chinese, k20240229 + 10.0 / 24},
             Case{u"2023-02-30", DateForm::Chinese, k20230228},
             Case{u"2024-13-40 25:61:99", DateForm::Chinese, 45657 + 86399 * kSecond},    // 2024-12-31 23:59:59
             Case{u"0-0-0", DateForm::Chinese, kDateMin},
             Case{u"08/21/2024 13:05", DateForm::Numeric, k20240821 + (13 * 60 + 5) / 1440.0},
             Case{u"8-21-2024", DateForm::Numeric, k20240821},
             Case{u"12/29/1899 06", DateForm::Numeric, -1.25},
         }) {
        EXPECT_NEAR(TextToDate(c.text, c.form), c.date, 1e-9) << Utf8Of(c.text);
    }
    for (const Case& c : {
             Case{nullptr, DateForm::Chinese, 0}, Case{u"", DateForm::Numeric, 0},
             Case{u"2024-08-21x", DateForm::Chinese, 0}, Case{u"2024-08-21 13:05:09 ", DateForm::Chinese, 0},
             Case{u"2024-08-21 13:05:09秒", DateForm::Numeric, 0},    // "秒" belongs to the Chinese form
             Case{u"8月21日", DateForm::Numeric, 0}, Case{u"2024年8月21日 13时", DateForm::Chinese, 0},
             Case{u"２０２４", DateForm::Chinese, 0},
         }) {
        EXPECT_EQ(TextToDate(c.text, c.form), kInvalidDate) << Utf8Of(c.text);
    }
}

TEST(OleDate, DateFromPartsClampsEachField)
{
    struct Case { int32_t y, mo, d, h, mi, s, ms; double date; };
    for (const Case& c : {
             Case{2024, 8, 21, 0, 0, 0, 0, k20240821},
             Case{2024, 2, 31, 0, 0, 0, 0, k20240229}, Case{2023, 2, 29, 0, 0, 0, 0, k20230228},
             Case{1900, 2, 29, 0, 0, 0, 0, 60}, Case{2000, 2, 30, 0, 0, 0, 0, 36585},
             Case{-5, -5, -5, -5, -5, -5, -5, kDateMin}, Case{INT32_MIN, 0, 0, 0, 0, 0, 0, kDateMin},
             Case{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX,
                  kDateMax + (86399 + 0.999) * kSecond},
             Case{2024, 8, 21, 0, 0, 0, 250, k20240821 + 0.25 * kSecond},
             // Before the epoch the millisecond still moves the time forward.
             Case{1899, 12, 29, 6, 0, 0, 500, -1.25 - 0.5 * kSecond},
         }) {
        EXPECT_NEAR(DateFromParts(c.y, c.mo, c.d, c.h, c.mi, c.s, c.ms, 123.0), c.date, 1e-10)
            << c.y << "-" << c.mo << "-" << c.d;
    }
    // A time just before midnight stays on its day in both directions from the epoch.
    EXPECT_EQ(DateToCalendar(DateFromParts(1899, 12, 29, 23, 59, 59, 400, 0)), (CalendarTime{1899, 12, 29, 23, 59, 59}));
    EXPECT_EQ(DateToCalendar(DateFromParts(1899, 12, 29, 23, 59, 59, 600, 0)), (CalendarTime{1899, 12, 30, 0, 0, 0}));
}

TEST(OleDate, LinearFormGrowsEvenly)
{
    struct Case { double date, linear; };
    for (const Case& c : {Case{-1.25, -0.75}, Case{-1.0, -1.0}, Case{-0.25, 0.25}, Case{0.25, 0.25},
                          Case{-2.5, -1.5}, Case{-2.75, -1.25}, Case{kDateMin, kDateMin}, Case{kDateMax, kDateMax},
                          Case{-0.4 * kSecond, -0.4 * kSecond}, Case{-0.6 * kSecond, 0.6 * kSecond}}) {
        EXPECT_DOUBLE_EQ(DateToLinear(c.date), c.linear) << c.date;
    }
    EXPECT_TRUE(std::isnan(DateToLinear(kNaN)));
    EXPECT_EQ(DateToLinear(-kInf), -kInf);
    EXPECT_EQ(DateToLinear(kInf), kInf);
}

TEST(OleDate, DateDiffSecondsKeepsTheTrueSign)
{
    const double noon = k20240821 + 0.5;
    const double eightyYears = 29220;    // days
    struct Case { double a, b; int64_t seconds; };
    for (const Case& c : {
             Case{noon + kSecond, noon, 1}, Case{noon, noon + kSecond, -1}, Case{noon, noon, 0},
             Case{noon + 0.49 * kSecond, noon, 0}, Case{noon + 0.51 * kSecond, noon, 1},
             Case{noon - 0.51 * kSecond, noon, -1}, Case{noon + 1.49 * kSecond, noon, 1},
             // Across the epoch, where the OLE form runs backwards within each day.
             Case{-1.25, -1.75, -43200}, Case{-0.25, -1.75, 43200}, Case{0.25, -0.25, 0},
             Case{0.0, -1.0 - 86399 * kSecond, 1},
             // 32-bit range and beyond.
             Case{noon + eightyYears, noon, 2524608000}, Case{noon, noon + eightyYears, -2524608000},
             Case{kDateMax, kDateMin, 3615899LL * 86400}, Case{kDateMin, kDateMax, -3615899LL * 86400},
             // Out-of-range dates clamp into the valid days; a NaN is the invalid (earliest) date.
             Case{kDateMin - 10, kDateMin, 0}, Case{-kInf, kDateMin, 0}, Case{kNaN, kDateMin, 0},
             Case{kNaN, kNaN, 0}, Case{kInf, 1e300, 0}, Case{kNaN, noon, -60735700800},
             Case{kDateMax + 0.5, kDateMax, 43200},    // the last day keeps its time
             Case{kDateMin - 0.5, kDateMin, 43200},    // and so does the first
         }) {
        EXPECT_EQ(DateDiffSeconds64(c.a, c.b), c.seconds) << c.a << " " << c.b;
        const int64_t saturated = std::clamp<int64_t>(c.seconds, INT32_MIN, INT32_MAX);
        EXPECT_EQ(DateDiffSeconds(c.a, c.b), saturated) << c.a << " " << c.b;
    }
    // The whole valid span, first second to last, and the same from beyond both ends.
    const double lastSecond = kDateMax + 86399 * kSecond;
    const int64_t span = 3615899LL * 86400 + 86399;
    for (const Case& c : {Case{lastSecond, kDateMin, span}, Case{kDateMin, lastSecond, -span},
                          Case{kInf, -kInf, span + 1}, Case{kNaN, 1e300, -span - 1}})
        EXPECT_EQ(DateDiffSeconds64(c.a, c.b), c.seconds) << c.a << " " << c.b;
    // Texts as the folding of records reads them.
    EXPECT_EQ(DateDiffSeconds(TextToDate(u"2024年8月21日13时5分10秒", DateForm::Chinese),
                              TextToDate(u"2024-08-21 13:05:09", DateForm::Chinese)), 1);
    EXPECT_GT(DateDiffSeconds(TextToDate(u"2024-08-21", DateForm::Chinese), TextToDate(u"", DateForm::Chinese)), 0);
}
