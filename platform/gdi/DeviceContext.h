#pragma once
// Device contexts: the window's (GetDC, and the token BeginPaint hands out, which is the same), the
// screen's (GetDC with no window) and memory ones (CreateCompatibleDC) with a selected bitmap. Each
// keeps the selected font, brush, pen and bitmap, the colours and modes; drawing with it goes to the
// drawing backend (DrawingBackend.h). Metrics come from the backend when it has real fonts,
// otherwise from the headless model (FontMetrics.h), at 96 dots per inch unless a presenter says.
// Thread safety: any thread, but not while the window core's lock is held (not from inside a
// PullWindowChanges visitor): device contexts ask the core about windows. A device context is meant
// for one thread at a time, as on the original desktop. A window's device context state lasts until
// ReleaseDC or the window's end.
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiTypes.h"

HDC GetDC(HWND hwnd);  // null hwnd: the screen
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
HWND WindowFromDC(HDC hdc);

// Returns the previously selected object of that kind; null for an unknown DC or object (and for
// a region, which is not selectable here).
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC hdc, UINT objectType);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);

int GetDeviceCaps(HDC hdc, int index);
// Our own: the dots per inch every device context reports (LOGPIXELSX/Y); 96 headless.
void SetScreenDpi(int dpi);

COLORREF SetTextColor(HDC hdc, COLORREF colour);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF colour);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);  // 0 for an unknown DC or mode
int GetBkMode(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
COLORREF SetDCBrushColor(HDC hdc, COLORREF colour);
COLORREF SetDCPenColor(HDC hdc, COLORREF colour);

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* metrics);
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, SIZE* size);
// The window's client rectangle for window DCs, the bitmap's for memory DCs; SIMPLEREGION, or
// ERROR_REGION for an unknown DC.
int GetClipBox(HDC hdc, RECT* rect);
