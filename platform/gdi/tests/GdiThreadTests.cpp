// Threads creating, selecting, drawing with and deleting objects at the same time.
#include "RecordingBackend.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace gdi_test;

TEST(GdiThreads, ConcurrentDrawingKeepsEveryContextApart)
{
    BackendScope backend;
    constexpr int kThreads = 4;
    constexpr int kRounds = 300;
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            HDC dc = CreateCompatibleDC(nullptr);
            for (int i = 0; i < kRounds; ++i) {
                HFONT font = CreateFontW(-(10 + t), 0, 0, 0, FW_NORMAL, 0, 0, 0, 1, 0, 0, 0, 0, u"");
                HGDIOBJ old = SelectObject(dc, font);
                HBRUSH brush = CreateSolidBrush(RGB(static_cast<BYTE>(t), 0, 0));
                RECT r{0, 0, 10, 10};
                if (!FillRect(dc, &r, brush) || DrawTextW(dc, u"abc", -1, &r, DT_SINGLELINE) <= 0)
                    ++failures[t];
                TEXTMETRICW tm{};
                GetTextMetricsW(dc, &tm);
                if (tm.tmHeight != (10 + t) + (10 + t + 2) / 4)
                    ++failures[t];
                SelectObject(dc, old);
                if (!DeleteObject(font) || !DeleteObject(brush))
                    ++failures[t];
                HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32, 1, 1);
                ImageList_Destroy(list);
            }
            DeleteDC(dc);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(failures[t], 0) << t;
    EXPECT_EQ(backend->fills.size(), static_cast<size_t>(kThreads * kRounds));
    for (const Fill& fill : backend->fills)
        EXPECT_LT(GetRValue(fill.colour), kThreads);
}

#include "platform/window/PresenterHook.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <atomic>

// A presenter reads drawing objects under the window core's lock while windows are drawn on: the
// drawing layer never takes the core's lock under its own, so neither waits for the other.
TEST(GdiThreads, APresenterReadsObjectsUnderTheCoresLockWhileWindowsAreDrawn)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"GdiPresenterRaceWindow";
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, u"", WS_POPUP, 0, 0, 200, 150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HBITMAP bitmap = CreateBitmapFromPixels(PixelBitmap(8, 8, 0xFF00FF00));
    SetWindowChangeWake([](void*) {}, nullptr);
    std::atomic<bool> stop{false};
    std::atomic<int> pulls{0};
    std::thread presenter([&] {
        while (!stop) {
            PullWindowChanges([&](const WindowChangeView&) {
                LOGFONTW log{};
                GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(log), &log);
                PixelBitmap pixels;
                GetBitmapPixels(bitmap, &pixels);
            });
            ++pulls;
        }
    });
    // Draw only once the presenter is pulling, so the two really overlap on a busy machine.
    while (pulls.load() == 0)
        std::this_thread::yield();
    for (int i = 0; i < 2000; ++i) {
        HDC dc = GetDC(window);
        RECT r{0, 0, 10, 10};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetWindowTextW(window, i % 2 ? u"a" : u"b");  // marks the window for the presenter
        ReleaseDC(window, dc);
    }
    stop = true;
    presenter.join();
    SetWindowChangeWake(nullptr, nullptr);
    EXPECT_GT(pulls.load(), 0);
    DestroyWindow(window);
    UnregisterClassW(wc.lpszClassName, nullptr);
    DeleteObject(bitmap);
}
