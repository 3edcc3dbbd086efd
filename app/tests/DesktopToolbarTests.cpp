// The main window's toolbar on a display (an Xvfb of the tests' own; they skip without one): the
// mirror shows the toolbar's two pictures from its image list, their texts and the tooltip texts
// the core answers, and a separator between them; a click on a Qt tool button reaches the core's
// toolbar as a click at that button, so the toolbar hides and shows the panel as it does for a
// user, and a button the core disables or enables again follows after the next frame. Screenshots of
// each state go to the build folder's screenshots/.
#include "app/rg_startup_class.h"
#include "platform/controls/ControlClasses.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/gdi/ImageList.h"
#include "platform/presenter/DesktopPresenter.h"
#include "platform/presenter/ToolbarMirror.h"
#include "platform/presenter/tests/VirtualDisplay.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QImage>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

const bool g_desktopRegistered = (RegisterDesktopEnvironment(), true);

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    return PumpMessagesUntil(done, timeoutMs);
}

QImage ImageListPicture(HIMAGELIST list, int index)
{
    PixelBitmap picture;
    if (!ImageList_GetImagePixels(list, index, &picture))
        return QImage();
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), &picture.pixels[static_cast<size_t>(y) * picture.width],
                    static_cast<size_t>(picture.width) * sizeof(uint32_t));
    return image;
}

class DesktopToolbarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!XvfbInstalled())
            GTEST_SKIP() << "no Xvfb binary: install xvfb to run the desktop tests";
        ASSERT_TRUE(DesktopReady()) << "Xvfb did not start";
        dialogs = std::make_shared<ScriptedDialogs>();
        previous = SetDialogService(dialogs);
        presenter = std::make_unique<DesktopPresenter>();
        presenter->Attach();
        INITCOMMONCONTROLSEX controls{8, 0xFF};
        InitCommonControlsEx(&controls);
        program = std::make_unique<rg_quarn_app::rg_startup_class>();
        ASSERT_EQ(program->RunProgram(), 1);
        toolbar = program->mainWindow.GongJuTiao1.GetSafeHwnd();
        panel = program->mainWindow.ZuJianBuJuQi1.GetSafeHwnd();
        ASSERT_TRUE(PumpUntil([this] { return Mirror() && Mirror()->isVisible() && Mirror()->ButtonAt(2); }))
            << "the toolbar was not mirrored";
    }
    void TearDown() override
    {
        program.reset();
        if (presenter)
            presenter->PullNow();
        presenter.reset();
        if (dialogs)
            SetDialogService(previous);
    }

    ToolbarMirror* Mirror() const { return dynamic_cast<ToolbarMirror*>(presenter->WidgetFor(toolbar)); }
    bool PanelShown() const
    {
        QWidget* widget = presenter->WidgetFor(panel);
        return IsWindowVisible(panel) && widget && widget->isVisible();
    }
    bool PanelHidden() const
    {
        QWidget* widget = presenter->WidgetFor(panel);
        return !IsWindowVisible(panel) && widget && !widget->isVisible();
    }
    void SaveScreenshot(const char* name)
    {
        PumpUntil([] { return false; }, 200);  // a few frames, so that every widget has painted
        const fs::path file = fs::path(TABRIX_SCREENSHOTS) / name;
        fs::create_directories(file.parent_path());
        ASSERT_TRUE(presenter->WidgetFor(program->mainWindow.GetSafeHwnd())->grab().save(QString::fromStdString(file.string()), "PNG"));
        std::printf("screenshot: %s\n", file.string().c_str());
    }

    std::shared_ptr<ScriptedDialogs> dialogs;
    std::shared_ptr<DialogService> previous;
    std::unique_ptr<DesktopPresenter> presenter;
    std::unique_ptr<rg_quarn_app::rg_startup_class> program;
    HWND toolbar = nullptr;
    HWND panel = nullptr;
};

TEST_F(DesktopToolbarTest, TheToolbarShowsItsPicturesTextsAndTooltips)
{
    ToolbarMirror* mirror = Mirror();
    ASSERT_EQ(mirror->ButtonCount(), 3);
    EXPECT_EQ(mirror->ButtonAt(1), nullptr) << "the separator is no button";
    const QList<QFrame*> lines = mirror->findChildren<QFrame*>();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](QFrame* f) { return f->isVisible(); }), 1);

    ToolbarSnapshot snapshot;
    ASSERT_TRUE(GetToolbarSnapshot(toolbar, &snapshot));
    struct Expected {
        int index;
        const char* text;
        int image;
    };
    for (const Expected& e : {Expected{0, "导入数据", 0}, Expected{2, "表格比对", 1}}) {
        SCOPED_TRACE(e.text);
        QToolButton* button = mirror->ButtonAt(e.index);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(e.text));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(e.text));
        EXPECT_TRUE(button->isEnabled());
        const QImage expected = ImageListPicture(snapshot.images, e.image);
        ASSERT_FALSE(expected.isNull());
        const QImage shown = button->icon().pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(shown, expected) << "the picture is the image list's";
        const RECT& r = snapshot.buttons[static_cast<size_t>(e.index)].rect;
        EXPECT_EQ(button->geometry(), QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
    }
    EXPECT_NE(ImageListPicture(snapshot.images, 0), ImageListPicture(snapshot.images, 1)) << "two different pictures";
    SaveScreenshot("desktop-toolbar.png");
}

TEST_F(DesktopToolbarTest, ClicksOnTheToolButtonsHideAndShowThePanel)
{
    ASSERT_TRUE(PanelShown());
    Mirror()->ButtonAt(2)->click();
    EXPECT_TRUE(PumpUntil([this] { return PanelHidden(); })) << "表格比对 hides the panel";
    SaveScreenshot("desktop-toolbar-panel-hidden.png");
    Mirror()->ButtonAt(0)->click();
    EXPECT_TRUE(PumpUntil([this] { return PanelShown(); })) << "导入数据 shows it again";
    SaveScreenshot("desktop-toolbar-panel-shown.png");
}

TEST_F(DesktopToolbarTest, AButtonTheCoreDisablesIsDisabledOnTheDesktop)
{
    ToolbarSnapshot snapshot;
    ASSERT_TRUE(GetToolbarSnapshot(toolbar, &snapshot));
    const WPARAM command = static_cast<WPARAM>(snapshot.buttons[2].command);
    ASSERT_TRUE(SendMessageW(toolbar, TB_ENABLEBUTTON, command, FALSE));
    EXPECT_TRUE(PumpUntil([this] { return !Mirror()->ButtonAt(2)->isEnabled(); }));
    ASSERT_TRUE(SendMessageW(toolbar, TB_ENABLEBUTTON, command, TRUE));
    EXPECT_TRUE(PumpUntil([this] { return Mirror()->ButtonAt(2)->isEnabled(); }));
}

}  // namespace
