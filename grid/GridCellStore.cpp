#include "grid/GridCellStore.h"

#include <algorithm>
#include <limits>
#include <string>

namespace {
// A pool is rebuilt once this many units, and more than half of it, belong to no cell.
constexpr size_t kCompactMinimum = 4096;
}  // namespace

void GridCellStore::AddChunk()
{
    if (!chunks_.empty()) {
        // The finished chunk's texts are complete for now: give its growth slack back.
        chunks_.back()->pool.shrink_to_fit();
    }
    auto chunk = std::make_unique<Chunk>();
    chunk->cells.reserve(static_cast<size_t>(kChunkRows) * widths_.size());
    chunk->heights.reserve(kChunkRows);
    chunks_.push_back(std::move(chunk));
}

void GridCellStore::AppendRow(int height)
{
    if (rows_ % kChunkRows == 0 && static_cast<size_t>(rows_ / kChunkRows) == chunks_.size())
        AddChunk();
    Chunk& chunk = *chunks_.back();
    chunk.cells.resize(chunk.cells.size() + widths_.size());
    chunk.heights.push_back(std::max(height, 0));
    chunk.heightSum += std::max(height, 0);
    ++chunk.rows;
    ++rows_;
}

void GridCellStore::SetRowCount(int rows, int height)
{
    rows = std::max(rows, 0);
    while (rows_ < rows)
        AppendRow(height);
    if (rows_ == rows)
        return;
    const size_t keepChunks = static_cast<size_t>((rows + kChunkRows - 1) / kChunkRows);
    chunks_.resize(keepChunks);
    rows_ = rows;
    if (chunks_.empty())
        return;
    Chunk& last = *chunks_.back();
    const int keep = rows - static_cast<int>(keepChunks - 1) * kChunkRows;
    const size_t stride = widths_.size();
    for (size_t i = static_cast<size_t>(keep) * stride; i < last.cells.size(); ++i)
        DropText(last, last.cells[i]);
    last.cells.resize(static_cast<size_t>(keep) * stride);
    last.heights.resize(static_cast<size_t>(keep));
    last.rows = keep;
    last.heightSum = 0;
    for (int32_t h : last.heights)
        last.heightSum += h;
    CompactIfWasteful(last);
}

void GridCellStore::SetColumnCount(int cols, int width)
{
    cols = std::max(cols, 0);
    const size_t oldStride = widths_.size();
    const size_t newStride = static_cast<size_t>(cols);
    if (oldStride == newStride)
        return;
    for (auto& chunk : chunks_) {
        std::vector<Cell> cells;
        cells.reserve(static_cast<size_t>(kChunkRows) * newStride);
        for (int r = 0; r < chunk->rows; ++r) {
            Cell* row = chunk->cells.data() + static_cast<size_t>(r) * oldStride;
            for (size_t c = 0; c < newStride; ++c)
                cells.push_back(c < oldStride ? row[c] : Cell{});
            for (size_t c = newStride; c < oldStride; ++c)
                DropText(*chunk, row[c]);
        }
        chunk->cells = std::move(cells);
        CompactIfWasteful(*chunk);
    }
    widths_.resize(newStride, std::max(width, 0));
}

GridCellStore::Cell* GridCellStore::CellAt(int row, int col) noexcept
{
    if (!IsValid(row, col))
        return nullptr;
    Chunk& chunk = ChunkOf(row);
    return &chunk.cells[static_cast<size_t>(row % kChunkRows) * widths_.size() + static_cast<size_t>(col)];
}

const GridCellStore::Cell* GridCellStore::CellAt(int row, int col) const noexcept
{
    return const_cast<GridCellStore*>(this)->CellAt(row, col);
}

std::u16string_view GridCellStore::Text(int row, int col) const noexcept
{
    const Cell* cell = CellAt(row, col);
    if (!cell || cell->textLength == 0)
        return {};
    const Chunk& chunk = *chunks_[static_cast<size_t>(row / kChunkRows)];
    return {chunk.pool.data() + cell->textOffset, cell->textLength};
}

void GridCellStore::DropText(Chunk& chunk, Cell& cell) noexcept
{
    chunk.deadUnits += cell.textLength;
    cell.textOffset = 0;
    cell.textLength = 0;
}

bool GridCellStore::SetText(int row, int col, std::u16string_view text)
{
    Cell* cell = CellAt(row, col);
    if (!cell || text.size() > std::numeric_limits<uint32_t>::max())
        return false;
    Chunk& chunk = ChunkOf(row);
    if (text.size() <= cell->textLength) {
        // Fits the old run: overwrite in place (a view into the same run moves forward only).
        std::copy(text.begin(), text.end(), chunk.pool.begin() + cell->textOffset);
        chunk.deadUnits += cell->textLength - text.size();
        cell->textLength = static_cast<uint32_t>(text.size());
        if (text.empty())
            cell->textOffset = 0;
        CompactIfWasteful(chunk);
        return true;
    }
    std::u16string copy;
    const char16_t* poolBegin = chunk.pool.data();
    if (text.data() >= poolBegin && text.data() < poolBegin + chunk.pool.size()) {
        copy.assign(text);  // growing the pool would move the source
        text = copy;
    }
    DropText(chunk, *cell);
    CompactIfWasteful(chunk);
    if (chunk.pool.size() + text.size() > std::numeric_limits<uint32_t>::max())
        return false;
    cell->textOffset = static_cast<uint32_t>(chunk.pool.size());
    chunk.pool.insert(chunk.pool.end(), text.begin(), text.end());
    cell->textLength = static_cast<uint32_t>(text.size());
    return true;
}

