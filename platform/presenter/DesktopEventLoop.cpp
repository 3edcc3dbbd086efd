#include "platform/presenter/DesktopEventLoop.h"

#include "platform/window/PresenterHook.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>

DesktopEventLoop::DesktopEventLoop(std::function<void()> beforeWait) : beforeWait_(std::move(beforeWait)) {}

DesktopEventLoop::~DesktopEventLoop() { Remove(); }

void DesktopEventLoop::Install()
{
    dispatcher_ = QAbstractEventDispatcher::instance(QThread::currentThread());
    if (!dispatcher_)
        return;
    SetThreadWaitHook(ThreadWaitHook{&WaitHook, &WakeHook, this});
    installed_ = true;
}

void DesktopEventLoop::Remove()
{
    if (!installed_)
        return;
    SetThreadWaitHook(ThreadWaitHook{});
    installed_ = false;
}

void DesktopEventLoop::Wake()
{
    woken_.store(true);
    // Only a waiter blocked in the dispatcher needs its wake-up written; a spinning one sees the flag.
    if (blocking_.load() && dispatcher_)
        dispatcher_->wakeUp();
}

void DesktopEventLoop::WaitHook(void* context, DWORD milliseconds)
{
    static_cast<DesktopEventLoop*>(context)->Wait(milliseconds);
}

void DesktopEventLoop::WakeHook(void* context) { static_cast<DesktopEventLoop*>(context)->Wake(); }

void DesktopEventLoop::Wait(DWORD milliseconds)
{
    if (beforeWait_)
        beforeWait_();
    if (milliseconds == 0 || SpinForWake()) {
        ServeDesktop(false);
    } else {
        // Blocking is announced before the last look at the flag, and a waker sets the flag before
        // it looks at blocking: one of the two always sees the other, so no wake-up is lost.
        blocking_.store(true);
        if (woken_.exchange(false)) {
            blocking_.store(false);
            ServeDesktop(false);
        } else {
            ServeDesktop(true, milliseconds);
            blocking_.store(false);
            woken_.store(false);
        }
    }
    if (beforeWait_)
        beforeWait_();
}

// A worker that sends the main thread one message after another (a status text and a progress
// step per file) sends the next one within microseconds of the answer. Waking up through the
// dispatcher's poll costs several times that, so the wait first watches the flag for a moment.
bool DesktopEventLoop::SpinForWake()
{
    const auto until = std::chrono::steady_clock::now() + kSpin;
    do {
        if (woken_.exchange(false))
            return true;
    } while (std::chrono::steady_clock::now() < until);
    return false;
}

// Runs the desktop's events: blocking until an event (or the time), or without waiting, at most
// once a millisecond while the core's messages keep coming, so a stream of them never starves
// the desktop and costs little.
void DesktopEventLoop::ServeDesktop(bool block, DWORD milliseconds)
{
    const auto now = std::chrono::steady_clock::now();
    if (!block) {
        if (now - lastServed_ < kServeInterval)
            return;
        lastServed_ = now;
        dispatcher_->processEvents(QEventLoop::AllEvents);
        return;
    }
    lastServed_ = now;
    // The timer only ends the wait; its time-out needs no handler. Precise, because the core's
    // timers are due at this time.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    if (milliseconds != INFINITE_WAIT)
        deadline.start(static_cast<int>(std::min<DWORD>(milliseconds, 0x7FFFFFFF)));
    dispatcher_->processEvents(QEventLoop::WaitForMoreEvents);
}
