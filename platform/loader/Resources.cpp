// The registry of embedded resources.
#include "platform/loader/Resources.h"

#include "platform/loader/InstanceServices.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::pair<uint32_t, uint32_t>, std::span<const uint8_t>> resources;
};

Registry& TheRegistry()
{
    // Registrations run during static initialisation, in any order; never destroyed.
    static Registry* registry = new Registry();
    return *registry;
}

}  // namespace

void RegisterEmbeddedResources(const EmbeddedResource* resources, size_t count)
{
    Registry& registry = TheRegistry();
    {
        std::lock_guard guard(registry.mutex);
        for (size_t i = 0; i < count; ++i)
            registry.resources[{resources[i].type, resources[i].id}] =
                std::span<const uint8_t>(resources[i].bytes, resources[i].size);
    }
    InstallLoaderServices();
}

std::span<const uint8_t> FindEmbeddedResource(uint32_t type, uint32_t id)
{
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.mutex);
    auto it = registry.resources.find({type, id});
    return it == registry.resources.end() ? std::span<const uint8_t>() : it->second;
}
