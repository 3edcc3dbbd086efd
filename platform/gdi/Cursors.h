#pragma once
// Cursors and icons as opaque handles. The standard cursors and icons (IDC_*, IDI_* with no module)
// are shared handles a presenter maps to the desktop's own (GetStandardCursorId); icons and cursors
// made from pictures carry their pixels. Resources of program modules are loaded by whoever
// registers a module icon loader (the resource services do); without one, such loads fail.
// SetCursor keeps the one cursor the desktop shows.
// Thread safety: any thread.
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/PixelBitmap.h"

inline const LPCWSTR IDC_ARROW = MAKEINTRESOURCEW(32512);
inline const LPCWSTR IDC_IBEAM = MAKEINTRESOURCEW(32513);
inline const LPCWSTR IDC_WAIT = MAKEINTRESOURCEW(32514);
inline const LPCWSTR IDC_CROSS = MAKEINTRESOURCEW(32515);
inline const LPCWSTR IDC_UPARROW = MAKEINTRESOURCEW(32516);
inline const LPCWSTR IDC_SIZENWSE = MAKEINTRESOURCEW(32642);
inline const LPCWSTR IDC_SIZENESW = MAKEINTRESOURCEW(32643);
inline const LPCWSTR IDC_SIZEWE = MAKEINTRESOURCEW(32644);
inline const LPCWSTR IDC_SIZENS = MAKEINTRESOURCEW(32645);
inline const LPCWSTR IDC_SIZEALL = MAKEINTRESOURCEW(32646);
inline const LPCWSTR IDC_NO = MAKEINTRESOURCEW(32648);
inline const LPCWSTR IDC_HAND = MAKEINTRESOURCEW(32649);
inline const LPCWSTR IDC_APPSTARTING = MAKEINTRESOURCEW(32650);
inline const LPCWSTR IDC_HELP = MAKEINTRESOURCEW(32651);

inline const LPCWSTR IDI_APPLICATION = MAKEINTRESOURCEW(32512);
inline const LPCWSTR IDI_HAND = MAKEINTRESOURCEW(32513);
inline const LPCWSTR IDI_ERROR = IDI_HAND;
inline const LPCWSTR IDI_QUESTION = MAKEINTRESOURCEW(32514);
inline const LPCWSTR IDI_EXCLAMATION = MAKEINTRESOURCEW(32515);
inline const LPCWSTR IDI_WARNING = IDI_EXCLAMATION;
inline const LPCWSTR IDI_ASTERISK = MAKEINTRESOURCEW(32516);
inline const LPCWSTR IDI_INFORMATION = IDI_ASTERISK;
inline const LPCWSTR IDI_WINLOGO = MAKEINTRESOURCEW(32517);
inline const LPCWSTR IDI_SHIELD = MAKEINTRESOURCEW(32518);

HCURSOR LoadCursorW(HINSTANCE module, LPCWSTR name);
HICON LoadIconW(HINSTANCE module, LPCWSTR name);
HCURSOR SetCursor(HCURSOR cursor);  // returns the previous one
HCURSOR GetCursor();
BOOL DestroyIcon(HICON icon);       // shared icons stay (TRUE)
BOOL DestroyCursor(HCURSOR cursor);

// Our own, for decoders and presenters.
enum class IconKind { Icon, Cursor };
// A new icon or cursor holding a copy of the picture; null for an empty or inconsistent picture.
HICON CreateIconFromPixels(const PixelBitmap& picture, IconKind kind, POINT hotspot = POINT{0, 0});
BOOL GetIconPixels(HICON icon, PixelBitmap* out);
// The IDC_ or IDI_ number of a shared standard cursor or icon, 0 for others and unknown handles.
WORD GetStandardIconId(HICON icon);
BOOL IsCursorHandle(HICON icon);

// Loads icon and cursor resources of a program module (name: MAKEINTRESOURCEW(id) or a name).
using ModuleIconLoader = HICON (*)(HINSTANCE module, LPCWSTR name, IconKind kind);
void SetModuleIconLoader(ModuleIconLoader loader);
