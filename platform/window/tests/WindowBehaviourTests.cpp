// Timers, painting, focus, text and search, styles, enabling, showing and geometry on one thread.
#include "WindowTestSupport.h"

#include "platform/window/Focus.h"
#include "platform/window/Paint.h"
#include "platform/window/Timers.h"
#include "platform/window/WindowGeometry.h"

#include <gtest/gtest.h>

#include <thread>

using namespace window_test;

namespace {

class WindowBehaviour : public ::testing::Test {
protected:
    void SetUp() override
    {
        DrainQueue();
        top = cls.Create(u"Behaviour", WS_POPUP | WS_VISIBLE);
        ValidateRect(top, nullptr);
        DrainQueue();
        Log().Take();
    }
    void TearDown() override
    {
        if (IsWindow(top))
            DestroyWindow(top);
        DrainQueue();
        Log().Watch({});
    }
    TestClass cls{0, 0, reinterpret_cast<HBRUSH>(1)};
    HWND top = nullptr;
};

TEST_F(WindowBehaviour, WindowTimerCoalescesAndRestarts)
{
    ASSERT_EQ(SetTimer(top, 5, 1, nullptr), 5u);  // clamped to 10 ms
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    auto seen = DrainQueue();
    ASSERT_EQ(seen.size(), 1u);  // several intervals passed, one WM_TIMER
    EXPECT_EQ(seen[0].message, WM_TIMER);
    EXPECT_EQ(seen[0].hwnd, top);
    EXPECT_EQ(seen[0].wParam, 5u);
    EXPECT_TRUE(DrainQueue().empty());

    Log().Watch({WM_TIMER});
    EXPECT_TRUE(PumpUntil([] { return !Log().Take().empty(); }, 2000));
    EXPECT_TRUE(KillTimer(top, 5));
    EXPECT_FALSE(KillTimer(top, 5));
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    EXPECT_TRUE(DrainQueue().empty());

    // Setting the same timer again restarts its interval.
    SetTimer(top, 6, 200, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    SetTimer(top, 6, 200, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_TRUE(DrainQueue().empty());
    KillTimer(top, 6);
}

int g_threadTicks = 0;
UINT_PTR g_tickId = 0;
void CountTick(HWND hwnd, UINT message, UINT_PTR id, DWORD)
{
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_EQ(message, WM_TIMER);
    g_tickId = id;
    ++g_threadTicks;
}

TEST_F(WindowBehaviour, ThreadTimerCallsItsCallback)
{
    g_threadTicks = 0;
    UINT_PTR id = SetTimer(nullptr, 1234, 10, CountTick);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(SetTimer(nullptr, id, 10, CountTick), id);  // its own id replaces it
    EXPECT_TRUE(PumpUntil([] { return g_threadTicks >= 2; }, 3000));
    EXPECT_EQ(g_tickId, id);
    EXPECT_TRUE(KillTimer(nullptr, id));
    // A WM_TIMER posted with a foreign address never calls it.
    PostMessageW(nullptr, WM_TIMER, 77, reinterpret_cast<LPARAM>(&CountTick));
    int before = g_threadTicks;
    DrainQueue();
    EXPECT_EQ(g_threadTicks, before);
}

TEST_F(WindowBehaviour, TimerOfAnotherThreadsWindowIsRefused)
{
    UINT_PTR result = 1;
    std::thread([&] { result = SetTimer(top, 1, 10, nullptr); }).join();
    EXPECT_EQ(result, 0u);
}

TEST_F(WindowBehaviour, PaintCoalescesAndBeginPaintValidates)
{
    RECT a{10, 10, 20, 20};
    RECT b{50, 40, 60, 45};
    InvalidateRect(top, &a, FALSE);
    InvalidateRect(top, &b, TRUE);
    PAINTSTRUCT ps{};
    int paints = 0;
    SetHandler([&](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_PAINT)
            return false;
        ++paints;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        *r = 0;
        return true;
    });
    Log().Watch({WM_PAINT, WM_ERASEBKGND});
    DrainQueue();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{top, WM_PAINT}, {top, WM_ERASEBKGND}}));
    RECT expected{10, 10, 60, 45};
    EXPECT_TRUE(EqualRect(&ps.rcPaint, &expected));
    EXPECT_FALSE(ps.fErase);  // the class brush erased it
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));

    UpdateWindow(top);  // nothing to paint: no message
    EXPECT_TRUE(Log().Take().empty());
    InvalidateRect(top, nullptr, FALSE);
    UpdateWindow(top);  // paints at once, without the queue
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{top, WM_PAINT}}));
}

