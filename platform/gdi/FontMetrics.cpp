// The headless font model.
#include "platform/gdi/FontMetrics.h"

#include "platform/gdi/GdiConstants.h"

#include <algorithm>

namespace {

bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

int NarrowWidth(int em) { return (em + 1) / 2; }

}  // namespace

int FontEmHeight(const LOGFONTW& font)
{
    // Absurd heights are kept within a size no screen shows, so the arithmetic below stays exact.
    constexpr long long kLargest = 100000;
    long long h = font.lfHeight;
    long long em = h < 0 ? -h : h > 0 ? (h * 4 + 2) / 5 : 12;
    return static_cast<int>(std::clamp(em, 1LL, kLargest));
}

TEXTMETRICW HeadlessTextMetrics(const LOGFONTW& font)
{
    int em = FontEmHeight(font);
    // A cell height given as such is kept exactly; otherwise the line adds a quarter of the em.
    int height = font.lfHeight > 0 && font.lfHeight <= 125000 ? font.lfHeight : em + (em + 2) / 4;
    TEXTMETRICW tm{};
    tm.tmHeight = height;
    tm.tmAscent = (height * 4 + 2) / 5;
    tm.tmDescent = height - tm.tmAscent;
    tm.tmInternalLeading = height - em;
    tm.tmExternalLeading = 0;
    tm.tmAveCharWidth = font.lfWidth > 0 ? font.lfWidth : NarrowWidth(em);
    tm.tmMaxCharWidth = em;
    tm.tmWeight = font.lfWeight == FW_DONTCARE ? FW_NORMAL : font.lfWeight;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x3F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = font.lfItalic;
    tm.tmUnderlined = font.lfUnderline;
    tm.tmStruckOut = font.lfStrikeOut;
    tm.tmPitchAndFamily = font.lfPitchAndFamily;
    tm.tmCharSet = font.lfCharSet;
    return tm;
}

int HeadlessTextWidth(const LOGFONTW& font, std::u16string_view text)
{
    int em = FontEmHeight(font);
    int narrow = font.lfWidth > 0 ? font.lfWidth : NarrowWidth(em);
    long long width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x20)
            continue;
        width += IsWide(c) ? em : narrow;
    }
    return width > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(width);
}
