#pragma once
// Writes a book as a BIFF8 workbook stream inside an OLE compound file (.xls). buildWorkbookStream
// gives the stream alone (for tests); saveXls checks the book against the format's limits and saves
// through SaveFile. Reads the book only; one thread at a time per book.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/spreadsheet/Forward.h"
#include "platform/spreadsheet/SaveFile.h"

namespace platform::spreadsheet {

// An error text when the book holds what an .xls file cannot: columns past 256, cells of more than
// 32,767 characters, more than 4,000 formats or 500 fonts. Empty when it fits.
std::string xlsLimitProblem(const Book& book);

std::vector<uint8_t> buildWorkbookStream(const Book& book);

SaveResult saveXls(const Book& book, const std::string& path);

}  // namespace platform::spreadsheet
