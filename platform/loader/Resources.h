#pragma once
// Resources embedded in the program at build time: (type, id) -> bytes. The CMake function
// tabrix_embed_resources (EmbedResources.cmake) turns files into a generated source that registers
// them during static initialisation; the runtime instance and LoadIconW/LoadCursorW read them
// through the program module. Icons and cursors are picture files (PNG, BMP, ICO/CUR...); the
// toolbar strip and other bitmaps are RCDATA resources holding a picture file; strings are UTF-8.
// Free of the window core's types, so generated sources include nothing else.
// Thread safety: any thread; resource bytes live to process end.
#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr uint32_t kResourceTypeString = 6;
inline constexpr uint32_t kResourceTypeRcdata = 10;
inline constexpr uint32_t kResourceTypeCursor = 12;  // the platform's cursor group
inline constexpr uint32_t kResourceTypeIcon = 14;    // the platform's icon group

struct EmbeddedResource {
    uint32_t type;
    uint32_t id;
    const uint8_t* bytes;  // static storage
    size_t size;
};

// A later registration of the same (type, id) replaces the earlier one. Also installs the
// loader's services (InstallLoaderServices), so a program with resources can always read them.
void RegisterEmbeddedResources(const EmbeddedResource* resources, size_t count);
// Empty when there is no such resource.
std::span<const uint8_t> FindEmbeddedResource(uint32_t type, uint32_t id);
