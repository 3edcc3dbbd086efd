#include "platform/spreadsheet/Font.h"

#include <algorithm>

#include "platform/spreadsheet/Text.h"

namespace platform::spreadsheet {

void Font::setName(const std::u16string& name) {
  // A FONT record holds at most 255 characters of name.
  name_ = sanitized(std::u16string_view(name).substr(0, 255));
}

void Font::setSize(int points) { size_ = std::clamp(points, 1, 409); }

bool Font::sameLook(const Font& other) const {
  return name_ == other.name_ && size_ == other.size_ && color_ == other.color_ &&
         automaticColor_ == other.automaticColor_;
}

void Font::copyLook(const Font& other) {
  name_ = other.name_;
  size_ = other.size_;
  color_ = other.color_;
  automaticColor_ = other.automaticColor_;
}

}  // namespace platform::spreadsheet
