#include "grid/GridConversions.h"

#include "runtime/NumberText.h"

#include <ctime>

namespace {
bool IsBlank(char16_t unit) { return unit < 33 || unit == 0x3000; }
}  // namespace

bool GridTextReadsAsNumber(std::u16string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    const std::u16string trimmed(text);
    double value = 0;
    return TextToDoubleChecked(trimmed.c_str(), value);
}

std::optional<std::u16string> GridDateCellText(std::u16string_view text)
{
    const std::u16string units(text);
    const double date = TextToDate(units.c_str(), DateForm::Chinese);
    const auto calendar = date == kInvalidDate ? std::nullopt : DateToCalendar(date);
    if (!calendar)
        return std::nullopt;
    char16_t buffer[32];
    FormatToUnits(buffer, u"%04d-%02d-%02d", calendar->year, calendar->month, calendar->day);
    return std::u16string(buffer);
}

CWString ChineseLongDateTime(const CalendarTime& t)
{
    CWString text;
    DateToText(DateFromParts(t.year, t.month, t.day, t.hour, t.minute, t.second, 0, kInvalidDate), DateForm::Chinese,
               text);
    return text;
}

CalendarTime LocalTimeNow()
{
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    // A leap second is shown as the last second of its minute.
    return CalendarTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                        local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec};
}
