// Whole workbooks written by both writers and read back by independent readers (xlrd, openpyxl).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>

#include "SheetTestSupport.h"
#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Font.h"
#include "platform/spreadsheet/Format.h"
#include "platform/spreadsheet/Sheet.h"

namespace platform::spreadsheet {
namespace {

using testing::ExpectedSheet;
using testing::u16;

const char* kExportFormat =
    R"({"font": "宋体", "size": 10, "bold": false, "wrap": true, "halign": "center", "valign": "center",)"
    R"( "border": ["thin", "thin", "thin", "thin"]})";

// The format of the grid export: 宋体 10 points black, wrapped, centred both ways, thin borders.
Format* exportFormat(Book& book) {
  Font* font = book.addFont();
  font->setName(u"宋体");
  font->setSize(10);
  font->setColor(book.colorPack(0, 0, 0));
  Format* format = book.addFormat();
  format->setFont(font);
  format->setWrap(true);
  format->setAlignH(AlignH::Center);
  format->setAlignV(AlignV::Center);
  format->setBorder(BorderStyle::Thin);
  return format;
}

std::vector<std::u16string> vehicleRow(int i) {
  return {u16(std::to_string(i)), u"京A" + u16(std::to_string(10000 + i % 90000)),
          u"2024年8月21日" + u16(std::to_string(i % 24)) + u"时", i % 2 ? u"蓝色" : u"黄色",
          u"192.168." + u16(std::to_string(i % 256)) + u"." + u16(std::to_string(i % 7))};
}

// Writes rows into the sheet and returns what a reader must find, continuation sheets included.
std::vector<ExpectedSheet> writeRows(Sheet& sheet, Format* format, const std::vector<std::vector<std::u16string>>& rows,
                                     int rowsPerSheet) {
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) sheet.writeStr(int(r), int(c), rows[r][c], format);
  }
  std::vector<ExpectedSheet> sheets{{sheet.name(), {}, {}}};
  for (size_t r = 0; r < rows.size(); ++r) {
    if (sheets.back().rows.size() == size_t(rowsPerSheet)) {
      sheets.push_back({u"Sheet" + u16(std::to_string(sheets.size() + 1)), {rows[0]}, {}});
    }
    sheets.back().rows.push_back(rows[r]);
  }
  return sheets;
}

class ReadBack : public ::testing::TestWithParam<std::string> {
 protected:
  testing::ScratchFolder folder;
};

// The export's table: CJK texts, texts that look like numbers or formulas, line breaks, an undecodable
// file-name unit, one string far longer than a record, and more rows than an .xls sheet holds.
TEST_P(ReadBack, ExportTableWithEveryKindOfText) {
  const bool xls = GetParam() == ".xls";
  BookPtr book(Book::create());
  book->setRgbMode(true);
  Sheet* sheet = book->addSheet(u"Sheet1");
  ASSERT_NE(sheet, nullptr);
  sheet->setOverflowHeaderRows(1);
  Format* format = exportFormat(*book);

  std::vector<std::vector<std::u16string>> rows{{u"ID", u"车牌号", u"时间", u"车牌颜色", u"相机IP地址"}};
  for (int i = 1; i <= 70000; ++i) rows.push_back(vehicleRow(i));
  rows[1] = {u"0012", u"=1+1", u"第一行\n第二行", u"3.50", u"/data/\xDC80\xDCFF"};
  std::u16string longText;
  for (int i = 0; i < 12000; ++i) longText += char16_t(0x4E00 + i % 500);
  rows[2][4] = longText;
  rows[3][4] = u"latin " + std::u16string(9000, u'x');  // one-byte characters across a CONTINUE
  auto expected = writeRows(*sheet, format, rows, xls ? kXlsMaxRows : kXlsxMaxRows);
  expected[0].rows[1][4] = u"/data/\xFFFD\xFFFD";
  sheet->setAutoFitArea(sheet->firstRow(), sheet->firstCol(), sheet->lastRow(), sheet->lastCol() - 1);

  EXPECT_EQ(sheet->colWidth(1), 9);   // "京A12345": a CJK character counts two
  EXPECT_EQ(sheet->colWidth(3), 9);   // "车牌颜色"
  EXPECT_EQ(sheet->colWidth(4), 255);  // the long text, capped
  for (auto& s : expected) {
    for (int c = 0; c < 5; ++c) s.widths.emplace_back(c, sheet->colWidth(c));
  }
  std::string path = folder / ("导出表" + GetParam());
  ASSERT_TRUE(book->save(path)) << book->errorMessage();
  testing::writeExpectation(folder / "expected.json", expected, kExportFormat);
  auto check = testing::checkWorkbook(path, folder / "expected.json");
  EXPECT_EQ(check.status, 0) << check.output;
}

TEST_P(ReadBack, BookWithoutSheetsGetsAnEmptySheet1) {
  BookPtr book(Book::create());
  std::string path = folder / ("empty" + GetParam());
  ASSERT_TRUE(book->save(path)) << book->errorMessage();
  testing::writeExpectation(folder / "expected.json", {{u"Sheet1", {}, {}}}, "");
  auto check = testing::checkWorkbook(path, folder / "expected.json");
  EXPECT_EQ(check.status, 0) << check.output;
}

