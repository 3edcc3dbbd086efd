// Controls used from other threads: sends run in order on the owner thread, presenter reads race
// nothing, reflection stays on its own thread.
#include "ControlTestSupport.h"

#include "platform/controls/EditControl.h"
#include "platform/controls/ProgressControl.h"
#include "platform/controls/Reflection.h"
#include "platform/controls/ToolbarControl.h"

#include <atomic>
#include <thread>

using namespace control_test;

namespace {

class ControlThreadTest : public ControlTest {};

TEST_F(ControlThreadTest, AWorkersSendsRunInOrderOnTheOwnerThread)
{
    HWND bar = CreateControl(PROGRESS_CLASSW, u"", 0, 1);
    HWND edit = CreateControl(WC_EDITW, u"", 0, 2, RECT{10, 50, 110, 70});
    DWORD owner = GetCurrentThreadId();
    std::vector<WPARAM> positions;
    std::atomic<int> foreign{0};
    Subclass recorder(bar, [&](UINT message, WPARAM wParam, LPARAM, LRESULT*) {
        if (message == PBM_SETPOS) {
            positions.push_back(wParam);
            if (GetCurrentThreadId() != owner)
                ++foreign;
        }
        return false;
    });
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (WPARAM i = 1; i <= 150; ++i)
            SendMessageW(bar, PBM_SETPOS, i, 0);
        SetWindowTextW(edit, u"正在读取数据");
        done = true;
    });
    bool finished = window_test::PumpUntil([&] { return done.load(); }, 20000);
    worker.join();
    ASSERT_TRUE(finished);
    ASSERT_EQ(positions.size(), 150u);
    for (size_t i = 0; i < positions.size(); ++i)
        EXPECT_EQ(positions[i], i + 1);
    EXPECT_EQ(foreign.load(), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 100);
    std::vector<UINT> codes = TakeCommandCodes();
    EXPECT_EQ(codes, (std::vector<UINT>{EN_UPDATE, EN_CHANGE}));
}

TEST_F(ControlThreadTest, APresenterReadsToolbarsAndSlotsWhileTheOwnerChangesThem)
{
    HWND toolbar = CreateControl(TOOLBARCLASSNAMEW, u"", 0, 3);
    HWND bar = CreateControl(PROGRESS_CLASSW, u"", 0, 4, RECT{10, 50, 110, 70});
    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    std::thread presenter([&] {
        ToolbarSnapshot snapshot;
        while (!stop) {
            if (GetToolbarSnapshot(toolbar, &snapshot) && snapshot.buttons.size() <= 2)
                ++reads;
            LONG_PTR pos = GetWindowLongPtrW(bar, PROGRESS_EXTRA_POS);
            if (pos < 0 || pos > 100)
                reads = -1000000;
        }
    });
    TBBUTTON buttons[2] = {};
    buttons[0].idCommand = 1;
    buttons[1].idCommand = 2;
    buttons[0].iString = buttons[1].iString = -1;
    for (int i = 0; i < 300; ++i) {
        SendMessageW(toolbar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(i % 120), 0);
        SendMessageW(toolbar, TB_DELETEBUTTON, 0, 0);
        SendMessageW(toolbar, TB_DELETEBUTTON, 0, 0);
    }
    stop = true;
    presenter.join();
    EXPECT_GE(reads.load(), 0);
}

TEST_F(ControlThreadTest, ReflectionOffersNothingToAChildOfAnotherThread)
{
    std::atomic<HWND> foreign{nullptr};
    std::atomic<bool> release{false};
    std::thread worker([&] {
        RegisterStandardControlClasses();
        foreign = CreateWindowExW(0, WC_BUTTONW, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        window_test::PumpUntil([&] { return release.load(); }, 20000);
        DestroyWindow(foreign);
    });
    ASSERT_TRUE(window_test::PumpUntil([&] { return foreign.load() != nullptr; }, 20000));
    LRESULT result = 0;
    EXPECT_FALSE(ReflectNotification(parent, WM_COMMAND, 0, reinterpret_cast<LPARAM>(foreign.load()), &result));
    release = true;
    worker.join();
}

}  // namespace
