#pragma once
// The headless font model: deterministic metrics that stand in for a real font where no desktop
// answers, so layouts (an edit box's line height, a toolbar's button width) are the same on every
// machine. A character is as high as the font's em height; a line adds a quarter of that; narrow
// characters are half as wide as high, wide (East Asian) characters as wide as high.
// Thread safety: pure functions.
#include "platform/gdi/GdiTypes.h"

#include <string_view>

// The em height of a font description: -lfHeight for a character height, four fifths of a cell
// height, 12 for 0.
int FontEmHeight(const LOGFONTW& font);
TEXTMETRICW HeadlessTextMetrics(const LOGFONTW& font);
// Width of one line of text (line breaks are not interpreted; control characters are 0 wide).
int HeadlessTextWidth(const LOGFONTW& font, std::u16string_view text);
