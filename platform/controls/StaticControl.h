#pragma once
// The "Static" class: a text or an icon that takes no input. It answers WM_GETDLGCODE with
// DLGC_STATIC and lets mouse input through to what lies below (HTTRANSPARENT) unless SS_NOTIFY is
// set; with SS_NOTIFY a click sends STN_CLICKED (a double click STN_DBLCLK) to the parent as
// WM_COMMAND. Painting asks the parent for colours with WM_CTLCOLORSTATIC.
// Thread safety: as every control (ControlClasses.h).
#include "platform/controls/ControlClasses.h"

inline constexpr DWORD SS_LEFT = 0x00000000;
inline constexpr DWORD SS_CENTER = 0x00000001;
inline constexpr DWORD SS_RIGHT = 0x00000002;
inline constexpr DWORD SS_ICON = 0x00000003;
inline constexpr DWORD SS_BLACKRECT = 0x00000004;
inline constexpr DWORD SS_SIMPLE = 0x0000000B;
inline constexpr DWORD SS_LEFTNOWORDWRAP = 0x0000000C;
inline constexpr DWORD SS_BITMAP = 0x0000000E;
inline constexpr DWORD SS_TYPEMASK = 0x0000001F;
inline constexpr DWORD SS_NOPREFIX = 0x00000080;
inline constexpr DWORD SS_NOTIFY = 0x00000100;
inline constexpr DWORD SS_CENTERIMAGE = 0x00000200;
inline constexpr DWORD SS_SUNKEN = 0x00001000;
inline constexpr DWORD SS_ENDELLIPSIS = 0x00004000;

inline constexpr UINT STM_SETICON = 0x0170;
inline constexpr UINT STM_GETICON = 0x0171;
inline constexpr UINT STM_SETIMAGE = 0x0172;
inline constexpr UINT STM_GETIMAGE = 0x0173;

inline constexpr WORD STN_CLICKED = 0;
inline constexpr WORD STN_DBLCLK = 1;
inline constexpr WORD STN_ENABLE = 2;
inline constexpr WORD STN_DISABLE = 3;

// Extra bytes of a static control, after the shared ones.
inline constexpr int STATIC_EXTRA_IMAGE = CONTROL_EXTRA_FIRST_CLASS_SLOT;  // icon or bitmap handle
inline constexpr int STATIC_EXTRA_BYTES = CONTROL_EXTRA_FIRST_CLASS_SLOT + 8;
