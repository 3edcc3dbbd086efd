#include "runtime/QuotedText.h"

#include "runtime/CWString.h"

namespace {

constexpr int64_t kDefaultMemberLimit = 64;

bool InRange(char16_t unit, char16_t first, char16_t last) noexcept { return unit >= first && unit <= last; }

// Units that print nothing visible or that no text should hold; a dump shows them by number so that
// two texts that look alike can be told apart.
bool IsInvisibleOrInvalid(char16_t unit) noexcept
{
    return unit == 0x00AD                      // soft hyphen
        || unit == 0x061C                      // Arabic letter mark
        || unit == 0x180E                      // Mongolian vowel separator
        || InRange(unit, 0x200B, 0x200F)       // zero-width spaces and joiners, direction marks
        || InRange(unit, 0x2028, 0x202E)       // line and paragraph separators, embeddings
        || InRange(unit, 0x2060, 0x206F)       // word joiner, invisible operators, isolates
        || InRange(unit, 0xD800, 0xDFFF)       // surrogates: half a character
        || InRange(unit, 0xFDD0, 0xFDEF)       // noncharacters
        || unit == 0xFEFF                      // byte-order mark
        || InRange(unit, 0xFFF0, 0xFFFB)       // unassigned specials, interlinear annotation
        || unit == 0xFFFE || unit == 0xFFFF;   // noncharacters
}

// The escape letter of a unit that has one, else 0.
char16_t EscapeLetter(char16_t unit) noexcept
{
    switch (unit) {
    case 0x08: return u'b';
    case 0x09: return u't';
    case 0x0A: return u'n';
    case 0x0C: return u'f';
    case 0x0D: return u'r';
    case u'"': return u'"';
    case u'\'': return u'\'';
    case u'\\': return u'\\';
    default: return 0;
    }
}

} // namespace

bool IsPrintableUnit(char16_t unit) noexcept
{
    if (unit < 0xA0)
        return unit >= 0x20 && unit <= 0x7E;
    return !IsInvisibleOrInvalid(unit);
}

void AppendQuotedText(CWString& out, const char16_t* text)
{
    out.AppendChar(u'"');
    for (const char16_t* p = text; p && *p; ++p) {
        const char16_t unit = *p;
        if (const char16_t letter = EscapeLetter(unit)) {
            out.AppendChar(u'\\');
            out.AppendChar(letter);
        } else if (IsPrintableUnit(unit)) {
            out.AppendChar(unit);
        } else if (unit < 0x100) {
            out.AppendFormat(u"\\x%02X", static_cast<int32_t>(unit));
        } else {
            out.AppendFormat(u"\\u%04X", static_cast<int32_t>(unit));
        }
    }
    out.AppendChar(u'"');
}

int64_t AppendArrayDumpHeader(CWString& out, int64_t count, int32_t memberLimit)
{
    const int64_t limit = memberLimit == 0 ? kDefaultMemberLimit : memberLimit;
    if (limit < 0 || count <= limit) {
        out.AppendFormat(u"<数组> 总共 %d 个成员:", static_cast<int32_t>(count));
        return count;
    }
    out.AppendFormat(u"<数组> 总共 %d 个成员,输出了 %d 个,还有 %d 个未被输出.", static_cast<int32_t>(count),
                     static_cast<int32_t>(limit), static_cast<int32_t>(count - limit));
    return limit;
}
