// How long the window thread keeps a posted message waiting while the main window imports a
// generated tree of 100,000 snapshots (30% repeating a plate). The main window runs in this process
// as tabrix-batch runs it: made by the start-up class, its folder picker answered by the scripted
// dialog service, "浏览目录" clicked with the mouse, and the loop pumped until the import's worker has
// ended. Meanwhile a probe thread posts, about every millisecond, a message carrying its post time
// to a hidden window of the window thread; the window's procedure notes how long each one waited.
// Prints the longest wait with the median and the 99th percentile (aim: longest at most 50 ms);
// the exit status is nonzero only when the import went wrong, never for a timing.
//   batch_queue_wait_bench [FILES]   default 100000; the tree goes under $TMPDIR or /tmp
#include "app/batch/BatchDriver.h"
#include "app/rg_startup_class.h"
#include "bench/PlateTree.h"
#include "platform/controls/ControlClasses.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "runtime/Unicode.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr UINT kProbe = WM_APP + 17;

int64_t Now() { return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count(); }

std::vector<int64_t> g_waits;  // nanoseconds, window thread only

LRESULT ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe) {
        g_waits.push_back(Now() - static_cast<int64_t>(lParam));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool Idle(const rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1& clock)
{
    return clock.GetRunning() == 0 && !clock.IsLoopAlive();
}

// The window thread's loop while the worker runs, as the tests pump it.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return PumpMessagesUntil(done, timeoutMs, 1);
}

double Ms(int64_t nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

}  // namespace

int main(int argc, char** argv)
{
    const long files = argc > 1 ? std::atol(argv[1]) : 100000;
    if (files <= 0) {
        std::fprintf(stderr, "usage: batch_queue_wait_bench [FILES]\n");
        return 2;
    }
    const std::string root = bench::MakeScratchFolder("tabrix-queue-wait-bench");
    bench::PlateTree tree;
    try {
        tree = bench::MakePlateTree(root, files, root + "/table.tsv");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        bench::RemoveTree(root);
        return 1;
    }

    auto dialogs = std::make_shared<ScriptedDialogs>();
    SetDialogService(dialogs);
    // What the application object does at start for every program with controls.
    INITCOMMONCONTROLSEX controls{8, 0xFF};
    InitCommonControlsEx(&controls);
    auto program = std::make_unique<rg_quarn_app::rg_startup_class>();
    program->RunProgram();
    rg_quarn_app::rg_my_main_window& window = program->mainWindow;

    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = ProbeProc;
    cls.lpszClassName = u"BatchQueueWaitProbe";
    RegisterClassExW(&cls);
    HWND probe = CreateWindowExW(0, cls.lpszClassName, u"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (!window.NativeExists() || !probe) {
        std::fprintf(stderr, "the main window or the probe window could not be made\n");
        bench::RemoveTree(root);
        return 1;
    }
    g_waits.reserve(1 << 20);

    std::atomic<bool> probing{true};
    std::atomic<long> posted{0};
    std::thread poster([&] {
        while (probing.load()) {
            if (PostMessageW(probe, kProbe, 0, static_cast<LPARAM>(Now())))
                posted.fetch_add(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    dialogs->QueueFolder(Utf8ToUtf16(tree.images));
    const auto start = Clock::now();
    tabrix_batch::ClickControl(window.AnNiu1);
    PumpUntil([&] { return Idle(window.DaoRuShiZhong); }, 600000);
    const double importSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    const bool ended = Idle(window.DaoRuShiZhong);
    probing.store(false);
    poster.join();
    PumpUntil([&] { return static_cast<long>(g_waits.size()) >= posted.load(); }, 2000);
    const long rows = window.BiaoGe2.GetRowCount() - 1;

    DestroyWindow(probe);
    program.reset();
    bench::RemoveTree(root);

    std::vector<int64_t> waits = g_waits;
    std::sort(waits.begin(), waits.end());
    std::printf("import of %ld files (%ld plates) in the main window: %.3f s, %ld rows\n", files,
                static_cast<long>(tree.plates), importSeconds, rows);
    if (!ended || rows != tree.plates || waits.empty()) {
        std::printf("the import %s with %ld rows, %zu probes dispatched\n", ended ? "ended" : "did not end", rows,
                    waits.size());
        return 1;
    }
    const int64_t longest = waits.back();
    std::printf("probes posted %ld, dispatched %zu\n", posted.load(), waits.size());
    std::printf("queue wait: median %.3f ms, 99th percentile %.3f ms, longest %.3f ms (aim <= 50 ms): %s\n",
                Ms(waits[waits.size() / 2]), Ms(waits[waits.size() * 99 / 100]), Ms(longest),
                longest <= 50'000'000 ? "met" : "missed");
    return 0;
}
