#pragma once
// The meeting point of the window core and a desktop presenter. The core marks what changed on a
// window and calls the registered wake-up once until the presenter pulls; the presenter then reads
// the marked windows in one go under the core's lock. Input from the desktop enters as messages.
// Thread safety: every function may be called from any thread. The wake-up and the thread wait
// hook's wake function run with the core's lock held: they must only signal (never call the core).
// PullWindowChanges calls its visitor with the lock held: the visitor must not call the core either.
#include "platform/window/WinTypes.h"

#include <cstdint>
#include <functional>
#include <string>

// Change bits, accumulated per window between two pulls.
enum WindowChange : uint32_t {
    WindowChangeCreated = 0x0001,
    WindowChangeDestroyed = 0x0002,
    WindowChangeText = 0x0004,
    WindowChangeStyle = 0x0008,  // style or extended style, including visible and enabled
    WindowChangeRect = 0x0010,
    WindowChangeInvalidated = 0x0020,
    WindowChangeClassState = 0x0040,  // a class's own state, such as a progress position
    WindowChangeParent = 0x0080,
    WindowChangeFont = 0x0100,
    WindowChangeFocus = 0x0200,
};

using WindowChangeWake = void (*)(void* context);

// Starts (or, with a null wake, stops) recording changes. While no presenter is attached nothing
// is recorded, so a headless run pays nothing for it.
void SetWindowChangeWake(WindowChangeWake wake, void* context);

// Marks a window's class-specific state (or font) as changed; control classes call it after they
// changed what the presenter shows. Unknown handles are ignored.
void MarkWindowChanged(HWND hwnd, uint32_t changes);

// What the presenter may read of one marked window, valid only inside the visitor.
struct WindowChangeView {
    HWND hwnd;
    uint32_t changes;
    // The rest is meaningless when changes has WindowChangeDestroyed.
    const std::u16string* className;
    const std::u16string* text;
    DWORD style;
    DWORD exStyle;
    RECT rect;        // in the parent's client coordinates
    RECT clientRect;  // in the same coordinates
    HWND parent;      // null for top-level windows
    LONG_PTR id;
    DWORD threadId;
    BOOL hasUpdate;
    RECT updateRect;  // client coordinates
    const unsigned char* extraBytes;  // the window's extra bytes (cbWndExtra), read under the lock
    size_t extraSize;
};

// Visits every window marked since the last pull (destroyed ones last), clears the marks and
// re-arms the wake-up. Returns the number of windows visited.
size_t PullWindowChanges(const std::function<void(const WindowChangeView&)>& visitor);

// A thread's own way of waiting for messages, for the thread that runs the desktop's event loop:
// wait(context, milliseconds or INFINITE_WAIT) blocks until wake(context) has been called (a wake
// that came before the wait must end it at once) or the time is up.
inline constexpr DWORD INFINITE_WAIT = 0xFFFFFFFF;
struct ThreadWaitHook {
    void (*wait)(void* context, DWORD milliseconds) = nullptr;
    void (*wake)(void* context) = nullptr;
    void* context = nullptr;
};
// Installs the hook for the calling thread (a hook with null functions removes it).
void SetThreadWaitHook(const ThreadWaitHook& hook);

// Queues desktop input (keys, mouse) for the window's thread, retrieved after posted messages and
// WM_QUIT. FALSE for an unknown window.
BOOL PostInputMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The key state that GetKeyState answers and TranslateMessage uses; the presenter keeps it.
void SetKeyDown(UINT virtualKey, bool down);
void SetKeyToggled(UINT virtualKey, bool toggled);

// The desktop's size (the screen), 1920 x 1080 until the presenter says otherwise.
void SetDesktopSize(int width, int height);
