#include "platform/window/WindowSystem.h"

#include "platform/window/Clock.h"
#include "platform/window/Window.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace tabrix::window_detail {

namespace {

thread_local DWORD t_lastError = 0;
thread_local DWORD t_threadId = 0;

// Owns the calling thread's queue; its destruction at thread exit destroys the thread's windows.
struct QueueOwner {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueOwner()
    {
        if (queue)
            TearDownCurrentThread();
    }
};
thread_local QueueOwner t_queueOwner;

}  // namespace

WindowSystem& WindowSystem::Get()
{
    // Never destroyed: windows of threads still running at exit may outlive static destruction.
    static WindowSystem* system = new WindowSystem();
    return *system;
}

WindowSystem::WindowSystem()
{
    auto makeRoot = [this](HWND handle) {
        auto root = std::make_unique<WindowRecord>();
        root->handle = handle;
        root->cls = std::make_shared<ClassRecord>();
        root->style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        root->rect = RECT{0, 0, 1920, 1080};
        root->life = Life::Alive;
        windows.emplace(handle, std::move(root));
    };
    desktop = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 4;
    messageRoot = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 4;
    makeRoot(desktop);
    windows[desktop]->cls->name = u"#32769";
    windows[desktop]->style |= WS_VISIBLE;  // message-only windows are never visible
    makeRoot(messageRoot);
    windows[messageRoot]->cls->name = u"Message";
    windows[messageRoot]->rect = RECT{0, 0, 100, 100};
}

WindowRecord* WindowSystem::FindLocked(HWND hwnd)
{
    auto it = windows.find(hwnd);
    return it == windows.end() ? nullptr : it->second.get();
}

WindowRecord* WindowSystem::FindAliveLocked(HWND hwnd)
{
    if (IsRootLocked(hwnd))
        return nullptr;
    return FindLocked(hwnd);
}

ThreadQueue* WindowSystem::QueueLocked(DWORD threadId)
{
    auto it = queues.find(threadId);
    return it == queues.end() ? nullptr : it->second.get();
}

DWORD CurrentThread()
{
    if (t_threadId == 0)
        t_threadId = static_cast<DWORD>(::syscall(SYS_gettid));
    return t_threadId;
}

ThreadQueue& CurrentQueueLocked(Lock&)
{
    if (!t_queueOwner.queue) {
        auto queue = std::make_shared<ThreadQueue>();
        queue->threadId = CurrentThread();
        WindowSystem::Get().queues[queue->threadId] = queue;
        t_queueOwner.queue = queue;
    }
    return *t_queueOwner.queue;
}

void WakeQueueLocked(ThreadQueue& queue)
{
    queue.cv.notify_all();
    if (queue.waitHook.wake)
        queue.waitHook.wake(queue.waitHook.context);
}

