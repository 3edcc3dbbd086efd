#pragma once
// Window timers (WM_TIMER to the window) and thread timers (no window, usually with a callback).
// WM_TIMER is made on demand when the owner thread retrieves messages: at most one per timer is
// pending, missed intervals are not queued, and an interval is at least 10 ms.
// Thread safety: SetTimer/KillTimer act on timers of the calling thread (and its windows).
#include "platform/window/WinTypes.h"

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
