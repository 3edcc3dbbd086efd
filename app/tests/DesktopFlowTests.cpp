// The main window's work on a display, with the desktop's own dialogs: the folder picker and the
// save dialog are Qt's file dialogs, answered here as a user would (a path chosen, then accepted),
// and the self-closing error box is the worker's own box window, mirrored and clicked. Each test
// saves a screenshot of what the user sees into the build folder's screenshots/.
#include "app/rg_my_main_window.h"
#include "app/rg_startup_class.h"
#include "app/tests/DesktopTestSupport.h"
#include "bench/PlateTree.h"
#include "runtime/Unicode.h"
#include "platform/controls/ControlClasses.h"
#include "platform/presenter/DesktopDialogs.h"
#include "platform/presenter/DesktopPresenter.h"
#include "platform/presenter/MirrorWidgets.h"
#include "platform/presenter/tests/VirtualDisplay.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QWindow>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const bool g_desktopRegistered = (RegisterDesktopEnvironment(), true);

// Types a file name into a save dialog: its folder, then the name.
void ChooseFile(QFileDialog* dialog, const fs::path& file)
{
    auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(nameBox, nullptr) << "the save dialog has no file name box";
    nameBox->setText(QString::fromStdString(file.string()));
}

// The dialog's own accept, as its Save or Choose button runs it (public through QDialog).
void Accept(QFileDialog* dialog) { static_cast<QDialog*>(dialog)->accept(); }

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// The visible top-level widget with this object name or title, null while there is none.
QWidget* OpenTopLevel(const QString& objectName, const QString& title = QString())
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() &&
            ((!objectName.isEmpty() && widget->objectName() == objectName) ||
             (!title.isEmpty() && widget->windowTitle() == title)))
            return widget;
    return nullptr;
}

// The painted stand-ins under a widget (they have no meta-object of their own, so findChildren
// cannot tell them apart).
std::vector<PaintedWindow*> PaintedChildren(QWidget* parent)
{
    std::vector<PaintedWindow*> painted;
    for (QWidget* child : parent->findChildren<QWidget*>())
        if (auto* one = dynamic_cast<PaintedWindow*>(child))
            painted.push_back(one);
    return painted;
}

// The workbook as an independent reader sees it: one line per row, cells joined by "|".
std::vector<std::string> ReadBack(const fs::path& workbook)
{
    const std::string command = "/usr/bin/python3 -c \"import sys, xlrd\n"
                                "book = xlrd.open_workbook(sys.argv[1])\n"
                                "for sheet in book.sheets():\n"
                                "    for r in range(sheet.nrows): print('|'.join(str(v) for v in sheet.row_values(r)))\" '" +
                                workbook.string() + "'";
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return lines;
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, pipe)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        lines.push_back(line);
    }
    pclose(pipe);
    return lines;
}

class DesktopFlowTest : public DesktopWindowTest {
protected:
    std::shared_ptr<DialogService> MakeDialogs() override { return std::make_shared<DesktopDialogs>(); }

    void SetUp() override
    {
        scratch = fs::temp_directory_path() / ("tabrix-flow-" + std::to_string(::getpid()));
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        DesktopWindowTest::SetUp();
    }
    void TearDown() override
    {
        DesktopWindowTest::TearDown();
        fs::remove_all(scratch);
    }

    rg_quarn_app::rg_my_main_window& Main() { return program->mainWindow; }

    // Clicks the main window's button with this text as the user does.
    void Click(const char* text)
    {
        QPushButton* button = ButtonWithText(Window(), Q(text));
        ASSERT_NE(button, nullptr) << text;
        // The mirror follows the core at the next frame.
        ASSERT_TRUE(PumpUntil([button] { return button->isEnabled(); }, 3000)) << text;
        button->click();
    }