uint64_t TickCount()
{
    static const Clock::time_point start = Clock::now() - std::chrono::milliseconds(1);
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

void WaitQueueLocked(Lock& lock, ThreadQueue& queue, std::optional<uint64_t> deadline)
{
    if (queue.waitHook.wait) {
        DWORD ms = INFINITE_WAIT;
        if (deadline) {
            uint64_t now = TickCount();
            ms = *deadline > now ? static_cast<DWORD>(std::min<uint64_t>(*deadline - now, 0x7FFFFFFF)) : 0;
        }
        ThreadWaitHook hook = queue.waitHook;
        lock.unlock();
        hook.wait(hook.context, ms);
        lock.lock();
        return;
    }
    if (!deadline) {
        queue.cv.wait(lock);
        return;
    }
    uint64_t now = TickCount();
    if (*deadline <= now)
        return;
    queue.cv.wait_for(lock, std::chrono::milliseconds(*deadline - now));
}

void MarkChangedLocked(WindowRecord& window, uint32_t change)
{
    WindowSystem& sys = WindowSystem::Get();
    if (!sys.presenterWake || sys.IsRootLocked(window.handle))
        return;
    if (window.changes == 0)
        sys.marked.push_back(window.handle);
    window.changes |= change;
    if (!sys.presenterWoken) {
        sys.presenterWoken = true;
        sys.presenterWake(sys.presenterContext);
    }
}

void MarkDestroyedLocked(HWND hwnd)
{
    WindowSystem& sys = WindowSystem::Get();
    if (!sys.presenterWake)
        return;
    sys.destroyedMarked.push_back(hwnd);
    if (!sys.presenterWoken) {
        sys.presenterWoken = true;
        sys.presenterWake(sys.presenterContext);
    }
}

void TearDownCurrentThread()
{
    WindowSystem& sys = WindowSystem::Get();
    DWORD me = CurrentThread();
    // Destroy top-most windows of this thread first; each takes its descendants along.
    for (;;) {
        HWND victim = nullptr;
        {
            Lock lock(sys.mutex);
            for (auto& [handle, window] : sys.windows) {
                if (window->threadId != me || window->life == Life::Destroying)
                    continue;
                WindowRecord* parent = sys.FindLocked(window->parent);
                if (!parent || parent->threadId != me) {
                    victim = handle;
                    break;
                }
            }
        }
        if (!victim)
            break;
        if (!DestroyWindow(victim)) {
            Lock lock(sys.mutex);
            ForgetWindowLocked(sys, victim);
        }
    }
    Lock lock(sys.mutex);
    ThreadQueue& queue = *t_queueOwner.queue;
    queue.dead = true;
    for (auto& sent : queue.sent) {
        sent->done = true;
        sent->answered.store(true, std::memory_order_release);
        if (ThreadQueue* sender = sys.QueueLocked(sent->senderThread))
            WakeQueueLocked(*sender);
    }
    queue.sent.clear();
    sys.queues.erase(queue.threadId);
    lock.unlock();
    t_queueOwner.queue.reset();
}

}  // namespace tabrix::window_detail

using namespace tabrix::window_detail;

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD error) { t_lastError = error; }

ULONGLONG GetTickCount64() { return TickCount(); }
DWORD GetTickCount() { return static_cast<DWORD>(TickCount()); }

DWORD GetCurrentThreadId() { return CurrentThread(); }
DWORD GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }

void SetWindowChangeWake(WindowChangeWake wake, void* context)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    sys.presenterWake = wake;
    sys.presenterContext = context;
    sys.presenterWoken = false;
    if (!wake) {
        for (HWND hwnd : sys.marked)
            if (WindowRecord* w = sys.FindLocked(hwnd))
                w->changes = 0;
        sys.marked.clear();
        sys.destroyedMarked.clear();
    }
}

void MarkWindowChanged(HWND hwnd, uint32_t changes)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    if (WindowRecord* w = sys.FindAliveLocked(hwnd))
        MarkChangedLocked(*w, changes & ~uint32_t(WindowChangeDestroyed));
}

size_t PullWindowChanges(const std::function<void(const WindowChangeView&)>& visitor)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    size_t visited = 0;
    for (HWND hwnd : sys.marked) {
        WindowRecord* w = sys.FindLocked(hwnd);
        if (!w || w->changes == 0)
            continue;
        WindowRecord* parent = sys.FindAliveLocked(w->parent);
        RECT client = w->rect;
        client.left += w->frame.left;
        client.top += w->frame.top;
        client.right -= w->frame.right;
        client.bottom -= w->frame.bottom;
        WindowChangeView view{hwnd, w->changes, &w->cls->name, &w->text, w->style, w->exStyle,
                              w->rect, client, parent ? parent->handle : nullptr, w->id,
                              w->threadId, w->hasUpdate ? TRUE : FALSE, w->update,
                              w->extra.data(), w->extra.size()};
        w->changes = 0;
        visitor(view);
        ++visited;
    }
    sys.marked.clear();
    for (HWND hwnd : sys.destroyedMarked) {
        WindowChangeView view{};
        view.hwnd = hwnd;
        view.changes = WindowChangeDestroyed;
        visitor(view);
        ++visited;
    }
    sys.destroyedMarked.clear();
    sys.presenterWoken = false;
    return visited;
}

void SetThreadWaitHook(const ThreadWaitHook& hook)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    ThreadQueue& queue = CurrentQueueLocked(lock);
    queue.waitHook = (hook.wait && hook.wake) ? hook : ThreadWaitHook{};
}

void SetDesktopSize(int width, int height)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    if (width <= 0 || height <= 0)
        return;
    sys.FindLocked(sys.desktop)->rect = RECT{0, 0, width, height};
}
