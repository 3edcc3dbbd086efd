#pragma once
// How the workbook fuzz target turns its bytes into the cells of a book, the book they go into, and
// what a reader must find of them. The read-back test of the spreadsheet library replays the
// target's corpus through the same reading, so that every input the fuzzer kept is also written
// and read back by independent readers. Pure functions on their arguments; any thread.
//
// Byte 0: bits 0-2 all set saves as .xlsx (one input in eight: that writer is the slower one), bit
// 3 gives each sheet one overflow header row, bits 4-5 give 1 + value % 3 sheets. Then cells, each
// a control byte and its operands:
//   bits 0-1  the sheet (modulo the sheets there are);
//   bits 2-3  the row: 0 the next byte; 1 the previous cell's row + 1; 2 65,528 + the next byte,
//             around the rows of an .xls sheet; 3 for .xlsx 1,048,568 + the next byte, around an
//             .xlsx sheet's rows, for .xls the next two bytes, little-endian (rows that far make
//             books that are slow to read back, and an .xls save reaches them with mode 2 already);
//   bit 4     the column: 0 the next byte % 16; 1 the next two bytes, little-endian (up to 65,535;
//             a sheet refuses 16,384 and up, an .xls file 256 and up);
//   bit 5     the text's bytes are UTF-16 units (lone surrogates, U+0000), else UTF-8;
//   bits 6-7  0 a text; 1 a text repeated 1 + 64 × (the next byte) times (texts past the 32,767
//             characters a cell holds); 2 a text in the book's second format; 3 no text, only the
//             second format (a blank cell, or a format for a cell written before).
// Then a length byte and the text: that many bytes of UTF-8 or units, cut to what is left.
// Reading stops once the cells hold kMostUnits units together, so that no input costs much more
// to save than the largest the fuzzer passes.
#include "fuzz/FuzzText.h"
#include "platform/spreadsheet/Book.h"
#include "platform/spreadsheet/Font.h"
#include "platform/spreadsheet/Format.h"
#include "platform/spreadsheet/Sheet.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tabrix_fuzz {

inline constexpr int kWorkbookSheets = 3;
// The third name is what the overflow would call a continuation sheet, ignoring case: the
// continuation names have to skip it.
inline const char16_t* const kWorkbookSheetNames[kWorkbookSheets] = {u"Sheet1", u"车辆信息", u"SHEET3"};
inline constexpr size_t kMostUnits = 80000;

struct WorkbookCell {
    enum class Kind { Text, FormattedText, FormatOnly };
    int sheet = 0;
    int row = 0;
    int col = 0;
    Kind kind = Kind::Text;
    std::u16string text;
};

struct WorkbookPlan {
    bool xlsx = false;
    int sheets = 1;
    int headerRows = 0;
    std::vector<WorkbookCell> cells;
};

