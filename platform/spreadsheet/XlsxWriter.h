#pragma once
// Writes a book as an Office Open XML workbook (.xlsx) with libxlsxwriter: the same sheets, cells,
// formats and column widths as the .xls writer, sheets holding up to 1,048,576 rows. libxlsxwriter
// opens its output by name, so the file is made inside a private folder next to the target.
// Reads the book only; one thread at a time per book.
#include <string>

#include "platform/spreadsheet/Forward.h"
#include "platform/spreadsheet/SaveFile.h"

namespace platform::spreadsheet {

SaveResult saveXlsx(const Book& book, const std::string& path);

}  // namespace platform::spreadsheet
