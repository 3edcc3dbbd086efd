#pragma once
// The warning sound controls make when they refuse input. Headless it is counted; a presenter
// installs a hook that plays the desktop's sound. type is the message-box icon kind (0x30 for the
// exclamation) or 0xFFFFFFFF for a simple beep.
// Thread safety: any thread; the hook runs on the beeping thread.
#include "platform/window/WinTypes.h"

BOOL MessageBeep(UINT type);
using MessageBeepHook = void (*)(UINT type);
void SetMessageBeepHook(MessageBeepHook hook);
// Our own: how many beeps this process made, for tests.
unsigned long GetMessageBeepCount();