// Several sheets, a default-format cell beside formatted ones, a blank formatted cell.
TEST_P(ReadBack, SeveralSheetsKeepTheirOrderAndCells) {
  BookPtr book(Book::create());
  Sheet* first = book->addSheet(u"车辆信息");
  Sheet* second = book->addSheet(u"Second");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  first->writeStr(0, 0, u"a");
  first->writeStr(2, 3, u"d");
  second->writeStr(5, 1, u"x");
  second->setCellFormat(5, 2, exportFormat(*book));
  second->setCol(0, 2, 20);
  std::string path = folder / ("several" + GetParam());
  ASSERT_TRUE(book->save(path)) << book->errorMessage();
  std::vector<ExpectedSheet> expected{
      {u"车辆信息", {{u"a"}, {}, {u"", u"", u"", u"d"}}, {}},
      {u"Second", {{}, {}, {}, {}, {}, {u"", u"x"}}, {{0, 20}, {1, 20}, {2, 20}}}};
  testing::writeExpectation(folder / "expected.json", expected, "");
  auto check = testing::checkWorkbook(path, folder / "expected.json");
  EXPECT_EQ(check.status, 0) << check.output;
}

// Guards the reader script itself: a wrong text, font or sheet name must be reported.
TEST_P(ReadBack, TheReaderReportsDifferences) {
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  sheet->writeStr(0, 0, u"车牌号", exportFormat(*book));
  std::string path = folder / ("wrong" + GetParam());
  ASSERT_TRUE(book->save(path)) << book->errorMessage();
  const std::pair<std::vector<ExpectedSheet>, std::string> wrong[] = {
      {{{u"Sheet1", {{u"车牌"}}, {}}}, kExportFormat},
      {{{u"Sheet2", {{u"车牌号"}}, {}}}, kExportFormat},
      {{{u"Sheet1", {{u"车牌号"}}, {}}}, R"({"font": "Arial"})"},
      {{{u"Sheet1", {{u"车牌号"}}, {{0, 40}}}}, kExportFormat},
  };
  for (const auto& [sheets, format] : wrong) {
    testing::writeExpectation(folder / "expected.json", sheets, format);
    auto check = testing::checkWorkbook(path, folder / "expected.json");
    EXPECT_EQ(check.status, 1) << check.output;
  }
}

INSTANTIATE_TEST_SUITE_P(BothWriters, ReadBack, ::testing::Values(".xls", ".xlsx"),
                         [](const auto& info) { return info.param.substr(1); });

// More rows than an .xlsx sheet holds continue on "Sheet2" with the header row.
TEST(ReadBackXlsx, RowsBeyondAMillionContinueOnSheet2) {
  testing::ScratchFolder folder;
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  sheet->setOverflowHeaderRows(1);
  Format* format = exportFormat(*book);
  std::vector<std::vector<std::u16string>> rows{{u"编号"}};
  for (int i = 1; i < kXlsxMaxRows + 10; ++i) rows.push_back({u16(std::to_string(i))});
  auto expected = writeRows(*sheet, format, rows, kXlsxMaxRows);
  ASSERT_EQ(expected.size(), 2u);
  std::string path = folder / "big.XLSX";
  ASSERT_TRUE(book->save(path)) << book->errorMessage();
  testing::writeExpectation(folder / "expected.json", expected, kExportFormat, 5000);
  auto check = testing::checkWorkbook(path, folder / "expected.json");
  EXPECT_EQ(check.status, 0) << check.output;
}

// 100,000 rows of five distinct texts make a compound file of more than 109 FAT sectors, so the
// FAT is listed through DIFAT sectors. Also times both writers for the same cells.
TEST(ReadBackXls, WorkbookNeedingDifatSectors) {
  testing::ScratchFolder folder;
  std::vector<std::vector<std::u16string>> rows{{u"ID", u"车牌号", u"时间", u"车牌颜色", u"相机IP地址"}};
  for (int i = 1; i < 100000; ++i) {
    auto row = vehicleRow(i);
    row[2] += u16(std::to_string(i));
    rows.push_back(row);
  }
  std::vector<ExpectedSheet> expected;
  for (const char* extension : {".xls", ".xlsx"}) {
    auto start = std::chrono::steady_clock::now();
    BookPtr book(Book::create());
    Sheet* sheet = book->addSheet(u"Sheet1");
    sheet->setOverflowHeaderRows(1);
    expected = writeRows(*sheet, exportFormat(*book), rows, kXlsMaxRows);
    ASSERT_TRUE(book->save(folder / (std::string("big") + extension))) << book->errorMessage();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("100,000 rows x 5 columns to %s: %lld ms\n", extension, static_cast<long long>(ms.count()));
  }
  struct stat st {};
  ASSERT_EQ(stat((folder / "big.xls").c_str(), &st), 0);
  EXPECT_GT(st.st_size, 109 * 128 * 512);
  std::ifstream in(folder / "big.xls", std::ios::binary);
  unsigned char header[0x4C];
  in.read(reinterpret_cast<char*>(header), sizeof header);
  EXPECT_GT(header[0x48] | header[0x49] << 8, 0) << "DIFAT sector count";
  testing::writeExpectation(folder / "expected.json", expected, kExportFormat, 997);
  auto check = testing::checkWorkbook(folder / "big.xls", folder / "expected.json");
  EXPECT_EQ(check.status, 0) << check.output;
}

}  // namespace
}  // namespace platform::spreadsheet
