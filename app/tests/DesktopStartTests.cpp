// The main window on a display through the desktop presenter: the tests start their own Xvfb (and
// skip without one). In process, the window is mirrored as the desktop program does, and what a
// user sees first is checked: the title, the client size, the two buttons with the export one
// disabled; a click on the Qt button reaches the core as a click; the status line is centred in
// bold 15 points and follows the label's alignment, wrapping, colours and font. Then the real program runs on a
// display of its own, whose screen the test reads back. Screenshots go to the build folder's
// screenshots/.
#include "app/rg_startup_class.h"
#include "app/tests/DesktopTestSupport.h"
#include "platform/controls/ControlClasses.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/presenter/DesktopPresenter.h"
#include "platform/presenter/MirrorWidgets.h"
#include "platform/presenter/tests/VirtualDisplay.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QWindow>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

const bool g_desktopRegistered = (RegisterDesktopEnvironment(), true);

class DesktopStartTest : public DesktopWindowTest {
protected:
    std::shared_ptr<DialogService> MakeDialogs() override { return dialogs = std::make_shared<ScriptedDialogs>(); }

    std::shared_ptr<ScriptedDialogs> dialogs;
};

TEST_F(DesktopStartTest, TheMainWindowShowsItsTitleSizeAndButtonsAndIsCaptured)
{
    QWidget* window = Window();
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("kmw-Tabrix-20240821版"));
    EXPECT_EQ(window->size(), QSize(562, 547));
    QPushButton* browse = ButtonWithText(window, QString::fromUtf8("浏览目录"));
    QPushButton* exportButton = ButtonWithText(window, QString::fromUtf8("导出表格"));
    ASSERT_NE(browse, nullptr);
    ASSERT_NE(exportButton, nullptr);
    EXPECT_TRUE(browse->isEnabled());
    EXPECT_FALSE(exportButton->isEnabled());
    EXPECT_TRUE(browse->isVisible());

    // A few frames, so that every widget has painted before the capture.
    PumpUntil([] { return false; }, 200);
    const fs::path folder = TABRIX_SCREENSHOTS;
    fs::create_directories(folder);
    const fs::path file = folder / "desktop-start.png";
    ASSERT_TRUE(window->grab().save(QString::fromStdString(file.string()), "PNG"));
    EXPECT_GT(fs::file_size(file), 1000u);
    std::printf("screenshot: %s\n", file.string().c_str());
}

TEST_F(DesktopStartTest, AClickOnTheQtButtonReachesTheCoreAsAClick)
{
    QPushButton* browse = ButtonWithText(Window(), QString::fromUtf8("浏览目录"));
    ASSERT_NE(browse, nullptr);
    browse->click();
    // The scripted picker has no answer queued: it is asked once and cancelled.
    EXPECT_TRUE(PumpUntil([this] { return dialogs->FolderRequests().size() == 1; }, 5000));
}

// The grid is a table view: the start state's header row and widths, rows that a worker appends
// (the import's way) appearing in it, and a text typed into the view reaching the grid's cell.
TEST_F(DesktopStartTest, TheGridIsATableViewThatShowsNewRowsAndTakesTypedTexts)
{
    auto& grid = program->mainWindow.BiaoGe2;
    auto* view = qobject_cast<QTableView*>(presenter->WidgetFor(grid.GetSafeHwnd()));
    ASSERT_NE(view, nullptr) << "the grid is not mirrored as a table view";
    QAbstractItemModel* model = view->model();
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(view->horizontalHeader()->isVisible());
    EXPECT_EQ(model->rowCount(), 0);
    ASSERT_EQ(model->columnCount(), 5);
    const char16_t* header[] = {u"ID", u"车牌号", u"时间", u"车牌颜色", u"相机IP地址"};
    const int widths[] = {50, 120, 125, 70, 120};
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(model->headerData(col, Qt::Horizontal).toString(), QString::fromUtf16(header[col])) << col;
        EXPECT_EQ(view->horizontalHeader()->sectionSize(col), widths[col]) << col;
    }

    constexpr int kRows = 100000;
    std::thread worker([&grid] {
        for (int r = 1; r <= kRows; ++r) {
            const int32_t row = grid.AddRow(CWString(u"1"));
            grid.SetCellText(row, 1, CWString(u"京A12345"));
        }
    });
    QElapsedTimer clock;
    clock.start();
    const bool allRows = PumpUntil([model] { return model->rowCount() == kRows; }, 60000);
    worker.join();
    ASSERT_TRUE(allRows) << "the view shows " << model->rowCount() << " rows";
    std::printf("%d rows appeared in the view in %lld ms\n", kRows, static_cast<long long>(clock.elapsed()));
    EXPECT_EQ(model->data(model->index(kRows - 1, 1)).toString(), QString::fromUtf16(u"京A12345"));
    // Rows are laid out by one height, so the scroll range is the rows' count (per-item scrolling).
    view->scrollToBottom();
    EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
    EXPECT_GT(view->verticalScrollBar()->maximum(), kRows - 100);
    view->scrollToTop();
    EXPECT_EQ(view->verticalHeader()->defaultSectionSize(), 22);
    EXPECT_TRUE(view->showGrid());
    // The grid's focus row (row 0 is the header) is the view's current and selected row.
    grid.SetFocusCell(50, 2);
    EXPECT_TRUE(PumpUntil([view] { return view->currentIndex().row() == 49; }, 5000));
    EXPECT_TRUE(view->selectionModel()->isRowSelected(49, QModelIndex()));

    const QModelIndex cell = model->index(0, 1);
    view->setCurrentIndex(cell);
    view->edit(cell);
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr) << "the view opened no editor";
    editor->setText(QString::fromUtf16(u"京B99999"));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(editor, &press);
    EXPECT_TRUE(PumpUntil([&grid] { return grid.GetCellText(1, 1).View() == u"京B99999"; }, 5000))
        << "the typed text did not reach the grid";
    EXPECT_TRUE(PumpUntil([&] { return model->data(cell).toString() == QString::fromUtf16(u"京B99999"); }, 5000));

    PumpUntil([] { return false; }, 200);
    const fs::path file = fs::path(TABRIX_SCREENSHOTS) / "desktop-grid.png";
    fs::create_directories(file.parent_path());
    ASSERT_TRUE(Window()->grab().save(QString::fromStdString(file.string()), "PNG"));
    std::printf("screenshot: %s\n", file.string().c_str());
}

