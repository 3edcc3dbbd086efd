// The desktop program's import and export of a generated tree of 100,000 snapshots (30% repeating a
// plate) on a virtual display of its own, against tabrix-batch on the same tree in the same run.
// In process, as tabrix runs: Qt on an Xvfb, the presenter attached, the desktop's own dialogs;
// "浏览目录" is clicked on its Qt button, the folder picker answered as soon as it is open, then
// "导出表格" clicked and the save dialog answered. A 1 ms Qt timer of the main thread notes every gap
// between two of its ticks: the longest one is the longest time the main thread's event loop did
// not get round to the desktop (aim: at most 50 ms). The import plus the export is compared with
// tabrix-batch's whole run, which does the same two (aim: at most 1.5 times).
// The exit status is nonzero only when the run went wrong (no Xvfb, wrong row count, no workbook),
// never for a timing.
//   desktop_import_bench [FILES]   default 100000; the tree goes under $TMPDIR or /tmp
#include "app/rg_startup_class.h"
#include "bench/PlateTree.h"
#include "platform/controls/ControlClasses.h"
#include "platform/presenter/DesktopDialogs.h"
#include "platform/presenter/DesktopPresenter.h"
#include "platform/presenter/tests/VirtualDisplay.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using SteadyClock = std::chrono::steady_clock;

double SecondsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return PumpMessagesUntil(done, timeoutMs);
}

bool Idle(const rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1& clock)
{
    return clock.GetRunning() == 0 && !clock.IsLoopAlive();
}

// tabrix-batch's wall time on the tree, or a negative value when it failed.
double RunBatch(const std::string& images, const std::string& workbook)
{
    std::fflush(stdout);  // the child must not write our buffered lines again
    const auto start = SteadyClock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(TABRIX_BATCH_EXE, TABRIX_BATCH_EXE, images.c_str(), workbook.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return SecondsSince(start);
}

// Gaps between the ticks of a 1 ms timer of the main thread.
class LoopGapProbe {
public:
    LoopGapProbe()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ >= 0)
                gaps_.push_back(now - last_);
            last_ = now;
        });
    }
    void Start()
    {
        gaps_.clear();
        last_ = -1;
        clock_.start();
        timer_.start();
    }
    void Stop() { timer_.stop(); }
    double LongestMs() const { return gaps_.empty() ? 0 : *std::max_element(gaps_.begin(), gaps_.end()) / 1e6; }
    double PercentileMs(double fraction) const
    {
        if (gaps_.empty())
            return 0;
        std::vector<qint64> sorted = gaps_;
        const size_t index = std::min(sorted.size() - 1, static_cast<size_t>(fraction * sorted.size()));
        std::nth_element(sorted.begin(), sorted.begin() + index, sorted.end());
        return sorted[index] / 1e6;
    }
    size_t Ticks() const { return gaps_.size(); }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = -1;
    std::vector<qint64> gaps_;
};

// Answers the file dialog of this name from a timer of the loop it runs in, as soon as it is open:
// the click that opens it returns only once it has closed.
void AnswerWhenOpen(const char* objectName, const std::string& path, SteadyClock::time_point* answeredAt)
{
    auto* poll = new QTimer();
    poll->setInterval(5);
    const QString name = QString::fromLatin1(objectName);
    const QString answer = QString::fromStdString(path);
    QObject::connect(poll, &QTimer::timeout, [poll, name, answer, answeredAt] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (!dialog || !dialog->isVisible() || dialog->objectName() != name)
                continue;
            poll->stop();
            poll->deleteLater();
            if (auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                nameBox->setText(answer);
            *answeredAt = SteadyClock::now();
            static_cast<QDialog*>(dialog)->accept();
            return;
        }
    });
    poll->start();
}

QPushButton* ButtonWithText(QWidget* window, const char* text)
{
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->text() == QString::fromUtf8(text))
            return button;
    return nullptr;
}

struct DesktopFigures {
    double importSeconds = -1;
    double exportSeconds = -1;
    int64_t rows = 0;
    double longestGapMs = 0, p99GapMs = 0, medianGapMs = 0;
    size_t ticks = 0;
    uint64_t pulls = 0;
};

