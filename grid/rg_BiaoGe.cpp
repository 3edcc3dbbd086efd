#include "grid/rg_BiaoGe.h"

#include "grid/GridExport.h"
#include "platform/window/WinStyles.h"
#include "ui/CMfcWndObject.h"

namespace rg_quarn_MFCJieMian_BiaoGe {

QRN_IMPLEMENT_CONTROL_CLASS(rg_BiaoGe, rg_quarn_MFCJieMian_base::CQrnWinControl,
                            "rg_quarn_MFCJieMian_BiaoGe::rg_BiaoGe")

rg_BiaoGe::rg_BiaoGe() : CQrnWinControl(std::make_unique<CVWnd_Grid>())
{
    GetWndObject()->style |= WS_TABSTOP;
    GetWndObject()->exStyle |= WS_EX_CLIENTEDGE;
}

rg_BiaoGe::~rg_BiaoGe()
{
    // Before the bindings go: a window shared with a copy must not report to this control any more.
    DetachListener();
}

int32_t rg_BiaoGe::Create(WinCreateInfo& info) { return CreateWithPattern(info); }

// The window, then the control's font, then everything the property store holds.
bool rg_BiaoGe::CreatePlatformWindow(WinCreateInfo& info)
{
    CVWnd_Grid* grid = GetGridNative();
    // A grid has no default place or size of its own: what the record leaves open is 0.
    auto given = [](int32_t value) { return value == kDefaultCoordinate ? 0 : value; };
    const int32_t x = given(info.x), y = given(info.y);
    const RECT rect{x, y, x + given(info.width), y + given(info.height)};
    return grid->CreateGrid(info.exStyle, info.style, rect, ParentWindowOf(info),
                            static_cast<UINT>(info.id), info.font);
}

#define GRID_CALL(call)                    \
    if (CVWnd_Grid* grid = GetGridNative()) \
        grid->call;

#define GRID_ANSWER(call, otherwise)        \
    CVWnd_Grid* grid = GetGridNative();     \
    return grid ? grid->call : otherwise;

void rg_BiaoGe::SetRowCount(int32_t rows) { GRID_CALL(SetRowCount(rows)) }
void rg_BiaoGe::SetColumnCount(int32_t cols) { GRID_CALL(SetColumnCount(cols)) }
void rg_BiaoGe::SetFixedRowCount(int32_t rows) { GRID_CALL(SetFixedRowCount(rows)) }
void rg_BiaoGe::SetFixedColumnCount(int32_t cols) { GRID_CALL(SetFixedColumnCount(cols)) }
void rg_BiaoGe::SetGridLines(int32_t mode) { GRID_CALL(SetGridLines(mode)) }
void rg_BiaoGe::SetEditable(bool editable) { GRID_CALL(SetEditable(editable)) }
void rg_BiaoGe::SetDefaultRowHeight(int32_t pixels) { GRID_CALL(SetDefaultRowHeight(pixels)) }
void rg_BiaoGe::SetDefaultColumnWidth(int32_t pixels) { GRID_CALL(SetDefaultColumnWidth(pixels)) }
int32_t rg_BiaoGe::GetRowCount() const { GRID_ANSWER(GetRowCount(), 0) }
int32_t rg_BiaoGe::GetColumnCount() const { GRID_ANSWER(GetColumnCount(), 0) }

int32_t rg_BiaoGe::SetCellValue(int32_t row, int32_t col, int32_t kind, char16_t typeTag, const void* value)
{
    GRID_ANSWER(SetCellValue(row, col, kind, typeTag, value), 0)
}

int32_t rg_BiaoGe::SetCellText(int32_t row, int32_t col, const CWString& text)
{
    return SetCellValue(row, col, 1, u'S', &text);
}

CWString rg_BiaoGe::GetCellText(int32_t row, int32_t col) const { GRID_ANSWER(GetCellText(row, col), CWString()) }
void rg_BiaoGe::ClearCells(int32_t lastRow, int32_t lastCol) { GRID_CALL(ClearCells(lastRow, lastCol)) }
int32_t rg_BiaoGe::AddRow(const CWString& text) { GRID_ANSWER(AddRow(text), -1) }
void rg_BiaoGe::CentreCells(int32_t lastRow, int32_t lastCol) { GRID_CALL(CentreCells(lastRow, lastCol)) }
CCellID rg_BiaoGe::GetFocusCell() const { GRID_ANSWER(GetFocusCell(), CCellID{}) }
void rg_BiaoGe::SetFocusCell(int32_t row, int32_t col) { GRID_CALL(SetFocusCell(row, col)) }
void rg_BiaoGe::EnsureVisible(int32_t row, int32_t col) { GRID_CALL(EnsureVisible(row, col)) }
void rg_BiaoGe::SetColumnWidth(int32_t col, int32_t pixels) { GRID_CALL(SetColumnWidth(col, pixels)) }

void rg_BiaoGe::SetSelectedRange(int32_t rowFirst, int32_t colFirst, int32_t rowLast, int32_t colLast)
{
    GRID_CALL(SetSelectedRange(rowFirst, colFirst, rowLast, colLast))
}

bool rg_BiaoGe::ExportToWorkbook(const CWString& sheetName, const CWString& fontName, CWString& path,
                                 const rg_quarn_base::rg_ZhengShuShuZuLei& checkColumns, std::string* error)
{
    CVWnd_Grid* grid = GetGridNative();
    if (!grid) {
        if (error)
            *error = "the grid control has no native grid";
        return false;
    }
    return ExportGridToWorkbook(GridWindowSource(*grid), sheetName, fontName, path, checkColumns, error);
}

}  // namespace rg_quarn_MFCJieMian_BiaoGe
