#pragma once
// Internal state of the window core: the one lock, the window and class tables, the per-thread
// queues and the presenter's change marks. Not part of the public interface: include only from
// the core's own sources.
// Thread safety: every field is guarded by WindowSystem::mutex; functions ending in "Locked" must be
// called with it held and never call a window procedure; everything else takes it itself.
#include "platform/window/PresenterHook.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/WinTypes.h"

#include <chrono>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tabrix::window_detail {

using Lock = std::unique_lock<std::mutex>;
using Clock = std::chrono::steady_clock;

struct ClassRecord {
    std::u16string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::u16string menuName;
    std::vector<unsigned char> extra;
    int windowCount = 0;
};

enum class Life { Creating, Alive, Destroying };

struct Insets {
    LONG left = 0, top = 0, right = 0, bottom = 0;
};

struct WindowRecord {
    HWND handle = nullptr;
    std::shared_ptr<ClassRecord> cls;
    WNDPROC proc = nullptr;
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};          // in the parent's client coordinates (screen coordinates for top-level)
    Insets frame;         // client area = rect minus these
    RECT restoreRect{};   // rectangle to come back to after minimise or maximise
    HWND parent = nullptr;  // the desktop or the message root for top-level windows
    HWND owner = nullptr;
    std::vector<HWND> children;  // z-order, topmost first
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    HMENU menu = nullptr;
    std::vector<unsigned char> extra;
    DWORD threadId = 0;
    Life life = Life::Creating;
    bool hasUpdate = false;
    bool eraseUpdate = false;
    RECT update{};  // bounding rectangle of the update region, client coordinates
    uint32_t changes = 0;
};

// A message sent to a window of another thread; shared by sender and receiver so either may
// finish first.
struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
    DWORD senderThread = 0;
    // Mirrors done for a sender that watches it briefly without the lock.
    std::atomic<bool> answered{false};
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    uint64_t due = 0;
    TIMERPROC proc = nullptr;
};

struct ThreadQueue {
    DWORD threadId = 0;
    std::deque<MSG> posted;
    std::deque<MSG> input;
    std::deque<std::shared_ptr<SentMessage>> sent;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    std::condition_variable cv;
    HWND focus = nullptr;
    HWND active = nullptr;
    bool dead = false;
    ThreadWaitHook waitHook{};
    int paintCount = 0;  // windows of this thread with a non-empty update area
};

inline constexpr size_t kPostedLimit = 10000;

class WindowSystem {
public:
    static WindowSystem& Get();

    std::mutex mutex;
    std::unordered_map<HWND, std::unique_ptr<WindowRecord>> windows;
    std::vector<std::shared_ptr<ClassRecord>> classes;
    std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>> queues;
    HWND desktop = nullptr;
    HWND messageRoot = nullptr;
    uintptr_t nextHandle = 0x10020;
    ATOM nextAtom = 0xC000;
    UINT_PTR nextThreadTimerId = 0x7FFF0000;
    WindowChangeWake presenterWake = nullptr;
    void* presenterContext = nullptr;
    bool presenterWoken = false;
    std::vector<HWND> marked;            // windows with change bits, in marking order
    std::vector<HWND> destroyedMarked;   // destroyed since the presenter last pulled

    WindowRecord* FindLocked(HWND hwnd);
    WindowRecord* FindAliveLocked(HWND hwnd);  // null for the desktop and the message root
    ThreadQueue* QueueLocked(DWORD threadId);
    bool IsRootLocked(HWND hwnd) const { return hwnd == desktop || hwnd == messageRoot; }

private:
    WindowSystem();
};

DWORD CurrentThread();
// The calling thread's queue, created on first use; its windows die with the thread.
ThreadQueue& CurrentQueueLocked(Lock& lock);
void WakeQueueLocked(ThreadQueue& queue);
// Waits for a wake-up of the queue or until the deadline (milliseconds of TickCount()); the lock is
// released while waiting.
void WaitQueueLocked(Lock& lock, ThreadQueue& queue, std::optional<uint64_t> deadline);
uint64_t TickCount();

// Runs one message other threads sent to the calling thread's windows; false when none waits.
bool ProcessOneSentLocked(Lock& lock, ThreadQueue& queue);
void ProcessSentLocked(Lock& lock, ThreadQueue& queue);

void MarkChangedLocked(WindowRecord& window, uint32_t change);
void MarkDestroyedLocked(HWND hwnd);

// Geometry helpers.
POINT ClientOriginOnScreenLocked(const WindowRecord& window);
RECT ClientRectLocked(const WindowRecord& window);  // (0, 0, width, height)
Insets FrameInsets(DWORD style, DWORD exStyle, bool hasMenu);
bool IsVisibleLocked(WindowSystem& sys, const WindowRecord& window);
bool IsDescendantLocked(WindowSystem& sys, HWND ancestor, HWND hwnd);
// Which children an invalidation reaches: none, those of windows without WS_CLIPCHILDREN, or all.
enum class ChildScope { None, Unclipped, All };
void InvalidateLocked(WindowSystem& sys, WindowRecord& window, const RECT* rect, bool erase,
                      ChildScope scope);

std::shared_ptr<ClassRecord> FindClassForCreateLocked(WindowSystem& sys, LPCWSTR name);
// The first visible window of the thread, in z-order with parents first, that needs WM_PAINT and
// passes the filter.
WindowRecord* FindPaintableLocked(WindowSystem& sys, ThreadQueue& queue, HWND filter);
bool MatchesFilterLocked(WindowSystem& sys, HWND filter, HWND hwnd);
void SetUpdateLocked(WindowRecord& window, bool hasUpdate);

// Calls the window's procedure with no lock held; 0 when the window is gone.
LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Forgets a window whose WM_NCDESTROY has been sent: timers, queued messages, links, table entry.
void ForgetWindowLocked(WindowSystem& sys, HWND hwnd);

// Runs the per-thread teardown: destroys the thread's windows and releases waiting senders.
void TearDownCurrentThread();

}  // namespace tabrix::window_detail
