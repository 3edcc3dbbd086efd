#include "platform/window/MessageQueue.h"

#include "platform/window/Clock.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>

using namespace tabrix::window_detail;

namespace {

thread_local SentMessage* t_currentSent = nullptr;
thread_local DWORD t_messageTime = 0;

const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(-1);

bool InRange(UINT message, UINT filterMin, UINT filterMax)
{
    if (filterMin == 0 && filterMax == 0)
        return true;
    return message >= filterMin && message <= filterMax;
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(TickCount()), POINT{0, 0}};
}

bool TakeQueued(WindowSystem& sys, std::deque<MSG>& queue, MSG* out, HWND filter, UINT filterMin,
                UINT filterMax, bool remove)
{
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!MatchesFilterLocked(sys, filter, it->hwnd) || !InRange(it->message, filterMin, filterMax))
            continue;
        *out = *it;
        if (remove)
            queue.erase(it);
        return true;
    }
    return false;
}

Timer* DueTimerLocked(WindowSystem& sys, ThreadQueue& queue, HWND filter, uint64_t now)
{
    Timer* best = nullptr;
    for (Timer& timer : queue.timers)
        if (timer.due <= now && MatchesFilterLocked(sys, filter, timer.hwnd) &&
            (!best || timer.due < best->due))
            best = &timer;
    return best;
}

std::optional<uint64_t> NextTimerDueLocked(const ThreadQueue& queue)
{
    std::optional<uint64_t> next;
    for (const Timer& timer : queue.timers)
        if (!next || timer.due < *next)
            next = timer.due;
    return next;
}

std::optional<uint64_t> Earlier(std::optional<uint64_t> a, std::optional<uint64_t> b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return std::min(*a, *b);
}

// The retrieval order: sent (run here), posted, WM_QUIT, input, paint, timer.
bool RetrieveLocked(Lock& lock, ThreadQueue& queue, MSG* out, HWND filter, UINT filterMin,
                    UINT filterMax, bool remove)
{
    WindowSystem& sys = WindowSystem::Get();
    ProcessSentLocked(lock, queue);
    if (TakeQueued(sys, queue.posted, out, filter, filterMin, filterMax, remove))
        return true;
    if (queue.quitPosted) {
        *out = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
        if (remove)
            queue.quitPosted = false;
        return true;
    }
    if (TakeQueued(sys, queue.input, out, filter, filterMin, filterMax, remove))
        return true;
    if (InRange(WM_PAINT, filterMin, filterMax)) {
        if (WindowRecord* w = FindPaintableLocked(sys, queue, filter)) {
            *out = MakeMessage(w->handle, WM_PAINT, 0, 0);
            return true;
        }
    }
    if (InRange(WM_TIMER, filterMin, filterMax)) {
        uint64_t now = TickCount();
        if (Timer* timer = DueTimerLocked(sys, queue, filter, now)) {
            *out = MakeMessage(timer->hwnd, WM_TIMER, timer->id, reinterpret_cast<LPARAM>(timer->proc));
            if (remove)
                timer->due = now + timer->interval;
            return true;
        }
    }
    return false;
}

bool HasRetrievableLocked(WindowSystem& sys, ThreadQueue& queue)
{
    return !queue.posted.empty() || queue.quitPosted || !queue.input.empty() ||
           FindPaintableLocked(sys, queue, nullptr) || DueTimerLocked(sys, queue, nullptr, TickCount());
}

bool FilterIsValidLocked(WindowSystem& sys, HWND filter)
{
    return !filter || filter == kThreadMessagesOnly || sys.FindAliveLocked(filter);
}

// A busy window thread answers a sent message within microseconds, sooner than a sleeping sender
// could be woken; so the sender watches for the answer briefly before it sleeps. Only the sender
// spins, and only this long: a window thread that is not running costs the sender no more than
// the spin. Messages sent to this thread meanwhile wait at most as long.
void WatchForTheAnswer(Lock& lock, const SentMessage& sent)
{
    constexpr auto kSpin = std::chrono::microseconds(20);
    lock.unlock();
    const auto until = std::chrono::steady_clock::now() + kSpin;
    bool answered = false;
    while (!answered && std::chrono::steady_clock::now() < until) {
        for (int i = 0; i < 32 && !answered; ++i)
            answered = sent.answered.load(std::memory_order_acquire);
    }
    lock.lock();
}

