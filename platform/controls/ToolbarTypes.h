#pragma once
// Styles, button states and structures of the "ToolbarWindow32" class (ToolbarControl.h has its
// messages), and the snapshot a presenter reads.
// Thread safety: constants and plain structures.
#include "platform/controls/CommonControls.h"
#include "platform/gdi/GdiTypes.h"

#include <string>
#include <vector>

inline constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
inline constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
inline constexpr DWORD TBSTYLE_ALTDRAG = 0x0400;
inline constexpr DWORD TBSTYLE_FLAT = 0x0800;
inline constexpr DWORD TBSTYLE_LIST = 0x1000;
inline constexpr DWORD TBSTYLE_CUSTOMERASE = 0x2000;
inline constexpr DWORD TBSTYLE_REGISTERDROP = 0x4000;
inline constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;

inline constexpr DWORD TBSTYLE_EX_DRAWDDARROWS = 0x00000001;
inline constexpr DWORD TBSTYLE_EX_MIXEDBUTTONS = 0x00000008;
inline constexpr DWORD TBSTYLE_EX_HIDECLIPPEDBUTTONS = 0x00000010;
inline constexpr DWORD TBSTYLE_EX_DOUBLEBUFFER = 0x00000080;

inline constexpr BYTE BTNS_BUTTON = 0x00;
inline constexpr BYTE BTNS_SEP = 0x01;
inline constexpr BYTE BTNS_CHECK = 0x02;
inline constexpr BYTE BTNS_GROUP = 0x04;
inline constexpr BYTE BTNS_CHECKGROUP = BTNS_GROUP | BTNS_CHECK;
inline constexpr BYTE BTNS_DROPDOWN = 0x08;
inline constexpr BYTE BTNS_AUTOSIZE = 0x10;
inline constexpr BYTE BTNS_NOPREFIX = 0x20;
inline constexpr BYTE BTNS_SHOWTEXT = 0x40;
inline constexpr BYTE BTNS_WHOLEDROPDOWN = 0x80;
inline constexpr BYTE TBSTYLE_BUTTON = BTNS_BUTTON;
inline constexpr BYTE TBSTYLE_SEP = BTNS_SEP;
inline constexpr BYTE TBSTYLE_CHECK = BTNS_CHECK;
inline constexpr BYTE TBSTYLE_GROUP = BTNS_GROUP;
inline constexpr BYTE TBSTYLE_DROPDOWN = BTNS_DROPDOWN;

inline constexpr BYTE TBSTATE_CHECKED = 0x01;
inline constexpr BYTE TBSTATE_PRESSED = 0x02;
inline constexpr BYTE TBSTATE_ENABLED = 0x04;
inline constexpr BYTE TBSTATE_HIDDEN = 0x08;
inline constexpr BYTE TBSTATE_INDETERMINATE = 0x10;
inline constexpr BYTE TBSTATE_WRAP = 0x20;
inline constexpr BYTE TBSTATE_ELLIPSES = 0x40;
inline constexpr BYTE TBSTATE_MARKED = 0x80;

inline constexpr int I_IMAGENONE = -2;

struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    BYTE bReserved[6];
    DWORD_PTR dwData;
    INT_PTR iString;  // index into the toolbar's strings, a text pointer, or -1
};

struct NMTOOLBARW {
    NMHDR hdr;
    int iItem;  // the command identifier
    TBBUTTON tbButton;
    int cchText;
    LPWSTR pszText;
    RECT rcButton;
};

struct NMTBCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    HBRUSH hbrMonoDither;
    HBRUSH hbrLines;
    HPEN hpenLines;
    COLORREF clrText;
    COLORREF clrMark;
    COLORREF clrTextHighlight;
    COLORREF clrBtnFace;
    COLORREF clrBtnHighlight;
    COLORREF clrHighlightHotTrack;
    RECT rcText;
    int nStringBkMode;
    int nHLStringBkMode;
    int iListGap;
};

struct ToolbarButtonView {
    int image = 0;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    DWORD_PTR data = 0;
    std::u16string text;
    RECT rect{};  // client coordinates; empty when hidden
};

struct ToolbarSnapshot {
    std::vector<ToolbarButtonView> buttons;
    HIMAGELIST images = nullptr;
    HIMAGELIST hotImages = nullptr;
    HIMAGELIST disabledImages = nullptr;
    DWORD extendedStyle = 0;
    int maxTextRows = 1;
    int rows = 1;
    HWND notify = nullptr;
    HWND tooltip = nullptr;
};
