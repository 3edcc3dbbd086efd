// The framework's message loop, hooks and PumpMessages, as message sequences on the test's thread.
#include "platform/framework/FrameworkApp.h"
#include "platform/framework/PumpMessages.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Timers.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kFirst = WM_USER + 1;
constexpr UINT kConsumed = WM_USER + 2;
constexpr UINT kSecond = WM_USER + 3;

std::vector<std::string>* g_log = nullptr;

void Log(const std::string& entry)
{
    if (g_log)
        g_log->push_back(entry);
}

std::string Name(UINT message)
{
    switch (message) {
    case kFirst: return "first";
    case kConsumed: return "consumed";
    case kSecond: return "second";
    case WM_PAINT: return "paint";
    case WM_KEYDOWN: return "keydown";
    case WM_CHAR: return "char";
    default: return "other";
    }
}

LRESULT TestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kFirst || message == kSecond || message == WM_CHAR || message == WM_KEYDOWN) {
        Log("dispatch " + Name(message));
        if (message == kFirst)
            InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    if (message == WM_PAINT) {
        Log("dispatch paint");
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        PostMessageW(hwnd, kConsumed, 0, 0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Ends a loop that would otherwise wait for ever, and says so.
void Reap(HWND, UINT, UINT_PTR, DWORD)
{
    Log("reaped");
    PostQuitMessage(99);
}

class RecordingApp : public CWinApp {
public:
    int quitAtSecondPeriod = 7;
    bool startSucceeds = true;

    BOOL InitInstance() override
    {
        Log("init");
        HWND window = CreateWindowExW(0, u"FrameworkTestWindow", u"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                      0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        ValidateRect(window, nullptr);  // the first painting is not what these tests look at
        SetMainWindow(window);
        return startSucceeds ? TRUE : FALSE;
    }
    BOOL OnIdle(LONG count) override
    {
        Log("idle " + std::to_string(count));
        BOOL more = CWinApp::OnIdle(count);
        if (count == 1 && ++periods_ == 1)
            PostMessageW(MainWindow(), kFirst, 0, 0);
        else if (count == 1 && periods_ == 2)
            PostQuitMessage(quitAtSecondPeriod);
        return more;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message >= WM_USER || msg->message == WM_PAINT || msg->message == WM_KEYDOWN ||
            msg->message == WM_CHAR)
            Log("pre " + Name(msg->message));
        return msg->message == kConsumed ? TRUE : FALSE;
    }
    int ExitInstance() override
    {
        Log("exit");
        return CWinApp::ExitInstance();
    }

private:
    int periods_ = 0;
};

class FrameworkLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static bool registered = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = TestProc;
            wc.lpszClassName = u"FrameworkTestWindow";
            return RegisterClassExW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        g_log = &log_;
        reaper_ = SetTimer(nullptr, 0, 10000, Reap);
    }
    void TearDown() override
    {
        KillTimer(nullptr, reaper_);
        g_log = nullptr;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    std::vector<std::string> log_;
    UINT_PTR reaper_ = 0;
};

TEST_F(FrameworkLoopTest, LoopRunsIdlePeriodsPreTranslationAndEndsAtQuit)
{
    RecordingApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxGetThread(), &app);
    EXPECT_EQ(AfxWinMain(), 7);
    const std::vector<std::string> expected{
        "init", "idle 0", "idle 1",
        "pre first", "dispatch first",
        "pre paint", "dispatch paint",   // painting does not open an idle period of its own
        "pre consumed",                  // consumed: never dispatched
        "idle 0", "idle 1",
        "exit",
    };
    EXPECT_EQ(log_, expected);
    DestroyWindow(app.MainWindow());
}

TEST_F(FrameworkLoopTest, FailedStartRunsOnlyTheExitHookAndReportsFailure)
{
    RecordingApp app;
    app.startSucceeds = false;
    EXPECT_EQ(AfxWinMain(), CWinThread::kStartFailedExitCode);
    EXPECT_EQ(log_, (std::vector<std::string>{"init", "exit"}));
    EXPECT_FALSE(IsWindow(app.MainWindow()));  // the half-made main window is gone
}

TEST_F(FrameworkLoopTest, NoApplicationObjectNoProgram)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxWinMain(), CWinThread::kStartFailedExitCode);
}

TEST_F(FrameworkLoopTest, PumpMessagesProcessesWhatWaitsAndStopsBeforeQuit)
{
    RecordingApp app;
    HWND window = CreateWindowExW(0, u"FrameworkTestWindow", u"w", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    PostMessageW(window, kSecond, 0, 0);
    PostMessageW(window, kConsumed, 0, 0);
    PostMessageW(window, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(log_, (std::vector<std::string>{"pre second", "dispatch second", "pre consumed", "pre keydown",
                                              "dispatch keydown", "pre char", "dispatch char"}));
    log_.clear();
    PostMessageW(window, kSecond, 0, 0);
    PostQuitMessage(3);
    PostMessageW(window, kSecond, 0, 0);  // posted messages come before WM_QUIT
    EXPECT_NE(PumpMessages(), 0);
    EXPECT_EQ(log_.size(), 4u);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 0);  // the quit is still there for the loop
    EXPECT_EQ(msg.wParam, 3u);
    DestroyWindow(window);
}

TEST_F(FrameworkLoopTest, WithoutAThreadObjectPumpMessagesLeavesTheQueue)
{
    PostThreadMessageW(GetCurrentThreadId(), kSecond, 0, 0);
    EXPECT_EQ(PumpMessages(), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, kSecond);
}

TEST(FrameworkThread, IdleAnswersAndIdleMessages)
{
    CWinThread thread;
    EXPECT_TRUE(thread.OnIdle(0));
    EXPECT_FALSE(thread.OnIdle(1));
    struct Case {
        UINT message;
        LONG x;
        BOOL idle;
    };
    const Case cases[] = {
        {WM_PAINT, 0, FALSE},     {0x0118, 0, FALSE},       {WM_MOUSEMOVE, 1, TRUE},
        {WM_MOUSEMOVE, 1, FALSE}, {WM_MOUSEMOVE, 2, TRUE},  {WM_NCMOUSEMOVE, 2, TRUE},
        {WM_KEYDOWN, 0, TRUE},    {WM_TIMER, 0, TRUE},
    };
    for (const Case& c : cases) {
        MSG msg{};
        msg.message = c.message;
        msg.pt = POINT{c.x, 5};
        EXPECT_EQ(thread.IsIdleMessage(&msg), c.idle) << std::hex << c.message << " " << c.x;
    }
}

}  // namespace