// Sends to a window of another thread and waits, running what others send to this thread.
LRESULT SendAcrossLocked(Lock& lock, HWND hwnd, DWORD ownerThread, UINT message, WPARAM wParam,
                         LPARAM lParam, std::optional<uint64_t> deadline, bool* delivered)
{
    WindowSystem& sys = WindowSystem::Get();
    *delivered = false;
    ThreadQueue* target = sys.QueueLocked(ownerThread);
    if (!target || target->dead) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    ThreadQueue& me = CurrentQueueLocked(lock);
    auto sent = std::make_shared<SentMessage>();
    sent->hwnd = hwnd;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->senderThread = me.threadId;
    target->sent.push_back(sent);
    WakeQueueLocked(*target);
    bool spun = false;
    while (!sent->done) {
        if (ProcessOneSentLocked(lock, me))
            continue;
        if (deadline && TickCount() >= *deadline) {
            if (ThreadQueue* still = sys.QueueLocked(ownerThread)) {
                auto it = std::find(still->sent.begin(), still->sent.end(), sent);
                if (it != still->sent.end())
                    still->sent.erase(it);
            }
            SetLastError(ERROR_TIMEOUT);
            return 0;
        }
        // After the spin everything is looked at again under the lock before the thread sleeps:
        // a message sent to this thread meanwhile has already rung its wake-up.
        if (!spun) {
            spun = true;
            WatchForTheAnswer(lock, *sent);
            continue;
        }
        WaitQueueLocked(lock, me, deadline);
        spun = false;
    }
    *delivered = true;
    return sent->result;
}

template <typename Each>
void ForEachTopLevel(Each each)
{
    WindowSystem& sys = WindowSystem::Get();
    std::vector<HWND> targets;
    {
        Lock lock(sys.mutex);
        targets = sys.FindLocked(sys.desktop)->children;
    }
    for (HWND hwnd : targets)
        each(hwnd);
}

}  // namespace

namespace tabrix::window_detail {

bool MatchesFilterLocked(WindowSystem& sys, HWND filter, HWND hwnd)
{
    if (!filter)
        return true;
    if (filter == kThreadMessagesOnly)
        return hwnd == nullptr;
    return hwnd == filter || IsDescendantLocked(sys, filter, hwnd);
}

bool ProcessOneSentLocked(Lock& lock, ThreadQueue& queue)
{
    if (queue.sent.empty())
        return false;
    WindowSystem& sys = WindowSystem::Get();
    std::shared_ptr<SentMessage> sent = queue.sent.front();
    queue.sent.pop_front();
    LRESULT result = 0;
    WindowRecord* w = sys.FindAliveLocked(sent->hwnd);
    if (w && w->proc) {
        WNDPROC proc = w->proc;
        lock.unlock();
        SentMessage* outer = t_currentSent;
        t_currentSent = sent.get();
        result = proc(sent->hwnd, sent->message, sent->wParam, sent->lParam);
        t_currentSent = outer;
        lock.lock();
    }
    if (!sent->done) {
        sent->result = result;
        sent->done = true;
        sent->answered.store(true, std::memory_order_release);
        if (ThreadQueue* sender = sys.QueueLocked(sent->senderThread))
            WakeQueueLocked(*sender);
    }
    return true;
}

void ProcessSentLocked(Lock& lock, ThreadQueue& queue)
{
    while (ProcessOneSentLocked(lock, queue)) {
    }
}

LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageW(hwnd, message, wParam, lParam);
}

}  // namespace tabrix::window_detail

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd == HWND_BROADCAST) {
        ForEachTopLevel([&](HWND top) { SendMessageW(top, message, wParam, lParam); });
        return 0;
    }
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (w->threadId == CurrentThread()) {
        WNDPROC proc = w->proc;
        lock.unlock();
        return proc ? proc(hwnd, message, wParam, lParam) : 0;
    }
    bool delivered = false;
    return SendAcrossLocked(lock, hwnd, w->threadId, message, wParam, lParam, std::nullopt, &delivered);
}

LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT,
                            UINT timeoutMs, DWORD_PTR* result)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LRESULT answer = 0;
    bool delivered = true;
    if (w->threadId == CurrentThread()) {
        WNDPROC proc = w->proc;
        lock.unlock();
        answer = proc ? proc(hwnd, message, wParam, lParam) : 0;
    } else {
        answer = SendAcrossLocked(lock, hwnd, w->threadId, message, wParam, lParam,
                                  TickCount() + timeoutMs, &delivered);
    }
    if (!delivered)
        return 0;
    if (result)
        *result = static_cast<DWORD_PTR>(answer);
    return 1;
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    ThreadQueue* queue = threadId == CurrentThread() ? &CurrentQueueLocked(lock) : sys.QueueLocked(threadId);
    if (!queue || queue->dead) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    if (queue->posted.size() >= kPostedLimit) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    queue->posted.push_back(MakeMessage(nullptr, message, wParam, lParam));
    WakeQueueLocked(*queue);
    return TRUE;
}