// The status line as an import or export shows it: centred both ways in bold 15 points over the grid,
// on the label's own background; then what the label is told afterwards, on its mirror.
TEST_F(DesktopStartTest, TheStatusLineIsCentredInBoldFifteenPointsAndFollowsTheLabel)
{
    auto& status = program->mainWindow.BiaoQian3;
    status.SetVisible(true);
    PaintedWindow* painted = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        painted = dynamic_cast<PaintedWindow*>(presenter->WidgetFor(status.GetSafeHwnd()));
        return painted && painted->isVisible();
    })) << "the status line is not shown";
    EXPECT_EQ(painted->Text(), QString::fromUtf8("正在导出表格，请稍后……"));
    EXPECT_TRUE(painted->font().bold());
    EXPECT_DOUBLE_EQ(painted->font().pointSizeF(), 15.0);
    EXPECT_EQ(painted->Look().alignment, Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_FALSE(painted->Look().wordWrap);
    EXPECT_TRUE(painted->Look().background.isValid()) << "the label fills its own background";
    const QPoint middle = painted->mapTo(Window(), painted->rect().center());
    EXPECT_EQ(Window()->childAt(middle), painted) << "the grid covers the status line";

    PumpUntil([] { return false; }, 200);
    const fs::path file = fs::path(TABRIX_SCREENSHOTS) / "desktop-status-line.png";
    fs::create_directories(file.parent_path());
    ASSERT_TRUE(Window()->grab().save(QString::fromStdString(file.string()), "PNG"));
    std::printf("screenshot: %s\n", file.string().c_str());

    // Told from another thread, as the import's worker tells it; its font is sent to this thread.
    std::atomic<bool> told{false};
    std::thread worker([&status, &told] {
        status.SetHorizontalAlign(2);
        status.SetWordWrap(true);
        status.SetTextColor(RGB(200, 0, 0));
        status.SetTransparent(true);
        status.SetFont(u"宋体, 12, 0, 1, 1");
        told = true;
    });
    const bool arrived = PumpUntil([&] { return told && painted->font().italic(); });
    worker.join();
    ASSERT_TRUE(arrived) << "the new font did not arrive";
    EXPECT_EQ(painted->Look().alignment, Qt::AlignRight | Qt::AlignTop) << "wrapped text starts at the top";
    EXPECT_TRUE(painted->Look().wordWrap);
    EXPECT_EQ(painted->Look().text, QColor(200, 0, 0));
    EXPECT_FALSE(painted->Look().background.isValid()) << "a transparent label shows what lies under it";
    const QFont font = painted->font();
    EXPECT_FALSE(font.bold());
    EXPECT_TRUE(font.underline());
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 12.0);
    EXPECT_EQ(QFontInfo(font).family().toStdString(), "Noto Serif CJK SC");
}

// The program itself on a display of its own: it must show its window (the centre of the screen
// turns from the black root window to the window's face) and keep running until it is ended.
TEST(DesktopProgramTest, TheProgramShowsItsWindowAndKeepsRunning)
{
    if (!XvfbInstalled())
        GTEST_SKIP() << "no Xvfb binary: install xvfb to run the desktop tests";
    const fs::path screenFolder = fs::temp_directory_path() / ("tabrix-desktop-" + std::to_string(::getpid()));
    fs::create_directories(screenFolder);
    VirtualDisplay display;
    ASSERT_TRUE(display.Start(screenFolder));
    const pid_t program = ::fork();
    if (program == 0) {
        ::setenv("DISPLAY", display.Name().c_str(), 1);
        ::unsetenv("WAYLAND_DISPLAY");
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ::execl(TABRIX_DESKTOP, TABRIX_DESKTOP, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(program, 0);
    // Most of a 5 x 5 grid of points around the centre must be light: the pointer, drawn into the
    // screen's image, sits right at the centre.
    auto windowFace = [&display] {
        const QImage screen = display.Screen();
        if (screen.isNull())
            return false;
        int light = 0;
        for (int dy = -100; dy <= 100; dy += 50)
            for (int dx = -100; dx <= 100; dx += 50)
                light += qGray(screen.pixel(screen.width() / 2 + dx, screen.height() / 2 + dy)) > 0xC0;
        return light >= 20;
    };
    const ULONGLONG end = GetTickCount64() + 20000;
    while (!windowFace() && GetTickCount64() < end)
        ::usleep(50000);
    EXPECT_TRUE(windowFace()) << "the window did not appear in the middle of the screen";
    int status = 0;
    EXPECT_EQ(::waitpid(program, &status, WNOHANG), 0) << "the program ended by itself";
    const fs::path file = fs::path(TABRIX_SCREENSHOTS) / "desktop-program.png";
    fs::create_directories(file.parent_path());
    EXPECT_TRUE(display.Screen().save(QString::fromStdString(file.string()), "PNG"));
    std::printf("screenshot: %s\n", file.string().c_str());
    ::kill(program, SIGTERM);
    ::waitpid(program, &status, 0);
    display.Stop();
    fs::remove_all(screenFolder);
}

}  // namespace
