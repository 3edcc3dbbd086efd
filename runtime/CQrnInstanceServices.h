// What the runtime instance needs of the platform: the program's module, its embedded resources,
// image decoding into the platform's bitmap, image-list, icon and cursor handles, and freeing
// libraries. The platform layer installs one implementation (CQrnAppInstance::SetServices); until
// then the instance's resource and image services answer null or false.
// Thread safety: every operation may be called from any thread; an installed implementation lives
// to process end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class CWString;

// The kinds of LoadImageResource and LoadImageFile.
enum class QrnImageKind : int32_t { Bitmap = 0, Cursor = 1, Icon = 2, ImageList = 3 };

// Resource types, with the platform's numbers.
inline constexpr uint32_t kQrnResourceString = 6;
inline constexpr uint32_t kQrnResourceRcdata = 10;

class CQrnInstanceServices {
public:
    virtual ~CQrnInstanceServices() = default;
    // The module that holds the program's code; never null.
    virtual void* ProgramModule() = 0;
    // The resource's bytes (they live to process end); empty when the module has no such resource.
    virtual std::span<const uint8_t> ResourceBytes(void* module, uint32_t type, uint32_t id) = 0;
    // Decodes a picture held in memory: Bitmap gives a bitmap handle, ImageList an image list made
    // from it; null when the bytes are no picture the decoder reads.
    virtual void* DecodeImage(QrnImageKind kind, std::span<const uint8_t> bytes) = 0;
    virtual void* DecodeImageFile(QrnImageKind kind, const CWString& path) = 0;
    // The module's icon or cursor resource as a handle; null when missing.
    virtual void* LoadModuleImage(void* module, QrnImageKind kind, uint32_t id) = 0;
    virtual bool FreeLibrary(void* module) = 0;
    // The image library's start (a nonzero token, 0 on failure) and its shutdown.
    virtual uintptr_t StartImageLibrary() = 0;
    virtual void StopImageLibrary(uintptr_t token) = 0;
};
