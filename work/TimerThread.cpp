#include "work/TimerThread.h"

#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "work/MessagePump.h"
#include "work/StreamWords.h"

namespace rg_quarn_Tolvar {

QRN_IMPLEMENT_CLASS(rg_ShiZhongLei_XianCheng1, CQrnObject, "rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1")

rg_ShiZhongLei_XianCheng1::rg_ShiZhongLei_XianCheng1()
    : state_(std::make_shared<State>()), selfGuard_(new CQrnEventObjectPointer(this))
{
    BindWorker();
}

rg_ShiZhongLei_XianCheng1::rg_ShiZhongLei_XianCheng1(const rg_ShiZhongLei_XianCheng1& other)
    : CQrnObject(other), state_(std::make_shared<State>()), selfGuard_(new CQrnEventObjectPointer(this))
{
    BindWorker();
    CopyFields(other);
}

rg_ShiZhongLei_XianCheng1& rg_ShiZhongLei_XianCheng1::operator=(const rg_ShiZhongLei_XianCheng1& other)
{
    if (this != &other) {
        CopyHeader(other);
        CopyFields(other);
    }
    return *this;
}

rg_ShiZhongLei_XianCheng1::~rg_ShiZhongLei_XianCheng1()
{
    std::shared_ptr<PlatformThread> thread = worker_.LastThread();
    const bool onWorker = (thread && thread->IsCallingThread()) ||
                          state_->loopThread.load() == std::this_thread::get_id();
    state_->stopRequested.store(1);
    state_->running.store(0);
    if (!onWorker) {
        State& state = *state_;
        WaitUntil(state.mutex, state.changed, [&state] { return !state.loopAlive; }, WhileWaiting::RunSentMessages);
    }
    selfGuard_->BeginOwnerTeardown();
    if (thread && !onWorker)
        thread->WaitForEnd();
}

void rg_ShiZhongLei_XianCheng1::BindWorker() { worker_.ThreadRoutine().Bind(&RunLoop, selfGuard_, 0); }

void rg_ShiZhongLei_XianCheng1::CopyFields(const rg_ShiZhongLei_XianCheng1& other)
{
    worker_ = other.worker_;
    state_->interval.store(other.state_->interval.load());
    state_->running.store(other.state_->running.load());
    state_->stopRequested.store(other.state_->stopRequested.load());
}

bool rg_ShiZhongLei_XianCheng1::IsEqual(const CQrnObject& other) const
{
    if (!CQrnObject::IsEqual(other))
        return false;
    const auto& o = static_cast<const rg_ShiZhongLei_XianCheng1&>(other);
    return worker_.IsEqual(o.worker_) && GetInterval() == o.GetInterval() && GetRunning() == o.GetRunning() &&
           GetStopRequested() == o.GetStopRequested();
}

bool rg_ShiZhongLei_XianCheng1::CopyFrom(const CQrnObject& source)
{
    if (!BeginCopyFrom(source))
        return false;
    *this = static_cast<const rg_ShiZhongLei_XianCheng1&>(source);
    return true;
}

void rg_ShiZhongLei_XianCheng1::Reset()
{
    CQrnObject::Reset();
    worker_.Reset();
    state_->interval.store(0);
    state_->running.store(0);
    state_->stopRequested.store(0);
}

void rg_ShiZhongLei_XianCheng1::SaveToStream(CQrnStream& stream) const
{
    worker_.SaveToStream(stream);
    stream.WriteInt32(GetInterval());
    stream.WriteInt32(GetRunning());
    stream.WriteInt32(GetStopRequested());
}

void rg_ShiZhongLei_XianCheng1::LoadFromStream(CQrnStream& stream)
{
    worker_.LoadFromStream(stream);
    for (std::atomic<int32_t>* field : {&state_->interval, &state_->running, &state_->stopRequested}) {
        int32_t value = 0;
        if (!stream.ReadInt32(value))
            return;
        field->store(value);
    }
}

bool rg_ShiZhongLei_XianCheng1::IsLoopAlive() const
{
    std::lock_guard lock(state_->mutex);
    return state_->loopAlive;
}

void rg_ShiZhongLei_XianCheng1::StartClock(int32_t milliseconds)
{
    State& state = *state_;
    {
        // The flags change together under the mutex, so a StopClock on another thread at the same
        // moment leaves them consistent (never "running" with a loop that has been told to end).
        std::lock_guard lock(state.mutex);
        state.interval.store(milliseconds);
        state.stopRequested.store(0);
        if (state.running.exchange(1) != 0)
            return;
    }
    RunMessagePumpService();
    {
        std::lock_guard lock(state.mutex);
        if (state.loopAlive)
            return;  // a stopped loop that has not ended yet goes on, with the new interval
        state.loopAlive = true;
    }
    // The previous worker's loop is over; wait for the last moments of its thread, so that only
    // one worker ever exists.
    if (std::shared_ptr<PlatformThread> previous = worker_.LastThread(); previous && !previous->IsCallingThread())
        previous->WaitForEnd();
    worker_.StartThread(0);
    if (!worker_.LastThread()) {
        std::lock_guard lock(state.mutex);
        state.loopAlive = false;
        state.running.store(0);
        state.changed.notify_all();
    }
}

void rg_ShiZhongLei_XianCheng1::StopClock()
{
    {
        std::lock_guard lock(state_->mutex);
        state_->stopRequested.store(1);
        state_->running.store(0);
    }
    RunMessagePumpService();
}

bool rg_ShiZhongLei_XianCheng1::LoopShouldEnd(State& state)
{
    if (state.stopRequested.load() == 0)
        return false;
    std::lock_guard lock(state.mutex);
    if (state.stopRequested.load() == 0)
        return false;
    state.loopAlive = false;
    state.changed.notify_all();
    return true;
}

void rg_ShiZhongLei_XianCheng1::WaitOneStep()
{
    // One step ends when the core's millisecond clock has moved on; messages arriving meanwhile are
    // dispatched at once and the wait resumes.
    const ULONGLONG due = GetTickCount64() + 1;
    for (ULONGLONG now = GetTickCount64(); now < due; now = GetTickCount64()) {
        if (WaitMessageTimeout(static_cast<DWORD>(due - now)))
            DispatchWaitingMessages();
    }
}

int32_t rg_ShiZhongLei_XianCheng1::RunLoop(CQrnObject* owner, CQrnObject*, uint32_t, int64_t)
{
    auto* clock = static_cast<rg_ShiZhongLei_XianCheng1*>(owner);
    // The clock may be destroyed by one of its own ticks (or a message dispatched here); from then
    // on only the shared state is touched, and the stop request it set ends the loop.
    const std::shared_ptr<State> state = clock->state_;
    state->loopThread.store(std::this_thread::get_id());
    ULONGLONG last = GetTickCount64();
    if (LoopShouldEnd(*state))
        return 0;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (static_cast<int64_t>(now - last) <= static_cast<int64_t>(state->interval.load())) {
            WaitOneStep();
            if (LoopShouldEnd(*state))
                return 0;
            continue;
        }
        last = now;
        if (LoopShouldEnd(*state))
            return 0;
        clock->tick_.Raise(clock);
        if (LoopShouldEnd(*state))
            return 0;
    }
}

} // namespace rg_quarn_Tolvar
