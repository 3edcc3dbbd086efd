#include "platform/spreadsheet/SheetLayout.h"

#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Text.h"

namespace platform::spreadsheet {
namespace {

class NameSource {
 public:
  explicit NameSource(const Book& book) {
    for (const auto& sheet : book.sheets()) used_.push_back(sheet->name());
  }
  std::u16string next() {
    for (;; ++n_) {
      std::string digits = std::to_string(n_);
      std::u16string name = u"Sheet" + std::u16string(digits.begin(), digits.end());
      if (!isUsed(name)) {
        used_.push_back(name);
        return name;
      }
    }
  }

 private:
  bool isUsed(const std::u16string& name) const {
    for (const auto& u : used_) {
      if (equalsIgnoringCase(u, name)) return true;
    }
    return false;
  }
  std::vector<std::u16string> used_;
  long n_ = 2;
};

void splitSheet(const Sheet& sheet, int maxRows, NameSource& names, std::vector<SheetPiece>& out) {
  const int header = std::min(sheet.overflowHeaderRows(), maxRows - 1);
  const long perOverflow = maxRows - header;
  std::vector<SheetPiece::RowRef> headerRows;
  size_t first = out.size();
  out.push_back(SheetPiece{sheet.name(), &sheet, {}});
  for (const Sheet::Row& row : sheet.rows()) {
    if (row.index < header) headerRows.push_back({&row, row.index});
    if (row.index < maxRows) {
      out[first].rows.push_back({&row, row.index});
      continue;
    }
    long piece = 1 + (long(row.index) - maxRows) / perOverflow;
    while (out.size() - first <= size_t(piece)) {
      out.push_back(SheetPiece{names.next(), &sheet, headerRows});
    }
    int local = int(header + (long(row.index) - maxRows) % perOverflow);
    out.back().rows.push_back({&row, local});
  }
}

}  // namespace

std::vector<SheetPiece> layoutSheets(const Book& book, int maxRows) {
  std::vector<SheetPiece> pieces;
  if (book.sheets().empty()) {
    pieces.push_back(SheetPiece{u"Sheet1", nullptr, {}});
    return pieces;
  }
  NameSource names(book);
  for (const auto& sheet : book.sheets()) splitSheet(*sheet, maxRows, names, pieces);
  return pieces;
}

}  // namespace platform::spreadsheet
