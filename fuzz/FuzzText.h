#pragma once
// Turning a fuzzer's bytes into the texts the parsers read. Two readings are offered because the
// parsers see UTF-16 units: pairs of bytes reach every unit (lone surrogates, U+0000 inside a text),
// while UTF-8 keeps seed files readable and lets the fuzzer build plausible text from short inputs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/Unicode.h"

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

// UTF-8 read leniently, as the program reads it: each byte that does not start a valid sequence
// becomes U+FFFD.
inline std::u16string Utf8Of(const uint8_t* data, size_t size)
{
    return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
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
