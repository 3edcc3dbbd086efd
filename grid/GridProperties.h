#pragma once
// The property store of a native grid: every display property, kept whether or not the window
// exists, with its value after construction. CVWnd_Grid applies it at creation.
#include "grid/GridTypes.h"

#include <cstdint>

struct GridProperties {
    int32_t rowCount = 5;           // fixed rows included
    int32_t columnCount = 5;        // fixed columns included
    int32_t fixedRowCount = 1;
    int32_t fixedColumnCount = 1;
    GridLines gridLines = GridLines::Both;
    bool editable = true;
    int32_t defaultRowHeight = 24;
    int32_t defaultColumnWidth = 60;
    COLORREF textColour = 0x000000;
    COLORREF cellBackColour = 0xFFFFFF;
    COLORREF gridBackColour = 0xFFFFFF;
    COLORREF gridLineColour = 0xC0C0C0;
    COLORREF fixedBackColour = kSystemButtonFace;
    AlternateColors alternate = AlternateColors::Off;
    COLORREF alternateFirst = 0xFFFFFF;
    COLORREF alternateSecond = 0xFFFFFF;
    bool selectionEnabled = true;
    int32_t gridLineWidth = 1;
};
