#include "platform/window/Timers.h"

#include "platform/window/WindowSystem.h"

#include <algorithm>

using namespace tabrix::window_detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    ThreadQueue& queue = CurrentQueueLocked(lock);
    if (hwnd) {
        WindowRecord* w = sys.FindAliveLocked(hwnd);
        if (!w || w->threadId != queue.threadId) {
            SetLastError(w ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
    }
    UINT interval = std::clamp(elapseMs, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    auto same = [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; };
    auto existing = std::find_if(queue.timers.begin(), queue.timers.end(), same);
    if (existing == queue.timers.end()) {
        // A thread timer gets a fresh id unless the given one names an existing timer.
        if (!hwnd) {
            do {
                id = sys.nextThreadTimerId++;
            } while (id == 0 || std::any_of(queue.timers.begin(), queue.timers.end(), same));
        }
        queue.timers.push_back(Timer{hwnd, id, interval, 0, proc});
        existing = queue.timers.end() - 1;
    }
    existing->interval = interval;
    existing->proc = proc;
    existing->due = TickCount() + interval;
    WakeQueueLocked(queue);
    return hwnd && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    WindowSystem& sys = WindowSystem::Get();
    Lock lock(sys.mutex);
    ThreadQueue& queue = CurrentQueueLocked(lock);
    auto removed = std::erase_if(queue.timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (removed == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}
