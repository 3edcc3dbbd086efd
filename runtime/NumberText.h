// Conversions between numbers and UTF-16 texts: integers to decimal text, decimal and hexadecimal
// text to 64-bit integers (never failing: unreadable text gives 0 or the digits read so far), and a
// validated decimal text to a double, independent of the locale and correctly rounded. A null text
// reads as the empty text. Stateless; any thread.
#pragma once

#include "runtime/CWString.h"

#include <cstdint>

// "%d".
CWString IntToText(int32_t value);
// Decimal digits with a leading "-" for negative values.
CWString Int64ToText(int64_t value);

// Skips units up to U+0020, takes an optional sign and the decimal digits up to the first other
// unit. A magnitude beyond 18446744073709551615 saturates to INT64_MAX / INT64_MIN by the sign;
// below that the (negated) magnitude is taken modulo 2^64, so "18446744073709551615" gives -1.
int64_t TextToInt64(const char16_t* text) noexcept;

// An optional "0x" / "0X", then hexadecimal digits up to the first other unit; digits beyond 16 push
// the highest ones out. No sign and no spaces.
int64_t HexTextToInt64(const char16_t* text) noexcept;

// Accepts exactly: optional sign, a digit, digits with at most one ".", then optionally "e"/"E", an
// optional sign and at least one digit, and nothing else. Sets out to the nearest double (a too large
// magnitude gives an infinity, a too small one zero, both signed) and returns true; otherwise out is 0
// and the result is false.
bool TextToDoubleChecked(const char16_t* text, double& out);
