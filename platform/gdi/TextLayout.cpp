// DrawTextW's line layout.
#include "platform/gdi/TextLayout.h"

#include "platform/gdi/GdiConstants.h"

#include <algorithm>

namespace tabrix::gdi_detail {

namespace {

bool IsWideUnit(char16_t c) { return (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFF60); }

// Pieces a line may break between: runs of spaces, single wide characters, and runs of others.
std::vector<std::u16string> Tokens(std::u16string_view text)
{
    std::vector<std::u16string> tokens;
    size_t i = 0;
    while (i < text.size()) {
        size_t j = i + 1;
        if (text[i] == u' ') {
            while (j < text.size() && text[j] == u' ')
                ++j;
        } else if (!IsWideUnit(text[i])) {
            while (j < text.size() && text[j] != u' ' && !IsWideUnit(text[j]))
                ++j;
        }
        tokens.emplace_back(text.substr(i, j - i));
        i = j;
    }
    return tokens;
}

void TrimTrailingSpaces(std::u16string& line)
{
    while (!line.empty() && line.back() == u' ')
        line.pop_back();
}

void WrapParagraph(std::u16string_view paragraph, int width, const MeasureWidth& measure,
                   std::vector<std::u16string>& lines)
{
    std::u16string line;
    for (std::u16string& token : Tokens(paragraph)) {
        bool space = token.front() == u' ';
        if (line.empty() && space && !lines.empty())
            continue;  // a wrapped line does not start with the spaces it broke at
        std::u16string trial = line + token;
        std::u16string measured = trial;
        TrimTrailingSpaces(measured);
        if (!space && !line.empty() && measure(measured) > width) {
            TrimTrailingSpaces(line);
            lines.push_back(line);
            line = token;
        } else {
            line = std::move(trial);
        }
    }
    TrimTrailingSpaces(line);
    lines.push_back(line);
}

}  // namespace

std::u16string StripPrefixes(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                out.push_back(u'&');
                ++i;
            }
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

std::vector<std::u16string> BreakLines(std::u16string_view text, UINT format, int width,
                                       const MeasureWidth& measure)
{
    std::vector<std::u16string> lines;
    if (format & DT_SINGLELINE) {
        lines.emplace_back(text);
        return lines;
    }
    size_t start = 0;
    while (true) {
        size_t end = text.find_first_of(u"\r\n", start);
        std::u16string_view paragraph = text.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
        if (format & DT_WORDBREAK)
            WrapParagraph(paragraph, width, measure, lines);
        else
            lines.emplace_back(paragraph);
        if (end == std::u16string_view::npos)
            break;
        start = end + 1;
        if (text[end] == u'\r' && start < text.size() && text[start] == u'\n')
            ++start;
    }
    return lines;
}

TextLayoutResult LayOutText(std::u16string_view text, const RECT& rect, UINT format, int lineHeight,
                            const MeasureWidth& measure)
{
    TextLayoutResult result;
    std::u16string shown = (format & DT_NOPREFIX) ? std::u16string(text) : StripPrefixes(text);
    if (shown.empty()) {
        result.extent = RECT{rect.left, rect.top, rect.left, rect.top};
        return result;
    }
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    std::vector<std::u16string> lines = BreakLines(shown, format, width, measure);
    bool single = (format & DT_SINGLELINE) != 0;
    int top = rect.top;
    if (single && (format & DT_VCENTER))
        top = rect.top + (height - lineHeight) / 2;
    else if (single && (format & DT_BOTTOM))
        top = rect.bottom - lineHeight;
    int widest = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        TextLine line;
        line.text = lines[i];
        line.width = measure(line.text);
        widest = std::max(widest, line.width);
        int x = rect.left;
        if (format & DT_CENTER)
            x = rect.left + (width - line.width) / 2;
        else if (format & DT_RIGHT)
            x = rect.right - line.width;
        line.origin = POINT{x, top + static_cast<int>(i) * lineHeight};
        result.lines.push_back(std::move(line));
    }
    int total = static_cast<int>(lines.size()) * lineHeight;
    result.extent = RECT{rect.left, rect.top, rect.left + widest, rect.top + total};
    result.returned = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? top - rect.top + lineHeight : total;
    return result;
}

}  // namespace tabrix::gdi_detail
