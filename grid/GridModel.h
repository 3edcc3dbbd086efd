#pragma once
// Everything a grid knows besides its window: the cell store, fixed rows and columns, focus cell,
// selection, typed columns, display settings, scroll position and the geometry that maps cells to
// client pixels. Plain data without a lock: CGridCtrl holds one GridModel under its model lock and
// never calls the window system while holding it.
#include "grid/GridCellStore.h"
#include "grid/GridTypes.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

struct GridCellLook {
    COLORREF textColour = kDefaultColour;
    COLORREF backColour = kDefaultColour;
};

struct GridModel {
    GridCellStore store;
    int fixedRows = 0;
    int fixedCols = 0;
    int defaultRowHeight = 24;
    int defaultColumnWidth = 60;
    CCellID focus;
    CCellRange selection;
    bool selectionEnabled = true;
    std::map<int, GridColumnType> columnTypes;
    std::map<int, std::vector<std::u16string>> listItems;
    GridLines gridLines = GridLines::Both;
    bool editable = true;
    COLORREF textColour = 0x000000;
    COLORREF textBackColour = 0xFFFFFF;
    COLORREF gridBackColour = 0xFFFFFF;
    COLORREF gridLineColour = 0xC0C0C0;
    COLORREF fixedBackColour = kButtonFaceColour;
    AlternateColors alternate = AlternateColors::Off;
    COLORREF alternateFirst = 0xFFFFFF;
    COLORREF alternateSecond = 0xFFFFFF;
    std::unordered_map<uint64_t, GridCellLook> looks;  // sparse: only cells given a colour of their own
    int topRow = 0;   // first non-fixed row shown
    int leftCol = 0;  // first non-fixed column shown
    int clientWidth = 0;
    int clientHeight = 0;
    uint64_t revision = 0;  // counts every change a view must show

    static constexpr int kGridLineWidth = 1;

    // Counts with their side effects: fixed counts grow the grid when needed; focus, selection,
    // scroll position and cell looks are kept inside the new bounds.
    void SetRowCount(int rows);
    void SetColumnCount(int cols);
    void SetFixedRowCount(int rows);
    void SetFixedColumnCount(int cols);

    GridColumnType ColumnType(int col) const;
    bool IsFixed(int row, int col) const { return row < fixedRows || col < fixedCols; }
    // A row above the fixed rows moves to the first non-fixed row, a column likewise; -1 stays.
    CCellID OutOfFixed(CCellID cell) const;
    COLORREF CellBackColour(int row, int col) const;
    COLORREF CellTextColour(int row, int col) const;

    // Geometry, in client pixels: fixed rows at the top and fixed columns at the left never scroll.
    int FixedHeight() const;
    int FixedWidth() const;
    // False when the cell is outside the grid or scrolled out of view.
    bool CellRect(int row, int col, RECT& rect) const;
    // The cell under a point, (-1, -1) when none.
    CCellID CellFromPoint(int x, int y) const;
    // The column whose right border is within 3 pixels of x in the fixed rows, else -1; rows alike.
    int ColumnBorderAt(int x, int y) const;
    int RowBorderAt(int x, int y) const;
    // Scrolls so the cell is in full view (as far as the client area allows).
    void EnsureVisible(int row, int col);
    // Keeps topRow and leftCol on non-fixed cells that exist.
    void ClampScroll();
    int VisibleRowCount() const;  // non-fixed rows that fit the client area from topRow

    static uint64_t Key(int row, int col)
    {
        return (static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32) | static_cast<uint32_t>(col);
    }
};
