#pragma once
// The workbook wrapper: six value-style handles over the spreadsheet library's book, sheet, font,
// format, cell and cell-range, each sharing a counted holder (CRefObjectWithData) of a native record.
// Only the book record owns its object: its holder releases the book when the last handle goes.
// Sheets, fonts and formats belong to their book and die with it. Every operation on a null native
// pointer does nothing (a missing sheet's used range is -1). A book and its handles are used by one
// thread at a time; holders are counted atomically, so handles may be copied freely on that thread.
#include "runtime/CRefObject.h"
#include "runtime/CWString.h"
#include "platform/spreadsheet/Forward.h"

#include <cstdint>
#include <string>
#include <string_view>

// A counted holder of a native record; the record's ReleaseNative runs when the holder dies.
template <class T>
class CRefObjectWithData final : public CRefObject {
public:
    T data{};
    ~CRefObjectWithData() override { ReleaseNative(data); }
};

struct xlBook { platform::spreadsheet::Book* book = nullptr; };
struct xlSheet { platform::spreadsheet::Sheet* sheet = nullptr; platform::spreadsheet::Book* book = nullptr; };
struct xlFont { platform::spreadsheet::Font* font = nullptr; platform::spreadsheet::Book* book = nullptr; };
struct xlFormat { platform::spreadsheet::Format* format = nullptr; platform::spreadsheet::Book* book = nullptr; };
struct xlCell { platform::spreadsheet::Sheet* sheet = nullptr; platform::spreadsheet::Book* book = nullptr; int32_t row = 0, col = 0; };
struct xlCells {
    platform::spreadsheet::Sheet* sheet = nullptr;
    platform::spreadsheet::Book* book = nullptr;
    int32_t rowFirst = 0, colFirst = 0, rowLast = 0, colLast = 0;
};
void ReleaseNative(xlBook& record);  // releases the book
template <class T>
void ReleaseNative(T&) {}

// The spreadsheet library's constants as the wrapper's callers pass them.
inline constexpr int CELLTYPE_STRING = 2;
inline constexpr int ALIGNH_CENTER = 2;
inline constexpr int ALIGNV_CENTER = 1;
inline constexpr int BORDERSTYLE_THIN = 1;

namespace rg_quarn_Tolvar {

// The shared body: a fresh holder per constructed handle, copies share it, Reset takes a fresh one.
#define QRN_WORKBOOK_HANDLE_BODY(Class, Record)                                                          \
    QRN_DECLARE_CLASS(Class)                                                                             \
public:                                                                                                  \
    Class() : CQrnRefObject(new CRefObjectWithData<Record>()) {}                                         \
    Class(const Class&) = default;                                                                       \
    Class& operator=(const Class&) = default;                                                            \
    void Reset() override                                                                                \
    {                                                                                                    \
        OnBeforeAssign();                                                                                \
        ClearHeader();                                                                                   \
        ReplaceHolder(new CRefObjectWithData<Record>());                                                 \
    }                                                                                                    \
    /* Every handle of these classes has a holder: construction, Reset and copies give one. */        \
    Record& Native() const { return static_cast<CRefObjectWithData<Record>*>(Holder())->data; }

class rg_n2946 : public CQrnRefObject {  // font
    QRN_WORKBOOK_HANDLE_BODY(rg_n2946, xlFont)
    void SetName(const CWString& name) const;
    void SetSize(int32_t points) const;
    void SetColor(uint32_t color) const;
};

class rg_n2747 : public CQrnRefObject {  // format
    QRN_WORKBOOK_HANDLE_BODY(rg_n2747, xlFormat)
    void SetFont(const rg_n2946& font) const;
    void SetWrap(bool wrap) const;
    void SetAlignH(int32_t align) const;
    void SetAlignV(int32_t align) const;
    void SetBorder(int32_t style) const;
    // The format's font, as a handle on the same book.
    rg_n2946 GetFont() const;
};

class rg_n2625 : public CQrnRefObject {  // a rectangle of cells on a sheet
    QRN_WORKBOOK_HANDLE_BODY(rg_n2625, xlCells)
    void SetAutoFitArea() const;
};

class rg_n2564 : public CQrnRefObject {  // one cell on a sheet
    QRN_WORKBOOK_HANDLE_BODY(rg_n2564, xlCell)
};

class rg_n2254 : public CQrnRefObject {  // sheet
    QRN_WORKBOOK_HANDLE_BODY(rg_n2254, xlSheet)
    // A string cell, also for a text that looks like a number, with the format's look. A null-object
    // format is filled with the cell's format after the write.
    void WriteText(int32_t row, int32_t col, const CWString& text, rg_n2747& format) const;
    void WriteText(int32_t row, int32_t col, std::u16string_view text, rg_n2747& format) const;
    // The used range; the last row and column count one past the last used one; -1 without a sheet.
    int32_t FirstRow() const;
    int32_t LastRow() const;
    int32_t FirstCol() const;
    int32_t LastCol() const;
    rg_n2625 GetCells(int32_t rowFirst, int32_t colFirst, int32_t rowLast, int32_t colLast) const;
    rg_n2564 GetCell(int32_t row, int32_t col) const;
    // Rows 0..count-1 start every sheet the save adds for rows beyond what one sheet holds.
    void SetOverflowHeaderRows(int32_t count) const;
};

class rg_n2165 : public CQrnRefObject {  // book
    QRN_WORKBOOK_HANDLE_BODY(rg_n2165, xlBook)
    // Makes the book (red-green-blue colours); false when there already is one.
    bool Create() const;
    // A name already in the book becomes "Sheet" + (sheet count + 1), tested once.
    rg_n2254 AddSheetUnique(const CWString& name, const rg_n2254& initSheet) const;
    rg_n2946 AddFont(const rg_n2946& initFont) const;
    // A new format with a font of its own: a copy of initFormat's font, else a default font.
    rg_n2747 AddFormatWithFont(const rg_n2747& initFormat) const;
    // Adds "Sheet1" to a book without sheets, then saves through a temporary file; false when the
    // book is missing or the save failed (SaveError then says why).
    bool SaveWorkbook(const CWString& path) const;
    std::string SaveError() const;
    uint32_t ColorPack(int32_t red, int32_t green, int32_t blue) const;
    void Release() const;
};

#undef QRN_WORKBOOK_HANDLE_BODY

}  // namespace rg_quarn_Tolvar
