// The book / sheet / format / font interface the workbook wrapper calls, and the sheet layout.
#include <gtest/gtest.h>

#include "SheetTestSupport.h"
#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Font.h"
#include "platform/spreadsheet/Format.h"
#include "platform/spreadsheet/Sheet.h"
#include "platform/spreadsheet/SheetLayout.h"
#include "platform/spreadsheet/Text.h"

namespace platform::spreadsheet {
namespace {

TEST(Book, SheetNamesFollowTheFormatsRules) {
  BookPtr book(Book::create());
  ASSERT_NE(book->addSheet(u"Sheet1"), nullptr);
  EXPECT_EQ(book->getSheetName(0), u"Sheet1");
  EXPECT_EQ(book->getSheetName(1), u"");
  const std::u16string refused[] = {u"",       std::u16string(32, u'x'), u"a:b", u"a/b", u"a?", u"[x]",
                                    u"'quoted", u"sheet1"};
  for (const auto& name : refused) {
    EXPECT_EQ(book->addSheet(name), nullptr) << toUtf8(name);
    EXPECT_FALSE(book->errorMessage().empty());
  }
  EXPECT_NE(book->addSheet(std::u16string(31, u'车')), nullptr);
  EXPECT_EQ(book->sheetCount(), 2);
}

TEST(Book, StringCellsKeepTheirTextAndFormat) {
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  Format* format = book->addFormat();
  EXPECT_TRUE(sheet->writeStr(2, 1, u"0012"));
  EXPECT_EQ(sheet->cellType(2, 1), CellType::String);
  EXPECT_EQ(sheet->readStr(2, 1), u"0012");
  EXPECT_EQ(sheet->cellFormat(2, 1), book->defaultFormat());
  EXPECT_TRUE(sheet->setCellFormat(2, 1, format));
  EXPECT_EQ(sheet->cellFormat(2, 1), format);
  EXPECT_TRUE(sheet->writeStr(2, 1, u"=1+1"));  // a null format keeps the cell's format
  EXPECT_EQ(sheet->cellFormat(2, 1), format);
  EXPECT_EQ(sheet->cellType(0, 0), CellType::Empty);
  EXPECT_FALSE(sheet->writeStr(-1, 0, u"x"));
  EXPECT_FALSE(sheet->writeStr(0, kXlsxMaxColumns, u"x"));
  EXPECT_FALSE(sheet->writeStr(0, 0, u"1", nullptr, CellType::Number));
  BookPtr other(Book::create());
  EXPECT_FALSE(sheet->setCellFormat(0, 0, other->addFormat()));
  EXPECT_EQ(sheet->firstRow(), 2);
  EXPECT_EQ(sheet->lastRow(), 3);
  EXPECT_EQ(sheet->firstCol(), 1);
  EXPECT_EQ(sheet->lastCol(), 2);
}

TEST(Book, LoneSurrogatesBecomeReplacementCharacters) {
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  sheet->writeStr(0, 0, u"a\xDC80" u"b\xD800" u"\U0001F600\xDFFF");
  EXPECT_EQ(sheet->readStr(0, 0), u"a\xFFFD" u"b\xFFFD" u"\U0001F600\xFFFD");
  EXPECT_EQ(toPathBytes(u"/x/\xDC80\xDCFF\xD800"), "/x/\x80\xFF\xEF\xBF\xBD");
}

// Many texts, long ones among them, each kept once and readable after the store has grown; a sheet
// copied within its own book reads its texts while the copy adds more.
TEST(Book, TextsAreKeptOnceAndStayReadableAsTheStoreGrows) {
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  auto textOf = [](int i) {
    std::string digits = std::to_string(i);
    std::u16string text(digits.begin(), digits.end());
    return i % 1000 == 7 ? text + std::u16string(40000, u'车') : text;
  };
  constexpr int kTexts = 120000;
  for (int i = 0; i < kTexts; ++i) sheet->writeStr(i, 0, textOf(i));
  for (int i = 0; i < kTexts; ++i) sheet->writeStr(i, 1, textOf(kTexts - 1 - i));  // all repeats
  EXPECT_EQ(book->textCount(), uint32_t(kTexts));
  Sheet* copy = book->addSheet(u"Copy", sheet);
  ASSERT_NE(copy, nullptr);
  for (int i = 0; i < kTexts; i += 997) {
    EXPECT_EQ(sheet->readStr(i, 0), textOf(i)) << i;
    EXPECT_EQ(copy->readStr(i, 1), textOf(kTexts - 1 - i)) << i;
  }
  EXPECT_EQ(copy->readStr(7, 0), textOf(7));
  EXPECT_EQ(book->textCount(), uint32_t(kTexts));
}

TEST(Book, FormatsCopyTheirInitFormatAndFontsBelongToTheirBook) {
  BookPtr book(Book::create());
  Font* font = book->addFont();
  font->setName(u"宋体");
  font->setSize(10);
  Format* first = book->addFormat();
  first->setFont(font);
  first->setWrap(true);
  Format* copy = book->addFormat(first);
  EXPECT_EQ(copy->font(), font);
  EXPECT_TRUE(copy->wrap());
  Font* other = book->addFont(font);
  EXPECT_EQ(other->name(), u"宋体");
  copy->setFont(other);
  other->setSize(20);
  EXPECT_EQ(first->font()->size(), 10) << "a format keeps no link to the font it was made with";
  BookPtr foreign(Book::create());
  EXPECT_FALSE(copy->setFont(foreign->addFont()));
  EXPECT_EQ(book->colorPack(1, 2, 300), 0x0102FFu);
}

TEST(Text, DisplayWidthCountsWideCharactersTwice) {
  const std::pair<std::u16string, int> cases[] = {
      {u"ID", 2}, {u"车牌号", 6}, {u"京A12345", 8}, {u"第一行\n第二行长", 8}, {u"ＡＢ", 4},
      {u"\U0001F600", 2}, {u"\U00020000x", 3}, {u"", 0}};
  for (const auto& [text, width] : cases) EXPECT_EQ(displayWidth(text), width) << toUtf8(text);
}

// What the .xlsx writer hands libxlsxwriter: characters its XML cannot hold and texts that look like
// escapes come out as escapes a reader turns back into the text; nothing is cut at a U+0000.
TEST(Text, XlsxTextsEscapeWhatTheXmlCannotHoldAndTheirOwnEscapes) {
  const std::pair<std::u16string, std::string> cases[] = {
      {std::u16string(u"a\0b", 3), "a_x0000_b"},
      {u"\xFFFE|\xFFFF|\xFFFD", "_xFFFE_|_xFFFF_|\xEF\xBF\xBD"},
      {u"_x0041_ _XbEeF_", "_x005F_x0041_ _x005F_XbEeF_"},
      {u"_x005F_x0041_", "_x005F_x005F_x005F_x0041_"},
      {u"_x004_ _x00G1_ _x0041 x0041_ __", "_x004_ _x00G1_ _x0041 x0041_ __"},
      // An escape that follows "_xHHHH" would supply its closing "_".
      {std::u16string(u"_xcccc\0|_xcccc\x14|_x0041\xFFFE", 23), "_x005F_xcccc_x0000_|_x005F_xcccc\x14|_x005F_x0041_xFFFE_"},
      {u"车\U0001F600\xD800\r\x01", "车\xF0\x9F\x98\x80\xEF\xBF\xBD\r\x01"},
  };
  for (const auto& [text, xml] : cases) EXPECT_EQ(toXlsxText(text), xml) << toUtf8(text);
}

TEST(Sheet, AutoFitUsesOnlyTheAreaAndTheFontSize) {
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  Format* big = book->addFormat();
  Font* font = book->addFont();
  font->setSize(20);
  big->setFont(font);
  sheet->writeStr(0, 0, u"车牌号");
  sheet->writeStr(1, 0, u"1234567890");  // outside the area below
  sheet->writeStr(0, 1, u"abc", big);
  sheet->setCol(2, 2, 30);
  sheet->setAutoFitArea(0, 0, 0, 2);
  EXPECT_EQ(sheet->colWidth(0), 7);
  EXPECT_EQ(sheet->colWidth(1), 7);  // 3 characters at twice the size
  EXPECT_EQ(sheet->colWidth(2), 30) << "a column without text keeps its width";
  sheet->setAutoFitArea();
  EXPECT_EQ(sheet->colWidth(0), 11);
}

TEST(SheetLayout, OverflowRowsContinueWithTheHeaderOnFreeSheetNames) {
  BookPtr book(Book::create());
  Sheet* sheet = book->addSheet(u"Sheet1");
  book->addSheet(u"sheet2");
  sheet->setOverflowHeaderRows(1);
  for (int r = 0; r < 10; ++r) sheet->writeStr(r, 0, testing::u16(std::to_string(r)));
  auto pieces = layoutSheets(*book, 4);
  ASSERT_EQ(pieces.size(), 4u);
  auto rowsOf = [&](const SheetPiece& p) {
    std::vector<std::pair<int, std::u16string>> rows;
    for (const auto& ref : p.rows) rows.emplace_back(ref.index, book->text(ref.row->cells[0].text));
    return rows;
  };
  using Rows = std::vector<std::pair<int, std::u16string>>;
  EXPECT_EQ(pieces[0].name, u"Sheet1");
  EXPECT_EQ(rowsOf(pieces[0]), (Rows{{0, u"0"}, {1, u"1"}, {2, u"2"}, {3, u"3"}}));
  EXPECT_EQ(pieces[1].name, u"Sheet3") << "Sheet2 is taken, ignoring case";
  EXPECT_EQ(rowsOf(pieces[1]), (Rows{{0, u"0"}, {1, u"4"}, {2, u"5"}, {3, u"6"}}));
  EXPECT_EQ(pieces[2].name, u"Sheet4");
  EXPECT_EQ(rowsOf(pieces[2]), (Rows{{0, u"0"}, {1, u"7"}, {2, u"8"}, {3, u"9"}}));
  EXPECT_EQ(pieces[3].name, u"sheet2");
  EXPECT_TRUE(pieces[3].rows.empty());

  sheet->setOverflowHeaderRows(0);
  pieces = layoutSheets(*book, 4);
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_EQ(rowsOf(pieces[2]), (Rows{{0, u"8"}, {1, u"9"}}));
}

}  // namespace
}  // namespace platform::spreadsheet
