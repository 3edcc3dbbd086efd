#pragma once
// The text conversions the grid needs, over the runtime's number texts and dates: whether a cell
// text reads as a number (after blanks, code units below 33 and U+3000, are cut at both ends), the
// date a date cell shows ("yyyy-MM-dd"), and a local date and time in the Chinese long form.
// Stateless; any thread.
#include "runtime/CWString.h"
#include "runtime/OleDate.h"

#include <optional>
#include <string>
#include <string_view>

// What TextToDoubleChecked accepts, once the blanks around it are cut: "5.", "+1.5E-3" and "007"
// read as numbers, ".5", "1.2.3" and "1e" do not.
bool GridTextReadsAsNumber(std::u16string_view text);

// A typed date ("2024-08-21", "2024年8月21日", "2024/8/21 7:5") as the date column writes it,
// "yyyy-MM-dd"; nothing when the text reads as no date.
std::optional<std::u16string> GridDateCellText(std::u16string_view text);

// "%d年%d月%d日", then "%d时%d分%d秒" when the second is not 0, "%d时%d分" when only the second is,
// "%d时" when minute and second are, and nothing at midnight; numbers without leading zeros.
CWString ChineseLongDateTime(const CalendarTime& time);
// The local time now, to the second.
CalendarTime LocalTimeNow();
