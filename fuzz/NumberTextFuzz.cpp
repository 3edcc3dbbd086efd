// Decimal, hexadecimal and floating-point text conversions: no input may crash, and what the
// integer conversions print they must read back.
#include "fuzz/FuzzText.h"
#include "runtime/NumberText.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::u16string text = tabrix_fuzz::TextOf(data, size);
    const int64_t decimal = TextToInt64(text.c_str());
    HexTextToInt64(text.c_str());
    double number = 1;
    if (!TextToDoubleChecked(text.c_str(), number))
        TABRIX_FUZZ_CHECK(number == 0);

    // Printing and reading back is the identity for every value the reading produced.
    TABRIX_FUZZ_CHECK(TextToInt64(Int64ToText(decimal).GetText()) == decimal);
    const int32_t narrow = static_cast<int32_t>(decimal);
    TABRIX_FUZZ_CHECK(TextToInt64(IntToText(narrow).GetText()) == narrow);
    return 0;
}