TEST_F(WindowBehaviour, HiddenWindowsAndValidatedAreasGetNoPaint)
{
    HWND hidden = cls.Create(u"Hidden", WS_POPUP);
    InvalidateRect(hidden, nullptr, FALSE);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    ShowWindow(hidden, SW_SHOWNA);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, hidden);
    ValidateRect(hidden, nullptr);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));

    // A band cut from the edge shrinks the area; a hole in the middle cannot.
    RECT area{0, 0, 100, 100};
    InvalidateRect(top, &area, FALSE);
    RECT band{0, 0, 100, 30};
    ValidateRect(top, &band);
    RECT left{};
    GetUpdateRect(top, &left, FALSE);
    RECT expected{0, 30, 100, 100};
    EXPECT_TRUE(EqualRect(&left, &expected));
    ValidateRect(top, nullptr);
    DestroyWindow(hidden);
}

TEST_F(WindowBehaviour, InvalidatingAParentReachesChildrenUnlessItClipsThem)
{
    HWND child = cls.Create(u"Child", WS_CHILD | WS_VISIBLE, top, 1, 0, RECT{5, 5, 25, 25});
    HWND clipper = cls.Create(u"Clipper", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, top, 2, 0, RECT{40, 40, 90, 90});
    HWND inner = cls.Create(u"Inner", WS_CHILD | WS_VISIBLE, clipper, 3, 0, RECT{0, 0, 10, 10});
    for (HWND h : {top, child, clipper, inner})
        ValidateRect(h, nullptr);
    InvalidateRect(top, nullptr, FALSE);
    EXPECT_TRUE(GetUpdateRect(child, nullptr, FALSE));
    InvalidateRect(clipper, nullptr, FALSE);
    RECT r{};
    EXPECT_TRUE(GetUpdateRect(clipper, &r, FALSE));
    EXPECT_FALSE(GetUpdateRect(inner, nullptr, FALSE));
    // The walk offers parents before their children.
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, top);
}

TEST_F(WindowBehaviour, FocusMovesWithKillThenSet)
{
    HWND first = cls.Create(u"First", WS_CHILD | WS_VISIBLE, top, 1);
    HWND second = cls.Create(u"Second", WS_CHILD | WS_VISIBLE, top, 2);
    SetActiveWindow(nullptr);
    SetFocus(nullptr);
    Log().Watch({WM_SETFOCUS, WM_KILLFOCUS, WM_ACTIVATE, WM_NCACTIVATE});
    Log().Take();
    EXPECT_EQ(SetFocus(first), nullptr);
    // The top-level window becomes active first, without taking the focus itself.
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{top, WM_NCACTIVATE}, {top, WM_ACTIVATE}, {first, WM_SETFOCUS}}));
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(SetFocus(second), first);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{first, WM_KILLFOCUS}, {second, WM_SETFOCUS}}));
    EXPECT_EQ(GetFocus(), second);

    // Disabling the focus window takes the focus away; destroying does too.
    Log().Watch({WM_KILLFOCUS, WM_CANCELMODE, WM_ENABLE});
    EXPECT_FALSE(EnableWindow(second, FALSE));
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{second, WM_CANCELMODE}, {second, WM_KILLFOCUS}, {second, WM_ENABLE}}));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(EnableWindow(second, FALSE));  // already disabled: no messages
    EXPECT_TRUE(Log().Take().empty());
    EXPECT_TRUE(EnableWindow(second, TRUE));
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{second, WM_ENABLE}}));
    SetFocus(first);
    Log().Take();
    DestroyWindow(first);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{first, WM_KILLFOCUS}}));
    EXPECT_EQ(GetFocus(), nullptr);

    HWND result = top;
    std::thread([&] { result = SetFocus(second); }).join();  // another thread's window
    EXPECT_EQ(result, nullptr);
}

