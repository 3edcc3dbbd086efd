#pragma once
// The "msctls_updown32" class: a pair of arrows that step a position within a range (the default
// range runs from 100 down to 0, as on the original desktop: the up arrow moves towards the upper
// end). Pressing an arrow sends UDN_DELTAPOS (an NMUPDOWN in WM_NOTIFY) to the parent; a nonzero
// answer keeps the position. Otherwise the position moves (clamped, or wrapped with UDS_WRAP), a
// buddy with UDS_SETBUDDYINT shows it as text, and the parent gets WM_VSCROLL (WM_HSCROLL with
// UDS_HORZ) with SB_THUMBPOSITION; releasing the arrow sends SB_ENDSCROLL. UDS_ALIGNRIGHT and
// UDS_ALIGNLEFT place the control inside the buddy's edge and narrow the buddy.
// Thread safety: as every control (ControlClasses.h).
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlClasses.h"

inline constexpr UINT UDM_SETRANGE = 0x0465;  // lParam: low word upper, high word lower (16-bit)
inline constexpr UINT UDM_GETRANGE = 0x0466;
inline constexpr UINT UDM_SETPOS = 0x0467;
inline constexpr UINT UDM_GETPOS = 0x0468;  // high word nonzero when the buddy's text is no position
inline constexpr UINT UDM_SETBUDDY = 0x0469;
inline constexpr UINT UDM_GETBUDDY = 0x046A;
inline constexpr UINT UDM_SETACCEL = 0x046B;
inline constexpr UINT UDM_GETACCEL = 0x046C;
inline constexpr UINT UDM_SETBASE = 0x046D;
inline constexpr UINT UDM_GETBASE = 0x046E;
inline constexpr UINT UDM_SETRANGE32 = 0x046F;  // wParam lower, lParam upper
inline constexpr UINT UDM_GETRANGE32 = 0x0470;  // wParam int* lower, lParam int* upper
inline constexpr UINT UDM_SETPOS32 = 0x0471;
inline constexpr UINT UDM_GETPOS32 = 0x0472;

inline constexpr DWORD UDS_WRAP = 0x0001;
inline constexpr DWORD UDS_SETBUDDYINT = 0x0002;
inline constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
inline constexpr DWORD UDS_ALIGNLEFT = 0x0008;
inline constexpr DWORD UDS_AUTOBUDDY = 0x0010;
inline constexpr DWORD UDS_ARROWKEYS = 0x0020;
inline constexpr DWORD UDS_HORZ = 0x0040;
inline constexpr DWORD UDS_NOTHOUSANDS = 0x0080;
inline constexpr DWORD UDS_HOTTRACK = 0x0100;

inline constexpr UINT UDN_FIRST = 0U - 721;
inline constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;

inline constexpr int UD_MAXVAL = 0x7FFF;
inline constexpr int UD_MINVAL = -UD_MAXVAL;

// Scroll codes of the WM_VSCROLL / WM_HSCROLL it sends.
inline constexpr WORD SB_THUMBPOSITION = 4;
inline constexpr WORD SB_ENDSCROLL = 8;

struct NMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
};

struct UDACCEL {
    UINT nSec;
    UINT nInc;
};

// Extra bytes of an up-down control, after the shared ones (LONG_PTR slots).
inline constexpr int UPDOWN_EXTRA_LOWER = CONTROL_EXTRA_FIRST_CLASS_SLOT;
inline constexpr int UPDOWN_EXTRA_UPPER = CONTROL_EXTRA_FIRST_CLASS_SLOT + 8;
inline constexpr int UPDOWN_EXTRA_POS = CONTROL_EXTRA_FIRST_CLASS_SLOT + 16;
inline constexpr int UPDOWN_EXTRA_BUDDY = CONTROL_EXTRA_FIRST_CLASS_SLOT + 24;
inline constexpr int UPDOWN_EXTRA_BASE = CONTROL_EXTRA_FIRST_CLASS_SLOT + 32;
inline constexpr int UPDOWN_EXTRA_PRESSED = CONTROL_EXTRA_FIRST_CLASS_SLOT + 40;  // 0, 1 up/right, 2 down/left
inline constexpr int UPDOWN_EXTRA_BYTES = CONTROL_EXTRA_FIRST_CLASS_SLOT + 48;
