// The thread primitive behind the thread object: starts a detached thread that runs a routine, and
// hands back a counted record of it (its window-core thread id, a handle value, its end and exit
// code). The thread reports its end only after its thread-local state, such as its window-core
// queue and the windows it created, has been torn down, so a wait for the end is a real join;
// nothing leaks whether anyone waits or not.
// Thread safety: every member may be called from any thread.
#pragma once

#include "platform/window/WinTypes.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

enum class WhileWaiting { Block, RunSentMessages };

class PlatformThread {
public:
    // Starts routine on a new thread with the default stack and returns once the thread has its id;
    // null when the system refuses a thread. The routine's result becomes the exit code.
    static std::shared_ptr<PlatformThread> Start(std::function<int32_t()> routine);

    DWORD Id() const noexcept { return id_; }
    // Unique within the process, never 0.
    uint64_t Handle() const noexcept { return handle_; }
    bool IsCallingThread() const noexcept;

    bool HasEnded() const;
    // RunSentMessages keeps running what other threads send to the waiting thread's windows, so a
    // thread that sends to the waiter while ending cannot deadlock with it.
    void WaitForEnd(WhileWaiting whileWaiting = WhileWaiting::RunSentMessages) const;
    // True when the thread ended within the time.
    bool WaitForEnd(std::chrono::milliseconds timeout, WhileWaiting whileWaiting = WhileWaiting::RunSentMessages) const;
    // The routine's result once the thread has ended, else 0.
    int32_t ExitCode() const;

    PlatformThread(const PlatformThread&) = delete;
    PlatformThread& operator=(const PlatformThread&) = delete;
    ~PlatformThread() = default;

private:
    struct Token {};
    friend class PlatformThreadEnd;

public:
    explicit PlatformThread(Token) noexcept;

private:
    void SetStarted(DWORD id);
    void SetEnded();

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    DWORD id_ = 0;
    uint64_t handle_;
    bool ended_ = false;
    int32_t exitCode_ = 0;
};

// Waits until done() holds, re-checked at least every millisecond and whenever changed is notified
// under mutex; with RunSentMessages the calling thread runs the messages sent to it meanwhile.
void WaitUntil(std::mutex& mutex, std::condition_variable& changed, const std::function<bool()>& done,
               WhileWaiting whileWaiting);
