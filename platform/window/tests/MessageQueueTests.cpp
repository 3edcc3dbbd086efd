// Retrieval order, removal, filters, WM_QUIT, posting limits and key translation on one thread.
#include "WindowTestSupport.h"

#include "platform/window/Paint.h"
#include "platform/window/PresenterHook.h"
#include "platform/window/Timers.h"

#include <gtest/gtest.h>

#include <thread>

using namespace window_test;

namespace {

class MessageQueue : public ::testing::Test {
protected:
    void SetUp() override
    {
        DrainQueue();
        Log().Take();
        hwnd = cls.Create(u"Queue", WS_POPUP | WS_VISIBLE);
        ValidateRect(hwnd, nullptr);
        DrainQueue();
        Log().Take();
    }
    void TearDown() override
    {
        DestroyWindow(hwnd);
        DrainQueue();
    }
    TestClass cls;
    HWND hwnd = nullptr;
};

TEST_F(MessageQueue, RetrievalFollowsTheOriginalOrder)
{
    // Added in the reverse of the order they must come out.
    UINT_PTR timer = SetTimer(hwnd, 1, 10, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    InvalidateRect(hwnd, nullptr, FALSE);
    PostInputMessage(hwnd, WM_KEYUP, 0x41, 0);
    PostQuitMessage(3);
    PostMessageW(hwnd, WM_USER + 1, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 2, 0, 0);

    std::vector<std::pair<HWND, UINT>> order;
    MSG msg;
    for (int i = 0; i < 6 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        order.emplace_back(msg.hwnd, msg.message);
        if (msg.message == WM_PAINT)
            ValidateRect(hwnd, nullptr);
        if (msg.message == WM_QUIT) {
            EXPECT_EQ(msg.wParam, 3u);
        }
    }
    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{{hwnd, WM_USER + 1},
                                                          {nullptr, WM_USER + 2},
                                                          {nullptr, WM_QUIT},
                                                          {hwnd, WM_KEYUP},
                                                          {hwnd, WM_PAINT},
                                                          {hwnd, WM_TIMER}}));
    EXPECT_EQ(msg.wParam, 1u);
    KillTimer(hwnd, timer);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, SendRunsAtOnceAndPostWaitsForTheLoop)
{
    Log().Watch({WM_USER + 1, WM_USER + 2});
    PostMessageW(hwnd, WM_USER + 1, 0, 0);
    SendMessageW(hwnd, WM_USER + 2, 0, 0);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{hwnd, WM_USER + 2}}));
    DrainQueue();
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{hwnd, WM_USER + 1}}));
    Log().Watch({});
}

TEST_F(MessageQueue, NoRemoveKeepsAndPaintStaysUntilValidated)
{
    PostMessageW(hwnd, WM_USER, 5, 6);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(msg.lParam, 6);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));

    InvalidateRect(hwnd, nullptr, FALSE);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, WM_PAINT);
    }
    DispatchMessageW(&msg);  // the default procedure paints and so validates
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, FiltersSelectWindowThreadAndRange)
{
    HWND child = cls.Create(u"Child", WS_CHILD, hwnd, 1);
    HWND other = cls.Create(u"Other", WS_POPUP);
    PostMessageW(other, WM_USER + 1, 0, 0);
    PostMessageW(child, WM_USER + 2, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 3, 0, 0);
    PostMessageW(hwnd, WM_APP, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 3);
    ASSERT_TRUE(PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE));  // a window filter covers its children
    EXPECT_EQ(msg.message, WM_USER + 2);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_APP);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, other);
    EXPECT_EQ(GetMessageW(&msg, reinterpret_cast<HWND>(0x4321), 0, 0), -1);
    DestroyWindow(other);
}

TEST_F(MessageQueue, QuitEndsGetMessageAndNeverReachesAWindow)
{
    PostMessageW(hwnd, WM_USER, 0, 0);
    PostQuitMessage(7);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, WM_USER);
    // WM_QUIT comes whatever the filter says.
    EXPECT_EQ(GetMessageW(&msg, hwnd, WM_APP, WM_APP), 0);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.hwnd, nullptr);
    Log().Take();
    DispatchMessageW(&msg);
    EXPECT_TRUE(Log().Take().empty());
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, PostingFailsForUnknownTargetsAndAFullQueue)
{
    EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x4321), WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    DWORD noQueue = 0;
    std::thread([&] { noQueue = GetCurrentThreadId(); }).join();
    EXPECT_FALSE(PostThreadMessageW(noQueue, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);

    int accepted = 0;
    while (accepted < 20000 && PostMessageW(hwnd, WM_USER, 0, 0))
        ++accepted;
    EXPECT_EQ(accepted, 10000);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_QUOTA);
    EXPECT_EQ(DrainQueue(20000).size(), 10000u);
}

TEST_F(MessageQueue, PostedMessagesOfADestroyedWindowAreDropped)
{
    HWND doomed = cls.Create(u"Doomed", WS_POPUP);
    PostMessageW(doomed, WM_USER, 0, 0);
    PostMessageW(hwnd, WM_USER + 1, 0, 0);
    DestroyWindow(doomed);
    auto seen = DrainQueue();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, WM_USER + 1);
}

TEST_F(MessageQueue, TranslateMakesCharactersOfPrintableKeys)
{
    struct Case {
        UINT vk;
        bool shift;
        UINT expectedChar;  // 0: no WM_CHAR
    };
    const Case cases[] = {{'A', false, u'a'}, {'A', true, u'A'}, {'7', false, u'7'},
                          {'7', true, u'&'},  {VK_SPACE, false, u' '}, {VK_RETURN, false, u'\r'},
                          {VK_LEFT, false, 0}, {VK_F1, false, 0}, {VK_NUMPAD0 + 4, false, u'4'}};
    for (const Case& c : cases) {
        SetKeyDown(VK_SHIFT, c.shift);
        MSG key{hwnd, WM_KEYDOWN, c.vk, 1, 0, {}};
        EXPECT_TRUE(TranslateMessage(&key));
        MSG msg;
        BOOL got = PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        if (c.expectedChar == 0) {
            EXPECT_FALSE(got) << "key " << c.vk;
            continue;
        }
        ASSERT_TRUE(got) << "key " << c.vk;
        EXPECT_EQ(msg.message, WM_CHAR);
        EXPECT_EQ(msg.wParam, c.expectedChar) << "key " << c.vk;
        EXPECT_EQ(msg.hwnd, hwnd);
    }
    SetKeyDown(VK_SHIFT, false);
    MSG notKey{hwnd, WM_USER, 'A', 0, 0, {}};
    EXPECT_FALSE(TranslateMessage(&notKey));
}

TEST_F(MessageQueue, WaitMessageTimeoutReturnsAfterItsTime)
{
    ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(WaitMessageTimeout(30));
    ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited, 29u);
    EXPECT_LT(waited, 2000u);
    PostMessageW(hwnd, WM_USER, 0, 0);
    EXPECT_TRUE(WaitMessageTimeout(10000));
}

}  // namespace
