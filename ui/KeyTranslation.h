#pragma once
// Key translation: the wParam of a key message becomes the key word of key events, a virtual-key
// code (numeric-pad digits, minus, point and slash as the main keyboard's keys) with the modifier
// bits of the keyboard state at the time (kModCtrl, kModShift, kModAlt). Codes without a key name
// give 0. Thread safety: any thread (the keyboard state is the calling thread's view of it).
#include "platform/window/WinTypes.h"

#include <cstdint>

// The key code alone: 0 for a code outside the named set.
int32_t TranslateKeyCode(WPARAM wParam) noexcept;
// The key word: the key code plus the modifiers that are down (0 when the code has no name).
int32_t TranslateKey(WPARAM wParam) noexcept;
// The modifiers of a mouse message's key-state word, with the Alt key from the keyboard state.
int32_t MouseModifiers(WPARAM keyState) noexcept;
