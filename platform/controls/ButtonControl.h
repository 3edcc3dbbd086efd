#pragma once
// The "Button" class: push buttons, check boxes, radio buttons and group boxes. A button clicked
// with the mouse (left button pressed and released over it) or with the space key (pressed and
// released while it has the focus) sends BN_CLICKED to its parent as WM_COMMAND (low word the
// identifier, high word the code, lParam the button); a disabled button sends nothing. Pressing
// takes the focus, as on the original desktop. Automatic check boxes and radio buttons change
// their check state before the notification. Painting asks the parent for colours with
// WM_CTLCOLORBTN (WM_CTLCOLORSTATIC for check boxes, radio buttons and group boxes).
// Thread safety: as every control (ControlClasses.h).
#include "platform/controls/ControlClasses.h"

inline constexpr DWORD BS_PUSHBUTTON = 0x00000000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
inline constexpr DWORD BS_CHECKBOX = 0x00000002;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x00000003;
inline constexpr DWORD BS_RADIOBUTTON = 0x00000004;
inline constexpr DWORD BS_3STATE = 0x00000005;
inline constexpr DWORD BS_AUTO3STATE = 0x00000006;
inline constexpr DWORD BS_GROUPBOX = 0x00000007;
inline constexpr DWORD BS_USERBUTTON = 0x00000008;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x00000009;
inline constexpr DWORD BS_PUSHBOX = 0x0000000A;
inline constexpr DWORD BS_OWNERDRAW = 0x0000000B;
inline constexpr DWORD BS_TYPEMASK = 0x0000000F;
inline constexpr DWORD BS_LEFTTEXT = 0x00000020;
inline constexpr DWORD BS_TEXT = 0x00000000;
inline constexpr DWORD BS_ICON = 0x00000040;
inline constexpr DWORD BS_BITMAP = 0x00000080;
inline constexpr DWORD BS_LEFT = 0x00000100;
inline constexpr DWORD BS_RIGHT = 0x00000200;
inline constexpr DWORD BS_CENTER = 0x00000300;
inline constexpr DWORD BS_TOP = 0x00000400;
inline constexpr DWORD BS_BOTTOM = 0x00000800;
inline constexpr DWORD BS_VCENTER = 0x00000C00;
inline constexpr DWORD BS_PUSHLIKE = 0x00001000;
inline constexpr DWORD BS_MULTILINE = 0x00002000;
inline constexpr DWORD BS_NOTIFY = 0x00004000;
inline constexpr DWORD BS_FLAT = 0x00008000;

inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETSTATE = 0x00F2;
inline constexpr UINT BM_SETSTATE = 0x00F3;
inline constexpr UINT BM_SETSTYLE = 0x00F4;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr UINT BM_GETIMAGE = 0x00F6;
inline constexpr UINT BM_SETIMAGE = 0x00F7;

inline constexpr WPARAM BST_UNCHECKED = 0x0000;
inline constexpr WPARAM BST_CHECKED = 0x0001;
inline constexpr WPARAM BST_INDETERMINATE = 0x0002;
inline constexpr WPARAM BST_PUSHED = 0x0004;
inline constexpr WPARAM BST_FOCUS = 0x0008;

inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD BN_PAINT = 1;
inline constexpr WORD BN_HILITE = 2;
inline constexpr WORD BN_UNHILITE = 3;
inline constexpr WORD BN_DISABLE = 4;
inline constexpr WORD BN_DOUBLECLICKED = 5;
inline constexpr WORD BN_SETFOCUS = 6;
inline constexpr WORD BN_KILLFOCUS = 7;

inline constexpr WPARAM IMAGE_BITMAP = 0;
inline constexpr WPARAM IMAGE_ICON = 1;

// Extra bytes of a button, after the shared ones.
inline constexpr int BUTTON_EXTRA_STATE = CONTROL_EXTRA_FIRST_CLASS_SLOT;  // BST_* bits
inline constexpr int BUTTON_EXTRA_IMAGE = CONTROL_EXTRA_FIRST_CLASS_SLOT + 8;
inline constexpr int BUTTON_EXTRA_BYTES = CONTROL_EXTRA_FIRST_CLASS_SLOT + 24;
