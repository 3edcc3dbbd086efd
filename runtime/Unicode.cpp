#include "runtime/Unicode.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the valid UTF-8 sequence at s (1 to 4), or 0 when it is malformed; code receives it.
size_t DecodeOne(std::string_view s, char32_t& code)
{
    const auto b0 = static_cast<unsigned char>(s[0]);
    if (b0 < 0x80) {
        code = b0;
        return 1;
    }
    size_t length;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) { length = 2; code = b0 & 0x1F; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { length = 3; code = b0 & 0x0F; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { length = 4; code = b0 & 0x07; min = 0x10000; }
    else return 0;
    if (s.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (b & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t code = 0;
        const size_t used = DecodeOne(bytes, code);
        if (used == 0) {
            out.push_back(kReplacement);
            bytes.remove_prefix(1);
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        bytes.remove_prefix(used);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view units)
{
    std::string out;
    out.reserve(units.size() * 3);
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

size_t Utf16Length(const char16_t* text) noexcept
{
    return text ? std::char_traits<char16_t>::length(text) : 0;
}
