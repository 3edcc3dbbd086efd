#pragma once
// Numbers the control library shares with the programs built on it: the library's window mark
// (also the argument and answer of its private window messages), the private message numbers,
// the modifier bits of mouse and key events and the "use the default" coordinate.
// Thread safety: constants only.
#include "platform/window/WinTypes.h"

#include <cstdint>

// GWLP_USERDATA of every library window, and the lParam / answer of the private requests.
inline constexpr LPARAM kQrnWindowMark = 19731115;  // 0x12D12AB

// Private requests every native window answers (lParam kQrnWindowMark, wParam non-null).
inline constexpr UINT kQrnRemoveFilter = 0x9FFB;   // wParam: the filter to remove
inline constexpr UINT kQrnAddFilter = 0x9FFC;      // wParam: the filter to add
inline constexpr UINT kQrnQueryUserInt = 0x9FFD;   // wParam: int32_t* that receives userInt
// Our own: destroys the window on its own thread when its last holder goes on another thread.
inline constexpr UINT kQrnDestroyRequest = 0x9FFA;
// The message loop offers a pending input message (wParam: MSG*) to library windows.
inline constexpr UINT kQrnPreTranslate = 0x9FFF;
inline constexpr UINT kQrnTrayCallback = 0xA000;
inline constexpr UINT kQrnEnvelopeRequest = 0xA001;
inline constexpr UINT kQrnLabelNotify = 0xA002;

// Modifier word of mouse, wheel and key events.
inline constexpr int32_t kModShift = 0x8000;
inline constexpr int32_t kModAlt = 0x4000;
inline constexpr int32_t kModCtrl = 0x2000;
inline constexpr int32_t kModifierMask = 0xE000;

// A coordinate or extent of a creation record that asks for the default.
inline constexpr int32_t kDefaultCoordinate = static_cast<int32_t>(0x80000000u);

// 0xFF000000 in a colour field stands for the system colour named for that field.
inline constexpr uint32_t kSystemColour = 0xFF000000u;

// The application's name, the title of a form without one.
inline constexpr const char16_t* kApplicationName = u"Tabrix";
