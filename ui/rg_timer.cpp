#include "ui/rg_timer.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/Timers.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

// Carries SetInterval of another thread to the timer's window (wParam: the interval).
constexpr UINT kApplyInterval = 0x9FF9;

}  // namespace

void CVWnd_Timer::ApplyInterval()
{
    HWND hwnd = GetSafeHwnd();
    if (!hwnd)
        return;
    if (running) {
        KillTimer(hwnd, kTimerId);
        running = 0;
    }
    if (interval > 0) {
        const auto ms = static_cast<UINT>(std::min<int64_t>(interval, USER_TIMER_MAXIMUM));
        SetTimer(hwnd, kTimerId, ms, nullptr);
        running = 1;
    }
}

LRESULT CVWnd_Timer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kApplyInterval && lParam == kQrnWindowMark) {
        interval = static_cast<int64_t>(wParam);
        ApplyInterval();
        return kQrnWindowMark;
    }
    if (message == WM_TIMER) {
        LRESULT result = Default(message, wParam, lParam);
        if (wParam == kTimerId)
            if (auto* l = dynamic_cast<ITimerEventListener*>(listener.load(std::memory_order_acquire)))
                l->OnTick();
        return result;
    }
    if (message == WM_DESTROY && running) {
        KillTimer(GetSafeHwnd(), kTimerId);
        running = 0;
    }
    return Default(message, wParam, lParam);
}

namespace rg_quarn_MFCJieMian_base {

QRN_IMPLEMENT_CONTROL_CLASS(rg_timer, CQrnWinControl, "rg_quarn_MFCJieMian_base::rg_timer")

rg_timer::rg_timer() : CQrnWinControl(std::make_unique<CVWnd_Timer>()) {}

bool rg_timer::CreatePlatformWindow(WinCreateInfo& info)
{
    CVWnd_Timer* native = GetTimerNative();
    info.style &= ~WS_VISIBLE;
    if (!CVWnd::RegisterLibraryClass(CVWnd_Dummy::kClassName)
        || !native->CreateNativeWindow(info.exStyle, CVWnd_Dummy::kClassName, info.text, info.style, info.x, info.y,
                                       info.width, info.height, ParentWindowOf(info),
                                       static_cast<UINT_PTR>(static_cast<uint32_t>(info.id))))
        return false;
    native->ApplyInterval();
    return true;
}

void rg_timer::SetInterval(int64_t milliseconds)
{
    CVWnd_Timer* native = GetTimerNative();
    if (!native)
        return;
    const int64_t interval = std::max<int64_t>(milliseconds, 0);
    HWND hwnd = native->GetSafeHwnd();
    if (hwnd && GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) {
        SendMessageW(hwnd, kApplyInterval, static_cast<WPARAM>(interval), kQrnWindowMark);
        return;
    }
    native->interval = interval;
    native->ApplyInterval();
}

int64_t rg_timer::GetInterval() const
{
    CVWnd_Timer* native = GetTimerNative();
    return native ? native->interval.load() : 0;
}

bool rg_timer::IsRunning() const
{
    CVWnd_Timer* native = GetTimerNative();
    return native && native->running;
}

}  // namespace rg_quarn_MFCJieMian_base
