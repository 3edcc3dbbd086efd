#pragma once
// What the presenter keeps of one window between two pulls: a copy of the core's view, taken under
// the core's lock, so widgets are updated after the lock is released.
// Thread safety: a plain value; made inside PullWindowChanges' visitor, used on the main thread.
#include "platform/gdi/GdiTypes.h"
#include "platform/window/PresenterHook.h"

#include <string>

struct ProgressSnapshot {
    LONG_PTR low = 0;
    LONG_PTR high = 100;
    LONG_PTR position = 0;
    bool marquee = false;
};

// The control library's self-drawn label, which publishes its font and look (PAINTED_EXTRA_*).
inline constexpr const char16_t* kLabelClassName = u"QrnLabel";

// The font the core gave a window (WM_SETFONT, or a class's own copy), as its description says.
struct FontSnapshot {
    bool set = false;  // false: none given, the desktop's default font
    std::u16string face;  // empty: the desktop's default face
    LONG height = 0;      // < 0 character height, > 0 cell height, in pixels; 0 default
    LONG weight = 0;      // 0 default, 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontSnapshot&) const = default;
};

// How a self-drawn class that publishes it (PAINTED_EXTRA_*) draws its text.
struct TextLookSnapshot {
    bool known = false;
    UINT format = 0;  // DrawTextW format
    COLORREF text = CLR_INVALID;
    COLORREF back = CLR_INVALID;
    bool transparent = false;
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
    FontSnapshot font;
    TextLookSnapshot look;

    static WindowSnapshot From(const WindowChangeView& view);
    bool Destroyed() const { return (changes & WindowChangeDestroyed) != 0; }
    bool Visible() const;
    bool Enabled() const;
};

// A LONG_PTR slot of a window's extra bytes; 0 when the window has fewer bytes.
LONG_PTR ExtraSlot(const WindowChangeView& view, int offset);
