#include "grid/GridConversions.h"

#include <ctime>
#include <string>

namespace {
bool IsBlank(char16_t unit) { return unit < 33 || unit == 0x3000; }
bool IsDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }
}  // namespace

bool GridTextReadsAsNumber(std::u16string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (i >= text.size() || !IsDigit(text[i]))
        return false;
    bool point = false;
    for (; i < text.size() && (IsDigit(text[i]) || (text[i] == u'.' && !point)); ++i)
        point = point || text[i] == u'.';
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (i >= text.size() || !IsDigit(text[i]))
            return false;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
    }
    return i == text.size();
}

CWString GridInt64Text(int64_t value)
{
    const std::string digits = std::to_string(value);
    return CWString(std::u16string(digits.begin(), digits.end()));
}

CWString ChineseLongDateTime(const GridLocalTime& t)
{
    CWString text;
    text.AppendFormat(u"%d年%d月%d日", t.year, t.month, t.day);
    if (t.second != 0)
        text.AppendFormat(u"%d时%d分%d秒", t.hour, t.minute, t.second);
    else if (t.minute != 0)
        text.AppendFormat(u"%d时%d分", t.hour, t.minute);
    else if (t.hour != 0)
        text.AppendFormat(u"%d时", t.hour);
    return text;
}

GridLocalTime GridLocalTimeNow()
{
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    // A leap second is shown as the last second of its minute.
    return GridLocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec};
}
