#pragma once
// Image lists: rows of equally sized 32-bit images with transparency, for toolbars and grids.
// An added bitmap is cut into images of the list's width from the left (a partial image at the
// right end is dropped); rows beyond the list's height are dropped, missing rows are transparent.
// A mask colour (ImageList_AddMasked) or a mask bitmap (white = transparent) clears pixels to
// transparent; without either, a picture keeps its own alpha.
// Thread safety: any thread; a list is usually built once and then only read.
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/PixelBitmap.h"

inline constexpr UINT ILC_MASK = 0x00000001;
inline constexpr UINT ILC_COLOR = 0x00000000;
inline constexpr UINT ILC_COLORDDB = 0x000000FE;
inline constexpr UINT ILC_COLOR4 = 0x00000004;
inline constexpr UINT ILC_COLOR8 = 0x00000008;
inline constexpr UINT ILC_COLOR16 = 0x00000010;
inline constexpr UINT ILC_COLOR24 = 0x00000018;
inline constexpr UINT ILC_COLOR32 = 0x00000020;

inline constexpr UINT ILD_NORMAL = 0x00000000;
inline constexpr UINT ILD_TRANSPARENT = 0x00000001;

// Null for a size outside 1..4096.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);  // 0 for an unknown list
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Both return the index of the first added image, or -1 (unknown list or bitmap, or a bitmap
// narrower than one image).
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColour);
// index -1 appends; returns the index replaced or added, -1 on failure.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) { return ImageList_ReplaceIcon(list, -1, icon); }
BOOL ImageList_Remove(HIMAGELIST list, int index);  // -1 removes all
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style);

// Our own: copies one image; FALSE for an unknown list or index.
BOOL ImageList_GetImagePixels(HIMAGELIST list, int index, PixelBitmap* out);
