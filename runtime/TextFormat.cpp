#include "runtime/TextFormat.h"

#include "runtime/CWString.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>

FormatArg::FormatArg(const CWString& text) noexcept : kind_(Kind::Text), text_(text.GetText()) {}

namespace {

// Writes or counts units.
class Sink {
public:
    explicit Sink(char16_t* out) : out_(out) {}
    void Put(char16_t unit)
    {
        if (out_)
            out_[count_] = unit;
        ++count_;
    }
    void Repeat(char16_t unit, int64_t times)
    {
        for (; times > 0; --times)
            Put(unit);
    }
    void PutAscii(std::string_view text)
    {
        for (char c : text)
            Put(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    int64_t Count() const { return count_; }

private:
    char16_t* out_;
    int64_t count_ = 0;
};

struct Spec {
    bool leftAlign = false;
    bool plus = false;
    bool space = false;
    bool zeroPad = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;
    bool wide64 = false; // "I64", "ll", "l", "j", "z"
    bool narrow16 = false; // "h"
    bool narrow8 = false;  // "hh"
    char16_t conversion = 0;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads one conversion after its '%'; advances p past it. False when malformed.
bool ParseSpec(const char16_t*& p, Spec& spec)
{
    for (;; ++p) {
        switch (*p) {
        case u'-': spec.leftAlign = true; continue;
        case u'+': spec.plus = true; continue;
        case u' ': spec.space = true; continue;
        case u'0': spec.zeroPad = true; continue;
        case u'#': spec.alternate = true; continue;
        default: break;
        }
        break;
    }
    for (; IsDigit(*p); ++p) {
        spec.width = spec.width * 10 + (*p - u'0');
        if (spec.width > 100000)
            return false;
    }
    if (*p == u'.') {
        ++p;
        spec.precision = 0;
        for (; IsDigit(*p); ++p) {
            spec.precision = spec.precision * 10 + (*p - u'0');
            if (spec.precision > 100000)
                return false;
        }
    }
    if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
        spec.wide64 = true;
        p += 3;
    } else if (p[0] == u'I' && p[1] == u'3' && p[2] == u'2') {
        p += 3;
    } else if (p[0] == u'l' && p[1] == u'l') {
        spec.wide64 = true;
        p += 2;
    } else if (*p == u'l' || *p == u'j' || *p == u'z' || *p == u'I') {
        spec.wide64 = true;
        ++p;
    } else if (p[0] == u'h' && p[1] == u'h') {
        spec.narrow8 = true;
        p += 2;
    } else if (*p == u'h') {
        spec.narrow16 = true;
        ++p;
    }
    spec.conversion = *p;
    if (!spec.conversion)
        return false;
    ++p;
    return true;
}

// Pads the body (given as a prefix, zeros to insert and digits) to the width.
void PutPadded(Sink& sink, const Spec& spec, std::string_view prefix, int64_t zeros, std::string_view body)
{
    const int64_t length = static_cast<int64_t>(prefix.size() + body.size()) + zeros;
    const int64_t fill = spec.width > length ? spec.width - length : 0;
    if (!spec.leftAlign && !spec.zeroPad)
        sink.Repeat(u' ', fill);
    sink.PutAscii(prefix);
    if (!spec.leftAlign && spec.zeroPad)
        sink.Repeat(u'0', fill);
    sink.Repeat(u'0', zeros);
    sink.PutAscii(body);
    if (spec.leftAlign)
        sink.Repeat(u' ', fill);
}

uint64_t NarrowBits(uint64_t bits, const Spec& spec, bool isSigned)
{
    if (spec.wide64)
        return bits;
    if (spec.narrow8)
        return isSigned ? static_cast<uint64_t>(static_cast<int64_t>(static_cast<int8_t>(bits))) : uint8_t(bits);
    if (spec.narrow16)
        return isSigned ? static_cast<uint64_t>(static_cast<int64_t>(static_cast<int16_t>(bits))) : uint16_t(bits);
    return isSigned ? static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(bits))) : uint32_t(bits);
}

void PutInteger(Sink& sink, Spec spec, uint64_t rawBits)
{
    const char16_t c = spec.conversion;
    const bool isSigned = c == u'd' || c == u'i';
    const uint64_t bits = NarrowBits(rawBits, spec, isSigned);
    bool negative = false;
    uint64_t magnitude = bits;
    if (isSigned && static_cast<int64_t>(bits) < 0) {
        negative = true;
        magnitude = 0 - bits;
    }
    const int base = (c == u'x' || c == u'X') ? 16 : (c == u'o') ? 8 : 10;
    const char* digits = c == u'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char buffer[24];
    int n = 0;
    for (uint64_t v = magnitude; v != 0; v /= static_cast<uint64_t>(base))
        buffer[n++] = digits[v % static_cast<uint64_t>(base)];
    if (n == 0 && spec.precision != 0)
        buffer[n++] = '0';
    std::string body;
    for (int i = n - 1; i >= 0; --i)
        body.push_back(buffer[i]);
    std::string prefix;
    if (negative)
        prefix = "-";
    else if (isSigned && spec.plus)
        prefix = "+";
    else if (isSigned && spec.space)
        prefix = " ";
    if (spec.alternate && magnitude != 0 && base == 16)
        prefix += (c == u'X') ? "0X" : "0x";
    int64_t zeros = spec.precision > n ? spec.precision - n : 0;
    // The alternate octal form widens the precision just enough to begin with a zero.
    if (spec.alternate && base == 8 && zeros == 0 && (body.empty() || body[0] != '0'))
        zeros = 1;
    if (spec.precision >= 0)
        spec.zeroPad = false;
    PutPadded(sink, spec, prefix, zeros, body);
}

void PutDouble(Sink& sink, Spec spec, double value)
{
    const char16_t c = spec.conversion;
    const bool upper = c == u'G' || c == u'E' || c == u'F';
    std::string prefix;
    if (std::signbit(value) && !std::isnan(value))
        prefix = "-";
    else if (spec.plus)
        prefix = "+";
    else if (spec.space)
        prefix = " ";
    const double magnitude = std::fabs(value);
    std::string body;
    if (!std::isfinite(magnitude)) {
        body = std::isnan(magnitude) ? "nan" : "inf";
        spec.zeroPad = false;
    } else {
        int precision = spec.precision < 0 ? 6 : spec.precision;
        std::chars_format format = std::chars_format::general;
        if (c == u'f' || c == u'F')
            format = std::chars_format::fixed;
        else if (c == u'e' || c == u'E')
            format = std::chars_format::scientific;
        else if (precision == 0)
            precision = 1;
        // Room for the longest form: 309 integer digits of the largest double in fixed notation, the
        // point and the precision's digits (an "e-308" exponent or the four zeros after "0." that %g
        // keeps are shorter). The parser limits the precision, so this stays bounded.
        body.resize(static_cast<size_t>(precision) + 320);
        const auto result = std::to_chars(body.data(), body.data() + body.size(), magnitude, format, precision);
        body.resize(result.ec == std::errc() ? static_cast<size_t>(result.ptr - body.data()) : 0);
    }
    if (upper) {
        for (char& ch : body)
            if (ch >= 'a' && ch <= 'z')
                ch = static_cast<char>(ch - 0x20);
    }
    PutPadded(sink, spec, prefix, 0, body);
}

void PutText(Sink& sink, const Spec& spec, const char16_t* text)
{
    if (!text)
        text = u"(null)";
    int64_t length = 0;
    while (text[length] && (spec.precision < 0 || length < spec.precision))
        ++length;
    const int64_t fill = spec.width > length ? spec.width - length : 0;
    if (!spec.leftAlign)
        sink.Repeat(u' ', fill);
    for (int64_t i = 0; i < length; ++i)
        sink.Put(text[i]);
    if (spec.leftAlign)
        sink.Repeat(u' ', fill);
}

bool IsIntegerKind(const FormatArg& a)
{
    return a.GetKind() == FormatArg::Kind::Integer || a.GetKind() == FormatArg::Kind::Unsigned;
}

} // namespace

