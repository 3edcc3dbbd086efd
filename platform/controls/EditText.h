#pragma once
// Text arithmetic of the edit box: unit stepping that keeps surrogate pairs whole, lines ending at
// "\r\n", case conversion and the insertion the text limit allows. Internal to platform/controls.
// Thread safety: pure functions.
#include <cstddef>
#include <string>
#include <string_view>

namespace tabrix::controls_detail {

// The position one character before / after pos (a surrogate pair counts as one character).
size_t PreviousCharacter(std::u16string_view text, size_t pos);
size_t NextCharacter(std::u16string_view text, size_t pos);

// Lines of a multi-line text: starts of lines, the line holding a position, a line's length.
size_t LineCount(std::u16string_view text);
size_t LineStart(std::u16string_view text, size_t line);  // text.size() + 1 past the last line
size_t LineOf(std::u16string_view text, size_t pos);
size_t LineLength(std::u16string_view text, size_t line);

enum class CaseConversion { None, Upper, Lower };
std::u16string ConvertCase(std::u16string_view text, CaseConversion conversion);

// The longest prefix of insertion of at most room units that does not end inside a surrogate pair.
std::u16string_view FittingPrefix(std::u16string_view insertion, size_t room);

// The first line of a text (what a single-line box keeps of a pasted text).
std::u16string_view FirstLine(std::u16string_view text);

}  // namespace tabrix::controls_detail
