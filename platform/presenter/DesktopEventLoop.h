#pragma once
// One loop on the main thread: while the presenter is attached, the thread's wait for the core's
// messages runs Qt's event dispatcher, so the framework's message pump also serves the desktop.
// A wake-up from the core (a message for the thread) only wakes the dispatcher, which is
// thread-safe; a wake that came before the wait ends the next wait at once, as the core expects.
// Thread safety: Install and Remove on the thread whose waits it serves (after QApplication is
// made); the wake function from any thread.
#include "platform/window/WinTypes.h"

#include <functional>

class QAbstractEventDispatcher;

class DesktopEventLoop {
public:
    // beforeWait runs on the thread before and after each wait (the presenter arms its frame there).
    explicit DesktopEventLoop(std::function<void()> beforeWait);
    ~DesktopEventLoop();
    DesktopEventLoop(const DesktopEventLoop&) = delete;
    DesktopEventLoop& operator=(const DesktopEventLoop&) = delete;

    void Install();
    void Remove();
    // Wakes the dispatcher from any thread; safe with the core's lock held.
    void Wake();

private:
    static void WaitHook(void* context, DWORD milliseconds);
    static void WakeHook(void* context);
    void Wait(DWORD milliseconds);

    std::function<void()> beforeWait_;
    QAbstractEventDispatcher* dispatcher_ = nullptr;
    bool installed_ = false;
};
