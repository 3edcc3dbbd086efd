#pragma once
// Keyboard focus and activation, per thread as on the original desktop: SetFocus sends WM_KILLFOCUS
// to the window losing the focus, then WM_SETFOCUS to the one gaining it, activating its top-level
// window first. GetKeyState answers from the key state the presenter keeps.
// Thread safety: SetFocus/SetActiveWindow accept only windows of the calling thread; GetFocus and
// GetActiveWindow answer for the calling thread.
#include "platform/window/WinTypes.h"

HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
HWND GetForegroundWindow();
// Bit 0x8000 when the key is down, bit 1 when it is toggled (Caps Lock).
short GetKeyState(int virtualKey);
short GetAsyncKeyState(int virtualKey);
