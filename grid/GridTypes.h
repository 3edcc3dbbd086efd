#pragma once
// Small values shared by the grid component and the grid control: cell addresses and ranges, the
// text-layout flags of a cell, the column-type letters, the grid-line modes, colour markers and the
// component's private window messages. Plain values; any thread.
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinTypes.h"

#include <cstdint>

// A cell address; (-1, -1) is "no cell".
struct CCellID {
    int row = -1;
    int col = -1;
    bool IsValid() const noexcept { return row >= 0 && col >= 0; }
    bool operator==(const CCellID&) const = default;
};

// An inclusive rectangle of cells; empty while minRow > maxRow or minCol > maxCol.
struct CCellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -2;
    int maxCol = -2;
    bool IsValid() const noexcept { return minRow >= 0 && minCol >= 0 && minRow <= maxRow && minCol <= maxCol; }
    bool Contains(int row, int col) const noexcept
    {
        return IsValid() && row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
    }
    bool operator==(const CCellRange&) const = default;
};

// Text-layout flags of a cell are the drawing layer's DT_* flags.
// What a new cell gets: left, vertically centred, one line, ampersands shown as they are.
inline constexpr uint32_t kDefaultCellFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;

// Cell state bits.
inline constexpr uint16_t GVIS_FOCUSED = 0x0001;
inline constexpr uint16_t GVIS_SELECTED = 0x0002;
inline constexpr uint16_t GVIS_READONLY = 0x0040;
inline constexpr uint16_t GVIS_MODIFIED = 0x0080;

// Column-type letters; a column without a type holds plain text.
enum class GridColumnType : char16_t {
    Text = 0,
    CheckBox = u'i',
    Image = u'j',
    Integer = u'k',
    Number = u'f',
    List = u'l',    // a drop-down list of fixed items
    Date = u'd',    // dates written "yyyy-MM-dd"
    Button = u'u',  // a cell with a push button
};

// Grid lines: 0 none, 1 horizontal, 2 vertical, 3 both.
enum class GridLines : int { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };

// Alternating row colours; off after construction.
enum class AlternateColors : int { Off = 0, ByRows = 1, ByColumns = 2 };

enum class Editable { No, Yes };

// Colours are COLORREF values (0x00BBGGRR). kSystemButtonFace stands for the desktop's button-face colour and is
// resolved to kButtonFaceColour when applied; kDefaultColour means "take the grid's default".
inline constexpr COLORREF kSystemButtonFace = 0xFF000000;
inline constexpr COLORREF kButtonFaceColour = 0xF0F0F0;
inline constexpr COLORREF kDefaultColour = 0xFFFFFFFF;

// The component's private messages (below the control library's private requests).
inline constexpr UINT GM_REPAINT = WM_USER + 0x0100;   // coalesced repaint of what changed
inline constexpr UINT GM_EDITDONE = WM_USER + 0x0101;  // sent by the in-place editor: wParam the ending key
inline constexpr UINT GM_SCROLLTO = WM_USER + 0x0102;  // wParam the first non-fixed row, lParam the column
inline constexpr UINT GM_COMMITTEXT = WM_USER + 0x0103;  // texts typed into a desktop view wait in the table adapter
inline constexpr UINT GM_MOVEFOCUS = WM_USER + 0x0104;  // a desktop view made a cell current: wParam row, lParam column

// Scroll requests of WM_VSCROLL / WM_HSCROLL (low word of wParam).
namespace grid_scroll {
inline constexpr WORD kLineUp = 0;
inline constexpr WORD kLineDown = 1;
inline constexpr WORD kPageUp = 2;
inline constexpr WORD kPageDown = 3;
inline constexpr WORD kThumbPosition = 4;
inline constexpr WORD kThumbTrack = 5;
inline constexpr WORD kTop = 6;
inline constexpr WORD kBottom = 7;
}  // namespace grid_scroll
