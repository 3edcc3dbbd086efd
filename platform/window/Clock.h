#pragma once
// The monotonic millisecond clock of the window core (never goes back, starts near zero at
// process start). WaitMessageTimeout (MessageQueue.h) is the wait that wakes early for messages.
// Thread safety: any thread.
#include "platform/window/WinTypes.h"

ULONGLONG GetTickCount64();
DWORD GetTickCount();