int64_t FormatUnits(char16_t* out, const char16_t* format, std::span<const FormatArg> args)
{
    if (!format)
        return -1;
    Sink sink(out);
    size_t next = 0;
    for (const char16_t* p = format; *p;) {
        if (*p != u'%') {
            sink.Put(*p++);
            continue;
        }
        ++p;
        if (*p == u'%') {
            sink.Put(u'%');
            ++p;
            continue;
        }
        Spec spec;
        if (!ParseSpec(p, spec) || next >= args.size())
            return -1;
        const FormatArg& arg = args[next++];
        switch (spec.conversion) {
        case u'd': case u'i': case u'u': case u'x': case u'X': case u'o':
            if (!IsIntegerKind(arg))
                return -1;
            PutInteger(sink, spec, arg.Bits());
            break;
        case u'c': case u'C': {
            if (!IsIntegerKind(arg))
                return -1;
            const char16_t unit[2] = {static_cast<char16_t>(arg.Bits()), 0};
            Spec textSpec = spec;
            textSpec.precision = -1;
            PutText(sink, textSpec, unit[0] ? unit : u"");
            break;
        }
        case u's': case u'S':
            if (arg.GetKind() != FormatArg::Kind::Text)
                return -1;
            PutText(sink, spec, arg.AsText());
            break;
        case u'e': case u'E': case u'f': case u'F': case u'g': case u'G':
            if (arg.GetKind() == FormatArg::Kind::Double)
                PutDouble(sink, spec, arg.AsDouble());
            else if (arg.GetKind() == FormatArg::Kind::Integer)
                PutDouble(sink, spec, static_cast<double>(static_cast<int64_t>(arg.Bits())));
            else if (arg.GetKind() == FormatArg::Kind::Unsigned)
                PutDouble(sink, spec, static_cast<double>(arg.Bits()));
            else
                return -1;
            break;
        default:
            return -1;
        }
    }
    return sink.Count();
}
