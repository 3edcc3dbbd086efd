// Mouse, keyboard and scroll messages of the grid component.
#include "grid/CGridCtrl.h"

#include "platform/window/Focus.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {
constexpr UINT kVkPrior = 0x21;
constexpr UINT kVkNext = 0x22;
constexpr UINT kVkEnd = 0x23;
constexpr UINT kVkHome = 0x24;
constexpr UINT kVkF2 = 0x71;
constexpr int kWheelRows = 3;

int X(LPARAM lParam) { return GET_X_LPARAM(lParam); }
int Y(LPARAM lParam) { return GET_Y_LPARAM(lParam); }
}  // namespace

LRESULT CGridCtrl::HandleInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = true;
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLButtonDown(hwnd, X(lParam), Y(lParam));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(X(lParam), Y(lParam), wParam);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(X(lParam), Y(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(X(lParam), Y(lParam));
        break;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam));
        break;
    case WM_CHAR: {
        const auto unit = static_cast<char16_t>(wParam);
        const CCellID focus = GetFocusCell();
        if (unit >= 0x20 && focus.IsValid() && GetColumnType(focus.col) != GridColumnType::CheckBox)
            EditCell(focus.row, focus.col, unit);
        break;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(message, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_MOUSEWHEEL: {
        const int notches = static_cast<int16_t>(HIWORD(wParam)) / 120;
        for (int i = 0; i < std::abs(notches) * kWheelRows; ++i)
            OnScroll(WM_VSCROLL, notches > 0 ? grid_scroll::kLineUp : grid_scroll::kLineDown, 0);
        break;
    }
    case GM_SCROLLTO: {
        {
            Guard guard(lock_);
            model_.topRow = static_cast<int>(wParam);
            model_.leftCol = static_cast<int>(lParam);
            model_.ClampScroll();
            MarkAllLocked();
        }
        RequestRepaint();
        break;
    }
    default:
        handled = false;
        return 0;
    }
    RequestRepaint();
    return 0;
}

void CGridCtrl::OnLButtonDown(HWND hwnd, int x, int y)
{
    if (editor_)
        EndEditing(EditEnd::Commit);
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    Guard guard(lock_);
    downFocus_ = model_.focus;
    downCell_ = CCellID{};
    mouseMode_ = MouseMode::None;
    if ((sizingIndex_ = model_.ColumnBorderAt(x, y)) >= 0) {
        mouseMode_ = MouseMode::SizingColumn;
        return;
    }
    if ((sizingIndex_ = model_.RowBorderAt(x, y)) >= 0) {
        mouseMode_ = MouseMode::SizingRow;
        return;
    }
    const CCellID cell = model_.CellFromPoint(x, y);
    downCell_ = cell;
    if (!cell.IsValid() || model_.IsFixed(cell.row, cell.col))
        return;
    if (cell == model_.focus) {
        mouseMode_ = MouseMode::PrepareEdit;
        return;
    }
    MarkFocusLocked(model_.focus);
    model_.focus = cell;
    MarkFocusLocked(cell);
    if (model_.selectionEnabled)
        model_.selection = CCellRange{cell.row, cell.col, cell.row, cell.col};
    mouseMode_ = MouseMode::Selecting;
}

void CGridCtrl::OnMouseMove(int x, int y, WPARAM keys)
{
    if (mouseMode_ != MouseMode::Selecting || !(keys & MK_LBUTTON))
        return;
    Guard guard(lock_);
    const CCellID cell = model_.OutOfFixed(model_.CellFromPoint(x, y));
    if (!cell.IsValid() || !model_.store.IsValid(cell.row, cell.col) || !model_.selectionEnabled)
        return;
    model_.selection = CCellRange{std::min(downCell_.row, cell.row), std::min(downCell_.col, cell.col),
                                  std::max(downCell_.row, cell.row), std::max(downCell_.col, cell.col)};
    MarkAllLocked();
}

