// Message boxes through the scripted service, closed at once.
#include "DialogTestSupport.h"

#include "platform/dialogs/MessageBox.h"
#include "platform/window/Window.h"

#include <thread>

namespace {

using MessageBoxTest = ScriptedDialogTest;

TEST(MessageBoxAnswers, DefaultAndCloseAnswersFollowTheType)
{
    struct Case {
        UINT type;
        int defaultAnswer;
        int closeAnswer;
    };
    const Case cases[] = {
        {MB_OK, IDOK, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL, IDCANCEL},
        {MB_YESNO, IDYES, 0},
        {MB_YESNO | MB_DEFBUTTON2, IDNO, 0},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON4, IDABORT, 0},  // no fourth button: the first
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON2, IDTRYAGAIN, IDCANCEL},
        {MB_RETRYCANCEL | MB_ICONERROR, IDRETRY, IDCANCEL},
        {7, 0, 0},  // not a type the platform knows
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DefaultMessageBoxAnswer(c.type), c.defaultAnswer) << c.type;
        EXPECT_EQ(CloseMessageBoxAnswer(c.type), c.closeAnswer) << c.type;
    }
    EXPECT_TRUE(IsMessageBoxAnswer(MB_YESNO, IDNO));
    EXPECT_FALSE(IsMessageBoxAnswer(MB_YESNO, IDCANCEL));
}

TEST_F(MessageBoxTest, RecordsTheBoxAndAnswersItsDefaultButton)
{
    EXPECT_EQ(MessageBoxW(nullptr, u"程序在运行时抛出了未被管理的异常", u"运行时异常", MB_ICONERROR), IDOK);
    auto boxes = dialogs_->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].request.text, u"程序在运行时抛出了未被管理的异常");
    EXPECT_EQ(boxes[0].request.caption, u"运行时异常");
    EXPECT_EQ(boxes[0].request.Icon(), MB_ICONERROR);
    EXPECT_EQ(boxes[0].request.Buttons(), MB_OK);
    EXPECT_FALSE(boxes[0].request.HasTimeout());
    EXPECT_EQ(boxes[0].request.owner, nullptr);
    EXPECT_EQ(boxes[0].request.threadId, GetCurrentThreadId());
    EXPECT_EQ(boxes[0].answer, IDOK);
    EXPECT_FALSE(boxes[0].closedByTimeout);
    EXPECT_EQ(boxes[0].shownTexts, std::vector<std::u16string>{u"程序在运行时抛出了未被管理的异常"});
}

TEST_F(MessageBoxTest, TimeoutBoxClosesAtOnceWithTheTimeoutAnswer)
{
    EXPECT_EQ(MessageBoxTimeoutW(nullptr, u"目录为空【 5 】秒", u"错误提醒：", MB_OK | MB_ICONERROR, 0, 5000),
              MB_TIMEDOUT);
    auto boxes = dialogs_->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].request.timeoutMs, 5000u);
    EXPECT_TRUE(boxes[0].closedByTimeout);
}

TEST_F(MessageBoxTest, ScriptedAnswersAreUsedInOrderAndMustBeButtonsOfTheBox)
{
    dialogs_->QueueMessageBoxAnswer({IDNO});
    dialogs_->QueueMessageBoxAnswer({IDRETRY});  // not a button of a yes/no box
    dialogs_->QueueMessageBoxAnswer({IDOK});
    EXPECT_EQ(MessageBoxW(nullptr, u"a", u"c", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, u"b", u"c", MB_YESNO | MB_DEFBUTTON2), IDNO);
    // A scripted answer beats the time-out: the user pressed OK in time.
    EXPECT_EQ(MessageBoxTimeoutW(nullptr, u"c", u"c", MB_OK, 0, 100), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, u"d", u"c", MB_OKCANCEL), IDOK);  // queue empty again
    EXPECT_EQ(dialogs_->MessageBoxes().size(), 4u);
}

TEST_F(MessageBoxTest, RefusedBoxesAreNotShown)
{
    HWND stale = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF1234));
    EXPECT_EQ(MessageBoxW(stale, u"x", u"y", MB_OK), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", 0x0F), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(dialogs_->MessageBoxes().empty());
}

TEST_F(MessageBoxTest, NullTextAndCaptionAreShownAsPlatformDefaults)
{
    MessageBoxW(nullptr, nullptr, nullptr, MB_OK);
    auto boxes = dialogs_->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].request.text, u"");
    EXPECT_EQ(boxes[0].request.caption, u"错误");
}

class CountingDialogs : public ScriptedDialogs {
public:
    int closed = 0;

protected:
    void OnMessageBoxClosed(const MessageBoxRecord& record) override
    {
        EXPECT_EQ(record.answer, IDOK);
        ++closed;
    }
};

TEST(DialogServiceInstall, ReplacedServiceComesBackAndNullMeansTheDefault)
{
    auto counting = std::make_shared<CountingDialogs>();
    std::shared_ptr<DialogService> before = SetDialogService(counting);
    EXPECT_EQ(CurrentDialogService(), counting);
    MessageBoxW(nullptr, u"x", u"y", MB_OK);
    EXPECT_EQ(counting->closed, 1);

    EXPECT_EQ(SetDialogService(nullptr), counting);
    std::shared_ptr<DialogService> fallback = CurrentDialogService();
    ASSERT_NE(fallback, nullptr);
    EXPECT_NE(fallback, counting);
    EXPECT_EQ(SetDialogService(before), fallback);
}

}  // namespace
