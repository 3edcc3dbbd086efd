// The toolbar mirror against a plain core toolbar on a virtual display: a check button shows the
// core's state, not Qt's own toggle, and a click on it is the core's click (one WM_COMMAND to the
// toolbar's parent); buttons the core hides, adds or deletes come and go after the next frame.
#include "platform/controls/ControlClasses.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/presenter/DesktopPresenter.h"
#include "platform/presenter/ToolbarMirror.h"
#include "platform/presenter/tests/VirtualDisplay.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <QToolButton>

#include <functional>
#include <memory>
#include <vector>

namespace {

const bool g_desktopRegistered = (RegisterDesktopEnvironment(), true);

std::vector<int> g_commands;

LRESULT FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        g_commands.push_back(LOWORD(wParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    return PumpMessagesUntil(done, timeoutMs);
}

TBBUTTON Record(int command, BYTE style, const char16_t* text)
{
    TBBUTTON b{};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = command;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = style;
    b.iString = reinterpret_cast<INT_PTR>(text);
    return b;
}

class ToolbarMirrorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!XvfbInstalled())
            GTEST_SKIP() << "no Xvfb binary: install xvfb to run the desktop tests";
        ASSERT_TRUE(DesktopReady()) << "Xvfb did not start";
        RegisterStandardControlClasses();
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = &FrameProc;
        cls.lpszClassName = u"ToolbarMirrorTestFrame";
        RegisterClassExW(&cls);
        g_commands.clear();
        presenter = std::make_unique<DesktopPresenter>();
        presenter->Attach();
        frame = CreateWindowExW(0, u"ToolbarMirrorTestFrame", u"框架", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400,
                                200, nullptr, nullptr, nullptr, nullptr);
        toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, u"", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0, 300,
                                  30, frame, reinterpret_cast<HMENU>(9), nullptr, nullptr);
        ASSERT_TRUE(frame && toolbar);
        SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBBUTTON buttons[] = {Record(11, BTNS_CHECK | BTNS_AUTOSIZE, u"粗体"), Record(12, BTNS_AUTOSIZE, u"保存")};
        ASSERT_TRUE(SendMessageW(toolbar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons)));
        ASSERT_TRUE(PumpUntil([this] { return Mirror() && Mirror()->isVisible() && Mirror()->ButtonAt(1); }));
    }
    void TearDown() override
    {
        if (frame)
            DestroyWindow(frame);
        presenter.reset();
    }

    ToolbarMirror* Mirror() const { return dynamic_cast<ToolbarMirror*>(presenter->WidgetFor(toolbar)); }
    bool CoreChecked(int command) const { return SendMessageW(toolbar, TB_ISBUTTONCHECKED, command, 0) != 0; }

    std::unique_ptr<DesktopPresenter> presenter;
    HWND frame = nullptr;
    HWND toolbar = nullptr;
};

TEST_F(ToolbarMirrorTest, ACheckButtonShowsTheCoresStateAndItsClickIsTheCoresClick)
{
    QToolButton* bold = Mirror()->ButtonAt(0);
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(bold->text(), QString::fromUtf8("粗体"));
    EXPECT_EQ(bold->toolButtonStyle(), Qt::ToolButtonTextOnly) << "no picture: the text alone";
    EXPECT_TRUE(bold->isCheckable());
    EXPECT_FALSE(bold->isChecked());
    for (bool checked : {true, false}) {
        bold->click();
        EXPECT_EQ(CoreChecked(11), checked);
        EXPECT_TRUE(PumpUntil([&] { return bold->isChecked() == checked; }));
    }
    EXPECT_EQ(g_commands, (std::vector<int>{11, 11}));

    // A state the core sets by itself shows too; Qt's toggle alone never does.
    SendMessageW(toolbar, TB_CHECKBUTTON, 11, TRUE);
    EXPECT_TRUE(PumpUntil([&] { return bold->isChecked(); }));
    SendMessageW(toolbar, TB_ENABLEBUTTON, 11, FALSE);
    EXPECT_TRUE(PumpUntil([&] { return !bold->isEnabled(); }));
    bold->setEnabled(true);  // as if Qt let a click through: the core's disabled button ignores it
    bold->click();
    EXPECT_TRUE(CoreChecked(11));
    EXPECT_EQ(g_commands.size(), 2u);
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(bold->isChecked()) << "the core's state, not Qt's toggle";
}

TEST_F(ToolbarMirrorTest, ButtonsTheCoreHidesAddsOrDeletesFollowAfterTheNextFrame)
{
    SendMessageW(toolbar, TB_HIDEBUTTON, 11, TRUE);
    EXPECT_TRUE(PumpUntil([this] { return Mirror()->ButtonAt(0) == nullptr; }));
    TBBUTTON more[] = {Record(13, BTNS_AUTOSIZE, u"打印")};
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(more));
    EXPECT_TRUE(PumpUntil([this] { return Mirror()->ButtonAt(2) && Mirror()->ButtonAt(2)->text() == QString::fromUtf8("打印"); }));
    SendMessageW(toolbar, TB_DELETEBUTTON, 0, 0);
    EXPECT_TRUE(PumpUntil([this] { return Mirror()->ButtonCount() == 2; }));
    ASSERT_NE(Mirror()->ButtonAt(0), nullptr);
    EXPECT_EQ(Mirror()->ButtonAt(0)->text(), QString::fromUtf8("保存"));
    Mirror()->ButtonAt(1)->click();
    EXPECT_EQ(g_commands, std::vector<int>{13}) << "the click lands on the button that is now at that place";
}

}  // namespace
