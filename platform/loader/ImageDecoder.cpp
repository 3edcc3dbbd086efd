// Picture decoding with stb_image, and the icon and cursor containers around it.
#include "platform/loader/ImageDecoder.h"

#include "platform/files/FileNameCodec.h"

#include <stb/stb_image.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
void PutLe32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool Acceptable(int width, int height)
{
    return width > 0 && height > 0 && width <= kLargestPictureSide && height <= kLargestPictureSide &&
           static_cast<int64_t>(width) * height <= kMostPicturePixels;
}

std::optional<PixelBitmap> DecodeWithStb(std::span<const uint8_t> bytes)
{
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX))
        return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    // The size is checked before any pixel memory is taken, so a forged header cannot ask for gigabytes.
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) || !Acceptable(width, height))
        return std::nullopt;
    std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
        stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4), stbi_image_free);
    if (!rgba || !Acceptable(width, height))
        return std::nullopt;
    PixelBitmap picture(width, height);
    const stbi_uc* p = rgba.get();
    for (uint32_t& pixel : picture.pixels) {
        pixel = (static_cast<uint32_t>(p[3]) << 24) | (static_cast<uint32_t>(p[0]) << 16) |
                (static_cast<uint32_t>(p[1]) << 8) | p[2];
        p += 4;
    }
    return picture;
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool IsIconContainer(std::span<const uint8_t> bytes)
{
    if (bytes.size() < 6 || Le16(bytes.data()) != 0)
        return false;
    uint16_t type = Le16(bytes.data() + 2);
    uint16_t count = Le16(bytes.data() + 4);
    return (type == 1 || type == 2) && count > 0 && bytes.size() >= 6 + 16u * count;
}

// A device-independent bitmap as stored in an icon: a header, palette and colour rows of twice the
// picture's height (colour, then a 1-bit mask in which 1 means transparent).
std::optional<PixelBitmap> DecodeIconBitmap(std::span<const uint8_t> dib)
{
    if (dib.size() < 40)
        return std::nullopt;
    uint32_t headerSize = Le32(dib.data());
    int32_t width = static_cast<int32_t>(Le32(dib.data() + 4));
    int32_t doubleHeight = static_cast<int32_t>(Le32(dib.data() + 8));
    uint16_t bits = Le16(dib.data() + 14);
    uint32_t compression = Le32(dib.data() + 16);
    uint32_t coloursUsed = Le32(dib.data() + 32);
    int32_t height = (doubleHeight < 0 ? -doubleHeight : doubleHeight) / 2;
    if (headerSize < 40 || headerSize > dib.size() || !Acceptable(width, height) || bits == 0 || bits > 32 ||
        coloursUsed > 256)
        return std::nullopt;
    uint64_t paletteEntries = bits <= 8 ? (coloursUsed ? coloursUsed : (1u << bits)) : (compression == 3 ? 3 : 0);
    uint64_t pixelOffset = headerSize + paletteEntries * 4;
    if (pixelOffset > dib.size())
        return std::nullopt;

    std::vector<uint8_t> file(14 + dib.size());
    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file.data() + 2, static_cast<uint32_t>(file.size()));
    PutLe32(file.data() + 10, static_cast<uint32_t>(14 + pixelOffset));
    std::memcpy(file.data() + 14, dib.data(), dib.size());
    PutLe32(file.data() + 14 + 8, static_cast<uint32_t>(doubleHeight < 0 ? -height : height));
    std::optional<PixelBitmap> picture = DecodeWithStb(file);
    if (!picture || picture->width != width || picture->height != height)
        return std::nullopt;

    uint64_t colourRow = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    uint64_t maskRow = ((static_cast<uint64_t>(width) + 31) / 32) * 4;
    uint64_t maskStart = pixelOffset + colourRow * height;
    if (maskStart + maskRow * height <= dib.size()) {
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = dib.data() + maskStart + maskRow * (doubleHeight < 0 ? y : height - 1 - y);
            for (int x = 0; x < width; ++x)
                if ((row[x / 8] >> (7 - x % 8)) & 1)
                    picture->At(x, y) = 0;
        }
    }
    return picture;
}

std::optional<DecodedPicture> DecodeIconContainer(std::span<const uint8_t> bytes)
{
    const bool cursor = Le16(bytes.data() + 2) == 2;
    const uint16_t count = Le16(bytes.data() + 4);
    const uint8_t* best = nullptr;
    uint64_t bestScore = 0;
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* entry = bytes.data() + 6 + 16 * i;
        uint64_t w = entry[0] ? entry[0] : 256;
        uint64_t h = entry[1] ? entry[1] : 256;
        uint64_t depth = cursor ? 0 : Le16(entry + 6);
        uint64_t score = (w * h) << 8 | (depth & 0xFF);
        if (!best || score > bestScore) {
            best = entry;
            bestScore = score;
        }
    }
    uint32_t size = Le32(best + 8);
    uint32_t offset = Le32(best + 12);
    if (offset > bytes.size() || size > bytes.size() - offset)
        return std::nullopt;
    std::span<const uint8_t> data = bytes.subspan(offset, size);
    std::optional<PixelBitmap> picture;
    if (data.size() >= 8 && std::memcmp(data.data(), kPngSignature, 8) == 0)
        picture = DecodeWithStb(data);
    else
        picture = DecodeIconBitmap(data);
    if (!picture)
        return std::nullopt;
    DecodedPicture decoded{std::move(*picture)};
    if (cursor) {
        decoded.hotspotX = Le16(best + 4);
        decoded.hotspotY = Le16(best + 6);
    }
    return decoded;
}

}  // namespace

std::optional<DecodedPicture> DecodePicture(std::span<const uint8_t> bytes)
{
    if (IsIconContainer(bytes))
        return DecodeIconContainer(bytes);
    std::optional<PixelBitmap> picture = DecodeWithStb(bytes);
    if (!picture)
        return std::nullopt;
    return DecodedPicture{std::move(*picture)};
}

std::optional<DecodedPicture> DecodePictureFile(std::u16string_view path)
{
    std::optional<std::string> name = EncodeFileName(path);
    if (!name || name->empty())
        return std::nullopt;
    int fd = open(name->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) <= kLargestPictureFile;
    if (ok) {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (ok && done < bytes.size()) {
            ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            if (ok)
                done += static_cast<size_t>(n);
        }
    }
    close(fd);
    if (!ok)
        return std::nullopt;
    return DecodePicture(bytes);
}
