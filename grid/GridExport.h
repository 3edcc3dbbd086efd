#pragma once
// The grid export: every cell of every row and column, the header row included, becomes a string
// cell at the same place of one sheet, all in one shared format ("宋体" or the given face, 10 points,
// black, wrapped, centred both ways, thin borders on all sides), the columns fitted to their texts;
// rows beyond what a sheet holds continue on further sheets that start with the header rows. The
// book is saved through a temporary file, and the result says whether the save succeeded.
// Runs on any one thread; it reads the grid through its locked getters.
#include "runtime/CWString.h"
#include "runtime/IntegerArray.h"
#include "grid/GridConversions.h"

#include <optional>
#include <string>
#include <vector>

class CGridCtrl;
class CVWnd_Grid;

// What the export reads of a grid.
class GridExportSource {
public:
    virtual ~GridExportSource() = default;
    virtual int RowCount() const = 0;
    virtual int ColumnCount() const = 0;
    virtual int HeaderRowCount() const = 0;  // repeated at the top of continuation sheets
    virtual bool HasCell(int row, int col) const = 0;
    virtual bool IsChecked(int row, int col) const = 0;
    virtual CWString CellText(int row, int col) const = 0;
    // The texts of the row's first cols cells (CellText of each); texts keeps its storage from row to
    // row, so a long export allocates nothing per cell.
    virtual void RowTexts(int row, int cols, std::vector<std::u16string>& texts) const;
};

// A grid component as an export source.
class GridComponentSource final : public GridExportSource {
public:
    explicit GridComponentSource(const CGridCtrl& grid) : grid_(grid) {}
    int RowCount() const override;
    int ColumnCount() const override;
    int HeaderRowCount() const override;
    bool HasCell(int row, int col) const override;
    bool IsChecked(int row, int col) const override;
    CWString CellText(int row, int col) const override;
    void RowTexts(int row, int cols, std::vector<std::u16string>& texts) const override;

private:
    const CGridCtrl& grid_;
};

// A native grid window as an export source: without a window, its stored counts and no cells.
class GridWindowSource final : public GridExportSource {
public:
    explicit GridWindowSource(const CVWnd_Grid& grid) : grid_(grid) {}
    int RowCount() const override;
    int ColumnCount() const override;
    int HeaderRowCount() const override;
    bool HasCell(int row, int col) const override;
    bool IsChecked(int row, int col) const override;
    CWString CellText(int row, int col) const override;
    void RowTexts(int row, int cols, std::vector<std::u16string>& texts) const override;

private:
    const CVWnd_Grid& grid_;
};

// Writes the grid to path; an empty path is replaced by DefaultExportPath() first (and the caller
// sees it). checkColumns lists the columns whose ticked cells are written as "1" (a ticked header
// keeps its text unless it is empty). False when the save failed; error then says why.
bool ExportGridToWorkbook(const GridExportSource& grid, const CWString& sheetName, const CWString& fontName,
                          CWString& path, const rg_quarn_base::rg_ZhengShuShuZuLei& checkColumns,
                          std::string* error = nullptr);

// desktop + "/" + "导出表" + the date and time in the Chinese long form ("2024年8月21日9时5分7秒",
// the time part shortened when it ends in zeros) + ".xls"; without a desktop just the file name,
// which then lands in the current directory.
CWString DefaultExportPath(const std::optional<std::u16string>& desktop, const CalendarTime& now);
// The same for the user's desktop folder and the local time now.
CWString DefaultExportPath();
