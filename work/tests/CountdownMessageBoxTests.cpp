#include "work/CountdownMessageBox.h"

#include "DialogTestSupport.h"
#include "WorkTestSupport.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Timers.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "work/MessagePump.h"
#include "work/TimerThread.h"

#include <atomic>
#include <thread>

using namespace work_test;
using rg_quarn_Tolvar::CountdownMessageBox;
using rg_quarn_Tolvar::CountdownText;
using rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1;

namespace {

const CWString kMessage(u"目录为空，请重新选择正确的有图片的目录");
const CWString kCaption(u"错误提醒：");

std::u16string Text(int seconds) { return std::u16string(CountdownText(kMessage, seconds).View()); }

// A top-level window with the countdown's title and a text control of the box's id, owned by the
// calling thread: a countdown elsewhere must leave it alone.
class Decoy {
public:
    explicit Decoy(const CWString& title)
    {
        static const bool registered = [] {
            WNDCLASSEXW cls{};
            cls.cbSize = sizeof cls;
            cls.lpfnWndProc = DefWindowProcW;
            cls.lpszClassName = u"WorkCountdownDecoy";
            return RegisterClassExW(&cls) != 0;
        }();
        EXPECT_TRUE(registered);
        window_ = CreateWindowExW(0, u"WorkCountdownDecoy", title.GetText(), 0, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
        text_ = CreateWindowExW(0, u"WorkCountdownDecoy", u"untouched", WS_CHILD, 0, 0, 5, 5, window_,
                                reinterpret_cast<HMENU>(static_cast<uintptr_t>(MESSAGE_BOX_TEXT_ID)), nullptr,
                                nullptr);
    }
    ~Decoy() { DestroyWindow(window_); }
    std::u16string TextShown() const
    {
        char16_t text[64] = {};
        InternalGetWindowText(text_, text, 64);
        return text;
    }

private:
    HWND window_;
    HWND text_;
};

// Waits on the calling thread while dispatching its messages, so sends to its windows get answered.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() >= deadline)
            return false;
        WaitMessageTimeout(5);
        DispatchWaitingMessages();
    }
    return true;
}

const MessageBoxRecord* BoxCaptioned(const std::vector<MessageBoxRecord>& boxes, const CWString& caption)
{
    for (const MessageBoxRecord& box : boxes)
        if (box.request.caption == caption.View())
            return &box;
    return nullptr;
}

} // namespace

TEST_F(ScriptedDialogsTest, CountdownFallsFiveToOneOnTheWorkerAndClosesByItself)
{
    dialogs_->SetMessageBoxMode(MessageBoxMode::RunModal);
    Decoy decoy(kCaption);
    struct Shower : Owner {
        std::atomic<int32_t> result{0};
        std::atomic<bool> done{false};
        Clock::duration took{};
    } owner;
    rg_ShiZhongLei_XianCheng1 clock;
    clock.ClockTick().Bind([](CQrnObject* self, CQrnObject* sender, uint32_t) -> int32_t {
        auto& shower = *static_cast<Shower*>(self);
        static_cast<rg_ShiZhongLei_XianCheng1*>(sender)->StopClock();
        const auto start = Clock::now();
        shower.result = CountdownMessageBox(kMessage, kCaption);
        shower.took = Clock::now() - start;
        shower.done = true;
        return 0;
    }, owner.guard, 0);
    clock.StartClock(10);
    ASSERT_TRUE(PumpUntil([&] { return owner.done.load(); }, std::chrono::seconds(20)));

    EXPECT_EQ(owner.result.load(), MB_TIMEDOUT);
    const double seconds = std::chrono::duration<double>(owner.took).count();
    EXPECT_GE(seconds, 4.9);
    EXPECT_LT(seconds, 7.0);
    const std::vector<MessageBoxRecord> boxes = dialogs_->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    const MessageBoxRecord& box = boxes[0];
    EXPECT_EQ(box.shownTexts, (std::vector<std::u16string>{Text(5), Text(4), Text(3), Text(2), Text(1)}));
    EXPECT_EQ(box.request.text, std::u16string(kMessage.View()) + u"【 5 】秒");
    EXPECT_EQ(box.request.caption, std::u16string(kCaption.View()));
    EXPECT_EQ(box.request.owner, nullptr);
    EXPECT_EQ(box.request.Icon(), MB_ICONERROR);
    EXPECT_EQ(box.request.Buttons(), MB_OK);
    EXPECT_EQ(box.request.timeoutMs, 5000u);
    EXPECT_EQ(box.request.threadId, clock.Worker().GetThreadId());
    EXPECT_TRUE(box.closedByTimeout);
    EXPECT_EQ(decoy.TextShown(), u"untouched");
}

TEST_F(ScriptedDialogsTest, SecondCountdownStopsTheFirstWhichStillClosesOnTime)
{
    dialogs_->SetMessageBoxMode(MessageBoxMode::RunModal);
    static ScriptedDialogs* dialogs = nullptr;
    dialogs = dialogs_.get();
    static const CWString kSecondCaption(u"第二个提醒：");
    std::atomic<int32_t> first{0};
    std::thread shower([&] {
        // While the first box is open, a timer of its thread opens a second one.
        SetTimer(nullptr, 0, 1500, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            dialogs->QueueMessageBoxAnswer(MessageBoxScript{IDOK, 300});
            CountdownMessageBox(CWString(u"second"), kSecondCaption);
        });
        first = CountdownMessageBox(kMessage, kCaption);
    });
    ASSERT_TRUE(FinishesWithin([&] { shower.join(); }, std::chrono::seconds(20)));

    EXPECT_EQ(first.load(), MB_TIMEDOUT);
    const std::vector<MessageBoxRecord> boxes = dialogs_->MessageBoxes();
    const MessageBoxRecord* firstBox = BoxCaptioned(boxes, kCaption);
    const MessageBoxRecord* secondBox = BoxCaptioned(boxes, kSecondCaption);
    ASSERT_NE(firstBox, nullptr);
    ASSERT_NE(secondBox, nullptr);
    EXPECT_EQ(firstBox->shownTexts, (std::vector<std::u16string>{Text(5), Text(4)}));
    EXPECT_TRUE(firstBox->closedByTimeout);
    EXPECT_EQ(secondBox->answer, IDOK);
    EXPECT_EQ(secondBox->shownTexts, std::vector<std::u16string>{u"second【 5 】秒"});
}

TEST_F(ScriptedDialogsTest, ABoxThatClosedLeavesNoTimerBehind)
{
    // Closed at once by the scripted service; a later window with the same title on the same thread
    // must not be counted down by a timer left running.
    EXPECT_EQ(CountdownMessageBox(kMessage, kCaption), MB_TIMEDOUT);
    ASSERT_EQ(dialogs_->MessageBoxes().size(), 1u);
    Decoy later(kCaption);
    PumpUntil([] { return false; }, std::chrono::milliseconds(1300));
    EXPECT_EQ(later.TextShown(), u"untouched");
}
