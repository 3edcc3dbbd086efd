// Helpers for the thread and timer-thread tests: an owner object with its event guard, bounded waits
// and a reaper that fails a test whose step would otherwise hang.
#pragma once

#include "runtime/CQrnEventObjectPointer.h"
#include "runtime/CQrnObject.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

namespace work_test {

struct Owner : CQrnObject {
    Owner() : guard(new CQrnEventObjectPointer(this)) {}
    ~Owner() override { guard->BeginOwnerTeardown(); }
    CQrnEventObjectPointer* guard;
};

// Polls until done() holds; false after the time-out.
inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Runs step on a helper thread; a step that does not finish in time fails the test and is left
// behind (the process ends with the failed test run).
inline bool FinishesWithin(std::function<void()> step, std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([step = std::move(step), done] {
        step();
        done->set_value();
    }).detach();
    return finished.wait_for(timeout) == std::future_status::ready;
}

using Clock = std::chrono::steady_clock;

inline double MillisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace work_test