    // The click that opens a dialog on the window thread returns only once the dialog has closed
    // (its modal loop runs inside), so the dialog is answered from a timer of that loop, as soon as
    // it is open. ran tells whether the answer ran.
    static void WhenOpen(const char* objectName, std::function<void(QFileDialog*)> answer, bool* ran)
    {
        auto* poll = new QTimer();
        poll->setInterval(20);
        const QString name = QString::fromLatin1(objectName);
        QObject::connect(poll, &QTimer::timeout, [poll, name, answer, ran] {
            auto* dialog = qobject_cast<QFileDialog*>(OpenTopLevel(name));
            if (!dialog)
                return;
            poll->stop();
            poll->deleteLater();
            *ran = true;
            answer(dialog);
        });
        poll->start();
    }

    // Picks the folder in the desktop's picker.
    void PickFolder(const fs::path& folder)
    {
        bool answered = false;
        WhenOpen(DesktopDialogs::kFolderPickerName, [folder](QFileDialog* picker) {
            EXPECT_TRUE(picker->isModal());
            picker->selectFile(QString::fromStdString(folder.string()));
            Accept(picker);
        }, &answered);
        Click("浏览目录");
        ASSERT_TRUE(answered) << "the folder picker did not open";
    }

    bool WorkerIdle(const rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1& clock) const
    {
        return clock.GetRunning() == 0 && !clock.IsLoopAlive();
    }

    // Picks the folder and waits for the import to end.
    void ImportWithPicker(const fs::path& folder)
    {
        PickFolder(folder);
        ASSERT_TRUE(PumpUntil([this] { return WorkerIdle(Main().DaoRuShiZhong) && IsWindowEnabled(Main().AnNiu1.GetSafeHwnd()); }))
            << "the import did not end";
    }

    fs::path scratch;
};

TEST_F(DesktopFlowTest, ThePickedFolderIsImportedAndItsRowsAppear)
{
    ImportWithPicker(TABRIX_SAMPLES);
    EXPECT_EQ(Main().BiaoGe2.GetRowCount(), 16) << "a header row and the sample tree's fifteen plates";
    // The mirror shows it at the next frame.
    auto folderShown = [this] {
        for (QLineEdit* edit : Window()->findChildren<QLineEdit*>())
            if (edit->text() == QString::fromStdString(TABRIX_SAMPLES))
                return true;
        return false;
    };
    EXPECT_TRUE(PumpUntil(folderShown, 3000)) << "the picked folder is shown in its edit box";
    QPushButton* exportButton = ButtonWithText(Window(), Q("导出表格"));
    ASSERT_NE(exportButton, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return exportButton->isEnabled(); }, 2000));
    SaveScreenshot(Window(), "desktop-imported.png");

    // A row the user picks in the view becomes the grid's focus row.
    auto* view = qobject_cast<QTableView*>(presenter->WidgetFor(Main().BiaoGe2.GetSafeHwnd()));
    ASSERT_NE(view, nullptr);
    view->setCurrentIndex(view->model()->index(4, 1));
    EXPECT_TRUE(PumpUntil([this] { return Main().BiaoGe2.GetFocusCell().row == 5; }, 3000))
        << "the grid's focus row did not follow the view";
}

// While the worker folds a bigger tree, the status line over the grid counts the files left down,
// as the user sees it: the texts are read from the mirror, frame by frame.
TEST_F(DesktopFlowTest, TheStatusLineCountsTheFilesDownDuringAnImport)
{
    fs::create_directories(scratch / "tree");
    const bench::PlateTree tree = bench::MakePlateTree((scratch / "tree").string(), 20000, (scratch / "table.tsv").string());
    const QString prefix = Q("正在获取数据，请勿操作，剩余数据：");
    std::vector<long> counts;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (PaintedWindow* painted : PaintedChildren(Window())) {
            const QString& text = painted->Text();
            if (!painted->isVisible() || !text.startsWith(prefix))
                continue;
            const long left = text.mid(prefix.size()).remove(Q("条")).trimmed().toLong();
            if (counts.empty() || counts.back() != left)
                counts.push_back(left);
        }
    });
    watch.start();
    ImportWithPicker(tree.images);
    watch.stop();
    EXPECT_EQ(Main().BiaoGe2.GetRowCount(), tree.plates + 1);
    ASSERT_GE(counts.size(), 3u) << "the status line was not seen counting";
    EXPECT_TRUE(std::is_sorted(counts.rbegin(), counts.rend())) << "the count went up";
    EXPECT_LE(counts.front(), tree.files);
    EXPECT_GT(counts.front(), counts.back());
}

