// The framework thread object exists on the user-interface thread only.
#include "platform/framework/FrameworkApp.h"
#include "platform/framework/PumpMessages.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <thread>

TEST(FrameworkThreads, WorkerThreadsHaveNoThreadObjectAndPumpNothing)
{
    CWinApp app;
    ASSERT_EQ(AfxGetThread(), &app);
    CWinThread* seen = &app;
    int32_t pumped = -1;
    bool stillQueued = false;
    std::thread worker([&] {
        PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
        PostQuitMessage(1);
        seen = AfxGetThread();
        pumped = PumpMessages();
        MSG msg;
        stillQueued = PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_USER;
    });
    worker.join();
    EXPECT_EQ(seen, nullptr);
    EXPECT_EQ(pumped, 0);
    EXPECT_TRUE(stillQueued);
    EXPECT_EQ(AfxGetApp(), &app);  // the application object stays the process's
}
