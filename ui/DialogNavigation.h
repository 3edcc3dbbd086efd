#pragma once
// Keyboard navigation between the controls of a form, as the desktop's dialog manager does it:
// Tab and Shift+Tab move the focus between tab stops (descending into WS_EX_CONTROLPARENT
// windows), Enter clicks the focused push button or else the default button (DM_GETDEFID).
// Other messages are left to the message loop. Used on the form's thread.
#include "platform/window/WinTypes.h"

enum class TabDirection { Forward, Backward };

// The next (or previous) visible, enabled tab stop after `from` inside `dialog`, wrapping round;
// null when there is none.
HWND NextTabItem(HWND dialog, HWND from, TabDirection direction);
// TRUE when the message was a navigation key for `dialog` and has been handled.
BOOL HandleDialogNavigation(HWND dialog, const MSG* message);