TEST_F(DesktopFlowTest, TheSaveDialogTakesANewNameAndAsksBeforeReplacing)
{
    ImportWithPicker(TABRIX_SAMPLES);
    // A name that does not exist yet is taken as it is.
    const fs::path workbook = scratch / "新表格.xls";
    bool answered = false;
    WhenOpen(DesktopDialogs::kSaveDialogName, [&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->windowTitle(), Q("请选择保存位置"));
        EXPECT_EQ(dialog->nameFilters(), QStringList{Q("表格文件 (*.xls *.xlsx)")});
        EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(), Q("车辆信息.xls"));
        SaveScreenshot(dialog, "desktop-save-dialog.png");
        ChooseFile(dialog, workbook);
        Accept(dialog);
    }, &answered);
    Click("导出表格");
    ASSERT_TRUE(answered) << "the save dialog did not open";
    ASSERT_TRUE(PumpUntil([this] { return WorkerIdle(Main().DaoChuShiZhong); }));
    ASSERT_TRUE(Main().LastExportSucceeded());
    std::vector<std::string> lines = ReadBack(workbook);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "ID|车牌号|时间|车牌颜色|相机IP地址");

    // The same name again: the dialog asks first; "No" keeps the dialog open, "Yes" replaces.
    std::ofstream(workbook, std::ios::trunc) << "old";
    ASSERT_TRUE(PumpUntil([this] { return IsWindowEnabled(Main().AnNiu2.GetSafeHwnd()) != FALSE; }, 5000));
    const std::vector<QMessageBox::StandardButton> answers{QMessageBox::No, QMessageBox::Yes};
    int asked = 0;
    std::function<void()> answerQuestion = [&] {
        auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!question) {
            QTimer::singleShot(20, answerQuestion);
            return;
        }
        question->button(answers[asked++])->click();
    };
    answered = false;
    WhenOpen(DesktopDialogs::kSaveDialogName, [&](QFileDialog* dialog) {
        ChooseFile(dialog, workbook);
        QTimer::singleShot(20, answerQuestion);
        Accept(dialog);
        EXPECT_EQ(asked, 1);
        EXPECT_TRUE(dialog->isVisible()) << "after \"No\" the dialog stays open";
        EXPECT_EQ(fs::file_size(workbook), 3u);
        QTimer::singleShot(20, answerQuestion);
        Accept(dialog);
    }, &answered);
    Click("导出表格");
    ASSERT_TRUE(answered);
    EXPECT_EQ(asked, 2);
    ASSERT_TRUE(PumpUntil([this] { return WorkerIdle(Main().DaoChuShiZhong); }));
    EXPECT_TRUE(Main().LastExportSucceeded());
    EXPECT_EQ(ReadBack(workbook).size(), 16u);
}

TEST_F(DesktopFlowTest, AnEmptyFolderShowsTheWorkersCountdownBoxUntilItIsClicked)
{
    const fs::path empty = scratch / "empty";
    fs::create_directories(empty);
    PickFolder(empty);

    // Looked up afresh each time: the box's widget goes with the box.
    auto openBox = [] { return OpenTopLevel(QString(), Q("错误提醒：")); };
    ASSERT_TRUE(PumpUntil([&] { return openBox() != nullptr; }, 10000)) << "the error box did not appear";
    auto shows = [&](const char* text) {
        QWidget* box = openBox();
        if (!box)
            return false;
        for (PaintedWindow* painted : PaintedChildren(box))
            if (painted->Text().contains(Q(text)))
                return true;
        return false;
    };
    EXPECT_TRUE(PumpUntil([&] { return shows("目录为空"); }, 2000));
    EXPECT_TRUE(PumpUntil([&] { return shows("【 4 】秒"); }, 3000)) << "the count did not fall";
    QWidget* box = openBox();
    ASSERT_NE(box, nullptr) << "the box closed before it was clicked";
    const std::vector<PaintedWindow*> painted = PaintedChildren(box);
    EXPECT_TRUE(std::any_of(painted.begin(), painted.end(), [](PaintedWindow* one) { return one->HasIcon(); }))
        << "the box shows its error icon";
    SaveScreenshot(box, "desktop-countdown.png");

    box = openBox();
    ASSERT_NE(box, nullptr);
    QPushButton* ok = ButtonWithText(box, Q("确定"));
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_TRUE(PumpUntil([] { return OpenTopLevel(QString(), Q("错误提醒：")) == nullptr; }, 3000))
        << "the click did not close the box";
    EXPECT_TRUE(PumpUntil([this] { return IsWindowEnabled(Main().AnNiu1.GetSafeHwnd()) != FALSE; }, 3000));
}