namespace {
BOOL PostToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool asInput)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    WindowRecord* w = sys.FindAliveLocked(hwnd);
    ThreadQueue* queue = w ? sys.QueueLocked(w->threadId) : nullptr;
    if (!queue || queue->dead) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    std::deque<MSG>& target = asInput ? queue->input : queue->posted;
    if (target.size() >= kPostedLimit) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    target.push_back(MakeMessage(hwnd, message, wParam, lParam));
    WakeQueueLocked(*queue);
    return TRUE;
}
}  // namespace

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!hwnd)
        return PostThreadMessageW(CurrentThread(), message, wParam, lParam);
    if (hwnd == HWND_BROADCAST) {
        ForEachTopLevel([&](HWND top) { PostMessageW(top, message, wParam, lParam); });
        return TRUE;
    }
    return PostToWindow(hwnd, message, wParam, lParam, false);
}

BOOL PostInputMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PostToWindow(hwnd, message, wParam, lParam, true);
}

void PostQuitMessage(int exitCode)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    ThreadQueue& queue = CurrentQueueLocked(lock);
    queue.quitPosted = true;
    queue.quitCode = exitCode;
    WakeQueueLocked(queue);
}

BOOL GetMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    if (!msg || !FilterIsValidLocked(sys, hwnd)) {
        SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return -1;
    }
    ThreadQueue& queue = CurrentQueueLocked(lock);
    while (!RetrieveLocked(lock, queue, msg, hwnd, filterMin, filterMax, true))
        WaitQueueLocked(lock, queue, NextTimerDueLocked(queue));
    t_messageTime = msg->time;
    return msg->message == WM_QUIT ? 0 : 1;
}

BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    if (!msg || !FilterIsValidLocked(sys, hwnd)) {
        SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ThreadQueue& queue = CurrentQueueLocked(lock);
    if (!RetrieveLocked(lock, queue, msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0))
        return FALSE;
    t_messageTime = msg->time;
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg)
{
    if (!msg)
        return 0;
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // Only a live timer's own callback is called, never an arbitrary posted address.
        ThreadQueue& queue = CurrentQueueLocked(lock);
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        for (const Timer& timer : queue.timers) {
            if (timer.hwnd == msg->hwnd && timer.id == msg->wParam && timer.proc == proc) {
                lock.unlock();
                proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(TickCount()));
                return 0;
            }
        }
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    WindowRecord* w = sys.FindAliveLocked(msg->hwnd);
    if (!w || w->threadId != CurrentThread()) {
        SetLastError(w ? ERROR_WINDOW_OF_OTHER_THREAD : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    WNDPROC proc = w->proc;
    lock.unlock();
    return proc ? proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

BOOL WaitMessageTimeout(DWORD milliseconds)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    ThreadQueue& queue = CurrentQueueLocked(lock);
    std::optional<uint64_t> deadline;
    if (milliseconds != INFINITE_WAIT)
        deadline = TickCount() + milliseconds;
    for (;;) {
        ProcessSentLocked(lock, queue);
        if (HasRetrievableLocked(sys, queue))
            return TRUE;
        if (deadline && TickCount() >= *deadline)
            return FALSE;
        WaitQueueLocked(lock, queue, Earlier(deadline, NextTimerDueLocked(queue)));
    }
}

BOOL WaitMessage() { return WaitMessageTimeout(INFINITE_WAIT); }

BOOL InSendMessage() { return t_currentSent ? TRUE : FALSE; }

BOOL ReplyMessage(LRESULT result)
{
    SentMessage* sent = t_currentSent;
    if (!sent)
        return FALSE;
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    if (sent->done)
        return FALSE;
    sent->result = result;
    sent->done = true;
    sent->answered.store(true, std::memory_order_release);
    if (ThreadQueue* sender = sys.QueueLocked(sent->senderThread))
        WakeQueueLocked(*sender);
    return TRUE;
}

DWORD GetMessageTime() { return t_messageTime; }

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD sliceMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (done())
                return true;
        }
        WaitMessageTimeout(static_cast<DWORD>(std::min<ULONGLONG>(end - now, sliceMs)));
    }
    return true;
}
