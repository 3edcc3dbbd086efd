// The main window's toolbar on a display (an Xvfb of the tests' own; they skip without one): the
// mirror shows the toolbar's two pictures from its image list, their texts and the tooltip texts
// the core answers, and a separator between them; a click on a Qt tool button reaches the core's
// toolbar as a click at that button, so the toolbar hides and shows the panel as it does for a
// user, and a button the core disables or enables again follows after the next frame. Screenshots of
// each state go to the build folder's screenshots/.
#include "app/rg_startup_class.h"
#include "app/tests/DesktopTestSupport.h"
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

class DesktopToolbarTest : public DesktopWindowTest {
protected:
    std::shared_ptr<DialogService> MakeDialogs() override { return dialogs = std::make_shared<ScriptedDialogs>(); }

    void SetUp() override
    {
        DesktopWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        toolbar = program->mainWindow.GongJuTiao1.GetSafeHwnd();
        panel = program->mainWindow.ZuJianBuJuQi1.GetSafeHwnd();
        ASSERT_TRUE(PumpUntil([this] { return Mirror() && Mirror()->isVisible() && Mirror()->ButtonAt(2); }))
            << "the toolbar was not mirrored";
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
    void SaveScreenshot(const char* name) { ::SaveScreenshot(Window(), name); }

    std::shared_ptr<ScriptedDialogs> dialogs;
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
