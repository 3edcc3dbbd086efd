// Cell operations of the grid component, each under one hold of the model lock.
#include "grid/CGridCtrl.h"

#include <algorithm>

#define CELL_WRITE(call)                   \
    bool done;                             \
    {                                      \
        Guard guard(lock_);                \
        done = model_.store.call;          \
        if (done)                          \
            MarkCellLocked(row, col);      \
    }                                      \
    if (done)                              \
        RequestRepaint();                  \
    return done;

bool CGridCtrl::IsValid(int row, int col) const { Guard guard(lock_); return model_.store.IsValid(row, col); }
bool CGridCtrl::SetItemText(int row, int col, std::u16string_view text) { CELL_WRITE(SetText(row, col, text)) }
bool CGridCtrl::SetItemData(int row, int col, int64_t value) { CELL_WRITE(SetData(row, col, value)) }
bool CGridCtrl::SetItemImage(int row, int col, int32_t image) { CELL_WRITE(SetImage(row, col, image)) }
bool CGridCtrl::SetItemFormat(int row, int col, uint32_t format) { CELL_WRITE(SetFormat(row, col, format)) }

bool CGridCtrl::SetItemState(int row, int col, uint16_t state)
{
    // The check state has its own setter; the state word keeps it.
    Guard guard(lock_);
    const uint16_t checked = model_.store.State(row, col) & GridCellStore::kChecked;
    const bool done = model_.store.SetState(row, col, static_cast<uint16_t>((state & ~GridCellStore::kChecked) | checked));
    if (done)
        MarkCellLocked(row, col);
    return done;
}

bool CGridCtrl::SetItemCheck(int row, int col, bool checked)
{
    bool done;
    {
        Guard guard(lock_);
        const uint16_t state = model_.store.State(row, col) & ~GridCellStore::kChecked;
        done = model_.store.SetState(row, col, static_cast<uint16_t>(state | (checked ? GridCellStore::kChecked : 0)));
        if (done)
            MarkCellLocked(row, col);
    }
    RequestRepaint();
    return done;
}

bool CGridCtrl::SetItemColours(int row, int col, COLORREF text, COLORREF back)
{
    {
        Guard guard(lock_);
        if (!model_.store.IsValid(row, col))
            return false;
        if (text == kDefaultColour && back == kDefaultColour)
            model_.looks.erase(GridModel::Key(row, col));
        else
            model_.looks[GridModel::Key(row, col)] = GridCellLook{text, back};
        MarkCellLocked(row, col);
    }
    RequestRepaint();
    return true;
}

std::u16string CGridCtrl::GetItemText(int row, int col) const
{
    Guard guard(lock_);
    return std::u16string(model_.store.Text(row, col));
}

void CGridCtrl::ReadRow(int row, std::vector<std::u16string>& texts) const
{
    Guard guard(lock_);
    texts.resize(row >= 0 && row < model_.store.RowCount() ? static_cast<size_t>(model_.store.ColumnCount()) : 0);
    for (size_t c = 0; c < texts.size(); ++c)
        texts[c].assign(model_.store.Text(row, static_cast<int>(c)));
}

int64_t CGridCtrl::GetItemData(int row, int col) const { Guard guard(lock_); return model_.store.Data(row, col); }
bool CGridCtrl::GetItemCheck(int row, int col) const { Guard guard(lock_); return model_.store.Checked(row, col); }
int32_t CGridCtrl::GetItemImage(int row, int col) const { Guard guard(lock_); return model_.store.Image(row, col); }
uint32_t CGridCtrl::GetItemFormat(int row, int col) const { Guard guard(lock_); return model_.store.Format(row, col); }
uint16_t CGridCtrl::GetItemState(int row, int col) const { Guard guard(lock_); return model_.store.State(row, col); }
COLORREF CGridCtrl::GetItemBackColour(int row, int col) const { Guard guard(lock_); return model_.CellBackColour(row, col); }
COLORREF CGridCtrl::GetItemTextColour(int row, int col) const { Guard guard(lock_); return model_.CellTextColour(row, col); }

// An empty grid without fixed rows and columns first gets one of each; the new row is as high as
// row 0 and holds text in column 0. The focus cell stays where it was. Returns the new row's index.
int CGridCtrl::AddRow(std::u16string_view text)
{
    int row;
    {
        Guard guard(lock_);
        if (model_.store.RowCount() == 0 && model_.fixedRows == 0 && model_.fixedCols == 0) {
            model_.SetFixedRowCount(1);
            model_.SetFixedColumnCount(1);
        }
        const CCellID focus = model_.focus;
        if (model_.store.ColumnCount() == 0)
            model_.SetColumnCount(1);
        const int height = model_.store.RowCount() > 0 ? model_.store.RowHeight(0) : 24;
        model_.store.AppendRow(height);
        row = model_.store.RowCount() - 1;
        model_.store.SetText(row, 0, text);
        model_.focus = focus;
        MarkCellLocked(row, 0);
        RECT rect;
        if (model_.CellRect(row, 0, rect))
            MarkAllLocked();
    }
    RequestRepaint();
    return row;
}

// Rows from 1 to lastRow and columns from 0 to lastCol lose text, data value and check state; row 0
// keeps its texts (also in a grid of a single row) and no row goes away.
void CGridCtrl::ClearCells(int lastRow, int lastCol)
{
    {
        Guard guard(lock_);
        GridCellStore& store = model_.store;
        const int rows = store.RowCount();
        const int firstRow = 1;
        const int endRow = std::min(std::max(lastRow, 1), rows - 1);
        const int endCol = std::min(std::max(lastCol, 0), store.ColumnCount() - 1);
        for (int r = firstRow; r <= endRow; ++r) {
            for (int c = 0; c <= endCol; ++c) {
                store.SetText(r, c, {});
                store.SetData(r, c, 0);
                store.SetState(r, c, store.State(r, c) & ~GridCellStore::kChecked);
            }
        }
        MarkAllLocked();
    }
    RequestRepaint();
}

// Every cell of rows 0..lastRow and columns 0..lastCol gets centred, one-line text layout with
// ampersands shown as they are.
void CGridCtrl::CentreCells(int lastRow, int lastCol)
{
    {
        Guard guard(lock_);
        GridCellStore& store = model_.store;
        const int endRow = std::min(lastRow, store.RowCount() - 1);
        const int endCol = std::min(lastCol, store.ColumnCount() - 1);
        for (int r = 0; r <= endRow; ++r)
            for (int c = 0; c <= endCol; ++c)
                store.SetFormat(r, c, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        MarkAllLocked();
    }
    RequestRepaint();
}
