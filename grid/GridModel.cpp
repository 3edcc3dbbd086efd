#include "grid/GridModel.h"

#include <algorithm>

namespace {
constexpr int kBorderSlack = 3;

int Clip(int64_t v)
{
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
}
}  // namespace

void GridModel::SetRowCount(int rows)
{
    rows = std::max(rows, 0);
    store.SetRowCount(rows, defaultRowHeight);
    fixedRows = std::min(fixedRows, rows);
    if (focus.row >= rows)
        focus = CCellID{};
    if (selection.IsValid()) {
        selection.maxRow = std::min(selection.maxRow, rows - 1);
        if (!selection.IsValid())
            selection = CCellRange{};
    }
    std::erase_if(looks, [rows](const auto& entry) { return static_cast<int>(entry.first >> 32) >= rows; });
    ClampScroll();
    ++revision;
}

void GridModel::SetColumnCount(int cols)
{
    cols = std::max(cols, 0);
    store.SetColumnCount(cols, defaultColumnWidth);
    fixedCols = std::min(fixedCols, cols);
    if (focus.col >= cols)
        focus = CCellID{};
    if (selection.IsValid()) {
        selection.maxCol = std::min(selection.maxCol, cols - 1);
        if (!selection.IsValid())
            selection = CCellRange{};
    }
    std::erase_if(looks, [cols](const auto& entry) { return static_cast<int>(entry.first & 0xFFFFFFFF) >= cols; });
    std::erase_if(columnTypes, [cols](const auto& entry) { return entry.first >= cols; });
    ClampScroll();
    ++revision;
}

void GridModel::SetFixedRowCount(int rows)
{
    rows = std::max(rows, 0);
    if (rows > store.RowCount())
        SetRowCount(rows);
    fixedRows = rows;
    focus = OutOfFixed(focus);
    ClampScroll();
    ++revision;
}

void GridModel::SetFixedColumnCount(int cols)
{
    cols = std::max(cols, 0);
    if (cols > store.ColumnCount())
        SetColumnCount(cols);
    fixedCols = cols;
    focus = OutOfFixed(focus);
    ClampScroll();
    ++revision;
}

GridColumnType GridModel::ColumnType(int col) const
{
    auto it = columnTypes.find(col);
    return it == columnTypes.end() ? GridColumnType::Text : it->second;
}

CCellID GridModel::OutOfFixed(CCellID cell) const
{
    if (cell.row != -1 && cell.row < fixedRows)
        cell.row = fixedRows;
    if (cell.col != -1 && cell.col < fixedCols)
        cell.col = fixedCols;
    return cell;
}

COLORREF GridModel::CellBackColour(int row, int col) const
{
    if (auto it = looks.find(Key(row, col)); it != looks.end() && it->second.backColour != kDefaultColour)
        return it->second.backColour;
    if (IsFixed(row, col))
        return fixedBackColour == kSystemButtonFace ? kButtonFaceColour : fixedBackColour;
    if (alternate == AlternateColors::ByRows)
        return row % 2 ? alternateFirst : alternateSecond;
    if (alternate == AlternateColors::ByColumns)
        return col % 2 ? alternateFirst : alternateSecond;
    return textBackColour;
}

COLORREF GridModel::CellTextColour(int row, int col) const
{
    if (auto it = looks.find(Key(row, col)); it != looks.end() && it->second.textColour != kDefaultColour)
        return it->second.textColour;
    return textColour;
}

int GridModel::FixedHeight() const { return Clip(store.RowTop(fixedRows)); }
int GridModel::FixedWidth() const { return Clip(store.ColumnLeft(fixedCols)); }

bool GridModel::CellRect(int row, int col, RECT& rect) const
{
    if (!store.IsValid(row, col))
        return false;
    int64_t top = 0;
    if (row < fixedRows) {
        top = store.RowTop(row);
    } else {
        if (row < topRow)
            return false;
        // Walk from the first row shown, never further than the client area reaches, so marking a
        // far-away row costs the same at any row count.
        top = FixedHeight();
        for (int r = topRow; r < row; ++r) {
            top += store.RowHeight(r);
            if (top > clientHeight || r - topRow > clientHeight)
                return false;
        }
    }
    int64_t left = store.ColumnLeft(col);
    if (col >= fixedCols) {
        if (col < leftCol)
            return false;
        left = left - store.ColumnLeft(leftCol) + FixedWidth();
    }
    if (top > clientHeight || left > clientWidth)
        return false;
    rect = RECT{Clip(left), Clip(top), Clip(left + store.ColumnWidth(col)), Clip(top + store.RowHeight(row))};
    return true;
}

CCellID GridModel::CellFromPoint(int x, int y) const
{
    if (x < 0 || y < 0)
        return {};
    const int fixedHeight = FixedHeight();
    const int fixedWidth = FixedWidth();
    const int row = y < fixedHeight ? store.RowAt(y) : store.RowAt(store.RowTop(topRow) + (y - fixedHeight));
    const int col = x < fixedWidth ? store.ColumnAt(x) : store.ColumnAt(store.ColumnLeft(leftCol) + (x - fixedWidth));
    if (!store.IsValid(row, col))
        return {};
    return CCellID{row, col};
}

int GridModel::ColumnBorderAt(int x, int y) const
{
    if (y < 0 || y >= FixedHeight())
        return -1;
    for (int col = 0; col < store.ColumnCount(); ++col) {
        RECT rect;
        if (CellRect(0, col, rect) && x >= rect.right - kBorderSlack && x <= rect.right + kBorderSlack)
            return col;
    }
    return -1;
}

int GridModel::RowBorderAt(int x, int y) const
{
    if (x < 0 || x >= FixedWidth())
        return -1;
    const CCellID cell = CellFromPoint(x, y);
    for (int row : {cell.row - 1, cell.row, cell.row + 1}) {
        RECT rect;
        if (row >= 0 && CellRect(row, 0, rect) && y >= rect.bottom - kBorderSlack && y <= rect.bottom + kBorderSlack)
            return row;
    }
    return -1;
}

int GridModel::VisibleRowCount() const
{
    const int64_t room = std::max(clientHeight - FixedHeight(), 0);
    const int64_t start = store.RowTop(topRow);
    const int last = store.RowAt(start + room);  // first row not fully shown, or RowCount()
    int count = last - topRow;
    if (last < store.RowCount() && store.RowTop(last + 1) - start <= room)
        ++count;
    return std::max(count, 0);
}

void GridModel::EnsureVisible(int row, int col)
{
    if (row >= fixedRows && row < store.RowCount()) {
        if (row < topRow) {
            topRow = row;
        } else {
            const int64_t room = std::max(clientHeight - FixedHeight(), 0);
            // Move the top down until the row's bottom edge fits (the row itself at least stays).
            while (topRow < row && store.RowTop(row + 1) - store.RowTop(topRow) > room)
                topRow = std::max(topRow + 1, store.RowAt(store.RowTop(row + 1) - room));
        }
    }
    if (col >= fixedCols && col < store.ColumnCount()) {
        if (col < leftCol) {
            leftCol = col;
        } else {
            const int64_t room = std::max(clientWidth - FixedWidth(), 0);
            while (leftCol < col && store.ColumnLeft(col + 1) - store.ColumnLeft(leftCol) > room)
                ++leftCol;
        }
    }
    ClampScroll();
    ++revision;
}

void GridModel::ClampScroll()
{
    topRow = std::clamp(topRow, fixedRows, std::max(fixedRows, store.RowCount() - 1));
    leftCol = std::clamp(leftCol, fixedCols, std::max(fixedCols, store.ColumnCount() - 1));
}
