#pragma once
// One loop on the main thread: while the presenter is attached, the thread's wait for the core's
// messages runs Qt's event dispatcher, so the framework's message pump also serves the desktop.
// A wake-up from the core (a message for the thread) sets a flag and wakes the dispatcher only when
// the waiter is blocked in it; a wake that came before the wait ends the next wait at once, as the
// core expects. While core messages keep coming, the desktop's events still run once a millisecond.
// Thread safety: Install and Remove on the thread whose waits it serves (after QApplication is
// made); the wake function from any thread.
#include "platform/window/WinTypes.h"

#include <atomic>
#include <chrono>
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
    bool SpinForWake();
    void ServeDesktop(bool block, DWORD milliseconds = 0);

    static constexpr std::chrono::microseconds kSpin{30};
    static constexpr std::chrono::microseconds kServeInterval{1000};

    std::function<void()> beforeWait_;
    QAbstractEventDispatcher* dispatcher_ = nullptr;
    bool installed_ = false;
    std::atomic<bool> woken_{false};     // a wake came since the last wait began
    std::atomic<bool> blocking_{false};  // the waiter is (about to be) blocked in the dispatcher
    std::chrono::steady_clock::time_point lastServed_{};
};
