// Message boxes shown as windows of their thread (RunModal): the box's own loop runs the thread's
// timers and the messages other threads send, and ends at its time-out or answer.
#include "DialogTestSupport.h"

#include "platform/dialogs/MessageBox.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Timers.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"

#include <atomic>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

class ModalMessageBoxTest : public ScriptedDialogTest {
protected:
    void SetUp() override
    {
        ScriptedDialogTest::SetUp();
        dialogs_->SetMessageBoxMode(MessageBoxMode::RunModal);
    }
};

// A countdown as the import's empty-directory box runs it: a thread timer finds the box by its
// caption and rewrites its text control.
struct Countdown {
    static inline int secondsLeft = 0;
    static void Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND box = FindWindowW(nullptr, u"倒计时");
        if (!box)
            return;
        --secondsLeft;
        std::u16string text = u"目录为空【 " + std::u16string(1, static_cast<char16_t>(u'0' + secondsLeft)) + u" 】秒";
        SetDlgItemTextW(box, MESSAGE_BOX_TEXT_ID, text.c_str());
    }
};

TEST_F(ModalMessageBoxTest, ThreadTimerRewritesTheBoxUntilItClosesByItself)
{
    Reaper reaper(20s);
    Countdown::secondsLeft = 9;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, Countdown::Tick);
    ULONGLONG start = GetTickCount64();
    int answer = MessageBoxTimeoutW(nullptr, u"目录为空【 9 】秒", u"倒计时", MB_OK | MB_ICONERROR, 0, 550);
    ULONGLONG elapsed = GetTickCount64() - start;
    KillTimer(nullptr, timer);

    EXPECT_EQ(answer, MB_TIMEDOUT);
    EXPECT_GE(elapsed, 550u);
    EXPECT_EQ(FindWindowW(nullptr, u"倒计时"), nullptr);  // the box is gone
    auto boxes = dialogs_->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].closedByTimeout);
    const auto& texts = boxes[0].shownTexts;
    ASSERT_GE(texts.size(), 3u);  // the first text and at least two ticks
    for (size_t i = 0; i < texts.size(); ++i) {
        std::u16string expected = u"目录为空【 " + std::u16string(1, static_cast<char16_t>(u'9' - i)) + u" 】秒";
        EXPECT_EQ(texts[i], expected) << i;
    }
}

TEST_F(ModalMessageBoxTest, ButtonCommandAndCloseEndTheBoxAsTheTypeAllows)
{
    Reaper reaper(20s);
    static std::atomic<int> step{0};
    step = 0;
    auto press = [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowW(nullptr, u"按钮");
        if (!box)
            return;
        // First a close, which a yes/no box refuses, then "No".
        if (step++ == 0)
            PostMessageW(box, WM_CLOSE, 0, 0);
        else
            PostMessageW(box, WM_COMMAND, IDNO, 0);
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 50, press);
    EXPECT_EQ(MessageBoxTimeoutW(nullptr, u"?", u"按钮", MB_YESNO, 0, 10000), IDNO);
    KillTimer(nullptr, timer);
    EXPECT_GE(step.load(), 2);

    auto close = [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND box = FindWindowW(nullptr, u"关闭"))
            PostMessageW(box, WM_CLOSE, 0, 0);
    };
    timer = SetTimer(nullptr, 0, 50, close);
    EXPECT_EQ(MessageBoxTimeoutW(nullptr, u"?", u"关闭", MB_OKCANCEL, 0, 10000), IDCANCEL);
    KillTimer(nullptr, timer);
}

TEST_F(ModalMessageBoxTest, ScriptedAnswerComesAfterItsDelay)
{
    Reaper reaper(20s);
    dialogs_->QueueMessageBoxAnswer({IDYES, 150});
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(MessageBoxTimeoutW(nullptr, u"?", u"脚本", MB_YESNO, 0, 10000), IDYES);
    EXPECT_GE(GetTickCount64() - start, 150u);
    EXPECT_FALSE(dialogs_->MessageBoxes().at(0).closedByTimeout);
}

TEST_F(ModalMessageBoxTest, QuitEndsTheBoxAndIsLeftForTheOuterLoop)
{
    Reaper reaper(20s);
    PostQuitMessage(4);
    EXPECT_EQ(MessageBoxW(nullptr, u"?", u"退出", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(ModalMessageBoxTest, BoxesOnTwoThreadsRunTheMessagesOthersSendThem)
{
    Reaper reaper(30s);
    auto show = [](const char16_t* caption, int* answer, DWORD* thread) {
        *thread = GetCurrentThreadId();
        *answer = MessageBoxTimeoutW(nullptr, u"x", caption, MB_OKCANCEL, 0, 15000);
    };
    int answerA = 0, answerB = 0;
    DWORD threadA = 0, threadB = 0;
    std::thread a(show, u"甲", &answerA, &threadA);
    std::thread b(show, u"乙", &answerB, &threadB);
    HWND boxA = nullptr, boxB = nullptr;
    while (!boxA || !boxB) {
        boxA = FindWindowW(nullptr, u"甲");
        boxB = FindWindowW(nullptr, u"乙");
        std::this_thread::sleep_for(5ms);
    }
    // A send blocks until the box's thread has run it inside the box's loop.
    SendMessageW(boxA, WM_COMMAND, IDOK, 0);
    SendMessageW(boxB, WM_COMMAND, IDCANCEL, 0);
    a.join();
    b.join();
    EXPECT_EQ(answerA, IDOK);
    EXPECT_EQ(answerB, IDCANCEL);
    auto boxes = dialogs_->MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const MessageBoxRecord& box : boxes)
        EXPECT_EQ(box.request.threadId, box.request.caption == u"甲" ? threadA : threadB);
}

}  // namespace
