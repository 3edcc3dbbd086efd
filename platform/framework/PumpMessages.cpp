// Processing the waiting messages of the calling thread.
#include "platform/framework/PumpMessages.h"

#include "platform/framework/FrameworkThread.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"

int32_t PumpMessages()
{
    CWinThread* thread = CWinThread::Current();
    if (!thread)
        return 0;
    MSG msg;
    BOOL waiting;
    for (;;) {
        waiting = PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        if (!waiting || msg.message == WM_QUIT)
            break;
        thread->PumpMessage();
    }
    return waiting;
}