TEST_F(WindowBehaviour, TextAndSearch)
{
    HWND label = cls.Create(u"旧", WS_CHILD, top, 0xFFFF);
    EXPECT_TRUE(SetDlgItemTextW(top, 0xFFFF, u"目录为空【 4 】秒"));
    WCHAR buffer[64];
    EXPECT_EQ(GetDlgItemTextW(top, 0xFFFF, buffer, 64), 10u);
    EXPECT_EQ(std::u16string(buffer), u"目录为空【 4 】秒");
    EXPECT_EQ(GetWindowTextLengthW(label), 10);
    EXPECT_EQ(GetWindowTextW(label, buffer, 5), 4);  // truncated and terminated
    EXPECT_EQ(std::u16string(buffer), u"目录为空");
    EXPECT_FALSE(SetDlgItemTextW(top, 42, u"x"));

    SetWindowTextW(top, u"错误提醒：");
    HWND other = cls.Create(u"Caption", WS_POPUP);
    EXPECT_EQ(FindWindowW(nullptr, u"错误提醒："), top);
    EXPECT_EQ(FindWindowW(nullptr, u"caption"), other);  // ignores case
    EXPECT_EQ(FindWindowW(cls.Name(), u"Caption"), other);
    EXPECT_EQ(FindWindowW(u"NoSuchClass", u"Caption"), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, u"目录为空【 4 】秒"), nullptr);  // children are not searched
    EXPECT_EQ(FindWindowExW(top, nullptr, nullptr, u"目录为空【 4 】秒"), label);
    DestroyWindow(other);
    EXPECT_EQ(FindWindowW(nullptr, u"Caption"), nullptr);
    WCHAR name[64];
    EXPECT_GT(GetClassNameW(top, name, 64), 0);
    EXPECT_EQ(std::u16string(name), std::u16string(cls.Name()));
}

TEST_F(WindowBehaviour, StyleChangesAndShowSequences)
{
    Log().Watch({WM_STYLECHANGING, WM_STYLECHANGED, WM_SHOWWINDOW, WM_WINDOWPOSCHANGING,
                 WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE});
    LONG_PTR old = SetWindowLongPtrW(top, GWL_STYLE, GetWindowLongPtrW(top, GWL_STYLE) | WS_BORDER);
    EXPECT_EQ(static_cast<DWORD>(old) & WS_BORDER, 0u);
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{top, WM_STYLECHANGING}, {top, WM_STYLECHANGED}}));
    EXPECT_TRUE(ShowWindow(top, SW_HIDE));
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{top, WM_SHOWWINDOW}, {top, WM_WINDOWPOSCHANGING},
                                                 {top, WM_WINDOWPOSCHANGED}}));
    EXPECT_FALSE(IsWindowVisible(top));
    EXPECT_FALSE(ShowWindow(top, SW_HIDE));
    EXPECT_TRUE(Log().Take().empty());
    ShowWindow(top, SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(top));
    Log().Take();
    EXPECT_TRUE(MoveWindow(top, 100, 50, 400, 300, TRUE));
    EXPECT_EQ(Log().Take(), (std::vector<Entry>{{top, WM_WINDOWPOSCHANGING}, {top, WM_WINDOWPOSCHANGED},
                                                 {top, WM_MOVE}, {top, WM_SIZE}}));
    ShowWindow(top, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(top));
    ShowWindow(top, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(top));
    RECT r{};
    GetWindowRect(top, &r);
    RECT expected{100, 50, 500, 350};
    EXPECT_TRUE(EqualRect(&r, &expected));
}

TEST_F(WindowBehaviour, ClientAreaMatchesTheFrameArithmetic)
{
    struct Case {
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {{WS_POPUP, 0},
                          {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0},
                          {WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE},
                          {WS_POPUP | WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW},
                          {WS_CHILD | WS_BORDER, WS_EX_CLIENTEDGE}};
    for (const Case& c : cases) {
        RECT want{0, 0, 562, 547};
        AdjustWindowRectEx(&want, c.style, FALSE, c.exStyle);
        HWND w = cls.Create(u"Frame", c.style, (c.style & WS_CHILD) ? top : nullptr,
                            (c.style & WS_CHILD) ? 1 : 0, c.exStyle,
                            RECT{0, 0, want.right - want.left, want.bottom - want.top});
        RECT client{};
        GetClientRect(w, &client);
        EXPECT_EQ(client.right, 562) << std::hex << c.style;
        EXPECT_EQ(client.bottom, 547) << std::hex << c.style;
        DestroyWindow(w);
    }
    HWND child = cls.Create(u"Child", WS_CHILD, top, 1, 0, RECT{30, 40, 50, 60});
    RECT onScreen{};
    GetWindowRect(child, &onScreen);
    RECT topRect{};
    GetWindowRect(top, &topRect);
    EXPECT_EQ(onScreen.left, topRect.left + 30);
    EXPECT_EQ(onScreen.top, topRect.top + 40);
    POINT p{0, 0};
    ClientToScreen(child, &p);
    ScreenToClient(top, &p);
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.y, 40);
}

TEST_F(WindowBehaviour, ClockIsMonotonic)
{
    ULONGLONG a = GetTickCount64();
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    ULONGLONG b = GetTickCount64();
    EXPECT_GE(b - a, 14u);
    EXPECT_LT(b - a, 5000u);
}

}  // namespace
