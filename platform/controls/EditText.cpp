// Text arithmetic of the edit box.
#include "platform/controls/EditText.h"

#include <algorithm>

namespace tabrix::controls_detail {

namespace {
bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
}  // namespace

size_t PreviousCharacter(std::u16string_view text, size_t pos)
{
    if (pos == 0)
        return 0;
    pos = std::min(pos, text.size());
    if (pos >= 2 && IsLow(text[pos - 1]) && IsHigh(text[pos - 2]))
        return pos - 2;
    if (pos >= 2 && text[pos - 1] == u'\n' && text[pos - 2] == u'\r')
        return pos - 2;
    return pos - 1;
}

size_t NextCharacter(std::u16string_view text, size_t pos)
{
    if (pos >= text.size())
        return text.size();
    if (pos + 1 < text.size() && IsHigh(text[pos]) && IsLow(text[pos + 1]))
        return pos + 2;
    if (pos + 1 < text.size() && text[pos] == u'\r' && text[pos + 1] == u'\n')
        return pos + 2;
    return pos + 1;
}

size_t LineCount(std::u16string_view text)
{
    size_t count = 1;
    for (size_t at = text.find(u"\r\n"); at != std::u16string_view::npos; at = text.find(u"\r\n", at + 2))
        ++count;
    return count;
}

size_t LineStart(std::u16string_view text, size_t line)
{
    size_t start = 0;
    for (size_t i = 0; i < line; ++i) {
        size_t end = text.find(u"\r\n", start);
        if (end == std::u16string_view::npos)
            return text.size() + 1;
        start = end + 2;
    }
    return start;
}

size_t LineOf(std::u16string_view text, size_t pos)
{
    size_t line = 0;
    pos = std::min(pos, text.size());
    for (size_t at = text.find(u"\r\n"); at != std::u16string_view::npos && at + 2 <= pos; at = text.find(u"\r\n", at + 2))
        ++line;
    return line;
}

size_t LineLength(std::u16string_view text, size_t line)
{
    size_t start = LineStart(text, line);
    if (start > text.size())
        return 0;
    size_t end = text.find(u"\r\n", start);
    return (end == std::u16string_view::npos ? text.size() : end) - start;
}

std::u16string ConvertCase(std::u16string_view text, CaseConversion conversion)
{
    std::u16string out(text);
    for (char16_t& c : out) {
        if (conversion == CaseConversion::Upper && c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
        else if (conversion == CaseConversion::Lower && c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return out;
}

std::u16string_view FittingPrefix(std::u16string_view insertion, size_t room)
{
    if (insertion.size() <= room)
        return insertion;
    size_t n = room;
    if (n > 0 && IsHigh(insertion[n - 1]))
        --n;
    return insertion.substr(0, n);
}

std::u16string_view FirstLine(std::u16string_view text)
{
    size_t end = text.find_first_of(u"\r\n");
    return end == std::u16string_view::npos ? text : text.substr(0, end);
}

}  // namespace tabrix::controls_detail
