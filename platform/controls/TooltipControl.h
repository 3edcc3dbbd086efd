#pragma once
// The "tooltips_class32" class: a pop-up that shows a tool's text while the mouse rests over it.
// Its owner passes it mouse messages (TTM_RELAYEVENT); when the pointer stays over a tool for the
// initial delay the tooltip asks for a callback text (TTN_GETDISPINFOW to the tool's window, with
// the tool's identifier in NMHDR::idFrom), shows itself below the pointer with the text as its
// window text and sends TTN_SHOW; it hides (TTN_POP) after the pop-up delay, on a click, when the
// pointer leaves the tool, on TTM_POP, or when deactivated. TTM_POPUP shows the current tool at
// once. Texts longer than 79 units from a callback's buffer are cut there, as the buffer is.
// Thread safety: as every control (ControlClasses.h).
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlClasses.h"

inline constexpr UINT TTM_ACTIVATE = 0x0401;
inline constexpr UINT TTM_SETDELAYTIME = 0x0403;
inline constexpr UINT TTM_RELAYEVENT = 0x0407;
inline constexpr UINT TTM_GETTOOLCOUNT = 0x040D;
inline constexpr UINT TTM_SETTIPBKCOLOR = 0x0413;
inline constexpr UINT TTM_SETTIPTEXTCOLOR = 0x0414;
inline constexpr UINT TTM_GETDELAYTIME = 0x0415;
inline constexpr UINT TTM_GETTIPBKCOLOR = 0x0416;
inline constexpr UINT TTM_GETTIPTEXTCOLOR = 0x0417;
inline constexpr UINT TTM_SETMAXTIPWIDTH = 0x0418;
inline constexpr UINT TTM_GETMAXTIPWIDTH = 0x0419;
inline constexpr UINT TTM_POP = 0x041C;
inline constexpr UINT TTM_UPDATE = 0x041D;
inline constexpr UINT TTM_POPUP = 0x0422;
inline constexpr UINT TTM_ADDTOOLW = 0x0432;
inline constexpr UINT TTM_DELTOOLW = 0x0433;
inline constexpr UINT TTM_NEWTOOLRECTW = 0x0434;
inline constexpr UINT TTM_GETTOOLINFOW = 0x0435;
inline constexpr UINT TTM_SETTOOLINFOW = 0x0436;
inline constexpr UINT TTM_GETTEXTW = 0x0438;  // wParam: buffer size in units (0: 80)
inline constexpr UINT TTM_UPDATETIPTEXTW = 0x0439;
inline constexpr UINT TTM_ENUMTOOLSW = 0x043A;
inline constexpr UINT TTM_GETCURRENTTOOLW = 0x043B;

inline constexpr DWORD TTS_ALWAYSTIP = 0x01;
inline constexpr DWORD TTS_NOPREFIX = 0x02;
inline constexpr DWORD TTS_NOANIMATE = 0x10;
inline constexpr DWORD TTS_NOFADE = 0x20;
inline constexpr DWORD TTS_BALLOON = 0x40;

inline constexpr UINT TTF_IDISHWND = 0x0001;
inline constexpr UINT TTF_CENTERTIP = 0x0002;
inline constexpr UINT TTF_RTLREADING = 0x0004;
inline constexpr UINT TTF_SUBCLASS = 0x0010;
inline constexpr UINT TTF_TRACK = 0x0020;
inline constexpr UINT TTF_ABSOLUTE = 0x0080;
inline constexpr UINT TTF_TRANSPARENT = 0x0100;
inline constexpr UINT TTF_DI_SETITEM = 0x8000;

inline constexpr WPARAM TTDT_AUTOMATIC = 0;
inline constexpr WPARAM TTDT_RESHOW = 1;
inline constexpr WPARAM TTDT_AUTOPOP = 2;
inline constexpr WPARAM TTDT_INITIAL = 3;

inline constexpr UINT TTN_FIRST = 0U - 520;
inline constexpr UINT TTN_GETDISPINFOW = TTN_FIRST - 10;
inline constexpr UINT TTN_NEEDTEXTW = TTN_GETDISPINFOW;
inline constexpr UINT TTN_SHOW = TTN_FIRST - 1;
inline constexpr UINT TTN_POP = TTN_FIRST - 2;

inline const LPWSTR LPSTR_TEXTCALLBACKW = reinterpret_cast<LPWSTR>(static_cast<intptr_t>(-1));

struct TOOLINFOW {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPWSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
};

struct NMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText;
    WCHAR szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};

// Extra bytes of a tooltip, after the shared ones.
inline constexpr int TOOLTIP_EXTRA_BYTES = CONTROL_EXTRA_FIRST_CLASS_SLOT;
