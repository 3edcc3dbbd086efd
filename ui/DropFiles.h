#pragma once
// The dropped-files handle of WM_DROPFILES (wParam) with the shell's two functions for reading it.
// Whoever delivers a drop (a presenter) makes the handle with CreateDropFiles and posts it; the
// receiving window reads it and frees it with DragFinish.
// Thread safety: any thread; one handle is read by one thread at a time.
#include "platform/window/WinTypes.h"

#include <string>
#include <vector>

struct HDROP__;
using HDROP = HDROP__*;

// Our own: a drop of the given paths, in drop order.
HDROP CreateDropFiles(const std::vector<std::u16string>& paths, POINT point = POINT{0, 0});
// index 0xFFFFFFFF: the number of files. A null buffer: the path's length in units. Otherwise the
// path, cut to chars - 1 units and terminated; returns the units copied. 0 for a bad handle.
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT chars);
BOOL DragQueryPoint(HDROP drop, POINT* point);
void DragFinish(HDROP drop);
