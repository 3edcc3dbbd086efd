#include "platform/files/WildcardMatch.h"

namespace {

char16_t FoldAscii(char16_t unit) { return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + 32) : unit; }

bool UnitsMatch(char16_t pattern, char16_t name, LetterCase letterCase) {
    if (pattern == u'?' || pattern == name) return true;
    return letterCase == LetterCase::IgnoreAscii && FoldAscii(pattern) == FoldAscii(name);
}

}  // namespace

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name, LetterCase letterCase) noexcept {
    if (pattern == u"*.*") return true;
    size_t p = 0, n = 0;
    size_t starAt = std::u16string_view::npos;  // last "*" seen, where to retry from
    size_t retryName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            retryName = n;
        } else if (p < pattern.size() && UnitsMatch(pattern[p], name[n], letterCase)) {
            ++p;
            ++n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            n = ++retryName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}
