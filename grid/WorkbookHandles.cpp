#include "grid/WorkbookHandles.h"

#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Font.h"
#include "platform/spreadsheet/Format.h"
#include "platform/spreadsheet/Sheet.h"

#include <string>

namespace ss = platform::spreadsheet;

void ReleaseNative(xlBook& record)
{
    if (record.book)
        record.book->release();
    record.book = nullptr;
}

namespace rg_quarn_Tolvar {

QRN_IMPLEMENT_CLASS(rg_n2165, CQrnRefObject, "rg_quarn_Tolvar::rg_n2165")
QRN_IMPLEMENT_CLASS(rg_n2254, CQrnRefObject, "rg_quarn_Tolvar::rg_n2254")
QRN_IMPLEMENT_CLASS(rg_n2946, CQrnRefObject, "rg_quarn_Tolvar::rg_n2946")
QRN_IMPLEMENT_CLASS(rg_n2747, CQrnRefObject, "rg_quarn_Tolvar::rg_n2747")
QRN_IMPLEMENT_CLASS(rg_n2564, CQrnRefObject, "rg_quarn_Tolvar::rg_n2564")
QRN_IMPLEMENT_CLASS(rg_n2625, CQrnRefObject, "rg_quarn_Tolvar::rg_n2625")

namespace {
std::u16string Units(const CWString& text) { return std::u16string(text.View()); }
}  // namespace

// Font --------------------------------------------------------------------------------------------

void rg_n2946::SetName(const CWString& name) const
{
    if (ss::Font* font = Native().font)
        font->setName(Units(name));
}

void rg_n2946::SetSize(int32_t points) const
{
    if (ss::Font* font = Native().font)
        font->setSize(points);
}

void rg_n2946::SetColor(uint32_t color) const
{
    if (ss::Font* font = Native().font)
        font->setColor(color);
}

// Format ------------------------------------------------------------------------------------------

void rg_n2747::SetFont(const rg_n2946& font) const
{
    if (ss::Format* format = Native().format)
        format->setFont(font.Native().font);
}

void rg_n2747::SetWrap(bool wrap) const
{
    if (ss::Format* format = Native().format)
        format->setWrap(wrap);
}

void rg_n2747::SetAlignH(int32_t align) const
{
    if (ss::Format* format = Native().format)
        format->setAlignH(static_cast<ss::AlignH>(align));
}

void rg_n2747::SetAlignV(int32_t align) const
{
    if (ss::Format* format = Native().format)
        format->setAlignV(static_cast<ss::AlignV>(align));
}

void rg_n2747::SetBorder(int32_t style) const
{
    if (ss::Format* format = Native().format)
        format->setBorder(static_cast<ss::BorderStyle>(style));
}

rg_n2946 rg_n2747::GetFont() const
{
    rg_n2946 font;
    if (ss::Format* format = Native().format)
        font.Native() = xlFont{format->font(), Native().book};
    return font;
}

// Cells -------------------------------------------------------------------------------------------

void rg_n2625::SetAutoFitArea() const
{
    const xlCells& cells = Native();
    if (cells.sheet)
        cells.sheet->setAutoFitArea(cells.rowFirst, cells.colFirst, cells.rowLast, cells.colLast);
}

// Sheet -------------------------------------------------------------------------------------------

void rg_n2254::WriteText(int32_t row, int32_t col, const CWString& text, rg_n2747& format) const
{
    WriteText(row, col, text.View(), format);
}

void rg_n2254::WriteText(int32_t row, int32_t col, std::u16string_view text, rg_n2747& format) const
{
    const xlSheet& sheet = Native();
    if (!sheet.sheet)
        return;
    if (format.IsNullObject()) {
        sheet.sheet->writeStr(row, col, text, nullptr, ss::CellType::String);
        format.Reset();
        format.Native() = xlFormat{sheet.sheet->cellFormat(row, col), sheet.book};
        return;
    }
    // Text and format in one store; a handle without a format gives the default one, and a format
    // of another book leaves the cell's format as it was (the text is written all the same).
    ss::Format* wanted = format.Native().format ? format.Native().format : sheet.sheet->book()->defaultFormat();
    if (wanted->book() != sheet.sheet->book())
        wanted = nullptr;
    sheet.sheet->writeStr(row, col, text, wanted, ss::CellType::String);
}

int32_t rg_n2254::FirstRow() const { return Native().sheet ? Native().sheet->firstRow() : -1; }
int32_t rg_n2254::LastRow() const { return Native().sheet ? Native().sheet->lastRow() : -1; }
int32_t rg_n2254::FirstCol() const { return Native().sheet ? Native().sheet->firstCol() : -1; }
int32_t rg_n2254::LastCol() const { return Native().sheet ? Native().sheet->lastCol() : -1; }

rg_n2625 rg_n2254::GetCells(int32_t rowFirst, int32_t colFirst, int32_t rowLast, int32_t colLast) const
{
    rg_n2625 cells;
    cells.Native() = xlCells{Native().sheet, Native().book, rowFirst, colFirst, rowLast, colLast};
    return cells;
}

rg_n2564 rg_n2254::GetCell(int32_t row, int32_t col) const
{
    rg_n2564 cell;
    cell.Native() = xlCell{Native().sheet, Native().book, row, col};
    return cell;
}

void rg_n2254::SetOverflowHeaderRows(int32_t count) const
{
    if (ss::Sheet* sheet = Native().sheet)
        sheet->setOverflowHeaderRows(count);
}

// Book --------------------------------------------------------------------------------------------

bool rg_n2165::Create() const
{
    xlBook& record = Native();
    if (record.book)
        return false;
    record.book = ss::Book::create();
    if (record.book)
        record.book->setRgbMode(true);
    return record.book != nullptr;
}

rg_n2254 rg_n2165::AddSheetUnique(const CWString& name, const rg_n2254& initSheet) const
{
    rg_n2254 sheet;
    ss::Book* book = Native().book;
    if (!book)
        return sheet;
    std::u16string wanted = Units(name);
    const int count = book->sheetCount();
    for (int i = 0; i < book->sheetCount(); ++i) {
        if (book->getSheetName(i) == wanted) {
            const std::string number = std::to_string(count + 1);
            wanted = u"Sheet" + std::u16string(number.begin(), number.end());
            break;
        }
    }
    ss::Sheet* init = initSheet.IsNullObject() ? nullptr : initSheet.Native().sheet;
    sheet.Native() = xlSheet{book->addSheet(wanted, init), book};
    return sheet;
}

rg_n2946 rg_n2165::AddFont(const rg_n2946& initFont) const
{
    rg_n2946 font;
    if (ss::Book* book = Native().book)
        font.Native() = xlFont{book->addFont(initFont.IsNullObject() ? nullptr : initFont.Native().font), book};
    return font;
}

rg_n2747 rg_n2165::AddFormatWithFont(const rg_n2747& initFormat) const
{
    rg_n2747 format;
    ss::Book* book = Native().book;
    if (!book)
        return format;
    const bool given = !initFormat.IsNullObject();
    ss::Format* made = book->addFormat(given ? initFormat.Native().format : nullptr);
    ss::Font* initFont = given && initFormat.Native().format ? initFormat.Native().format->font() : nullptr;
    ss::Font* font = book->addFont(initFont);
    if (made)
        made->setFont(font);
    format.Native() = xlFormat{made, book};
    return format;
}

bool rg_n2165::SaveWorkbook(const CWString& path) const
{
    ss::Book* book = Native().book;
    if (!book)
        return false;
    if (book->sheetCount() == 0)
        book->addSheet(u"Sheet1", nullptr);
    return book->save(Units(path));
}

std::string rg_n2165::SaveError() const
{
    return Native().book ? Native().book->errorMessage() : std::string("no workbook");
}

uint32_t rg_n2165::ColorPack(int32_t red, int32_t green, int32_t blue) const
{
    ss::Book* book = Native().book;
    return book ? book->colorPack(red, green, blue) : 0;
}

void rg_n2165::Release() const { ReleaseNative(Native()); }

}  // namespace rg_quarn_Tolvar
