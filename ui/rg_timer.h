#pragma once
// rg_timer: an invisible control ("QrnDummyWnd") that raises Tick every `interval` milliseconds
// while the interval is above 0. Setting the interval restarts the period; 0 stops it; before the
// window exists it is only stored and applied at creation. The platform timer is always 1000.
// Threads: created on the window's thread; SetInterval may be called from any thread (another
// thread's call is carried out on the window's thread). Tick is raised on the window's thread.
#include "ui/CQrnWinControl.h"

#include <atomic>

// The invisible window under non-visual controls.
class CVWnd_Dummy : public CVWnd {
public:
    static constexpr const char16_t* kClassName = u"QrnDummyWnd";
};

class CVWnd_Timer : public CVWnd_Dummy {
public:
    static constexpr UINT_PTR kTimerId = 1000;

    // Written on the window's thread (and before creation); atomic so other threads may read them.
    std::atomic<int32_t> running{0};
    std::atomic<int64_t> interval{0};

    // On the window's thread: kills a running timer, then starts it when interval > 0.
    void ApplyInterval();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

namespace rg_quarn_MFCJieMian_base {

class rg_timer : public CQrnWinControl, public ITimerEventListener {
    QRN_DECLARE_CONTROL_CLASS(rg_timer)
public:
    rg_timer();

    int32_t Create(WinCreateInfo& info) override { return CreateWithPattern(info); }
    CVWnd_Timer* GetTimerNative() const noexcept { return static_cast<CVWnd_Timer*>(GetNative()); }

    // A negative interval counts as 0 (stopped).
    void SetInterval(int64_t milliseconds);
    int64_t GetInterval() const;
    bool IsRunning() const;

    int32_t OnWindowMessage(MsgRecord& message) override { return HandleMessage(message); }
    void OnTick() override { Tick.Raise(this); }

    EventBinding<> Tick;

protected:
    IBaseEventListener* ListenerInterface() override { return static_cast<ITimerEventListener*>(this); }
    bool CreatePlatformWindow(WinCreateInfo& info) override;
};

}  // namespace rg_quarn_MFCJieMian_base
