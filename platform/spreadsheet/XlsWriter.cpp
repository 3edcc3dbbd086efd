#include "platform/spreadsheet/XlsWriter.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#include "platform/spreadsheet/BiffRecords.h"
#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/CompoundFile.h"
#include "platform/spreadsheet/Font.h"
#include "platform/spreadsheet/Format.h"
#include "platform/spreadsheet/Sheet.h"
#include "platform/spreadsheet/SheetLayout.h"
#include "platform/spreadsheet/Text.h"

namespace platform::spreadsheet {
namespace {

// Excel's built-in colour palette, indexes 8 to 63.
constexpr std::array<Color, 56> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
    0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF,
    0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
    0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966,
    0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

constexpr int kMaxFormats = 4000;
constexpr int kMaxFonts = 500;

uint16_t paletteIndex(Color color) {
  auto distance = [color](Color p) {
    auto d = [](int a, int b) { return (a - b) * (a - b); };
    return d(int(color >> 16 & 255), int(p >> 16 & 255)) + d(int(color >> 8 & 255), int(p >> 8 & 255)) +
           d(int(color & 255), int(p & 255));
  };
  size_t best = 0;
  for (size_t i = 1; i < kPalette.size(); ++i) {
    if (distance(kPalette[i]) < distance(kPalette[best])) best = i;
  }
  return uint16_t(8 + best);
}

bool hasWideCharacters(const std::u16string& text) {
  return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x2E80; });
}

biff::FontData fontData(const Font& font) {
  biff::FontData data;
  data.heightTwips = uint16_t(font.size() * 20);
  data.colorIndex = font.isAutomaticColor() ? biff::kAutomaticColor : paletteIndex(font.color());
  // GB2312 for a Chinese face name, so Excel picks the face for Chinese text; ANSI otherwise.
  data.charset = hasWideCharacters(font.name()) ? 0x86 : 0;
  data.name = font.name();
  return data;
}

uint16_t fontRecordIndex(const Font& font) {
  // Records 0-3 are the default font; index 4 does not exist, so book font k >= 1 is record k + 4.
  return font.index() == 0 ? 0 : uint16_t(font.index() + 4);
}

biff::XfData cellXf(const Format& format) {
  biff::XfData xf;
  xf.fontIndex = fontRecordIndex(*format.font());
  xf.alignH = uint8_t(format.alignH());
  xf.alignV = uint8_t(format.alignV());
  xf.wrap = format.wrap();
  xf.border = uint8_t(format.border());
  if (xf.fontIndex != 0) xf.usedFlags |= biff::kUsedFont;
  if (format.alignH() != AlignH::General || format.alignV() != AlignV::Bottom || format.wrap()) {
    xf.usedFlags |= biff::kUsedAlign;
  }
  if (format.border() != BorderStyle::None) xf.usedFlags |= biff::kUsedBorder;
  return xf;
}

uint16_t xfIndex(uint32_t format) { return uint16_t(biff::kFirstCellXf + format); }

// The shared strings in order of first use, and each cell text's place among them.
struct StringTable {
  std::vector<std::u16string_view> strings;
  std::vector<uint32_t> indexOf;  // by book text id
  uint32_t references = 0;
};

StringTable collectStrings(const Book& book, const std::vector<SheetPiece>& pieces) {
  StringTable table;
  table.indexOf.assign(book.textCount(), UINT32_MAX);
  for (const SheetPiece& piece : pieces) {
    for (const SheetPiece::RowRef& ref : piece.rows) {
      for (const Sheet::Cell& cell : ref.row->cells) {
        if (!cell.used || cell.text == Sheet::Cell::kNoText) continue;
        if (table.indexOf[cell.text] == UINT32_MAX) {
          table.indexOf[cell.text] = uint32_t(table.strings.size());
          table.strings.push_back(book.text(cell.text));
        }
        ++table.references;
      }
    }
  }
  return table;
}

void writeFonts(Bytes& out, const Book& book) {
  const auto& fonts = book.fonts();
  for (int i = 0; i < 4; ++i) biff::font(out, fontData(*fonts.front()));
  for (size_t i = 1; i < fonts.size(); ++i) biff::font(out, fontData(*fonts[i]));
}

void writeXfs(Bytes& out, const Book& book) {
  biff::XfData styleXf;
  styleXf.style = true;
  biff::xf(out, styleXf);
  styleXf.usedFlags = biff::kStyleUsed;
  for (int i = 1; i < 15; ++i) biff::xf(out, styleXf);
  for (const auto& format : book.formats()) biff::xf(out, cellXf(*format));
}

