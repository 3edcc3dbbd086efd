// Sends between threads: blocking, mutual sends, nested loops, time-outs, replies, thread exit,
// and the waits that wake early. Runs under ThreadSanitizer.
#include "WindowTestSupport.h"

#include "platform/window/Timers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

using namespace window_test;

namespace {

// A thread that owns one window of its own class and runs a message loop until WM_QUIT or its
// reaper time-out.
class WindowThread {
public:
    explicit WindowThread(WNDPROC proc, DWORD reaperMs = 10000)
    {
        std::promise<HWND> ready;
        auto created = ready.get_future();
        thread_ = std::thread([this, proc, reaperMs, &ready] {
            std::string name = "CrossThread" + std::to_string(reinterpret_cast<uintptr_t>(this));
            std::u16string className(name.begin(), name.end());
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = proc;
            wc.lpszClassName = className.c_str();
            RegisterClassExW(&wc);
            HWND hwnd = CreateWindowExW(0, className.c_str(), u"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
            threadId_ = GetCurrentThreadId();
            ready.set_value(hwnd);
            Loop(reaperMs);
            DestroyWindow(hwnd);
            UnregisterClassW(className.c_str(), nullptr);
        });
        hwnd_ = created.get();
    }
    ~WindowThread()
    {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Window() const { return hwnd_; }
    DWORD ThreadId() const { return threadId_; }

    static void Loop(DWORD reaperMs)
    {
        ULONGLONG deadline = GetTickCount64() + reaperMs;
        MSG msg;
        while (GetTickCount64() < deadline) {
            if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                WaitMessageTimeout(50);
                continue;
            }
            if (msg.message == WM_QUIT)
                return;
            DispatchMessageW(&msg);
        }
    }

private:
    std::thread thread_;
    HWND hwnd_ = nullptr;
    DWORD threadId_ = 0;
};

std::atomic<DWORD> g_handledOn{0};

LRESULT AnsweringProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER) {
        g_handledOn = GetCurrentThreadId();
        return static_cast<LRESULT>(wParam * 2);
    }
    if (message == WM_USER + 2)
        return InSendMessage();
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(CrossThread, SendBlocksUntilTheOwnerThreadAnswers)
{
    WindowThread owner(AnsweringProc);
    EXPECT_EQ(SendMessageW(owner.Window(), WM_USER, 21, 0), 42);
    EXPECT_EQ(g_handledOn.load(), owner.ThreadId());
    EXPECT_NE(g_handledOn.load(), GetCurrentThreadId());
    EXPECT_EQ(SendMessageW(owner.Window(), WM_USER + 2, 0, 0), TRUE);  // InSendMessage there
    EXPECT_EQ(GetWindowThreadProcessId(owner.Window(), nullptr), owner.ThreadId());
}

TEST(CrossThread, SenderWaitsWhileTheOwnerDoesNotPump)
{
    // The owner creates its window and only starts pumping when told.
    std::atomic<bool> pump{false};
    std::atomic<HWND> window{nullptr};
    std::thread owner([&] {
        TestClass cls;
        window = cls.Create(u"Late", WS_POPUP);
        ULONGLONG reaper = GetTickCount64() + 10000;
        while (!pump && GetTickCount64() < reaper)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        PumpUntil([] { return false; }, 300);
        DestroyWindow(window);
    });
    while (!window.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    SetHandler([](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_USER)
            return false;
        *r = 5;
        return true;
    });
    auto answer = std::async(std::launch::async, [&] { return SendMessageW(window, WM_USER, 0, 0); });
    EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    pump = true;
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(answer.get(), 5);
    owner.join();
}

TEST(CrossThread, MutualSendsDoNotDeadlock)
{
    WindowThread a(AnsweringProc);
    WindowThread b(AnsweringProc);
    // Each window asks the other before answering, lParam levels deep: a thread waiting for its
    // own send must run the send that comes back to it.
    static std::atomic<HWND> first{nullptr};
    static std::atomic<HWND> second{nullptr};
    first = a.Window();
    second = b.Window();
    SetWindowLongPtrW(a.Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_USER + 1 && l > 0)
            return 1 + SendMessageW(second.load(), WM_USER + 1, 0, l - 1);
        return m == WM_USER + 1 ? 1 : DefWindowProcW(h, m, w, l);
    }));
    SetWindowLongPtrW(b.Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_USER + 1 && l > 0)
            return 1 + SendMessageW(first.load(), WM_USER + 1, 0, l - 1);
        return m == WM_USER + 1 ? 1 : DefWindowProcW(h, m, w, l);
    }));
    auto chain = std::async(std::launch::async, [&] { return SendMessageW(a.Window(), WM_USER + 1, 0, 4); });
    ASSERT_EQ(chain.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(chain.get(), 5);

    // Both owners send to each other at the same moment.
    auto fromA = std::async(std::launch::async, [&] { return SendMessageW(a.Window(), WM_USER + 1, 0, 1); });
    auto fromB = std::async(std::launch::async, [&] { return SendMessageW(b.Window(), WM_USER + 1, 0, 1); });
    ASSERT_EQ(fromA.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    ASSERT_EQ(fromB.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(fromA.get(), 2);
    EXPECT_EQ(fromB.get(), 2);
}

TEST(CrossThread, OwnerBusyInANestedLoopStillAnswers)
{
    std::atomic<bool> inNested{false};
    std::atomic<bool> leaveNested{false};
    std::atomic<int> nestedDepthSeen{0};
    std::atomic<HWND> window{nullptr};
    std::thread owner([&] {
        TestClass cls;
        SetHandler([&](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
            if (m == WM_USER + 10) {  // a posted request that runs a modal loop
                inNested = true;
                PumpUntil([&] { return leaveNested.load(); }, 10000);
                *r = 0;
                return true;
            }
            if (m == WM_USER) {
                nestedDepthSeen = inNested ? 1 : 0;
                *r = 99;
                return true;
            }
            (void)h;
            return false;
        });
        window = cls.Create(u"Nested", WS_POPUP);
        PostMessageW(window, WM_USER + 10, 0, 0);
        PumpUntil([&] { return leaveNested.load(); }, 10000);
        DestroyWindow(window);
    });
    ULONGLONG reaper = GetTickCount64() + 10000;
    while (!inNested && GetTickCount64() < reaper)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(inNested);
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 99);
    EXPECT_EQ(nestedDepthSeen.load(), 1);
    leaveNested = true;
    owner.join();
}

TEST(CrossThread, TimeoutCancelsAMessageNobodyPickedUp)
{
    std::atomic<bool> release{false};
    std::atomic<int> handled{0};
    std::atomic<HWND> window{nullptr};
    std::thread owner([&] {
        TestClass cls;
        SetHandler([&](HWND, UINT m, WPARAM, LPARAM, LRESULT*) {
            if (m == WM_USER)
                ++handled;
            return false;
        });
        window = cls.Create(u"Deaf", WS_POPUP);
        ULONGLONG reaper = GetTickCount64() + 10000;
        while (!release && GetTickCount64() < reaper)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        DrainQueue();
        DestroyWindow(window);
    });
    while (!window.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    DWORD_PTR result = 123;
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(SendMessageTimeoutW(window, WM_USER, 0, 0, SMTO_NORMAL, 50, &result), 0);
    EXPECT_GE(GetTickCount64() - start, 49u);
    EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
    EXPECT_EQ(result, 123u);
    release = true;
    owner.join();
    EXPECT_EQ(handled.load(), 0);  // cancelled, never run
}

TEST(CrossThread, ReplyReleasesTheSenderEarly)
{
    WindowThread owner(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_USER + 5) {
            ReplyMessage(11);
            auto* flags = reinterpret_cast<std::atomic<bool>*>(l);
            ULONGLONG reaper = GetTickCount64() + 10000;
            while (!flags[0] && GetTickCount64() < reaper)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            flags[1] = true;
            return 22;
        }
        return DefWindowProcW(h, m, w, l);
    });
    std::atomic<bool> flags[2] = {false, false};
    EXPECT_EQ(SendMessageW(owner.Window(), WM_USER + 5, 0, reinterpret_cast<LPARAM>(flags)), 11);
    EXPECT_FALSE(flags[1].load());
    flags[0] = true;
    ULONGLONG reaper = GetTickCount64() + 10000;
    while (!flags[1] && GetTickCount64() < reaper)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(CrossThread, WindowsDieWithTheirThreadAndWaitingSendersAreReleased)
{
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> exitNow{false};
    Log().Take();
    TestClass cls;
    std::thread owner([&] {
        window = cls.Create(u"Short-lived", WS_POPUP);
        cls.Create(u"Its child", WS_CHILD, window, 1);
        ULONGLONG reaper = GetTickCount64() + 10000;
        while (!exitNow && GetTickCount64() < reaper)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Leaves without destroying anything and without pumping.
    });
    while (!window.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    auto answer = std::async(std::launch::async, [&] { return SendMessageW(window, WM_USER, 0, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    exitNow = true;
    owner.join();
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(answer.get(), 0);
    EXPECT_FALSE(IsWindow(window));
    std::vector<UINT> ends;
    for (const Entry& e : Log().Take())
        if (e.message == WM_DESTROY || e.message == WM_NCDESTROY)
            ends.push_back(e.message);
    EXPECT_EQ(ends, (std::vector<UINT>{WM_DESTROY, WM_DESTROY, WM_NCDESTROY, WM_NCDESTROY}));
}

TEST(CrossThread, WaitWakesEarlyForAPostFromAnotherThread)
{
    DWORD me = GetCurrentThreadId();
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make sure the queue exists
    std::thread poster([me] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostThreadMessageW(me, WM_USER, 0, 0);
    });
    ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(WaitMessageTimeout(5000));
    EXPECT_LT(GetTickCount64() - start, 4000u);
    poster.join();
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
}

TEST(CrossThread, GetMessageOnAnotherThreadRunsSentMessagesAndThreadTimers)
{
    std::atomic<int> ticks{0};
    std::atomic<DWORD> worker{0};
    static std::atomic<int>* tickCounter = nullptr;
    tickCounter = &ticks;
    std::thread loop([&] {
        worker = GetCurrentThreadId();
        UINT_PTR id = SetTimer(nullptr, 0, 10, +[](HWND, UINT, UINT_PTR, DWORD) {
            if (++*tickCounter == 3)
                PostQuitMessage(0);
        });
        UINT_PTR reaper = SetTimer(nullptr, 0, 10000, +[](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        KillTimer(nullptr, id);
        KillTimer(nullptr, reaper);
        EXPECT_EQ(msg.wParam, 0u);
    });
    loop.join();
    EXPECT_EQ(ticks.load(), 3);
}

}  // namespace
