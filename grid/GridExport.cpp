#include "grid/GridExport.h"

#include "grid/CGridCtrl.h"
#include "grid/CVWnd_Grid.h"
#include "grid/WorkbookHandles.h"
#include "platform/shell/DesktopFolder.h"

#include <algorithm>


using namespace rg_quarn_Tolvar;

void GridExportSource::RowTexts(int row, int cols, std::vector<std::u16string>& texts) const
{
    texts.resize(static_cast<size_t>(std::max(cols, 0)));
    for (int c = 0; c < cols; ++c)
        texts[static_cast<size_t>(c)].assign(CellText(row, c).View());
}

namespace {

// A grid read one lock per row; cells past what the grid holds read as empty, as CellText gives them.
void ReadGridRow(const CGridCtrl& grid, int row, int cols, std::vector<std::u16string>& texts)
{
    grid.ReadRow(row, texts);
    const size_t held = texts.size();
    texts.resize(static_cast<size_t>(std::max(cols, 0)));
    for (size_t c = held; c < texts.size(); ++c)
        texts[c].clear();
}

}  // namespace

int GridComponentSource::RowCount() const { return grid_.GetRowCount(); }
int GridComponentSource::ColumnCount() const { return grid_.GetColumnCount(); }
int GridComponentSource::HeaderRowCount() const { return grid_.GetFixedRowCount(); }
bool GridComponentSource::HasCell(int row, int col) const { return grid_.IsValid(row, col); }
bool GridComponentSource::IsChecked(int row, int col) const { return grid_.GetItemCheck(row, col); }
CWString GridComponentSource::CellText(int row, int col) const { return CWString(grid_.GetItemText(row, col)); }
void GridComponentSource::RowTexts(int row, int cols, std::vector<std::u16string>& texts) const
{
    ReadGridRow(grid_, row, cols, texts);
}

int GridWindowSource::RowCount() const { return grid_.GetRowCount(); }
int GridWindowSource::ColumnCount() const { return grid_.GetColumnCount(); }
int GridWindowSource::HeaderRowCount() const { return grid_.GetFixedRowCount(); }
bool GridWindowSource::HasCell(int row, int col) const { return grid_.IsLive() && grid_.IsValid(row, col); }
bool GridWindowSource::IsChecked(int row, int col) const { return grid_.IsLive() && grid_.GetItemCheck(row, col); }
CWString GridWindowSource::CellText(int row, int col) const { return grid_.GetCellText(row, col); }
void GridWindowSource::RowTexts(int row, int cols, std::vector<std::u16string>& texts) const
{
    if (grid_.IsLive())
        ReadGridRow(grid_, row, cols, texts);
    else
        GridExportSource::RowTexts(row, cols, texts);
}

namespace {

// By column: whether the column's ticked cells are written as "1".
std::vector<bool> CheckColumnFlags(const rg_quarn_base::rg_ZhengShuShuZuLei& columns, int cols)
{
    std::vector<bool> flags(static_cast<size_t>(std::max(cols, 0)), false);
    for (int64_t i = 0; i < columns.GetCount(); ++i)
        if (columns.GetAt(i) >= 0 && columns.GetAt(i) < cols)
            flags[static_cast<size_t>(columns.GetAt(i))] = true;
    return flags;
}

// text is the cell's own text; a ticked header keeps it unless it is empty.
std::u16string_view ExportedText(const GridExportSource& grid, const std::vector<bool>& checkColumns, int row,
                                 int col, const std::u16string& text)
{
    if (!checkColumns[static_cast<size_t>(col)] || !grid.HasCell(row, col) || !grid.IsChecked(row, col))
        return text;
    return row > 0 || text.empty() ? std::u16string_view(u"1") : std::u16string_view(text);
}

void WriteCells(const GridExportSource& grid, const rg_quarn_base::rg_ZhengShuShuZuLei& checkColumns,
                const rg_n2254& sheet, rg_n2747& format)
{
    const int rows = grid.RowCount();
    const int cols = grid.ColumnCount();
    const std::vector<bool> checkFlags = CheckColumnFlags(checkColumns, cols);
    std::vector<std::u16string> texts;
    for (int r = 0; r < rows; ++r) {
        grid.RowTexts(r, cols, texts);
        for (int c = 0; c < cols; ++c)
            sheet.WriteText(r, c, ExportedText(grid, checkFlags, r, c, texts[static_cast<size_t>(c)]), format);
    }
}

}  // namespace

bool ExportGridToWorkbook(const GridExportSource& grid, const CWString& sheetName, const CWString& fontName,
                          CWString& path, const rg_quarn_base::rg_ZhengShuShuZuLei& checkColumns, std::string* error)
{
    rg_n2165 book;
    book.Create();
    rg_n2254 noSheet;
    noSheet.SetNullObject(true);
    rg_n2254 sheet = book.AddSheetUnique(sheetName, noSheet);

    rg_n2946 noFont;
    noFont.SetNullObject(true);
    rg_n2946 font = book.AddFont(noFont);
    font.SetName(fontName);
    font.SetSize(10);
    font.SetColor(book.ColorPack(0, 0, 0));

    rg_n2747 noFormat;
    noFormat.SetNullObject(true);
    rg_n2747 format = book.AddFormatWithFont(noFormat);
    format.SetFont(font);
    format.SetWrap(true);
    format.SetAlignH(ALIGNH_CENTER);
    format.SetAlignV(ALIGNV_CENTER);
    format.SetBorder(BORDERSTYLE_THIN);

    // Nothing is dropped: rows past one sheet continue on further sheets under the header rows.
    sheet.SetOverflowHeaderRows(std::min(grid.HeaderRowCount(), grid.RowCount()));
    WriteCells(grid, checkColumns, sheet, format);

    sheet.GetCells(sheet.FirstRow(), sheet.FirstCol(), sheet.LastRow(), sheet.LastCol() - 1).SetAutoFitArea();

    if (path.IsEmpty())
        path = DefaultExportPath();
    const bool saved = book.SaveWorkbook(path);
    if (!saved && error)
        *error = book.SaveError();
    book.Release();
    return saved;
}

CWString DefaultExportPath(const std::optional<std::u16string>& desktop, const CalendarTime& now)
{
    CWString path;
    if (desktop) {
        path = CWString(*desktop);
        if (path.IsEmpty() || path.View().back() != u'/')
            path.AppendChar(u'/');
    }
    path.Append(u"导出表");
    path.Append(ChineseLongDateTime(now));
    path.Append(u".xls");
    return path;
}

CWString DefaultExportPath() { return DefaultExportPath(GetDesktopFolder(), LocalTimeNow()); }