bool RunDesktop(const std::string& images, const std::string& workbook, DesktopFigures& figures)
{
    SetDialogService(std::make_shared<DesktopDialogs>());
    DesktopPresenter presenter;
    presenter.Attach();
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    InitCommonControlsEx(&controls);
    auto program = std::make_unique<rg_quarn_app::rg_startup_class>();
    program->RunProgram();
    rg_quarn_app::rg_my_main_window& window = program->mainWindow;
    const HWND hwnd = window.GetSafeHwnd();
    const bool shown = PumpUntil([&] {
        QWidget* widget = presenter.WidgetFor(hwnd);
        return widget && widget->windowHandle() && widget->windowHandle()->isExposed();
    }, 20000);
    QPushButton* browse = shown ? ButtonWithText(presenter.WidgetFor(hwnd), "浏览目录") : nullptr;
    QPushButton* save = shown ? ButtonWithText(presenter.WidgetFor(hwnd), "导出表格") : nullptr;
    if (!browse || !save) {
        std::fprintf(stderr, "the main window was not shown with its buttons\n");
        return false;
    }

    LoopGapProbe probe;
    probe.Start();
    const uint64_t pullsBefore = presenter.PullCount();
    SteadyClock::time_point picked;
    AnswerWhenOpen(DesktopDialogs::kFolderPickerName, images, &picked);
    browse->click();
    const bool imported = PumpUntil([&] { return Idle(window.DaoRuShiZhong) && IsWindowEnabled(window.AnNiu2.GetSafeHwnd()); },
                                    600000);
    figures.importSeconds = SecondsSince(picked);
    figures.rows = window.BiaoGe2.GetRowCount();
    PumpUntil([&] { return save->isEnabled(); }, 5000);
    SteadyClock::time_point chosen;
    AnswerWhenOpen(DesktopDialogs::kSaveDialogName, workbook, &chosen);
    save->click();
    const bool exported = PumpUntil([&] { return Idle(window.DaoChuShiZhong) && IsWindowEnabled(window.AnNiu1.GetSafeHwnd()); },
                                    600000);
    figures.exportSeconds = SecondsSince(chosen);
    probe.Stop();
    figures.longestGapMs = probe.LongestMs();
    figures.p99GapMs = probe.PercentileMs(0.99);
    figures.medianGapMs = probe.PercentileMs(0.5);
    figures.ticks = probe.Ticks();
    figures.pulls = presenter.PullCount() - pullsBefore;

    program.reset();
    presenter.PullNow();
    return imported && exported && window.LastExportSucceeded();
}

}  // namespace

int main(int argc, char** argv)
{
    const int64_t files = argc > 1 ? std::atoll(argv[1]) : 100000;
    if (files <= 0) {
        std::fprintf(stderr, "usage: desktop_import_bench [FILES]\n");
        return 2;
    }
    if (!XvfbInstalled()) {
        std::fprintf(stderr, "no Xvfb: install xvfb\n");
        return 1;
    }
    std::string root;
    bench::PlateTree tree;
    try {
        root = bench::MakeScratchFolder("tabrix-desktop-bench");
        tree = bench::MakePlateTree(root, files, root + "/table.tsv");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::printf("tree: %ld files, %ld plates, %d folders\n", static_cast<long>(tree.files),
                static_cast<long>(tree.plates), tree.folders);

    const double batchSeconds = RunBatch(tree.images, root + "/batch.xls");
    VirtualDisplay display;
    if (batchSeconds < 0 || !display.Start()) {
        std::fprintf(stderr, batchSeconds < 0 ? "tabrix-batch failed\n" : "Xvfb did not start\n");
        bench::RemoveTree(root);
        return 1;
    }
    ::setenv("DISPLAY", display.Name().c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    auto qt = std::make_unique<QApplication>(qtArgc, qtArgv);

    DesktopFigures desktop;
    const bool ran = RunDesktop(tree.images, root + "/desktop.xls", desktop);
    const bool rowsRight = desktop.rows == tree.plates + 1;
    const double desktopSeconds = desktop.importSeconds + desktop.exportSeconds;
    std::printf("tabrix-batch (import and export): %.3f s\n", batchSeconds);
    std::printf("desktop: import %.3f s, export %.3f s, %ld rows (%s)\n", desktop.importSeconds,
                desktop.exportSeconds, static_cast<long>(desktop.rows), rowsRight ? "as expected" : "WRONG");
    std::printf("desktop / batch: %.3f (aim <= 1.5): %s\n", desktopSeconds / batchSeconds,
                desktopSeconds <= 1.5 * batchSeconds ? "met" : "missed");
    std::printf("main loop gaps over %zu ticks of a 1 ms timer: median %.3f ms, 99th percentile %.3f ms, "
                "longest %.3f ms (aim <= 50 ms): %s\n",
                desktop.ticks, desktop.medianGapMs, desktop.p99GapMs, desktop.longestGapMs,
                desktop.longestGapMs <= 50 ? "met" : "missed");
    std::printf("frames pulled by the presenter during the run: %lu\n", static_cast<unsigned long>(desktop.pulls));
    std::fflush(stdout);

    qt.reset();
    display.Stop();
    bench::RemoveTree(root);
    return ran && rowsRight ? 0 : 1;
}
