// The native window procedure: private requests, the filter chain, the listener with its standard
// events (WindowMessage first), and objects that go away while their messages run.
#include "UiTestSupport.h"

#include "platform/gdi/Cursors.h"
#include "platform/window/Focus.h"
#include "platform/window/PresenterHook.h"
#include "ui/DropFiles.h"
#include "ui/UiConstants.h"

namespace {

using rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi;
using ui_test::EventOwner;

constexpr UINT kProbe = WM_USER + 5;

class CountingFilter : public CQrnWindowProcFilter {
public:
    CountingFilter(UINT consumes, LRESULT answer) : consumes_(consumes), answer_(answer) {}
    int Filter(HWND, UINT message, WPARAM, LPARAM, LRESULT* result) override
    {
        ++calls;
        if (message != consumes_)
            return 0;
        *result = answer_;
        return 1;
    }
    int calls = 0;

private:
    UINT consumes_;
    LRESULT answer_;
};

class NativeWindowTest : public ui_test::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        WinCreateInfo info = ChildRecord(10, 20, 200, 100);
        info.userInt = 42;
        ASSERT_EQ(box.Create(info), 1);
        hwnd = box.GetSafeHwnd();
    }
    void TearDown() override
    {
        owner.reset();
        UiTest::TearDown();
    }
    void BindMouseAndKeys()
    {
        owner->BindWindowMessage(box);
        owner->Bind(box, box.LeftButtonDown, "LeftButtonDown");
        owner->Bind(box, box.LeftButtonUp, "LeftButtonUp");
        owner->Bind(box, box.LeftButtonDoubleClick, "LeftButtonDoubleClick");
        owner->Bind(box, box.RightButtonDown, "RightButtonDown");
        owner->Bind(box, box.RightButtonUp, "RightButtonUp");
        owner->Bind(box, box.MiddleButtonDown, "MiddleButtonDown");
        owner->Bind(box, box.MiddleButtonUp, "MiddleButtonUp");
        owner->Bind(box, box.MouseMove, "MouseMove");
        owner->Bind(box, box.MouseWheel, "MouseWheel");
        owner->Bind(box, box.KeyDown, "KeyDown");
        owner->Bind(box, box.KeyUp, "KeyUp");
        owner->Bind(box, box.CharInput, "CharInput");
        owner->Bind(box, box.FocusGained, "FocusGained");
        owner->Bind(box, box.FocusLost, "FocusLost");
    }
    rg_ZuJianBuJuQi box;
    HWND hwnd = nullptr;
    std::unique_ptr<EventOwner> owner = std::make_unique<EventOwner>();
};

TEST_F(NativeWindowTest, PrivateRequestsAnswerTheMarkAndTheUserInt)
{
    int32_t userInt = 0;
    EXPECT_EQ(SendMessageW(hwnd, kQrnQueryUserInt, reinterpret_cast<WPARAM>(&userInt), kQrnWindowMark), kQrnWindowMark);
    EXPECT_EQ(userInt, 42);
    rg_ZuJianBuJuQi other;
    ASSERT_EQ(other.Create(*std::make_unique<WinCreateInfo>(ChildRecord(0, 0, 5, 5))), 1);
    EXPECT_EQ(SendMessageW(other.GetSafeHwnd(), kQrnQueryUserInt, reinterpret_cast<WPARAM>(&userInt), kQrnWindowMark),
              kQrnWindowMark);
    EXPECT_EQ(userInt, -1);
    EXPECT_EQ(SendMessageW(hwnd, kQrnQueryUserInt, reinterpret_cast<WPARAM>(&userInt), 1), 0) << "no mark, no request";
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), kQrnWindowMark);
}

TEST_F(NativeWindowTest, FiltersRunMostRecentFirstAndTheFirstToConsumeDecides)
{
    CountingFilter older(kProbe, 11), newer(kProbe, 22), passer(0, 0);
    SendMessageW(hwnd, kQrnAddFilter, reinterpret_cast<WPARAM>(&older), kQrnWindowMark);
    SendMessageW(hwnd, kQrnAddFilter, reinterpret_cast<WPARAM>(&newer), kQrnWindowMark);
    SendMessageW(hwnd, kQrnAddFilter, reinterpret_cast<WPARAM>(&newer), kQrnWindowMark);  // once only
    SendMessageW(hwnd, kQrnAddFilter, reinterpret_cast<WPARAM>(&passer), kQrnWindowMark);
    owner->BindWindowMessage(box);
    owner->watchedMessages = {kProbe};

    EXPECT_EQ(SendMessageW(hwnd, kProbe, 0, 0), 22);
    EXPECT_EQ(passer.calls, 1);
    EXPECT_EQ(newer.calls, 1);
    EXPECT_EQ(older.calls, 0);
    EXPECT_TRUE(owner->Take().empty()) << "a consumed message never reaches the control";

    EXPECT_EQ(SendMessageW(hwnd, kQrnRemoveFilter, reinterpret_cast<WPARAM>(&newer), kQrnWindowMark), kQrnWindowMark);
    EXPECT_EQ(SendMessageW(hwnd, kProbe, 0, 0), 11);
    SendMessageW(hwnd, kQrnRemoveFilter, reinterpret_cast<WPARAM>(&older), kQrnWindowMark);
    EXPECT_EQ(SendMessageW(hwnd, kProbe, 0, 0), 0);
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"WindowMessage 0x405"}));

    // The list goes with the window: a filter left in it is never called again.
    SendMessageW(hwnd, kQrnAddFilter, reinterpret_cast<WPARAM>(&older), kQrnWindowMark);
    const int callsBefore = older.calls;
    DestroyWindow(hwnd);
    EXPECT_GT(older.calls, callsBefore) << "it saw the destruction messages";
    EXPECT_TRUE(box.GetNative()->filters.IsEmpty());
}

