#pragma once
// The font description text of controls: up to seven comma-separated fields, face, size in points,
// bold, italic, underline, strikeout and angle in tenths of a degree (", 16, 1, 0, 0, 0, 0" is the
// default face at 16 points, bold). Fields are trimmed; an empty field keeps the default, except
// that bold, italic, underline and strikeout are on only for exactly "1". A face is cut to 31
// units, or 30 where the 31st is the first half of a surrogate pair.
// Thread safety: any thread.
#include "platform/gdi/GdiTypes.h"
#include "runtime/CWString.h"

// LOGPIXELSY of the screen (96 headless).
int ScreenPixelsPerInchY();
// The description of the stock DEFAULT_GUI_FONT.
LOGFONTW DefaultGuiLogFont();
// The font a control gets when none was set: DEFAULT_GUI_FONT at 9 points for the screen.
LOGFONTW DefaultControlLogFont();
// DEFAULT_GUI_FONT with the fields of the description applied.
LOGFONTW ParseFontDescription(const char16_t* description);
