#include "work/CountdownMessageBox.h"

#include "platform/dialogs/MessageBox.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"

#include <mutex>
#include <string>

namespace rg_quarn_Tolvar {

namespace {

// The one countdown of the process. Guarded, since boxes may be shown from several threads.
struct Countdown {
    std::mutex mutex;
    CWString message;
    CWString caption;
    int32_t secondsLeft = 0;
    UINT_PTR timerId = 0;
    DWORD timerThread = 0;
    CWString shownText;
};

Countdown& State()
{
    static Countdown* countdown = new Countdown();  // never destroyed: boxes may outlive static destruction
    return *countdown;
}

// The showing thread's top-level window titled caption; null when it has closed.
HWND FindBoxOfThisThread(const CWString& caption)
{
    const DWORD thread = GetCurrentThreadId();
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, caption.GetText()); window;
         window = FindWindowExW(nullptr, window, nullptr, caption.GetText())) {
        if (GetWindowThreadProcessId(window, nullptr) == thread)
            return window;
    }
    return nullptr;
}

void Tick(HWND, UINT, UINT_PTR id, DWORD)
{
    Countdown& state = State();
    CWString caption;
    CWString text;
    {
        std::lock_guard lock(state.mutex);
        if (id != state.timerId || GetCurrentThreadId() != state.timerThread) {
            KillTimer(nullptr, id);  // a countdown a later box has replaced
            return;
        }
        caption = state.caption;
    }
    // Looked up without the lock: the search may wait for other threads.
    const HWND box = FindBoxOfThisThread(caption);
    {
        std::lock_guard lock(state.mutex);
        if (id != state.timerId || GetCurrentThreadId() != state.timerThread) {
            KillTimer(nullptr, id);
            return;
        }
        // No box any more, or the last second: the box closes by itself now, and "0" is never shown.
        if (!box || state.secondsLeft <= 1) {
            KillTimer(nullptr, id);
            state.timerId = 0;
            return;
        }
        --state.secondsLeft;
        state.shownText = CountdownText(state.message, state.secondsLeft);
        text = state.shownText;
    }
    SetDlgItemTextW(box, MESSAGE_BOX_TEXT_ID, text.GetText());
}

// Stops the countdown of an earlier box: at once when it runs on this thread, else at its next tick.
void StopEarlierCountdown(Countdown& state)
{
    if (state.timerId != 0 && state.timerThread == GetCurrentThreadId())
        KillTimer(nullptr, state.timerId);
    state.timerId = 0;
}

} // namespace

CWString CountdownText(const CWString& message, int32_t secondsLeft)
{
    CWString text(message);
    text.Append(u"【 ");
    text.Append(CWString(secondsLeft));
    text.Append(u" 】秒");
    return text;
}

int32_t CountdownMessageBox(const CWString& message, const CWString& caption)
{
    Countdown& state = State();
    CWString text;
    UINT_PTR timer = 0;
    {
        std::lock_guard lock(state.mutex);
        StopEarlierCountdown(state);
        state.message = message;
        state.caption = caption;
        state.secondsLeft = kCountdownSeconds;
        timer = SetTimer(nullptr, 0, 1000, &Tick);
        state.timerId = timer;
        state.timerThread = GetCurrentThreadId();
        state.shownText = CountdownText(message, state.secondsLeft);
        text = state.shownText;
    }
    const int result = MessageBoxTimeoutW(nullptr, text.GetText(), caption.GetText(), MB_OK | MB_ICONERROR, 0,
                                          static_cast<DWORD>(kCountdownSeconds) * 1000);
    if (timer != 0) {
        // The box has closed: its timer must not tick into a later window.
        std::lock_guard lock(state.mutex);
        if (state.timerId == timer && state.timerThread == GetCurrentThreadId())
            state.timerId = 0;
        KillTimer(nullptr, timer);
    }
    return result;
}

} // namespace rg_quarn_Tolvar
