// The pending idle tasks.
#include "platform/framework/IdleTasks.h"

#include <deque>
#include <mutex>
#include <utility>

namespace {

struct TaskQueue {
    std::mutex mutex;
    std::deque<IdleTask> tasks;
};

TaskQueue& Queue()
{
    static TaskQueue* queue = new TaskQueue();
    return *queue;
}

}  // namespace

void PostIdleTask(IdleTask task)
{
    if (!task)
        return;
    TaskQueue& queue = Queue();
    std::lock_guard guard(queue.mutex);
    queue.tasks.push_back(std::move(task));
}

size_t RunIdleTasks(int32_t idleCount)
{
    TaskQueue& queue = Queue();
    std::deque<IdleTask> due;
    {
        std::lock_guard guard(queue.mutex);
        due.swap(queue.tasks);
    }
    std::deque<IdleTask> kept;
    for (IdleTask& task : due)
        if (task(idleCount))
            kept.push_back(std::move(task));
    std::lock_guard guard(queue.mutex);
    // Tasks posted while these ran come after the ones that stay.
    for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        queue.tasks.push_front(std::move(*it));
    return queue.tasks.size();
}

void DiscardIdleTasks()
{
    std::deque<IdleTask> dropped;
    TaskQueue& queue = Queue();
    {
        std::lock_guard guard(queue.mutex);
        dropped.swap(queue.tasks);
    }
}

size_t PendingIdleTaskCount()
{
    TaskQueue& queue = Queue();
    std::lock_guard guard(queue.mutex);
    return queue.tasks.size();
}
