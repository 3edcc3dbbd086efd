#pragma once
// The few text conversions the grid needs: whether a cell text reads as a number (after blanks,
// code units below 33 and U+3000, are cut at both ends), 64-bit integers as decimal text, and a
// local date and time in the Chinese long form. Stateless; any thread.
#include "runtime/CWString.h"

#include <cstdint>
#include <string_view>

// An optional sign, a digit, digits with at most one ".", then optionally "e"/"E", an optional sign
// and at least one digit: "5.", "+1.5E-3" and "007" read as numbers, ".5", "1.2.3" and "1e" do not.
bool GridTextReadsAsNumber(std::u16string_view text);

CWString GridInt64Text(int64_t value);

struct GridLocalTime {
    int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// "%d年%d月%d日", then "%d时%d分%d秒" when the second is not 0, "%d时%d分" when only the second is,
// "%d时" when minute and second are, and nothing at midnight; numbers without leading zeros.
CWString ChineseLongDateTime(const GridLocalTime& time);
// The local time now, to the second.
GridLocalTime GridLocalTimeNow();
