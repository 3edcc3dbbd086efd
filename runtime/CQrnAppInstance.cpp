#include "runtime/CQrnAppInstance.h"

#include "runtime/CPoolMem.h"
#include "runtime/CWString.h"
#include "runtime/Unicode.h"

#include <cstring>
#include <string>
#include <string_view>

// Right after the process pool (101), before every other static object.
__attribute__((init_priority(102))) CQrnAppInstance CQrnAppInstance::instance_;

CQrnAppInstance& CQrnAppInstance::Get() noexcept { return instance_; }

CQrnAppInstance::CQrnAppInstance() = default;

CQrnAppInstance::~CQrnAppInstance() { ReleaseProcessState(); }

CPoolMem& CQrnAppInstance::Pool() noexcept { return CPoolMem::Process(); }

void* CQrnAppInstance::GetModule()
{
    if (void* module = module_.load())
        return module;
    CQrnInstanceServices* services = Services();
    return services ? services->ProgramModule() : nullptr;
}

CWString& CQrnAppInstance::LoadStringResource(uint32_t id, CWString& target)
{
    target.SetChars(nullptr, 0);
    CQrnInstanceServices* services = Services();
    if (id == 0 || !services)
        return target;
    std::span<const uint8_t> bytes = services->ResourceBytes(GetModule(), kQrnResourceString, id);
    std::u16string text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    target.SetChars(text.data(), static_cast<int64_t>(text.size()));
    return target;
}

void* CQrnAppInstance::DecodeResource(QrnImageKind kind, uint32_t id)
{
    CQrnInstanceServices* services = Services();
    std::span<const uint8_t> bytes = services->ResourceBytes(GetModule(), kQrnResourceRcdata, id);
    if (bytes.empty() || !EnsureImageLibrary())
        return nullptr;
    return services->DecodeImage(kind, bytes);
}

void* CQrnAppInstance::LoadImageResource(QrnImageKind kind, uint32_t id)
{
    CQrnInstanceServices* services = Services();
    if (!services)
        return nullptr;
    switch (kind) {
    case QrnImageKind::Bitmap:
    case QrnImageKind::ImageList: return DecodeResource(kind, id);
    case QrnImageKind::Cursor:
    case QrnImageKind::Icon: return services->LoadModuleImage(GetModule(), kind, id);
    }
    return nullptr;
}

void* CQrnAppInstance::LoadImageFile(QrnImageKind kind, const CWString& path)
{
    CQrnInstanceServices* services = Services();
    if (!services || path.IsEmpty())
        return nullptr;
    if ((kind == QrnImageKind::Bitmap || kind == QrnImageKind::ImageList) && !EnsureImageLibrary())
        return nullptr;
    return services->DecodeImageFile(kind, path);
}

void* CQrnAppInstance::BitmapFromBytes(const void* bytes, int64_t size)
{
    CQrnInstanceServices* services = Services();
    if (!services || !bytes || size <= 0 || !EnsureImageLibrary())
        return nullptr;
    return services->DecodeImage(QrnImageKind::Bitmap,
                                 std::span<const uint8_t>(static_cast<const uint8_t*>(bytes), static_cast<size_t>(size)));
}

bool CQrnAppInstance::LoadResourceBytes(uint32_t id, CQrnMem& target, uint32_t type)
{
    if (id == 0)
        return true;
    CQrnInstanceServices* services = Services();
    if (!services)
        return false;
    std::span<const uint8_t> bytes = services->ResourceBytes(GetModule(), type, id);
    if (bytes.empty())
        return false;
    target.Replace(0, target.GetLength(), bytes.data(), static_cast<int64_t>(bytes.size()));
    return true;
}

bool CQrnAppInstance::LoadTextResource(uint32_t id, CWString& target)
{
    CQrnMem bytes;
    if (!LoadResourceBytes(id, bytes, kQrnResourceRcdata))
        return false;
    std::u16string units(static_cast<size_t>(bytes.GetLength() / 2), u'\0');
    if (!units.empty())
        std::memcpy(units.data(), bytes.GetData(), units.size() * 2);
    std::u16string_view text(units.c_str());  // up to the first NUL, as the terminator makes it
    if (!text.empty() && text.front() == u'\xFEFF')
        text.remove_prefix(1);
    target.SetChars(text.data(), static_cast<int64_t>(text.size()));
    return true;
}

bool CQrnAppInstance::LoadRcdata(uint32_t id, CQrnMem& target)
{
    return LoadResourceBytes(id, target, kQrnResourceRcdata);
}

void CQrnAppInstance::AddLoadedLibrary(void* module)
{
    std::lock_guard guard(librariesLock_);
    libraries_.AppendBytes(&module, sizeof(module));
}

int64_t CQrnAppInstance::LoadedLibraryCount() const
{
    std::lock_guard guard(librariesLock_);
    return libraries_.GetLength() / static_cast<int64_t>(sizeof(void*));
}

void* CQrnAppInstance::LoadedLibrary(int64_t index) const
{
    std::lock_guard guard(librariesLock_);
    if (index < 0 || index >= libraries_.GetLength() / static_cast<int64_t>(sizeof(void*)))
        return nullptr;
    void* module = nullptr;
    std::memcpy(&module, libraries_.GetData() + index * static_cast<int64_t>(sizeof(void*)), sizeof(module));
    return module;
}

bool CQrnAppInstance::EnsureImageLibrary()
{
    std::lock_guard guard(imageLock_);
    if (imageToken_ == 0)
        if (CQrnInstanceServices* services = Services())
            imageToken_ = services->StartImageLibrary();
    return imageToken_ != 0;
}

bool CQrnAppInstance::ImageLibraryStarted() const
{
    std::lock_guard guard(imageLock_);
    return imageToken_ != 0;
}

void CQrnAppInstance::ReleaseProcessState()
{
    CQrnInstanceServices* services = Services();
    CQrnMem libraries;
    {
        std::lock_guard guard(librariesLock_);
        libraries.Assign(libraries_);
        libraries_.Reset();
    }
    const int64_t count = libraries.GetLength() / static_cast<int64_t>(sizeof(void*));
    for (int64_t i = 0; i < count && services; ++i) {
        void* module = nullptr;
        std::memcpy(&module, libraries.GetData() + i * static_cast<int64_t>(sizeof(void*)), sizeof(module));
        services->FreeLibrary(module);
    }
    std::lock_guard guard(imageLock_);
    if (imageToken_ != 0 && services)
        services->StopImageLibrary(imageToken_);
    imageToken_ = 0;
}
