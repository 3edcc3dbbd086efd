#pragma once
// Invalidation and painting. Each window keeps an update area (the bounding rectangle of what was
// invalidated) and an erase mark; while it is not empty and the window is visible, retrieval makes
// a WM_PAINT for it. BeginPaint sends WM_ERASEBKGND when marked and validates; EndPaint pairs it.
// The device context handed out is an opaque token: painting itself goes through the presenter.
// Thread safety: invalidation from any thread (the owner thread is woken); BeginPaint/EndPaint and
// UpdateWindow on the owner thread.
#include "platform/window/WinTypes.h"

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
