#include "platform/spreadsheet/XlsxWriter.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Font.h"
#include "platform/spreadsheet/Format.h"
#include "platform/spreadsheet/Sheet.h"
#include "platform/spreadsheet/SheetLayout.h"
#include "platform/spreadsheet/Text.h"

namespace platform::spreadsheet {
namespace {

uint8_t horizontal(AlignH align) {
  switch (align) {
    case AlignH::Left: return LXW_ALIGN_LEFT;
    case AlignH::Center: return LXW_ALIGN_CENTER;
    case AlignH::Right: return LXW_ALIGN_RIGHT;
    case AlignH::Fill: return LXW_ALIGN_FILL;
    case AlignH::Justify: return LXW_ALIGN_JUSTIFY;
    case AlignH::General: break;
  }
  return LXW_ALIGN_NONE;
}

uint8_t vertical(AlignV align) {
  switch (align) {
    case AlignV::Top: return LXW_ALIGN_VERTICAL_TOP;
    case AlignV::Center: return LXW_ALIGN_VERTICAL_CENTER;
    case AlignV::Justify: return LXW_ALIGN_VERTICAL_JUSTIFY;
    case AlignV::Bottom: break;
  }
  return LXW_ALIGN_VERTICAL_BOTTOM;
}

// The book's formats as libxlsxwriter formats, made on first use.
class FormatMap {
 public:
  FormatMap(lxw_workbook* workbook, const Book& book)
      : workbook_(workbook), book_(book), formats_(book.formats().size(), nullptr) {}

  lxw_format* get(uint32_t index) {
    if (formats_[index] == nullptr) formats_[index] = make(*book_.formatAt(int(index)));
    return formats_[index];
  }

 private:
  lxw_format* make(const Format& format) {
    lxw_format* f = workbook_add_format(workbook_);
    const Font& font = *format.font();
    format_set_font_name(f, toUtf8(font.name()).c_str());
    format_set_font_size(f, font.size());
    if (!font.isAutomaticColor()) format_set_font_color(f, font.color());
    if (format.alignH() != AlignH::General) format_set_align(f, horizontal(format.alignH()));
    if (format.alignV() != AlignV::Bottom) format_set_align(f, vertical(format.alignV()));
    if (format.wrap()) format_set_text_wrap(f);
    if (format.border() != BorderStyle::None) format_set_border(f, uint8_t(format.border()));
    return f;
  }

  lxw_workbook* workbook_;
  const Book& book_;
  std::vector<lxw_format*> formats_;
};

// For its file errors libxlsxwriter leaves the system's reason in errno (and logs it itself); the
// reason leads, as it does for the .xls writer, so a full disk reads as one.
std::string describe(lxw_error error, int systemError) {
  std::string text = lxw_strerror(error);
  bool fileError = error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE ||
                   error == LXW_ERROR_READING_TMPFILE || error == LXW_ERROR_ZIP_FILE_OPERATION;
  if (!fileError || systemError == 0) return text;
  if (!text.empty() && text.back() == '.') text.pop_back();
  return std::string(std::strerror(systemError)) + " (" + text + ")";
}

lxw_error writePiece(lxw_worksheet* ws, const SheetPiece& piece, const Book& book, FormatMap& formats) {
  if (piece.sheet != nullptr) {
    for (const auto& [col, width] : piece.sheet->colWidths()) {
      if (lxw_error e = worksheet_set_column(ws, lxw_col_t(col), lxw_col_t(col), width, nullptr)) return e;
    }
  }
  for (const SheetPiece::RowRef& ref : piece.rows) {
    const auto& cells = ref.row->cells;
    for (size_t c = 0; c < cells.size(); ++c) {
      if (!cells[c].used) continue;
      lxw_format* format = cells[c].format == 0 ? nullptr : formats.get(cells[c].format);
      lxw_error e = cells[c].text == Sheet::Cell::kNoText
                        ? worksheet_write_blank(ws, lxw_row_t(ref.index), lxw_col_t(c), format)
                        : worksheet_write_string(ws, lxw_row_t(ref.index), lxw_col_t(c),
                                                 toXlsxText(book.text(cells[c].text)).c_str(), format);
      if (e != LXW_NO_ERROR) return e;
    }
  }
  return LXW_NO_ERROR;
}

// libxlsxwriter 1.1 in constant-memory mode closes a worksheet's temporary file only when it copies
// the sheet's rows into the file, so the stream of a sheet that got no cell stays open for the rest
// of the process, one descriptor per empty sheet and save. Nothing of the workbook uses it once the
// workbook is closed.
FILE* streamLeftOpen(const lxw_worksheet* ws) {
#if LXW_VERSION_ID <= 114
  if (ws->optimize_tmpfile != nullptr && ws->dim_rowmin == LXW_ROW_MAX) return ws->optimize_tmpfile;
#endif
  (void)ws;
  return nullptr;
}

std::string writeWorkbook(const Book& book, const std::string& file, const std::string& scratch) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;  // rows go out in order; memory stays flat for a million rows
  options.tmpdir = const_cast<char*>(scratch.c_str());
  lxw_workbook* workbook = workbook_new_opt(file.c_str(), &options);
  if (workbook == nullptr) return "the workbook could not be created";
  FormatMap formats(workbook, book);
  lxw_error error = LXW_NO_ERROR;
  std::vector<FILE*> leftOpen;
  for (const SheetPiece& piece : layoutSheets(book, kXlsxMaxRows)) {
    lxw_worksheet* ws = workbook_add_worksheet(workbook, toUtf8(piece.name).c_str());
    if (ws == nullptr) {
      error = LXW_ERROR_SHEETNAME_ALREADY_USED;
      break;
    }
    error = writePiece(ws, piece, book, formats);
    if (FILE* stream = streamLeftOpen(ws)) leftOpen.push_back(stream);
    if (error != LXW_NO_ERROR) break;
  }
  errno = 0;
  lxw_error closed = workbook_close(workbook);
  const int systemError = errno;
  for (FILE* stream : leftOpen) fclose(stream);
  if (error == LXW_NO_ERROR) error = closed;
  return error == LXW_NO_ERROR ? std::string() : describe(error, error == closed ? systemError : 0);
}

}  // namespace

SaveResult saveXlsx(const Book& book, const std::string& path) {
  return saveThroughPrivateFolder(
      path, [&](const std::string& file, const std::string& scratch) { return writeWorkbook(book, file, scratch); });
}

}  // namespace platform::spreadsheet
