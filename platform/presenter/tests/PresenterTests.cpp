// The presenter against plain core windows on a virtual display: many changes between two frames
// cost one update, closing the Qt window only asks the core window (which decides), typed text
// reaches the edit box and the box's text comes back, and a destroyed window's widget goes.
#include "platform/controls/ControlClasses.h"
#include "platform/controls/ProgressControl.h"
#include "platform/presenter/DesktopPresenter.h"
#include "platform/presenter/tests/VirtualDisplay.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

#include <functional>
#include <memory>
#include <string>

namespace {

const bool g_desktopRegistered = (RegisterDesktopEnvironment(), true);

int g_closeRequests = 0;

LRESULT FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        ++g_closeRequests;  // kept open: the core window decides, not the desktop
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, ULONGLONG timeoutMs = 10000)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        WaitMessageTimeout(10);
    }
    return true;
}

std::u16string CoreText(HWND hwnd)
{
    char16_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

class PresenterTest : public ::testing::Test {
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
        cls.lpszClassName = u"PresenterTestFrame";
        RegisterClassExW(&cls);
        g_closeRequests = 0;
        presenter = std::make_unique<DesktopPresenter>();
        presenter->Attach();
        frame = CreateWindowExW(0, u"PresenterTestFrame", u"框架", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400,
                                300, nullptr, nullptr, nullptr, nullptr);
        progress = CreateWindowExW(0, PROGRESS_CLASSW, u"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, frame,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
        edit = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 40, 200, 24, frame,
                               reinterpret_cast<HMENU>(8), nullptr, nullptr);
        ASSERT_TRUE(frame && progress && edit);
        ASSERT_TRUE(PumpUntil([this] { return presenter->WidgetFor(edit) && presenter->WidgetFor(frame)->isVisible(); }));
    }
    void TearDown() override
    {
        if (frame)
            DestroyWindow(frame);
        presenter.reset();
    }

    std::unique_ptr<DesktopPresenter> presenter;
    HWND frame = nullptr;
    HWND progress = nullptr;
    HWND edit = nullptr;
};

TEST_F(PresenterTest, AThousandProgressStepsCostOneFrame)
{
    auto* bar = qobject_cast<QProgressBar*>(presenter->WidgetFor(progress));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), "window-7");
    const uint64_t before = presenter->PullCount();
    SendMessageW(progress, PBM_SETRANGE32, 0, 1000);
    for (int position = 1; position <= 1000; ++position)
        SendMessageW(progress, PBM_SETPOS, position, 0);
    ASSERT_TRUE(PumpUntil([bar] { return bar->value() == 1000; }));
    EXPECT_EQ(bar->maximum(), 1000);
    EXPECT_EQ(presenter->PullCount() - before, 1u);
}

TEST_F(PresenterTest, ClosingTheQtWindowAsksTheCoreWindowWhichDecides)
{
    QWidget* window = presenter->WidgetFor(frame);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("框架"));
    window->close();
    EXPECT_EQ(g_closeRequests, 1);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_TRUE(window->isVisible()) << "the core window stays open, so its mirror does";
    DestroyWindow(frame);
    frame = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return presenter->TopLevelWidgets().empty(); }));
}

TEST_F(PresenterTest, TypedTextReachesTheEditBoxAndItsTextComesBack)
{
    auto* line = qobject_cast<QLineEdit*>(presenter->WidgetFor(edit));
    ASSERT_NE(line, nullptr);
    // Chinese arrives committed by the input method, the rest as keys.
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf8("粤"));
    QCoreApplication::sendEvent(line, &composed);
    QTest::keyClicks(line, "B12345");
    EXPECT_EQ(CoreText(edit), u"粤B12345");
    SetWindowTextW(edit, u"沪A00001");
    EXPECT_TRUE(PumpUntil([line] { return line->text() == QString::fromUtf8("沪A00001"); }));
    EnableWindow(edit, FALSE);
    EXPECT_TRUE(PumpUntil([line] { return !line->isEnabled(); }));
}

}  // namespace
