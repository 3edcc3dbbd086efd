#pragma once
// How a book's sheets become the sheets of a file whose sheets hold at most maxRows rows: each sheet
// keeps its rows up to maxRows, the rest continue on added sheets named after the first free "SheetN"
// (N from 2), each starting with the sheet's overflow header rows. Both writers use this layout.
#include <string>
#include <vector>

#include "platform/spreadsheet/Sheet.h"

namespace platform::spreadsheet {

struct SheetPiece {
  struct RowRef {
    const Sheet::Row* row;
    int index;  // row number in the written sheet
  };
  std::u16string name;
  const Sheet* sheet = nullptr;  // null for the empty sheet a book without sheets gets
  std::vector<RowRef> rows;      // ascending index
};

std::vector<SheetPiece> layoutSheets(const Book& book, int maxRows);

}  // namespace platform::spreadsheet
