// Idle tasks, component start, process exit and the debugger test.
#include "platform/framework/Com.h"
#include "platform/framework/IdleTasks.h"
#include "platform/framework/ProcessControl.h"

#include <gtest/gtest.h>

#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(IdleTasks, RunInOrderKeepWhatAsksAndAreDiscarded)
{
    std::vector<std::string> ran;
    PostIdleTask([&](int32_t n) {
        ran.push_back("once " + std::to_string(n));
        return false;
    });
    PostIdleTask([&](int32_t n) {
        ran.push_back("again " + std::to_string(n));
        PostIdleTask([&](int32_t) {
            ran.push_back("posted meanwhile");
            return false;
        });
        return true;
    });
    PostIdleTask(nullptr);  // nothing to run: not queued
    EXPECT_EQ(PendingIdleTaskCount(), 2u);
    EXPECT_EQ(RunIdleTasks(2), 2u);  // the kept task, then the one posted while it ran
    EXPECT_EQ(ran, (std::vector<std::string>{"once 2", "again 2"}));
    ran.clear();
    RunIdleTasks(3);
    EXPECT_EQ(ran, (std::vector<std::string>{"again 3", "posted meanwhile"}));
    DiscardIdleTasks();
    EXPECT_EQ(PendingIdleTaskCount(), 0u);
}

TEST(Com, InitialisationIsCountedPerThreadAndMode)
{
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    OleUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
}

TEST(Debugger, TracerPidDecides)
{
    struct Case {
        const char* status;
        bool traced;
    };
    const Case cases[] = {
        {"Name:\tx\nTracerPid:\t0\nUid:\t0\n", false},
        {"Name:\tx\nTracerPid:\t4711\n", true},
        {"TracerPid:  12", true},
        {"Name:\tx\n", false},
        {"XTracerPid:\t9\nTracerPid:\t0\n", false},  // only a line's own key counts
        {"TracerPid:\t\n", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StatusShowsTracer(c.status), c.traced) << c.status;
}

TEST(Debugger, AProcessTracedByItsParentSeesItsDebugger)
{
    EXPECT_FALSE(IsDebuggerPresent());  // the tests do not run under a debugger
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            _exit(2);  // tracing is not allowed here
        _exit(IsDebuggerPresent() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "ptrace is not permitted in this environment";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(ExitProcess, FlushesOutputAndEndsWithTheLowByte)
{
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(pipeEnds[1], 1);
        std::printf("buffered, no newline");
        ExitProcess(static_cast<UINT>(-1));
    }
    close(pipeEnds[1]);
    std::string out;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255);
    EXPECT_EQ(out, "buffered, no newline");
}

#if defined(TABRIX_ASAN)
// Allocates a block and drops the only pointer to it; the frame is gone by the time of the check.
__attribute__((noinline)) void LoseABlock()
{
    volatile char* lost = new char[4096];
    lost[0] = 1;
}

[[noreturn]] void LoseABlockAndExit()
{
    LoseABlock();
    ExitProcess(0);
}

TEST(ExitProcessDeathTest, WithLeakSanitizerALeakReplacesTheStatusAndIsReported)
{
    EXPECT_EXIT(LoseABlockAndExit(), ::testing::ExitedWithCode(kLeakExitStatus),
                "LeakSanitizer: detected memory leaks.*4096 byte");
}
#endif

}  // namespace
