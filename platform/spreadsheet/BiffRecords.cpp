#include "platform/spreadsheet/BiffRecords.h"

#include <algorithm>
#include <array>

namespace platform::spreadsheet::biff {
namespace {

bool fitsInOneByte(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

// Converted through a stack buffer and appended a run at a time rather than a byte at a time.
void characters(Bytes& out, std::u16string_view text, bool wide) {
  uint8_t run[512];
  const size_t unitBytes = wide ? 2 : 1;
  while (!text.empty()) {
    const size_t count = std::min(text.size(), sizeof run / unitBytes);
    for (size_t i = 0; i < count; ++i) {
      if (wide) {
        run[2 * i] = uint8_t(text[i]);
        run[2 * i + 1] = uint8_t(text[i] >> 8);
      } else {
        run[i] = uint8_t(text[i]);
      }
    }
    out.append(run, count * unitBytes);
    text.remove_prefix(count);
  }
}

// XLUnicodeString: u16 count, flags, characters.
void unicodeString(Bytes& out, const std::u16string& text) {
  bool wide = !fitsInOneByte(text);
  out.u16(uint16_t(text.size()));
  out.u8(wide ? 1 : 0);
  characters(out, text, wide);
}

// ShortXLUnicodeString: u8 count, flags, characters.
void shortUnicodeString(Bytes& out, const std::u16string& text) {
  bool wide = !fitsInOneByte(text);
  out.u8(uint8_t(text.size()));
  out.u8(wide ? 1 : 0);
  characters(out, text, wide);
}

void simple16(Bytes& out, uint16_t id, uint16_t value) {
  size_t r = beginRecord(out, id);
  out.u16(value);
  endRecord(out, r);
}

void empty(Bytes& out, uint16_t id) { endRecord(out, beginRecord(out, id)); }

// A record of fixed size filled in place and appended in one go: the per-row and per-cell records
// make up most of a stream, and byte-by-byte appends cost more than their content.
template <size_t Size>
class FixedRecord {
 public:
  explicit FixedRecord(uint16_t id) {
    set16(0, id);
    set16(2, uint16_t(Size - 4));
  }
  void set16(size_t at, uint16_t v) {
    bytes_[at] = uint8_t(v);
    bytes_[at + 1] = uint8_t(v >> 8);
  }
  void set32(size_t at, uint32_t v) {
    set16(at, uint16_t(v));
    set16(at + 2, uint16_t(v >> 16));
  }
  void appendTo(Bytes& out) const { out.append(bytes_.data(), Size); }

 private:
  std::array<uint8_t, Size> bytes_{};
};

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Writes SST and CONTINUE records, never splitting a string's header, its first character, a
// character or a surrogate pair; each continued run of characters starts with its own flag byte.
class SstRecords {
 public:
  explicit SstRecords(Bytes& out) : out_(out) {}

  void begin(uint32_t totalRefs, uint32_t unique) {
    record_ = beginRecord(out_, 0x00FC);
    out_.u32(totalRefs);
    out_.u32(unique);
  }
  // Where the string that add() writes next will start.
  ExtSstBucket startOf(std::u16string_view text) {
    if (room() < 3 + charSize(text)) next();
    return ExtSstBucket{uint32_t(out_.size()), uint16_t(out_.size() - record_)};
  }
  void add(std::u16string_view text) {
    const bool wide = !fitsInOneByte(text);
    const size_t size = charSize(text);
    if (room() < 3 + size) next();
    out_.u16(uint16_t(text.size()));
    out_.u8(wide ? 1 : 0);
    size_t done = 0;
    while (done < text.size()) {
      size_t count = std::min(room() / size, text.size() - done);
      if (count > 0 && done + count < text.size() && isHighSurrogate(text[done + count - 1])) --count;
      if (count == 0) {
        next();
        out_.u8(wide ? 1 : 0);
        continue;
      }
      characters(out_, text.substr(done, count), wide);
      done += count;
    }
  }
  void end() { endRecord(out_, record_); }

 private:
  static size_t charSize(std::u16string_view text) {
    if (text.empty()) return 0;
    return fitsInOneByte(text) ? 1 : 2;
  }
  size_t room() const { return kMaxRecordData - (out_.size() - record_ - 4); }
  void next() {
    endRecord(out_, record_);
    record_ = beginRecord(out_, 0x003C);
  }

  Bytes& out_;
  size_t record_ = 0;
};

}  // namespace

size_t beginRecord(Bytes& out, uint16_t id) {
  size_t at = out.size();
  out.u16(id);
  out.u16(0);
  return at;
}

void endRecord(Bytes& out, size_t record) { out.patch16(record + 2, uint16_t(out.size() - record - 4)); }

// BOF
void bof(Bytes& out, Substream type) {
  size_t r = beginRecord(out, 0x0809);
  out.u16(0x0600);
  out.u16(uint16_t(type));
  out.u16(0x0DBB);
  out.u16(0x07CC);
  out.u32(0);
  out.u32(6);
  endRecord(out, r);
}

// INTERFACEHDR
void interfaceHdr(Bytes& out) { simple16(out, 0x00E1, 0x04B0); }
// MMS
void mms(Bytes& out) { simple16(out, 0x00C1, 0); }
// INTERFACEEND
void interfaceEnd(Bytes& out) { empty(out, 0x00E2); }

// WRITEACCESS
void writeAccess(Bytes& out, const std::string& user) {
  size_t r = beginRecord(out, 0x005C);
  std::u16string name(user.begin(), user.begin() + std::min<size_t>(user.size(), 100));
  unicodeString(out, name);
  while (out.size() - r - 4 < 112) out.u8(' ');
  endRecord(out, r);
}

// CODEPAGE
void codepage(Bytes& out) { simple16(out, 0x0042, 0x04B0); }
// DSF
void dsf(Bytes& out) { simple16(out, 0x0161, 0); }

// TABID
void tabId(Bytes& out, uint16_t sheetCount) {
  size_t r = beginRecord(out, 0x013D);
  for (uint16_t i = 1; i <= sheetCount; ++i) out.u16(i);
  endRecord(out, r);
}

// FNGROUPCOUNT
void fnGroupCount(Bytes& out) { simple16(out, 0x009C, 0x000E); }
// WINDOWPROTECT
void windowProtect(Bytes& out) { simple16(out, 0x0019, 0); }
// PROTECT
void protect(Bytes& out) { simple16(out, 0x0012, 0); }
// PASSWORD
void password(Bytes& out) { simple16(out, 0x0013, 0); }
// PROT4REV
void prot4Rev(Bytes& out) { simple16(out, 0x01AF, 0); }
// PROT4REVPASS
void prot4RevPass(Bytes& out) { simple16(out, 0x01BC, 0); }
// BACKUP
void backup(Bytes& out) { simple16(out, 0x0040, 0); }
// HIDEOBJ
void hideObj(Bytes& out) { simple16(out, 0x008D, 0); }

// WINDOW1
void window1(Bytes& out) {
  size_t r = beginRecord(out, 0x003D);
  for (uint16_t v : {0x01E0, 0x005A, 0x3FCF, 0x2A4E, 0x0038, 0, 0, 1, 0x0258}) out.u16(v);
  endRecord(out, r);
}

// DATEMODE
void dateMode(Bytes& out) { simple16(out, 0x0022, 0); }
// PRECISION
void precision(Bytes& out) { simple16(out, 0x000E, 1); }
// REFRESHALL
void refreshAll(Bytes& out) { simple16(out, 0x01B7, 0); }
// BOOKBOOL
void bookBool(Bytes& out) { simple16(out, 0x00DA, 0); }

// FONT
void font(Bytes& out, const FontData& font) {
  size_t r = beginRecord(out, 0x0031);
  out.u16(font.heightTwips);
  out.u16(0);
  out.u16(font.colorIndex);
  out.u16(font.weight);
  out.u16(0);
  out.u8(0);
  out.u8(0);
  out.u8(font.charset);
  out.u8(0);
  shortUnicodeString(out, font.name);
  endRecord(out, r);
}

// XF
void xf(Bytes& out, const XfData& xf) {
  size_t r = beginRecord(out, 0x00E0);
  out.u16(xf.fontIndex);
  out.u16(0);
  out.u16(xf.style ? 0xFFF5 : 0x0001);
  out.u8(uint8_t((xf.alignH & 7) | (xf.wrap ? 8 : 0) | ((xf.alignV & 7) << 4)));
  out.u8(0);
  out.u8(0);
  out.u8(xf.usedFlags);
  uint32_t line = xf.border & 0xF;
  uint32_t color = xf.border != 0 ? xf.borderColorIndex & 0x7F : 0;
  out.u32(line | line << 4 | line << 8 | line << 12 | color << 16 | color << 23);
  out.u32(color | color << 7);
  out.u16(0x20C0);
  endRecord(out, r);
}

// STYLE (Normal)
void style(Bytes& out) {
  size_t r = beginRecord(out, 0x0293);
  out.u16(0x8000);
  out.u8(0);
  out.u8(0xFF);
  endRecord(out, r);
}

// USESELFS
void useSelfs(Bytes& out) { simple16(out, 0x0160, 1); }

// BOUNDSHEET
size_t boundSheet(Bytes& out, const std::u16string& name) {
  size_t r = beginRecord(out, 0x0085);
  out.u32(0);
  out.u8(0);
  out.u8(0);
  shortUnicodeString(out, name);
  endRecord(out, r);
  return r + 4;
}

// COUNTRY
void country(Bytes& out) {
  size_t r = beginRecord(out, 0x008C);
  out.u16(1);
  out.u16(1);
  endRecord(out, r);
}

// SST
void sst(Bytes& out, const std::vector<std::u16string_view>& strings, uint32_t totalRefs,
         uint16_t stringsPerBucket, std::vector<ExtSstBucket>& buckets) {
  SstRecords records(out);
  records.begin(totalRefs, uint32_t(strings.size()));
  for (size_t i = 0; i < strings.size(); ++i) {
    if (i % stringsPerBucket == 0) buckets.push_back(records.startOf(strings[i]));
    records.add(strings[i]);
  }
  records.end();
}

// EXTSST
void extSst(Bytes& out, uint16_t stringsPerBucket, const std::vector<ExtSstBucket>& buckets) {
  size_t r = beginRecord(out, 0x00FF);
  out.u16(stringsPerBucket);
  for (const ExtSstBucket& b : buckets) {
    out.u32(b.streamOffset);
    out.u16(b.recordOffset);
    out.u16(0);
  }
  endRecord(out, r);
}

// EOF
void eof(Bytes& out) { empty(out, 0x000A); }

// INDEX
size_t index(Bytes& out, uint32_t firstRow, uint32_t lastRowPlus1, size_t blocks) {
  size_t r = beginRecord(out, 0x020B);
  out.u32(0);
  out.u32(firstRow);
  out.u32(lastRowPlus1);
  out.u32(0);
  out.zeros(4 * blocks);
  endRecord(out, r);
  return r;
}

void patchIndex(Bytes& out, size_t index, uint32_t defColWidthOffset, const std::vector<uint32_t>& dbCells) {
  out.patch32(index + 16, defColWidthOffset);
  for (size_t i = 0; i < dbCells.size(); ++i) out.patch32(index + 20 + 4 * i, dbCells[i]);
}

// CALCMODE
void calcMode(Bytes& out) { simple16(out, 0x000D, 1); }
// CALCCOUNT
void calcCount(Bytes& out) { simple16(out, 0x000C, 100); }
// REFMODE
void refMode(Bytes& out) { simple16(out, 0x000F, 1); }
// ITERATION
void iteration(Bytes& out) { simple16(out, 0x0011, 0); }

// DELTA
void delta(Bytes& out) {
  size_t r = beginRecord(out, 0x0010);
  out.f64(0.001);
  endRecord(out, r);
}

// SAVERECALC
void saveRecalc(Bytes& out) { simple16(out, 0x005F, 1); }
// PRINTHEADERS
void printHeaders(Bytes& out) { simple16(out, 0x002A, 0); }
// PRINTGRIDLINES
void printGridlines(Bytes& out) { simple16(out, 0x002B, 0); }
// GRIDSET
void gridSet(Bytes& out) { simple16(out, 0x0082, 1); }

// GUTS
void guts(Bytes& out) {
  size_t r = beginRecord(out, 0x0080);
  out.zeros(8);
  endRecord(out, r);
}

// DEFAULTROWHEIGHT
void defaultRowHeight(Bytes& out) {
  size_t r = beginRecord(out, 0x0225);
  out.u16(0);
  out.u16(255);
  endRecord(out, r);
}

// WSBOOL
void wsBool(Bytes& out) { simple16(out, 0x0081, 0x04C1); }
// HEADER (none)
void header(Bytes& out) { empty(out, 0x0014); }
// FOOTER (none)
void footer(Bytes& out) { empty(out, 0x0015); }
// HCENTER
void hCenter(Bytes& out) { simple16(out, 0x0083, 0); }
// VCENTER
void vCenter(Bytes& out) { simple16(out, 0x0084, 0); }

// SETUP: printer settings marked as not given (fNoPls), so readers ignore the paper fields.
void setup(Bytes& out) {
  size_t r = beginRecord(out, 0x00A1);
  for (uint16_t v : {0, 100, 1, 1, 1, 0x0004, 300, 300}) out.u16(v);
  out.f64(0.5);
  out.f64(0.5);
  out.u16(1);
  endRecord(out, r);
}

// DEFCOLWIDTH
void defColWidth(Bytes& out) { simple16(out, 0x0055, 8); }

// COLINFO
void colInfo(Bytes& out, uint16_t first, uint16_t last, uint16_t width256) {
  size_t r = beginRecord(out, 0x007D);
  out.u16(first);
  out.u16(last);
  out.u16(width256);
  out.u16(kFirstCellXf);
  out.u16(0);
  out.u16(0);
  endRecord(out, r);
}

// DIMENSIONS
void dimensions(Bytes& out, uint32_t firstRow, uint32_t lastRowPlus1, uint16_t firstCol, uint16_t lastColPlus1) {
  size_t r = beginRecord(out, 0x0200);
  out.u32(firstRow);
  out.u32(lastRowPlus1);
  out.u16(firstCol);
  out.u16(lastColPlus1);
  out.u16(0);
  endRecord(out, r);
}

// ROW
void row(Bytes& out, uint16_t row, uint16_t firstCol, uint16_t lastColPlus1) {
  FixedRecord<kRowRecordSize> r(0x0208);
  r.set16(4, row);
  r.set16(6, firstCol);
  r.set16(8, lastColPlus1);
  r.set16(10, 255);
  r.set32(16, 0x00000100);
  r.appendTo(out);
}

// LABELSST
void labelSst(Bytes& out, uint16_t row, uint16_t col, uint16_t xf, uint32_t sstIndex) {
  FixedRecord<kLabelSstRecordSize> r(0x00FD);
  r.set16(4, row);
  r.set16(6, col);
  r.set16(8, xf);
  r.set32(10, sstIndex);
  r.appendTo(out);
}

// BLANK
void blank(Bytes& out, uint16_t row, uint16_t col, uint16_t xf) {
  FixedRecord<kBlankRecordSize> r(0x0201);
  r.set16(4, row);
  r.set16(6, col);
  r.set16(8, xf);
  r.appendTo(out);
}

// DBCELL
void dbCell(Bytes& out, uint32_t backToFirstRow, const std::vector<uint16_t>& rowOffsets) {
  size_t r = beginRecord(out, 0x00D7);
  out.u32(backToFirstRow);
  for (uint16_t offset : rowOffsets) out.u16(offset);
  endRecord(out, r);
}

// WINDOW2
void window2(Bytes& out, SheetState state) {
  size_t r = beginRecord(out, 0x023E);
  for (uint16_t v : {uint16_t(state), uint16_t(0), uint16_t(0), uint16_t(0x0040), uint16_t(0), uint16_t(0),
                     uint16_t(0)}) {
    out.u16(v);
  }
  out.u32(0);
  endRecord(out, r);
}

}  // namespace platform::spreadsheet::biff
