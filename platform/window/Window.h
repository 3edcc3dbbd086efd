#pragma once
// Windows: creation and destruction with their message sequences, text, styles, identifiers, user
// data and extra bytes, parent/owner/children, enabled and visible state, default processing.
// Every window belongs to the thread that created it. Thread safety: reading functions and
// messages work from any thread (a message to another thread's window is sent there); only the
// owner thread may destroy a window. No function holds the core's lock while a window procedure runs.
#include "platform/window/WinTypes.h"

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                     LPVOID param);
inline HWND CreateWindowW(LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param)
{
    return CreateWindowExW(0, className, windowName, style, x, y, width, height, parent, menuOrId,
                           instance, param);
}
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);           // sends WM_SETTEXT
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int chars);  // sends WM_GETTEXT
int GetWindowTextLengthW(HWND hwnd);                     // sends WM_GETTEXTLENGTH
// The stored text, without a message (what FindWindowW compares).
int InternalGetWindowText(HWND hwnd, LPWSTR buffer, int chars);

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);

HWND GetParent(HWND hwnd);  // parent of a child, owner of a pop-up, else null
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT kind);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetTopWindow(HWND hwnd);
HWND GetDesktopWindow();
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int chars);
// Top-level windows (children of parent when given), after childAfter; null class or title
// matches any; both compared ignoring ASCII case.
HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName);
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);

BOOL EnableWindow(HWND hwnd, BOOL enable);  // nonzero when the window was disabled before
BOOL IsWindowEnabled(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int command);  // nonzero when the window was visible before
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);

DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);
