#pragma once
// The BIFF8 records of a workbook stream, one function per record, each appending the record (id,
// size, payload) to a buffer. The XlsWriter calls them in the order a workbook needs; the functions
// themselves know nothing of books or sheets. Pure functions; any thread.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spreadsheet/Bytes.h"

namespace platform::spreadsheet::biff {

inline constexpr size_t kMaxRecordData = 8224;
inline constexpr uint16_t kAutomaticColor = 0x7FFF;
inline constexpr uint16_t kFirstCellXf = 15;

enum class Substream : uint16_t { Globals = 0x0005, Worksheet = 0x0010 };
enum class SheetState : uint16_t { Selected = 0x06B6, NotSelected = 0x00B6 };

struct FontData {
  uint16_t heightTwips = 200;
  uint16_t colorIndex = kAutomaticColor;
  uint16_t weight = 400;
  uint8_t charset = 0;
  std::u16string name = u"Arial";
};

struct XfData {
  uint16_t fontIndex = 0;
  bool style = false;
  uint8_t alignH = 0;
  uint8_t alignV = 2;
  bool wrap = false;
  uint8_t border = 0;            // one line style for all four sides
  uint8_t borderColorIndex = 8;  // used only with a border
  uint8_t usedFlags = 0;         // bits 2-7 of byte 9
};

enum XfUsed : uint8_t { kUsedFont = 0x08, kUsedAlign = 0x10, kUsedBorder = 0x20, kStyleUsed = 0xF4 };

struct ExtSstBucket {
  uint32_t streamOffset;
  uint16_t recordOffset;
};

// Starts a record and returns its position; endRecord writes the payload size.
size_t beginRecord(Bytes& out, uint16_t id);
void endRecord(Bytes& out, size_t record);

// Globals substream.
void bof(Bytes& out, Substream type);                  // BOF
void interfaceHdr(Bytes& out);                         // INTERFACEHDR
void mms(Bytes& out);                                  // MMS
void interfaceEnd(Bytes& out);                         // INTERFACEEND
void writeAccess(Bytes& out, const std::string& user);  // WRITEACCESS
void codepage(Bytes& out);                             // CODEPAGE
void dsf(Bytes& out);                                  // DSF
void tabId(Bytes& out, uint16_t sheetCount);           // TABID
void fnGroupCount(Bytes& out);                         // FNGROUPCOUNT
void windowProtect(Bytes& out);                        // WINDOWPROTECT
void protect(Bytes& out);                              // PROTECT
void password(Bytes& out);                             // PASSWORD
void prot4Rev(Bytes& out);                             // PROT4REV
void prot4RevPass(Bytes& out);                         // PROT4REVPASS
void backup(Bytes& out);                               // BACKUP
void hideObj(Bytes& out);                              // HIDEOBJ
void window1(Bytes& out);                              // WINDOW1
void dateMode(Bytes& out);                             // DATEMODE
void precision(Bytes& out);                            // PRECISION
void refreshAll(Bytes& out);                           // REFRESHALL
void bookBool(Bytes& out);                             // BOOKBOOL
void font(Bytes& out, const FontData& font);           // FONT
void xf(Bytes& out, const XfData& xf);                 // XF
void style(Bytes& out);                                // STYLE (Normal)
void useSelfs(Bytes& out);                             // USESELFS
size_t boundSheet(Bytes& out, const std::u16string& name);  // BOUNDSHEET; returns the offset field's position
void country(Bytes& out);                              // COUNTRY
// SST with its CONTINUE records; buckets get the EXTSST entries, one per stringsPerBucket strings.
void sst(Bytes& out, const std::vector<std::u16string_view>& strings, uint32_t totalRefs,
         uint16_t stringsPerBucket, std::vector<ExtSstBucket>& buckets);
void extSst(Bytes& out, uint16_t stringsPerBucket, const std::vector<ExtSstBucket>& buckets);  // EXTSST
void eof(Bytes& out);                                  // EOF

// Worksheet substream.
size_t index(Bytes& out, uint32_t firstRow, uint32_t lastRowPlus1, size_t blocks);  // INDEX; returns its position
void patchIndex(Bytes& out, size_t index, uint32_t defColWidthOffset, const std::vector<uint32_t>& dbCells);
void calcMode(Bytes& out);                             // CALCMODE
void calcCount(Bytes& out);                            // CALCCOUNT
void refMode(Bytes& out);                              // REFMODE
void iteration(Bytes& out);                            // ITERATION
void delta(Bytes& out);                                // DELTA
void saveRecalc(Bytes& out);                           // SAVERECALC
void printHeaders(Bytes& out);                         // PRINTHEADERS
void printGridlines(Bytes& out);                       // PRINTGRIDLINES
void gridSet(Bytes& out);                              // GRIDSET
void guts(Bytes& out);                                 // GUTS
void defaultRowHeight(Bytes& out);                     // DEFAULTROWHEIGHT
void wsBool(Bytes& out);                               // WSBOOL
void header(Bytes& out);                               // HEADER (none)
void footer(Bytes& out);                               // FOOTER (none)
void hCenter(Bytes& out);                              // HCENTER
void vCenter(Bytes& out);                              // VCENTER
void setup(Bytes& out);                                // SETUP
void defColWidth(Bytes& out);                          // DEFCOLWIDTH
void colInfo(Bytes& out, uint16_t first, uint16_t last, uint16_t width256);  // COLINFO
void dimensions(Bytes& out, uint32_t firstRow, uint32_t lastRowPlus1, uint16_t firstCol,
                uint16_t lastColPlus1);                // DIMENSIONS
void row(Bytes& out, uint16_t row, uint16_t firstCol, uint16_t lastColPlus1);  // ROW
void labelSst(Bytes& out, uint16_t row, uint16_t col, uint16_t xf, uint32_t sstIndex);  // LABELSST
void blank(Bytes& out, uint16_t row, uint16_t col, uint16_t xf);  // BLANK
void dbCell(Bytes& out, uint32_t backToFirstRow, const std::vector<uint16_t>& rowOffsets);  // DBCELL
void window2(Bytes& out, SheetState state);            // WINDOW2

inline constexpr size_t kRowRecordSize = 20;
inline constexpr size_t kLabelSstRecordSize = 14;
inline constexpr size_t kBlankRecordSize = 10;

}  // namespace platform::spreadsheet::biff
