#pragma once
// Reflection: a parent offers a child's notification (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*,
// WM_HSCROLL, WM_VSCROLL, WM_PARENTNOTIFY for creation and destruction) to the child's own window
// as the reflected message OCM__BASE + message with the same wParam and lParam, so the child's
// window procedure (and the native object behind it) can handle its own notification.
// The child says it handled the message by calling MarkReflectedMessageHandled while it runs it;
// the parent then skips its own handling and answers the child's result. A child that does not mark
// it (every standard control, a plain DefWindowProcW) leaves the message to the parent.
// Which side goes first is the caller's choice: call ReflectNotification before or after the
// parent's own handler.
// Thread safety: ReflectNotification reflects only to windows of the calling thread (a child of
// another thread is not offered the message: FALSE). Marks apply to the calling thread's
// innermost reflection of that child.
#include "platform/window/WinTypes.h"

inline constexpr UINT OCM__BASE = 0x0400 + 0x1C00;  // WM_USER + 0x1C00
inline constexpr UINT OCM_COMMAND = OCM__BASE + 0x0111;
inline constexpr UINT OCM_CTLCOLORBTN = OCM__BASE + 0x0135;
inline constexpr UINT OCM_CTLCOLOREDIT = OCM__BASE + 0x0133;
inline constexpr UINT OCM_CTLCOLORDLG = OCM__BASE + 0x0136;
inline constexpr UINT OCM_CTLCOLORLISTBOX = OCM__BASE + 0x0134;
inline constexpr UINT OCM_CTLCOLORMSGBOX = OCM__BASE + 0x0132;
inline constexpr UINT OCM_CTLCOLORSCROLLBAR = OCM__BASE + 0x0137;
inline constexpr UINT OCM_CTLCOLORSTATIC = OCM__BASE + 0x0138;
inline constexpr UINT OCM_HSCROLL = OCM__BASE + 0x0114;
inline constexpr UINT OCM_VSCROLL = OCM__BASE + 0x0115;
inline constexpr UINT OCM_PARENTNOTIFY = OCM__BASE + 0x0210;
inline constexpr UINT OCM_NOTIFY = OCM__BASE + 0x004E;

// The child a notification comes from (null when the message is not one that reflects, or names
// no window).
HWND ReflectionSource(UINT message, WPARAM wParam, LPARAM lParam);
// OCM__BASE + message for a message that reflects, 0 otherwise.
UINT ReflectedMessage(UINT message);
// Sends the reflected message to the child; TRUE when the child marked it handled, with its answer
// in *result (when result is not null).
BOOL ReflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
// Called by the child's window procedure while it runs a reflected message it handles.
void MarkReflectedMessageHandled(HWND child);
