// The date-time value: a double in the OLE Automation form, whole days since 30 December 1899 plus the
// time of day as a fraction; before that day the whole part is negative and the fraction still counts
// forward (-1.25 is 29 December 1899, 06:00). The calendar is the proleptic Gregorian one, computed
// here without any platform call. Valid dates lie on the days -657434 (1 January 100) to 2958465
// (31 December 9999), at any time of those days; -657434 doubles as the invalid marker of failed
// conversions. A NaN or an infinity never converts to a calendar date. Stateless; any thread.
#pragma once

#include "runtime/CWString.h"

#include <cstdint>
#include <optional>

inline constexpr double kDateMin = -657434.0;
inline constexpr double kDateMax = 2958465.0;
inline constexpr double kInvalidDate = kDateMin;

enum class DateForm { Chinese, Numeric };    // "2024年8月9日15时" or "8/9/2024 15"

// A calendar date and time to the second.
struct CalendarTime {
    int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool operator==(const CalendarTime&) const = default;
};

// The calendar fields, rounded to the nearest second (a time that rounds up to 24:00 is midnight of
// the next day); nothing for a NaN, an infinity or a date outside 1 January 100..31 December 9999.
std::optional<CalendarTime> DateToCalendar(double date) noexcept;
// The date of valid fields (years 100..9999, real days, hour 0..23, minute and second 0..59).
std::optional<double> CalendarToDate(const CalendarTime& time) noexcept;

// Empties target, then writes the date in the chosen form when it converts; returns target's text.
const char16_t* DateToText(double date, DateForm form, CWString& target);
// Reads the fields of the chosen form ("2024-08-21 13:05:09", "2024年8月21日13时5分9秒" or
// "08/21/2024 13:05"); kInvalidDate for a null, empty or unreadable text.
double TextToDate(const char16_t* text, DateForm form);
// Clamps every field into its range (the day to its month), then converts; the fallback when the
// conversion fails. The millisecond counts forward in time, also before 30 December 1899.
double DateFromParts(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                     int32_t second, int32_t millisecond, double fallback) noexcept;
// A value that grows evenly with time, also before 30 December 1899 (-1.25 gives -0.75). Values
// within half a second before the epoch, NaNs and infinities come back unchanged.
double DateToLinear(double date) noexcept;

// Whole seconds from b to a: positive when a is later, 0 for equal dates and for differences under
// half a second, otherwise rounded half away from zero. Both dates are first clamped into the valid
// range (a NaN counts as the invalid marker, the earliest date). The 64-bit form always holds the
// whole difference; the 32-bit form saturates to INT32_MAX / INT32_MIN beyond some 68 years, so its
// sign is always the true one.
int64_t DateDiffSeconds64(double a, double b) noexcept;
int32_t DateDiffSeconds(double a, double b) noexcept;
