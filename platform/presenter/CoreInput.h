#pragma once
// Desktop input into the window core, always as the core's messages: sent at once when the calling
// thread owns the window (the main thread's own windows), queued for the owner thread otherwise,
// so the presenter never blocks on a busy worker.
// Thread safety: any thread; the presenter calls them on the main thread.
#include "platform/window/WinTypes.h"

#include <string>

// A left click at the centre of the window's client area (button down, then up).
void ClickWindow(HWND hwnd);
// A left click at a point of the window's client area.
void ClickWindowAt(HWND hwnd, POINT client);
// Asks the window to close (WM_CLOSE), as the desktop's close button does.
void CloseWindow(HWND hwnd);
// The text the user typed into an edit box becomes the box's text (WM_SETTEXT, which sends the
// box's change notifications). Sent also to another thread's box: the core's sends never deadlock.
void SetTypedText(HWND hwnd, const std::u16string& text);
// The user gave a top-level window a new client size: the core window is sized to match (its owner
// gets WM_SIZE as for any resize). Only for windows of the calling thread, which never waits on a
// busy worker; others keep their size.
void ResizeClientArea(HWND hwnd, int width, int height);
