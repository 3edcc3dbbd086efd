#include "app/tests/DesktopTestSupport.h"

#include "platform/controls/ControlClasses.h"
#include "platform/presenter/tests/VirtualDisplay.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <QWindow>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return PumpMessagesUntil(done, timeoutMs);
}

QPushButton* ButtonWithText(QWidget* parent, const QString& text)
{
    for (QPushButton* button : parent->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

void SaveScreenshot(QWidget* widget, const char* name)
{
    PumpUntil([] { return false; }, 200);  // a few frames, so that everything has painted
    const fs::path folder = TABRIX_SCREENSHOTS;
    fs::create_directories(folder);
    const fs::path file = folder / name;
    ASSERT_TRUE(widget->grab().save(QString::fromStdString(file.string()), "PNG")) << file;
    EXPECT_GT(fs::file_size(file), 1000u);
    std::printf("screenshot: %s\n", file.string().c_str());
}

void DesktopWindowTest::SetUp()
{
    if (!XvfbInstalled())
        GTEST_SKIP() << "no Xvfb binary: install xvfb to run the desktop tests";
    ASSERT_TRUE(DesktopReady()) << "Xvfb did not start";
    previous = SetDialogService(MakeDialogs());
    serviceInstalled = true;
    presenter = std::make_unique<DesktopPresenter>();
    presenter->Attach();
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    InitCommonControlsEx(&controls);
    program = std::make_unique<rg_quarn_app::rg_startup_class>();
    ASSERT_EQ(program->RunProgram(), 1);
    mainWindow = program->mainWindow.GetSafeHwnd();
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(PumpUntil([this] { return Shown(); })) << "the main window was not shown on the display";
}

void DesktopWindowTest::TearDown()
{
    program.reset();
    if (presenter)
        presenter->PullNow();
    presenter.reset();
    if (serviceInstalled)
        SetDialogService(previous);
}

bool DesktopWindowTest::Shown() const
{
    QWidget* window = presenter->WidgetFor(mainWindow);
    return window && window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}
