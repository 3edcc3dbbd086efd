#include "ui/EditInputTypes.h"

#include "runtime/CWString.h"
#include "runtime/NumberText.h"
#include "runtime/OleDate.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The longest leading number: optional spaces and sign, digits, one point, digits, an exponent.
double LeadingNumber(const std::u16string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] <= u' ')
        ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == u'-' || text[j] == u'+'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    std::u16string number = text.substr(start, i - start);
    if (number.front() == u'.' || (number.size() > 1 && (number[0] == u'-' || number[0] == u'+') && number[1] == u'.'))
        number.insert(number.front() == u'.' ? 0 : 1, u"0");
    double value = 0;
    TextToDoubleChecked(number.c_str(), value);
    return value;
}

std::u16string Formatted(const char16_t* format, double value)
{
    CWString text;
    text.SetFormat(format, value);
    return std::u16string(text.View());
}

std::u16string DateText(const std::u16string& text, bool withTime)
{
    double date = TextToDate(text.c_str(), DateForm::Chinese);
    if (date <= -657433.999999)
        date = TextToDate(text.c_str(), DateForm::Numeric);
    if (date <= -657433.999999)
        return {};
    if (!withTime)
        date = date < 0 ? std::ceil(date) : std::floor(date);
    CWString out;
    DateToText(date, DateForm::Chinese, out);
    return std::u16string(out.View());
}

std::u16string HexText(const std::u16string& text)
{
    const auto value = static_cast<uint64_t>(HexTextToInt64(text.c_str()));
    CWString out;
    out.SetFormat(u"%I64X", value);
    return std::u16string(out.View());
}

// The value as a 32-bit float; beyond its range, an infinity of the value's sign.
double AsFloat(double value)
{
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return std::copysign(std::numeric_limits<double>::infinity(), value);
    return static_cast<double>(static_cast<float>(value));
}

int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return std::clamp(v, lo, hi); }

}  // namespace

bool EditAcceptsCharacter(int32_t inputType, char16_t c)
{
    if (c < 32)
        return true;
    switch (inputType) {
    case kEditSignedDigits:
    case kEditShort:
    case kEditInteger:
    case kEditLong: return c == u'-' || IsDigit(c);
    case kEditDecimalDigits:
    case kEditFloat:
    case kEditDouble: return c == u'-' || c == u'.' || IsDigit(c);
    case kEditByte: return IsDigit(c);
    default: return true;
    }
}

std::optional<std::u16string> NormaliseEditText(int32_t inputType, std::u16string_view view)
{
    const std::u16string text(view);
    std::u16string result;
    switch (inputType) {
    case kEditByte: result = Int64ToText(Clamp(TextToInt64(text.c_str()), 0, 255)).View(); break;
    case kEditShort: result = Int64ToText(Clamp(TextToInt64(text.c_str()), -32768, 32767)).View(); break;
    case kEditInteger:
        result = Int64ToText(Clamp(TextToInt64(text.c_str()), std::numeric_limits<int32_t>::min(),
                                   std::numeric_limits<int32_t>::max()))
                     .View();
        break;
    case kEditLong: result = Int64ToText(TextToInt64(text.c_str())).View(); break;
    case kEditFloat: result = Formatted(u"%.6G", AsFloat(LeadingNumber(text))); break;
    case kEditDouble: result = Formatted(u"%.13G", LeadingNumber(text)); break;
    case kEditDateTime: return DateText(text, true);
    case kEditDate: return DateText(text, false);
    case kEditHexadecimal: result = HexText(text); break;
    default: return std::nullopt;
    }
    if (result == u"0")
        result.clear();
    return result;
}