namespace workbook_detail {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int Word()
    {
        const int low = Byte();
        return low | (Byte() << 8);
    }
    std::u16string Text(bool units)
    {
        const size_t length = Byte();
        const size_t bytes = std::min(units ? 2 * length : length, size_ - std::min(at_, size_));
        const uint8_t* start = data_ + at_;
        at_ += bytes;
        return units ? UnitsOf(start, bytes) : Utf8Of(start, bytes);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

inline int RowOf(Reader& in, int mode, int previous, bool xlsx)
{
    switch (mode) {
    case 0: return in.Byte();
    case 1: return previous + 1;
    case 2: return 65528 + in.Byte();
    default: return xlsx ? 1048568 + in.Byte() : in.Word();
    }
}

}  // namespace workbook_detail

inline WorkbookPlan WorkbookPlanOf(const uint8_t* data, size_t size)
{
    workbook_detail::Reader in(data, size);
    WorkbookPlan plan;
    const uint8_t head = in.Byte();
    plan.xlsx = (head & 7) == 7;
    plan.headerRows = (head >> 3) & 1;
    plan.sheets = 1 + ((head >> 4) & 3) % kWorkbookSheets;
    size_t units = 0;
    int previousRow = -1;
    while (!in.AtEnd()) {
        const uint8_t control = in.Byte();
        WorkbookCell cell;
        cell.sheet = (control & 3) % plan.sheets;
        cell.row = workbook_detail::RowOf(in, (control >> 2) & 3, previousRow, plan.xlsx);
        cell.col = (control & 0x10) ? in.Word() : in.Byte() % 16;
        const int kind = control >> 6;
        const int repeats = kind == 1 ? 1 + 64 * in.Byte() : 1;
        cell.kind = kind == 2 ? WorkbookCell::Kind::FormattedText
                    : kind == 3 ? WorkbookCell::Kind::FormatOnly
                                : WorkbookCell::Kind::Text;
        const std::u16string text = in.Text((control & 0x20) != 0);
        if (cell.kind != WorkbookCell::Kind::FormatOnly) {
            if (units + text.size() * repeats > kMostUnits)
                break;
            for (int k = 0; k < repeats; ++k)
                cell.text += text;
            units += cell.text.size();
        }
        previousRow = cell.row;
        plan.cells.push_back(std::move(cell));
    }
    return plan;
}

// What a reader finds of a stored text: lone surrogates as U+FFFD.
inline std::u16string ReadableText(std::u16string text)
{
    auto high = [](char16_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    auto low = [](char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    for (size_t i = 0; i < text.size(); ++i) {
        if (high(text[i]) && i + 1 < text.size() && low(text[i + 1]))
            ++i;
        else if (high(text[i]) || low(text[i]))
            text[i] = u'\uFFFD';
    }
    return text;
}

// How much of the 32,767 a cell holds a readable text takes: in .xls its UTF-16 units; in .xlsx its
// characters, seven for each that the writer escapes (U+0000, U+FFFE, U+FFFF and an underscore
// that starts "_xHHHH_").
inline size_t CellLength(std::u16string_view text, bool xlsx)
{
    if (!xlsx)
        return text.size();
    auto hex = [](char16_t u) { return (u >= u'0' && u <= u'9') || ((u | 0x20) >= u'a' && (u | 0x20) <= u'f'); };
    size_t length = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        const bool escape = text.size() - i >= 7 && u == u'_' && (text[i + 1] | 0x20) == u'x' && hex(text[i + 2])
                            && hex(text[i + 3]) && hex(text[i + 4]) && hex(text[i + 5]) && text[i + 6] == u'_';
        length += u == 0 || u == 0xFFFE || u == 0xFFFF || escape ? 7 : 1;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size())
            ++i;  // a readable text holds only whole pairs
    }
    return length;
}

// The plan's sheets, in order, each with the plan's overflow header rows, and the book's second
// format (宋体 12 points, wrapped, thin borders); null when a sheet could not be added.
inline platform::spreadsheet::Format* AddWorkbookSheets(platform::spreadsheet::Book& book, const WorkbookPlan& plan)
{
    using namespace platform::spreadsheet;
    for (int s = 0; s < plan.sheets; ++s) {
        Sheet* sheet = book.addSheet(kWorkbookSheetNames[s]);
        if (sheet == nullptr)
            return nullptr;
        sheet->setOverflowHeaderRows(plan.headerRows);
    }
    Font* font = book.addFont();
    font->setName(u"宋体");
    font->setSize(12);
    Format* format = book.addFormat();
    format->setFont(font);
    format->setWrap(true);
    format->setBorder(BorderStyle::Thin);
    return format;
}

// Stores one cell as the sheet's interface reports it: false when the sheet refused it.
inline bool StoreWorkbookCell(platform::spreadsheet::Book& book, platform::spreadsheet::Format* second,
                              const WorkbookCell& cell)
{
    platform::spreadsheet::Sheet* sheet = book.getSheet(cell.sheet);
    switch (cell.kind) {
    case WorkbookCell::Kind::FormatOnly: return sheet->setCellFormat(cell.row, cell.col, second);
    case WorkbookCell::Kind::FormattedText: return sheet->writeStr(cell.row, cell.col, cell.text, second);
    case WorkbookCell::Kind::Text: break;
    }
    return sheet->writeStr(cell.row, cell.col, cell.text);
}

}  // namespace tabrix_fuzz
