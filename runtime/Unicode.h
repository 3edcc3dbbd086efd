// Conversions between UTF-8 bytes and UTF-16 units for texts that come from or leave the program.
// Malformed UTF-8 becomes U+FFFD per bad byte; a lone surrogate written out becomes U+FFFD, so no
// output is ever invalid. Stateless; any thread.
#pragma once

#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view bytes);
std::string Utf16ToUtf8(std::u16string_view units);
size_t Utf16Length(const char16_t* text) noexcept;
