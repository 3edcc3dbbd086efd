#pragma once
// Window classes: a name (compared ignoring ASCII case), a window procedure and the attributes
// every window of the class starts with. Classes are process-wide; a control library registers its
// classes ("Button", "Edit", ...) once with RegisterClassExW like any program class.
// Thread safety: any thread; a class cannot be unregistered while windows of it exist.
#include "platform/window/WinTypes.h"

ATOM RegisterClassExW(const WNDCLASSEXW* wc);
ATOM RegisterClassW(const WNDCLASSW* wc);
// className may be a name or MAKEINTATOM(atom).
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
ATOM GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* wc);
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc);
// Copies the class name of the window (truncated, terminated); returns the units copied.
int GetClassNameW(HWND hwnd, LPWSTR buffer, int bufferChars);
ULONG_PTR GetClassLongPtrW(HWND hwnd, int index);
