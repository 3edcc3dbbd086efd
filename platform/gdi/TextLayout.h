#pragma once
// Line layout for DrawTextW: prefix marks, line breaks, word breaks and alignment, measured with a
// caller-supplied width function. Internal to the drawing layer (and its tests).
// Thread safety: pure functions.
#include "platform/gdi/DrawingBackend.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tabrix::gdi_detail {

using MeasureWidth = std::function<int(std::u16string_view)>;

// Removes "&" prefix marks: "&&" becomes "&", a single "&" disappears.
std::u16string StripPrefixes(std::u16string_view text);

// Breaks text into lines for the rectangle's width as the DT_* format asks.
std::vector<std::u16string> BreakLines(std::u16string_view text, UINT format, int width,
                                       const MeasureWidth& measure);

struct TextLayoutResult {
    std::vector<TextLine> lines;
    RECT extent{};     // the box around the laid-out text
    int returned = 0;  // what DrawTextW answers
};
TextLayoutResult LayOutText(std::u16string_view text, const RECT& rect, UINT format, int lineHeight,
                            const MeasureWidth& measure);

}  // namespace tabrix::gdi_detail
