// The workbook wrapper's handles and operations over the spreadsheet library.
#include "grid/WorkbookHandles.h"

#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Font.h"
#include "platform/spreadsheet/Format.h"
#include "platform/spreadsheet/Sheet.h"
#include "platform/spreadsheet/tests/SheetTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace rg_quarn_Tolvar;

template <class Handle>
Handle NoObject()
{
    Handle handle;
    handle.SetNullObject(true);
    return handle;
}

TEST(Workbook, SheetNamesAreMadeUniqueOnceAndASheetlessBookSavesASheet1)
{
    rg_n2165 book;
    ASSERT_TRUE(book.Create());
    EXPECT_FALSE(book.Create());
    EXPECT_EQ(book.AddSheetUnique(CWString(u"Sheet1"), NoObject<rg_n2254>()).Native().sheet->name(), u"Sheet1");
    EXPECT_EQ(book.AddSheetUnique(CWString(u"Sheet1"), NoObject<rg_n2254>()).Native().sheet->name(), u"Sheet2");
    book.Release();
    // The replacement is not tested again: with "Sheet1" and "Sheet3" the book is asked for a second
    // "Sheet3", which the library refuses.
    book.Create();
    book.AddSheetUnique(CWString(u"Sheet1"), NoObject<rg_n2254>());
    book.AddSheetUnique(CWString(u"Sheet3"), NoObject<rg_n2254>());
    rg_n2254 refused = book.AddSheetUnique(CWString(u"Sheet1"), NoObject<rg_n2254>());
    EXPECT_EQ(refused.Native().sheet, nullptr);
    EXPECT_EQ(refused.FirstRow(), -1);
    EXPECT_EQ(refused.LastCol(), -1);
    rg_n2747 format;
    refused.WriteText(0, 0, CWString(u"x"), format);  // does nothing
    book.Release();
    EXPECT_EQ(book.Native().book, nullptr);
    EXPECT_EQ(book.AddSheetUnique(CWString(u"A"), NoObject<rg_n2254>()).Native().book, nullptr);
    EXPECT_FALSE(book.SaveWorkbook(CWString(u"/tmp/never.xls")));

    platform::spreadsheet::testing::ScratchFolder folder;
    rg_n2165 empty;
    empty.Create();
    const std::string file = folder / "empty.xls";
    ASSERT_TRUE(empty.SaveWorkbook(CWString(std::u16string(file.begin(), file.end()))));
    EXPECT_EQ(empty.Native().book->getSheetName(0), u"Sheet1");
}

TEST(Workbook, WriteTextStoresStringsAndFillsANullFormat)
{
    rg_n2165 book;
    book.Create();
    rg_n2254 sheet = book.AddSheetUnique(CWString(u"Sheet1"), NoObject<rg_n2254>());
    rg_n2747 format = NoObject<rg_n2747>();
    sheet.WriteText(2, 3, CWString(u"0012"), format);
    EXPECT_FALSE(format.IsNullObject());
    EXPECT_EQ(format.Native().format, book.Native().book->defaultFormat());
    EXPECT_EQ(sheet.Native().sheet->readStr(2, 3), u"0012");
    EXPECT_EQ(sheet.Native().sheet->cellType(2, 3), platform::spreadsheet::CellType::String);
    EXPECT_EQ(sheet.FirstRow(), 2);
    EXPECT_EQ(sheet.LastRow(), 3);
    EXPECT_EQ(sheet.FirstCol(), 3);
    EXPECT_EQ(sheet.LastCol(), 4);
    const rg_n2625 cells = sheet.GetCells(0, 1, 2, 3);
    EXPECT_EQ(cells.Native().rowFirst, 0);
    EXPECT_EQ(cells.Native().colLast, 3);
    book.Release();
}

TEST(Workbook, AFormatOwnsAFontOfItsOwnAndForgetsItWhenGivenAnother)
{
    rg_n2165 book;
    book.Create();
    rg_n2946 font = book.AddFont(NoObject<rg_n2946>());
    font.SetName(CWString(u"宋体"));
    font.SetSize(12);
    rg_n2747 first = book.AddFormatWithFont(NoObject<rg_n2747>());
    first.SetFont(font);
    // A format made from another copies that format's font into a new one.
    rg_n2747 second = book.AddFormatWithFont(first);
    ASSERT_NE(second.GetFont().Native().font, font.Native().font);
    EXPECT_EQ(second.GetFont().Native().font->name(), u"宋体");
    EXPECT_EQ(second.GetFont().Native().font->size(), 12);
    rg_n2946 other = book.AddFont(NoObject<rg_n2946>());
    second.SetFont(other);
    font.SetSize(20);
    EXPECT_EQ(second.GetFont().Native().font, other.Native().font);
    EXPECT_EQ(first.GetFont().Native().font->size(), 20);
    book.Release();
}

TEST(Workbook, HandlesShareTheirHolderAndTheLastBookHandleReleasesTheBook)
{
    rg_n2165 other;
    {
        rg_n2165 book;
        book.Create();
        rg_n2165 copy(book);
        EXPECT_TRUE(copy.IsEqual(book));
        copy = copy;  // self-assignment keeps the holder
        EXPECT_EQ(copy.Holder()->RefCount(), 2);
        other.CopyFrom(book);
        EXPECT_EQ(other.Native().book, book.Native().book);
        copy.Reset();  // a fresh holder, the book stays with the others
        EXPECT_EQ(copy.Native().book, nullptr);
        EXPECT_FALSE(copy.IsEqual(book));
    }
    ASSERT_NE(other.Native().book, nullptr);
    EXPECT_EQ(other.Holder()->RefCount(), 1);
    // `other` releases the book when it goes: the leak checker of the sanitizer build watches it.
    rg_n2946 font;
    EXPECT_FALSE(font.CopyFrom(other));
    EXPECT_EQ(std::string(other.GetClassInfo()->name), "rg_quarn_Tolvar::rg_n2165");
}

}  // namespace
