// The round trip of a message sent to a window owned by another thread (SendMessageW blocks until
// that thread's GetMessageW loop has run the window procedure and the answer is back), in
// microseconds, against the bare round trip of a mutex and condition-variable hand-off between two
// threads measured in the same run.
//   cross_thread_send_bench [ROUND_TRIPS]   default 20,000 per batch, five batches, median shown
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr UINT kEcho = WM_USER + 1;
constexpr UINT kQuit = WM_USER + 2;
constexpr int kBatches = 5;

LRESULT EchoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kEcho)
        return static_cast<LRESULT>(wParam + 1);
    if (message == kQuit) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MicrosecondsPer(Clock::duration total, int count)
{
    return std::chrono::duration<double, std::micro>(total).count() / count;
}

// Microseconds per round trip of a sent message, one batch.
double SendBatch(HWND window, int roundTrips)
{
    const auto start = Clock::now();
    for (int i = 0; i < roundTrips; ++i) {
        if (SendMessageW(window, kEcho, static_cast<WPARAM>(i), 0) != i + 1) {
            std::fprintf(stderr, "wrong answer\n");
            std::exit(1);
        }
    }
    return MicrosecondsPer(Clock::now() - start, roundTrips);
}

// The same exchange with nothing but a mutex and a condition variable.
double HandOffBatch(int roundTrips)
{
    std::mutex mutex;
    std::condition_variable changed;
    int request = 0;
    int answer = 0;
    std::thread peer([&] {
        std::unique_lock lock(mutex);
        for (int i = 1; i <= roundTrips; ++i) {
            changed.wait(lock, [&] { return request == i; });
            answer = i;
            changed.notify_all();
        }
    });
    const auto start = Clock::now();
    {
        std::unique_lock lock(mutex);
        for (int i = 1; i <= roundTrips; ++i) {
            request = i;
            changed.notify_all();
            changed.wait(lock, [&] { return answer == i; });
        }
    }
    const double result = MicrosecondsPer(Clock::now() - start, roundTrips);
    peer.join();
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const int roundTrips = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = EchoProc;
    cls.lpszClassName = u"CrossThreadSendBenchEcho";
    if (!RegisterClassExW(&cls))
        return 1;

    std::atomic<HWND> window{nullptr};
    std::thread owner([&] {
        window = CreateWindowExW(0, cls.lpszClassName, u"echo", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        DestroyWindow(window);
    });
    while (!window.load())
        std::this_thread::yield();

    SendBatch(window, 1000);  // warm-up
    HandOffBatch(1000);
    std::vector<double> sends, handOffs;
    for (int batch = 0; batch < kBatches; ++batch) {
        sends.push_back(SendBatch(window, roundTrips));
        handOffs.push_back(HandOffBatch(roundTrips));
    }
    SendMessageW(window, kQuit, 0, 0);
    owner.join();

    const double send = Median(sends);
    const double handOff = Median(handOffs);
    std::printf("sent message round trip:      %7.2f us (median of %d batches of %d)\n", send, kBatches, roundTrips);
    std::printf("condition-variable hand-off:  %7.2f us\n", handOff);
    std::printf("ratio send/hand-off:          %7.2f\n", send / handOff);
    return 0;
}
