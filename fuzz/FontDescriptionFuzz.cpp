// The font description text of controls: no input may crash, and whatever it holds the font stays
// one the platform can make: a face of at most 31 units ending in a NUL inside the array, taken
// from the trimmed first field without cutting a character in half, a height in pixels below zero,
// only the weights and flags the fields can name, and an angle within one turn.
#include "fuzz/FuzzText.h"
#include "platform/gdi/GdiConstants.h"
#include "ui/FontDescription.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

bool Trimmed(char16_t unit) { return unit <= u' ' || unit == u'\u3000'; }
bool IsHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The first field as the description reads it: up to the first comma, trimmed at both ends.
std::u16string_view FirstField(std::u16string_view description)
{
    std::u16string_view field = description.substr(0, description.find(u','));
    while (!field.empty() && Trimmed(field.front()))
        field.remove_prefix(1);
    while (!field.empty() && Trimmed(field.back()))
        field.remove_suffix(1);
    return field;
}

size_t CommaCount(std::u16string_view description)
{
    size_t n = 0;
    for (char16_t unit : description)
        n += unit == u',';
    return n;
}

void CheckFace(const LOGFONTW& font, const LOGFONTW& base, std::u16string_view description)
{
    const char16_t* end = std::find(font.lfFaceName, font.lfFaceName + LF_FACESIZE, u'\0');
    TABRIX_FUZZ_CHECK(end != font.lfFaceName + LF_FACESIZE);
    const std::u16string_view face(font.lfFaceName, static_cast<size_t>(end - font.lfFaceName));
    const std::u16string_view field = FirstField(description);
    if (field.empty()) {
        TABRIX_FUZZ_CHECK(face == std::u16string_view(base.lfFaceName));
        return;
    }
    // The face is the field's start, all of it when it fits, else 31 units, or 30 where the 31st
    // would leave half of a surrogate pair.
    TABRIX_FUZZ_CHECK(field.substr(0, face.size()) == face);
    const bool splitsPair = field.size() > 31 && IsHigh(field[30]) && IsLow(field[31]);
    TABRIX_FUZZ_CHECK(face.size() == (field.size() <= 31 ? field.size() : splitsPair ? 30u : 31u));
}

void CheckNumbers(const LOGFONTW& font, const LOGFONTW& base)
{
    TABRIX_FUZZ_CHECK(font.lfHeight == base.lfHeight || font.lfHeight < 0);
    TABRIX_FUZZ_CHECK(font.lfWidth == base.lfWidth);
    TABRIX_FUZZ_CHECK(font.lfWeight == base.lfWeight || font.lfWeight == FW_NORMAL || font.lfWeight == FW_BOLD);
    TABRIX_FUZZ_CHECK(font.lfItalic <= 1 && font.lfUnderline <= 1 && font.lfStrikeOut <= 1);
    TABRIX_FUZZ_CHECK(font.lfEscapement >= 0 && font.lfEscapement < 3600);
    TABRIX_FUZZ_CHECK(font.lfOrientation == font.lfEscapement);
    TABRIX_FUZZ_CHECK(font.lfCharSet == DEFAULT_CHARSET && font.lfQuality == PROOF_QUALITY);
    TABRIX_FUZZ_CHECK(font.lfOutPrecision == 0 && font.lfClipPrecision == 0 && font.lfPitchAndFamily == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::u16string text = tabrix_fuzz::TextOf(data, size);
    // The parser reads a NUL-terminated text: what follows a NUL is not part of the description.
    const std::u16string_view description(text.c_str());
    static const LOGFONTW base = ParseFontDescription(u"");

    const LOGFONTW font = ParseFontDescription(text.c_str());
    CheckFace(font, base, description);
    CheckNumbers(font, base);

    // Fields after the seventh are ignored.
    if (CommaCount(description) >= 6) {
        const std::u16string longer = std::u16string(description) + u",1,1";
        const LOGFONTW same = ParseFontDescription(longer.c_str());
        TABRIX_FUZZ_CHECK(std::memcmp(&same, &font, sizeof font) == 0);
    }
    return 0;
}
