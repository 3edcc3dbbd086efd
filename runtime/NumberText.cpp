#include "runtime/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

bool IsDigit(char16_t unit) noexcept { return unit >= u'0' && unit <= u'9'; }

int HexDigitValue(char16_t unit) noexcept
{
    if (IsDigit(unit))
        return unit - u'0';
    if (unit >= u'a' && unit <= u'f')
        return unit - u'a' + 10;
    if (unit >= u'A' && unit <= u'F')
        return unit - u'A' + 10;
    return -1;
}

// Length of the text when it has the accepted decimal form, else 0.
size_t MatchDecimalForm(const char16_t* text) noexcept
{
    size_t i = 0;
    if (text[i] == u'+' || text[i] == u'-')
        ++i;
    if (!IsDigit(text[i]))
        return 0;
    bool seenPoint = false;
    for (;; ++i) {
        if (IsDigit(text[i]))
            continue;
        if (text[i] == u'.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        break;
    }
    if (text[i] == u'e' || text[i] == u'E') {
        ++i;
        if (text[i] == u'+' || text[i] == u'-')
            ++i;
        if (!IsDigit(text[i]))
            return 0;
        while (IsDigit(text[i]))
            ++i;
    }
    return text[i] == 0 ? i : 0;
}

// For a text in the accepted form whose value is out of the double range: true when its magnitude is
// at least 1 (so it overflowed), false when it is below 1 (so it underflowed).
bool MagnitudeAtLeastOne(std::string_view number) noexcept
{
    int64_t digitsBeforePoint = 0, leadingZeros = 0;
    bool seenPoint = false, seenNonZero = false;
    size_t i = 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        const char c = number[i];
        if (c == '.') {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (!seenPoint)
                ++digitsBeforePoint;
            if (!seenNonZero && c == '0')
                ++leadingZeros;
            else
                seenNonZero = true;
        }
    }
    int64_t exponent = 0;
    bool negativeExponent = false;
    if (i < number.size()) {
        ++i;
        if (number[i] == '+' || number[i] == '-')
            negativeExponent = number[i++] == '-';
        for (; i < number.size(); ++i)
            exponent = std::min<int64_t>(exponent * 10 + (number[i] - '0'), int64_t{1} << 40);
    }
    // The leading non-zero digit stands for 10^(digitsBeforePoint - leadingZeros - 1).
    if (!seenNonZero)
        return false;    // zero, whatever the exponent
    const int64_t scale = digitsBeforePoint - leadingZeros + (negativeExponent ? -exponent : exponent);
    return scale > 0;
}

} // namespace

CWString IntToText(int32_t value) { return CWString(value); }

CWString Int64ToText(int64_t value)
{
    // 19 digits and the sign; the magnitude as unsigned, so the smallest value needs no special case.
    char16_t units[20];
    size_t first = sizeof units / sizeof units[0];
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        units[--first] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        units[--first] = u'-';
    return CWString(std::u16string_view(units + first, sizeof units / sizeof units[0] - first));
}

int64_t TextToInt64(const char16_t* text) noexcept
{
    if (!text)
        return 0;
    while (*text != 0 && *text <= 0x0020)
        ++text;
    const bool negative = *text == u'-';
    if (*text == u'-' || *text == u'+')
        ++text;
    constexpr uint64_t kLastSafe = 1844674407370955161u;    // UINT64_MAX / 10
    uint64_t magnitude = 0;
    for (; IsDigit(*text); ++text) {
        const auto digit = static_cast<uint64_t>(*text - u'0');
        if (magnitude > kLastSafe || (magnitude == kLastSafe && digit > 5))
            return negative ? INT64_MIN : INT64_MAX;
        magnitude = magnitude * 10 + digit;
    }
    return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
}

int64_t HexTextToInt64(const char16_t* text) noexcept
{
    if (!text)
        return 0;
    if (text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text += 2;
    uint64_t value = 0;
    for (int digit; (digit = HexDigitValue(*text)) >= 0; ++text)
        value = value * 16 + static_cast<uint64_t>(digit);
    return static_cast<int64_t>(value);
}

bool TextToDoubleChecked(const char16_t* text, double& out)
{
    out = 0;
    const size_t length = text ? MatchDecimalForm(text) : 0;
    if (length == 0)
        return false;
    // The accepted form is ASCII only; the conversion takes no leading "+".
    std::string number(text, text + length);
    const bool negative = number[0] == '-';
    const size_t skip = number[0] == '+' ? 1 : 0;
    double value = 0;
    const char* begin = number.data() + skip;
    const char* end = number.data() + number.size();
    const auto [ptr, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        const double magnitude = MagnitudeAtLeastOne(number) ? HUGE_VAL : 0.0;
        value = negative ? -magnitude : magnitude;
    } else if (error != std::errc() || ptr != end) {
        return false;
    }
    out = value;
    return true;
}