// The globals substream; returns the positions of the BOUNDSHEET offsets to fill in.
std::vector<size_t> writeGlobals(Bytes& out, const Book& book, const std::vector<SheetPiece>& pieces,
                                 const StringTable& table) {
  biff::bof(out, biff::Substream::Globals);
  biff::interfaceHdr(out);
  biff::mms(out);
  biff::interfaceEnd(out);
  biff::writeAccess(out, "Tabrix");
  biff::codepage(out);
  biff::dsf(out);
  biff::tabId(out, uint16_t(std::min<size_t>(pieces.size(), 4000)));
  biff::fnGroupCount(out);
  biff::windowProtect(out);
  biff::protect(out);
  biff::password(out);
  biff::prot4Rev(out);
  biff::prot4RevPass(out);
  biff::backup(out);
  biff::hideObj(out);
  biff::window1(out);
  biff::dateMode(out);
  biff::precision(out);
  biff::refreshAll(out);
  biff::bookBool(out);
  writeFonts(out, book);
  writeXfs(out, book);
  biff::style(out);
  biff::useSelfs(out);
  std::vector<size_t> offsets;
  for (const SheetPiece& piece : pieces) offsets.push_back(biff::boundSheet(out, piece.name));
  biff::country(out);
  const auto perBucket = uint16_t(std::clamp<size_t>(table.strings.size() / 128 + 1, 8, 0xFFFF));
  std::vector<biff::ExtSstBucket> buckets;
  biff::sst(out, table.strings, table.references, perBucket, buckets);
  biff::extSst(out, perBucket, buckets);
  biff::eof(out);
  return offsets;
}

struct RowSpan {
  uint16_t first = UINT16_MAX, lastPlus1 = 0;
};

RowSpan usedSpan(const Sheet::Row& row) {
  RowSpan span;
  for (size_t c = 0; c < row.cells.size(); ++c) {
    if (!row.cells[c].used) continue;
    span.first = std::min(span.first, uint16_t(c));
    span.lastPlus1 = uint16_t(c + 1);
  }
  return span;
}

void writeColumnWidths(Bytes& out, const Sheet* sheet) {
  if (sheet == nullptr) return;
  const auto& widths = sheet->colWidths();
  for (auto it = widths.begin(); it != widths.end() && it->first < kXlsMaxColumns;) {
    auto run = it;
    int last = it->first;
    while (std::next(run) != widths.end() && std::next(run)->first == last + 1 &&
           std::next(run)->first < kXlsMaxColumns && std::next(run)->second == it->second) {
      ++run;
      ++last;
    }
    biff::colInfo(out, uint16_t(it->first), uint16_t(last), uint16_t(std::lround(it->second * 256)));
    it = std::next(run);
  }
}

void writeDimensions(Bytes& out, const SheetPiece& piece) {
  if (piece.rows.empty()) {
    biff::dimensions(out, 0, 0, 0, 0);
    return;
  }
  RowSpan all;
  for (const auto& ref : piece.rows) {
    RowSpan span = usedSpan(*ref.row);
    all.first = std::min(all.first, span.first);
    all.lastPlus1 = std::max(all.lastPlus1, span.lastPlus1);
  }
  biff::dimensions(out, uint32_t(piece.rows.front().index), uint32_t(piece.rows.back().index + 1), all.first,
                   all.lastPlus1);
}

// One block of up to 32 rows: the ROW records, their cells, then the DBCELL; returns the DBCELL's offset.
uint32_t writeRowBlock(Bytes& out, const SheetPiece::RowRef* begin, const SheetPiece::RowRef* end,
                       const StringTable& table) {
  size_t firstRow = out.size();
  for (auto* ref = begin; ref != end; ++ref) {
    RowSpan span = usedSpan(*ref->row);
    biff::row(out, uint16_t(ref->index), span.first, span.lastPlus1);
  }
  std::vector<uint16_t> offsets;
  size_t previous = out.size();
  offsets.push_back(uint16_t((end - begin - 1) * biff::kRowRecordSize));
  for (auto* ref = begin; ref != end; ++ref) {
    if (ref != begin) offsets.push_back(uint16_t(out.size() - previous));
    previous = out.size();
    const auto& cells = ref->row->cells;
    for (size_t c = 0; c < cells.size(); ++c) {
      if (!cells[c].used) continue;
      if (cells[c].text == Sheet::Cell::kNoText) {
        biff::blank(out, uint16_t(ref->index), uint16_t(c), xfIndex(cells[c].format));
      } else {
        biff::labelSst(out, uint16_t(ref->index), uint16_t(c), xfIndex(cells[c].format),
                       table.indexOf[cells[c].text]);
      }
    }
  }
  auto dbCell = uint32_t(out.size());
  biff::dbCell(out, uint32_t(out.size() - firstRow), offsets);
  return dbCell;
}

std::vector<std::pair<size_t, size_t>> rowBlocks(const SheetPiece& piece) {
  std::vector<std::pair<size_t, size_t>> blocks;
  for (size_t i = 0; i < piece.rows.size();) {
    size_t j = i;
    while (j < piece.rows.size() && piece.rows[j].index / 32 == piece.rows[i].index / 32) ++j;
    blocks.emplace_back(i, j);
    i = j;
  }
  return blocks;
}

