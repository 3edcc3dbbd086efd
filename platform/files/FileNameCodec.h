#pragma once
// File names are bytes on Linux. DecodeFileName turns them into UTF-16 without loss: valid UTF-8
// decodes as usual and each byte that is not part of a valid sequence becomes the unit U+DC00 + byte
// (U+DC80..U+DCFF). EncodeFileName gives the exact bytes back; it refuses texts no name can have (a
// NUL, a lone surrogate other than those escapes). FileNameToDisplayUtf8 is for text leaving the
// program: always valid UTF-8, with every escape and lone surrogate shown as U+FFFD.
// Stateless; any thread.
#include <optional>
#include <string>
#include <string_view>

std::u16string DecodeFileName(std::string_view bytes);
// Appends the decoded bytes to out; lets a search reuse one buffer for all its entries.
void AppendDecodedFileName(std::string_view bytes, std::u16string& out);
std::optional<std::string> EncodeFileName(std::u16string_view units);
std::string FileNameToDisplayUtf8(std::u16string_view units);

inline constexpr char16_t kFileNameEscapeBase = 0xDC00;