// The user sizes the window on the desktop: a window with a sizing frame takes the new client size
// in the core (its controls keep their places), one without keeps its size.
TEST_F(DesktopFlowTest, ResizingOnTheDesktopReachesTheCoreWhenTheWindowHasASizingFrame)
{
    QWidget* window = Window();
    const bool sizable = (GetWindowLongPtrW(mainWindow, GWL_STYLE) & WS_THICKFRAME) != 0;
    window->resize(700, 620);
    PumpUntil([] { return false; }, 200);
    RECT client{};
    GetClientRect(mainWindow, &client);
    if (sizable) {
        EXPECT_EQ(client.right, 700);
        EXPECT_EQ(client.bottom, 620);
        EXPECT_EQ(window->size(), QSize(700, 620));
    } else {
        EXPECT_EQ(client.right, 562);
        EXPECT_EQ(client.bottom, 547);
        EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "a window without a sizing frame is fixed";
    }
    QPushButton* browse = ButtonWithText(window, Q("浏览目录"));
    ASSERT_NE(browse, nullptr);
    EXPECT_TRUE(window->rect().contains(browse->geometry()));
    SaveScreenshot(window, "desktop-resized.png");
}

// Closing the window, as the desktop's close button does, ends the process with status 0 at once,
// also while an import is running. Each case runs in a child process of its own.
TEST_F(DesktopFlowTest, ClosingTheWindowEndsTheProcessWithZeroAlsoDuringAnImport)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Window()->close();
            PumpUntil([] { return false; }, 10000);
            std::_Exit(3);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            fs::create_directories(scratch / "big");
            const bench::PlateTree tree = bench::MakePlateTree((scratch / "big").string(), 20000, (scratch / "table.tsv").string());
            PickFolder(tree.images);
            PumpUntil([this] { return Main().BiaoGe2.GetRowCount() > 100; }, 10000);
            if (Main().DaoRuShiZhong.GetRunning() == 0)
                std::_Exit(4);  // the import had ended: not the case this checks
            Window()->close();
            PumpUntil([] { return false; }, 10000);
            std::_Exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

