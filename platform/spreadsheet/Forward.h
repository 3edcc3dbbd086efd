#pragma once

namespace platform::spreadsheet {
class Book;
class Sheet;
class Format;
class Font;
}  // namespace platform::spreadsheet
