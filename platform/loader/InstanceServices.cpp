// The platform behind the runtime instance's services.
#include "platform/loader/InstanceServices.h"

#include "platform/gdi/Cursors.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/loader/ImageDecoder.h"
#include "platform/loader/ImageLoading.h"
#include "platform/loader/Modules.h"
#include "platform/loader/Resources.h"
#include "runtime/CQrnAppInstance.h"
#include "runtime/CWString.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

constexpr DWORD kResourceNameNotFound = 1814;

bool IsProgram(void* module) { return !module || module == ProgramModule(); }

// Icon and cursor resources of the program, each made once.
HICON LoadModuleIcon(HINSTANCE module, LPCWSTR name, IconKind kind)
{
    static std::mutex mutex;
    static auto* made = new std::map<std::pair<uint32_t, bool>, HICON>();
    if (!IsProgram(module) || !IS_INTRESOURCE(name)) {
        SetLastError(kResourceNameNotFound);
        return nullptr;
    }
    const uint32_t id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name));
    const bool cursor = kind == IconKind::Cursor;
    std::lock_guard guard(mutex);
    auto it = made->find({id, cursor});
    if (it != made->end())
        return it->second;
    std::span<const uint8_t> bytes = FindEmbeddedResource(cursor ? kResourceTypeCursor : kResourceTypeIcon, id);
    HICON icon = bytes.empty() ? nullptr : IconFromBytes(bytes, kind);
    if (!icon) {
        SetLastError(kResourceNameNotFound);
        return nullptr;
    }
    made->emplace(std::make_pair(id, cursor), icon);
    return icon;
}

class LoaderServices final : public CQrnInstanceServices {
public:
    void* ProgramModule() override { return ::ProgramModule(); }

    std::span<const uint8_t> ResourceBytes(void* module, uint32_t type, uint32_t id) override
    {
        return IsProgram(module) ? FindEmbeddedResource(type, id) : std::span<const uint8_t>();
    }

    void* DecodeImage(QrnImageKind kind, std::span<const uint8_t> bytes) override
    {
        switch (kind) {
        case QrnImageKind::Bitmap: return LoadBitmapFromBytes(bytes);
        case QrnImageKind::ImageList: return ListFrom(LoadBitmapFromBytes(bytes));
        case QrnImageKind::Cursor: return IconFromBytes(bytes, IconKind::Cursor);
        case QrnImageKind::Icon: return IconFromBytes(bytes, IconKind::Icon);
        }
        return nullptr;
    }

    void* DecodeImageFile(QrnImageKind kind, const CWString& path) override
    {
        switch (kind) {
        case QrnImageKind::Bitmap: return LoadBitmapFromFile(path.View());
        case QrnImageKind::ImageList: return ListFrom(LoadBitmapFromFile(path.View()));
        case QrnImageKind::Cursor: return IconFromFile(path.View(), IconKind::Cursor);
        case QrnImageKind::Icon: return IconFromFile(path.View(), IconKind::Icon);
        }
        return nullptr;
    }

    void* LoadModuleImage(void* module, QrnImageKind kind, uint32_t id) override
    {
        if (id == 0 || id > 0xFFFF)
            return nullptr;
        auto name = MAKEINTRESOURCEW(static_cast<WORD>(id));
        auto instance = static_cast<HINSTANCE>(module);
        return kind == QrnImageKind::Cursor ? LoadCursorW(instance, name) : LoadIconW(instance, name);
    }

    bool FreeLibrary(void* module) override { return ::FreeLibrary(static_cast<HMODULE>(module)) != FALSE; }

    // stb needs no start; the token only records that the decoder is in use.
    uintptr_t StartImageLibrary() override { return 1; }
    void StopImageLibrary(uintptr_t) override {}

private:
    static HIMAGELIST ListFrom(HBITMAP bitmap)
    {
        HIMAGELIST list = ImageListFromBitmap(bitmap);
        if (bitmap)
            DeleteObject(bitmap);
        return list;
    }
};

}  // namespace

void InstallLoaderServices()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Never destroyed: the runtime instance uses it during static destruction.
        static auto* services = new LoaderServices();
        CQrnAppInstance::Get().SetServices(services);
        SetModuleIconLoader(LoadModuleIcon);
    });
}
