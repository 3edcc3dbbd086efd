// Fonts, brushes, pens and bitmaps, and the generic object functions.
#include "platform/gdi/GdiObjects.h"

#include "platform/gdi/GdiState.h"

#include <algorithm>
#include <cstring>

using namespace tabrix::gdi_detail;

namespace {

constexpr int kMaxBitmapSide = 16384;

template <typename T>
int CopyOut(const T& value, int size, LPVOID buffer)
{
    if (!buffer)
        return static_cast<int>(sizeof(T));
    if (size <= 0)
        return 0;
    int n = std::min(size, static_cast<int>(sizeof(T)));
    std::memcpy(buffer, &value, static_cast<size_t>(n));
    return n;
}

BITMAP DescribeBitmap(BitmapObject& bitmap)
{
    BITMAP b{};
    b.bmWidth = bitmap.picture.width;
    b.bmHeight = bitmap.picture.height;
    b.bmWidthBytes = bitmap.picture.width * 4;
    b.bmPlanes = 1;
    b.bmBitsPixel = 32;
    b.bmBits = bitmap.picture.pixels.empty() ? nullptr : bitmap.picture.pixels.data();
    return b;
}

template <typename T>
HGDIOBJ Add(T object)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    return reinterpret_cast<HGDIOBJ>(state.AddLocked(ObjectRecord{std::move(object)}));
}

}  // namespace

HGDIOBJ GetStockObject(int index)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    if (index < 0 || static_cast<size_t>(index) >= state.stock.size())
        return nullptr;
    return reinterpret_cast<HGDIOBJ>(state.stock[static_cast<size_t>(index)]);
}

BOOL DeleteObject(HGDIOBJ object)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ObjectRecord* record = state.FindLocked(object);
    if (!record) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (record->stock)
        return TRUE;
    if (record->owned || record->selections > 0)
        return FALSE;
    state.objects.erase(reinterpret_cast<uintptr_t>(object));
    return TRUE;
}

int GetObjectW(HANDLE object, int size, LPVOID buffer)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    ObjectRecord* record = state.FindLocked(object);
    if (!record)
        return 0;
    if (auto* font = std::get_if<FontObject>(&record->object))
        return CopyOut(font->log, size, buffer);
    if (auto* brush = std::get_if<BrushObject>(&record->object))
        return CopyOut(brush->log, size, buffer);
    if (auto* pen = std::get_if<PenObject>(&record->object))
        return CopyOut(pen->log, size, buffer);
    if (auto* bitmap = std::get_if<BitmapObject>(&record->object))
        return CopyOut(DescribeBitmap(*bitmap), size, buffer);
    return 0;
}

DWORD GetObjectType(HGDIOBJ object)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    if (ObjectRecord* record = state.FindLocked(object)) {
        switch (record->object.index()) {
        case 0: return OBJ_FONT;
        case 1: return OBJ_BRUSH;
        case 2: return OBJ_PEN;
        case 3: return OBJ_BITMAP;
        default: return OBJ_REGION;
        }
    }
    auto dc = state.dcs.find(reinterpret_cast<uintptr_t>(object));
    if (dc != state.dcs.end())
        return dc->second.memory ? OBJ_MEMDC : OBJ_DC;
    return 0;
}

HFONT CreateFontIndirectW(const LOGFONTW* font)
{
    if (!font) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    FontObject object{*font};
    // A face that fills the whole array is cut so it stays terminated.
    object.log.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(Add(object));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR face)
{
    LOGFONTW f{};
    f.lfHeight = height;
    f.lfWidth = width;
    f.lfEscapement = escapement;
    f.lfOrientation = orientation;
    f.lfWeight = weight;
    f.lfItalic = static_cast<BYTE>(italic ? 1 : 0);
    f.lfUnderline = static_cast<BYTE>(underline ? 1 : 0);
    f.lfStrikeOut = static_cast<BYTE>(strikeOut ? 1 : 0);
    f.lfCharSet = static_cast<BYTE>(charSet);
    f.lfOutPrecision = static_cast<BYTE>(outPrecision);
    f.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    f.lfQuality = static_cast<BYTE>(quality);
    f.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    for (int i = 0; face && face[i] && i < LF_FACESIZE - 1; ++i)
        f.lfFaceName[i] = face[i];
    return CreateFontIndirectW(&f);
}

HBRUSH CreateSolidBrush(COLORREF colour)
{
    return static_cast<HBRUSH>(Add(BrushObject{LOGBRUSH{BS_SOLID, colour & 0x00FFFFFF, 0}}));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush)
{
    if (!brush) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBRUSH>(Add(BrushObject{*brush}));
}

HPEN CreatePen(int style, int width, COLORREF colour)
{
    LOGPEN pen{static_cast<UINT>(style), POINT{std::max(width, 0), 0}, colour & 0x00FFFFFF};
    return static_cast<HPEN>(Add(PenObject{pen}));
}

HBITMAP CreateBitmapFromPixels(const PixelBitmap& picture)
{
    if (!picture.Valid() || picture.width > kMaxBitmapSide || picture.height > kMaxBitmapSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBITMAP>(Add(BitmapObject{picture}));
}

HBITMAP CreateBitmap32(int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxBitmapSide || height > kMaxBitmapSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBITMAP>(Add(BitmapObject{PixelBitmap(width, height, 0)}));
}

BOOL GetBitmapPixels(HBITMAP bitmap, PixelBitmap* out)
{
    GdiState& state = GdiState::Get();
    Lock lock(state.mutex);
    auto* object = state.FindAsLocked<BitmapObject>(bitmap);
    if (!object || !out)
        return FALSE;
    *out = object->picture;
    return TRUE;
}
