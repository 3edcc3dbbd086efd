#pragma once
// The cells of a grid: per cell a text, a data value, an image number, text-layout flags and state
// bits (check state, modified, read-only); per row a height, per column a width. Rows live in chunks
// of kChunkRows rows, each with one array of fixed-size cell records and one pool for the texts of
// its cells, so appending a row costs the same at any row count and a short text costs its units
// plus one record. A store is not locked itself: CGridCtrl guards it with its model lock.
#include "grid/GridTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class GridCellStore {
public:
    static constexpr int kChunkRows = 1024;
    static constexpr uint16_t kChecked = 0x8000;  // state bit holding the check state

    GridCellStore() = default;
    GridCellStore(const GridCellStore&) = delete;
    GridCellStore& operator=(const GridCellStore&) = delete;

    int RowCount() const noexcept { return rows_; }
    int ColumnCount() const noexcept { return static_cast<int>(widths_.size()); }
    bool IsValid(int row, int col) const noexcept { return row >= 0 && row < rows_ && col >= 0 && col < ColumnCount(); }

    // New rows get the height and empty cells; removed rows take their cells with them.
    void SetRowCount(int rows, int height);
    // New columns get the width and empty cells in every row.
    void SetColumnCount(int cols, int width);
    void AppendRow(int height);

    // Cell fields; reads outside the grid give the empty value, writes there do nothing (false).
    // A text view stays valid until the store changes.
    std::u16string_view Text(int row, int col) const noexcept;
    bool SetText(int row, int col, std::u16string_view text);
    int64_t Data(int row, int col) const noexcept;
    bool SetData(int row, int col, int64_t value);
    int32_t Image(int row, int col) const noexcept;
    bool SetImage(int row, int col, int32_t image);
    uint32_t Format(int row, int col) const noexcept;
    bool SetFormat(int row, int col, uint32_t format);
    uint16_t State(int row, int col) const noexcept;
    bool SetState(int row, int col, uint16_t state);
    bool Checked(int row, int col) const noexcept { return (State(row, col) & kChecked) != 0; }

    int RowHeight(int row) const noexcept;
    bool SetRowHeight(int row, int height);
    void SetAllRowHeights(int height);
    int ColumnWidth(int col) const noexcept;
    bool SetColumnWidth(int col, int width);

    // Distance from the top of row 0 to the top of row (row may be RowCount()); the row holding y
    // (RowCount() when y lies below the last row, -1 above row 0). The same for columns.
    int64_t RowTop(int row) const noexcept;
    int RowAt(int64_t y) const noexcept;
    int64_t ColumnLeft(int col) const noexcept;
    int ColumnAt(int64_t x) const noexcept;

    // Bytes of memory the store holds for its rows, cells and texts.
    size_t BytesUsed() const noexcept;

private:
    struct Cell {
        int64_t data = 0;
        uint32_t textOffset = 0;
        uint32_t textLength = 0;
        int32_t image = -1;
        uint32_t format = kDefaultCellFormat;
        uint16_t state = 0;
    };
    struct Chunk {
        int rows = 0;
        int64_t heightSum = 0;
        std::vector<Cell> cells;      // rows * stride
        std::vector<int32_t> heights;
        std::vector<char16_t> pool;   // texts of the cells, one run each
        size_t deadUnits = 0;         // pool units no cell refers to any more
    };

    Cell* CellAt(int row, int col) noexcept;
    const Cell* CellAt(int row, int col) const noexcept;
    Chunk& ChunkOf(int row) noexcept { return *chunks_[static_cast<size_t>(row / kChunkRows)]; }
    void AddChunk();
    void DropText(Chunk& chunk, Cell& cell) noexcept;
    void CompactIfWasteful(Chunk& chunk);

    int rows_ = 0;
    std::vector<int32_t> widths_;
    std::vector<std::unique_ptr<Chunk>> chunks_;
};
