#include "work/MessagePump.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"

#include <atomic>

namespace {
std::atomic<MessagePumpService> g_service{nullptr};
} // namespace

void SetMessagePumpService(MessagePumpService service) { g_service.store(service); }

int32_t RunMessagePumpService()
{
    MessagePumpService service = g_service.load();
    return service ? service() : 0;
}

int32_t DispatchWaitingMessages()
{
    int32_t count = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++count;
    }
    return count;
}
