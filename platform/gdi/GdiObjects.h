#pragma once
// Drawing objects: fonts, brushes, pens and bitmaps with their handles, the stock objects, and the
// generic DeleteObject / GetObjectW / GetObjectType. Headless, a font is its description (LOGFONTW)
// and a bitmap its pixels; the stock DEFAULT_GUI_FONT has an empty face (the desktop's default
// face) and a height of -12 (9 points at 96 dots per inch).
// Thread safety: every function from any thread, also while the window core's lock is held (a
// presenter's PullWindowChanges visitor may read fonts and bitmaps). Stock objects are never
// deleted; an object still selected into a device context, or a region a window owns, refuses
// deletion (FALSE).
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/PixelBitmap.h"

HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ object);
// Copies the object's description (LOGFONTW, LOGBRUSH, LOGPEN, BITMAP) into buffer, at most size
// bytes; a null buffer asks for the size. Returns the bytes copied, 0 for an unknown handle.
int GetObjectW(HANDLE object, int size, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);  // OBJ_*, 0 for an unknown handle

HFONT CreateFontIndirectW(const LOGFONTW* font);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR face);

HBRUSH CreateSolidBrush(COLORREF colour);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HPEN CreatePen(int style, int width, COLORREF colour);

// Our own: a 32-bit bitmap holding a copy of the picture; null (ERROR_INVALID_PARAMETER) for an
// inconsistent picture or one larger than 16384 pixels a side. Decoders hand their results here.
HBITMAP CreateBitmapFromPixels(const PixelBitmap& picture);
// Our own: copies a bitmap's pixels; FALSE for an unknown handle.
BOOL GetBitmapPixels(HBITMAP bitmap, PixelBitmap* out);
// An empty (transparent black) 32-bit bitmap; null for a size outside 1..16384.
HBITMAP CreateBitmap32(int width, int height);
