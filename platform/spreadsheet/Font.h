#pragma once
// A font of a book: face name, size in points and colour. Made by Book::addFont, owned by the book and
// valid until Book::release; the default font (Arial, 10 points) exists from the start.
// Used by one thread at a time, like its book.
#include <string>

#include "platform/spreadsheet/Forward.h"
#include "platform/spreadsheet/Types.h"

namespace platform::spreadsheet {

class Font {
 public:
  void setName(const std::u16string& name);
  const std::u16string& name() const { return name_; }
  // Points; clamped to 1..409, the sizes both file formats can hold.
  void setSize(int points);
  int size() const { return size_; }
  void setColor(Color color) {
    color_ = color;
    automaticColor_ = false;
  }
  Color color() const { return color_; }
  bool isAutomaticColor() const { return automaticColor_; }

  bool sameLook(const Font& other) const;
  const Book* book() const { return book_; }
  int index() const { return index_; }

 private:
  friend class Book;
  Font(const Book* book, int index) : book_(book), index_(index) {}
  void copyLook(const Font& other);

  const Book* book_;
  int index_;
  std::u16string name_ = u"Arial";
  int size_ = 10;
  Color color_ = kColorBlack;
  bool automaticColor_ = true;
};

}  // namespace platform::spreadsheet
