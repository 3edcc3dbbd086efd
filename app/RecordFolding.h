// Folding the snapshots of one import into the grid: the first snapshot of a plate adds a numbered
// row; a later snapshot of the same plate only moves the time of that plate's own row forward, and
// only when it is later by half a second or more (decided on the whole difference). The plate's row
// is found through a hash table, so the millionth file folds as fast as the first.
// One folder per import, used by the import's worker thread only.
#pragma once

#include "runtime/CWString.h"

#include <cstdint>
#include <string>
#include <unordered_map>

// What folding needs of a grid; the main window adapts its grid control to it.
class FoldingGrid {
public:
    virtual ~FoldingGrid() = default;
    virtual CWString CellText(int32_t row, int32_t col) const = 0;
    virtual void SetCellText(int32_t row, int32_t col, const CWString& text) = 0;
    // Appends a row with empty cells and returns its index, or -1 when the grid refused.
    virtual int32_t AppendRow() = 0;
    // Scrolls to the row, focuses its first cell and selects it.
    virtual void MakeCurrentRow(int32_t row) = 0;
};

enum class GridColumn : int32_t { Id = 0, Plate = 1, Time = 2, Colour = 3, CameraIp = 4 };

class RecordFolder {
public:
    explicit RecordFolder(FoldingGrid& grid) : grid_(grid) {}

    void ApplyRecord(const CWString& path);

    int32_t RowsAdded() const { return nextId_ - 1; }

private:
    void AddRowFor(const CWString& path, const CWString& plate, const CWString& time,
                   const CWString& colour);
    void MoveTimeForward(int32_t row, const CWString& time);

    FoldingGrid& grid_;
    std::unordered_map<std::u16string, int32_t> rowOfPlate_;
    int32_t nextId_ = 1;
};
