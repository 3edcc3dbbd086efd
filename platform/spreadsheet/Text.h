#pragma once
// UTF-16 helpers the writers share: cleaning texts so no output is ever invalid, conversion to UTF-8,
// the display width used to fit columns, and turning a path text back into file-system bytes.
// Pure functions; any thread.
#include <string>
#include <string_view>

namespace platform::spreadsheet {

// Whether any unit is a surrogate, paired or not; a text without one needs no cleaning.
bool hasSurrogates(std::u16string_view text);

// Every unit of a lone surrogate (also U+DC80..U+DCFF, the undecodable file-name bytes) becomes U+FFFD.
std::u16string sanitized(std::u16string_view text);

// UTF-8 of a text, lone surrogates written as U+FFFD.
std::string toUtf8(std::u16string_view text);

// UTF-8 of a cell text for an .xlsx file, lone surrogates as U+FFFD. Readers of the format take
// "_xHHHH_" as the character U+HHHH, and its XML cannot hold U+0000, U+FFFE or U+FFFF: those three
// are written as such escapes, and the underscore that starts a text's own "_xHHHH_" (x of either
// case), or "_xHHHH" before a character written as an escape, as "_x005F_", so that readers find
// the text as it was. libxlsxwriter escapes the other
// control characters itself. An escape counts seven characters towards a cell's 32,767.
std::string toXlsxText(std::u16string_view text);

// File-system bytes of a path text: U+DC80..U+DCFF give back the byte they stand for, other lone
// surrogates become U+FFFD, everything else UTF-8.
std::string toPathBytes(std::u16string_view path);

// Width in character cells of the widest line of a text: East Asian wide characters count two.
int displayWidth(std::u16string_view text);

// ASCII case-insensitive equality, as sheet names are compared.
bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace platform::spreadsheet
