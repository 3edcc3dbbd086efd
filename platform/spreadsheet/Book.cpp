#include "platform/spreadsheet/Book.h"

#include <algorithm>

#include "platform/spreadsheet/Font.h"
#include "platform/spreadsheet/Format.h"
#include "platform/spreadsheet/SaveFile.h"
#include "platform/spreadsheet/Sheet.h"
#include "platform/spreadsheet/Text.h"
#include "platform/spreadsheet/XlsWriter.h"
#include "platform/spreadsheet/XlsxWriter.h"

namespace platform::spreadsheet {

Book* Book::create() { return new Book(); }

void Book::release() { delete this; }

Book::Book() {
  fonts_.push_back(std::unique_ptr<Font>(new Font(this, 0)));
  formats_.push_back(std::unique_ptr<Format>(new Format(this, 0, fonts_.front().get())));
}

Book::~Book() = default;

Color Book::colorPack(int red, int green, int blue) const {
  auto channel = [](int v) { return Color(std::clamp(v, 0, 255)); };
  return channel(red) << 16 | channel(green) << 8 | channel(blue);
}

Sheet* Book::getSheet(int index) const {
  return (index < 0 || index >= sheetCount()) ? nullptr : sheets_[size_t(index)].get();
}

std::u16string Book::getSheetName(int index) const {
  const Sheet* sheet = getSheet(index);
  return sheet == nullptr ? std::u16string() : sheet->name();
}

bool Book::checkSheetName(const std::u16string& name) {
  std::string why;
  if (name.empty()) {
    why = "is empty";
  } else if (name.size() > size_t(kMaxSheetNameChars)) {
    why = "is longer than 31 characters";
  } else if (name.find_first_of(u":\\/?*[]") != std::u16string::npos) {
    why = "holds one of : \\ / ? * [ ]";
  } else if (name.front() == u'\'' || name.back() == u'\'') {
    why = "starts or ends with an apostrophe";
  } else {
    for (const auto& sheet : sheets_) {
      if (equalsIgnoringCase(sheet->name(), name)) why = "is already the name of a sheet";
    }
  }
  if (why.empty()) return true;
  error_ = "sheet name \"" + toUtf8(name) + "\" " + why;
  return false;
}

void Book::copySheet(Sheet& to, const Sheet& from) {
  for (const Sheet::Row& row : from.rows()) {
    for (size_t c = 0; c < row.cells.size(); ++c) {
      const Sheet::Cell& cell = row.cells[c];
      if (!cell.used) continue;
      Format* format = from.book() == this ? formatAt(int(cell.format)) : defaultFormat();
      if (cell.text == Sheet::Cell::kNoText) {
        to.setCellFormat(row.index, int(c), format);
      } else {
        to.writeStr(row.index, int(c), from.book()->text(cell.text), format);
      }
    }
  }
  for (const auto& [col, width] : from.colWidths()) to.setCol(col, col, width);
  to.setOverflowHeaderRows(from.overflowHeaderRows());
}

Sheet* Book::addSheet(const std::u16string& name, Sheet* initSheet) {
  std::u16string clean = sanitized(name);
  if (!checkSheetName(clean)) return nullptr;
  sheets_.push_back(std::unique_ptr<Sheet>(new Sheet(this, clean)));
  if (initSheet != nullptr) copySheet(*sheets_.back(), *initSheet);
  return sheets_.back().get();
}

Font* Book::addFont(Font* initFont) {
  fonts_.push_back(std::unique_ptr<Font>(new Font(this, int(fonts_.size()))));
  fonts_.back()->copyLook(initFont != nullptr ? *initFont : *defaultFont());
  return fonts_.back().get();
}

Format* Book::addFormat(Format* initFormat) {
  const Format& from = initFormat != nullptr ? *initFormat : *defaultFormat();
  formats_.push_back(std::unique_ptr<Format>(new Format(this, int(formats_.size()), defaultFont())));
  Format* format = formats_.back().get();
  format->copyLook(from);
  // A font of another book is copied, so no format points outside its book.
  if (from.book() != this) format->font_ = addFont(from.font());
  return format;
}

uint32_t Book::intern(std::u16string_view text) {
  // Texts without surrogates, nearly all of them, are stored as given without a cleaned copy.
  if (!hasSurrogates(text)) return texts_.intern(text);
  return texts_.intern(sanitized(text));
}

int Book::textWidth(uint32_t id) {
  if (textWidths_.size() <= id) textWidths_.resize(texts_.size(), -1);
  int& width = textWidths_[id];
  if (width < 0) width = displayWidth(texts_.text(id));
  return width;
}

bool Book::save(const std::u16string& path) { return save(toPathBytes(path)); }

bool Book::save(const std::string& pathBytes) {
  error_.clear();
  std::string tail = pathBytes.size() >= 5 ? pathBytes.substr(pathBytes.size() - 5) : std::string();
  bool xlsx = equalsIgnoringCase(std::u16string(tail.begin(), tail.end()), u".xlsx");
  SaveResult result = xlsx ? saveXlsx(*this, pathBytes) : saveXls(*this, pathBytes);
  error_ = result.error;
  return result.ok;
}

}  // namespace platform::spreadsheet
