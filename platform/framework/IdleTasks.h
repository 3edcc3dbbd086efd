#pragma once
// The runtime's pending idle tasks: work queued for the user-interface thread's idle time. The
// application's idle hook runs them from the second idle call of a period on; its exit hook
// discards them. A task answers true to stay queued for the next idle call.
// Thread safety: PostIdleTask from any thread; RunIdleTasks and DiscardIdleTasks on the
// user-interface thread. Tasks run on that thread without the queue's lock held.
#include <cstddef>
#include <cstdint>
#include <functional>

using IdleTask = std::function<bool(int32_t idleCount)>;

void PostIdleTask(IdleTask task);
// Runs each task queued before the call once; returns how many stay queued.
size_t RunIdleTasks(int32_t idleCount);
void DiscardIdleTasks();
size_t PendingIdleTaskCount();
