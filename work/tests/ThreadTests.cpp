#include "work/Thread.h"

#include "WorkTestSupport.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "runtime/CQrnStream.h"

#include <atomic>

using namespace work_test;
using rg_quarn_Tolvar::rg_XianChengLei_n;

namespace {

struct Seen {
    std::atomic<CQrnObject*> sender{nullptr};
    std::atomic<int64_t> param{0};
    std::atomic<uint32_t> userValue{0};
    std::atomic<DWORD> thread{0};
    std::atomic<int> calls{0};
};
Seen g_seen;

struct RecordingOwner : Owner {};

int32_t RecordRoutine(CQrnObject*, CQrnObject* sender, uint32_t userValue, int64_t param)
{
    g_seen.sender = sender;
    g_seen.param = param;
    g_seen.userValue = userValue;
    g_seen.thread = GetCurrentThreadId();
    ++g_seen.calls;
    return 41;
}

int32_t NeverCalled(CQrnObject*, CQrnObject*, uint32_t, int64_t)
{
    ++g_seen.calls;
    return 99;
}

void ResetSeen()
{
    g_seen.sender = nullptr;
    g_seen.param = 0;
    g_seen.userValue = 0;
    g_seen.thread = 0;
    g_seen.calls = 0;
}

} // namespace

TEST(Thread, UnboundRoutineEndsAtOnceWithExitCodeZero)
{
    rg_XianChengLei_n thread;
    thread.StartThread(5);
    ASSERT_NE(thread.LastThread(), nullptr);
    EXPECT_NE(thread.GetThreadId(), 0u);
    EXPECT_NE(thread.GetThreadId(), GetCurrentThreadId());
    EXPECT_NE(thread.GetThreadHandle(), 0u);
    EXPECT_EQ(thread.GetThreadParam(), 5);
    ASSERT_TRUE(thread.LastThread()->WaitForEnd(std::chrono::seconds(10)));
    EXPECT_EQ(thread.LastThread()->ExitCode(), 0);
}

TEST(Thread, HandlerGetsTheObjectTheParameterAndTheUserValueOnTheNewThread)
{
    ResetSeen();
    RecordingOwner owner;
    rg_XianChengLei_n thread;
    thread.ThreadRoutine().Bind(&RecordRoutine, owner.guard, 7);
    thread.StartThread(int64_t{1} << 40);
    ASSERT_TRUE(thread.LastThread()->WaitForEnd(std::chrono::seconds(10)));
    EXPECT_EQ(thread.LastThread()->ExitCode(), 41);
    EXPECT_EQ(g_seen.sender.load(), &thread);
    EXPECT_EQ(g_seen.param.load(), int64_t{1} << 40);
    EXPECT_EQ(g_seen.userValue.load(), 7u);
    EXPECT_EQ(g_seen.thread.load(), thread.GetThreadId());

    // A second start makes a new thread with a new handle; the first one is simply forgotten.
    const uint64_t firstHandle = thread.GetThreadHandle();
    thread.StartThread(2);
    ASSERT_TRUE(thread.LastThread()->WaitForEnd(std::chrono::seconds(10)));
    EXPECT_NE(thread.GetThreadHandle(), firstHandle);
    EXPECT_EQ(g_seen.calls.load(), 2);
}

TEST(Thread, OwnerDestroyedBeforeTheStartMeansNoHandlerAndExitCodeZero)
{
    ResetSeen();
    rg_XianChengLei_n thread;
    {
        RecordingOwner owner;
        thread.ThreadRoutine().Bind(&NeverCalled, owner.guard, 0);
    }
    thread.StartThread(1);
    ASSERT_TRUE(thread.LastThread()->WaitForEnd(std::chrono::seconds(10)));
    EXPECT_EQ(thread.LastThread()->ExitCode(), 0);
    EXPECT_EQ(g_seen.calls.load(), 0);
}

TEST(Thread, ObjectDestroyedRightAfterTheStartLeavesTheThreadSound)
{
    RecordingOwner owner;
    for (int i = 0; i < 50; ++i) {
        std::shared_ptr<PlatformThread> started;
        {
            rg_XianChengLei_n thread;
            thread.ThreadRoutine().Bind(
                [](CQrnObject*, CQrnObject*, uint32_t, int64_t param) { return static_cast<int32_t>(param); },
                owner.guard, 0);
            thread.StartThread(3);
            started = thread.LastThread();
        }
        ASSERT_TRUE(started->WaitForEnd(std::chrono::seconds(10)));
        const int32_t code = started->ExitCode();
        EXPECT_TRUE(code == 3 || code == 0) << code;
    }
}

TEST(Thread, ItsEndComesAfterTheWindowsItMadeAreGone)
{
    static const char16_t kClass[] = u"WorkThreadTestWindow";
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = DefWindowProcW;
    cls.lpszClassName = kClass;
    ASSERT_NE(RegisterClassExW(&cls), 0);
    static std::atomic<HWND> made{nullptr};
    RecordingOwner owner;
    rg_XianChengLei_n thread;
    thread.ThreadRoutine().Bind(
        [](CQrnObject*, CQrnObject*, uint32_t, int64_t) -> int32_t {
            made = CreateWindowExW(0, kClass, u"left behind", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            return 0;
        },
        owner.guard, 0);
    thread.StartThread(0);
    ASSERT_TRUE(thread.LastThread()->WaitForEnd(std::chrono::seconds(10)));
    ASSERT_NE(made.load(), nullptr);
    EXPECT_FALSE(IsWindow(made.load()));
    UnregisterClassW(kClass, nullptr);
}

TEST(Thread, ObjectProtocolCopiesComparesAndStreamsTheThreeFieldsOnly)
{
    RecordingOwner owner;
    rg_XianChengLei_n thread;
    thread.ThreadRoutine().Bind(&RecordRoutine, owner.guard, 1);
    thread.StartThread(0x1122334455667788);
    thread.LastThread()->WaitForEnd();

    std::unique_ptr<CQrnObject> clone(thread.Clone());
    auto& copy = static_cast<rg_XianChengLei_n&>(*clone);
    EXPECT_TRUE(copy.IsEqual(thread));
    EXPECT_FALSE(copy.ThreadRoutine().IsBound());

    CQrnMemoryStream stream;
    thread.SaveToStream(stream);
    const std::vector<uint8_t>& bytes = stream.Bytes();
    ASSERT_EQ(bytes.size(), 20u);
    const uint32_t id = thread.GetThreadId();
    EXPECT_EQ(bytes[0], id & 0xFF);
    EXPECT_EQ(bytes[3], id >> 24);
    EXPECT_EQ(bytes[4], 0x88);
    EXPECT_EQ(bytes[11], 0x11);

    rg_XianChengLei_n loaded;
    loaded.LoadFromStream(stream);
    EXPECT_TRUE(loaded.IsEqual(thread));
    loaded.Reset();
    EXPECT_EQ(loaded.GetThreadId(), 0u);
    EXPECT_EQ(loaded.GetThreadParam(), 0);
    EXPECT_EQ(loaded.GetThreadHandle(), 0u);
    EXPECT_FALSE(loaded.IsEqual(thread));

    // A short stream: the id is read, then the error state stops the rest.
    CQrnMemoryStream shortStream(std::vector<uint8_t>{1, 0, 0, 0, 9, 9});
    rg_XianChengLei_n partial;
    partial.LoadFromStream(shortStream);
    EXPECT_EQ(shortStream.GetError(), CQrnStream::kReadError);
    EXPECT_EQ(partial.GetThreadId(), 1u);
    EXPECT_EQ(partial.GetThreadParam(), 0);
}
