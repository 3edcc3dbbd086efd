#include "work/TimerThread.h"

#include "WorkTestSupport.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "runtime/CQrnStream.h"
#include "work/MessagePump.h"

#include <atomic>
#include <thread>
#include <mutex>
#include <set>
#include <vector>

using namespace work_test;
using rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1;

namespace {

// Records every tick (thread, start and end time) and runs the test's own step inside it.
struct TickOwner : Owner {
    std::function<void(rg_ShiZhongLei_XianCheng1&)> onTick;
    std::mutex mutex;
    std::vector<DWORD> threads;
    std::vector<Clock::time_point> starts;
    std::vector<Clock::time_point> ends;
    std::atomic<int> ticks{0};
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};

    void Bind(rg_ShiZhongLei_XianCheng1& clock) { clock.ClockTick().Bind(&Tick, guard, 0); }

    static int32_t Tick(CQrnObject* owner, CQrnObject* sender, uint32_t)
    {
        auto& self = *static_cast<TickOwner*>(owner);
        if (self.inside.fetch_add(1) != 0)
            ++self.overlaps;
        {
            std::lock_guard lock(self.mutex);
            self.threads.push_back(GetCurrentThreadId());
            self.starts.push_back(Clock::now());
        }
        if (self.onTick)
            self.onTick(*static_cast<rg_ShiZhongLei_XianCheng1*>(sender));
        {
            std::lock_guard lock(self.mutex);
            self.ends.push_back(Clock::now());
        }
        --self.inside;
        ++self.ticks;
        return 0;
    }
    std::set<DWORD> Threads()
    {
        std::lock_guard lock(mutex);
        return {threads.begin(), threads.end()};
    }
};

bool LoopEnds(const rg_ShiZhongLei_XianCheng1& clock)
{
    return WaitFor([&] { return !clock.IsLoopAlive(); });
}

} // namespace

TEST(TimerThread, HandlerThatStopsItsClockGetsExactlyOneLateTickOnTheWorker)
{
    TickOwner owner;
    owner.onTick = [](rg_ShiZhongLei_XianCheng1& clock) { clock.StopClock(); };
    rg_ShiZhongLei_XianCheng1 clock;
    owner.Bind(clock);
    const auto started = Clock::now();
    clock.StartClock(10);
    ASSERT_TRUE(WaitFor([&] { return owner.ticks == 1; }));
    ASSERT_TRUE(LoopEnds(clock));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(owner.ticks.load(), 1);
    EXPECT_GT(MillisecondsBetween(started, owner.starts[0]), 10.0);
    EXPECT_NE(owner.threads[0], GetCurrentThreadId());
    EXPECT_EQ(owner.threads[0], clock.Worker().GetThreadId());
    EXPECT_EQ(clock.GetRunning(), 0);
    EXPECT_EQ(clock.GetStopRequested(), 1);
    EXPECT_TRUE(clock.Worker().LastThread()->WaitForEnd(std::chrono::seconds(10)));
    EXPECT_EQ(clock.Worker().LastThread()->ExitCode(), 0);
}

TEST(TimerThread, SecondStartKeepsTheOneWorkerAndTakesTheNewInterval)
{
    TickOwner owner;
    rg_ShiZhongLei_XianCheng1 clock;
    owner.Bind(clock);
    clock.StartClock(1000);
    const uint64_t worker = clock.Worker().GetThreadHandle();
    clock.StartClock(2);
    EXPECT_EQ(clock.GetInterval(), 2);
    EXPECT_EQ(clock.Worker().GetThreadHandle(), worker);
    ASSERT_TRUE(WaitFor([&] { return owner.ticks >= 3; }));
    clock.StopClock();
    ASSERT_TRUE(LoopEnds(clock));
    EXPECT_EQ(owner.Threads().size(), 1u);
}

TEST(TimerThread, LongTicksFollowEachOtherAtOnceAndNeverOverlap)
{
    TickOwner owner;
    owner.onTick = [](rg_ShiZhongLei_XianCheng1&) { std::this_thread::sleep_for(std::chrono::milliseconds(50)); };
    rg_ShiZhongLei_XianCheng1 clock;
    owner.Bind(clock);
    clock.StartClock(5);
    ASSERT_TRUE(WaitFor([&] { return owner.ticks >= 4; }));
    clock.StopClock();
    ASSERT_TRUE(LoopEnds(clock));
    EXPECT_EQ(owner.overlaps.load(), 0);
    std::lock_guard lock(owner.mutex);
    for (size_t i = 1; i < owner.ends.size(); ++i) {
        // Back to back: the next tick begins as soon as the previous one has returned.
        EXPECT_LT(MillisecondsBetween(owner.ends[i - 1], owner.starts[i]), 5.0) << "tick " << i;
    }
}

