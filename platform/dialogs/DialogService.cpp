// The installed dialog service.
#include "platform/dialogs/DialogService.h"

#include "platform/dialogs/ScriptedDialogs.h"

#include <mutex>
#include <utility>

namespace {

struct Installed {
    std::mutex mutex;
    std::shared_ptr<DialogService> service;
};

Installed& TheInstalled()
{
    static Installed installed;
    return installed;
}

std::shared_ptr<DialogService> DefaultService()
{
    // Never destroyed, so a dialog shown during static destruction still finds its service.
    static auto* service = new std::shared_ptr<DialogService>(std::make_shared<ScriptedDialogs>());
    return *service;
}

}  // namespace

std::shared_ptr<DialogService> SetDialogService(std::shared_ptr<DialogService> service)
{
    Installed& installed = TheInstalled();
    std::lock_guard guard(installed.mutex);
    std::shared_ptr<DialogService> previous = std::move(installed.service);
    installed.service = std::move(service);
    return previous ? previous : DefaultService();
}

std::shared_ptr<DialogService> CurrentDialogService()
{
    Installed& installed = TheInstalled();
    std::lock_guard guard(installed.mutex);
    return installed.service ? installed.service : DefaultService();
}