void GridCellStore::CompactIfWasteful(Chunk& chunk)
{
    if (chunk.deadUnits < kCompactMinimum || chunk.deadUnits * 2 < chunk.pool.size())
        return;
    std::vector<char16_t> pool;
    pool.reserve(chunk.pool.size() - chunk.deadUnits);
    for (Cell& cell : chunk.cells) {
        if (cell.textLength == 0)
            continue;
        const auto begin = chunk.pool.begin() + cell.textOffset;
        cell.textOffset = static_cast<uint32_t>(pool.size());
        pool.insert(pool.end(), begin, begin + cell.textLength);
    }
    chunk.pool = std::move(pool);
    chunk.deadUnits = 0;
}

int64_t GridCellStore::Data(int row, int col) const noexcept
{
    const Cell* cell = CellAt(row, col);
    return cell ? cell->data : 0;
}

bool GridCellStore::SetData(int row, int col, int64_t value)
{
    Cell* cell = CellAt(row, col);
    if (cell)
        cell->data = value;
    return cell != nullptr;
}

int32_t GridCellStore::Image(int row, int col) const noexcept
{
    const Cell* cell = CellAt(row, col);
    return cell ? cell->image : -1;
}

bool GridCellStore::SetImage(int row, int col, int32_t image)
{
    Cell* cell = CellAt(row, col);
    if (cell)
        cell->image = image;
    return cell != nullptr;
}

uint32_t GridCellStore::Format(int row, int col) const noexcept
{
    const Cell* cell = CellAt(row, col);
    return cell ? cell->format : kDefaultCellFormat;
}

bool GridCellStore::SetFormat(int row, int col, uint32_t format)
{
    Cell* cell = CellAt(row, col);
    if (cell)
        cell->format = format;
    return cell != nullptr;
}

uint16_t GridCellStore::State(int row, int col) const noexcept
{
    const Cell* cell = CellAt(row, col);
    return cell ? cell->state : 0;
}

bool GridCellStore::SetState(int row, int col, uint16_t state)
{
    Cell* cell = CellAt(row, col);
    if (cell)
        cell->state = state;
    return cell != nullptr;
}

int GridCellStore::RowHeight(int row) const noexcept
{
    if (row < 0 || row >= rows_)
        return 0;
    return chunks_[static_cast<size_t>(row / kChunkRows)]->heights[static_cast<size_t>(row % kChunkRows)];
}

bool GridCellStore::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= rows_)
        return false;
    Chunk& chunk = ChunkOf(row);
    int32_t& slot = chunk.heights[static_cast<size_t>(row % kChunkRows)];
    height = std::max(height, 0);
    chunk.heightSum += height - slot;
    slot = height;
    return true;
}

void GridCellStore::SetAllRowHeights(int height)
{
    height = std::max(height, 0);
    for (auto& chunk : chunks_) {
        std::fill(chunk->heights.begin(), chunk->heights.end(), height);
        chunk->heightSum = static_cast<int64_t>(height) * chunk->rows;
    }
}

int GridCellStore::ColumnWidth(int col) const noexcept
{
    return col >= 0 && col < ColumnCount() ? widths_[static_cast<size_t>(col)] : 0;
}

bool GridCellStore::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= ColumnCount())
        return false;
    widths_[static_cast<size_t>(col)] = std::max(width, 0);
    return true;
}

int64_t GridCellStore::RowTop(int row) const noexcept
{
    row = std::clamp(row, 0, rows_);
    int64_t top = 0;
    const size_t chunkIndex = static_cast<size_t>(row / kChunkRows);
    for (size_t i = 0; i < chunkIndex && i < chunks_.size(); ++i)
        top += chunks_[i]->heightSum;
    if (chunkIndex < chunks_.size()) {
        const auto& heights = chunks_[chunkIndex]->heights;
        for (int i = 0; i < row % kChunkRows; ++i)
            top += heights[static_cast<size_t>(i)];
    }
    return top;
}

int GridCellStore::RowAt(int64_t y) const noexcept
{
    if (y < 0)
        return -1;
    int first = 0;
    for (const auto& chunk : chunks_) {
        if (y >= chunk->heightSum) {
            y -= chunk->heightSum;
            first += chunk->rows;
            continue;
        }
        for (int i = 0; i < chunk->rows; ++i) {
            if (y < chunk->heights[static_cast<size_t>(i)])
                return first + i;
            y -= chunk->heights[static_cast<size_t>(i)];
        }
    }
    return rows_;
}

int64_t GridCellStore::ColumnLeft(int col) const noexcept
{
    int64_t left = 0;
    for (int c = 0; c < col && c < ColumnCount(); ++c)
        left += widths_[static_cast<size_t>(c)];
    return left;
}

int GridCellStore::ColumnAt(int64_t x) const noexcept
{
    if (x < 0)
        return -1;
    for (int c = 0; c < ColumnCount(); ++c) {
        if (x < widths_[static_cast<size_t>(c)])
            return c;
        x -= widths_[static_cast<size_t>(c)];
    }
    return ColumnCount();
}

size_t GridCellStore::BytesUsed() const noexcept
{
    size_t bytes = sizeof(*this) + widths_.capacity() * sizeof(int32_t) + chunks_.capacity() * sizeof(void*);
    for (const auto& chunk : chunks_) {
        bytes += sizeof(Chunk) + chunk->cells.capacity() * sizeof(Cell) + chunk->heights.capacity() * sizeof(int32_t)
            + chunk->pool.capacity() * sizeof(char16_t);
    }
    return bytes;
}
