#include "work/PlatformThread.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace {

std::atomic<uint64_t> g_nextHandle{1};

} // namespace

// Lives in the new thread's thread-local storage from its first moment, so it is destroyed after
// every thread-local object made later (the window-core queue among them): its destructor is the
// thread's true end.
class PlatformThreadEnd {
public:
    void Watch(std::shared_ptr<PlatformThread> thread) { thread_ = std::move(thread); }
    ~PlatformThreadEnd()
    {
        if (thread_)
            thread_->SetEnded();
    }
    void SetExitCode(int32_t code)
    {
        std::lock_guard lock(thread_->mutex_);
        thread_->exitCode_ = code;
    }

private:
    std::shared_ptr<PlatformThread> thread_;
};

namespace {
thread_local PlatformThreadEnd t_threadEnd;
} // namespace

PlatformThread::PlatformThread(Token) noexcept : handle_(g_nextHandle.fetch_add(1)) {}

std::shared_ptr<PlatformThread> PlatformThread::Start(std::function<int32_t()> routine)
{
    auto thread = std::make_shared<PlatformThread>(Token{});
    try {
        std::thread([thread, routine = std::move(routine)]() mutable {
            t_threadEnd.Watch(thread);
            thread->SetStarted(GetCurrentThreadId());
            t_threadEnd.SetExitCode(routine());
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    std::unique_lock lock(thread->mutex_);
    thread->changed_.wait(lock, [&] { return thread->id_ != 0; });
    return thread;
}

void PlatformThread::SetStarted(DWORD id)
{
    std::lock_guard lock(mutex_);
    id_ = id;
    changed_.notify_all();
}

void PlatformThread::SetEnded()
{
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
}

bool PlatformThread::IsCallingThread() const noexcept { return id_ != 0 && id_ == GetCurrentThreadId(); }

bool PlatformThread::HasEnded() const
{
    std::lock_guard lock(mutex_);
    return ended_;
}

void PlatformThread::WaitForEnd(WhileWaiting whileWaiting) const
{
    WaitUntil(mutex_, changed_, [this] { return ended_; }, whileWaiting);
}

bool PlatformThread::WaitForEnd(std::chrono::milliseconds timeout, WhileWaiting whileWaiting) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool timedOut = false;
    WaitUntil(mutex_, changed_, [&] {
        timedOut = std::chrono::steady_clock::now() >= deadline;
        return ended_ || timedOut;
    }, whileWaiting);
    std::lock_guard lock(mutex_);
    return ended_;
}

int32_t PlatformThread::ExitCode() const
{
    std::lock_guard lock(mutex_);
    return ended_ ? exitCode_ : 0;
}

void WaitUntil(std::mutex& mutex, std::condition_variable& changed, const std::function<bool()>& done,
               WhileWaiting whileWaiting)
{
    if (whileWaiting == WhileWaiting::Block) {
        std::unique_lock lock(mutex);
        while (!done())
            changed.wait_for(lock, std::chrono::milliseconds(1));
        return;
    }
    for (;;) {
        // Runs what is sent to this thread's windows without taking any posted message.
        WaitMessageTimeout(0);
        std::unique_lock lock(mutex);
        if (done())
            return;
        changed.wait_for(lock, std::chrono::milliseconds(1));
        if (done())
            return;
    }
}
