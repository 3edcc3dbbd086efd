// Image lists.
#include "platform/gdi/ImageList.h"

#include "platform/gdi/GdiState.h"

#include <algorithm>
#include <utility>

using namespace tabrix::gdi_detail;

namespace {

constexpr int kLargestImage = 4096;
constexpr size_t kMostImages = 65536;

ImageListRecord* FindListLocked(GdiState& state, HIMAGELIST list)
{
    auto it = state.imageLists.find(reinterpret_cast<uintptr_t>(list));
    return it == state.imageLists.end() ? nullptr : &it->second;
}

// Cuts image k of the list's size out of a picture, clearing what the mask says is transparent.
PixelBitmap Cut(const ImageListRecord& list, const PixelBitmap& picture, int k, const PixelBitmap* mask,
                COLORREF maskColour)
{
    PixelBitmap image(list.cx, list.cy, 0);
    bool deep = (list.flags & 0xFE) == ILC_COLOR32;
    int rows = std::min(list.cy, picture.height);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < list.cx; ++x) {
            int sx = k * list.cx + x;
            uint32_t pixel = picture.At(sx, y);
            if (!deep)
                pixel |= 0xFF000000;
            if (maskColour != CLR_NONE && ColourFromPixel(pixel) == (maskColour & 0x00FFFFFF))
                pixel = 0;
            if (mask && sx < mask->width && y < mask->height && (mask->At(sx, y) & 0x00FFFFFF) != 0)
                pixel = 0;
            image.At(x, y) = pixel;
        }
    }
    return image;
}

int AddPicture(HIMAGELIST handle, HBITMAP bitmap, HBITMAP maskBitmap, COLORREF maskColour)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ImageListRecord* list = FindListLocked(state, handle);
    auto* picture = state.FindAsLocked<BitmapObject>(bitmap);
    auto* mask = maskBitmap ? state.FindAsLocked<BitmapObject>(maskBitmap) : nullptr;
    if (!list || !picture || (maskBitmap && !mask))
        return -1;
    int count = picture->picture.width / list->cx;
    if (count <= 0 || list->images.size() + static_cast<size_t>(count) > kMostImages)
        return -1;
    int first = static_cast<int>(list->images.size());
    for (int k = 0; k < count; ++k)
        list->images.push_back(Cut(*list, picture->picture, k, mask ? &mask->picture : nullptr, maskColour));
    return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow)
{
    if (cx < 1 || cy < 1 || cx > kLargestImage || cy > kLargestImage) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ImageListRecord list;
    list.cx = cx;
    list.cy = cy;
    list.flags = flags;
    list.grow = std::max(grow, 1);
    list.images.reserve(static_cast<size_t>(std::clamp(initial, 0, 256)));
    uintptr_t handle = state.NewHandleLocked();
    state.imageLists.emplace(handle, std::move(list));
    return reinterpret_cast<HIMAGELIST>(handle);
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    return state.imageLists.erase(reinterpret_cast<uintptr_t>(list)) ? TRUE : FALSE;
}

int ImageList_GetImageCount(HIMAGELIST handle)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ImageListRecord* list = FindListLocked(state, handle);
    return list ? static_cast<int>(list->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ImageListRecord* list = FindListLocked(state, handle);
    if (!list || !cx || !cy)
        return FALSE;
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask)
{
    return AddPicture(list, image, mask, CLR_NONE);
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColour)
{
    return AddPicture(list, image, nullptr, maskColour);
}

int ImageList_ReplaceIcon(HIMAGELIST handle, int index, HICON icon)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ImageListRecord* list = FindListLocked(state, handle);
    auto it = state.icons.find(reinterpret_cast<uintptr_t>(icon));
    if (!list || it == state.icons.end() || it->second.picture.Empty())
        return -1;
    if (index < -1 || index >= static_cast<int>(list->images.size()))
        return -1;
    if (index == -1 && list->images.size() >= kMostImages)
        return -1;
    const PixelBitmap& picture = it->second.picture;
    PixelBitmap image(list->cx, list->cy, 0);
    for (int y = 0; y < std::min(list->cy, picture.height); ++y)
        for (int x = 0; x < std::min(list->cx, picture.width); ++x)
            image.At(x, y) = picture.At(x, y);
    if (index == -1) {
        list->images.push_back(std::move(image));
        return static_cast<int>(list->images.size()) - 1;
    }
    list->images[static_cast<size_t>(index)] = std::move(image);
    return index;
}

BOOL ImageList_Remove(HIMAGELIST handle, int index)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ImageListRecord* list = FindListLocked(state, handle);
    if (!list || index < -1 || index >= static_cast<int>(list->images.size()))
        return FALSE;
    if (index == -1)
        list->images.clear();
    else
        list->images.erase(list->images.begin() + index);
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST handle, COLORREF colour)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ImageListRecord* list = FindListLocked(state, handle);
    return list ? std::exchange(list->background, colour) : CLR_NONE;
}

COLORREF ImageList_GetBkColor(HIMAGELIST handle)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ImageListRecord* list = FindListLocked(state, handle);
    return list ? list->background : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST handle, int index, HDC hdc, int x, int y, UINT)
{
    std::shared_ptr<DrawingBackend> backend;
    DrawingTarget target;
    BitmapDrawing drawing;
    bool alive = WindowTokenAlive(hdc);
    {
        GdiState& state = GdiState::Get();
        Lock lock(state.mutex);
        ImageListRecord* list = FindListLocked(state, handle);
        DcState* dc = state.DcLocked(hdc, alive);
        if (!list || !dc || index < 0 || index >= static_cast<int>(list->images.size()))
            return FALSE;
        backend = BackendLocked(state);
        target = DrawingTarget{hdc, dc->window, dc->memory ? static_cast<HBITMAP>(dc->bitmap) : nullptr};
        drawing.imageList = handle;
        drawing.image = index;
        drawing.from = RECT{0, 0, list->cx, list->cy};
        drawing.to = RECT{x, y, x + list->cx, y + list->cy};
        drawing.perPixelAlpha = true;
    }
    if (backend)
        backend->DrawBitmap(target, drawing);
    return TRUE;
}

BOOL ImageList_GetImagePixels(HIMAGELIST handle, int index, PixelBitmap* out)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ImageListRecord* list = FindListLocked(state, handle);
    if (!list || !out || index < 0 || index >= static_cast<int>(list->images.size()))
        return FALSE;
    *out = list->images[static_cast<size_t>(index)];
    return TRUE;
}
