#pragma once
// What the desktop test programs share: the main window made by the start-up class on the test
// program's virtual display, mirrored by an attached presenter, with the dialog service a fixture
// chooses; the window thread's loop; finding a button; a screenshot into the build's screenshots/.
// Thread safety: the test's main thread only.
#include "app/rg_startup_class.h"
#include "platform/dialogs/DialogService.h"
#include "platform/presenter/DesktopPresenter.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QString>

#include <functional>
#include <memory>

// Runs the window thread's loop (the presenter's wait serves Qt meanwhile) until done or the time.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000);

QPushButton* ButtonWithText(QWidget* parent, const QString& text);

// Lets a few frames paint, then saves the widget's picture as screenshots/NAME (a PNG).
void SaveScreenshot(QWidget* widget, const char* name);

class DesktopWindowTest : public ::testing::Test {
protected:
    // The service the window's dialogs go to while the test runs.
    virtual std::shared_ptr<DialogService> MakeDialogs() = 0;

    // Skips without Xvfb; otherwise the main window is running and exposed on the display.
    void SetUp() override;
    void TearDown() override;

    QWidget* Window() const { return presenter->WidgetFor(mainWindow); }
    bool Shown() const;

    std::shared_ptr<DialogService> previous;
    std::unique_ptr<DesktopPresenter> presenter;
    std::unique_ptr<rg_quarn_app::rg_startup_class> program;
    HWND mainWindow = nullptr;
    bool serviceInstalled = false;
};
