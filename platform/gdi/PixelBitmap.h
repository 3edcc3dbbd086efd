#pragma once
// A plain picture in memory: the meeting point of image decoding (resources, files) and the drawing
// layer (bitmaps, icons, image lists). Rows run top to bottom; each pixel is one 32-bit value
// 0xAARRGGBB with straight (not premultiplied) alpha, so an opaque picture has 0xFF in the top byte.
// Thread safety: a plain value; copy it freely, share it only read-only.
#include <cstddef>
#include <cstdint>
#include <vector>

struct PixelBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // width * height values

    PixelBitmap() = default;
    PixelBitmap(int w, int h, uint32_t fill = 0)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill)
    {
    }

    bool Empty() const { return width <= 0 || height <= 0; }
    // True when the picture is consistent (the pixel count matches the size).
    bool Valid() const
    {
        return width >= 0 && height >= 0 &&
               pixels.size() == static_cast<size_t>(width) * static_cast<size_t>(height);
    }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const PixelBitmap&) const = default;
};

// Pixel helpers: a colour value (0x00BBGGRR) to an opaque pixel and back.
constexpr uint32_t PixelFromColour(uint32_t colour, uint32_t alpha = 0xFF)
{
    return (alpha << 24) | ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
constexpr uint32_t ColourFromPixel(uint32_t pixel)
{
    return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}