TEST_F(NativeWindowTest, MouseMessagesRaiseWindowMessageThenTheirEventWithSignedPointAndModifiers)
{
    BindMouseAndKeys();
    owner->watchedMessages = {WM_LBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_RBUTTONDBLCLK, WM_MOUSEWHEEL, WM_MOUSEMOVE};
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(static_cast<WORD>(-4), 7));
    SetKeyDown(VK_MENU, true);
    SendMessageW(hwnd, WM_RBUTTONUP, MK_CONTROL, MAKELPARAM(3, static_cast<WORD>(-9)));
    SetKeyDown(VK_MENU, false);
    SendMessageW(hwnd, WM_MBUTTONDOWN, 0, MAKELPARAM(1, 2));
    SendMessageW(hwnd, WM_RBUTTONDBLCLK, 0, MAKELPARAM(1, 2));
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-240)), 0);
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 100), 0);
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-359)), 0);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{
                                 "WindowMessage 0x201", "LeftButtonDown -4 7 32768",
                                 "WindowMessage 0x205", "RightButtonUp 3 -9 24576",
                                 "WindowMessage 0x207", "MiddleButtonDown 1 2 0",
                                 "WindowMessage 0x206",  // raises nothing of its own
                                 "WindowMessage 0x20A", "MouseWheel -2 8192",
                                 "WindowMessage 0x20A", "MouseWheel 0 0",
                                 "WindowMessage 0x20A", "MouseWheel -2 0",
                                 "WindowMessage 0x200", "MouseMove 6 6 0",
                             }));
}

TEST_F(NativeWindowTest, KeyMessagesRaiseTheTranslatedKeyAndItsModifiers)
{
    BindMouseAndKeys();
    owner->watchedMessages = {0};  // no WindowMessage entries
    SendMessageW(hwnd, WM_KEYDOWN, 0x67, 0);
    SetKeyDown(VK_CONTROL, true);
    SendMessageW(hwnd, WM_SYSKEYDOWN, 0x6D, 0);
    SendMessageW(hwnd, WM_KEYUP, VK_CONTROL, 0);
    SetKeyDown(VK_CONTROL, false);
    SendMessageW(hwnd, WM_SYSKEYUP, 0x6C, 0);
    SendMessageW(hwnd, WM_CHAR, u'中', 0);
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"KeyDown 55 0", "KeyDown 189 8192", "KeyUp 17 0", "KeyUp 0 0",
                                                       "CharInput 20013"}));
}

TEST_F(NativeWindowTest, ANonzeroAnswerConsumesTheMessage)
{
    owner->BindWindowMessage(box);
    owner->watchedMessages = {WM_SETTEXT};
    owner->answers["WindowMessage"] = 1;
    EXPECT_EQ(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"changed")), 0);
    EXPECT_TRUE(box.GetControlText().IsEmpty());
    owner->answers.clear();
    owner->Bind(box, box.FocusGained, "FocusGained");
    owner->Bind(box, box.FocusLost, "FocusLost");
    SetFocus(hwnd);
    SetFocus(nullptr);
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"WindowMessage 0xC", "FocusGained", "FocusLost"}));
}

TEST_F(NativeWindowTest, TheCursorOfTheHolderIsShownOverTheControl)
{
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    EXPECT_EQ(SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), 0), 0) << "class cursor: not consumed";
    box.SetMouseCursor(hand);
    box.AttachListener();
    EXPECT_EQ(SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), 0), 0) << "consumed: answered 0";
    EXPECT_EQ(GetCursor(), hand);
}

TEST_F(NativeWindowTest, DroppedFilesArriveWholeInDropOrder)
{
    owner->Bind(box, box.FilesDropped, "FilesDropped");
    const std::u16string longPath = u"/tmp/" + std::u16string(300, u'长');
    SendMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropFiles({longPath, u"/b.jpg"})), 0);
    SendMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropFiles({})), 0);
    auto log = owner->Take();
    ASSERT_EQ(log.size(), 1u) << "an empty drop raises nothing";
    EXPECT_EQ(log[0], "FilesDropped " + ui_test::Utf8(longPath) + "|/b.jpg");
}

TEST_F(NativeWindowTest, AControlDestroyedByItsOwnHandlerIsDeletedAfterTheMessage)
{
    auto* child = new rg_ZuJianBuJuQi();
    ASSERT_EQ(child->Create(*std::make_unique<WinCreateInfo>(ChildRecord(0, 0, 50, 50, 7))), 1);
    HWND childWindow = child->GetSafeHwnd();
    owner->Bind(*child, child->LeftButtonDown, "LeftButtonDown");
    owner->Bind(*child, child->Destroying, "Destroying");
    owner->onEvent = [child](const std::string& entry) {
        if (entry.rfind("LeftButtonDown", 0) == 0)
            delete child;
    };
    SendMessageW(childWindow, WM_LBUTTONDOWN, 0, 0);
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"LeftButtonDown 0 0 0"}))
        << "a control going away detaches first: its own destruction raises nothing";
}

}  // namespace