TEST(TimerThread, StopDuringATickLetsItFinishAndNoOtherTickStarts)
{
    TickOwner owner;
    std::atomic<bool> inTick{false};
    std::atomic<bool> release{false};
    owner.onTick = [&](rg_ShiZhongLei_XianCheng1&) {
        inTick = true;
        WaitFor([&] { return release.load(); });
    };
    rg_ShiZhongLei_XianCheng1 clock;
    owner.Bind(clock);
    clock.StartClock(1);
    ASSERT_TRUE(WaitFor([&] { return inTick.load(); }));
    clock.StopClock();
    release = true;
    ASSERT_TRUE(LoopEnds(clock));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(owner.ticks.load(), 1);
}

TEST(TimerThread, UnboundOrOrphanedTicksCallNothingButTheLoopStillStops)
{
    rg_ShiZhongLei_XianCheng1 unbound;
    unbound.StartClock(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(unbound.IsLoopAlive());
    unbound.StopClock();
    EXPECT_TRUE(LoopEnds(unbound));

    static std::atomic<int> calls{0};
    rg_ShiZhongLei_XianCheng1 clock;
    {
        Owner owner;
        clock.ClockTick().Bind([](CQrnObject*, CQrnObject*, uint32_t) -> int32_t { return ++calls; }, owner.guard, 0);
        clock.StartClock(1);
        ASSERT_TRUE(WaitFor([&] { return calls >= 1; }));
    }
    // The owner is gone: the loop goes on ticking into nothing.
    const int after = calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(calls.load(), after);
    EXPECT_TRUE(clock.IsLoopAlive());
    clock.StopClock();
    EXPECT_TRUE(LoopEnds(clock));
}

TEST(TimerThread, StopThenStartAtOnceRevivesTheLoopInsteadOfASecondWorker)
{
    TickOwner owner;
    std::atomic<bool> hold{false};
    owner.onTick = [&](rg_ShiZhongLei_XianCheng1&) {
        while (hold.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    rg_ShiZhongLei_XianCheng1 clock;
    owner.Bind(clock);
    hold = true;
    clock.StartClock(1);
    ASSERT_TRUE(WaitFor([&] { return owner.inside.load() == 1; }));
    const uint64_t worker = clock.Worker().GetThreadHandle();
    clock.StopClock();
    clock.StartClock(1);  // the loop is still inside its tick and has not seen the stop
    hold = false;
    const int before = owner.ticks;
    ASSERT_TRUE(WaitFor([&] { return owner.ticks >= before + 3; }));
    EXPECT_EQ(clock.Worker().GetThreadHandle(), worker);
    EXPECT_EQ(owner.Threads().size(), 1u);

    // Many quick stop/start pairs from the owner's thread never leave the clock dead or doubled.
    for (int i = 0; i < 200; ++i) {
        clock.StopClock();
        clock.StartClock(1);
    }
    const int later = owner.ticks;
    ASSERT_TRUE(WaitFor([&] { return owner.ticks >= later + 2; }));
    EXPECT_EQ(owner.overlaps.load(), 0);
    clock.StopClock();
    ASSERT_TRUE(LoopEnds(clock));
}

TEST(TimerThread, DestroyingATickingClockStopsAndJoinsItsWorker)
{
    TickOwner owner;
    auto* clock = new rg_ShiZhongLei_XianCheng1;
    owner.Bind(*clock);
    clock->StartClock(1);
    ASSERT_TRUE(WaitFor([&] { return owner.ticks >= 2; }));
    std::shared_ptr<PlatformThread> worker = clock->Worker().LastThread();
    ASSERT_TRUE(FinishesWithin([clock] { delete clock; }));
    EXPECT_TRUE(worker->HasEnded());
    const int ticks = owner.ticks;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(owner.ticks.load(), ticks);
}

TEST(TimerThread, DestroyingWhileTheTickSendsToTheDestroyingThreadDoesNotDeadlock)
{
    static const char16_t kClass[] = u"WorkClockSendTarget";
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = DefWindowProcW;
    cls.lpszClassName = kClass;
    ASSERT_NE(RegisterClassExW(&cls), 0);
    const HWND target = CreateWindowExW(0, kClass, u"before", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(target, nullptr);

    TickOwner owner;
    std::atomic<bool> sending{false};
    owner.onTick = [&](rg_ShiZhongLei_XianCheng1&) {
        sending = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        SetWindowTextW(target, u"from the worker");  // waits for this test's thread
    };
    auto* clock = new rg_ShiZhongLei_XianCheng1;
    owner.Bind(*clock);
    clock->StartClock(1);
    ASSERT_TRUE(WaitFor([&] { return sending.load(); }));
    delete clock;  // on the window's own thread, which must keep answering the send
    char16_t text[32] = {};
    InternalGetWindowText(target, text, 32);
    EXPECT_EQ(std::u16string(text), u"from the worker");
    DestroyWindow(target);
    UnregisterClassW(kClass, nullptr);
}

TEST(TimerThread, ATickMayDestroyItsOwnClock)
{
    TickOwner owner;
    rg_ShiZhongLei_XianCheng1* clock = new rg_ShiZhongLei_XianCheng1;
    // The tick waits until StartClock has returned: a clock destroyed while its own StartClock
    // still runs is a use after free of the caller's making.
    std::atomic<bool> started{false};
    owner.onTick = [&](rg_ShiZhongLei_XianCheng1& self) {
        while (!started.load())
            std::this_thread::yield();
        delete &self;
    };
    owner.Bind(*clock);
    clock->StartClock(1);
    std::shared_ptr<PlatformThread> worker = clock->Worker().LastThread();
    started.store(true);
    ASSERT_TRUE(worker->WaitForEnd(std::chrono::seconds(10)));
    EXPECT_EQ(owner.ticks.load(), 1);
}

TEST(TimerThread, WorkerRunsItsOwnThreadTimersBetweenTicks)
{
    static std::atomic<int> timerCalls{0};
    static std::atomic<DWORD> timerThread{0};
    TickOwner owner;
    UINT_PTR timer = 0;
    owner.onTick = [&](rg_ShiZhongLei_XianCheng1&) {
        if (timer == 0) {
            timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
                timerThread = GetCurrentThreadId();
                ++timerCalls;
            });
        }
    };
    rg_ShiZhongLei_XianCheng1 clock;
    owner.Bind(clock);
    clock.StartClock(1000);  // one tick after a second; the timer must fire in between, on the worker
    ASSERT_TRUE(WaitFor([&] { return owner.ticks >= 1; }));
    ASSERT_TRUE(WaitFor([&] { return timerCalls >= 3; }));
    EXPECT_EQ(timerThread.load(), clock.Worker().GetThreadId());
    clock.StopClock();
    ASSERT_TRUE(LoopEnds(clock));
}

TEST(TimerThread, StartAndStopRunTheInstalledPumpServiceOnTheCallingThread)
{
    static std::atomic<int> pumps{0};
    static std::atomic<DWORD> pumpThread{0};
    SetMessagePumpService([]() -> int32_t {
        ++pumps;
        pumpThread = GetCurrentThreadId();
        return 0;
    });
    rg_ShiZhongLei_XianCheng1 clock;
    clock.StartClock(1000);
    clock.StartClock(1000);  // already running: no pump, no second worker
    EXPECT_EQ(pumps.load(), 1);
    clock.StopClock();
    EXPECT_EQ(pumps.load(), 2);
    EXPECT_EQ(pumpThread.load(), GetCurrentThreadId());
    SetMessagePumpService(nullptr);
    EXPECT_TRUE(LoopEnds(clock));
}

TEST(TimerThread, ObjectProtocolCoversTheWorkerAndTheThreeClockFields)
{
    rg_ShiZhongLei_XianCheng1 clock;
    clock.StartClock(7);
    clock.StopClock();
    ASSERT_TRUE(LoopEnds(clock));

    CQrnMemoryStream stream;
    clock.SaveToStream(stream);
    ASSERT_EQ(stream.Bytes().size(), 32u);
    EXPECT_EQ(stream.Bytes()[20], 7);  // interval after the worker's 20 bytes
    EXPECT_EQ(stream.Bytes()[24], 0);  // running
    EXPECT_EQ(stream.Bytes()[28], 1);  // stopRequested

    rg_ShiZhongLei_XianCheng1 loaded;
    loaded.LoadFromStream(stream);
    EXPECT_TRUE(loaded.IsEqual(clock));
    EXPECT_EQ(loaded.Worker().GetThreadHandle(), clock.Worker().GetThreadHandle());

    std::unique_ptr<CQrnObject> clone(clock.Clone());
    EXPECT_TRUE(clone->IsEqual(clock));
    EXPECT_FALSE(static_cast<rg_ShiZhongLei_XianCheng1&>(*clone).ClockTick().IsBound());
    clone->Reset();
    EXPECT_FALSE(clone->IsEqual(clock));
    EXPECT_EQ(static_cast<rg_ShiZhongLei_XianCheng1&>(*clone).GetInterval(), 0);
}
