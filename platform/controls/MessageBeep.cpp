// The warning sound.
#include "platform/controls/MessageBeep.h"

#include <atomic>

namespace {
std::atomic<MessageBeepHook> g_hook{nullptr};
std::atomic<unsigned long> g_count{0};
}  // namespace

BOOL MessageBeep(UINT type)
{
    g_count.fetch_add(1);
    if (MessageBeepHook hook = g_hook.load())
        hook(type);
    return TRUE;
}

void SetMessageBeepHook(MessageBeepHook hook) { g_hook.store(hook); }
unsigned long GetMessageBeepCount() { return g_count.load(); }
