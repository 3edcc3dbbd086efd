#pragma once
// A window that shows a table (the grid) offers its cells to a desktop presenter through a
// TableSource registered under its handle. The presenter looks the source up when it mirrors the
// window and reads it on every pull that found the window marked; the window's own code keeps the
// table. The registry knows nothing of the window's classes, so the platform layer stays below them.
// Thread safety: register, unregister and look up from any thread (one mutex). A source must answer
// from any thread and stay safe to call after its window died: it then answers an empty table and
// drops commits. Lookups hand out shared pointers, so a source outlives its unregistration while a
// caller still holds it.
#include "platform/window/WinTypes.h"

#include <cstdint>
#include <memory>
#include <string>

enum class TableCellAlign { Left, Centre, Right };

// What a view needs besides the cells, read in one go. A table with fixedRows > 0 shows its row 0
// as the column header.
struct TableShape {
    int rows = 0;  // fixed rows included
    int cols = 0;  // fixed columns included
    int fixedRows = 0;
    int fixedCols = 0;
    int rowHeight = 0;  // pixels, one height for every row
    bool horizontalLines = false;
    bool verticalLines = false;
    int focusRow = -1;  // -1: no focus cell
    int focusCol = -1;
    bool editable = false;
    uint64_t revision = 0;  // changes whenever anything a view shows changed
};

class TableSource {
public:
    virtual ~TableSource() = default;

    virtual TableShape Shape() const = 0;
    // Cells outside the table read as empty, left-aligned and 0 pixels wide.
    virtual std::u16string CellText(int row, int col) const = 0;
    virtual TableCellAlign CellAlignment(int row, int col) const = 0;
    virtual int ColumnWidth(int col) const = 0;
    // Asks the table to take a text typed into a cell, as if it had been typed into the window's
    // own editor; it happens later on the window's thread (and not at all when the cell may not be
    // edited or the window is gone). False when the request could not even be queued.
    virtual bool CommitCellText(int row, int col, std::u16string text) = 0;
    // The user made this cell the current one in a view: the window's focus cell follows later on
    // the window's thread, as a click on the cell would move it. False when it could not be queued.
    virtual bool MoveFocus(int row, int col) = 0;
};

// A second registration for the same window replaces the first.
void RegisterTableSource(HWND hwnd, std::shared_ptr<TableSource> source);
// Removes the window's source only while it is still this one.
void UnregisterTableSource(HWND hwnd, const TableSource* source);
// Null when the window has no source.
std::shared_ptr<TableSource> FindTableSource(HWND hwnd);
