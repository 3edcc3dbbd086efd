#pragma once
// Turning a fuzzer's bytes into the texts the parsers read. Two readings are offered because the
// parsers see UTF-16 units: pairs of bytes reach every unit (lone surrogates, U+0000 inside a text),
// while UTF-8 keeps seed files readable and lets the fuzzer build plausible text from short inputs.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tabrix_fuzz {

// Each pair of bytes is one unit, little-endian; an odd last byte is dropped.
inline std::u16string UnitsOf(const uint8_t* data, size_t size)
{
    std::u16string text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

// UTF-8 read leniently: each byte that does not start a valid sequence becomes U+FFFD.
inline std::u16string Utf8Of(const uint8_t* data, size_t size)
{
    std::u16string text;
    text.reserve(size);
    size_t i = 0;
    while (i < size) {
        uint8_t lead = data[i];
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        uint32_t code = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length != 0 && i + length <= size;
        for (size_t k = 1; valid && k < length; ++k) {
            valid = (data[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (data[i + k] & 0x3F);
        }
        if (!valid) {
            text.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return text;
}

// The first byte picks the reading, so one corpus serves both; the rest is the text.
inline std::u16string TextOf(const uint8_t* data, size_t size)
{
    if (size == 0)
        return {};
    return (data[0] & 1) ? UnitsOf(data + 1, size - 1) : Utf8Of(data + 1, size - 1);
}

// Stops the run with a message when a property the parsers promise does not hold. abort() makes
// libFuzzer save the input as a crash.
[[noreturn]] void Fail(const char* what);

#define TABRIX_FUZZ_CHECK(condition)                                   \
    do {                                                               \
        if (!(condition))                                              \
            ::tabrix_fuzz::Fail(#condition " at " __FILE__);            \
    } while (0)

}  // namespace tabrix_fuzz
