#pragma once
// A workbook in memory: sheets, fonts, formats and the texts of its cells, saved as a BIFF8 .xls
// compound file, or as Office Open XML when the path ends in ".xlsx" (any letter case). Book::create
// makes one, release() frees it with every sheet, format and font it handed out. A book and its objects
// are used by one thread at a time; different books are independent.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spreadsheet/Forward.h"
#include "platform/spreadsheet/TextTable.h"
#include "platform/spreadsheet/Types.h"

namespace platform::spreadsheet {

class Book {
 public:
  static Book* create();
  void release();

  // Colours are always red-green-blue values; the mode is kept for callers that set it.
  void setRgbMode(bool on) { rgbMode_ = on; }
  bool rgbMode() const { return rgbMode_; }
  Color colorPack(int red, int green, int blue) const;

  int sheetCount() const { return int(sheets_.size()); }
  Sheet* getSheet(int index) const;
  // Empty for an index out of range.
  std::u16string getSheetName(int index) const;
  // A new last sheet, copying initSheet's cells and widths when given. Null (see errorMessage) for a
  // name that is empty, longer than 31 characters, holds one of : \ / ? * [ ], starts or ends with an
  // apostrophe, or equals an existing sheet's name ignoring case.
  Sheet* addSheet(const std::u16string& name, Sheet* initSheet = nullptr);
  // A new font, a copy of initFont when given, else of the default font.
  Font* addFont(Font* initFont = nullptr);
  // A new format, a copy of initFormat (sharing its font) when given, else of the default format.
  Format* addFormat(Format* initFormat = nullptr);
  Font* defaultFont() const { return fonts_.front().get(); }
  Format* defaultFormat() const { return formats_.front().get(); }

  // Writes the whole book through a temporary file in the target's folder that replaces the target
  // only once complete. False, with errorMessage() naming the path and the reason, when it cannot.
  bool save(const std::u16string& path);
  bool save(const std::string& pathBytes);
  const std::string& errorMessage() const { return error_; }

  // For the writers. A text's view stays valid until the book is released.
  uint32_t intern(std::u16string_view text);
  std::u16string_view text(uint32_t id) const { return texts_.text(id); }
  uint32_t textCount() const { return texts_.size(); }
  // displayWidth of a text, worked out once per text however many cells show it.
  int textWidth(uint32_t id);
  // Units of the longest text ever stored, an upper bound for those the cells hold now.
  size_t longestText() const { return texts_.longest(); }
  Format* formatAt(int index) const { return formats_[size_t(index)].get(); }
  const std::vector<std::unique_ptr<Font>>& fonts() const { return fonts_; }
  const std::vector<std::unique_ptr<Format>>& formats() const { return formats_; }
  const std::vector<std::unique_ptr<Sheet>>& sheets() const { return sheets_; }

 private:
  Book();
  ~Book();
  bool checkSheetName(const std::u16string& name);
  void copySheet(Sheet& to, const Sheet& from);

  bool rgbMode_ = false;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  std::vector<std::unique_ptr<Font>> fonts_;
  std::vector<std::unique_ptr<Format>> formats_;
  TextTable texts_;
  std::vector<int> textWidths_;  // by text id; -1 where not yet needed
  std::string error_;
};

// Releases a book when it goes out of scope.
struct BookReleaser {
  void operator()(Book* book) const {
    if (book != nullptr) book->release();
  }
};
using BookPtr = std::unique_ptr<Book, BookReleaser>;

}  // namespace platform::spreadsheet
