// The date-time conversions: the input is read as a date text in both forms, and the same bytes give
// the doubles and calendar fields for the calendar, parts and difference functions. Besides not
// crashing, every date read or printed must read back to itself, the calendar must round trip, and
// the differences must agree with a second count kept here independently of the runtime's day count.
#include "fuzz/FuzzText.h"
#include "runtime/OleDate.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kSecond = 1.0 / 86400;

bool IsLeap(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t MonthDays(int32_t year, int32_t month)
{
    static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool IsValid(const CalendarTime& t)
{
    return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1
        && t.day <= MonthDays(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0
        && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

// Seconds since 1 January of the year 1, counted year by year and month by month.
int64_t SecondsOf(const CalendarTime& t)
{
    const int64_t y = t.year - 1;
    int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int32_t m = 1; m < t.month; ++m)
        days += MonthDays(t.year, m);
    days += t.day - 1;
    return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

CalendarTime ClampedFields(const CalendarTime& raw)
{
    CalendarTime t;
    t.year = std::clamp(raw.year, 100, 9999);
    t.month = std::clamp(raw.month, 1, 12);
    t.day = std::clamp(raw.day, 1, MonthDays(t.year, t.month));
    t.hour = std::clamp(raw.hour, 0, 23);
    t.minute = std::clamp(raw.minute, 0, 59);
    t.second = std::clamp(raw.second, 0, 59);
    return t;
}

// Mostly small field values near the valid ranges, sometimes any 32-bit value.
CalendarTime FieldsFrom(FuzzedDataProvider& in)
{
    auto field = [&in](int32_t low, int32_t high) {
        return in.ConsumeBool() ? in.ConsumeIntegral<int32_t>() : in.ConsumeIntegralInRange(low - 2, high + 2);
    };
    CalendarTime t;
    t.year = field(100, 9999);
    t.month = field(1, 12);
    t.day = field(1, 31);
    t.hour = field(0, 23);
    t.minute = field(0, 59);
    t.second = field(0, 59);
    return t;
}

// Any double, a date in or near the valid range, or a NaN or an infinity.
double DateFrom(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeFloatingPoint<double>();
    case 1: return in.ConsumeFloatingPointInRange(kDateMin - 2.0, kDateMax + 2.0);
    case 2: return in.ConsumeFloatingPointInRange(-3.0, 3.0);
    default: {
        static constexpr double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                              std::numeric_limits<double>::infinity(),
                                              -std::numeric_limits<double>::infinity(), kDateMin - 1.0, kDateMax + 1.0,
                                              -0.0, kDateMax + 1.0 - 0.5 * kSecond, kDateMin - 1.0 + 0.5 * kSecond};
        return kSpecial[in.ConsumeIntegralInRange<size_t>(0, std::size(kSpecial) - 1)];
    }
    }
}

std::u16string Printed(double date, DateForm form)
{
    CWString target(u"stale");
    const char16_t* text = DateToText(date, form, target);
    TABRIX_FUZZ_CHECK(text == target.GetText());
    return std::u16string(target.View());
}

// A date of whole seconds prints in both forms and each text reads back to it.
void CheckPrintsAndReadsBack(double date)
{
    for (DateForm form : {DateForm::Chinese, DateForm::Numeric}) {
        const std::u16string text = Printed(date, form);
        TABRIX_FUZZ_CHECK(!text.empty());
        TABRIX_FUZZ_CHECK(TextToDate(text.c_str(), form) == date);
    }
}

void CheckTextReading(const std::u16string& text)
{
    for (DateForm form : {DateForm::Chinese, DateForm::Numeric}) {
        const double date = TextToDate(text.c_str(), form);
        if (date == kInvalidDate)
            continue;
        // What was read is a valid date to the second.
        const std::optional<CalendarTime> fields = DateToCalendar(date);
        TABRIX_FUZZ_CHECK(fields.has_value());
        TABRIX_FUZZ_CHECK(CalendarToDate(*fields) == date);
        CheckPrintsAndReadsBack(date);
    }
}

// The documented text shapes of valid fields read to the fields' date.
void CheckWrittenFields(const CalendarTime& t)
{
    const double date = *CalendarToDate(t);
    CWString text;
    text.SetFormat(u"%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    TABRIX_FUZZ_CHECK(TextToDate(text.GetText(), DateForm::Chinese) == date);
    text.SetFormat(u"%d年%d月%d日%d时%d分%d秒", t.year, t.month, t.day, t.hour, t.minute, t.second);
    TABRIX_FUZZ_CHECK(TextToDate(text.GetText(), DateForm::Chinese) == date);
    text.SetFormat(u"%02d/%02d/%04d %02d:%02d:%02d", t.month, t.day, t.year, t.hour, t.minute, t.second);
    TABRIX_FUZZ_CHECK(TextToDate(text.GetText(), DateForm::Numeric) == date);
}

void CheckCalendar(const CalendarTime& raw)
{
    const std::optional<double> date = CalendarToDate(raw);
    TABRIX_FUZZ_CHECK(date.has_value() == IsValid(raw));
    if (date) {
        TABRIX_FUZZ_CHECK(DateToCalendar(*date) == raw);
        CheckPrintsAndReadsBack(*date);
        CheckWrittenFields(raw);
    }
}

// The calendar fields of any double: present exactly for the valid range, within half a second.
void CheckDateToCalendar(double date)
{
    const std::optional<CalendarTime> fields = DateToCalendar(date);
    const bool outside = !(date > kDateMin - 1.0 && date < kDateMax + 1.0);
    const bool inside = date > kDateMin - 1.0 && date < kDateMax + 1.0 - kSecond;
    if (outside)
        TABRIX_FUZZ_CHECK(!fields);
    if (inside)
        TABRIX_FUZZ_CHECK(fields.has_value());
    const std::u16string numeric = Printed(date, DateForm::Numeric);
    TABRIX_FUZZ_CHECK(numeric.empty() == !fields);
    if (!fields)
        return;
    const std::optional<double> rounded = CalendarToDate(*fields);
    TABRIX_FUZZ_CHECK(rounded.has_value());
    TABRIX_FUZZ_CHECK(std::fabs(DateToLinear(*rounded) - DateToLinear(date)) <= 0.5 * kSecond + 1e-9);
    TABRIX_FUZZ_CHECK(TextToDate(numeric.c_str(), DateForm::Numeric) == *rounded);
}

void CheckDateFromParts(const CalendarTime& raw, int32_t millisecond, double fallback)
{
    const double date = DateFromParts(raw.year, raw.month, raw.day, raw.hour, raw.minute, raw.second,
                                      millisecond, fallback);
    const CalendarTime clamped = ClampedFields(raw);
    const double base = *CalendarToDate(clamped);
    const double extra = std::clamp(millisecond, 0, 999) / 86400000.0;
    TABRIX_FUZZ_CHECK(std::fabs(DateToLinear(date) - DateToLinear(base) - extra) <= 2e-9);
    if (millisecond < 500)
        TABRIX_FUZZ_CHECK(DateToCalendar(date) == clamped);
}

// Whole seconds between two dates of whole seconds, and the rounding and sign rules for any two.
void CheckDifferences(const CalendarTime& a, const CalendarTime& b, double x, double y)
{
    const double dateA = *CalendarToDate(a);
    const double dateB = *CalendarToDate(b);
    TABRIX_FUZZ_CHECK(DateDiffSeconds64(dateA, dateB) == SecondsOf(a) - SecondsOf(b));

    const int64_t wide = DateDiffSeconds64(x, y);
    TABRIX_FUZZ_CHECK(DateDiffSeconds64(y, x) == -wide);
    TABRIX_FUZZ_CHECK(DateDiffSeconds(x, y) == std::clamp<int64_t>(wide, INT32_MIN, INT32_MAX));
    TABRIX_FUZZ_CHECK(DateDiffSeconds64(x, x) == 0);
    if (std::isnan(x))
        TABRIX_FUZZ_CHECK(wide == DateDiffSeconds64(kInvalidDate, y));
    const bool bothValid = x >= kDateMin - 1.0 + kSecond && x <= kDateMax && y >= kDateMin - 1.0 + kSecond && y <= kDateMax;
    if (bothValid) {
        const double exact = (DateToLinear(x) - DateToLinear(y)) * 86400.0;
        TABRIX_FUZZ_CHECK(std::fabs(static_cast<double>(wide) - exact) <= 0.5 + 1e-3);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckTextReading(tabrix_fuzz::TextOf(data, size));

    FuzzedDataProvider in(data, size);
    const CalendarTime raw = FieldsFrom(in);
    CheckCalendar(raw);
    const CalendarTime a = ClampedFields(raw);
    const CalendarTime b = ClampedFields(FieldsFrom(in));
    CheckCalendar(b);
    const double x = DateFrom(in);
    const double y = DateFrom(in);
    CheckDateToCalendar(x);
    CheckDateToCalendar(y);
    CheckDateFromParts(raw, in.ConsumeIntegral<int32_t>(), x);
    CheckDifferences(a, b, x, y);
    return 0;
}
