#include "platform/files/FileNameCodec.h"

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence starting at bytes[at], or 0 when the byte there does not start
// one. Overlong forms, encoded surrogates and values above U+10FFFF are not valid.
size_t ValidSequenceLength(std::string_view bytes, size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() - at < length) return 0;
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    if (second < low || second > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (!IsContinuation(static_cast<unsigned char>(bytes[at + i]))) return 0;
    }
    return length;
}

char32_t DecodeSequence(std::string_view bytes, size_t at, size_t length) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (length == 1) return lead;
    char32_t value = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) value = (value << 6) | (static_cast<unsigned char>(bytes[at + i]) & 0x3F);
    return value;
}

void AppendUnits(char32_t value, std::u16string& out) {
    if (value < 0x10000) {
        out.push_back(static_cast<char16_t>(value));
        return;
    }
    value -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
}

void AppendUtf8(char32_t value, std::string& out) {
    if (value < 0x80) {
        out.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (value >> 6)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (value >> 12)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (value >> 18)));
        out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool IsByteEscape(char16_t unit) { return unit >= kFileNameEscapeBase + 0x80 && unit <= kFileNameEscapeBase + 0xFF; }

// The code point of the pair starting at units[at], or 0 when there is no pair there.
char32_t PairAt(std::u16string_view units, size_t at) {
    if (at + 1 >= units.size() || !IsHighSurrogate(units[at]) || !IsLowSurrogate(units[at + 1])) return 0;
    return 0x10000 + ((static_cast<char32_t>(units[at]) - 0xD800) << 10) + (units[at + 1] - 0xDC00);
}

}  // namespace

void AppendDecodedFileName(std::string_view bytes, std::u16string& out) {
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t length = ValidSequenceLength(bytes, at);
        if (length == 0) {
            out.push_back(static_cast<char16_t>(kFileNameEscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        AppendUnits(DecodeSequence(bytes, at, length), out);
        at += length;
    }
}

std::u16string DecodeFileName(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    AppendDecodedFileName(bytes, out);
    return out;
}

std::optional<std::string> EncodeFileName(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (size_t at = 0; at < units.size(); ++at) {
        const char16_t unit = units[at];
        if (const char32_t pair = PairAt(units, at)) {
            AppendUtf8(pair, out);
            ++at;
        } else if (IsByteEscape(unit)) {
            out.push_back(static_cast<char>(unit - kFileNameEscapeBase));
        } else if (unit == 0 || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            return std::nullopt;
        } else {
            AppendUtf8(unit, out);
        }
    }
    return out;
}

std::string FileNameToDisplayUtf8(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (size_t at = 0; at < units.size(); ++at) {
        if (const char32_t pair = PairAt(units, at)) {
            AppendUtf8(pair, out);
            ++at;
        } else if (IsHighSurrogate(units[at]) || IsLowSurrogate(units[at])) {
            AppendUtf8(0xFFFD, out);
        } else {
            AppendUtf8(units[at], out);
        }
    }
    return out;
}
