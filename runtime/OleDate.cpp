#include "runtime/OleDate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days since 1 January 1970 of a proleptic Gregorian date, counted in 400-year eras that begin on
// 1 March, so that the leap day ends each counted year.
constexpr int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) noexcept
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDay {
    int64_t year, month, day;
};

constexpr CivilDay CivilFromDays(int64_t days) noexcept
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

constexpr int64_t kEpochDays = DaysFromCivil(1899, 12, 30);
static_assert(DaysFromCivil(100, 1, 1) - kEpochDays == -657434);
static_assert(DaysFromCivil(9999, 12, 31) - kEpochDays == 2958465);

bool IsLeapYear(int32_t year) noexcept { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t DaysInMonth(int32_t year, int32_t month) noexcept
{
    static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The day of a date (its whole part, toward zero), or nothing when that day is outside the calendar's
// range or the date is not a number.
std::optional<int64_t> DayNumber(double date) noexcept
{
    if (!(date > kDateMin - 1.0 && date < kDateMax + 1.0))
        return std::nullopt;    // also a NaN
    return static_cast<int64_t>(std::trunc(date));
}

// The linear form of a date, clamped to the span from 1 January 100 00:00 to the end of 31 December
// 9999; a NaN counts as the invalid marker.
double ClampedLinear(double date) noexcept
{
    static const double kLinearMax = std::nextafter(kDateMax + 1.0, 0.0);
    if (std::isnan(date))
        date = kInvalidDate;
    return std::clamp(DateToLinear(date), DateToLinear(kDateMin), kLinearMax);
}

// The date's fields after a fixed separator set; every reader takes at most maxDigits digits.
class FieldReader {
public:
    explicit FieldReader(const char16_t* text) noexcept : p_(text) {}

    int32_t Digits(int maxDigits) noexcept
    {
        int32_t value = 0;
        for (int i = 0; i < maxDigits && *p_ >= u'0' && *p_ <= u'9'; ++i, ++p_)
            value = value * 10 + (*p_ - u'0');
        return value;
    }
    // Skips one unit when it is among the given ones (plus the optional extra unit, 0 for none).
    void SkipOne(const char16_t* units, char16_t extra = 0) noexcept
    {
        if (*p_ == 0)
            return;
        if ((extra != 0 && *p_ == extra) || std::u16string_view(units).find(*p_) != std::u16string_view::npos)
            ++p_;
    }
    char16_t Next() const noexcept { return *p_; }

private:
    const char16_t* p_;
};

constexpr const char16_t* kSeparators = u"-./:";
constexpr const char16_t* kSeparatorsOrSpace = u" -./:";

} // namespace

std::optional<CalendarTime> DateToCalendar(double date) noexcept
{
    const std::optional<int64_t> whole = DayNumber(date);
    if (!whole)
        return std::nullopt;
    int64_t day = *whole;
    const double fraction = std::fabs(date - static_cast<double>(day));
    int64_t seconds = std::llround(fraction * static_cast<double>(kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++day;    // the calendar's next day, also before the epoch
    }
    const CivilDay civil = CivilFromDays(day + kEpochDays);
    if (civil.year > 9999)
        return std::nullopt;
    CalendarTime time;
    time.year = static_cast<int32_t>(civil.year);
    time.month = static_cast<int32_t>(civil.month);
    time.day = static_cast<int32_t>(civil.day);
    time.hour = static_cast<int32_t>(seconds / 3600);
    time.minute = static_cast<int32_t>(seconds / 60 % 60);
    time.second = static_cast<int32_t>(seconds % 60);
    return time;
}

std::optional<double> CalendarToDate(const CalendarTime& t) noexcept
{
    if (t.year < 100 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1
        || t.day > DaysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0
        || t.minute > 59 || t.second < 0 || t.second > 59)
        return std::nullopt;
    const auto days = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kEpochDays);
    const double timeOfDay = (t.hour * 3600 + t.minute * 60 + t.second) / static_cast<double>(kSecondsPerDay);
    return days < 0 ? days - timeOfDay : days + timeOfDay;
}

const char16_t* DateToText(double date, DateForm form, CWString& target)
{
    target.SetChars(nullptr, 0);
    const std::optional<CalendarTime> t = DateToCalendar(date);
    if (!t)
        return target.GetText();
    const bool chinese = form == DateForm::Chinese;
    if (chinese)
        target.SetFormat(u"%d年%d月%d日", t->year, t->month, t->day);
    else
        target.SetFormat(u"%d/%d/%d", t->month, t->day, t->year);
    if (t->second != 0)
        target.AppendFormat(chinese ? u"%d时%d分%d秒" : u" %d:%d:%d", t->hour, t->minute, t->second);
    else if (t->minute != 0)
        target.AppendFormat(chinese ? u"%d时%d分" : u" %d:%d", t->hour, t->minute);
    else if (t->hour != 0)
        target.AppendFormat(chinese ? u"%d时" : u" %d", t->hour);
    return target.GetText();
}

double TextToDate(const char16_t* text, DateForm form)
{
    if (!text || *text == 0)
        return kInvalidDate;
    const bool chinese = form == DateForm::Chinese;
    FieldReader in(text);
    int32_t year, month, day;
    if (chinese) {
        year = in.Digits(4);
        in.SkipOne(kSeparators, u'年');
        month = in.Digits(2);
        in.SkipOne(kSeparators, u'月');
        day = in.Digits(2);
        in.SkipOne(kSeparatorsOrSpace, u'日');
    } else {
        month = in.Digits(2);
        in.SkipOne(kSeparators);
        day = in.Digits(2);
        in.SkipOne(kSeparators);
        year = in.Digits(4);
        in.SkipOne(kSeparatorsOrSpace);
    }
    const int32_t hour = in.Digits(2);
    in.SkipOne(kSeparators, chinese ? u'时' : 0);
    const int32_t minute = in.Digits(2);
    in.SkipOne(kSeparators, chinese ? u'分' : 0);
    const int32_t second = in.Digits(2);
    if (in.Next() != 0 && !(chinese && in.Next() == u'秒'))
        return kInvalidDate;
    return DateFromParts(year, month, day, hour, minute, second, 0, kInvalidDate);
}

double DateFromParts(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                     int32_t second, int32_t millisecond, double fallback) noexcept
{
    CalendarTime t;
    t.year = std::clamp(year, 100, 9999);
    t.month = std::clamp(month, 1, 12);
    t.day = std::clamp(day, 1, DaysInMonth(t.year, t.month));
    t.hour = std::clamp(hour, 0, 23);
    t.minute = std::clamp(minute, 0, 59);
    t.second = std::clamp(second, 0, 59);
    const std::optional<double> date = CalendarToDate(t);
    if (!date)
        return fallback;
    // Before the epoch the fraction counts away from zero, so a later time is a more negative value.
    const double extra = std::clamp(millisecond, 0, 999) / 86400000.0;
    return *date < 0 ? *date - extra : *date + extra;
}

double DateToLinear(double date) noexcept
{
    if (!(date <= -0.5 / kSecondsPerDay) || std::isinf(date))
        return date;    // on or after the epoch's day, or not a finite number
    const double whole = std::ceil(date);
    return whole - (date - whole);
}

int64_t DateDiffSeconds64(double a, double b) noexcept
{
    const double linearA = ClampedLinear(a);
    const double linearB = ClampedLinear(b);
    if (linearA == linearB)
        return 0;
    // Both lie in the valid span, so the difference is at most 3615900 days and the product stays
    // within +-3.2e11. Truncates toward zero after adding half a second away from zero.
    double days = linearA - linearB;
    days += std::copysign(0.5 / kSecondsPerDay, days);
    return static_cast<int64_t>(days * kSecondsPerDay);
}

int32_t DateDiffSeconds(double a, double b) noexcept
{
    return static_cast<int32_t>(std::clamp<int64_t>(DateDiffSeconds64(a, b), INT32_MIN, INT32_MAX));
}
