#include "ui/FontDescription.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "runtime/CMStringArray.h"
#include "runtime/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kUsedPieces = 7;
constexpr size_t kFaceUnits = 31;

bool IsExactlyOne(const char16_t* piece) { return piece[0] == u'1' && piece[1] == 0; }

LONG PointsToPixels(int64_t points, int dpi)
{
    const double pixels = std::trunc(static_cast<double>(dpi) * std::fabs(static_cast<double>(points)) / 72.0 + 0.5);
    return static_cast<LONG>(std::min(pixels, 2147483647.0));
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// A face longer than the field holds is cut before a character that would not fit whole: half of
// a surrogate pair would name a face no font has and show as a broken character.
void CopyFace(LOGFONTW& font, const char16_t* face)
{
    size_t n = 0;
    while (face[n] && n < kFaceUnits)
        ++n;
    if (n == kFaceUnits && IsHighSurrogate(face[n - 1]) && IsLowSurrogate(face[n]))
        --n;
    std::copy(face, face + n, font.lfFaceName);
    font.lfFaceName[n] = 0;
}

}  // namespace

int ScreenPixelsPerInchY()
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

LOGFONTW DefaultGuiLogFont()
{
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

LOGFONTW DefaultControlLogFont()
{
    LOGFONTW font = DefaultGuiLogFont();
    font.lfHeight = -static_cast<LONG>(ScreenPixelsPerInchY() * 9 / 72);
    return font;
}

LOGFONTW ParseFontDescription(const char16_t* description)
{
    LOGFONTW font = DefaultGuiLogFont();
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = 0;
    font.lfClipPrecision = 0;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = 0;
    if (!description || !description[0])
        return font;

    CMStringArray pieces;
    pieces.Split(description, u",", SplitTrim::Yes);
    const int64_t count = std::min<int64_t>(pieces.GetCount(), kUsedPieces);
    for (int64_t i = 0; i < count; ++i) {
        const char16_t* piece = pieces.GetAt(i);
        if (!piece)
            piece = u"";
        switch (i) {
        case 0:
            if (piece[0])
                CopyFace(font, piece);
            break;
        case 1: {
            LONG h = PointsToPixels(TextToInt64(piece), ScreenPixelsPerInchY());
            if (h > 0)
                font.lfHeight = -h;
            break;
        }
        case 2: font.lfWeight = IsExactlyOne(piece) ? FW_BOLD : FW_NORMAL; break;
        case 3: font.lfItalic = IsExactlyOne(piece) ? 1 : 0; break;
        case 4: font.lfUnderline = IsExactlyOne(piece) ? 1 : 0; break;
        case 5: font.lfStrikeOut = IsExactlyOne(piece) ? 1 : 0; break;
        case 6:
            if (piece[0]) {
                int64_t a = TextToInt64(piece) % 3600;
                if (a < 0)
                    a += 3600;
                font.lfEscapement = font.lfOrientation = static_cast<LONG>(a);
            }
            break;
        default: break;
        }
    }
    return font;
}
