#include "ui/KeyTranslation.h"

#include "platform/window/Focus.h"
#include "platform/window/WinMessages.h"
#include "ui/UiConstants.h"

#include <array>

namespace {

// The virtual-key codes that have a key name.
constexpr std::array<bool, 256> MakeNamedKeys()
{
    std::array<bool, 256> named{};
    constexpr int ranges[][2] = {{0x01, 0x06}, {0x08, 0x09}, {0x0C, 0x0D}, {0x10, 0x15}, {0x17, 0x19},
                                 {0x1B, 0x39}, {0x41, 0x5D}, {0x5F, 0x5F}, {0x6A, 0x6B}, {0x70, 0x87},
                                 {0x90, 0x96}, {0xA0, 0xB7}, {0xBA, 0xC0}, {0xDB, 0xDE}, {0xE1, 0xE7},
                                 {0xE9, 0xFE}};
    for (const auto& r : ranges)
        for (int v = r[0]; v <= r[1]; ++v)
            named[v] = true;
    return named;
}
constexpr std::array<bool, 256> kNamedKeys = MakeNamedKeys();

bool KeyIsDown(UINT key) { return (GetKeyState(static_cast<int>(key)) & 0x8000) != 0; }

}  // namespace

int32_t TranslateKeyCode(WPARAM wParam) noexcept
{
    const int32_t v = static_cast<int32_t>(wParam & 0xFF);
    if (v >= 0x60 && v <= 0x69)
        return v - 0x30;
    switch (v) {
    case 0x6D: return 0xBD;
    case 0x6E: return 0xBE;
    case 0x6F: return 0xBF;
    default: return kNamedKeys[static_cast<size_t>(v)] ? v : 0;
    }
}

int32_t TranslateKey(WPARAM wParam) noexcept
{
    const int32_t key = TranslateKeyCode(wParam);
    if (key == 0)
        return 0;
    int32_t k = key;
    if (key != static_cast<int32_t>(VK_CONTROL) && KeyIsDown(VK_CONTROL))
        k |= kModCtrl;
    if (key != static_cast<int32_t>(VK_SHIFT) && KeyIsDown(VK_SHIFT))
        k |= kModShift;
    if (key != static_cast<int32_t>(VK_MENU) && KeyIsDown(VK_MENU))
        k |= kModAlt;
    return k;
}

int32_t MouseModifiers(WPARAM keyState) noexcept
{
    int32_t m = 0;
    if (keyState & MK_CONTROL)
        m |= kModCtrl;
    if (keyState & MK_SHIFT)
        m |= kModShift;
    if (KeyIsDown(VK_MENU))
        m |= kModAlt;
    return m;
}
