// Reflection of a child's notifications to the child.
#include "platform/controls/Reflection.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/Window.h"

namespace {

struct Frame {
    HWND child;
    bool handled;
};

// The reflections this thread is running, innermost last. A plain array: windows may still be
// destroyed (and reflect) while the thread's other thread-local objects are being torn down.
constexpr int kDeepest = 256;
thread_local Frame t_frames[kDeepest];
thread_local int t_depth = 0;

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

}  // namespace

UINT ReflectedMessage(UINT message)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY: return OCM__BASE + message;
    default: return IsCtlColor(message) ? OCM__BASE + message : 0;
    }
}

HWND ReflectionSource(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        return hdr ? hdr->hwndFrom : nullptr;
    }
    case WM_PARENTNOTIFY: {
        WORD event = LOWORD(wParam);
        return (event == WM_CREATE || event == WM_DESTROY) ? reinterpret_cast<HWND>(lParam) : nullptr;
    }
    default: return ReflectedMessage(message) ? reinterpret_cast<HWND>(lParam) : nullptr;
    }
}

BOOL ReflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    UINT reflected = ReflectedMessage(message);
    HWND child = ReflectionSource(message, wParam, lParam);
    if (!reflected || !child || child == parent || !IsWindow(child))
        return FALSE;
    if (GetWindowThreadProcessId(child, nullptr) != GetCurrentThreadId())
        return FALSE;
    if (t_depth >= kDeepest)
        return FALSE;  // reflections this deep are runaway recursion, not notifications
    int frame = t_depth++;
    t_frames[frame] = Frame{child, false};
    LRESULT answer = SendMessageW(child, reflected, wParam, lParam);
    bool handled = t_frames[frame].handled;
    --t_depth;
    if (handled && result)
        *result = answer;
    return handled ? TRUE : FALSE;
}

void MarkReflectedMessageHandled(HWND child)
{
    for (int i = t_depth - 1; i >= 0; --i) {
        if (t_frames[i].child == child) {
            t_frames[i].handled = true;
            return;
        }
    }
}