void CGridCtrl::OnLButtonUp(int x, int y)
{
    const MouseMode mode = mouseMode_;
    mouseMode_ = MouseMode::None;
    if (mode == MouseMode::SizingColumn || mode == MouseMode::SizingRow) {
        const int index = sizingIndex_;
        {
            Guard guard(lock_);
            RECT rect;
            const bool shown = mode == MouseMode::SizingColumn ? model_.CellRect(0, index, rect)
                                                               : model_.CellRect(index, 0, rect);
            if (!shown)
                return;
            if (mode == MouseMode::SizingColumn)
                model_.store.SetColumnWidth(index, std::max(x - static_cast<int>(rect.left), 0));
            else
                model_.store.SetRowHeight(index, std::max(y - static_cast<int>(rect.top), 0));
            MarkAllLocked();
        }
        RequestRepaint();
        if (mode == MouseMode::SizingColumn)
            OnColumnResized(index);
        else
            OnRowResized(index);
        return;
    }
    CCellID focus;
    CCellID up;
    bool fixed = false;
    {
        Guard guard(lock_);
        focus = model_.focus;
        up = model_.CellFromPoint(x, y);
        fixed = up.IsValid() && model_.IsFixed(up.row, up.col);
    }
    if (focus != downFocus_)
        OnFocusCellChanged();
    if (mode == MouseMode::PrepareEdit && up == downCell_ && GetSafeHwnd()) {
        if (GetColumnType(up.col) == GridColumnType::CheckBox)
            ToggleCheck(up.row, up.col);
        else
            EditCell(up.row, up.col);
    }
    if (!up.IsValid() || !GetSafeHwnd())
        return;
    if (fixed)
        OnFixedCellClicked(up.row, up.col);
    else
        OnCellClicked(up.row, up.col);
}

void CGridCtrl::OnLButtonDblClk(int x, int y)
{
    mouseMode_ = MouseMode::None;
    CCellID cell;
    bool fixed = false;
    {
        Guard guard(lock_);
        cell = model_.CellFromPoint(x, y);
        fixed = cell.IsValid() && model_.IsFixed(cell.row, cell.col);
    }
    if (!cell.IsValid())
        return;
    OnCellDoubleClicked(cell.row, cell.col);
    if (!fixed && GetSafeHwnd() && GetColumnType(cell.col) != GridColumnType::CheckBox)
        EditCell(cell.row, cell.col);
}

void CGridCtrl::MoveFocus(CCellID cell)
{
    {
        Guard guard(lock_);
        const int rows = model_.store.RowCount();
        const int cols = model_.store.ColumnCount();
        if (rows <= model_.fixedRows || cols <= model_.fixedCols)
            return;
        cell.row = std::clamp(cell.row, model_.fixedRows, rows - 1);
        cell.col = std::clamp(cell.col, model_.fixedCols, cols - 1);
        MarkFocusLocked(model_.focus);
        model_.focus = cell;
        MarkFocusLocked(cell);
        if (model_.selectionEnabled)
            model_.selection = CCellRange{cell.row, cell.col, cell.row, cell.col};
        model_.EnsureVisible(cell.row, cell.col);
        MarkAllLocked();
    }
    RequestRepaint();
}

void CGridCtrl::OnKeyDown(UINT key)
{
    GridViewport view = GetViewport();
    CCellID focus = view.focus.IsValid() ? view.focus : CCellID{view.fixedRows, view.fixedCols};
    int page = 1;
    {
        Guard guard(lock_);
        page = std::max(model_.VisibleRowCount() - 1, 1);
    }
    switch (key) {
    case VK_LEFT: --focus.col; break;
    case VK_RIGHT: ++focus.col; break;
    case VK_UP: --focus.row; break;
    case VK_DOWN: ++focus.row; break;
    case VK_TAB: ++focus.col; break;
    case kVkPrior: focus.row -= page; break;
    case kVkNext: focus.row += page; break;
    case kVkHome: focus.col = view.fixedCols; break;
    case kVkEnd: focus.col = view.cols - 1; break;
    case kVkF2:
    case VK_RETURN:
        if (view.focus.IsValid() && GetColumnType(view.focus.col) != GridColumnType::CheckBox)
            EditCell(view.focus.row, view.focus.col);
        return;
    case VK_SPACE:
        if (view.focus.IsValid() && GetColumnType(view.focus.col) == GridColumnType::CheckBox)
            ToggleCheck(view.focus.row, view.focus.col);
        return;
    default:
        return;
    }
    MoveFocus(focus);
}

void CGridCtrl::OnScroll(UINT message, WORD request, int position)
{
    {
        Guard guard(lock_);
        int& first = message == WM_VSCROLL ? model_.topRow : model_.leftCol;
        const int fixed = message == WM_VSCROLL ? model_.fixedRows : model_.fixedCols;
        const int count = message == WM_VSCROLL ? model_.store.RowCount() : model_.store.ColumnCount();
        const int page = message == WM_VSCROLL ? std::max(model_.VisibleRowCount(), 1) : 1;
        switch (request) {
        case grid_scroll::kLineUp: --first; break;
        case grid_scroll::kLineDown: ++first; break;
        case grid_scroll::kPageUp: first -= page; break;
        case grid_scroll::kPageDown: first += page; break;
        case grid_scroll::kThumbPosition:
        case grid_scroll::kThumbTrack: first = fixed + position; break;
        case grid_scroll::kTop: first = fixed; break;
        case grid_scroll::kBottom: first = count - 1; break;
        default: return;
        }
        model_.ClampScroll();
        MarkAllLocked();
    }
    RequestRepaint();
}
