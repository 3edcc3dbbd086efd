#pragma once
// A worksheet of a book: string cells with a format each, column widths and the auto-fit of widths to
// texts. Rows are counted from 0 and may go beyond what one sheet of the file format holds: the save
// continues them on further sheets, each starting with the first overflowHeaderRows() rows. Made by
// Book::addSheet, owned by the book, valid until Book::release; one thread at a time, like its book.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spreadsheet/Forward.h"
#include "platform/spreadsheet/Types.h"

namespace platform::spreadsheet {

class Sheet {
 public:
  // What a stored cell holds; the writers read rows through rows().
  struct Cell {
    static constexpr uint32_t kNoText = UINT32_MAX;
    uint32_t text = kNoText;  // index into the book's strings, kNoText for an empty or blank cell
    uint32_t format = 0;      // index into the book's formats
    bool used = false;        // written or given a format
  };
  struct Row {
    int index;
    std::vector<Cell> cells;  // indexed by column
  };

  const std::u16string& name() const { return name_; }

  // Stores a string cell; a null format keeps the cell's format. Only CellType::String is accepted.
  // False for a negative row, a column outside 0..16383 or a format of another book.
  bool writeStr(int row, int col, std::u16string_view text, Format* format = nullptr,
                CellType type = CellType::String);
  // The cell's format; the book's default format for a cell that has none.
  Format* cellFormat(int row, int col) const;
  bool setCellFormat(int row, int col, Format* format);
  CellType cellType(int row, int col) const;
  // The stored text; empty for a cell without one.
  std::u16string readStr(int row, int col) const;

  // The used range; lastRow and lastCol count one past the last used row or column, all 0 when empty.
  int firstRow() const;
  int lastRow() const;
  int firstCol() const { return rows_.empty() ? 0 : minCol_; }
  int lastCol() const { return rows_.empty() ? 0 : maxCol_ + 1; }

  // Width in characters of the columns colFirst..colLast, clamped to 0..255.
  bool setCol(int colFirst, int colLast, double width);
  // Width in characters, or -1 when the column keeps the default width.
  double colWidth(int col) const;
  // Fits the widths of columns colFirst..colLast to the widest text in rows rowFirst..rowLast (all
  // inclusive, negative last values meaning the last used ones), a wide (CJK) character counting two,
  // scaled by each cell's font size. Columns without text in the area keep their width.
  void setAutoFitArea(int rowFirst = 0, int colFirst = 0, int rowLast = -1, int colLast = -1);

  // Rows 0..count-1 are repeated at the top of every sheet that the overflow adds.
  void setOverflowHeaderRows(int count);
  int overflowHeaderRows() const { return overflowHeaderRows_; }

  const std::vector<Row>& rows() const { return rows_; }
  const std::map<int, double>& colWidths() const { return colWidths_; }
  const Book* book() const { return book_; }

 private:
  friend class Book;
  Sheet(Book* book, std::u16string name) : book_(book), name_(std::move(name)) {}
  Cell* cellAt(int row, int col);
  const Cell* findCell(int row, int col) const;
  const Row* findRow(int row) const;
  bool validPosition(int row, int col) const;

  Book* book_;
  std::u16string name_;
  std::vector<Row> rows_;  // sorted by index
  int minCol_ = INT32_MAX;
  int maxCol_ = -1;
  std::map<int, double> colWidths_;
  int overflowHeaderRows_ = 0;
};

}  // namespace platform::spreadsheet
