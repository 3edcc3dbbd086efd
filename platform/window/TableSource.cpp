#include "platform/window/TableSource.h"

#include <mutex>
#include <utility>
#include <unordered_map>

namespace {

struct Registry {
    std::mutex lock;
    std::unordered_map<HWND, std::shared_ptr<TableSource>> sources;
};

// Never destroyed: windows may unregister from static destructors after this file's statics are gone.
Registry& TheRegistry()
{
    static Registry* registry = new Registry;
    return *registry;
}

}  // namespace

void RegisterTableSource(HWND hwnd, std::shared_ptr<TableSource> source)
{
    if (!hwnd || !source)
        return;
    Registry& registry = TheRegistry();
    std::shared_ptr<TableSource> replaced;  // released after the lock, in case its destructor is heavy
    std::lock_guard<std::mutex> guard(registry.lock);
    replaced = std::exchange(registry.sources[hwnd], std::move(source));
}

void UnregisterTableSource(HWND hwnd, const TableSource* source)
{
    Registry& registry = TheRegistry();
    std::shared_ptr<TableSource> removed;
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.sources.find(hwnd);
    if (found == registry.sources.end() || found->second.get() != source)
        return;
    removed = std::move(found->second);
    registry.sources.erase(found);
}

std::shared_ptr<TableSource> FindTableSource(HWND hwnd)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.sources.find(hwnd);
    return found == registry.sources.end() ? nullptr : found->second;
}
