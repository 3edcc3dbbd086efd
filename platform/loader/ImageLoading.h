#pragma once
// Decoded pictures as the drawing layer's handles: bitmaps, image lists by the magenta rule, icons
// and cursors; and typed forms of the runtime instance's image services for the program's own
// resources. Every function answers null on any failure and reports nothing.
// Thread safety: any thread.
#include "platform/gdi/Cursors.h"
#include "platform/gdi/GdiTypes.h"

#include <cstdint>
#include <span>
#include <string_view>

// The colour an image list made from a bitmap treats as transparent.
inline constexpr COLORREF kImageListMaskColour = 0x00FF00FF;

HBITMAP LoadBitmapFromBytes(std::span<const uint8_t> bytes);
HBITMAP LoadBitmapFromFile(std::u16string_view path);
// Images as high as the bitmap and as wide as that height rounded up to an even number, cut from
// the left, 32-bit colour with a mask, magenta transparent. Null when the bitmap is narrower than
// one image. The bitmap stays the caller's.
HIMAGELIST ImageListFromBitmap(HBITMAP bitmap);
HICON IconFromBytes(std::span<const uint8_t> bytes, IconKind kind);
HICON IconFromFile(std::u16string_view path, IconKind kind);

// The program's resources (RCDATA pictures, icon and cursor resources), through the runtime
// instance: LoadImageResource kinds 0, 3, 2 and 1.
HBITMAP LoadBitmapResource(UINT id);
HIMAGELIST LoadImageListResource(UINT id);
HICON LoadIconResource(UINT id);
HCURSOR LoadCursorResource(UINT id);
