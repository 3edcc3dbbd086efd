#include "grid/GridTableAdapter.h"

#include "grid/CGridCtrl.h"
#include "platform/window/MessageQueue.h"

#include <utility>

void GridTableAdapter::Detach()
{
    {
        std::unique_lock<std::shared_mutex> guard(gridLock_);
        grid_ = nullptr;
    }
    std::lock_guard<std::mutex> guard(commitsLock_);
    commits_.clear();
}

std::vector<GridTableAdapter::Commit> GridTableAdapter::TakeCommits()
{
    std::lock_guard<std::mutex> guard(commitsLock_);
    return std::exchange(commits_, {});
}

TableShape GridTableAdapter::Shape() const
{
    std::shared_lock<std::shared_mutex> guard(gridLock_);
    if (!grid_)
        return TableShape{};
    const GridViewport view = grid_->GetViewport();
    TableShape shape;
    shape.rows = view.rows;
    shape.cols = view.cols;
    shape.fixedRows = view.fixedRows;
    shape.fixedCols = view.fixedCols;
    // A view draws one height for every row: the first scrolling row's, as the grid sizes rows alike.
    shape.rowHeight = view.rows > view.fixedRows ? grid_->GetRowHeight(view.fixedRows) : grid_->GetDefaultRowHeight();
    const GridLines lines = grid_->GetGridLines();
    shape.horizontalLines = lines == GridLines::Horizontal || lines == GridLines::Both;
    shape.verticalLines = lines == GridLines::Vertical || lines == GridLines::Both;
    shape.focusRow = view.focus.row;
    shape.focusCol = view.focus.col;
    shape.editable = grid_->IsEditable();
    shape.revision = view.revision;
    return shape;
}

std::u16string GridTableAdapter::CellText(int row, int col) const
{
    std::shared_lock<std::shared_mutex> guard(gridLock_);
    return grid_ ? grid_->GetItemText(row, col) : std::u16string();
}

TableCellAlign GridTableAdapter::CellAlignment(int row, int col) const
{
    std::shared_lock<std::shared_mutex> guard(gridLock_);
    if (!grid_ || !grid_->IsValid(row, col))
        return TableCellAlign::Left;
    const uint32_t format = grid_->GetItemFormat(row, col);
    if (format & DT_CENTER)
        return TableCellAlign::Centre;
    return (format & DT_RIGHT) ? TableCellAlign::Right : TableCellAlign::Left;
}

int GridTableAdapter::ColumnWidth(int col) const
{
    std::shared_lock<std::shared_mutex> guard(gridLock_);
    return grid_ ? grid_->GetColumnWidth(col) : 0;
}

bool GridTableAdapter::CommitCellText(int row, int col, std::u16string text)
{
    std::shared_lock<std::shared_mutex> guard(gridLock_);
    HWND hwnd = grid_ ? grid_->GetSafeHwnd() : nullptr;
    if (!hwnd)
        return false;
    bool first = false;
    {
        std::lock_guard<std::mutex> commitsGuard(commitsLock_);
        // A window thread that stopped pumping must not let typed texts pile up without end.
        if (commits_.size() >= kMaxWaitingCommits)
            return false;
        first = commits_.empty();
        commits_.push_back(Commit{row, col, std::move(text)});
    }
    // One message per burst, as for repaints: it takes every commit waiting when it runs.
    if (!first || PostMessageW(hwnd, GM_COMMITTEXT, 0, 0))
        return true;
    std::lock_guard<std::mutex> commitsGuard(commitsLock_);
    commits_.clear();  // the window is going: nothing would ever take them
    return false;
}

bool GridTableAdapter::MoveFocus(int row, int col)
{
    std::shared_lock<std::shared_mutex> guard(gridLock_);
    HWND hwnd = grid_ ? grid_->GetSafeHwnd() : nullptr;
    // Only the latest place matters, so each move is a message of its own carrying it.
    return hwnd && PostMessageW(hwnd, GM_MOVEFOCUS, static_cast<WPARAM>(row), static_cast<LPARAM>(col));
}
