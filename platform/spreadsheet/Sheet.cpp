#include "platform/spreadsheet/Sheet.h"

#include <algorithm>
#include <cmath>

#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Font.h"
#include "platform/spreadsheet/Format.h"
#include "platform/spreadsheet/Text.h"

namespace platform::spreadsheet {

bool Sheet::validPosition(int row, int col) const {
  return row >= 0 && col >= 0 && col < kXlsxMaxColumns;
}

Sheet::Cell* Sheet::cellAt(int row, int col) {
  auto it = rows_.end();
  if (rows_.empty() || rows_.back().index < row) {
    // Rows filled in order are usually as wide as the one before: one allocation per row.
    const size_t width = rows_.empty() ? 0 : rows_.back().cells.size();
    rows_.push_back(Row{row, {}});
    it = rows_.end() - 1;
    it->cells.reserve(width);
  } else {
    it = std::lower_bound(rows_.begin(), rows_.end(), row,
                          [](const Row& r, int index) { return r.index < index; });
    if (it == rows_.end() || it->index != row) it = rows_.insert(it, Row{row, {}});
  }
  if (it->cells.size() <= size_t(col)) it->cells.resize(size_t(col) + 1);
  minCol_ = std::min(minCol_, col);
  maxCol_ = std::max(maxCol_, col);
  return &it->cells[size_t(col)];
}

const Sheet::Row* Sheet::findRow(int row) const {
  auto it = std::lower_bound(rows_.begin(), rows_.end(), row,
                             [](const Row& r, int index) { return r.index < index; });
  return (it == rows_.end() || it->index != row) ? nullptr : &*it;
}

const Sheet::Cell* Sheet::findCell(int row, int col) const {
  const Row* r = findRow(row);
  if (r == nullptr || col < 0 || size_t(col) >= r->cells.size() || !r->cells[size_t(col)].used) return nullptr;
  return &r->cells[size_t(col)];
}

bool Sheet::writeStr(int row, int col, std::u16string_view text, Format* format, CellType type) {
  if (type != CellType::String || !validPosition(row, col)) return false;
  if (format != nullptr && format->book() != book_) return false;
  Cell* cell = cellAt(row, col);
  cell->text = book_->intern(text);
  cell->used = true;
  if (format != nullptr) cell->format = uint32_t(format->index());
  return true;
}

Format* Sheet::cellFormat(int row, int col) const {
  const Cell* cell = findCell(row, col);
  return book_->formatAt(cell == nullptr ? 0 : int(cell->format));
}

bool Sheet::setCellFormat(int row, int col, Format* format) {
  if (!validPosition(row, col)) return false;
  if (format == nullptr) format = book_->defaultFormat();
  if (format->book() != book_) return false;
  Cell* cell = cellAt(row, col);
  cell->format = uint32_t(format->index());
  cell->used = true;
  return true;
}

CellType Sheet::cellType(int row, int col) const {
  const Cell* cell = findCell(row, col);
  if (cell == nullptr) return CellType::Empty;
  return cell->text == Cell::kNoText ? CellType::Blank : CellType::String;
}

std::u16string Sheet::readStr(int row, int col) const {
  const Cell* cell = findCell(row, col);
  if (cell == nullptr || cell->text == Cell::kNoText) return {};
  return std::u16string(book_->text(cell->text));
}

int Sheet::firstRow() const { return rows_.empty() ? 0 : rows_.front().index; }
int Sheet::lastRow() const { return rows_.empty() ? 0 : rows_.back().index + 1; }

bool Sheet::setCol(int colFirst, int colLast, double width) {
  if (colFirst < 0 || colLast < colFirst || colLast >= kXlsxMaxColumns || std::isnan(width)) return false;
  width = std::clamp(width, 0.0, 255.0);
  for (int c = colFirst; c <= colLast; ++c) colWidths_[c] = width;
  return true;
}

double Sheet::colWidth(int col) const {
  auto it = colWidths_.find(col);
  return it == colWidths_.end() ? -1 : it->second;
}

void Sheet::setAutoFitArea(int rowFirst, int colFirst, int rowLast, int colLast) {
  if (rows_.empty()) return;
  if (rowLast < 0) rowLast = lastRow() - 1;
  if (colLast < 0) colLast = lastCol() - 1;
  rowFirst = std::max(rowFirst, 0);
  colFirst = std::max(colFirst, 0);
  colLast = std::min(colLast, maxCol_);
  if (colLast < colFirst || rowLast < rowFirst) return;
  std::vector<double> widest(size_t(colLast - colFirst + 1), -1);
  auto from = std::lower_bound(rows_.begin(), rows_.end(), rowFirst,
                               [](const Row& r, int index) { return r.index < index; });
  for (auto it = from; it != rows_.end() && it->index <= rowLast; ++it) {
    int end = std::min(colLast, int(it->cells.size()) - 1);
    for (int c = colFirst; c <= end; ++c) {
      const Cell& cell = it->cells[size_t(c)];
      if (!cell.used || cell.text == Cell::kNoText) continue;
      double points = book_->formatAt(int(cell.format))->font()->size();
      double width = book_->textWidth(cell.text) * points / 10.0;
      widest[size_t(c - colFirst)] = std::max(widest[size_t(c - colFirst)], width);
    }
  }
  // One character more than the text leaves room for the cell's margins.
  for (size_t i = 0; i < widest.size(); ++i) {
    if (widest[i] >= 0) setCol(colFirst + int(i), colFirst + int(i), std::ceil(widest[i]) + 1);
  }
}

void Sheet::setOverflowHeaderRows(int count) { overflowHeaderRows_ = std::clamp(count, 0, kXlsMaxRows - 1); }

}  // namespace platform::spreadsheet
