// Decoded pictures as handles.
#include "platform/loader/ImageLoading.h"

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageList.h"
#include "platform/loader/ImageDecoder.h"
#include "platform/loader/InstanceServices.h"
#include "runtime/CQrnAppInstance.h"

namespace {

HICON IconFromPicture(const std::optional<DecodedPicture>& decoded, IconKind kind)
{
    if (!decoded)
        return nullptr;
    return CreateIconFromPixels(decoded->picture, kind, POINT{decoded->hotspotX, decoded->hotspotY});
}

void* InstanceImage(QrnImageKind kind, UINT id)
{
    InstallLoaderServices();
    return CQrnAppInstance::Get().LoadImageResource(kind, id);
}

}  // namespace

HBITMAP LoadBitmapFromBytes(std::span<const uint8_t> bytes)
{
    std::optional<DecodedPicture> decoded = DecodePicture(bytes);
    return decoded ? CreateBitmapFromPixels(decoded->picture) : nullptr;
}

HBITMAP LoadBitmapFromFile(std::u16string_view path)
{
    std::optional<DecodedPicture> decoded = DecodePictureFile(path);
    return decoded ? CreateBitmapFromPixels(decoded->picture) : nullptr;
}

HIMAGELIST ImageListFromBitmap(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) != sizeof(info) || info.bmHeight <= 0)
        return nullptr;
    const int height = info.bmHeight;
    const int width = (height + 1) & ~1;
    if (info.bmWidth < width)
        return nullptr;
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, info.bmWidth / width, 1);
    if (list && ImageList_AddMasked(list, bitmap, kImageListMaskColour) < 0) {
        ImageList_Destroy(list);
        list = nullptr;
    }
    return list;
}

HICON IconFromBytes(std::span<const uint8_t> bytes, IconKind kind)
{
    return IconFromPicture(DecodePicture(bytes), kind);
}

HICON IconFromFile(std::u16string_view path, IconKind kind)
{
    return IconFromPicture(DecodePictureFile(path), kind);
}

HBITMAP LoadBitmapResource(UINT id) { return static_cast<HBITMAP>(InstanceImage(QrnImageKind::Bitmap, id)); }

HIMAGELIST LoadImageListResource(UINT id)
{
    return static_cast<HIMAGELIST>(InstanceImage(QrnImageKind::ImageList, id));
}

HICON LoadIconResource(UINT id) { return static_cast<HICON>(InstanceImage(QrnImageKind::Icon, id)); }

HCURSOR LoadCursorResource(UINT id) { return static_cast<HCURSOR>(InstanceImage(QrnImageKind::Cursor, id)); }
