#pragma once
// A cell format of a book: font, horizontal and vertical alignment, wrapping and a border on all four
// sides. Made by Book::addFormat, owned by the book and valid until Book::release; the book's default
// format (default font, general alignment, no border) exists from the start and is never written over
// by addFormat. Used by one thread at a time, like its book.
#include "platform/spreadsheet/Forward.h"
#include "platform/spreadsheet/Types.h"

namespace platform::spreadsheet {

class Format {
 public:
  // A font of another book is refused (returns false); null selects the book's default font.
  bool setFont(Font* font);
  Font* font() const { return font_; }
  void setWrap(bool wrap) { wrap_ = wrap; }
  bool wrap() const { return wrap_; }
  void setAlignH(AlignH align) { alignH_ = align; }
  AlignH alignH() const { return alignH_; }
  void setAlignV(AlignV align) { alignV_ = align; }
  AlignV alignV() const { return alignV_; }
  // The same style on the left, right, top and bottom side.
  void setBorder(BorderStyle style) { border_ = style; }
  BorderStyle border() const { return border_; }

  const Book* book() const { return book_; }
  int index() const { return index_; }

 private:
  friend class Book;
  Format(Book* book, int index, Font* font) : book_(book), index_(index), font_(font) {}
  void copyLook(const Format& other);

  Book* book_;
  int index_;
  Font* font_;
  bool wrap_ = false;
  AlignH alignH_ = AlignH::General;
  AlignV alignV_ = AlignV::Bottom;
  BorderStyle border_ = BorderStyle::None;
};

}  // namespace platform::spreadsheet
