#pragma once
// Shared parts of the common controls: notification codes of the NM_ family, the custom-draw
// structure and its stages and answers, the control styles of bars (CCS_*) and the shared
// messages (CCM_*). Notification codes are unsigned values counted down from 0 (NM_CUSTOMDRAW is
// 0U - 12), carried in NMHDR::code.
// Thread safety: constants and plain structures.
#include "platform/gdi/GdiTypes.h"
#include "platform/window/WinTypes.h"

inline constexpr UINT NM_FIRST = 0U;
inline constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
inline constexpr UINT NM_CLICK = NM_FIRST - 2;
inline constexpr UINT NM_DBLCLK = NM_FIRST - 3;
inline constexpr UINT NM_RETURN = NM_FIRST - 4;
inline constexpr UINT NM_RCLICK = NM_FIRST - 5;
inline constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
inline constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;
inline constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;
inline constexpr UINT NM_HOVER = NM_FIRST - 13;
inline constexpr UINT NM_TOOLTIPSCREATED = NM_FIRST - 19;

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec;
    UINT uItemState;
    LPARAM lItemlParam;
};

struct NMTOOLTIPSCREATED {
    NMHDR hdr;
    HWND hwndToolTips;
};

inline constexpr DWORD CDDS_PREPAINT = 0x00000001;
inline constexpr DWORD CDDS_POSTPAINT = 0x00000002;
inline constexpr DWORD CDDS_PREERASE = 0x00000003;
inline constexpr DWORD CDDS_POSTERASE = 0x00000004;
inline constexpr DWORD CDDS_ITEM = 0x00010000;
inline constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
inline constexpr DWORD CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;

inline constexpr LRESULT CDRF_DODEFAULT = 0x00000000;
inline constexpr LRESULT CDRF_NEWFONT = 0x00000002;
inline constexpr LRESULT CDRF_SKIPDEFAULT = 0x00000004;
inline constexpr LRESULT CDRF_NOTIFYPOSTPAINT = 0x00000010;
inline constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x00000020;
inline constexpr LRESULT CDRF_NOTIFYPOSTERASE = 0x00000040;

inline constexpr UINT CDIS_SELECTED = 0x0001;
inline constexpr UINT CDIS_GRAYED = 0x0002;
inline constexpr UINT CDIS_DISABLED = 0x0004;
inline constexpr UINT CDIS_CHECKED = 0x0008;
inline constexpr UINT CDIS_FOCUS = 0x0010;
inline constexpr UINT CDIS_HOT = 0x0040;
inline constexpr UINT CDIS_INDETERMINATE = 0x0100;

inline constexpr DWORD CCS_TOP = 0x00000001;
inline constexpr DWORD CCS_NOMOVEY = 0x00000002;
inline constexpr DWORD CCS_BOTTOM = 0x00000003;
inline constexpr DWORD CCS_NORESIZE = 0x00000004;
inline constexpr DWORD CCS_NOPARENTALIGN = 0x00000008;
inline constexpr DWORD CCS_ADJUSTABLE = 0x00000020;
inline constexpr DWORD CCS_NODIVIDER = 0x00000040;
inline constexpr DWORD CCS_VERT = 0x00000080;

inline constexpr UINT CCM_FIRST = 0x2000;
inline constexpr UINT CCM_SETBKCOLOR = CCM_FIRST + 1;
