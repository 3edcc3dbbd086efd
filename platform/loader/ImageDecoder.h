#pragma once
// Picture decoding with Debian's stb_image: PNG, BMP, JPEG, GIF (first frame), TGA, PSD, HDR, PNM,
// and icon and cursor files (ICO/CUR: their largest picture, PNG or bitmap with its mask). Pictures
// become 32-bit PixelBitmaps; one without an alpha channel is opaque. A picture wider or taller
// than kLargestPictureSide, or with more than kMostPicturePixels, is refused before it is decoded.
// Thread safety: stateless; any thread.
#include <cstddef>  // before PixelBitmap.h, which uses size_t without including it

#include "platform/gdi/PixelBitmap.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

inline constexpr int kLargestPictureSide = 16384;
inline constexpr int64_t kMostPicturePixels = 64LL * 1024 * 1024;
inline constexpr size_t kLargestPictureFile = 256u * 1024 * 1024;

struct DecodedPicture {
    PixelBitmap picture;
    int hotspotX = 0;  // cursor files only
    int hotspotY = 0;
};

std::optional<DecodedPicture> DecodePicture(std::span<const uint8_t> bytes);
// Reads the file whole (at most kLargestPictureFile bytes) and decodes it.
std::optional<DecodedPicture> DecodePictureFile(std::u16string_view path);
