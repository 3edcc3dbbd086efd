// The presenter's side: coalesced change marks pulled under the lock, destroyed windows reported,
// and a thread wait hook that replaces the core's own wait. Runs under ThreadSanitizer.
#include "WindowTestSupport.h"

#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <thread>

using namespace window_test;

namespace {

std::atomic<int> g_wakes{0};
void CountWake(void*) { ++g_wakes; }

class PresenterHook : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_wakes = 0;
        SetWindowChangeWake(CountWake, nullptr);
    }
    void TearDown() override { SetWindowChangeWake(nullptr, nullptr); }

    std::map<HWND, uint32_t> Pull()
    {
        std::map<HWND, uint32_t> seen;
        PullWindowChanges([&](const WindowChangeView& v) {
            seen[v.hwnd] |= v.changes;
            if (!(v.changes & WindowChangeDestroyed))
                texts[v.hwnd] = *v.text;
        });
        return seen;
    }
    std::map<HWND, std::u16string> texts;
    TestClass cls{0, sizeof(LONG_PTR)};
};

TEST_F(PresenterHook, ManyChangesCostOneWakeAndOneRecord)
{
    HWND hwnd = cls.Create(u"Label", WS_POPUP);
    EXPECT_EQ(g_wakes.load(), 1);
    // A worker thread changes the text a thousand times between two frames.
    std::thread worker([hwnd] {
        for (int i = 0; i < 1000; ++i) {
            std::u16string text = u"n" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
            SetWindowTextW(hwnd, text.c_str());
        }
    });
    // The owner answers the worker's sends.
    std::atomic<bool> done{false};
    std::thread joiner([&] {
        worker.join();
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 20000));
    joiner.join();
    EXPECT_EQ(g_wakes.load(), 1);
    auto seen = Pull();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[hwnd], uint32_t(WindowChangeCreated | WindowChangeText));
    EXPECT_EQ(texts[hwnd], u"n9");

    // After a pull the wake is armed again; class state and invalidation are marked too.
    SetWindowLongPtrW(hwnd, 0, 55);
    ShowWindow(hwnd, SW_SHOWNA);
    EXPECT_EQ(g_wakes.load(), 2);
    seen = Pull();
    EXPECT_EQ(seen[hwnd] & (WindowChangeClassState | WindowChangeStyle | WindowChangeInvalidated),
              uint32_t(WindowChangeClassState | WindowChangeStyle | WindowChangeInvalidated));
    ValidateRect(hwnd, nullptr);

    DestroyWindow(hwnd);
    seen = Pull();
    EXPECT_EQ(seen[hwnd], uint32_t(WindowChangeDestroyed));
    EXPECT_EQ(PullWindowChanges([](const WindowChangeView&) {}), 0u);
}

TEST_F(PresenterHook, NothingIsRecordedWithoutAPresenter)
{
    SetWindowChangeWake(nullptr, nullptr);
    HWND hwnd = cls.Create(u"Headless", WS_POPUP);
    SetWindowTextW(hwnd, u"x");
    DestroyWindow(hwnd);
    EXPECT_EQ(g_wakes.load(), 0);
    EXPECT_EQ(PullWindowChanges([](const WindowChangeView&) {}), 0u);
}

// A latch standing in for the desktop's event loop.
struct Latch {
    std::mutex mutex;
    std::condition_variable cv;
    bool woken = false;
    std::atomic<int> waits{0};
};

void LatchWait(void* context, DWORD ms)
{
    auto* latch = static_cast<Latch*>(context);
    ++latch->waits;
    std::unique_lock lock(latch->mutex);
    auto limit = ms == INFINITE_WAIT ? std::chrono::milliseconds(10000) : std::chrono::milliseconds(ms);
    latch->cv.wait_for(lock, limit, [&] { return latch->woken; });
    latch->woken = false;
}

void LatchWake(void* context)
{
    auto* latch = static_cast<Latch*>(context);
    std::lock_guard lock(latch->mutex);
    latch->woken = true;
    latch->cv.notify_all();
}

TEST_F(PresenterHook, ThreadWaitHookServesGetMessage)
{
    Latch latch;
    SetThreadWaitHook(ThreadWaitHook{LatchWait, LatchWake, &latch});
    DWORD me = GetCurrentThreadId();
    std::thread poster([me] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostThreadMessageW(me, WM_USER + 3, 0, 0);
    });
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, WM_USER + 3);
    EXPECT_GE(latch.waits.load(), 1);
    poster.join();
    SetThreadWaitHook(ThreadWaitHook{});
}

}  // namespace
