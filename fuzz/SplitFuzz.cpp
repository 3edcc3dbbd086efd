// Splitting a text at a set of delimiter units. The first byte picks the reading (bit 0, as in
// FuzzText.h) and how many of the first units form the delimiter set (bits 1-3); the rest is the
// text. Without trimming the pieces and the delimiter units between them give the text back, with
// trimming each piece is its untrimmed twin without the blanks at its ends. The pieces are copies
// that outlive the text, and they survive the array's stream form.
#include "fuzz/FuzzText.h"
#include "runtime/CMStringArray.h"
#include "runtime/CQrnStream.h"
#include "runtime/TextArrays.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

namespace {

using Units = std::u16string_view;

// An element's text; the array keeps an empty text as null.
Units At(const CMStringArray& pieces, int64_t index)
{
    const char16_t* text = pieces.GetAt(index);
    return text ? Units(text) : Units();
}

bool IsBlank(char16_t unit) { return unit <= 0x0020 || unit == 0x3000; }

Units Trimmed(Units piece)
{
    while (!piece.empty() && IsBlank(piece.front()))
        piece.remove_prefix(1);
    while (!piece.empty() && IsBlank(piece.back()))
        piece.remove_suffix(1);
    return piece;
}

// Splits a heap copy of the text that is gone before the pieces are read.
int64_t SplitCopy(CMStringArray& pieces, Units text, const char16_t* delimiters, SplitTrim trim)
{
    std::unique_ptr<char16_t[]> copy(new char16_t[text.size() + 1]);
    text.copy(copy.get(), text.size());
    copy[text.size()] = 0;
    const int64_t count = pieces.Split(copy.get(), delimiters, trim);
    std::fill_n(copy.get(), text.size(), u'#');
    return count;
}

void CheckUntrimmed(const CMStringArray& pieces, Units text, Units delimiters)
{
    const int64_t count = pieces.GetCount();
    int64_t delimiterUnits = 0;
    for (char16_t unit : text)
        delimiterUnits += delimiters.find(unit) != Units::npos ? 1 : 0;
    TABRIX_FUZZ_CHECK(count == (text.empty() ? 0 : delimiterUnits + 1));

    // text == piece0 delimiter piece1 delimiter ... pieceN, no piece holding a delimiter unit.
    size_t at = 0;
    for (int64_t i = 0; i < count; ++i) {
        const Units units = At(pieces, i);
        TABRIX_FUZZ_CHECK(units.find_first_of(delimiters) == Units::npos);
        TABRIX_FUZZ_CHECK(text.substr(at, units.size()) == units);
        at += units.size();
        if (i + 1 < count) {
            TABRIX_FUZZ_CHECK(at < text.size() && delimiters.find(text[at]) != Units::npos);
            ++at;
        }
    }
    TABRIX_FUZZ_CHECK(at == text.size());

    if (delimiters.size() == 1 && count > 0) {
        std::u16string joined(At(pieces, 0));
        for (int64_t i = 1; i < count; ++i)
            joined.append(1, delimiters[0]).append(At(pieces, i));
        TABRIX_FUZZ_CHECK(joined == text);
    }
}

void CheckTrimmed(const CMStringArray& trimmed, const CMStringArray& untrimmed)
{
    TABRIX_FUZZ_CHECK(trimmed.GetCount() == untrimmed.GetCount());
    for (int64_t i = 0; i < trimmed.GetCount(); ++i) {
        TABRIX_FUZZ_CHECK(At(trimmed, i) == Trimmed(At(untrimmed, i)));
    }
}

void CheckStreamRoundTrip(const CMStringArray& pieces)
{
    rg_quarn_base::rg_WenBenShuZuLei saved;
    saved.AppendCopies(pieces);
    CQrnMemoryStream stream;
    saved.SaveToStream(stream);
    TABRIX_FUZZ_CHECK(stream.IsGood());
    rg_quarn_base::rg_WenBenShuZuLei loaded;
    loaded.Append(u"stale");
    loaded.LoadFromStream(stream);
    TABRIX_FUZZ_CHECK(stream.IsGood());
    TABRIX_FUZZ_CHECK(loaded.Strings().HasSameTexts(pieces));
    TABRIX_FUZZ_CHECK(loaded.IsEqual(saved));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::u16string units = tabrix_fuzz::TextOf(data, size);
    const size_t delimiterCount = std::min<size_t>((data[0] >> 1) & 7, units.size());
    // Both the set and the text end at a NUL unit, as the C texts Split reads do.
    const std::u16string delimiterSet = units.substr(0, delimiterCount);
    const Units delimiters(delimiterSet.c_str());
    const std::u16string rest = units.substr(delimiterCount);
    const Units text(rest.c_str());

    CMStringArray untrimmed;
    untrimmed.Append(u"stale");
    TABRIX_FUZZ_CHECK(SplitCopy(untrimmed, text, delimiterSet.c_str(), SplitTrim::No) == untrimmed.GetCount());
    CheckUntrimmed(untrimmed, text, delimiters);

    CMStringArray trimmed;
    TABRIX_FUZZ_CHECK(SplitCopy(trimmed, text, delimiterSet.c_str(), SplitTrim::Yes) == trimmed.GetCount());
    CheckTrimmed(trimmed, untrimmed);

    // Splitting again into a used array replaces what it held.
    TABRIX_FUZZ_CHECK(SplitCopy(trimmed, text, delimiterSet.c_str(), SplitTrim::No) == untrimmed.GetCount());
    TABRIX_FUZZ_CHECK(trimmed.HasSameTexts(untrimmed));

    // A null delimiter set has no delimiter: the whole text is one piece.
    CMStringArray whole;
    SplitCopy(whole, text, nullptr, SplitTrim::No);
    CheckUntrimmed(whole, text, Units());

    CheckStreamRoundTrip(untrimmed);
    return 0;
}
