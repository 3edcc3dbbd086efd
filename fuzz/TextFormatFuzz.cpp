// The formatting engine. The input is a format text (UTF-8 up to the first NUL byte) and, after it,
// the bytes that pick the arguments: their count, kinds and values. The engine must count what it
// writes, write exactly that into an array of that size, agree with CWString's formatting (also when
// an argument points into the target's own storage), and fail with -1 and an empty text rather than
// read an argument of the wrong kind. Then one conversion built from the same bytes is compared with
// the C library's snprintf wherever the C conventions define the result.
#include "fuzz/FuzzText.h"
#include "runtime/CWString.h"
#include "runtime/TextFormat.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::u16string Formatted(const char16_t* format, std::span<const FormatArg> args, int64_t& count)
{
    count = FormatUnits(nullptr, format, args);
    TABRIX_FUZZ_CHECK(count == FormatUnits(nullptr, format, args));
    if (count < 0)
        return {};
    // Exactly the counted size, so that ASan reports any unit written past it.
    std::unique_ptr<char16_t[]> out(new char16_t[static_cast<size_t>(count)]);
    TABRIX_FUZZ_CHECK(FormatUnits(out.get(), format, args) == count);
    return std::u16string(out.get(), static_cast<size_t>(count));
}

enum class TextPick { Null, Empty, Short, Fuzzed, Own };

struct ArgumentSet {
    std::vector<FormatArg> own;       // text arguments that point into the target's storage
    std::vector<FormatArg> copied;    // the same with those pointing at a copy
};

// Arguments of fuzzed kinds; a text argument may point into `target`, whose text then must stay as
// it is until the arguments are used.
ArgumentSet ArgumentsFrom(FuzzedDataProvider& in, const CWString& target, const std::u16string& targetCopy,
                          const std::u16string& fuzzedText)
{
    ArgumentSet set;
    const int count = in.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: set.own.emplace_back(in.ConsumeIntegral<long long>()); break;
        case 1: set.own.emplace_back(in.ConsumeIntegral<unsigned long long>()); break;
        case 2: set.own.emplace_back(in.ConsumeFloatingPoint<double>()); break;
        default: {
            const auto pick = static_cast<TextPick>(in.ConsumeIntegralInRange(0, 4));
            const char16_t* text = pick == TextPick::Null    ? nullptr
                                 : pick == TextPick::Empty   ? u""
                                 : pick == TextPick::Short   ? u"text 文本"
                                 : pick == TextPick::Fuzzed  ? fuzzedText.c_str()
                                                             : target.GetText();
            set.own.emplace_back(text);
            set.copied.emplace_back(pick == TextPick::Own ? targetCopy.c_str() : text);
            continue;
        }
        }
        set.copied.push_back(set.own.back());
    }
    return set;
}

void CheckEngine(const std::u16string& format, FuzzedDataProvider& in)
{
    const std::vector<uint8_t> textBytes = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange(0, 64));
    const std::u16string fuzzedText = tabrix_fuzz::UnitsOf(textBytes.data(), textBytes.size());
    CWString target(std::u16string_view(u"prefix text that is formatted over"));
    const std::u16string targetCopy(target.View());
    const ArgumentSet args = ArgumentsFrom(in, target, targetCopy, fuzzedText);

    int64_t count = 0;
    const std::u16string expected = Formatted(format.c_str(), args.copied, count);
    TABRIX_FUZZ_CHECK(count < 0 || static_cast<int64_t>(expected.size()) == count);

    // Appending keeps the text and adds the formatted units; a failed format adds nothing.
    CWString appended(targetCopy.c_str());
    appended.AppendFormatted(format.c_str(), args.copied);
    TABRIX_FUZZ_CHECK(appended.View() == targetCopy + expected);

    // The same when an argument is the target's own text, which the formatting replaces or grows.
    target.AppendFormatted(format.c_str(), args.own);
    TABRIX_FUZZ_CHECK(target.View() == targetCopy + expected);

    CWString assigned(targetCopy.c_str());
    assigned.SetFormatted(format.c_str(), args.copied);
    TABRIX_FUZZ_CHECK(assigned.View() == expected);
}

void CheckSelfAssignment(const std::u16string& format, FuzzedDataProvider& in)
{
    CWString target(std::u16string_view(u"own text"));
    const std::u16string targetCopy(target.View());
    const std::u16string none;
    const ArgumentSet args = ArgumentsFrom(in, target, targetCopy, none);
    int64_t count = 0;
    const std::u16string expected = Formatted(format.c_str(), args.copied, count);
    target.SetFormatted(format.c_str(), args.own);
    TABRIX_FUZZ_CHECK(target.View() == expected);

    // The caller's-array form writes a NUL after what it counted.
    if (args.copied.size() >= 3) {
        const std::span<const FormatArg> first(args.copied.data(), 3);
        const int64_t units = FormatUnits(nullptr, format.c_str(), first);
        if (units >= 0) {
            std::unique_ptr<char16_t[]> out(new char16_t[static_cast<size_t>(units) + 1]);
            TABRIX_FUZZ_CHECK(FormatToUnits(out.get(), format.c_str(), first[0], first[1], first[2]) == units);
            TABRIX_FUZZ_CHECK(out[static_cast<size_t>(units)] == 0);
        }
    }
}

// One conversion the C library defines: flags, width, precision, length and conversion from the input,
// with an argument of the kind the conversion reads.
struct Conversion {
    std::string flags, width, precision, length, cLength;
    char conversion = 'd';
};

