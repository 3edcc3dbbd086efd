#pragma once
// Small UTF-16 helpers shared by the core's sources.
// Thread safety: pure functions.
#include "platform/window/WinTypes.h"

#include <string>

namespace tabrix::window_detail {

inline std::u16string TextOf(LPCWSTR text)
{
    return text ? std::u16string(text) : std::u16string();
}

inline char16_t FoldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

inline bool EqualsIgnoringAsciiCase(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

// Copies text into a caller's buffer of `chars` units, truncating and terminating; returns the
// units copied without the terminator.
inline int CopyToBuffer(const std::u16string& text, LPWSTR buffer, int chars)
{
    if (!buffer || chars <= 0)
        return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(chars - 1));
    text.copy(buffer, n);
    buffer[n] = 0;
    return static_cast<int>(n);
}

}  // namespace tabrix::window_detail
