#pragma once
// Drawing through a device context: rectangles, text and lines, bitmap copies. Each call resolves
// the device context's state (font, colours, selected objects) and hands the result to the drawing
// backend; headless there is none and nothing is drawn, but every answer (DrawTextW's height and
// DT_CALCRECT rectangle) is computed as a desktop would, from the font metrics.
// Thread safety: any thread, for device contexts the calling thread uses.
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiTypes.h"

// brush may be a brush handle or a system colour index + 1 (the class-brush convention).
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count);
// count -1: up to the terminator. Returns the height of the text (0 on failure); with DT_CALCRECT
// nothing is drawn and rect is set to the text's extent. Lines break at "\n" (and "\r\n") unless
// DT_SINGLELINE, and at spaces to fit the width with DT_WORDBREAK; "&" marks a prefix unless
// DT_NOPREFIX ("&&" shows one "&"). DT_VCENTER and DT_BOTTOM apply to single lines only.
int DrawTextW(HDC hdc, LPCWSTR text, int count, RECT* rect, UINT format);
BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
BOOL LineTo(HDC hdc, int x, int y);

// The source is the bitmap selected into the source memory DC.
BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rasterOperation);
BOOL StretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rasterOperation);
BOOL GdiAlphaBlend(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend);
