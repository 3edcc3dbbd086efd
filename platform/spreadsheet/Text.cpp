#include "platform/spreadsheet/Text.h"

#include <algorithm>

namespace platform::spreadsheet {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Calls emit(codePoint) per code point, or emitLone(unit) for a lone surrogate.
template <typename Emit, typename EmitLone>
void forEachCodePoint(std::u16string_view text, Emit emit, EmitLone emitLone) {
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    if (isHigh(u) && i + 1 < text.size() && isLow(text[i + 1])) {
      emit(0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
      ++i;
    } else if (isHigh(u) || isLow(u)) {
      emitLone(u);
    } else {
      emit(char32_t(u));
    }
  }
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

bool isWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
         (c >= 0x20000 && c <= 0x3FFFD);
}

char16_t asciiLower(char16_t u) { return (u >= u'A' && u <= u'Z') ? char16_t(u + 32) : u; }

bool isHex(char16_t u) { return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F'); }

// Whether a unit reaches the file as an escape, which begins with "_": the three toXlsxText
// escapes, and the control characters libxlsxwriter escapes (tab and line feed too, to be safe).
bool writtenAsEscape(char16_t u) { return u < 0x20 || u == 0xFFFE || u == 0xFFFF; }

// Whether what is written from text[i] on reads as an escape "_xHHHH_": the text's own, or "_xHHHH"
// followed by a unit whose escape supplies the closing "_".
bool startsEscape(std::u16string_view text, size_t i) {
  return text.size() - i >= 7 && text[i] == u'_' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
         isHex(text[i + 2]) && isHex(text[i + 3]) && isHex(text[i + 4]) && isHex(text[i + 5]) &&
         (text[i + 6] == u'_' || writtenAsEscape(text[i + 6]));
}

void appendEscape(std::string& out, char16_t u) {
  static const char kDigits[] = "0123456789ABCDEF";
  out += "_x";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(u >> shift) & 0xF];
  out += '_';
}

}  // namespace

bool hasSurrogates(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(), [](char16_t u) { return u >= 0xD800 && u <= 0xDFFF; });
}

std::u16string sanitized(std::u16string_view text) {
  std::u16string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    if (isHigh(out[i]) && i + 1 < out.size() && isLow(out[i + 1])) {
      ++i;
    } else if (isHigh(out[i]) || isLow(out[i])) {
      out[i] = kReplacement;
    }
  }
  return out;
}

std::string toUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  forEachCodePoint(
      text, [&](char32_t c) { appendUtf8(out, c); }, [&](char16_t) { appendUtf8(out, kReplacement); });
  return out;
}

std::string toXlsxText(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u == 0 || u == 0xFFFE || u == 0xFFFF || (u == u'_' && startsEscape(text, i))) {
      appendEscape(out, u);
    } else if (isHigh(u) && i + 1 < text.size() && isLow(text[i + 1])) {
      appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
      ++i;
    } else {
      appendUtf8(out, isHigh(u) || isLow(u) ? kReplacement : char32_t(u));
    }
  }
  return out;
}

std::string toPathBytes(std::u16string_view path) {
  std::string out;
  out.reserve(path.size());
  forEachCodePoint(
      path, [&](char32_t c) { appendUtf8(out, c); },
      [&](char16_t u) {
        if (u >= 0xDC80 && u <= 0xDCFF) {
          out += char(u - 0xDC00);
        } else {
          appendUtf8(out, kReplacement);
        }
      });
  return out;
}

int displayWidth(std::u16string_view text) {
  int widest = 0;
  int line = 0;
  auto add = [&](char32_t c) {
    if (c == U'\n') {
      line = 0;
      return;
    }
    if (c == U'\r') return;
    line += isWide(c) ? 2 : 1;
    widest = std::max(widest, line);
  };
  forEachCodePoint(text, add, [&](char16_t) { add(kReplacement); });
  return widest;
}

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return asciiLower(x) == asciiLower(y); });
}

}  // namespace platform::spreadsheet
