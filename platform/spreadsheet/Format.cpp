#include "platform/spreadsheet/Format.h"

#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Font.h"

namespace platform::spreadsheet {

bool Format::setFont(Font* font) {
  if (font == nullptr) {
    font_ = book_->defaultFont();
    return true;
  }
  if (font->book() != book_) return false;
  font_ = font;
  return true;
}

void Format::copyLook(const Format& other) {
  font_ = other.font_;
  wrap_ = other.wrap_;
  alignH_ = other.alignH_;
  alignV_ = other.alignV_;
  border_ = other.border_;
}

}  // namespace platform::spreadsheet