Conversion ConversionFrom(FuzzedDataProvider& in)
{
    static constexpr char kConversions[] = "diuxXoeEfFgGcs";
    struct Length { const char* engine; const char* c; };
    static constexpr Length kLengths[] = {{"", ""}, {"h", "h"}, {"hh", "hh"}, {"l", "ll"}, {"ll", "ll"}, {"I64", "ll"},
                                          {"I32", ""}, {"I", "ll"}, {"j", "ll"}, {"z", "ll"}};
    Conversion c;
    c.conversion = kConversions[in.ConsumeIntegralInRange<size_t>(0, std::strlen(kConversions) - 1)];
    const bool integer = std::strchr("diuxXo", c.conversion) != nullptr;
    const bool text = c.conversion == 'c' || c.conversion == 's';
    const unsigned flagBits = in.ConsumeIntegral<uint8_t>();
    for (unsigned bit = 0; bit < 5; ++bit) {
        const char flag = "-+ 0#"[bit];
        // '#' is undefined for d, i, u, c and s, '0', '+' and ' ' for c and s; the engine leaves out
        // the alternate form of the floating conversions.
        const bool defined = flag == '#' ? std::strchr("xXo", c.conversion) != nullptr : !(text && flag != '-');
        if ((flagBits >> bit & 1) && defined)
            c.flags += flag;
    }
    auto number = [&in] {
        return std::to_string(in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 40) : in.ConsumeIntegralInRange(0, 2000));
    };
    if (in.ConsumeBool())
        c.width = number();
    if (in.ConsumeBool() && c.conversion != 'c')
        c.precision = "." + number();
    if (integer) {
        const Length& length = kLengths[in.ConsumeIntegralInRange<size_t>(0, std::size(kLengths) - 1)];
        c.length = length.engine;
        c.cLength = length.c;
    }
    return c;
}

std::u16string Widened(const std::string& narrow)
{
    return std::u16string(narrow.begin(), narrow.end());
}

template <class Value>
std::string CFormatted(const std::string& format, Value value)
{
    const int size = std::snprintf(nullptr, 0, format.c_str(), value);
    TABRIX_FUZZ_CHECK(size >= 0);
    std::string out(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), value);
    out.resize(static_cast<size_t>(size));
    return out;
}

void CheckAgainstC(FuzzedDataProvider& in)
{
    const Conversion c = ConversionFrom(in);
    const std::string head = "<%" + c.flags + c.width + c.precision;
    const std::u16string format = Widened(head + c.length + c.conversion + ">");
    const std::string cFormat = head + c.cLength + c.conversion + ">";
    const bool wide = !c.cLength.empty() && c.cLength[0] == 'l';
    std::string expected;
    std::string text;
    std::vector<FormatArg> args;
    if (std::strchr("diuxXo", c.conversion)) {
        const uint64_t bits = in.ConsumeIntegral<uint64_t>();
        args.emplace_back(in.ConsumeBool() ? FormatArg(static_cast<long long>(bits)) : FormatArg(static_cast<unsigned long long>(bits)));
        const bool isSigned = c.conversion == 'd' || c.conversion == 'i';
        if (wide)
            expected = isSigned ? CFormatted(cFormat, static_cast<long long>(bits)) : CFormatted(cFormat, static_cast<unsigned long long>(bits));
        else
            expected = isSigned ? CFormatted(cFormat, static_cast<int>(bits)) : CFormatted(cFormat, static_cast<unsigned>(bits));
    } else if (c.conversion == 'c') {
        const int unit = in.ConsumeIntegralInRange(1, 127);
        args.emplace_back(unit);
        expected = CFormatted(cFormat, unit);
    } else if (c.conversion == 's') {
        for (uint8_t byte : in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange(0, 40)))
            text.push_back(static_cast<char>(byte % 127 + 1));
        args.emplace_back(u"");    // replaced below, once the text's wide copy exists
        expected = CFormatted(cFormat, text.c_str());
    } else {
        double value = 0;
        switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0: value = in.ConsumeFloatingPoint<double>(); break;
        case 1: value = in.ConsumeFloatingPointInRange(-1e6, 1e6); break;
        default: value = static_cast<double>(in.ConsumeIntegral<int32_t>()); break;
        }
        if (std::isnan(value))
            value = std::fabs(value);    // the sign of a NaN is the C library's own choice
        args.emplace_back(value);
        expected = CFormatted(cFormat, value);
    }
    const std::u16string wideText = Widened(text);
    if (c.conversion == 's')
        args[0] = FormatArg(wideText.c_str());
    int64_t count = 0;
    const std::u16string actual = Formatted(format.c_str(), args, count);
    if (count < 0)
        return;    // widths and precisions beyond the engine's limit
    if (actual != Widened(expected)) {
        std::fprintf(stderr, "format %s: C gives \"%s\", engine \"%s\"\n", cFormat.c_str(), expected.c_str(),
                     std::string(actual.begin(), actual.end()).c_str());
        tabrix_fuzz::Fail("the engine agrees with snprintf");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* end = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    const size_t formatBytes = end ? static_cast<size_t>(end - data) : size;
    const std::u16string format = tabrix_fuzz::Utf8Of(data, formatBytes);
    const size_t rest = end ? size - formatBytes - 1 : 0;
    FuzzedDataProvider in(data + formatBytes + (end ? 1 : 0), rest);
    CheckEngine(format, in);
    CheckSelfAssignment(format, in);
    CheckAgainstC(in);
    return 0;
}
