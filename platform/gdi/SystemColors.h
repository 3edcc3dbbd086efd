#pragma once
// The desktop's system colours (GetSysColor) with the light scheme of the original desktop as
// headless values, and one shared brush per colour (GetSysColorBrush, never deleted). A presenter
// may replace colours with the desktop's own (SetSysColors).
// Thread safety: any thread.
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiTypes.h"

COLORREF GetSysColor(int index);       // 0 for an unknown index
HBRUSH GetSysColorBrush(int index);    // null for an unknown index
BOOL SetSysColors(int count, const int* indices, const COLORREF* colours);
