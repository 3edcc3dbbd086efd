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
    if (dispatcher_)
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
    if (milliseconds == 0) {
        dispatcher_->processEvents(QEventLoop::AllEvents);
    } else {
        // The timer only ends the wait; its time-out needs no handler. Precise, because the
        // core's timers are due at this time.
        QTimer deadline;
        deadline.setSingleShot(true);
        deadline.setTimerType(Qt::PreciseTimer);
        if (milliseconds != INFINITE_WAIT)
            deadline.start(static_cast<int>(std::min<DWORD>(milliseconds, 0x7FFFFFFF)));
        dispatcher_->processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (beforeWait_)
        beforeWait_();
}
