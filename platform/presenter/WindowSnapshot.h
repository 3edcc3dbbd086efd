#pragma once
// What the presenter keeps of one window between two pulls: a copy of the core's view, taken under
// the core's lock, so widgets are updated after the lock is released.
// Thread safety: a plain value; made inside PullWindowChanges' visitor, used on the main thread.
#include "platform/window/PresenterHook.h"

#include <string>

struct ProgressSnapshot {
    LONG_PTR low = 0;
    LONG_PTR high = 100;
    LONG_PTR position = 0;
    bool marquee = false;
};

struct WindowSnapshot {
    HWND hwnd = nullptr;
    uint32_t changes = 0;
    std::u16string className;
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};
    RECT clientRect{};
    HWND parent = nullptr;
    LONG_PTR id = 0;
    DWORD threadId = 0;
    ProgressSnapshot progress;  // meaningful for progress bars only

    static WindowSnapshot From(const WindowChangeView& view);
    bool Destroyed() const { return (changes & WindowChangeDestroyed) != 0; }
    bool Visible() const;
    bool Enabled() const;
};

// A LONG_PTR slot of a window's extra bytes; 0 when the window has fewer bytes.
LONG_PTR ExtraSlot(const WindowChangeView& view, int offset);
