#pragma once
// Window rectangles and the frame arithmetic: positions are in the parent's client coordinates
// (screen coordinates for top-level windows); the client area is the rectangle minus the frame that
// the style implies (WM_NCCALCSIZE), the same frame AdjustWindowRectEx adds.
// Thread safety: any thread; SetWindowPos and MoveWindow send their messages to the owner thread.
#include "platform/window/WinTypes.h"

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND hwnd, RECT* rect);  // screen coordinates
BOOL GetClientRect(HWND hwnd, RECT* rect);  // (0, 0, width, height)
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL hasMenu, DWORD exStyle);
int GetSystemMetrics(int index);

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* rect);
BOOL IsRectEmpty(const RECT* rect);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL OffsetRect(RECT* rect, int dx, int dy);
BOOL InflateRect(RECT* rect, int dx, int dy);
BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b);  // FALSE (and empty) when disjoint
BOOL UnionRect(RECT* out, const RECT* a, const RECT* b);
