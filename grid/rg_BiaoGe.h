#pragma once
// rg_BiaoGe: the grid control. Its native window is a CVWnd_Grid ("QrnGrid"); it is its own grid
// listener and raises the ten grid events from there (sender: the control). Properties set before
// creation are applied at creation; cell operations need the window (without it they fail).
// Copies share the holder and thus one native grid.
// Threads: create, bind and destroy on the window's thread. The property and cell operations may
// also be called from a worker (the import and the export do), as the grid component allows.
#include "grid/CVWnd_Grid.h"
#include "grid/IGridEventListener.h"
#include "runtime/IntegerArray.h"
#include "ui/CQrnWinControl.h"

#include <string>

namespace rg_quarn_MFCJieMian_BiaoGe {

class rg_BiaoGe : public rg_quarn_MFCJieMian_base::CQrnWinControl, public IGridEventListener {
    QRN_DECLARE_CONTROL_CLASS(rg_BiaoGe)
public:
    rg_BiaoGe();
    ~rg_BiaoGe() override;

    int32_t Create(WinCreateInfo& info) override;

    // Properties: stored, and applied at once while the window exists.
    void SetRowCount(int32_t rows);
    void SetColumnCount(int32_t cols);
    void SetFixedRowCount(int32_t rows);
    void SetFixedColumnCount(int32_t cols);
    void SetGridLines(int32_t mode);
    void SetEditable(bool editable);
    void SetDefaultRowHeight(int32_t pixels);
    void SetDefaultColumnWidth(int32_t pixels);
    int32_t GetRowCount() const;
    int32_t GetColumnCount() const;

    // Cells (CVWnd_Grid.h has the rules): value points at what typeTag names.
    int32_t SetCellValue(int32_t row, int32_t col, int32_t kind, char16_t typeTag, const void* value);
    // Kind 1, tag 'S'.
    int32_t SetCellText(int32_t row, int32_t col, const CWString& text);
    CWString GetCellText(int32_t row, int32_t col) const;
    void ClearCells(int32_t lastRow, int32_t lastCol);
    int32_t AddRow(const CWString& text);
    void CentreCells(int32_t lastRow, int32_t lastCol);
    CCellID GetFocusCell() const;
    void SetFocusCell(int32_t row, int32_t col);
    void SetSelectedRange(int32_t rowFirst, int32_t colFirst, int32_t rowLast, int32_t colLast);
    void EnsureVisible(int32_t row, int32_t col);
    void SetColumnWidth(int32_t col, int32_t pixels);

    // Writes every cell to a new workbook (GridExport.h); an empty path becomes the default one and
    // is handed back. False when the save failed (error, when given, says why).
    bool ExportToWorkbook(const CWString& sheetName, const CWString& fontName, CWString& path,
                          const rg_quarn_base::rg_ZhengShuShuZuLei& checkColumns, std::string* error = nullptr);

    // The native grid; null only for a control that was reset.
    CVWnd_Grid* GetGridNative() const noexcept { return static_cast<CVWnd_Grid*>(GetNative()); }

    // The grid events, in their fixed order. BeforeEdit: a non-zero answer cancels the edit.
    EventBinding<> FocusCellChanged;
    EventBinding<> EditStarted;
    EventBinding<> EditEnded;
    EventBinding<int32_t> RowResized;
    EventBinding<int32_t> ColumnResized;
    EventBinding<int32_t, int32_t> CellClicked;
    EventBinding<int32_t, int32_t, const CWString*> CellListSelected;
    EventBinding<> BeforeEdit;
    EventBinding<int32_t, int32_t> FixedCellClicked;
    EventBinding<int32_t, int32_t> CellDoubleClicked;

protected:
    IBaseEventListener* ListenerInterface() override { return static_cast<IGridEventListener*>(this); }
    bool CreatePlatformWindow(WinCreateInfo& info) override;

private:
    int32_t OnWindowMessage(MsgRecord& message) override { return HandleMessage(message); }
    void OnGridFocusCellChanged() override { FocusCellChanged.Raise(this); }
    int32_t OnGridBeforeEdit() override { return BeforeEdit.Raise(this); }
    void OnGridEditStarted() override { EditStarted.Raise(this); }
    void OnGridEditEnded() override { EditEnded.Raise(this); }
    void OnGridColumnResized(int32_t col) override { ColumnResized.Raise(this, col); }
    void OnGridRowResized(int32_t row) override { RowResized.Raise(this, row); }
    void OnGridCellClicked(int32_t row, int32_t col) override { CellClicked.Raise(this, row, col); }
    void OnGridFixedCellClicked(int32_t row, int32_t col) override { FixedCellClicked.Raise(this, row, col); }
    void OnGridCellDoubleClicked(int32_t row, int32_t col) override { CellDoubleClicked.Raise(this, row, col); }
    void OnGridCellListSelected(int32_t row, int32_t col, const CWString& item) override
    {
        CellListSelected.Raise(this, row, col, &item);
    }
};

}  // namespace rg_quarn_MFCJieMian_BiaoGe
