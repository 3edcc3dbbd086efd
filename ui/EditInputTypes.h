#pragma once
// The input types of edit boxes: which typed characters a box accepts, and how its text is
// normalised when it loses the focus (numbers re-read and written back in their canonical form,
// dates re-formatted, "0" shown as an empty box). Stateless; any thread.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum EditInputType : int32_t {
    kEditPlain = 0,
    kEditReadOnly = 1,
    kEditPassword = 2,
    kEditSignedDigits = 3,
    kEditDecimalDigits = 4,
    kEditByte = 5,
    kEditShort = 6,
    kEditInteger = 7,
    kEditLong = 8,
    kEditFloat = 9,
    kEditDouble = 10,
    kEditDateTime = 11,
    kEditDate = 12,
    kEditHexadecimal = 13,
};

// Characters below U+0020 always pass.
bool EditAcceptsCharacter(int32_t inputType, char16_t c);
// The text the box shows after losing focus; nothing for types that do not normalise.
std::optional<std::u16string> NormaliseEditText(int32_t inputType, std::u16string_view text);
