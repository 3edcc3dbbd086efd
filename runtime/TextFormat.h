// The runtime's printf-style formatting engine for UTF-16 texts, with the C runtime conventions the
// program's formats use: "%d", "%s" of a UTF-16 text, "%I64d", "%I64X", "%02X", "%08X", "%.15G" and the
// like, with flags, width and precision. Arguments are typed, so a format that does not fit its
// arguments fails (result -1) instead of reading garbage. Stateless; any thread.
#pragma once

#include <cstdint>
#include <span>

class CWString;

class FormatArg {
public:
    enum class Kind { Integer, Unsigned, Double, Text };

    FormatArg(int value) noexcept : kind_(Kind::Integer), integer_(value) {}
    FormatArg(long value) noexcept : kind_(Kind::Integer), integer_(value) {}
    FormatArg(long long value) noexcept : kind_(Kind::Integer), integer_(value) {}
    FormatArg(unsigned value) noexcept : kind_(Kind::Unsigned), unsigned_(value) {}
    FormatArg(unsigned long value) noexcept : kind_(Kind::Unsigned), unsigned_(value) {}
    FormatArg(unsigned long long value) noexcept : kind_(Kind::Unsigned), unsigned_(value) {}
    FormatArg(double value) noexcept : kind_(Kind::Double), double_(value) {}
    FormatArg(const char16_t* text) noexcept : kind_(Kind::Text), text_(text) {}
    FormatArg(const CWString& text) noexcept;

    Kind GetKind() const noexcept { return kind_; }
    // Integers of either signedness read as 64-bit two's complement.
    uint64_t Bits() const noexcept { return kind_ == Kind::Integer ? static_cast<uint64_t>(integer_) : unsigned_; }
    double AsDouble() const noexcept { return double_; }
    const char16_t* AsText() const noexcept { return text_; }

private:
    Kind kind_;
    union {
        int64_t integer_;
        uint64_t unsigned_;
        double double_;
        const char16_t* text_;
    };
};

// Formats into out (which must have room) or, when out is null, only counts. Returns the number of
// units written without a terminating NUL (none is written), or -1 for a malformed format or
// arguments that do not fit it.
int64_t FormatUnits(char16_t* out, const char16_t* format, std::span<const FormatArg> args);