// On a screen with twice the pixels per inch the desktop scales the window by two: the sizes the
// window core works in are logical pixels, so the 562 x 547 client area covers 1124 x 1094 screen
// pixels and nothing inside it overlaps. The real program, on a large display of its own.
TEST(DesktopScalingTest, TheWindowScalesWithTheDesktopsScaleFactor)
{
    if (!XvfbInstalled())
        GTEST_SKIP() << "no Xvfb binary: install xvfb to run the desktop tests";
    const fs::path screenFolder = fs::temp_directory_path() / ("tabrix-scaled-" + std::to_string(::getpid()));
    fs::create_directories(screenFolder);
    VirtualDisplay display;
    ASSERT_TRUE(display.Start(screenFolder, "2560x1600x24"));
    const pid_t program = ::fork();
    if (program == 0) {
        ::setenv("DISPLAY", display.Name().c_str(), 1);
        ::unsetenv("WAYLAND_DISPLAY");
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ::setenv("QT_SCALE_FACTOR", "2", 1);
        ::execl(TABRIX_DESKTOP, TABRIX_DESKTOP, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(program, 0);
    // The window's extent along the screen's middle row and column: the root window is black.
    auto light = [](const QImage& screen, int x, int y) { return qGray(screen.pixel(x, y)) > 0x80; };
    auto extent = [&](const QImage& screen, bool across) {
        const int length = across ? screen.width() : screen.height();
        int first = -1, last = -1;
        for (int i = 0; i < length; ++i) {
            const bool on = across ? light(screen, i, screen.height() / 2) : light(screen, screen.width() / 2 + 200, i);
            if (on && first < 0)
                first = i;
            if (on)
                last = i;
        }
        return first < 0 ? 0 : last - first + 1;
    };
    QImage screen;
    const ULONGLONG end = GetTickCount64() + 20000;
    while (GetTickCount64() < end) {
        screen = display.Screen();
        if (!screen.isNull() && extent(screen, true) > 1000)
            break;
        ::usleep(100000);
    }
    ::usleep(500000);  // the window's face finishes painting
    screen = display.Screen();
    ASSERT_FALSE(screen.isNull());
    EXPECT_NEAR(extent(screen, true), 1124, 4) << "the window's width on the screen";
    EXPECT_NEAR(extent(screen, false), 1094, 4) << "the window's height on the screen";
    const fs::path file = fs::path(TABRIX_SCREENSHOTS) / "desktop-scaled-2x.png";
    fs::create_directories(file.parent_path());
    EXPECT_TRUE(screen.save(QString::fromStdString(file.string()), "PNG"));
    std::printf("screenshot: %s\n", file.string().c_str());
    int status = 0;
    ::kill(program, SIGTERM);
    ::waitpid(program, &status, 0);
    display.Stop();
    fs::remove_all(screenFolder);
}

// The program on a Wayland compositor: Weston's headless backend, in a runtime folder of its own.
// Qt is held to its Wayland platform, so a missing Wayland plugin ends the program at once with
// the program's own message (status 1) instead of passing unnoticed through X11.
TEST(DesktopWaylandTest, TheProgramRunsOnAWaylandCompositor)
{
    if (std::system("command -v weston >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no weston: install weston to run the Wayland test";
    const fs::path runtime = fs::temp_directory_path() / ("tabrix-wayland-" + std::to_string(::getpid()));
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    const std::string socket = "wayland-tabrix-" + std::to_string(::getpid());
    const pid_t compositor = ::fork();
    if (compositor == 0) {
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            ::_exit(126);
        const std::string socketOption = "--socket=" + socket;
        ::execlp("weston", "weston", "--backend=headless-backend.so", socketOption.c_str(), "--idle-time=0",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(compositor, 0);
    const ULONGLONG ready = GetTickCount64() + 10000;
    while (!fs::exists(runtime / socket) && GetTickCount64() < ready)
        ::usleep(50000);
    if (!fs::exists(runtime / socket)) {
        ::kill(compositor, SIGTERM);
        ::waitpid(compositor, nullptr, 0);
        fs::remove_all(runtime);
        GTEST_SKIP() << "weston did not start here";
    }

    const fs::path errors = runtime / "tabrix.err";
    const pid_t program = ::fork();
    if (program == 0) {
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("WAYLAND_DISPLAY", socket.c_str(), 1);
        ::unsetenv("DISPLAY");
        ::setenv("QT_QPA_PLATFORM", "wayland", 1);
        if (!std::freopen(errors.c_str(), "w", stderr))
            ::_exit(126);
        ::execl(TABRIX_DESKTOP, TABRIX_DESKTOP, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(program, 0);
    int status = 0;
    pid_t ended = 0;
    const ULONGLONG end = GetTickCount64() + 3000;
    while ((ended = ::waitpid(program, &status, WNOHANG)) == 0 && GetTickCount64() < end)
        ::usleep(50000);
    std::ifstream in(errors);
    const std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(ended, 0) << "the program ended on the compositor with status " << WEXITSTATUS(status) << ": " << said;
    if (ended == 0) {
        ::kill(program, SIGTERM);
        ::waitpid(program, &status, 0);
    }
    ::kill(compositor, SIGTERM);
    ::waitpid(compositor, nullptr, 0);
    fs::remove_all(runtime);
}

}  // namespace
