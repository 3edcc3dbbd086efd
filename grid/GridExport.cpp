#include "grid/GridExport.h"

#include "grid/CGridCtrl.h"
#include "grid/CVWnd_Grid.h"
#include "grid/WorkbookHandles.h"
#include "platform/shell/DesktopFolder.h"


using namespace rg_quarn_Tolvar;

int GridComponentSource::RowCount() const { return grid_.GetRowCount(); }
int GridComponentSource::ColumnCount() const { return grid_.GetColumnCount(); }
int GridComponentSource::HeaderRowCount() const { return grid_.GetFixedRowCount(); }
bool GridComponentSource::HasCell(int row, int col) const { return grid_.IsValid(row, col); }
bool GridComponentSource::IsChecked(int row, int col) const { return grid_.GetItemCheck(row, col); }
CWString GridComponentSource::CellText(int row, int col) const { return CWString(grid_.GetItemText(row, col)); }

int GridWindowSource::RowCount() const { return grid_.GetRowCount(); }
int GridWindowSource::ColumnCount() const { return grid_.GetColumnCount(); }
int GridWindowSource::HeaderRowCount() const { return grid_.GetFixedRowCount(); }
bool GridWindowSource::HasCell(int row, int col) const { return grid_.IsLive() && grid_.IsValid(row, col); }
bool GridWindowSource::IsChecked(int row, int col) const { return grid_.IsLive() && grid_.GetItemCheck(row, col); }
CWString GridWindowSource::CellText(int row, int col) const { return grid_.GetCellText(row, col); }

namespace {

bool Listed(const rg_quarn_base::rg_ZhengShuShuZuLei& columns, int col)
{
    for (int64_t i = 0; i < columns.GetCount(); ++i)
        if (columns.GetAt(i) == col)
            return true;
    return false;
}

CWString ExportedText(const GridExportSource& grid, const rg_quarn_base::rg_ZhengShuShuZuLei& checkColumns, int row,
                      int col)
{
    if (Listed(checkColumns, col) && grid.HasCell(row, col) && grid.IsChecked(row, col)) {
        if (row > 0)
            return CWString(u"1");
        CWString header = grid.CellText(0, col);
        return header.IsEmpty() ? CWString(u"1") : header;
    }
    return grid.CellText(row, col);
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

    const int rows = grid.RowCount();
    const int cols = grid.ColumnCount();
    // Nothing is dropped: rows past one sheet continue on further sheets under the header rows.
    sheet.SetOverflowHeaderRows(std::min(grid.HeaderRowCount(), rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            sheet.WriteText(r, c, ExportedText(grid, checkColumns, r, c), format);

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
