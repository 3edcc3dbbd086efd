#pragma once
// Regions as simple shapes (rectangle, ellipse, rounded rectangle within a bounding box) and the
// window region that gives a window its shape. After SetWindowRgn the window owns the region: it is
// deleted when replaced or when the window's region is cleared, and DeleteObject refuses it.
// SetWindowRgn marks the window's style as changed so a presenter picks up the shape.
// Thread safety: any thread.
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiTypes.h"

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
int GetRgnBox(HRGN region, RECT* box);  // NULLREGION, SIMPLEREGION or ERROR_REGION
BOOL PtInRegion(HRGN region, int x, int y);

// Null region: the window has its rectangle again. Returns 0 for an unknown window or region.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
// Copies the window's region into region; ERROR_REGION when the window has none.
int GetWindowRgn(HWND hwnd, HRGN region);

// Our own, for presenters and tests.
enum class RegionShape { None, Rectangle, Ellipse, RoundRectangle };
RegionShape GetRegionShape(HRGN region, RECT* box, SIZE* corner);
