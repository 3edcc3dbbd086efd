// rg_ShiZhongLei_XianCheng1: a clock that ticks on a worker thread of its own. Once started, its loop
// raises ClockTick (handler(owner, this clock, user value)) each time more than `interval`
// milliseconds have passed since the previous tick began, until it is stopped. Between ticks the
// worker sleeps in steps of one millisecond and dispatches its own thread's messages, so windows,
// message boxes and thread timers a handler made on the worker keep working.
// Choices where the loop could otherwise hang or leak a thread:
// - StartClock while a stopped loop has not yet ended lets that loop go on (it sees the cleared stop
//   request) instead of starting a second worker: a clock never has two workers.
// - Destroying a clock that still ticks stops it first, waits for the tick in progress (running what
//   other threads send to the destroying thread meanwhile) and then joins the worker; nothing is ended
//   by force. Destroying it from its own tick handler is allowed: the loop then ends after the handler
//   without touching the clock again.
// - A refused thread leaves the clock idle (running 0), so a later StartClock tries again.
// Thread safety: StartClock, StopClock and the flag accessors from any thread (the owner's, or the
// worker inside a tick); ClockTick() may be rebound from any thread; the object protocol (compare,
// copy, reset, streams) on the owner's thread while the clock is idle.
#pragma once

#include "runtime/CQrnObject.h"
#include "runtime/EventBinding.h"
#include "work/Thread.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace rg_quarn_Tolvar {

class rg_ShiZhongLei_XianCheng1 : public CQrnObject {
    QRN_DECLARE_CLASS(rg_ShiZhongLei_XianCheng1)
public:
    using TickBinding = EventBinding<>;

    rg_ShiZhongLei_XianCheng1();
    // Copies the worker's fields and the three clock fields; bindings and the guard are the copy's own.
    rg_ShiZhongLei_XianCheng1(const rg_ShiZhongLei_XianCheng1& other);
    rg_ShiZhongLei_XianCheng1& operator=(const rg_ShiZhongLei_XianCheng1& other);
    ~rg_ShiZhongLei_XianCheng1() override;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    // The worker's three fields, then interval, running and stopRequested (4 bytes each).
    void SaveToStream(CQrnStream& stream) const override;
    void LoadFromStream(CQrnStream& stream) override;

    // Sets the interval and clears the stop request; unless the clock already runs, marks it running,
    // lets the calling thread's pending messages be processed (the application's pump service) and
    // starts the worker.
    void StartClock(int32_t milliseconds);
    // Requests the stop and clears running, then lets pending messages be processed; does not wait.
    void StopClock();

    TickBinding& ClockTick() noexcept { return tick_; }

    int32_t GetInterval() const noexcept { return state_->interval.load(); }
    int32_t GetRunning() const noexcept { return state_->running.load(); }
    int32_t GetStopRequested() const noexcept { return state_->stopRequested.load(); }
    const rg_XianChengLei_n& Worker() const noexcept { return worker_; }
    // True while a worker loop is alive (started and not yet ended).
    bool IsLoopAlive() const;

private:
    // Shared with the running loop, which keeps it alive even when a tick destroys the clock.
    struct State {
        std::atomic<int32_t> interval{0};
        std::atomic<int32_t> running{0};
        std::atomic<int32_t> stopRequested{0};
        std::mutex mutex;
        std::condition_variable changed;
        bool loopAlive = false;  // under mutex
        // The thread running the loop, set by the loop itself before its first tick: a tick may
        // destroy the clock before the worker's record of its thread is filled in.
        std::atomic<std::thread::id> loopThread{};
    };

    static int32_t RunLoop(CQrnObject* owner, CQrnObject* sender, uint32_t userValue, int64_t param);
    // Ends the loop when a stop is requested; decided under the mutex so that a StartClock that
    // clears the request at the same moment either keeps this loop or starts a new one, never neither.
    static bool LoopShouldEnd(State& state);
    static void WaitOneStep();
    void BindWorker();
    void CopyFields(const rg_ShiZhongLei_XianCheng1& other);

    rg_XianChengLei_n worker_;
    std::shared_ptr<State> state_;
    TickBinding tick_;
    CQrnEventObjectPointer* selfGuard_;
};

} // namespace rg_quarn_Tolvar