void writeSheet(Bytes& out, const SheetPiece& piece, biff::SheetState state, const StringTable& table) {
  biff::bof(out, biff::Substream::Worksheet);
  auto blocks = rowBlocks(piece);
  uint32_t first = piece.rows.empty() ? 0 : uint32_t(piece.rows.front().index);
  uint32_t lastPlus1 = piece.rows.empty() ? 0 : uint32_t(piece.rows.back().index + 1);
  size_t index = biff::index(out, first, lastPlus1, blocks.size());
  biff::calcMode(out);
  biff::calcCount(out);
  biff::refMode(out);
  biff::iteration(out);
  biff::delta(out);
  biff::saveRecalc(out);
  biff::printHeaders(out);
  biff::printGridlines(out);
  biff::gridSet(out);
  biff::guts(out);
  biff::defaultRowHeight(out);
  biff::wsBool(out);
  biff::header(out);
  biff::footer(out);
  biff::hCenter(out);
  biff::vCenter(out);
  biff::setup(out);
  auto defColWidth = uint32_t(out.size());
  biff::defColWidth(out);
  writeColumnWidths(out, piece.sheet);
  writeDimensions(out, piece);
  std::vector<uint32_t> dbCells;
  for (auto [from, to] : blocks) {
    dbCells.push_back(writeRowBlock(out, piece.rows.data() + from, piece.rows.data() + to, table));
  }
  biff::window2(out, state);
  biff::eof(out);
  biff::patchIndex(out, index, defColWidth, dbCells);
}

std::string sheetProblem(const Sheet& sheet) {
  // Only a book that ever stored an over-long text needs its cells looked at one by one.
  const bool longTexts = sheet.book()->longestText() > size_t(kMaxCellChars);
  for (const Sheet::Row& row : sheet.rows()) {
    if (row.cells.size() > size_t(kXlsMaxColumns)) {
      return "sheet \"" + toUtf8(sheet.name()) + "\" uses column " + std::to_string(row.cells.size()) +
             ", beyond the 256 columns of an .xls sheet";
    }
    if (!longTexts) continue;
    for (const Sheet::Cell& cell : row.cells) {
      if (cell.used && cell.text != Sheet::Cell::kNoText &&
          sheet.book()->text(cell.text).size() > size_t(kMaxCellChars)) {
        return "sheet \"" + toUtf8(sheet.name()) + "\" row " + std::to_string(row.index + 1) +
               " holds a text longer than 32,767 characters";
      }
    }
  }
  return {};
}

}  // namespace

std::string xlsLimitProblem(const Book& book) {
  if (book.formats().size() > size_t(kMaxFormats)) return "more than 4,000 cell formats";
  if (book.fonts().size() > size_t(kMaxFonts)) return "more than 500 fonts";
  for (const auto& sheet : book.sheets()) {
    if (std::string problem = sheetProblem(*sheet); !problem.empty()) return problem;
  }
  return {};
}

// Roughly the most the stream can take (texts at two bytes a unit, every cell a LABELSST), so its
// buffer is allocated once and never moved while it grows; a wrong guess only costs one move.
size_t streamSizeBound(const std::vector<SheetPiece>& pieces, const StringTable& table) {
  size_t bytes = 64 * 1024;
  for (std::u16string_view text : table.strings) bytes += 3 + 2 * text.size();
  bytes += bytes / biff::kMaxRecordData * 5 + table.strings.size() / 8 * 8;  // CONTINUE, EXTSST
  for (const SheetPiece& piece : pieces) {
    bytes += 8192;  // the fixed records and the column widths
    for (const SheetPiece::RowRef& ref : piece.rows) {
      bytes += biff::kRowRecordSize + 2 + ref.row->cells.size() * biff::kLabelSstRecordSize;
    }
    bytes += piece.rows.size() / 32 * 12 + 12;  // DBCELL heads and INDEX entries
  }
  return bytes;
}

std::vector<uint8_t> buildWorkbookStream(const Book& book) {
  std::vector<SheetPiece> pieces = layoutSheets(book, kXlsMaxRows);
  StringTable table = collectStrings(book, pieces);
  Bytes out;
  out.reserve(streamSizeBound(pieces, table));
  std::vector<size_t> offsets = writeGlobals(out, book, pieces, table);
  for (size_t i = 0; i < pieces.size(); ++i) {
    out.patch32(offsets[i], uint32_t(out.size()));
    writeSheet(out, pieces[i], i == 0 ? biff::SheetState::Selected : biff::SheetState::NotSelected, table);
  }
  return std::move(out.data());
}

SaveResult saveXls(const Book& book, const std::string& path) {
  if (std::string problem = xlsLimitProblem(book); !problem.empty()) return failure(path, problem);
  std::vector<uint8_t> stream = buildWorkbookStream(book);
  if (stream.size() > UINT32_MAX - 16 * 1024 * 1024) return failure(path, "the workbook is too large for .xls");
  cfb::Layout layout = cfb::layoutFor(stream.size());
  return saveThroughDescriptor(path, [&](int fd) {
    std::string why = writeAll(fd, layout.header.data(), layout.header.size());
    if (why.empty()) why = writeAll(fd, stream.data(), stream.size());
    std::vector<uint8_t> padding(layout.streamSectorBytes() - stream.size(), 0);
    if (why.empty()) why = writeAll(fd, padding.data(), padding.size());
    if (why.empty()) why = writeAll(fd, layout.tail.data(), layout.tail.size());
    return why;
  });
}

}  // namespace platform::spreadsheet
